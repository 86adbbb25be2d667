#include "KindStubs.h"
#include "Zor.Json.h"
#include "Zor.Text.h"
#include "Zor.Version.h"

#include <gtest/gtest.h>

#include <vector>

using zor::EscapeRichText;
using zor::Ord;
using zor::TAlphaColor;
using zor::TJsonObject;
using zor::TRichTextDrawSegment;
using zor::TRichTextFormat;
using zor::TRichTextParsedSegment;

using namespace zor::test;

namespace {

const TRichTextFormat Base { QStringLiteral("Arial"), 6000, TAlphaColor { 0xFF000000 }, TAlphaColor { 0 }, 0,
    0, 0, 0 };

zor::TRichTextParse Parse(const QString& rich, uint8_t align = 0)
{
    return zor::ParseRichMarkup(rich, Base, align);
}

// Every character 100 µm wide, whatever its format: layouts become plain arithmetic.
int32_t Hundred(const QString& text, const TRichTextFormat&)
{
    return static_cast<int32_t>(text.size()) * 100;
}

std::vector<TRichTextDrawSegment> Lay(const QString& rich, int64_t W, int64_t H, float spacing = 1.0f)
{
    const zor::TRichTextParse p = Parse(rich);
    return zor::LayoutRichText(p.Runs, p.Formats, W, H, Base.FontHeight, spacing, Hundred);
}

// The segments' texts, a line per entry.
std::vector<QStringList> Lines(const std::vector<TRichTextDrawSegment>& segs)
{
    std::vector<QStringList> lines;
    for (size_t i = 0; i < segs.size(); ++i) {
        if (i == 0 || segs[i].Y != segs[i - 1].Y)
            lines.emplace_back();
        lines.back() << segs[i].Text;
    }
    return lines;
}

TStub<TZORBaseRichText>& Rich(
    TZORBaseLabel& label, const QString& markup, int64_t w = 100000, int64_t h = 100000)
{
    auto* r = Stub<TZORBaseRichText>(label);
    SetPoints(*r, { { 0, 0 }, { w, h } });
    r->SetRichText(markup);
    r->LayoutSegments(Hundred);
    return static_cast<TStub<TZORBaseRichText>&>(*r);
}

} // namespace

// --- Markup ---

