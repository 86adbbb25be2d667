#pragma once

#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <ZXing/BarcodeFormat.h>

#include <optional>
#include <ostream>
#include <vector>

// Reading rendered barcodes back with zxing-cpp, so that a test checks what a scanner would see.
namespace zor::test {

struct DecodeOptions {
    ZXing::BarcodeFormats formats = ZXing::BarcodeFormat::Any;
    // Only this part of the image is read (the whole image when null).
    QRect crop {};
    // White border in pixels added around the image (or crop) before reading: renders are often
    // cut tight to the symbol, and readers need a quiet zone.
    int quietZone = 0;
    bool tryHarder = true;
};

struct Decoded {
    QString format; // zxing-cpp's name: "QRCode", "Code128", "DataMatrix", "PDF417", "EAN13", ...
    QString text; // the content, decoded from UTF-8 (or the symbol's ECI character set)
    QString ecLevel; // error-correction level as zxing-cpp reports it ("M", "Q", ...; empty for linear codes)
    QPolygon position; // corners top-left, top-right, bottom-right, bottom-left in the input image's pixels
};

std::ostream& operator<<(std::ostream& out, const Decoded& decoded);

// Every valid symbol found. Transparent pixels are read as white paper.
std::vector<Decoded> DecodeBarcodes(const QImage& image, const DecodeOptions& options = {});

// The one symbol of the image. Anything else (none, or several) is a failure of the running test
// that lists what was found and saves the image with SaveForInspection; the result is then empty.
std::optional<Decoded> DecodeOne(const QImage& image, const DecodeOptions& options = {});

} // namespace zor::test
