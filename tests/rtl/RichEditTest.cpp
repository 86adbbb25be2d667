// Rewriting rich-text markup by plain positions: styles toggled, values and alignments set,
// characters deleted, and the faults the rewriting must not have (a tag rewritten elsewhere, a
// character lost at a span's edge, a font name that breaks the markup).

#include "Zor.RichEdit.h"
#include "Zor.Text.h"

#include <gtest/gtest.h>

#include <optional>

using zor::DeleteRichText;
using zor::RemoveEmptyRichPairs;
using zor::RichColorValue;
using zor::RichSizeValue;
using zor::RichStyleActive;
using zor::TAlphaColor;
using zor::TRichTextFormat;
using zor::ValidRichFontName;

namespace {

using namespace Qt::StringLiterals;

QString Plain(const QString& rich)
{
    return zor::ParseRichMarkup(rich, TRichTextFormat {}, 0).Plain;
}

std::string Show(const std::optional<QString>& s)
{
    return s ? s->toStdString() : std::string("(no change)");
}

} // namespace

TEST(RichEdit, ToggleStyle)
{
    const struct {
        QString rich;
        int a, b;
        const char* tag;
        std::optional<QString> expected;
    } table[] = {
        { u"hello"_s, 1, 4, "B", u"h<B>ell</B>o"_s },
        { u"h<B>ell</B>o"_s, 1, 4, "B", u"hello"_s },
        // The selection in mid-span splits the span.
        { u"<B>hello</B>"_s, 1, 4, "B", u"<B>h</B>ell<B>o</B>"_s },
        { u"<B>h</B>ell<B>o</B>"_s, 1, 4, "B", u"<B>hello</B>"_s },
        // One character in the span: the characters after it stay, still bold.
        { u"<B>hello</B>"_s, 2, 3, "B", u"<B>he</B>l<B>lo</B>"_s },
        { u"<B>hello</B>"_s, 0, 5, "B", u"hello"_s },
        { u"<b>hello</b>"_s, 0, 5, "B", u"hello"_s },
        // Partly bold becomes bold throughout.
        { u"a<B>b</B>c"_s, 0, 3, "B", u"<B>abc</B>"_s },
        // The same words elsewhere in the text are not touched.
        { u"<B>x</B> y x"_s, 4, 5, "B", u"<B>x</B> y <B>x</B>"_s },
        { u"x y <B>x</B>"_s, 0, 1, "B", u"<B>x</B> y <B>x</B>"_s },
        // Tags of other kinds stay where they are.
        { u"<I>ab</I>cd"_s, 1, 3, "B", u"<I>a<B>b</I>c</B>d"_s },
        { u"<FS:8000>ab</FS>"_s, 0, 2, "U", u"<FS:8000><U>ab</U></FS>"_s },
        { u"ab<BR>cd"_s, 1, 4, "I", u"a<I>b<BR>c</I>d"_s },
        { u"a<LT>b"_s, 1, 2, "B", u"a<B><LT></B>b"_s },
        // The ends in either order; beyond the text they are its end.
        { u"hello"_s, 4, 1, "B", u"h<B>ell</B>o"_s },
        { u"hello"_s, 3, 99, "B", u"hel<B>lo</B>"_s },
        { u"hello"_s, 2, 2, "B", std::nullopt },
        { u"hello"_s, 0, 5, "FN", std::nullopt },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(
            c.rich.toStdString() + " " + std::to_string(c.a) + ".." + std::to_string(c.b) + " " + c.tag);
        const std::optional<QString> out = zor::ToggleRichStyle(c.rich, c.a, c.b, QLatin1StringView(c.tag));
        EXPECT_EQ(Show(out), Show(c.expected));
        if (out) {
            EXPECT_EQ(Plain(*out), Plain(c.rich)) << "characters lost or added";
        }
    }
}

