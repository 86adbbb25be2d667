#pragma once

#include "Zor.F2d.h"

#include <QString>

#include <algorithm>
#include <cstdint>

// The text element kinds of the model: the single-line text, the paragraph, the rich text and
// the poly text. Font heights are millimetres on paper; GetBaseFontHeight gives them in
// micrometres (10 mm: 10000), as the text metrics take them.

// One line of text anchored at point 1 (type code 10). Point 2 is its second corner; the factory
// places both on the anchor. The horizontal scale stretches the text along its line.
class TZORBaseText : public TZORFontItem<TZORFixedItem<TZOR2DItem, 2>> {
public:
    static constexpr float DefaultTextHeight = 10.0f; // millimetres
    static constexpr float MinScale = 0.1f;
    static constexpr float MaxScale = 10.0f;

    TZORBaseText(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseText(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Text; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }
    // 1.0 is the font's own width.
    float GetScale() const { return fScale; }
    void SetScale(float s) { fScale = zor::ClampFloat(s, MinScale, MaxScale, 1.0f); }

protected:
    void AfterRead() override;

private:
    QString fText;
    float fScale = 1.0f;
};

// Text wrapped into the box between points 1 and 2 (type code 11), inside its paddings, with
// alignment and line spacing; the base of the rich text.
class TZORBasePara : public TZORFontItem<TZORBoxItem> {
public:
    static constexpr float DefaultParaHeight = 6.0f; // millimetres
    static constexpr float MaxPadding = 1000.0f; // millimetres
    static constexpr float MinSpacing = 0.1f;
    static constexpr float MaxSpacing = 10.0f;

    TZORBasePara(TZORBaseLabel* aOwner, bool aPreview);
    TZORBasePara(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Paragraph; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    const QString& GetText() const { return fText; }
    // Virtual: the kinds built on the paragraph keep their text and their font in forms of
    // their own, and the factory and the diagram imports set both through these two.
    virtual void SetText(const QString& t) { fText = t; }
    virtual void SetFontHeight(float h) { TZORFontItem::SetFontHeight(h); }

    TZORHorzAlign GetHorzAlign() const { return fHorzAlign; }
    void SetHorzAlign(TZORHorzAlign a) { fHorzAlign = std::min(a, TZORHorzAlign::Justify); }
    TZORVertAlign GetVertAlign() const { return fVertAlign; }
    void SetVertAlign(TZORVertAlign a) { fVertAlign = std::min(a, TZORVertAlign::Bottom); }
    // Line spacing: 1.0 is single spacing.
    float GetScaleX() const { return fScaleX; }
    void SetScaleX(float s) { fScaleX = zor::ClampFloat(s, MinSpacing, MaxSpacing, 1.0f); }
    // Room between the box and the text, millimetres.
    float GetPaddingX() const { return fPaddingX; }
    float GetPaddingY() const { return fPaddingY; }
    void SetPaddingX(float p) { fPaddingX = SanePadding(p); }
    void SetPaddingY(float p) { fPaddingY = SanePadding(p); }

protected:
    // The settings of the box, shared with the rich text.
    static TZORFields<TZORBaseItem> BoxFields();
    void AfterRead() override;

private:
    static float SanePadding(float p) { return zor::ClampFloat(p, 0.0f, MaxPadding, 0.0f); }

    QString fText;
    TZORHorzAlign fHorzAlign = TZORHorzAlign::Left;
    TZORVertAlign fVertAlign = TZORVertAlign::Top;
    float fScaleX = 1.0f;
    float fPaddingX = 0.0f;
    float fPaddingY = 0.0f;
};

// Styled text in a box (type code 29): the rich text holds its runs and their formats as markup;
// the element's font is the format of text without markup.
class TZORBaseRichText : public TZORBasePara {
public:
    using TZORBasePara::TZORBasePara;

    TZORItemType TypeCode() const override { return TZORItemType::RichText; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    const QString& GetRichText() const { return fRichText; }
    void SetRichText(const QString& t) { fRichText = t; }
    // A plain text becomes the rich text as it stands.
    void SetText(const QString& t) override { SetRichText(t); }

    void SetRichFontName(const QString& n) { SetFontName(n); }
    void SetRichFontColor(TAlphaColor c) { SetFontColor(c); }
    void SetRichBold(bool b) { SetBold(b); }
    void SetRichItalic(bool i) { SetItalic(i); }

private:
    QString fRichText;
};

// Data items shown side by side at point 1 (type code 20); the list of items is kept as its
// text.
class TZORBasePoly : public TZORFixedItem<TZOR2DItem, 1> {
public:
    using TZORFixedItem::TZORFixedItem;

    TZORItemType TypeCode() const override { return TZORItemType::PolyText; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    const QString& GetPolyItems() const { return fPolyItems; }
    void SetPolyItems(const QString& items) { fPolyItems = items; }

private:
    QString fPolyItems;
};
