#include "Zor.Fonts.h"

#include "Zor.PainterState.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace zor {

namespace {

QFont ReferenceFont(const QString& family, bool bold, bool italic, bool underline, bool strikeOut)
{
    QFont font(family);
    font.setPixelSize(TScaledFont::ReferencePixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

// Advances of texts already measured, per thread: measuring shapes the text and loads every
// glyph's outline, and a label measures the same texts again and again (layout, drawing,
// bounds). Kept per font description; emptied when it grows large.
class TAdvanceCache {
public:
    static constexpr qsizetype MaxEntries = 32768;

    template <typename Measure> double Get(const QString& font, QStringView text, Measure measure)
    {
        QHash<QString, double>& advances = fFonts[font];
        const QString key = text.toString();
        if (const auto it = advances.constFind(key); it != advances.cend())
            return *it;
        const double advance = measure();
        if (fCount >= MaxEntries) {
            fFonts.clear();
            fCount = 0;
        }
        fFonts[font].insert(key, advance);
        ++fCount;
        return advance;
    }

private:
    QHash<QString, QHash<QString, double>> fFonts;
    qsizetype fCount = 0;
};

TAdvanceCache& AdvanceCache()
{
    thread_local TAdvanceCache cache;
    return cache;
}

} // namespace

TScaledFont::TScaledFont()
    : TScaledFont(QString(), false, false)
{
}

TScaledFont::TScaledFont(const QString& family, bool bold, bool italic, bool underline, bool strikeOut)
    : fFamily(family)
    , fFont(ReferenceFont(family, bold, italic, underline, strikeOut))
    , fKey(fFont.key())
    , fMetrics(fFont)
    , fAscent(fMetrics.ascent() / ReferencePixels)
    , fDescent(fMetrics.descent() / ReferencePixels)
    , fLeading(fMetrics.leading() / ReferencePixels)
    , fUnderlinePos(fMetrics.underlinePos() / ReferencePixels)
{
}

double TScaledFont::Advance(QStringView text) const
{
    return AdvanceCache().Get(
        fKey, text, [&] { return fMetrics.horizontalAdvance(text.toString()) / ReferencePixels; });
}

double TScaledFont::EmOfHeight(double height) const
{
    if (height < 0.0)
        return -height;
    return Cell() > 0.0 ? height / Cell() : 0.0;
}

void TScaledFont::Draw(
    QPainter& painter, const QPointF& baseline, double em, const QString& text, double scaleX) const
{
    if (text.isEmpty() || !(em > 0.0))
        return;
    const double k = em / ReferencePixels;
    const TPainterState state(painter);
    painter.translate(baseline);
    painter.scale(k * scaleX, k);
    painter.setFont(fFont);
    painter.drawText(QPointF(0.0, 0.0), text);
}

QPainterPath TScaledFont::Outline(
    const QPointF& baseline, double em, const QString& text, double scaleX) const
{
    QPainterPath path;
    if (text.isEmpty() || !(em > 0.0))
        return path;
    path.addText(QPointF(0.0, 0.0), fFont, text);
    const double k = em / ReferencePixels;
    return QTransform::fromTranslate(baseline.x(), baseline.y()).scale(k * scaleX, k).map(path);
}

} // namespace zor
