// What each kind's setters make of values outside their ranges: a value the element could not
// draw or save is clamped, or a value that is no number gives the setter's default.

#include "KindStubs.h"
#include "Zor.Rank.h"
#include "Zor.Table.h"
#include "Zor.Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

namespace {

using namespace zor::test;

template <class C, class R, class A> A ArgumentOf(R (C::*)(A));

template <class A> A From(double v)
{
    if constexpr (std::is_enum_v<A>)
        return A(std::underlying_type_t<A>(v));
    else
        return A(v);
}

template <class R> double AsNumber(R v)
{
    if constexpr (std::is_enum_v<R>)
        return double(zor::Ord(v));
    else
        return double(v);
}

template <class E> constexpr double Code(E v)
{
    return double(zor::Ord(v));
}

// The label's element of class T (the one made by an earlier row, so that the rows of one kind
// run on one element in order).
template <class T> T& ElementOf(TKindLabel& label)
{
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (auto* item = dynamic_cast<TStub<T>*>(label.GetItem(i)))
            return *item;
    return *Stub<T>(label);
}

struct TSetterCase {
    const char* Kind;
    const char* Setter;
    double (*SetAndGet)(TKindLabel& label, double in);
    double In;
    double Expected;
};

template <class T, auto Set, auto Get> double SetAndGet(TKindLabel& label, double in)
{
    T& item = ElementOf<T>(label);
    (item.*Set)(From<decltype(ArgumentOf(Set))>(in));
    return AsNumber((item.*Get)());
}

using Text = TZORBaseText;
using Para = TZORBasePara;
using Table = TZORBaseTable;
using Rank = TZORBaseRank;
using Poly = TZORBasePolyLine;
using Arrow = TZORBaseArrowLine;
using Sector = TZORBaseSector;
using Level = TZORBaseLevel;

constexpr double Nan = NAN;
constexpr double Inf = INFINITY;

const TSetterCase SetterCases[] = {
    { "text", "Scale", SetAndGet<Text, &Text::SetScale, &Text::GetScale>, 0.0, 0.1f },
    { "text", "Scale", SetAndGet<Text, &Text::SetScale, &Text::GetScale>, 25.0, 10.0 },
    { "text", "Scale", SetAndGet<Text, &Text::SetScale, &Text::GetScale>, Nan, 1.0 },
    { "text", "Scale", SetAndGet<Text, &Text::SetScale, &Text::GetScale>, 1.25, 1.25 },
    { "text", "FontHeight", SetAndGet<Text, &Text::SetFontHeight, &Text::GetFontHeight>, -2.0, 0.1f },
    { "text", "FontHeight (base)", SetAndGet<Text, &Text::SetFontHeight, &Text::GetBaseFontHeight>, -2.0,
        100 },

    { "paragraph", "HorzAlign", SetAndGet<Para, &Para::SetHorzAlign, &Para::GetHorzAlign>, 9,
        Code(TZORHorzAlign::Justify) },
    { "paragraph", "VertAlign", SetAndGet<Para, &Para::SetVertAlign, &Para::GetVertAlign>, 9,
        Code(TZORVertAlign::Bottom) },
    { "paragraph", "ScaleX", SetAndGet<Para, &Para::SetScaleX, &Para::GetScaleX>, -1.0, 0.1f },
    { "paragraph", "ScaleX", SetAndGet<Para, &Para::SetScaleX, &Para::GetScaleX>, Inf, 1.0 },
    { "paragraph", "PaddingX", SetAndGet<Para, &Para::SetPaddingX, &Para::GetPaddingX>, -3.0, 0.0 },
    { "paragraph", "PaddingY", SetAndGet<Para, &Para::SetPaddingY, &Para::GetPaddingY>, 5000.0, 1000.0 },

    { "table", "Columns", SetAndGet<Table, &Table::SetColumns, &Table::GetColumns>, 0, 1 },
    { "table", "Rows", SetAndGet<Table, &Table::SetRows, &Table::GetRows>, -5, 0 },
    { "table", "Columns", SetAndGet<Table, &Table::SetColumns, &Table::GetColumns>, INT32_MAX, 256 },
    { "table", "Rows", SetAndGet<Table, &Table::SetRows, &Table::GetRows>, INT32_MAX, 65535 },

    // No cell would leave nothing to divide the box into.
    { "rating", "Maximum", SetAndGet<Rank, &Rank::SetMaximum, &Rank::GetMaximum>, 0, 1 },
    { "rating", "Position", SetAndGet<Rank, &Rank::SetPosition, &Rank::GetPosition>, 9, 9 },

    { "polyline", "SizeFrom", SetAndGet<Poly, &Poly::SetSizeFrom, &Poly::GetSizeFrom>, 4.0, 4.0 },
    { "polyline", "SizeFrom", SetAndGet<Poly, &Poly::SetSizeFrom, &Poly::GetSizeFrom>, -1.0, 0.0 },
    { "polyline", "SizeFrom", SetAndGet<Poly, &Poly::SetSizeFrom, &Poly::GetSizeFrom>, 1e6, 100.0 },
    { "polyline", "SizeFrom", SetAndGet<Poly, &Poly::SetSizeFrom, &Poly::GetSizeFrom>, Nan, 3.0 },
    { "polyline", "SizeFrom", SetAndGet<Poly, &Poly::SetSizeFrom, &Poly::GetSizeFrom>, Inf, 3.0 },
    { "polyline", "SizeTo", SetAndGet<Poly, &Poly::SetSizeTo, &Poly::GetSizeTo>, 4.0, 4.0 },
    { "polyline", "SizeTo", SetAndGet<Poly, &Poly::SetSizeTo, &Poly::GetSizeTo>, -1.0, 0.0 },
    { "polyline", "SizeTo", SetAndGet<Poly, &Poly::SetSizeTo, &Poly::GetSizeTo>, 1e6, 100.0 },
    { "polyline", "SizeTo", SetAndGet<Poly, &Poly::SetSizeTo, &Poly::GetSizeTo>, Nan, 3.0 },
    { "polyline", "SizeTo", SetAndGet<Poly, &Poly::SetSizeTo, &Poly::GetSizeTo>, Inf, 3.0 },
    { "arrow line", "FontHeight", SetAndGet<Arrow, &Arrow::SetFontHeight, &Arrow::GetFontHeight>, Nan, 3.5 },
    { "arrow line", "FontHeight", SetAndGet<Arrow, &Arrow::SetFontHeight, &Arrow::GetFontHeight>, -2.0,
        0.1f },
    { "arrow line", "FontHeight (base)", SetAndGet<Arrow, &Arrow::SetFontHeight, &Arrow::GetBaseFontHeight>,
        -2.0, 100 },
    { "arrow line", "TextPos", SetAndGet<Arrow, &Arrow::SetTextPos, &Arrow::GetTextPos>, 200,
        Code(TZORTextPos::InLineEnd) },

    { "sector", "AngleStart", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetStartAngle>, -90.0,
        270.0 },
    { "sector", "AngleStart", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetStartAngle>, 720.0, 0.0 },
    { "sector", "AngleStart", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetStartAngle>, 359.5,
        359.5 },
    { "sector", "AngleStart", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetStartAngle>, Nan, 0.0 },
    { "sector", "AngleStart", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetStartAngle>, -Inf, 0.0 },
    { "sector", "AngleStart (drawn)", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetDrawStart>, -90.0,
        270.0 },
    { "sector", "AngleStart (drawn)", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetDrawStart>, 720.0,
        0.0 },
    { "sector", "AngleStart (drawn)", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetDrawStart>, 359.5,
        359.5 },
    { "sector", "AngleStart (drawn)", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetDrawStart>, Nan,
        0.0 },
    { "sector", "AngleStart (drawn)", SetAndGet<Sector, &Sector::SetAngleStart, &Sector::GetDrawStart>, -Inf,
        0.0 },
    { "sector", "AngleGap", SetAndGet<Sector, &Sector::SetAngleGap, &Sector::GetSweepAngle>, 400.0, 360.0 },
    { "sector", "AngleGap", SetAndGet<Sector, &Sector::SetAngleGap, &Sector::GetSweepAngle>, -500.0, -360.0 },
    { "sector", "AngleGap", SetAndGet<Sector, &Sector::SetAngleGap, &Sector::GetSweepAngle>, Nan, 0.0 },
    { "sector", "AngleGap", SetAndGet<Sector, &Sector::SetAngleGap, &Sector::GetSweepAngle>, 123.5, 123.5 },

    { "level", "Angle", SetAndGet<Level, &Level::SetAngle, &Level::GetAngle>, 7, Code(TZORAngle::Angle270) },
    { "level", "AngleGap", SetAndGet<Level, &Level::SetAngleGap, &Level::GetAngleGap>, 500.0, 360.0 },
    { "level", "Value", SetAndGet<Level, &Level::SetValue, &Level::GetValue>, Nan, 0.0 },
    { "level", "MaxValue", SetAndGet<Level, &Level::SetMaxValue, &Level::GetMaxValue>, Inf, 0.0 },
    { "level", "LevelType", SetAndGet<Level, &Level::SetLevelType, &Level::GetLevelType>, 9,
        Code(TZORLevelType::RingRight) },
    { "level", "TextRatio", SetAndGet<Level, &Level::SetTextRatio, &Level::GetTextRatio>, -1.0, 1.0 },
};

// The rows of one kind run in order on one element, so that a value that is no number shows
// the setter's default rather than the value before it.
TEST(SetterRanges, EachSetterKeepsItsRange)
{
    TKindLabel label;
    for (const TSetterCase& c : SetterCases)
        EXPECT_EQ(c.SetAndGet(label, c.In), c.Expected) << c.Kind << ", " << c.Setter << "(" << c.In << ")";
}

} // namespace
