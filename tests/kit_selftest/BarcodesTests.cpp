#include "kit/Barcodes.h"

#include <QPainter>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

namespace zor::test {
namespace {

const std::string kQrText = "Gr\xC3\xBC\xC3\x9F"
                            "e \xE2\x82\xAC 42 quindle";

// The symbol alone (text in UTF-8, announced by an ECI in a QR code), `xScale` x `yScale` pixels per module,
// with no quiet zone; a linear code's single row is stretched to `yScale` pixels.
QImage Symbol(ZXing::BarcodeFormat format, const std::string& text, int xScale, int yScale)
{
    const ZXing::BitMatrix matrix = ZXing::MultiFormatWriter(format)
                                        .setMargin(0)
                                        .setEncoding(ZXing::CharacterSet::UTF8)
                                        .encode(text, 0, 0);
    QImage image(matrix.width() * xScale, matrix.height() * yScale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (int y = 0; y < matrix.height(); ++y)
        for (int x = 0; x < matrix.width(); ++x)
            if (matrix.get(x, y))
                painter.fillRect(x * xScale, y * yScale, xScale, yScale, Qt::black);
    return image;
}

QImage QrSymbol()
{
    return Symbol(ZXing::BarcodeFormat::QRCode, kQrText, 4, 4);
}

// `symbols` drawn side by side from `at` onto a page of `paper`, 80 pixels apart.
QImage Page(const std::vector<QImage>& symbols, QPoint at, const QColor& paper = Qt::white)
{
    QImage page(640, 200, QImage::Format_ARGB32);
    page.fill(paper);
    QPainter painter(&page);
    for (const QImage& symbol : symbols) {
        painter.drawImage(at, symbol);
        at.rx() += symbol.width() + 80;
    }
    return page;
}

TEST(KitBarcodes, QrCodeReadsBackWithTextLevelAndPositionInPagePixels)
{
    const QImage symbol = QrSymbol();
    const std::optional<Decoded> qr
        = DecodeOne(Page({ symbol }, { 60, 30 }), { .formats = ZXing::BarcodeFormat::QRCode });
    ASSERT_TRUE(qr);
    EXPECT_EQ(qr->format, QStringLiteral("QRCode"));
    EXPECT_EQ(qr->text, QString::fromUtf8(kQrText.c_str()));
    EXPECT_FALSE(qr->ecLevel.isEmpty());
    ASSERT_EQ(qr->position.size(), 4);
    const QRect box = qr->position.boundingRect();
    const QRect expected(QPoint(60, 30), symbol.size());
    EXPECT_LE((box.topLeft() - expected.topLeft()).manhattanLength(), 4) << *qr;
    EXPECT_LE((box.bottomRight() - expected.bottomRight()).manhattanLength(), 8) << *qr;
}

TEST(KitBarcodes, TightCropReadsWithAQuietZoneAndKeepsPagePositions)
{
    const QImage symbol = QrSymbol();
    const QRect where(QPoint(150, 50), symbol.size());
    const QImage page = Page({ symbol }, where.topLeft());
    for (const int quietZone : { 15, 40 }) {
        const std::optional<Decoded> qr = DecodeOne(page, { .crop = where, .quietZone = quietZone });
        ASSERT_TRUE(qr) << "quiet zone " << quietZone;
        EXPECT_EQ(qr->text, QString::fromUtf8(kQrText.c_str()));
        EXPECT_LE((qr->position.boundingRect().topLeft() - where.topLeft()).manhattanLength(), 4) << *qr;
    }
}

TEST(KitBarcodes, TransparentBackgroundCountsAsPaper)
{
    const std::optional<Decoded> qr = DecodeOne(QrSymbol(), { .quietZone = 16 });
    ASSERT_TRUE(qr);
    EXPECT_EQ(qr->text, QString::fromUtf8(kQrText.c_str()));
}

TEST(KitBarcodes, Code128ReadsBackWithoutErrorCorrectionLevel)
{
    const QImage symbol = Symbol(ZXing::BarcodeFormat::Code128, "KIT-128 ok", 3, 60);
    const std::optional<Decoded> code = DecodeOne(Page({ symbol }, { 40, 40 }));
    ASSERT_TRUE(code);
    EXPECT_EQ(code->format, QStringLiteral("Code128"));
    EXPECT_EQ(code->text, QStringLiteral("KIT-128 ok"));
    EXPECT_TRUE(code->ecLevel.isEmpty());
    EXPECT_NEAR(code->position.boundingRect().left(), 40, 3) << *code;
}

TEST(KitBarcodes, FormatsLimitWhatIsRead)
{
    const QImage page
        = Page({ QrSymbol(), Symbol(ZXing::BarcodeFormat::Code128, "KIT-128", 3, 60) }, { 20, 20 });
    EXPECT_EQ(DecodeBarcodes(page).size(), 2u);
    const std::vector<Decoded> linear
        = DecodeBarcodes(page, { .formats = ZXing::BarcodeFormat::LinearCodes });
    ASSERT_EQ(linear.size(), 1u);
    EXPECT_EQ(linear[0].text, QStringLiteral("KIT-128"));
    EXPECT_TRUE(DecodeBarcodes(page, { .crop = QRect(2000, 0, 10, 10) }).empty());
}

QImage TwoQrCodes()
{
    return Page({ QrSymbol(), QrSymbol() }, { 20, 20 });
}

QImage BlankPage()
{
    return Page({}, {});
}

TEST(KitBarcodes, DecodeOneFailsOnNoneOrSeveral)
{
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(DecodeOne(BlankPage())), "expected one barcode, found 0");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(DecodeOne(TwoQrCodes())), "expected one barcode, found 2");
}

} // namespace
} // namespace zor::test
