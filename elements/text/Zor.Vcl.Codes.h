#pragma once

#include "Zor.Barcode.h"
#include "Zor.F2d.h"
#include "Zor.Vcl.Text.Frame.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"

#include <QRectF>
#include <QSizeF>

// The renderers of the code elements: linear barcode, PDF417, DataMatrix and QR code. The screen
// shows each element's own code; the printer takes the printed value (the data value of a bound
// element), encodes it afresh and keeps the result to itself, so that the print worker never
// writes what the screen reads.

// Linear barcode (type code 12). An invalid code shows a red cross over the element and prints
// nothing.
class QUINDLE_VCL_EXPORT TZORBarcode : public TZORBaseBarcode, public TZORElementIO<TZORBarcode> {
public:
    using TZORBaseBarcode::TZORBaseBarcode;

    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;
    // Kinds 0 to 2 also measure the text's font.
    void CalcValues(int16_t aFlag) override;
};

// PDF417 (type code 13).
class QUINDLE_VCL_EXPORT TZORPDF417 : public TZORBasePDF417, public TZORElementIO<TZORPDF417> {
public:
    using TZORBasePDF417::TZORBasePDF417;

    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;
};

// DataMatrix (type code 14).
class QUINDLE_VCL_EXPORT TZORDataMatrix : public TZORBaseDataMatrix, public TZORElementIO<TZORDataMatrix> {
public:
    using TZORBaseDataMatrix::TZORBaseDataMatrix;

    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;
};

// QR code (type code 15).
class QUINDLE_VCL_EXPORT TZORQRCode : public TZORBaseQRCode, public TZORElementIO<TZORQRCode> {
public:
    using TZORBaseQRCode::TZORBaseQRCode;

    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;
};

namespace zor {

// A symbol on the device: its first module's corner and the turn, and one module's size in
// device pixels along and across the symbol.
struct QUINDLE_VCL_EXPORT TCodePlace {
    TZORTurn Turn;
    double ModuleW = 0.0;
    double ModuleH = 0.0;
};

// A symbol of `size` paper millimetres placed at the code's point 1 (TZORCodeItem::SymbolRect).
QUINDLE_VCL_EXPORT TCodePlace PlaceSymbol(
    const TZORElementPainter& painter, const TZORCodeItem& code, const QSizeF& size);
// A frame in base units as a device box.
QUINDLE_VCL_EXPORT QRectF FrameBox(const TZORElementPainter& painter, const TZORRect& frame);
// A code's background: its fill without an outline.
QUINDLE_VCL_EXPORT TZORFrameLook CodeLook(const TZOR2DItem& code);

// The dark modules of a symbol in the module colour, without anti-aliasing on screen: module
// (row r, column c) covers local (c × moduleW, r × moduleH) to one module further in `turn`
// (device pixels). The runs of dark modules are filled as one shape, so that no seam shows
// between neighbouring modules on either target.
QUINDLE_VCL_EXPORT void PaintModules(TZORElementPainter& painter, const TZORTurn& turn, double moduleW,
    double moduleH, const TZORCodeSymbol& symbol, TAlphaColor colour);

} // namespace zor
