// Arrow lines: line ends, captions beside and in the line, data-bound captions.

#include "Kinds.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <numbers>

using zor::Ord;
using zor::TAlphaColor;
using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr double LineY = 20.0;

TZORArrowLine& ArrowFrom(TScene& scene, QPointF a, QPointF b)
{
    TZORArrowLine& arrow = scene.Add<TZORArrowLine>();
    arrow.AssignPoints(std::vector { scene.Pt(a.x(), a.y()), scene.Pt(b.x(), b.y()) });
    arrow.SetColor(Blue);
    arrow.SetPenWidth(0.3f);
    arrow.SetFromType(TZORTermType::None);
    arrow.SetToType(TZORTermType::None);
    arrow.SetFontHeight(4.0f);
    return arrow;
}

TZORArrowLine& Horizontal(TScene& scene)
{
    return ArrowFrom(scene, { 5, LineY }, { 35, LineY });
}

// --- Line ends ---

// A head 4 mm long: 2.5 mm back from its tip and 0.6 mm off the line lies its fill; a disc of
// 4 mm round its end point covers 1 mm off the line.
struct TEndProbe {
    TZORTermType From;
    TZORTermType To;
};

bool Headed(TZORTermType kind)
{
    return kind == TZORTermType::FilledArrow;
}

bool Disc(TZORTermType kind)
{
    return kind == TZORTermType::FilledCircle;
}

TEST(ArrowLine, EachEndTakesItsOwnKindAndPointsAlongTheLine)
{
    using K = TZORTermType;
    const TEndProbe cases[]
        = { { K::None, K::None }, { K::FilledArrow, K::None }, { K::None, K::FilledArrow },
              { K::FilledCircle, K::FilledArrow }, { K::FilledArrow, K::FilledCircle } };
    for (const TEndProbe& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORArrowLine& arrow = ArrowFrom(scene, { 8, LineY }, { 32, LineY });
                arrow.SetFromType(c.From);
                arrow.SetToType(c.To);
                arrow.SetFromColor(Red);
                arrow.SetToColor(Green);
                arrow.SetSizeFrom(4.0f);
                arrow.SetSizeTo(4.0f);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << int(zor::Ord(c.From)) << " to " << int(zor::Ord(c.To))
                                                << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                const auto expect = [&](QPointF mm, bool ink, TAlphaColor c) {
                    EXPECT_TRUE(
                        ColourNear(image, Pixel(Dpi, mm.x(), mm.y()), ink ? zor::ToQColor(c) : Qt::white, 8))
                        << mm.x() << ", " << mm.y();
                };
                // The head at point 1 opens towards point 2, the one at point 2 towards point 1.
                expect({ 8 + 2.5, LineY + 0.6 }, Headed(c.From), Red);
                expect({ 8 - 2.5, LineY + 0.6 }, false, Red);
                expect({ 32 - 2.5, LineY + 0.6 }, Headed(c.To), Green);
                expect({ 32 + 2.5, LineY + 0.6 }, false, Green);
                expect({ 8, LineY + 1.0 }, Disc(c.From), Red);
                expect({ 32, LineY + 1.0 }, Disc(c.To), Green);
            }
}

// --- Captions ---

// Ink of the caption alone: the line's rows (and a little more) are left out.
struct TCaptionInk {
    int Above = 0;
    int Below = 0;
    QRect Bounds;
};

TCaptionInk CaptionInk(const QImage& image, double lineY)
{
    const int top = Pixel(Dpi, 0, lineY - 0.3).y(), bottom = Pixel(Dpi, 0, lineY + 0.3).y();
    TCaptionInk ink;
    ink.Above = InkCount(image, {}, QRect(0, 0, image.width(), top));
    ink.Below = InkCount(image, {}, QRect(0, bottom, image.width(), image.height() - bottom));
    ink.Bounds = InkBounds(image, {}, QRect(0, 0, image.width(), top))
        | InkBounds(image, {}, QRect(0, bottom, image.width(), image.height() - bottom));
    return ink;
}

struct TPosCase {
    TZORTextPos Pos;
    bool Above;
    bool Below;
    double Share; // where along the line the caption's middle lies
};

// Above and below stand the caption on one side of the line, the others across it; each at
// its place along the line, on both targets.
TEST(ArrowLine, CaptionsStandWhereTheirPositionSays)
{
    using P = TZORTextPos;
    const TPosCase cases[] = { { P::Above, true, false, 0.5 }, { P::Below, false, true, 0.5 },
        { P::OnLine, true, true, 0.5 }, { P::InLine, true, true, 0.5 }, { P::InLineStart, true, true, 0.25 },
        { P::InLineEnd, true, true, 0.75 } };
    for (const TPosCase& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORArrowLine& arrow = Horizontal(scene);
                arrow.SetText(QStringLiteral("HHHH"));
                arrow.SetTextPos(c.Pos);
                arrow.CalcValues(0);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message()
                    << "position " << int(zor::Ord(c.Pos)) << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                const TCaptionInk ink = CaptionInk(image, LineY);
                EXPECT_EQ(ink.Above > 0, c.Above);
                EXPECT_EQ(ink.Below > 0, c.Below);
                const double middle = ink.Bounds.left() + ink.Bounds.width() / 2.0;
                EXPECT_NEAR(middle, PixelF(Dpi, 5 + 30 * c.Share, LineY).x(), 3.0);
            }
}

