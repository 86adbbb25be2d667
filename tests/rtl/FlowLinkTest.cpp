// The model of flowchart nodes and links: node settings kept in range, link routes, the courses
// of the eight link kinds, the directions in which links leave their anchors, and a course found
// without changing the link.

#include "KindStubs.h"
#include "Zor.Flow.h"
#include "Zor.Json.h"
#include "Zor.Version.h"

#include <gtest/gtest.h>

#include <cmath>

using zor::AnchorDirection;
using zor::LinkCourse;
using zor::RoutedPointCount;
using zor::RouteLink;
using zor::TJsonObject;

using namespace zor::test;

namespace {

// A point of a cubic curve.
QPointF Bezier(const QPointF& p0, const QPointF& c1, const QPointF& c2, const QPointF& p1, double t)
{
    const double u = 1.0 - t;
    return p0 * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + p1 * (t * t * t);
}

// Points along the course, a few per curve, or the corners of a polyline.
std::vector<QPointF> Trace(const zor::TZORLinkCourse& course)
{
    if (!course.Cubic)
        return course.Points;
    std::vector<QPointF> trace;
    const auto& p = course.Points;
    for (size_t i = 0; i + 3 < p.size(); i += 3)
        for (int k = 0; k <= 8; ++k)
            trace.push_back(Bezier(p[i], p[i + 1], p[i + 2], p[i + 3], k / 8.0));
    return trace;
}

// Two boxes to join: the first from (0, 0) to (10000, 5000), the second from (50000, 20000) to
// (60000, 30000), the link from the first's bottom-right corner to the second's top-left.
struct TJoined {
    TKindLabel label;
    TZORBaseRectangle* from = Stub<TZORBaseRectangle>(label);
    TZORBaseRectangle* to = Stub<TZORBaseRectangle>(label);
    TZORBaseLink* link = Stub<TZORBaseLink>(label);

    explicit TJoined(TZORinkType type)
    {
        SetPoints(*from, { { 0, 0 }, { 10000, 5000 } });
        SetPoints(*to, { { 50000, 20000 }, { 60000, 30000 } });
        link->SetFromID(from->GetID());
        link->SetToID(to->GetID());
        link->SetFromIndex(2);
        link->SetToIndex(1);
        link->SetLinkType(type);
    }
};

// Two flowchart nodes, the first given from its bottom-right corner, from (0, 0) to (40000, 20000),
// the second from (100000, 0) to (140000, 20000), and a link from the first to the second's left
// side.
struct TTwoNodes {
    TKindLabel label;
    TZORBaseFlow* node = Stub<TZORBaseFlow>(label);
    TZORBaseFlow* other = Stub<TZORBaseFlow>(label);
    TZORBaseLink* link = Stub<TZORBaseLink>(label);

    TTwoNodes()
    {
        SetPoints(*node, { { 40000, 20000 }, { 0, 0 } });
        SetPoints(*other, { { 100000, 0 }, { 140000, 20000 } });
        link->SetFromID(node->GetID());
        link->SetToID(other->GetID());
        link->SetToIndex(TZORBaseFlow::LeftAnchor);
    }
};

const TZORPto Start { 0, 0 };
const TZORPto End { 40000, 20000 };

} // namespace

// --- Flowchart node ---

TEST(FlowNode, SettingsReadFromAFileAreBroughtIntoRange)
{
    TKindLabel label;
    auto* flow = static_cast<TZORBaseFlow*>(label.AddReadJson(
        std::make_unique<TStub<TZORBaseFlow>>(&label, false), ZORFileVersion,
        TJsonObject::Parse(QStringLiteral(
            R"({"PaddingX":-3,"PaddingY":5000,"ScaleX":50,"ShadowDX":1e9,"ShadowDY":-2.5,"Gradient":9})"))));
    EXPECT_EQ(flow->GetPaddingX(), 0.0f);
    EXPECT_EQ(flow->GetPaddingY(), TZORBaseFlow::MaxPadding);
    EXPECT_EQ(flow->GetScaleX(), TZORBaseFlow::MaxSpacing);
    EXPECT_EQ(flow->GetShadowDX(), TZORBaseFlow::MaxShadow);
    EXPECT_EQ(flow->GetShadowDY(), -2.5f);
    EXPECT_EQ(flow->GetGradient(), TZORGradient(9)); // kept as read
}

