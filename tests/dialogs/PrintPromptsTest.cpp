#include "Zor.Data.h"
#include "Zor.Error.h"
#include "dialogs/Zor.Selanswer.h"
#include "dialogs/Zor.Sellisttext.h"
#include "dialogs/Zor.Spinfloat.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "kit/Dialogs.h"
#include "kit/Documents.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.DialogHelpers.h"
#include "label/Zor.Vcl.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace {

using namespace zor::test;

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
        bool adds;
        const char* current;
        const char* shown;
        int count;
    } table[] = {
        { false, false, "M", "M", 3 }, // its own values, the current one preselected
        { false, false, "XL", "S", 3 }, // a current text not among them: the first
        { true, true, "M", "Red", 2 }, // the handler's values
        { true, false, "M", "", 0 }, // handled with nothing added: the list's own are not shown
    };
    for (const auto& row : table) {
        QString askedFor;
        label.OnGetListValues = [&](TZORLabelVCL&, const QString& name, QStringList& items, bool& handled) {
            askedFor = name;
            if (row.adds)
                items = { QStringLiteral("Red"), QStringLiteral("Blue") };
            handled = row.handled;
        };
        TfSelListText dialog;
        dialog.Ini(label, Sizes(QString::fromUtf8(row.current)));
        EXPECT_EQ(askedFor, QStringLiteral("size"));
        EXPECT_EQ(dialog.GetText(), QString::fromUtf8(row.shown)) << row.handled << " " << row.current;
        EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("cbListVal"))->count(), row.count);
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("labTitle"))->text(), QStringLiteral("size"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("    Select a text"));
    }
}

TZORSpinEditFloat& Number(QDialog& dialog)
{
    return *dialog.findChild<TZORSpinEditFloat*>(QStringLiteral("seNumber"));
}

TEST(PrintPrompts, TheAnswerFormFitsItsInputToTheAnswerType)
{
    TZRAskField question;
    question.SetQuest(QStringLiteral("How much?"));
    question.SetAnsType(TZORAnsType::Number);
    question.SetNumber(3.7);
    TfSelAnswer dialog;
    dialog.Ini(question);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("    Answer"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("labQuestion"))->text(), QStringLiteral("How much?"));
    EXPECT_EQ(Number(dialog).GetDigits(), 2);
    EXPECT_DOUBLE_EQ(Number(dialog).GetIncrement(), 0.5);
    EXPECT_EQ(dialog.GetInteger(), 3);
    EXPECT_DOUBLE_EQ(dialog.GetNumber(), 3.7);
    // A negative answer is shown and kept, and truncates toward zero.
    question.SetNumber(-3.7);
    dialog.Ini(question);
    EXPECT_EQ(Number(dialog).text(), QStringLiteral("-3.70"));
    EXPECT_EQ(dialog.GetInteger(), -3);
    EXPECT_DOUBLE_EQ(dialog.GetNumber(), -3.7);
    EXPECT_TRUE(dialog.findChild<QDateEdit*>(QStringLiteral("DTDate"))->isHidden());

    question.SetAnsType(TZORAnsType::Integer);
    question.SetInteger(-123456789);
    dialog.Ini(question);
    EXPECT_EQ(Number(dialog).GetDigits(), 0);
    EXPECT_EQ(Number(dialog).text(), QStringLiteral("-123456789"));
    EXPECT_EQ(dialog.GetInteger(), -123456789);

    const QDateTime at(QDate(2024, 2, 29), QTime(23, 59, 58, 765));
    question.SetAnsType(TZORAnsType::DateTime);
    question.SetDateTime(at);
    dialog.Ini(question);
    EXPECT_TRUE(Number(dialog).isHidden());
    EXPECT_FALSE(dialog.findChild<QDateEdit*>(QStringLiteral("DTDate"))->isHidden());
    EXPECT_FALSE(dialog.findChild<QTimeEdit*>(QStringLiteral("DTHora"))->isHidden());
    EXPECT_EQ(dialog.GetDateTime(), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)));
}

