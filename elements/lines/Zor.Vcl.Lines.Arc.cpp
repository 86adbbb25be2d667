#include "Zor.Utils.h"
#include "Zor.Vcl.Lines.h"

using zor::TGPGraphicsPath;

void TZORArc::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    // Points 1 and 2 are the corners of the square round the circle.
    const QRectF box = P.Box(GetPoint(1), GetPoint(2));
    TGPGraphicsPath arc;
    arc.AddArc(box.x(), box.y(), box.width(), box.height(), zor::RadToDeg(GetAngleStart()),
        zor::RadToDeg(GetAngleSweep()));
    const zor::TZORStroke stroke = zor::TZORStroke::Of(*this);
    P.Stroke(arc, stroke);
    P.LineEndByAngle(
        { GetFromType(), GetFromColor(), GetSizeFrom() }, stroke, P.AtWhole(GetPto(1)), EndDirection(false));
    P.LineEndByAngle(
        { GetToType(), GetToColor(), GetSizeTo() }, stroke, P.AtWhole(GetPto(3)), EndDirection(true));
}
