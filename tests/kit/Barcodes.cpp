#include "kit/Barcodes.h"

#include "kit/Pixels.h"

#include <QPainter>

#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace zor::test {

namespace {

// The area to read, laid on white paper with the quiet zone around it; `origin` is where the
// paper's top-left pixel lies in the caller's image.
QImage Paper(const QImage& image, const DecodeOptions& options, QPoint& origin)
{
    const QRect area = options.crop.isNull() ? image.rect() : options.crop & image.rect();
    if (area.isEmpty())
        return {};
    const int margin = std::max(0, options.quietZone);
    QImage paper(area.size().grownBy({ margin, margin, margin, margin }), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(QPoint(margin, margin), image, area);
    painter.end();
    origin = area.topLeft() - QPoint(margin, margin);
    return paper.convertToFormat(QImage::Format_Grayscale8);
}

QPolygon Corners(const ZXing::Position& position, QPoint origin)
{
    QPolygon corners;
    for (const ZXing::PointI& p : position)
        corners << QPoint(p.x, p.y) + origin;
    return corners;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const Decoded& decoded)
{
    out << decoded.format.toStdString() << " \"" << decoded.text.toStdString() << "\"";
    if (!decoded.ecLevel.isEmpty())
        out << " EC " << decoded.ecLevel.toStdString();
    const QRect box = decoded.position.boundingRect();
    return out << " at (" << box.x() << ", " << box.y() << ") " << box.width() << "x" << box.height();
}

std::vector<Decoded> DecodeBarcodes(const QImage& image, const DecodeOptions& options)
{
    QPoint origin;
    const QImage gray = Paper(image, options, origin);
    if (gray.isNull())
        return {};
    // QImage rows are padded to 4 bytes: the row stride must be passed on.
    const ZXing::ImageView view(
        gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum, int(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(options.formats);
    hints.setTryHarder(options.tryHarder);
    std::vector<Decoded> found;
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        if (!result.isValid())
            continue;
        found.push_back(
            { QString::fromLatin1(ZXing::ToString(result.format())), QString::fromStdString(result.text()),
                QString::fromStdString(result.ecLevel()), Corners(result.position(), origin) });
    }
    return found;
}

std::optional<Decoded> DecodeOne(const QImage& image, const DecodeOptions& options)
{
    std::vector<Decoded> found = DecodeBarcodes(image, options);
    if (found.size() == 1)
        return found.front();
    auto failure = ::testing::AssertionFailure() << "expected one barcode, found " << found.size();
    for (const Decoded& decoded : found)
        failure << "\n  " << decoded;
    ADD_FAILURE() << failure.message() << "\n  image saved to "
                  << SaveForInspection(image, QStringLiteral("barcode")).toStdString();
    return std::nullopt;
}

} // namespace zor::test
