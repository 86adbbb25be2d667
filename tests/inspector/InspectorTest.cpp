// The property inspector over a real label: rows from the field tables of every kind, edits by
// keys and clicks sent back as undoable steps, lists and dialogs answered through the dialog
// service, scrolling, and an editor on the same label staying in step.

#include "Zor.Barcode.h"
#include "Zor.F2d.h"
#include "Zor.Msg.h"
#include "Zor.Text.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/composite/Zor.Vcl.Flow.h"
#include "elements/composite/Zor.Vcl.Link.h"
#include "elements/composite/Zor.Vcl.Poly.h"
#include "elements/composite/Zor.Vcl.Table.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "inspector/Zor.Inspector.Draw.h"
#include "inspector/Zor.Inspector.h"
#include "kit/Dialogs.h"
#include "label/Zor.Vcl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

using zor::InspectorRows;
using zor::Ord;
using zor::TAct;
using zor::TAlphaColor;
using zor::TDataEdit;
using zor::TJsonArray;
using zor::TJsonObject;

namespace {

using namespace zor::test;

// The key of the field a row edits, or the row's kind for rows of no field.
QString RowKey(const TZORBaseItem& item, const TJsonObject& row)
{
    if (row.I("Kind") == int(TZORInsRow::Align))
        return QStringLiteral("<align>");
    if (row.I("Kind") != int(TZORInsRow::Field))
        return QStringLiteral("<editor>");
    return QString::fromLatin1(item.GetFields()[size_t(row.I("P1"))].key);
}

int FindRow(const TZORBaseItem& item, const TJsonArray& rows, const QString& key)
{
    for (int r = 0; r < rows.Count(); ++r)
        if (RowKey(item, rows.O(r)) == key)
            return r;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Rows of every kind.

TEST(InspectorRows, EveryKindHasRowsFromItsFieldsAndNoIDRow)
{
    TZORLabelVCL label;
    for (int32_t code = 1; code <= 29; ++code) {
        SCOPED_TRACE(code);
        const std::unique_ptr<TZORBaseItem> item = label.NewItem(code, false);
        ASSERT_TRUE(item);
        const TJsonArray rows = zor::InspectorRows({ item.get() });
        ASSERT_GT(rows.Count(), 3);
        EXPECT_EQ(FindRow(*item, rows, QStringLiteral("ID")), -1);
        const int colour = FindRow(*item, rows, QStringLiteral("Color"));
        ASSERT_GE(colour, 0);
        EXPECT_EQ(rows.O(colour).I("Prop1"), int(TZORInsProp::Color));
        const int layer = FindRow(*item, rows, QStringLiteral("Layer"));
        ASSERT_GE(layer, 0);
        EXPECT_EQ(rows.O(layer).I("List1"), 0);
        for (int r = 0; r < rows.Count(); ++r) {
            const TJsonObject row = rows.O(r);
            EXPECT_EQ(row.I("N"), 1);
            EXPECT_GT(row.I("H"), 0);
            const int prop = row.I("Prop1");
            EXPECT_TRUE(prop >= 0 && prop <= 13) << prop;
            if (prop == int(TZORInsProp::List)) {
                const int source = row.I("List1");
                EXPECT_TRUE(source >= 0 && source < 25);
            }
        }
    }
}

// Every title a row shows is a text of the catalogue, never the field's key: a row of any kind
// reads in the user's language.
TEST(InspectorRows, EveryTitleIsACatalogueText)
{
    QSet<QString> texts;
    for (const zor::TZORMsgText& t : zor::BuiltInTexts(TZORMsgCategory::Prop))
        texts.insert(QString::fromUtf8(t.text));
    TZORLabelVCL label;
    for (int32_t code = 1; code <= 29; ++code) {
        const std::unique_ptr<TZORBaseItem> item = label.NewItem(code, false);
        ASSERT_TRUE(item);
        const TJsonArray rows = zor::InspectorRows({ item.get() });
        for (int r = 0; r < rows.Count(); ++r) {
            const TJsonObject row = rows.O(r);
            for (int k = 1; k <= row.I("N"); ++k) {
                const QString name = row.S(QStringLiteral("Name%1").arg(k), QString());
                EXPECT_TRUE(name.isEmpty() || texts.contains(name))
                    << "element " << code << " shows \"" << name.toStdString() << "\"";
            }
        }
    }
}

struct TSlotCase {
    int32_t code;
    const char* key;
    TZORInsProp prop;
    int list; // -1: not a list
};

TEST(InspectorRows, FieldsShowAsTheirSlotKind)
{
    const TSlotCase cases[] = {
        { 12, "Code", TZORInsProp::BarText, -1 },
        { 12, "CodeType", TZORInsProp::List, 3 },
        { 12, "FontHeight", TZORInsProp::Float, -1 },
        { 12, "ShowNumber", TZORInsProp::Check, -1 },
        { 6, "Filled", TZORInsProp::Check, -1 },
        { 6, "BackColor", TZORInsProp::Color, -1 },
        { 6, "LineType", TZORInsProp::List, 1 },
        { 6, "FillType", TZORInsProp::List, 2 },
        { 10, "FontName", TZORInsProp::List, 4 },
        { 10, "Text", TZORInsProp::Text, -1 },
        { 10, "FillName", TZORInsProp::List, 9 },
        { 11, "Text", TZORInsProp::Memo, -1 },
        { 15, "Code", TZORInsProp::Memo, -1 },
        { 29, "RichText", TZORInsProp::Memo, -1 },
        { 20, "Code", TZORInsProp::Text, -1 },
        { 16, "FileName", TZORInsProp::ImagePath, -1 },
        { 16, "Frame", TZORInsProp::List, 21 },
        { 19, "DataSet", TZORInsProp::List, 16 },
        { 15, "Level", TZORInsProp::List, 11 },
        { 3, "ToType", TZORInsProp::List, 5 },
        { 26, "DimStyle", TZORInsProp::List, 23 },
    };
    TZORLabelVCL label;
    for (const TSlotCase& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " of " + std::to_string(c.code));
        const std::unique_ptr<TZORBaseItem> item = label.NewItem(c.code, false);
        const TJsonArray rows = zor::InspectorRows({ item.get() });
        const int r = FindRow(*item, rows, QString::fromLatin1(c.key));
        ASSERT_GE(r, 0);
        EXPECT_EQ(rows.O(r).I("Prop1"), int(c.prop));
        if (c.list >= 0) {
            EXPECT_EQ(rows.O(r).I("List1"), c.list);
        }
    }
}

TEST(InspectorRows, TablesAndPolyTextsHaveTheirEditorRow)
{
    TZORLabelVCL label;
    const std::pair<int32_t, TZORInsProp> kinds[]
        = { { 19, TZORInsProp::Table }, { 20, TZORInsProp::PolyText } };
    for (const auto& [code, prop] : kinds) {
        const std::unique_ptr<TZORBaseItem> item = label.NewItem(code, false);
        const TJsonArray rows = zor::InspectorRows({ item.get() });
        const int r = FindRow(*item, rows, QStringLiteral("<editor>"));
        ASSERT_GE(r, 0) << code;
        EXPECT_EQ(rows.O(r).I("Prop1"), int(prop));
    }
}

TEST(InspectorRows, SeveralElementsShowOnlyTheRowsTheyShare)
{
    TZORLabelVCL label;
    const std::unique_ptr<TZORBaseItem> rect = label.NewItem(6, false);
    const std::unique_ptr<TZORBaseItem> line = label.NewItem(2, false);
    const TJsonArray both = zor::InspectorRows({ rect.get(), line.get() });
    EXPECT_GE(FindRow(*rect, both, QStringLiteral("Color")), 0);
    EXPECT_GE(FindRow(*rect, both, QStringLiteral("PenWidth")), 0);
    EXPECT_EQ(FindRow(*rect, both, QStringLiteral("Filled")), -1);
    EXPECT_LT(both.Count(), zor::InspectorRows({ rect.get() }).Count());
}

// ---------------------------------------------------------------------------------------------
// Entries drawn by the inspector.

QImage Drawn(const std::function<void(QPainter&)>& draw)
{
    QImage image(120, 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    draw(p);
    return image;
}

TEST(InspectorLists, ACounterEntryShowsACircledOne)
{
    const auto leftEdge = [](const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            dark += image.pixelColor(2, y).lightness() < 160;
        return dark;
    };
    const QImage counter = Drawn(
        [](QPainter& p) { zor::DrawFieldEntry(p, QRect(0, 0, 120, 20), 9, QStringLiteral("@Counter")); });
    const QImage field = Drawn(
        [](QPainter& p) { zor::DrawFieldEntry(p, QRect(0, 0, 120, 20), 9, QStringLiteral("Counter")); });
    EXPECT_GT(leftEdge(counter), 2);
    EXPECT_EQ(leftEdge(field), 0);
}

TEST(InspectorLists, EveryLineEndShapeIsDrawnDifferently)
{
    std::vector<QImage> shapes;
    for (int v = 0; v <= 11; ++v)
        shapes.push_back(Drawn([v](QPainter& p) {
            zor::DrawLineEnd(p, QRectF(0, 0, 120, 20), v, QColor(0, 0, 0), QColor(0, 0, 255));
        }));
    const QImage blank = Drawn([](QPainter&) {});
    EXPECT_EQ(shapes[0], blank);
    for (int a = 1; a <= 11; ++a) {
        EXPECT_NE(shapes[size_t(a)], blank) << a;
        for (int b = a + 1; b <= 11; ++b)
            EXPECT_NE(shapes[size_t(a)], shapes[size_t(b)]) << a << " and " << b;
    }
}

// ---------------------------------------------------------------------------------------------
// An inspector and an editor on one label.

class Inspector : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TAct::Reset();
        label.Measure().SetPaperWidth(100000);
        label.Measure().SetPaperHeight(60000);
        label.Measure().SetWidth(100000);
        label.Measure().SetHeight(60000);
        rect = label.AddBaseRectangle(10000, 10000, 20000, 10000);
        rect->SetColor(TAlphaColor(0xFFFF0000u));
        rect->SetBackColor(TAlphaColor(0xFFFF0000u));
        text = label.AddBaseText(50000, 30000);
        text->SetText(QStringLiteral("Hello"));
        editor = std::make_unique<TZOREditor>();
        editor->SetDPIOverride(96);
        editor->resize(500, 400);
        editor->show();
        editor->SetLabel(&label);
        insp = std::make_unique<TZORInspector>();
        insp->resize(240, 1600);
        insp->show();
        insp->SetLabel(&label);
        label.ClearUndo();
    }
    void TearDown() override
    {
        insp.reset();
        editor.reset();
        QLocale::setDefault(QLocale::c());
        TAct::Reset();
    }