// The text box is the node less its paddings, in paper micrometres at any drawing scale and
// whichever way round the corners were given.
TEST(FlowNode, TheTextBoxIsTheBoxLessItsPaddings)
{
    TKindLabel label;
    label.Measure().SetDrawScale(10);
    auto* flow = Stub<TZORBaseFlow>(label);
    flow->AssignPoints(std::vector<TZORPto> { { 400000, 300000 }, { 0, 0 } });
    flow->SetPaddingX(1.5f);
    flow->SetPaddingY(0.25f);
    EXPECT_EQ(flow->BaseScaleWidth(), 40000);
    EXPECT_EQ(flow->TextWidth(), 37000);
    EXPECT_EQ(flow->TextHeight(), 29500);
    flow->SetPaddingX(25.0f);
    EXPECT_LT(flow->TextWidth(), 0);
}

// --- Link routes ---

TEST(LinkRoute, EachRoutedKindBendsWhereItsNameSays)
{
    struct TCase {
        TZORinkType type;
        bool acrossFirst;
        std::vector<TZORPto> points;
    };
    const TCase cases[] = {
        { TZORinkType::Route1, false, { { 40000, 0 } } },
        { TZORinkType::Route2, true, { { 0, 20000 } } },
        { TZORinkType::Route3, true, { { 20000, 0 }, { 20000, 20000 } } },
        { TZORinkType::Route3, false, { { 0, 10000 }, { 40000, 10000 } } },
        { TZORinkType::Straight, true, {} },
        { TZORinkType::Points, true, {} },
        { TZORinkType(12), true, {} },
    };
    for (const TCase& c : cases)
        EXPECT_EQ(zor::RouteLink(c.type, Start, End, c.acrossFirst), c.points)
            << int(c.type) << (c.acrossFirst ? " across" : " down");
}

// The spline is the two-bend route with its corners rounded: it leaves along X, enters along X,
// keeps within the ends' box and passes the middle of its middle leg.
TEST(LinkRoute, TheSplineRoundsTheTwoBendRoute)
{
    for (const bool across : { true, false }) {
        const std::vector<TZORPto> points = zor::RouteLink(TZORinkType::Spline, Start, End, across);
        ASSERT_EQ(points.size(), 14u);
        ASSERT_EQ(zor::RoutedPointCount(TZORinkType::Spline), 14);
        const zor::TZORLinkCourse course = zor::LinkCourse(
            TZORinkType::Spline, Start, End, {}, across ? QPointF(1, 0) : QPointF(0, 1), {});
        ASSERT_TRUE(course.Cubic);
        ASSERT_EQ(course.Points.size(), 16u);
        const QPointF first = course.StartFrom(), last = course.EndFrom();
        if (across) {
            EXPECT_EQ(first.y(), 0.0);
            EXPECT_EQ(last.y(), 20000.0);
        } else {
            EXPECT_EQ(first.x(), 0.0);
            EXPECT_EQ(last.x(), 40000.0);
        }
        bool middle = false;
        for (const QPointF& p : Trace(course)) {
            EXPECT_TRUE(p.x() >= -0.5 && p.x() <= 40000.5 && p.y() >= -0.5 && p.y() <= 20000.5)
                << p.x() << ", " << p.y();
            middle = middle || std::hypot(p.x() - 20000, p.y() - 10000) < 50;
        }
        EXPECT_TRUE(middle);
    }
}

// Ends on one line leave the middle leg without length: the spline is then a straight run, still
// of fourteen points.
TEST(LinkRoute, ASplineBetweenEndsInLineIsStraight)
{
    const std::vector<TZORPto> points = zor::RouteLink(TZORinkType::Spline, Start, { 40000, 0 }, true);
    ASSERT_EQ(points.size(), 14u);
    for (const TZORPto& p : points)
        EXPECT_EQ(p.Y, 0);
}

// --- Courses ---

TEST(LinkCourse, AnArcPassesThroughItsLinkPointOnItsCircle)
{
    // A half circle about (10000, 10000) of radius 10000, over the top or under the bottom.
    for (const int64_t viaY : { int64_t { 0 }, int64_t { 20000 } }) {
        const std::vector<TZORPto> via { { 10000, viaY } };
        const zor::TZORLinkCourse course
            = zor::LinkCourse(TZORinkType::Arc, { 0, 10000 }, { 20000, 10000 }, via, {}, {});
        ASSERT_TRUE(course.Cubic);
        EXPECT_EQ(course.Points.front(), QPointF(0, 10000));
        EXPECT_EQ(course.Points.back(), QPointF(20000, 10000));
        bool passes = false;
        for (const QPointF& p : Trace(course)) {
            EXPECT_NEAR(std::hypot(p.x() - 10000, p.y() - 10000), 10000, 5);
            EXPECT_TRUE(viaY == 0 ? p.y() <= 10000.5 : p.y() >= 9999.5) << p.x() << ", " << p.y();
            passes = passes || std::hypot(p.x() - 10000, p.y() - double(viaY)) < 5;
        }
        EXPECT_TRUE(passes);
        // The markers point along the tangent: straight up or down into each end.
        EXPECT_NEAR(course.StartFrom().x(), 0, 1e-6);
        EXPECT_NEAR(course.EndFrom().x(), 20000, 1e-6);
    }
}

