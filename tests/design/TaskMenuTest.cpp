#include "DesignKit.h"
#include "FakeFormWindow.h"
#include "kit/Dialogs.h"
#include "dialogs/Zor.Vcl.Component.h"
#include "label/Zor.Vcl.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>

#include <gtest/gtest.h>

#include <functional>

namespace {

using zor::test::TFakeFormWindow;
using zor::test::TScriptedDialogs;

// A label placed on a form that Designer edits, with its task menu.
struct TDesigned {
    TFakeFormWindow Designer;
    TZORLabelComponent* Label = nullptr;
    QDesignerTaskMenuExtension* Menu = nullptr;

    TDesigned()
    {
        zor::test::TDesignCore& core = zor::test::DesignCore();
        QWidget* widget = zor::test::DesignComponent(QStringLiteral("TZORLabelComponent"))->createWidget(Designer.Form());
        Label = qobject_cast<TZORLabelComponent*>(widget);
        Menu = qt_extension<QDesignerTaskMenuExtension*>(core.extensionManager(), widget);
    }
    QStringList ActionNames() const
    {
        QStringList names;
        for (const QAction* action : Menu->taskActions())
            names << action->objectName();
        return names;
    }
    void Trigger(const QString& name) const
    {
        for (QAction* action : Menu->taskActions()) {
            if (action->objectName() == name)
                return action->trigger();
        }
        ADD_FAILURE() << "no action " << name.toStdString();
    }
};

// The label's text properties each get a folder picker; the data's JSON and the paper name get
// their own editors, and the data sets the data-binding dialog. Nothing else.
TEST(LabelTaskMenu, OffersAnEditorForEachOfItsSettings)
{
    TDesigned designed;
    ASSERT_NE(designed.Menu, nullptr);
    EXPECT_EQ(designed.ActionNames(),
        (QStringList { "actFolderLanguageFileName", "actFolderImageFolder", "actFolderOpenImgFolder",
            "actFolderLibraryFolder", "actJson", "actPaper", "actDataSettings" }));
    EXPECT_EQ(designed.Menu->taskActions().last()->text(), QStringLiteral("DATA SETTINGS"));
    EXPECT_EQ(designed.Menu->preferredEditAction(), nullptr);
}

int TypeJson(QDialog& d)
{
    d.findChild<QPlainTextEdit*>(QStringLiteral("MemJson"))->setPlainText(QStringLiteral("{\"Items\": [{\"A\": 1}]}"));
    return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
}

int ChooseA5(QDialog& d)
{
    auto* papers = d.findChild<QListWidget*>(QStringLiteral("lbPapers"));
    EXPECT_EQ(papers->count(), 27);
    EXPECT_EQ(papers->item(0)->text(), QStringLiteral("A0")); // sorted by name
    papers->setCurrentItem(papers->findItems(QStringLiteral("A5"), Qt::MatchExactly).first());
    return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
}

int TickProducts(QDialog& d)
{
    auto* sets = qobject_cast<QStandardItemModel*>(d.findChild<QTableView*>(QStringLiteral("DBDatasets"))->model());
    sets->item(0, 0)->setCheckState(Qt::Checked);
    auto* fields = qobject_cast<QStandardItemModel*>(d.findChild<QTableView*>(QStringLiteral("DBFields"))->model());
    fields->item(1, 0)->setCheckState(Qt::Checked);
    return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
}

// Each action, answered through the dialog service, sets its property through the form
// window's cursor: one step of Designer's history, which the undo takes back.
TEST(LabelTaskMenu, EachActionSetsItsPropertyAsOneUndoableStep)
{
    const struct {
        const char* action;
        std::function<void(TScriptedDialogs&)> answer;
        const char* property;
        QString expected;
    } table[] = {
        { "actFolderLanguageFileName", [](TScriptedDialogs& d) { d.AnswerFile("/srv/lang"); }, "LanguageFileName",
            "/srv/lang" },
        { "actFolderImageFolder", [](TScriptedDialogs& d) { d.AnswerFile("/srv/images"); }, "ImageFolder",
            "/srv/images" },
        { "actFolderOpenImgFolder", [](TScriptedDialogs& d) { d.AnswerFile("/srv/pictures"); }, "OpenImgFolder",
            "/srv/pictures" },
        { "actFolderLibraryFolder", [](TScriptedDialogs& d) { d.AnswerFile("/srv/symbols"); }, "LibraryFolder",
            "/srv/symbols" },
        { "actJson", [](TScriptedDialogs& d) { d.AnswerDialog(TypeJson); }, "DataJson", R"({"Items":[{"A":1}]})" },
        { "actPaper", [](TScriptedDialogs& d) { d.AnswerDialog(ChooseA5); }, "PaperName", "A5" },
        { "actDataSettings", [](TScriptedDialogs& d) { d.AnswerDialog(TickProducts); }, "DataSets",
            R"([{"Name":"Products","Alias":"","Fields":[{"Name":"Price","Alias":"","Type":0}]}])" },
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.action);
        TDesigned designed;
        new zor::test::TFormDataSet(designed.Designer.Form(), QStringLiteral("Products"), { "Code", "Price" });
        const QVariant before = designed.Label->property(row.property);
        {
            TScriptedDialogs dialogs;
            row.answer(dialogs);
            designed.Trigger(QString::fromLatin1(row.action));
        }
        EXPECT_EQ(designed.Label->property(row.property).toString(), row.expected);
        EXPECT_EQ(designed.Designer.History().count(), 1);
        EXPECT_TRUE(designed.Designer.isDirty());
        designed.Designer.History().undo();
        EXPECT_EQ(designed.Label->property(row.property), before);
    }
}

