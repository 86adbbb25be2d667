#include "Zor.Text.h"

// --- Text ---

TZORBaseText::TZORBaseText(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseText(aOwner, nullptr, aPreview)
{
}

TZORBaseText::TZORBaseText(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORFontItem(aOwner, aLayer, aPreview)
{
    fFontHeight = DefaultTextHeight;
}

const TZORFields<TZORBaseItem>& TZORBaseText::GetFields() const
{
    using T = TZORBaseText;
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &T::fText>("Text"),
              Field<TZORBaseItem, &T::fScale>("Scale"),
          };
    return fields;
}

void TZORBaseText::AfterRead()
{
    SetScale(fScale);
    TZORFontItem::AfterRead();
}

// --- Paragraph ---

TZORBasePara::TZORBasePara(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBasePara(aOwner, nullptr, aPreview)
{
}

TZORBasePara::TZORBasePara(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORFontItem(aOwner, aLayer, aPreview)
{
    fFontHeight = DefaultParaHeight;
}

TZORFields<TZORBaseItem> TZORBasePara::BoxFields()
{
    using P = TZORBasePara;
    return {
        Field<TZORBaseItem, &P::fHorzAlign>("HorzAlign"),
        Field<TZORBaseItem, &P::fVertAlign>("VertAlign"),
        Field<TZORBaseItem, &P::fScaleX>("ScaleX"),
        Field<TZORBaseItem, &P::fPaddingX>("PaddingX"),
        Field<TZORBaseItem, &P::fPaddingY>("PaddingY"),
    };
}

const TZORFields<TZORBaseItem>& TZORBasePara::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields()
        + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &TZORBasePara::fText>("Text") } + BoxFields();
    return fields;
}

void TZORBasePara::AfterRead()
{
    SetHorzAlign(fHorzAlign);
    SetVertAlign(fVertAlign);
    SetScaleX(fScaleX);
    SetPaddingX(fPaddingX);
    SetPaddingY(fPaddingY);
    TZORFontItem::AfterRead();
}

// --- Rich text ---

const TZORFields<TZORBaseItem>& TZORBaseRichText::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields() + BoxFields()
        + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &TZORBaseRichText::fRichText>("RichText") };
    return fields;
}

// --- Poly text ---

const TZORFields<TZORBaseItem>& TZORBasePoly::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &TZORBasePoly::fPolyItems>("PolyItems") };
    return fields;
}