    void SelectOnly(TZORBaseItem* item)
    {
        label.UnSelectAll();
        label.Select(item);
    }
    int Row(const QString& key) const
    {
        const TZORBaseItem* first = label.Select();
        return first ? FindRow(*first, insp->Rows(), key) : -1;
    }
    TJsonObject RowObject(const QString& key) const { return insp->Rows().O(Row(key)); }
    void Click(int row, QPoint offset = {})
    {
        const QRect cell = insp->ValueCell(row, 1);
        ASSERT_FALSE(cell.isEmpty()) << "row " << row << " is not shown";
        QTest::mouseClick(
            insp.get(), Qt::LeftButton, {}, cell.topLeft() + QPoint(4, cell.height() / 2) + offset);
    }
    // Keys as a user types them: characters, and {BS} {DBL} {UP} {DOWN} {LEFT} {RIGHT} {HOME}
    // {END} {ENTER} {CTRLV} {CTRLSHIFTV} {ALT65} (Alt held, 6 and 5 on the keypad, Alt released).
    void Type(const QString& keys)
    {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (keys[i] != u'{') {
                if (keys[i].unicode() < 128) {
                    QTest::keyClick(insp.get(), char(keys[i].unicode()));
                } else {
                    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(keys[i]));
                    QApplication::sendEvent(insp.get(), &press);
                }
                continue;
            }
            const qsizetype end = keys.indexOf(u'}', i);
            const QString token = keys.mid(i + 1, end - i - 1);
            i = end;
            const auto key
                = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(insp.get(), k, m); };
            if (token == u"BS")
                key(Qt::Key_Backspace);
            else if (token == u"DBL")
                QTest::mouseDClick(
                    insp.get(), Qt::LeftButton, {}, QPoint(insp->EditState().X + 3, insp->EditState().Y + 3));
            else if (token == u"UP")
                key(Qt::Key_Up);
            else if (token == u"DOWN")
                key(Qt::Key_Down);
            else if (token == u"LEFT")
                key(Qt::Key_Left);
            else if (token == u"RIGHT")
                key(Qt::Key_Right);
            else if (token == u"HOME")
                key(Qt::Key_Home);
            else if (token == u"END")
                key(Qt::Key_End);
            else if (token == u"ENTER")
                key(Qt::Key_Return);
            else if (token == u"CTRLV")
                key(Qt::Key_V, Qt::ControlModifier);
            else if (token == u"CTRLSHIFTV")
                key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
            else if (token.startsWith(u"ALT")) {
                // Alt stays held while the digits are typed, as a user does it.
                const auto send = [&](QEvent::Type type, int k, Qt::KeyboardModifiers m) {
                    QKeyEvent e(type, k, m);
                    QApplication::sendEvent(insp.get(), &e);
                };
                send(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
                for (const QChar d : token.mid(3)) {
                    send(QEvent::KeyPress, Qt::Key_0 + d.digitValue(), Qt::AltModifier | Qt::KeypadModifier);
                    send(
                        QEvent::KeyRelease, Qt::Key_0 + d.digitValue(), Qt::AltModifier | Qt::KeypadModifier);
                }
                send(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
            } else
                ADD_FAILURE() << "unknown key " << token.toStdString();
        }
    }

    TZORLabelVCL label;
    TZORRectangle* rect = nullptr;
    TZORText* text = nullptr;
    std::unique_ptr<TZOREditor> editor;
    std::unique_ptr<TZORInspector> insp;
};

