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

using zor::TPainterState;

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

// An interval of device pixels, from first to second.
using TInterval = std::pair<double, double>;
// Bands by their interval across (top and bottom of a row, left and right of a column), each
// with its rectangles' intervals along it.
using TBands = std::map<TInterval, std::vector<TInterval>>;

// Area coverage of the spans over the pixels from `first`, as premultiplied colour.
QImage CoverageLine(
    const std::vector<TInterval>& spans, int first, int count, const QColor& colour, bool vertical)
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

// Where the spans begin and end along their band.
TInterval Extent(const std::vector<TInterval>& spans)
{
    TInterval extent = spans.front();
    for (const auto& [a, b] : spans) {
        extent.first = std::min(extent.first, a);
        extent.second = std::max(extent.second, b);
    }
    return extent;
}

bool Fits(const TInterval& across, const TInterval& along)
{
    const auto within = [](double v) { return std::isfinite(v) && std::abs(v) < 1e6; };
    return within(across.first) && within(across.second) && within(along.first) && within(along.second)
        && along.second - along.first <= MaxBandPixels;
}

void FillBand(QPainter& painter, const TInterval& across, const std::vector<TInterval>& spans,
    const TInterval& along, const QColor& colour, bool vertical)
{
    const int first = int(std::floor(along.first));
    const QImage line = CoverageLine(spans, first, int(std::ceil(along.second)) - first, colour, vertical);
    const auto [lo, hi] = across;
    const double opacity = painter.opacity();
    const int whole0 = int(std::ceil(lo)), whole1 = int(std::floor(hi));
    if (whole1 < whole0) { // the band lies within one pixel line
        painter.setOpacity(opacity * (hi - lo));
        DrawLines(painter, line, first, whole1, 1, vertical);
        painter.setOpacity(opacity);
        return;
    }
    if (whole1 > whole0)
        DrawLines(painter, line, first, whole0, whole1 - whole0, vertical);
    if (lo < whole0) {
        painter.setOpacity(opacity * (whole0 - lo));
        DrawLines(painter, line, first, whole0 - 1, 1, vertical);
    }
    if (hi > whole1) {
        painter.setOpacity(opacity * (hi - whole1));
        DrawLines(painter, line, first, whole1, 1, vertical);
    }
    painter.setOpacity(opacity);
}

// The device rectangles grouped into rows (shared top and bottom) or into columns (shared left
// and right).
TBands Group(const std::vector<QRectF>& device, bool vertical)
{
    TBands bands;
    for (const QRectF& d : device)
        if (vertical)
            bands[{ d.left(), d.right() }].emplace_back(d.top(), d.bottom());
        else
            bands[{ d.top(), d.bottom() }].emplace_back(d.left(), d.right());
    return bands;
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
    std::vector<QRectF> device;
    device.reserve(rects.size());
    for (const QRectF& r : rects)
        if (const QRectF d = painter.transform().mapRect(r.normalized()); !d.isEmpty())
            device.push_back(d);
    // Bars lying across the page share their rows; turned bars share their columns instead.
    bool vertical = false;
    TBands bands = Group(device, vertical);
    if (bands.size() > 1 && bands.size() * 2 > device.size()) {
        TBands columns = Group(device, true);
        if (columns.size() < bands.size()) {
            bands = std::move(columns);
            vertical = true;
        }
    }
    painter.resetTransform();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setBrush(colour);
    for (const auto& [across, spans] : bands) {
        const TInterval along = Extent(spans);
        if (Fits(across, along)) {
            FillBand(painter, across, spans, along, colour, vertical);
            continue;
        }
        for (const auto& [a, b] : spans)
            painter.drawRect(vertical ? QRectF(across.first, a, across.second - across.first, b - a)
                                      : QRectF(a, across.first, b - a, across.second - across.first));
    }
}
