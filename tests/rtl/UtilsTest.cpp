#include "Zor.BaseDraw.h"
#include "Zor.Utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using zor::BasePtoY;
using zor::DegToRad;
using zor::DrawBasePtoX;
using zor::DrawFromBaseX;
using zor::DrawTxtPos;
using zor::GetValue;
using zor::Ord;
using zor::PrintFromBaseX;
using zor::PrintFromBaseY;
using zor::PrintTxtPos;
using zor::RadToDeg;
using zor::Round;
using zor::SetValue;
using zor::TDraw2D;
using zor::TDraw2DArc;
using zor::TDraw2DCircle;
using zor::Trunc;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr int64_t Int64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t Int64Min = std::numeric_limits<int64_t>::min();

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    const struct {
        double x;
        int64_t round, trunc;
    } table[] = {
        { 0.5, 0, 0 }, { 1.5, 2, 1 }, { 2.5, 2, 2 }, { -0.5, 0, 0 }, { -1.5, -2, -1 }, { -2.5, -2, -2 },
        { 0.49999999999999994, 0, 0 }, { 2.7, 3, 2 }, { -2.7, -3, -2 },
        { 6e9, 6000000000, 6000000000 }, // beyond 32 bits
    };
    for (const auto& row : table) {
        EXPECT_EQ(zor::Round(row.x), row.round) << row.x;
        EXPECT_EQ(zor::Trunc(row.x), row.trunc) << row.x;
    }
}

TEST(Rounding, NonFiniteAndHugeValuesStayDefined)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(zor::Round(nan), 0);
    EXPECT_EQ(zor::Trunc(nan), 0);
    EXPECT_EQ(zor::Round(inf), Int64Max);
    EXPECT_EQ(zor::Round(-inf), Int64Min);
    EXPECT_EQ(zor::Round(1e300), Int64Max);
    EXPECT_EQ(zor::Trunc(-1e300), Int64Min);
    EXPECT_EQ(zor::Round(-9223372036854775808.0), Int64Min);
}

TEST(Angles, DegreesAndRadians)
{
    EXPECT_DOUBLE_EQ(zor::RadToDeg(Pi / 2), 90.0);
    EXPECT_DOUBLE_EQ(zor::DegToRad(-180.0), -Pi);
    EXPECT_DOUBLE_EQ(zor::RadToDeg(zor::DegToRad(37.5)), 37.5);
}

TEST(Units, OneOfEachUnitInMicrometres)
{
    const struct {
        TZORUnits units;
        int64_t micrometres;
    } table[] = { { TZORUnits::Millimetre, 1000 }, { TZORUnits::Inch, 25400 },
        { TZORUnits::Centimetre, 10000 }, { TZORUnits::Decimetre, 100000 }, { TZORUnits::Metre, 1000000 },
        { TZORUnits::Foot, 304800 }, { TZORUnits::Yard, 914400 } };
    for (const auto& row : table) {
        SCOPED_TRACE(static_cast<int>(zor::Ord(row.units)));
        EXPECT_EQ(zor::SetValue(1.0, row.units), row.micrometres);
        EXPECT_EQ(zor::SetValue(-2.0, row.units), -2 * row.micrometres);
        EXPECT_DOUBLE_EQ(zor::GetValue(row.micrometres, row.units), 1.0);
        // Any value comes back within half a micrometre of the unit.
        for (double v : { 0.0, 12.345, -0.001, 1.0 / 3.0, 5000.0 }) {
            const double back = zor::GetValue(zor::SetValue(v, row.units), row.units);
            EXPECT_NEAR(back, v, 0.5 / static_cast<double>(row.micrometres)) << v;
        }
    }
}

TEST(Units, RoundsToWholeMicrometresAndToleratesUnknownUnits)
{
    EXPECT_EQ(zor::SetValue(1.0 / 3.0, TZORUnits::Inch), 8467);
    EXPECT_EQ(zor::SetValue(0.0005, TZORUnits::Millimetre), 0); // 0.5 µm, halves to even
    EXPECT_EQ(zor::SetValue(0.0015, TZORUnits::Millimetre), 2);
    EXPECT_EQ(zor::SetValue(5.0, TZORUnits::Metre), 5000000);
    // A unit byte from a damaged file reads as millimetres instead of indexing past the table.
    EXPECT_EQ(zor::SetValue(2.0, TZORUnits { 9 }), 2000);
    EXPECT_DOUBLE_EQ(zor::GetValue(2000, TZORUnits { 200 }), 2.0);
}

