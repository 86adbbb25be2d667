// Symbol definitions added and shown through the label's JSON editor, answered here without a
// window.

#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "elements/composite/Zor.Vcl.Symbol.h"
#include "label/Zor.Vcl.h"

#include <QUuid>

#include <gtest/gtest.h>

using zor::TJsonObject;

namespace {

// Records what the label offers and answers with a prepared text (nothing: cancelled).
struct TFakeEditor : IZORJsonEditor {
    QString answer;
    bool cancels = true;
    QStringList offered;
    QStringList messages;

    void Answer(const QString& text)
    {
        answer = text;
        cancels = false;
    }
    std::optional<QString> EditJson(const QString& text) override
    {
        offered << text;
        return cancels ? std::nullopt : std::optional<QString>(answer);
    }
    void ShowMessage(const QString& text) override { messages << text; }
};

struct TEditedLabel : TZORLabelVCL {
    TFakeEditor editor;
    TEditedLabel() { SetJsonEditor(&editor); }
};

} // namespace

// Each offer is the definition template with a new braced GUID.
TEST(SymbolDef, EveryOfferHasAFreshID)
{
    TEditedLabel label;
    EXPECT_EQ(label.AddSymbolDef(), nullptr);
    EXPECT_EQ(label.AddSymbolDef(), nullptr);
    ASSERT_EQ(label.editor.offered.size(), 2);
    QStringList ids;
    for (const QString& text : label.editor.offered) {
        const TJsonObject o = TJsonObject::Parse(text);
        EXPECT_EQ(o.I("Version"), 1);
        EXPECT_EQ(o.S("Units"), QStringLiteral("mm"));
        EXPECT_EQ(o.A("Def").Count(), 0);
        const QString id = o.S("ID");
        EXPECT_TRUE(id.startsWith(u'{') && id.endsWith(u'}')) << id.toStdString();
        EXPECT_FALSE(QUuid::fromString(id).isNull());
        ids << id;
    }
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_EQ(label.GetSymbolsCount(), 0);
}

TEST(SymbolDef, AConfirmedDefinitionBecomesTheCurrentSymbol)
{
    TEditedLabel label;
    label.editor.Answer(QStringLiteral(
        R"({"Name":"Valve","Category":"Pipes","ID":"{v}","Def":[{"Kind":"Line","Points":[[0,0],[5,0]]}]})"));
    const TZORLibSymbol* added = label.AddSymbolDef();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(label.GetCurrentSymbol(), added);
    EXPECT_EQ(added->GetItemsCount(), 1);
    EXPECT_TRUE(label.editor.messages.isEmpty());
}

// Counts the notices a label sends.
struct TNoticeCounter : IZRObserver {
    int redraws = 0;
    void UpdateCtrl(TZRChange change, const TZRChangeValue&) override
    {
        redraws += change == TZRChange::Redraw;
    }
    TZRObserverKind TypeDest() const override { return TZRObserverKind::Editor; }
};

