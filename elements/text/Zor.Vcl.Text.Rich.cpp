#include "Zor.Utils.h"
#include "Zor.Vcl.Text.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

using zor::TA_BASELINE;
using zor::TA_LEFT;
using zor::TAlphaColor;
using zor::TBrushStyle;
using zor::TCanvas;
using zor::TRichTextDrawSegment;
using zor::TRichTextFormat;
using zor::TRichTextParsedSegment;
using zor::TSkCanvas;
using zor::TSkFont;
using zor::TSkPaint;
using zor::TSkPaintStyle;

namespace {

// The tools that edit a rich text in place.
constexpr std::initializer_list<int32_t> RichEditActions = { 16, 19 };

constexpr TAlphaColor SelectionColor { 0x400078D7 };
// Backgrounds the screen leaves out: none, and the paper's own white.
constexpr TAlphaColor NoBack { 0 };
constexpr TAlphaColor PaperBack { 0xFFFFFFFF };

// The segments of one line: from `first` up to the next segment with another top.
size_t LineEnd(std::span<const TRichTextDrawSegment> segs, size_t first)
{
    size_t end = first + 1;
    while (end < segs.size() && segs[end].Y == segs[first].Y)
        ++end;
    return end;
}

// The screen fonts of a pass, one per format, made when first asked for.
class TScreenFonts {
public:
    TScreenFonts(const TZORDraw& D, const std::vector<TRichTextFormat>& formats, double ratio)
        : fD(D)
        , fFormats(formats)
        , fRatio(ratio)
        , fFonts(formats.size())
    {
    }

    const TSkFont& At(int32_t index)
    {
        const size_t i = index >= 0 && size_t(index) < fFormats.size() ? size_t(index) : 0;
        if (!fFonts[i]) {
            const TRichTextFormat& f = fFormats[i];
            fFonts[i].emplace(
                zor::ScreenFont(fD, f.FontName, f.Bold, f.Italic, f.FontHeight / 1000.0, fRatio));
        }
        return *fFonts[i];
    }
    const TRichTextFormat& Format(int32_t index) const
    {
        return fFormats[index >= 0 && size_t(index) < fFormats.size() ? size_t(index) : 0];
    }

    // The largest ascent and descent of the fonts of segments [first, end).
    std::pair<double, double> Extent(std::span<const TRichTextDrawSegment> segs, size_t first, size_t end)
    {
        double a = 0.0, d = 0.0;
        for (size_t i = first; i < end; ++i) {
            const TSkFont::TMetrics m = At(segs[i].FormatIndex).GetMetrics();
            a = std::max(a, std::abs(m.Ascent));
            d = std::max(d, std::abs(m.Descent));
        }
        return { a, d };
    }

private:
    const TZORDraw& fD;
    const std::vector<TRichTextFormat>& fFormats;
    double fRatio;
    std::vector<std::optional<TSkFont>> fFonts;
};

// Where the segments lie in their turned frame, device pixels: paper micrometres along the lines
// and across them at the resolution of the device axis each runs on.
class TSegmentPlace {
public:
    TSegmentPlace(const TZORDraw& D, TZORAngle angle)
    {
        const bool upright = (zor::Ord(angle) & 1) == 0;
        fAlong = (upright ? D.fDPIX : D.fDPIY) / MicrometresPerInch;
        fAcross = (upright ? D.fDPIY : D.fDPIX) / MicrometresPerInch;
    }

