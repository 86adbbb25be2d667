#pragma once

#include "Zor.Barcode.h"
#include "Zor.F2d.h"
#include "Zor.Text.h"
#include "label/Zor.Vcl.Element.h"

// The renderers of the text, image and code elements. Each is its model class plus the
// constructors the factory and the readers use; each kind's drawing comes with its own element
// module.

// The renderer of a kind whose drawing comes with its own element module: it paints and
// prints nothing.
template <class Base> class TZORUndrawn : public Base {
public:
    using Base::Base;

    void Draw(TZORBaseDraw&) override { }
    void Print(TZORBaseDraw&) override { }
};

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

// Image (type code 16).
class TZORImage : public TZORUndrawn<TZORBaseImage>, public TZORElementIO<TZORImage> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// Linear barcode (type code 12).
class TZORBarcode : public TZORUndrawn<TZORBaseBarcode>, public TZORElementIO<TZORBarcode> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// PDF417 (type code 13).
class TZORPDF417 : public TZORUndrawn<TZORBasePDF417>, public TZORElementIO<TZORPDF417> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// DataMatrix (type code 14).
class TZORDataMatrix : public TZORUndrawn<TZORBaseDataMatrix>, public TZORElementIO<TZORDataMatrix> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// QR code (type code 15).
class TZORQRCode : public TZORUndrawn<TZORBaseQRCode>, public TZORElementIO<TZORQRCode> {
public:
    using TZORUndrawn::TZORUndrawn;
};
