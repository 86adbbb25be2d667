#include "Zor.Flow.h"

#include "Zor.Label.h"
#include "Zor.Utils.h"
#include "Zor.Version.h"

#include <array>
#include <cmath>
#include <numbers>

using zor::Field;

// --- Flowchart node ---

TZORPto TZORBaseFlow::GetAnchor(int32_t index) const
{
    return GetAnchorAlong(index, 0.5f);
}

TZORPto TZORBaseFlow::GetAnchorAlong(int32_t index, float along) const
{
    const TZORPto& a = GetPoint(1);
    const TZORPto& b = GetPoint(2);
    const int64_t left = std::min(a.X, b.X), right = std::max(a.X, b.X);
    const int64_t top = std::min(a.Y, b.Y), bottom = std::max(a.Y, b.Y);
    // To the nearest whole micrometre, a half down, so that the middle of a side of odd length
    // is where it always was.
    const auto at = [along = double(zor::ClampFloat(along, 0.0f, 1.0f, 0.5f))](int64_t from, int64_t to) {
        return from + int64_t(std::ceil(double(to - from) * along - 0.5));
    };
    TZORPto p;
    switch (index) {
    case TopAnchor:
        p.DefineBase(at(left, right), top);
        break;
    case RightAnchor:
        p.DefineBase(right, at(top, bottom));
        break;
    case BottomAnchor:
        p.DefineBase(at(left, right), bottom);
        break;
    default:
        p.DefineBase(left, at(top, bottom));
        break;
    }
    return p;
}

const TZORFields<TZORBaseItem>& TZORBaseFlow::GetFields() const
{
    using F = TZORBaseFlow;
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &F::fFlowType>("FlowType"),
              Field<TZORBaseItem, &F::fText>("Text"),
              Field<TZORBaseItem, &F::fStrikeout>("Strikeout"),
          }
        + PaddingFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &F::fScaleX>("ScaleX"),
              Field<TZORBaseItem, &F::fGradient>("Gradient"),
              Field<TZORBaseItem, &F::fGradientToColor>("GradientToColor"),
              Field<TZORBaseItem, &F::fShadowDX>("ShadowDX"),
              Field<TZORBaseItem, &F::fShadowDY>("ShadowDY"),
              Field<TZORBaseItem, &F::fShadowColor>("ShadowColor"),
          };
    return fields;
}

void TZORBaseFlow::AfterRead()
{
    SetScaleX(fScaleX);
    SetShadowDX(fShadowDX);
    SetShadowDY(fShadowDY);
    TZORPadded::AfterRead();
}

// --- Link geometry ---

