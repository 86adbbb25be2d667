#include "Zor.Shape.h"

#include "Zor.F2d.h"
#include "Zor.Flow.h"
#include "Zor.Line.h"
#include "Zor.Utils.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

using zor::ItemShape;

namespace {

using TPath = TZORShape::TPath;
using TArea = TZORShape::TArea;

// Segments per full turn of a flattened circle or ellipse, and per Bézier curve.
constexpr int TurnSegments = 96;
constexpr int CurveSegments = 16;

QPointF P(const TZORPto& p)
{
    return { double(p.X), double(p.Y) };
}

TPath Through(const TZORBaseItem& item, int32_t from, int32_t to, bool closed)
{
    TPath path;
    path.Closed = closed;
    for (int32_t i = from; i <= to; ++i)
        path.Points.push_back(P(item.GetPoint(i)));
    return path;
}

TPath Box(const TZORRect& b)
{
    const TZORRect r = b.Normalized();
    return { { { double(r.Left), double(r.Top) }, { double(r.Right), double(r.Top) },
                 { double(r.Right), double(r.Bottom) }, { double(r.Left), double(r.Bottom) } },
        true };
}

// The arc of the ellipse (cx, cy, rx, ry) from start sweeping by sweep (radians, clockwise on
// screen).
TPath EllipseArc(double cx, double cy, double rx, double ry, double start, double sweep)
{
    TPath path;
    const int n = std::max(2, int(std::ceil(std::abs(sweep) / (2 * std::numbers::pi) * TurnSegments)));
    for (int i = 0; i <= n; ++i) {
        const double a = start + sweep * i / n;
        path.Points.emplace_back(cx + rx * std::cos(a), cy + ry * std::sin(a));
    }
    return path;
}

TPath Ellipse(const TZORRect& b)
{
    const TZORRect r = b.Normalized();
    TPath path = EllipseArc((r.Left + r.Right) / 2.0, (r.Top + r.Bottom) / 2.0, r.GetWidth() / 2.0,
        r.GetHeight() / 2.0, 0.0, 2 * std::numbers::pi);
    path.Points.pop_back();
    path.Closed = true;
    return path;
}

QPointF Cubic(const QPointF& a, const QPointF& b, const QPointF& c, const QPointF& d, double t)
{
    const double u = 1 - t;
    return a * (u * u * u) + b * (3 * u * u * t) + c * (3 * u * t * t) + d * (t * t * t);
}

// A chain of cubic curves: points[0] starts it, each curve adds two control points and an end.
TPath Curves(const std::vector<QPointF>& points, bool closed)
{
    TPath path;
    path.Closed = closed;
    if (points.empty())
        return path;
    path.Points.push_back(points[0]);
    for (size_t i = 0; i + 3 < points.size(); i += 3)
        for (int k = 1; k <= CurveSegments; ++k)
            path.Points.push_back(
                Cubic(points[i], points[i + 1], points[i + 2], points[i + 3], double(k) / CurveSegments));
    return path;
}

void ArcShape(const TZORBaseArc& arc, TZORShape& s)
{
    const double r = double(arc.GetBaseRadio());
    s.Paths.push_back(EllipseArc(double(arc.GetBaseCenterX()), double(arc.GetBaseCenterY()), r, r,
        arc.GetAngleStart(), arc.GetAngleSweep()));
}

void SectorShape(const TZORBaseSector& sector, TZORShape& s)
{
    const TZORRect b = sector.GetBounds().Normalized();
    if (sector.IsFullCircle()) {
        s.Paths.push_back(Ellipse(b));
        return;
    }
    const double cx = (b.Left + b.Right) / 2.0, cy = (b.Top + b.Bottom) / 2.0, r = b.GetWidth() / 2.0;
    TPath path = EllipseArc(
        cx, cy, r, r, zor::DegToRad(sector.GetDrawStart()), zor::DegToRad(sector.GetSweepAngle()));
    path.Points.insert(path.Points.begin(), QPointF(cx, cy));
    path.Closed = true;
    s.Paths.push_back(std::move(path));
}

void LinkShape(const TZORBaseLink& link, TZORShape& s)
{
    const auto course = link.Course();
    if (!course)
        return;
    s.Paths.push_back(course->Cubic ? Curves(course->Points, false) : TPath { course->Points, false });
}

TArea FillArea(const TZORBaseItem& item)
{
    const auto* figure = dynamic_cast<const TZOR2DItem*>(&item);
    return figure && figure->GetFilled() ? TArea::Closed : TArea::None;
}

} // namespace

double zor::SegmentDistance(double x, double y, const QPointF& a, const QPointF& b)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x()) * dx + (y - a.y()) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x() + t * dx), y - (a.y() + t * dy));
}

