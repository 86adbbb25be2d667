#include "ErrorOf.h"
#include "KindStubs.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Version.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using zor::ItemTypeName;
using zor::TBinaryReader;
using zor::TJsonObject;

using namespace zor::test;

namespace {

constexpr double Pi = std::numbers::pi;

void ExpectPto(const TZORPto& p, int64_t x, int64_t y, int64_t tol = 0)
{
    EXPECT_NEAR(double(p.X), double(x), double(tol)) << "x";
    EXPECT_NEAR(double(p.Y), double(y), double(tol)) << "y";
}

} // namespace

// --- Records of every kind ---

TEST(ElementKinds, EveryKindRoundTripsThroughBothForms)
{
    TKindLabel label;
    for (TKindSample& s : KindSamples(label)) {
        SCOPED_TRACE(s.name);
        const QByteArray record = Record(*s.item);
        const QString json = s.item->WriteJson().ToJSON(false);

        TKindLabel fromBinary;
        TBinaryReader r(record);
        TZORBaseItem* b = fromBinary.ReadItem(r, ZORFileVersion, TZORReadType::Load);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(r.BytesLeft(), 0);
        EXPECT_EQ(b->TypeCode(), s.item->TypeCode());
        EXPECT_EQ(Record(*b), record);
        EXPECT_EQ(b->WriteJson().ToJSON(false), json);

        TKindLabel fromJson;
        TZORBaseItem* j = fromJson.ReadJsonItem(TJsonObject::Parse(json), ZORFileVersion);
        ASSERT_NE(j, nullptr);
        EXPECT_EQ(Record(*j), record);
        EXPECT_EQ(j->WriteJson().ToJSON(false), json);
    }
}

TEST(ElementKinds, SamplesSetEveryStoredFieldAwayFromItsDefault)
{
    TKindLabel label;
    for (TKindSample& s : KindSamples(label)) {
        const auto fresh = label.NewItem(zor::Ord(s.item->TypeCode()), false);
        for (const auto& f : s.item->GetFields())
            EXPECT_TRUE(f.get(*s.item) != f.get(*fresh)) << s.name << ": " << f.key;
    }
}

TEST(ElementKinds, EveryTruncatedRecordIsRejected)
{
    TKindLabel label;
    for (TKindSample& s : KindSamples(label)) {
        const QByteArray record = Record(*s.item);
        TKindLabel target;
        for (int cut = 0; cut < record.size(); ++cut) {
            TBinaryReader r(record.left(cut));
            EXPECT_THROW(target.ReadItem(r, ZORFileVersion, TZORReadType::Load), EZORError)
                << s.name << ", cut at " << cut;
        }
        EXPECT_EQ(target.GetItemsCount(), 0);
    }
}

TEST(ElementKinds, RecordsWithTooFewPointsAreRejected)
{
    struct TCase {
        TZORItemType type;
        int points;
    };
    const TCase cases[] = {
        { TZORItemType::Point, 1 },
        { TZORItemType::Line, 2 },
        { TZORItemType::ArrowLine, 2 },
        { TZORItemType::Dim, 8 },
        { TZORItemType::Rectangle, 2 },
        { TZORItemType::Circle, 2 },
        { TZORItemType::Ellipse, 2 },
        { TZORItemType::Level, 2 },
        { TZORItemType::Sector, 2 },
        { TZORItemType::Package, 2 },
    };
    const auto json = [](TZORItemType type, int n) {
        QString points;
        for (int i = 0; i < n; ++i)
            points += QStringLiteral("%1[%2,0]").arg(i ? QStringLiteral(",") : QString()).arg(i * 1000);
        return TJsonObject::Parse(
            QStringLiteral(R"({"Type":%1,"Points":[%2]})").arg(zor::Ord(type)).arg(points));
    };
    TKindLabel label;
    for (const TCase& c : cases) {
        SCOPED_TRACE(zor::ItemTypeName(c.type).data());
        const QString message
            = ErrorOf([&] { label.ReadJsonItem(json(c.type, c.points - 1), ZORFileVersion); });
        EXPECT_TRUE(message.contains(QString::number(c.points))) << message.toStdString();
        EXPECT_NE(label.ReadJsonItem(json(c.type, c.points), ZORFileVersion), nullptr);
    }
    // Runs of points take any number, none included.
    for (TZORItemType type : { TZORItemType::PolyLine, TZORItemType::Polygon, TZORItemType::Bezier })
        EXPECT_NE(label.ReadJsonItem(json(type, 0), ZORFileVersion), nullptr);
}