TEST_F(Inspector, RowsFollowTheSelection)
{
    EXPECT_EQ(insp->RowCount(), 0);
    SelectOnly(rect);
    const int rectRows = insp->RowCount();
    EXPECT_GT(rectRows, 0);
    EXPECT_GE(Row(QStringLiteral("Filled")), 0);
    SelectOnly(text);
    EXPECT_NE(insp->RowCount(), rectRows);
    EXPECT_GE(Row(QStringLiteral("FontName")), 0);
    label.UnSelectAll();
    EXPECT_EQ(insp->RowCount(), 0);
    EXPECT_FALSE(insp->ScrollBarShown());
}

struct TKeyCase {
    const char* name;
    const char* field;
    const char* keys;
    const char* shown; // the editor's text afterwards
    const char* clipboard = nullptr;
};

// Each row: open the field's editor with a click, type, and read the text shown, which must be
// the label's value.
TEST_F(Inspector, TextKeysEditTheLabel)
{
    const TKeyCase cases[] = {
        { "one character replaces the selected text", "Text", "{DBL}x", "x" },
        { "typing goes in at the caret", "Text", "{LEFT}{LEFT}ab", "Helablo" },
        { "a semicolon is refused", "Text", "{END};", "Hello" },
        { "every other printable character", "Text", "{DBL}Price: 12.50 \"net\" (a|b)~*'!?",
            "Price: 12.50 \"net\" (a|b)~*'!?" },
        { "letters of any script", "Text", "{DBL}\u00f1\u03a9", "\u00f1\u03a9" },
        { "backspace after select all empties", "Text", "{DBL}{BS}", "" },
        { "backspace deletes before the caret", "Text", "{BS}{BS}", "Hel" },
        { "an Alt-code inserts once, and typing goes on", "Text", "{DBL}z{ALT65}bc", "zAbc" },
        { "Ctrl+V pastes", "Text", "{END}{CTRLV}", "Hello12", "12" },
        { "Ctrl+Shift+V does not paste", "Text", "{END}{CTRLSHIFTV}", "Hello", "12" },
    };
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        text->SetText(QStringLiteral("Hello"));
        SelectOnly(text);
        if (c.clipboard)
            QApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        Click(Row(QString::fromLatin1(c.field)));
        ASSERT_TRUE(insp->EditState().Active);
        Type(QString::fromUtf8(c.keys));
        EXPECT_EQ(insp->EditState().Text.toStdString(), c.shown);
        EXPECT_EQ(text->GetText().toStdString(), c.shown);
        EXPECT_EQ(RowObject(QStringLiteral("Text")).S("Value1").toStdString(), c.shown);
    }
}

struct TNumberCase {
    const char* name;
    QLocale::Language language;
    QLocale::Territory territory;
    const char* keys;
    const char* shown;
    double value; // the label's font height afterwards
};

TEST_F(Inspector, DecimalKeysTakeEitherSeparatorAndRefuseTheRest)
{
    const TNumberCase cases[] = {
        { "full stop in English", QLocale::English, QLocale::UnitedStates, "{DBL}2.5", "2.500", 2.5 },
        { "comma in English jumps as well", QLocale::English, QLocale::UnitedStates, "{DBL}2,5", "2.500",
            2.5 },
        { "comma in German", QLocale::German, QLocale::Germany, "{DBL}2,5", "2,500", 2.5 },
        { "full stop in German", QLocale::German, QLocale::Germany, "{DBL}2.5", "2,500", 2.5 },
        { "letters are refused", QLocale::English, QLocale::UnitedStates, "{DBL}3x;", "3.000", 3.0 },
        { "up steps by the increment", QLocale::English, QLocale::UnitedStates, "{DBL}4{UP}{UP}", "4.200",
            4.2 },
        { "down steps back", QLocale::English, QLocale::UnitedStates, "{DBL}4{DOWN}", "3.900", 3.9 },
        { "the label keeps its least height", QLocale::English, QLocale::UnitedStates, "{DBL}{BS}", "0.100",
            0.1 },
    };
    for (const TNumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        QLocale::setDefault(QLocale(c.language, c.territory));
        SelectOnly(text);
        Click(Row(QStringLiteral("FontHeight")));
        ASSERT_TRUE(insp->EditState().Active);
        Type(QString::fromLatin1(c.keys));
        EXPECT_EQ(insp->EditState().Text.toStdString(), c.shown);
        EXPECT_NEAR(text->GetFontHeight(), c.value, 1e-4);
        EXPECT_NEAR(RowObject(QStringLiteral("FontHeight")).F("Value1"), c.value, 1e-4);
        Type(QStringLiteral("{ENTER}"));
    }
}

