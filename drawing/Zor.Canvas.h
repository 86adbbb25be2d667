#pragma once

#include "Zor.Fonts.h"
#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <optional>

class QPainter;

// The text canvas of the framework in the manner of GDI over one QPainter: a font with a
// signed pixel height and an escapement, a brush behind the text, text alignment, a world
// transform, TextOut and DrawText. Lengths are device pixels of the painter's device.

namespace zor {

// A framework colour with its high byte set names a system colour (its low byte is the index);
// the application palette supplies it. Other colours come back unchanged.
QUINDLE_VCL_EXPORT TColor ResolveSystemColor(TColor c);
QUINDLE_VCL_EXPORT QColor ToQColor(TColor c);

// A GDI world transform: x' = x·eM11 + y·eM21 + eDx, y' = x·eM12 + y·eM22 + eDy.
struct QUINDLE_VCL_EXPORT tagXFORM {
    float eM11 = 1.0f;
    float eM12 = 0.0f;
    float eM21 = 0.0f;
    float eM22 = 1.0f;
    float eDx = 0.0f;
    float eDy = 0.0f;

    friend bool operator==(const tagXFORM&, const tagXFORM&) = default;
};

struct QUINDLE_VCL_EXPORT TFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    friend bool operator==(const TFontStyles&, const TFontStyles&) = default;
};

struct QUINDLE_VCL_EXPORT TFont {
    QString Name = QStringLiteral("Arial");
    // Pixels: negative for the character height (em), positive for the cell height
    // (ascent + descent), 0 for 8 points at the device's resolution.
    int Height = 0;
    TFontStyles Style;
    TColor Color { 0 };
    // Tenths of a degree, counter-clockwise on the page, about the TextOut point.
    int Escapement = 0;
};

enum class TBrushStyle : uint8_t { Solid = 0, Clear = 1 };

struct QUINDLE_VCL_EXPORT TBrush {
    TColor Color { 0x00FFFFFF };
    TBrushStyle Style = TBrushStyle::Solid;
};

// Text alignment flags of SetTextAlign: horizontal left 0, right 2, centre 6; vertical top 0,
// bottom 8, baseline 24.
inline constexpr uint32_t TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0, TA_BOTTOM = 8,
                          TA_BASELINE = 24;

// DrawText format flags.
inline constexpr uint32_t DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
                          DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_NOCLIP = 0x100, DT_CALCRECT = 0x400,
                          DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000;

class QUINDLE_VCL_EXPORT TCanvas {
public:
    // The painter stays the caller's; it must outlive the canvas.
    explicit TCanvas(QPainter& painter);

    TFont Font;
    TBrush Brush;

    // Returns the previous alignment.
    uint32_t SetTextAlign(uint32_t flags);
    void SetWorldTransform(const tagXFORM& x);

    // With a solid brush the text cell is filled first, as GDI's opaque background does.
    void TextOut(double x, double y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const;
    void FillRect(const QRect& r);

    // Lines of the text in `r` by the DT_ flags. With DT_CALCRECT nothing is drawn and `r`
    // grows or shrinks to the lines' box (its bottom to the last line). The result is the
    // height of the text, or with DT_VCENTER or DT_BOTTOM the offset from r's top to its end.
    int DrawText(const QString& text, QRect& r, uint32_t flags);

    // The font as measured, and its em size in device pixels.
    const zor::TScaledFont& Face() const;
    double Em() const;
    // Ascent and descent of the font in whole pixels.
    int Ascent() const;
    int Descent() const;

    QPainter& Painter() { return fPainter; }

private:
    double Advance(QStringView text) const;
    QString Elide(const QString& line, int width) const;

    QPainter& fPainter;
    uint32_t fAlign = TA_LEFT | TA_TOP;
    QTransform fWorld;
    mutable std::optional<zor::TScaledFont> fFace;
    mutable TFont fFaceKey;
};

} // namespace zor
