#include "Zor.Utils.h"
#include "Zor.Vcl.Lines.h"

#include <cmath>

using zor::TGPGraphicsPath;

TGPGraphicsPath TZORSector::GetPath(const zor::TZORPainter& P) const
{
    TGPGraphicsPath path;
    if (IsFullCircle()) {
        const QRectF box = P.Box(GetPoint(1), GetPoint(2));
        path.AddEllipse(box.x(), box.y(), box.width(), box.height());
        return path;
    }
    const TZORDraw& D = P.Context();
    const QPointF centre = P.At({ GetBaseCenterX(), GetBaseCenterY() });
    // Each axis converts on its own, so that a slice stays round on paper where a printer's two
    // resolutions differ, and matches the circle of its whole turn.
    const double rx = D.GetDrawX(GetBaseRadio()), ry = D.GetDrawY(GetBaseRadio());
    const QRectF oval(centre.x() - rx, centre.y() - ry, 2.0 * rx, 2.0 * ry);
    const double a = zor::DegToRad(GetDrawStart());
    path.AddLine(centre.x(), centre.y(), centre.x() + rx * std::cos(a), centre.y() + ry * std::sin(a));
    path.AddArc(oval.x(), oval.y(), oval.width(), oval.height(), GetDrawStart(), GetSweepAngle());
    path.CloseFigure();
    return path;
}

void TZORSector::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    P.FillThenOutline(GetPath(P), zor::FigurePaint(*this, target, true));
}