namespace zor {

namespace {

QPointF At(const TZORPto& p)
{
    return { double(p.X), double(p.Y) };
}

TZORPto Whole(const QPointF& p)
{
    return { Round(p.x()), Round(p.y()) };
}

QPointF Unit(const QPointF& v)
{
    const double length = std::hypot(v.x(), v.y());
    return length > 0.0 && std::isfinite(length) ? v / length : QPointF();
}

bool IsZero(const QPointF& v)
{
    return v.x() == 0.0 && v.y() == 0.0;
}

// The axis along which d reaches farther, as a unit step; zero for no step at all.
QPointF AlongAxis(const QPointF& d)
{
    if (IsZero(d))
        return {};
    if (std::abs(d.x()) >= std::abs(d.y()))
        return { d.x() > 0.0 ? 1.0 : -1.0, 0.0 };
    return { 0.0, d.y() > 0.0 ? 1.0 : -1.0 };
}

// Whether a two-bend route leaves the start along X: as its direction says, else along the axis
// of the longer distance.
bool AcrossFirst(const QPointF& dirStart, const TZORPto& start, const TZORPto& end)
{
    const QPointF dir = IsZero(dirStart) ? AlongAxis(At(end) - At(start)) : dirStart;
    return dir.y() == 0.0;
}

// The two bends of the two-bend route, its middle leg halfway between the ends.
std::array<QPointF, 2> Bends(const QPointF& s, const QPointF& e, bool acrossFirst)
{
    if (acrossFirst) {
        const double mx = s.x() + (e.x() - s.x()) / 2.0;
        return { QPointF(mx, s.y()), QPointF(mx, e.y()) };
    }
    const double my = s.y() + (e.y() - s.y()) / 2.0;
    return { QPointF(s.x(), my), QPointF(e.x(), my) };
}

// The control points of a cubic curve that runs straight from a to b.
void Straight(std::vector<QPointF>& out, const QPointF& a, const QPointF& b)
{
    out.push_back(a + (b - a) / 3.0);
    out.push_back(a + (b - a) * (2.0 / 3.0));
    out.push_back(b);
}

// How far the control points of a quarter circle lie along its tangents, in radii.
constexpr double QuarterKappa = 0.5522847498307936;

// A corner rounded from a to b about the square corner c.
void Corner(std::vector<QPointF>& out, const QPointF& a, const QPointF& c, const QPointF& b)
{
    out.push_back(a + (c - a) * QuarterKappa);
    out.push_back(b + (c - b) * QuarterKappa);
    out.push_back(b);
}

// The two-bend route with its corners rounded: five curves (straight, corner, straight, corner,
// straight), each corner of the largest radius that the legs allow. The 14 points after the
// start.
std::vector<QPointF> SplinePoints(const QPointF& s, const QPointF& e, bool acrossFirst)
{
    const auto [b1, b2] = Bends(s, e, acrossFirst);
    const QPointF leg1 = b1 - s, leg2 = b2 - b1, leg3 = e - b2;
    const double r = std::min({ std::hypot(leg1.x(), leg1.y()), std::hypot(leg2.x(), leg2.y()) / 2.0,
        std::hypot(leg3.x(), leg3.y()) });
    const QPointF a = b1 - Unit(leg1) * r, b = b1 + Unit(leg2) * r;
    const QPointF c = b2 - Unit(leg2) * r, d = b2 + Unit(leg3) * r;
    std::vector<QPointF> points;
    Straight(points, s, a);
    Corner(points, a, b1, b);
    Straight(points, b, c);
    Corner(points, c, b2, d);
    Straight(points, d, e);
    points.pop_back(); // the end is the link's, not a link point
    return points;
}

// An arc from `from` through `via` to `to` as cubic curves of a quarter turn at most; false for
// points on one line.
bool ArcCourse(const QPointF& from, const QPointF& via, const QPointF& to, std::vector<QPointF>& out)
{
    TDraw2DArc arc;
    if (!TDraw2D::ArcThreePoints(from.x(), from.y(), via.x(), via.y(), to.x(), to.y(), arc))
        return false;
    const int pieces = std::max(1, int(std::ceil(std::abs(arc.Sweep) / (std::numbers::pi / 2.0) - 1e-9)));
    const double step = arc.Sweep / pieces, k = 4.0 / 3.0 * std::tan(step / 4.0) * arc.R;
    const QPointF centre(arc.Cx, arc.Cy);
    const auto on = [&](double t) { return centre + QPointF(std::cos(t), std::sin(t)) * arc.R; };
    const auto tangent = [](double t) { return QPointF(-std::sin(t), std::cos(t)); };
    out.push_back(from);
    for (int i = 0; i < pieces; ++i) {
        const double t0 = arc.Start + i * step, t1 = t0 + step;
        out.push_back(on(t0) + tangent(t0) * k);
        out.push_back(on(t1) - tangent(t1) * k);
        out.push_back(i + 1 == pieces ? to : on(t1));
    }
    out.front() = from;
    return true;
}

} // namespace

int32_t RoutedPointCount(TZORinkType t)
{
    switch (t) {
    case TZORinkType::Route1:
    case TZORinkType::Route2:
        return 1;
    case TZORinkType::Route3:
        return 2;
    case TZORinkType::Spline:
        return 14;
    default:
        return 0;
    }
}

QPointF TZORLinkCourse::StartFrom() const
{
    if (Points.empty())
        return {};
    const auto other = std::find_if(
        Points.begin() + 1, Points.end(), [&](const QPointF& p) { return p != Points.front(); });
    return other != Points.end() ? *other : Points.front();
}

QPointF TZORLinkCourse::EndFrom() const
{
    if (Points.empty())
        return {};
    const auto other = std::find_if(
        Points.rbegin() + 1, Points.rend(), [&](const QPointF& p) { return p != Points.back(); });
    return other != Points.rend() ? *other : Points.back();
}

QPointF AnchorDirection(const TZORRect& bounds, const QPointF& anchor, const QPointF& toward)
{
    const TZORRect b = bounds.Normalized();
    const QPointF d = toward - anchor;
    if (b.GetWidth() == 0 && b.GetHeight() == 0)
        return AlongAxis(d);
    struct TSide {
        double Distance;
        QPointF Out;
    };
    const std::array<TSide, 4> sides { {
        { std::abs(anchor.x() - double(b.Left)), { -1.0, 0.0 } },
        { std::abs(double(b.Right) - anchor.x()), { 1.0, 0.0 } },
        { std::abs(anchor.y() - double(b.Top)), { 0.0, -1.0 } },
        { std::abs(double(b.Bottom) - anchor.y()), { 0.0, 1.0 } },
    } };
    double nearest = sides[0].Distance;
    for (const TSide& s : sides)
        nearest = std::min(nearest, s.Distance);
    // Of the nearest sides (two at a corner) the one facing the other end more.
    const TSide* best = nullptr;
    for (const TSide& s : sides)
        if (s.Distance <= nearest + 0.5
            && (!best || QPointF::dotProduct(s.Out, d) > QPointF::dotProduct(best->Out, d)))
            best = &s;
    return best->Out;
}

void CurvePoints(
    const QPointF& a, const QPointF& b, const QPointF& dirA, const QPointF& dirB, QPointF& c1, QPointF& c2)
{
    const double reach = std::hypot(b.x() - a.x(), b.y() - a.y()) / 2.0;
    c1 = a + (IsZero(dirA) ? Unit(b - a) : dirA) * reach;
    c2 = b + (IsZero(dirB) ? Unit(a - b) : dirB) * reach;
}

std::vector<TZORPto> RouteLink(TZORinkType t, const TZORPto& start, const TZORPto& end, bool acrossFirst)
{
    const QPointF s = At(start), e = At(end);
    std::vector<QPointF> points;
    switch (t) {
    case TZORinkType::Route1:
        points = { QPointF(e.x(), s.y()) };
        break;
    case TZORinkType::Route2:
        points = { QPointF(s.x(), e.y()) };
        break;
    case TZORinkType::Route3: {
        const auto bends = Bends(s, e, acrossFirst);
        points.assign(bends.begin(), bends.end());
        break;
    }
    case TZORinkType::Spline:
        points = SplinePoints(s, e, acrossFirst);
        break;
    default:
        break;
    }
    std::vector<TZORPto> whole;
    for (const QPointF& p : points)
        whole.push_back(Whole(p));
    return whole;
}

TZORLinkCourse LinkCourse(TZORinkType t, const TZORPto& start, const TZORPto& end,
    std::span<const TZORPto> linkPoints, const QPointF& dirStart, const QPointF& dirEnd)
{
    TZORLinkCourse course;
    std::vector<QPointF>& out = course.Points;
    const QPointF s = At(start), e = At(end);
    const auto through = [&](std::span<const TZORPto> points) {
        out.push_back(s);
        for (const TZORPto& p : points)
            out.push_back(At(p));
        out.push_back(e);
    };
    switch (t) {
    case TZORinkType::Straight:
        through({});
        break;
    case TZORinkType::Route1:
    case TZORinkType::Route2:
    case TZORinkType::Route3:
    case TZORinkType::Spline:
        through(RouteLink(t, start, end, AcrossFirst(dirStart, start, end)));
        course.Cubic = t == TZORinkType::Spline;
        break;
    case TZORinkType::Arc:
        // Without a point to pass through, or through one on the line, the arc is its chord.
        course.Cubic = !linkPoints.empty() && ArcCourse(s, At(linkPoints.front()), e, out);
        if (!course.Cubic) {
            out.clear();
            through({});
        }
        break;
    case TZORinkType::Curve: {
        QPointF c1, c2;
        CurvePoints(s, e, dirStart, dirEnd, c1, c2);
        out = { s, c1, c2, e };
        course.Cubic = true;
        break;
    }
    case TZORinkType::Points:
        through(linkPoints);
        break;
    }
    return course;
}

} // namespace zor

