#include "KindStubs.h"
#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using zor::TDraw2D;
using zor::TDraw2DCircle;
using zor::TJsonObject;

using namespace zor::test;

// --- Boxes ---

TEST(Boxes, SizesAndCentresWorkInTheLabelsUnit)
{
    TKindLabel label;
    label.SetUnits(TZORUnits::Centimetre);
    auto* r = Stub<TZORBaseRectangle>(label);
    SetPoints(*r, { { 30000, 60000 }, { 10000, 20000 } }); // corners in any order
    EXPECT_EQ(r->GetPoint(1), (TZORPto { 10000, 20000 }));
    EXPECT_EQ(r->GetPoint(2), (TZORPto { 30000, 60000 }));
    EXPECT_FLOAT_EQ(r->GetWidth(), 2.0f);
    EXPECT_FLOAT_EQ(r->GetHeight(), 4.0f);
    EXPECT_FLOAT_EQ(r->GetCenterX(), 2.0f);

    r->SetCenterX(5.0f);
    EXPECT_EQ(r->GetPoint(1), (TZORPto { 40000, 20000 }));
    EXPECT_EQ(r->GetPoint(2), (TZORPto { 60000, 60000 }));
    r->SetHeight(1.5f);
    EXPECT_EQ(r->GetPoint(2), (TZORPto { 60000, 35000 }));
    r->SetWidth(-1.0f);
    EXPECT_EQ(r->GetBaseWidth(), 0);
    r->SetWidth(NAN);
    EXPECT_EQ(r->GetBaseWidth(), 0);
    EXPECT_EQ(r->GetBounds(), (TZORRect { 40000, 20000, 40000, 35000 }));

    // A quarter turn about the centre keeps point 1 on the top-left corner.
    SetPoints(*r, { { 0, 0 }, { 40000, 20000 } });
    r->RotateLeft();
    EXPECT_EQ(r->GetPoint(1), (TZORPto { 10000, -10000 }));
    EXPECT_EQ(r->GetPoint(2), (TZORPto { 30000, 30000 }));
}

TEST(Rectangle, CornerRadiusAgreesInEveryUnit)
{
    TKindLabel label;
    label.SetUnits(TZORUnits::Inch);
    label.Measure().SetDrawScale(50);
    auto* r = Stub<TZORBaseRectangle>(label);
    r->SetRadio(0.5f);
    EXPECT_EQ(r->GetBaseRadio(), 12700);
    EXPECT_FLOAT_EQ(r->GetRadio(), 0.5f);
    // On paper at 1:50 the 12.7 mm of the drawing are 0.254 mm.
    EXPECT_FLOAT_EQ(r->GetMMRadio(), 0.254f);
    for (float bad : { -3.0f, NAN, -INFINITY }) {
        r->SetRadio(bad);
        EXPECT_EQ(r->GetBaseRadio(), 0) << bad;
    }
    r->SetBaseRadio(-1);
    EXPECT_EQ(r->GetBaseRadio(), 0);
}

TEST(Circle, KeepsItsBoxSquareAndItsCentreOnRadiusChanges)
{
    TKindLabel label;
    auto* c = Stub<TZORBaseCircle>(label);
    SetPoints(*c, { { 0, 0 }, { 30000, 10000 } });
    EXPECT_EQ(c->GetPoint(2), (TZORPto { 30000, 30000 }));
    EXPECT_EQ(c->GetBaseRadio(), 15000);
    c->SetRadio(10.0f);
    EXPECT_EQ(c->GetPoint(1), (TZORPto { 5000, 5000 }));
    EXPECT_EQ(c->GetPoint(2), (TZORPto { 25000, 25000 }));
    EXPECT_FLOAT_EQ(c->GetCenterX(), 15.0f);
    c->SetRadio(-2.0f);
    EXPECT_EQ(c->GetPoint(1), c->GetPoint(2));
}

