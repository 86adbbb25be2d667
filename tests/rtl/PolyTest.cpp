// The poly text's model: the code joined from its items and what an invalid one leaves.

#include "KindStubs.h"
#include "Zor.BaseDraw.h"
#include "Zor.Poly.h"

#include <gtest/gtest.h>

using zor::Ord;

namespace {

using TTestPoly = zor::test::TStub<TZORBasePoly>;

TZORDataPoly Item(const QString& text)
{
    TZORDataPoly item;
    item.Text = text;
    return item;
}

} // namespace

// A code that turns invalid keeps nothing of the valid one before it: no pattern, no prepared
// code, and a frame of the paddings alone.
TEST(PolyText, AnInvalidCodeKeepsNoStalePattern)
{
    zor::test::TKindLabel label;
    TTestPoly poly(&label, false);
    poly.AssignPoints(std::vector<TZORPto> { { 10000, 10000 } });
    poly.SetCodeType(TZORBarType::EAN13);
    poly.SetOutput(TZORPolyOutput::Barcode);
    poly.AddItem(Item(QStringLiteral("590123")));
    poly.AddItem(Item(QStringLiteral("412345")));
    EXPECT_TRUE(poly.GetCodeValid());
    EXPECT_EQ(poly.GetAnsiCode(), QByteArray("5901234123457"));
    EXPECT_FALSE(poly.GetBarPattern().isEmpty());
    EXPECT_GT(poly.GetBounds().GetWidth(), 30000);

    poly.AddItem(Item(QStringLiteral("x")));
    EXPECT_FALSE(poly.GetCodeValid());
    EXPECT_TRUE(poly.GetAnsiCode().isEmpty());
    EXPECT_TRUE(poly.GetBarPattern().isEmpty());
    // As for a linear barcode, a code without bars keeps a square of the bar and text height,
    // room for the red cross and for the pointer.
    EXPECT_EQ(poly.GetBounds().GetWidth(), 18000);
    EXPECT_EQ(poly.GetBounds().GetHeight(), 18000);
}

TEST(PolyText, TwoDimensionalOutputsEncodeTheJoinedText)
{
    zor::test::TKindLabel label;
    TTestPoly poly(&label, false);
    poly.AssignPoints(std::vector<TZORPto> { { 0, 0 } });
    poly.AddItem(Item(QStringLiteral("Crème ")));
    poly.AddItem(Item(QStringLiteral("42")));
    EXPECT_TRUE(poly.GetSymbol().IsEmpty()); // text runs encode nothing
    for (const TZORPolyOutput output : { TZORPolyOutput::QRCode, TZORPolyOutput::DataMatrix }) {
        poly.SetOutput(output);
        EXPECT_FALSE(poly.GetSymbol().IsEmpty()) << int(output);
        EXPECT_EQ(poly.GetSymbol().Modules, poly.EncodeValue(QStringLiteral("Crème 42")).Modules);
    }
    poly.SetOutput(TZORPolyOutput(7)); // kept as read, shows the frame alone
    EXPECT_EQ(zor::Ord(poly.GetOutput()), 7);
    EXPECT_FALSE(poly.ShowsContent());
    EXPECT_TRUE(poly.GetSymbol().IsEmpty());
    EXPECT_EQ(poly.GetBounds().GetWidth(), 0);
}

// Paper shows a bound item's value; the screen and the own code keep the item's own text.
TEST(PolyText, BoundItemsPrintTheirValue)
{
    zor::test::TKindLabel label;
    ASSERT_TRUE(label.Data().SetJson(QStringLiteral(R"([{"lot":"L-7"}])")));
    label.Data().SetDataSel(QStringLiteral("JSON"));
    label.CheckPrintData();
    TTestPoly poly(&label, false);
    poly.AddItem(Item(QStringLiteral("Lot ")));
    TZORDataPoly lot = Item(QStringLiteral("own"));
    lot.FillType = 1;
    lot.FillName = QStringLiteral("lot");
    poly.AddItem(lot);
    EXPECT_TRUE(poly.GetIsData());
    EXPECT_EQ(poly.JoinedText(), QStringLiteral("Lot own"));
    const TZORBaseDraw paper;
    EXPECT_EQ(poly.JoinedText(&paper), QStringLiteral("Lot L-7"));
}
