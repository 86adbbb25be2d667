#include "Zor.GdiPlus.h"

#include "Zor.BandFill.h"
#include "Zor.Paint.h"
#include "Zor.PainterState.h"

#include <QPaintEngine>
#include <QPainter>

#include <array>
#include <optional>
#include <span>

using zor::TDashStyle;
using zor::TFillMode;
using zor::TGPColor;
using zor::TGPGraphics;
using zor::TGPGraphicsPath;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TPenAlignment;
using zor::TSmoothingMode;

namespace {

// Patterns of the predefined dash styles, in pen widths, indexed by TDashStyle.
constexpr std::array<std::array<float, 6>, 5> PresetDashes = { {
    {},
    { 3, 1 },
    { 1, 1 },
    { 3, 1, 1, 1 },
    { 3, 1, 1, 1, 1, 1 },
} };
constexpr std::array<size_t, 5> PresetDashCounts = { 0, 2, 2, 4, 6 };

// A triangle cap has no Qt counterpart; it ends flat.
constexpr Qt::PenCapStyle CapStyles[] = { Qt::FlatCap, Qt::SquareCap, Qt::RoundCap, Qt::FlatCap };
constexpr Qt::PenJoinStyle JoinStyles[] = { Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin, Qt::SvgMiterJoin };

QColor QColorOf(TGPColor c)
{
    return QColor::fromRgba(static_cast<uint32_t>(c));
}

// Closed shapes stroked inset keep the whole stroke inside their box.
QRectF Aligned(const TGPPen& pen, const QRectF& box)
{
    if (pen.GetAlignment() != TPenAlignment::Inset)
        return box;
    const QRectF r = box.normalized();
    const double h = std::min({ pen.GetWidth() / 2.0, r.width() / 2.0, r.height() / 2.0 });
    return r.adjusted(h, h, -h, -h);
}

QPainterPath Polyline(const std::vector<QPointF>& points, bool closed)
{
    QPainterPath path;
    if (points.empty())
        return path;
    path.moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath Ellipse(const QRectF& r)
{
    QPainterPath path;
    path.addEllipse(r);
    return path;
}

QPainterPath Rectangle(const QRectF& r)
{
    QPainterPath path;
    path.addRect(r);
    return path;
}

// The rectangle of a path that is one rectangle as QPainterPath::addRect makes it, if it is one.
std::optional<QRectF> LoneRectangle(const QPainterPath& path)
{
    if (path.elementCount() != 5 || !path.elementAt(0).isMoveTo())
        return std::nullopt;
    const auto at = [&](int i) { return QPointF(path.elementAt(i)); };
    for (int i = 1; i < 5; ++i)
        if (!path.elementAt(i).isLineTo())
            return std::nullopt;
    const QPointF a = at(0), b = at(2);
    if (at(1) != QPointF(b.x(), a.y()) || at(3) != QPointF(a.x(), b.y()) || at(4) != a || b.x() < a.x()
        || b.y() < a.y())
        return std::nullopt;
    return QRectF(a, b);
}

} // namespace

TGPPen::TGPPen(TGPColor color, float width)
    : fColor(color)
    , fWidth(width > 0.0f ? width : 0.0f)
{
}

void TGPPen::SetDashPattern(std::vector<float> pattern)
{
    fDashPattern = std::move(pattern);
    fDashStyle = TDashStyle::Custom;
}

std::vector<double> TGPPen::DeviceDashes() const
{
    std::span<const float> units;
    if (fDashStyle == TDashStyle::Custom)
        units = fDashPattern;
    else if (zor::Ord(fDashStyle) < PresetDashes.size())
        units = std::span(PresetDashes[zor::Ord(fDashStyle)]).first(PresetDashCounts[zor::Ord(fDashStyle)]);
    // A pen of no width draws one pixel and measures its dashes in pixels.
    const double unit = fWidth > 0.0f ? fWidth : 1.0;
    std::vector<double> dashes;
    dashes.reserve(units.size());
    for (float u : units)
        dashes.push_back(u * unit);
    return dashes;
}

QPen TGPPen::Pen() const
{
    QPen pen(QColorOf(fColor));
    pen.setWidthF(fWidth);
    const bool dashed = fDashStyle != TDashStyle::Solid;
    pen.setCapStyle(dashed ? Qt::FlatCap : zor::TableAt(CapStyles, zor::Ord(fStartCap)));
    pen.setJoinStyle(zor::TableAt(JoinStyles, zor::Ord(fJoin)));
    pen.setMiterLimit(fMiterLimit);
    return pen;
}

TGPGraphicsPath::TGPGraphicsPath(TFillMode mode)
{
    SetFillMode(mode);
}

void TGPGraphicsPath::Connect(const QPointF& p)
{
    if (fFigureOpen)
        fPath.lineTo(p);
    else
        fPath.moveTo(p);
    fFigureOpen = true;
}

void TGPGraphicsPath::CloseFigure()
{
    fPath.closeSubpath();
    fFigureOpen = false;
}

void TGPGraphicsPath::AddLine(double x1, double y1, double x2, double y2)
{
    Connect(QPointF(x1, y1));
    fPath.lineTo(x2, y2);
}

void TGPGraphicsPath::AddLines(const std::vector<QPointF>& points)
{
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            Connect(points[i]);
        else
            fPath.lineTo(points[i]);
    }
}

