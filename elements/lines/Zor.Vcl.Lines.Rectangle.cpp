#include "Zor.Vcl.Lines.h"

#include <algorithm>

namespace {

// A rectangle with corners of radii rx and ry, clockwise from the top-left corner. Radii
// larger than half a side are cut to it, so that the corners never overlap.
TGPGraphicsPath MakeRoundRectPath(const QRectF& r, double rx, double ry)
{
    const double dx = 2.0 * std::min(rx, r.width() / 2.0), dy = 2.0 * std::min(ry, r.height() / 2.0);
    TGPGraphicsPath path;
    path.AddArc(r.left(), r.top(), dx, dy, 180.0, 90.0);
    path.AddArc(r.right() - dx, r.top(), dx, dy, 270.0, 90.0);
    path.AddArc(r.right() - dx, r.bottom() - dy, dx, dy, 0.0, 90.0);
    path.AddArc(r.left(), r.bottom() - dy, dx, dy, 90.0, 90.0);
    path.CloseFigure();
    return path;
}

} // namespace

void TZORRectangle::Paint(TZORBaseDraw& D, zor::TZORTarget target)
{
    zor::TZORPainter P(D, target);
    const zor::TZORFigurePaint how = zor::FigurePaint(*this, target, true);
    const QRectF box = P.Box(GetPoint(1), GetPoint(2));
    const double rx = D.GetDrawX(GetBaseRadio()), ry = D.GetDrawY(GetBaseRadio());
    const auto shape = [&](const QRectF& r) {
        if (GetBaseRadio() > 0)
            return MakeRoundRectPath(r, rx, ry);
        TGPGraphicsPath path;
        path.AddRectangle(r);
        return path;
    };
    // Without a visible fill the screen keeps the whole outline inside the rectangle; paper, and
    // a filled rectangle on screen, centre it on the edges.
    double inset = 0.0;
    if (P.OnScreen() && !how.Fill && how.Outline)
        inset = P.Pixels(GetPenWidth()) / 2.0;
    P.FillThenOutline(shape(box), shape(box.adjusted(inset, inset, -inset, -inset)), how);
}
