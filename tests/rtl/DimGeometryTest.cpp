// The dimension's own geometry and text: arrow heads of the angular type and the measured text.

#include "KindStubs.h"

#include <gtest/gtest.h>

#include <numbers>

using zor::TDraw2DArc;

namespace {

using namespace zor::test;

constexpr double Pi = std::numbers::pi;

TDraw2DArc QuarterArc(bool clockwise)
{
    TDraw2DArc arc;
    arc.R = 10000.0;
    arc.Clock = clockwise;
    return arc;
}

// Each head's tail runs along the tangent at its tip toward the inside of the arc, the side where
// point 7 lies; when both tangents are as far from point 7 (it lies on the radius), the arc's
// direction decides.
TEST(Dim, AngularHeadsPointAlongTheArcTowardItsInside)
{
    const struct {
        const char* name;
        TZORPto tip;
        TZORPto through;
        bool clockwise;
        double direction;
    } table[] = {
        { "start of a quarter", { 10000, 0 }, { 7071, 7071 }, true, Pi / 2 },
        { "end of a quarter", { 0, 10000 }, { 7071, 7071 }, true, 0.0 },
        { "start, the other way round", { 10000, 0 }, { 7071, -7071 }, false, -Pi / 2 },
        { "end of a half circle", { -10000, 0 }, { 0, 10000 }, true, Pi / 2 },
        { "on the radius, clockwise", { 10000, 0 }, { 20000, 0 }, true, -Pi / 2 },
        { "on the radius, counter-clockwise", { 10000, 0 }, { 20000, 0 }, false, Pi / 2 },
        { "toward the centre, clockwise", { 0, 10000 }, { 0, 0 }, true, 0.0 },
        { "toward the centre, counter-clockwise", { 0, 10000 }, { 0, 0 }, false, Pi },
    };
    for (const auto& row : table) {
        const double d = TZORBaseDim::HeadDirection(QuarterArc(row.clockwise), row.tip, row.through);
        EXPECT_NEAR(TZORBaseDim::AngleBetween(d, row.direction), 0.0, 1e-12) << row.name << ": " << d;
    }
}

TEST(Dim, AngleBetweenIsTheSmallerTurn)
{
    const struct {
        double u, v, between;
    } table[] = {
        { 0.0, Pi / 2, Pi / 2 },
        { 0.1, 2 * Pi - 0.1, 0.2 },
        { -Pi / 2, Pi / 2, Pi },
        { 5 * Pi, 0.0, Pi },
        { 7.0, 7.0 - 2 * Pi, 0.0 },
        { -3.0, 3.0, 2 * Pi - 6.0 },
    };
    for (const auto& row : table) {
        EXPECT_NEAR(TZORBaseDim::AngleBetween(row.u, row.v), row.between, 1e-12) << row.u << ", " << row.v;
        EXPECT_NEAR(TZORBaseDim::AngleBetween(row.v, row.u), row.between, 1e-12) << row.v << ", " << row.u;
    }
}

TEST(Dim, TextIsThePrefixTheFormattedValueAndTheSuffix)
{
    TZORDimStyle style(QStringLiteral("Test"), zor::claBlack, zor::claBlack, false, false);
    const struct {
        const char* prefix;
        const char* format;
        const char* suffix;
        double value;
        const char* text;
    } table[] = {
        { "L=", "0.00", " mm", 12.345, "L=12.35 mm" },
        { "", "#,##0", "", 12345.6, "12,346" },
        { "R", "0.#", "", 5.0, "R5" },
        // Without a format, as the dimension-style sample shows them.
        { "", "", "", 70.2, "70" },
        { "", "", "", 70.0, "70.0" },
        { "", "", "°", 89.5, "90°" },
    };
    for (const auto& row : table) {
        style.fPrefix = QString::fromUtf8(row.prefix);
        style.fFormat = QString::fromUtf8(row.format);
        style.fSuffix = QString::fromUtf8(row.suffix);
        EXPECT_EQ(TZORBaseDim::DimText(style, row.value), QString::fromUtf8(row.text)) << row.value;
    }
}

// The text follows the measure unless the user wrote it.
TEST(Dim, AssignTextFillsInTheMeasuredValueUnlessTheTextIsTheUsersOwn)
{
    TKindLabel label;
    label.GetActiveDimStyle()->fFormat = QStringLiteral("0.0");
    label.GetActiveDimStyle()->fSuffix = QStringLiteral(" mm");
    TStub<TZORBaseDim> dim(&label, TZRDimType::Horizontal, false);
    dim.SetBase(2, 25400, 9000);
    dim.AssignText();
    EXPECT_EQ(dim.GetText(), QStringLiteral("25.4 mm"));
    dim.SetText(QStringLiteral("mine"));
    dim.SetDimExt(true);
    dim.AssignText();
    EXPECT_EQ(dim.GetText(), QStringLiteral("mine"));
    TStub<TZORBaseDim> angle(&label, TZRDimType::Angle, false);
    angle.SetBase(5, 10000, 0);
    angle.SetBase(6, 0, 10000);
    angle.SetBase(7, 7071, 7071);
    angle.AssignText();
    EXPECT_EQ(angle.GetText(), QStringLiteral("90.0 mm"));
    TDraw2DArc arc;
    EXPECT_TRUE(angle.AngleArc(arc));
    EXPECT_NEAR(arc.R, 10000.0, 1.0);
    angle.SetBase(7, 5000, 5000);
    EXPECT_FALSE(angle.AngleArc(arc));
}

TEST(Dim, BaseFontHeightIsTheStylesHeightInMicrometres)
{
    TKindLabel label;
    label.GetActiveDimStyle()->fFontHeight = 2.5f;
    TStub<TZORBaseDim> dim(&label, TZRDimType::Horizontal, false);
    EXPECT_EQ(dim.GetBaseFontHeight(), 2500);
}

} // namespace
