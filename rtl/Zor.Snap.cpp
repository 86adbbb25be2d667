#include "Zor.Snap.h"

#include "Zor.F2d.h"
#include "Zor.Flow.h"
#include "Zor.Label.h"
#include "Zor.Line.h"
#include "Zor.Shape.h"
#include "Zor.Utils.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>

using namespace zor;

void TZORRef::Reset(bool keepBase)
{
    X = Y = 0;
    if (!keepBase)
        BaseX = BaseY = -1;
    ScreenX = ScreenY = 0;
    Marker = 0;
    Snapped = false;
    Valid = false;
}

// --- Mouse filter ---

TMouseFilter::TMouseFilter(int32_t rate, int32_t distance)
    : fInterval(rate > 0 ? 1000 / rate : 0)
    , fDistance(distance > 0 ? distance : 0)
{
    fClock.start();
}

bool TMouseFilter::FilterMouseMove(int32_t x, int32_t y)
{
    return FilterMouseMoveAt(x, y, fClock.elapsed());
}

bool TMouseFilter::FilterMouseMoveAt(int32_t x, int32_t y, int64_t msec)
{
    const bool pass = !fHasLast || msec - fLastTime >= fInterval
        || int64_t(std::abs(x - fLastX)) >= fDistance || int64_t(std::abs(y - fLastY)) >= fDistance;
    if (pass) {
        fHasLast = true;
        fLastX = x;
        fLastY = y;
        fLastTime = msec;
    }
    return pass;
}

void TMouseFilter::ResetPos()
{
    fHasLast = false;
}

// --- Element points ---