TEST_F(Inspector, TabGoesFromOneTypedSlotToTheNext)
{
    insp->resize(240, 200);
    SelectOnly(text);
    QTest::keyClick(insp.get(), Qt::Key_Tab);
    ASSERT_TRUE(insp->EditState().Active);
    const int first = insp->EditState().Row;
    int last = first;
    // With no other widget to go to, Tab after the last slot comes round to the first.
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(insp.get(), Qt::Key_Tab);
        ASSERT_TRUE(insp->EditState().Active);
        if (insp->EditState().Row <= last)
            break;
        last = insp->EditState().Row;
        EXPECT_FALSE(insp->ValueCell(last, 1).isEmpty()) << "row " << last << " is scrolled into view";
    }
    EXPECT_GT(last, first);
    EXPECT_EQ(insp->EditState().Row, first);
    QTest::keyClick(insp.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(insp->EditState().Row, last);
    EXPECT_FALSE(insp->ValueCell(last, 1).isEmpty());
}

TEST_F(Inspector, EachKeystrokeIsOneUndoStep)
{
    SelectOnly(text);
    Click(Row(QStringLiteral("Text")));
    Type(QStringLiteral("{END}ab"));
    EXPECT_EQ(text->GetText(), QStringLiteral("Helloab"));
    ASSERT_TRUE(label.Undo());
    text = dynamic_cast<TZORText*>(label.Select());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetText(), QStringLiteral("Helloa"));
    EXPECT_EQ(RowObject(QStringLiteral("Text")).S("Value1"), QStringLiteral("Helloa"));
    ASSERT_TRUE(label.Undo());
    text = dynamic_cast<TZORText*>(label.Select());
    EXPECT_EQ(text->GetText(), QStringLiteral("Hello"));
    EXPECT_FALSE(label.CanUndo());
}

TEST_F(Inspector, ACheckBoxClickTogglesAndTheEditorRedraws)
{
    SelectOnly(rect);
    const QPoint inside(editor->Surface().G.ScreenMMX(15000), editor->Surface().G.ScreenMMY(13000));
    const auto shown = [&] { return editor->Surface().grab().toImage().pixelColor(inside); };
    EXPECT_NE(shown(), QColor(255, 0, 0));
    Click(Row(QStringLiteral("Filled")));
    EXPECT_TRUE(rect->GetFilled());
    EXPECT_TRUE(RowObject(QStringLiteral("Filled")).B("Value1"));
    EXPECT_EQ(shown(), QColor(255, 0, 0));
    ASSERT_TRUE(label.Undo());
    rect = dynamic_cast<TZORRectangle*>(label.Select());
    ASSERT_TRUE(rect);
    EXPECT_FALSE(rect->GetFilled());
    EXPECT_FALSE(RowObject(QStringLiteral("Filled")).B("Value1"));
    EXPECT_NE(shown(), QColor(255, 0, 0));
}

TEST_F(Inspector, AnEditAppliesToEverySelectedElement)
{
    TZORRectangle* other = label.AddBaseRectangle(40000, 10000, 10000, 10000);
    label.UnSelectAll();
    label.Select(rect, true);
    label.Select(other, true);
    Click(Row(QStringLiteral("Filled")));
    EXPECT_TRUE(rect->GetFilled());
    EXPECT_TRUE(other->GetFilled());
}

TEST_F(Inspector, TheColourDialogCommitsAndShowsTheReply)
{
    TScriptedDialogs dialogs;
    SelectOnly(rect);
    rect->SetBackColor(TAlphaColor(0x80112233u));
    SelectOnly(text);
    SelectOnly(rect);
    dialogs.AnswerColour(QColor(0, 128, 255));
    Click(Row(QStringLiteral("BackColor")));
    EXPECT_EQ(zor::Ord(rect->GetBackColor()), 0x800080FFu);
    EXPECT_EQ(uint32_t(RowObject(QStringLiteral("BackColor")).L("Value1")), 0x800080FFu);
    dialogs.AnswerColour(std::nullopt);
    Click(Row(QStringLiteral("BackColor")));
    EXPECT_EQ(zor::Ord(rect->GetBackColor()), 0x800080FFu);
}

TEST_F(Inspector, AListEntryIsChosenByKeyAndSentOnce)
{
    SelectOnly(rect);
    const int row = Row(QStringLiteral("LineType"));
    Click(row);
    QComboBox* combo = insp->ComboList();
    ASSERT_TRUE(combo->isVisible());
    EXPECT_EQ(combo->count(), 12);
    EXPECT_EQ(combo->currentIndex(), 0);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(int(rect->GetLineType()), 1);
    EXPECT_EQ(RowObject(QStringLiteral("LineType")).I("Value1"), 1);
    EXPECT_FALSE(combo->isVisible());
    // The entry shown again, with one element selected, sends nothing.
    const int steps = label.UndoHistory().GetStepsCount();
    Click(row);
    emit combo->activated(1);
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), steps);
}

TEST_F(Inspector, WithSeveralSelectedTheEntryShownIsSentAgain)
{
    TZORRectangle* other = label.AddBaseRectangle(40000, 10000, 10000, 10000);
    other->SetLineType(TZORineType(3));
    label.UnSelectAll();
    label.Select(rect, true);
    label.Select(other, true);
    Click(Row(QStringLiteral("LineType")));
    emit insp->ComboList()->activated(0);
    EXPECT_EQ(int(other->GetLineType()), 0);
}

TEST_F(Inspector, TheAlignmentButtonsCommitTheirIndexButNotThePressedOne)
{
    SelectOnly(text);
    const int row = FindRow(*text, insp->Rows(), QStringLiteral("<align>"));
    ASSERT_GE(row, 0);
    const TJsonObject r = insp->Rows().O(row);
    const int top = insp->ValueCell(row, 1).top() - r.I("TV1");
    // Button 2 of the horizontal group, then button 2 of the vertical one.
    const int g = (108 - 4) / 8;
    const QPoint horz2(g + 2 * (22 + g) + 11, top + 12);
    const QPoint vert2(5 * g + 3 * 22 + 2 * (22 + g) + 11, top + 12);
    QTest::mouseClick(insp.get(), Qt::LeftButton, {}, horz2);
    EXPECT_EQ(int(text->GetHorzAlign()), 2);
    QTest::mouseClick(insp.get(), Qt::LeftButton, {}, vert2);
    EXPECT_EQ(int(text->GetVertAlign()), 2);
    const int steps = label.UndoHistory().GetStepsCount();
    QTest::mouseClick(insp.get(), Qt::LeftButton, {}, horz2);
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), steps);
}

