#pragma once

#include "Zor.F2d.h"
#include "Zor.RtlExport.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The text element kinds of the model: the single-line text, the paragraph, the rich text and
// the poly text. Font heights, paddings and corner radii are millimetres on paper, whatever the
// drawing scale; GetBaseFontHeight and GetBasePadX/Y give them in paper micrometres, the unit
// in which texts are measured and laid out. A box in base units becomes paper micrometres
// through BaseScaleWidth/Height (base units divided by the drawing scale).

// What the text metrics gave for an element's font, in paper micrometres: ascent, descent, the
// underline flag of the font, the height asked for (its cell height: ascent plus descent), and
// the ratio by which a font height becomes the drawing font's character height.
struct QUINDLE_RTL_EXPORT TZORFontMetrics {
    int32_t Ascent = 0;
    int32_t Descent = 0;
    int32_t Third = 0;
    int32_t Height = 0;
    double Ratio = 1.0;

    friend bool operator==(const TZORFontMetrics&, const TZORFontMetrics&) = default;
};

// What the text kinds share: a font, alignment, a quarter-turn angle, paddings, a corner radius
// for their frame and the metrics of their font as last measured.
template <class Base> class TZORTextItem : public TZORPadded<TZORFontItem<Base>> {
    using Padded = TZORPadded<TZORFontItem<Base>>;

public:
    using Padded::Padded;

    TZORHorzAlign GetHorzAlign() const { return fHorzAlign; }
    void SetHorzAlign(TZORHorzAlign a) { fHorzAlign = std::min(a, TZORHorzAlign::Justify); }
    TZORVertAlign GetVertAlign() const { return fVertAlign; }
    void SetVertAlign(TZORVertAlign a) { fVertAlign = std::min(a, TZORVertAlign::Bottom); }
    TZORAngle GetAngle() const { return fAngle; }
    void SetAngle(TZORAngle a) { fAngle = TZORAngle(zor::Ord(a) & 3); }
    // The frame's corner radius, millimetres on paper; 0 for square corners.
    float GetRadio() const { return fRadio; }
    void SetRadio(float r) { fRadio = SaneLength(r); }

    const TZORFontMetrics& GetMetrics() const { return fMetrics; }
    // A ratio that is not finite and positive counts as 1.
    void SetMetrics(const TZORFontMetrics& m)
    {
        fMetrics = m;
        fMetrics.Ratio = zor::SaneRatio(m.Ratio);
    }
    // Whether the font has been measured since the element was made or read.
    bool HasMetrics() const { return fMetrics.Height > 0; }

protected:
    static TZORFields<TZORBaseItem> TextFields()
    {
        using T = TZORTextItem;
        return TZORFields<TZORBaseItem> {
            zor::Field<TZORBaseItem, &T::fHorzAlign>("HorzAlign"),
            zor::Field<TZORBaseItem, &T::fVertAlign>("VertAlign"),
        }
        + Padded::PaddingFields()
            + TZORFields<TZORBaseItem> {
                  zor::Field<TZORBaseItem, &T::fAngle>("Angle"),
                  zor::Field<TZORBaseItem, &T::fRadio>("Radio"),
              };
    }
    void AfterRead() override
    {
        SetHorzAlign(fHorzAlign);
        SetVertAlign(fVertAlign);
        SetAngle(fAngle);
        SetRadio(fRadio);
        Padded::AfterRead();
    }
    static float SaneLength(float p) { return Padded::SanePadding(p); }

    TZORHorzAlign fHorzAlign = TZORHorzAlign::Left;
    TZORVertAlign fVertAlign = TZORVertAlign::Top;
    TZORAngle fAngle = TZORAngle::Angle0;
    float fRadio = 0.0f;
    TZORFontMetrics fMetrics; // derived, never stored
};

// One line of text anchored at point 1 (type code 10), placed there by its alignments and turned
// about it. Point 2 is its second corner; the factory places both on the anchor. The horizontal
// scale stretches the text along its line.
class QUINDLE_RTL_EXPORT TZORBaseText : public TZORTextItem<TZORFixedItem<TZOR2DItem, 2>> {
public:
    static constexpr float DefaultTextHeight = 10.0f; // millimetres
    static constexpr float MinScale = 0.1f;
    static constexpr float MaxScale = 10.0f;