namespace {

using TPoints = std::vector<QPointF>;

QPointF P(const TZORPto& p)
{
    return { double(p.X), double(p.Y) };
}

QPointF Mid(const QPointF& a, const QPointF& b)
{
    return (a + b) / 2.0;
}

bool IsBoxKind(TZORItemType t)
{
    switch (t) {
    case TZORItemType::Rectangle:
    case TZORItemType::Paragraph:
    case TZORItemType::RichText:
    case TZORItemType::Image:
    case TZORItemType::Flow:
    case TZORItemType::Table:
    case TZORItemType::Rank:
    case TZORItemType::NutriScore:
    case TZORItemType::Package:
        return true;
    default:
        return false;
    }
}

bool IsRoundKind(TZORItemType t)
{
    return t == TZORItemType::Circle || t == TZORItemType::Ellipse || t == TZORItemType::Level
        || t == TZORItemType::Sector;
}

std::array<QPointF, 4> Corners(const TZORRect& r)
{
    const TZORRect b = r.Normalized();
    return { QPointF(b.Left, b.Top), QPointF(b.Right, b.Top), QPointF(b.Right, b.Bottom), QPointF(b.Left, b.Bottom) };
}

void RunPoints(const TZORBaseItem& item, bool closed, bool middles, TPoints& out)
{
    const int32_t n = item.GetPointsCount();
    for (int32_t i = 1; i <= n; ++i) {
        const QPointF p = P(item.GetPoint(i));
        if (!middles)
            out.push_back(p);
        else if (i < n || (closed && n > 2))
            out.push_back(Mid(p, P(item.GetPoint(i % n + 1))));
    }
}

void EndPoints(const TZORBaseItem& item, TPoints& out)
{
    const TZORItemType t = item.TypeCode();
    if (IsBoxKind(t)) {
        for (const QPointF& c : Corners(item.GetBounds()))
            out.push_back(c);
        return;
    }
    switch (t) {
    case TZORItemType::Line:
    case TZORItemType::ArrowLine:
    case TZORItemType::Dim:
        for (int32_t i = 1; i <= std::min(2, item.GetPointsCount()); ++i)
            out.push_back(P(item.GetPoint(i)));
        break;
    case TZORItemType::PolyLine:
    case TZORItemType::Polygon:
        RunPoints(item, false, false, out);
        break;
    case TZORItemType::Bezier:
        for (int32_t i = 1; i <= item.GetPointsCount(); i += 3)
            out.push_back(P(item.GetPoint(i)));
        break;
    case TZORItemType::Arc: {
        const auto& arc = static_cast<const TZORBaseArc&>(item);
        out.push_back(P(arc.GetPto(1)));
        out.push_back(P(arc.GetPto(3)));
        break;
    }
    case TZORItemType::Link: {
        const auto& link = static_cast<const TZORBaseLink&>(item);
        out.push_back(P(link.GetStartPoint()));
        RunPoints(item, false, false, out);
        out.push_back(P(link.GetEndPoint()));
        break;
    }
    default:
        break;
    }
}

void MiddlePoints(const TZORBaseItem& item, TPoints& out)
{
    const TZORItemType t = item.TypeCode();
    if (IsBoxKind(t)) {
        const auto c = Corners(item.GetBounds());
        for (size_t i = 0; i < 4; ++i)
            out.push_back(Mid(c[i], c[(i + 1) % 4]));
        return;
    }
    switch (t) {
    case TZORItemType::Line:
    case TZORItemType::ArrowLine:
        if (item.GetPointsCount() >= 2)
            out.push_back(Mid(P(item.GetPoint(1)), P(item.GetPoint(2))));
        break;
    case TZORItemType::PolyLine:
    case TZORItemType::Polygon:
        RunPoints(item, t == TZORItemType::Polygon, true, out);
        break;
    case TZORItemType::Arc:
        out.push_back(P(static_cast<const TZORBaseArc&>(item).GetPto(2)));
        break;
    default:
        break;
    }
}

void CentrePoints(const TZORBaseItem& item, TPoints& out)
{
    const TZORItemType t = item.TypeCode();
    if (t == TZORItemType::Arc) {
        const auto& arc = static_cast<const TZORBaseArc&>(item);
        out.emplace_back(double(arc.GetBaseCenterX()), double(arc.GetBaseCenterY()));
    } else if (IsRoundKind(t) || t == TZORItemType::Rectangle) {
        const TZORRect b = item.GetBounds().Normalized();
        out.emplace_back((b.Left + b.Right) / 2.0, (b.Top + b.Bottom) / 2.0);
    }
}

void KindPoints(const TZORBaseItem& item, TZORSnap kind, TPoints& out)
{
    switch (kind) {
    case TZORSnap::End:
        EndPoints(item, out);
        break;
    case TZORSnap::Middle:
        MiddlePoints(item, out);
        break;
    case TZORSnap::Centre:
        CentrePoints(item, out);
        break;
    case TZORSnap::Point:
        if (HasInsertPoint(item) && item.TypeCode() != TZORItemType::Symbol)
            out.push_back(P(item.GetPoint(1)));
        break;
    case TZORSnap::RefSymbol:
        if (item.TypeCode() == TZORItemType::Symbol && item.GetPointsCount() > 0) {
            out.push_back(P(item.GetPoint(1)));
            for (int32_t i = 1; i <= item.GetAnchorsCount(); ++i)
                out.push_back(P(item.GetAnchor(i)));
        }
        break;
    default:
        break;
    }
}

// The strokes of an element as segments.
struct TSegment {
    QPointF A;
    QPointF B;
};

void Segments(const TZORBaseItem& item, std::vector<TSegment>& out)
{
    for (const TZORShape::TPath& path : ItemShape(item).Paths) {
        const auto& pts = path.Points;
        for (size_t i = 1; i < pts.size(); ++i)
            out.push_back({ pts[i - 1], pts[i] });
        if (path.Closed && pts.size() > 2)
            out.push_back({ pts.back(), pts.front() });
    }
}

// The foot of the perpendicular from p on the segment, when it lies on it.
std::optional<QPointF> Foot(const QPointF& p, const TSegment& s)
{
    const QPointF d = s.B - s.A;
    const double len2 = QPointF::dotProduct(d, d);
    if (len2 <= 0)
        return std::nullopt;
    const double t = QPointF::dotProduct(p - s.A, d) / len2;
    if (t < 0 || t > 1)
        return std::nullopt;
    return s.A + d * t;
}

// The points where lines from the base touch the circle of an arc or a round kind.
void TangentPoints(const TZORBaseItem& item, const QPointF& base, TPoints& out)
{
    double cx, cy, r;
    const TZORItemType t = item.TypeCode();
    if (t == TZORItemType::Arc) {
        const auto& arc = static_cast<const TZORBaseArc&>(item);
        cx = double(arc.GetBaseCenterX());
        cy = double(arc.GetBaseCenterY());
        r = double(arc.GetBaseRadio());
    } else if (t == TZORItemType::Circle || t == TZORItemType::Level || t == TZORItemType::Sector) {
        const TZORRect b = item.GetBounds().Normalized();
        cx = (b.Left + b.Right) / 2.0;
        cy = (b.Top + b.Bottom) / 2.0;
        r = b.GetWidth() / 2.0;
    } else {
        return;
    }
    const double dx = base.x() - cx, dy = base.y() - cy, d = std::hypot(dx, dy);
    if (d <= r || r <= 0)
        return;
    const double a = std::atan2(dy, dx), b = std::acos(r / d);
    for (double s : { a + b, a - b })
        out.emplace_back(cx + r * std::cos(s), cy + r * std::sin(s));
}

uint8_t MarkerOf(TZORSnap kind)
{
    switch (kind) {
    case TZORSnap::Centre:
    case TZORSnap::Tangent:
        return 1;
    case TZORSnap::Middle:
    case TZORSnap::Cross:
    case TZORSnap::Perpendicular:
        return 2;
    default:
        return 0;
    }
}

bool Near(const TZORBaseItem& item, int64_t x, int64_t y, int64_t tol)
{
    const TZORRect b = item.GetBounds().Normalized();
    return x >= b.Left - tol && x <= b.Right + tol && y >= b.Top - tol && y <= b.Bottom + tol;
}

} // namespace

