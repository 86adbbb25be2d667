#include "Zor.Data.h"
#include "Zor.Measure.h"
#include "dialogs/Zor.Labelling.h"
#include "dialogs/Zor.LengthEdit.h"
#include "dialogs/Zor.SheetPicture.h"
#include "kit/Dialogs.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "kit/Widgets.h"
#include "label/Zor.Vcl.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using zor::SheetPixels;

namespace {

using zor::test::Child;

using zor::test::ColourNear;
using zor::test::TScriptedDialogs;

constexpr int64_t MM = 1000;
const QColor Yellow(255, 255, 204);
const QColor Cyan(204, 255, 255);

// Types into a line edit as a user does (textEdited follows).
void Type(QLineEdit& edit, const QString& text)
{
    edit.selectAll();
    QTest::keyClicks(&edit, text);
}

// An A4 sheet of 4 rows by 3 columns of 60 x 30 mm labels, 5 mm apart, 10 mm from the edges.
class Labelling : public ::testing::Test {
protected:
    Labelling()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        TZORMeasure& m = label.Measure();
        m.SetPaperName(QStringLiteral("A4"));
        m.SetWidth(60 * MM);
        m.SetHeight(30 * MM);
        m.SetDiVer(5 * MM);
        m.SetDiHor(5 * MM);
        m.SetMarLeft(10 * MM);
        m.SetMarTop(10 * MM);
        m.SetNuHor(4);
        m.SetNuVer(3);
    }
    ~Labelling() override { QLocale::setDefault(fLocale); }

    template <class W> W& Get(const char* name) { return Child<W>(dialog, name); }
    TZORLengthEdit& Length(const char* name) { return Get<TZORLengthEdit>(name); }
    int64_t Whole(const char* name) { return Get<TZORSpinEditFloat>(name).GetValInt64(); }

    TZORLabelVCL label;
    TfLabelling dialog;

private:
    QLocale fLocale;
};

// The picture of the sheet above: the paper is 250 x 354 pixels at (20, 4), a label 71 x 36
// pixels, 12 pixels from the paper's edges and 77 x 42 pixels from the next. The centre of the
// label in row r, column c (from 1):
QPoint CellCentre(int r, int c)
{
    return { 20 + 12 + (c - 1) * 77 + 35, 4 + 12 + (r - 1) * 42 + 18 };
}

// The dialog opens 836 pixels wide, wider than its pages and the sheet picture beside them need,
// and never smaller than they need.
TEST_F(Labelling, OpensWideEnoughForItsPagesAndThePicture)
{
    dialog.show();
    const QSize need = dialog.minimumSizeHint();
    EXPECT_GT(need.width(), 536);
    EXPECT_EQ(dialog.width(), 836);
    EXPECT_EQ(dialog.height(), qMax(481, need.height()));
    dialog.hide();
}

TEST_F(Labelling, AClickOnTheSheetChoosesTheFirstLabelAndColoursThoseBeforeIt)
{
    dialog.Ini(label);
    auto& picture = Get<TZORSheetPicture>("paintLab");
    QTest::mouseClick(&picture, Qt::LeftButton, {}, CellCentre(2, 3));
    EXPECT_EQ(Whole("edFirstRow"), 2);
    EXPECT_EQ(Whole("edFirstCol"), 3);
    const QImage& image = picture.Image();
    EXPECT_TRUE(ColourNear(image, { 5, 5 }, QColor(160, 160, 160)));
    EXPECT_TRUE(ColourNear(image, { 25, 10 }, Qt::white)); // the margin
    EXPECT_TRUE(ColourNear(image, { 32, 16 }, Qt::black)); // the first label's outline
    const struct {
        int row, column;
        QColor colour;
    } cells[] = {
        { 1, 1, Yellow },
        { 1, 3, Yellow },
        { 2, 1, Yellow },
        { 2, 2, Yellow },
        { 2, 3, Cyan },
        { 3, 1, Cyan },
        { 4, 3, Cyan },
    };
    for (const auto& cell : cells)
        EXPECT_TRUE(ColourNear(image, CellCentre(cell.row, cell.column), cell.colour))
            << cell.row << "," << cell.column;
    // The gap after a label picks that label; past the last column nothing is picked.
    QTest::mouseClick(&picture, Qt::LeftButton, {}, { 32 + 71 + 3, 34 });
    EXPECT_EQ(Whole("edFirstCol"), 1);
    QTest::mouseClick(&picture, Qt::LeftButton, {}, CellCentre(2, 3));
    QTest::mouseClick(&picture, Qt::LeftButton, {}, { 265, 30 });
    EXPECT_EQ(Whole("edFirstRow"), 2);
    EXPECT_EQ(Whole("edFirstCol"), 3);
}

