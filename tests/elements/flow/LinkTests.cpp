// Links between two rectangles: ink along each kind's course, markers at both ends pointing along
// it on the screen and on paper alike, and nothing at all once an end's element is gone.

#include "../RenderHarness.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

#include <cmath>

using zor::Ord;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr TAlphaColor Red { 0xFFFF0000 };
constexpr TAlphaColor Green { 0xFF00A000 };
constexpr TAlphaColor Blue { 0xFF0000FF };

// Two rectangles on the label, which the scene does not draw: (4, 4)–(12, 10) and (26, 24)–
// (36, 34) mm. The link runs from the first's bottom-right corner (12, 10) to the second's
// top-left (26, 24), blue, with filled arrows 4 mm long: red at the start, green at the end.
struct TLinkScene {
    TScene scene;
    TZORRectangle* from = Box(4, 4, 12, 10);
    TZORRectangle* to = Box(26, 24, 36, 34);
    TZORLink& link = scene.Add<TZORLink>();

    explicit TLinkScene(TZORinkType type, int scale = 1)
        : scene(scale)
    {
        scene.Label().Settings().SetTermSize(4.0f);
        link.SetLinkType(type);
        link.SetFromID(from->GetID());
        link.SetToID(to->GetID());
        link.SetFromIndex(2);
        link.SetToIndex(1);
        link.SetColor(Blue);
        link.SetPenWidth(0.4f);
        link.SetFromType(TZORTermType::FilledArrow);
        link.SetToType(TZORTermType::FilledArrow);
        link.SetFromColor(Red);
        link.SetToColor(Green);
    }

    TZORRectangle* Box(double l, double t, double r, double b)
    {
        auto box = std::make_unique<TZORRectangle>(&scene.Label(), false);
        box->AssignPoints(std::vector<TZORPto> { scene.Pt(l, t), scene.Pt(r, b) });
        return static_cast<TZORRectangle*>(scene.Label().AddItem(std::move(box)));
    }

    void LinkPoints(std::initializer_list<QPointF> mm)
    {
        int32_t i = 0;
        for (const QPointF& p : mm) {
            const TZORPto at = scene.Pt(p.x(), p.y());
            link.SetBasePoint(++i, at.X, at.Y, false);
        }
    }
};

QPointF Bezier(const QPointF& p0, const QPointF& c1, const QPointF& c2, const QPointF& p1, double t)
{
    const double u = 1.0 - t;
    return p0 * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + p1 * (t * t * t);
}

const QPointF Start(12, 10), End(26, 24);
// The arc of kind 4 passes through this point of the circle about (12, 24) of radius 14.
const QPointF ArcVia(12 + 14 / std::sqrt(2.0), 24 - 14 / std::sqrt(2.0));
// The curve of kind 5 leaves the start to the right and enters the end from the left.
const double Reach = std::hypot(14.0, 14.0) / 2;
const QPointF CurveQuarter = Bezier(Start, Start + QPointF(Reach, 0), End - QPointF(Reach, 0), End, 0.25);

// Where each kind inks and leaves paper, and the unit direction from which its course enters
// the start's and the end's marker (paper millimetres).
struct TKindCase {
    TZORinkType Type;
    std::vector<QPointF> On;
    std::vector<QPointF> Off;
    QPointF StartDir; // along the course away from the start
    QPointF EndDir; // along the course away from the end
};

std::vector<TKindCase> KindCases()
{
    const double d = 1 / std::sqrt(2.0);
    const QPointF toPoint(7 / std::hypot(7.0, 6.0), -6 / std::hypot(7.0, 6.0));
    using T = TZORinkType;
    return {
        { T::Straight, { { 19, 17 } }, { { 19, 10 }, { 19, 24 } }, { d, d }, { -d, -d } },
        { T::Route1, { { 19, 10 }, { 26, 17 } }, { { 19, 17 } }, { 1, 0 }, { 0, -1 } },
        { T::Route2, { { 12, 17 }, { 19, 24 } }, { { 19, 17 } }, { 0, 1 }, { -1, 0 } },
        { T::Route3, { { 17.5, 10 }, { 19, 17 }, { 20.5, 24 } }, { { 26, 17 }, { 12, 17 } }, { 1, 0 },
            { -1, 0 } },
        { T::Arc, { ArcVia }, { { 19, 17 } }, { 1, 0 }, { 0, -1 } },
        { T::Curve, { CurveQuarter, { 19, 17 } }, { { 16.97, 14.97 } }, { 1, 0 }, { -1, 0 } },
        { T::Points, { { 19, 17 }, { 17.25, 5.5 } }, { { 26, 17 } }, toPoint, -toPoint },
        // Rounded corners: the square corners of the two-bend route stay blank.
        { T::Spline, { { 19, 17 }, { 12 + 7 * d, 17 - 7 * d } }, { { 19, 10 }, { 19, 24 } }, { 1, 0 },
            { -1, 0 } },
    };
}

