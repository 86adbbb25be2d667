#include "Zor.Vcl.Lines.h"

void TZORRectangle::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    const zor::TZORFigurePaint how = zor::FigurePaint(*this, target, true);
    const QRectF box = P.Box(GetPoint(1), GetPoint(2));
    const double rx = D.GetDrawX(GetBaseRadio()), ry = D.GetDrawY(GetBaseRadio());
    const auto shape = [&](const QRectF& r) { return zor::RoundedBox(r, rx, ry); };
    // Without a visible fill the screen keeps the whole outline inside the rectangle; paper, and
    // a filled rectangle on screen, centre it on the edges.
    double inset = 0.0;
    if (P.OnScreen() && !how.Fill && how.Outline)
        inset = P.Pixels(GetPenWidth()) / 2.0;
    P.FillThenOutline(shape(box), shape(box.adjusted(inset, inset, -inset, -inset)), how);
}