TEST_F(Labelling, ASheetWithoutPaperOrWithLabelsOfNoSizeDrawsAndPicksNothing)
{
    TZORSheet sheet;
    sheet.paperWidth = 0;
    sheet.paperHeight = 297 * MM;
    EXPECT_FALSE(zor::SheetPixels(sheet, 282, 354));
    TZORSheetPicture picture;
    sheet.paperWidth = 210 * MM;
    sheet.rows = 3;
    picture.SetSheet(sheet); // labels and gaps of no size
    EXPECT_FALSE(picture.LabelAt({ 20, 4 }));
    EXPECT_TRUE(ColourNear(picture.Image(), { 100, 100 }, Qt::white));
}

TEST_F(Labelling, LandscapeTurnsThePaperAndAStandardPaperComesTurned)
{
    const struct {
        bool landscape;
        const char* paper; // chosen after turning; null: none
        int64_t width, height;
    } table[] = {
        { false, nullptr, 210 * MM, 297 * MM },
        { true, nullptr, 297 * MM, 210 * MM },
        { true, "A5", 210 * MM, 148 * MM },
        { false, "A5", 148 * MM, 210 * MM },
    };
    for (const auto& row : table) {
        TfLabelling form;
        form.Ini(label);
        if (row.landscape)
            Child<QRadioButton>(form, "RaBuHor").click();
        if (row.paper)
            Child<QComboBox>(form, "cbPapers").setCurrentText(QString::fromLatin1(row.paper));
        const TZORLabelSetup v = form.GetValues();
        EXPECT_EQ(v.paperWidth, row.width) << row.landscape << (row.paper ? row.paper : "");
        EXPECT_EQ(v.paperHeight, row.height);
        EXPECT_EQ(v.byColumns, row.landscape);
        EXPECT_FALSE(Child<TZORLengthEdit>(form, "sePaperWidth").isEnabled());
    }
}

TEST_F(Labelling, ContinuousPaperIsOneLabelWide)
{
    for (const bool landscape : { false, true }) {
        TfLabelling form;
        form.Ini(label);
        if (landscape)
            Child<QRadioButton>(form, "RaBuHor").click();
        Child<QCheckBox>(form, "cbContinousPaper").click();
        TZORLabelSetup v = form.GetValues();
        EXPECT_TRUE(v.continuousPaper);
        EXPECT_EQ(v.paperIndex, ZOrPapersUser);
        EXPECT_EQ(v.paperWidth, landscape ? 30 * MM : 60 * MM) << landscape;
        EXPECT_EQ(v.paperHeight, landscape ? 60 * MM : 30 * MM);
        EXPECT_EQ(v.gapX + v.gapY + v.marginLeft + v.marginTop, 0);
        EXPECT_EQ(v.rows, 1);
        EXPECT_EQ(v.columns, 1);
        for (const char* name : { "seGapX", "seGapY", "seMargLeft", "seMargTop", "seRows", "seColumns" })
            EXPECT_FALSE(Child<QWidget>(form, name).isEnabled()) << name;
        EXPECT_TRUE(Child<TZORLengthEdit>(form, "sePaperWidth").isEnabled());

        // The label's size and the paper's follow one another, side for side.
        Type(Child<TZORLengthEdit>(form, "seWidth"), QStringLiteral("45"));
        EXPECT_EQ(form.GetValues().paperWidth, 45 * MM);
        Type(Child<TZORLengthEdit>(form, "sePaperHeight"), QStringLiteral("70"));
        v = form.GetValues();
        EXPECT_EQ(v.height, 70 * MM);
        EXPECT_EQ(v.width, 45 * MM);

        // Unticked, the sheet can be laid out again.
        Child<QCheckBox>(form, "cbContinousPaper").click();
        EXPECT_TRUE(Child<QWidget>(form, "seRows").isEnabled());
    }
}

