#pragma once

#include "Zor.Text.h"
#include "label/Zor.Vcl.Element.h"

// The renderers of the text elements: text, paragraph, rich text. Each is its model class plus
// the constructors the factory and the readers use.

// Single-line text (type code 10); made by the factory with the text defaults.
class TZORText : public TZORUndrawn<TZORBaseText>, public TZORElementIO<TZORText> {
public:
    using TZORUndrawn::TZORUndrawn;
    explicit TZORText(TZORBaseLabel* aOwner);
    TZORText(TZORBaseLabel* aOwner, TZORLayer* aLayer);
};

// Paragraph (type code 11).
class TZORParagraph : public TZORUndrawn<TZORBasePara>, public TZORElementIO<TZORParagraph> {
public:
    using TZORUndrawn::TZORUndrawn;
    explicit TZORParagraph(TZORBaseLabel* aOwner);
    TZORParagraph(TZORBaseLabel* aOwner, TZORLayer* aLayer);
};

// Rich text (type code 29).
class TZORRichText : public TZORUndrawn<TZORBaseRichText>, public TZORElementIO<TZORRichText> {
public:
    using TZORUndrawn::TZORUndrawn;
    explicit TZORRichText(TZORBaseLabel* aOwner);
    TZORRichText(TZORBaseLabel* aOwner, TZORLayer* aLayer);
};
