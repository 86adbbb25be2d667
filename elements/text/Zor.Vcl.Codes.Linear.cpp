#include "Zor.Vcl.Codes.h"
#include "drawing/Zor.Vcl.Shared.Barcode.h"
#include "drawing/Zor.Vcl.Types.h"

#include <exception>

using zor::DrawBarcode;
using zor::PrintBarcode;
using zor::TAlphaColor;
using zor::TGPGraphicsPath;

namespace {

constexpr TAlphaColor CrossColour { 0xFFFF0000 };
constexpr float CrossPenWidth = 0.1f; // millimetres

// Both diagonals of the box, in fine red dots.
void RedCross(zor::TZORElementPainter& painter, const QRectF& box, TZORItemState state)
{
    TGPGraphicsPath cross;
    cross.AddLine(box.left(), box.top(), box.right(), box.bottom());
    cross.StartFigure();
    cross.AddLine(box.right(), box.top(), box.left(), box.bottom());
    painter.Stroke(cross, { CrossColour, CrossPenWidth, TZORineType::Dot, state, false });
}

int32_t Along(const TZORRect& frame, TZORAngle angle)
{
    return zor::ClampToInt32(zor::Ord(angle) % 2 == 0 ? frame.GetWidth() : frame.GetHeight());
}

} // namespace

void TZORBarcode::CalcValues(int16_t aFlag)
{
    TZORBaseBarcode::CalcValues(aFlag);
    if (aFlag < 0 || aFlag > 2)
        return;
    int ascent = 0, descent = 0, underline = 0, height = 0;
    double ratio = 1.0;
    TZORCalc::FontSettings(
        GetFontName(), GetBaseFontHeight(), false, false, ascent, descent, underline, height, ratio);
    SetFontMetrics(ascent, descent, underline, height, ratio);
    UpdatePoints();
}

void TZORBarcode::Draw(TZORBaseDraw& D) const
{
    zor::TZORElementPainter painter(D, zor::TZORTarget::Screen);
    const TZORRect& bounds = GetBounds();
    const QRectF box = zor::FrameBox(painter, bounds);
    if (!GetCodeValid()) {
        RedCross(painter, box, GetItemState());
        return;
    }
    painter.Frame(box, zor::CodeLook(*this), zor::CodeFrame);
    DrawBarcode(painter.Context(), *this, GetPoint(1), GetColor(), zor::ClampToInt32(bounds.GetWidth()),
        zor::ClampToInt32(bounds.GetHeight()), GetFontRatio());
    painter.DataMarker(*this, painter.At(GetPoint(1)));
}

// The printed value is validated and prepared afresh and kept to this call. The symbol's
// length handed on is its frame's, paddings included, as on screen, so that both align alike.
void TZORBarcode::Print(TZORBaseDraw& D) const
{
    // A value that cannot be printed, or any failure on the way, leaves this element off the
    // page and the job goes on.
    try {
        const QByteArray value = zor::PrintedValue(*this, fCode, D).toLatin1();
        const TZORPreparedCode printed = PrepareValue(value);
        if (printed.Pattern.isEmpty())
            return;
        zor::TZORElementPainter painter(D, zor::TZORTarget::Print);
        const TZORRect frame = FrameRect(PatternSize(printed.Pattern));
        painter.Frame(zor::FrameBox(painter, frame), zor::CodeLook(*this), zor::CodeFrame);
        PrintBarcode(painter.Context(), *this, GetPoint(1), GetColor(), Along(frame, GetAngle()), 0,
            GetFontRatio(), printed.Code, printed.Pattern);
    } catch (const std::exception&) {
    }
}
