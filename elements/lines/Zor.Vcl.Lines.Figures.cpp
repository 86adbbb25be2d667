#include "Zor.Vcl.Lines.h"

using zor::TGPGraphicsPath;

namespace {

// The circle and the ellipse: the oval inscribed in the box of points 1 and 2.
void PaintOval(TZORBaseDraw& D, zor::TZORTarget target, const TZOR2DItem& item)
{
    zor::TZORPainter P(D, target);
    const QRectF box = P.Box(item.GetPoint(1), item.GetPoint(2));
    TGPGraphicsPath oval;
    oval.AddEllipse(box.x(), box.y(), box.width(), box.height());
    P.FillThenOutline(oval, zor::FigurePaint(item, target, true));
}

} // namespace

// --- Polygon ---

TGPGraphicsPath TZORPolygon::GetPath(const zor::TZORPainter& P) const
{
    TGPGraphicsPath path;
    path.AddLines(P.Points(*this));
    path.CloseFigure();
    return path;
}

void TZORPolygon::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    // A single point, or none, encloses nothing.
    if (NumPoints() < 2)
        return;
    zor::TZORPainter P(D, target);
    // A polygon fills whatever its fill colour's opacity, and on screen it always shows its
    // outline, a hairline at pen width 0, so that it can be found and picked.
    zor::TZORFigurePaint how = zor::FigurePaint(*this, target, false);
    if (P.OnScreen())
        how.Outline = zor::TZORStroke::Of(*this);
    P.FillThenOutline(GetPath(P), how);
}

// --- Circle and ellipse ---

void TZORCircle::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    PaintOval(D, target, *this);
}

void TZOREllipse::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    PaintOval(D, target, *this);
}
