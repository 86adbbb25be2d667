#include "Zor.Text.h"

#include <QHashFunctions>
#include <QLatin1StringView>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <unordered_map>

using zor::Field;
using zor::TAlphaColor;
using zor::TRichTextDrawSegment;
using zor::TRichTextFormat;
using zor::TRichTextParsedSegment;

// The rich text: its markup, the parse into formats and runs with the maps between plain and rich
// positions, and the layout of runs into draw segments.

namespace zor {

namespace {

enum class TTag : uint8_t {
    Bold,
    Italic,
    Underline,
    Strike,
    Font,
    Size,
    Color,
    Back,
    Left,
    Centre,
    Right,
    Break,
    Less
};

struct TTagName {
    QLatin1StringView Name;
    TTag Tag;
    bool Param; // written "<NAME:value>"
    bool Closes; // has a closing tag
};

constexpr std::array<TTagName, 13> Tags = { {
    { QLatin1StringView("B"), TTag::Bold, false, true },
    { QLatin1StringView("I"), TTag::Italic, false, true },
    { QLatin1StringView("U"), TTag::Underline, false, true },
    { QLatin1StringView("S"), TTag::Strike, false, true },
    { QLatin1StringView("FN"), TTag::Font, true, true },
    { QLatin1StringView("FS"), TTag::Size, true, true },
    { QLatin1StringView("FC"), TTag::Color, true, true },
    { QLatin1StringView("BC"), TTag::Back, true, true },
    { QLatin1StringView("L"), TTag::Left, false, true },
    { QLatin1StringView("C"), TTag::Centre, false, true },
    { QLatin1StringView("R"), TTag::Right, false, true },
    { QLatin1StringView("BR"), TTag::Break, false, false },
    { QLatin1StringView("LT"), TTag::Less, false, false },
} };

// Font heights a size tag may set, paper micrometres: those of the element's own font.
constexpr int32_t MinTagHeight = 100;
constexpr int32_t MaxTagHeight = 1000000;

struct TTagHit {
    TTag Tag;
    bool Closing;
    QStringView Value;
    qsizetype End; // index after ">"
};

// The tag that starts at rich[i] ("<"), if it is one. A tag holds no "<", so every "<" is looked
// at once and the parse stays linear in the markup's length.
std::optional<TTagHit> TagAt(QStringView rich, qsizetype i)
{
    qsizetype j = i + 1;
    while (j < rich.size() && rich[j] != u'>' && rich[j] != u'<')
        ++j;
    if (j >= rich.size() || rich[j] != u'>')
        return std::nullopt;
    QStringView body = rich.sliced(i + 1, j - i - 1);
    const bool closing = body.startsWith(u'/');
    if (closing)
        body = body.sliced(1);
    const qsizetype colon = body.indexOf(u':');
    const QStringView name = colon < 0 ? body : body.first(colon);
    for (const TTagName& t : Tags) {
        if (name.compare(t.Name, Qt::CaseInsensitive) != 0)
            continue;
        if (closing ? (!t.Closes || colon >= 0) : (t.Param != (colon >= 0)))
            return std::nullopt;
        return TTagHit { t.Tag, closing, colon < 0 ? QStringView() : body.sliced(colon + 1), j + 1 };
    }
    return std::nullopt;
}

std::optional<TAlphaColor> HexColor(QStringView v)
{
    if (v.size() != 6 && v.size() != 8)
        return std::nullopt;
    bool ok = false;
    const uint32_t c = v.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return TAlphaColor { v.size() == 6 ? (0xFF000000u | c) : c };
}

std::optional<int32_t> TagHeight(QStringView v)
{
    bool ok = false;
    const int32_t h = v.trimmed().toInt(&ok);
    if (!ok || h <= 0)
        return std::nullopt;
    return std::clamp(h, MinTagHeight, MaxTagHeight);
}

// What the open tags make of the base format. Tags with a value stack; a value that does not
// read keeps the one before, so that its closing tag still closes it.
class TTagState {
public:
    TTagState(const TRichTextFormat& base, uint8_t align)
        : fBase(base)
        , fAlign(align)
    {
    }

