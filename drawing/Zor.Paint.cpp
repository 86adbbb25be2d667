#include "Zor.Paint.h"

#include "Zor.PainterState.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <numeric>

using zor::TAlphaColor;
using zor::TSkCanvas;
using zor::TSkFont;
using zor::TSkFontStyle;
using zor::TSkPaint;
using zor::TSkPaintStyle;
using zor::TSkPathEffect;

namespace {

// Beyond this many pattern repeats a dash is finer than anything a device shows, and splitting
// the path would only cost time and memory: such a stroke is drawn solid.
constexpr double MaxDashRepeats = 100000.0;

bool ValidDash(const std::vector<double>& intervals)
{
    if (intervals.empty() || intervals.size() % 2 != 0)
        return false;
    double sum = 0.0;
    for (double v : intervals) {
        if (!std::isfinite(v) || v < 0.0)
            return false;
        sum += v;
    }
    return sum > 0.0;
}

double PolylineLength(const QPolygonF& poly)
{
    double length = 0.0;
    for (qsizetype i = 1; i < poly.size(); ++i)
        length += QLineF(poly[i - 1], poly[i]).length();
    return length;
}

// Walks a dash pattern along polylines, appending the "on" stretches to a path.
class TDasher {
public:
    TDasher(const std::vector<double>& intervals, double phase)
        : fIntervals(intervals)
        , fTotal(std::accumulate(intervals.begin(), intervals.end(), 0.0))
        , fPhase(std::isfinite(phase) ? phase : 0.0)
    {
    }

    double Total() const { return fTotal; }

    void Walk(const QPolygonF& poly, QPainterPath& out)
    {
        if (poly.size() < 2)
            return;
        Start();
        if (On())
            out.moveTo(poly[0]);
        for (qsizetype i = 1; i < poly.size(); ++i) {
            const QPointF a = poly[i - 1], b = poly[i];
            const double seg = QLineF(a, b).length();
            double t = 0.0;
            while (seg - t > fLeft) {
                t += fLeft;
                const QPointF p = a + (b - a) * (t / seg);
                if (On())
                    out.lineTo(p);
                Next();
                if (On())
                    out.moveTo(p);
            }
            fLeft -= seg - t;
            if (On())
                out.lineTo(b);
        }
    }

private:
    // Every subpath starts the pattern at the phase again.
    void Start()
    {
        double offset = std::fmod(fPhase, fTotal);
        if (offset < 0.0)
            offset += fTotal;
        fIndex = 0;
        while (offset >= fIntervals[fIndex]) {
            offset -= fIntervals[fIndex];
            fIndex = (fIndex + 1) % fIntervals.size();
        }
        fLeft = fIntervals[fIndex] - offset;
    }

    void Next()
    {
        fIndex = (fIndex + 1) % fIntervals.size();
        fLeft = fIntervals[fIndex];
    }

    bool On() const { return fIndex % 2 == 0; }

    const std::vector<double>& fIntervals;
    double fTotal;
    double fPhase;
    size_t fIndex = 0;
    double fLeft = 0.0;
};

constexpr Qt::PenCapStyle CapStyles[] = { Qt::FlatCap, Qt::RoundCap, Qt::SquareCap };
constexpr Qt::PenJoinStyle JoinStyles[] = { Qt::MiterJoin, Qt::RoundJoin, Qt::BevelJoin };

bool Fills(const TSkPaint& paint)
{
    return paint.GetStyle() != TSkPaintStyle::Stroke;
}

bool Strokes(const TSkPaint& paint)
{
    return paint.GetStyle() != TSkPaintStyle::Fill;
}

} // namespace

namespace zor {

QPainterPath ArcPath(const QRectF& oval, double startDeg, double sweepDeg, bool useCenter)
{
    // Qt counts angles counter-clockwise with y down: the clockwise angles change sign.
    QPainterPath path;
    if (useCenter) {
        path.moveTo(oval.center());
        path.arcTo(oval, -startDeg, -sweepDeg);
        path.closeSubpath();
    } else {
        path.arcMoveTo(oval, -startDeg);
        path.arcTo(oval, -startDeg, -sweepDeg);
    }
    return path;
}

QPainterPath DashPath(
    const QPainterPath& path, const std::vector<double>& intervals, double phase, const QTransform& toDevice)
{
    if (!ValidDash(intervals))
        return path;
    bool invertible = false;
    const QTransform back = toDevice.inverted(&invertible);
    QList<QPolygonF> polys = invertible ? path.toSubpathPolygons(toDevice) : path.toSubpathPolygons();
    double length = 0.0;
    for (QPolygonF& poly : polys) {
        if (invertible)
            poly = back.map(poly);
        length += PolylineLength(poly);
    }
    TDasher dasher(intervals, phase);
    if (length / dasher.Total() > MaxDashRepeats)
        return path;
    QPainterPath out;
    for (const QPolygonF& poly : polys)
        dasher.Walk(poly, out);
    return out;
}

QColor ToQColor(TAlphaColor c)
{
    return QColor::fromRgba(Ord(c));
}

void ClearDevice(QPainter& painter, const QColor& c)
{
    const QPaintDevice* device = painter.device();
    if (!device)
        return;
    painter.save();
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(0, 0, device->width(), device->height()), c);
    painter.restore();
}

} // namespace zor