// Positions in the line break it round the caption: a caption of spaces leaves just the gap,
// as wide as the text, centred where the caption stands. The line ends stay at points 1 and 2.
TEST(ArrowLine, CaptionsInTheLineLeaveAGapAsWideAsTheText)
{
    using P = TZORTextPos;
    const TPosCase cases[] = { { P::InLine, true, true, 0.5 }, { P::InLineStart, true, true, 0.25 },
        { P::InLineEnd, true, true, 0.75 }, { P::Above, false, false, 0.5 } };
    for (const TPosCase& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORArrowLine& arrow = Horizontal(scene);
                arrow.SetText(QStringLiteral("          "));
                arrow.SetTextPos(c.Pos);
                arrow.CalcValues(0);
                const double gapMM = double(arrow.GetCaptionWidth()) / (1000.0 * scale);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message()
                    << "position " << int(zor::Ord(c.Pos)) << " scale " << scale << " " << Name(target));
                const std::vector<PixelRun> runs = RowRuns(image, Pixel(Dpi, 0, LineY).y());
                const std::vector<int> gaps = GapLengths(runs);
                if (!c.Above) {
                    EXPECT_TRUE(gaps.empty());
                    continue;
                }
                ASSERT_GT(gapMM, 3.0);
                ASSERT_EQ(gaps.size(), 1u);
                EXPECT_NEAR(gaps[0], Pixels(Dpi, gapMM), 2.0);
                const double centre = 5 + 30 * c.Share;
                EXPECT_TRUE(ColourNear(image, Pixel(Dpi, centre, LineY), Qt::white, 8));
                EXPECT_TRUE(
                    ColourNear(image, Pixel(Dpi, centre - gapMM / 2 - 1, LineY), zor::ToQColor(Blue), 8));
                EXPECT_TRUE(
                    ColourNear(image, Pixel(Dpi, centre + gapMM / 2 + 1, LineY), zor::ToQColor(Blue), 8));
            }
}

// A line running down reads from bottom to top: turned a quarter counter-clockwise, standing
// to the left of the line, centred on its middle. A turn the wrong way would put it beside the
// line's lower end or run it downwards.
TEST(ArrowLine, ACaptionAlongAnUprightLineReadsUpwardsBesideIt)
{
    for (int scale : Scales)
        for (TTarget target : BothTargets) {
            TScene scene(scale);
            TZORArrowLine& arrow = ArrowFrom(scene, { 20, 5 }, { 20, 35 });
            arrow.SetText(QStringLiteral("HHHHHH"));
            arrow.SetTextPos(TZORTextPos::Above);
            arrow.CalcValues(0);
            EXPECT_FLOAT_EQ(arrow.GetCaptionAngle(), -float(std::numbers::pi / 2));
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "scale " << scale << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            const int left = Pixel(Dpi, 19.7, 0).x(), right = Pixel(Dpi, 20.3, 0).x();
            const QRect caption = InkBounds(image, {}, QRect(0, 0, left, image.height()));
            EXPECT_EQ(InkCount(image, {}, QRect(right, 0, image.width() - right, image.height())), 0);
            ASSERT_FALSE(caption.isNull());
            EXPECT_GT(caption.height(), 2 * caption.width());
            EXPECT_NEAR(caption.top() + caption.height() / 2.0, PixelF(Dpi, 20, 20).y(), 3.0);
            // Upright glyph stems of "H" run across the line's direction: along the rows.
            const std::vector<int> stems
                = InkLengths(ColumnRuns(image, caption.left() + caption.width() / 2));
            EXPECT_GE(stems.size(), 6u);
        }
}

// The caption's underline is a paper feature: the screen shows bold and italic only.
TEST(ArrowLine, UnderlineShowsOnlyOnPaper)
{
    for (TTarget target : BothTargets) {
        int ink[2] = {};
        for (bool underline : { false, true }) {
            TScene scene;
            TZORArrowLine& arrow = Horizontal(scene);
            arrow.SetText(QStringLiteral("HHHH"));
            arrow.SetUnderline(underline);
            arrow.CalcValues(0);
            ink[underline] = CaptionInk(scene.Render(target, Dpi), LineY).Above;
        }
        if (target == TTarget::Print)
            EXPECT_GT(ink[1], ink[0] + Pixels(Dpi, 5));
        else
            EXPECT_EQ(ink[1], ink[0]);
    }
}

