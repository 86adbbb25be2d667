// The paragraph: one wrap for the screen and the paper, the padding applied once, the lines in
// order in a document, and a bound paragraph's frame growing and shrinking at the four angles.

#include "TextScenes.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using zor::Ord;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

const QString Fox
    = QStringLiteral("The quick brown fox jumps over the lazy dog while five boxing wizards jump quickly");

// The words of each laid-out line of the element.
std::vector<QStringList> ModelLines(const TZORParagraph& p, const QString& text)
{
    std::vector<QStringList> lines;
    for (const TZORTxtInf& line : p.GetLines())
        lines.push_back(text.mid(line.start - 1, line.count).simplified().split(QLatin1Char(' ')));
    return lines;
}

class ParagraphPdf : public TempDirTest { };

// The paper breaks the lines where the screen does, and prints them in their order, for every
// alignment and at both drawing scales.
TEST_F(ParagraphPdf, LinesWrapAsOnScreenAndPrintInOrder)
{
    for (const int scale : Scales)
        for (const TZORHorzAlign align :
            { TZORHorzAlign::Left, TZORHorzAlign::Center, TZORHorzAlign::Right }) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << ", align " << int(zor::Ord(align)));
            TScene scene(scale);
            TZORParagraph& p = AddParagraph(scene, QRectF(3, 3, 30, 30), Fox, 3.0f);
            p.SetHorzAlign(align);
            p.SetPaddingX(1.5f);
            p.CalcValues(0);
            const std::vector<QStringList> lines = ModelLines(p, Fox);
            ASSERT_GE(lines.size(), 3u);
            const QString pdf = Path(QStringLiteral("fox.pdf"));
            scene.PrintPdf(pdf, Dpi, 1, [](int) {});
            EXPECT_EQ(PrintedLines(pdf), lines);
            const TScreenAndPaper both(scene, Dpi, 3, QStringLiteral("paragraph"));
            EXPECT_GT(both.Near, 0.97);
        }
}

// The padding lies once between the box and the text, on screen as on paper.
TEST(Paragraph, PaddingIsAppliedOnce)
{
    struct TCase {
        TZORHorzAlign Align;
        TZORVertAlign VAlign;
    };
    for (const TTarget target : { TTarget::Editor, TTarget::Export, TTarget::Print })
        for (const TCase& c : { TCase { TZORHorzAlign::Left, TZORVertAlign::Top },
                 TCase { TZORHorzAlign::Right, TZORVertAlign::Bottom } }) {
            SCOPED_TRACE(testing::Message() << Name(target) << ", align " << int(zor::Ord(c.Align)));
            TScene scene;
            TZORParagraph& p = AddParagraph(scene, QRectF(5, 5, 30, 20), QStringLiteral("Hxy"), 4.0f);
            p.SetPaddingX(3.0f);
            p.SetPaddingY(2.0f);
            p.SetHorzAlign(c.Align);
            p.SetVertAlign(c.VAlign);
            p.CalcValues(0);
            const QRect ink = InkBounds(scene.Render(target, Dpi));
            ASSERT_FALSE(ink.isNull());
            const QRectF inner = DeviceRect(Dpi, QRectF(8, 7, 24, 16));
            const double tolerance = Pixels(Dpi, 0.6);
            if (c.Align == TZORHorzAlign::Left) {
                EXPECT_NEAR(ink.left(), inner.left(), tolerance);
                EXPECT_NEAR(ink.top(), inner.top(), Pixels(Dpi, 1.2));
            } else {
                EXPECT_NEAR(ink.right() + 1, inner.right(), tolerance);
                EXPECT_NEAR(ink.bottom() + 1, inner.bottom(), Pixels(Dpi, 1.2));
            }
        }
}

// Line ends start new lines and are never drawn as characters.
TEST_F(ParagraphPdf, LineBreaksStartLinesAndAreNotDrawn)
{
    TScene scene;
    const QString text = QStringLiteral("one\r\ntwo\nthree\rfour");
    TZORParagraph& p = AddParagraph(scene, QRectF(3, 3, 34, 34), text, 3.0f);
    ASSERT_EQ(p.GetLines().size(), 4u);
    const QString pdf = Path(QStringLiteral("breaks.pdf"));
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    EXPECT_EQ(
        PrintedLines(pdf), (std::vector<QStringList> { { "one" }, { "two" }, { "three" }, { "four" } }));
    EXPECT_EQ(PdfText(pdf).simplified(), QStringLiteral("one two three four"));
}