TSkPathEffect TSkPathEffect::MakeDash(std::vector<double> intervals, double phase)
{
    TSkPathEffect e;
    e.fKind = TKind::Dash;
    e.fIntervals = std::move(intervals);
    e.fPhase = phase;
    return e;
}

TSkPathEffect TSkPathEffect::MakeStrokeAndFill()
{
    TSkPathEffect e;
    e.fKind = TKind::StrokeAndFill;
    return e;
}

bool TSkPathEffect::Dashes() const
{
    return fKind == TKind::Dash && ValidDash(fIntervals);
}

QPen TSkPaint::Pen() const
{
    QPen pen(zor::ToQColor(fColor));
    pen.setWidthF(fStrokeWidth);
    pen.setCapStyle(zor::TableAt(CapStyles, zor::Ord(fCap)));
    pen.setJoinStyle(zor::TableAt(JoinStyles, zor::Ord(fJoin)));
    pen.setMiterLimit(fMiter);
    return pen;
}

TSkFont::TSkFont(const QString& family, TSkFontStyle style, double size, double scaleX, double skewX)
    : fFace(family, style == TSkFontStyle::Bold || style == TSkFontStyle::BoldItalic,
        style == TSkFontStyle::Italic || style == TSkFontStyle::BoldItalic)
    , fSize(size)
    , fScaleX(scaleX)
    , fSkewX(skewX)
{
}

double TSkFont::MeasureText(QStringView text) const
{
    return fFace.Advance(text) * fSize * fScaleX;
}

TSkFont::TMetrics TSkFont::GetMetrics() const
{
    return { -fFace.Ascent() * fSize, fFace.Descent() * fSize, fFace.Leading() * fSize,
        fFace.UnderlinePos() * fSize };
}

TSkCanvas::TSkCanvas(QPainter& painter)
    : fPainter(painter)
{
}

void TSkCanvas::Clear(TAlphaColor c)
{
    zor::ClearDevice(fPainter, zor::ToQColor(c));
}

void TSkCanvas::DrawLine(double x0, double y0, double x1, double y1, const TSkPaint& paint)
{
    // A line has no inside: Skia draws it with the stroke whatever the style.
    QPainterPath path(QPointF(x0, y0));
    path.lineTo(x1, y1);
    TSkPaint stroke = paint;
    stroke.SetStyle(TSkPaintStyle::Stroke);
    DrawPath(path, stroke);
}

void TSkCanvas::DrawRect(const QRectF& r, const TSkPaint& paint)
{
    QPainterPath path;
    path.addRect(r);
    DrawPath(path, paint);
}

void TSkCanvas::DrawRoundRect(const QRectF& r, double rx, double ry, const TSkPaint& paint)
{
    QPainterPath path;
    path.addRoundedRect(r, rx, ry);
    DrawPath(path, paint);
}

void TSkCanvas::DrawOval(const QRectF& oval, const TSkPaint& paint)
{
    QPainterPath path;
    path.addEllipse(oval);
    DrawPath(path, paint);
}

void TSkCanvas::DrawCircle(double cx, double cy, double radius, const TSkPaint& paint)
{
    DrawOval(QRectF(cx - radius, cy - radius, 2 * radius, 2 * radius), paint);
}

void TSkCanvas::DrawArc(
    const QRectF& oval, double startDeg, double sweepDeg, bool useCenter, const TSkPaint& paint)
{
    DrawPath(zor::ArcPath(oval, startDeg, sweepDeg, useCenter), paint);
}

void TSkCanvas::DrawPath(const QPainterPath& path, const TSkPaint& paint)
{
    const zor::TPainterState state(fPainter);
    fPainter.setRenderHint(QPainter::Antialiasing, paint.GetAntiAlias());
    if (Fills(paint))
        fPainter.fillPath(path, zor::ToQColor(paint.GetColor()));
    if (Strokes(paint)) {
        const TSkPathEffect& e = paint.GetPathEffect();
        fPainter.strokePath(
            e.Dashes() ? zor::DashPath(path, e.Intervals(), e.Phase(), fPainter.combinedTransform()) : path,
            paint.Pen());
    }
}

void TSkCanvas::DrawSimpleText(
    const QString& text, double x, double y, const TSkFont& font, const TSkPaint& paint)
{
    const zor::TPainterState state(fPainter);
    fPainter.setRenderHint(QPainter::Antialiasing, paint.GetAntiAlias());
    fPainter.setRenderHint(QPainter::TextAntialiasing, paint.GetAntiAlias());
    fPainter.translate(x, y);
    fPainter.shear(font.fSkewX, 0.0);
    const bool stroked = paint.GetStyle() == TSkPaintStyle::Stroke
        && paint.GetPathEffect().Kind() != TSkPathEffect::TKind::StrokeAndFill;
    if (stroked) {
        fPainter.strokePath(font.fFace.Outline(QPointF(), font.fSize, text, font.fScaleX), paint.Pen());
    } else {
        fPainter.setPen(zor::ToQColor(paint.GetColor()));
        font.fFace.Draw(fPainter, QPointF(), font.fSize, text, font.fScaleX);
    }
}

void TSkCanvas::Save()
{
    fPainter.save();
}

void TSkCanvas::Restore()
{
    fPainter.restore();
}

void TSkCanvas::Translate(double dx, double dy)
{
    fPainter.translate(dx, dy);
}

void TSkCanvas::Rotate(double degrees)
{
    fPainter.rotate(degrees);
}

void TSkCanvas::Scale(double sx, double sy)
{
    fPainter.scale(sx, sy);
}
