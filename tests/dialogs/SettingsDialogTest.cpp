#include "Zor.Label.h"
#include "dialogs/Zor.Settings.h"
#include "dialogs/Zor.Spinfloat.h"
#include "kit/Dialogs.h"
#include "label/Zor.Vcl.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using zor::DialogService;
using zor::fSettings;
using zor::TAlphaColor;
using zor::TColor;

namespace {

using zor::test::TScriptedDialogs;

// Settings that differ from every default, with steps in inches that do not show exactly with
// two decimals, a snap bit beyond the nine the dialog shows, and a system colour.
TZOREditorSettings Given()
{
    TZOREditorSettings v;
    v.rulerLeft = false;
    v.rulerTop = true;
    v.rulerRight = true;
    v.rulerBottom = false;
    v.showSize = true;
    v.sizeColor = TColor { 0x123456 };
    v.showAlign = true;
    v.ortoLines = true;
    v.gap = 12;
    v.snap = 0b10'0001'0101; // points, middle points, end points and bit 9
    v.showRefLines = true;
    v.moveX = 0.0393700787;
    v.moveY = 0.5;
    v.minMove = 0.0039370079;
    v.maxMove = 39.3700787;
    v.gridStyle = 1;
    v.incX = 0.3937007874;
    v.incY = 0.25;
    v.minInc = 0.0039370079;
    v.maxInc = 39.3700787;
    v.stepColor = TColor { 0x00AA00 };
    v.unitsColor = TColor { 0xFF00000F }; // a system colour
    v.refLine = TColor { 0x0000FF };
    v.align = TColor { 0xFF0000 };
    v.alignText = TColor { 0x808080 };
    return v;
}

class SettingsDialog : public ::testing::Test {
protected:
    SettingsDialog()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        label.Settings().SetTermColor(TAlphaColor { 0x80FF0000 }); // half transparent red
        label.Settings().SetFillTermColor(TAlphaColor { 0xFF00FF00 });
        label.Settings().SetTermSize(0.7f);
        dialog.Ini(label, Given());
    }
    ~SettingsDialog() override { QLocale::setDefault(fLocale); }

    template <class W> W& Child(const char* name)
    {
        W* w = dialog.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return *w;
    }
    // The label's settings after OK, written into a fresh copy of the label's.
    TZORSettings Written()
    {
        TZORLabelVCL other;
        other.Settings() = label.Settings();
        dialog.WriteLabelSettings(other);
        return other.Settings();
    }

    QLocale fLocale;
    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TfSettings dialog;
};

TEST_F(SettingsDialog, ConfirmedUnchangedItLeavesEverythingAsItWas)
{
    EXPECT_EQ(fSettings, &dialog);
    dialogs.AnswerDialog([](QDialog& d) { return TScriptedDialogs::Press(d, QDialogButtonBox::Ok); });
    ASSERT_EQ(zor::DialogService().Exec(dialog), QDialog::Accepted);
    EXPECT_TRUE(dialog.GetValues() == Given());
    const TZORSettings written = Written();
    EXPECT_EQ(written.GetTermColor(), TAlphaColor { 0x80FF0000 });
    EXPECT_EQ(written.GetFillTermColor(), TAlphaColor { 0xFF00FF00 });
    EXPECT_EQ(written.GetTermSize(), 0.7f);
    // The steps show rounded, and are given back as they were.
    EXPECT_EQ(Child<TZORSpinEditFloat>("seGridX").text(), QStringLiteral("0.39"));
}

