#include "Zor.TermGeometry.h"
#include "Zor.Vcl.Shared.Terms.h"
#include "Zor.Vcl.Types.h"

using zor::TFillMode;
using zor::TGPGraphics;
using zor::TGPGraphicsPath;
using zor::TGPPen;
using zor::TGPSolidBrush;

namespace {

using TFigure = zor::TTermGeometry::TFigure;

void FillFigure(
    TGPGraphics& g, const TGPSolidBrush& brush, const zor::TTermGeometry& t, const TGPGraphicsPath& path)
{
    const QRectF& b = t.Box;
    if (t.Figure == TFigure::Ellipse)
        g.FillEllipse(brush, b.x(), b.y(), b.width(), b.height());
    else if (t.Figure == TFigure::Rectangle)
        g.FillRectangle(brush, b.x(), b.y(), b.width(), b.height());
    else if (t.Figure == TFigure::Polygon)
        g.FillPath(brush, path);
}

void StrokeFigure(TGPGraphics& g, const TGPPen& pen, const zor::TTermGeometry& t, const TGPGraphicsPath& path)
{
    const QRectF& b = t.Box;
    switch (t.Figure) {
    case TFigure::None:
        return;
    case TFigure::Ellipse:
        g.DrawEllipse(pen, b.x(), b.y(), b.width(), b.height());
        return;
    case TFigure::Rectangle:
        g.DrawRectangle(pen, b.x(), b.y(), b.width(), b.height());
        return;
    case TFigure::Polygon:
        g.DrawPath(pen, path);
        return;
    case TFigure::Strokes:
        for (const QLineF& line : t.Strokes)
            g.DrawLine(pen, line.x1(), line.y1(), line.x2(), line.y2());
        return;
    }
}

void PaintTerm(TZORDraw& D, const zor::TTermGeometry& t)
{
    TGPGraphicsPath path(TFillMode::Alternate);
    if (t.Figure == TFigure::Polygon) {
        path.AddLines(t.Outline);
        path.CloseFigure();
    }
    if (t.Filled && D.aB)
        FillFigure(*D.aG, *D.aB, t, path);
    StrokeFigure(*D.aG, *D.aP, t, path);
}

} // namespace

void zor::PrintTermType(TZORDraw& D, TZORTermType kind, const QPointF& tip, const QPointF& from, int32_t half,
    int16_t opening, bool byAngle)
{
    if (!D.aP)
        return;
    // The symbol strokes inside its outline; the pen is shared by the whole job, so the
    // alignment goes back afterwards, or every later shape would print inside its outline too.
    const TPenAlignment previous = D.aP->GetAlignment();
    D.aP->SetAlignment(TPenAlignment::Inset);
    D.aP->SetDashStyle(TDashStyle::Solid);
    const zor::TTermDirection direction { from, from.x(), byAngle };
    const int64_t size = int64_t { half } + half;
    const zor::TTermGeometry t = zor::TermGeometry(
        kind, tip, static_cast<double>(half), direction, static_cast<double>(size), opening);
    if (D.aG)
        PaintTerm(D, t);
    D.aP->SetAlignment(previous);
}
