#include "dialogs/Zor.Back.Margins.h"
#include "dialogs/Zor.Layers.h"
#include "dialogs/Zor.Selcolor.h"
#include "dialogs/Zor.Spinfloat.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/Dialogs.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "kit/Widgets.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using zor::claWhite;
using zor::Ord;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

// A label with the layers "0" (default), "Walls" and "Doors"; the dialog open on it.
class Layers : public TempDirTest {
protected:
    Layers()
    {
        QLocale::setDefault(QLocale::c());
        label.AddLayer(QStringLiteral("Walls"));
        label.AddLayer(QStringLiteral("Doors"));
        label.SetModified(false);
    }
    ~Layers() override { QLocale::setDefault(fLocale); }

    void Open()
    {
        form.Ini(label);
        label.SetModified(false);
    }

    QTableWidget& Grid() { return Child<QTableWidget>(form, "sgLayers"); }
    QString Cell(int row, int column) { return Grid().item(row, column)->text(); }
    QStringList Column(int column)
    {
        QStringList texts;
        for (int row = 0; row < Grid().rowCount(); ++row)
            texts << Cell(row, column);
        return texts;
    }
    void Select(int row, int column = TfLayers::colName) { Grid().setCurrentCell(row, column); }
    bool Enabled(const char* name) { return Child<QPushButton>(form, name).isEnabled(); }

    // Chooses the pop-up menu's action of that name on the row.
    void Menu(int row, const char* action)
    {
        dialogs.AnswerPopup([action](QMenu& menu) { return &Child<QAction>(menu, action); });
        form.PopupAt(Grid().visualItemRect(Grid().item(row, 0)).center());
    }

    QLocale fLocale;
    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TfLayers form;
};

TEST_F(Layers, TheGridShowsEachLayer)
{
    TZORLayer* doors = label.GetLayer(3);
    doors->SetFontName(QStringLiteral("Courier"));
    doors->SetFontHeight(5.25f);
    doors->SetPenWidth(0.3f);
    doors->SetColor(TAlphaColor { 0x80FF0000 });
    doors->SetOptions(loView | loExport);
    label.SetActiveLayer(3);
    Open();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("    Layers"));
    ASSERT_EQ(Grid().rowCount(), 3);
    ASSERT_EQ(Grid().columnCount(), 11);
    EXPECT_EQ(Column(TfLayers::colName), (QStringList { "0", "Walls", "Doors" }));
    const QStringList row { "Doors", "Courier", "5.25", "0.30", "4294967295", "2164195328", "1", "1", "0",
        "0", "1" };
    for (int c = 0; c < row.size(); ++c)
        EXPECT_EQ(Cell(2, c), row[c]) << "column " << c;
    EXPECT_EQ(Column(TfLayers::colActive), (QStringList { "0", "0", "1" }));
    EXPECT_EQ(Grid().horizontalHeaderItem(TfLayers::colName)->text(), QStringLiteral("Layer"));
    // Opening changes nothing; the last row is selected.
    EXPECT_FALSE(label.GetModified());
    EXPECT_EQ(Grid().currentRow(), 2);
}

TEST_F(Layers, MovingAndDeletingFollowTheSelectedRow)
{
    Open();
    struct Case {
        int row;
        bool up, down, remove;
    };
    for (const Case c :
        { Case { 0, false, false, false }, Case { 1, false, true, true }, Case { 2, true, false, true } }) {
        Select(c.row);
        EXPECT_EQ(Enabled("SBUp"), c.up) << c.row;
        EXPECT_EQ(Enabled("SBDown"), c.down) << c.row;
        EXPECT_EQ(Enabled("butDelete"), c.remove) << c.row;
    }
}