TEST(RichMarkup, RunsCarryTheirFormatsBreaksAndAlignment)
{
    struct TRun {
        const char* text;
        bool bold, italic, underline, strike;
        int32_t height;
        uint32_t color, back;
        uint8_t lineEnd, align;
    };
    struct TCase {
        const char* markup;
        const char* plain;
        std::vector<TRun> runs;
    };
    const uint32_t K = 0xFF000000;
    const TCase cases[] = {
        { "<b>bold</b> and plain", "bold and plain",
            { { "bold", true, false, false, false, 6000, K, 0, 0, 0 },
                { " and plain", false, false, false, false, 6000, K, 0, 0, 0 } } },
        { "<B><I>x</B>y</I>z", "xyz",
            { { "x", true, true, false, false, 6000, K, 0, 0, 0 },
                { "y", false, true, false, false, 6000, K, 0, 0, 0 },
                { "z", false, false, false, false, 6000, K, 0, 0, 0 } } },
        { "<U>u</U><S>s</S>", "us",
            { { "u", false, false, true, false, 6000, K, 0, 0, 0 },
                { "s", false, false, false, true, 6000, K, 0, 0, 0 } } },
        { "<FS:12000>big<fs:3000>small</FS>big</FS>", "bigsmallbig",
            { { "big", false, false, false, false, 12000, K, 0, 0, 0 },
                { "small", false, false, false, false, 3000, K, 0, 0, 0 },
                { "big", false, false, false, false, 12000, K, 0, 0, 0 } } },
        { "<FC:FF0000>red</FC><BC:80FFFF00>back</BC>", "redback",
            { { "red", false, false, false, false, 6000, 0xFFFF0000, 0, 0, 0 },
                { "back", false, false, false, false, 6000, K, 0x80FFFF00, 0, 0 } } },
        { "a<BR>b<br>", "a\nb\n",
            { { "a", false, false, false, false, 6000, K, 0, 1, 0 },
                { "b", false, false, false, false, 6000, K, 0, 1, 0 } } },
        { "a\r\nb\rc", "a\nb\nc",
            { { "a", false, false, false, false, 6000, K, 0, 1, 0 },
                { "b", false, false, false, false, 6000, K, 0, 1, 0 },
                { "c", false, false, false, false, 6000, K, 0, 0, 0 } } },
        { "<C>mid</C><BR><R>end</R>", "mid\nend",
            { { "mid", false, false, false, false, 6000, K, 0, 1, 1 },
                { "end", false, false, false, false, 6000, K, 0, 0, 2 } } },
        // Tags this markup does not know, and a "<" without its ">", are text.
        { "a < b <x> <B", "a < b <x> <B",
            { { "a < b <x> <B", false, false, false, false, 6000, K, 0, 0, 0 } } },
        // An escaped "<" never opens a tag, and closing tags without an opening one do nothing.
        { "</B><LT>B>x", "<B>x", { { "<B>x", false, false, false, false, 6000, K, 0, 0, 0 } } },
        // Values that do not read keep the format before them; their closing tags still close.
        { "<FS:abc><FC:12>x</FC></FS>", "x", { { "x", false, false, false, false, 6000, K, 0, 0, 0 } } },
        // An empty line is a run of its own, in the format in force.
        { "<FS:9000><BR></FS>", "\n", { { "", false, false, false, false, 9000, K, 0, 1, 0 } } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.markup);
        const zor::TRichTextParse p = Parse(QString::fromUtf8(c.markup));
        EXPECT_EQ(p.Plain, QString::fromUtf8(c.plain));
        ASSERT_EQ(p.Runs.size(), c.runs.size());
        for (size_t i = 0; i < c.runs.size(); ++i) {
            const TRichTextParsedSegment& run = p.Runs[i];
            const TRichTextFormat& f = p.Formats.at(size_t(run.FormatIndex));
            const TRun& e = c.runs[i];
            EXPECT_EQ(run.Text, QString::fromUtf8(e.text)) << i;
            EXPECT_EQ(run.LineEnd, e.lineEnd) << i;
            EXPECT_EQ(run.Align, e.align) << i;
            EXPECT_EQ(bool(f.Bold), e.bold) << i;
            EXPECT_EQ(bool(f.Italic), e.italic) << i;
            EXPECT_EQ(bool(f.Underline), e.underline) << i;
            EXPECT_EQ(bool(f.Strikeout), e.strike) << i;
            EXPECT_EQ(f.FontHeight, e.height) << i;
            EXPECT_EQ(zor::Ord(f.FontColor), e.color) << i;
            EXPECT_EQ(zor::Ord(f.BackColor), e.back) << i;
            // Each run knows where its text stands in the plain text.
            EXPECT_EQ(p.Plain.mid(run.PlainStart, run.Text.size()), run.Text) << i;
        }
    }
}

TEST(RichMarkup, RunsWithoutAlignmentTagTakeTheElementsAlignment)
{
    const zor::TRichTextParse p = Parse(QStringLiteral("a<L>b</L>"), 2);
    ASSERT_EQ(p.Runs.size(), 2u);
    EXPECT_EQ(p.Runs[0].Align, 2);
    EXPECT_EQ(p.Runs[1].Align, 0);
}