    void Apply(const TTagHit& t)
    {
        switch (t.Tag) {
        case TTag::Bold:
            return Count(fBold, t.Closing);
        case TTag::Italic:
            return Count(fItalic, t.Closing);
        case TTag::Underline:
            return Count(fUnderline, t.Closing);
        case TTag::Strike:
            return Count(fStrike, t.Closing);
        case TTag::Font: {
            const QString name = t.Value.trimmed().toString();
            return Stack(fFonts, t.Closing, name.isEmpty() ? Font() : name);
        }
        case TTag::Size:
            return Stack(fSizes, t.Closing, TagHeight(t.Value).value_or(Size()));
        case TTag::Color:
            return Stack(fColors, t.Closing, HexColor(t.Value).value_or(Color()));
        case TTag::Back:
            return Stack(fBacks, t.Closing, HexColor(t.Value).value_or(Back()));
        case TTag::Left:
            return Stack(fAligns, t.Closing, uint8_t { 0 });
        case TTag::Centre:
            return Stack(fAligns, t.Closing, uint8_t { 1 });
        case TTag::Right:
            return Stack(fAligns, t.Closing, uint8_t { 2 });
        case TTag::Break:
        case TTag::Less:
            return;
        }
    }

    TRichTextFormat Format() const
    {
        TRichTextFormat f = fBase;
        f.FontName = Font();
        f.FontHeight = Size();
        f.FontColor = Color();
        f.BackColor = Back();
        f.Bold = fBase.Bold || fBold > 0;
        f.Italic = fBase.Italic || fItalic > 0;
        f.Underline = fBase.Underline || fUnderline > 0;
        f.Strikeout = fBase.Strikeout || fStrike > 0;
        return f;
    }
    uint8_t Align() const { return fAligns.empty() ? fAlign : fAligns.back(); }

private:
    static void Count(int& n, bool closing) { n = closing ? std::max(n - 1, 0) : n + 1; }
    template <class T> static void Stack(std::vector<T>& s, bool closing, const T& v)
    {
        if (!closing)
            s.push_back(v);
        else if (!s.empty())
            s.pop_back();
    }
    QString Font() const { return fFonts.empty() ? fBase.FontName : fFonts.back(); }
    int32_t Size() const { return fSizes.empty() ? fBase.FontHeight : fSizes.back(); }
    TAlphaColor Color() const { return fColors.empty() ? fBase.FontColor : fColors.back(); }
    TAlphaColor Back() const { return fBacks.empty() ? fBase.BackColor : fBacks.back(); }

    const TRichTextFormat& fBase;
    uint8_t fAlign;
    int fBold = 0, fItalic = 0, fUnderline = 0, fStrike = 0;
    std::vector<QString> fFonts;
    std::vector<int32_t> fSizes;
    std::vector<TAlphaColor> fColors;
    std::vector<TAlphaColor> fBacks;
    std::vector<uint8_t> fAligns;
};

struct TFormatHash {
    size_t operator()(const TRichTextFormat& f) const
    {
        return qHashMulti(0, f.FontName, f.FontHeight, uint32_t(f.FontColor), uint32_t(f.BackColor), f.Bold,
            f.Italic, f.Underline, f.Strikeout);
    }
};

class TParser {
public:
    TParser(QStringView rich, const TRichTextFormat& base, uint8_t align)
        : fRich(rich)
        , fState(base, align)
    {
        FormatIndex(base);
        Restyle();
    }

    TRichTextParse Run()
    {
        qsizetype i = 0;
        while (i < fRich.size())
            i = Step(i);
        if (!fRun.Text.isEmpty())
            fOut.Runs.push_back(fRun);
        return std::move(fOut);
    }

private:
    qsizetype Step(qsizetype i)
    {
        const QChar c = fRich[i];
        if (c == u'\r' || c == u'\n') {
            const qsizetype end
                = (c == u'\r' && i + 1 < fRich.size() && fRich[i + 1] == u'\n') ? i + 2 : i + 1;
            Break(i, end);
            return end;
        }
        if (c == u'<') {
            if (const std::optional<TTagHit> t = TagAt(fRich, i)) {
                if (t->Tag == TTag::Break)
                    Break(i, t->End);
                else if (t->Tag == TTag::Less)
                    Add(u'<', i, t->End);
                else
                    Tag(*t);
                return t->End;
            }
        }
        Add(c, i, i + 1);
        return i + 1;
    }

