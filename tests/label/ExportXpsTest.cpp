#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.XpsWriter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

namespace {

using namespace zor::test;

// A page of 100 x 60 mm drawn at dpi, as the export draws documents.
class XpsWriter : public TempDirTest {
protected:
    QString Save(zor::TXpsDocument& doc)
    {
        const QString path = Path(QStringLiteral("page.xps"));
        EXPECT_TRUE(WriteFile(path, doc.Package()));
        return path;
    }
    static QPoint At(double xmm, double ymm) { return { int(xmm * 96 / 25.4), int(ymm * 96 / 25.4) }; }
};

} // namespace

TEST_F(XpsWriter, FillsStrokesImagesAndTextLandWhereThePainterPutThemAtEachResolution)
{
    for (const int dpi : { 96, 300 }) {
        SCOPED_TRACE(dpi);
        const double px = dpi / 25.4; // device pixels per millimetre
        zor::TXpsDocument doc(QSizeF(100, 60), dpi);
        {
            QPainter p(&doc);
            p.fillRect(QRectF(10 * px, 10 * px, 20 * px, 10 * px), QColor(255, 0, 0));
            p.setPen(QPen(QColor(0, 0, 255), 2 * px));
            p.drawLine(QPointF(40 * px, 15 * px), QPointF(90 * px, 15 * px));
            // An image of 150 x 75 pixels stretched over 20 x 10 mm, moved by the world transform.
            QImage image(150, 75, QImage::Format_RGB32);
            image.fill(QColor(0, 160, 0));
            p.save();
            p.translate(10 * px, 30 * px);
            p.drawImage(QRectF(0, 0, 20 * px, 10 * px), image);
            p.restore();
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(int(8 * px));
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QPointF(40 * px, 45 * px), QStringLiteral("XPS"));
        }
        const QImage page = XpsPage(Save(doc), 1, 96).convertToFormat(QImage::Format_ARGB32);
        EXPECT_NEAR(page.width(), 100 * 96 / 25.4, 1);
        EXPECT_NEAR(page.height(), 60 * 96 / 25.4, 1);
        EXPECT_TRUE(ColourNear(page, At(20, 15), QColor(255, 0, 0), 8));
        EXPECT_TRUE(ColourNear(page, At(65, 15), QColor(0, 0, 255), 8));
        EXPECT_TRUE(ColourNear(page, At(65, 17.5), Qt::white, 8)); // the 2 mm line ends at 16 mm
        EXPECT_TRUE(ColourNear(page, At(20, 35), QColor(0, 160, 0), 8)); // the image, whole size
        EXPECT_TRUE(ColourNear(page, At(29, 39), QColor(0, 160, 0), 16));
        EXPECT_TRUE(ColourNear(page, At(31, 41), Qt::white, 8));
        const QRect text = InkBounds(page, {}, QRect(At(38, 35), At(80, 50)));
        ASSERT_FALSE(text.isNull());
        EXPECT_NEAR(text.left(), At(40, 0).x(), 3);
        EXPECT_NEAR(text.bottom(), At(0, 45).y(), 3);
    }
}

TEST_F(XpsWriter, EachNewPageIsAPageOfThePackage)
{
    zor::TXpsDocument doc(QSizeF(50, 50), 300);
    {
        QPainter p(&doc);
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                doc.newPage();
            p.fillRect(QRectF(i * 100, 0, 100, 100), Qt::black);
        }
    }
    const std::vector<QImage> pages = XpsPages(Save(doc), 96);
    ASSERT_EQ(pages.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const QRect ink = InkBounds(pages[size_t(i)]);
        EXPECT_NEAR(ink.left(), i * 100 * 96 / 300, 1) << i;
        EXPECT_NEAR(ink.width(), 100 * 96 / 300, 1) << i;
    }
}