    double Along(int64_t micrometres) const { return double(micrometres) * fAlong; }
    double Across(int64_t micrometres) const { return double(micrometres) * fAcross; }
    double X(const TRichTextDrawSegment& s) const { return Along(s.X); }
    double Top(const TRichTextDrawSegment& s) const { return Across(s.Y); }
    double Width(const TRichTextDrawSegment& s) const { return Along(s.Width); }

private:
    static constexpr double MicrometresPerInch = 25400.0;
    double fAlong = 0.0;
    double fAcross = 0.0;
};

// Where the segments [first, end) of a line start along it, device pixels: from the line's
// alignment offset in a box `box` wide (never before its start), each where the one before ends.
// Both targets place the segments by their widths; the offsets stored with them are not read.
std::vector<double> SegmentStarts(std::span<const TRichTextDrawSegment> segs, size_t first, size_t end,
    double box, const TSegmentPlace& place)
{
    double width = 0.0;
    for (size_t i = first; i < end; ++i)
        width += place.Width(segs[i]);
    const uint8_t align = segs[first].Align;
    double x = std::max(0.0, align == 1 ? (box - width) / 2.0 : align == 2 ? box - width : 0.0);
    std::vector<double> starts;
    for (size_t i = first; i < end; ++i) {
        starts.push_back(x);
        x += place.Width(segs[i]);
    }
    return starts;
}

void DrawSegment(TZORDraw& D, const TSkFont& font, const TRichTextFormat& f, const QString& text, double x,
    double w, double baseline)
{
    const TSkFont::TMetrics m = font.GetMetrics();
    TSkPaint& paint = *D.kP;
    if (f.BackColor != NoBack && f.BackColor != PaperBack) {
        paint.SetPathEffect({});
        paint.SetStyle(TSkPaintStyle::Fill);
        paint.SetAntiAlias(true);
        paint.SetColor(f.BackColor);
        D.kC->DrawRect(QRectF(QPointF(x, baseline + m.Ascent), QPointF(x + w, baseline + m.Descent)), paint);
    }
    if (f.Underline)
        zor::DecorationLine(D, x, x + w, baseline + zor::UnderlineOffset(m), f.FontColor, true);
    if (f.Strikeout)
        zor::DecorationLine(D, x, x + w, baseline + zor::StrikeoutOffset(m), f.FontColor, true);
    paint.SetPathEffect({});
    paint.SetStyle(TSkPaintStyle::Fill);
    paint.SetAntiAlias(true);
    paint.SetColor(f.FontColor);
    paint.SetStrokeWidth(1.0);
    D.kC->DrawSimpleText(text, x, baseline, font, paint);
}

TZORMeasureTextFunc ScreenMeasure()
{
    return [](const QString& text, const TRichTextFormat& f) { return zor::MetricWidth(text, f); };
}

} // namespace

void TZORRichText::CalcValues(int16_t aFlag)
{
    TZORBaseRichText::CalcValues(aFlag);
    SetMetrics(zor::FontMetricsOf(GetFontName(), GetBaseFontHeight(), GetBold(), GetItalic()));
    ParseRichText();
    LayoutSegments(ScreenMeasure());
}

TZORRichText::TLaidOut TZORRichText::LayOutOwn() const
{
    TLaidOut laid { zor::KeptOrMeasured(*this), {}, {} };
    std::vector<TRichTextParsedSegment> runs;
    ParseRichTextInto(GetRichText(), laid.Formats, runs, true);
    CalcPrintLayout(runs, laid.Formats, laid.Segments, LayoutWidth(), LayoutHeight(), ScreenMeasure());
    return laid;
}

void TZORRichText::Draw(TZORBaseDraw& base) const
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Screen);
    const std::optional<QRectF> box = zor::BeginScreenBox(P, *this);
    if (!box || GetRichText().isEmpty())
        return;
    // A text never laid out is laid out for this pass alone.
    std::optional<TLaidOut> fresh;
    if (!HasMetrics())
        fresh = LayOutOwn();
    const std::vector<TRichTextDrawSegment>& segs = fresh ? fresh->Segments : GetSegments();
    if (segs.empty())
        return;
    TZORDraw& D = P.Context();
    const zor::TZORTurn turn = zor::PaddedTurn(P, *box, *this);
    TSkCanvas& canvas = *D.kC;
    canvas.Save();
    canvas.Translate(turn.Origin.x(), turn.Origin.y());
    canvas.Rotate(turn.Degrees());
    const TSegmentPlace place(D, GetAngle());
    const double boxW = place.Along(std::max<int64_t>(LineWidth(), 0));
    canvas.Painter().setClipRect(
        QRectF(0.0, 0.0, boxW, place.Across(std::max<int64_t>(LinesHeight(), 0))), Qt::IntersectClip);
    TScreenFonts fonts(
        D, fresh ? fresh->Formats : GetFormats(), fresh ? fresh->Metrics.Ratio : GetMetrics().Ratio);
    for (size_t first = 0; first < segs.size();) {
        const size_t end = LineEnd(segs, first);
        const double baseline = place.Top(segs[first]) + fonts.Extent(segs, first, end).first;
        const std::vector<double> starts = SegmentStarts(segs, first, end, boxW, place);
        for (size_t i = first; i < end; ++i) {
            const TRichTextDrawSegment& s = segs[i];
            DrawSegment(D, fonts.At(s.FormatIndex), fonts.Format(s.FormatIndex), s.Text, starts[i - first],
                place.Width(s), baseline);
        }
        first = end;
    }
    if (zor::EditsInPlace(D, *this, RichEditActions)) {
        if (D.aSelStart != D.aSelEnd)
            DrawSelectionHighlight(D, D.aSelStart, D.aSelEnd);
        if (D.aFocused)
            DrawCaretAtPosition(D, D.aPos);
    }
    canvas.Restore();
}

