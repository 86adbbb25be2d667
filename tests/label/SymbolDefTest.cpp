// Symbol definitions added and shown through the label's JSON editor, answered here without a
// window.

#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "label/Zor.Vcl.h"

#include <QUuid>

#include <gtest/gtest.h>

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

    // Shown as it is held; the text the user leaves there is not taken back.
    label.editor.Answer(QStringLiteral(R"({"Name":"Changed","ID":"{v}","Def":[]})"));
    label.EditSymbolDef();
    EXPECT_EQ(TJsonObject::Parse(label.editor.offered.last()).S("Name"), QStringLiteral("Valve"));
    EXPECT_EQ(label.GetCurrentSymbol()->GetName(), QStringLiteral("Valve"));
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
