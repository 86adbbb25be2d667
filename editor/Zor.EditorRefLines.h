#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QColor>
#include <QPoint>

class QPainter;
class TZORBaseLabel;
struct TZOREditorGeometry;

namespace zor {

// The label's reference lines over the paper, in surface pixels: dashed hairlines in colour, the
// dash half a point long at the present zoom.
QUINDLE_WIDGETS_EXPORT void DrawRefLines(
    QPainter& painter, const TZORBaseLabel& label, const TZOREditorGeometry& G, const QColor& colour);

// The marker of the link anchor under the pointer: a square 11 pixels wide round p, two pixels
// thick.
QUINDLE_WIDGETS_EXPORT void PaintLinkMarker(QPainter& painter, QPoint p);

} // namespace zor