// Without a point to pass through, or through a point on the line, the arc is its chord.
TEST(LinkCourse, AnArcWithoutThreePointsOfACircleIsItsChord)
{
    const std::vector<TZORPto> none, inLine { { 10000, 10000 } }, atStart { { 0, 10000 } };
    for (const auto* via : { &none, &inLine, &atStart }) {
        const zor::TZORLinkCourse course
            = zor::LinkCourse(TZORinkType::Arc, { 0, 10000 }, { 20000, 10000 }, *via, {}, {});
        EXPECT_FALSE(course.Cubic);
        EXPECT_EQ(course.Points, (std::vector<QPointF> { { 0, 10000 }, { 20000, 10000 } }));
    }
}

TEST(LinkCourse, TheCurveLeavesEachEndAlongItsDirection)
{
    const zor::TZORLinkCourse course
        = zor::LinkCourse(TZORinkType::Curve, Start, End, {}, QPointF(1, 0), QPointF(0, -1));
    const double half = std::hypot(40000, 20000) / 2;
    ASSERT_EQ(course.Points.size(), 4u);
    EXPECT_EQ(course.Points[1], QPointF(half, 0));
    EXPECT_EQ(course.Points[2], QPointF(40000, 20000 - half));
    // Without directions the control points head for the other end: a straight curve.
    QPointF c1, c2;
    zor::CurvePoints({ 0, 0 }, { 40000, 0 }, {}, {}, c1, c2);
    EXPECT_EQ(c1, QPointF(20000, 0));
    EXPECT_EQ(c2, QPointF(20000, 0));
}

TEST(LinkCourse, PolylinesRunThroughTheirPointsAndKindsBeyondTheSplineHaveNone)
{
    const std::vector<TZORPto> given { { 5000, 7000 }, { 9000, 1000 } };
    EXPECT_EQ(zor::LinkCourse(TZORinkType::Points, Start, End, given, {}, {}).Points,
        (std::vector<QPointF> { { 0, 0 }, { 5000, 7000 }, { 9000, 1000 }, { 40000, 20000 } }));
    EXPECT_EQ(zor::LinkCourse(TZORinkType::Points, Start, End, {}, {}, {}).Points,
        (std::vector<QPointF> { { 0, 0 }, { 40000, 20000 } }));
    // Routed kinds follow their route, not stale points.
    EXPECT_EQ(zor::LinkCourse(TZORinkType::Route1, Start, End, given, {}, {}).Points,
        (std::vector<QPointF> { { 0, 0 }, { 40000, 0 }, { 40000, 20000 } }));
    EXPECT_TRUE(zor::LinkCourse(TZORinkType(8), Start, End, given, {}, {}).Points.empty());
}

// Markers point along the first and the last piece of the course that has length.
TEST(LinkCourse, MarkersLookPastRepeatedPoints)
{
    zor::TZORLinkCourse course;
    course.Points = { { 0, 0 }, { 0, 0 }, { 10, 5 }, { 30, 5 }, { 30, 5 } };
    EXPECT_EQ(course.StartFrom(), QPointF(10, 5));
    EXPECT_EQ(course.EndFrom(), QPointF(10, 5));
    course.Points = { { 7, 7 }, { 7, 7 } };
    EXPECT_EQ(course.StartFrom(), QPointF(7, 7));
    EXPECT_EQ(course.EndFrom(), QPointF(7, 7));
}

// --- Anchor directions ---