// The screen fills a caption's letters; a stroke round them would take the line's pen and thicken
// them by its width. (Dimensions, gauges and package boxes draw their captions the same way.)
TEST(ArrowLine, TheLinesPenDoesNotThickenTheCaption)
{
    int ink[2] = {};
    for (const int i : { 0, 1 }) {
        TScene scene;
        TZORArrowLine& arrow = Horizontal(scene);
        arrow.SetPenWidth(i == 0 ? 0.1f : 1.2f);
        arrow.SetText(QStringLiteral("HHHH"));
        arrow.CalcValues(0);
        const QImage image = scene.Render(TTarget::Export, Dpi);
        const int top = Pixel(Dpi, 0, LineY - 0.8).y();
        ink[i] = InkCount(image, {}, QRect(0, 0, image.width(), top));
    }
    ASSERT_GT(ink[0], 200);
    EXPECT_NEAR(ink[1], ink[0], ink[0] / 50);
}

// --- Captions from data ---

TZORArrowLine& Bound(TScene& scene, const QString& text)
{
    TZORArrowLine& arrow = Horizontal(scene);
    arrow.SetText(text);
    arrow.SetTextPos(TZORTextPos::InLine);
    arrow.SetFillType(1);
    arrow.SetFillName(QStringLiteral("Article"));
    arrow.CalcValues(0);
    return arrow;
}

// The span between the two pieces of the line: from the end of its first ink to the start of its
// last, glyphs crossing the line in between.
int LineGap(const QImage& image)
{
    std::vector<PixelRun> ink;
    for (const PixelRun& run : RowRuns(image, Pixel(Dpi, 0, LineY).y()))
        if (run.ink)
            ink.push_back(run);
    return ink.size() < 2 ? 0 : ink.back().start - (ink.front().start + ink.front().length);
}

// Each record prints its own value in the line; the element keeps its own text and layout for
// the screen and for the next job.
TEST(ArrowLine, ABoundCaptionPrintsEachRecordAndKeepsItsOwnText)
{
    const QStringList records = { QStringLiteral("A1"), QStringLiteral("BB22"), QStringLiteral("CCC333") };
    for (int scale : Scales) {
        TScene scene(scale);
        scene.Label().Records = records;
        TZORArrowLine& arrow = Bound(scene, QStringLiteral("Stored"));
        const TZORPto gapStart = arrow.GetPoint(3), gapEnd = arrow.GetPoint(4);
        const int32_t width = arrow.GetCaptionWidth();
        std::vector<int> gaps;
        for (int i = 0; i < records.size(); ++i) {
            scene.Label().Current = i;
            gaps.push_back(LineGap(scene.Render(TTarget::Print, Dpi)));
        }
        // The gap follows the value printed.
        EXPECT_LT(gaps[0], gaps[1]);
        EXPECT_LT(gaps[1], gaps[2]);
        EXPECT_EQ(arrow.GetText(), QStringLiteral("Stored"));
        EXPECT_EQ(arrow.GetPoint(3), gapStart);
        EXPECT_EQ(arrow.GetPoint(4), gapEnd);
        EXPECT_EQ(arrow.GetCaptionWidth(), width);
    }
}

class ArrowLinePdf : public TempDirTest { };

// Three records on three pages: each page holds its record's value and neither the element's own
// text nor another record's.
TEST_F(ArrowLinePdf, ABoundCaptionPrintsThreeRecordsOnThreePages)
{
    const QStringList records
        = { QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Charlie") };
    TScene scene;
    scene.Label().Records = records;
    TZORArrowLine& arrow = Bound(scene, QStringLiteral("Stored"));
    arrow.SetTextPos(TZORTextPos::Above);
    const QString pdf = Path(QStringLiteral("bound.pdf"));
    scene.PrintPdf(pdf, Dpi, 3, [&](int page) { scene.Label().Current = page; });
    ASSERT_EQ(PdfPageCount(pdf), 3);
    for (int page = 1; page <= 3; ++page) {
        const QString text = PdfText(pdf, page).simplified();
        EXPECT_EQ(text, records[page - 1]) << page;
    }
    EXPECT_EQ(arrow.GetText(), QStringLiteral("Stored"));
}

// A record without a value prints nothing of the element, not even its line; the preview leaves
// out a bound element that has no text of its own, the editor and export draw its line.
TEST(ArrowLine, ABoundLineWithoutAValueStaysOffThePage)
{
    const struct {
        TTarget Target;
        bool Ink;
    } cases[] = { { TTarget::Print, false }, { TTarget::Preview, false }, { TTarget::Editor, true },
        { TTarget::Export, true } };
    for (const auto& c : cases) {
        TScene scene;
        TZORArrowLine& arrow = Bound(scene, QString());
        arrow.SetToType(TZORTermType::FilledArrow);
        EXPECT_EQ(InkCount(scene.Render(c.Target, Dpi)) > 0, c.Ink) << Name(c.Target);
    }
}

} // namespace