    void Tag(const TTagHit& t)
    {
        fState.Apply(t);
        const int32_t format = FormatIndex(fState.Format());
        const uint8_t align = fState.Align();
        if (format == fRun.FormatIndex && align == fRun.Align)
            return;
        if (!fRun.Text.isEmpty())
            NewRun();
        Restyle();
    }

    void Add(QChar c, qsizetype from, qsizetype to)
    {
        if (fRun.Text.isEmpty())
            fRun.PlainStart = static_cast<int32_t>(fOut.Plain.size());
        fRun.Text += c;
        Plain(c, from, to);
    }

    // A break ends the run before it when tags alone stand between the two ("<C>a</C><BR>"), so
    // that a paragraph keeps its own alignment and format; only an empty paragraph is a run
    // without text.
    void Break(qsizetype from, qsizetype to)
    {
        const bool empty = fRun.Text.isEmpty();
        if (empty && !fOut.Runs.empty() && !fOut.Runs.back().LineEnd) {
            fOut.Runs.back().LineEnd = 1;
        } else {
            if (empty)
                fRun.PlainStart = static_cast<int32_t>(fOut.Plain.size());
            fRun.LineEnd = 1;
            fOut.Runs.push_back(fRun);
        }
        Plain(u'\n', from, to);
        fRun = {};
        Restyle();
    }

    void Plain(QChar c, qsizetype from, qsizetype to)
    {
        fOut.Plain += c;
        fOut.RichStart.push_back(static_cast<int32_t>(from));
        fOut.RichEnd.push_back(static_cast<int32_t>(to));
    }

    void NewRun()
    {
        fOut.Runs.push_back(fRun);
        fRun = {};
    }

    void Restyle()
    {
        fRun.FormatIndex = FormatIndex(fState.Format());
        fRun.Align = fState.Align();
    }

    int32_t FormatIndex(const TRichTextFormat& f)
    {
        const auto [it, added] = fFormatIndex.try_emplace(f, static_cast<int32_t>(fOut.Formats.size()));
        if (added)
            fOut.Formats.push_back(f);
        return it->second;
    }

    QStringView fRich;
    TTagState fState;
    TRichTextParse fOut;
    std::unordered_map<TRichTextFormat, int32_t, TFormatHash> fFormatIndex; // into fOut.Formats
    TRichTextParsedSegment fRun;
};

// A piece of a run's text between spaces, and where it starts in the run.
struct TWord {
    QString Text;
    int32_t Offset = 0;
};

// Splits at U+0020 only, keeping empty pieces, except the one a trailing space would leave.
std::vector<TWord> SplitWords(const QString& text)
{
    std::vector<TWord> words;
    if (text.isEmpty())
        return words;
    int32_t start = 0;
    for (int32_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ')
            continue;
        if (i < text.size() || start < i)
            words.push_back({ text.mid(start, i - start), start });
        start = i + 1;
    }
    return words;
}

class TLayout {
public:
    TLayout(const std::vector<TRichTextFormat>& formats, int64_t W, int64_t H, int32_t fontHeight,
        float spacing, const TZORMeasureTextFunc& measure)
        : fFormats(formats)
        , fW(W)
        , fH(H)
        , fGap(Round(double(fontHeight) * (double(spacing) - 1.0)))
        , fMeasure(measure)
    {
    }

    std::vector<TRichTextDrawSegment> Run(const std::vector<TRichTextParsedSegment>& runs)
    {
        for (const TRichTextParsedSegment& run : runs) {
            if (fFormats.empty() || fStop)
                break;
            Place(run);
        }
        AlignLine();
        return std::move(fSegs);
    }

private:
    const TRichTextFormat& Format(int32_t index) const
    {
        return fFormats[index >= 0 && size_t(index) < fFormats.size() ? size_t(index) : 0];
    }

