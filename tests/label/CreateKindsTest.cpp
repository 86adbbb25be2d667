// Every element kind made by its tool from clicks, as the editor feeds them to the label.
#include "common/ItemSamples.h"
#include "Zor.Act.h"
#include "Zor.Edit.h"
#include "Zor.Flow.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Stream.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zor;

namespace {

using zor::test::Record;

class CreateKinds : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        auto symbol = std::make_unique<TZORLibSymbol>();
        QString error;
        ASSERT_TRUE(symbol->ReadJson(
            TJsonObject::Parse(QStringLiteral(R"({"Name":"Valve","ID":"{7}","Def":[]})")), error));
        label.AddSymbol(std::move(symbol), true);
    }
    void TearDown() override { TAct::Reset(); }

    // The tool's clicks; a run ends with the right button.
    TZORBaseItem* Make(int32_t action, const std::vector<TZORPto>& clicks, bool rightButton)
    {
        TAct::SetCurAction(action);
        for (const TZORPto& p : clicks)
            label.PickEditor(p.X, p.Y, 500, 0, false);
        if (rightButton)
            label.RightButton(0, 0, 500, 0);
        return label.Select();
    }

    TZORLabelVCL label;
};

TEST_F(CreateKinds, EveryKindIsMadeFromItsClicksAndSurvivesSavingAndReading)
{
    const struct {
        int32_t action;
        std::vector<TZORPto> clicks;
        bool right;
        TZORItemType type;
        TZORPto first; // the element's first point
    } cases[] = {
        { acPoint, { { 5000, 5000 } }, false, TZORItemType::Point, { 5000, 5000 } },
        { acLine, { { 10000, 10000 }, { 30000, 12000 } }, false, TZORItemType::Line, { 10000, 10000 } },
        { acArrowLine, { { 10000, 20000 }, { 30000, 20000 } }, false, TZORItemType::ArrowLine, { 10000, 20000 } },
        { acPolyLine, { { 0, 0 }, { 5000, 0 }, { 5000, 5000 } }, true, TZORItemType::PolyLine, { 0, 0 } },
        { acArc3P, { { 40000, 10000 }, { 50000, 20000 }, { 60000, 10000 } }, false, TZORItemType::Arc, { 40000, 0 } },
        { acRectangle, { { 30000, 40000 }, { 10000, 30000 } }, false, TZORItemType::Rectangle, { 10000, 30000 } },
        { acPolygon, { { 0, 50000 }, { 10000, 50000 }, { 5000, 60000 } }, true, TZORItemType::Polygon, { 0, 50000 } },
        { acCircle, { { 70000, 10000 }, { 75000, 10000 } }, false, TZORItemType::Circle, { 65000, 5000 } },
        { acEllipse, { { 70000, 30000 }, { 78000, 30000 }, { 70000, 34000 } }, false, TZORItemType::Ellipse, { 62000, 26000 } },
        { acText, { { 5000, 70000 } }, false, TZORItemType::Text, { 5000, 70000 } },
        { acParagraph, { { 20000, 70000 }, { 40000, 80000 } }, false, TZORItemType::Paragraph, { 20000, 70000 } },
        { acBarcode, { { 5000, 90000 } }, false, TZORItemType::Barcode, { 5000, 90000 } },
        { acPDF417, { { 30000, 90000 } }, false, TZORItemType::PDF417, { 30000, 90000 } },
        { acDataMatrix, { { 50000, 90000 } }, false, TZORItemType::DataMatrix, { 50000, 90000 } },
        { acQRCode, { { 70000, 90000 } }, false, TZORItemType::QRCode, { 70000, 90000 } },
        { acImage, { { 90000, 0 }, { 110000, 20000 } }, false, TZORItemType::Image, { 90000, 0 } },
        { acFlow, { { 90000, 30000 }, { 110000, 40000 } }, false, TZORItemType::Flow, { 90000, 30000 } },
        { acFlow, { { 90000, 60000 }, { 110000, 70000 } }, false, TZORItemType::Flow, { 90000, 60000 } },
        { acTable, { { 120000, 0 }, { 150000, 20000 } }, false, TZORItemType::Table, { 120000, 0 } },
        { acPolyText, { { 120000, 30000 } }, false, TZORItemType::PolyText, { 120000, 30000 } },
        { acRank, { { 120000, 50000 }, { 150000, 55000 } }, false, TZORItemType::Rank, { 120000, 50000 } },
        { acNutriScore, { { 120000, 60000 }, { 150000, 70000 } }, false, TZORItemType::NutriScore, { 120000, 60000 } },
        { acLevel, { { 130000, 90000 }, { 130000, 95000 } }, false, TZORItemType::Level, { 125000, 85000 } },
        { acSymbol, { { 160000, 10000 } }, false, TZORItemType::Symbol, { 160000, 10000 } },
        { acBezier, { { 160000, 30000 }, { 170000, 40000 }, { 180000, 30000 } }, true, TZORItemType::Bezier, { 160000, 30000 } },
        { acDim, { { 160000, 60000 }, { 190000, 60000 }, { 175000, 70000 } }, false, TZORItemType::Dim, { 160000, 60000 } },
        { acSector, { { 170000, 90000 }, { 176000, 90000 } }, false, TZORItemType::Sector, { 164000, 84000 } },
        { acPackage, { { 200000, 0 }, { 240000, 30000 } }, false, TZORItemType::Package, { 200000, 0 } },
        { acRichText, { { 200000, 40000 }, { 240000, 60000 } }, false, TZORItemType::RichText, { 200000, 40000 } },
    };
    std::vector<int32_t> flows;
    for (const auto& c : cases) {
        TZORBaseItem* made = Make(c.action, c.clicks, c.right);
        ASSERT_NE(made, nullptr) << c.action;
        EXPECT_EQ(made->TypeCode(), c.type) << c.action;
        EXPECT_EQ(made->GetPoint(1), c.first) << c.action;
        if (c.type == TZORItemType::Flow)
            flows.push_back(made->GetID());
        if (TZORTextObject* text = label.GetTextObject()) {
            EXPECT_EQ(TAct::fDrawType, dtText);
            text->SetText(QStringLiteral("Typed"));
            label.UpdateEditing(true);
        }
        label.ResetAction();
    }
    // The link tool joins the two flowchart nodes at anchors the pointer found.
    TZORink from, to;
    ASSERT_TRUE(label.SearchLink(110000, 35000, from, 1000));
    ASSERT_TRUE(label.SearchLink(100000, 60000, to, 1000));
    auto* link = Make(acLink, { { from.Item, from.StartPoint }, { to.Item, to.EndPoint } }, false);
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->TypeCode(), TZORItemType::Link);
    EXPECT_EQ(static_cast<TZORBaseLink*>(link)->GetFromID(), flows[0]);
    EXPECT_EQ(static_cast<TZORBaseLink*>(link)->GetStartPoint(), (TZORPto { 110000, 35000 }));
    EXPECT_EQ(static_cast<TZORBaseLink*>(link)->GetEndPoint(), (TZORPto { 100000, 60000 }));

    // Its start follows the node it leaves when that node is dragged.
    label.ResetAction();
    label.PickEditor(100000, 35000, 500, 0, false);
    ASSERT_EQ(label.Select()->GetID(), flows[0]);
    label.MoveEditor(-10000, 0, -1, -1, false, false);
    label.UpEditor(110000, 35000);
    EXPECT_EQ(static_cast<TZORBaseLink*>(link)->GetStartPoint(), (TZORPto { 120000, 35000 }));

    std::vector<TZORItemType> kinds;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        kinds.push_back(label.GetItem(i)->TypeCode());
    for (int32_t code = 1; code <= 29; ++code)
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), TZORItemType(code)), kinds.end()) << code;

    QByteArray bytes;
    TBinaryWriter w(&bytes);
    label.WriteLabel(w);
    TZORLabelVCL read;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    read.LoadFromStream(&buffer);
    ASSERT_EQ(read.GetItemsCount(), label.GetItemsCount());
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        EXPECT_EQ(Record(*read.GetItem(i)), Record(*label.GetItem(i))) << int(label.GetItem(i)->TypeCode());
}

