#include "drawing/Zor.TextLayout.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using zor::CalcTxtPoints;
using zor::CalcTxtPts;
using zor::LayoutFlowTxt;
using zor::LayoutPlainTxt;
using zor::Ord;
using zor::PrintTxtPoints;
using zor::TCanvas;
using zor::TSkFont;
using zor::TSkFontStyle;
using zor::TxtLines;

namespace {

// Every UTF-16 code unit ten units wide.
int64_t Mono(QStringView s)
{
    return 10 * s.size();
}

struct TCase {
    const char* name;
    QString text;
    int W, H, marginX, marginY;
    TZORHorzAlign hAlign;
    TZORVertAlign vAlign;
    TxtLines expected;
    int result;
};

TEST(TextLayout, BoxLayoutTable)
{
    constexpr auto L = TZORHorzAlign::Left, C = TZORHorzAlign::Center, R = TZORHorzAlign::Right,
                   J = TZORHorzAlign::Justify;
    constexpr auto T = TZORVertAlign::Top, M = TZORVertAlign::Center, B = TZORVertAlign::Bottom;
    const QString word300(300, QLatin1Char('w'));
    const TCase table[] = {
        { "CR LF is one break", "ab\r\ncd", 100, 0, 0, 0, L, T, { { 1, 4, 0, 0 }, { 5, 2, 0, 10 } }, 20 },
        { "LF CR is one break", "ab\n\rcd", 100, 0, 0, 0, L, T, { { 1, 4, 0, 0 }, { 5, 2, 0, 10 } }, 20 },
        { "CR CR makes an empty line", "ab\r\rcd", 100, 0, 0, 0, L, T,
            { { 1, 3, 0, 0 }, { 4, 1, 0, 10 }, { 5, 2, 0, 20 } }, 30 },
        { "LF LF makes an empty line", "ab\n\ncd", 100, 0, 0, 0, L, T,
            { { 1, 3, 0, 0 }, { 4, 1, 0, 10 }, { 5, 2, 0, 20 } }, 30 },
        { "a final break opens an empty line", "ab\r", 100, 0, 0, 5, L, T, { { 1, 3, 0, 5 } }, 30 },
        { "leading spaces stay and count in the width", "ab\n  cd ef", 200, 0, 10, 0, R, T,
            { { 1, 3, 170, 0 }, { 4, 7, 120, 10 } }, 20 },
        { "words wrap, the spaces ending the line", "aaa bbb ccc", 70, 0, 0, 0, L, T,
            { { 1, 8, 0, 0 }, { 9, 3, 0, 10 } }, 20 },
        { "no height: the used height and the margin", "a b", 10, 0, 0, 5, J, T,
            { { 1, 2, 0, 5 }, { 3, 1, 0, 15 } }, 30 },
        { "centred in the whole width whatever the margins", "ab", 100, 0, 20, 0, C, T, { { 1, 2, 40, 0 } },
            10 },
        { "right-aligned inside the margin", "ab", 100, 0, 10, 0, R, T, { { 1, 2, 70, 0 } }, 10 },
        { "margins wider than the box leave the whole width", "abcd", 50, 0, 30, 0, L, T, { { 1, 4, 30, 0 } },
            10 },
        { "centred vertically", "a\nb", 100, 100, 0, 0, L, M, { { 1, 2, 0, 40 }, { 3, 1, 0, 50 } }, 100 },
        { "at the bottom, inside the margin", "a\nb", 100, 100, 0, 5, L, B,
            { { 1, 2, 0, 75 }, { 3, 1, 0, 85 } }, 100 },
        { "overflow cuts the text and keeps it at the top", "a\nb\nc\nd", 100, 25, 0, 0, L, B,
            { { 1, 2, 0, 0 }, { 3, 2, 0, 10 } }, 25 },
        { "a first word wider than the box fails", "abcdefgh", 50, 0, 0, 0, L, T, {}, 0 },
        { "a wrapped word wider than the box fails after the lines before it", "ab abcdefgh", 50, 0, 0, 0, L,
            T, { { 1, 3, 0, 0 } }, 0 },
        { "a word of any length", word300 + QStringLiteral(" x"), 3000, 0, 0, 0, L, T,
            { { 1, 301, 0, 0 }, { 302, 1, 0, 10 } }, 20 },
        { "a long word that does not fit", word300, 2990, 0, 0, 0, L, T, {}, 0 },
        { "positions count UTF-16 code units", QStringLiteral(u"\U0001D11E\U0001D11E ab"), 40, 0, 0, 0, L, T,
            { { 1, 5, 0, 0 }, { 6, 2, 0, 10 } }, 20 },
        { "an empty text", "", 100, 100, 0, 0, L, T, {}, 0 },
    };
    for (const TCase& c : table) {
        SCOPED_TRACE(c.name);
        TxtLines lines { { 9, 9, 9, 9 } };
        const int result = zor::LayoutTxtPts(
            c.text, lines, c.W, c.H, c.marginX, c.marginY, c.hAlign, c.vAlign, 10, 10, Mono);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(lines, c.expected);
    }
}

TEST(TextLayout, TheCellHeightSizesTheAlignedBlock)
{
    TxtLines lines;
    // Two lines of 10 with a 16-unit cell: 26 units high, centred in 100 - 2 × 4.
    zor::LayoutTxtPts(
        u"a\nb", lines, 100, 100, 0, 4, TZORHorzAlign::Left, TZORVertAlign::Center, 10, 16, Mono);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].y, 4 + (100 - 8 - 26) / 2);
    // A text taller than the box starts at the margin, not above it.
    zor::LayoutTxtPts(
        u"a\nb", lines, 100, 40, 0, 10, TZORHorzAlign::Left, TZORVertAlign::Bottom, 10, 30, Mono);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].y, 10);
}

