#include "Zor.Symbol.h"

#include "Zor.Label.h"
#include "Zor.LibSymbol.h"

const TZORFields<TZORBaseItem>& TZORBaseSymbol::GetFields() const
{
    using S = TZORBaseSymbol;
    static const TZORFields<TZORBaseItem> fields = BaseFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &S::fSymbolID>("SymbolID"),
              Field<TZORBaseItem, &S::fSymbolName>("SymbolName"),
              Field<TZORBaseItem, &S::fScale>("Scale"),
          };
    return fields;
}

void TZORBaseSymbol::SetSymbol(const TZORLibSymbol* symbol)
{
    fSymbolID = symbol ? symbol->GetID() : QString();
    fSymbolName = symbol ? symbol->GetName() : QString();
}

const TZORLibSymbol* TZORBaseSymbol::GetSymbol() const
{
    if (!fOwner || fSymbolID.isEmpty())
        return nullptr;
    for (int32_t i = 1; i <= fOwner->GetSymbolsCount(); ++i)
        if (fOwner->GetSymbol(i)->GetID() == fSymbolID)
            return fOwner->GetSymbol(i);
    return nullptr;
}

void TZORBaseSymbol::AfterRead()
{
    SetScale(fScale);
    TZORFixedItem::AfterRead();
}