    TZORBaseText(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseText(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Text; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // The frame of the text as last measured (see TextBox), or point 1 alone before.
    void UpdateBounds() override;

    // The defaults of a new text: a font of 10 mm at its own width.
    void IniText();

    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }
    // What the screen measures and shows: the element's own text, bound or not.
    const QString& GetShownText() const { return fText; }
    // 1.0 is the font's own width.
    float GetScale() const { return fScale; }
    void SetScale(float s) { fScale = zor::ClampFloat(s, MinScale, MaxScale, 1.0f); }
    // The width the editor lets the text take before it clips it, millimetres on paper; 0 for
    // none. Paper and the preview never clip.
    float GetWidthLimit() const { return fWidthLimit; }
    void SetWidthLimit(float w) { fWidthLimit = SaneLength(w); }

    // The width of the shown text as last measured, paper micrometres, scale included.
    int32_t GetTextWidth() const { return fTextWidth; }
    void SetTextWidth(int32_t w) { fTextWidth = w < 0 ? 0 : w; }
    // The frame of a text of `width` paper micrometres in this element's font: the text's cell
    // with its paddings, placed at point 1 by the alignments and turned about it, in base units.
    TZORRect TextBox(int32_t width) const;

protected:
    void AfterRead() override;

private:
    QString fText;
    float fScale = 1.0f;
    float fWidthLimit = 0.0f;
    int32_t fTextWidth = 0; // derived, never stored
};

// Text wrapped into the box between points 1 and 2 (type code 11), inside its paddings, with
// alignment and line spacing; the base of the rich text.
class QUINDLE_RTL_EXPORT TZORBasePara : public TZORTextItem<TZORBoxItem> {
public:
    static constexpr float DefaultParaHeight = 6.0f; // millimetres
    static constexpr float MinSpacing = 0.1f;
    static constexpr float MaxSpacing = 10.0f;

    TZORBasePara(TZORBaseLabel* aOwner, bool aPreview);
    TZORBasePara(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Paragraph; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    // The defaults of a new paragraph: a font of 6 mm, single spacing.
    void IniPara();

    const QString& GetText() const { return fText; }
    // Virtual: the kinds built on the paragraph keep their text and their font in forms of
    // their own, and the factory and the diagram imports set both through these two.
    virtual void SetText(const QString& t) { fText = t; }
    virtual void SetFontHeight(float h) { TZORFontItem::SetFontHeight(h); }

    // Line spacing: 1.0 is single spacing.
    float GetScaleX() const { return fScaleX; }
    void SetScaleX(float s) { fScaleX = zor::ClampFloat(s, MinSpacing, MaxSpacing, 1.0f); }
    // Print flags of a paragraph bound to data: with grow, lines may run on to the label's edge
    // in the direction in which they advance and the printed frame grows to them; with shrink,
    // the printed frame shrinks to them.
    bool GetGrow() const { return fGrow; }
    void SetGrow(bool g) { fGrow = g; }
    bool GetShrink() const { return fShrink; }
    void SetShrink(bool s) { fShrink = s; }

    // The box in paper micrometres (base units over the drawing scale).
    int64_t BaseScaleWidth() const { return GetBaseWidth() / DrawScale(); }
    int64_t BaseScaleHeight() const { return GetBaseHeight() / DrawScale(); }
    // The padded box in paper micrometres, along the lines (W) and across them (H): the sides
    // exchange at a quarter turn. Either may be 0 or less for a box smaller than its paddings.
    int64_t LineWidth() const;
    int64_t LinesHeight() const;
    // The label's extent beyond point 1 (or before point 2) in the direction in which lines
    // advance, paper micrometres, less the paddings across the lines: the room a growing
    // paragraph may take.
    int64_t GrowHeight() const;

    // The lines of the text as last laid out, in paper micrometres from the padded box's
    // inner corner.
    const zor::TxtLines& GetLines() const { return fLines; }
    void SetLines(zor::TxtLines lines) { fLines = std::move(lines); }

protected:
    // The settings of the box, shared with the rich text.
    static TZORFields<TZORBaseItem> BoxFields();
    void AfterRead() override;

private:
    QString fText;
    float fScaleX = 1.0f;
    bool fGrow = false;
    bool fShrink = false;
    zor::TxtLines fLines; // derived, never stored
};

namespace zor {

// One character format of a rich text. Heights are paper micrometres; a back colour of 0 paints
// nothing.
struct QUINDLE_RTL_EXPORT TRichTextFormat {
    QString FontName;
    int32_t FontHeight = 0;
    TAlphaColor FontColor {};
    TAlphaColor BackColor {};
    uint8_t Bold = 0;
    uint8_t Italic = 0;
    uint8_t Underline = 0;
    uint8_t Strikeout = 0;

