#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace zor::test {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

QRectF Scaled(const QRectF& rect, double factor)
{
    return { rect.topLeft() * factor, rect.size() * factor };
}

class KitDocuments : public TempDirTest {
protected:
    // Two pages of 100 x 50 mm: "Hello Quindle" with its baseline at (10, 20) mm on the first,
    // "Second page" and a black 20 x 20 mm square at (50, 10) mm on the second.
    QString WritePdf()
    {
        const QString path = Path(QStringLiteral("two-pages.pdf"));
        QPdfWriter writer(path);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QSizeF(100, 50), QPageSize::Millimeter, {}, QPageSize::ExactMatch));
        writer.setPageMargins({}, QPageLayout::Millimeter);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const double dotsPerMm = writer.resolution() / 25.4;
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(14);
        painter.setFont(font);
        painter.drawText(QPointF(10, 20) * dotsPerMm, QStringLiteral("Hello Quindle"));
        writer.newPage();
        painter.drawText(QPointF(10, 40) * dotsPerMm, QStringLiteral("Second page"));
        painter.fillRect(Scaled(QRectF(50, 10, 20, 20), dotsPerMm), Qt::black);
        painter.end();
        return path;
    }
};

TEST_F(KitDocuments, PdfInfoTextAndWordPositions)
{
    const QString pdf = WritePdf();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(PdfPageSize(pdf, 2), QSizeF(283, 142)); // QPdfWriter writes whole points

    EXPECT_THAT(PdfText(pdf).toStdString(), ::testing::ContainsRegex("Hello Quindle.*\f.*Second page"));
    EXPECT_THAT(PdfText(pdf, 2).toStdString(), ::testing::Not(::testing::HasSubstr("Hello")));

    const std::vector<PdfWord> words = PdfWords(pdf);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].text, QStringLiteral("Hello"));
    EXPECT_EQ(words[0].page, 1);
    EXPECT_NEAR(words[0].x, 10 * kPointsPerMm, 1.5);
    EXPECT_LT(words[0].y, 20 * kPointsPerMm);
    EXPECT_GT(words[0].Rect().bottom(), 20 * kPointsPerMm);
    EXPECT_NEAR(words[0].h, 14 * 1.15, 3.0);
    EXPECT_GT(words[1].x, words[0].Rect().right());
    EXPECT_EQ(words[2].text, QStringLiteral("Second"));
    EXPECT_EQ(words[2].page, 2);
    EXPECT_NEAR(words[2].x, 10 * kPointsPerMm, 1.5);
}

TEST_F(KitDocuments, PdfPagesRenderAtTheAskedResolution)
{
    const QString pdf = WritePdf();
    ASSERT_FALSE(pdf.isEmpty());
    const std::vector<QImage> pages = PdfPages(pdf, 72);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), QSize(283, 142));
    EXPECT_TRUE(InkBounds(pages[0], {}, QRect(130, 0, 153, 142)).isNull());

    const QImage second = PdfPage(pdf, 2, 144);
    EXPECT_EQ(second.size(), QSize(566, 284));
    const QRectF square = Scaled(QRectF(50, 10, 20, 20), 144 / 25.4);
    const QRect ink = InkBounds(second, {}, QRect(240, 0, 326, 284)); // right of the text
    EXPECT_NEAR(ink.left(), square.left(), 1.5);
    EXPECT_NEAR(ink.top(), square.top(), 1.5);
    EXPECT_NEAR(ink.width(), square.width(), 1.5);
    EXPECT_NEAR(ink.height(), square.height(), 1.5);

    EXPECT_THROW(PdfPage(pdf, 3, 72), ToolError);
}

TEST_F(KitDocuments, ToolFailuresNameTheFileTheToolOrThePackage)
{
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("broken.pdf")), "not a PDF"));
    EXPECT_THAT([&] { PdfPageCount(Path(QStringLiteral("broken.pdf"))); },
        ::testing::ThrowsMessage<ToolError>(::testing::HasSubstr("pdfinfo")));
    EXPECT_THAT([] { RunTool(QStringLiteral("sleep"), { QStringLiteral("30") }, 200); },
        ::testing::ThrowsMessage<ToolError>(::testing::HasSubstr("time-out")));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", DirPath().toLocal8Bit());
    EXPECT_THAT([&] { PdfPages(Path(QStringLiteral("broken.pdf")), 72); },
        ::testing::ThrowsMessage<ToolError>(
            ::testing::HasSubstr("install the Debian package poppler-utils")));
    EXPECT_THAT([&] { XpsPages(Path(QStringLiteral("broken.xps")), 72); },
        ::testing::ThrowsMessage<ToolError>(
            ::testing::HasSubstr("install the Debian package libgxps-utils")));
    qputenv("PATH", path);
}

