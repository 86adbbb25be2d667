#include "Zor.Barcode.h"
#include "Zor.BaseDraw.h"
#include "Zor.Utils.h"

#include <gtest/gtest.h>

#include <string>

using zor::SplitRetailText;
using zor::TBarcode;

namespace {

using W = TZORDrawWidth;
using Bar = TZORDrawBar;

QByteArray Pattern(const char* code, TZORBarType type)
{
    TZOR128AutoType autoType;
    const QByteArray prepared = TZORBarEncoder::PrepareBarcode(code, type, false, false, autoType);
    return TZORBarEncoder::FillBarPattern(prepared, type, autoType, true);
}

TEST(BarcodeLayout, PatternCharactersNameWidthAndBarClass)
{
    const struct {
        const char* chars;
        Bar bar;
    } table[] = { { "012345", Bar::Full }, { "abcdef", Bar::Short }, { "ghijkl", Bar::Guard },
        { "ABCDEF", Bar::Space } };
    for (const auto& row : table) {
        for (int w = 0; w < 6; ++w) {
            W width = W::Previous;
            Bar bar = Bar::Full;
            TBarcode::FillBarData(row.chars[w], width, bar);
            EXPECT_EQ(width, static_cast<W>(w)) << row.chars[w];
            EXPECT_EQ(bar, row.bar) << row.chars[w];
            EXPECT_EQ(TBarcode::BarChar(static_cast<W>(w), row.bar), row.chars[w]);
        }
    }
    for (const char c : std::string("?x6GmM \x7f") + '\0') {
        W width = W::Narrow;
        Bar bar = Bar::Full;
        TBarcode::FillBarData(c, width, bar);
        EXPECT_EQ(width, W::Previous) << int(c);
        EXPECT_EQ(bar, Bar::Space) << int(c);
    }
    EXPECT_EQ(TBarcode::BarChar(W::Previous, Bar::Full), '?');
}

TEST(BarcodeLayout, ElementWidthsFollowTheirClass)
{
    const struct {
        W width;
        double expected;
    } table[] = { { W::Narrow, 2.0 }, { W::Wide, 5.0 }, { W::Double, 4.0 }, { W::Triple, 6.0 },
        { W::Quadruple, 8.0 }, { W::OneAndHalf, 3.0 }, { W::Previous, 7.0 } };
    for (const auto& row : table)
        EXPECT_DOUBLE_EQ(TBarcode::ElementWidth(row.width, 2.0, 2.5, 7.0), row.expected)
            << zor::Ord(row.width);

    const struct {
        const char* pattern;
        double width;
    } patterns[] = {
        { "", 0.0 },
        { "0A1B", 2 + 2 + 5 + 5 },
        { "5f", 3 + 3 },
        { "?", 2 }, // the first unknown character is one module
        { "4?x", 8 + 8 + 8 }, // later ones repeat the element before
        { "1?", 5 + 5 },
    };
    for (const auto& row : patterns)
        EXPECT_DOUBLE_EQ(TBarcode::PatternWidth(row.pattern, 2.0, 2.5), row.width) << row.pattern;
}

TEST(BarcodeLayout, RetailDigitPositions)
{
    // Module m = 2 pixels. EAN-13 groups cover modules 3-44 and 50-91; EAN-8 3-30 and 36-63;
    // UPC-A 10-44 and 50-84 (its first and last digit stand outside), 95 modules long;
    // UPC-E 3-44, 51 modules long. Trailing check digits start one module after the bars.
    double left = 0, right = 0, check = 0, centre = 0;
    TBarcode::Ean13Pos(Pattern("590123412345", TZORBarType::EAN13), 2.0, 3.0, left, right);
    EXPECT_DOUBLE_EQ(left, 48.0);
    EXPECT_DOUBLE_EQ(right, 142.0);
    TBarcode::Ean8Pos(Pattern("9638507", TZORBarType::EAN8), 2.0, 3.0, left, right);
    EXPECT_DOUBLE_EQ(left, 34.0);
    EXPECT_DOUBLE_EQ(right, 100.0);
    TBarcode::UPCAPos(Pattern("03600029145", TZORBarType::UPCA), 2.0, 3.0, left, right, check);
    EXPECT_DOUBLE_EQ(left, 55.0);
    EXPECT_DOUBLE_EQ(right, 135.0);
    EXPECT_DOUBLE_EQ(check, 192.0);
    TBarcode::UPCEPos(Pattern("123456", TZORBarType::UPCE), 2.0, 3.0, centre, check);
    EXPECT_DOUBLE_EQ(centre, 48.0);
    EXPECT_DOUBLE_EQ(check, 104.0);
}

TEST(BarcodeLayout, ShortPatternsClampDigitPositionsToTheirEnd)
{
    double left = -1, right = -1, check = -1, centre = -1;
    TBarcode::Ean13Pos("", 2.0, 3.0, left, right);
    EXPECT_EQ(left, 0.0);
    EXPECT_EQ(right, 0.0);
    TBarcode::UPCAPos("0A0", 2.0, 3.0, left, right, check);
    EXPECT_EQ(left, 6.0);
    EXPECT_EQ(right, 6.0);
    EXPECT_EQ(check, 8.0);
    TBarcode::UPCEPos("0A0", 2.0, 3.0, centre, check);
    EXPECT_EQ(centre, 6.0);
    EXPECT_EQ(check, 8.0);
}

TEST(BarcodeLayout, RetailTextSplitsWithoutReadingPastItsEnd)
{
    const struct {
        TZORBarType type;
        QByteArray text;
        const char *lead, *group1, *group2, *trail;
    } table[] = {
        { TZORBarType::EAN13, "5901234123457", "5", "901234", "123457", "" },
        { TZORBarType::EAN8, "96385074", "", "9638", "5074", "" },
        { TZORBarType::UPCA, "036000291452", "0", "36000", "29145", "2" },
        { TZORBarType::UPCE, "01234565", "0", "123456", "", "5" },
        { TZORBarType::EAN13, "59012", "5", "9012", "", "" },
        { TZORBarType::UPCA, "0360002", "0", "36000", "2", "" },
        { TZORBarType::UPCE, "0", "0", "", "", "" },
        { TZORBarType::EAN8, "", "", "", "", "" },
    };
    for (const auto& row : table) {
        const auto split = zor::SplitRetailText(row.text, row.type);
        ASSERT_TRUE(split.has_value());
        EXPECT_EQ(split->Lead.toStdString(), row.lead) << row.text.toStdString();
        EXPECT_EQ(split->Group1.toStdString(), row.group1) << row.text.toStdString();
        EXPECT_EQ(split->Group2.toStdString(), row.group2) << row.text.toStdString();
        EXPECT_EQ(split->Trail.toStdString(), row.trail) << row.text.toStdString();
    }
    EXPECT_FALSE(zor::SplitRetailText("CODE39", TZORBarType::Code39).has_value());
    EXPECT_FALSE(zor::SplitRetailText("1234", static_cast<TZORBarType>(200)).has_value());
}

// Only the conversions are under test; the other getters are never called.
class TFixedBarcode : public IZORBarcode {
public:
    float GetBarWidth() const override { return 0.33f; }
    float GetBarHeight() const override { return 12.7f; }
    float GetPaddingX() const override { return 0; }
    float GetPaddingY() const override { return 0; }
    float GetFactor() const override { return 2; }
    TZORHorzAlign GetHorzAlign() const override { return TZORHorzAlign::Left; }
    TZORAngle GetAngle() const override { return TZORAngle::Angle0; }
    float GetFontHeight() const override { return 3; }
    bool GetShowNumber() const override { return true; }
    TZORBarType GetBarType() const override { return TZORBarType::EAN13; }
    QByteArray GetAnsiCode() const override { return {}; }
    QByteArray GetBarPattern() const override { return {}; }
    QString GetFontName() const override { return {}; }
};

TEST(BarcodeLayout, DrawValueMatchesThePixelsPerMillimetreOfTheContext)
{
    const TFixedBarcode barcode;
    for (const int dpi : { 96, 203, 254, 300, 600, 1200 }) {
        TZORBaseDraw D;
        D.SetProjection(dpi, dpi, 50); // the drawing scale does not enter paper lengths
        for (const float mm : { barcode.GetBarHeight(), barcode.GetBarWidth(), 25.4f, 0.0f })
            EXPECT_EQ(barcode.GetDrawValue(mm, dpi), mm * D.fPixMM) << dpi << " dpi, " << mm << " mm";
    }
    // 10 pixels per millimetre: halves go to the even neighbour.
    EXPECT_EQ(barcode.GetPrintValue(0.25f, 254), 2);
    EXPECT_EQ(barcode.GetPrintValue(0.75f, 254), 8);
    EXPECT_EQ(barcode.GetPrintValue(12.7f, 300), 150);
}

} // namespace
