// The table and poly-text editors: every control writes its member of the selected part at once,
// parts are added, deleted and moved at both ends, and the whole session is one undo step.

#include "Zor.Poly.h"
#include "Zor.Table.h"
#include "dialogs/Zor.Edpolytext.h"
#include "dialogs/Zor.Edtable.h"
#include "dialogs/Zor.Selcolor.h"
#include "dialogs/Zor.Spinfloat.h"
#include "kit/Dialogs.h"
#include "kit/Widgets.h"
#include "label/Zor.Vcl.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using zor::TAlphaColor;

namespace {

using namespace zor::test;

const char* AnimalsJson = R"({"Animals":[{"name":"Ant","qty":1},{"name":"Bee","qty":2}]})";

// A label holding one selected element of the type code, offering the fonts "Alpha" and "Beta".
template <class E> class Editor : public testing::Test {
protected:
    explicit Editor(int32_t code)
    {
        QLocale::setDefault(QLocale::c());
        EXPECT_TRUE(label.Data().SetJson(QString::fromLatin1(AnimalsJson)));
        label.OnGetFontListEvent = [](QObject*, QStringList& fonts) {
            fonts = QStringList { QStringLiteral("Alpha"), QStringLiteral("Beta") };
        };
        element = dynamic_cast<E*>(label.AddItem(label.NewItem(code, false)));
        label.Select(element);
        label.ClearUndo();
    }
    ~Editor() override { QLocale::setDefault(fLocale); }

    // After an undo the history starts afresh for the next case.
    void Reset() { label.ClearUndo(); }

    QListWidget& List(QObject& form) { return Child<QListWidget>(form, "listColumns"); }
    QStringList Lines(QObject& form)
    {
        QStringList lines;
        for (int i = 0; i < List(form).count(); ++i)
            lines << List(form).item(i)->text();
        return lines;
    }
    bool Enabled(QObject& form, const char* name) { return Child<QWidget>(form, name).isEnabled(); }

    QLocale fLocale;
    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    E* element = nullptr;
};

class TableEditor : public Editor<TZORBaseTable> {
protected:
    TableEditor()
        : Editor(19)
    {
        element->SetDataSet(QStringLiteral("Animals"));
        element->SetColumns(3);
        const char* names[] = { "A", "B", "C" };
        for (int32_t i = 1; i <= 3; ++i)
            element->GetColumn(i)->Header.Text = QString::fromLatin1(names[i - 1]);
        label.ClearUndo();
    }
    QStringList Headers() const
    {
        QStringList headers;
        for (int32_t i = 1; i <= element->GetColumnCount(); ++i)
            headers << element->GetColumn(i)->Header.Text;
        return headers;
    }
};

class PolyEditor : public Editor<TZORBasePoly> {
protected:
    PolyEditor()
        : Editor(20)
    {
    }
    void Hold(std::initializer_list<const char*> texts)
    {
        for (const char* t : texts) {
            TZORDataPoly item;
            item.Text = QString::fromLatin1(t);
            element->AddItem(item);
        }
        label.ClearUndo();
    }
    QStringList Texts() const
    {
        QStringList texts;
        for (int32_t i = 1; i <= element->GetItemCount(); ++i)
            texts << element->GetItem(i)->Text;
        return texts;
    }
};

QString Colour(TAlphaColor c)
{
    return QString::number(zor::Ord(c), 16);
}

QString Flag(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

QString Number(float v)
{
    return QString::number(double(v));
}

} // namespace

// Each control of the three pages writes its own member of the column selected (the second),
// and nothing of the first.
TEST_F(TableEditor, EveryControlWritesItsMemberOfTheSelectedColumn)
{
    using TAct = std::function<void(TfEdTable&, TScriptedDialogs&)>;
    using TRead = std::function<QString(const TZORBaseTable&, const TZORColumn&)>;
    const auto click = [](const char* name) {
        return TAct([name](TfEdTable& f, TScriptedDialogs&) { Child<QAbstractButton>(f, name).click(); });
    };
    const auto type = [](const char* name, const char* text) {
        return TAct([name, text](TfEdTable& f, TScriptedDialogs&) {
            QTest::keyClicks(&Child<QLineEdit>(f, name), QString::fromLatin1(text));
        });
    };
    const auto spin = [](const char* name, double v) {
        return TAct(
            [name, v](TfEdTable& f, TScriptedDialogs&) { Child<TZORSpinEditFloat>(f, name).SetValue(v); });
    };
    const auto choose = [](const char* name, int index) {
        return TAct([name, index](TfEdTable& f, TScriptedDialogs&) {
            Child<QComboBox>(f, name).setCurrentIndex(index);
        });
    };
    const auto press = [](const char* name) {
        return TAct([name](TfEdTable& f, TScriptedDialogs&) {
            QTest::keyClick(&Child<QCheckBox>(f, name), Qt::Key_Space);
        });
    };
    const auto colour = [](const char* name) {
        return TAct([name](TfEdTable& f, TScriptedDialogs& d) {
            d.AnswerColour(QColor(0x12, 0x34, 0x56));
            QTest::mouseClick(&Child<TZORColorSwatch>(f, name), Qt::LeftButton);
        });
    };
    const struct {
        const char* control;
        TAct act;
        TRead read;
        const char* expected;
    } cases[] = {
        { "CBoxFields", choose("CBoxFields", 1),
            [](auto&, auto& c) { return c.FieldName + '|' + c.Header.Text + '|' + c.Line.Text; },
            "qty|qty|qty" },
        { "seWidth", spin("seWidth", 30), [](auto&, auto& c) { return Number(c.Width); }, "30" },
        { "edFormat", type("edFormat", "0.0"), [](auto&, auto& c) { return c.Format; }, "0.0" },
        { "cBoxColFont", choose("cBoxColFont", 1), [](auto&, auto& c) { return c.Line.FontName; }, "Beta" },
        { "seColFontHeight", spin("seColFontHeight", 5.5),
            [](auto&, auto& c) { return Number(c.Line.FontHeight); }, "5.5" },
        { "ShColFontColor", colour("ShColFontColor"), [](auto&, auto& c) { return Colour(c.Line.FontColor); },
            "ff123456" },
        { "ShColColor", colour("ShColColor"), [](auto&, auto& c) { return Colour(c.Line.BackColor); },
            "ff123456" },
        { "ckFillCol", click("ckFillCol"), [](auto&, auto& c) { return Flag(c.Line.FillBack); }, "1" },
        { "SBColBold", click("SBColBold"), [](auto&, auto& c) { return Flag(c.Line.Bold); }, "1" },
        { "SBColItalic", click("SBColItalic"), [](auto&, auto& c) { return Flag(c.Line.Italic); }, "1" },
        { "SBColUnderline", click("SBColUnderline"), [](auto&, auto& c) { return Flag(c.Line.Underline); },
            "1" },
        { "SBCRight", click("SBCRight"), [](auto&, auto& c) { return Number(zor::Ord(c.Line.HorzAlign)); },
            "2" },
        { "seColHeight", spin("seColHeight", 8), [](auto& t, auto&) { return Number(t.GetLineHeight()); },
            "8" },
        { "seRowInterline", spin("seRowInterline", 1.5),
            [](auto&, auto& c) { return Number(c.Line.Interline); }, "1.5" },
        { "ckWrapText", click("ckWrapText"), [](auto&, auto& c) { return Flag(c.Line.WrapText); }, "1" },
        { "ckFixed", press("ckFixed"), [](auto&, auto& c) { return Flag(c.Fixed); }, "1" },
        { "sbVertBottom", click("sbVertBottom"),
            [](auto&, auto& c) { return Number(zor::Ord(c.Line.VertAlign)); }, "2" },
        { "sbVertCenter", click("sbVertCenter"),
            [](auto&, auto& c) { return Number(zor::Ord(c.Line.VertAlign)); }, "1" },
        { "edHeaderText", type("edHeaderText", "x"), [](auto&, auto& c) { return c.Header.Text; }, "Bx" },
        { "CBVisibleHead", click("CBVisibleHead"), [](auto&, auto& c) { return Flag(c.Header.Visible); },
            "0" },
        { "CBoxHFont", choose("CBoxHFont", 1), [](auto&, auto& c) { return c.Header.FontName; }, "Beta" },
        { "seHeadFontHeight", spin("seHeadFontHeight", 4),
            [](auto&, auto& c) { return Number(c.Header.FontHeight); }, "4" },
        { "ShHeadFontColor", colour("ShHeadFontColor"),
            [](auto&, auto& c) { return Colour(c.Header.FontColor); }, "ff123456" },
        { "ShHColor", colour("ShHColor"), [](auto&, auto& c) { return Colour(c.Header.BackColor); },
            "ff123456" },
        { "ckHeadFill", click("ckHeadFill"), [](auto&, auto& c) { return Flag(c.Header.FillBack); }, "1" },
        { "SBHeadItalic", click("SBHeadItalic"), [](auto&, auto& c) { return Flag(c.Header.Italic); }, "1" },
        { "SBHeadCenter", click("SBHeadCenter"),
            [](auto&, auto& c) { return Number(zor::Ord(c.Header.HorzAlign)); }, "1" },
        { "seHeightHead", spin("seHeightHead", 7), [](auto& t, auto&) { return Number(t.GetHeaderHeight()); },
            "7" },
        { "seHeadInterline", spin("seHeadInterline", 2),
            [](auto&, auto& c) { return Number(c.Header.Interline); }, "2" },
        { "RGCalc", click("RGCalc4"), [](auto&, auto& c) { return Number(zor::Ord(c.Footer)); }, "4" },
        { "edFooterFormat", type("edFooterFormat", "0.00"), [](auto&, auto& c) { return c.FooterFormat; },
            "0.00" },
        { "CBoxFFont", choose("CBoxFFont", 1), [](auto&, auto& c) { return c.FooterCell.FontName; }, "Beta" },
        { "seFootFontHeight", spin("seFootFontHeight", 6),
            [](auto&, auto& c) { return Number(c.FooterCell.FontHeight); }, "6" },
        { "ShFFontColor", colour("ShFFontColor"),
            [](auto&, auto& c) { return Colour(c.FooterCell.FontColor); }, "ff123456" },
        { "ShFColor", colour("ShFColor"), [](auto&, auto& c) { return Colour(c.FooterCell.BackColor); },
            "ff123456" },
        { "ckFootFill", click("ckFootFill"), [](auto&, auto& c) { return Flag(c.FooterCell.FillBack); },
            "1" },
        { "SBFBold", click("SBFBold"), [](auto&, auto& c) { return Flag(c.FooterCell.Bold); }, "1" },
        { "SBFUnderline", click("SBFUnderline"), [](auto&, auto& c) { return Flag(c.FooterCell.Underline); },
            "1" },
        { "SBFRight", click("SBFRight"),
            [](auto&, auto& c) { return Number(zor::Ord(c.FooterCell.HorzAlign)); }, "2" },
        { "seHeightFoot", spin("seHeightFoot", 3), [](auto& t, auto&) { return Number(t.GetFooterHeight()); },
            "3" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        const TZORColumn first = *element->GetColumn(1);
        {
            TfEdTable form;
            form.Ini(label);
            List(form).setCurrentRow(1);
            c.act(form, dialogs);
            EXPECT_EQ(c.read(*element, *element->GetColumn(2)), QString::fromLatin1(c.expected));
            EXPECT_EQ(element->GetColumn(1)->Header.Text, first.Header.Text);
            EXPECT_EQ(element->GetColumn(1)->FieldName, first.FieldName);
        }
        // The editor's session is one step: undoing it puts the column back.
        EXPECT_TRUE(label.Undo());
        element = dynamic_cast<TZORBaseTable*>(label.GetSelection(1));
        ASSERT_NE(element, nullptr);
        Reset();
    }
}

// A width past what the model keeps comes back in the box as kept, without a second write.
TEST_F(TableEditor, AWidthTheModelAdjustsIsShownBack)
{
    TfEdTable form;
    form.Ini(label);
    auto& width = Child<TZORSpinEditFloat>(form, "seWidth");
    width.SetValue(150);
    EXPECT_EQ(element->GetColumn(1)->Width, 100.0f);
    EXPECT_EQ(width.GetValue(), 100.0);
}

TEST_F(TableEditor, ColumnsAreAddedDeletedAndMovedAtBothEnds)
{
    TfEdTable form;
    form.Ini(label);
    // The first line cannot go up, the last cannot go down.
    List(form).setCurrentRow(0);
    EXPECT_FALSE(Enabled(form, "SBUp"));
    EXPECT_TRUE(Enabled(form, "SBDown"));
    form.SBUpClick();
    EXPECT_EQ(Headers(), (QStringList { "A", "B", "C" }));
    form.SBDownClick();
    EXPECT_EQ(Headers(), (QStringList { "B", "A", "C" }));
    EXPECT_EQ(Lines(form), Headers());
    EXPECT_EQ(List(form).currentRow(), 1);

    List(form).setCurrentRow(2);
    EXPECT_FALSE(Enabled(form, "SBDown"));
    form.SBDownClick();
    EXPECT_EQ(Headers(), (QStringList { "B", "A", "C" }));
    form.SBUpClick();
    EXPECT_EQ(Headers(), (QStringList { "B", "C", "A" }));
    EXPECT_EQ(Lines(form), Headers());

    // Added at the end and selected, the header showing the name.
    dialogs.AnswerText(QStringLiteral("D"));
    form.butAddClick();
    EXPECT_EQ(Headers(), (QStringList { "B", "C", "A", "D" }));
    EXPECT_EQ(List(form).currentRow(), 3);
    EXPECT_EQ(Child<QLineEdit>(form, "edHeaderText").text(), QStringLiteral("D"));
    EXPECT_FALSE(Enabled(form, "SBDown"));
    EXPECT_TRUE(Enabled(form, "SBUp"));
    // A cancelled name adds nothing.
    dialogs.AnswerText(std::nullopt);
    form.butAddClick();
    EXPECT_EQ(element->GetColumnCount(), 4);

    // Deleting the last and the first; line 0 is selected after.
    form.butDeleteClick();
    EXPECT_EQ(Headers(), (QStringList { "B", "C", "A" }));
    EXPECT_EQ(List(form).currentRow(), 0);
    form.butDeleteClick();
    EXPECT_EQ(Headers(), (QStringList { "C", "A" }));
    EXPECT_EQ(Lines(form), Headers());
    // A table keeps one column.
    form.butDeleteClick();
    EXPECT_EQ(Headers(), (QStringList { "A" }));
    EXPECT_FALSE(Enabled(form, "butDelete"));
    EXPECT_FALSE(Enabled(form, "SBUp"));
    EXPECT_FALSE(Enabled(form, "SBDown"));
    form.butDeleteClick();
    EXPECT_EQ(element->GetColumnCount(), 1);
}

TEST_F(TableEditor, ATableWithoutFieldsSaysSoAndHidesThePages)
{
    element->SetDataSet(QString());
    TfEdTable form;
    form.Ini(label);
    // The message opens over the editor: once the editor shows, not before.
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.Messages, QStringList { "No fields" });
    EXPECT_TRUE(Child<QTabWidget>(form, "PColumns").isHidden());
    EXPECT_EQ(Lines(form), (QStringList { "A", "B", "C" }));
}

TEST_F(PolyEditor, AnEmptyPolyTextAsksForItsFirstItemAtOnce)
{
    dialogs.AnswerText(QStringLiteral("First"));
    TfEdPolyText form;
    form.Ini(label);
    EXPECT_EQ(Texts(), QStringList { "First" });
    EXPECT_EQ(Lines(form), QStringList { "First" });
    EXPECT_TRUE(dialogs.Asked.contains(QStringLiteral("text Add text")));
}

TEST_F(PolyEditor, EveryControlWritesItsMemberOfTheSelectedItem)
{
    using TAct = std::function<void(TfEdPolyText&, TScriptedDialogs&)>;
    const auto click = [](const char* name) {
        return TAct([name](TfEdPolyText& f, TScriptedDialogs&) { Child<QAbstractButton>(f, name).click(); });
    };
    const auto press = [](const char* name) {
        return TAct([name](TfEdPolyText& f, TScriptedDialogs&) {
            QTest::keyClick(&Child<QCheckBox>(f, name), Qt::Key_Space);
        });
    };
    const struct {
        const char* control;
        TAct act;
        std::function<QString(const TZORDataPoly&)> read;
        const char* expected;
    } cases[] = {
        { "edText",
            [](auto& f, auto&) { QTest::keyClicks(&Child<QLineEdit>(f, "edText"), QStringLiteral("z ")); },
            [](auto& i) { return i.Text; }, " two z " },
        { "CBoxFields", [](auto& f, auto&) { Child<QComboBox>(f, "CBoxFields").setCurrentIndex(1); },
            [](auto& i) { return Number(i.FillType) + '|' + i.FillName; }, "1|qty" },
        { "edFormat",
            [](auto& f, auto&) { QTest::keyClicks(&Child<QLineEdit>(f, "edFormat"), QStringLiteral("000")); },
            [](auto& i) { return i.Format; }, "000" },
        { "cBoxColFont", [](auto& f, auto&) { Child<QComboBox>(f, "cBoxColFont").setCurrentIndex(1); },
            [](auto& i) { return i.FontName; }, "Beta" },
        { "seColFontHeight",
            [](auto& f, auto&) { Child<TZORSpinEditFloat>(f, "seColFontHeight").SetValue(7); },
            [](auto& i) { return Number(i.FontHeight); }, "7" },
        { "SBColBold", click("SBColBold"), [](auto& i) { return Flag(i.Bold); }, "1" },
        { "SBColItalic", click("SBColItalic"), [](auto& i) { return Flag(i.Italic); }, "1" },
        { "SBColUnderline", click("SBColUnderline"), [](auto& i) { return Flag(i.Underline); }, "1" },
        { "ShColFontColor",
            [](auto& f, auto& d) {
                d.AnswerColour(QColor(0x12, 0x34, 0x56));
                QTest::mouseClick(&Child<TZORColorSwatch>(f, "ShColFontColor"), Qt::LeftButton);
            },
            [](auto& i) { return Colour(i.FontColor); }, "ff123456" },
        { "edIA",
            [](auto& f, auto&) { QTest::keyClicks(&Child<QLineEdit>(f, "edIA"), QStringLiteral("01")); },
            [](auto& i) { return i.IA; }, "01" },
        { "ckAddParenthesis", press("ckAddParenthesis"), [](auto& i) { return Flag(i.AddPar); }, "1" },
        { "ShColColor",
            [](auto& f, auto& d) {
                d.AnswerColour(QColor(0x65, 0x43, 0x21));
                QTest::mouseClick(&Child<TZORColorSwatch>(f, "ShColColor"), Qt::LeftButton);
            },
            [](auto& i) { return Colour(i.BackColor); }, "ff654321" },
        { "ckFill", press("ckFill"), [](auto& i) { return Flag(i.FillBack); }, "1" },
    };
    Hold({ "one", " two ", "three" });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        {
            TfEdPolyText form;
            form.Ini(label);
            List(form).setCurrentRow(1);
            c.act(form, dialogs);
            EXPECT_EQ(c.read(*element->GetItem(2)), QString::fromLatin1(c.expected));
            EXPECT_EQ(element->GetItem(1)->Text, QStringLiteral("one"));
        }
        EXPECT_TRUE(label.Undo());
        element = dynamic_cast<TZORBasePoly*>(label.GetSelection(1));
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(Texts(), (QStringList { "one", " two ", "three" }));
        Reset();
    }
}

