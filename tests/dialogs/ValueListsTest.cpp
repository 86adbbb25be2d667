#include "Zor.Data.h"
#include "dialogs/Zor.Listask.h"
#include "dialogs/Zor.Listval.h"
#include "kit/Widgets.h"
#include "kit/Dialogs.h"
#include "label/Zor.Vcl.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using zor::test::Child;

using zor::test::TScriptedDialogs;

void Click(QWidget& form, const char* name)
{
    Child<QPushButton>(form, name).click();
}

QStringList Values(TZORLabelVCL& label, int32_t list)
{
    return label.Data().GetListVal(list)->GetValues();
}

QStringList Column(QWidget& form)
{
    auto& grid = Child<QTableWidget>(form, "sgValues");
    QStringList values;
    for (int row = 0; row < grid.rowCount(); ++row)
        values << (grid.item(row, 0) ? grid.item(row, 0)->text() : QString());
    return values;
}

void Edit(QWidget& form, int row, const QString& text)
{
    auto& grid = Child<QTableWidget>(form, "sgValues");
    if (!grid.item(row, 0))
        grid.setItem(row, 0, new QTableWidgetItem);
    grid.item(row, 0)->setText(text);
}

// A label with the lists "Size" (S, M, L) and "Empty" (no values).
class ValueLists : public ::testing::Test {
protected:
    ValueLists()
    {
        TZORData& data = label.Data();
        data.AddListVal(QStringLiteral("Size"));
        data.GetListVal(1)->AssignValues({ QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L") });
        data.AddListVal(QStringLiteral("Empty"));
        form.Ini(label);
    }

    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TfListVal form;
};

TEST_F(ValueLists, OpensOnTheFirstListWithItsCaptions)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("    Value lists"));
    EXPECT_EQ(Child<QPushButton>(form, "butAdd").text(), QStringLiteral("Add (Ctrl + Ins)"));
    EXPECT_EQ(Child<QPushButton>(form, "butAddVal").text(), QStringLiteral("Add (Ins)"));
    EXPECT_EQ(Child<QPushButton>(form, "butDelete").text(), QStringLiteral("Delete"));
    auto& names = Child<QComboBox>(form, "cbListVal");
    ASSERT_EQ(names.count(), 2);
    EXPECT_EQ(names.currentText(), QStringLiteral("Size"));
    EXPECT_EQ(Column(form), (QStringList { QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L") }));
    // Opening and closing unchanged writes nothing.
    form.reject();
    EXPECT_EQ(Values(label, 2), QStringList());
}

TEST_F(ValueLists, AnEmptyRowIsFilledBeforeAnotherIsAdded)
{
    Child<QComboBox>(form, "cbListVal").setCurrentIndex(1);
    EXPECT_EQ(Column(form), QStringList { QString() });
    Click(form, "butAddVal");
    EXPECT_EQ(Column(form), QStringList { QString() });
    Edit(form, 0, QStringLiteral("red"));
    // Ins, wherever the focus is, adds a value.
    QTest::keyClick(&Child<QTableWidget>(form, "sgValues"), Qt::Key_Insert);
    EXPECT_EQ(Column(form), (QStringList { QStringLiteral("red"), QString() }));
    EXPECT_EQ(Child<QTableWidget>(form, "sgValues").currentRow(), 1);
    Edit(form, 1, QStringLiteral("blue"));
    form.reject();
    EXPECT_EQ(Values(label, 2), (QStringList { QStringLiteral("red"), QStringLiteral("blue") }));
}

TEST_F(ValueLists, DeletingTheOnlyValueSavesOneEmptyValue)
{
    Child<QTableWidget>(form, "sgValues").setCurrentCell(1, 0);
    Click(form, "butDeleteVal");
    EXPECT_EQ(Column(form), (QStringList { QStringLiteral("S"), QStringLiteral("L") }));
    Click(form, "butDeleteVal");
    Child<QTableWidget>(form, "sgValues").setCurrentCell(0, 0);
    Click(form, "butDeleteVal");
    EXPECT_EQ(Column(form), QStringList { QString() });
    form.accept();
    EXPECT_EQ(Values(label, 1), QStringList { QString() });
}

TEST_F(ValueLists, SwitchingListsSavesTheEditIntoTheListShown)
{
    Edit(form, 1, QStringLiteral("Medium"));
    Child<QComboBox>(form, "cbListVal").setCurrentIndex(1);
    EXPECT_EQ(Values(label, 1),
        (QStringList { QStringLiteral("S"), QStringLiteral("Medium"), QStringLiteral("L") }));
    EXPECT_EQ(Values(label, 2), QStringList());
}

TEST_F(ValueLists, ANameInUseIsRefusedWithSameName)
{
    const int before = label.Data().GetNumListVal();
    dialogs.AnswerText(QStringLiteral("size")); // names compare without regard to case
    dialogs.AnswerText(QStringLiteral("   "));
    dialogs.AnswerText(std::nullopt);
    Click(form, "butAdd");
    Click(form, "butAdd");
    Click(form, "butAdd");
    EXPECT_EQ(label.Data().GetNumListVal(), before);
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("This name already exists") });
    EXPECT_EQ(dialogs.Asked.first(), QStringLiteral("text New value list"));
}

TEST_F(ValueLists, ANewListIsSelectedWithOneEmptyRowAndTheShownOneSaved)
{
    Edit(form, 0, QStringLiteral("XS"));
    dialogs.AnswerText(QStringLiteral(" Colour "));
    QTest::keyClick(&Child<QComboBox>(form, "cbListVal"), Qt::Key_Insert, Qt::ControlModifier);
    ASSERT_EQ(label.Data().GetNumListVal(), 3);
    EXPECT_EQ(label.Data().GetListVal(3)->GetName(), QStringLiteral("Colour"));
    EXPECT_EQ(Values(label, 1).first(), QStringLiteral("XS"));
    EXPECT_EQ(Child<QComboBox>(form, "cbListVal").currentText(), QStringLiteral("Colour"));
    EXPECT_EQ(Column(form), QStringList { QString() });
    EXPECT_EQ(Child<QTableWidget>(form, "sgValues").currentRow(), 0);
}

TEST_F(ValueLists, DeletingAListAsksAndShowsTheOneBefore)
{
    auto& names = Child<QComboBox>(form, "cbListVal");
    names.setCurrentIndex(1);
    Edit(form, 0, QStringLiteral("lost"));
    dialogs.AnswerMessage(QMessageBox::Cancel);
    Click(form, "butDelete");
    EXPECT_EQ(label.Data().GetNumListVal(), 2);
    dialogs.AnswerMessage(QMessageBox::Yes);
    Click(form, "butDelete");
    ASSERT_EQ(label.Data().GetNumListVal(), 1);
    EXPECT_EQ(dialogs.Messages,
        (QStringList { QStringLiteral("Delete this list?"), QStringLiteral("Delete this list?") }));
    EXPECT_EQ(names.count(), 1);
    EXPECT_EQ(names.currentText(), QStringLiteral("Size"));
    EXPECT_EQ(Column(form), (QStringList { QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L") }));
    // The last list goes too: one empty row, nothing shown.
    dialogs.AnswerMessage(QMessageBox::Yes);
    Click(form, "butDelete");
    EXPECT_EQ(label.Data().GetNumListVal(), 0);
    EXPECT_EQ(names.currentIndex(), -1);
    EXPECT_EQ(Column(form), QStringList { QString() });
    Click(form, "butAddVal"); // no list: nothing to add to
    EXPECT_EQ(Column(form), QStringList { QString() });
}

// A label with the questions "Lot" (text) and "Qty" (integer).
class Questions : public ::testing::Test {
protected:
    Questions()
    {
        TZORData& data = label.Data();
        data.AddAskVal(QStringLiteral("Lot"));
        data.GetAskField(1)->SetQuest(QStringLiteral("Which lot?"));
        data.AddAskVal(QStringLiteral("Qty"));
        data.GetAskField(2)->SetQuest(QStringLiteral("How many?"));
        data.GetAskField(2)->SetAnsType(TZORAnsType::Integer);
        form.Ini(label);
    }
    QPlainTextEdit& Text() { return Child<QPlainTextEdit>(form, "memQuest"); }
    QComboBox& Type() { return Child<QComboBox>(form, "cbType"); }
    QComboBox& Names() { return Child<QComboBox>(form, "cbListAsk"); }

    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TfListAsk form;
};

TEST_F(Questions, ShowTheFirstQuestionAndTheAnswerTypes)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("    Questions"));
    EXPECT_EQ(Child<QLabel>(form, "labQuestion").text(), QStringLiteral("Question"));
    EXPECT_EQ(Child<QLabel>(form, "labType").text(), QStringLiteral("Answer type"));
    EXPECT_EQ(Child<QPushButton>(form, "butAdd").text(), QStringLiteral("Add (Ins)"));
    ASSERT_EQ(Type().count(), 4);
    EXPECT_EQ(Type().itemText(3), QStringLiteral("Date and time"));
    EXPECT_EQ(Text().toPlainText(), QStringLiteral("Which lot?"));
    EXPECT_EQ(Type().currentIndex(), 0);
    Names().setCurrentIndex(1);
    EXPECT_EQ(Text().toPlainText(), QStringLiteral("How many?"));
    EXPECT_EQ(Type().currentIndex(), 1);
    // Showing a question wrote nothing.
    EXPECT_EQ(label.Data().GetAskField(1)->GetQuest(), QStringLiteral("Which lot?"));
    EXPECT_EQ(label.Data().GetAskField(2)->GetAnsType(), TZORAnsType::Integer);
}

TEST_F(Questions, EditsReachTheQuestionAtOnce)
{
    Names().setCurrentIndex(1);
    Text().setPlainText(QStringLiteral("How many boxes?"));
    Type().setCurrentIndex(3);
    EXPECT_EQ(label.Data().GetAskField(2)->GetQuest(), QStringLiteral("How many boxes?"));
    EXPECT_EQ(label.Data().GetAskField(2)->GetAnsType(), TZORAnsType::DateTime);
    EXPECT_EQ(label.Data().GetAskField(1)->GetQuest(), QStringLiteral("Which lot?"));
}

TEST_F(Questions, ANewQuestionStartsBlankAndANameInUseIsRefused)
{
    dialogs.AnswerText(QStringLiteral("QTY"));
    QTest::keyClick(&Names(), Qt::Key_Insert);
    EXPECT_EQ(label.Data().GetNumQuestions(), 2);
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("This name already exists") });
    dialogs.AnswerText(QStringLiteral("Date"));
    Click(form, "butAdd");
    ASSERT_EQ(label.Data().GetNumQuestions(), 3);
    EXPECT_EQ(Names().currentText(), QStringLiteral("Date"));
    EXPECT_EQ(Text().toPlainText(), QString());
    EXPECT_EQ(Type().currentIndex(), -1);
    Text().setPlainText(QStringLiteral("When?"));
    EXPECT_EQ(label.Data().GetAskField(3)->GetQuest(), QStringLiteral("When?"));
    EXPECT_EQ(dialogs.Asked.last(), QStringLiteral("text New question"));
}

TEST_F(Questions, DeletingTheLastLeavesNothingSelected)
{
    for (const char* expected : { "Lot", "" }) {
        dialogs.AnswerMessage(QMessageBox::Yes);
        Names().setCurrentIndex(Names().count() - 1);
        Click(form, "butDelete");
        EXPECT_EQ(Names().currentText(), QString::fromLatin1(expected));
    }
    EXPECT_EQ(label.Data().GetNumQuestions(), 0);
    EXPECT_EQ(Names().currentIndex(), -1);
    EXPECT_EQ(Text().toPlainText(), QString());
    EXPECT_EQ(Type().currentIndex(), -1);
    EXPECT_EQ(dialogs.Messages.first(), QStringLiteral("Delete this question?"));
    Text().setPlainText(QStringLiteral("to no one")); // nothing to write to
}

} // namespace
