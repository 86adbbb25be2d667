#include "Zor.Edges.h"

#include "Zor.F2d.h"
#include "Zor.Line.h"
#include "Zor.Utils.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace zor {

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;
// How close two parameters or angles count as one, and a crossing counts as at an end.
constexpr double Eps = 1e-9;

QPointF F(const TZORPto& p)
{
    return { double(p.X), double(p.Y) };
}

TZORPto Rounded(double x, double y)
{
    return { Round(x), Round(y) };
}

double AngleOf(double cx, double cy, QPointF p)
{
    return TDraw2D::NormalizeAngle(std::atan2(p.y() - cy, p.x() - cx));
}

// How far along the arc, from its start in its own sense, the direction angle lies: 0 to 2π.
double Along(const TZORArcSpan& arc, double angle)
{
    return TDraw2D::NormalizeAngle(arc.Sweep >= 0.0 ? angle - arc.Start : arc.Start - angle);
}

bool OnArc(const TZOREdge& e, QPointF p)
{
    if (e.Kind != TZOREdge::TKind::Arc)
        return true;
    const double u = Along({ e.Start, e.Sweep }, AngleOf(e.Cx, e.Cy, p));
    return u <= std::abs(e.Sweep) + Eps || u >= TwoPi - Eps;
}

bool IsRound(const TZOREdge& e)
{
    return e.Kind == TZOREdge::TKind::Circle || e.Kind == TZOREdge::TKind::Arc;
}

// The parameters t along the line through a and b where the edge crosses it.
std::vector<double> LineCrossings(QPointF a, QPointF b, const TZOREdge& e)
{
    std::vector<double> out;
    if (IsRound(e)) {
        for (double t : TDraw2D::CrossLineCircle(a.x(), a.y(), b.x(), b.y(), e.Cx, e.Cy, e.R))
            if (OnArc(e, a + t * (b - a)))
                out.push_back(t);
        return out;
    }
    double t = 0.0, u = 0.0;
    if (TDraw2D::CrossLines(a.x(), a.y(), b.x(), b.y(), e.A.x(), e.A.y(), e.B.x(), e.B.y(), t, u)
        && (e.Kind == TZOREdge::TKind::Line || (u >= -Eps && u <= 1.0 + Eps)))
        out.push_back(t);
    return out;
}

// The points where the edge crosses the circle (cx, cy, r).
std::vector<QPointF> CircleCrossings(double cx, double cy, double r, const TZOREdge& e)
{
    std::vector<QPointF> out;
    if (IsRound(e)) {
        for (QPointF p : TDraw2D::CrossCircles(cx, cy, r, e.Cx, e.Cy, e.R))
            if (OnArc(e, p))
                out.push_back(p);
        return out;
    }
    for (double t : TDraw2D::CrossLineCircle(e.A.x(), e.A.y(), e.B.x(), e.B.y(), cx, cy, r))
        if (e.Kind == TZOREdge::TKind::Line || (t >= -Eps && t <= 1.0 + Eps))
            out.push_back(e.A + t * (e.B - e.A));
    return out;
}

// A run's position s = segment index + parameter on it.
TZORPto RunAt(std::span<const TZORPto> run, double s)
{
    const size_t i = std::min(size_t(std::max(s, 0.0)), run.size() - 2);
    const double t = s - double(i);
    const QPointF a = F(run[i]), b = F(run[i + 1]);
    return Rounded(a.x() + t * (b.x() - a.x()), a.y() + t * (b.y() - a.y()));
}

std::vector<TZORPto> SubRun(std::span<const TZORPto> run, double from, double to)
{
    std::vector<TZORPto> out { RunAt(run, from) };
    for (size_t k = size_t(std::floor(from)) + 1; double(k) < to; ++k)
        out.push_back(run[k]);
    out.push_back(RunAt(run, to));
    return out;
}