TEST_F(Labelling, TheFirstLabelStaysOnTheSheet)
{
    label.PrintInfo().SetFirstRow(4);
    dialog.Ini(label);
    EXPECT_EQ(Whole("edFirstRow"), 4);
    Type(Get<TZORSpinEditFloat>("seRows"), QStringLiteral("2"));
    EXPECT_EQ(Get<TZORSpinEditFloat>("edFirstRow").GetMaxValue(), 2);
    EXPECT_EQ(dialog.GetValues().firstRow, 2);
    Type(Get<TZORSpinEditFloat>("edFirstRow"), QStringLiteral("3"));
    EXPECT_EQ(dialog.GetValues().firstRow, 2);
}

// The values written back after OK and read by the dialog again are those it showed, also in a
// unit that shows them rounded.
TEST_F(Labelling, ValuesWrittenBackReadAgainAlike)
{
    label.SetUnits(TZORUnits::Inch);
    label.Measure().SetMarLeft(3333);
    label.Measure().SetPaperName(QStringLiteral("User"));
    label.Measure().SetPaperWidth(101 * MM);
    label.Measure().SetPaperHeight(123457);
    label.PrintInfo().SetLabs(7);
    label.PrintInfo().SetRepetition(3);
    label.PrintInfo().SetFirstCol(2);
    label.PrintInfo().SetByRows(false);
    label.Data().SetLinkData(true);
    TScriptedDialogs dialogs;
    TZORLabelSetup shown;
    dialogs.AnswerDialog([&](QDialog& d) {
        auto& form = dynamic_cast<TfLabelling&>(d);
        Type(Child<QLineEdit>(form, "edName"), QStringLiteral("Shelf"));
        shown = form.GetValues();
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    label.SetModified(false);
    label.EditProperties();
    EXPECT_TRUE(label.GetModified());
    EXPECT_EQ(label.Measure().GetLabelName(), QStringLiteral("Shelf"));
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::MarginLeft), 3333);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 123457);
    EXPECT_EQ(label.Measure().GetPaperName(), QStringLiteral("User"));

    TfLabelling again;
    again.Ini(label);
    const TZORLabelSetup read = again.GetValues();
    EXPECT_EQ(read.name, shown.name);
    EXPECT_EQ(read.continuousPaper, shown.continuousPaper);
    EXPECT_EQ(read.byColumns, true);
    EXPECT_EQ(read.byColumns, shown.byColumns);
    EXPECT_EQ(read.width, shown.width);
    EXPECT_EQ(read.height, shown.height);
    EXPECT_EQ(read.paperWidth, shown.paperWidth);
    EXPECT_EQ(read.paperHeight, shown.paperHeight);
    EXPECT_EQ(read.paperIndex, shown.paperIndex);
    EXPECT_EQ(read.gapX, shown.gapX);
    EXPECT_EQ(read.gapY, shown.gapY);
    EXPECT_EQ(read.marginLeft, shown.marginLeft);
    EXPECT_EQ(read.marginTop, shown.marginTop);
    EXPECT_EQ(read.rows, shown.rows);
    EXPECT_EQ(read.columns, shown.columns);
    EXPECT_EQ(read.labels, 7);
    EXPECT_EQ(read.labels, shown.labels);
    EXPECT_EQ(read.firstRow, shown.firstRow);
    EXPECT_EQ(read.firstCol, 2);
    EXPECT_EQ(read.firstCol, shown.firstCol);
    EXPECT_EQ(read.repetition, shown.repetition);
    EXPECT_EQ(read.dataSel, shown.dataSel);
    EXPECT_EQ(read.fieldRepeat, shown.fieldRepeat);
    EXPECT_TRUE(read.linkData);
    EXPECT_EQ(read.saveJson, shown.saveJson);
}

