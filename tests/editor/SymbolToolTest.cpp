// The symbol tool: the editor asks for a library symbol through the picker, and a click on the
// page places the symbol chosen there.

#include "ShownEditor.h"
#include "Zor.Act.h"
#include "Zor.Library.h"
#include "dialogs/Zor.Selsymbol.h"
#include "dialogs/Zor.Viewlibrary.h"
#include "editor/Zor.Vcl.Editor.h"
#include "kit/Dialogs.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using zor::acSelect;
using zor::acSymbol;
using zor::TAct;

using namespace zor::test;

namespace {

const QColor Blue(0, 0, 0xFF);

// A library holding one blue filled square of 10 mm, "Sq", in the category "Basic", and an
// editor of a 100 x 60 mm page at 96 dpi whose label looks for symbols in that folder.
class SymbolTool : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        TAct::Reset();
        ASSERT_TRUE(WriteFile(Path(QStringLiteral("shapes.lyp")),
            R"([{"Name":"Sq","Category":"Basic","ID":"Sq","Units":"mm","Def":[{"Kind":"Fill","Value":true},)"
            R"({"Kind":"BackColor","Value":"#0000FF"},{"Kind":"ForeColor","Value":"#0000FF"},)"
            R"({"Kind":"Rectangle","Points":[[0,0],[10,10]]}]}])"));
        label.SetLibraryFolder(DirPath());
        label.Measure().SetPaperWidth(100000);
        label.Measure().SetPaperHeight(60000);
        label.Measure().SetWidth(100000);
        label.Measure().SetHeight(60000);
        editor = zor::test::ShownEditor(label, { 500, 400 });
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }

    // The picker's answer: the first symbol shown clicked, then OK.
    static int PickFirst(QDialog& dialog)
    {
        TZORViewLibrary& view = dynamic_cast<TfSelSymbol&>(dialog).Viewer();
        const QPoint at(view.MarginLeft() + 20, view.MarginTop() + 20);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
        return TScriptedDialogs::Press(dialog, QDialogButtonBox::Ok);
    }
    // The user takes the symbol tool: the label asks its editors for a symbol.
    void TakeTheTool()
    {
        TAct::SetCurAction(zor::acSymbol);
        label.Notify(TZRChange::Tool);
        label.Notify(TZRChange::ChooseSymbol);
    }
    QPoint At(double xmm, double ymm)
    {
        const TZOREditorGeometry& g = editor->Surface().G;
        return { g.ScreenMMX(int64_t(xmm * 1000)), g.ScreenMMY(int64_t(ymm * 1000)) };
    }

    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;
};

} // namespace

// The symbol picked in the picker becomes the label's current symbol; a click with the tool puts
// it on the page at the click, where it shows.
TEST_F(SymbolTool, ASymbolPickedIsPlacedByAClick)
{
    dialogs.AnswerDialog(PickFirst);
    TakeTheTool();
    EXPECT_EQ(dialogs.Asked, QStringList { "dialog fSelSymbol" });
    ASSERT_NE(label.GetCurrentSymbol(), nullptr);
    EXPECT_EQ(label.GetCurrentSymbol()->GetName(), QStringLiteral("Sq"));
    EXPECT_EQ(editor->LastCat(), QStringLiteral("Basic"));
    EXPECT_EQ(editor->Surface().State().CursorId, 10);
    EXPECT_TRUE(editor->Surface().State().Inserting);

    QTest::mouseClick(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, At(40, 30));
    ASSERT_EQ(label.GetItemsCount(), 1);
    TZORBaseItem* placed = label.GetItem(1);
    EXPECT_EQ(placed->TypeCode(), TZORItemType::Symbol);
    const TZORRect b = placed->GetBounds().Normalized();
    // At the click, to the pixel (a pixel is 254 / 0.96 micrometres at 96 dpi).
    EXPECT_NEAR(b.Left, 40000, 265);
    EXPECT_NEAR(b.Top, 30000, 265);
    // The 10 mm square shows from the click down and to the right.
    const QImage shown = editor->Surface().grab().toImage();
    const SaveOnFailure keep(shown, QStringLiteral("symbol-tool"));
    EXPECT_TRUE(ColourNear(shown, At(41, 31), Blue, 40));
    EXPECT_TRUE(ColourNear(shown, At(49, 39), Blue, 40));
    EXPECT_TRUE(ColourNear(shown, At(39, 31), Qt::white, 0));
    EXPECT_TRUE(ColourNear(shown, At(51, 39), Qt::white, 0));
    // The tool stays for the next one.
    EXPECT_EQ(label.GetAction(), zor::acSymbol);
}

// Cancelling the picker, or OK with nothing chosen, resets the tool and keeps the category.
TEST_F(SymbolTool, NoSymbolChosenResetsTheTool)
{
    const TScriptedDialogs::TDialogAnswer answers[] = {
        [](QDialog&) { return int(QDialog::Rejected); },
        [](QDialog& d) { return TScriptedDialogs::Press(d, QDialogButtonBox::Ok); },
    };
    for (const auto& answer : answers) {
        dialogs.AnswerDialog(answer);
        TakeTheTool();
        EXPECT_EQ(label.GetAction(), zor::acSelect);
        EXPECT_EQ(label.GetCurrentSymbol(), nullptr);
        EXPECT_EQ(editor->LastCat(), QString());
        EXPECT_EQ(editor->Surface().State().CursorId, 0);
        EXPECT_FALSE(editor->Surface().State().Inserting);
    }
}

// Picking a symbol the label holds already keeps one definition of it.
TEST_F(SymbolTool, ASymbolPickedAgainIsNotHeldTwice)
{
    for (int round = 0; round < 2; ++round) {
        dialogs.AnswerDialog(PickFirst);
        TakeTheTool();
    }
    EXPECT_EQ(label.GetSymbolsCount(), 1);
    EXPECT_EQ(label.GetCurrentSymbol(), label.GetSymbol(1));
}