    int64_t Measure(const QString& text) const
    {
        return fMeasure ? std::max<int64_t>(fMeasure(text, Format(fRun)), 0) : 0;
    }

    void Place(const TRichTextParsedSegment& run)
    {
        fRun = run.FormatIndex;
        fAlign = run.Align;
        fFontHeight = Format(fRun).FontHeight;
        const std::vector<TWord> words = SplitWords(run.Text);
        const bool leadingSpace = run.Text.startsWith(u' ');
        bool spaceDone = CarriedSpace(words);
        for (size_t k = 0; k < words.size() && !fStop; ++k) {
            const TWord& w = words[k];
            if (w.Text.isEmpty())
                continue;
            const bool spaced = (k > 0 || leadingSpace) && !spaceDone;
            spaceDone = false;
            if (fX > 0 && spaced && !SpaceBefore(w.Text, run.PlainStart + w.Offset - 1))
                break;
            Append(w.Text, Measure(w.Text), run.PlainStart + w.Offset);
        }
        if (fStop)
            return;
        fCarried = !run.Text.isEmpty() && run.Text.endsWith(u' ');
        fCarriedPos = run.PlainStart + static_cast<int32_t>(run.Text.size()) - 1;
        if (run.LineEnd)
            EndParagraph(run.PlainStart + static_cast<int32_t>(run.Text.size()));
    }

    // A space that ended the previous run goes before this run's first word, in this run's
    // format, when it fits with that word. True when it has been dealt with.
    bool CarriedSpace(const std::vector<TWord>& words)
    {
        if (!fCarried || fX <= 0)
            return false;
        const auto first
            = std::find_if(words.begin(), words.end(), [](const TWord& w) { return !w.Text.isEmpty(); });
        if (first == words.end())
            return false;
        SpaceBefore(first->Text, fCarriedPos);
        return true;
    }

    // The space before a word on the current line, or a break when the two do not fit; false
    // when the line after the break does not fit the box.
    bool SpaceBefore(const QString& word, int32_t plainPos)
    {
        if (fX + Measure(QLatin1Char(' ') + word) > fW) {
            CloseLine();
            if (fH > 0 && fY + fFontHeight > fH)
                fStop = true;
            return !fStop;
        }
        Append(QStringLiteral(" "), Measure(QStringLiteral(" ")), plainPos);
        return true;
    }

    void EndParagraph(int32_t breakPos)
    {
        if (fLineStart < fSegs.size())
            fSegs.back().LineEnd = 1;
        else {
            Append(QString(), 0, breakPos);
            fSegs.back().LineEnd = 1;
        }
        CloseLine();
        fCarried = false;
        if (fH > 0 && fY + fFontHeight > fH)
            fStop = true;
    }

    void Append(const QString& text, int64_t width, int32_t plainPos)
    {
        const int32_t w = static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max()));
        fSegs.push_back({ text, fRun, fX, fY, w, fFontHeight, fAlign, 0, plainPos });
        fX += w;
        fLineHeight = std::max<int64_t>(fLineHeight, fFontHeight);
    }

    void CloseLine()
    {
        AlignLine();
        fLineStart = fSegs.size();
        // A line never moves back up, whatever the spacing: lines stay in their order.
        fY += std::max<int64_t>(fLineHeight + fGap, 0);
        fX = 0;
        fLineHeight = 0;
    }

    void AlignLine()
    {
        if (fLineStart >= fSegs.size())
            return;
        int64_t width = 0;
        for (size_t i = fLineStart; i < fSegs.size(); ++i)
            width += fSegs[i].Width;
        const int64_t offset = fAlign == 1 ? (fW - width) / 2 : fAlign == 2 ? fW - width : 0;
        if (offset <= 0)
            return;
        for (size_t i = fLineStart; i < fSegs.size(); ++i)
            fSegs[i].X += offset;
    }

    const std::vector<TRichTextFormat>& fFormats;
    int64_t fW;
    int64_t fH;
    int64_t fGap;
    const TZORMeasureTextFunc& fMeasure;
    std::vector<TRichTextDrawSegment> fSegs;
    int64_t fX = 0;
    int64_t fY = 0;
    int64_t fLineHeight = 0;
    size_t fLineStart = 0;
    bool fCarried = false;
    int32_t fCarriedPos = 0;
    bool fStop = false;
    uint8_t fAlign = 0;
    int32_t fRun = 0;
    int32_t fFontHeight = 0;
};

} // namespace

