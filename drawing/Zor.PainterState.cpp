#include "Zor.PainterState.h"

namespace zor {

TPainterState::TPainterState(QPainter& painter)
    : fPainter(painter)
    , fTransform(painter.transform())
    , fPen(painter.pen())
    , fBrush(painter.brush())
    , fFont(painter.font())
    , fHints(painter.renderHints())
{
}

TPainterState::~TPainterState()
{
    // Each setter only marks what differs; an unchanged value costs nothing.
    if (fPainter.transform() != fTransform)
        fPainter.setTransform(fTransform);
    if (fPainter.pen() != fPen)
        fPainter.setPen(fPen);
    if (fPainter.brush() != fBrush)
        fPainter.setBrush(fBrush);
    if (fPainter.font() != fFont)
        fPainter.setFont(fFont);
    if (fPainter.renderHints() != fHints) {
        fPainter.setRenderHints(~QPainter::RenderHints(), false);
        fPainter.setRenderHints(fHints, true);
    }
}

} // namespace zor