TEST_F(Inspector, TheMemoDialogCommitsAChangedText)
{
    TScriptedDialogs dialogs;
    TZORParagraph* para = label.AddBaseParagraph(10000, 30000, 30000, 20000);
    SelectOnly(para);
    dialogs.AnswerDialog([](QDialog& d) {
        d.findChild<QPlainTextEdit*>(QStringLiteral("MemText"))->setPlainText(QStringLiteral("two\nlines"));
        return int(QDialog::Accepted);
    });
    Click(Row(QStringLiteral("Text")));
    EXPECT_EQ(dialogs.Asked, QStringList { QStringLiteral("dialog TfMem") });
    EXPECT_EQ(para->GetText(), QStringLiteral("two\nlines"));
    // Cancelled: nothing is sent.
    const int steps = label.UndoHistory().GetStepsCount();
    dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
    Click(Row(QStringLiteral("Text")));
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), steps);
}

TEST_F(Inspector, ThePictureDialogCommitsTheFileChosen)
{
    TScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("red.png"));
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(file));
    std::unique_ptr<TZORBaseItem> made = label.NewItem(16, false);
    const TZORPto corners[] = { { 10000, 30000 }, { 30000, 50000 } };
    made->AssignPoints(corners);
    TZORBaseItem* image = label.AddItem(std::move(made));
    SelectOnly(image);
    const int row = Row(QStringLiteral("FileName"));
    ASSERT_GE(row, 0);
    dialogs.AnswerFile(file);
    const QRect cell = insp->ValueCell(row, 1);
    QTest::mouseClick(insp.get(), Qt::LeftButton, {}, QPoint(insp->width() - 10, cell.center().y()));
    ASSERT_EQ(dialogs.Asked.size(), 1);
    EXPECT_TRUE(dialogs.Asked[0].startsWith(QStringLiteral("file ")));
    const QString stored = std::get<QString>(
        image->GetFields()[size_t(RowObject(QStringLiteral("FileName")).I("P1"))].get(*image));
    EXPECT_EQ(stored, file);
    EXPECT_EQ(RowObject(QStringLiteral("FileName")).S("Value1"), file);
    // Without the map option the map button is not there: a click left of the file button
    // opens nothing.
    QTest::mouseClick(insp.get(), Qt::LeftButton, {}, QPoint(insp->width() - 40, cell.center().y()));
    EXPECT_EQ(dialogs.Asked.size(), 1);
}

TEST_F(Inspector, TheEditorRowsOpenTheirEditors)
{
    TScriptedDialogs dialogs;
    TZORBaseItem* items[]
        = { label.AddBaseTable(10000, 30000, 40000, 20000), label.AddBasePolyText(10000, 30000) };
    const char* names[] = { "dialog fEdTable", "dialog fEdPoly" };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(names[i]);
        SelectOnly(items[i]);
        const int row = FindRow(*items[i], insp->Rows(), QStringLiteral("<editor>"));
        ASSERT_GE(row, 0);
        dialogs.Asked.clear();
        dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
        // The editor of an empty poly text asks for its first text.
        if (i == 1)
            dialogs.AnswerText(std::nullopt);
        const QRect cell = insp->ValueCell(row, 1);
        QTest::mouseClick(insp.get(), Qt::LeftButton, {}, QPoint(insp->width() - 12, cell.center().y() + 4));
        // The editor of an empty table tells first that there are no fields to choose.
        EXPECT_TRUE(dialogs.Asked.contains(QString::fromLatin1(names[i])))
            << dialogs.Asked.join(u',').toStdString();
    }
}

// The "..." button of a table's editor row lies inside the row: below the row's separator the
// inspector shows its background, not the button.
TEST_F(Inspector, TheEditorRowsButtonStaysInsideItsRow)
{
    TZORBaseItem* table = label.AddBaseTable(10000, 30000, 40000, 20000);
    SelectOnly(table);
    const int row = FindRow(*table, insp->Rows(), QStringLiteral("<editor>"));
    ASSERT_EQ(row, insp->RowCount() - 1);
    const TJsonObject r = insp->Rows().O(row);
    const int top = insp->ValueCell(row, 1).top() - r.I("TV1");
    const QImage shown = insp->grab().toImage();
    const int below = top + r.I("H") + 1;
    EXPECT_EQ(shown.pixelColor(insp->width() - 13, below), shown.pixelColor(5, below));
    EXPECT_EQ(shown.pixelColor(insp->width() - 13, below + 2), shown.pixelColor(5, below + 2));
}

TEST_F(Inspector, TheMapButtonIsThereOnlyWithItsOption)
{
    TScriptedDialogs dialogs;
    std::unique_ptr<TZORBaseItem> made = label.NewItem(16, false);
    const TZORPto corners[] = { { 10000, 30000 }, { 30000, 50000 } };
    made->AssignPoints(corners);
    TZORBaseItem* image = label.AddItem(std::move(made));
    insp->SetOptions(
        TZORBaseInspector::OptEditProperty | TZORBaseInspector::OptWheel | TZORBaseInspector::OptMapButton);
    SelectOnly(image);
    const QRect cell = insp->ValueCell(Row(QStringLiteral("FileName")), 1);
    dialogs.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
    QTest::mouseClick(insp.get(), Qt::LeftButton, {}, QPoint(insp->width() - 40, cell.center().y()));
    EXPECT_EQ(dialogs.Asked, QStringList { QStringLiteral("dialog TfSelMap") });
}

