#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Msg.h"
#include "Zor.Vcl.h"

#include <QUuid>

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

bool HoldsID(const TZORBaseLabel& label, const QString& id)
{
    for (int32_t i = 1; i <= label.GetSymbolsCount(); ++i)
        if (label.GetSymbol(i)->GetID() == id)
            return true;
    return false;
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
    const std::optional<QString> text = editor->EditJson(SymbolTemplate());
    if (!text || text->trimmed().isEmpty())
        return nullptr;
    const TJsonObject definition = TJsonObject::Parse(*text);
    auto symbol = std::make_unique<TZORLibSymbol>();
    QString error;
    if (!symbol->ReadJson(definition, error)) {
        editor->ShowMessage(error);
        return nullptr;
    }
    // Elements find their definition by its ID: a second definition of one ID would never show.
    if (symbol->GetID().isEmpty() || HoldsID(*this, symbol->GetID())) {
        editor->ShowMessage(TZORMsg::GetErrorValue(QStringLiteral("SymbolID")).arg(symbol->GetID()));
        return nullptr;
    }
    return AddSymbol(std::move(symbol), true);
}

void TZORLabelVCL::EditSymbolDef()
{
    const TZORLibSymbol* symbol = GetCurrentSymbol();
    if (!symbol)
        return;
    if (IZORJsonEditor* editor = JsonEditor())
        editor->EditJson(symbol->GetJson().ToJSON(false));
}
