#include "Zor.LibSymbol.h"
#include "dialogs/Zor.Edjson.h"
#include "dialogs/Zor.Mem.h"
#include "kit/Dialogs.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using zor::DialogService;

namespace {

using zor::test::TScriptedDialogs;

QPlainTextEdit& Memo(QDialog& dialog, const char* name)
{
    return *dialog.findChild<QPlainTextEdit*>(QString::fromLatin1(name));
}

// Without an editor of its own the label edits symbol definitions in the library's JSON dialog,
// opened through the dialog service; an invalid text keeps the dialog open with a warning.
TEST(JsonDialog, TheLabelEditsDefinitionsInTheJsonDialogByDefault)
{
    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    dialogs.AnswerDialog([](QDialog& d) {
        QPlainTextEdit& text = Memo(d, "MemJson");
        text.setPlainText(QStringLiteral("{ not json"));
        EXPECT_EQ(TScriptedDialogs::Press(d, QDialogButtonBox::Ok), QDialog::Rejected);
        text.setPlainText(QStringLiteral(
            R"({"Version":1,"Name":"Valve","Category":"Pipes","ID":"{v1}","Units":"mm","InsertX":0,"InsertY":0,"Def":[]})"));
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    const TZORLibSymbol* symbol = label.AddSymbolDef();
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->GetName(), QStringLiteral("Valve"));
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("JSON is not valid") });
}

// Only an object at the root is valid; the dialog opens empty on anything else, and OK closes
// on a valid text, cancels on an empty one and otherwise stays open with a warning.
TEST(JsonDialog, OnlyAnObjectIsValid)
{
    const struct {
        const char* text;
        bool valid;
    } table[] = {
        { R"({"a":1})", true },
        { "{}", true },
        { " \n{ \"a\" : [1, 2] }\n", true },
        { "[]", false },
        { "[{\"a\":1}]", false },
        { "42", false },
        { "\"text\"", false },
        { "{ not json", false },
        { "{\"a\":1} trailing", false },
        { "", false },
        { "   ", false },
    };
    for (const auto& row : table) {
        const QString text = QString::fromUtf8(row.text);
        EXPECT_EQ(TfJsonData::IsValidJson(text), row.valid) << row.text;
        TfJsonData dialog;
        dialog.IniDialog(text);
        EXPECT_EQ(Memo(dialog, "MemJson").toPlainText().isEmpty(), !row.valid) << row.text;
        // OK on what the user typed.
        TScriptedDialogs dialogs;
        Memo(dialog, "MemJson").setPlainText(text);
        dialog.setResult(-1);
        dialog.butOKClick();
        const bool empty = text.trimmed().isEmpty();
        const int expected = row.valid ? QDialog::Accepted : empty ? QDialog::Rejected : -1;
        EXPECT_EQ(dialog.result(), expected) << row.text;
        EXPECT_EQ(dialogs.Messages.size(), row.valid || empty ? 0 : 1) << row.text;
    }
}

TEST(JsonDialog, ShowsOneMemberPerLineAndGivesItBackCompact)
{
    TfJsonData dialog;
    dialog.IniDialog(QStringLiteral(R"({"a":1})"));
    EXPECT_EQ(Memo(dialog, "MemJson").toPlainText().split(QLatin1Char('\n')),
        (QStringList { QStringLiteral("{"), QStringLiteral("  \"a\": 1"), QStringLiteral("}") }));
    // Member order and text are kept through the round trip.
    const QString compact = QStringLiteral(R"({"b":[1,{"c":"ä €"}],"a":true,"n":null,"x":-1.5})");
    dialog.IniDialog(compact);
    EXPECT_GT(Memo(dialog, "MemJson").blockCount(), 5);
    EXPECT_EQ(dialog.GetJson(), compact);
    // Format lays a typed text out again; a text that is no object only warns.
    TScriptedDialogs dialogs;
    Memo(dialog, "MemJson").setPlainText(QStringLiteral(R"({"z" :  2,"y":{}})"));
    dialog.findChild<QPushButton*>(QStringLiteral("butFormat"))->click();
    EXPECT_EQ(Memo(dialog, "MemJson").toPlainText(), QStringLiteral("{\n  \"z\": 2,\n  \"y\": {}\n}"));
    Memo(dialog, "MemJson").setPlainText(QStringLiteral("[1]"));
    dialog.findChild<QPushButton*>(QStringLiteral("butFormat"))->click();
    EXPECT_EQ(Memo(dialog, "MemJson").toPlainText(), QStringLiteral("[1]"));
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("JSON is not valid") });
}