TEST(Circle, TwoAndThreePointFormsGiveTheCircleThroughThePoints)
{
    struct TCase {
        const char* name;
        TDraw2DCircle circle;
        std::vector<TZORPto> on;
    };
    TDraw2DCircle three;
    ASSERT_TRUE(TDraw2D::CircleThreePoints(0, 0, 20000, 0, 10000, 10000, three));
    const TCase cases[] = {
        { "diameter", TDraw2D::CircleTwoPoints(0, 0, 20000, 0), { { 0, 0 }, { 20000, 0 } } },
        { "three points", three, { { 0, 0 }, { 20000, 0 }, { 10000, 10000 } } },
    };
    TKindLabel label;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* circle = Stub<TZORBaseCircle>(label);
        circle->SetCenterX(float(c.circle.Cx / 1000.0));
        circle->SetCenterY(float(c.circle.Cy / 1000.0));
        circle->SetRadio(float(c.circle.R / 1000.0));
        for (const TZORPto& p : c.on) {
            const double d = TDraw2D::Distance(
                double(p.X), double(p.Y), double(circle->GetBaseCenterX()), double(circle->GetBaseCenterY()));
            EXPECT_NEAR(d, double(circle->GetBaseRadio()), 1.0);
        }
    }
}

TEST(Ellipse, RadiiKeepTheCentre)
{
    TKindLabel label;
    auto* e = Stub<TZORBaseEllipse>(label);
    SetPoints(*e, { { 0, 0 }, { 40000, 20000 } });
    EXPECT_FLOAT_EQ(e->GetRadioX(), 20.0f);
    EXPECT_FLOAT_EQ(e->GetRadioY(), 10.0f);
    e->SetRadioX(5.0f);
    e->SetRadioY(15.0f);
    EXPECT_EQ(e->GetPoint(1), (TZORPto { 15000, -5000 }));
    EXPECT_EQ(e->GetPoint(2), (TZORPto { 25000, 25000 }));
}

// --- Runs of points ---

// The model makes a polygon of any number of points (a negative count gives none); only the
// base-unit factory asks for three.
TEST(Polygon, IsMadeWithTheNumberOfPointsAskedFor)
{
    TKindLabel label;
    for (int n : { -1, 0, 1, 2 }) {
        EXPECT_EQ(TStub<TZORBasePolygon>(&label, n, false).GetPointsCount(), std::max(n, 0)) << n;
        EXPECT_EQ(
            TStub<TZORBasePolygon>(&label, label.GetLayer(1), n, false).GetPointsCount(), std::max(n, 0));
    }
    TStub<TZORBasePolygon> triangle(&label, 3, false);
    EXPECT_EQ(triangle.GetPointsCount(), 3);
    triangle.InsertPoint(5, 5, 4);
    EXPECT_EQ(triangle.GetPointsCount(), 4);
}

TEST(Bezier, KeepsWholeSegmentsOnly)
{
    struct TCase {
        int points, kept, segments;
    };
    const TCase cases[] = { { 0, 0, 0 }, { 1, 1, 0 }, { 2, 2, 0 }, { 3, 3, 0 }, { 4, 4, 1 }, { 5, 4, 1 },
        { 6, 4, 1 }, { 7, 7, 2 }, { 8, 7, 2 } };
    TKindLabel label;
    for (const TCase& c : cases) {
        auto* b = static_cast<TZORBaseBezier*>(
            label.AddItem(std::make_unique<TStub<TZORBaseBezier>>(&label, c.points, false)));
        for (int i = 1; i <= c.points; ++i)
            b->SetBase(i, i * 1000, (i % 2) * 1000);
        b->Update();
        EXPECT_EQ(b->GetPointsCount(), c.kept) << c.points;
        EXPECT_EQ(b->NumSegments(), c.segments) << c.points;
        // The line ends never reach for a point the curve does not have.
        TZORPto tip, from;
        EXPECT_EQ(b->EndSegment(true, tip, from), c.kept >= 2) << c.points;
        if (c.kept >= 2) {
            EXPECT_EQ(tip, b->GetPoint(c.kept));
        }
    }
}

// --- Sector ---

TEST(Sector, OnlyAWholeTurnIsAFullCircle)
{
    TKindLabel label;
    auto* s = Stub<TZORBaseSector>(label);
    s->SetAngleGap(360.0f);
    EXPECT_TRUE(s->IsFullCircle());
    s->SetAngleGap(359.99f);
    EXPECT_FALSE(s->IsFullCircle());
}

TEST(Sector, QuarterTurnsTurnTheSlice)
{
    TKindLabel label;
    auto* s = Stub<TZORBaseSector>(label);
    SetPoints(*s, { { 0, 0 }, { 20000, 20000 } });
    s->SetAngleStart(30.0f);
    s->RotateLeft();
    EXPECT_EQ(s->GetStartAngle(), 300.0f);
    EXPECT_EQ(s->GetPoint(1), (TZORPto { 0, 0 }));
    EXPECT_EQ(s->GetPoint(2), (TZORPto { 20000, 20000 }));
    s->RotateRight();
    s->RotateRight();
    EXPECT_EQ(s->GetStartAngle(), 120.0f);
}

