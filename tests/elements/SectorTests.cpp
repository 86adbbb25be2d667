// Sectors.

#include "Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

TZORSector& SliceOf(TScene& scene, float start, float sweep, bool filled)
{
    TZORSector& sector = scene.Add<TZORSector>();
    sector.AssignPoints(std::vector { scene.Pt(10, 10), scene.Pt(30, 30) });
    sector.SetAngleStart(start);
    sector.SetAngleGap(sweep);
    sector.SetColor(Blue);
    sector.SetPenWidth(0.4f);
    sector.SetFilled(filled);
    sector.SetBackColor(Red);
    return sector;
}

// Degrees run clockwise on screen: from 0 over 90 the slice covers the lower-right quadrant,
// from 270 over 90 the upper-right. A sign turned anywhere fills the wrong quadrant.
TEST(Sector, FillsTheQuadrantItsAnglesSay)
{
    const struct {
        float Start;
        float Sweep;
        QPointF Filled;
        QPointF Blank;
    } cases[] = {
        { 0, 90, { 25, 25 }, { 25, 15 } },
        { 270, 90, { 25, 15 }, { 25, 25 } },
        { 90, 90, { 15, 25 }, { 25, 25 } },
        { 0, -90, { 25, 15 }, { 25, 25 } },
    };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                SliceOf(scene, c.Start, c.Sweep, true);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << "start " << c.Start << " sweep " << c.Sweep << " scale "
                                                << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                EXPECT_TRUE(ColourNear(image, Pixel(Dpi, c.Filled.x(), c.Filled.y()), zor::ToQColor(Red), 8));
                EXPECT_TRUE(ColourNear(image, Pixel(Dpi, c.Blank.x(), c.Blank.y()), Qt::white, 8));
            }
}

// Exactly 360 degrees is the whole circle, without radii; anything short of it is a slice with
// both radii, and a sweep of 0 outlines a single radius. A sweep beyond a whole turn is kept as
// one turn, so it draws the circle too.
TEST(Sector, AWholeTurnIsTheCircleWithoutRadii)
{
    const struct {
        float Sweep;
        float Kept;
        bool Radius; // the radius at 0 degrees
        bool Rim; // the circle's lowest point
    } cases[] = { { 360.0f, 360.0f, false, true }, { 359.99f, 359.99f, true, true },
        { 0.0f, 0.0f, true, false }, { 400.0f, 360.0f, false, true }, { 720.0f, 360.0f, false, true } };
    for (const auto& c : cases)
        for (TTarget target : BothTargets) {
            TScene scene;
            EXPECT_EQ(SliceOf(scene, 0, c.Sweep, false).GetSweepAngle(), c.Kept);
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "sweep " << c.Sweep << " " << Name(target));
            const QColor blue = zor::ToQColor(Blue);
            EXPECT_EQ(ColourNear(image, Pixel(Dpi, 25, 20), blue, 8), c.Radius);
            EXPECT_EQ(ColourNear(image, Pixel(Dpi, 20, 30), blue, 8), c.Rim);
        }
}

// Each axis converts at its own resolution, so that a slice printed where the two differ stays
// round on paper (and as wide as the whole turn of the same sector).
TEST(Sector, StaysRoundOnAPrinterOfTwoResolutions)
{
    for (float sweep : { 270.0f, 360.0f }) {
        TScene scene;
        // Fill alone: a pen is as wide in pixels both ways, so thinner on paper along the finer axis.
        SliceOf(scene, 0, sweep, true).SetPenWidth(0.0f);
        const QImage image = scene.Print(300, 600);
        const SaveOnFailure keep(image, QStringLiteral("print"));
        const QRect ink = InkBounds(image);
        EXPECT_NEAR(ink.width() * 25.4 / 300.0, 20.0, 0.1) << sweep;
        EXPECT_NEAR(ink.height() * 25.4 / 600.0, 20.0, 0.1) << sweep;
    }
}

} // namespace