TEST(RichMarkup, PlainTextIsEscapedNeverObeyed)
{
    const QString typed[] = { QStringLiteral("<B>bold?</B>"), QStringLiteral("a<b"), QStringLiteral("<"),
        QStringLiteral("<LT>"), QStringLiteral("<BR>"), QStringLiteral("<FC:FF0000>x"),
        QStringLiteral("1 < 2 > 0") };
    for (const QString& t : typed) {
        SCOPED_TRACE(t.toStdString());
        const zor::TRichTextParse p = Parse(zor::EscapeRichText(t));
        EXPECT_EQ(p.Plain, t);
        EXPECT_EQ(p.Formats.size(), 1u); // the base format alone: nothing took effect
    }
    // Line breaks typed become line breaks of the markup.
    EXPECT_EQ(zor::EscapeRichText(u"a\r\nb\nc"), QStringLiteral("a<BR>b<BR>c"));

    TKindLabel label;
    auto* rich = Stub<TZORBaseRichText>(label);
    rich->SetText(QStringLiteral("<B>x</B>"));
    EXPECT_EQ(rich->GetPlainText(), QStringLiteral("<B>x</B>"));
    EXPECT_EQ(rich->GetFormats().size(), 1u);
}

TEST(RichMarkup, InsertedPlainTextIsEscapedAndContinuesTheFormatBeforeIt)
{
    TKindLabel label;
    auto* rich = Stub<TZORBaseRichText>(label);
    rich->SetRichText(QStringLiteral("<B>ab</B>cd"));
    rich->InsertPlainText(2, QStringLiteral("<I>"));
    EXPECT_EQ(rich->GetRichText(), QStringLiteral("<B>ab<LT>I></B>cd"));
    EXPECT_EQ(rich->GetPlainText(), QStringLiteral("ab<I>cd"));
    ASSERT_EQ(rich->GetRuns().size(), 2u);
    EXPECT_EQ(rich->GetRuns()[0].Text, QStringLiteral("ab<I>"));
    // Positions past either end count as the ends.
    rich->InsertPlainText(99, QStringLiteral("!"));
    rich->InsertPlainText(-5, QStringLiteral("¡"));
    EXPECT_EQ(rich->GetPlainText(), QStringLiteral("¡ab<I>cd!"));
}

// --- Positions ---

TEST(RichPositions, PlainAndRichPositionsMapBothWays)
{
    TKindLabel label;
    auto* rich = Stub<TZORBaseRichText>(label);
    const QString markup = QStringLiteral("ab<B>cd</B><BR><FC:00FF00>e<LT>f</FC>");
    rich->SetRichText(markup);
    ASSERT_EQ(rich->GetPlainText(), QStringLiteral("abcd\ne<f"));
    // A selection of "cd" lies exactly inside its tags, as the editor's toggles need.
    EXPECT_EQ(markup.left(rich->PlainPosToRichPos(2)), QStringLiteral("ab<B>"));
    EXPECT_EQ(markup.mid(rich->PlainEndToRichPos(4)), QStringLiteral("</B><BR><FC:00FF00>e<LT>f</FC>"));
    EXPECT_EQ(rich->PlainPosToRichPos(8), markup.size());
    EXPECT_EQ(rich->PlainPosToRichPos(-3), 0);
    for (int32_t p = 0; p <= 8; ++p) {
        EXPECT_EQ(rich->RichPosToPlainPos(rich->PlainPosToRichPos(p)), p) << p;
        EXPECT_EQ(rich->RichPosToPlainPos(rich->PlainEndToRichPos(p)), p) << p;
        EXPECT_LE(rich->PlainEndToRichPos(p), rich->PlainPosToRichPos(p)) << p;
    }
    // A rich position inside a tag counts the characters before it; inside an escape, the
    // character it stands for as well.
    EXPECT_EQ(rich->RichPosToPlainPos(4), 2);
    EXPECT_EQ(rich->RichPosToPlainPos(markup.indexOf(QStringLiteral("<LT>")) + 2), 7);
    EXPECT_EQ(rich->RichPosToPlainPos(markup.size() + 10), 8);
}

