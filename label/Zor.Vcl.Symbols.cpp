#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Msg.h"
#include "Zor.Symbol.h"
#include "Zor.Vcl.h"

#include <QUuid>

using zor::TJsonObject;

namespace {

// A new definition as the editor first offers it; its ID is a fresh GUID each time.
QString SymbolTemplate()
{
    QString text = QStringLiteral(
        R"({"Version":#ver,"Name":"","Category":"","ID":"#guid","Units":"mm","InsertX":0,"InsertY":0,"Def":[]})");
    text.replace(QStringLiteral("#ver"), QStringLiteral("1"));
    text.replace(QStringLiteral("#guid"), QUuid::createUuid().toString(QUuid::WithBraces));
    return text;
}

// Whether a symbol other than `except` holds the ID.
bool HoldsID(const TZORBaseLabel& label, const QString& id, const TZORLibSymbol* except = nullptr)
{
    for (int32_t i = 1; i <= label.GetSymbolsCount(); ++i)
        if (label.GetSymbol(i) != except && label.GetSymbol(i)->GetID() == id)
            return true;
    return false;
}

// The definition the user confirmed in the editor, read; nothing for a cancel, an empty text,
// a definition that does not read or one whose ID is empty or held by a symbol other than
// `replaced` (each reported through the editor). Text that is not JSON raises.
std::unique_ptr<TZORLibSymbol> ConfirmedDefinition(
    IZORJsonEditor& editor, const TZORBaseLabel& label, const QString& offered, const TZORLibSymbol* replaced)
{
    const std::optional<QString> text = editor.EditJson(offered);
    if (!text || text->trimmed().isEmpty())
        return nullptr;
    const TJsonObject definition = TJsonObject::Parse(*text);
    auto symbol = std::make_unique<TZORLibSymbol>();
    QString error;
    if (!symbol->ReadJson(definition, error)) {
        editor.ShowMessage(error);
        return nullptr;
    }
    // Elements find their definition by its ID: a second definition of one ID would never show.
    if (symbol->GetID().isEmpty() || HoldsID(label, symbol->GetID(), replaced)) {
        editor.ShowMessage(TZORMsg::GetErrorValue(QStringLiteral("SymbolID")).arg(symbol->GetID()));
        return nullptr;
    }
    return symbol;
}

} // namespace

IZORJsonEditor* TZORLabelVCL::JsonEditor() const
{
    return fJsonEditor ? fJsonEditor : zor::LabelDialogs().JsonEditor;
}

TZORLibSymbol* TZORLabelVCL::AddSymbolDef()
{
    IZORJsonEditor* editor = JsonEditor();
    if (!editor)
        return nullptr;
    std::unique_ptr<TZORLibSymbol> symbol = ConfirmedDefinition(*editor, *this, SymbolTemplate(), nullptr);
    return symbol ? AddSymbol(std::move(symbol), true) : nullptr;
}

void TZORLabelVCL::EditSymbolDef()
{
    TZORLibSymbol* current = GetCurrentSymbol();
    IZORJsonEditor* editor = JsonEditor();
    if (!current || !editor)
        return;
    const std::unique_ptr<TZORLibSymbol> edited
        = ConfirmedDefinition(*editor, *this, current->GetJson().ToJSON(false), current);
    if (!edited)
        return;
    const QString oldID = current->GetID();
    BeginUpdate(true);
    *current = *edited;
    // The symbols that showed the definition show it as edited, under its new ID and name too.
    for (int32_t i = 1; i <= GetItemsCount(); ++i)
        if (auto* symbol = dynamic_cast<TZORBaseSymbol*>(GetItem(i));
            symbol && symbol->GetSymbolID() == oldID) {
            symbol->SetSymbol(current);
            symbol->CalcValues(0);
        }
    EndUpdate();
}
