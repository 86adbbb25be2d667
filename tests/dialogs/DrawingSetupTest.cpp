#include "Zor.Measure.h"
#include "dialogs/Zor.Drawing.h"
#include "dialogs/Zor.LengthEdit.h"
#include "dialogs/Zor.Spinfloat.h"
#include "kit/Widgets.h"
#include "kit/Dialogs.h"
#include "label/Zor.Vcl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using zor::test::Child;

using zor::test::TScriptedDialogs;

constexpr int64_t MM = 1000;

class DrawingSetup : public ::testing::Test {
protected:
    DrawingSetup()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        label.SetEditorMode(2);
        label.Measure().SetPaperName(QStringLiteral("A4"));
        label.Measure().SetDrawScale(100);
    }
    ~DrawingSetup() override { QLocale::setDefault(fLocale); }

    QString Area() { return Child<QLabel>(dialog, "labDrawArea").text(); }

    TZORLabelVCL label;
    TfDrawing dialog;

private:
    QLocale fLocale;
};

TEST_F(DrawingSetup, TheAreaIsThePaperAtTheScaleHeightFirst)
{
    dialog.Ini(label);
    EXPECT_EQ(Area(), QStringLiteral("Drawing area: 29,700.00 mm x 21,000.00 mm"));
    auto& scale = Child<TZORSpinEditFloat>(dialog, "seScale");
    scale.selectAll();
    QTest::keyClicks(&scale, QStringLiteral("2"));
    EXPECT_EQ(Area(), QStringLiteral("Drawing area: 594.00 mm x 420.00 mm"));
    Child<QRadioButton>(dialog, "RaBuHor").click();
    EXPECT_EQ(Area(), QStringLiteral("Drawing area: 420.00 mm x 594.00 mm"));

    label.SetUnits(TZORUnits::Centimetre);
    TfDrawing inCm;
    inCm.Ini(label);
    EXPECT_EQ(Child<QLabel>(inCm, "labDrawArea").text(), QStringLiteral("Drawing area: 2,970.00 cm x 2,100.00 cm"));
}

TEST_F(DrawingSetup, AStandardPaperInLandscapeComesTurned)
{
    dialog.Ini(label);
    Child<QRadioButton>(dialog, "RaBuHor").click();
    Child<QComboBox>(dialog, "cbPapers").setCurrentText(QStringLiteral("A3"));
    const TZORDrawingSetup v = dialog.GetValues();
    EXPECT_EQ(v.paperWidth, 420 * MM);
    EXPECT_EQ(v.paperHeight, 297 * MM);
    EXPECT_EQ(v.paperIndex, 3);
    EXPECT_TRUE(v.byColumns);
}

TEST_F(DrawingSetup, AtFullSizeTheScaleIsHiddenAndOneIsWritten)
{
    label.SetEditorMode(1);
    dialog.Ini(label);
    EXPECT_TRUE(Child<TZORSpinEditFloat>(dialog, "seScale").isHidden());
    EXPECT_TRUE(Child<QLabel>(dialog, "labDrawArea").isHidden());
    EXPECT_EQ(dialog.GetValues().scale, 1);
}

// Opened from the label in both drawing modes; OK writes the title block and the paper back, and
// the dialog shows them again as they were typed.
TEST_F(DrawingSetup, OpensFromTheLabelAndWritesBack)
{
    for (const uint8_t mode : { 2, 1 }) {
        label.SetEditorMode(mode);
        TScriptedDialogs dialogs;
        dialogs.AnswerDialog([](QDialog& d) {
            Child<QLineEdit>(d, "edName").setText(QStringLiteral("Plan"));
            Child<QLineEdit>(d, "edTitle").setText(QStringLiteral("Ground floor"));
            Child<QLineEdit>(d, "edAuthor").setText(QStringLiteral("Ann"));
            Child<QLineEdit>(d, "edDate").setText(QStringLiteral("2024-05-01"));
            Child<QLineEdit>(d, "edPromoter").setText(QStringLiteral("City"));
            Child<QLineEdit>(d, "edProject").setText(QStringLiteral("Library"));
            Child<QPlainTextEdit>(d, "memNote").setPlainText(QStringLiteral("Two\nlines"));
            Child<QComboBox>(d, "cbPapers").setCurrentText(QStringLiteral("A3"));
            return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
        });
        label.EditProperties();
        EXPECT_EQ(dialogs.Asked, QStringList { QStringLiteral("dialog TfDrawing") });
        const TZORMeasure& m = label.Measure();
        EXPECT_EQ(m.GetLabelName(), QStringLiteral("Plan"));
        EXPECT_EQ(m.fTitle, QStringLiteral("Ground floor"));
        EXPECT_EQ(m.fAuthor, QStringLiteral("Ann"));
        EXPECT_EQ(m.fDate, QStringLiteral("2024-05-01"));
        EXPECT_EQ(m.fPromoter, QStringLiteral("City"));
        EXPECT_EQ(m.fProject, QStringLiteral("Library"));
        EXPECT_EQ(m.fNote, QStringLiteral("Two\nlines"));
        EXPECT_EQ(m.GetPaperName(), QStringLiteral("A3"));
        EXPECT_EQ(m.GetSize(TZORSizeKind::PaperWidth), 297 * MM);
        EXPECT_TRUE(m.GetContinousPaper());
        EXPECT_EQ(m.GetDrawScale(), mode == 1 ? 1 : 100) << int(mode);

        TfDrawing again;
        again.Ini(label);
        const TZORDrawingSetup v = again.GetValues();
        EXPECT_EQ(v.name, QStringLiteral("Plan"));
        EXPECT_EQ(v.note, QStringLiteral("Two\nlines"));
        EXPECT_EQ(v.paperIndex, 3);
        EXPECT_EQ(v.paperHeight, 420 * MM);
    }
}

TEST_F(DrawingSetup, ACancelWritesNothing)
{
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        Child<QLineEdit>(d, "edName").setText(QStringLiteral("Plan"));
        return TScriptedDialogs::Press(d, QDialogButtonBox::Cancel);
    });
    label.SetModified(false);
    label.EditProperties();
    EXPECT_TRUE(label.Measure().GetLabelName().isEmpty());
    EXPECT_FALSE(label.GetModified());
}

} // namespace
