#include "Zor.Symbol.h"

#include "Zor.Label.h"
#include "Zor.LibSymbol.h"

#include <cmath>
#include <numbers>

using zor::Field;

const TZORFields<TZORBaseItem>& TZORBaseSymbol::GetFields() const
{
    using S = TZORBaseSymbol;
    static const TZORFields<TZORBaseItem> fields = BaseFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &S::fSymbolID>("SymbolID"),
              Field<TZORBaseItem, &S::fSymbolName>("SymbolName"),
              Field<TZORBaseItem, &S::fScale>("Scale"),
              Field<TZORBaseItem, &S::fAngle>("Angle"),
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

void TZORBaseSymbol::SetAngleDeg(float a)
{
    const float kept = std::fmod(zor::ClampFloat(a, -1e6f, 1e6f, 0.0f), 360.0f);
    fAngle = kept < 0.0f ? kept + 360.0f : kept;
    if (fAngle >= 360.0f)
        fAngle = 0.0f;
}

void TZORBaseSymbol::RotateLeft()
{
    TZORFixedItem::RotateLeft();
    SetAngleDeg(fAngle - 90.0f);
}

void TZORBaseSymbol::RotateRight()
{
    TZORFixedItem::RotateRight();
    SetAngleDeg(fAngle + 90.0f);
}

void TZORBaseSymbol::AfterRead()
{
    SetScale(fScale);
    SetAngleDeg(fAngle);
    TZORFixedItem::AfterRead();
}

int32_t TZORBaseSymbol::GetAnchorsCount() const
{
    const TZORLibSymbol* symbol = GetSymbol();
    return symbol && symbol->GetNumLinks() > 0 ? symbol->GetNumLinks() : TZORFixedItem::GetAnchorsCount();
}

TZORPto TZORBaseSymbol::GetAnchor(int32_t index) const
{
    const TZORLibSymbol* symbol = GetSymbol();
    if (!symbol || symbol->GetNumLinks() == 0)
        return TZORFixedItem::GetAnchor(index);
    const TZORPto link = symbol->GetLink(index);
    const double a = double(fAngle) * std::numbers::pi / 180.0;
    const double x = double(link.X) * fScale, y = double(link.Y) * fScale;
    TZORPto p;
    p.DefineBase(GetPoint(1).X + int64_t(zor::Round(x * std::cos(a) - y * std::sin(a))),
        GetPoint(1).Y + int64_t(zor::Round(x * std::sin(a) + y * std::cos(a))));
    return p;
}
