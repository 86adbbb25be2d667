// The rich text on screen and paper: styled runs read back from a document in order, the four
// angles, backgrounds, underline and strikeout, and the caret and selection of in-place editing.

#include "TextScenes.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using zor::Ord;
using zor::TAlphaColor;
using zor::TSkFont;
using zor::TSkFontStyle;

namespace {

using namespace zor::test;

const QColor RedInk(255, 0, 0), BlueInk(0, 0, 255);
// The selection's tint over white paper.
const QColor Tint(191, 221, 245);

// The words of a document line by line, each line left to right. Words of one line share their
// baseline, whatever their size (the box pdftotext gives runs from the font's ascent to its
// descent, about 81 % of it above the baseline for these fonts).
QStringList Words(const QString& pdf)
{
    std::vector<PdfWord> words = PdfWords(pdf);
    const auto baseline = [](const PdfWord& w) { return w.y + 0.81 * w.h; };
    std::stable_sort(words.begin(), words.end(), [&](const PdfWord& a, const PdfWord& b) {
        if (std::abs(baseline(a) - baseline(b)) > 1.5)
            return baseline(a) < baseline(b);
        return a.x < b.x;
    });
    QStringList texts;
    for (const PdfWord& w : words)
        texts << w.text;
    return texts;
}

const PdfWord* Find(const std::vector<PdfWord>& words, const QString& text)
{
    const auto it
        = std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == text; });
    return it == words.end() ? nullptr : &*it;
}

class RichTextPdf : public TempDirTest { };

// Bold, a font size, a colour and a line break come out on paper in their order, on two lines.
TEST_F(RichTextPdf, StyledRunsPrintInOrder)
{
    TScene scene;
    TZORRichText& rich = AddRichText(scene, QRectF(3, 3, 34, 20),
        QStringLiteral("<B>Bold</B> <FS:6000>Big</FS> <FC:FF0000>Red</FC><BR>Next line"), 3.0f);
    ASSERT_EQ(rich.GetPlainText(), QStringLiteral("Bold Big Red\nNext line"));
    const QString pdf = Path(QStringLiteral("styled.pdf"));
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    EXPECT_EQ(Words(pdf), QStringList({ "Bold", "Big", "Red", "Next", "line" }));
    const std::vector<PdfWord> words = PdfWords(pdf);
    const PdfWord *bold = Find(words, "Bold"), *big = Find(words, "Big"), *next = Find(words, "Next");
    ASSERT_TRUE(bold && big && next);
    EXPECT_GT(big->h, 1.5 * bold->h); // twice the font height
    EXPECT_GT(next->y, bold->y + bold->h);
    for (const TTarget target : BothTargets) {
        const QImage image = scene.Render(target, Dpi);
        EXPECT_GT(CountColour(image, RedInk, 60), 100) << Name(target);
    }
}

// Pieces of one line in different sizes stand on one baseline, on paper as on the screen: the
// letters' feet line up, their tops do not.
TEST(RichText, MixedSizesShareTheirLinesBaseline)
{
    constexpr int Dpi254 = 254; // 10 pixels a millimetre
    for (const TTarget target : BothTargets) {
        TScene scene;
        AddRichText(scene, QRectF(3, 3, 34, 20),
            QStringLiteral("<FC:FF0000>HH</FC> <FS:6000><FC:0000FF>HH</FC></FS>"), 3.0f);
        const QImage image = scene.Render(target, Dpi254);
        SCOPED_TRACE(Name(target));
        const SaveOnFailure keep(image, Name(target));
        const QRect small = ColourBounds(image, RedInk), big = ColourBounds(image, BlueInk);
        ASSERT_FALSE(small.isNull());
        ASSERT_FALSE(big.isNull());
        EXPECT_NEAR(small.bottom(), big.bottom(), 2);
        EXPECT_NEAR(big.height(), 2 * small.height(), 4);
        EXPECT_LT(big.top(), small.top() - 10);
    }
}

// A bound rich text prints a layout of its data value, markup obeyed, while the screen keeps its
// own text.
TEST_F(RichTextPdf, ABoundRichTextPrintsItsDataValue)
{
    TScene scene;
    scene.Label().Records = { QStringLiteral("<B>Data</B><BR>value") };
    TZORRichText& rich = AddRichText(scene, QRectF(3, 3, 34, 20), QStringLiteral("Own"), 3.0f);
    rich.SetFillType(1);
    rich.SetFillName(QStringLiteral("Field"));
    const QString pdf = Path(QStringLiteral("bound.pdf"));
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    EXPECT_EQ(Words(pdf), QStringList({ "Data", "value" }));
    ASSERT_EQ(rich.GetSegments().size(), 1u);
    EXPECT_EQ(rich.GetSegments()[0].Text, QStringLiteral("Own"));
    EXPECT_TRUE(
        ColourNear(scene.Render(TTarget::Editor, Dpi), Pixel(Dpi, 3, 3), QColor(0x90, 0xEE, 0x90), 8));
}