TEST_F(Labelling, ACancelChangesNothingAndEscCancels)
{
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        Type(Child<QLineEdit>(d, "edName"), QStringLiteral("Gone"));
        QTest::keyClick(&d, Qt::Key_Escape);
        return d.result();
    });
    label.SetModified(false);
    label.EditProperties();
    EXPECT_EQ(dialogs.Asked, QStringList { QStringLiteral("dialog TfLabelling") });
    EXPECT_TRUE(label.Measure().GetLabelName().isEmpty());
    EXPECT_FALSE(label.GetModified());
}

// The controls showing together never share an Alt+letter; the tabs, the check boxes and the
// radio buttons all have one.
TEST_F(Labelling, ControlsShowingTogetherHaveKeysOfTheirOwnAndOkIsTheDefault)
{
    dialog.Ini(label);
    auto& pages = Get<QTabWidget>("PageLab");
    const auto onPage = [&](QWidget* w) {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            for (int i = 0; i < pages.count(); ++i)
                if (p == pages.widget(i))
                    return i;
        return -1;
    };
    const auto key = [](const QString& text) {
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
    };
    int marked = 0;
    for (int page = 0; page < pages.count(); ++page) {
        QSet<QChar> keys;
        const auto check = [&](const QString& text) {
            if (const QChar k = key(text); !k.isNull()) {
                EXPECT_FALSE(keys.contains(k)) << page << ": " << text.toStdString();
                keys.insert(k);
                ++marked;
            }
        };
        for (int i = 0; i < pages.count(); ++i)
            check(pages.tabText(i));
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            if (const int at = onPage(w); at != -1 && at != page)
                continue;
            if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
                check(l->text());
            else if (auto* b = qobject_cast<QAbstractButton*>(w);
                     b && !w->parentWidget()->inherits("QTabBar"))
                check(b->text());
        }
    }
    EXPECT_GT(marked, 40);
    for (int i = 0; i < pages.count(); ++i)
        EXPECT_FALSE(key(pages.tabText(i)).isNull()) << i;
    for (const char* name :
        { "cbContinousPaper", "RaBuVer", "RaBuHor", "ckLinkData", "ckSaveJson", "ckHeader" })
        EXPECT_FALSE(key(Get<QAbstractButton>(name).text()).isNull()) << name;
    EXPECT_TRUE(Get<QPushButton>("butOK").isDefault());
    EXPECT_FALSE(Get<QPushButton>("butAddCounter").autoDefault());
}

// --- Counters ---

class LabellingCounters : public Labelling {
protected:
    void Add(TScriptedDialogs& dialogs, const char* name)
    {
        dialogs.AnswerText(QString::fromLatin1(name));
        Get<QPushButton>("butAddCounter").click();
    }
    QStringList Listed()
    {
        QStringList names;
        auto& list = Get<QListWidget>("lbCounters");
        for (int i = 0; i < list.count(); ++i)
            names << list.item(i)->text();
        return names;
    }
};

TEST_F(LabellingCounters, AtMostFiveCountersAndNoNameTwice)
{
    dialog.Ini(label);
    TScriptedDialogs dialogs;
    for (const char* name : { "A", "B", "C", "D", "E" })
        Add(dialogs, name);
    EXPECT_EQ(label.GetCounterCount(), 5);
    Get<QPushButton>("butAddCounter").click(); // no name is asked
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("A label can have at most 5 counters") });
    EXPECT_EQ(label.GetCounterCount(), 5);
    EXPECT_EQ(Listed(), (QStringList { "A", "B", "C", "D", "E" }));

    // Renaming E to "a" is refused; the label keeps E.
    Type(Get<QLineEdit>("edCounterName"), QStringLiteral("a"));
    Get<QPushButton>("butSaveCounter").click();
    EXPECT_EQ(dialogs.Messages.last(), QStringLiteral("This name is already used"));
    EXPECT_EQ(label.GetCounter(5)->GetName(), QStringLiteral("E"));
}

