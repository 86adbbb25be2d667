#include "Zor.BarcodeLayout.h"

#include "Zor.Utils.h"

namespace zor {

namespace {

struct TRetailPositions {
    double Group1 = 0.0;
    double Group2 = 0.0;
    double Trail = 0.0;
};

TRetailPositions RetailPositions(TZORBarType type, QByteArrayView pattern, const TBarMetrics& m)
{
    TRetailPositions p;
    switch (type) {
    case TZORBarType::EAN13:
        TBarcode::Ean13Pos(pattern, m.Module, m.Factor, p.Group1, p.Group2);
        break;
    case TZORBarType::EAN8:
        TBarcode::Ean8Pos(pattern, m.Module, m.Factor, p.Group1, p.Group2);
        break;
    case TZORBarType::UPCA:
        TBarcode::UPCAPos(pattern, m.Module, m.Factor, p.Group1, p.Group2, p.Trail);
        break;
    case TZORBarType::UPCE:
        TBarcode::UPCEPos(pattern, m.Module, m.Factor, p.Group1, p.Trail);
        break;
    default:
        break;
    }
    return p;
}

} // namespace

TBarMetrics BarMetrics(const IZORBarcode& barcode, double pixelsPerMM)
{
    TBarMetrics m;
    m.Module = barcode.GetBarWidth() * pixelsPerMM;
    m.Factor = barcode.GetFactor();
    m.BarBottom = barcode.GetBarHeight() * pixelsPerMM;
    m.ShortTop = m.BarBottom - barcode.GetBarHeight() * 2.0 * pixelsPerMM / 5.0;
    m.GuardBottom = m.BarBottom + barcode.GetFontHeight() * pixelsPerMM * 3.0 / 4.0;
    return m;
}

std::vector<QRectF> LayoutBars(const TBarMetrics& metrics, QByteArrayView pattern)
{
    std::vector<QRectF> bars;
    double u = 0.0, width = metrics.Module;
    for (const char c : pattern) {
        TZORDrawWidth w;
        TZORDrawBar bar;
        TBarcode::FillBarData(c, w, bar);
        width = TBarcode::ElementWidth(w, metrics.Module, metrics.Factor, width);
        if (bar != TZORDrawBar::Space) {
            const double top = bar == TZORDrawBar::Short ? metrics.ShortTop : 0.0;
            const double bottom = bar == TZORDrawBar::Guard ? metrics.GuardBottom : metrics.BarBottom;
            bars.emplace_back(QPointF(u, top), QPointF(u + width, bottom));
        }
        u += width;
    }
    return bars;
}

std::vector<TBarText> LayoutBarText(
    const TBarMetrics& metrics, QByteArrayView pattern, const QByteArray& code, TZORBarType type, bool split)
{
    std::vector<TBarText> texts;
    const auto add = [&texts](const QByteArray& text, TBarTextAnchor anchor, double position) {
        if (!text.isEmpty())
            texts.push_back({ QString::fromLatin1(text), anchor, position });
    };
    const std::optional<TZORRetailText> parts = split ? SplitRetailText(code, type) : std::nullopt;
    if (!parts) {
        add(code, TBarTextAnchor::Whole, 0.0);
        return texts;
    }
    const TRetailPositions p = RetailPositions(type, pattern, metrics);
    add(parts->Lead, TBarTextAnchor::Lead, 0.0);
    add(parts->Group1, TBarTextAnchor::Group, p.Group1);
    add(parts->Group2, TBarTextAnchor::Group, p.Group2);
    add(parts->Trail, TBarTextAnchor::Trail, p.Trail);
    return texts;
}

int64_t AlignShift(TZORHorzAlign align, int64_t length)
{
    switch (align) {
    case TZORHorzAlign::Center:
        return length / 2;
    case TZORHorzAlign::Right:
        return length;
    default:
        return 0;
    }
}

} // namespace zor
