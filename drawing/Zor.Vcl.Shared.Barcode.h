#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QByteArray>

#include <cstdint>

class IZORBarcode;
class TZORDraw;

// Linear barcodes with their digits on either target. Both lay the symbol out with
// zor::BarcodeLayout, so that a barcode prints as it shows.

namespace zor {

// A linear barcode the model has encoded, on the screen canvas: its bar pattern aligned at
// `position` (the element's first point) along the element's length (`width` at 0° and 180°,
// `height` at 90° and 270°, base units), turned by the barcode's angle, and its code text
// under the bars, split into the digit groups for EAN and UPC, whole and centred otherwise.
// `fontFactor` scales the text. The canvas transform is left as it was.
QUINDLE_VCL_EXPORT void DrawBarcode(TZORDraw& D, const IZORBarcode& barcode, const TZORPto& position,
    TAlphaColor colour, int32_t width, int32_t height, double fontFactor);

// A linear barcode on the printer: bars as rectangles with the context's brush, text with its
// canvas. `length` is the symbol's length along the bars in base units; `unused` is not read.
// `code` and `pattern` are the text and bar pattern to print (the printed value after data
// substitution). The brush is left in the barcode colour, the canvas font unturned, the text
// background and alignment as they were, and the context's world transform reset.
QUINDLE_VCL_EXPORT void PrintBarcode(TZORDraw& D, const IZORBarcode& barcode, const TZORPto& position,
    TAlphaColor colour, int32_t length, int32_t unused, double fontFactor, const QByteArray& code,
    const QByteArray& pattern);

} // namespace zor