// Toggling twice gives the markup back, and no character is ever lost on the way.
TEST(RichEdit, ToggleTwiceRestores)
{
    const struct {
        QString rich;
        int a, b;
        const char* tag;
    } table[] = {
        { u"hello world"_s, 0, 5, "B" },
        { u"hello world"_s, 3, 8, "I" },
        { u"<B>hello</B> world"_s, 1, 4, "B" },
        { u"<B>hello</B> world"_s, 2, 3, "B" },
        { u"<B>hello</B> world"_s, 3, 8, "U" },
        { u"<C>Title</C><BR>body <FC:FF0000>red</FC>"_s, 2, 9, "B" },
        { u"<U>a<I>bc</I>d</U>"_s, 1, 3, "U" },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.rich.toStdString() + " " + c.tag);
        const QLatin1StringView tag(c.tag);
        const std::optional<QString> once = zor::ToggleRichStyle(c.rich, c.a, c.b, tag);
        ASSERT_TRUE(once);
        EXPECT_EQ(Plain(*once), Plain(c.rich));
        EXPECT_NE(zor::RichStyleActive(*once, c.a, c.b, tag), zor::RichStyleActive(c.rich, c.a, c.b, tag));
        const std::optional<QString> twice = zor::ToggleRichStyle(*once, c.a, c.b, tag);
        EXPECT_EQ(Show(twice), Show(c.rich));
    }
}

TEST(RichEdit, StyleActive)
{
    const struct {
        int a, b;
        bool active;
    } table[] = { { 0, 2, true }, { 1, 3, false }, { 2, 2, true }, { 3, 3, false }, { 0, 0, true } };
    for (const auto& c : table) {
        SCOPED_TRACE(std::to_string(c.a) + ".." + std::to_string(c.b));
        EXPECT_EQ(zor::RichStyleActive(u"<B>ab</B>c"_s, c.a, c.b, QLatin1StringView("B")), c.active);
    }
}

TEST(RichEdit, SetValue)
{
    const struct {
        QString rich;
        int a, b;
        const char* tag;
        QString value;
        std::optional<QString> expected;
    } table[] = {
        { u"hello"_s, 0, 5, "FN", u"Arial"_s, u"<FN:Arial>hello</FN>"_s },
        { u"<FN:Arial>hello</FN>"_s, 1, 4, "FN", u"Courier"_s, u"<FN:Arial>h<FN:Courier>ell</FN>o</FN>"_s },
        { u"<FN:Arial>h<FN:Courier>ell</FN>o</FN>"_s, 1, 4, "FN", u"Arial"_s, u"<FN:Arial>hello</FN>"_s },
        // Already so: nothing to do (also in another case or with blanks).
        { u"<FN:Arial>hello</FN>"_s, 0, 5, "FN", u"arial"_s, std::nullopt },
        { u"<FN: Arial >hello</FN>"_s, 1, 2, "FN", u"Arial"_s, std::nullopt },
        // Names that would end the tag or start another are refused.
        { u"hello"_s, 0, 5, "FN", u"A<B>"_s, std::nullopt },
        { u"hello"_s, 0, 5, "FN", u"Odd>Name"_s, std::nullopt },
        { u"hello"_s, 0, 5, "FN", u" "_s, std::nullopt },
        { u"hello"_s, 0, 5, "FS", zor::RichSizeValue(12), u"<FS:12000>hello</FS>"_s },
        { u"<FC:FF0000>hello</FC>"_s, 0, 5, "FC", u"FF0000"_s, std::nullopt },
        { u"<FC:FF0000>hello</FC>"_s, 1, 4, "FC", u"00FF00"_s, u"<FC:FF0000>h<FC:00FF00>ell</FC>o</FC>"_s },
        // Starting inside one colour and ending outside it.
        { u"<FC:FF0000>hello</FC> world"_s, 3, 8, "FC", u"0000FF"_s,
            u"<FC:FF0000>hel<FC:0000FF>lo wo</FC></FC>rld"_s },
        { u"hello"_s, 0, 5, "B", u"x"_s, std::nullopt },
        { u"hello"_s, 3, 3, "FS", u"5000"_s, std::nullopt },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.rich.toStdString() + " " + c.tag + ":" + c.value.toStdString());
        const std::optional<QString> out
            = zor::SetRichValue(c.rich, c.a, c.b, QLatin1StringView(c.tag), c.value);
        EXPECT_EQ(Show(out), Show(c.expected));
        if (out) {
            EXPECT_EQ(Plain(*out), Plain(c.rich));
        }
    }
    // What the parser makes of the split: "ell" in the new font, "h" and "o" in the old.
    const zor::TRichTextParse p = zor::ParseRichMarkup(
        *zor::SetRichValue(u"<FN:Arial>hello</FN>"_s, 1, 4, QLatin1StringView("FN"), u"Courier"_s),
        TRichTextFormat {}, 0);
    ASSERT_EQ(p.Runs.size(), 3u);
    EXPECT_EQ(p.Formats[size_t(p.Runs[1].FormatIndex)].FontName, u"Courier"_s);
    EXPECT_EQ(p.Formats[size_t(p.Runs[2].FormatIndex)].FontName, u"Arial"_s);
}