// The position on the run nearest to p.
double RunNearest(std::span<const TZORPto> run, const TZORPto& p)
{
    double best = 0.0, bestDistance = INFINITY;
    for (size_t i = 0; i + 1 < run.size(); ++i) {
        const QPointF a = F(run[i]), b = F(run[i + 1]);
        const double t = std::clamp(
            TDraw2D::LineParameter(a.x(), a.y(), b.x(), b.y(), double(p.X), double(p.Y)), 0.0, 1.0);
        const QPointF q = a + t * (b - a);
        const double d = std::hypot(q.x() - double(p.X), q.y() - double(p.Y));
        if (d < bestDistance) {
            bestDistance = d;
            best = double(i) + t;
        }
    }
    return best;
}

// The nearest crossing below `at` and above it, each strictly inside (0, end).
struct TAround {
    std::optional<double> Lo, Hi;
};

TAround Around(const std::vector<double>& crossings, double at, double end)
{
    TAround r;
    for (double s : crossings) {
        if (s <= Eps || s >= end - Eps)
            continue;
        if (s < at - Eps && (!r.Lo || s > *r.Lo))
            r.Lo = s;
        if (s > at + Eps && (!r.Hi || s < *r.Hi))
            r.Hi = s;
    }
    return r;
}

std::vector<TZORPto> AllPoints(const TZORBaseItem& item)
{
    std::vector<TZORPto> out;
    for (int32_t i = 1; i <= item.GetPointsCount(); ++i)
        out.push_back(item.GetPoint(i));
    return out;
}

} // namespace

std::vector<TZOREdge> EdgesOf(const TZORBaseItem& item)
{
    std::vector<TZOREdge> out;
    const auto segment = [&](const TZORPto& a, const TZORPto& b) {
        out.push_back({ .Kind = TZOREdge::TKind::Segment, .A = F(a), .B = F(b) });
    };
    switch (item.TypeCode()) {
    case TZORItemType::Line:
    case TZORItemType::ArrowLine:
    case TZORItemType::PolyLine:
    case TZORItemType::Polygon: {
        const std::vector<TZORPto> run
            = item.TypeCode() == TZORItemType::Polygon ? AllPoints(item) : RunOf(item);
        for (size_t i = 0; i + 1 < run.size(); ++i)
            segment(run[i], run[i + 1]);
        if (item.TypeCode() == TZORItemType::Polygon && run.size() > 2)
            segment(run.back(), run.front());
        break;
    }
    case TZORItemType::Rectangle: {
        const TZORRect b = item.GetBounds().Normalized();
        const TZORPto c[4]
            = { { b.Left, b.Top }, { b.Right, b.Top }, { b.Right, b.Bottom }, { b.Left, b.Bottom } };
        for (int i = 0; i < 4; ++i)
            segment(c[i], c[(i + 1) % 4]);
        break;
    }
    case TZORItemType::Circle: {
        const TZORPto a = item.GetPoint(1), b = item.GetPoint(2);
        out.push_back({ .Kind = TZOREdge::TKind::Circle,
            .Cx = (double(a.X) + double(b.X)) / 2.0,
            .Cy = (double(a.Y) + double(b.Y)) / 2.0,
            .R = std::abs(double(b.X) - double(a.X)) / 2.0 });
        break;
    }
    case TZORItemType::Arc:
        if (const auto* arc = dynamic_cast<const TZORBaseArc*>(&item))
            out.push_back({ .Kind = TZOREdge::TKind::Arc,
                .Cx = double(arc->GetBaseCenterX()),
                .Cy = double(arc->GetBaseCenterY()),
                .R = double(arc->GetBaseRadio()),
                .Start = arc->GetAngleStart(),
                .Sweep = arc->GetAngleSweep() });
        break;
    default:
        break;
    }
    return out;
}

TZOREdge EdgeOf(const TZORRefLine& line)
{
    return { .Kind = TZOREdge::TKind::Line, .A = F(line.P1), .B = F(line.P2) };
}