TEST(RichPositions, CaretAndSelectionMapThroughTheSameSegments)
{
    TKindLabel label;
    // "ab cd" wraps after "ab" (500 µm wide lines); a line break follows "cd"; then "ef".
    auto& rich = Rich(label, QStringLiteral("ab cd<BR>ef"), 500);
    const auto& segs = rich.GetSegments();
    ASSERT_EQ(Lines(segs), (std::vector<QStringList> { { "ab", " ", "cd" }, { "ef" } }));
    auto& narrow = Rich(label, QStringLiteral("ab cd<BR>ef"), 400);
    ASSERT_EQ(Lines(narrow.GetSegments()), (std::vector<QStringList> { { "ab" }, { "cd" }, { "ef" } }));
    struct TCase {
        int32_t pos;
        bool next;
        int32_t seg, off;
    };
    const TCase cases[] = {
        { 0, true, 0, 0 },
        { 2, false, 0, 2 }, // the end of "ab": the wrapped space is no segment
        { 3, true, 1, 0 }, // after the space: the start of "cd" on the next line
        { 5, false, 1, 2 }, // before the line break
        { 6, true, 2, 0 }, // after it: the start of "ef"
        { 8, true, 2, 2 },
        { 50, true, 2, 2 }, // past the end: the end
        { -4, true, 0, 0 },
    };
    for (const TCase& c : cases) {
        int32_t seg = -1, off = -1;
        EXPECT_TRUE(narrow.GetSegmentAtPlainPos(c.pos, seg, off, c.next));
        EXPECT_EQ(seg, c.seg) << c.pos;
        EXPECT_EQ(off, c.off) << c.pos;
    }
    // Where one segment ends and the next starts on the same line, a selection start takes the
    // next and a selection end the one before.
    int32_t seg = -1, off = -1;
    rich.GetSegmentAtPlainPos(2, seg, off, true);
    EXPECT_EQ(seg, 1);
    EXPECT_EQ(off, 0);
    rich.GetSegmentAtPlainPos(2, seg, off, false);
    EXPECT_EQ(seg, 0);
    EXPECT_EQ(off, 2);
    auto& empty = Rich(label, QString());
    EXPECT_FALSE(empty.GetSegmentAtPlainPos(0, seg, off));
    EXPECT_EQ(seg, -1);
}

TEST(RichPositions, EveryPlainPositionLiesInReadingOrder)
{
    TKindLabel label;
    auto& rich = Rich(label, QStringLiteral("<C>one  two</C> <B>th</B>ree<BR><BR><R>four five six</R>"), 900);
    const auto& segs = rich.GetSegments();
    int64_t lastY = -1, lastX = -1;
    for (int32_t p = 0; p <= rich.GetPlainText().size(); ++p) {
        int32_t seg = 0, off = 0;
        ASSERT_TRUE(rich.GetSegmentAtPlainPos(p, seg, off));
        const TRichTextDrawSegment& s = segs.at(size_t(seg));
        ASSERT_LE(off, s.Text.size());
        const int64_t x = s.X + 100 * off;
        EXPECT_TRUE(s.Y > lastY || (s.Y == lastY && x >= lastX)) << p;
        lastY = s.Y;
        lastX = x;
    }
}

// --- Layout ---

