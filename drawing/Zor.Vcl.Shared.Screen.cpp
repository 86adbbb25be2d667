#include "Zor.Vcl.Shared.Screen.h"

#include "Zor.Vcl.Types.h"

using zor::TAlphaColor;
using zor::TSkFontStyle;

namespace {

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

TSkFontStyle zor::GetFontStyle(bool bold, bool italic)
{
    if (bold && italic)
        return TSkFontStyle::BoldItalic;
    if (bold)
        return TSkFontStyle::Bold;
    return italic ? TSkFontStyle::Italic : TSkFontStyle::Normal;
}

void zor::BuildClosedPath(QPainterPath& path, std::span<const QPointF> points)
{
    path = QPainterPath();
    if (points.empty())
        return;
    path.moveTo(points.front());
    for (const QPointF& p : points.subspan(1))
        path.lineTo(p);
    path.closeSubpath();
}

void zor::DrawData(TZORDraw& D, float x, float y)
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