TEST(ElementKinds, ReadValuesAreBroughtIntoTheSettersRanges)
{
    TKindLabel label;
    const auto read = [&](const char* json) {
        return label.ReadJsonItem(TJsonObject::Parse(QString::fromUtf8(json)), ZORFileVersion);
    };
    auto* arrow = static_cast<TZORBaseArrowLine*>(
        read(R"({"Type":3,"TextPos":9,"SizeFrom":-4,"SizeTo":5000,"FontHeight":0,"Points":[[0,0],[10,0]]})"));
    EXPECT_EQ(arrow->GetTextPos(), TZORTextPos::InLineEnd);
    EXPECT_EQ(arrow->GetSizeFrom(), 0.0f);
    EXPECT_EQ(arrow->GetSizeTo(), 100.0f);
    EXPECT_EQ(arrow->GetFontHeight(), 0.1f);
    EXPECT_EQ(arrow->GetPointsCount(), 4); // the gap points are made anew

    auto* dim = static_cast<TZORBaseDim*>(read(R"({"Type":26,"DimType":12})"));
    EXPECT_EQ(dim->GetDimType(), TZRDimType::Horizontal);
    EXPECT_EQ(dim->GetPointsCount(), 10);

    auto* arc
        = static_cast<TZORBaseArc*>(read(R"({"Type":5,"Radio":-7,"SweepAngle":100,"StartAngle":-1.5})"));
    EXPECT_EQ(arc->GetBaseRadio(), 0);
    EXPECT_DOUBLE_EQ(arc->GetAngleSweep(), 2.0 * Pi);
    EXPECT_NEAR(arc->GetAngleStart(), 2.0 * Pi - 1.5, 1e-12);

    // Angles far outside a turn once made the bounds walk over quarter turns without end.
    auto* wild = static_cast<TZORBaseArc*>(
        read(R"({"Type":5,"Radio":5000,"StartAngle":1e300,"SweepAngle":-1e300})"));
    EXPECT_GE(wild->GetAngleStart(), 0.0);
    EXPECT_LT(wild->GetAngleStart(), 2.0 * Pi);
    EXPECT_DOUBLE_EQ(wild->GetAngleSweep(), -2.0 * Pi);
}

// --- Caption layout ---

TEST(PosBaseLinesText, PlacesTheCaptionForEveryPosition)
{
    struct TCase {
        TZORTextPos pos;
        TZORPto draw, print, gapStart, gapEnd;
    };
    // A line of 10000 along X, a text 2000 wide with ascent 800 and descent 200.
    const TCase cases[] = {
        { TZORTextPos::Above, { 4000, -200 }, { 4000, -1000 }, { 5000, 0 }, { 5000, 0 } },
        { TZORTextPos::Below, { 4000, 800 }, { 4000, 0 }, { 5000, 0 }, { 5000, 0 } },
        { TZORTextPos::OnLine, { 4000, 300 }, { 4000, -500 }, { 5000, 0 }, { 5000, 0 } },
        { TZORTextPos::InLine, { 4000, 300 }, { 4000, -500 }, { 4000, 0 }, { 6000, 0 } },
        { TZORTextPos::InLineStart, { 1500, 300 }, { 1500, -500 }, { 1500, 0 }, { 3500, 0 } },
        { TZORTextPos::InLineEnd, { 6500, 300 }, { 6500, -500 }, { 6500, 0 }, { 8500, 0 } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.pos));
        const TZORLineText t = zor::PosBaseLinesText({ 0, 0 }, { 10000, 0 }, 2000, 800, 200, c.pos);
        EXPECT_EQ(t.DrawPos, c.draw);
        EXPECT_EQ(t.PrintPos, c.print);
        EXPECT_EQ(t.GapStart, c.gapStart);
        EXPECT_EQ(t.GapEnd, c.gapEnd);
        EXPECT_EQ(t.Angle, 0.0f);
    }
}