TEST(TextLayout, ThePlainLayoutsAlignByTheSpaceLeft)
{
    TxtLines lines;
    EXPECT_EQ(zor::LayoutPlainTxt(u"ab\ncd", lines, 100, 100, 10, 5, TZORHorzAlign::Right,
                  TZORVertAlign::Bottom, 10, 0, 0, Mono),
        100);
    EXPECT_EQ(lines, (TxtLines { { 1, 3, 70, 75 }, { 4, 2, 70, 85 } }));
    // Centred: R = 100 - 10 - 0 (the top of the line after the last) over two lines.
    zor::LayoutPlainTxt(
        u"ab\ncd", lines, 100, 100, 10, 0, TZORHorzAlign::Left, TZORVertAlign::Center, 10, 10, 5, Mono);
    EXPECT_EQ(lines, (TxtLines { { 1, 3, 10, 50 }, { 4, 2, 10, 60 } }));
    EXPECT_EQ(zor::LayoutPlainTxt(u"ab\ncd", lines, 100, 0, 0, 0, TZORHorzAlign::Justify, TZORVertAlign::Top,
                  10, 10, 0, Mono),
        20);
    EXPECT_EQ(lines.front().x, 0);
}

// The half-width of each curved flowchart outline at height y.
double HalfWidth(TZORFlowType type, double W, double H, double y)
{
    const double r = H / 2.0, d = std::abs(y - r) / r;
    switch (type) {
    case TZORFlowType::Terminal:
        return W / 2.0 - r + std::sqrt(std::max(0.0, r * r - (y - r) * (y - r)));
    case TZORFlowType::Decision:
        return W / 2.0 * (1.0 - d);
    case TZORFlowType::Preparation:
        return W / 4.0 + W / 4.0 * (1.0 - d);
    case TZORFlowType::Connector:
        return W / 2.0 * std::sqrt(std::max(0.0, 1.0 - d * d));
    case TZORFlowType::StartEnd:
        return 3.0 * W / 8.0 + W / 8.0 * (1.0 - d);
    default:
        return W / 2.0;
    }
}

TEST(TextLayout, FlowchartLinesStayInsideTheirOutline)
{
    const QString text
        = QStringLiteral("aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww");
    const int W = 400;
    for (TZORFlowType type : { TZORFlowType::Terminal, TZORFlowType::Decision, TZORFlowType::Preparation,
             TZORFlowType::Connector, TZORFlowType::StartEnd }) {
        for (int H : { 120, 200, 400 }) {
            for (const QString& t : { text, text.left(20), text.left(2) }) {
                SCOPED_TRACE(::testing::Message()
                    << "shape " << int(zor::Ord(type)) << ", H " << H << ", " << t.size() << " characters");
                TxtLines lines;
                EXPECT_EQ(zor::LayoutFlowTxt(t, lines, W, H, 0, type, 20, Mono), H);
                ASSERT_FALSE(lines.empty());
                for (const TZORTxtInf& l : lines) {
                    QStringView s = QStringView(t).mid(l.start - 1, l.count);
                    while (s.endsWith(u' '))
                        s.chop(1);
                    const double w = Mono(s);
                    EXPECT_NEAR(l.x + w / 2.0, W / 2.0, 1.0) << "centred";
                    for (double y : { double(l.y), double(l.y + 20) }) {
                        const double half = HalfWidth(type, W, H, y);
                        EXPECT_GE(l.x, W / 2.0 - half - 1.0) << "line at " << l.y;
                        EXPECT_LE(l.x + w, W / 2.0 + half + 1.0) << "line at " << l.y;
                    }
                }
            }
        }
    }
}