TEST(LinkDirection, ALinkLeavesSquareOutOfTheSideItsAnchorIsOn)
{
    const TZORRect box { 0, 0, 10000, 5000 };
    struct TCase {
        const char* name;
        TZORRect bounds;
        QPointF anchor;
        QPointF toward;
        QPointF dir;
    };
    const TCase cases[] = {
        { "left side", box, { 0, 2500 }, { 50000, 2500 }, { -1, 0 } },
        { "bottom side", box, { 5000, 5000 }, { 5000, -9000 }, { 0, 1 } },
        { "corner, other end far right", box, { 10000, 5000 }, { 50000, 20000 }, { 1, 0 } },
        { "corner, other end far below", box, { 10000, 5000 }, { 12000, 50000 }, { 0, 1 } },
        { "reversed box", { 10000, 5000, 0, 0 }, { 0, 2500 }, { 50000, 2500 }, { -1, 0 } },
        { "point element", { 3, 3, 3, 3 }, { 3, 3 }, { -40, 10 }, { -1, 0 } },
        { "point element, other end on it", { 3, 3, 3, 3 }, { 3, 3 }, { 3, 3 }, { 0, 0 } },
    };
    for (const TCase& c : cases)
        EXPECT_EQ(zor::AnchorDirection(c.bounds, c.anchor, c.toward), c.dir) << c.name;
}

// --- Links on a label ---

TEST(LinkOnALabel, EveryKindRunsFromAnchorToAnchor)
{
    for (int kind = 0; kind <= 7; ++kind) {
        TJoined j { TZORinkType(kind) };
        j.link->SetBasePoint(1, 30000, 0, false);
        const std::optional<zor::TZORLinkCourse> course = j.link->Course();
        ASSERT_TRUE(course) << kind;
        EXPECT_EQ(course->Points.front(), QPointF(10000, 5000)) << kind;
        EXPECT_EQ(course->Points.back(), QPointF(50000, 20000)) << kind;
        EXPECT_EQ(course->Cubic, kind == 4 || kind == 5 || kind == 7) << kind;
        if (course->Cubic) {
            EXPECT_EQ((course->Points.size() - 1) % 3, 0u) << kind;
        }
    }
}

// A link read with a spline of any number of points still draws its five curves.
TEST(LinkOnALabel, ASplineDoesNotTrustItsStoredPointCount)
{
    for (const int stored : { 0, 3, 14, 20 }) {
        TJoined j { TZORinkType::Spline };
        for (int i = 1; i <= stored; ++i)
            j.link->SetBasePoint(i, 1000 * i, 0, false);
        const std::optional<zor::TZORLinkCourse> course = j.link->Course();
        ASSERT_TRUE(course);
        EXPECT_EQ(course->Points.size(), 16u) << stored;
    }
}

// A flowchart node is joined in the middle of its sides, whichever way its corners were given.
TEST(LinkOnALabel, FlowNodesAreJoinedInTheMiddleOfTheirSides)
{
    TTwoNodes j;
    TZORBaseLink* link = j.link;
    const std::pair<int16_t, TZORPto> sides[] = {
        { TZORBaseFlow::TopAnchor, { 20000, 0 } },
        { TZORBaseFlow::RightAnchor, { 40000, 10000 } },
        { TZORBaseFlow::BottomAnchor, { 20000, 20000 } },
        { TZORBaseFlow::LeftAnchor, { 0, 10000 } },
    };
    for (const auto& [anchor, at] : sides) {
        link->SetFromIndex(anchor);
        ASSERT_TRUE(link->CalcLinkPoints(false)) << anchor;
        EXPECT_EQ(link->GetStartPoint(), at) << anchor;
        EXPECT_EQ(link->GetEndPoint(), (TZORPto { 100000, 10000 }));
    }
    link->SetFromIndex(5);
    EXPECT_FALSE(link->CalcLinkPoints(false));
}