// A first line in red and a second in blue: where each lies shows which way lines run and advance.
TEST(RichText, LinesRunAndAdvanceByTheAngle)
{
    const QRectF boxMM(8, 8, 24, 24);
    for (const int scale : Scales)
        for (const TZORAngle angle :
            { TZORAngle::Angle0, TZORAngle::Angle90, TZORAngle::Angle180, TZORAngle::Angle270 }) {
            TScene scene(scale);
            TZORRichText& rich = AddRichText(
                scene, boxMM, QStringLiteral("<FC:FF0000>first</FC><BR><FC:0000FF>second</FC>"), 4.0f);
            rich.SetPaddingX(1.0f);
            rich.SetPaddingY(2.0f);
            rich.SetAngle(angle);
            rich.CalcValues(0);
            const QImage screen = scene.Render(TTarget::Export, Dpi);
            for (const TTarget target : BothTargets) {
                SCOPED_TRACE(testing::Message()
                    << Name(target) << ", scale " << scale << ", angle " << int(zor::Ord(angle)));
                const QImage image = scene.Render(target, Dpi);
                const SaveOnFailure keep(image, QStringLiteral("angle"));
                const QRect first = ColourBounds(image, RedInk, 80),
                            second = ColourBounds(image, BlueInk, 80);
                ASSERT_FALSE(first.isNull());
                ASSERT_FALSE(second.isNull());
                const QRectF inner = DeviceRect(Dpi, boxMM.adjusted(1, 2, -1, -2));
                const double near = Pixels(Dpi, 0.8);
                switch (angle) {
                case TZORAngle::Angle0: // runs right from the top-left, advances down
                    EXPECT_LT(first.bottom(), second.top());
                    EXPECT_NEAR(first.left(), inner.left(), near);
                    break;
                case TZORAngle::Angle90: // runs up from the bottom-left, advances right
                    EXPECT_LT(first.right(), second.left());
                    EXPECT_NEAR(first.bottom() + 1, inner.bottom(), near);
                    break;
                case TZORAngle::Angle180: // runs left from the bottom-right, advances up
                    EXPECT_GT(first.top(), second.bottom());
                    EXPECT_NEAR(first.right() + 1, inner.right(), near);
                    break;
                case TZORAngle::Angle270: // runs down from the top-right, advances left
                    EXPECT_GT(first.left(), second.right());
                    EXPECT_NEAR(first.top(), inner.top(), near);
                    break;
                }
                EXPECT_GT(InkWithin(image, screen, 3), 0.95);
            }
        }
}

// The screen paints no background of 0 or of white, paper paints white too; underline and
// strikeout come out on both.
TEST(RichText, BackgroundsAndLinesOnScreenAndPaper)
{
    const QRectF boxMM(5, 5, 30, 10);
    for (const TTarget target : BothTargets) {
        SCOPED_TRACE(Name(target));
        TScene scene;
        TZORRichText& rich
            = AddRichText(scene, boxMM, QStringLiteral("<BC:FFFFFF>white</BC> <BC:FFFF00>yellow</BC>"), 4.0f);
        rich.SetFilled(true);
        rich.SetBackColor(TAlphaColor { 0xFFC0C0C0 });
        const QImage image = scene.Render(target, Dpi);
        const QRect box = DeviceRect(Dpi, boxMM).toRect().adjusted(2, 2, -2, -2);
        EXPECT_GT(CountColour(image, QColor(255, 255, 0), 20, box), 500);
        const int white = CountColour(image, QColor(255, 255, 255), 6, box);
        if (target == TTarget::Print)
            EXPECT_GT(white, 500);
        else
            EXPECT_LT(white, 20);
    }
    for (const char* tag : { "U", "S" })
        for (const TTarget target : BothTargets) {
            SCOPED_TRACE(testing::Message() << tag << ", " << Name(target));
            const auto longestRun = [&](const QString& markup) {
                TScene scene;
                AddRichText(scene, boxMM, markup, 4.0f);
                const QImage image = scene.Render(target, Dpi);
                int longest = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int run : InkLengths(RowRuns(image, y)))
                        longest = std::max(longest, run);
                return longest;
            };
            const QString word = QStringLiteral("lined");
            const int plain = longestRun(word);
            const int lined = longestRun(QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), word));
            EXPECT_GT(lined, 3 * plain);
        }
}