// --- Link ---

const TZORFields<TZORBaseItem>& TZORBaseLink::GetFields() const
{
    using L = TZORBaseLink;
    static const TZORFields<TZORBaseItem> fields = BaseFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &L::fLinkType>("LinkType"),
              Field<TZORBaseItem, &L::fFromID>("FromID"),
              Field<TZORBaseItem, &L::fToID>("ToID"),
              Field<TZORBaseItem, &L::fFromIndex>("FromIndex"),
              Field<TZORBaseItem, &L::fToIndex>("ToIndex"),
              Field<TZORBaseItem, &L::fFromAlong>("FromAlong", ZORLinkAlongVersion, MiddleAlong),
              Field<TZORBaseItem, &L::fToAlong>("ToAlong", ZORLinkAlongVersion, MiddleAlong),
          }
        + MarkFields();
    return fields;
}

void TZORBaseLink::AfterRead()
{
    SetFromAlong(fFromAlong);
    SetToAlong(fToAlong);
    TZOREndMarks::AfterRead();
}

void TZORBaseLink::CalcValues(int16_t aFlag)
{
    TZORBaseItem::CalcValues(aFlag);
    CalcLinkPoints(false);
    UpdateBounds();
}

void TZORBaseLink::UpdateBounds()
{
    TZORBaseItem::UpdateBounds();
    if (!fHasEnds)
        return;
    TZORRect b = fPoints.empty() ? TZORRect { fStart.X, fStart.Y, fStart.X, fStart.Y } : fBounds;
    b = b.United({ fStart.X, fStart.Y, fStart.X, fStart.Y }).United({ fEnd.X, fEnd.Y, fEnd.X, fEnd.Y });
    fBounds = b;
}

