#include "Zor.Vcl.Lines.h"

using zor::TGPGraphicsPath;

// --- Polyline ---

TGPGraphicsPath TZORPolyLine::GetPath(const zor::TZORPainter& P) const
{
    TGPGraphicsPath path;
    path.AddLines(P.Points(*this));
    return path;
}

void TZORPolyLine::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    TZORPto tip, from;
    if (!EndSegment(false, tip, from))
        return;
    const zor::TZORStroke stroke = zor::TZORStroke::Of(*this);
    P.Stroke(GetPath(P), stroke);
    P.LineEnd({ GetFromType(), GetFromColor(), GetSizeFrom() }, stroke, P.At(tip), P.At(from));
    EndSegment(true, tip, from);
    P.LineEnd({ GetToType(), GetToColor(), GetSizeTo() }, stroke, P.At(tip), P.At(from));
}

// --- Bézier curve ---

TGPGraphicsPath TZORBezier::GetPath(const zor::TZORPainter& P) const
{
    TGPGraphicsPath path;
    for (int32_t s = 0; s < NumSegments(); ++s) {
        const int32_t i = 3 * s + 1;
        path.AddBezier(
            P.At(GetPoint(i)), P.At(GetPoint(i + 1)), P.At(GetPoint(i + 2)), P.At(GetPoint(i + 3)));
    }
    if (GetFilled())
        path.CloseFigure();
    return path;
}

void TZORBezier::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    const int32_t segments = NumSegments();
    if (GetPointsCount() < 2)
        return;
    // A curve fills whatever its fill colour's opacity, on screen as on paper.
    zor::TZORFigurePaint how = zor::FigurePaint(*this, target, false);
    const zor::TZORStroke stroke = zor::TZORStroke::Of(*this, true);
    if (how.Outline)
        how.Outline = stroke;
    // Without a whole segment there is no curve, but its line ends still mark its points.
    if (segments > 0)
        P.FillThenOutline(GetPath(P), how);
    // A closed curve has no ends to mark on screen; on paper its line ends print all the same.
    if (GetFilled() && P.OnScreen())
        return;
    // The ends are those of the curve itself: points after its last whole segment lie off it.
    const int32_t last = segments > 0 ? 3 * segments + 1 : GetPointsCount();
    P.LineEnd({ GetFromType(), GetFromColor(), GetSizeFrom() }, stroke, P.At(GetPoint(1)), P.At(GetPoint(2)));
    P.LineEnd(
        { GetToType(), GetToColor(), GetSizeTo() }, stroke, P.At(GetPoint(last)), P.At(GetPoint(last - 1)));
}