TEST(RichEdit, Alignment)
{
    const struct {
        QString rich;
        int pos;
        uint8_t align;
        std::optional<QString> expected;
    } table[] = {
        { u"hello"_s, 2, 1, u"<C>hello</C>"_s },
        { u"ab<BR>cd"_s, 4, 2, u"ab<BR><R>cd</R>"_s },
        { u"ab<BR>cd"_s, 2, 0, u"<L>ab</L><BR>cd"_s },
        // An earlier alignment of the paragraph is replaced; the other paragraph keeps its own.
        { u"<C>ab</C><BR><C>cd</C>"_s, 1, 2, u"<R>ab</R><BR><C>cd</C>"_s },
        { u"<C>ab<BR>cd</C>"_s, 4, 2, u"<C>ab<BR><R>cd</R></C>"_s },
        { u"<C>hello</C>"_s, 0, 1, std::nullopt },
        { u""_s, 0, 1, std::nullopt },
        { u"hello"_s, 0, 3, std::nullopt },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.rich.toStdString() + " at " + std::to_string(c.pos));
        const std::optional<QString> out = zor::SetRichAlignment(c.rich, c.pos, c.align);
        EXPECT_EQ(Show(out), Show(c.expected));
        if (out) {
            EXPECT_EQ(Plain(*out), Plain(c.rich));
        }
    }
    const zor::TRichTextParse p = zor::ParseRichMarkup(u"<C>ab<BR><R>cd</R></C>"_s, TRichTextFormat {}, 0);
    ASSERT_EQ(p.Runs.size(), 2u);
    EXPECT_EQ(p.Runs[0].Align, 1);
    EXPECT_EQ(p.Runs[1].Align, 2);
}

TEST(RichEdit, Delete)
{
    const struct {
        QString rich;
        int a, b;
        QString expected;
    } table[] = {
        { u"a<B>b</B>cd"_s, 1, 2, u"acd"_s },
        { u"a<B>bc</B>d"_s, 1, 4, u"a"_s },
        // The tags between the characters stay: what follows keeps its format.
        { u"a<B>b</B>cd"_s, 1, 3, u"ad"_s },
        { u"<B>hello</B> world"_s, 3, 8, u"<B>hel</B>rld"_s },
        { u"ab<BR>cd"_s, 2, 3, u"abcd"_s },
        { u"a<LT>b"_s, 1, 2, u"ab"_s },
        { u"abc"_s, 2, 2, u"abc"_s },
        { u"abc"_s, 3, 1, u"a"_s },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.rich.toStdString());
        EXPECT_EQ(zor::DeleteRichText(c.rich, c.a, c.b), c.expected);
    }
    EXPECT_EQ(zor::RemoveEmptyRichPairs(u"<B><I></I></B>x<FS:5000></FS>"_s), u"x"_s);
    EXPECT_EQ(zor::RemoveEmptyRichPairs(u"<B> </B><BR>"_s), u"<B> </B><BR>"_s);
}

TEST(RichEdit, Values)
{
    EXPECT_EQ(zor::RichColorValue(TAlphaColor { 0xFF12AB0Fu }), u"12AB0F"_s);
    EXPECT_EQ(zor::RichSizeValue(12), u"12000"_s);
    EXPECT_TRUE(zor::ValidRichFontName(u"DejaVu Sans"_s));
    EXPECT_FALSE(zor::ValidRichFontName(u"A<B"_s));
    EXPECT_FALSE(zor::ValidRichFontName(u"A>B"_s));
    EXPECT_FALSE(zor::ValidRichFontName(u""_s));
}
