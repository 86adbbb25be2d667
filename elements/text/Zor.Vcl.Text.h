#pragma once

#include "Zor.Text.h"
#include "Zor.Vcl.Text.Frame.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"

#include <QRectF>
#include <QString>

#include <initializer_list>
#include <optional>
#include <vector>

// The renderers of the text elements: text, paragraph, rich text. Each is its model class plus
// the constructors the factory and the readers use, the layout (CalcValues), the screen (Draw)
// and the printer (Print). Screen and paper lay text out with one function each kind, measured
// in paper micrometres by the text-metrics service, so that both break lines at the same places;
// they differ only in how they paint.

// Single-line text (type code 10); made by the factory with the text defaults.
class QUINDLE_VCL_EXPORT TZORText : public TZORBaseText, public TZORElementIO<TZORText> {
public:
    using TZORBaseText::TZORBaseText;
    explicit TZORText(TZORBaseLabel* aOwner);
    TZORText(TZORBaseLabel* aOwner, TZORLayer* aLayer);

    // Measures the font and the shown text and places the frame.
    void CalcValues(int16_t aFlag) override;
    // The screen measures the shown text afresh (it may be typed in place), the paper its value;
    // neither keeps what it measured.
    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;

    // The metrics of the element's font and the width of `text` in that font and the element's
    // scale, paper micrometres.
    struct TMeasured {
        TZORFontMetrics Metrics;
        int32_t Width = 0;
    };
    TMeasured Measure(const QString& text) const;

private:
    void DrawCaret(TZORDraw& D, const zor::TSkFont& font, double ascent, double descent) const;
};

// Paragraph (type code 11).
class QUINDLE_VCL_EXPORT TZORParagraph : public TZORBasePara, public TZORElementIO<TZORParagraph> {
public:
    using TZORBasePara::TZORBasePara;
    explicit TZORParagraph(TZORBaseLabel* aOwner);
    TZORParagraph(TZORBaseLabel* aOwner, TZORLayer* aLayer);

    // Measures the font and lays the text out into the padded box.
    void CalcValues(int16_t aFlag) override;
    // The extent across its lines that `text` needs at the box's width with no height limit,
    // paper micrometres, paddings not included.
    int64_t NeededExtent(const QString& text) const;
    void Draw(TZORBaseDraw& D) const override;
    // A paragraph bound to data lays its value out afresh; with the grow flag its lines may run
    // on to the label's edge and its frame grows to them, with the shrink flag its frame shrinks
    // to them.
    void Print(TZORBaseDraw& D) const override;

private:
    // The lines of `text` in the padded box with a height limit (paper micrometres; 0 for none).
    zor::TxtLines LayOut(const QString& text, int64_t height, TZORVertAlign vAlign) const;
    // The lines of the element's own text as CalcValues keeps them.
    zor::TxtLines OwnLines() const;
    // The extent of lines laid out in a font of metrics m across the box, paper micrometres.
    int64_t Extent(const zor::TxtLines& lines, const TZORFontMetrics& m) const;
};

// Rich text (type code 29).
class QUINDLE_VCL_EXPORT TZORRichText : public TZORBaseRichText, public TZORElementIO<TZORRichText> {
public:
    using TZORBaseRichText::TZORBaseRichText;
    explicit TZORRichText(TZORBaseLabel* aOwner);
    TZORRichText(TZORBaseLabel* aOwner, TZORLayer* aLayer);

    // Measures the element's font, parses the markup and lays the runs out into draw segments.
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) const override;
    // Prints the draw segments, or for an element bound to data a layout of the data value (as
    // markup) made for the print; with the grow flag it may run on to the label's edge.
    void Print(TZORBaseDraw& D) const override;

    // The editing overlays in the turned frame of the text (see Draw): the selection between two
    // plain positions and the caret at one. Positions beyond the text count as its end.
    void DrawSelectionHighlight(TZORDraw& D, int32_t a, int32_t b) const;
    void DrawCaretAtPosition(TZORDraw& D, int32_t pos) const;

private:
    // What a pass draws: the font's metrics, the formats and the draw segments.
    struct TLaidOut {
        TZORFontMetrics Metrics;
        std::vector<zor::TRichTextFormat> Formats;
        std::vector<zor::TRichTextDrawSegment> Segments;
    };
    // The element's own markup parsed and laid out as CalcValues does, for a pass that finds no
    // layout kept.
    TLaidOut LayOutOwn() const;
};

