#include "Zor.Barcode.h"
#include "Zor.BarcodeLayout.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Shared.Barcode.h"
#include "Zor.Vcl.Types.h"

#include <algorithm>
#include <limits>
#include <utility>

using zor::AlphaColorToColor;
using zor::TA_LEFT;
using zor::TA_TOP;
using zor::TAlphaColor;
using zor::TBarTextAnchor;
using zor::TBrushStyle;
using zor::TCanvas;
using zor::TDraw2D;

namespace {

// Where the printer writes the text, in whole pixels from the alignment point.
struct TPrintText {
    int PadX = 0;
    int HalfLength = 0;
};

int PrintU(const zor::TBarText& text, int width, const TPrintText& at)
{
    switch (text.Anchor) {
    case TBarTextAnchor::Lead: // touching the position of the first bar
        return at.PadX - width;
    case TBarTextAnchor::Group:
        return at.PadX + static_cast<int>(zor::Round(text.Position)) - width / 2;
    case TBarTextAnchor::Trail:
        return at.PadX + static_cast<int>(zor::Round(text.Position));
    case TBarTextAnchor::Whole:
        break;
    }
    return at.HalfLength - width / 2;
}

// The character height of the text in pixels, as the framework's negative font height.
int FontHeight(const IZORBarcode& barcode, const TZORDraw& D, double fontFactor)
{
    const int64_t em = zor::Trunc(barcode.GetFontHeight() * D.fPixMM * fontFactor);
    return -static_cast<int>(std::clamp<int64_t>(em, 0, std::numeric_limits<int>::max()));
}

void PrintBars(TZORDraw& D, const zor::TBarMetrics& metrics, QByteArrayView pattern, const QPointF& reference,
    const QPointF& start, TZORAngle angle)
{
    std::vector<QRectF> bars = zor::LayoutBars(metrics, pattern);
    for (QRectF& bar : bars) {
        bar.translate(start);
        TDraw2D::Rotate(bar, reference, angle);
    }
    D.aG->FillRectangles(*D.aB, bars);
}

// The text font: the character height of the barcode's font, unturned or turned with the symbol.
void SetTextFont(TZORDraw& D, const IZORBarcode& barcode, TAlphaColor colour, double fontFactor)
{
    TCanvas& canvas = *D.aC;
    canvas.Font.Name = barcode.GetFontName();
    canvas.Font.Height = FontHeight(barcode, D, fontFactor);
    canvas.Font.Style = {};
    canvas.Font.Color = AlphaColorToColor(colour);
    canvas.Font.Escapement = 900 * zor::QuarterTurns(barcode.GetAngle());
    D.ResetMatrix(D.fDrawState);
    canvas.SetWorldTransform(D.xM);
}

// Where the text's frame lies on the page, in whole pixels: the projected reference point,
// the alignment shift along u, and half the symbol's length.
struct TPrintFrame {
    QPoint Reference;
    int Shift = 0;
    int HalfLength = 0;
};

// The text is written without a background, which would cut into the guard bars that reach
// into its line.
void PrintCodeText(TZORDraw& D, const IZORBarcode& barcode, const zor::TBarMetrics& metrics,
    const TPrintFrame& frame, const QByteArray& code, const QByteArray& pattern)
{
    TCanvas& canvas = *D.aC;
    const uint32_t align = canvas.SetTextAlign(TA_LEFT | TA_TOP);
    const TBrushStyle brush = std::exchange(canvas.Brush.Style, TBrushStyle::Clear);
    const TPrintText at { barcode.GetPrintValue(barcode.GetPaddingX(), D.fDPIX), frame.HalfLength };
    const int v = barcode.GetPrintValue(barcode.GetPaddingY(), D.fDPIY)
        + barcode.GetPrintValue(barcode.GetBarHeight(), D.fDPIY);
    const TZORBarType type = barcode.GetBarType();
    for (const zor::TBarText& text :
        zor::LayoutBarText(metrics, pattern, code, type, zor::IsRetailBarType(type))) {
        const int u = PrintU(text, canvas.TextWidth(text.Text), at);
        QPoint p(frame.Reference.x() - frame.Shift + u, frame.Reference.y() + v);
        TDraw2D::RotatePoint(p, frame.Reference, barcode.GetAngle());
        canvas.TextOut(p.x(), p.y(), text.Text);
    }
    canvas.Brush.Style = brush;
    canvas.SetTextAlign(align);
}

} // namespace

void zor::PrintBarcode(TZORDraw& D, const IZORBarcode& barcode, const TZORPto& position, TAlphaColor colour,
    int32_t length, int32_t, double fontFactor, const QByteArray& code, const QByteArray& pattern)
{
    if (!D.aG || !D.aB)
        return;
    const zor::TBarMetrics metrics = zor::BarMetrics(barcode, D.fPixMM);
    const TZORAngle angle = barcode.GetAngle();
    const int shift
        = zor::PrintFromBaseX(static_cast<double>(zor::AlignShift(barcode.GetHorzAlign(), length)), D);
    D.aB->SetColor(AlphaColorToGPColor(colour));

    // The frame turns about the reference point, padding and alignment with it, as on screen.
    const QPointF reference(D.fOrgX + position.DrawX(D), D.fOrgY + position.DrawY(D));
    const QPointF start = reference
        + QPointF(barcode.GetDrawValue(barcode.GetPaddingX(), D.fDPIX) - shift,
            barcode.GetDrawValue(barcode.GetPaddingY(), D.fDPIY));
    PrintBars(D, metrics, pattern, reference, start, angle);
    if (!barcode.GetShowNumber() || !D.aC)
        return;
    SetTextFont(D, barcode, colour, fontFactor);
    const TPrintFrame frame { QPoint(D.fOrgX + position.PrintX(D), D.fOrgY + position.PrintY(D)), shift,
        zor::PrintFromBaseX(static_cast<double>(length / 2), D) };
    PrintCodeText(D, barcode, metrics, frame, code, pattern);
    // The turned font serves this text only.
    D.aC->Font.Escapement = 0;
}