TEST_F(Layers, RenamingInTheGridReachesTheLayerWhenTheEditEnds)
{
    Open();
    form.show();
    Select(1);
    Grid().editItem(Grid().item(1, 0));
    auto* editor = Grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Roads"));
    // Nothing is written while the name is being typed.
    EXPECT_EQ(label.GetLayer(2)->GetName(), QStringLiteral("Walls"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view commits the editor in a queued call
    EXPECT_EQ(label.GetLayer(2)->GetName(), QStringLiteral("Roads"));
    EXPECT_TRUE(label.GetModified());
}

TEST_F(Layers, SizesAndFontsGoToTheLayerAsTheLayerTakesThem)
{
    Open();
    struct Case {
        int column;
        QString typed;
        QString shown;
        std::function<QString(const TZORLayer&)> stored;
    };
    const Case cases[] = {
        { TfLayers::colHeight, "7.50", "7.50",
            [](const TZORLayer& l) { return QString::number(l.GetFontHeight()); } },
        // A height of 0 is refused: the cell shows the height kept.
        { TfLayers::colHeight, "0.00", "7.50",
            [](const TZORLayer& l) { return QString::number(l.GetFontHeight()); } },
        { TfLayers::colPenWidth, "0.70", "0.70",
            [](const TZORLayer& l) { return QString::number(l.GetPenWidth()); } },
        { TfLayers::colFont, "Serif", "Serif", [](const TZORLayer& l) { return l.GetFontName(); } },
    };
    const QString stored[] = { "7.5", "7.5", "0.7", "Serif" };
    int i = 0;
    for (const Case& c : cases) {
        label.SetModified(false);
        Grid().item(1, c.column)->setText(c.typed);
        EXPECT_EQ(Cell(1, c.column), c.shown) << i;
        EXPECT_EQ(c.stored(*label.GetLayer(2)), stored[i]) << i;
        EXPECT_TRUE(label.GetModified()) << i;
        ++i;
    }
}

TEST_F(Layers, TheHeightEditorIsTheDecimalSpinEdit)
{
    Open();
    form.show();
    Select(2, TfLayers::colHeight);
    Grid().editItem(Grid().item(2, TfLayers::colHeight));
    auto* spin = Grid().viewport()->findChild<TZORSpinEditFloat*>(QStringLiteral("spinFloat"));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->GetIncrement(), 0.5);
    spin->SetValue(9.5);
    QTest::keyClick(spin, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FLOAT_EQ(label.GetLayer(3)->GetFontHeight(), 9.5f);
    EXPECT_EQ(Cell(2, TfLayers::colHeight), QStringLiteral("9.50"));
}

TEST_F(Layers, TheActiveColumnIsExclusive)
{
    Open();
    form.CellAction(1, TfLayers::colActive);
    EXPECT_EQ(label.GetActiveLayerIndex(), 2);
    EXPECT_EQ(Column(TfLayers::colActive), (QStringList { "0", "1", "0" }));
    form.CellAction(2, TfLayers::colActive);
    EXPECT_EQ(Column(TfLayers::colActive), (QStringList { "0", "0", "1" }));
}

TEST_F(Layers, EachOptionColumnTogglesItsBit)
{
    Open();
    const std::pair<int, uint16_t> columns[] = { { TfLayers::colView, 0x0001 },
        { TfLayers::colPrint, 0x0002 }, { TfLayers::colSelect, 0x0004 }, { TfLayers::colExport, 0x0008 } };
    for (const auto& [column, bit] : columns) {
        label.SetModified(false);
        form.CellAction(1, column);
        EXPECT_EQ(label.GetLayer(2)->GetOptions(), 0x000F & ~bit) << column;
        EXPECT_EQ(Cell(1, column), QStringLiteral("0"));
        EXPECT_TRUE(label.GetModified());
        form.CellAction(1, column);
        EXPECT_EQ(label.GetLayer(2)->GetOptions(), 0x000F);
        EXPECT_EQ(Cell(1, column), QStringLiteral("1"));
    }
}

TEST_F(Layers, AColourPickedWithAlphaKeepsItAndShowsThrough)
{
    Open();
    dialogs.AnswerDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("TfSelColor"));
        Child<QSpinBox>(d, "seAlpha").setValue(128);
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    form.CellAction(1, TfLayers::colColor);
    ASSERT_TRUE(dialogs.Asked.contains(QStringLiteral("dialog TfSelColor")));
    EXPECT_EQ(zor::Ord(label.GetLayer(2)->GetColor()), 0x80000000u);
    EXPECT_EQ(Cell(1, TfLayers::colColor), QString::number(0x80000000u));

    // A red back colour at half alpha shows pink over the white cell.
    dialogs.AnswerDialog([](QDialog& d) {
        auto& picker = static_cast<TfSelColor&>(d);
        Child<QSpinBox>(d, "seAlpha").setValue(128);
        picker.fColor = zor::WithAlpha(TAlphaColor { 0xFFFF0000 }, 128);
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    form.CellAction(1, TfLayers::colBackColor);
    EXPECT_EQ(zor::Ord(label.GetLayer(2)->GetBackColor()), 0x80FF0000u);
    form.show();
    QTest::qWait(20);
    const QImage shot = Grid().viewport()->grab().toImage();
    const QRect cell = Grid().visualItemRect(Grid().item(1, TfLayers::colBackColor));
    EXPECT_TRUE(ColourNear(shot, cell.topLeft() + QPoint(10, cell.height() / 2), QColor(255, 127, 127), 3));
}

TEST_F(Layers, ACancelledColourChangesNothing)
{
    Open();
    dialogs.AnswerDialog([](QDialog& d) { return TScriptedDialogs::Press(d, QDialogButtonBox::Cancel); });
    form.CellAction(1, TfLayers::colBackColor);
    EXPECT_EQ(label.GetLayer(2)->GetBackColor(), zor::claWhite);
    EXPECT_FALSE(label.GetModified());
}

TEST(SelColor, KeepsTheAlphaOfItsSpinAcrossTheColourDialog)
{
    TScriptedDialogs dialogs;
    TfSelColor picker;
    picker.Ini(TAlphaColor { 0x4000FF00 });
    EXPECT_EQ(Child<QSpinBox>(picker, "seAlpha").value(), 0x40);
    dialogs.AnswerColour(QColor(0, 0, 255));
    picker.PickColor();
    EXPECT_EQ(zor::Ord(picker.fColor), 0x400000FFu);
    Child<QSpinBox>(picker, "seAlpha").setValue(200);
    EXPECT_EQ(zor::Ord(picker.fColor), 0xC80000FFu);
    dialogs.AnswerColour(std::nullopt);
    picker.PickColor();
    EXPECT_EQ(zor::Ord(picker.fColor), 0xC80000FFu);
}

TEST_F(Layers, AddingSelectsTheNewLayersName)
{
    Open();
    Child<QPushButton>(form, "butAdd").click();
    ASSERT_EQ(label.GetLayersCount(), 4);
    EXPECT_EQ(Grid().rowCount(), 4);
    EXPECT_EQ(Grid().currentRow(), 3);
    EXPECT_EQ(Grid().currentColumn(), TfLayers::colName);
    EXPECT_EQ(Cell(3, 0), label.GetLayer(4)->GetName());
    EXPECT_TRUE(label.GetModified());
}

TEST_F(Layers, DeletingAsksFirst)
{
    Open();
    Select(1);
    dialogs.AnswerMessage(QMessageBox::No);
    Child<QPushButton>(form, "butDelete").click();
    EXPECT_EQ(label.GetLayersCount(), 3);
    dialogs.AnswerMessage(QMessageBox::Yes);
    Select(1);
    Child<QPushButton>(form, "butDelete").click();
    EXPECT_EQ(label.GetLayersCount(), 2);
    EXPECT_EQ(Column(TfLayers::colName), (QStringList { "0", "Doors" }));
    EXPECT_EQ(dialogs.Messages, (QStringList { "Delete this layer?", "Delete this layer?" }));
}

TEST_F(Layers, TheDefaultLayerIsNotDeleted)
{
    Open();
    Select(0);
    form.butDeleteClick();
    EXPECT_EQ(label.GetLayersCount(), 3);
    EXPECT_EQ(dialogs.Messages, (QStringList { "The default layer cannot be deleted" }));
}

TEST_F(Layers, MovingALayerTakesItsElementsAndTheSelection)
{
    TZORBaseItem* door = TZORFactory::AddBaseRectangle(label, 0, 0, 1000, 1000);
    door->SetLayerIndex(3);
    label.SetActiveLayer(3);
    Open();
    Select(2);
    Child<QPushButton>(form, "SBUp").click();
    EXPECT_EQ(Column(TfLayers::colName), (QStringList { "0", "Doors", "Walls" }));
    EXPECT_EQ(Grid().currentRow(), 1);
    EXPECT_EQ(door->GetLayerIndex(), 2);
    EXPECT_EQ(label.GetActiveLayerIndex(), 2);
    EXPECT_EQ(Column(TfLayers::colActive), (QStringList { "0", "1", "0" }));
    Child<QPushButton>(form, "SBDown").click();
    EXPECT_EQ(Column(TfLayers::colName), (QStringList { "0", "Walls", "Doors" }));
    EXPECT_EQ(door->GetLayerIndex(), 3);
}

TEST_F(Layers, TheZOrderBoxSetsTheLabels)
{
    Open();
    Child<QCheckBox>(form, "ckLayerZPos").setChecked(true);
    EXPECT_TRUE(label.GetLayerZOrder());
}

TEST_F(Layers, TheBackgroundItemsFollowTheLabelsOptions)
{
    struct Case {
        uint32_t options;
        bool image, map;
    };
    for (const Case c : { Case { 0, false, false }, Case { 4, true, false }, Case { 8, false, true },
             Case { 12, true, true } }) {
        label.SetOptions(c.options);
        TfLayers layers;
        layers.Ini(label);
        EXPECT_EQ(Child<QAction>(*layers.PopLayer(), "menuBackImage").isVisible(), c.image) << c.options;
        EXPECT_EQ(Child<QAction>(*layers.PopLayer(), "menuBackMap").isVisible(), c.map) << c.options;
        EXPECT_EQ(Child<QAction>(*layers.PopLayer(), "menuBackMargins").isVisible(), c.image || c.map)
            << c.options;
    }
}

TEST_F(Layers, PrintAndExportOfTheBackgroundToggleFromTheMenu)
{
    Open();
    Menu(1, "menuPrintBackImage");
    EXPECT_EQ(label.GetLayer(2)->GetOptions(), 0x008F);
    EXPECT_TRUE(Child<QAction>(*form.PopLayer(), "menuPrintBackImage").isChecked());
    Menu(1, "menuExportBackImage");
    EXPECT_EQ(label.GetLayer(2)->GetOptions(), 0x018F);
    Menu(1, "menuPrintBackImage");
    EXPECT_EQ(label.GetLayer(2)->GetOptions(), 0x010F);
}

TEST_F(Layers, MarginsComeFromTheirDialog)
{
    label.SetOptions(4);
    label.GetLayer(2)->SetImgMarTop(1.5f);
    Open();
    dialogs.AnswerDialog([](QDialog& d) {
        EXPECT_EQ(Child<TZORSpinEditFloat>(d, "seMarginTop").GetValue(), 1.5);
        Child<TZORSpinEditFloat>(d, "seMarginTop").SetValue(2);
        Child<TZORSpinEditFloat>(d, "seMarginLeft").SetValue(3);
        Child<TZORSpinEditFloat>(d, "seMarginBottom").SetValue(4.5);
        Child<TZORSpinEditFloat>(d, "seMarginRight").SetValue(5);
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    Menu(1, "menuBackMargins");
    const TZORLayer& l = *label.GetLayer(2);
    EXPECT_EQ(
        std::vector<float>({ l.GetImgMarTop(), l.GetImgMarLeft(), l.GetImgMarBottom(), l.GetImgMarRight() }),
        std::vector<float>({ 2, 3, 4.5f, 5 }));
}

TEST_F(Layers, ABackgroundImageFromElsewhereTravelsWithTheLabel)
{
    label.SetOptions(4);
    label.SetImageFolder(Path(QStringLiteral("images")));
    QDir().mkpath(Path(QStringLiteral("images")));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(Path(QStringLiteral("outside.png"))));
    ASSERT_TRUE(picture.save(Path(QStringLiteral("images/inside.png"))));
    Open();
    dialogs.AnswerFile(Path(QStringLiteral("outside.png")));
    Menu(1, "menuBackImage");
    TZORLayer& l = *label.GetLayer(2);
    EXPECT_TRUE(l.HasOption(loBackImage));
    EXPECT_FALSE(l.GetImgBytes().isEmpty());
    dialogs.AnswerFile(Path(QStringLiteral("images/inside.png")));
    Menu(1, "menuBackImage");
    EXPECT_EQ(l.GetFileImg(), QStringLiteral("inside.png"));
    EXPECT_TRUE(l.GetImgBytes().isEmpty());
    dialogs.AnswerFile(QString());
    Menu(1, "menuBackImage");
    EXPECT_EQ(l.GetFileImg(), QStringLiteral("inside.png"));
}

TEST_F(Layers, ApplyingValuesGivesTheLayersElementsItsPen)
{
    TZORBaseItem* wall = TZORFactory::AddBaseRectangle(label, 0, 0, 1000, 1000);
    wall->SetLayerIndex(2);
    TZORBaseItem* other = TZORFactory::AddBaseRectangle(label, 0, 0, 1000, 1000);
    other->SetLayerIndex(3);
    label.GetLayer(2)->SetColor(TAlphaColor { 0xFF123456 });
    label.GetLayer(2)->SetPenWidth(0.75f);
    label.GetLayer(2)->SetLineType(TZORineType::Dash2_2);
    Open();
    Menu(1, "menuApplyValues");
    EXPECT_EQ(zor::Ord(wall->GetColor()), 0xFF123456u);
    EXPECT_FLOAT_EQ(wall->GetPenWidth(), 0.75f);
    EXPECT_EQ(wall->GetLineType(), TZORineType::Dash2_2);
    EXPECT_NE(zor::Ord(other->GetColor()), 0xFF123456u);
}

TEST_F(Layers, TheLabelEditsItsLayersHere)
{
    dialogs.AnswerDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("TfLayers"));
        EXPECT_EQ(Child<QTableWidget>(d, "sgLayers").rowCount(), 3);
        static_cast<TfLayers&>(d).CellAction(1, TfLayers::colPrint);
        return int(QDialog::Accepted);
    });
    label.EditLayers();
    EXPECT_EQ(label.GetLayer(2)->GetOptions(), 0x000D);
}

} // namespace

namespace {

// Each change in the grid is one step the host can take back once the dialog has closed.
TEST_F(Layers, EachGridEditIsOneUndoStep)
{
    Open();
    label.ClearUndo();
    Select(2);
    Child<QPushButton>(form, "SBUp").click();
    form.close();
    ASSERT_EQ(label.UndoHistory().GetStepsCount(), 1);
    ASSERT_TRUE(label.Undo());
    QStringList names;
    for (int32_t i = 1; i <= label.GetLayersCount(); ++i)
        names << label.GetLayer(i)->GetName();
    EXPECT_EQ(names, (QStringList { "0", "Walls", "Doors" }));
    ASSERT_TRUE(label.Redo());
    EXPECT_EQ(label.GetLayer(2)->GetName(), QStringLiteral("Doors"));
}

} // namespace
