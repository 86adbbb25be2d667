#include "Zor.Data.h"
#include "dialogs/Zor.Selanswer.h"
#include "dialogs/Zor.Sellisttext.h"
#include "kit/Dialogs.h"
#include "label/Zor.Vcl.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>

#include <gtest/gtest.h>

namespace {

using zor::test::TScriptedDialogs;

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

// The prompter opens its dialogs through the dialog service and takes only accepted answers;
// a cancelled text question keeps the old text.
TEST(PrintPrompts, TheDialogPrompterTakesOnlyAcceptedAnswers)
{
    zor::test::TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TZORDialogPrompter prompter(label);
    TZRValList list = Sizes(QStringLiteral("XL"));
    dialogs.AnswerDialog([](QDialog& d) { return TScriptedDialogs::Press(d, QDialogButtonBox::Cancel); });
    EXPECT_FALSE(prompter.ChooseFromList(list));
    EXPECT_EQ(list.GetValue(), QStringLiteral("XL"));
    dialogs.AnswerDialog([](QDialog& d) { return TScriptedDialogs::Press(d, QDialogButtonBox::Ok); });
    EXPECT_TRUE(prompter.ChooseFromList(list));
    EXPECT_EQ(list.GetValue(), QStringLiteral("S"));

    TZRAskField question;
    question.SetAnsType(TZORAnsType::Integer);
    question.SetInteger(5);
    dialogs.AnswerDialog([](QDialog& d) {
        d.findChild<QDoubleSpinBox*>()->setValue(42);
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(prompter.Answer(question));
    EXPECT_EQ(question.GetInteger(), 42);

    question.SetAnsType(TZORAnsType::Text);
    question.SetText(QStringLiteral("old"));
    dialogs.AnswerText(std::nullopt);
    EXPECT_FALSE(prompter.Answer(question));
    EXPECT_EQ(question.GetText(), QStringLiteral("old"));
    dialogs.AnswerText(QStringLiteral("new"));
    EXPECT_TRUE(prompter.Answer(question));
    EXPECT_EQ(question.GetText(), QStringLiteral("new"));
}

} // namespace