TEST_F(Inspector, ThreeAlignmentButtonsAloneCommitTheirIndex)
{
    TZORBarcode* code = label.AddBaseBarcode(10000, 40000, QByteArray("12345670"), TZORBarType(1));
    SelectOnly(code);
    const int row = Row(QStringLiteral("HorzAlign"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(insp->Rows().O(row).I("Prop1"), int(TZORInsProp::Align));
    const int top = insp->ValueCell(row, 1).top() - insp->Rows().O(row).I("TV1");
    const int g = (174 - 4) / 4;
    QTest::mouseClick(insp.get(), Qt::LeftButton, {}, QPoint(g + (22 + g) + 11, top + 10));
    EXPECT_EQ(int(code->GetHorzAlign()), 1);
    EXPECT_EQ(insp->Rows().O(row).I("Value1"), 1);
}

TEST_F(Inspector, TextListsOfferTheLabelsNames)
{
    label.OnGetFontListEvent = [](QObject*, QStringList& fonts) {
        fonts = { QStringLiteral("Alpha"), QStringLiteral("Beta") };
    };
    SelectOnly(text);
    Click(Row(QStringLiteral("FontName")));
    QComboBox* combo = insp->ComboList();
    ASSERT_TRUE(combo->isVisible());
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->count(), 2);
    emit combo->activated(1);
    EXPECT_EQ(text->GetFontName(), QStringLiteral("Beta"));
    // A family name longer than the row shows whole in the open list.
    const QString longName = QStringLiteral("Noto Sans Canadian Aboriginal Condensed ExtraBold Italic");
    label.OnGetFontListEvent = [&longName](QObject*, QStringList& fonts) { fonts = { longName }; };
    Click(Row(QStringLiteral("FontName")));
    ASSERT_TRUE(combo->isVisible());
    EXPECT_GT(combo->view()->minimumWidth(), combo->view()->fontMetrics().horizontalAdvance(longName));
    EXPECT_GT(combo->view()->fontMetrics().horizontalAdvance(longName), combo->width());
    EXPECT_EQ(RowObject(QStringLiteral("FontName")).S("Value1"), QStringLiteral("Beta"));
}

// The FillName list offers what the element's FillType binds to: counters, value lists or
// questions by their names; an element bound to nothing offers the data's names.
TEST_F(Inspector, TheFillNameListFollowsTheFillType)
{
    TZORData& data = label.Data();
    data.AddCounter(QStringLiteral("Serial"));
    data.AddListVal(QStringLiteral("Sizes"));
    data.AddListVal(QStringLiteral("Colours"));
    data.AddAskVal(QStringLiteral("Batch"));
    const struct {
        TZORFillType type;
        QStringList offered;
    } cases[] = {
        { TZORFillType::None, { QStringLiteral("@Serial") } },
        { TZORFillType::Counter, { QStringLiteral("Serial") } },
        { TZORFillType::List, { QStringLiteral("Sizes"), QStringLiteral("Colours") } },
        { TZORFillType::Ask, { QStringLiteral("Batch") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.type));
        text->SetFillType(uint8_t(c.type));
        SelectOnly(text);
        Click(Row(QStringLiteral("FillName")));
        QComboBox* combo = insp->ComboList();
        ASSERT_TRUE(combo->isVisible());
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown, c.offered);
        combo->hide();
    }
}

TEST_F(Inspector, TheLayerListChoosesByPlace)
{
    label.AddLayer(QStringLiteral("Second"));
    SelectOnly(rect);
    Click(Row(QStringLiteral("Layer")));
    QComboBox* combo = insp->ComboList();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Second"));
    // No entry (-1) sends nothing.
    const int steps = label.UndoHistory().GetStepsCount();
    emit combo->activated(-1);
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), steps);
    Click(Row(QStringLiteral("Layer")));
    emit combo->activated(1);
    EXPECT_EQ(rect->GetLayerIndex(), 2);
    EXPECT_EQ(RowObject(QStringLiteral("Layer")).I("Value1"), 1);
}

TEST_F(Inspector, IntegerInputIsKeptInTheFieldsRange)
{
    SelectOnly(rect);
    const int row = Row(QStringLiteral("Options"));
    ASSERT_GE(row, 0);
    Click(row);
    Type(QStringLiteral("{DBL}99999999"));
    EXPECT_EQ(insp->EditState().Text, QStringLiteral("65535"));
    EXPECT_EQ(rect->GetOptions(), 65535);
    // A step past the maximum does nothing.
    const int steps = label.UndoHistory().GetStepsCount();
    Type(QStringLiteral("{UP}"));
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), steps);
    Type(QStringLiteral("{DBL}{BS}"));
    EXPECT_EQ(rect->GetOptions(), 0);
    EXPECT_EQ(insp->EditState().Text, QStringLiteral("0"));
}

struct TBarcodeCase {
    TZORBarType type;
    const char* typed;
    const char* accepted;
};

TEST_F(Inspector, TheBarcodeFilterFollowsTheSymbology)
{
    const TBarcodeCase cases[] = {
        { TZORBarType(0), "12a3", "123" },
        { TZORBarType(12), "12ab34", "1234" }, // Code 128 C takes digits
        { TZORBarType(16), "5x6", "56" }, // EAN-128 C too
        { TZORBarType(4), "AB-c", "AB-" },
        { TZORBarType(8), "A12;B", "A12B" },
        { TZORBarType(20), "1-2A", "1-2" },
    };
    for (const TBarcodeCase& c : cases) {
        SCOPED_TRACE(int(c.type));
        TZORBarcode* code = label.AddBaseBarcode(10000, 40000, QByteArray(), c.type);
        ASSERT_TRUE(code);
        SelectOnly(code);
        Click(Row(QStringLiteral("Code")));
        Type(QStringLiteral("{DBL}{BS}") + QString::fromLatin1(c.typed));
        EXPECT_EQ(insp->EditState().Text.toStdString(), c.accepted);
        label.DeleteItem(code);
    }
}

TEST_F(Inspector, TheSpinButtonStepsAtOnceAndThenRepeats)
{
    SelectOnly(text);
    const int row = Row(QStringLiteral("FontHeight"));
    Click(row);
    const double before = text->GetFontHeight();
    const TDataEdit& e = insp->EditState();
    const QPoint up(e.X + e.W - 4, e.Y + 3);
    QTest::mousePress(insp.get(), Qt::LeftButton, {}, up);
    EXPECT_NEAR(text->GetFontHeight(), before + 0.1, 1e-4);
    QTest::qWait(350);
    QTest::mouseRelease(insp.get(), Qt::LeftButton, {}, up);
    const double repeated = text->GetFontHeight();
    EXPECT_GT(repeated, before + 0.15);
    QTest::qWait(250);
    EXPECT_EQ(text->GetFontHeight(), repeated);
}

