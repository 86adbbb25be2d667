// Rectangles: the outline inset on screen, rounded corners.

#include "Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr double Pen = 1.0;

TZORRectangle& Box(TScene& scene, bool filled, double radius = 0)
{
    TZORRectangle& r = scene.Add<TZORRectangle>();
    r.AssignPoints(std::vector { scene.Pt(10, 10), scene.Pt(30, 30) });
    r.SetColor(Blue);
    r.SetPenWidth(float(Pen));
    r.SetFilled(filled);
    r.SetBackColor(Red);
    r.SetBaseRadio(int32_t(scene.Base(radius)));
    return r;
}

// Without a visible fill the screen keeps the outline inside the corners; a filled rectangle,
// and every rectangle on paper, centre the outline on the edges.
TEST(Rectangle, TheScreenInsetsTheOutlineOfAnUnfilledRectangle)
{
    const struct {
        bool Filled;
        TTarget Target;
        bool Outside;
    } cases[] = { { false, TTarget::Export, false }, { false, TTarget::Editor, false },
        { false, TTarget::Print, true }, { true, TTarget::Export, true }, { true, TTarget::Print, true } };
    for (const auto& c : cases)
        for (int scale : Scales) {
            TScene scene(scale);
            Box(scene, c.Filled);
            const QImage image = scene.Render(c.Target, Dpi);
            SCOPED_TRACE(
                testing::Message() << "filled " << c.Filled << " scale " << scale << " " << Name(c.Target));
            const SaveOnFailure keep(image, Name(c.Target));
            const QColor blue = zor::ToQColor(Blue);
            const QColor outside = c.Outside ? blue : QColor(Qt::white);
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 10 - Pen / 4, 20), outside, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 30 + Pen / 4, 20), outside, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 10 - Pen / 4), outside, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 30 + Pen / 4), outside, 8));
            const double inner = c.Outside ? Pen / 4 : 3 * Pen / 4;
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 10 + inner, 20), blue, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 30 - inner, 20), blue, 8));
        }
}

// A corner radius rounds all four corners alike: the corner itself stays white, the middle of
// each side is outlined, on both targets.
TEST(Rectangle, RoundsItsCorners)
{
    for (int scale : Scales)
        for (TTarget target : BothTargets) {
            TScene scene(scale);
            Box(scene, true, 4);
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "scale " << scale << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            for (QPointF corner :
                { QPointF(10.5, 10.5), QPointF(29.5, 10.5), QPointF(29.5, 29.5), QPointF(10.5, 29.5) })
                EXPECT_TRUE(ColourNear(image, Pixel(Dpi, corner.x(), corner.y()), Qt::white, 8));
            for (QPointF side : { QPointF(20, 10), QPointF(30, 20), QPointF(20, 30), QPointF(10, 20) })
                EXPECT_TRUE(ColourNear(image, Pixel(Dpi, side.x(), side.y()), zor::ToQColor(Blue), 8));
            // On the diagonal the corner of radius 4 lies 4·(1 − 1/√2) ≈ 1.17 mm in along each axis.
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 11.17, 11.17), zor::ToQColor(Blue), 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 20), zor::ToQColor(Red), 8));
        }
}

// A radius larger than half a side rounds the rectangle into a circle and no further: the
// corners never overlap into a shape that leaves holes in the fill.
TEST(Rectangle, ARadiusBeyondHalfASideStopsAtACircle)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        Box(scene, true, 30).SetPenWidth(0.0f);
        TScene circle;
        TZORCircle& c = circle.Add<TZORCircle>();
        c.AssignPoints(std::vector { circle.Pt(10, 10), circle.Pt(30, 30) });
        c.SetFilled(true);
        c.SetBackColor(Red);
        c.SetPenWidth(0.0f);
        const QImage image = scene.Render(target, Dpi);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 20), zor::ToQColor(Red), 8)) << Name(target);
        EXPECT_GT(InkIoU(image, circle.Render(target, Dpi)), 0.99) << Name(target);
    }
}

// A radius beyond half the shorter side shrinks to it on both axes: a 20 × 8 mm rectangle with a
// radius of 20 mm keeps round corners of 4 mm and straight sides between them, not an ellipse.
TEST(Rectangle, ARadiusTooLargeForAnOblongKeepsRoundCorners)
{
    constexpr int Dpi254 = 254; // 10 pixels a millimetre
    const struct {
        QPointF At;
        bool Filled;
    } probes[] = {
        { { 20, 14 }, true }, // the middle
        { { 15, 10.3 }, true }, // the top side, straight beyond its corner
        { { 25, 17.7 }, true }, // the bottom side
        { { 10.3, 14 }, true }, // the left side, which the corners leave no straight run
        { { 12, 11.5 }, true }, // inside the corner's quarter circle
        { { 10.5, 10.5 }, false }, // outside it
        { { 29.5, 17.5 }, false },
    };
    for (int scale : Scales)
        for (TTarget target : BothTargets) {
            TScene scene(scale);
            TZORRectangle& r = Box(scene, true, 20);
            r.AssignPoints(std::vector { scene.Pt(10, 10), scene.Pt(30, 18) });
            r.SetPenWidth(0.0f);
            const QImage image = scene.Render(target, Dpi254);
            SCOPED_TRACE(testing::Message() << "scale " << scale << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            for (const auto& p : probes)
                EXPECT_TRUE(ColourNear(image, Pixel(Dpi254, p.At.x(), p.At.y()),
                    p.Filled ? zor::ToQColor(Red) : QColor(Qt::white), 8))
                    << p.At.x() << ", " << p.At.y();
        }
}

} // namespace
