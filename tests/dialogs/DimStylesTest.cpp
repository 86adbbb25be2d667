#include "Zor.Base.h"
#include "dialogs/Zor.Dimsample.h"
#include "dialogs/Zor.Dimstyles.h"
#include "dialogs/Zor.Selcolor.h"
#include "dialogs/Zor.Spinfloat.h"
#include "kit/Dialogs.h"
#include "kit/Pixels.h"
#include "kit/Widgets.h"
#include "label/Zor.Vcl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using zor::DimSampleText;
using zor::Ord;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

TEST(DimSampleText, WithoutAFormatAFractionShowsNoDecimalsAndAWholeValueOne)
{
    struct Case {
        const char* format;
        double value;
        const char* text;
    };
    const Case cases[] = {
        { "", 70.2, "70" },
        { "", 118.8, "119" },
        { "", 62.1, "62" },
        { "", 49.68, "50" },
        { "", 27.0, "27.0" },
        { "0.00", 70.2, "70.20" },
        { "#,##0.0", 1234.56, "1,234.6" },
    };
    TZORDimStyle style(QStringLiteral("s"), zor::claBlack, zor::claBlack, false, false);
    for (const Case& c : cases) {
        style.fFormat = QString::fromLatin1(c.format);
        EXPECT_EQ(zor::DimSampleText(style, c.value), QString::fromLatin1(c.text))
            << c.format << " " << c.value;
    }
    style.fFormat.clear();
    style.fPrefix = QStringLiteral("L=");
    style.fSuffix = QStringLiteral(" mm");
    EXPECT_EQ(zor::DimSampleText(style, 70.2), QStringLiteral("L=70 mm"));
}

// A style in colours the probes tell apart: blue dimension lines, green extension lines, red
// heads, and texts that do not show.
TZORDimStyle ProbeStyle()
{
    TZORDimStyle s(
        QStringLiteral("probe"), TAlphaColor { 0xFF0000FF }, TAlphaColor { 0xFF00FF00 }, false, false);
    s.fHeadColor = TAlphaColor { 0xFFFF0000 };
    s.fFillColor = TAlphaColor { 0xFFFF0000 };
    s.fFontColor = TAlphaColor { 0x00000000 };
    s.SetExtSize(2);
    s.SetExtGap(1);
    s.SetDimBreak(1);
    s.SetHeadSize(2.5f);
    s.fTextPos = 2;
    return s;
}

QImage Sample(const TZORDimStyle& s)
{
    QImage image(640, 575, QImage::Format_ARGB32_Premultiplied);
    zor::DrawDimSample(image, s);
    return image;
}

bool Red(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 90 && qBlue(c) < 90;
}

bool Blue(QRgb c)
{
    return qBlue(c) - qRed(c) > 60 && qBlue(c) - qGreen(c) > 60;
}

int Count(const QImage& image, const QRect& r, bool (*test)(QRgb))
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.rect().contains(x, y) && test(image.pixel(x, y));
    return n;
}

// Where the heads of the four dimensions lie with an extension size of 2 and a gap of 1 (8
// pixels from the part).
const QPoint HeadPoints[] = { { 140, 162 }, { 400, 162 }, { 402, 212 }, { 582, 252 }, { 580, 408 },
    { 140, 408 }, { 132, 400 }, { 132, 170 } };

TEST(DimSample, HeadsAtBothEndsOfEveryDimensionButForType0)
{
    TZORDimStyle s = ProbeStyle();
    s.fHeadType = TZORTermType::None;
    EXPECT_EQ(Count(Sample(s), QRect(0, 0, 640, 575), Red), 0);
    for (int type = 1; type <= 11; ++type) {
        s.fHeadType = TZORTermType(uint8_t(type));
        const QImage image = Sample(s);
        for (const QPoint p : HeadPoints)
            EXPECT_GE(Count(image, QRect(p - QPoint(12, 12), QSize(25, 25)), Red), 3)
                << "type " << type << " at " << p.x() << "," << p.y();
    }
}