TEST_F(Inspector, ChangeFourteenOpensAnEditorOnlyWhenAllowed)
{
    SelectOnly(rect);
    const TJsonObject filled = RowObject(QStringLiteral("Filled"));
    label.EditProperty(uint8_t(filled.I("Prop1")), filled.I("P1"));
    EXPECT_TRUE(rect->GetFilled());
    insp->SetOptions(TZORBaseInspector::OptWheel);
    label.EditProperty(uint8_t(filled.I("Prop1")), filled.I("P1"));
    EXPECT_TRUE(rect->GetFilled());
}

TEST_F(Inspector, SystemColoursAreNotPaintedBlack)
{
    SelectOnly(rect);
    const QImage shown = insp->grab().toImage();
    const QColor back = shown.pixelColor(insp->width() / 2, insp->height() - 3);
    EXPECT_EQ(back, insp->palette().color(QPalette::Base));
    EXPECT_GT(back.lightness(), 128);
}

TEST_F(Inspector, AColourCellShowsItsColourAndATickedBoxItsTick)
{
    rect->SetFilled(true);
    SelectOnly(rect);
    const QImage shown = insp->grab().toImage();
    const QRect colour = insp->ValueCell(Row(QStringLiteral("BackColor")), 1);
    EXPECT_EQ(shown.pixelColor(colour.center()), QColor(255, 0, 0));
    const QRect box = insp->ValueCell(Row(QStringLiteral("Filled")), 1);
    int dark = 0;
    for (int x = box.left() + 2; x < box.right() - 1; ++x)
        for (int y = box.top() + 2; y < box.bottom() - 1; ++y)
            dark += shown.pixelColor(x, y).lightness() < 100;
    EXPECT_GT(dark, 5);
}

// The index of the point row with position pos (x of point i: 2i - 1, y: 2i); -1 for none.
int PointRow(const TJsonArray& rows, int pos)
{
    for (int r = 0; r < rows.Count(); ++r)
        if (rows.O(r).I("Kind") == int(TZORInsRow::Point) && rows.O(r).I("P1") == pos)
            return r;
    return -1;
}

TEST_F(Inspector, PointRowsAreAppendedEachTimeTheyAreAskedFor)
{
    SelectOnly(rect);
    const int fields = insp->RowCount();
    const int points = rect->GetPointsCount();
    label.ShowPointRows();
    EXPECT_EQ(insp->RowCount(), fields + 2 * points);
    label.ShowPointRows();
    EXPECT_EQ(insp->RowCount(), fields + 4 * points);
    SelectOnly(text);
    SelectOnly(rect);
    EXPECT_EQ(insp->RowCount(), fields);
}

TEST_F(Inspector, LinkedValuesAboveTheTopRowAreNotLeftStale)
{
    insp->resize(240, 60);
    SelectOnly(rect);
    label.ShowPointRows();
    const int x2 = PointRow(insp->Rows(), 3);
    ASSERT_GE(x2, 0);
    insp->VScroll(TZORBaseInspector::TScroll::Thumb, x2);
    ASSERT_EQ(insp->TopIndex(), x2);
    Click(x2);
    Type(QStringLiteral("{DBL}5{ENTER}"));
    // The box is kept with point 1 top left: x1 took the 5 mm.
    EXPECT_EQ(rect->GetPoint(1).X, 5000);
    EXPECT_EQ(rect->GetPoint(2).X, 10000);
    insp->VScroll(TZORBaseInspector::TScroll::Thumb, 0);
    for (int i = 1; i <= rect->GetPointsCount(); ++i) {
        EXPECT_NEAR(insp->Rows().O(PointRow(insp->Rows(), 2 * i - 1)).F("Value1"),
            rect->GetPoint(i).X / 1000.0, 1e-9);
        EXPECT_NEAR(
            insp->Rows().O(PointRow(insp->Rows(), 2 * i)).F("Value1"), rect->GetPoint(i).Y / 1000.0, 1e-9);
    }
}

TEST(InspectorLinks, AReplyNamesTheOtherPointsThatMoved)
{
    TZORLabelVCL label;
    TZORBaseItem* rect = label.AddBaseRectangle(10000, 10000, 20000, 10000);
    label.Select(rect);
    TJsonObject value;
    value.SetF("ext", 40.0);
    const TJsonObject reply
        = label.UpdateProp(uint8_t(TZORInsProp::Float), int(TZORInsRow::Point), 0, 1, value);
    EXPECT_DOUBLE_EQ(reply.F("ext"), 30.0);
    const TJsonArray links = reply.A("Link");
    ASSERT_EQ(links.Count(), 1);
    EXPECT_EQ(links.O(0).I("Pos"), 3);
    EXPECT_DOUBLE_EQ(links.O(0).F("ext"), 40.0);
}

// The place of a link's end along its node's side is a number row: an edit moves the end, is
// kept within the side and is undone as one step.
TEST(InspectorLinks, AnEndsPlaceAlongItsSideIsEditedAndUndone)
{
    TZORLabelVCL label;
    const int32_t a = label.AddBaseFlow(0, 0, 40000, 20000, TZORFlowType::Process)->GetID();
    const int32_t b = label.AddBaseFlow(60000, 0, 40000, 20000, TZORFlowType::Process)->GetID();
    TZORBaseItem* link
        = label.AddBaseLink(a, b, TZORBaseFlow::TopAnchor, TZORBaseFlow::TopAnchor, TZORinkType::Straight);
    label.ClearUndo();
    label.Select(link);
    const auto edit = [&](double along) {
        TJsonObject value;
        value.SetF("ext", along);
        return label
            .UpdateProp(uint8_t(TZORInsProp::Float), int(TZORInsRow::Field), 0,
                zor::FieldIndex(*link, "FromAlong"), value)
            .F("ext");
    };
    const auto start = [&] { return dynamic_cast<const TZORLink&>(*label.Select()).GetStartPoint(); };
    EXPECT_DOUBLE_EQ(edit(0.25), 0.25);
    EXPECT_EQ(start(), (TZORPto { 10000, 0 }));
    EXPECT_DOUBLE_EQ(edit(3.0), 1.0);
    EXPECT_EQ(start(), (TZORPto { 40000, 0 }));
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(start(), (TZORPto { 10000, 0 }));
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(start(), (TZORPto { 20000, 0 }));
    EXPECT_FALSE(label.CanUndo());
}