void TZORRichText::DrawSelectionHighlight(TZORDraw& D, int32_t a, int32_t b) const
{
    const auto n = static_cast<int32_t>(GetPlainText().size());
    const int32_t s0 = std::clamp(std::min(a, b), 0, n), s1 = std::clamp(std::max(a, b), 0, n);
    const std::vector<TRichTextDrawSegment>& segs = GetSegments();
    if (s0 == s1 || segs.empty() || !D.kC || !D.kP)
        return;
    // Both ends map through the one position map: a selection that starts at a segment's end
    // starts in the next one, one that ends at a segment's start ends in the one before.
    int32_t k0 = 0, o0 = 0, k1 = 0, o1 = 0;
    GetSegmentAtPlainPos(s0, k0, o0, true);
    GetSegmentAtPlainPos(s1, k1, o1, false);
    const TSegmentPlace place(D, GetAngle());
    TScreenFonts fonts(D, GetFormats(), GetMetrics().Ratio);
    TSkPaint& paint = *D.kP;
    paint.SetColor(SelectionColor);
    paint.SetStyle(TSkPaintStyle::Fill);
    paint.SetPathEffect({});
    paint.SetAntiAlias(true);
    for (int32_t k = k0; k <= k1; ++k) {
        const TRichTextDrawSegment& s = segs[size_t(k)];
        const TSkFont& font = fonts.At(s.FormatIndex);
        size_t first = size_t(k);
        while (first > 0 && segs[first - 1].Y == s.Y)
            --first;
        const auto [asc, desc] = fonts.Extent(segs, first, LineEnd(segs, first));
        const double height = asc + desc > 0.0 ? asc + desc : font.GetSize();
        const qsizetype from = k == k0 ? o0 : 0, to = k == k1 ? o1 : s.Text.size();
        const double left = place.X(s) + (from > 0 ? font.MeasureText(QStringView(s.Text).first(from)) : 0.0);
        const double right = place.X(s) + font.MeasureText(QStringView(s.Text).first(to));
        if (right > left)
            D.kC->DrawRect(QRectF(left, place.Top(s), right - left, height), paint);
    }
}

void TZORRichText::DrawCaretAtPosition(TZORDraw& D, int32_t pos) const
{
    const std::vector<TRichTextDrawSegment>& segs = GetSegments();
    if (segs.empty() || !D.kC || !D.kP)
        return;
    const auto n = static_cast<int32_t>(GetPlainText().size());
    // A caret past the end of the text (the editor's may lag behind a deletion) stands at its end.
    pos = std::clamp(pos, 0, n);
    const TSegmentPlace place(D, GetAngle());
    TScreenFonts fonts(D, GetFormats(), GetMetrics().Ratio);
    double x = 0.0, top = 0.0;
    int32_t k = 0;
    if (pos >= n && segs.back().LineEnd) {
        // After a final line break the caret opens the line below the last one.
        k = static_cast<int32_t>(segs.size() - 1);
        size_t first = segs.size() - 1;
        while (first > 0 && segs[first - 1].Y == segs.back().Y)
            --first;
        int64_t lineHeight = 0;
        for (size_t i = first; i < segs.size(); ++i)
            lineHeight = std::max<int64_t>(lineHeight, segs[i].Height);
        const int64_t gap = zor::Round(double(GetBaseFontHeight()) * (double(GetScaleX()) - 1.0));
        x = place.X(segs[first]);
        top = place.Across(segs.back().Y + std::max<int64_t>(lineHeight + gap, 0));
    } else {
        int32_t off = 0;
        if (!GetSegmentAtPlainPos(pos, k, off, true) || k < 0)
            k = off = 0;
        const TRichTextDrawSegment& s = segs[size_t(k)];
        x = place.X(s)
            + (off > 0 ? fonts.At(s.FormatIndex).MeasureText(QStringView(s.Text).first(off)) : 0.0);
        top = place.Top(s);
    }
    zor::DrawCaretLine(D, x, top, fonts.At(segs[size_t(k)].FormatIndex).GetSize());
}