// A line stands where its alignment puts it in the box, by the widths of its runs, on screen and
// on paper: left at the padding, centred, or ending at the padding on the right.
TEST(RichText, LinesStandWhereTheirAlignmentPutsThem)
{
    const QRectF boxMM(5, 5, 30, 10);
    const struct {
        const char* markup;
        double anchor; // of the ink's left, middle or right: 0, 0.5, 1
        double at; // millimetres from the label's origin
    } cases[] = {
        { "<L>Pack <B>left</B></L>", 0.0, 5.0 },
        { "<C>Pack <B>middle</B></C>", 0.5, 20.0 },
        { "<R>Pack <B>right</B></R>", 1.0, 35.0 },
    };
    for (const auto& c : cases)
        for (const TTarget target : BothTargets) {
            SCOPED_TRACE(testing::Message() << c.markup << ", " << Name(target));
            TScene scene;
            TZORRichText& rich = AddRichText(scene, boxMM, QString::fromLatin1(c.markup), 4.0f);
            const double pad = rich.GetPaddingX();
            const double at = c.anchor == 0.0 ? c.at + pad : c.anchor == 1.0 ? c.at - pad : c.at;
            const QRect ink = InkBounds(scene.Render(target, Dpi));
            ASSERT_FALSE(ink.isNull());
            const double x = ink.left() + c.anchor * (ink.width());
            EXPECT_NEAR(x, Pixels(Dpi, at) + Pixels(Dpi, TScene::MarginMM), Pixels(Dpi, 0.5));
        }
}

// The editor's caret: after a character on its line, and after a final line break at the start of
// the line below; a caret past the end stands at the end.
TEST(RichText, TheCaretFollowsThePlainPosition)
{
    TScene scene;
    TZORRichText& rich = AddRichText(scene, QRectF(5, 5, 30, 30), QStringLiteral("ab<BR>cd<BR>"), 4.0f);
    const TEditing editing(rich, 16);
    const auto caret = [&](int32_t pos) {
        const QImage image = EditorRender(scene, Dpi, [&](TZORDraw& D) {
            editing.To(D);
            D.aPos = pos;
            D.aFocused = true;
        });
        return ColourBounds(image, RedInk, 60);
    };
    const TSkFont font(Sans, TSkFontStyle::Normal, 4.0 * Dpi / 25.4 * rich.GetMetrics().Ratio);
    const QPointF origin = PixelF(Dpi, 5, 5);
    const double line = Pixels(Dpi, 4.0);
    const QRect a = caret(1), c = caret(4), end = caret(6), past = caret(60);
    ASSERT_FALSE(a.isNull());
    EXPECT_NEAR(a.left(), origin.x() + font.MeasureText(u"a"), 1.5);
    EXPECT_NEAR(a.top(), origin.y(), 1.5);
    EXPECT_NEAR(c.left(), origin.x() + font.MeasureText(u"c"), 1.5);
    EXPECT_NEAR(c.top(), origin.y() + line, 1.5);
    EXPECT_NEAR(end.left(), origin.x(), 1.5);
    EXPECT_NEAR(end.top(), origin.y() + 2 * line, 1.5);
    EXPECT_EQ(past, end);
    // Without the focus, or outside the editing tools, no caret.
    EXPECT_EQ(CountColour(EditorRender(scene, Dpi,
                              [&](TZORDraw& D) {
                                  editing.To(D);
                                  D.aPos = 1;
                              }),
                  RedInk, 60),
        0);
    EXPECT_EQ(CountColour(EditorRender(scene, Dpi,
                              [](TZORDraw& D) {
                                  D.aAction = 1;
                                  D.aPos = 1;
                                  D.aFocused = true;
                              }),
                  RedInk, 60),
        0);
}

// The selection tints what lies between its ends, across a line break, and nothing else.
TEST(RichText, TheSelectionTintsItsCharacters)
{
    TScene scene;
    TZORRichText& rich = AddRichText(scene, QRectF(5, 5, 30, 30), QStringLiteral("aaa bbb ccc<BR>ddd"), 4.0f);
    const TEditing editing(rich, 19);
    const auto tinted = [&](int32_t a, int32_t b) {
        return ColourBounds(EditorRender(scene, Dpi,
                                [&](TZORDraw& D) {
                                    editing.To(D);
                                    D.aSelStart = a;
                                    D.aSelEnd = b;
                                }),
            Tint, 10);
    };
    const TSkFont font(Sans, TSkFontStyle::Normal, 4.0 * Dpi / 25.4 * rich.GetMetrics().Ratio);
    const QPointF origin = PixelF(Dpi, 5, 5);
    // "bbb", selected either way round.
    for (const auto& [a, b] : { std::pair { 4, 7 }, std::pair { 7, 4 } }) {
        const QRect r = tinted(a, b);
        ASSERT_FALSE(r.isNull());
        EXPECT_NEAR(r.left(), origin.x() + font.MeasureText(u"aaa "), 2);
        EXPECT_NEAR(r.right() + 1, origin.x() + font.MeasureText(u"aaa bbb"), 2);
        EXPECT_LT(r.bottom(), origin.y() + Pixels(Dpi, 4.2));
    }
    // From "ccc" over the line break into "ddd": both lines.
    const QRect across = tinted(9, 14);
    EXPECT_GT(across.bottom(), origin.y() + Pixels(Dpi, 5.0));
    EXPECT_NEAR(across.left(), origin.x(), 2);
    EXPECT_TRUE(tinted(3, 3).isNull());
    EXPECT_FALSE(tinted(-10, 100).isNull()); // ends beyond the text count as its ends
}

} // namespace