TEST_F(PolyEditor, TheListLineFollowsTheTrimmedTextAndClearEmptiesTheField)
{
    Hold({ "one", "two" });
    TfEdPolyText form;
    form.Ini(label);
    QTest::keyClicks(&Child<QLineEdit>(form, "edText"), QStringLiteral("  "));
    EXPECT_EQ(element->GetItem(1)->Text, QStringLiteral("one  "));
    EXPECT_EQ(Lines(form), (QStringList { "one", "two" }));

    auto& fields = Child<QComboBox>(form, "CBoxFields");
    fields.setCurrentIndex(0);
    EXPECT_EQ(element->GetItem(1)->FillName, QStringLiteral("name"));
    dialogs.AnswerPopup([](QMenu& menu) { return &Child<QAction>(menu, "menuClear"); });
    emit fields.customContextMenuRequested(QPoint(2, 2));
    EXPECT_EQ(fields.currentIndex(), -1);
    EXPECT_EQ(element->GetItem(1)->FillName, QString());
    EXPECT_EQ(element->GetItem(1)->FillType, 0);
}

TEST_F(PolyEditor, ItemsAreAddedDeletedAndMovedAtBothEnds)
{
    Hold({ "a", "b", "c" });
    TfEdPolyText form;
    form.Ini(label);
    List(form).setCurrentRow(0);
    EXPECT_FALSE(Enabled(form, "SBUp"));
    form.SBDownClick();
    EXPECT_EQ(Texts(), (QStringList { "b", "a", "c" }));
    List(form).setCurrentRow(2);
    EXPECT_FALSE(Enabled(form, "SBDown"));
    form.SBUpClick();
    EXPECT_EQ(Texts(), (QStringList { "b", "c", "a" }));
    EXPECT_EQ(Lines(form), Texts());
    EXPECT_EQ(Child<QLineEdit>(form, "edText").text(), QStringLiteral("c"));

    dialogs.AnswerText(QStringLiteral("d"));
    form.butAddClick();
    EXPECT_EQ(Texts(), (QStringList { "b", "c", "a", "d" }));
    EXPECT_EQ(List(form).currentRow(), 3);

    form.butDeleteClick();
    form.butDeleteClick();
    EXPECT_EQ(Texts(), (QStringList { "c", "a" }));
    form.butDeleteClick();
    form.butDeleteClick();
    EXPECT_EQ(element->GetItemCount(), 0);
    EXPECT_EQ(List(form).count(), 0);
    EXPECT_FALSE(Enabled(form, "SBUp"));
    EXPECT_FALSE(Enabled(form, "SBDown"));
    EXPECT_FALSE(Enabled(form, "butDelete"));
}