std::optional<TRichTag> RichTagAt(QStringView rich, qsizetype i)
{
    if (i < 0 || i >= rich.size() || rich[i] != u'<')
        return std::nullopt;
    const std::optional<TTagHit> t = TagAt(rich, i);
    if (!t)
        return std::nullopt;
    return TRichTag { Tags[size_t(t->Tag)].Name, t->Closing, t->Value, t->End };
}

TRichTextParse ParseRichMarkup(QStringView rich, const TRichTextFormat& base, uint8_t align)
{
    return TParser(rich, base, align).Run();
}

QString EscapeRichText(QStringView plain)
{
    QString out;
    out.reserve(plain.size());
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i];
        if (c == u'<')
            out += QLatin1StringView("<LT>");
        else if (c == u'\r' || c == u'\n') {
            out += QLatin1StringView("<BR>");
            if (c == u'\r' && i + 1 < plain.size() && plain[i + 1] == u'\n')
                ++i;
        } else
            out += c;
    }
    return out;
}

std::vector<TRichTextDrawSegment> LayoutRichText(const std::vector<TRichTextParsedSegment>& runs,
    const std::vector<TRichTextFormat>& formats, int64_t W, int64_t H, int32_t fontHeight, float spacing,
    const TZORMeasureTextFunc& measure)
{
    return TLayout(formats, W, H, fontHeight, spacing, measure).Run(runs);
}

} // namespace zor

// --- Rich text ---

