#pragma once

#include "drawing/Zor.VclExport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>
#include <QStringView>

class QPainter;
class QPainterPath;

namespace zor {

// A typeface measured once at a large reference size, whose metrics and advances are scaled
// linearly to any size. Hinting and kerning are off, and text is drawn by scaling the same
// reference font, so a width measured here is the width the painter draws on every device,
// at every resolution and size. Metrics are given per unit of em (the character height).
class QUINDLE_VCL_EXPORT TScaledFont {
public:
    static constexpr int ReferencePixels = 256;

    TScaledFont();
    TScaledFont(
        const QString& family, bool bold, bool italic, bool underline = false, bool strikeOut = false);

    const QString& Family() const { return fFamily; }
    double Ascent() const { return fAscent; }
    double Descent() const { return fDescent; }
    double Leading() const { return fLeading; }
    // Where the font's own underline lies below the baseline.
    double UnderlinePos() const { return fUnderlinePos; }
    // Ascent plus descent: the cell height of a one-unit em.
    double Cell() const { return fAscent + fDescent; }
    double Advance(QStringView text) const;
    // The em of a framework font height: a negative height is the character height, a
    // positive one the cell height; 0 gives 0.
    double EmOfHeight(double height) const;

    // Draws text of the given em size with its baseline starting at `baseline`, in the
    // painter's current pen colour. `scaleX` stretches it along the baseline.
    void Draw(QPainter& painter, const QPointF& baseline, double em, const QString& text,
        double scaleX = 1.0) const;
    // The outline of that text, for stroked text.
    QPainterPath Outline(const QPointF& baseline, double em, const QString& text, double scaleX = 1.0) const;

private:
    QString fFamily;
    QFont fFont;
    QString fKey; // the font's description, for the cache of advances
    QFontMetricsF fMetrics;
    double fAscent = 0.0;
    double fDescent = 0.0;
    double fLeading = 0.0;
    double fUnderlinePos = 0.0;
};

} // namespace zor