    friend bool operator==(const TRichTextFormat&, const TRichTextFormat&) = default;
};

// A run of text in one format, as the markup gives it: its text (spaces included, line breaks
// not), its format, whether a line break follows it, and its paragraph's alignment (0 left,
// 1 centre, 2 right; other values act as left). PlainStart is where its text begins in the plain
// text.
struct QUINDLE_RTL_EXPORT TRichTextParsedSegment {
    QString Text;
    int32_t FormatIndex = 0;
    uint8_t LineEnd = 0;
    uint8_t Align = 0;
    int32_t PlainStart = 0;

    friend bool operator==(const TRichTextParsedSegment&, const TRichTextParsedSegment&) = default;
};

// A piece of laid-out rich text drawn at once: a word, a single space, or empty (an empty line).
// X is its left edge (alignment included) and Y the top of its line, both paper micrometres from
// the padded box's inner corner; the segments of one line share Y. Height is its format's font
// height. LineEnd marks the segment after which a line break follows. PlainStart is where its
// text begins in the plain text: the caret, the selection and the editor all map positions
// through it.
struct QUINDLE_RTL_EXPORT TRichTextDrawSegment {
    QString Text;
    int32_t FormatIndex = 0;
    int64_t X = 0;
    int64_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t Align = 0;
    uint8_t LineEnd = 0;
    int32_t PlainStart = 0;