TEST(Projection, ScreenAndPrintAgreeWithinOnePixel)
{
    const int64_t coordinates[] = { 0, 1, 132, 12345, 999999, -777777, 5000000, 123456789 };
    for (int scale : { 1, 50 })
        for (int dpi : { 96, 300, 600 }) {
            TZORBaseDraw D;
            D.SetProjection(dpi, dpi, scale);
            SCOPED_TRACE(::testing::Message() << dpi << " dpi, 1:" << scale);
            for (int64_t c : coordinates) {
                const TZORPto p { c, -c };
                EXPECT_LT(std::abs(p.DrawX(D) - p.PrintX(D)), 1.0) << c;
                EXPECT_LT(std::abs(p.DrawY(D) - p.PrintY(D)), 1.0) << c;
                // A length and a position of the same size project alike.
                EXPECT_DOUBLE_EQ(zor::DrawFromBaseX(static_cast<double>(c), D), p.DrawX(D));
                EXPECT_EQ(zor::PrintFromBaseY(static_cast<double>(-c), D), p.PrintY(D));
            }
        }
}

TEST(Projection, FiveMetresAt1200DpiDoNotOverflow)
{
    TZORBaseDraw D;
    D.SetProjection(1200, 1200, 1);
    const TZORPto p { 5000000, 5000000 };
    // 5e6 × 1200 is past 32 bits: the product must be formed wide.
    EXPECT_NEAR(p.DrawX(D), 236220.47, 0.01);
    EXPECT_EQ(p.PrintX(D), 236220);
    EXPECT_EQ(p.PrintY(D), 236220);
    D.SetProjection(1200, 1200, 50);
    EXPECT_EQ(p.PrintX(D), 4724);
}

TEST(Projection, PrintedCoordinatesSaturateInsteadOfWrapping)
{
    TZORBaseDraw D;
    D.SetProjection(1200, 1200, 1);
    EXPECT_EQ(zor::PrintFromBaseX(1e15, D), std::numeric_limits<int>::max());
    EXPECT_EQ(zor::PrintFromBaseY(-1e15, D), std::numeric_limits<int>::min());
}

TEST(PenWidth, MillimetresAtTheResolutionOnly)
{
    TZORBaseDraw D;
    D.SetProjection(300, 300, 1);
    EXPECT_NEAR(zor::BasePtoY(0.5, D), 5.9055118, 1e-6);
    // The print path sets pixels per millimetre after its dash units, and the drawing scale
    // must not thin the pen: neither enters the width.
    D.SetProjection(300, 300, 50);
    D.fPixMM = 0.0f;
    D.fZoom = 4.0f;
    EXPECT_NEAR(zor::BasePtoY(0.5, D), 5.9055118, 1e-6);
    D.SetProjection(600, 300, 1);
    EXPECT_DOUBLE_EQ(zor::DrawBasePtoX(0.5, D), 2 * zor::BasePtoY(0.5, D));
    EXPECT_DOUBLE_EQ(D.DrawBasePtoX(0.5), zor::DrawBasePtoX(0.5, D));
}

TEST(TextPos, AlignmentsAndPaddingUnturned)
{
    const struct {
        TZORHorzAlign h;
        TZORVertAlign v;
        double x, y;
    } table[] = {
        { TZORHorzAlign::Left, TZORVertAlign::Top, 103, 52 },
        { TZORHorzAlign::Center, TZORVertAlign::Center, 80, 45 },
        { TZORHorzAlign::Right, TZORVertAlign::Bottom, 57, 38 },
        { TZORHorzAlign::Justify, TZORVertAlign::Top, 80, 52 },
    };
    for (const auto& row : table) {
        const QPointF p = zor::DrawTxtPos(100, 50, 3, 2, 40, 10, row.h, row.v, TZORAngle::Angle0);
        EXPECT_EQ(p, QPointF(row.x, row.y)) << int(zor::Ord(row.h)) << "," << int(zor::Ord(row.v));
        const QPoint q = zor::PrintTxtPos(100, 50, 3, 2, 40, 10, row.h, row.v, TZORAngle::Angle0);
        EXPECT_EQ(q, p.toPoint());
    }
}

