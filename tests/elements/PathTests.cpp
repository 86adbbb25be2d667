// Polylines and Bézier curves.

#include "Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

#include <vector>

using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

// Blue, 0.4 mm wide.
template <class T> T& Stroked(TScene& scene, std::initializer_list<QPointF> mm)
{
    T& item = Through<T>(scene, mm);
    item.SetColor(Blue);
    item.SetPenWidth(0.4f);
    return item;
}

bool Near(const QImage& image, QPointF mm, TAlphaColor c)
{
    return ColourNear(image, Pixel(Dpi, mm.x(), mm.y()), zor::ToQColor(c), 8);
}

bool Paper(const QImage& image, QPointF mm)
{
    return ColourNear(image, Pixel(Dpi, mm.x(), mm.y()), Qt::white, 8);
}

// --- Polyline ---

// The first head opens along the first segment, the last along the last one: here a segment to
// the right and then one straight down.
TEST(PolyLine, StrokesItsChainWithAnEndAtTheFirstAndTheLastPoint)
{
    for (int scale : Scales)
        for (TTarget target : BothTargets) {
            TScene scene(scale);
            FilledArrows(Stroked<TZORPolyLine>(scene, { { 8, 10 }, { 24, 10 }, { 24, 32 } }));
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "scale " << scale << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            EXPECT_TRUE(Near(image, { 16, 10 }, Blue));
            EXPECT_TRUE(Near(image, { 24, 20 }, Blue));
            EXPECT_TRUE(Paper(image, { 16, 20 }));
            EXPECT_TRUE(Near(image, { 8 + 2.5, 10.6 }, Red));
            EXPECT_TRUE(Paper(image, { 8 - 1.0, 10.6 }));
            EXPECT_TRUE(Near(image, { 24.6, 32 - 2.5 }, Green));
            EXPECT_TRUE(Paper(image, { 24.6, 32 + 1.0 }));
        }
}

// Corners are mitred, on both targets alike: a round or bevelled join would leave the tip of the
// square corner white.
TEST(PolyLine, MitresItsCorners)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        Stroked<TZORPolyLine>(scene, { { 8, 10 }, { 24, 10 }, { 24, 32 } }).SetPenWidth(2.0f);
        const QImage image = scene.Render(target, Dpi);
        EXPECT_TRUE(Near(image, { 24.85, 9.15 }, Blue)) << Name(target);
    }
}

// One point, or none, is no chain; two points are one segment with both ends.
TEST(PolyLine, NeedsTwoPoints)
{
    const struct {
        std::initializer_list<QPointF> Points;
        bool Ink;
    } cases[] = { { {}, false }, { { { 20, 20 } }, false }, { { { 10, 20 }, { 30, 20 } }, true } };
    for (const auto& c : cases)
        for (TTarget target : BothTargets) {
            TScene scene;
            FilledArrows(Stroked<TZORPolyLine>(scene, c.Points));
            const QImage image = scene.Render(target, Dpi);
            EXPECT_EQ(InkCount(image) > 0, c.Ink) << c.Points.size() << " " << Name(target);
            if (c.Ink) {
                EXPECT_TRUE(Near(image, { 10 + 2.5, 20.6 }, Red));
                EXPECT_TRUE(Near(image, { 30 - 2.5, 20.6 }, Green));
            }
        }
}

// --- Bézier curve ---

// A straight segment along y = 5, then (from point 4) one straight down x = 20.
TZORBezier& TwoSegments(TScene& scene, int count)
{
    TZORBezier& curve = Stroked<TZORBezier>(scene, { { 5, 5 }, { 10, 5 }, { 15, 5 }, { 20, 5 } });
    const QPointF more[] = { { 20, 15 }, { 20, 25 }, { 20, 35 } };
    // Set one by one, as a record read sets them: the model would trim a whole assignment.
    for (int i = 4; i < count; ++i)
        curve.SetBase(i + 1, scene.Base(more[i - 4].x()), scene.Base(more[i - 4].y()));
    return curve;
}

