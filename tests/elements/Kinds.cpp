#include "Kinds.h"

#include <numbers>

namespace zor::test {

namespace {

constexpr double Diag = std::numbers::sqrt2 / 2;

template <class T> T& Boxed(TScene& scene, double top = 10.0, double bottom = 30.0)
{
    return Through<T>(scene, { { 10, top }, { 30, bottom } });
}

TZOR2DItem& Square(TScene& scene)
{
    return Through<TZORPolygon>(scene, { { 10, 10 }, { 30, 10 }, { 30, 30 }, { 10, 30 } });
}

// A curve bulging to the right, closed (when filled) by the straight edge at x = 10. Its middle,
// where it runs straight down, lies at (29.5, 20).
TZOR2DItem& Bulge(TScene& scene)
{
    return Through<TZORBezier>(scene, { { 10, 10 }, { 36, 10 }, { 36, 30 }, { 10, 30 } });
}

// Three quarters of the disc: all but the upper-right quadrant.
TZOR2DItem& Slice(TScene& scene)
{
    TZORSector& sector = Boxed<TZORSector>(scene);
    sector.SetAngleStart(0.0f);
    sector.SetAngleGap(270.0f);
    return sector;
}

template <class T> TZORBaseItem& Diagonal(TScene& scene)
{
    return Through<T>(scene, { { 10, 10 }, { 30, 30 } });
}

TZORBaseItem& Arrow(TScene& scene)
{
    auto& arrow = static_cast<TZORArrowLine&>(Diagonal<TZORArrowLine>(scene));
    arrow.SetToType(TZORTermType::None);
    arrow.Update();
    return arrow;
}

TZORBaseItem& Chain(TScene& scene)
{
    return Through<TZORPolyLine>(scene, { { 10, 10 }, { 20, 14 }, { 30, 30 } });
}

TZORBaseItem& Curve(TScene& scene)
{
    return Through<TZORBezier>(scene, { { 10, 10 }, { 30, 10 }, { 10, 30 }, { 30, 30 } });
}

TZORBaseItem& Quarter(TScene& scene)
{
    constexpr float Up = 1.5f * std::numbers::pi_v<float>;
    return scene.Add<TZORArc>(
        scene.Base(10), scene.Base(30), scene.Base(20), Up, std::numbers::pi_v<float> / 2);
}

void DashedDimension(TScene& s)
{
    TZORDimStyle& style = *s.Label().GetActiveDimStyle();
    style.fDimLineType = TZORineType::Dash2_2;
    style.fExtLineType = TZORineType::Dot;
    style.fArrowOpen = 3;
    TZORDim& dim = s.Add<TZORDim>(TZRDimType::Vertical);
    dim.AssignPoints(std::vector { s.Pt(25, 5), s.Pt(25, 25), s.Pt(24, 5), s.Pt(24, 25), s.Pt(15, 5),
        s.Pt(15, 25), s.Pt(13, 5), s.Pt(13, 25) });
    dim.AssignText();
    dim.CalcValues(0);
}

void GaugeWithATurnedCaption(TScene& s)
{
    TZORLevel& level = s.Add<TZORLevel>();
    level.AssignPoints(std::vector { s.Pt(10, 5), s.Pt(30, 25) });
    level.SetLevelType(TZORLevelType::RingBottom);
    level.SetValue(50);
    level.SetLineType(TZORineType::Dash4_4);
    level.SetText(QStringLiteral("Tank"));
    level.SetAngle(TZORAngle::Angle90);
}

TZORPackage& DashedPackage(TScene& s)
{
    TZORPackage& box = s.Add<TZORPackage>();
    box.AssignPoints(std::vector { s.Pt(5, 5), s.Pt(35, 30) });
    box.SetLineType(TZORineType::Dash4_4);
    return box;
}

void PackageWithHoles(TScene& s)
{
    TZORPackage& box = DashedPackage(s);
    box.SetPenWidth(0.5f);
    box.SetStyle(TZORPackageStyle::HolesCaptions);
    box.AddDrill({ 50.0, 30.0, 20.0 });
    box.CalcValues(0);
}

void IsometricPackage(TScene& s)
{
    TZORPackage& box = DashedPackage(s);
    box.SetSizeHeight(40.0f);
    box.CalcValues(0);
}

} // namespace

const std::vector<TFigureKind>& FigureKinds()
{
    static const std::vector<TFigureKind> kinds = {
        { "rectangle", [](TScene& s) -> TZOR2DItem& { return Boxed<TZORRectangle>(s); }, { 20, 20 },
            { 10.25, 20 }, { 5, 20 } },
        { "polygon", Square, { 20, 20 }, { 10.25, 20 }, { 5, 20 } },
        { "circle", [](TScene& s) -> TZOR2DItem& { return Boxed<TZORCircle>(s); }, { 20, 20 }, { 10.25, 20 },
            { 5, 20 } },
        { "ellipse", [](TScene& s) -> TZOR2DItem& { return Boxed<TZOREllipse>(s, 14, 26); }, { 20, 20 },
            { 10.25, 20 }, { 5, 20 } },
        { "bezier", Bulge, { 18, 20 }, { 29.25, 20 }, { 33, 20 } },
        { "sector", Slice, { 16.5, 23.5 }, { 10.25, 20 }, { 5, 20 } },
    };
    return kinds;
}

const std::vector<TLineKind>& LineKinds()
{
    static const std::vector<TLineKind> kinds = {
        { "line", Diagonal<TZORLine>, { 20, 20 }, { Diag, -Diag } },
        { "arrow line", Arrow, { 20, 20 }, { Diag, -Diag } },
        { "polyline", Chain, { 15, 12 }, { 0.371391, -0.928477 } },
        { "bezier", Curve, { 20, 20 }, { 1, 0 } },
        { "arc", Quarter, { 10 + 20 * Diag, 30 - 20 * Diag }, { Diag, -Diag } },
    };
    return kinds;
}

const std::vector<TPredecessor>& Predecessors()
{
    static const std::vector<TPredecessor> cases = [] {
        std::vector<TPredecessor> all;
        for (const TFigureKind& kind : FigureKinds())
            all.push_back(
                { kind.Name, [&kind](TScene& s) { kind.Make(s).SetLineType(TZORineType::Dash4_4); } });
        for (const TLineKind& kind : LineKinds())
            all.push_back(
                { kind.Name, [&kind](TScene& s) { kind.Make(s).SetLineType(TZORineType::Dash4_4); } });
        all.push_back({ "dashed dimension", DashedDimension });
        all.push_back({ "gauge with a turned caption", GaugeWithATurnedCaption });
        all.push_back({ "dashed package with holes", PackageWithHoles });
        all.push_back({ "isometric package", IsometricPackage });
        return all;
    }();
    return cases;
}

} // namespace zor::test