// --- Level gauge ---

TEST(Level, ValueGivesTheSegmentOrTheRing)
{
    struct TCase {
        const char* name;
        TZORLevelType type;
        float gap, max;
        double value;
        TZORLevelArc arc;
    };
    const TCase cases[] = {
        { "ring, half", TZORLevelType::RingBottom, 90, 100, 50, { 135, 135, false, false, true } },
        { "ring at the right, full", TZORLevelType::RingRight, 0, 10, 10, { 0, 360, false, false, true } },
        { "ring without maximum", TZORLevelType::RingBottom, 30, 0, 5, { 105, 330, false, false, true } },
        { "ring overrunning its gap", TZORLevelType::RingRight, 90, 100, 150,
            { 45, 360, false, false, true } },
        { "ring at zero", TZORLevelType::RingRight, 90, 100, 0, { 45, 0, false, false, false } },
        { "ring below zero", TZORLevelType::RingRight, 90, 100, -10, { 45, -27, false, false, false } },
        { "vessel, half", TZORLevelType::SegmentBottom, 0, 100, 50, { 0, 180, false, true, false } },
        { "vessel from the left, half", TZORLevelType::SegmentLeft, 0, 100, 50,
            { 90, 180, false, true, false } },
        { "vessel, full", TZORLevelType::SegmentBottom, 0, 100, 100, { -90, 360, true, false, false } },
        { "vessel, over the top", TZORLevelType::SegmentBottom, 0, 100, 150,
            { -90, 360, false, false, false } },
        { "vessel, empty", TZORLevelType::SegmentBottom, 0, 100, 0, { 90, 0, false, false, false } },
        { "vessel without maximum, at 0", TZORLevelType::SegmentBottom, 0, 0, 0,
            { -90, 360, true, false, false } },
        { "vessel without maximum", TZORLevelType::SegmentBottom, 0, 0, 5,
            { -90, 360, false, false, false } },
    };
    TKindLabel label;
    auto* l = Stub<TZORBaseLevel>(label);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        l->SetLevelType(c.type);
        l->SetAngleGap(c.gap);
        l->SetMaxValue(c.max);
        const TZORLevelArc a = l->LevelArc(c.value);
        EXPECT_NEAR(a.Start, c.arc.Start, 1e-4);
        EXPECT_NEAR(a.Sweep, c.arc.Sweep, 1e-4);
        EXPECT_EQ(a.Full, c.arc.Full);
        EXPECT_EQ(a.Segment, c.arc.Segment);
        EXPECT_EQ(a.Ring, c.arc.Ring);
    }
}

TEST(Level, BoundGaugesShowTheirDataInPreviewAndPrintOnly)
{
    TKindLabel label;
    auto* l = Stub<TZORBaseLevel>(label);
    l->SetValue(20.0f);
    l->SetDataText(QStringLiteral(" 72.5 "));
    EXPECT_EQ(l->GetDataValue(), 72.5f);
    for (TZORDrawState state :
        { TZORDrawState::Editor, TZORDrawState::Preview, TZORDrawState::Export, TZORDrawState::Printer }) {
        EXPECT_EQ(l->ShownValue(state), 20.0f) << int(state);
    }
    l->SetFillType(1);
    EXPECT_EQ(l->ShownValue(TZORDrawState::Editor), 20.0f);
    EXPECT_EQ(l->ShownValue(TZORDrawState::Export), 20.0f);
    EXPECT_EQ(l->ShownValue(TZORDrawState::Preview), 72.5f);
    EXPECT_EQ(l->ShownValue(TZORDrawState::Printer), 72.5f);
    l->SetDataText(QStringLiteral("n/a"));
    EXPECT_EQ(l->GetDataValue(), 0.0f);
    EXPECT_EQ(l->GetDataText(), QStringLiteral("n/a"));
}

