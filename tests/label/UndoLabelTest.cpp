// Undo on the label component: every element kind comes back byte for byte, a paste is one step
// that gives back the selection it replaced, a failed load leaves the history alone and a load
// empties it, and the factory places a symbol by library and name.

#include "Zor.Error.h"
#include "Zor.Stream.h"
#include "common/EveryKind.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>

#include <gtest/gtest.h>

using zor::TBinaryWriter;

namespace {

using zor::test::FirstKindCode;
using zor::test::LastKindCode;
using zor::test::WriteFile;

QByteArray Saved(const TZORLabelVCL& label)
{
    QByteArray bytes;
    TBinaryWriter w(&bytes);
    label.WriteLabel(w);
    return bytes;
}

TZORBaseItem* Create(TZORLabelVCL& label, int32_t code, int64_t x)
{
    label.BeginUpdate(true);
    TZORBaseItem* added = label.AddItem(zor::test::NewElement(label, code, x));
    label.EndUpdate();
    return added;
}

TEST(LabelUndo, EveryKindComesBackByteForByte)
{
    TZORLabelVCL label;
    std::vector<QByteArray> saved { Saved(label) };
    for (int32_t code = FirstKindCode; code <= LastKindCode; ++code) {
        Create(label, code, 10000 * code);
        saved.push_back(Saved(label));
    }
    for (int32_t code = LastKindCode; code >= FirstKindCode; --code) {
        ASSERT_TRUE(label.Undo()) << code;
        EXPECT_EQ(Saved(label), saved[size_t(code - 1)]) << "undo of kind " << code;
    }
    for (int32_t code = FirstKindCode; code <= LastKindCode; ++code) {
        ASSERT_TRUE(label.Redo()) << code;
        EXPECT_EQ(Saved(label), saved[size_t(code)]) << "redo of kind " << code;
    }
}

TEST(LabelUndo, APasteIsOneStepThatGivesBackTheSelectionItReplaced)
{
    TZORLabelVCL label;
    TZORBaseItem* rectangle = Create(label, 6, 0);
    TZORBaseItem* text = Create(label, 10, 5000);
    label.Select(rectangle);
    label.CopySelection();
    label.Select(text);
    const int32_t textID = text->GetID();
    const QByteArray before = Saved(label);
    const int32_t steps = label.UndoHistory().GetStepsCount();

    label.PasteSelection();
    ASSERT_EQ(label.GetItemsCount(), 3);
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), steps + 1);
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(Saved(label), before);
    ASSERT_EQ(label.GetSelectionCount(), 1);
    EXPECT_EQ(label.GetSelection(1)->GetID(), textID);
    ASSERT_TRUE(label.Redo());
    EXPECT_EQ(label.GetItemsCount(), 3);
    EXPECT_TRUE(label.IsSelected(label.GetItem(3)));
}

TEST(LabelUndo, AFailedLoadLeavesTheHistoryAndALoadEmptiesIt)
{
    TZORLabelVCL label;
    Create(label, 2, 0);
    Create(label, 8, 5000);
    QByteArray file = Saved(label);
    const QByteArray before = file;
    file.chop(5);
    QBuffer broken(&file);
    broken.open(QIODevice::ReadOnly);
    EXPECT_THROW(label.LoadFromStream(&broken), EZORError);
    EXPECT_EQ(Saved(label), before);
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), 2);
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItemsCount(), 1);

    QByteArray whole = before;
    QBuffer good(&whole);
    good.open(QIODevice::ReadOnly);
    label.LoadFromStream(&good);
    EXPECT_FALSE(label.CanUndo());
    EXPECT_FALSE(label.CanRedo());
}

class LabelSymbols : public zor::test::TempDirTest { };

TEST_F(LabelSymbols, TheFactoryPlacesASymbolByLibraryAndName)
{
    ASSERT_TRUE(WriteFile(Path("pipes.lyp"),
        R"([{"Name":"Valve","ID":"{V1}","Units":"mm","Def":[{"Kind":"Line","Points":[[0,0],[5,5]]}]}])"));
    TZORLabelVCL label;
    label.SetLibraryFolder(DirPath());
    label.ClearUndo();
    TZORSymbol* symbol
        = TZORFactory::AddSymbol(label, 12.5f, 4.0f, QStringLiteral("pipes"), QStringLiteral("Valve"));
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->GetPoint(1), (TZORPto { 12500, 4000 }));
    EXPECT_EQ(symbol->GetSymbolID(), "{V1}");
    EXPECT_EQ(TZORFactory::AddSymbol(label, 0, 0, QStringLiteral("pipes"), QStringLiteral("Tap")), nullptr);
    EXPECT_EQ(label.GetItemsCount(), 1);
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItemsCount(), 0);
    EXPECT_EQ(label.GetSymbolsCount(), 0);
}

} // namespace