float TZORBaseLink::GetTermSize() const
{
    return fOwner ? fOwner->Settings().GetTermSize() : TZORSettings().GetTermSize();
}

void TZORBaseLink::SetBasePoint(int32_t i, int64_t x, int64_t y, bool aRecalc)
{
    SetBase(i, x, y);
    if (aRecalc)
        CalcLinkPoints(false);
}

void TZORBaseLink::SetLinkPoint(int32_t i, float x, float y)
{
    SetBasePoint(i, FromUnits(x), FromUnits(y), false);
}

bool TZORBaseLink::CalcLinkPoints(bool aNew)
{
    if (aNew && zor::IsRoutedLink(fLinkType))
        AssignPoints({});
    TZORPto start, end;
    if (!FindEnds(start, end))
        return false;
    fStart = start;
    fEnd = end;
    fHasEnds = true;
    if (zor::IsRoutedLink(fLinkType)) {
        const QPointF dir = Direction(fFromID, start, end);
        AssignPoints(zor::RouteLink(fLinkType, start, end, zor::AcrossFirst(dir, start, end)));
    }
    UpdateBounds();
    return true;
}

std::optional<zor::TZORLinkCourse> TZORBaseLink::Course() const
{
    TZORPto start, end;
    if (fLinkType > TZORinkType::Spline || !FindEnds(start, end))
        return std::nullopt;
    return zor::LinkCourse(
        fLinkType, start, end, fPoints, Direction(fFromID, start, end), Direction(fToID, end, start));
}

const TZORBaseItem* TZORBaseLink::Joined(int32_t id) const
{
    const TZORBaseItem* target = fOwner ? fOwner->SearchItem(id) : nullptr;
    return target == this ? nullptr : target;
}

bool TZORBaseLink::FindAnchor(int32_t id, int16_t index, float along, TZORPto& p) const
{
    const TZORBaseItem* target = Joined(id);
    if (!target || index < 1 || index > target->GetAnchorsCount())
        return false;
    p = target->GetAnchorAlong(index, along);
    return true;
}

bool TZORBaseLink::FindEnds(TZORPto& start, TZORPto& end) const
{
    return FindAnchor(fFromID, fFromIndex, fFromAlong, start) && FindAnchor(fToID, fToIndex, fToAlong, end);
}

QPointF TZORBaseLink::Direction(int32_t id, const TZORPto& at, const TZORPto& toward) const
{
    const TZORBaseItem* target = Joined(id);
    if (!target)
        return {};
    return zor::AnchorDirection(target->GetBounds(), QPointF(double(at.X), double(at.Y)),
        QPointF(double(toward.X), double(toward.Y)));
}