TEST(PosBaseLinesText, TextNeverReadsUpsideDown)
{
    // A line drawn leftwards carries the same caption as the one drawn rightwards.
    const TZORLineText back
        = zor::PosBaseLinesText({ 10000, 0 }, { 0, 0 }, 2000, 800, 200, TZORTextPos::Above);
    EXPECT_EQ(back.Angle, 0.0f);
    EXPECT_EQ(back.DrawPos, (TZORPto { 4000, -200 }));

    // Straight down reads upwards, its top facing left; the gap still lies on the line.
    const TZORLineText down
        = zor::PosBaseLinesText({ 0, 0 }, { 0, 10000 }, 2000, 800, 200, TZORTextPos::Above);
    EXPECT_FLOAT_EQ(down.Angle, float(-Pi / 2.0));
    ExpectPto(down.DrawPos, -200, 6000);
    ExpectPto(down.PrintPos, -1000, 6000);

    const TZORLineText slope
        = zor::PosBaseLinesText({ 0, 0 }, { -3000, 4000 }, 1000, 0, 0, TZORTextPos::InLine);
    EXPECT_NEAR(slope.Angle, std::atan2(-4000.0, 3000.0), 1e-6);
    ExpectPto(slope.GapStart, -1200, 1600);
    ExpectPto(slope.GapEnd, -1800, 2400);
}

TEST(PosBaseLinesText, DegenerateLinesGiveFinitePlaces)
{
    const TZORLineText none
        = zor::PosBaseLinesText({ 100, 100 }, { 100, 100 }, 2000, 800, 200, TZORTextPos::InLine);
    EXPECT_EQ(none.GapStart, (TZORPto { 100, 100 }));
    EXPECT_EQ(none.GapEnd, (TZORPto { 100, 100 }));
    EXPECT_EQ(none.DrawPos, (TZORPto { -900, 400 }));
    // A text wider than its line leaves no line at all, and no gap end beyond it.
    const TZORLineText wide
        = zor::PosBaseLinesText({ 0, 0 }, { 10000, 0 }, 30000, 800, 200, TZORTextPos::InLine);
    EXPECT_EQ(wide.GapStart, (TZORPto { 0, 0 }));
    EXPECT_EQ(wide.GapEnd, (TZORPto { 10000, 0 }));
}

// --- Arrow line ---

TEST(ArrowLine, CaptionLayoutScalesTheMetricsAndSplitsTheLine)
{
    TKindLabel label;
    label.Measure().SetDrawScale(2);
    auto* a = Stub<TZORBaseArrowLine>(label);
    SetPoints(*a, { { 0, 0 }, { 10000, 0 } });
    EXPECT_EQ(a->GetPointsCount(), 4);
    EXPECT_EQ(a->GetPoint(3), (TZORPto { 5000, 0 }));
    a->SetText(QStringLiteral("Caption"));
    a->SetTextPos(TZORTextPos::InLine);
    a->LayoutCaption({ 800, 200, 1000, 0.75 });

    EXPECT_TRUE(a->HasGap());
    EXPECT_EQ(a->GetCaptionWidth(), 2000);
    EXPECT_EQ(a->GetCaptionAscent(), 800);
    EXPECT_EQ(a->GetTextRatio(), 0.75);
    EXPECT_EQ(a->GetPoint(3), (TZORPto { 4000, 0 }));
    EXPECT_EQ(a->GetPoint(4), (TZORPto { 6000, 0 }));
    EXPECT_EQ(a->GetDrawCaption(), (TZORPto { 4000, 600 }));
    EXPECT_EQ(a->GetPrintCaption(), (TZORPto { 4000, -1000 }));
    // The user places two points; the gap points come with them.
    EXPECT_EQ(a->NumPoints(), 2);
    a->InsertPoint(1, 1, 2);
    EXPECT_EQ(a->GetPointsCount(), 4);
}