TEST(TextLayout, FlowchartsWithoutHeightEnd)
{
    for (uint8_t t = 0; t <= 15; ++t) {
        SCOPED_TRACE(int(t));
        TxtLines lines;
        // No height: the whole width serves, and the bottom of the last line is the result.
        const int start = t == 3 ? 400 / 15 : 0; // the multi-document starts lower
        EXPECT_EQ(
            zor::LayoutFlowTxt(u"aa bb cc", lines, 400, 0, 0, TZORFlowType { t }, 20, Mono), start + 20);
        EXPECT_EQ(lines.size(), 1u);
        // A word too wide ends as a failure instead of waiting below for ever.
        EXPECT_EQ(zor::LayoutFlowTxt(u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", lines, 400, 0, 0,
                      TZORFlowType { t }, 20, Mono),
            0);
        // Lines without height wait for nothing either.
        EXPECT_EQ(zor::LayoutFlowTxt(u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", lines, 400, 300,
                      0, TZORFlowType { t }, 0, Mono),
            0);
        // Nor does a node of more lines than any text needs: a word too wide fails at once.
        EXPECT_EQ(zor::LayoutFlowTxt(u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", lines, 400,
                      2000000000, 0, TZORFlowType { t }, 20, Mono),
            0);
    }
}

TEST(TextLayout, FlowchartShapesPlaceTheirLines)
{
    TxtLines lines;
    // One line is centred vertically in the shape.
    EXPECT_EQ(zor::LayoutFlowTxt(u"ab", lines, 400, 200, 0, TZORFlowType::Process, 20, Mono), 200);
    EXPECT_EQ(lines, (TxtLines { { 1, 2, 190, 90 } }));
    // Several lines move down together by half of what is left, except in terminals and
    // decisions.
    zor::LayoutFlowTxt(u"a\nb", lines, 400, 200, 10, TZORFlowType::Process, 20, Mono);
    EXPECT_EQ(lines, (TxtLines { { 1, 2, 195, 70 }, { 3, 1, 195, 90 } }));
    // A multi-document starts W/15 down, in a box W/15 lower, its lines shifted W/30 left.
    EXPECT_EQ(zor::LayoutFlowTxt(u"ab", lines, 300, 200, 0, TZORFlowType::MultiDocument, 20, Mono), 180);
    EXPECT_EQ(lines, (TxtLines { { 1, 2, 140 - 10, 80 } }));
    // A fixed shape too narrow fails.
    EXPECT_EQ(zor::LayoutFlowTxt(u"abcdefghij", lines, 100, 200, 0, TZORFlowType::LoopStop, 20, Mono), 0);
    // A decision too small for the word lets it wait until the box is full: nothing fits.
    EXPECT_EQ(zor::LayoutFlowTxt(u"abcdefghij", lines, 100, 200, 0, TZORFlowType::Decision, 20, Mono), 200);
    EXPECT_TRUE(lines.empty());
}

// A layout measured with real fonts: no line is wider than the box, and the next word never
// fitted on it.
TEST(TextLayout, ARealFontFillsEachLineGreedily)
{
    int ascent = 0, descent = 0, underline = 0, height = 0;
    double ratio = 0.0;
    TZORCalc::FontSettings(
        QStringLiteral("Arial"), 3500, false, false, ascent, descent, underline, height, ratio);
    const QString text = QStringLiteral("Labels are printed on sheets of equal labels with data from a list, "
                                        "one record after the other, until the list ends.");
    const int W = 60000, marginX = 1000;
    TxtLines lines;
    const int used = TZORCalc::CalcTxtPts(
        text, nullptr, lines, W, 0, marginX, 500, TZORHorzAlign::Left, TZORVertAlign::Top, 1.0f);
    ASSERT_GT(lines.size(), 1u);
    EXPECT_EQ(used, 500 + 3500 * int(lines.size()) + 500);
    for (size_t k = 0; k < lines.size(); ++k) {
        const QString line = text.mid(lines[k].start - 1, lines[k].count).trimmed();
        EXPECT_LE(TZORCalc::CalcTxtSize(line).width(), W - 2 * marginX) << line.toStdString();
        EXPECT_EQ(lines[k].y, 500 + 3500 * int64_t(k));
        if (k + 1 < lines.size()) {
            const QString next = text.mid(lines[k + 1].start - 1).section(QLatin1Char(' '), 0, 0);
            EXPECT_GT(TZORCalc::CalcTxtSize(line + QLatin1Char(' ') + next).width(), W - 2 * marginX);
        }
    }
}

