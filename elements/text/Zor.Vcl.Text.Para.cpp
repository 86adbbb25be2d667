#include "Zor.Utils.h"
#include "Zor.Vcl.Text.h"

#include <algorithm>
#include <optional>

using zor::TxtLines;

namespace {

// The frame of a printed paragraph fitted across its lines to `needed` device pixels, from the
// side where its lines start.
QRectF Fitted(QRectF box, double needed, TZORAngle angle)
{
    switch (angle) {
    case TZORAngle::Angle90:
        box.setRight(box.left() + needed);
        break;
    case TZORAngle::Angle180:
        box.setTop(box.bottom() - needed);
        break;
    case TZORAngle::Angle270:
        box.setLeft(box.right() - needed);
        break;
    case TZORAngle::Angle0:
        box.setBottom(box.top() + needed);
        break;
    }
    return box;
}

} // namespace

TxtLines TZORParagraph::LayOut(const QString& text, int64_t height, TZORVertAlign vAlign) const
{
    zor::MeasureFontOf(*this);
    TxtLines lines;
    // The paddings are the box's own: the lines fill the padded box from its inner corner.
    const auto clamp = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, INT32_MAX)); };
    TZORCalc::CalcTxtPts(
        text, nullptr, lines, clamp(LineWidth()), clamp(height), 0, 0, GetHorzAlign(), vAlign, GetScaleX());
    return lines;
}

TxtLines TZORParagraph::OwnLines() const
{
    // A box too small for its paddings holds no line (a height of 0 would mean no limit).
    return LayOut(GetText(), std::max<int64_t>(LinesHeight(), 1), GetVertAlign());
}

int64_t TZORParagraph::Extent(const TxtLines& lines, const TZORFontMetrics& m) const
{
    return lines.empty() ? 0 : lines.back().y + zor::Round(double(m.Height) * GetScaleX());
}

int64_t TZORParagraph::NeededExtent(const QString& text) const
{
    return Extent(LayOut(text, 0, TZORVertAlign::Top), zor::MeasureFontOf(*this));
}

void TZORParagraph::CalcValues(int16_t aFlag)
{
    TZORBasePara::CalcValues(aFlag);
    SetMetrics(zor::MeasureFontOf(*this));
    SetLines(OwnLines());
}

void TZORParagraph::Draw(TZORBaseDraw& base) const
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Screen);
    const std::optional<QRectF> box = zor::BeginScreenBox(P, *this);
    if (!box || GetText().isEmpty())
        return;
    // Lines never laid out are laid out for this pass alone.
    std::optional<TxtLines> fresh;
    if (!HasMetrics())
        fresh = OwnLines();
    const zor::TZORTurn turn = zor::PaddedTurn(P, *box, *this);
    zor::PaintLines(
        P, turn, GetText(), fresh ? *fresh : GetLines(), zor::LinesFontOf(*this, zor::KeptOrMeasured(*this)));
}

void TZORParagraph::Print(TZORBaseDraw& base) const
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Print);
    if (!P.Canvas())
        return;
    const QString value = zor::PrintedValue(*this, GetText(), base);
    const bool bound = FillType() != 0;
    const int64_t boxH = std::max<int64_t>(LinesHeight(), 1);
    const TZORFontMetrics metrics = zor::MeasureFontOf(*this);
    const int64_t needed = NeededExtent(value);
    TxtLines lines;
    std::optional<int64_t> fitted; // the extent across the lines that the frame takes, if not the box's
    // Any growing paragraph runs on towards the label's edge; only a bound one's frame follows.
    if (GetGrow() && needed > boxH) {
        lines = LayOut(value, std::max(GrowHeight(), boxH), TZORVertAlign::Top);
        if (bound)
            fitted = Extent(lines, metrics);
    } else if (bound && GetShrink() && needed < boxH) {
        lines = LayOut(value, boxH, TZORVertAlign::Top);
        fitted = needed;
    } else {
        lines = LayOut(value, boxH, GetVertAlign());
    }
    const QRectF box = QRectF(P.AtWhole(GetPoint(1)), P.AtWhole(GetPoint(2))).normalized();
    const zor::TZORTurn turn = zor::PaddedTurn(P, box, *this);
    const bool upright = (zor::Ord(GetAngle()) & 1) == 0;
    const double pads = upright ? 2.0 * P.MMY(GetPaddingY()) : 2.0 * P.MMX(GetPaddingX());
    const QRectF frame = fitted ? Fitted(box, P.MMAcross(turn, *fitted / 1000.0) + pads, GetAngle()) : box;
    P.Frame(frame, zor::TZORFrameLook::Of(*this, GetRadio()), zor::ParagraphFrame);
    zor::PaintLines(P, turn, value, lines, zor::LinesFontOf(*this, metrics));
}