void TZORRichText::Print(TZORBaseDraw& base) const
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Print);
    TCanvas* canvas = P.Canvas();
    if (!canvas)
        return;
    const bool bound = FillType() != 0;
    // An element printed before it was ever laid out is laid out for this pass alone. A bound
    // element prints a layout of its data value made now; it keeps its own segments for the
    // screen.
    TLaidOut laid = !bound && (!HasMetrics() || GetSegments().empty())
        ? LayOutOwn()
        : TLaidOut { zor::KeptOrMeasured(*this), GetFormats(), GetSegments() };
    std::vector<TRichTextFormat>& formats = laid.Formats;
    std::vector<TRichTextDrawSegment>& segs = laid.Segments;
    if (bound || segs.empty()) {
        std::vector<TRichTextParsedSegment> runs;
        ParseRichTextInto(zor::PrintedValue(*this, GetRichText(), base), formats, runs, true);
        const int64_t height = GetGrow() ? std::max(GrowHeight(), LayoutHeight()) : LayoutHeight();
        CalcPrintLayout(runs, formats, segs, LayoutWidth(), height, ScreenMeasure());
    }
    const QRectF box = QRectF(P.AtWhole(GetPoint(1)), P.AtWhole(GetPoint(2))).normalized();
    P.Frame(box, zor::TZORFrameLook::Of(*this, GetRadio()), zor::ParagraphFrame);
    const zor::TZORTurn turn = zor::PaddedTurn(P, box, *this);
    const TSegmentPlace place(P.Context(), GetAngle());
    const double boxW = place.Along(std::max<int64_t>(LineWidth(), 0));
    const double em = double(P.Context().fPixMM) * laid.Metrics.Ratio / 1000.0;
    const auto useFont = [&](const TRichTextFormat& f) {
        P.SetPrinterFont(f.FontName, f.FontHeight * em,
            { f.Bold != 0, f.Italic != 0, f.Underline != 0, f.Strikeout != 0 }, f.FontColor);
    };
    const auto format = [&](int32_t i) -> const TRichTextFormat& {
        return formats[i >= 0 && size_t(i) < formats.size() ? size_t(i) : 0];
    };
    canvas->Brush.Style = TBrushStyle::Clear;
    canvas->SetTextAlign(TA_LEFT | TA_BASELINE);
    for (size_t first = 0; first < segs.size();) {
        const size_t end = LineEnd(segs, first);
        double ascent = 0.0;
        for (size_t i = first; i < end; ++i) {
            useFont(format(segs[i].FormatIndex));
            ascent = std::max(ascent, P.PrinterAscent());
        }
        const double baseline = place.Top(segs[first]) + ascent;
        const std::vector<double> starts = SegmentStarts(segs, first, end, boxW, place);
        for (size_t i = first; i < end; ++i) {
            const TRichTextDrawSegment& s = segs[i];
            const TRichTextFormat& f = format(s.FormatIndex);
            useFont(f);
            const double x = starts[i - first];
            if (f.BackColor != NoBack) {
                const QRectF cell(
                    x, baseline - P.PrinterAscent(), place.Width(s), P.PrinterAscent() + P.PrinterDescent());
                P.Fill(zor::RoundedBox(turn.Map(cell), 0.0, 0.0), f.BackColor);
            }
            P.PrintText(turn, x, baseline, s.Text);
        }
        first = end;
    }
}
