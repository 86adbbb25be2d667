#pragma once

#include "Zor.Barcode.h"
#include "Zor.F2d.h"
#include "label/Zor.Vcl.Element.h"

// The renderers of the image and code elements: image, linear barcode, PDF417, DataMatrix and
// QR code.

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
