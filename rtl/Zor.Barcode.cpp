#include "Zor.Barcode.h"

// --- Code elements ---

const TZORFields<TZORBaseItem>& TZORCodeItem::CodeFields()
{
    using C = TZORCodeItem;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &C::fCode>("Code"),
              Field<TZORBaseItem, &C::fBarWidth>("BarWidth"),
              Field<TZORBaseItem, &C::fBarHeight>("BarHeight"),
              Field<TZORBaseItem, &C::fAngle>("Angle"),
          };
    return fields;
}

void TZORCodeItem::AfterRead()
{
    SetBarWidth(fBarWidth);
    SetBarHeight(fBarHeight);
    SetAngle(fAngle);
    TZORFixedItem::AfterRead();
}

// --- Linear barcode ---

TZORBaseBarcode::TZORBaseBarcode(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseBarcode(aOwner, nullptr, aPreview)
{
}

TZORBaseBarcode::TZORBaseBarcode(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORFontItem(aOwner, aLayer, aPreview)
{
    fBarWidth = DefaultBarWidth;
    fBarHeight = DefaultBarHeight;
}

const TZORFields<TZORBaseItem>& TZORBaseBarcode::GetFields() const
{
    using B = TZORBaseBarcode;
    static const TZORFields<TZORBaseItem> fields = CodeFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &B::fCodeType>("CodeType"),
              Field<TZORBaseItem, &B::fFactor>("Factor"),
              Field<TZORBaseItem, &B::fShowNumber>("ShowNumber"),
          };
    return fields;
}

void TZORBaseBarcode::AfterRead()
{
    SetFactor(fFactor);
    TZORFontItem::AfterRead();
}

// --- PDF417 ---

TZORBasePDF417::TZORBasePDF417(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBasePDF417(aOwner, nullptr, aPreview)
{
}

TZORBasePDF417::TZORBasePDF417(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORAnsiCode(aOwner, aLayer, aPreview)
{
    fBarWidth = DefaultBarWidth;
    fBarHeight = DefaultRowHeight;
}