TEST_F(SettingsDialog, EachControlReachesItsValue)
{
    const auto toggle
        = [this](const char* name) { return [this, name] { Child<QCheckBox>(name).toggle(); }; };
    const auto type = [this](const char* name, const char* text) {
        return [this, name, text] { Child<TZORSpinEditFloat>(name).setText(QString::fromLatin1(text)); };
    };
    const auto pick = [this](const char* shape, QColor colour) {
        return [this, shape, colour] {
            dialogs.AnswerColour(colour);
            QTest::mouseClick(&Child<QWidget>(shape), Qt::LeftButton);
        };
    };
    using TEdit = std::function<void(TZOREditorSettings&)>;
    const struct {
        const char* what;
        std::function<void()> act;
        TEdit editor; // what changes in the editor's values
        std::function<void(TZORSettings&)> term; // what changes in the label's settings
    } table[] = {
        { "right ruler", toggle("ckRightRuler"), [](auto& v) { v.rulerRight = false; }, {} },
        { "left ruler", toggle("ckLeftRuler"), [](auto& v) { v.rulerLeft = true; }, {} },
        { "top ruler", toggle("ckTopRuler"), [](auto& v) { v.rulerTop = false; }, {} },
        { "bottom ruler", toggle("ckBottomRuler"), [](auto& v) { v.rulerBottom = true; }, {} },
        { "ortho", toggle("ckOrtoLines"), [](auto& v) { v.ortoLines = false; }, {} },
        { "sizes", toggle("cbShowSizes"), [](auto& v) { v.showSize = false; }, {} },
        { "reference lines", toggle("cbShowRefLines"), [](auto& v) { v.showRefLines = false; }, {} },
        { "alignment lines", toggle("cbShowAlignLines"), [](auto& v) { v.showAlign = false; }, {} },
        { "snap point", toggle("ckPoint"), [](auto& v) { v.snap &= ~(1 << 0); }, {} },
        { "snap grid", toggle("ckSnap"), [](auto& v) { v.snap |= 1 << 1; }, {} },
        { "snap middle", toggle("ckMiddlePoint"), [](auto& v) { v.snap &= ~(1 << 2); }, {} },
        { "snap centre", toggle("ckCenterPoint"), [](auto& v) { v.snap |= 1 << 3; }, {} },
        { "snap end", toggle("ckEndPoint"), [](auto& v) { v.snap &= ~(1 << 4); }, {} },
        { "snap reference", toggle("ckRefSymbol"), [](auto& v) { v.snap |= 1 << 5; }, {} },
        { "snap cross", toggle("ckCrossPoint"), [](auto& v) { v.snap |= 1 << 6; }, {} },
        { "snap tangent", toggle("ckTangentPoint"), [](auto& v) { v.snap |= 1 << 7; }, {} },
        { "snap perpendicular", toggle("ckPerpendicularPoint"), [](auto& v) { v.snap |= 1 << 8; }, {} },
        { "grid lines", [this] { Child<QGroupBox>("RGrid").findChildren<QRadioButton*>()[2]->click(); },
            [](auto& v) { v.gridStyle = 2; }, {} },
        { "gap", type("SEGap", "20"), [](auto& v) { v.gap = 20; }, {} },
        { "grid x", type("seGridX", "2.50"), [](auto& v) { v.incX = 2.5; }, {} },
        { "grid y", type("seGridY", "1.25"), [](auto& v) { v.incY = 1.25; }, {} },
        { "move x", type("seMoveX", "0.75"), [](auto& v) { v.moveX = 0.75; }, {} },
        { "move y", type("seMoveY", "3.00"), [](auto& v) { v.moveY = 3; }, {} },
        { "grid colour", pick("shpGridColor", QColor(1, 2, 3)),
            [](auto& v) { v.stepColor = TColor { 0x030201 }; }, {} },
        { "units colour", pick("shpUnitColor", QColor(4, 5, 6)),
            [](auto& v) { v.unitsColor = TColor { 0x060504 }; }, {} },
        { "size colour", pick("shSizeColor", QColor(7, 8, 9)),
            [](auto& v) { v.sizeColor = TColor { 0x090807 }; }, {} },
        { "reference line colour", pick("shRefLinesColor", QColor(10, 11, 12)),
            [](auto& v) { v.refLine = TColor { 0x0C0B0A }; }, {} },
        { "alignment colour", pick("shAlignLinesColor", QColor(13, 14, 15)),
            [](auto& v) { v.align = TColor { 0x0F0E0D }; }, {} },
        { "alignment text colour", pick("shAlignTextColor", QColor(16, 17, 18)),
            [](auto& v) { v.alignText = TColor { 0x121110 }; }, {} },
        { "line-end colour", pick("shpTermColor", QColor(19, 20, 21)), {},
            [](TZORSettings& s) { s.SetTermColor(TAlphaColor { 0xFF131415 }); } },
        { "line-end fill", pick("shpFillTermColor", QColor(22, 23, 24)), {},
            [](TZORSettings& s) { s.SetFillTermColor(TAlphaColor { 0xFF161718 }); } },
        { "line-end size", type("spinEdTermSize", "2.50"), {}, [](TZORSettings& s) { s.SetTermSize(2.5f); } },
    };
    for (const auto& row : table) {
        dialog.Ini(label, Given());
        row.act();
        TZOREditorSettings expected = Given();
        if (row.editor)
            row.editor(expected);
        EXPECT_TRUE(dialog.GetValues() == expected) << row.what;
        TZORSettings term = label.Settings();
        if (row.term)
            row.term(term);
        const TZORSettings written = Written();
        EXPECT_EQ(written.GetTermColor(), term.GetTermColor()) << row.what;
        EXPECT_EQ(written.GetFillTermColor(), term.GetFillTermColor()) << row.what;
        EXPECT_EQ(written.GetTermSize(), term.GetTermSize()) << row.what;
    }
}