// A ZIP archive whose members are stored, not compressed: enough for an XPS package.
class StoredZip {
public:
    void Add(const QByteArray& name, const QByteArray& data)
    {
        const uint32_t crc = Crc32(data);
        QByteArray common = U16(20) + U16(0) + U16(0) + U16(0) + U16(0x21) + U32(crc) + U32(data.size())
            + U32(data.size()) + U16(name.size()) + U16(0);
        fCentral += U32(0x02014b50) + U16(20) + common + U16(0) + U16(0) + U16(0) + U32(0)
            + U32(fLocal.size()) + name;
        fLocal += U32(0x04034b50) + common + name + data;
        ++fCount;
    }

    QByteArray Bytes() const
    {
        return fLocal + fCentral + U32(0x06054b50) + U16(0) + U16(0) + U16(fCount) + U16(fCount)
            + U32(fCentral.size()) + U32(fLocal.size()) + U16(0);
    }

private:
    static QByteArray U16(uint16_t v)
    {
        const uint16_t le = qToLittleEndian(v);
        return { reinterpret_cast<const char*>(&le), 2 };
    }
    static QByteArray U32(uint32_t v)
    {
        const uint32_t le = qToLittleEndian(v);
        return { reinterpret_cast<const char*>(&le), 4 };
    }
    static uint32_t Crc32(const QByteArray& data)
    {
        uint32_t crc = 0xFFFFFFFFu;
        for (const char byte : data) {
            crc ^= uint8_t(byte);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return ~crc;
    }

    QByteArray fLocal;
    QByteArray fCentral;
    uint16_t fCount = 0;
};

// Two 96 x 48 pages (one by a half inch): a red rectangle at (10, 10, 30 x 20) on the first,
// a blue one on the second.
QByteArray TwoPageXps()
{
    const QByteArray page
        = R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" Width="96" Height="48" xml:lang="en-US">
<Path Data="M 10,10 L 40,10 40,30 10,30 Z" Fill="%1"/></FixedPage>)";
    StoredZip zip;
    zip.Add("[Content_Types].xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="fdseq" ContentType="application/vnd.ms-package.xps-fixeddocumentsequence+xml"/>
<Default Extension="fdoc" ContentType="application/vnd.ms-package.xps-fixeddocument+xml"/>
<Default Extension="fpage" ContentType="application/vnd.ms-package.xps-fixedpage+xml"/></Types>)");
    zip.Add("_rels/.rels", R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="R0" Type="http://schemas.microsoft.com/xps/2005/06/fixedrepresentation" Target="/FixedDocumentSequence.fdseq"/></Relationships>)");
    zip.Add("FixedDocumentSequence.fdseq",
        R"(<FixedDocumentSequence xmlns="http://schemas.microsoft.com/xps/2005/06">
<DocumentReference Source="/Documents/1/FixedDocument.fdoc"/></FixedDocumentSequence>)");
    zip.Add(
        "Documents/1/FixedDocument.fdoc", R"(<FixedDocument xmlns="http://schemas.microsoft.com/xps/2005/06">
<PageContent Source="/Documents/1/Pages/1.fpage"/><PageContent Source="/Documents/1/Pages/2.fpage"/></FixedDocument>)");
    zip.Add("Documents/1/Pages/1.fpage", QByteArray(page).replace("%1", "#FFFF0000"));
    zip.Add("Documents/1/Pages/2.fpage", QByteArray(page).replace("%1", "#FF0000FF"));
    return zip.Bytes();
}

TEST_F(KitDocuments, XpsPagesRenderAtTheAskedResolution)
{
    const QString xps = Path(QStringLiteral("two-pages.xps"));
    ASSERT_TRUE(WriteFile(xps, TwoPageXps()));

    const std::vector<QImage> pages = XpsPages(xps, 96);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), QSize(96, 48));
    EXPECT_EQ(InkBounds(pages[0]), QRect(10, 10, 30, 20));
    EXPECT_TRUE(ColourNear(pages[0], { 20, 15 }, Qt::red));
    EXPECT_TRUE(ColourNear(pages[1], { 20, 15 }, Qt::blue));

    const QImage second = XpsPage(xps, 2, 192);
    EXPECT_EQ(second.size(), QSize(192, 96));
    EXPECT_EQ(InkBounds(second), QRect(20, 20, 60, 40));
    EXPECT_TRUE(ColourNear(second, { 40, 30 }, Qt::blue));
}

} // namespace
} // namespace zor::test