// A link may join a node anywhere along the side of its anchor, and stays at its share of the
// side when the node moves and grows.
TEST(LinkOnALabel, AnEndLiesAlongItsSideAndKeepsItsShareWhenTheNodeMoves)
{
    TTwoNodes j;
    TZORBaseFlow* node = j.node;
    TZORBaseLink* link = j.link;
    link->SetToAlong(0.75f);
    struct TCase {
        int16_t anchor;
        float along;
        TZORPto at; // on the node as first placed
        TZORPto moved; // on the node moved by (5000, 1000) and twice as wide and tall
    };
    const TCase cases[] = {
        { TZORBaseFlow::TopAnchor, 0.25f, { 10000, 0 }, { 25000, 1000 } },
        { TZORBaseFlow::TopAnchor, 0.0f, { 0, 0 }, { 5000, 1000 } },
        { TZORBaseFlow::RightAnchor, 0.2f, { 40000, 4000 }, { 85000, 9000 } },
        { TZORBaseFlow::BottomAnchor, 1.0f, { 40000, 20000 }, { 85000, 41000 } },
        { TZORBaseFlow::BottomAnchor, 0.5f, { 20000, 20000 }, { 45000, 41000 } },
        { TZORBaseFlow::LeftAnchor, 0.9f, { 0, 18000 }, { 5000, 37000 } },
    };
    for (const TCase& c : cases) {
        SetPoints(*node, { { 40000, 20000 }, { 0, 0 } });
        link->SetFromIndex(c.anchor);
        link->SetFromAlong(c.along);
        ASSERT_TRUE(link->CalcLinkPoints(false));
        EXPECT_EQ(link->GetStartPoint(), c.at) << c.anchor << " " << c.along;
        EXPECT_EQ(link->GetEndPoint(), (TZORPto { 100000, 15000 }));
        SetPoints(*node, { { 5000, 1000 }, { 85000, 41000 } });
        ASSERT_TRUE(link->CalcLinkPoints(false));
        EXPECT_EQ(link->GetStartPoint(), c.moved) << c.anchor << " " << c.along;
    }
    // On an element whose anchors are points the place along a side means nothing.
    TJoined boxes { TZORinkType::Straight };
    boxes.link->SetFromAlong(0.1f);
    boxes.link->SetToAlong(0.9f);
    ASSERT_TRUE(boxes.link->CalcLinkPoints(false));
    EXPECT_EQ(boxes.link->GetStartPoint(), (TZORPto { 10000, 5000 }));
    EXPECT_EQ(boxes.link->GetEndPoint(), (TZORPto { 50000, 20000 }));
}

// The place along a side is kept within the side; JSON leaves out the middle, so that a label
// whose links join the middles writes what it wrote before the place was kept.
TEST(LinkOnALabel, ThePlaceAlongASideIsKeptInRangeAndTheMiddleIsLeftOutOfJson)
{
    TKindLabel label;
    auto* link
        = static_cast<TZORBaseLink*>(label.AddReadJson(std::make_unique<TStub<TZORBaseLink>>(&label, false),
            ZORFileVersion, TJsonObject::Parse(QStringLiteral(R"({"FromAlong":7,"ToAlong":-0.5})"))));
    EXPECT_EQ(link->GetFromAlong(), 1.0f);
    EXPECT_EQ(link->GetToAlong(), 0.0f);
    link->SetFromAlong(std::nanf(""));
    EXPECT_EQ(link->GetFromAlong(), TZORBaseLink::MiddleAlong);
    const TJsonObject json = link->WriteJson();
    EXPECT_FALSE(json.Contains(QStringLiteral("FromAlong")));
    EXPECT_EQ(json.F("ToAlong", -1.0), 0.0);
}

TEST(LinkOnALabel, AMissingEndOrAnUnknownKindHasNoCourse)
{
    TJoined gone { TZORinkType::Straight };
    gone.label.DeleteItem(gone.to);
    EXPECT_FALSE(gone.link->Course());
    TJoined unknown { TZORinkType(8) };
    EXPECT_FALSE(unknown.link->Course());
}

// Painters ask for the course while a print job may read the same link: asking changes nothing,
// yet the course follows an element that moved since the link was last laid out.
TEST(LinkOnALabel, TheCourseFollowsMovedElementsWithoutChangingTheLink)
{
    TJoined j { TZORinkType::Route3 };
    j.link->CalcValues(0);
    const QByteArray before = Record(*j.link);
    const TZORPto end = j.link->GetEndPoint();
    SetPoints(*j.to, { { 70000, 40000 }, { 80000, 50000 } });
    const std::optional<zor::TZORLinkCourse> course = j.link->Course();
    ASSERT_TRUE(course);
    EXPECT_EQ(course->Points.back(), QPointF(70000, 40000));
    EXPECT_EQ(Record(*j.link), before);
    EXPECT_EQ(j.link->GetEndPoint(), end);
    // Laying out again takes the move in.
    j.link->CalcValues(0);
    EXPECT_EQ(j.link->GetEndPoint(), (TZORPto { 70000, 40000 }));
    EXPECT_EQ(j.link->GetLinkPoint(2), (TZORPto { 40000, 40000 }));
    EXPECT_EQ(j.link->GetBounds().Normalized().Right, 70000);
}

TEST(LinkOnALabel, MarkersTakeTheLabelsLineEndSize)
{
    TJoined j { TZORinkType::Straight };
    j.label.Settings().SetTermSize(2.5f);
    EXPECT_EQ(j.link->GetTermSize(), 2.5f);
    TStub<TZORBaseLink> orphan(nullptr, false);
    EXPECT_GT(orphan.GetTermSize(), 0.0f);
}
