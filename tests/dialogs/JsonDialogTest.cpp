#include "Zor.LibSymbol.h"
#include "kit/Dialogs.h"
#include "label/Zor.Vcl.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

using zor::test::TScriptedDialogs;

// Without an editor of its own the label edits symbol definitions in the library's JSON dialog,
// opened through the dialog service; an invalid text keeps the dialog open with a warning.
TEST(JsonDialog, TheLabelEditsDefinitionsInTheJsonDialogByDefault)
{
    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    dialogs.AnswerDialog([](QDialog& d) {
        auto* text = d.findChild<QPlainTextEdit*>();
        text->setPlainText(QStringLiteral("{ not json"));
        EXPECT_EQ(TScriptedDialogs::Press(d, QDialogButtonBox::Ok), QDialog::Rejected);
        text->setPlainText(QStringLiteral(
            R"({"Version":1,"Name":"Valve","Category":"Pipes","ID":"{v1}","Units":"mm","InsertX":0,"InsertY":0,"Def":[]})"));
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    const TZORLibSymbol* symbol = label.AddSymbolDef();
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->GetName(), QStringLiteral("Valve"));
    EXPECT_EQ(dialogs.Messages, QStringList { QStringLiteral("JSON is not valid") });
}

} // namespace