std::vector<TZORPto> RunOf(const TZORBaseItem& item)
{
    switch (item.TypeCode()) {
    case TZORItemType::Line:
    case TZORItemType::ArrowLine:
        return { item.GetPoint(1), item.GetPoint(2) };
    case TZORItemType::PolyLine:
        return AllPoints(item);
    default:
        return {};
    }
}

std::optional<std::vector<std::vector<TZORPto>>> TrimRun(
    std::span<const TZORPto> run, std::span<const TZOREdge> edges, const TZORPto& click)
{
    if (run.size() < 2)
        return std::nullopt;
    std::vector<double> crossings;
    for (size_t i = 0; i + 1 < run.size(); ++i)
        for (const TZOREdge& e : edges)
            for (double t : LineCrossings(F(run[i]), F(run[i + 1]), e))
                if (t >= -Eps && t <= 1.0 + Eps)
                    crossings.push_back(double(i) + std::clamp(t, 0.0, 1.0));
    const double end = double(run.size() - 1);
    const TAround around = Around(crossings, RunNearest(run, click), end);
    if (!around.Lo && !around.Hi)
        return std::nullopt;
    std::vector<std::vector<TZORPto>> pieces;
    if (around.Lo)
        pieces.push_back(SubRun(run, 0.0, *around.Lo));
    if (around.Hi)
        pieces.push_back(SubRun(run, *around.Hi, end));
    return pieces;
}

std::optional<std::vector<TZORPto>> ExtendRun(
    std::span<const TZORPto> run, std::span<const TZOREdge> edges, const TZORPto& click)
{
    if (run.size() < 2)
        return std::nullopt;
    const bool atEnd = RunNearest(run, click) >= double(run.size() - 1) / 2.0;
    const size_t tip = atEnd ? run.size() - 1 : 0, before = atEnd ? run.size() - 2 : 1;
    const QPointF a = F(run[before]), b = F(run[tip]);
    if (a == b)
        return std::nullopt;
    std::optional<double> nearest;
    for (const TZOREdge& e : edges)
        for (double t : LineCrossings(a, b, e))
            if (t > 1.0 + Eps && (!nearest || t < *nearest))
                nearest = t;
    if (!nearest)
        return std::nullopt;
    std::vector<TZORPto> out(run.begin(), run.end());
    out[tip] = Rounded(a.x() + *nearest * (b.x() - a.x()), a.y() + *nearest * (b.y() - a.y()));
    return out;
}

std::optional<std::vector<TZORArcSpan>> TrimArc(double cx, double cy, double r, TZORArcSpan arc, bool whole,
    std::span<const TZOREdge> edges, const TZORPto& click)
{
    const double clickAngle = AngleOf(cx, cy, F(click));
    if (whole)
        arc = { clickAngle, TwoPi };
    const double sweep = std::abs(arc.Sweep), sign = arc.Sweep >= 0.0 ? 1.0 : -1.0;
    std::vector<double> crossings;
    for (const TZOREdge& e : edges)
        for (QPointF p : CircleCrossings(cx, cy, r, e))
            crossings.push_back(Along(arc, AngleOf(cx, cy, p)));
    if (whole) {
        // The piece under the click goes from the crossing before it to the one after it.
        double first = INFINITY, last = -INFINITY;
        for (double u : crossings)
            if (u > Eps && u < TwoPi - Eps) {
                first = std::min(first, u);
                last = std::max(last, u);
            }
        if (!(last - first > Eps))
            return std::nullopt;
        return std::vector<TZORArcSpan> { { clickAngle + first, last - first } };
    }
    double at = Along(arc, clickAngle);
    if (at > sweep) // beyond the arc: the nearer end
        at = at - sweep < TwoPi - at ? sweep : 0.0;
    const TAround around = Around(crossings, at, sweep);
    if (!around.Lo && !around.Hi)
        return std::nullopt;
    std::vector<TZORArcSpan> pieces;
    if (around.Lo)
        pieces.push_back({ arc.Start, sign * *around.Lo });
    if (around.Hi)
        pieces.push_back({ arc.Start + sign * *around.Hi, sign * (sweep - *around.Hi) });
    return pieces;
}