TEST(ArrowLine, CheckFitGrowsTheExtentByHalfThePen)
{
    TKindLabel label;
    auto* a = Stub<TZORBaseArrowLine>(label);
    SetPoints(*a, { { 100, 200 }, { 1000, -50 } });
    a->SetPenWidth(0.005f); // 5 base units: h = 2
    a->SetBase(3, -500, 0); // a gap end outside the line counts only with a caption in it

    struct TCase {
        const char* name;
        QString text;
        TZORTextPos pos;
        std::array<int64_t, 4> in, out; // least x, greatest x, least y, greatest y
    };
    const TCase cases[] = {
        { "not set yet", {}, TZORTextPos::InLine, { -1, -1, -1, -1 }, { 98, 1002, -52, 202 } },
        { "larger already", {}, TZORTextPos::InLine, { -9000, 9000, -9000, 9000 },
            { -9000, 9000, -9000, 9000 } },
        { "caption beside", QStringLiteral("x"), TZORTextPos::Above, { -1, -1, -1, -1 },
            { 98, 1002, -52, 202 } },
        { "caption in the line", QStringLiteral("x"), TZORTextPos::InLine, { -1, -1, -1, -1 },
            { -502, 1002, -52, 202 } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        a->SetText(c.text);
        a->SetTextPos(c.pos);
        std::array<int64_t, 4> e = c.in;
        a->CheckFit(e[0], e[1], e[2], e[3]);
        EXPECT_EQ(e, c.out);
    }
}

// An arrow line whose caption place was clamped still writes itself.
TEST(LineEnds, AClampedCaptionPlaceIsWritten)
{
    TKindLabel label;
    auto* a = Stub<TZORBaseArrowLine>(label);
    a->SetFontHeight(NAN);
    a->SetTextPos(TZORTextPos(200));
    EXPECT_NO_THROW(a->WriteJson());
}

TEST(LineEnds, EndSegmentsNeedTwoPoints)
{
    TKindLabel label;
    auto* p = static_cast<TZORBasePolyLine*>(
        label.AddItem(std::make_unique<TStub<TZORBasePolyLine>>(&label, -3, false)));
    TZORPto tip, from;
    EXPECT_EQ(p->GetPointsCount(), 0);
    EXPECT_FALSE(p->EndSegment(false, tip, from));
    SetPoints(*p, { { 1, 1 } });
    EXPECT_FALSE(p->EndSegment(true, tip, from));
    SetPoints(*p, { { 1, 1 }, { 2, 2 }, { 3, 3 } });
    ASSERT_TRUE(p->EndSegment(false, tip, from));
    EXPECT_EQ(tip, (TZORPto { 1, 1 }));
    EXPECT_EQ(from, (TZORPto { 2, 2 }));
    ASSERT_TRUE(p->EndSegment(true, tip, from));
    EXPECT_EQ(tip, (TZORPto { 3, 3 }));
    EXPECT_EQ(from, (TZORPto { 2, 2 }));
    // A run takes inserted points; a line does not.
    p->InsertPoint(9, 9, 2);
    EXPECT_EQ(p->GetPoint(2), (TZORPto { 9, 9 }));
    auto* l = Stub<TZORBaseLine>(label);
    l->InsertPoint(9, 9, 2);
    EXPECT_EQ(l->GetPointsCount(), 2);
}

TEST(Elements, LayerConstructorsRecordTheLayersPosition)
{
    TKindLabel label;
    TZORLayer* third = label.AddLayer(QStringLiteral("Third"));
    TStub<TZORBaseLine> line(&label, third, false);
    EXPECT_EQ(line.GetLayerIndex(), 3);
    TStub<TZORBaseDim> dim(&label, label.GetLayer(2), TZRDimType::Angle, false);
    EXPECT_EQ(dim.GetLayerIndex(), 2);
    EXPECT_EQ(TStub<TZORBaseLevel>(&label, third, false).GetLayerIndex(), 3);
    EXPECT_EQ(TStub<TZORBasePackage>(&label, third, false).GetLayerIndex(), 3);
    EXPECT_EQ(TStub<TZORBaseBezier>(&label, third, 4, false).GetPointsCount(), 4);
    TStub<TZORBasePolygon> polygon(nullptr, third, 3, false);
    EXPECT_EQ(polygon.GetLayerIndex(), 0);
    // Without a layer the label gives the active one when the element enters it.
    label.SetActiveLayer(3);
    EXPECT_EQ(Stub<TZORBasePoint>(label)->GetLayerIndex(), 3);
}

// --- Arc ---

TEST(Arc, ThreePointsGiveTheCircleTheAnglesAndTheArcsOwnBox)
{
    TKindLabel label;
    // From the right through the lower right to the bottom: clockwise on screen.
    TStub<TZORBaseArc> cw(&label, 10000, 0, 7071, 7071, 0, 10000, false);
    EXPECT_EQ(cw.GetBaseCenterX(), 0);
    EXPECT_EQ(cw.GetBaseCenterY(), 0);
    EXPECT_NEAR(double(cw.GetBaseRadio()), 10000.0, 1.0);
    EXPECT_NEAR(cw.GetAngleStart(), 0.0, 1e-4);
    EXPECT_NEAR(cw.GetAngleSweep(), Pi / 2.0, 1e-4);
    EXPECT_TRUE(cw.GetClock());
    ExpectPto(cw.GetPto(1), 10000, 0, 1);
    ExpectPto(cw.GetPto(3), 0, 10000, 1);
    // Points 1 and 2 are the square round the circle (print uses them as its box); the bounds
    // are the quadrant's.
    EXPECT_EQ(cw.GetPoint(1), (TZORPto { -cw.GetBaseRadio(), -cw.GetBaseRadio() }));
    EXPECT_EQ(cw.GetPoint(2), (TZORPto { cw.GetBaseRadio(), cw.GetBaseRadio() }));
    const TZORRect b = cw.GetBounds();
    EXPECT_NEAR(double(b.Left), 0.0, 1.0);
    EXPECT_NEAR(double(b.Top), 0.0, 1.0);
    EXPECT_NEAR(double(b.Right), 10000.0, 1.0);
    EXPECT_NEAR(double(b.Bottom), 10000.0, 1.0);
    EXPECT_EQ(cw.CenterPoint(), (TZORPto { 0, 0 }));

    TStub<TZORBaseArc> ccw(&label, 0, 10000, 7071, 7071, 10000, 0, false);
    EXPECT_NEAR(ccw.GetAngleStart(), Pi / 2.0, 1e-4);
    EXPECT_NEAR(ccw.GetAngleSweep(), -Pi / 2.0, 1e-4);
    EXPECT_FALSE(ccw.GetClock());
    EXPECT_EQ(ccw.GetBounds(), b);
}

TEST(Arc, LineEndsFollowTheTangentFromInsideTheArc)
{
    TKindLabel label;
    struct TCase {
        const char* name;
        double start, sweep, fromDir, toDir;
    };
    const TCase cases[] = {
        // Clockwise from the right to the bottom: the start's end is reached going up, the
        // end's going left.
        { "clockwise", 0.0, Pi / 2.0, 3.0 * Pi / 2.0, Pi },
        // The same quarter run the other way: reached going left, and going up.
        { "counter-clockwise", Pi / 2.0, -Pi / 2.0, Pi, 3.0 * Pi / 2.0 },
        { "no sweep", 1.0, 0.0, 1.0 - Pi / 2.0 + 2.0 * Pi, 1.0 + Pi / 2.0 },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TStub<TZORBaseArc> arc(&label, 0, 0, 10000, 0.0f, 0.0f, false);
        arc.SetAngles(c.start, c.sweep);
        EXPECT_NEAR(arc.EndDirection(false), c.fromDir, 1e-12);
        EXPECT_NEAR(arc.EndDirection(true), c.toDir, 1e-12);
    }
}

TEST(Arc, PointsOnOneLineAreRefused)
{
    TKindLabel label;
    for (const auto& p :
        { std::array<int64_t, 6> { 0, 0, 5, 5, 10, 10 }, std::array<int64_t, 6> { 3, 3, 3, 3, 3, 3 } }) {
        const QString message
            = ErrorOf([&] { (void)TStub<TZORBaseArc>(&label, p[0], p[1], p[2], p[3], p[4], p[5], false); });
        EXPECT_EQ(message, TZORMsg::GetErrorValue(QStringLiteral("ArcPoints")));
    }
    // Moving a defining point onto the line of the other two is refused and changes nothing.
    TStub<TZORBaseArc> arc(&label, 10000, 0, 7071, 7071, 0, 10000, false);
    const QByteArray before = Record(arc);
    arc.SetPX(2, float(10000 - arc.GetPto(2).Y) / 1000.0f); // onto the line x + y = 10 mm
    EXPECT_EQ(Record(arc), before);
}

TEST(Arc, MovingADefiningPointMakesTheArcAnew)
{
    TKindLabel label;
    label.SetUnits(TZORUnits::Centimetre);
    TStub<TZORBaseArc> arc(&label, 10000, 0, 7071, 7071, 0, 10000, false);
    EXPECT_NEAR(arc.GetPX(1), 1.0f, 1e-4);
    arc.SetPY(3, -1.0f);
    arc.SetPX(3, 0.0f);
    // The end moved round the same circle, so the sweep grows to three quarters.
    ExpectPto(arc.GetPto(3), 0, -10000, 1);
    EXPECT_NEAR(double(arc.GetBaseRadio()), 10000.0, 1.0);
    EXPECT_NEAR(arc.GetAngleSweep(), 3.0 * Pi / 2.0, 1e-3);
    // Points moved by AssignPoints make the arc anew in the same way.
    const TZORPto points[] = { {}, {}, { 20000, 0 }, { 0, 20000 }, { -20000, 0 } };
    arc.AssignPoints(points);
    EXPECT_EQ(arc.GetBaseRadio(), 20000);
    EXPECT_NEAR(arc.GetAngleSweep(), Pi, 1e-9);
}

TEST(Arc, MovesAndTurnsKeepTheArcExact)
{
    TKindLabel label;
    TStub<TZORBaseArc> arc(&label, 1000, 2000, 10000, 0.0f, float(Pi / 2.0), false);
    const double sweep = arc.GetAngleSweep();
    arc.Move(1000.4, -2000.6);
    EXPECT_EQ(arc.CenterPoint(), (TZORPto { 2000, -1 }));
    EXPECT_EQ(arc.GetAngleSweep(), sweep);
    EXPECT_EQ(arc.GetAngleStart(), 0.0);
    arc.Update(); // unchanged points leave the angles alone
    EXPECT_EQ(arc.GetAngleSweep(), sweep);

    // A quarter turn to the left puts the lower-right quarter on the upper right.
    arc.RotateLeft();
    EXPECT_NEAR(arc.GetAngleStart(), 3.0 * Pi / 2.0, 1e-12);
    EXPECT_EQ(arc.GetBounds(), (TZORRect { 2000, -10001, 12000, -1 }));
    arc.RotateRight();
    arc.RotateRight();
    arc.RotateLeft();
    EXPECT_NEAR(arc.GetAngleStart(), 0.0, 1e-12);
}

TEST(Arc, DegenerateCirclesStayFinite)
{
    TKindLabel label;
    TStub<TZORBaseArc> dot(&label, 500, 600, -5, 1.0f, 2.0f, false);
    EXPECT_EQ(dot.GetBaseRadio(), 0);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(dot.GetPoint(i), (TZORPto { 500, 600 }));
    EXPECT_EQ(dot.GetBounds(), (TZORRect { 500, 600, 500, 600 }));

    TStub<TZORBaseArc> full(&label, 0, 0, 100, 0.0f, 0.0f, false);
    full.SetAngles(0.25, 1e300);
    EXPECT_EQ(full.GetAngleSweep(), 2.0 * Pi);
    EXPECT_EQ(full.GetBounds(), (TZORRect { -100, -100, 100, 100 }));
    full.SetAngles(NAN, INFINITY);
    EXPECT_EQ(full.GetAngleStart(), 0.0);
    EXPECT_EQ(full.GetAngleSweep(), 0.0);
    EXPECT_NO_THROW(full.WriteJson());
    // The end angle property keeps the start and sets the sweep.
    full.SetAngles(1.0, 0.5);
    full.SetEndAngle(0.5f);
    EXPECT_NEAR(full.GetAngleSweep(), -0.5, 1e-7);
    EXPECT_THROW(full.GetPto(4), EZORError);
}

// --- Dimension ---

TEST(Dim, CalcDimPointsChoosesTheTypeAndLaysTheExtensionLinesOut)
{
    TKindLabel label;
    label.GetActiveDimStyle()->fExtGap = 1.0f; // millimetres on paper
    label.GetActiveDimStyle()->fExtSize = 2.0f;
    struct TCase {
        const char* name;
        std::array<int64_t, 6> in;
        TZRDimType type;
        std::array<TZORPto, 6> points;
    };
    const TCase cases[] = {
        { "beside the box's top or bottom", { 0, 0, 30000, 5000, 10000, 20000 }, TZRDimType::Horizontal,
            { { { 0, 1000 }, { 30000, 6000 }, { 0, 20000 }, { 30000, 20000 }, { 0, 22000 },
                { 30000, 22000 } } } },
        { "beside the box's side", { 0, 0, 30000, 5000, -10000, 2000 }, TZRDimType::Vertical,
            { { { -1000, 0 }, { 29000, 5000 }, { -10000, 0 }, { -10000, 5000 }, { -12000, 0 },
                { -12000, 5000 } } } },
        { "inside the box", { 0, 0, 30000, 40000, 10000, 10000 }, TZRDimType::Aligned,
            { { { 800, -600 }, { 30800, 39400 }, { 1600, -1200 }, { 31600, 38800 }, { 3200, -2400 },
                { 33200, 37600 } } } },
        { "on a measured point", { 0, 0, 0, 0, 0, 0 }, TZRDimType::Horizontal, {} },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<TZORPto, 6> points;
        const auto& v = c.in;
        EXPECT_EQ(TZORBaseDim::CalcDimPoints(&label, v[0], v[1], v[2], v[3], v[4], v[5], points), c.type);
        EXPECT_EQ(points, c.points);
    }
    // Paper lengths grow with the drawing scale.
    label.Measure().SetDrawScale(10);
    std::array<TZORPto, 6> points;
    TZORBaseDim::CalcDimPoints(&label, 0, 0, 30000, 5000, 10000, 50000, points);
    EXPECT_EQ(points[0], (TZORPto { 0, 10000 }));
    EXPECT_EQ(points[4], (TZORPto { 0, 70000 }));
}

TEST(Dim, LinearTextBreaksTheLineOnItsStylesInLinePositions)
{
    TKindLabel label;
    label.GetActiveDimStyle()->fExtSize = 0.0f; // the extension lines end on the dimension line
    auto* dim = static_cast<TZORBaseDim*>(
        label.AddItem(std::make_unique<TStub<TZORBaseDim>>(&label, TZRDimType::Horizontal, false)));
    std::array<TZORPto, 6> p;
    TZORBaseDim::CalcDimPoints(&label, 0, 0, 20000, 0, 5000, -8000, p);
    SetPoints(*dim, { { 0, 0 }, { 20000, 0 }, p[0], p[1], p[2], p[3], p[4], p[5] });
    EXPECT_EQ(dim->GetPointsCount(), 10);
    EXPECT_DOUBLE_EQ(dim->MeasuredValue(), 20.0);
    dim->SetText(QStringLiteral("20"));
    label.GetActiveDimStyle()->fTextPos = zor::Ord(TZORTextPos::InLine);
    dim->LayoutText({ 800, 200, 3000, 1.25 });
    EXPECT_TRUE(dim->HasGap());
    EXPECT_EQ(dim->GetTextWidth(), 3000);
    EXPECT_EQ(dim->GetPoint(9), (TZORPto { 8500, -8000 }));
    EXPECT_EQ(dim->GetPoint(10), (TZORPto { 11500, -8000 }));
    EXPECT_EQ(dim->GetPrintText(), (TZORPto { 8500, -8500 }));
    // The bounds take the text in.
    EXPECT_EQ(dim->GetBounds().Top, -8500);
    label.GetActiveDimStyle()->fTextPos = zor::Ord(TZORTextPos::Above);
    EXPECT_FALSE(dim->HasGap());
    dim->SetText({});
    label.GetActiveDimStyle()->fTextPos = zor::Ord(TZORTextPos::InLine);
    EXPECT_FALSE(dim->HasGap());
}

TEST(Dim, AngularTextStandsOffTheArcTowardPointSeven)
{
    TKindLabel label;
    struct TCase {
        const char* name;
        std::array<TZORPto, 4> p5to8;
        TZORPto text;
    };
    const TCase cases[] = {
        // A half circle about the origin: 60 beyond the arc (Round((80 + 20) × 0.6)) at its bottom.
        { "arc", { { { 10000, 0 }, { -10000, 0 }, { 0, 10000 }, { 0, 0 } } }, { 0, 10060 } },
        // On one line: point 8 stands in as the centre, |8 7| as the radius.
        { "collinear", { { { 0, 0 }, { 10000, 0 }, { 5000, 0 }, { 5000, -3000 } } }, { 5000, 60 } },
        { "all on one point", { { { 7, 7 }, { 7, 7 }, { 7, 7 }, { 7, 7 } } }, { 67, 7 } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TStub<TZORBaseDim> dim(&label, TZRDimType::Angle, false);
        for (int i = 0; i < 4; ++i)
            dim.SetBase(5 + i, c.p5to8[size_t(i)].X, c.p5to8[size_t(i)].Y);
        dim.SetText(QStringLiteral("90°"));
        dim.LayoutText({ 80, 20, 500, 1.0 });
        EXPECT_EQ(dim.GetDrawText(), c.text);
        EXPECT_EQ(dim.GetPrintText(), c.text);
        EXPECT_EQ(dim.GetPoint(9), c.text);
        EXPECT_EQ(dim.GetPoint(10), c.text);
        EXPECT_EQ(dim.GetTextAngle(), 0.0f);
    }
}

TEST(Dim, MeasuresInTheLabelsUnit)
{
    TKindLabel label;
    label.SetUnits(TZORUnits::Inch);
    struct TCase {
        TZRDimType type;
        double value;
    };
    // Points 1 and 2 lie 3 inches across and 4 inches down from each other.
    const TCase cases[] = {
        { TZRDimType::Horizontal, 3.0 },
        { TZRDimType::Vertical, 4.0 },
        { TZRDimType::Aligned, 5.0 },
        { TZRDimType::Radius, 5.0 },
        { TZRDimType::Diameter, 5.0 },
        { TZRDimType::DiameterOut, 10.0 },
    };
    for (const TCase& c : cases) {
        TStub<TZORBaseDim> dim(&label, c.type, false);
        dim.SetBase(2, 3 * 25400, 4 * 25400);
        EXPECT_NEAR(dim.MeasuredValue(), c.value, 1e-12) << int(c.type);
    }
    TStub<TZORBaseDim> angle(&label, TZRDimType::Angle, false);
    angle.SetBase(5, 10000, 0);
    angle.SetBase(6, -10000, 0);
    angle.SetBase(7, 0, 10000);
    EXPECT_NEAR(angle.MeasuredValue(), 180.0, 1e-9);
    angle.SetBase(7, 0, 0);
    EXPECT_EQ(angle.MeasuredValue(), 0.0);
}

TEST(Dim, CalculationGuardRefusesNestingAndClearsOnAnyExit)
{
    TKindLabel label;
    TStub<TZORBaseDim> dim(&label, TZRDimType::Horizontal, false);
    {
        TZORBaseDim::TCalcGuard outer(dim);
        EXPECT_TRUE(outer.Entered());
        EXPECT_TRUE(dim.GetCalculating());
        TZORBaseDim::TCalcGuard nested(dim);
        EXPECT_FALSE(nested.Entered());
    }
    EXPECT_FALSE(dim.GetCalculating());
    try {
        TZORBaseDim::TCalcGuard guard(dim);
        throw EZORError(QStringLiteral("metrics failed"));
    } catch (const EZORError&) {
    }
    EXPECT_FALSE(dim.GetCalculating());
}

TEST(Dim, StyleIsFoundByItsIdWithTheFirstStyleAsFallback)
{
    TKindLabel label;
    auto style
        = std::make_unique<TZORDimStyle>(QStringLiteral("Fine"), zor::claBlack, zor::claGray, false, false);
    TZORDimStyle* fine = label.AddDimStyle(std::move(style));
    TStub<TZORBaseDim> dim(&label, TZRDimType::Radius, false);
    EXPECT_EQ(dim.GetDimStyle(), fine->GetID()); // the active style when it was made
    EXPECT_EQ(&dim.GetStyle(), fine);
    dim.SetDimStyle(99);
    EXPECT_EQ(&dim.GetStyle(), label.GetDimStyle(1));
    TStub<TZORBaseDim> alone(nullptr, TZRDimType::Radius, false);
    EXPECT_EQ(alone.GetStyle().fHeadSize, 2.5f);
}

TEST(Dim, QuarterTurnsSwapHorizontalAndVertical)
{
    TKindLabel label;
    TStub<TZORBaseDim> dim(&label, TZRDimType::Horizontal, false);
    dim.RotateLeft();
    EXPECT_EQ(dim.GetDimType(), TZRDimType::Vertical);
    dim.RotateRight();
    EXPECT_EQ(dim.GetDimType(), TZRDimType::Horizontal);
    dim.SetDimType(TZRDimType::Angle);
    dim.RotateLeft();
    EXPECT_EQ(dim.GetDimType(), TZRDimType::Angle);
    dim.SetDimType(TZRDimType(8));
    EXPECT_EQ(dim.GetDimType(), TZRDimType::Horizontal);
}
