#include "Zor.Vcl.Shared.Barcode.h"

#include "Zor.Barcode.h"
#include "Zor.BarcodeLayout.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Shared.Screen.h"
#include "Zor.Vcl.Types.h"

#include <cmath>

using zor::GetFontStyle;
using zor::TAlphaColor;
using zor::TBarTextAnchor;
using zor::TSkFont;
using zor::TSkPaint;
using zor::TSkPaintStyle;
using zor::TSkPathEffect;

namespace {

// What places the screen text along u, which starts at the first bar.
struct TScreenText {
    double Module = 0.0;
    double PadX = 0.0; // the bars' offset along u from the alignment point
    double HalfLength = 0.0; // half the element's length
};

double ScreenU(const zor::TBarText& text, double width, const TScreenText& at)
{
    switch (text.Anchor) {
    case TBarTextAnchor::Lead: // one narrow module clear of the first bar
        return -width - at.Module;
    case TBarTextAnchor::Group:
        return text.Position - width / 2.0;
    case TBarTextAnchor::Trail:
        return text.Position;
    case TBarTextAnchor::Whole: // centred on the element, wherever the padding puts the bars
        break;
    }
    return at.HalfLength - width / 2.0 - at.PadX;
}

void DrawCodeText(TZORDraw& D, const IZORBarcode& barcode, const zor::TBarMetrics& metrics,
    TAlphaColor colour, double fontFactor, const TScreenText& at)
{
    TSkPaint& paint = *D.kP;
    paint.SetAntiAlias(true);
    paint.SetPathEffect(TSkPathEffect::MakeStrokeAndFill());
    paint.SetColor(colour);
    paint.SetStyle(TSkPaintStyle::Fill);
    const TSkFont font(
        barcode.GetFontName(), GetFontStyle(false, false), barcode.GetFontHeight() * D.fPixMM * fontFactor);
    // The tops of the characters touch the end of the normal bars.
    const double baseline
        = barcode.GetDrawValue(barcode.GetBarHeight(), D.fDPIY) + std::abs(font.GetMetrics().Ascent);
    const QByteArray code = barcode.GetAnsiCode();
    const TZORBarType type = barcode.GetBarType();
    // A retail text too short to hold its groups is written whole.
    const bool split = zor::IsRetailBarType(type) && code.size() > 5;
    for (const zor::TBarText& text : zor::LayoutBarText(metrics, barcode.GetBarPattern(), code, type, split))
        D.kC->DrawSimpleText(
            text.Text, ScreenU(text, font.MeasureText(text.Text), at), baseline, font, paint);
}

} // namespace

void zor::DrawBarcode(TZORDraw& D, const IZORBarcode& barcode, const TZORPto& position, TAlphaColor colour,
    int32_t width, int32_t height, double fontFactor)
{
    if (!D.kP || !D.kC)
        return;
    const zor::TBarMetrics metrics = zor::BarMetrics(barcode, D.fPixMM);
    TSkPaint& paint = *D.kP;
    paint.SetPathEffect({});
    paint.SetAntiAlias(false);
    paint.SetColor(colour);
    paint.SetStyle(TSkPaintStyle::Fill);

    const int turns = zor::QuarterTurns(barcode.GetAngle());
    const bool upright = turns % 2 == 0;
    // Each padding is converted with the resolution of the device axis it lies along once turned.
    const double padX = barcode.GetDrawValue(barcode.GetPaddingX(), upright ? D.fDPIX : D.fDPIY);
    const double padY = barcode.GetDrawValue(barcode.GetPaddingY(), upright ? D.fDPIY : D.fDPIX);
    const int32_t length = upright ? width : height;
    const double shift
        = zor::DrawFromBaseX(static_cast<double>(zor::AlignShift(barcode.GetHorzAlign(), length)), D);

    TSkCanvas& canvas = *D.kC;
    canvas.Save();
    canvas.Translate(D.fOrgFX + position.DrawX(D), D.fOrgFY + position.DrawY(D));
    if (turns != 0)
        canvas.Rotate(-90.0 * turns);
    canvas.Translate(padX - shift, padY);
    for (const QRectF& bar : zor::LayoutBars(metrics, barcode.GetBarPattern()))
        canvas.DrawRect(bar, paint);
    if (barcode.GetShowNumber())
        DrawCodeText(D, barcode, metrics, colour, fontFactor,
            { metrics.Module, padX, zor::DrawFromBaseX(static_cast<double>(length), D) / 2.0 });
    canvas.Restore();
}