// Whole segments only: 4 points are one segment, 7 are two, and the points after the last whole
// segment (5 or 6 points) are not drawn; 2 or 3 points make no curve but show their line ends,
// fewer show nothing.
TEST(Bezier, DrawsAndPrintsWholeSegmentsOnly)
{
    const struct {
        int Count;
        bool First; // anything drawn
        bool Second;
        QPointF Tip; // of the last head, which comes from the left or (second segment) from above
    } cases[] = { { 0, false, false, {} }, { 1, false, false, {} }, { 2, true, false, { 10, 5 } },
        { 3, true, false, { 15, 5 } }, { 4, true, false, { 20, 5 } }, { 5, true, false, { 20, 5 } },
        { 6, true, false, { 20, 5 } }, { 7, true, true, { 20, 35 } } };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORBezier& curve = c.Count >= 4 ? TwoSegments(scene, c.Count) : scene.Add<TZORBezier>();
                for (int i = 1; i <= c.Count && c.Count < 4; ++i)
                    curve.SetBase(i, scene.Base(5.0 * i), scene.Base(5));
                curve.SetPenWidth(0.4f);
                FilledArrows(curve);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(
                    testing::Message() << c.Count << " points, scale " << scale << " " << Name(target));
                ASSERT_EQ(curve.NumPoints(), c.Count);
                EXPECT_EQ(InkCount(image) > 0, c.First);
                EXPECT_EQ(InkCount(image, {}, QRect(Pixel(Dpi, 19, 12), Pixel(Dpi, 21, 22))) > 0, c.Second);
                if (!c.First)
                    continue;
                // The last head sits on the curve's own end, not on a point after it.
                const QPointF tip = c.Tip;
                const QPointF back = c.Second ? QPointF(20.6, 35 - 2.5) : QPointF(tip.x() - 2.5, 5.6);
                EXPECT_TRUE(Near(image, back, Green)) << tip.x() << ", " << tip.y();
            }
}

// A closed, filled curve is filled back to point 1; on screen it shows no line ends, on paper
// it shows them.
TEST(Bezier, AFilledCurveClosesAndShowsItsEndsOnlyOnPaper)
{
    for (int scale : Scales)
        for (TTarget target : BothTargets) {
            TScene scene(scale);
            TZORBezier& curve
                = Stroked<TZORBezier>(scene, { { 10, 10 }, { 36, 10 }, { 36, 30 }, { 10, 30 } });
            curve.SetFilled(true);
            curve.SetBackColor(Blue);
            FilledArrows(curve);
            curve.SetSizeTo(6.0f);
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "scale " << scale << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            EXPECT_TRUE(Near(image, { 18, 20 }, Blue));
            EXPECT_TRUE(Near(image, { 10.1, 20 }, Blue));
            // The last head, at (10, 30) coming from (36, 30), reaches out of the figure's box.
            const bool ends = target == TTarget::Print;
            EXPECT_EQ(Near(image, { 13, 30.8 }, Green), ends);
        }
}

// Without a pen an open curve shows only its line ends.
TEST(Bezier, AnOpenCurveWithoutPenShowsOnlyItsEnds)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORBezier& curve = Stroked<TZORBezier>(scene, { { 10, 20 }, { 15, 20 }, { 25, 20 }, { 30, 20 } });
        curve.SetPenWidth(0.0f);
        FilledArrows(curve);
        const QImage image = scene.Render(target, Dpi);
        SCOPED_TRACE(Name(target));
        EXPECT_TRUE(Paper(image, { 20, 20 }));
        EXPECT_TRUE(Near(image, { 10 + 2.5, 20.6 }, Red));
        EXPECT_TRUE(Near(image, { 30 - 2.5, 20.6 }, Green));
    }
}

// A curve's stroke has round caps at its two ends, on paper as on screen. Its dashes have round
// caps on screen, each reaching half the pen width into the gaps on either side, and flat ones on
// paper, where dashes and gaps of an even pattern come out even.
TEST(Bezier, EndsItsStrokeWithRoundCapsOnBothTargetsAndItsDashesOnScreen)
{
    constexpr double Pen = 1.0;
    for (TTarget target : BothTargets) {
        SCOPED_TRACE(Name(target));
        TScene scene;
        TZORBezier& curve = Stroked<TZORBezier>(scene, { { 10, 20 }, { 15, 20 }, { 25, 20 }, { 30, 20 } });
        curve.SetPenWidth(float(Pen));
        const int row = Pixel(Dpi, 0, 20).y();
        const std::vector<int> ink = InkLengths(RowRuns(scene.Render(target, Dpi), row));
        ASSERT_EQ(ink.size(), 1u);
        EXPECT_NEAR(ink[0], Pixels(Dpi, 20 + Pen), 2.0);

        curve.SetLineType(TZORineType::Dash4_4);
        const QImage dashed = scene.Render(target, Dpi);
        const SaveOnFailure keep(dashed, Name(target));
        const std::vector<PixelRun> runs = RowRuns(dashed, row);
        ASSERT_GE(GapLengths(runs).size(), 2u);
        const double caps = target == TTarget::Print ? 0.0 : Pen;
        EXPECT_NEAR(InkLengths(runs)[1], Pixels(Dpi, 4 * Pen + caps), 3.0);
        EXPECT_NEAR(GapLengths(runs)[1], Pixels(Dpi, 4 * Pen - caps), 3.0);
    }
}

} // namespace