// A frame only, in red: where its edges lie.
QRect FrameOf(const QImage& image)
{
    return ColourBounds(image, QColor(255, 0, 0), 80);
}

// A paragraph bound to data, framed in red, with white text (so that only the frame shows), in
// the box from (12, 12) to (28, 20) on a label of 36 × 36 mm.
TZORParagraph& BoundFrame(TScene& scene, TZORAngle angle, const QString& value)
{
    scene.Label().Measure().SetWidth(scene.Base(36) / scene.Scale());
    scene.Label().Measure().SetHeight(scene.Base(36) / scene.Scale());
    scene.Label().Records = { value };
    TZORParagraph& p = AddParagraph(scene, QRectF(12, 12, 16, 8), QStringLiteral("own"), 2.5f);
    p.SetAngle(angle);
    p.SetFillType(1);
    p.SetFillName(QStringLiteral("Notes"));
    p.SetPenWidth(0.3f);
    p.SetColor(TAlphaColor { 0xFFFF0000 });
    p.SetFontColor(White);
    p.CalcValues(0);
    return p;
}

TEST(Paragraph, ABoundFrameGrowsAndShrinksToItsTextAtEveryAngle)
{
    const QString longText = Fox + QLatin1Char(' ') + Fox;
    const QString shortText = QStringLiteral("Hi");
    for (const int scale : Scales)
        for (const TZORAngle angle :
            { TZORAngle::Angle0, TZORAngle::Angle90, TZORAngle::Angle180, TZORAngle::Angle270 }) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << ", angle " << int(zor::Ord(angle)));
            TScene plain(scale);
            BoundFrame(plain, angle, longText);
            const QRect box = FrameOf(plain.Render(TTarget::Print, Dpi));
            const QRect screenBox = FrameOf(plain.Render(TTarget::Export, Dpi));
            ASSERT_FALSE(box.isNull());
            const auto frame = [&](bool grow, bool shrink, const QString& value) {
                TScene scene(scale);
                TZORParagraph& p = BoundFrame(scene, angle, value);
                p.SetGrow(grow);
                p.SetShrink(shrink);
                EXPECT_EQ(FrameOf(scene.Render(TTarget::Export, Dpi)), screenBox)
                    << "the screen keeps the box";
                return FrameOf(scene.Render(TTarget::Print, Dpi));
            };
            // Without a flag the frame stays, whatever the value.
            EXPECT_EQ(frame(false, false, longText), box);
            EXPECT_EQ(frame(false, false, shortText), box);
            const QRect grown = frame(true, false, longText), shrunk = frame(false, true, shortText);
            const int slack = 2;
            switch (angle) {
            case TZORAngle::Angle0: // lines advance down: the bottom moves
                EXPECT_GT(grown.bottom(), box.bottom() + slack);
                EXPECT_LT(shrunk.bottom(), box.bottom() - slack);
                EXPECT_EQ(grown.top(), box.top());
                EXPECT_EQ(shrunk.top(), box.top());
                break;
            case TZORAngle::Angle90: // lines advance right: the right edge moves
                EXPECT_GT(grown.right(), box.right() + slack);
                EXPECT_LT(shrunk.right(), box.right() - slack);
                EXPECT_EQ(grown.left(), box.left());
                break;
            case TZORAngle::Angle180: // lines advance up: the top moves
                EXPECT_LT(grown.top(), box.top() - slack);
                EXPECT_GT(shrunk.top(), box.top() + slack);
                EXPECT_EQ(grown.bottom(), box.bottom());
                break;
            case TZORAngle::Angle270: // lines advance left: the left edge moves
                EXPECT_LT(grown.left(), box.left() - slack);
                EXPECT_GT(shrunk.left(), box.left() + slack);
                EXPECT_EQ(grown.right(), box.right());
                break;
            }
            // A value that fits keeps the frame when only growing is allowed, and one that does not
            // fit keeps it when only shrinking is.
            EXPECT_EQ(frame(true, false, shortText), box);
            EXPECT_EQ(frame(false, true, longText), box);
        }
}