double TZORShape::Distance(double x, double y) const
{
    double best = std::numeric_limits<double>::max();
    for (const TPath& path : Paths) {
        const auto& pts = path.Points;
        if (pts.size() == 1)
            best = std::min(best, std::hypot(x - pts[0].x(), y - pts[0].y()));
        for (size_t i = 1; i < pts.size(); ++i)
            best = std::min(best, zor::SegmentDistance(x, y, pts[i - 1], pts[i]));
        if (path.Closed && pts.size() > 2)
            best = std::min(best, zor::SegmentDistance(x, y, pts.back(), pts.front()));
    }
    return best;
}

bool TZORShape::Inside(double x, double y) const
{
    bool inside = false;
    for (const TPath& path : Paths) {
        if (!path.Closed)
            continue;
        const auto& pts = path.Points;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const QPointF &a = pts[i], &b = pts[j];
            if ((a.y() > y) != (b.y() > y) && x < (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()) + a.x())
                inside = !inside;
        }
    }
    return inside;
}

namespace {

// Whether the segment a–b passes through the rectangle (Liang–Barsky clipping).
bool SegmentMeets(const QPointF& a, const QPointF& b, const TZORRect& r)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = { -dx, dx, -dy, dy };
    const double q[4] = { a.x() - r.Left, r.Right - a.x(), a.y() - r.Top, r.Bottom - a.y() };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace

bool TZORShape::Meets(const TZORRect& rect) const
{
    const TZORRect r = rect.Normalized();
    for (const TPath& path : Paths) {
        const auto& pts = path.Points;
        if (pts.size() == 1 && r.Contains(zor::Round(pts[0].x()), zor::Round(pts[0].y())))
            return true;
        for (size_t i = 1; i < pts.size(); ++i)
            if (SegmentMeets(pts[i - 1], pts[i], r))
                return true;
        if (path.Closed && pts.size() > 2 && SegmentMeets(pts.back(), pts.front(), r))
            return true;
    }
    // A window wholly inside a drawn area meets it too.
    return Area == TArea::Closed && Inside(double(r.Left), double(r.Top));
}

TZORShape zor::ItemShape(const TZORBaseItem& item)
{
    TZORShape s;
    const int32_t n = item.GetPointsCount();
    switch (item.TypeCode()) {
    case TZORItemType::Point:
        if (n > 0)
            s.Paths.push_back(Through(item, 1, 1, false));
        break;
    case TZORItemType::Line:
    case TZORItemType::ArrowLine:
        if (n >= 2)
            s.Paths.push_back(Through(item, 1, 2, false));
        break;
    case TZORItemType::PolyLine:
        if (n > 0)
            s.Paths.push_back(Through(item, 1, n, false));
        break;
    case TZORItemType::Polygon:
        if (n > 0)
            s.Paths.push_back(Through(item, 1, n, true));
        s.Area = FillArea(item);
        break;
    case TZORItemType::Rectangle:
        s.Paths.push_back(Box(item.GetBounds()));
        s.Area = FillArea(item);
        break;
    case TZORItemType::Circle:
    case TZORItemType::Ellipse:
        s.Paths.push_back(Ellipse(item.GetBounds()));
        s.Area = FillArea(item);
        break;
    case TZORItemType::Level:
        s.Paths.push_back(Ellipse(item.GetBounds()));
        s.Area = TArea::Closed;
        break;
    case TZORItemType::Arc:
        ArcShape(static_cast<const TZORBaseArc&>(item), s);
        break;
    case TZORItemType::Sector:
        SectorShape(static_cast<const TZORBaseSector&>(item), s);
        s.Area = FillArea(item);
        break;
    case TZORItemType::Bezier: {
        std::vector<QPointF> pts;
        for (int32_t i = 1; i <= n; ++i)
            pts.push_back(P(item.GetPoint(i)));
        const bool filled = FillArea(item) == TArea::Closed;
        s.Paths.push_back(Curves(pts, filled));
        s.Area = filled ? TArea::Closed : TArea::None;
        break;
    }
    case TZORItemType::Link:
        LinkShape(static_cast<const TZORBaseLink&>(item), s);
        break;
    default:
        // Texts, codes, pictures, tables, dimensions, symbols and the composite kinds show an area.
        s.Paths.push_back(Box(item.GetBounds()));
        s.Area = TArea::Bounds;
        break;
    }
    return s;
}

bool zor::PickShape(const TZORBaseItem& item, int64_t x, int64_t y, int64_t tol)
{
    const TZORRect b = item.GetBounds().Normalized();
    if (x < b.Left - tol || x > b.Right + tol || y < b.Top - tol || y > b.Bottom + tol)
        return false;
    const TZORShape s = ItemShape(item);
    if (s.Area == TArea::Bounds)
        return true;
    if (s.Area == TArea::Closed && s.Inside(double(x), double(y)))
        return true;
    return s.Distance(double(x), double(y)) <= double(tol);
}