// JSON the data cannot take is reported and changes nothing.
TEST(LabelTaskMenu, JsonTheDataRefusesIsReported)
{
    TDesigned designed;
    {
        TScriptedDialogs dialogs;
        dialogs.AnswerDialog([](QDialog& d) {
            d.findChild<QPlainTextEdit*>(QStringLiteral("MemJson"))->setPlainText(QStringLiteral("{\"A\": 1}"));
            return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
        });
        designed.Trigger(QStringLiteral("actJson"));
        EXPECT_EQ(dialogs.Messages.size(), 1);
    }
    EXPECT_EQ(designed.Label->GetDataJson(), QString());
    EXPECT_EQ(designed.Designer.History().count(), 0);
}

// A cancelled dialog changes nothing and leaves the form unmodified.
TEST(LabelTaskMenu, ACancelChangesNothing)
{
    const struct {
        const char* action;
        std::function<void(TScriptedDialogs&)> answer;
    } table[] = {
        { "actFolderImageFolder", [](TScriptedDialogs& d) { d.AnswerFile(QString()); } },
        { "actJson", [](TScriptedDialogs& d) { d.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); }); } },
        { "actPaper", [](TScriptedDialogs& d) { d.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); }); } },
        { "actDataSettings",
            [](TScriptedDialogs& d) { d.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); }); } },
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.action);
        TDesigned designed;
        designed.Label->SetImageFolder(QStringLiteral("/old"));
        designed.Label->SetPaperName(QStringLiteral("Letter"));
        {
            TScriptedDialogs dialogs;
            row.answer(dialogs);
            designed.Trigger(QString::fromLatin1(row.action));
        }
        EXPECT_EQ(designed.Label->GetImageFolder(), QStringLiteral("/old"));
        EXPECT_EQ(designed.Label->GetPaperName(), QStringLiteral("Letter"));
        EXPECT_EQ(designed.Label->GetDataJson(), QString());
        EXPECT_EQ(designed.Designer.History().count(), 0);
        EXPECT_FALSE(designed.Designer.isDirty());
    }
}

} // namespace