TEST(TextPos, TurnedBlocksStartAtTheTurnedCorner)
{
    // Left/top with padding: the block's own top-left corner, turned counter-clockwise.
    const struct {
        TZORAngle angle;
        QPointF start;
    } table[] = { { TZORAngle::Angle0, { 103, 52 } }, { TZORAngle::Angle90, { 102, 47 } },
        { TZORAngle::Angle180, { 97, 48 } }, { TZORAngle::Angle270, { 98, 53 } } };
    for (const auto& row : table)
        EXPECT_EQ(zor::DrawTxtPos(100, 50, 3, 2, 40, 10, TZORHorzAlign::Left, TZORVertAlign::Top, row.angle),
            row.start)
            << int(zor::Ord(row.angle));
}

TEST(TextPos, CentredBlocksStayCentredAtEveryAngle)
{
    const QPointF anchor(100, 50);
    for (uint8_t a = 0; a < 4; ++a) {
        const TZORAngle angle { a };
        QPointF start = zor::DrawTxtPos(
            anchor.x(), anchor.y(), 7, 9, 40, 10, TZORHorzAlign::Center, TZORVertAlign::Center, angle);
        // The block's centre lies (w/2, h/2) from its start in the block's own turned frame.
        QPointF centre = start + QPointF(20, 5);
        TDraw2D::RotatePoint(centre, start, angle);
        EXPECT_EQ(centre, anchor) << int(a);
    }
}

TEST(TextPos, PrintHalvesTowardZero)
{
    EXPECT_EQ(zor::PrintTxtPos(
                  100, 50, 0, 0, 41, 11, TZORHorzAlign::Center, TZORVertAlign::Center, TZORAngle::Angle0),
        QPoint(80, 45));
    EXPECT_EQ(zor::PrintTxtPos(
                  0, 0, 0, 0, 41, 11, TZORHorzAlign::Center, TZORVertAlign::Center, TZORAngle::Angle180),
        QPoint(20, 5));
}

TEST(Geometry, DistanceAndNormalizeAngle)
{
    EXPECT_DOUBLE_EQ(TDraw2D::Distance(1, 2, 4, 6), 5.0);
    EXPECT_DOUBLE_EQ(TDraw2D::Distance(QPointF(-3, 0), QPointF(0, 4)), 5.0);
    const struct {
        double in, out;
    } table[] = { { 0.0, 0.0 }, { 2 * Pi, 0.0 }, { -Pi / 2, 3 * Pi / 2 }, { 7 * Pi, Pi }, { -1e-18, 0.0 },
        { std::numeric_limits<double>::quiet_NaN(), 0.0 }, { std::numeric_limits<double>::infinity(), 0.0 } };
    for (const auto& row : table) {
        const double a = TDraw2D::NormalizeAngle(row.in);
        EXPECT_NEAR(a, row.out, 1e-12) << row.in;
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, 2 * Pi);
    }
}

TEST(QuarterTurns, PointsTurnCounterClockwiseOnThePage)
{
    const QPoint centre(10, 20);
    const struct {
        uint8_t angle;
        QPoint right, below;
    } table[] = {
        { 0, { 13, 20 }, { 10, 22 } },
        { 1, { 10, 17 }, { 12, 20 } }, // right turns up, below turns right
        { 2, { 7, 20 }, { 10, 18 } },
        { 3, { 10, 23 }, { 8, 20 } },
        { 4, { 13, 20 }, { 10, 22 } }, // only the two low bits count
        { 5, { 10, 17 }, { 12, 20 } },
    };
    for (const auto& row : table) {
        QPoint a(13, 20), b(10, 22);
        TDraw2D::RotatePoint(a, centre, TZORAngle { row.angle });
        TDraw2D::RotatePoint(b, centre, TZORAngle { row.angle });
        EXPECT_EQ(a, row.right) << int(row.angle);
        EXPECT_EQ(b, row.below) << int(row.angle);
        QPointF f(13, 20);
        TDraw2D::RotatePoint(f, QPointF(centre), TZORAngle { row.angle });
        EXPECT_EQ(f, QPointF(row.right));
    }
}