// With the grow flag a paragraph, bound or not, runs on to the bottom of the label: text the box
// would cut is printed.
TEST_F(ParagraphPdf, AGrowingParagraphRunsOnToTheLabelsEdge)
{
    const QString value = Fox;
    const qsizetype words = value.split(QLatin1Char(' ')).size();
    for (const bool bound : { true, false })
        for (const bool grow : { false, true }) {
            SCOPED_TRACE(testing::Message() << (bound ? "bound" : "own text") << (grow ? ", growing" : ""));
            TScene scene;
            TZORParagraph& p = BoundFrame(scene, TZORAngle::Angle0, value);
            p.SetFontColor(Black);
            p.SetGrow(grow);
            if (!bound) {
                p.SetFillType(0);
                p.SetText(value);
                p.CalcValues(0);
            }
            const QString pdf = Path(QStringLiteral("grow.pdf"));
            scene.PrintPdf(pdf, Dpi, 1, [](int) {});
            const qsizetype printed = PdfText(pdf).simplified().split(QLatin1Char(' ')).size();
            if (grow)
                EXPECT_EQ(printed, words);
            else
                EXPECT_LT(printed, words * 2 / 3);
        }
}

// An unbound paragraph keeps its frame between its points in print, whatever its text; screen and
// paper agree on the frame.
TEST(Paragraph, AnUnboundFrameStaysBetweenItsPoints)
{
    for (const int scale : Scales) {
        TScene scene(scale);
        TZORParagraph& p = AddParagraph(scene, QRectF(12, 12, 16, 8), Fox + Fox, 2.5f);
        p.SetGrow(true);
        p.SetShrink(true);
        p.SetPenWidth(0.3f);
        p.SetColor(TAlphaColor { 0xFFFF0000 });
        p.SetFontColor(White);
        const QRect paper = FrameOf(scene.Render(TTarget::Print, Dpi));
        const QRectF box = DeviceRect(Dpi, QRectF(12, 12, 16, 8));
        EXPECT_NEAR(paper.left(), box.left() - Pixels(Dpi, 0.15), 1.5) << scale;
        EXPECT_NEAR(paper.bottom() + 1, box.bottom() + Pixels(Dpi, 0.15), 1.5) << scale;
    }
}

} // namespace

namespace {

// Turned paragraphs: the screen and the paper put the same lines in the same places, and the first
// line starts at the corner the angle gives.
TEST(Paragraph, ScreenAndPaperAgreeAtEveryAngle)
{
    for (const int scale : Scales)
        for (const TZORAngle angle :
            { TZORAngle::Angle0, TZORAngle::Angle90, TZORAngle::Angle180, TZORAngle::Angle270 }) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << ", angle " << int(zor::Ord(angle)));
            TScene scene(scale);
            TZORParagraph& p = AddParagraph(scene, QRectF(6, 6, 28, 28), Fox, 3.0f);
            p.SetAngle(angle);
            p.SetPaddingX(1.0f);
            p.SetPaddingY(2.0f);
            p.CalcValues(0);
            ASSERT_GE(p.GetLines().size(), 3u);
            const TScreenAndPaper both(scene, Dpi, 3, QStringLiteral("padded paragraph"));
            EXPECT_GT(both.Near, 0.97);
            const QRect ink = InkBounds(both.Paper);
            const QRectF inner = DeviceRect(Dpi, QRectF(7, 8, 26, 24));
            const double near = Pixels(Dpi, 0.8);
            switch (angle) {
            case TZORAngle::Angle0:
                EXPECT_NEAR(ink.left(), inner.left(), near);
                EXPECT_NEAR(ink.top(), inner.top(), near);
                break;
            case TZORAngle::Angle90:
                EXPECT_NEAR(ink.left(), inner.left(), near);
                EXPECT_NEAR(ink.bottom() + 1, inner.bottom(), near);
                break;
            case TZORAngle::Angle180:
                EXPECT_NEAR(ink.right() + 1, inner.right(), near);
                EXPECT_NEAR(ink.bottom() + 1, inner.bottom(), near);
                break;
            case TZORAngle::Angle270:
                EXPECT_NEAR(ink.right() + 1, inner.right(), near);
                EXPECT_NEAR(ink.top(), inner.top(), near);
                break;
            }
        }
}

} // namespace