TEST(TextLayout, PrintedLinesReturnTheExtentTheyTake)
{
    QImage image(1000, 400, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.Font.Height = -30;
    TZORDraw D;
    D.aC = &canvas;
    TxtLines lines;
    const QString text = QStringLiteral("one two three four five six seven eight nine ten eleven twelve");
    const int W = 300;
    // The height comes first, then the width.
    const int extent = PrintTxtPoints(
        text, D, lines, 200, W, 35.5f, TZORHorzAlign::Right, TZORVertAlign::Top, false, false);
    ASSERT_GT(lines.size(), 1u);
    EXPECT_EQ(extent, static_cast<int>(std::nearbyint(35.5 * (lines.size() - 1) + 35.5)));
    for (size_t k = 0; k < lines.size(); ++k) {
        const QString line = text.mid(lines[k].start - 1, lines[k].count).trimmed();
        EXPECT_EQ(lines[k].x + canvas.TextWidth(line), W) << "right-aligned";
        EXPECT_EQ(lines[k].y, std::nearbyint(35.5 * k));
    }
    // Centred lines: the extent counts from the top of the box.
    const size_t n = lines.size();
    const int centred = PrintTxtPoints(
        text, D, lines, 400, W, 35.5f, TZORHorzAlign::Left, TZORVertAlign::Center, false, false);
    EXPECT_EQ(lines.front().y, std::trunc((400 - 35.5 * n) / 2));
    EXPECT_EQ(centred, std::nearbyint(lines.back().y + 35.5));
    // Shrink keeps the lines at the top; grow lifts the height limit.
    EXPECT_EQ(PrintTxtPoints(
                  text, D, lines, 400, W, 35.5f, TZORHorzAlign::Left, TZORVertAlign::Bottom, false, true),
        extent);
    EXPECT_EQ(lines.front().y, 0);
    EXPECT_LT(
        PrintTxtPoints(text, D, lines, 50, W, 35.5f, TZORHorzAlign::Left, TZORVertAlign::Top, false, false),
        extent);
    EXPECT_EQ(
        PrintTxtPoints(text, D, lines, 50, W, 35.5f, TZORHorzAlign::Left, TZORVertAlign::Top, true, false),
        extent);
}

TEST(TextLayout, ScreenFontLayoutsStoreMicrometres)
{
    TZORDraw D;
    D.SetProjection(254, 254, 1); // 100 µm a pixel
    const TSkFont font(QStringLiteral("Arial"), TSkFontStyle::Normal, 20);
    TxtLines lines;
    EXPECT_EQ(CalcTxtPoints(QStringLiteral("ab\ncd"), D, font, lines, 200.0f, 100.0f, 5.0f, 3.0f, 25.0f,
                  TZORHorzAlign::Left, TZORVertAlign::Top),
        100.0f);
    EXPECT_EQ(lines, (TxtLines { { 1, 3, 500, 300 }, { 4, 2, 500, 2800 } }));
    // Bottom: the last line ends at H.
    CalcTxtPoints(QStringLiteral("ab\ncd"), D, font, lines, 200.0f, 100.0f, 5.0f, 3.0f, 25.0f,
        TZORHorzAlign::Left, TZORVertAlign::Bottom);
    EXPECT_EQ(lines.back().y, 7500);
    // Right alignment stays inside the box.
    CalcTxtPoints(QStringLiteral("ab"), D, font, lines, 200.0f, 0.0f, 5.0f, 0.0f, 25.0f, TZORHorzAlign::Right,
        TZORVertAlign::Top);
    EXPECT_EQ(lines.front().x, std::llround((200.0 - font.MeasureText(u"ab") - 5.0) * 100.0));

    int ascent = 0, descent = 0, underline = -1;
    const int used = CalcTxtPts(QStringLiteral("a\nb"), QStringLiteral("Arial"), nullptr, lines, 100000, 0, 0,
        0, 1000, TZORHorzAlign::Left, TZORVertAlign::Top, false, false, ascent, descent, underline);
    ASSERT_EQ(lines.size(), 2u);
    // The line pitch counts the internal leading twice: ascent + descent + (their sum − em).
    const int64_t pitch = lines[1].y - lines[0].y;
    EXPECT_GE(pitch, 2 * (ascent + descent) - 1000);
    EXPECT_LE(pitch, 2 * (ascent + descent) - 1000 + 100);
    EXPECT_EQ(used, lines[1].y + pitch);
    EXPECT_EQ(underline, 0);
    EXPECT_GT(ascent, 3 * descent);
}

} // namespace
