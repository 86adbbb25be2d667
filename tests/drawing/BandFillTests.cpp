#include "drawing/Zor.BandFill.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// A row of bars and spaces as a one-dimensional code lays them out: widths in modules of
// `module` pixels from x, all from y to y + height.
std::vector<QRectF> Bars(double x, double y, double module, double height)
{
    const int pattern[] = { 2, 1, 1, 2, 3, 1, 1, 1, 2, 3, 1, 2, 4, 1, 1, 1 }; // bar, space, ...
    std::vector<QRectF> bars;
    for (size_t i = 0; i < std::size(pattern); ++i) {
        if (i % 2 == 0)
            bars.emplace_back(x, y, pattern[i] * module, height);
        x += pattern[i] * module;
    }
    return bars;
}

// The same bars turned a quarter: spans down the page, all over one stretch of columns.
std::vector<QRectF> Turned(const std::vector<QRectF>& bars)
{
    std::vector<QRectF> turned;
    for (const QRectF& r : bars)
        turned.emplace_back(r.y(), r.x(), r.height(), r.width());
    return turned;
}

int MaxDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({ worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                std::abs(qBlue(p) - qBlue(q)) });
        }
    return worst;
}

struct TCase {
    const char* name;
    std::vector<QRectF> rects;
    QColor colour;
    std::function<void(QPainter&)> setUp; // transform, opacity
};

QImage Paint(const TCase& c, bool bands)
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(QColor(250, 240, 200));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (c.setUp)
        c.setUp(p);
    if (bands) {
        zor::FillRects(p, c.rects, c.colour);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(c.colour);
        p.drawRects(c.rects.data(), int(c.rects.size()));
    }
    return image;
}

// Filled as bands, anti-aliased rectangles look as the painter draws them one by one: within
// a step or two of colour at their edges, identical inside.
TEST(BandFill, LooksAsThePainterDrawsTheRectangles)
{
    const std::vector<TCase> cases = {
        { "bars at fractions of a pixel", Bars(10.37, 8.21, 1.134, 45.35), Qt::black, {} },
        { "bars on whole pixels", Bars(10, 8, 2, 40), Qt::black, {} },
        { "bars within one pixel line", Bars(10.37, 8.21, 1.5, 0.5), Qt::black, {} },
        { "bars less than a pixel high", Bars(10.37, 8.6, 1.5, 0.9), Qt::black, {} },
        { "turned bars", Turned(Bars(10.37, 8.21, 1.134, 45.35)), Qt::black, {} },
        { "a translucent colour", Bars(10.37, 8.21, 1.134, 45.35), QColor(20, 40, 200, 128), {} },
        { "under painter opacity", Bars(10.37, 8.21, 1.134, 45.35), Qt::darkGreen,
            [](QPainter& p) { p.setOpacity(0.5); } },
        { "scaled and moved", Bars(2.1, 1.3, 0.45, 18.2), Qt::black,
            [](QPainter& p) {
                p.translate(3.3, 4.6);
                p.scale(2.5, 2.0);
            } },
        { "rows of matrix modules",
            { QRectF(20.3, 10.6, 3.2, 3.2), QRectF(26.7, 10.6, 6.4, 3.2), QRectF(23.5, 13.8, 3.2, 3.2),
                QRectF(30.0, 13.8, 3.2, 3.2), QRectF(20.3, 17.0, 12.9, 3.2) },
            Qt::black, {} },
        { "turned by the painter", Bars(40.2, 10.1, 1.3, 30.0), Qt::black,
            [](QPainter& p) { p.rotate(20.0); } },
    };
    for (const TCase& c : cases)
        EXPECT_LE(MaxDifference(Paint(c, true), Paint(c, false)), 3) << c.name;
}

// Two rectangles meeting inside a pixel cover it whole: no lighter seam where they meet.
TEST(BandFill, RectanglesMeetingInAPixelLeaveNoSeam)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        zor::FillRects(p, { QRectF(2.0, 2.0, 3.5, 10.0), QRectF(5.5, 2.0, 4.5, 10.0) }, Qt::black);
    }
    for (int x = 2; x < 10; ++x)
        EXPECT_EQ(image.pixel(x, 6), qRgb(0, 0, 0)) << "column " << x;
    EXPECT_EQ(image.pixel(10, 6), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 12), qRgb(255, 255, 255));
}

// A vector device keeps the rectangles: a PDF holds no image for them.
TEST(BandFill, AVectorDeviceGetsRectangles)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A6));
        writer.setResolution(300);
        QPainter p(&writer);
        p.setRenderHint(QPainter::Antialiasing);
        zor::FillRects(p, Bars(100.3, 100.7, 3.4, 140.0), Qt::black);
    }
    EXPECT_FALSE(pdf.data().contains("/Subtype /Image"));
    EXPECT_TRUE(pdf.data().contains("/Page"));
}

} // namespace
