#pragma once

#include "drawing/Zor.VclExport.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QTransform>

namespace zor {

// Keeps a painter's transform, pen, brush, font and render hints, and gives them back when it
// ends. Unlike QPainter::save and restore, the painter takes them back lazily, at its next
// drawing: on a PDF page each restore writes the whole graphics state out again, drawn or not,
// which for a page of labels is most of its content. Clipping is not kept: scopes that clip
// still save and restore.
class QUINDLE_VCL_EXPORT TPainterState {
public:
    explicit TPainterState(QPainter& painter);
    ~TPainterState();
    TPainterState(const TPainterState&) = delete;
    TPainterState& operator=(const TPainterState&) = delete;

private:
    QPainter& fPainter;
    QTransform fTransform;
    QPen fPen;
    QBrush fBrush;
    QFont fFont;
    QPainter::RenderHints fHints;
};

} // namespace zor