    friend bool operator==(const TRichTextDrawSegment&, const TRichTextDrawSegment&) = default;
};

} // namespace zor

// Measures a text in a format: its advance width in paper micrometres.
using TZORMeasureTextFunc = std::function<int32_t(const QString& text, const zor::TRichTextFormat& format)>;

namespace zor {

// A rich text taken apart: its formats (the first being the base format), its runs, its plain
// text and, for every plain character, where its source starts and ends in the rich text.
struct QUINDLE_RTL_EXPORT TRichTextParse {
    std::vector<TRichTextFormat> Formats;
    std::vector<TRichTextParsedSegment> Runs;
    QString Plain;
    std::vector<int32_t> RichStart;
    std::vector<int32_t> RichEnd;
};

// Parses rich-text markup. Tags, in any case:
//   `<B> </B>` bold, `<I> </I>` italic, `<U> </U>` underline, `<S> </S>` strikeout,
//   `<FN:name> </FN>` font, `<FS:height> </FS>` font height in paper micrometres,
//   `<FC:RRGGBB> </FC>` text colour, `<BC:RRGGBB> </BC>` background (AARRGGBB is taken as well),
//   `<L> </L>`, `<C> </C>`, `<R> </R>` paragraph alignment, `<BR>` line break, `<LT>` a literal "<".
// Tags nest; a closing tag without its opening tag is ignored. A "<" that starts no tag of these
// is text. CR, LF and CR LF break lines as `<BR>` does; every break is one "\n" of the plain text.
// Runs without an alignment tag take `align`.
QUINDLE_RTL_EXPORT TRichTextParse ParseRichMarkup(
    QStringView rich, const TRichTextFormat& base, uint8_t align);

// A tag of the markup as RichTagAt finds it: its name as the parser knows it ("B", "FN", "BR"),
// whether it closes, its value (after the ":"), and the index after its ">".
struct QUINDLE_RTL_EXPORT TRichTag {
    QLatin1StringView Name;
    bool Closing = false;
    QStringView Value;
    qsizetype End = 0;
};

// The tag that starts at rich[i] ("<"), if it is one the parser obeys.
QUINDLE_RTL_EXPORT std::optional<TRichTag> RichTagAt(QStringView rich, qsizetype i);

// Plain text as markup that shows it as it stands: "<" becomes `<LT>` and line breaks `<BR>`.
QUINDLE_RTL_EXPORT QString EscapeRichText(QStringView plain);

// Lays runs out into draw segments in a box of W by H (paper micrometres along and across the
// lines; H 0 or less for no limit). Words split at U+0020 only; a run that starts without a space
// continues the previous run's last word. A line is as high as its largest format, lines advance
// by that plus Round(fontHeight × (spacing − 1)), and a line whose format would pass H is not
// laid out (the first line always is). Each line is aligned by the alignment of the run that
// closes it; a line wider than W keeps its place. An empty line gets an empty segment of its own.
QUINDLE_RTL_EXPORT std::vector<TRichTextDrawSegment> LayoutRichText(
    const std::vector<TRichTextParsedSegment>& runs, const std::vector<TRichTextFormat>& formats, int64_t W,
    int64_t H, int32_t fontHeight, float spacing, const TZORMeasureTextFunc& measure);

} // namespace zor

// Styled text in a box (type code 29): the rich text holds its runs and their formats as markup;
// the element's font is the format of text without markup. The model keeps the markup, its
// parse (formats, runs, plain text and the maps between plain and rich positions) and the
// segments of the last layout.
//
// Positions: a plain position counts characters of the plain text (tags removed, each line
// break one "\n"); a rich position counts characters of the markup. The editor's caret and
// selection are plain positions; the segments map them onto the layout.
class QUINDLE_RTL_EXPORT TZORBaseRichText : public TZORBasePara {
public:
    TZORBaseRichText(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseRichText(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::RichText; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    // The defaults of a new rich text: those of the paragraph.
    void IniRichPara() { IniPara(); }

    const QString& GetRichText() const { return fRichText; }
    // The markup as given.
    void SetRichText(const QString& t);
    void SetRichTextValue(const QString& t) { SetRichText(t); }
    // A plain text shown as it stands: markup characters in it are escaped, never obeyed.
    void SetText(const QString& t) override;
    void SetFontHeight(float h) override;
    // Inserts plain text (escaped) at a plain position, in the format of the character before it.
    void InsertPlainText(int32_t pos, const QString& plain);

    void SetRichFontName(const QString& n);
    void SetRichFontColor(zor::TAlphaColor c);
    void SetRichBold(bool b);
    void SetRichItalic(bool i);
    void SetRichUnderline(bool u);
    bool GetStrikeout() const { return fStrikeout; }
    void SetRichStrikeout(bool s);

    // The format of text without markup: the element's font.
    zor::TRichTextFormat BaseFormat() const;
    // Parses the markup again (the element's font may have changed).
    void ParseRichText();
    // Parses any markup with this element's base format into the two arrays (emptied first when
    // clear is set).
    void ParseRichTextInto(const QString& text, std::vector<zor::TRichTextFormat>& formats,
        std::vector<zor::TRichTextParsedSegment>& runs, bool clear) const;
    const std::vector<zor::TRichTextFormat>& GetFormats() const { return fParse.Formats; }
    const std::vector<zor::TRichTextParsedSegment>& GetRuns() const { return fParse.Runs; }
    const QString& GetPlainText() const { return fParse.Plain; }

    // The layout of the runs in the element's box with `measure`, kept as the draw segments.
    void LayoutSegments(const TZORMeasureTextFunc& measure);
    // The same layout of other runs into `segments`, in a box of W by H paper micrometres.
    void CalcPrintLayout(const std::vector<zor::TRichTextParsedSegment>& runs,
        const std::vector<zor::TRichTextFormat>& formats, std::vector<zor::TRichTextDrawSegment>& segments,
        int64_t W, int64_t H, const TZORMeasureTextFunc& measure) const;
    const std::vector<zor::TRichTextDrawSegment>& GetSegments() const { return fSegments; }
    void ClearSegments() { fSegments.clear(); }
    // The box the layout fills along and across the lines, paper micrometres: the padded box, or
    // the whole side where the paddings leave no room.
    int64_t LayoutWidth() const;
    int64_t LayoutHeight() const;

    // Plain position → rich position: where the plain character at pos stands (after the tags
    // before it); at the end of the text, the end of the markup.
    int32_t PlainPosToRichPos(int32_t pos) const;
    // Plain position → rich position just after the character before pos (before the tags that
    // follow it): the end of a selection that ends at pos.
    int32_t PlainEndToRichPos(int32_t pos) const;
    // Rich position → the plain characters whose markup starts before it.
    int32_t RichPosToPlainPos(int32_t pos) const;
    // The draw segment holding plain position pos and the offset into its text. At a position
    // where one segment ends and the next begins, preferNext takes the next. A position that no
    // segment holds (a collapsed space, text the layout left out) takes the end of the segment
    // before it, or the start of the first. False (segment -1) when there are no segments.
    bool GetSegmentAtPlainPos(int32_t pos, int32_t& segment, int32_t& offset, bool preferNext = true) const;

protected:
    void AfterRead() override;

private:
    QString fRichText;
    bool fStrikeout = false;
    zor::TRichTextParse fParse; // derived, never stored
    std::vector<zor::TRichTextDrawSegment> fSegments; // derived, never stored
};
