#include "drawing/Zor.GdiPlus.h"
#include "kit/Documents.h"
#include "kit/TempDir.h"

#include <QColor>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <functional>

using zor::MakeColor;
using zor::TGPColor;
using zor::TGPGraphics;
using zor::TGPGraphicsPath;
using zor::TGPPen;
using zor::TSmoothingMode;

// Stroked rectangles on a PDF page: written as rectangles (a framed text on every label of a
// run must not cost four lines and a close each), and drawn where the path would be.
namespace {

constexpr int Dpi = 300;
const TGPColor Black = MakeColor(255, 0, 0, 0);

class PdfStroke : public zor::test::TempDirTest {
protected:
    // A 50 x 50 mm page at 300 dpi with what draw strokes through the graphics on it.
    QString Page(const QString& name, const std::function<void(QPainter&)>& draw)
    {
        const QString pdf = Path(name + QStringLiteral(".pdf"));
        QPdfWriter writer(pdf);
        writer.setResolution(Dpi);
        writer.setPageSize(QPageSize(QSizeF(50, 50), QPageSize::Millimeter));
        writer.setPageMargins({});
        QPainter painter(&writer);
        draw(painter);
        return pdf;
    }
};

struct TCase {
    const char* name;
    std::function<void(TGPGraphics&, const TGPPen&)> stroke;
    QPoint shift; // where the frame lies from (100, 100)
};

// Each way of stroking a rectangle draws its frame of 300 x 200 pixels: dark on the edges, light
// inside and outside.
TEST_F(PdfStroke, ARectangleIsDrawnOnItsEdges)
{
    const TCase cases[] = {
        { "rectangle", [](TGPGraphics& g, const TGPPen& pen) { g.DrawRectangle(pen, 100, 100, 300, 200); },
            {} },
        { "path of a rectangle",
            [](TGPGraphics& g, const TGPPen& pen) {
                TGPGraphicsPath path;
                path.AddRectangle(QRectF(100, 100, 300, 200));
                g.DrawPath(pen, path);
            },
            {} },
        { "closed polygon",
            [](TGPGraphics& g, const TGPPen& pen) {
                g.DrawPolygon(pen, { { 100, 100 }, { 400, 100 }, { 400, 300 }, { 100, 300 } });
            },
            {} },
        { "moved by the world transform",
            [](TGPGraphics& g, const TGPPen& pen) {
                g.TranslateTransform(40, 20);
                g.DrawRectangle(pen, 100, 100, 300, 200);
            },
            { 40, 20 } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pdf = Page(QString::fromLatin1(c.name), [&](QPainter& painter) {
            TGPGraphics g(painter);
            g.SetSmoothingMode(TSmoothingMode::AntiAlias);
            c.stroke(g, TGPPen(Black, 8.0f));
        });
        const QImage page = zor::test::PdfPage(pdf, 1, Dpi);
        const auto grey = [&](int x, int y) { return qGray(page.pixel(c.shift + QPoint(x, y))); };
        for (const QPoint edge : { QPoint(250, 100), QPoint(250, 300), QPoint(100, 200), QPoint(400, 200) })
            EXPECT_LT(grey(edge.x(), edge.y()), 64) << "edge at " << edge.x() << ", " << edge.y();
        for (const QPoint light : { QPoint(250, 200), QPoint(250, 85), QPoint(85, 200), QPoint(415, 200) })
            EXPECT_GT(grey(light.x(), light.y()), 192) << "light at " << light.x() << ", " << light.y();
    }
}

// Many frames through the graphics make a smaller page than the same frames stroked as paths.
TEST_F(PdfStroke, FramesAsRectanglesMakeASmallerPage)
{
    const auto frames = [](const std::function<void(const QRectF&)>& frame) {
        for (int i = 0; i < 400; ++i)
            frame(QRectF(10 + (i % 20) * 28.3, 10 + (i / 20) * 28.7, 20.1 + i % 7, 15.3 + i % 5));
    };
    const QString graphics = Page(QStringLiteral("graphics"), [&](QPainter& painter) {
        TGPGraphics g(painter);
        const TGPPen pen(Black, 2.0f);
        frames([&](const QRectF& r) { g.DrawRectangle(pen, r.x(), r.y(), r.width(), r.height()); });
    });
    const QString paths = Page(QStringLiteral("paths"), [&](QPainter& painter) {
        frames([&](const QRectF& r) {
            QPainterPath path;
            path.addRect(r);
            painter.strokePath(path, QPen(Qt::black, 2.0));
        });
    });
    EXPECT_LT(QFileInfo(graphics).size(), QFileInfo(paths).size() * 3 / 4);
}

} // namespace
