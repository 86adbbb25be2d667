// What a dimension, a gauge and a package box leave to the element drawn after them.

#include "elements/Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

struct TBefore {
    const char* Name;
    std::function<void(TScene&)> Make;
};

// Each with dashes, turned text and heads of its own, clear of the row y = 35.
const TBefore Befores[] = {
    { "dashed dimension",
        [](TScene& s) {
            TZORDimStyle& style = *s.Label().GetActiveDimStyle();
            style.fDimLineType = TZORineType::Dash2_2;
            style.fExtLineType = TZORineType::Dot;
            style.fArrowOpen = 3;
            TZORDim& dim = s.Add<TZORDim>(TZRDimType::Vertical);
            dim.AssignPoints(std::vector { s.Pt(25, 5), s.Pt(25, 25), s.Pt(24, 5), s.Pt(24, 25), s.Pt(15, 5),
                s.Pt(15, 25), s.Pt(13, 5), s.Pt(13, 25) });
            dim.AssignText();
            dim.CalcValues(0);
        } },
    { "gauge with a turned caption",
        [](TScene& s) {
            TZORLevel& level = s.Add<TZORLevel>();
            level.AssignPoints(std::vector { s.Pt(10, 5), s.Pt(30, 25) });
            level.SetLevelType(TZORLevelType::RingBottom);
            level.SetValue(50);
            level.SetLineType(TZORineType::Dash4_4);
            level.SetText(QStringLiteral("Tank"));
            level.SetAngle(TZORAngle::Angle90);
        } },
    { "dashed package with holes",
        [](TScene& s) {
            TZORPackage& box = s.Add<TZORPackage>();
            box.AssignPoints(std::vector { s.Pt(5, 5), s.Pt(35, 30) });
            box.SetLineType(TZORineType::Dash4_4);
            box.SetPenWidth(0.5f);
            box.SetStyle(TZORPackageStyle::HolesCaptions);
            box.AddDrill({ 50.0, 30.0, 20.0 });
            box.CalcValues(0);
        } },
    { "isometric package",
        [](TScene& s) {
            TZORPackage& box = s.Add<TZORPackage>();
            box.AssignPoints(std::vector { s.Pt(5, 5), s.Pt(35, 30) });
            box.SetLineType(TZORineType::Dash4_4);
            box.SetSizeHeight(40.0f);
            box.CalcValues(0);
        } },
};

// Whatever dash, caps and pen these set, a solid line after them is one unbroken stroke with
// flat ends, on screen and on paper.
TEST(FigureState, NoDashOrCapReachesTheNextElement)
{
    const double pen = Pixels(Dpi, 0.5);
    for (const TBefore& before : Befores)
        for (TTarget target : BothTargets) {
            TScene scene;
            before.Make(scene);
            TZORLine& line = scene.Add<TZORLine>();
            line.AssignPoints(std::vector { scene.Pt(5, 35), scene.Pt(35, 35) });
            line.SetPenWidth(0.5f);
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << before.Name << " " << Name(target));
            const SaveOnFailure keep(image, QStringLiteral("state"));
            EXPECT_GT(InkCount(image, {}, QRect(0, 0, image.width(), Pixel(Dpi, 0, 32).y())), 0);
            const std::vector<int> ink = InkLengths(RowRuns(image, Pixel(Dpi, 0, 35).y()));
            ASSERT_EQ(ink.size(), 1u);
            EXPECT_NEAR(ink[0], Pixels(Dpi, 30), pen / 4);
        }
}

} // namespace