// Several edits while the editor is open are one step of the label's history.
TEST_F(PolyEditor, TheWholeSessionIsOneUndoStep)
{
    Hold({ "a", "b" });
    {
        TfEdPolyText form;
        form.Ini(label);
        dialogs.AnswerText(QStringLiteral("c"));
        form.butAddClick();
        Child<QAbstractButton>(form, "SBColBold").click();
        form.SBUpClick();
        form.done(QDialog::Accepted);
    }
    EXPECT_EQ(Texts(), (QStringList { "a", "c", "b" }));
    EXPECT_TRUE(label.Undo());
    element = dynamic_cast<TZORBasePoly*>(label.GetSelection(1));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(Texts(), (QStringList { "a", "b" }));
    EXPECT_FALSE(element->GetItem(2)->Bold);
    EXPECT_FALSE(label.CanUndo());
}

namespace {

// The text a control of the form shows: a caption, a button's or a page's text.
QString Shown(QWidget& form, const char* name)
{
    if (auto* label = form.findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text();
    if (auto* button = form.findChild<QAbstractButton*>(QString::fromLatin1(name)))
        return button->text();
    if (auto* page = form.findChild<QWidget*>(QString::fromLatin1(name))) {
        auto& tabs = Child<QTabWidget>(form, "PColumns");
        return tabs.tabText(tabs.indexOf(page));
    }
    ADD_FAILURE() << "no control " << name;
    return {};
}

struct TCaption {
    const char* control;
    const char* text;
};

void ExpectCaptions(QWidget& form, std::initializer_list<TCaption> captions)
{
    for (const TCaption& c : captions)
        EXPECT_EQ(Shown(form, c.control), QString::fromUtf8(c.text)) << c.control;
    // No caption is left without a text, nor shows a key the catalogue does not know.
    for (QLabel* label : form.findChildren<QLabel*>()) {
        if (label->objectName().startsWith(QLatin1String("lab"), Qt::CaseInsensitive)) {
            EXPECT_FALSE(label->text().isEmpty()) << label->objectName().toStdString();
        }
    }
}

} // namespace

// Every caption, page and aggregate of the table editor reads from the catalogue; the footer's
// font, colour and height keep their own captions.
TEST_F(TableEditor, EveryCaptionComesFromTheCatalogue)
{
    TfEdTable form;
    form.Ini(label);
    EXPECT_EQ(form.windowTitle().trimmed(), QStringLiteral("Table"));
    ExpectCaptions(form,
        { { "TabColumn", "Column" }, { "TabHeader", "Header" }, { "TabFooter", "Footer" },
            { "butAdd", "Add" }, { "butDelete", "Delete" }, { "ckFillCol", "Fill" }, { "ckHeadFill", "Fill" },
            { "ckFootFill", "Fill" }, { "ckWrapText", "Wrap text" }, { "ckFixed", "Fixed" },
            { "CBVisibleHead", "Visible" }, { "labColField", "Field" }, { "labColWidth", "Width (%)" },
            { "labColFormat", "Format" }, { "labFootFormat", "Format" }, { "labHeadText", "Title" },
            { "labColFont", "Font" }, { "labHeadFont", "Font" }, { "labFootFont", "Font" },
            { "labColFontHeight", "Font height" }, { "LabHFontHeight", "Font height" },
            { "LabFFHeight", "Font height" }, { "labColFontColor", "Color" }, { "labHeadColFont", "Color" },
            { "labFootColor", "Color" }, { "labColHeight", "Height" }, { "labHeightHead", "Height" },
            { "labFootHeight", "Height" }, { "labColInterline", "Line spacing" },
            { "labHeadInterline", "Line spacing" }, { "RGCalc0", "None" }, { "RGCalc1", "Count" },
            { "RGCalc2", "Minimum" }, { "RGCalc3", "Maximum" }, { "RGCalc4", "Sum" }, { "RGCalc5", "Mean" },
            { "RGCalc6", "Median" }, { "RGCalc7", "Variance" }, { "RGCalc8", "Standard deviation" } });
}

TEST_F(PolyEditor, EveryCaptionComesFromTheCatalogue)
{
    Hold({ "one" });
    TfEdPolyText form;
    form.Ini(label);
    EXPECT_EQ(form.windowTitle().trimmed(), QStringLiteral("Poly text"));
    ExpectCaptions(form,
        { { "butAdd", "Add" }, { "butDelete", "Delete" }, { "labText", "Text" }, { "labField", "Field" },
            { "labFormat", "Format" }, { "labFont", "Font" }, { "labFontHeight", "Font height" },
            { "labFontColor", "Color" }, { "labIA", "IA" }, { "ckAddParenthesis", "Add parentheses" },
            { "ckFill", "Fill" } });
    EXPECT_EQ(Child<QAction>(form, "menuClear").text(), QStringLiteral("Clear"));
}
