#include "Zor.TermGeometry.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Shared.h"
#include "Zor.Vcl.Types.h"

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

// The data marker's bands: top, bottom and middle, relative to its centre.
struct TDataBand {
    QRectF Box;
    TAlphaColor Color;
};
constexpr TAlphaColor DataGrey { 0xFF808080 };
constexpr TAlphaColor DataGreen { 0xFF90EE90 };
const TDataBand DataBands[] = {
    { QRectF(QPointF(-4, -4), QPointF(4, -2)), DataGrey },
    { QRectF(QPointF(-4, 2), QPointF(4, 4)), DataGrey },
    { QRectF(QPointF(-4, -2), QPointF(4, 2)), DataGreen },
};

} // namespace

void DrawTermType(TZORDraw& D, TZORTermType kind, TAlphaColor lineColor, TAlphaColor fillColor, float half,
    float x, float y, float dirA, float dirB, int16_t opening, bool byAngle)
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

void DrawData(TZORDraw& D, float x, float y)
{
    if (!D.kP || !D.kC)
        return;
    TSkPaint& paint = *D.kP;
    paint.SetStyle(TSkPaintStyle::Fill);
    for (const TDataBand& band : DataBands) {
        paint.SetColor(band.Color);
        D.kC->DrawRect(band.Box.translated(x, y), paint);
    }
}