TEST(QuarterTurns, AgreeWithNegativeDegrees)
{
    // Degrees turn clockwise on screen, like the painters; a quarter turn is -90 of them.
    for (uint8_t k = 0; k < 4; ++k) {
        QPointF byQuarter(7.5, -3.25), byDegrees(7.5, -3.25);
        TDraw2D::RotatePoint(byQuarter, QPointF(1, 2), TZORAngle { k });
        TDraw2D::RotatePoint(byDegrees, QPointF(1, 2), -90.0 * k);
        EXPECT_NEAR(byQuarter.x(), byDegrees.x(), 1e-12) << int(k);
        EXPECT_NEAR(byQuarter.y(), byDegrees.y(), 1e-12) << int(k);
    }
}

TEST(QuarterTurns, RectanglesStayAxisParallel)
{
    const QPointF centre(10, 20);
    const struct {
        TZORAngle angle;
        QRectF result;
    } table[] = { { TZORAngle::Angle0, QRectF(10, 20, 4, 1) }, { TZORAngle::Angle90, QRectF(10, 16, 1, 4) },
        { TZORAngle::Angle180, QRectF(6, 19, 4, 1) }, { TZORAngle::Angle270, QRectF(9, 20, 1, 4) } };
    for (const auto& row : table) {
        QRectF r(10, 20, 4, 1);
        TDraw2D::Rotate(r, centre, row.angle);
        EXPECT_EQ(r, row.result) << int(zor::Ord(row.angle));
    }
}

TEST(Arrow, SymmetricAndPointingAtTheTip)
{
    const QPointF tip(50, 40);
    for (double opening : { 8.0, 4.0, 16.0 })
        for (const QPointF from : { QPointF(0, 40), QPointF(50, 100), QPointF(-20, -30), QPointF(51, 39) }) {
            SCOPED_TRACE(
                ::testing::Message() << "opening " << opening << " from " << from.x() << "," << from.y());
            const TZORArrow a = TDraw2D::DrawArrow(from, tip, 12.0, opening);
            const QPointF back = (from - tip) / TDraw2D::Distance(from, tip);
            for (const QPointF& wing : { a.Wing1, a.Wing2 }) {
                const QPointF d = wing - tip;
                EXPECT_NEAR(TDraw2D::Distance(wing, tip), 12.0, 1e-9);
                // Each wing lies back toward the tail, pi/opening off the line.
                EXPECT_NEAR(QPointF::dotProduct(d, back) / 12.0, std::cos(Pi / opening), 1e-9);
            }
            // Mirror images about the line: equal and opposite distances from it.
            const auto side
                = [&](const QPointF& w) { return back.x() * (w - tip).y() - back.y() * (w - tip).x(); };
            EXPECT_NEAR(side(a.Wing1), -side(a.Wing2), 1e-9);
            EXPECT_GT(std::abs(side(a.Wing1)), 1.0);
        }
}

TEST(Arrow, OrdinaryHeadWingSidesAndTheAngleForm)
{
    const TZORArrow a = TDraw2D::DrawArrow(QPointF(0, 0), QPointF(10, 0), 8.0, 8.0);
    // 22.5 degrees off the line on each side; right of the travel direction is down on screen.
    EXPECT_NEAR(a.Wing1.x(), 10 - 8 * std::cos(Pi / 8), 1e-12);
    EXPECT_NEAR(a.Wing1.y(), 8 * std::sin(Pi / 8), 1e-12);
    EXPECT_NEAR(a.Wing2.y(), -8 * std::sin(Pi / 8), 1e-12);
    for (double angle : { 0.0, 1.0, -2.5, Pi }) {
        const QPointF tip(3, 4);
        const QPointF from = tip - QPointF(std::cos(angle), std::sin(angle));
        const TZORArrow byPoint = TDraw2D::DrawArrow(from, tip, 6.0, 8.0);
        const TZORArrow byAngle = TDraw2D::DrawArrow(tip, angle, 6.0, 8.0);
        EXPECT_NEAR(TDraw2D::Distance(byPoint.Wing1, byAngle.Wing1), 0.0, 1e-9) << angle;
        EXPECT_NEAR(TDraw2D::Distance(byPoint.Wing2, byAngle.Wing2), 0.0, 1e-9) << angle;
    }
}