TEST(RichLayout, LinesBreaksAndAlignments)
{
    using L = std::vector<QStringList>;
    struct TCase {
        const char* name;
        const char* markup;
        int64_t W;
        L lines;
    };
    const TCase cases[] = {
        { "words wrap before the one that passes the width", "aa bb cc", 500,
            L { { "aa", " ", "bb" }, { "cc" } } },
        { "a word that brings the line exactly to the width stays", "aa bb", 500, L { { "aa", " ", "bb" } } },
        { "a word wider than the box stands alone, whole", "a wwwwwwww b", 500,
            L { { "a" }, { "wwwwwwww" }, { "b" } } },
        { "runs without a space between them stay glued", "aaaa<B>bbbb</B>", 500, L { { "aaaa", "bbbb" } } },
        { "spaces in a row give one space", "a   b", 900, L { { "a", " ", "b" } } },
        { "a leading space is no segment at the start of a line", " a", 900, L { { "a" } } },
        { "a space ending a run goes before the next run's word", "a <B>b</B>", 900,
            L { { "a", " ", "b" } } },
        { "it breaks the line when the two do not fit", "aaaa <B>b</B>", 500, L { { "aaaa" }, { "b" } } },
        { "an empty line has a segment of its own", "a<BR><BR>b", 900, L { { "a" }, { "" }, { "b" } } },
        { "an empty first line too", "<BR>a", 900, L { { "" }, { "a" } } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Lines(Lay(QString::fromUtf8(c.markup), c.W, 0)), c.lines);
    }
    // The space a run ends with takes the next run's format.
    const zor::TRichTextParse p = Parse(QStringLiteral("a <B>b</B>"));
    const auto segs = zor::LayoutRichText(p.Runs, p.Formats, 900, 0, 6000, 1.0f, Hundred);
    ASSERT_EQ(segs.size(), 3u);
    EXPECT_TRUE(p.Formats.at(size_t(segs[1].FormatIndex)).Bold);
    EXPECT_EQ(segs[1].PlainStart, 1);
}

TEST(RichLayout, LineHeightsAndTheHeightLimit)
{
    // Lines are as high as their largest format; spacing adds to that a share of the element's
    // font height.
    auto segs = Lay(QStringLiteral("a<FS:9000>b</FS><BR>c<BR>d"), 900, 0, 1.5f);
    ASSERT_EQ(segs.size(), 4u);
    EXPECT_EQ(segs[0].Y, 0);
    EXPECT_EQ(segs[1].Height, 9000);
    EXPECT_EQ(segs[2].Y, 9000 + 3000);
    EXPECT_EQ(segs[3].Y, 9000 + 3000 + 6000 + 3000);

    // A line whose format would pass the height is left out, with all after it; the first line
    // always stays.
    const QString twoLines = QStringLiteral("<FS:600>aa bb</FS>");
    segs = Lay(twoLines, 200, 1000);
    ASSERT_EQ(Lines(segs), (std::vector<QStringList> { { "aa" } }));
    EXPECT_EQ(segs[0].Y, 0);
    EXPECT_EQ(Lines(Lay(twoLines, 200, 1200)).size(), 2u);
    EXPECT_EQ(Lines(Lay(QStringLiteral("<FS:5000>aa</FS>"), 200, 1000)).size(), 1u);

    // A spacing below single never moves a line up over the one before.
    segs = Lay(QStringLiteral("<FS:600>a<BR>b</FS>"), 900, 0, 0.1f);
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_GE(segs[1].Y, segs[0].Y);
}

TEST(RichLayout, EachLineIsAlignedByItsOwnRuns)
{
    const auto segs = Lay(QStringLiteral("<C>ab</C><BR><R>cd</R><BR>ef<BR><C>wwwwwwwwwwww</C>"), 1000, 0);
    ASSERT_EQ(segs.size(), 4u);
    EXPECT_EQ(segs[0].X, 400); // centred: (1000 - 200) / 2
    EXPECT_EQ(segs[1].X, 800); // right
    EXPECT_EQ(segs[2].X, 0);
    EXPECT_EQ(segs[3].X, 0); // a centred line wider than the box keeps its place
    // A line that breaks inside a run takes that run's alignment throughout.
    const auto wrapped = Lay(QStringLiteral("<R>aa bb cc</R>"), 500, 0);
    ASSERT_EQ(Lines(wrapped).size(), 2u);
    EXPECT_EQ(wrapped[0].X, 0);
    EXPECT_EQ(wrapped.back().X, 300);
}

