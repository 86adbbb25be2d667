#include "Zor.Data.h"
#include "dialogs/Zor.Selanswer.h"
#include "dialogs/Zor.Sellisttext.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TZRValList Sizes(const QString& current)
{
    TZRValList list;
    list.SetName(QStringLiteral("size"));
    list.AssignValues({ QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L") });
    list.SetValue(current);
    return list;
}

TEST(PrintPrompts, TheListOffersTheHandlersValuesOrItsOwn)
{
    TZORLabelVCL label;
    const struct {
        bool handled;
        const char* current;
        const char* shown;
    } table[] = {
        { false, "M", "M" }, // its own values, the current one preselected
        { false, "XL", "S" }, // a current text not among them: the first
        { true, "M", "Red" }, // the handler's values
    };
    for (const auto& row : table) {
        QString askedFor;
        label.OnGetListValues = [&](TZORLabelVCL&, const QString& name, QStringList& items, bool& handled) {
            askedFor = name;
            if (row.handled)
                items = { QStringLiteral("Red"), QStringLiteral("Blue") };
            handled = row.handled;
        };
        TfSelListText dialog;
        dialog.Ini(label, Sizes(QString::fromUtf8(row.current)));
        EXPECT_EQ(askedFor, QStringLiteral("size"));
        EXPECT_EQ(dialog.GetText(), QString::fromUtf8(row.shown)) << row.handled << " " << row.current;
    }
}

TEST(PrintPrompts, AnswersTruncateWholeNumbersAndJoinDateAndTime)
{
    TZRAskField question;
    question.SetAnsType(TZORAnsType::Number);
    question.SetNumber(-7.68);
    TfSelAnswer dialog;
    dialog.Ini(question);
    EXPECT_DOUBLE_EQ(dialog.GetNumber(), -7.68);
    EXPECT_EQ(dialog.GetInteger(), -7);

    question.SetAnsType(TZORAnsType::Integer);
    question.SetInteger(123456789);
    dialog.Ini(question);
    EXPECT_EQ(dialog.GetInteger(), 123456789);

    const QDateTime at(QDate(2024, 2, 29), QTime(23, 59));
    question.SetAnsType(TZORAnsType::DateTime);
    question.SetDateTime(at);
    dialog.Ini(question);
    EXPECT_EQ(dialog.GetDateTime(), at);
}

// Closes the next modal dialog with OK or Cancel once it shows.
void CloseNextDialog(bool accept)
{
    QTimer::singleShot(0, [accept] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            accept ? dialog->accept() : dialog->reject();
        else
            CloseNextDialog(accept);
    });
}

TEST(PrintPrompts, TheDialogPrompterTakesOnlyAcceptedAnswers)
{
    TZORLabelVCL label;
    TZORDialogPrompter prompter(label);
    TZRValList list = Sizes(QStringLiteral("XL"));
    CloseNextDialog(false);
    EXPECT_FALSE(prompter.ChooseFromList(list));
    EXPECT_EQ(list.GetValue(), QStringLiteral("XL"));
    CloseNextDialog(true);
    EXPECT_TRUE(prompter.ChooseFromList(list));
    EXPECT_EQ(list.GetValue(), QStringLiteral("S"));

    TZRAskField question;
    question.SetAnsType(TZORAnsType::Integer);
    question.SetInteger(5);
    CloseNextDialog(true);
    EXPECT_TRUE(prompter.Answer(question));
    EXPECT_EQ(question.GetInteger(), 5);
}

} // namespace