TEST_F(CreateKinds, ATextLeftEmptyIsNotKept)
{
    TZORBaseItem* text = Make(acText, { { 1000, 1000 } }, false);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(TAct::fCurAction, acText);
    EXPECT_EQ(TAct::fCurState, stTyping);
    label.ResetAction();
    EXPECT_EQ(label.GetItemsCount(), 0);
}

TEST_F(CreateKinds, TheToolShowsItsPointsAndPreviewWhileTakingThem)
{
    TAct::SetCurAction(acRectangle);
    EXPECT_EQ(TAct::fCurState, stFirst);
    label.PickEditor(1000, 2000, 500, 0, false);
    EXPECT_EQ(TAct::fCurState, stSecond);
    EXPECT_EQ(TAct::fDrawType, dtRectangle);
    ASSERT_EQ(TAct::NumPoints(), 1);
    EXPECT_EQ(TAct::GetPointX(0), 1000);
    EXPECT_EQ(TAct::GetPointY(0), 2000);
    label.RightButton(0, 0, 500, 0); // not a run: the right button cancels
    EXPECT_EQ(TAct::fCurAction, acSelect);
    EXPECT_EQ(TAct::NumPoints(), 0);
    EXPECT_EQ(label.GetItemsCount(), 0);
}

TEST_F(CreateKinds, ATypedLengthFinishesTheTool)
{
    TAct::SetCurAction(acCircle);
    label.PickEditor(10000, 10000, 500, 0, false);
    label.PickEditor(int64_t(4000), 0, false);
    TZORBaseItem* c = label.Select();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->TypeCode(), TZORItemType::Circle);
    EXPECT_EQ(c->GetBounds().Normalized(), (TZORRect { 6000, 6000, 14000, 14000 }));
}

} // namespace