TEST(Level, TurnsTurnTheCaptionAndClampedValuesAreWritten)
{
    TKindLabel label;
    auto* l = Stub<TZORBaseLevel>(label);
    l->SetAngle(TZORAngle(7));
    l->RotateLeft();
    EXPECT_EQ(l->GetAngle(), TZORAngle::Angle0);
    l->RotateRight();
    EXPECT_EQ(l->GetAngle(), TZORAngle::Angle270);
    l->SetValue(NAN);
    l->SetMaxValue(INFINITY);
    l->SetLevelType(TZORLevelType(9));
    l->SetTextRatio(-1.0);
    EXPECT_NO_THROW(l->WriteJson());
}

// --- Package box ---

TEST(Package, DataValuesGiveTheSizes)
{
    struct TCase {
        const char* value;
        bool taken;
        std::array<float, 3> sizes;
    };
    const TCase cases[] = {
        { "120 x 80 x 40", true, { 120, 80, 40 } },
        { "120×80", true, { 120, 80, 7 } },
        { "7,5;3", true, { 7.5f, 3, 7 } },
        { "  250  ", true, { 250, 2, 7 } },
        { "-5*2", true, { 0, 2, 7 } },
        { "", false, { 1, 2, 7 } },
        { "big", false, { 1, 2, 7 } },
        { "1x2x3x4", false, { 1, 2, 7 } },
        { "3 x wide", false, { 1, 2, 7 } },
    };
    TKindLabel label;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.value);
        auto* p = Stub<TZORBasePackage>(label);
        p->SetSizeWidth(1);
        p->SetSizeLength(2);
        p->SetSizeHeight(7);
        EXPECT_EQ(p->SetDat(QString::fromUtf8(c.value)), c.taken);
        EXPECT_EQ(p->GetSizeWidth(), c.sizes[0]);
        EXPECT_EQ(p->GetSizeLength(), c.sizes[1]);
        EXPECT_EQ(p->GetSizeHeight(), c.sizes[2]);
    }
}

TEST(Package, ContentRectLeavesRoomForTheCaptions)
{
    struct TCase {
        TZORPackageStyle style;
        TZORRect content;
    };
    const TCase cases[] = {
        { TZORPackageStyle::Outline, { 6000, 6000, 94000, 44000 } },
        { TZORPackageStyle::Filled, { 6000, 6000, 94000, 44000 } },
        // 35 % of the frame's width goes to the size block.
        { TZORPackageStyle::OutlineSizes, { 41000, 6000, 94000, 44000 } },
        { TZORPackageStyle::FilledSizes, { 41000, 6000, 94000, 44000 } },
        { TZORPackageStyle::Holes, { 6000, 6000, 94000, 44000 } },
        // The sizes font's captions sit at the left and at the bottom.
        { TZORPackageStyle::HolesCaptions, { 4500, 2000, 98000, 45500 } },
    };
    TKindLabel label;
    auto* p = Stub<TZORBasePackage>(label);
    SetPoints(*p, { { 0, 0 }, { 100000, 50000 } });
    p->SetBoxMetrics({ 3000, 1000, 0, 1.0 });
    p->SetSizesMetrics({ 2000, 500, 0, 1.0 });
    for (const TCase& c : cases) {
        p->SetStyle(c.style);
        EXPECT_EQ(p->ContentRect(), c.content) << int(c.style);
    }
    p->SetStyle(TZORPackageStyle(9));
    EXPECT_EQ(p->GetStyle(), TZORPackageStyle::HolesCaptions);
}

TEST(Package, FlatBoxCaptionsAndHoleMapping)
{
    TKindLabel label;
    auto* p = Stub<TZORBasePackage>(label);
    p->SetSizeWidth(120.0f);
    p->SetSizeLength(80.0f);
    struct TCase {
        double w, h;
        float below, left;
    };
    for (const TCase& c :
        { TCase { 40, 60, 80, 120 }, TCase { 60, 40, 120, 80 }, TCase { 50, 50, 80, 120 } }) {
        const TZORFlatCaptions f = p->FlatCaptions(c.w, c.h);
        EXPECT_EQ(f.Below, c.below) << c.w << "x" << c.h;
        EXPECT_EQ(f.Left, c.left) << c.w << "x" << c.h;
    }

    const QRectF box(100.0, 200.0, 240.0, 160.0);
    QPointF at;
    ASSERT_TRUE(p->MapPoint(box, 0.0, 0.0, at));
    EXPECT_EQ(at, QPointF(100.0, 360.0)); // Y counts up from the bottom edge
    ASSERT_TRUE(p->MapPoint(box, 120.0, 80.0, at));
    EXPECT_EQ(at, QPointF(340.0, 200.0));
    EXPECT_EQ(p->MapLength(box, 6.0), 12.0);
    p->SetSizeLength(0.0f);
    EXPECT_FALSE(p->MapPoint(box, 1.0, 1.0, at));
    p->SetSizeWidth(0.0f);
    EXPECT_EQ(p->MapLength(box, 6.0), 0.0);
}