TEST_F(LabellingCounters, ANewNameInUseIsRefusedUntilItIsChanged)
{
    dialog.Ini(label);
    TScriptedDialogs dialogs;
    Add(dialogs, "Serial");
    Add(dialogs, "serial");
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("This name is already used") });
    EXPECT_EQ(label.GetCounterCount(), 1);
    EXPECT_TRUE(Get<QPushButton>("butSaveCounter").isEnabled());
    Type(Get<QLineEdit>("edCounterName"), QStringLiteral("Batch"));
    Get<QPushButton>("butSaveCounter").click();
    EXPECT_EQ(label.GetCounterCount(), 2);
    EXPECT_EQ(Listed(), (QStringList { "Serial", "Batch" }));
}

TEST_F(LabellingCounters, EditsAreSavedAtOnceOrAskedForWhenLeaving)
{
    label.Data().AddCounter(QStringLiteral("One"));
    label.Data().AddCounter(QStringLiteral("Two"));
    dialog.Ini(label);
    TScriptedDialogs dialogs;
    Type(Get<TZORSpinEditFloat>("seFromNumber"), QStringLiteral("100"));
    Type(Get<QLineEdit>("edTextBefore"), QStringLiteral("No. "));
    Get<QPushButton>("butSaveCounter").click();
    EXPECT_EQ(label.GetCounter(1)->GetNumFrom(), 100);
    EXPECT_EQ(label.GetCounter(1)->GetTextBefore(), QStringLiteral("No. "));
    EXPECT_FALSE(Get<QPushButton>("butSaveCounter").isEnabled());

    // An unsaved edit is offered for saving when another counter is chosen.
    Type(Get<TZORSpinEditFloat>("seStep"), QStringLiteral("5"));
    dialogs.AnswerMessage(QMessageBox::Yes);
    Get<QListWidget>("lbCounters").setCurrentRow(1);
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("Save the changes to this counter?") });
    EXPECT_EQ(label.GetCounter(1)->GetStep(), 5);
    EXPECT_EQ(Get<QLineEdit>("edCounterName").text(), QStringLiteral("Two"));

    // Deleting asks first; the first counter left is shown.
    dialogs.AnswerMessage(QMessageBox::Yes);
    Get<QPushButton>("butDelCounter").click();
    EXPECT_EQ(label.GetCounterCount(), 1);
    EXPECT_EQ(Get<QLineEdit>("edCounterName").text(), QStringLiteral("One"));

    // The counters changed at once: a cancelled dialog keeps them.
    dialog.reject();
    EXPECT_EQ(label.GetCounterCount(), 1);
}

// --- Data ---

class LabellingData : public zor::test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    }
    template <class W> W& Get(const char* name) { return Child<W>(dialog, name); }
    // The field grid: name and type text per row.
    QStringList Fields()
    {
        QStringList rows;
        auto& grid = Get<QTableWidget>("sgFields");
        for (int r = 0; r < grid.rowCount(); ++r)
            rows << grid.item(r, 0)->text() + QLatin1Char(':')
                    + qobject_cast<QComboBox*>(grid.cellWidget(r, 1))->currentText();
        return rows;
    }
    void ChooseCsv(TScriptedDialogs& dialogs, const QString& path)
    {
        dialogs.AnswerFile(path);
        Get<QToolButton>("butEdCsvFile").click();
        Get<QPushButton>("butCheckCsv").click();
    }

    TZORLabelVCL label;
    TfLabelling dialog;
};

