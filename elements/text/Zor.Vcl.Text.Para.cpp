#include "Zor.Utils.h"
#include "Zor.Vcl.Text.h"

#include <algorithm>

namespace {

// A line's characters as drawn: the line breaks it ends with are not.
QString LineText(const QString& text, const TZORTxtInf& line)
{
    QString s = text.mid(line.start - 1, line.count);
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    return s;
}

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

void TZORParagraph::MeasureFont()
{
    SetMetrics(zor::FontMetricsOf(GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic()));
}

TxtLines TZORParagraph::LayOut(const QString& text, int64_t height, TZORVertAlign vAlign)
{
    MeasureFont();
    TxtLines lines;
    // The paddings are the box's own: the lines fill the padded box from its inner corner.
    const auto clamp = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, INT32_MAX)); };
    TZORCalc::CalcTxtPts(
        text, nullptr, lines, clamp(LineWidth()), clamp(height), 0, 0, GetHorzAlign(), vAlign, GetScaleX());
    return lines;
}

int64_t TZORParagraph::Extent(const TxtLines& lines) const
{
    return lines.empty() ? 0 : lines.back().y + zor::Round(double(GetMetrics().Height) * GetScaleX());
}

void TZORParagraph::CalcValues(int16_t aFlag)
{
    TZORBasePara::CalcValues(aFlag);
    // A box too small for its paddings holds no line (a height of 0 would mean no limit).
    SetLines(LayOut(GetText(), std::max<int64_t>(LinesHeight(), 1), GetVertAlign()));
}

void TZORParagraph::Draw(TZORBaseDraw& base)
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Screen);
    TZORDraw& D = P.Context();
    if (!D.kC || !D.kP)
        return;
    if (!HasMetrics())
        CalcValues(0);
    const QRectF box = zor::PaintScreenBox(P, *this);
    if (GetText().isEmpty())
        return;
    const zor::TZORTurn turn = zor::PaddedTurn(P, box, *this);
    const TSkFont font
        = zor::ScreenFont(D, GetFontName(), GetBold(), GetItalic(), GetFontHeight(), GetMetrics().Ratio);
    const TSkFont::TMetrics m = font.GetMetrics();
    const double a = std::abs(m.Ascent);
    TSkCanvas& canvas = *D.kC;
    canvas.Save();
    canvas.Translate(turn.Origin.x(), turn.Origin.y());
    canvas.Rotate(turn.Degrees());
    for (const TZORTxtInf& line : GetLines()) {
        const QString text = LineText(GetText(), line);
        const double x = P.MMAlong(turn, line.x / 1000.0), baseline = P.MMAcross(turn, line.y / 1000.0) + a;
        if (GetUnderline())
            zor::DecorationLine(
                D, x, x + font.MeasureText(text), baseline + zor::UnderlineOffset(m), GetFontColor(), true);
        TSkPaint& paint = *D.kP;
        paint.SetPathEffect({});
        paint.SetStyle(TSkPaintStyle::Fill);
        paint.SetAntiAlias(true);
        paint.SetColor(GetFontColor());
        canvas.DrawSimpleText(text, x, baseline, font, paint);
    }
    canvas.Restore();
}

void TZORParagraph::Print(TZORBaseDraw& base)
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Print);
    if (!P.Canvas())
        return;
    const QString value = zor::PrintedValue(*this, GetText());
    const bool bound = FillType() != 0;
    const int64_t boxH = std::max<int64_t>(LinesHeight(), 1);
    const int64_t needed = Extent(LayOut(value, 0, TZORVertAlign::Top));
    TxtLines lines;
    std::optional<int64_t> fitted; // the extent across the lines that the frame takes, if not the box's
    if (bound && GetGrow() && needed > boxH) {
        lines = LayOut(value, std::max(GrowHeight(), boxH), TZORVertAlign::Top);
        fitted = Extent(lines);
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
    P.SetPrinterFont(GetFontName(), GetFontHeight() * double(P.Context().fPixMM) * GetMetrics().Ratio,
        { GetBold(), GetItalic(), GetUnderline(), false }, GetFontColor());
    P.Canvas()->Brush.Style = TBrushStyle::Clear;
    P.Canvas()->SetTextAlign(TA_LEFT | TA_TOP);
    for (const TZORTxtInf& line : lines)
        P.PrintText(
            turn, P.MMAlong(turn, line.x / 1000.0), P.MMAcross(turn, line.y / 1000.0), LineText(value, line));
}