void PlaceKind(TLinkScene& s, TZORinkType type)
{
    if (type == TZORinkType::Arc)
        s.LinkPoints({ ArcVia });
    if (type == TZORinkType::Points)
        s.LinkPoints({ { 19, 4 }, { 19, 30 } });
}

bool Near(const QImage& image, const QPointF& mm, TAlphaColor c)
{
    return ColourNear(image, Pixel(Dpi, mm.x(), mm.y()), zor::ToQColor(c), 40);
}

} // namespace

TEST(LinkKinds, EachKindInksItsCourseWithMarkersAtBothEnds)
{
    for (const TKindCase& c : KindCases())
        for (const int scale : Scales)
            for (const TTarget target : BothTargets) {
                SCOPED_TRACE(testing::Message()
                    << "kind " << int(zor::Ord(c.Type)) << ", scale " << scale << ", " << Name(target));
                TLinkScene s(c.Type, scale);
                PlaceKind(s, c.Type);
                s.link.CalcValues(0);
                const QImage image = s.scene.Render(target, Dpi);
                const SaveOnFailure keep(image, Name(target));
                for (const QPointF& p : c.On)
                    EXPECT_TRUE(Near(image, p, Blue)) << "on " << p.x() << ", " << p.y();
                for (const QPointF& p : c.Off)
                    EXPECT_TRUE(ColourNear(image, Pixel(Dpi, p.x(), p.y()), Qt::white, 40))
                        << "off " << p.x() << ", " << p.y();
                // Each arrow lies along the course into its end, and not behind it.
                EXPECT_TRUE(Near(image, Start + c.StartDir * 2.5, Red));
                EXPECT_TRUE(Near(image, End + c.EndDir * 2.5, Green));
                EXPECT_TRUE(ColourNear(image,
                    Pixel(Dpi, (Start - c.StartDir * 1.5).x(), (Start - c.StartDir * 1.5).y()), Qt::white,
                    40));
                EXPECT_TRUE(ColourNear(image,
                    Pixel(Dpi, (End - c.EndDir * 1.5).x(), (End - c.EndDir * 1.5).y()), Qt::white, 40));
            }
}

// One course and one marker rule: the paper shows what the screen shows.
TEST(LinkKinds, ScreenAndPaperAgreeForEveryKind)
{
    for (const TKindCase& c : KindCases()) {
        TLinkScene s(c.Type);
        PlaceKind(s, c.Type);
        s.link.SetFromType(TZORTermType::Diamond);
        s.link.SetToType(TZORTermType::OpenArrow);
        const TScreenAndPaper both(s.scene, Dpi, 2, QStringLiteral("link"));
        EXPECT_GT(both.Near, 0.99) << int(zor::Ord(c.Type));
    }
}

// The ends follow the rectangles as they stand when the link paints, though it was laid out
// before they moved.
TEST(LinkKinds, TheCourseFollowsAMovedElement)
{
    for (const TTarget target : BothTargets) {
        TLinkScene s(TZORinkType::Straight);
        s.link.CalcValues(0);
        s.to->AssignPoints(std::vector<TZORPto> { s.scene.Pt(26, 30), s.scene.Pt(36, 36) });
        const QImage image = s.scene.Render(target, Dpi);
        EXPECT_TRUE(Near(image, { 19, 20 }, Blue)) << Name(target);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 19, 17), Qt::white, 40)) << Name(target);
    }
}

TEST(LinkKinds, ALinkWhoseEndElementIsGoneDrawsNothing)
{
    for (const bool fromGone : { true, false })
        for (const TTarget target : { TTarget::Editor, TTarget::Export, TTarget::Print }) {
            TLinkScene s(TZORinkType::Route3);
            s.link.CalcValues(0);
            s.scene.Label().DeleteItem(fromGone ? s.from : s.to);
            EXPECT_EQ(InkCount(s.scene.Render(target, Dpi)), 0)
                << Name(target) << (fromGone ? " from" : " to");
        }
}

// Kinds beyond the spline are kept as read and draw nothing, markers included.
TEST(LinkKinds, AnUnknownKindDrawsNothing)
{
    for (const TTarget target : BothTargets) {
        TLinkScene s(TZORinkType(8));
        EXPECT_EQ(InkCount(s.scene.Render(target, Dpi)), 0) << Name(target);
    }
}
