#include "Zor.LibSymbol.h"

#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"

const TZORFields<TZORLibSymbol>& TZORLibSymbol::Fields()
{
    using S = TZORLibSymbol;
    static const TZORFields<S> fields {
        Field<S, &S::fVersion>("Version"),
        Field<S, &S::fName>("Name"),
        Field<S, &S::fCategory>("Category"),
        Field<S, &S::fID>("ID"),
        Field<S, &S::fUnits>("Units"),
        Field<S, &S::fInsertX>("InsertX"),
        Field<S, &S::fInsertY>("InsertY"),
    };
    return fields;
}

bool TZORLibSymbol::ReadJson(const TJsonObject& o, QString& errorText)
{
    try {
        TZORLibSymbol read;
        zor::FieldsFromJson(o, read, Fields());
        if (read.fName.trimmed().isEmpty())
            throw zor::Error(QStringLiteral("SymbolName"));
        read.fDef = o.A("Def").ToJSON(true);
        *this = std::move(read);
        return true;
    } catch (const EZORError& e) {
        errorText = e.Message();
        return false;
    }
}

TJsonObject TZORLibSymbol::GetJson() const
{
    TJsonObject o;
    zor::FieldsToJson(o, *this, Fields());
    o.SetA("Def", TJsonArray::Parse(fDef));
    return o;
}

void TZORLibSymbol::Write(TBinaryWriter& w) const
{
    zor::WriteFields(w, *this, Fields());
    w.WriteString(fDef);
}

std::unique_ptr<TZORLibSymbol> TZORLibSymbol::Read(TBinaryReader& r)
{
    auto symbol = std::make_unique<TZORLibSymbol>();
    zor::ReadFields(r, *symbol, Fields());
    // Parsed here so that a corrupt definition fails the read, not a later drawing.
    symbol->fDef = TJsonArray::Parse(r.ReadString()).ToJSON(true);
    return symbol;
}