TEST(DimSample, ABreakOf0StartsTheExtensionLinesAtThePart)
{
    TZORDimStyle s = ProbeStyle();
    s.fHeadType = TZORTermType::None;
    const auto green = [](QRgb c) { return qGreen(c) > 150 && qRed(c) < 100 && qBlue(c) < 100; };
    EXPECT_FALSE(green(Sample(s).pixel(140, 167)));
    s.SetDimBreak(0);
    EXPECT_TRUE(green(Sample(s).pixel(140, 167)));
    EXPECT_TRUE(green(Sample(s).pixel(136, 400))); // the left dimension's lower extension line
}

TEST(DimSample, TextPosition3BreaksTheAxisLinesButNotTheAlignedOne)
{
    TZORDimStyle s = ProbeStyle();
    s.fHeadType = TZORTermType::None;
    // The middles of the top, bottom, left and aligned dimension lines.
    const QPoint middles[] = { { 270, 162 }, { 360, 408 }, { 132, 285 }, { 492, 232 } };
    const QImage whole = Sample(s);
    for (const QPoint p : middles)
        EXPECT_GT(Count(whole, QRect(p - QPoint(1, 1), QSize(3, 3)), Blue), 0) << p.x() << "," << p.y();
    s.fTextPos = 3;
    const QImage split = Sample(s);
    for (const QPoint p : { middles[0], middles[1], middles[2] })
        EXPECT_EQ(Count(split, QRect(p - QPoint(1, 1), QSize(3, 3)), Blue), 0) << p.x() << "," << p.y();
    EXPECT_GT(Count(split, QRect(middles[3] - QPoint(1, 1), QSize(3, 3)), Blue), 0);
}

// Along the top dimension line: how many columns show the line.
int LineColumns(const QImage& image)
{
    int n = 0;
    for (int x = 150; x < 250; ++x)
        n += Count(image, QRect(x, 160, 1, 5), Blue) > 0;
    return n;
}

TEST(DimSample, ADashedLineOfWidth0DrawsSolid)
{
    TZORDimStyle s = ProbeStyle();
    s.fHeadType = TZORTermType::None;
    s.fDimLineType = TZORineType::Dash4_4;
    s.SetDimPenWidth(0.25f);
    const int dashed = LineColumns(Sample(s));
    EXPECT_GT(dashed, 20);
    EXPECT_LT(dashed, 80);
    s.SetDimPenWidth(0);
    EXPECT_EQ(LineColumns(Sample(s)), 100);
}

TEST(DimStyleModel, AShorterExtensionBringsTheGapDown)
{
    TZORDimStyle s(QStringLiteral("s"), zor::claBlack, zor::claBlack, false, false);
    s.SetExtSize(2);
    s.SetExtGap(1.5f);
    s.SetExtSize(1);
    EXPECT_FLOAT_EQ(s.GetExtGap(), 1.0f);
    s.SetExtGap(5);
    EXPECT_FLOAT_EQ(s.GetExtGap(), 1.0f);
    s.SetHeadSize(std::nanf(""));
    EXPECT_FLOAT_EQ(s.GetHeadSize(), 2.5f);
    s.SetDimPenWidth(-1);
    EXPECT_FLOAT_EQ(s.GetDimPenWidth(), 0.0f);
}

// A drawing with the styles "Standard" and "Thin" (active); the dialog open on it.
class DimStyles : public ::testing::Test {
protected:
    DimStyles()
    {
        QLocale::setDefault(QLocale::c());
        label.SetEditorMode(2);
        TZORDimStyle* thin = label.AddDimStyle(std::make_unique<TZORDimStyle>(
            QStringLiteral("Thin"), zor::claBlack, zor::claBlack, false, false));
        thin->SetExtSize(3);
        thin->SetExtGap(1);
        label.SetModified(false);
    }
    ~DimStyles() override { QLocale::setDefault(fLocale); }

    void Open() { form.Ini(label); }

    QComboBox& Styles() { return Child<QComboBox>(form, "cbDimStyles"); }

