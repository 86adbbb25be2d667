// Polygons, circles and ellipses.

#include "Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

// The circle and the ellipse are one oval: given the same two points they paint alike.
TEST(Oval, CircleAndEllipseOfTheSamePointsPaintAlike)
{
    for (TTarget target : BothTargets) {
        QImage images[2];
        for (int i = 0; i < 2; ++i) {
            TScene scene;
            TZOR2DItem& item = i == 0 ? static_cast<TZOR2DItem&>(scene.Add<TZORCircle>())
                                      : static_cast<TZOR2DItem&>(scene.Add<TZOREllipse>());
            item.AssignPoints(std::vector { scene.Pt(10, 10), scene.Pt(30, 30) });
            item.SetFilled(true);
            item.SetBackColor(Red);
            item.SetLineType(TZORineType::Dash2_1);
            images[i] = scene.Render(target, Dpi);
        }
        EXPECT_EQ(images[0], images[1]) << Name(target);
    }
}

// A polygon of one point, or none, encloses nothing: it neither draws nor prints, and reads no
// point it does not have. Two points enclose a line, drawn there and back.
TEST(Polygon, NeedsTwoPoints)
{
    const struct {
        std::vector<QPointF> Points;
        bool Ink;
    } cases[] = { { {}, false }, { { { 20, 20 } }, false }, { { { 10, 20 }, { 30, 20 } }, true } };
    for (const auto& c : cases)
        for (TTarget target : BothTargets) {
            TScene scene;
            TZORPolygon& polygon = scene.Add<TZORPolygon>();
            std::vector<TZORPto> points;
            for (const QPointF& p : c.Points)
                points.push_back(scene.Pt(p.x(), p.y()));
            polygon.AssignPoints(points);
            polygon.SetFilled(true);
            polygon.SetBackColor(Red);
            polygon.SetPenWidth(0.5f);
            const QImage image = scene.Render(target, Dpi);
            EXPECT_EQ(InkCount(image) > 0, c.Ink) << c.Points.size() << " " << Name(target);
        }
}

// A concave polygon fills its own inside only.
TEST(Polygon, FillsAConcaveOutline)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORPolygon& polygon = scene.Add<TZORPolygon>();
        polygon.AssignPoints(std::vector {
            scene.Pt(10, 10), scene.Pt(30, 10), scene.Pt(20, 20), scene.Pt(30, 30), scene.Pt(10, 30) });
        polygon.SetFilled(true);
        polygon.SetBackColor(Red);
        polygon.SetPenWidth(0.0f);
        const QImage image = scene.Render(target, Dpi);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 15, 20), zor::ToQColor(Red), 8)) << Name(target);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 27, 20), Qt::white, 8)) << Name(target);
    }
}

} // namespace