// The prompter opens its dialogs through the dialog service and takes only accepted answers;
// a cancelled text question keeps the old text.
TEST(PrintPrompts, TheDialogPrompterTakesOnlyAcceptedAnswers)
{
    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TZORDialogPrompter prompter(label);
    TZRValList list = Sizes(QStringLiteral("XL"));
    dialogs.AnswerDialog([](QDialog& d) {
        d.reject();
        return d.result();
    });
    EXPECT_FALSE(prompter.ChooseFromList(list));
    EXPECT_EQ(list.GetValue(), QStringLiteral("XL"));
    dialogs.AnswerDialog([](QDialog& d) { return TScriptedDialogs::Press(d, QDialogButtonBox::Ok); });
    EXPECT_TRUE(prompter.ChooseFromList(list));
    EXPECT_EQ(list.GetValue(), QStringLiteral("S"));

    TZRAskField question;
    question.SetAnsType(TZORAnsType::Integer);
    question.SetInteger(5);
    dialogs.AnswerDialog([](QDialog& d) {
        Number(d).SetValue(42);
        return TScriptedDialogs::Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(prompter.Answer(question));
    EXPECT_EQ(question.GetInteger(), 5);
    dialogs.AnswerDialog([](QDialog& d) {
        Number(d).SetValue(42);
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

// A one-label sheet asking the list "Size" and the questions "Lot" (text) and "Qty" (whole
// number), each printed by a text bound to it.
class PrintRun : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        TZORMeasure& m = label.Measure();
        m.SetPaperWidth(100000);
        m.SetPaperHeight(60000);
        m.SetWidth(100000);
        m.SetHeight(60000);
        TZORData& data = label.Data();
        data.AddListVal(QStringLiteral("Size"));
        data.GetListVal(1)->AssignValues(
            { QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large") });
        data.AddAskVal(QStringLiteral("Lot"));
        data.GetAskField(1)->SetQuest(QStringLiteral("Which lot?"));
        data.AddAskVal(QStringLiteral("Qty"));
        data.GetAskField(2)->SetQuest(QStringLiteral("How many?"));
        data.GetAskField(2)->SetAnsType(TZORAnsType::Integer);
        const struct {
            int64_t y;
            uint8_t fill;
            const char* name;
        } bound[] = { { 10000, 3, "Size" }, { 25000, 4, "Lot" }, { 40000, 4, "Qty" } };
        for (const auto& b : bound) {
            TZORText* text = label.AddBaseText(10000, b.y);
            text->SetFillType(b.fill);
            text->SetFillName(QString::fromLatin1(b.name));
        }
        label.SetPrintFileName(Pdf());
    }
    QString Pdf() const { return Path(QStringLiteral("run.pdf")); }
    QStringList PrintedWords() const
    {
        QStringList words;
        for (const PdfWord& w : PdfWords(Pdf()))
            words << w.text;
        return words;
    }

    TZORLabelVCL label;
};

// Without a prompter of the host's, a widget application asks through the library's dialogs,
// opened through the dialog service, before the job starts.
TEST_F(PrintRun, TheLabelAsksThroughTheDialogsByDefault)
{
    ASSERT_EQ(label.GetPrompter(), nullptr);
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        d.findChild<QComboBox*>(QStringLiteral("cbListVal"))->setCurrentIndex(2);
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    dialogs.AnswerText(QStringLiteral("A-77"));
    dialogs.AnswerDialog([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("labQuestion"))->text(), QStringLiteral("How many?"));
        Number(d).setText(QStringLiteral("12"));
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    label.Print();
    label.WaitForPrint();
    EXPECT_EQ(dialogs.Asked,
        (QStringList { QStringLiteral("dialog TfSelListText"), QStringLiteral("text Which lot?"),
            QStringLiteral("dialog TfSelAnswer") }));
    ASSERT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);
    EXPECT_EQ(PrintedWords(),
        (QStringList { QStringLiteral("Large"), QStringLiteral("A-77"), QStringLiteral("12") }));
    EXPECT_EQ(label.GetPrompter(), nullptr); // the dialogs were the label's for the run only
}

TEST_F(PrintRun, AHostsPrompterReplacesTheDialogs)
{
    struct TFixed : IZORPrompter {
        bool ChooseFromList(TZRValList& list) override
        {
            list.SetValue(QStringLiteral("Small"));
            return true;
        }
        bool Answer(TZRAskField& q) override
        {
            q.SetText(QStringLiteral("host"));
            q.SetInteger(7);
            return true;
        }
    } fixed;
    TScriptedDialogs dialogs; // fails the test on any dialog
    label.SetPrompter(&fixed);
    label.Print();
    label.WaitForPrint();
    EXPECT_TRUE(dialogs.Asked.isEmpty());
    EXPECT_EQ(PrintedWords(),
        (QStringList { QStringLiteral("Small"), QStringLiteral("host"), QStringLiteral("7") }));
}

// Where no one can be asked (no widget application), a run that asks fails before anything is
// printed, naming every list and question it would have asked.
TEST_F(PrintRun, WithNoOneToAskTheRunFailsNamingThePrompts)
{
    zor::TLabelDialogs& registry = zor::LabelDialogs();
    const auto saved = registry.Prompter;
    registry.Prompter = [](TZORLabelVCL&) { return std::unique_ptr<IZORPrompter>(); };
    label.Data().GetAskField(1)->SetAsk(false); // not asked: not named
    try {
        label.Print();
        ADD_FAILURE() << "no error";
    } catch (const EZORError& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral(
                "No one can be asked before printing; answers are missing for: value list \"Size\", "
                "question \"Qty\""));
    }
    label.WaitForPrint();
    EXPECT_FALSE(QFileInfo::exists(Pdf()));
    // A run that asks nothing still prints.
    label.Data().GetListVal(1)->SetAsk(false);
    label.Data().GetAskField(2)->SetAsk(false);
    label.Print();
    label.WaitForPrint();
    registry.Prompter = saved;
    EXPECT_TRUE(QFileInfo::exists(Pdf()));
}

// The command-line tool answers from its options through a prompter of its own: the same run
// written to a PDF, and refused with the missing answers named and nothing written.
TEST_F(PrintRun, TheToolTakesTheAnswersAsOptions)
{
    const QString tool
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../examples/quindle"));
    ASSERT_TRUE(QFileInfo::exists(tool)) << "build the tool first: " << tool.toStdString();
    const QString labelFile = Path(QStringLiteral("asks.json"));
    label.SaveToFile(labelFile, TZORExt::Json);
    const struct {
        QStringList options;
        int exitCode;
        const char* error; // a part of the message on standard error
    } table[] = {
        { { QStringLiteral("--list"), QStringLiteral("size=Medium"), QStringLiteral("--answer"),
              QStringLiteral("Lot=B-12"), QStringLiteral("--answer"), QStringLiteral("Qty=30") },
            0, "" },
        { { QStringLiteral("--list"), QStringLiteral("Size=Medium") }, 1,
            "answers are missing for: question \"Lot\", question \"Qty\"" },
        { { QStringLiteral("--list"), QStringLiteral("Size=XL"), QStringLiteral("--answer"),
              QStringLiteral("Lot=1"), QStringLiteral("--answer"), QStringLiteral("Qty=3") },
            2, "\"XL\" is not one of Small, Medium, Large" },
        { { QStringLiteral("--list"), QStringLiteral("Size=Small"), QStringLiteral("--answer"),
              QStringLiteral("Lot=1"), QStringLiteral("--answer"), QStringLiteral("Qty=many") },
            2, "\"many\" is not a whole number" },
        { { QStringLiteral("--answer"), QStringLiteral("Colour=red") }, 2, "the label has no such question" },
        { { QStringLiteral("--answer"), QStringLiteral("Lot") }, 2, "takes NAME=VALUE" },
    };
    for (const auto& row : table) {
        QFile::remove(Pdf());
        QProcess run;
        run.start(tool,
            QStringList { QStringLiteral("export"), labelFile, QStringLiteral("--output"), Pdf(),
                QStringLiteral("--quiet") }
                + row.options);
        ASSERT_TRUE(run.waitForFinished(60000));
        const QString err = QString::fromUtf8(run.readAllStandardError());
        const std::string what = row.options.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.exitCode(), row.exitCode) << what << ": " << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(row.error))) << what << ": " << err.toStdString();
        if (row.exitCode != 0) {
            EXPECT_FALSE(QFileInfo::exists(Pdf())) << what;
            continue;
        }
        EXPECT_EQ(PrintedWords(),
            (QStringList { QStringLiteral("Medium"), QStringLiteral("B-12"), QStringLiteral("30") }));
    }
}

} // namespace
