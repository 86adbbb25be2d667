// Construction points and lines.

#include "Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

TZORPoint& PointAt(TScene& scene, double x, double y)
{
    TZORPoint& point = scene.Add<TZORPoint>();
    point.AssignPoints(std::vector { scene.Pt(x, y) });
    point.SetColor(Blue);
    return point;
}

TZORLine& LineFrom(TScene& scene, QPointF a, QPointF b, float pen)
{
    TZORLine& line = scene.Add<TZORLine>();
    line.AssignPoints(std::vector { scene.Pt(a.x(), a.y()), scene.Pt(b.x(), b.y()) });
    line.SetColor(Blue);
    line.SetPenWidth(pen);
    return line;
}

// The point's circle reaches half a millimetre of the model from the point (a fiftieth of that
// on paper at 1:50); the pen only thickens its ring. It shows in every screen state and never
// on paper.
TEST(Point, ACircleOfOneModelMillimetreOnScreenAndNothingOnPaper)
{
    const TTarget screens[] = { TTarget::Editor, TTarget::Preview, TTarget::Export };
    for (float pen : { 0.3f, 0.5f })
        for (int scale : Scales) {
            for (TTarget target : screens) {
                TScene scene(scale);
                PointAt(scene, 20, 20).SetPenWidth(pen);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(
                    testing::Message() << "pen " << pen << " scale " << scale << " " << Name(target));
                const QRect ink = InkBounds(image);
                const double outer = Pixels(Dpi, 1.0 / scale + pen);
                EXPECT_NEAR(ink.width(), outer, 2.0);
                EXPECT_NEAR(ink.height(), outer, 2.0);
                EXPECT_NEAR(ink.left() + ink.width() / 2.0, PixelF(Dpi, 20, 20).x(), 1.0);
                EXPECT_NEAR(ink.top() + ink.height() / 2.0, PixelF(Dpi, 20, 20).y(), 1.0);
                if (scale == 1) {
                    EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 20), Qt::white, 8));
                    EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20.5, 20), zor::ToQColor(Blue), 8));
                }
            }
            TScene scene(scale);
            PointAt(scene, 20, 20).SetPenWidth(pen);
            EXPECT_EQ(InkCount(scene.Render(TTarget::Print, Dpi)), 0);
        }
}

// On the line lies its colour, past its ends the paper (the ends are flat), beside it the paper.
TEST(Line, StrokesFromPointToPointWithFlatEndsOnBothTargets)
{
    constexpr double Pen = 0.6;
    for (int scale : Scales)
        for (TTarget target : BothTargets) {
            TScene scene(scale);
            LineFrom(scene, { 5, 20 }, { 35, 20 }, float(Pen));
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "scale " << scale << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            const QColor blue = zor::ToQColor(Blue);
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 20), blue, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 34.8, 20 + Pen / 4), blue, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 5.2, 20 - Pen / 4), blue, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 35 + Pen / 3, 20), Qt::white, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 5 - Pen / 3, 20), Qt::white, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 20 + Pen), Qt::white, 8));
        }
}

// A line of no length has nothing to stroke between flat ends.
TEST(Line, OfNoLengthLeavesThePageBlank)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        LineFrom(scene, { 20, 20 }, { 20, 20 }, 1.0f);
        EXPECT_EQ(InkCount(scene.Render(target, Dpi)), 0) << Name(target);
    }
}

// Line type 10 dashes 4 and skips 4 millimetres, on screen and on paper alike.
TEST(Line, DashesInMillimetresOfPaperOnBothTargets)
{
    for (int scale : Scales)
        for (TTarget target : BothTargets) {
            TScene scene(scale);
            LineFrom(scene, { 2, 20 }, { 36, 20 }, 0.5f).SetLineType(TZORineType::Dash4_4);
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "scale " << scale << " " << Name(target));
            const std::vector<PixelRun> runs = RowRuns(image, Pixel(Dpi, 0, 20).y());
            const std::vector<int> dashes = InkLengths(runs), gaps = GapLengths(runs);
            ASSERT_GE(dashes.size(), 4u);
            // The first dash may start part-way into the pattern.
            for (size_t i = 1; i + 1 < dashes.size(); ++i)
                EXPECT_NEAR(dashes[i], Pixels(Dpi, 4), 2.0);
            for (int gap : gaps)
                EXPECT_NEAR(gap, Pixels(Dpi, 4), 2.0);
        }
}

// In the editor a selected line shows the selection's dashes whatever its own line type; in
// the preview and on paper it is what it is.
TEST(Line, SelectionDashesOnlyInTheEditor)
{
    const struct {
        TTarget Target;
        bool Dashed;
    } cases[] = { { TTarget::Editor, true }, { TTarget::Preview, false }, { TTarget::Export, false },
        { TTarget::Print, false } };
    for (const auto& c : cases) {
        TScene scene;
        LineFrom(scene, { 2, 20 }, { 36, 20 }, 0.5f).SetItemState(TZORItemState::Selected);
        const QImage image = scene.Render(c.Target, Dpi);
        const size_t dashes = InkLengths(RowRuns(image, Pixel(Dpi, 0, 20).y())).size();
        EXPECT_EQ(dashes > 1, c.Dashed) << Name(c.Target);
    }
}

} // namespace
