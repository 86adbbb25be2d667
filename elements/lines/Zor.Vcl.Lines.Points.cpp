#include "Zor.Vcl.Lines.h"

using zor::TGPGraphicsPath;

namespace {

// The point's circle reaches this far (base units) from the point, whatever the pen width.
constexpr int64_t PointReach = 500;

} // namespace

void TZORPoint::Draw(TZORBaseDraw& D) const
{
    zor::TZORPainter P(D, zor::TZORTarget::Screen);
    const TZORPto& p = GetPoint(1);
    const QRectF box = P.Box({ p.X - PointReach, p.Y - PointReach }, { p.X + PointReach, p.Y + PointReach });
    TGPGraphicsPath circle;
    circle.AddEllipse(box.x(), box.y(), box.width(), box.height());
    zor::TZORStroke stroke = zor::TZORStroke::Of(*this);
    stroke.LineType = TZORineType::Solid;
    P.Stroke(circle, stroke);
}

void TZORLine::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    const QPointF a = P.AtWhole(GetPoint(1)), b = P.AtWhole(GetPoint(2));
    TGPGraphicsPath line;
    line.AddLine(a.x(), a.y(), b.x(), b.y());
    P.Stroke(line, zor::TZORStroke::Of(*this));
}
