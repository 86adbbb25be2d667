#include "Zor.BandFill.h"

#include "Zor.PainterState.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

// A band no wider than this is filled through images; wider ones are left to the painter.
constexpr double MaxBandPixels = 16384.0;

bool BandsApply(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster && painter.testRenderHint(QPainter::Antialiasing)
        && painter.compositionMode() == QPainter::CompositionMode_SourceOver
        && painter.transform().type() <= QTransform::TxScale;
}

// The rectangles of one band in device pixels, as intervals along the band.
struct TBand {
    double Lo = 0.0, Hi = 0.0; // across the band
    std::vector<std::pair<double, double>> Spans; // along the band
};

// Area coverage of the spans over the pixels from `first`, as premultiplied colour.
QImage CoverageLine(const std::vector<std::pair<double, double>>& spans, int first, int count,
    const QColor& colour, bool vertical)
{
    std::vector<double> cover(size_t(count), 0.0);
    for (const auto& [a, b] : spans)
        for (int px = int(std::floor(a)); px < int(std::ceil(b)); ++px)
            cover[size_t(px - first)] += std::min(b, px + 1.0) - std::max(a, double(px));
    QImage line(vertical ? 1 : count, vertical ? count : 1, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < count; ++i) {
        QColor c = colour;
        c.setAlphaF(float(colour.alphaF() * std::min(cover[size_t(i)], 1.0)));
        line.setPixel(vertical ? 0 : i, vertical ? i : 0, qPremultiply(c.rgba()));
    }
    return line;
}

// Draws the line image over the pixel lines from `at` (count lines) across the band.
void DrawLines(QPainter& painter, const QImage& line, int first, int at, int count, bool vertical)
{
    const QRect target
        = vertical ? QRect(at, first, count, line.height()) : QRect(first, at, line.width(), count);
    painter.drawImage(target, line);
}

// Where the band's spans begin and end along it.
std::pair<double, double> Extent(const TBand& band)
{
    double lo = band.Spans.front().first, hi = band.Spans.front().second;
    for (const auto& [a, b] : band.Spans) {
        lo = std::min(lo, a);
        hi = std::max(hi, b);
    }
    return { lo, hi };
}

void FillBand(QPainter& painter, const TBand& band, const QColor& colour, bool vertical)
{
    const auto [lo, hi] = Extent(band);
    const int first = int(std::floor(lo));
    const QImage line = CoverageLine(band.Spans, first, int(std::ceil(hi)) - first, colour, vertical);
    const double opacity = painter.opacity();
    const int whole0 = int(std::ceil(band.Lo)), whole1 = int(std::floor(band.Hi));
    if (whole1 < whole0) { // the band lies within one pixel line
        painter.setOpacity(opacity * (band.Hi - band.Lo));
        DrawLines(painter, line, first, whole1, 1, vertical);
        painter.setOpacity(opacity);
        return;
    }
    if (whole1 > whole0)
        DrawLines(painter, line, first, whole0, whole1 - whole0, vertical);
    if (band.Lo < whole0) {
        painter.setOpacity(opacity * (whole0 - band.Lo));
        DrawLines(painter, line, first, whole0 - 1, 1, vertical);
    }
    if (band.Hi > whole1) {
        painter.setOpacity(opacity * (band.Hi - whole1));
        DrawLines(painter, line, first, whole1, 1, vertical);
    }
    painter.setOpacity(opacity);
}

void AddSpan(std::map<std::pair<double, double>, TBand>& bands, double lo, double hi, double a, double b)
{
    TBand& band = bands[{ lo, hi }];
    band.Lo = lo;
    band.Hi = hi;
    band.Spans.emplace_back(a, b);
}

bool Fits(const TBand& band)
{
    const auto [lo, hi] = Extent(band);
    return std::isfinite(lo) && std::isfinite(hi) && std::isfinite(band.Lo) && std::isfinite(band.Hi)
        && hi - lo <= MaxBandPixels && std::abs(lo) < 1e6 && std::abs(band.Lo) < 1e6
        && std::abs(band.Hi) < 1e6;
}

} // namespace

void zor::FillRects(QPainter& painter, const std::vector<QRectF>& rects, const QColor& colour)
{
    if (rects.empty())
        return;
    const TPainterState state(painter);
    painter.setPen(Qt::NoPen);
    if (!BandsApply(painter)) {
        painter.setBrush(colour);
        painter.drawRects(rects.data(), int(rects.size()));
        return;
    }
    // The rectangles grouped into bands across the rows (shared top and bottom) and down the
    // columns (shared left and right): the grouping with fewer bands is drawn.
    const QTransform device = painter.transform();
    std::map<std::pair<double, double>, TBand> rows, columns;
    for (const QRectF& r : rects) {
        const QRectF d = device.mapRect(r.normalized());
        if (d.isEmpty())
            continue;
        AddSpan(rows, d.top(), d.bottom(), d.left(), d.right());
        AddSpan(columns, d.left(), d.right(), d.top(), d.bottom());
    }
    const bool vertical = columns.size() < rows.size();
    painter.resetTransform();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setBrush(colour);
    for (const auto& [key, band] : vertical ? columns : rows) {
        if (Fits(band)) {
            FillBand(painter, band, colour, vertical);
            continue;
        }
        for (const auto& [a, b] : band.Spans)
            painter.drawRect(vertical ? QRectF(band.Lo, a, band.Hi - band.Lo, b - a)
                                      : QRectF(a, band.Lo, b - a, band.Hi - band.Lo));
    }
}