namespace zor {

// The metrics of a font of `height` paper micrometres from the text-metrics service, which then
// measures in that font.
QUINDLE_VCL_EXPORT TZORFontMetrics FontMetricsOf(
    const QString& family, int32_t height, bool bold, bool italic);
// Measures with the text-metrics service in the format's font: the width the screen layout uses.
QUINDLE_VCL_EXPORT int32_t MetricWidth(const QString& text, const TRichTextFormat& format);

// The turned frame of a text kind's content in `box`, inside its paddings.
template <class T> TZORTurn PaddedTurn(const TZORElementPainter& P, const QRectF& box, const T& item)
{
    return TurnBox(box, P.MMX(item.GetPaddingX()), P.MMY(item.GetPaddingY()), item.GetAngle());
}

// The metrics of an element's font measured now, with the ratio the model would keep; the
// text-metrics service then measures in that font.
template <class T> TZORFontMetrics MeasureFontOf(const T& item)
{
    TZORFontMetrics m
        = FontMetricsOf(item.GetFontName(), item.GetBaseFontHeight(), item.GetBold(), item.GetItalic());
    m.Ratio = SaneRatio(m.Ratio);
    return m;
}

// The metrics as last measured, or measured now for an element never measured: drawing reads
// what the element keeps and makes what is missing for its own pass.
template <class T> TZORFontMetrics KeptOrMeasured(const T& item)
{
    return item.HasMetrics() ? item.GetMetrics() : MeasureFontOf(item);
}

// The start of a paragraph's or rich text's screen pass: nothing without a screen canvas; its
// frame and, in the editor, its data marker painted. The screen box, or nothing.
QUINDLE_VCL_EXPORT std::optional<QRectF> BeginScreenBox(TZORElementPainter& P, const TZORBasePara& item);

// Whether the editor painting the pass edits the element in place: its tool one of `actions`,
// the element selected, its label editable.
QUINDLE_VCL_EXPORT bool EditsInPlace(
    const TZORDraw& D, const TZORBaseItem& item, std::initializer_list<int32_t> actions);

// The screen font of a height in millimetres on paper, scaled by the metrics' ratio.
QUINDLE_VCL_EXPORT TSkFont ScreenFont(const TZORDraw& D, const QString& family, bool bold, bool italic,
    double heightMM, double ratio, double scaleX = 1.0);

// The editor's caret: a red line one pixel wide from (x, top) down by `height`.
QUINDLE_VCL_EXPORT void DrawCaretLine(TZORDraw& D, double x, double top, double height);

// A line's characters as drawn: the line breaks it ends with are not.
QUINDLE_VCL_EXPORT QString LineText(const QString& text, const TZORTxtInf& line);

// The font of laid-out lines: its paper height in millimetres is scaled by the metrics' ratio;
// on screen an underline lies the metrics' third value (paper micrometres) below the baseline.
struct QUINDLE_VCL_EXPORT TZORLinesFont {
    QString family;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    double heightMM = 0.0;
    double ratio = 1.0;
    TAlphaColor colour {};
    int32_t underlineOffset = 0;
};

// The font of an element with the usual font fields, as measured.
template <typename TFontItem> TZORLinesFont LinesFontOf(const TFontItem& item, const TZORFontMetrics& metrics)
{
    return { item.GetFontName(), item.GetBold(), item.GetItalic(), item.GetUnderline(), item.GetFontHeight(),
        metrics.Ratio, item.GetFontColor(), metrics.Third };
}

// The lines of text laid out in micrometres, in turn's frame, on the painter's target. On screen
// each line is a plain fill: its glyphs are never widened by the outline's pen.
QUINDLE_VCL_EXPORT void PaintLines(TZORElementPainter& P, const TZORTurn& turn, const QString& text,
    const TxtLines& lines, const TZORLinesFont& font);

// Underline and strikeout below and above the baseline: a butt line one pixel wide.
QUINDLE_VCL_EXPORT void DecorationLine(
    TZORDraw& D, double x0, double x1, double y, TAlphaColor color, bool antiAlias);
QUINDLE_VCL_EXPORT double UnderlineOffset(const TSkFont::TMetrics& m);
QUINDLE_VCL_EXPORT double StrikeoutOffset(const TSkFont::TMetrics& m);

} // namespace zor