std::optional<TZORArcSpan> ExtendArc(
    double cx, double cy, double r, TZORArcSpan arc, std::span<const TZOREdge> edges, const TZORPto& click)
{
    const double sweep = std::abs(arc.Sweep), sign = arc.Sweep >= 0.0 ? 1.0 : -1.0;
    const auto onCircle
        = [&](double angle) { return QPointF(cx + r * std::cos(angle), cy + r * std::sin(angle)); };
    const QPointF p = F(click), s = onCircle(arc.Start), e = onCircle(arc.Start + arc.Sweep);
    const bool atEnd = std::hypot(p.x() - e.x(), p.y() - e.y()) <= std::hypot(p.x() - s.x(), p.y() - s.y());
    std::optional<double> nearest; // how much longer the arc gets
    for (const TZOREdge& edge : edges)
        for (QPointF q : CircleCrossings(cx, cy, r, edge)) {
            const double u = Along(arc, AngleOf(cx, cy, q));
            const double more = atEnd ? u - sweep : TDraw2D::NormalizeAngle(TwoPi - u);
            if (more > Eps && sweep + more < TwoPi - Eps && (!nearest || more < *nearest))
                nearest = more;
        }
    if (!nearest)
        return std::nullopt;
    if (atEnd)
        return TZORArcSpan { arc.Start, sign * (sweep + *nearest) };
    return TZORArcSpan { arc.Start - sign * *nearest, sign * (sweep + *nearest) };
}

std::vector<TZORPto> OffsetRun(
    std::span<const TZORPto> points, double distance, const TZORPto& side, bool closed)
{
    std::vector<QPointF> run;
    for (const TZORPto& p : points)
        if (run.empty() || run.back() != F(p))
            run.push_back(F(p));
    if (closed && run.size() > 2 && run.back() == run.front())
        run.pop_back();
    if (run.size() < 2)
        return {};
    const size_t segments = closed && run.size() > 2 ? run.size() : run.size() - 1;
    // The side: that of the segment nearest to the point.
    const std::vector<TZORPto> asRun = [&] {
        std::vector<TZORPto> r;
        for (QPointF q : run)
            r.push_back(Rounded(q.x(), q.y()));
        if (segments == run.size())
            r.push_back(r.front());
        return r;
    }();
    const size_t near = std::min(size_t(RunNearest(asRun, side)), segments - 1);
    const QPointF na = run[near], nb = run[(near + 1) % run.size()];
    const double cross
        = (nb.x() - na.x()) * (double(side.Y) - na.y()) - (nb.y() - na.y()) * (double(side.X) - na.x());
    const double d = cross >= 0.0 ? distance : -distance;
    // Each segment moved along its normal (to the right of its direction on screen for d > 0).
    std::vector<std::pair<QPointF, QPointF>> moved;
    for (size_t i = 0; i < segments; ++i) {
        const QPointF a = run[i], b = run[(i + 1) % run.size()];
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        const QPointF n(-(b.y() - a.y()) / len * d, (b.x() - a.x()) / len * d);
        moved.emplace_back(a + n, b + n);
    }
    const auto corner = [&](size_t i, size_t j) {
        QPointF p;
        const auto& [a, b] = moved[i];
        const auto& [c, e] = moved[j];
        return TDraw2D::IntersectLines(
                   a.x(), a.y(), b.x(), b.y(), c.x(), c.y(), e.x(), e.y(), false, false, p)
            ? p
            : b;
    };
    std::vector<TZORPto> out;
    const auto put = [&](QPointF p) { out.push_back(Rounded(p.x(), p.y())); };
    if (segments == run.size()) {
        for (size_t i = 0; i < segments; ++i)
            put(corner((i + segments - 1) % segments, i));
        return out;
    }
    put(moved.front().first);
    for (size_t i = 1; i < segments; ++i)
        put(corner(i - 1, i));
    put(moved.back().second);
    return out;
}

} // namespace zor