// A cancelled colour dialog keeps the colour; a confirmed one shows in the swatch.
TEST_F(SettingsDialog, ACancelledColourKeepsTheColour)
{
    QWidget& shape = Child<QWidget>("shpGridColor");
    const auto swatch = [&] {
        const QImage image = shape.grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    };
    EXPECT_EQ(swatch(), QColor(0x00, 0xAA, 0x00));
    dialogs.AnswerColour(std::nullopt);
    QTest::mouseClick(&shape, Qt::LeftButton);
    EXPECT_EQ(dialog.GetValues().stepColor, TColor { 0x00AA00 });
    EXPECT_EQ(swatch(), QColor(0x00, 0xAA, 0x00));
    dialogs.AnswerColour(QColor(0xFF, 0x80, 0x00));
    QTest::mouseClick(&shape, Qt::LeftButton);
    EXPECT_EQ(dialog.GetValues().stepColor, TColor { 0x0080FF });
    EXPECT_EQ(swatch(), QColor(0xFF, 0x80, 0x00));
    EXPECT_EQ(dialogs.Asked,
        (QStringList { QStringLiteral("colour Grid color"), QStringLiteral("colour Grid color") }));
}

TEST_F(SettingsDialog, CaptionsComeFromTheCatalogue)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("    Settings"));
    EXPECT_EQ(Child<QCheckBox>("ckOrtoLines").text(), QStringLiteral("Orthogonal lines (F8)"));
    EXPECT_EQ(Child<QCheckBox>("ckSnap").text(), QStringLiteral("Snap to grid"));
    EXPECT_EQ(Child<QLabel>("labGap").text(), QStringLiteral("Pick distance"));
    EXPECT_EQ(Child<QLabel>("labTermColor").text(), QStringLiteral("Color"));
    EXPECT_EQ(Child<QLabel>("labFillTermColor").text(), QStringLiteral("Fill color"));
    EXPECT_EQ(Child<QGroupBox>("gbLineTerm").title(), QStringLiteral("Line ends"));
    QStringList items;
    for (const QRadioButton* item : Child<QGroupBox>("RGrid").findChildren<QRadioButton*>())
        items << item->text();
    EXPECT_EQ(
        items, (QStringList { QStringLiteral("None"), QStringLiteral("Points"), QStringLiteral("Lines") }));
    EXPECT_TRUE(Child<QGroupBox>("RGrid").findChildren<QRadioButton*>()[1]->isChecked());
}

TEST_F(SettingsDialog, TheRangesClamp)
{
    const struct {
        const char* edit;
        const char* text;
        double expected;
    } table[] = {
        { "SEGap", "45", 30 },
        { "SEGap", "-3", 0 },
        { "spinEdTermSize", "20.00", 10 },
        { "spinEdTermSize", "0.10", 0.5 },
        { "seGridX", "100.00", 39.3700787 },
        { "seMoveY", "0.00", 0.0039370079 },
    };
    for (const auto& row : table) {
        dialog.Ini(label, Given());
        Child<TZORSpinEditFloat>(row.edit).setText(QString::fromLatin1(row.text));
        const TZOREditorSettings v = dialog.GetValues();
        const double read = QLatin1String(row.edit) == QLatin1String("SEGap") ? v.gap
            : QLatin1String(row.edit) == QLatin1String("seGridX")             ? v.incX
            : QLatin1String(row.edit) == QLatin1String("seMoveY")             ? v.moveY
                                                                              : Written().GetTermSize();
        EXPECT_NEAR(read, row.expected, 1e-6) << row.edit << " " << row.text;
    }
}

} // namespace