bool TZORBaseLabel::SearchPoint(
    int64_t x, int64_t y, int32_t tol, TZORSnap kind, TZORRef& ref, bool editing) const
{
    const QPointF at { double(x), double(y) };
    const QPointF base { double(ref.BaseX), double(ref.BaseY) };
    const bool hasBase = ref.BaseX >= 0 && ref.BaseY >= 0;
    if ((kind == TZORSnap::Tangent || kind == TZORSnap::Perpendicular) && !hasBase)
        return false;
    double best = double(tol);
    std::optional<QPointF> found;
    const auto consider = [&](const QPointF& p) {
        const double d = std::hypot(p.x() - at.x(), p.y() - at.y());
        if (d <= best) {
            best = d;
            found = p;
        }
    };
    TPoints points;
    std::vector<TSegment> crossing; // strokes of the elements met so far, for crossings
    // Reference lines near the pointer cross each other and the elements.
    for (const TZORRefLine& l : fRefLines) {
        if (kind != TZORSnap::Cross)
            break;
        const TSegment s { QPointF(double(l.P1.X), double(l.P1.Y)), QPointF(double(l.P2.X), double(l.P2.Y)) };
        if (SegmentDistance(at.x(), at.y(), s.A, s.B) > tol)
            continue;
        for (const TSegment& o : crossing) {
            QPointF p;
            if (TDraw2D::IntersectLines(
                    s.A.x(), s.A.y(), s.B.x(), s.B.y(), o.A.x(), o.A.y(), o.B.x(), o.B.y(), true, true, p))
                consider(p);
        }
        crossing.push_back(s);
    }
    for (const auto& owned : fItems) {
        const TZORBaseItem& item = *owned;
        if (item.IsPreview() || !item.HasOption(ioView) || (editing && IsSelected(&item)))
            continue;
        // Symbols' connection points may lie outside their bounds.
        if (kind != TZORSnap::RefSymbol && !Near(item, x, y, tol))
            continue;
        points.clear();
        switch (kind) {
        case TZORSnap::Tangent:
            TangentPoints(item, base, points);
            break;
        case TZORSnap::Perpendicular:
        case TZORSnap::Cross: {
            std::vector<TSegment> segments;
            Segments(item, segments);
            for (const TSegment& s : segments) {
                if (SegmentDistance(at.x(), at.y(), s.A, s.B) > tol)
                    continue;
                if (kind == TZORSnap::Perpendicular) {
                    if (const auto f = Foot(base, s))
                        points.push_back(*f);
                    continue;
                }
                for (const TSegment& o : crossing) {
                    QPointF p;
                    if (TDraw2D::IntersectLines(s.A.x(), s.A.y(), s.B.x(), s.B.y(), o.A.x(), o.A.y(), o.B.x(),
                            o.B.y(), true, true, p))
                        points.push_back(p);
                }
            }
            for (const TSegment& s : segments)
                if (SegmentDistance(at.x(), at.y(), s.A, s.B) <= tol)
                    crossing.push_back(s);
            break;
        }
        default:
            KindPoints(item, kind, points);
            break;
        }
        for (const QPointF& p : points)
            consider(p);
    }
    if (!found)
        return false;
    ref.X = Round(found->x());
    ref.Y = Round(found->y());
    ref.Marker = MarkerOf(kind);
    ref.Valid = true;
    return true;
}

bool TZORBaseLabel::SearchSnap(int64_t x, int64_t y, int32_t tol, uint16_t snaps, TZORRef& ref, bool editing) const
{
    static constexpr TZORSnap order[] = { TZORSnap::End, TZORSnap::Middle, TZORSnap::Centre, TZORSnap::Tangent,
        TZORSnap::Perpendicular, TZORSnap::Point, TZORSnap::Cross, TZORSnap::RefSymbol };
    for (TZORSnap kind : order)
        if ((snaps & SnapBit(kind)) != 0 && SearchPoint(x, y, tol, kind, ref, editing))
            return true;
    return false;
}

bool TZORBaseLabel::SearchLink(int64_t x, int64_t y, TZORink& link, int32_t tol) const
{
    double best = double(tol);
    link.Found = false;
    for (auto it = fItems.rbegin(); it != fItems.rend(); ++it) {
        const TZORBaseItem& item = **it;
        if (item.TypeCode() == TZORItemType::Link || item.IsPreview() || !item.HasOption(ioView))
            continue;
        for (int32_t i = 1; i <= item.GetAnchorsCount(); ++i) {
            const TZORPto a = item.GetAnchor(i);
            const double d = std::hypot(double(a.X - x), double(a.Y - y));
            if (d < best || (!link.Found && d <= best)) {
                best = d;
                link = { item.GetID(), int16_t(i), int16_t(i), a.X, a.Y, true };
            }
        }
    }
    return link.Found;
}