    QLocale fLocale;
    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TfDimStls form;
};

TEST_F(DimStyles, OpeningAndChoosingWriteNothing)
{
    Open();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("    Dimension styles"));
    ASSERT_EQ(Styles().count(), 2);
    EXPECT_EQ(Styles().currentIndex(), 1);
    EXPECT_EQ(form.idx(), 1);
    EXPECT_EQ(Child<TZORSpinEditFloat>(form, "seExtSize").text(), QStringLiteral("3.00"));
    EXPECT_EQ(Child<QComboBox>(form, "cbPosText").count(), 4);
    EXPECT_EQ(Child<QComboBox>(form, "cbHeadType").count(), 12);
    EXPECT_EQ(Child<QComboBox>(form, "cbLineType").count(), 12);
    EXPECT_FALSE(label.GetModified());
    emit Styles().activated(0);
    EXPECT_EQ(label.GetActiveDimStyle()->GetName(), QStringLiteral("Standard"));
    EXPECT_EQ(Child<TZORSpinEditFloat>(form, "seExtSize").text(), QStringLiteral("2.00"));
    EXPECT_FALSE(label.GetModified());
}

TEST_F(DimStyles, EachControlWritesTheActiveStyle)
{
    Open();
    TZORDimStyle& s = *label.GetActiveDimStyle();
    Child<QLineEdit>(form, "edPrefix").setText(QStringLiteral("R"));
    EXPECT_EQ(s.fPrefix, QStringLiteral("R"));
    Child<QLineEdit>(form, "edSuffix").setText(QStringLiteral(" m"));
    EXPECT_EQ(s.fSuffix, QStringLiteral(" m"));
    Child<QComboBox>(form, "cbHeadType").setCurrentIndex(7);
    EXPECT_EQ(s.fHeadType, TZORTermType::Diamond);
    Child<QComboBox>(form, "cbLineType").setCurrentIndex(3);
    EXPECT_EQ(s.fDimLineType, TZORineType::Dash2_1);
    Child<QComboBox>(form, "cbPosText").setCurrentIndex(3);
    EXPECT_EQ(s.fTextPos, 3);
    Child<QToolButton>(form, "SBColBold").setChecked(true);
    EXPECT_TRUE(s.fBold);
    Child<TZORSpinEditFloat>(form, "seArrowOpen").SetValue(12);
    EXPECT_EQ(s.fArrowOpen, 12);
    dialogs.AnswerColour(QColor(10, 20, 30));
    emit Child<TZORColorSwatch>(form, "shHeadColor").Clicked();
    EXPECT_EQ(zor::Ord(s.fHeadColor), 0xFF0A141Eu);
    EXPECT_TRUE(label.GetModified());
}

TEST_F(DimStyles, AShorterExtensionRefreshesTheGap)
{
    Open();
    Child<TZORSpinEditFloat>(form, "seExtSize").SetValue(0.5);
    EXPECT_FLOAT_EQ(label.GetActiveDimStyle()->GetExtSize(), 0.5f);
    EXPECT_FLOAT_EQ(label.GetActiveDimStyle()->GetExtGap(), 0.5f);
    EXPECT_EQ(Child<TZORSpinEditFloat>(form, "seExtGap").text(), QStringLiteral("0.50"));
}

TEST_F(DimStyles, TypingInTheListRenamesTheActiveStyle)
{
    Open();
    QLineEdit* edit = Styles().lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Bold"));
    EXPECT_EQ(label.GetActiveDimStyle()->GetName(), QStringLiteral("Bold"));
    EXPECT_EQ(label.GetDimStyle(1)->GetName(), QStringLiteral("Standard"));
}

TEST_F(DimStyles, TheDefaultStyleIsNotDeleted)
{
    label.SetActiveDimStyle(0);
    Open();
    form.seDelStyleClick();
    EXPECT_EQ(dialogs.Messages, (QStringList { "The default dimension style cannot be deleted" }));
    EXPECT_EQ(label.GetDimStylesCount(), 2);
}

