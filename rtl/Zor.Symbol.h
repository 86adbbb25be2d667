#pragma once

#include "Zor.Base.h"
#include "Zor.RtlExport.h"

#include <QString>

class TZORLibSymbol;

// A library symbol placed at point 1 (type code 24), by its definition's ID; the label keeps the
// definitions its symbols show. The name is the definition's, kept for a label that has lost it.
class QUINDLE_RTL_EXPORT TZORBaseSymbol : public TZORFixedItem<TZORBaseItem, 1> {
public:
    static constexpr float MinScale = 0.01f;
    static constexpr float MaxScale = 100.0f;

    using TZORFixedItem::TZORFixedItem;

    TZORItemType TypeCode() const override { return TZORItemType::Symbol; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    // Shows the definition (none: shows nothing).
    void SetSymbol(const TZORLibSymbol* symbol);
    // The definition of the label with the symbol's ID; null when the label has none.
    const TZORLibSymbol* GetSymbol() const;
    const QString& GetSymbolID() const { return fSymbolID; }
    const QString& GetSymbolName() const { return fSymbolName; }
    // 1.0 draws the definition at its own size.
    float GetScale() const { return fScale; }
    void SetScale(float s) { fScale = zor::ClampFloat(s, MinScale, MaxScale, 1.0f); }
    // The turn of the symbol about its insertion point, degrees, clockwise on the page; kept in
    // [0, 360).
    float GetAngleDeg() const { return fAngle; }
    void SetAngleDeg(float a);
    // A symbol is joined at its definition's connection points, placed, scaled and turned with
    // it; one without any at its insertion point.
    int32_t GetAnchorsCount() const override;
    TZORPto GetAnchor(int32_t index) const override;
    // Quarter turns turn the symbol with its position.
    void RotateLeft() override;
    void RotateRight() override;

protected:
    void AfterRead() override;

private:
    QString fSymbolID;
    QString fSymbolName;
    float fScale = 1.0f;
    float fAngle = 0.0f;
};