TEST(JsonDialog, OkOnAnEmptyTextCancels)
{
    TfJsonData dialog;
    dialog.IniDialog(QStringLiteral(R"({"a":1})"));
    Memo(dialog, "MemJson").clear();
    EXPECT_EQ(TScriptedDialogs::Press(dialog, QDialogButtonBox::Ok), QDialog::Rejected);
    EXPECT_EQ(dialog.GetJson(), QString());
}

TEST(JsonDialog, CaptionsComeFromTheCatalogue)
{
    TfJsonData dialog;
    dialog.IniDialog({});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("    JSON"));
    EXPECT_EQ(
        dialog.findChild<QPushButton*>(QStringLiteral("butLoad"))->text(), QStringLiteral("  Load JSON"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("butFormat"))->text(), QStringLiteral("Format"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("butOK"))->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("butCancel"))->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("butOK"))->isDefault());
}

class JsonDialogFile : public zor::test::TempDirTest { };

// Load takes the file's text as it stands (a byte-order mark aside), valid or not; a cancelled
// choice or a file that cannot be read keeps the text.
TEST_F(JsonDialogFile, LoadTakesTheTextAsItStands)
{
    TScriptedDialogs dialogs;
    TfJsonData dialog;
    dialog.IniDialog(QStringLiteral(R"({"kept":1})"));
    const QString kept = Memo(dialog, "MemJson").toPlainText();
    QPushButton* load = dialog.findChild<QPushButton*>(QStringLiteral("butLoad"));
    dialogs.AnswerFile({});
    load->click();
    EXPECT_EQ(Memo(dialog, "MemJson").toPlainText(), kept);
    dialogs.AnswerFile(Path(QStringLiteral("missing.json")));
    load->click();
    EXPECT_EQ(Memo(dialog, "MemJson").toPlainText(), kept);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("missing.json")))
        << dialogs.Messages[0].toStdString();
    ASSERT_TRUE(zor::test::WriteFile(Path(QStringLiteral("a.json")), "\xEF\xBB\xBF{\"x\":  \"\xC3\xA9\"\n"));
    dialogs.AnswerFile(Path(QStringLiteral("a.json")));
    load->click();
    EXPECT_EQ(Memo(dialog, "MemJson").toPlainText(), QStringLiteral("{\"x\":  \"é\"\n"));
    EXPECT_EQ(dialogs.Asked.first(), QStringLiteral("file Load JSON"));
}

TEST(MemDialog, APlainTextGetsTheSmallSizeARichTextTheDesignedOne)
{
    TfMem plain;
    plain.Ini(QStringLiteral("one\ntwo"), false);
    EXPECT_EQ(plain.size(), QSize(440, 340));
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("    Text"));
    EXPECT_EQ(plain.findChild<QPushButton*>(QStringLiteral("butOK"))->text(), QStringLiteral("OK"));
    TfMem rich;
    rich.Ini(QStringLiteral("<b>x</b>"), true);
    EXPECT_EQ(rich.size(), QSize(666, 437));
    // The opener reads the edited text after OK.
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        Memo(d, "MemText").setPlainText(QStringLiteral("three\nlines\nnow"));
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    ASSERT_EQ(zor::DialogService().Exec(plain), QDialog::Accepted);
    EXPECT_EQ(plain.GetText(), QStringLiteral("three\nlines\nnow"));
}

} // namespace
