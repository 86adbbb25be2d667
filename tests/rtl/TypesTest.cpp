#include "Zor.BaseDraw.h"
#include "Zor.Types.h"

#include <gtest/gtest.h>

#include <type_traits>

using zor::AlphaColorToColor;
using zor::ColorToAlphaColor;
using zor::IsItemType;
using zor::IsSystemColor;
using zor::ItemTypeName;
using zor::Ord;
using zor::TAlphaColor;
using zor::TColor;

namespace {

static_assert(!std::is_convertible_v<TColor, TAlphaColor>, "colour forms must not mix silently");
static_assert(!std::is_convertible_v<TAlphaColor, TColor>, "colour forms must not mix silently");
static_assert(!std::is_convertible_v<uint32_t, TAlphaColor>, "a bare number is no colour");
static_assert(sizeof(TZORTermType) == 1 && sizeof(TZORineType) == 1 && sizeof(TZORDrawState) == 1);

TEST(ItemTypes, CodesAndNamesFollowTheFileForm)
{
    const struct {
        int code;
        TZORItemType type;
        const char* name;
    } table[] = { { 1, TZORItemType::Point, "Point" }, { 4, TZORItemType::PolyLine, "PolyLine" },
        { 12, TZORItemType::Barcode, "Barcode" }, { 15, TZORItemType::QRCode, "QRCode" },
        { 22, TZORItemType::NutriScore, "NutriScore" }, { 26, TZORItemType::Dim, "Dim" },
        { 29, TZORItemType::RichText, "RichText" } };
    for (const auto& row : table) {
        EXPECT_EQ(zor::Ord(row.type), row.code) << row.name;
        EXPECT_EQ(zor::ItemTypeName(row.type), row.name);
    }
}

TEST(ItemTypes, OnlyOneToTwentyNineAreKinds)
{
    for (int64_t code : { 0LL, -1LL, 30LL, 255LL, 0x100000001LL })
        EXPECT_FALSE(zor::IsItemType(code)) << code;
    for (int64_t code = 1; code <= 29; ++code)
        EXPECT_TRUE(zor::IsItemType(code)) << code;
    EXPECT_TRUE(zor::ItemTypeName(TZORItemType { 0 }).empty());
    EXPECT_TRUE(zor::ItemTypeName(TZORItemType { 30 }).empty());
}

TEST(Colours, ConversionsKeepEachChannel)
{
    const struct {
        uint32_t color;
        uint8_t alpha;
        uint32_t alphaColor;
    } table[] = {
        { 0x000000FF, 0xFF, 0xFFFF0000 }, // red
        { 0x0000FF00, 0xFF, 0xFF00FF00 }, // green
        { 0x00FF0000, 0xFF, 0xFF0000FF }, // blue
        { 0x000000FF, 0x80, 0x80FF0000 },
        { 0x00123456, 0x00, 0x00563412 },
    };
    for (const auto& row : table) {
        EXPECT_EQ(zor::Ord(ColorToAlphaColor(TColor { row.color }, row.alpha)), row.alphaColor)
            << std::hex << row.color;
        EXPECT_EQ(zor::Ord(AlphaColorToColor(TAlphaColor { row.alphaColor })), row.color)
            << std::hex << row.color;
    }
    EXPECT_EQ(zor::Ord(ColorToAlphaColor(TColor { 0x000000FF })), 0xFFFF0000u);
}

TEST(Colours, AlphaIsDroppedAndTheSystemByteIgnored)
{
    EXPECT_EQ(zor::Ord(AlphaColorToColor(TAlphaColor { 0x80FF8000 })), 0x000080FFu);
    EXPECT_TRUE(IsSystemColor(TColor { 0xFF00000F }));
    EXPECT_FALSE(IsSystemColor(TColor { 0x00FFFFFF }));
    EXPECT_EQ(zor::Ord(ColorToAlphaColor(TColor { 0xFF00000F })), 0xFF0F0000u);
}

TEST(Pto, DefineConvertsFromTheUnit)
{
    TZORPto p;
    p.Define(1.0, 2.5, TZORUnits::Inch);
    EXPECT_EQ(p, (TZORPto { 25400, 63500 }));
    p.Define(-0.0005, 1.0 / 3.0, TZORUnits::Millimetre);
    EXPECT_EQ(p, (TZORPto { 0, 333 })); // -0.5 µm rounds to the even 0
    p.DefineBase(-7, 9);
    EXPECT_EQ(p, (TZORPto { -7, 9 }));
}

TEST(Pto, PrintIsTheDrawnPositionRoundedHalfToEven)
{
    TZORBaseDraw D;
    D.SetProjection(25400, 25400, 2); // exactly half a pixel per micrometre
    const struct {
        int64_t base;
        double draw;
        int print;
    } table[] = { { 1, 0.5, 0 }, { 3, 1.5, 2 }, { 5, 2.5, 2 }, { -1, -0.5, 0 }, { -3, -1.5, -2 } };
    for (const auto& row : table) {
        const TZORPto p { row.base, row.base };
        EXPECT_DOUBLE_EQ(p.DrawX(D), row.draw);
        EXPECT_DOUBLE_EQ(p.DrawY(D), row.draw);
        EXPECT_EQ(p.PrintX(D), row.print) << row.base;
        EXPECT_EQ(p.PrintY(D), row.print) << row.base;
    }
}

TEST(Pto, GapMovesThePointBeforeProjecting)
{
    TZORBaseDraw D;
    D.SetProjection(300, 600, 1);
    const TZORPto p { 25400, 25400 };
    EXPECT_DOUBLE_EQ(p.DrawGapX(-12700, D), 150.0);
    EXPECT_DOUBLE_EQ(p.DrawGapY(12700, D), 900.0);
    EXPECT_DOUBLE_EQ(p.DrawGapX(0, D), p.DrawX(D));
}

TEST(Rect, SizesAndNormalForm)
{
    const TZORRect r { 50, 40, 10, 100 };
    EXPECT_EQ(r.GetWidth(), -40);
    EXPECT_EQ(r.Normalized(), (TZORRect { 10, 40, 50, 100 }));
    EXPECT_EQ(r.Normalized().GetWidth(), 40);
    EXPECT_EQ(r.Normalized().GetHeight(), 60);
    EXPECT_TRUE((TZORRect { 5, 5, 5, 9 }).IsEmpty());
    EXPECT_FALSE(r.IsEmpty());
}

TEST(Rect, ContainsCountsEdgesWhateverTheCornerOrder)
{
    const TZORRect r { 50, 100, 10, 40 };
    for (auto [x, y] : { std::pair { 10, 40 }, { 50, 100 }, { 30, 70 }, { 10, 100 } })
        EXPECT_TRUE(r.Contains(x, y)) << x << "," << y;
    for (auto [x, y] : { std::pair { 9, 40 }, { 51, 70 }, { 30, 39 }, { 30, 101 } })
        EXPECT_FALSE(r.Contains(x, y)) << x << "," << y;
    EXPECT_TRUE(r.Contains(TZORPto { 20, 60 }));
}

TEST(Rect, UnitedGrowsByPointsToo)
{
    const TZORRect box { 0, 0, 10, 10 };
    EXPECT_EQ(box.United(TZORRect { 20, -5, 20, -5 }), (TZORRect { 0, -5, 20, 10 }));
    EXPECT_EQ(box.United(TZORRect { 8, 30, 2, 12 }), (TZORRect { 0, 0, 10, 30 }));
    EXPECT_EQ(box.United(box), box);
}

} // namespace