TZORBaseRichText::TZORBaseRichText(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseRichText(aOwner, nullptr, aPreview)
{
}

TZORBaseRichText::TZORBaseRichText(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORBasePara(aOwner, aLayer, aPreview)
{
    ParseRichText();
}

const TZORFields<TZORBaseItem>& TZORBaseRichText::GetFields() const
{
    using R = TZORBaseRichText;
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields() + BoxFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &R::fRichText>("RichText"),
              Field<TZORBaseItem, &R::fStrikeout>("Strikeout"),
          };
    return fields;
}

void TZORBaseRichText::AfterRead()
{
    TZORBasePara::AfterRead();
    ParseRichText();
}

void TZORBaseRichText::SetRichText(const QString& t)
{
    fRichText = t;
    ParseRichText();
}

void TZORBaseRichText::SetText(const QString& t)
{
    SetRichText(zor::EscapeRichText(t));
}

void TZORBaseRichText::SetFontHeight(float h)
{
    TZORBasePara::SetFontHeight(h);
    ParseRichText();
}

void TZORBaseRichText::InsertPlainText(int32_t pos, const QString& plain)
{
    const int32_t at = PlainEndToRichPos(pos);
    SetRichText(fRichText.left(at) + zor::EscapeRichText(plain) + fRichText.mid(at));
}

void TZORBaseRichText::SetRichFontName(const QString& n)
{
    SetFontName(n);
    ParseRichText();
}

void TZORBaseRichText::SetRichFontColor(TAlphaColor c)
{
    SetFontColor(c);
    ParseRichText();
}

void TZORBaseRichText::SetRichBold(bool b)
{
    SetBold(b);
    ParseRichText();
}

void TZORBaseRichText::SetRichItalic(bool i)
{
    SetItalic(i);
    ParseRichText();
}

void TZORBaseRichText::SetRichUnderline(bool u)
{
    SetUnderline(u);
    ParseRichText();
}

void TZORBaseRichText::SetRichStrikeout(bool s)
{
    fStrikeout = s;
    ParseRichText();
}

TRichTextFormat TZORBaseRichText::BaseFormat() const
{
    return { GetFontName(), GetBaseFontHeight(), GetFontColor(), TAlphaColor { 0 }, uint8_t(GetBold()),
        uint8_t(GetItalic()), uint8_t(GetUnderline()), uint8_t(fStrikeout) };
}

void TZORBaseRichText::ParseRichText()
{
    fParse = zor::ParseRichMarkup(fRichText, BaseFormat(), zor::Ord(GetHorzAlign()));
}

void TZORBaseRichText::ParseRichTextInto(const QString& text, std::vector<TRichTextFormat>& formats,
    std::vector<TRichTextParsedSegment>& runs, bool clear) const
{
    zor::TRichTextParse parse = zor::ParseRichMarkup(text, BaseFormat(), zor::Ord(GetHorzAlign()));
    if (clear) {
        formats = std::move(parse.Formats);
        runs = std::move(parse.Runs);
        return;
    }
    // Runs parsed on their own number their formats from 0: they follow the formats already held.
    const int32_t shift = static_cast<int32_t>(formats.size());
    formats.insert(formats.end(), parse.Formats.begin(), parse.Formats.end());
    for (TRichTextParsedSegment& run : parse.Runs) {
        run.FormatIndex += shift;
        runs.push_back(std::move(run));
    }
}

int64_t TZORBaseRichText::LayoutWidth() const
{
    const int64_t w = LineWidth();
    if (w >= 1)
        return w;
    return (zor::Ord(GetAngle()) & 1) ? BaseScaleHeight() : BaseScaleWidth();
}

int64_t TZORBaseRichText::LayoutHeight() const
{
    const int64_t h = LinesHeight();
    if (h >= 1)
        return h;
    return (zor::Ord(GetAngle()) & 1) ? BaseScaleWidth() : BaseScaleHeight();
}

void TZORBaseRichText::LayoutSegments(const TZORMeasureTextFunc& measure)
{
    CalcPrintLayout(fParse.Runs, fParse.Formats, fSegments, LayoutWidth(), LayoutHeight(), measure);
}

void TZORBaseRichText::CalcPrintLayout(const std::vector<TRichTextParsedSegment>& runs,
    const std::vector<TRichTextFormat>& formats, std::vector<TRichTextDrawSegment>& segments, int64_t W,
    int64_t H, const TZORMeasureTextFunc& measure) const
{
    segments = zor::LayoutRichText(runs, formats, W, H, GetBaseFontHeight(), GetScaleX(), measure);
}

int32_t TZORBaseRichText::PlainPosToRichPos(int32_t pos) const
{
    const auto n = static_cast<int32_t>(fParse.Plain.size());
    if (pos < 0)
        pos = 0;
    return pos < n ? fParse.RichStart[size_t(pos)] : static_cast<int32_t>(fRichText.size());
}

int32_t TZORBaseRichText::PlainEndToRichPos(int32_t pos) const
{
    const auto n = static_cast<int32_t>(fParse.Plain.size());
    if (pos <= 0)
        return n > 0 ? fParse.RichStart.front() : static_cast<int32_t>(fRichText.size());
    return fParse.RichEnd[size_t(std::min(pos, n) - 1)];
}

int32_t TZORBaseRichText::RichPosToPlainPos(int32_t pos) const
{
    const auto it = std::lower_bound(fParse.RichStart.begin(), fParse.RichStart.end(), pos);
    return static_cast<int32_t>(it - fParse.RichStart.begin());
}

bool TZORBaseRichText::GetSegmentAtPlainPos(
    int32_t pos, int32_t& segment, int32_t& offset, bool preferNext) const
{
    segment = -1;
    offset = 0;
    if (fSegments.empty())
        return false;
    const auto n = static_cast<int32_t>(fSegments.size());
    int32_t before = -1; // the last segment that starts at or before pos
    for (int32_t k = 0; k < n; ++k) {
        const TRichTextDrawSegment& s = fSegments[size_t(k)];
        if (s.PlainStart > pos)
            break;
        before = k;
        const auto end = s.PlainStart + static_cast<int32_t>(s.Text.size());
        if (pos <= end && (segment < 0 || preferNext)) {
            segment = k;
            offset = pos - s.PlainStart;
        }
    }
    if (segment >= 0)
        return true;
    if (before < 0) {
        segment = 0;
        return true;
    }
    segment = before;
    offset = static_cast<int32_t>(fSegments[size_t(before)].Text.size());
    return true;
}
