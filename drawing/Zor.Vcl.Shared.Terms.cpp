#include "Zor.Vcl.Shared.Terms.h"

#include "Zor.TermGeometry.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Shared.Screen.h"
#include "Zor.Vcl.Types.h"

using zor::BuildClosedPath;
using zor::TSkCanvas;
using zor::TSkPaint;

namespace {

using TFigure = zor::TTermGeometry::TFigure;

void PaintFigure(TSkCanvas& canvas, const zor::TTermGeometry& g, const TSkPaint& paint)
{
    switch (g.Figure) {
    case TFigure::None:
        return;
    case TFigure::Ellipse:
        canvas.DrawOval(g.Box, paint);
        return;
    case TFigure::Rectangle:
        canvas.DrawRect(g.Box, paint);
        return;
    case TFigure::Polygon: {
        QPainterPath path;
        BuildClosedPath(path, g.Outline);
        canvas.DrawPath(path, paint);
        return;
    }
    case TFigure::Strokes:
        for (const QLineF& line : g.Strokes)
            canvas.DrawLine(line.x1(), line.y1(), line.x2(), line.y2(), paint);
        return;
    }
}

} // namespace

void zor::DrawTermType(TZORDraw& D, TZORTermType kind, TAlphaColor lineColor, TAlphaColor fillColor,
    float half, float x, float y, float dirA, float dirB, int16_t opening, bool byAngle)
{
    if (!D.kP)
        return;
    TSkPaint& paint = *D.kP;
    // A line end is solid whatever dash its line has.
    paint.SetPathEffect({});
    const zor::TTermDirection direction { QPointF(dirA, dirB), dirA, byAngle };
    const zor::TTermGeometry g = zor::TermGeometry(
        kind, QPointF(x, y), half, direction, static_cast<double>(zor::Round(2.0 * half)), opening);
    if (g.Figure == TFigure::None || !D.kC)
        return;
    paint.SetColor(g.Filled ? fillColor : lineColor);
    paint.SetStyle(g.Filled ? TSkPaintStyle::Fill : TSkPaintStyle::Stroke);
    PaintFigure(*D.kC, g, paint);
    if (!g.Filled)
        return;
    paint.SetColor(lineColor);
    paint.SetStyle(TSkPaintStyle::Stroke);
    PaintFigure(*D.kC, g, paint);
}