TEST(RichLayout, ModelLayoutFillsThePaddedBoxAtEveryAngle)
{
    TKindLabel label;
    auto& rich = Rich(label, QStringLiteral("aaaaaaaa bbbbbbbb"), 2000, 1000);
    EXPECT_EQ(rich.LayoutWidth(), 2000);
    rich.SetPaddingX(0.2f);
    rich.SetPaddingY(0.1f);
    EXPECT_EQ(rich.LayoutWidth(), 1600);
    EXPECT_EQ(rich.LayoutHeight(), 800);
    rich.SetAngle(TZORAngle::Angle90);
    EXPECT_EQ(rich.LayoutWidth(), 800);
    EXPECT_EQ(rich.LayoutHeight(), 1600);
    // Paddings that leave no room give the whole side along the lines.
    rich.SetPaddingY(0.6f);
    EXPECT_EQ(rich.LayoutWidth(), 1000);
    rich.SetFontHeight(0.5f);
    rich.LayoutSegments(Hundred);
    EXPECT_EQ(Lines(rich.GetSegments()).size(), 2u);
}

TEST(RichLayout, ReadElementsParseTheirMarkup)
{
    TKindLabel label;
    auto* rich = Stub<TZORBaseRichText>(label);
    rich->SetRichText(QStringLiteral("<B>x</B>y"));
    rich->SetRichStrikeout(true);
    rich->SetGrow(true);
    const QString json = rich->WriteJson().ToJSON();
    auto* read = static_cast<TZORBaseRichText*>(label.AddReadJson(
        std::make_unique<TStub<TZORBaseRichText>>(&label, false), ZORFileVersion, TJsonObject::Parse(json)));
    EXPECT_EQ(read->GetPlainText(), QStringLiteral("xy"));
    EXPECT_TRUE(read->GetStrikeout());
    EXPECT_TRUE(read->GetGrow());
    ASSERT_EQ(read->GetRuns().size(), 2u);
    EXPECT_TRUE(read->GetFormats().at(size_t(read->GetRuns()[1].FormatIndex)).Strikeout);
}

// Markup from a file is untrusted: any string parses, maps its positions consistently and lays
// out, whatever its tags.
TEST(RichMarkup, AnyMarkupParsesAndLaysOut)
{
    const QString alphabet = QStringLiteral("<>/:BICLRSUFNTbr0123456789ABCDEF \r\n\u00e9\u03a9x");
    uint32_t seed = 12345;
    const auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 300; ++round) {
        QString rich;
        const uint32_t length = next() % 60;
        for (uint32_t i = 0; i < length; ++i)
            rich += alphabet[qsizetype(next() % uint32_t(alphabet.size()))];
        SCOPED_TRACE(rich.toStdString());
        const zor::TRichTextParse p = Parse(rich);
        ASSERT_EQ(p.RichStart.size(), size_t(p.Plain.size()));
        ASSERT_EQ(p.RichEnd.size(), size_t(p.Plain.size()));
        for (size_t i = 0; i < p.RichStart.size(); ++i) {
            EXPECT_LT(p.RichStart[i], p.RichEnd[i]);
            if (i > 0) {
                EXPECT_LE(p.RichEnd[i - 1], p.RichStart[i]);
            }
        }
        QString joined;
        for (const TRichTextParsedSegment& run : p.Runs) {
            ASSERT_LT(size_t(run.FormatIndex), p.Formats.size());
            EXPECT_EQ(p.Plain.mid(run.PlainStart, run.Text.size()), run.Text);
            joined += run.Text + (run.LineEnd ? QStringLiteral("\n") : QString());
        }
        EXPECT_EQ(joined, p.Plain);
        const auto segs = zor::LayoutRichText(p.Runs, p.Formats, 500, 20000, Base.FontHeight, 1.0f, Hundred);
        for (const TRichTextDrawSegment& s : segs)
            EXPECT_EQ(p.Plain.mid(s.PlainStart, s.Text.size()), s.Text);
    }
}