TEST(Arrow, TinyOrNegativeOpeningsDoNotDivideByZero)
{
    for (double opening : { 0.0, -3.0, 1.0, 2.0 }) {
        const TZORArrow a = TDraw2D::DrawArrow(QPointF(0, 0), QPointF(10, 0), 5.0, opening);
        // Wings square to the line, never NaN.
        EXPECT_NEAR(a.Wing1.x(), 10.0, 1e-9) << opening;
        EXPECT_NEAR(a.Wing1.y(), 5.0, 1e-9) << opening;
        EXPECT_NEAR(a.Wing2.y(), -5.0, 1e-9) << opening;
    }
}

QPointF OnCircle(double cx, double cy, double r, double degrees)
{
    const double a = zor::DegToRad(degrees);
    return { cx + r * std::cos(a), cy + r * std::sin(a) };
}

TEST(Arc, ThroughThreePointsOfKnownCircles)
{
    const struct {
        double cx, cy, r;
        double a1, a2, a3; // degrees, clockwise on screen
        double sweep;
    } table[] = {
        { 5, -3, 10, 0, 90, 180, 180 }, { 5, -3, 10, 0, 270, 180, -180 }, { 0, 0, 1, 0, 200, 300, 300 },
        { 0, 0, 1, 0, 330, 300, -60 }, { 1e9, 2e9, 5e6, 350, 10, 30, 40 }, // base units far from the origin
    };
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << row.a1 << " " << row.a2 << " " << row.a3);
        const QPointF p1 = OnCircle(row.cx, row.cy, row.r, row.a1);
        const QPointF p2 = OnCircle(row.cx, row.cy, row.r, row.a2);
        const QPointF p3 = OnCircle(row.cx, row.cy, row.r, row.a3);
        TDraw2DArc arc;
        ASSERT_TRUE(TDraw2D::ArcThreePoints(p1.x(), p1.y(), p2.x(), p2.y(), p3.x(), p3.y(), arc));
        const double tolerance = 1e-9 * std::max(1.0, row.r);
        EXPECT_NEAR(arc.Cx, row.cx, tolerance);
        EXPECT_NEAR(arc.Cy, row.cy, tolerance);
        EXPECT_NEAR(arc.R, row.r, tolerance);
        EXPECT_NEAR(arc.Start, TDraw2D::NormalizeAngle(zor::DegToRad(row.a1)), 1e-9);
        EXPECT_NEAR(arc.End, TDraw2D::NormalizeAngle(zor::DegToRad(row.a3)), 1e-9);
        EXPECT_NEAR(zor::RadToDeg(arc.Sweep), row.sweep, 1e-7);
        EXPECT_EQ(arc.Clock, row.sweep > 0);
        // The middle point lies inside the swept range.
        const double toMiddle
            = TDraw2D::NormalizeAngle((zor::DegToRad(row.a2) - arc.Start) * (arc.Clock ? 1 : -1));
        EXPECT_LT(toMiddle, std::abs(arc.Sweep));
    }
}

TEST(Arc, DegenerateTriplesFailQuietly)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double x1, y1, x2, y2, x3, y3;
    } table[] = {
        { 0, 0, 1, 1, 2, 2 }, // collinear
        { 0, 0, 2, 2, 1, 1 }, // collinear, middle outside
        { 5, 5, 5, 5, 5, 5 }, // one point
        { 0, 0, 3, 4, 0, 0 }, // ends coincide
        { 0, 0, 1e-13, 1, 0, 2 }, // collinear within rounding
        { 0, 0, nan, 1, 2, 0 },
        { 0, 0, 1, std::numeric_limits<double>::infinity(), 2, 0 },
    };
    for (const auto& row : table) {
        TDraw2DArc arc;
        arc.R = -1;
        EXPECT_FALSE(TDraw2D::ArcThreePoints(row.x1, row.y1, row.x2, row.y2, row.x3, row.y3, arc));
        EXPECT_EQ(arc.R, -1); // untouched
        TDraw2DCircle circle;
        EXPECT_FALSE(TDraw2D::CircleThreePoints(row.x1, row.y1, row.x2, row.y2, row.x3, row.y3, circle));
    }
}

TEST(Arc, CircleOnADiameter)
{
    const TDraw2DCircle c = TDraw2D::CircleTwoPoints(-2, 1, 4, 9);
    EXPECT_DOUBLE_EQ(c.Cx, 1.0);
    EXPECT_DOUBLE_EQ(c.Cy, 5.0);
    EXPECT_DOUBLE_EQ(c.R, 5.0);
}