// The definition is shown as it is held, and the one the user confirms replaces it, in one
// update bracket; the symbols placed from it follow it, a new ID and name included.
TEST(SymbolDef, AnEditedDefinitionIsTakenBackAndItsSymbolsFollow)
{
    TEditedLabel label;
    label.editor.Answer(QStringLiteral(
        R"({"Name":"Valve","Category":"Pipes","ID":"{v}","Def":[{"Kind":"Line","Points":[[0,0],[5,0]]}]})"));
    TZORLibSymbol* held = label.AddSymbolDef();
    ASSERT_NE(held, nullptr);
    TZORSymbol* placed = label.AddBaseSymbol(10000, 10000);
    ASSERT_EQ(placed->GetSymbol(), held);
    label.SetModified(false);
    TNoticeCounter notices;
    label.Attach(&notices);

    label.editor.Answer(
        QStringLiteral(R"({"Name":"Gate","ID":"{g}","Def":[{"Kind":"Circle","Center":[0,0],"Radius":2}]})"));
    label.EditSymbolDef();
    EXPECT_EQ(TJsonObject::Parse(label.editor.offered.last()).S("Name"), QStringLiteral("Valve"));
    ASSERT_EQ(label.GetSymbolsCount(), 1);
    EXPECT_EQ(label.GetCurrentSymbol(), held);
    EXPECT_EQ(held->GetName(), QStringLiteral("Gate"));
    EXPECT_EQ(held->GetItem(1)->Kind, TZORSymKind::Circle);
    EXPECT_EQ(placed->GetSymbolID(), QStringLiteral("{g}"));
    EXPECT_EQ(placed->GetSymbolName(), QStringLiteral("Gate"));
    EXPECT_EQ(placed->GetSymbol(), held);
    EXPECT_EQ(notices.redraws, 1);
    EXPECT_TRUE(label.GetModified());

    // A cancel, a definition that does not read and the ID of another symbol change nothing.
    label.editor.Answer(QStringLiteral(R"({"Name":"Other","ID":"{o}","Def":[]})"));
    ASSERT_NE(label.AddSymbolDef(), nullptr);
    notices.redraws = 0;
    label.editor.messages.clear();
    for (const char* answer :
        { R"({"Name":"X","ID":"{g}","Def":[]})", R"({"Name":"","ID":"{o}","Def":[]})" }) {
        label.editor.Answer(QString::fromUtf8(answer));
        label.EditSymbolDef();
    }
    label.editor.cancels = true;
    label.EditSymbolDef();
    EXPECT_EQ(label.editor.messages.size(), 2);
    EXPECT_EQ(label.GetCurrentSymbol()->GetName(), QStringLiteral("Other"));
    EXPECT_EQ(label.GetCurrentSymbol()->GetID(), QStringLiteral("{o}"));
    EXPECT_EQ(held->GetName(), QStringLiteral("Gate"));
    EXPECT_EQ(notices.redraws, 0);
    label.Detach(&notices);
}

// A definition the reader rejects, or one whose ID the label holds already, is reported and not
// added; a cancel or empty text adds nothing silently; text that is not JSON raises.
TEST(SymbolDef, RejectedDefinitionsAreReportedAndNotAdded)
{
    TEditedLabel label;
    label.editor.Answer(QStringLiteral(R"({"Name":"Valve","ID":"{v}","Def":[]})"));
    ASSERT_NE(label.AddSymbolDef(), nullptr);
    const struct {
        const char* answer; // none: cancelled
        const char* message;
    } cases[] = {
        { R"({"Name":"","ID":"{x}","Def":[]})", "name" },
        { R"({"Name":"X","ID":"{x}","Def":[{"Kind":"Circle","Center":[0,0]}]})", "Radius" },
        { R"({"Name":"Other","ID":"{v}","Def":[]})", "{v}" },
        { nullptr, nullptr },
        { "", nullptr },
    };
    for (const auto& c : cases) {
        label.editor.messages.clear();
        label.editor.cancels = !c.answer;
        label.editor.answer = QString::fromUtf8(c.answer);
        EXPECT_EQ(label.AddSymbolDef(), nullptr);
        EXPECT_EQ(label.GetSymbolsCount(), 1);
        if (c.message) {
            ASSERT_EQ(label.editor.messages.size(), 1);
            EXPECT_TRUE(label.editor.messages[0].contains(QLatin1String(c.message)))
                << label.editor.messages[0].toStdString();
        } else {
            EXPECT_TRUE(label.editor.messages.isEmpty());
        }
    }
    label.editor.Answer(QStringLiteral("{not json"));
    EXPECT_THROW(label.AddSymbolDef(), EZORError);
}

TEST(SymbolDef, WithoutACurrentSymbolNothingOpens)
{
    TEditedLabel label;
    label.EditSymbolDef();
    EXPECT_TRUE(label.editor.offered.isEmpty());
}