TEST_F(DimStyles, DeletingReadsTheListAgain)
{
    label.AddDimStyle(
        std::make_unique<TZORDimStyle>(QStringLiteral("Bold"), zor::claBlack, zor::claBlack, true, false));
    label.SetActiveDimStyle(1);
    Open();
    dialogs.AnswerMessage(QMessageBox::No);
    form.seDelStyleClick();
    EXPECT_EQ(label.GetDimStylesCount(), 3);
    dialogs.AnswerMessage(QMessageBox::Yes);
    form.seDelStyleClick();
    ASSERT_EQ(label.GetDimStylesCount(), 2);
    ASSERT_EQ(Styles().count(), 2);
    EXPECT_EQ(Styles().itemText(1), QStringLiteral("Bold"));
    // Choosing the second entry now reaches the style it names.
    emit Styles().activated(0);
    emit Styles().activated(1);
    EXPECT_EQ(label.GetActiveDimStyle()->GetName(), QStringLiteral("Bold"));
}

TEST_F(DimStyles, AddingAsksForTheName)
{
    Open();
    dialogs.AnswerText(QStringLiteral("  "));
    form.seAddStyleClick();
    EXPECT_EQ(label.GetDimStylesCount(), 2);
    dialogs.AnswerText(QStringLiteral("Wide"));
    form.seAddStyleClick();
    ASSERT_EQ(label.GetDimStylesCount(), 3);
    EXPECT_EQ(Styles().count(), 3);
    EXPECT_EQ(Styles().currentText(), QStringLiteral("Wide"));
    EXPECT_EQ(label.GetActiveDimStyle()->GetName(), QStringLiteral("Wide"));
    EXPECT_EQ(zor::Ord(label.GetActiveDimStyle()->fDimColor), 0xFF808080u);
}

TEST_F(DimStyles, TheSampleFollowsEachChange)
{
    Open();
    const QImage before = form.Sample();
    Child<QComboBox>(form, "cbHeadType").setCurrentIndex(0);
    EXPECT_NE(form.Sample(), before);
}

TEST_F(DimStyles, TheLabelEditsItsStylesHere)
{
    dialogs.AnswerDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("TfDimStls"));
        Child<QLineEdit>(d, "edSuffix").setText(QStringLiteral(" cm"));
        return int(QDialog::Accepted);
    });
    label.EditDimStyles();
    EXPECT_EQ(label.GetActiveDimStyle()->fSuffix, QStringLiteral(" cm"));
}

} // namespace

namespace {

// The head-type list draws each symbol in the active style's head and fill colours, the ones
// its swatches show.
TEST_F(DimStyles, TheHeadListDrawsInTheStylesColours)
{
    TZORDimStyle& s = *label.GetActiveDimStyle();
    s.fHeadColor = TAlphaColor { 0xFF0000FF };
    s.fFillColor = TAlphaColor { 0xFF00FF00 };
    Open();
    EXPECT_EQ(zor::Ord(Child<TZORColorSwatch>(form, "shHeadColor").GetColor()), 0xFF0000FFu);
    EXPECT_EQ(zor::Ord(Child<TZORColorSwatch>(form, "shFillColor").GetColor()), 0xFF00FF00u);
    auto& heads = Child<QComboBox>(form, "cbHeadType");
    QImage image(60, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.palette.setColor(QPalette::Base, Qt::white);
    heads.view()->itemDelegate()->paint(&painter, option, heads.model()->index(6, 0)); // filled square
    painter.end();
    EXPECT_TRUE(ColourNear(image, { 30, 10 }, QColor(0, 255, 0), 8));
    // The outline, half a pixel either side of the box's top edge, is the head colour.
    const QColor edge = image.pixelColor(30, 1);
    EXPECT_GT(edge.blue(), 100) << edge.name().toStdString();
    EXPECT_LT(edge.red(), 20) << edge.name().toStdString();
    EXPECT_TRUE(ColourNear(image, { 5, 10 }, Qt::white, 0));
}

} // namespace