TEST(CenteredRect, KeepsProportionsInsideTheRectangle)
{
    const QRectF r(0, 0, 100, 50);
    const struct {
        double w, h;
        QRectF result;
    } table[] = {
        { 2, 1, QRectF(0, 0, 100, 50) },
        { 1, 1, QRectF(25, 0, 50, 50) },
        { 400, 100, QRectF(0, 12.5, 100, 25) },
        { 0, 1, QRectF(50, 25, 0, 0) },
        { -3, 1, QRectF(50, 25, 0, 0) },
        { std::numeric_limits<double>::infinity(), 1, QRectF(50, 25, 0, 0) },
    };
    for (const auto& row : table)
        EXPECT_EQ(TDraw2D::CenteredRect(row.w, row.h, r), row.result) << row.w << ":" << row.h;
    EXPECT_EQ(TDraw2D::CenteredRect(1, 1, QRectF(100, 50, -100, -50)), QRectF(25, 0, 50, 50));
    EXPECT_EQ(TDraw2D::CenteredRect(1, 1, QRectF(10, 10, 0, 30)), QRectF(10, 25, 0, 0));
}

TEST(CenteredRect, BaseUnitsStayWithinTheRectangle)
{
    EXPECT_EQ(TDraw2D::CenteredRect(1, 1, TZORRect { 0, 0, 1001, 500 }), (TZORRect { 250, 0, 750, 500 }));
    EXPECT_EQ(TDraw2D::CenteredRect(3, 1, TZORRect { 1000, 2000, 0, 0 }), (TZORRect { 0, 833, 1000, 1166 }));
    EXPECT_EQ(TDraw2D::CenteredRect(0, 1, TZORRect { 0, 0, 10, 20 }), (TZORRect { 5, 10, 5, 10 }));
    for (double w : { 1.0, 7.0, 0.3, 1e-9 }) {
        const TZORRect r { -7, 3, 993, 777 };
        const TZORRect box = TDraw2D::CenteredRect(w, 1.0, r);
        EXPECT_TRUE(r.Contains(box.Left, box.Top)) << w;
        EXPECT_TRUE(r.Contains(box.Right, box.Bottom)) << w;
    }
}

TEST(AngleSegment, LevelHeightGivesTheChord)
{
    const struct {
        double ratio;
        bool fromLeft;
        double start, sweep;
    } table[] = {
        { 0.0, false, 90, 0 },
        { 0.25, false, 30, 120 },
        { 0.5, false, 0, 180 },
        { 1.0, false, -90, 360 },
        { 0.5, true, 90, 180 },
        { 1.5, false, -90, 360 }, // clamped
        { -0.2, false, 90, 0 },
        { std::numeric_limits<double>::quiet_NaN(), false, 90, 0 },
    };
    for (const auto& row : table) {
        double start = -1, sweep = -1;
        TDraw2D::AngleSegment(row.ratio, false, row.fromLeft, start, sweep);
        EXPECT_NEAR(start, row.start, 1e-9) << row.ratio << (row.fromLeft ? " left" : "");
        EXPECT_NEAR(sweep, row.sweep, 1e-9) << row.ratio << (row.fromLeft ? " left" : "");
    }
    // The chord's ends lie on the level: y = cy + r (1 - 2 ratio) on a circle of radius r.
    for (double ratio : { 0.1, 0.37, 0.8 }) {
        double start, sweep;
        TDraw2D::AngleSegment(ratio, false, false, start, sweep);
        EXPECT_NEAR(std::sin(zor::DegToRad(start)), 1 - 2 * ratio, 1e-12);
        EXPECT_NEAR(std::sin(zor::DegToRad(start + sweep)), 1 - 2 * ratio, 1e-12);
    }
}

TEST(AngleSegment, ByAreaFillsTheShareOfTheDisc)
{
    for (double share : { 0.0, 0.1, 0.25, 0.5, 0.9, 1.0 }) {
        double start, sweep;
        TDraw2D::AngleSegment(share, true, false, start, sweep);
        const double a = zor::DegToRad(sweep);
        EXPECT_NEAR((a - std::sin(a)) / (2 * Pi), share, 1e-9) << share;
        EXPECT_NEAR(start + sweep / 2, 90.0, 1e-9) << share;
    }
}

} // namespace
