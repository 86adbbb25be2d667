// Arcs.

#include "Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr double Pi = std::numbers::pi;
constexpr double Cx = 20, Cy = 20, R = 10;

TZORArc& ArcOf(TScene& scene, double start, double sweep)
{
    TZORArc& arc
        = scene.Add<TZORArc>(scene.Base(Cx), scene.Base(Cy), scene.Base(R), float(start), float(sweep));
    arc.SetColor(Blue);
    arc.SetPenWidth(0.5f);
    return arc;
}

// A point of the circle at an angle (radians, clockwise on screen from the positive X axis).
QPointF OnCircle(double angle)
{
    return { Cx + R * std::cos(angle), Cy + R * std::sin(angle) };
}

bool Inked(const QImage& image, QPointF mm)
{
    return ColourNear(image, Pixel(Dpi, mm.x(), mm.y()), zor::ToQColor(Blue), 8);
}

// Angles run clockwise on screen: from 0 over a quarter turn the arc runs through the lower
// right, backwards through the upper right. A sign turned anywhere puts it in the wrong quadrant.
TEST(Arc, RunsThroughTheQuadrantItsAnglesSay)
{
    const struct {
        double Start;
        double Sweep;
        double Inked;
        double Blank;
    } cases[] = {
        { 0, Pi / 2, Pi / 4, -Pi / 4 },
        { 0, -Pi / 2, -Pi / 4, Pi / 4 },
        { Pi, Pi / 2, 5 * Pi / 4, 3 * Pi / 4 },
        { Pi / 2, Pi, Pi, 0 },
    };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                ArcOf(scene, c.Start, c.Sweep);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << "start " << c.Start << " sweep " << c.Sweep << " scale "
                                                << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                EXPECT_TRUE(Inked(image, OnCircle(c.Inked)));
                EXPECT_FALSE(Inked(image, OnCircle(c.Blank)));
            }
}

// The line ends lie on the arc's start and end and along its tangent there, opening back along
// the arc; reversing the arc's direction turns both. Here the quarter from the right end (30, 20)
// to the bottom (20, 30), drawn both ways: heads 4 mm long, probed 2.5 mm back along the tangent
// and 0.6 mm outside the circle, where only a head can ink.
TEST(Arc, LineEndsFollowTheTangentAtEachEnd)
{
    const struct {
        const char* Name;
        double Start;
        double Sweep;
        QPointF FromHead;
        QPointF ToHead;
    } cases[] = {
        { "clockwise", 0, Pi / 2, { 30.6, 22.5 }, { 22.5, 30.6 } },
        { "counter-clockwise", Pi / 2, -Pi / 2, { 22.5, 30.6 }, { 30.6, 22.5 } },
    };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORArc& arc = ArcOf(scene, c.Start, c.Sweep);
                FilledArrows(arc);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << c.Name << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                EXPECT_TRUE(
                    ColourNear(image, Pixel(Dpi, c.FromHead.x(), c.FromHead.y()), zor::ToQColor(Red), 8));
                EXPECT_TRUE(
                    ColourNear(image, Pixel(Dpi, c.ToHead.x(), c.ToHead.y()), zor::ToQColor(Green), 8));
                // Nothing beyond the tips.
                EXPECT_EQ(InkCount(image, {}, QRect(Pixel(Dpi, 29.5, 14), Pixel(Dpi, 31.5, 18))), 0);
                EXPECT_EQ(InkCount(image, {}, QRect(Pixel(Dpi, 14, 29.5), Pixel(Dpi, 18, 31.5))), 0);
            }
}

// An arc of no sweep still shows its line ends.
TEST(Arc, OfNoSweepShowsItsEnds)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORArc& arc = ArcOf(scene, 0, 0);
        arc.SetToType(TZORTermType::FilledCircle);
        arc.SetToColor(Red);
        arc.SetSizeTo(2.0f);
        const QImage image = scene.Render(target, Dpi);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 30, 20), zor::ToQColor(Red), 8)) << Name(target);
        EXPECT_EQ(InkCount(image, {}, QRect(Pixel(Dpi, 10, 10), Pixel(Dpi, 28, 30))), 0) << Name(target);
    }
}

} // namespace