TEST(Package, IsometricFitIsCentredAndTouchesTheRectangle)
{
    TKindLabel label;
    auto* p = Stub<TZORBasePackage>(label);
    const QRectF r(10.0, 20.0, 300.0, 150.0);
    for (const std::array<float, 3>& s : { std::array<float, 3> { 120, 80, 40 },
             std::array<float, 3> { 10, 200, 5 }, std::array<float, 3> { 50, 0, 300 } }) {
        SCOPED_TRACE(s[0]);
        p->SetSizeWidth(s[0]);
        p->SetSizeLength(s[1]);
        p->SetSizeHeight(s[2]);
        TZORIsometric iso;
        ASSERT_TRUE(p->FitIsometric(r, iso));
        double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
        for (int k = 0; k < 8; ++k) {
            const QPointF q = iso.Project(k & 1 ? s[0] : 0.0, k & 2 ? s[1] : 0.0, k & 4 ? s[2] : 0.0);
            left = std::min(left, q.x());
            right = std::max(right, q.x());
            top = std::min(top, q.y());
            bottom = std::max(bottom, q.y());
        }
        EXPECT_NEAR((left + right) / 2.0, r.center().x(), 1e-9);
        EXPECT_NEAR((top + bottom) / 2.0, r.center().y(), 1e-9);
        EXPECT_LE(right - left, r.width() + 1e-9);
        EXPECT_LE(bottom - top, r.height() + 1e-9);
        EXPECT_TRUE(std::abs(right - left - r.width()) < 1e-9 || std::abs(bottom - top - r.height()) < 1e-9);
    }
    TZORIsometric iso;
    p->SetSizeWidth(0.0f);
    p->SetSizeLength(0.0f);
    EXPECT_FALSE(p->FitIsometric(r, iso)); // nothing across, only a vertical edge
    p->SetSizeWidth(10.0f);
    EXPECT_FALSE(p->FitIsometric(QRectF(0.0, 0.0, 0.0, 10.0), iso));
}

TEST(Package, SlotOutlinesAndHoleChecks)
{
    const auto slot = zor::CalculateSlotPolygon(0.0, 0.0, 10.0, 0.0, 4.0);
    EXPECT_EQ(
        slot, (std::array<QPointF, 4> { QPointF(0, 2), QPointF(10, 2), QPointF(10, -2), QPointF(0, -2) }));
    const auto dot = zor::CalculateSlotPolygon(5.0, 3.0, 5.0, 3.0, 2.0);
    EXPECT_EQ(dot, (std::array<QPointF, 4> { QPointF(5, 4), QPointF(5, 4), QPointF(5, 2), QPointF(5, 2) }));

    TKindLabel label;
    auto* p = Stub<TZORBasePackage>(label);
    EXPECT_THROW(p->AddDrill({ NAN, 1.0, 2.0 }), EZORError);
    EXPECT_THROW(p->AddSlot({ 0, 0, INFINITY, 0, 1 }), EZORError);
    p->AddDrill({ 1.0, 2.0, -3.0 });
    EXPECT_EQ(p->GetDrillPoint(0).Diameter, 0.0);
    EXPECT_EQ(p->GetNumDrills(), 1);
    EXPECT_EQ(p->GetNumSlots(), 0);
    EXPECT_THROW(p->GetDrillPoint(1), EZORError);
    EXPECT_THROW(p->GetSlot(-1), EZORError);
    p->ClearHoles();
    EXPECT_EQ(p->GetNumDrills(), 0);

    for (const char* json : { R"({"Type":28,"Drills":[[1,2]]})", R"({"Type":28,"Slots":[[1,2,3,4,5,6]]})",
             R"({"Type":28,"Drills":[[1,"2",3]]})" }) {
        EXPECT_THROW(
            label.ReadJsonItem(TJsonObject::Parse(QString::fromUtf8(json)), ZORFileVersion), EZORError)
            << json;
    }
}