TEST_F(LabellingData, ACsvFileChosenListsItsFieldsWithTheirTypes)
{
    const QString path = Path(QStringLiteral("stock.csv"));
    ASSERT_TRUE(zor::test::WriteFile(path, "name;qty;price;code\nApple;3;1.5;A1\nPear;10;2.25;P2\n"));
    dialog.Ini(label);
    TScriptedDialogs dialogs;
    ChooseCsv(dialogs, path);
    EXPECT_EQ(dialogs.Asked, QStringList { QStringLiteral("file CSV file") });
    EXPECT_EQ(label.Data().GetCsvFile(), path);
    EXPECT_EQ(Fields(), (QStringList { "name:String", "qty:Integer", "price:Float", "code:String" }));
    auto& preview = Get<QTableWidget>("sgPreview");
    ASSERT_EQ(preview.rowCount(), 2);
    EXPECT_EQ(preview.item(1, 0)->text(), QStringLiteral("Pear"));
    EXPECT_EQ(preview.item(1, 2)->text(), QStringLiteral("2.25"));

    // Choosing the CSV data set offers its whole-number fields as repeat fields.
    Get<QComboBox>("cbData").setCurrentText(QStringLiteral("CSV file"));
    auto& repeat = Get<QComboBox>("cbFieldRepeat");
    ASSERT_EQ(repeat.count(), 2);
    EXPECT_EQ(repeat.itemText(1), QStringLiteral("qty"));

    // A type chosen is written at once and survives a cancel; a new Integer field is offered.
    auto* codeType = qobject_cast<QComboBox*>(Get<QTableWidget>("sgFields").cellWidget(3, 1));
    codeType->setCurrentIndex(2);
    emit codeType->activated(2);
    EXPECT_EQ(label.Data().GetCsvDataset()->GetFields()[3].GetType(), TZORFieldType::Integer);
    EXPECT_EQ(repeat.count(), 3);
    repeat.setCurrentIndex(2);
    const TZORLabelSetup v = dialog.GetValues();
    EXPECT_EQ(v.dataSel, QStringLiteral("CSV file"));
    EXPECT_EQ(v.fieldRepeat, QStringLiteral("code"));
    dialog.reject();
    EXPECT_EQ(label.Data().GetCsvDataset()->GetFields()[3].GetType(), TZORFieldType::Integer);
}

TEST_F(LabellingData, ACsvFileThatCannotBeReadIsReportedAndKeepsTheOldOne)
{
    const QString good = Path(QStringLiteral("good.csv"));
    const QString bad = Path(QStringLiteral("bad.csv"));
    ASSERT_TRUE(zor::test::WriteFile(good, "a;b\n1;2\n"));
    ASSERT_TRUE(zor::test::WriteFile(bad, "a;b\n1;2\n\"open;3\n"));
    dialog.Ini(label);
    TScriptedDialogs dialogs;
    ChooseCsv(dialogs, good);
    ChooseCsv(dialogs, bad);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("line 3"))) << dialogs.Messages[0].toStdString();
    EXPECT_EQ(label.Data().GetCsvFile(), good);
    EXPECT_EQ(Fields(), (QStringList { "a:Integer", "b:Integer" }));
}

TEST_F(LabellingData, AJsonEditThatOnlyChangesCaseIsTaken)
{
    ASSERT_TRUE(label.Data().SetJson(QStringLiteral(R"({"Items":[{"Name":"bolt","Count":2}]})")));
    dialog.Ini(label);
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        Child<QPlainTextEdit>(d, "MemJson")
            .setPlainText(QStringLiteral(R"({"Items":[{"Name":"BOLT","Count":2}]})"));
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    Get<QPushButton>("butJson").click();
    EXPECT_TRUE(label.Data().GetJson().contains(QStringLiteral("BOLT")));
    auto& data = Get<QComboBox>("cbData");
    EXPECT_NE(data.findText(QStringLiteral("Items")), -1);
}

TEST_F(LabellingData, ADataSetWithoutWholeNumbersHasNoRepeatField)
{
    ASSERT_TRUE(label.Data().SetJson(QStringLiteral(R"({"Items":[{"Name":"bolt","Weight":2.5}]})")));
    label.Data().SetDataSel(QStringLiteral("Items"));
    dialog.Ini(label);
    EXPECT_EQ(Get<QComboBox>("cbData").currentText(), QStringLiteral("Items"));
    EXPECT_EQ(Get<QComboBox>("cbFieldRepeat").count(), 1); // only "none"
    EXPECT_EQ(Get<QTableWidget>("sgFields").rowCount(), 0);
}

} // namespace