void TGPGraphicsPath::AddArc(double x, double y, double w, double h, double startDeg, double sweepDeg)
{
    const QPainterPath arc = zor::ArcPath(QRectF(x, y, w, h), startDeg, sweepDeg, false);
    if (arc.elementCount() == 0)
        return;
    Connect(arc.elementAt(0));
    fPath.connectPath(arc);
}

void TGPGraphicsPath::AddBezier(const QPointF& p1, const QPointF& c1, const QPointF& c2, const QPointF& p2)
{
    Connect(p1);
    fPath.cubicTo(c1, c2, p2);
}

void TGPGraphicsPath::AddRectangle(const QRectF& r)
{
    fPath.addRect(r);
    fFigureOpen = false;
}

void TGPGraphicsPath::AddEllipse(double x, double y, double w, double h)
{
    fPath.addEllipse(QRectF(x, y, w, h));
    fFigureOpen = false;
}

void TGPGraphicsPath::AddPolygon(const std::vector<QPointF>& points)
{
    fPath.addPath(Polyline(points, true));
    fFigureOpen = false;
}

TFillMode TGPGraphicsPath::GetFillMode() const
{
    return fPath.fillRule() == Qt::OddEvenFill ? TFillMode::Alternate : TFillMode::Winding;
}

void TGPGraphicsPath::SetFillMode(TFillMode mode)
{
    fPath.setFillRule(mode == TFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
}

TGPGraphics::TGPGraphics(QPainter& painter)
    : fPainter(painter)
{
}

namespace {

// The painter in the graphics' state for one drawing call, restored afterwards: the text
// canvas shares it.
class TGraphicsScope {
public:
    TGraphicsScope(QPainter& painter, const QTransform& world, TSmoothingMode smoothing)
        : fState(painter)
    {
        // An unchanged transform is not set again: a PDF page would write it out for nothing.
        if (!world.isIdentity())
            painter.setTransform(world, true);
        painter.setRenderHint(QPainter::Antialiasing,
            smoothing == TSmoothingMode::AntiAlias || smoothing == TSmoothingMode::HighQuality);
    }

private:
    zor::TPainterState fState;
};

} // namespace

void TGPGraphics::Stroke(const TGPPen& pen, const QPainterPath& path)
{
    const TGraphicsScope scope(fPainter, fWorld, fSmoothing);
    const std::vector<double> dashes = pen.DeviceDashes();
    // Qt's PDF engine writes a rectangle drawn as one as one operator, where the same rectangle
    // as a path takes four lines and a close: on a run whose labels frame a text, a seventh of
    // the compressed page. Other devices stroke the path as it is.
    const bool pdf = fPainter.paintEngine() && fPainter.paintEngine()->type() == QPaintEngine::Pdf;
    if (const std::optional<QRectF> box = pdf && dashes.empty() ? LoneRectangle(path) : std::nullopt) {
        fPainter.setPen(pen.Pen());
        fPainter.setBrush(Qt::NoBrush);
        fPainter.drawRect(*box);
        return;
    }
    const double phase = pen.GetDashOffset() * (pen.GetWidth() > 0.0f ? pen.GetWidth() : 1.0);
    fPainter.strokePath(
        dashes.empty() ? path : zor::DashPath(path, dashes, phase, fPainter.combinedTransform()), pen.Pen());
}

void TGPGraphics::Fill(const TGPSolidBrush& brush, const QPainterPath& path)
{
    const TGraphicsScope scope(fPainter, fWorld, fSmoothing);
    fPainter.fillPath(path, QColorOf(brush.GetColor()));
}

void TGPGraphics::Clear(TGPColor c)
{
    zor::ClearDevice(fPainter, QColorOf(c));
}

void TGPGraphics::DrawLine(const TGPPen& pen, double x1, double y1, double x2, double y2)
{
    DrawLines(pen, { QPointF(x1, y1), QPointF(x2, y2) });
}

void TGPGraphics::DrawLines(const TGPPen& pen, const std::vector<QPointF>& points)
{
    Stroke(pen, Polyline(points, false));
}

void TGPGraphics::DrawRectangle(const TGPPen& pen, double x, double y, double w, double h)
{
    Stroke(pen, Rectangle(Aligned(pen, QRectF(x, y, w, h))));
}

void TGPGraphics::DrawEllipse(const TGPPen& pen, double x, double y, double w, double h)
{
    Stroke(pen, Ellipse(Aligned(pen, QRectF(x, y, w, h))));
}

void TGPGraphics::DrawArc(
    const TGPPen& pen, double x, double y, double w, double h, double startDeg, double sweepDeg)
{
    Stroke(pen, zor::ArcPath(QRectF(x, y, w, h), startDeg, sweepDeg, false));
}

void TGPGraphics::DrawPie(
    const TGPPen& pen, double x, double y, double w, double h, double startDeg, double sweepDeg)
{
    Stroke(pen, zor::ArcPath(Aligned(pen, QRectF(x, y, w, h)), startDeg, sweepDeg, true));
}

void TGPGraphics::DrawPolygon(const TGPPen& pen, const std::vector<QPointF>& points)
{
    Stroke(pen, Polyline(points, true));
}

void TGPGraphics::DrawBezier(
    const TGPPen& pen, const QPointF& p1, const QPointF& c1, const QPointF& c2, const QPointF& p2)
{
    QPainterPath path(p1);
    path.cubicTo(c1, c2, p2);
    Stroke(pen, path);
}

void TGPGraphics::DrawPath(const TGPPen& pen, const TGPGraphicsPath& path)
{
    Stroke(pen, path.Path());
}

void TGPGraphics::FillRectangle(const TGPSolidBrush& brush, double x, double y, double w, double h)
{
    Fill(brush, Rectangle(QRectF(x, y, w, h)));
}

void TGPGraphics::FillRectangles(const TGPSolidBrush& brush, const std::vector<QRectF>& rects)
{
    if (rects.empty())
        return;
    const TGraphicsScope scope(fPainter, fWorld, fSmoothing);
    zor::FillRects(fPainter, rects, QColorOf(brush.GetColor()));
}

void TGPGraphics::FillEllipse(const TGPSolidBrush& brush, double x, double y, double w, double h)
{
    Fill(brush, Ellipse(QRectF(x, y, w, h)));
}

void TGPGraphics::FillPie(
    const TGPSolidBrush& brush, double x, double y, double w, double h, double startDeg, double sweepDeg)
{
    Fill(brush, zor::ArcPath(QRectF(x, y, w, h), startDeg, sweepDeg, true));
}

void TGPGraphics::FillPolygon(const TGPSolidBrush& brush, const std::vector<QPointF>& points, TFillMode mode)
{
    QPainterPath path = Polyline(points, true);
    path.setFillRule(mode == TFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    Fill(brush, path);
}

void TGPGraphics::FillPath(const TGPSolidBrush& brush, const TGPGraphicsPath& path)
{
    Fill(brush, path.Path());
}

void TGPGraphics::TranslateTransform(double dx, double dy)
{
    fWorld.translate(dx, dy);
}

void TGPGraphics::RotateTransform(double degrees)
{
    fWorld.rotate(degrees);
}

void TGPGraphics::ResetTransform()
{
    fWorld.reset();
}