// ---------------------------------------------------------------------------------------------
// Scrolling.

TEST_F(Inspector, ScrollingKeepsItsBounds)
{
    insp->resize(240, 200);
    SelectOnly(text);
    const int rows = insp->RowCount();
    const int visible = insp->VisibleRows();
    ASSERT_GT(rows, visible);
    EXPECT_TRUE(insp->ScrollBarShown());
    using S = TZORBaseInspector::TScroll;
    insp->VScroll(S::LineUp);
    EXPECT_EQ(insp->TopIndex(), 0);
    insp->VScroll(S::PageDown);
    EXPECT_EQ(insp->TopIndex(), std::min(visible, rows - visible));
    insp->VScroll(S::Thumb, rows - visible);
    insp->VScroll(S::PageDown);
    EXPECT_EQ(insp->TopIndex(), rows - visible);
    // A line down is still allowed while top + visible equals the row count.
    insp->VScroll(S::LineDown);
    EXPECT_EQ(insp->TopIndex(), rows - visible + 1);
    insp->VScroll(S::LineDown);
    EXPECT_EQ(insp->TopIndex(), rows - visible + 1);
    insp->VScroll(S::PageUp);
    insp->VScroll(S::PageUp);
    insp->VScroll(S::PageUp);
    EXPECT_EQ(insp->TopIndex(), 0);
}

TEST_F(Inspector, TheWheelScrollsOnlyWithTheBarShownAndTheOptionSet)
{
    const auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(100, 100), insp->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, delta),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(insp.get(), &e);
    };
    insp->resize(240, 200);
    SelectOnly(text);
    const int lines = QApplication::wheelScrollLines();
    wheel(-120);
    EXPECT_EQ(insp->TopIndex(), std::min(lines, insp->RowCount() - insp->VisibleRows()));
    for (int i = 0; i < 50; ++i)
        wheel(-120);
    EXPECT_EQ(insp->TopIndex(), insp->RowCount() - insp->VisibleRows());
    wheel(120);
    EXPECT_EQ(insp->TopIndex(), insp->RowCount() - insp->VisibleRows() - lines);
    insp->SetOptions(TZORBaseInspector::OptEditProperty);
    const int top = insp->TopIndex();
    wheel(120);
    EXPECT_EQ(insp->TopIndex(), top);
    insp->SetOptions(TZORBaseInspector::OptEditProperty | TZORBaseInspector::OptWheel);
    insp->resize(240, 1600);
    wheel(-120);
    EXPECT_EQ(insp->TopIndex(), 0);
}

TEST_F(Inspector, ScrollingClosesTheEditorAndChangeFourKeepsTheTopRow)
{
    insp->resize(240, 200);
    SelectOnly(text);
    insp->VScroll(TZORBaseInspector::TScroll::LineDown);
    EXPECT_EQ(insp->TopIndex(), 1);
    label.Notify(TZRChange::Redraw);
    EXPECT_EQ(insp->TopIndex(), 1);
    label.Notify(TZRChange::Selection);
    EXPECT_EQ(insp->TopIndex(), 0);
}

// ---------------------------------------------------------------------------------------------
// An inspector and an editor on one label, edited on either side.

TEST_F(Inspector, InspectorAndEditorStayInStep)
{
    TZORBaseEditor& ed = *editor;
    const QPoint onRect(ed.Surface().G.ScreenMMX(10000), ed.Surface().G.ScreenMMY(15000));
    const QPoint empty(ed.Surface().G.ScreenMMX(90000), ed.Surface().G.ScreenMMY(55000));
    QTest::mouseClick(&ed.Surface(), Qt::LeftButton, {}, onRect);
    ASSERT_EQ(label.Select(), rect);
    EXPECT_GE(Row(QStringLiteral("Filled")), 0);
    Click(Row(QStringLiteral("Filled")));
    EXPECT_TRUE(rect->GetFilled());
    QTest::mouseClick(&ed.Surface(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(insp->RowCount(), 0);
    QTest::mouseClick(&ed.Surface(), Qt::LeftButton, {}, onRect);
    EXPECT_TRUE(RowObject(QStringLiteral("Filled")).B("Value1"));
    ASSERT_TRUE(label.Undo());
    EXPECT_FALSE(RowObject(QStringLiteral("Filled")).B("Value1"));
    ASSERT_TRUE(label.Redo());
    EXPECT_TRUE(RowObject(QStringLiteral("Filled")).B("Value1"));
}

} // namespace

// One inspector takes another's options and colours, all but the back colour; a style given to
// the inspector reaches its scroll bar.
TEST(InspectorAssign, TakesOptionsAndColoursAndTheStyleReachesTheScrollBar)
{
    TZORInspector source;
    source.SetOptions(TZORBaseInspector::OptMapButton);
    source.TitleColor = Qt::red;
    source.ValueColor = Qt::green;
    source.EditColor = Qt::blue;
    source.SelColor = Qt::cyan;
    source.SelButColor = Qt::magenta;
    source.ArrowColor = Qt::yellow;
    source.BackColor = Qt::darkRed;
    TZORInspector target;
    const QColor back = target.BackColor;
    target.Assign(source);
    EXPECT_EQ(target.GetOptions(), TZORBaseInspector::OptMapButton);
    EXPECT_EQ(target.TitleColor, QColor(Qt::red));
    EXPECT_EQ(target.ValueColor, QColor(Qt::green));
    EXPECT_EQ(target.EditColor, QColor(Qt::blue));
    EXPECT_EQ(target.SelColor, QColor(Qt::cyan));
    EXPECT_EQ(target.SelButColor, QColor(Qt::magenta));
    EXPECT_EQ(target.ArrowColor, QColor(Qt::yellow));
    EXPECT_EQ(target.BackColor, back);

    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    ASSERT_NE(fusion, nullptr);
    target.setStyle(fusion.get());
    auto* bar = target.findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->style(), fusion.get());
    target.setStyle(nullptr);
    EXPECT_NE(bar->style(), fusion.get());
}
