#include "Zor.Vcl.Text.h"

#include "Zor.Label.h"
#include "Zor.Utils.h"
#include "drawing/Zor.TextLayout.h"
#include "drawing/Zor.Vcl.Shared.Screen.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

using zor::TA_LEFT;
using zor::TA_TOP;
using zor::TBrushStyle;
using zor::TSkCanvas;
using zor::TSkFont;
using zor::TSkPaint;
using zor::TSkPaintStyle;

// The factory's texts are never sheet copies. Their defaults are the model's own, which the
// binary reader overwrites with every value of the record.

TZORText::TZORText(TZORBaseLabel* aOwner)
    : TZORText(aOwner, false)
{
}

TZORText::TZORText(TZORBaseLabel* aOwner, TZORLayer* aLayer)
    : TZORBaseText(aOwner, aLayer, false)
{
}

TZORParagraph::TZORParagraph(TZORBaseLabel* aOwner)
    : TZORParagraph(aOwner, false)
{
}

TZORParagraph::TZORParagraph(TZORBaseLabel* aOwner, TZORLayer* aLayer)
    : TZORBasePara(aOwner, aLayer, false)
{
}

TZORRichText::TZORRichText(TZORBaseLabel* aOwner)
    : TZORRichText(aOwner, false)
{
}

TZORRichText::TZORRichText(TZORBaseLabel* aOwner, TZORLayer* aLayer)
    : TZORBaseRichText(aOwner, aLayer, false)
{
}

namespace zor {

namespace {

// Underline and strikeout, as shares of the font's cell below and of its ascent above the
// baseline.
constexpr double UnderlineShare = 0.1;
constexpr double StrikeoutShare = 0.5;
constexpr TAlphaColor CaretColor { 0xFFFF0000 };

} // namespace

TZORFontMetrics FontMetricsOf(const QString& family, int32_t height, bool bold, bool italic)
{
    TZORFontMetrics m;
    TZORCalc::FontSettings(family, height, bold, italic, m.Ascent, m.Descent, m.Third, m.Height, m.Ratio);
    return m;
}

int32_t MetricWidth(const QString& text, const TRichTextFormat& format)
{
    FontMetricsOf(format.FontName, format.FontHeight, format.Bold, format.Italic);
    return TZORCalc::CalcTxtSize(text).width();
}

std::optional<QRectF> BeginScreenBox(TZORElementPainter& P, const TZORBasePara& item)
{
    const TZORDraw& D = P.Context();
    if (!D.kC || !D.kP)
        return std::nullopt;
    const QRectF box = P.Box(item.GetPoint(1), item.GetPoint(2)).normalized();
    P.Frame(box, TZORFrameLook::Of(item, item.GetRadio()), ParagraphFrame);
    P.DataMarker(item, P.At(item.GetPoint(1)));
    return box;
}

bool EditsInPlace(const TZORDraw& D, const TZORBaseItem& item, std::initializer_list<int32_t> actions)
{
    return std::find(actions.begin(), actions.end(), D.aAction) != actions.end()
        && item.GetItemState() == TZORItemState::Selected && item.GetOwner()
        && item.GetOwner()->GetEditable();
}

TSkFont ScreenFont(const TZORDraw& D, const QString& family, bool bold, bool italic, double heightMM,
    double ratio, double scaleX)
{
    return TSkFont(family, GetFontStyle(bold, italic), heightMM * D.fPixMM * ratio, scaleX);
}

void DecorationLine(TZORDraw& D, double x0, double x1, double y, TAlphaColor color, bool antiAlias)
{
    TSkPaint& paint = *D.kP;
    paint.SetColor(color);
    paint.SetStrokeCap(TSkStrokeCap::Butt);
    paint.SetStrokeWidth(1.0);
    paint.SetPathEffect({});
    paint.SetStyle(TSkPaintStyle::Stroke);
    paint.SetAntiAlias(antiAlias);
    D.kC->DrawLine(x0, y, x1, y, paint);
}

void DrawCaretLine(TZORDraw& D, double x, double top, double height)
{
    TSkPaint& paint = *D.kP;
    paint.SetColor(CaretColor);
    paint.SetPathEffect({});
    paint.SetStyle(TSkPaintStyle::Stroke);
    paint.SetStrokeWidth(1.0);
    paint.SetAntiAlias(false);
    D.kC->DrawLine(x, top, x, top + height, paint);
}

double UnderlineOffset(const TSkFont::TMetrics& m)
{
    return (std::abs(m.Ascent) + std::abs(m.Descent)) * UnderlineShare;
}

double StrikeoutOffset(const TSkFont::TMetrics& m)
{
    return -std::abs(m.Ascent) * StrikeoutShare;
}

} // namespace zor

// --- Text ---

namespace {

// The tools that edit a text in place.
constexpr std::initializer_list<int32_t> TextEditActions = { 15, 16 };

// The device rectangle of a model rectangle.
QRectF DeviceBox(const zor::TZORElementPainter& P, const TZORRect& r)
{
    return QRectF(P.AtWhole(TZORPto { r.Left, r.Top }), P.AtWhole(TZORPto { r.Right, r.Bottom }))
        .normalized();
}

} // namespace

TZORText::TMeasured TZORText::Measure(const QString& text) const
{
    TMeasured m { zor::MeasureFontOf(*this), 0 };
    const int64_t width = TZORCalc::CalcTxtSize(text).width();
    m.Width = static_cast<int32_t>(GetScale() == 1.0f ? width : zor::Round(double(width) * GetScale()));
    return m;
}

void TZORText::CalcValues(int16_t aFlag)
{
    TZORBaseText::CalcValues(aFlag);
    const TMeasured m = Measure(GetShownText());
    SetMetrics(m.Metrics);
    SetTextWidth(m.Width);
    UpdateBounds();
}

void TZORText::Draw(TZORBaseDraw& base) const
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Screen);
    TZORDraw& D = P.Context();
    if (!D.kC || !D.kP)
        return;
    // The shown text may have changed since the last layout (typing in place): measure it now.
    const TMeasured measured = Measure(GetShownText());
    const double ratio = measured.Metrics.Ratio;
    const bool editing = zor::EditsInPlace(D, *this, TextEditActions);
    const QRectF frame = DeviceBox(P, TextBox(measured.Width));
    P.Frame(frame, zor::TZORFrameLook::Of(*this, GetRadio()), zor::TextFrame);
    if (!editing)
        P.DataMarker(*this, P.At(GetPoint(1)));
    const zor::TZORTurn turn = zor::PaddedTurn(P, frame, *this);
    const TSkFont font
        = zor::ScreenFont(D, GetFontName(), GetBold(), GetItalic(), GetFontHeight(), ratio, GetScale());
    const TSkFont::TMetrics m = font.GetMetrics();
    const double a = std::abs(m.Ascent), d = std::abs(m.Descent);
    const double w = font.MeasureText(GetShownText());
    TSkCanvas& canvas = *D.kC;
    canvas.Save();
    canvas.Translate(turn.Origin.x(), turn.Origin.y());
    canvas.Rotate(turn.Degrees());
    const double limit = P.MMAlong(turn, GetWidthLimit());
    if (!editing && P.InEditor() && limit > 0.0 && limit < w) {
        // The editor shows how much of a text fits its width limit, underline included; paper
        // prints it whole.
        const double left
            = zor::ByAlign(GetHorzAlign(), 0.0, (w - limit) / 2.0, w - limit, (w - limit) / 2.0);
        canvas.Painter().setClipRect(QRectF(left, -2.0 * a, limit, 4.0 * a + d), Qt::IntersectClip);
    }
    // Underlined text is drawn without anti-aliasing, its line with it.
    const bool smooth = !GetUnderline();
    if (GetUnderline())
        zor::DecorationLine(D, 0.0, w, a + d - std::abs(m.UnderlinePosition), GetFontColor(), false);
    TSkPaint& paint = *D.kP;
    paint.SetPathEffect({});
    paint.SetStyle(TSkPaintStyle::Fill);
    paint.SetAntiAlias(smooth);
    paint.SetColor(GetFontColor());
    canvas.DrawSimpleText(GetShownText(), 0.0, a, font, paint);
    if (editing && D.aFocused)
        DrawCaret(D, font, a, d);
    canvas.Restore();
}

void TZORText::DrawCaret(TZORDraw& D, const TSkFont& font, double ascent, double descent) const
{
    // The editor's caret may outrun its text (a deletion it has not caught up with): it stands
    // at the end then.
    const int32_t pos = std::clamp<int32_t>(D.aPos, 0, static_cast<int32_t>(D.aTxt.size()));
    const int64_t x = pos > 0 ? zor::Round(font.MeasureText(D.aTxt.left(pos))) : 0;
    zor::DrawCaretLine(D, double(x), 0.0, double(zor::Round(ascent) + zor::Round(descent)));
}

void TZORText::Print(TZORBaseDraw& base) const
{
    zor::TZORElementPainter P(base, zor::TZORTarget::Print);
    if (!P.Canvas())
        return;
    const QString value = zor::PrintedValue(*this, GetText(), base);
    const TMeasured measured = Measure(value);
    const QRectF frame = DeviceBox(P, TextBox(measured.Width));
    P.Frame(frame, zor::TZORFrameLook::Of(*this, GetRadio()), zor::TextFrame);
    const zor::TZORTurn turn = zor::PaddedTurn(P, frame, *this);
    const double ratio = measured.Metrics.Ratio;
    P.SetPrinterFont(GetFontName(), GetFontHeight() * double(P.Context().fPixMM) * ratio,
        { GetBold(), GetItalic(), GetUnderline(), false }, GetFontColor());
    P.Canvas()->Brush.Style = TBrushStyle::Clear;
    P.Canvas()->SetTextAlign(TA_LEFT | TA_TOP);
    P.PrintText(turn, 0.0, 0.0, value, GetScale());
}
