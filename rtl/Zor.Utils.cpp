#include "Zor.Utils.h"

#include "Zor.BaseDraw.h"

#include <algorithm>
#include <cmath>
#include <limits>

using zor::TDraw2D;
using zor::TDraw2DArc;
using zor::TDraw2DCircle;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr double MillimetresPerInch = 25.4;

// An already integral double into int64 without the undefined behaviour of an out-of-range
// cast: 2^63 is exact in a double, so the comparisons are exact too.
int64_t SaturateToInt64(double integral)
{
    constexpr double limit = 9223372036854775808.0;
    if (std::isnan(integral))
        return 0;
    if (integral >= limit)
        return std::numeric_limits<int64_t>::max();
    if (integral < -limit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(integral);
}

int RoundToInt(double x)
{
    const int64_t r = zor::Round(x);
    return static_cast<int>(
        std::clamp<int64_t>(r, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int QuarterTurns(TZORAngle angle)
{
    return zor::Ord(angle) & 3;
}

// The offset (dx, dy) turned counter-clockwise on the page (y down) by whole quarter turns;
// exact for integers.
template <class T> void TurnOffset(T& dx, T& dy, TZORAngle angle)
{
    for (int k = QuarterTurns(angle); k > 0; --k) {
        const T x = dx;
        dx = dy;
        dy = -x;
    }
}

template <class P> void TurnAbout(P& p, const P& centre, TZORAngle angle)
{
    auto dx = p.x() - centre.x();
    auto dy = p.y() - centre.y();
    TurnOffset(dx, dy, angle);
    p = P(centre.x() + dx, centre.y() + dy);
}

// Offset of a text block of `size` from its anchor along one axis of its own frame.
template <class T> T AlignOffset(T size, T pad, uint8_t align)
{
    switch (align) {
    case 1: // centred
    case 3: // justified: one line sits centred
        return -(size / 2);
    case 2:
        return -size - pad;
    default:
        return pad;
    }
}

template <class P, class T>
P TextPos(T x, T y, T padX, T padY, T w, T h, TZORHorzAlign hAlign, TZORVertAlign vAlign, TZORAngle angle)
{
    T u = AlignOffset(w, padX, zor::Ord(hAlign));
    T v = AlignOffset(h, padY, zor::Ord(vAlign));
    TurnOffset(u, v, angle);
    return P(x + u, y + v);
}

double Cross(double x1, double y1, double x2, double y2, double x3, double y3)
{
    return (x2 - x1) * (y3 - y1) - (y2 - y1) * (x3 - x1);
}

// Central angle of a circular segment that covers `share` of the disc: the segment's area is
// (a - sin a) / 2π of the disc, which rises monotonically over [0, 2π], so bisection is safe.
double SegmentAngleForArea(double share)
{
    double lo = 0.0, hi = TwoPi;
    for (int i = 0; i < 64; ++i) {
        const double mid = (lo + hi) / 2.0;
        if ((mid - std::sin(mid)) / TwoPi < share)
            lo = mid;
        else
            hi = mid;
    }
    return (lo + hi) / 2.0;
}

} // namespace

namespace zor {

int64_t Round(double x)
{
    return SaturateToInt64(std::nearbyint(x));
}

int64_t Trunc(double x)
{
    return SaturateToInt64(std::trunc(x));
}

int64_t SetValue(double value, TZORUnits units)
{
    return Round(value * static_cast<double>(UnitMicrometres(units)));
}

double GetValue(int64_t base, TZORUnits units)
{
    return static_cast<double>(base) / static_cast<double>(UnitMicrometres(units));
}

double DrawFromBaseX(double length, const TZORBaseDraw& D)
{
    return D.GetDrawX(length);
}

double DrawFromBaseY(double length, const TZORBaseDraw& D)
{
    return D.GetDrawY(length);
}

int PrintFromBaseX(double length, const TZORBaseDraw& D)
{
    return RoundToInt(D.GetDrawX(length));
}

int PrintFromBaseY(double length, const TZORBaseDraw& D)
{
    return RoundToInt(D.GetDrawY(length));
}

double BasePtoY(double widthMM, const TZORBaseDraw& D)
{
    return widthMM * D.fDPIY / MillimetresPerInch;
}

double DrawBasePtoX(double widthMM, const TZORBaseDraw& D)
{
    return widthMM * D.fDPIX / MillimetresPerInch;
}

QPointF DrawTxtPos(double x, double y, double padX, double padY, double w, double h, TZORHorzAlign hAlign,
    TZORVertAlign vAlign, TZORAngle angle)
{
    return TextPos<QPointF>(x, y, padX, padY, w, h, hAlign, vAlign, angle);
}

QPoint PrintTxtPos(int x, int y, int padX, int padY, int w, int h, TZORHorzAlign hAlign, TZORVertAlign vAlign,
    TZORAngle angle)
{
    return TextPos<QPoint>(x, y, padX, padY, w, h, hAlign, vAlign, angle);
}

} // namespace zor

double TDraw2D::Distance(double x1, double y1, double x2, double y2)
{
    return std::hypot(x2 - x1, y2 - y1);
}

double TDraw2D::Distance(const QPointF& a, const QPointF& b)
{
    return Distance(a.x(), a.y(), b.x(), b.y());
}

double TDraw2D::NormalizeAngle(double radians)
{
    if (!std::isfinite(radians))
        return 0.0;
    double a = std::fmod(radians, TwoPi);
    if (a < 0.0)
        a += TwoPi;
    // A tiny negative remainder plus 2π rounds to 2π itself.
    return a < TwoPi ? a : 0.0;
}

void TDraw2D::Rotate(QRectF& rect, const QPointF& centre, TZORAngle angle)
{
    QPointF a = rect.topLeft();
    QPointF b = rect.bottomRight();
    TurnAbout(a, centre, angle);
    TurnAbout(b, centre, angle);
    rect = QRectF(a, b).normalized();
}

void TDraw2D::RotatePoint(QPoint& p, const QPoint& centre, TZORAngle angle)
{
    TurnAbout(p, centre, angle);
}

void TDraw2D::RotatePoint(QPointF& p, const QPointF& centre, TZORAngle angle)
{
    TurnAbout(p, centre, angle);
}

void TDraw2D::RotatePoint(QPointF& p, const QPointF& centre, double degrees)
{
    const double a = zor::DegToRad(degrees);
    const double c = std::cos(a), s = std::sin(a);
    const double dx = p.x() - centre.x(), dy = p.y() - centre.y();
    p = QPointF(centre.x() + dx * c - dy * s, centre.y() + dx * s + dy * c);
}

TZORArrow TDraw2D::DrawArrow(const QPointF& from, const QPointF& tip, double length, double opening)
{
    return DrawArrow(tip, std::atan2(tip.y() - from.y(), tip.x() - from.x()), length, opening);
}

TZORArrow TDraw2D::DrawArrow(const QPointF& tip, double angle, double length, double opening)
{
    const double spread = Pi / (opening >= 2.0 ? opening : 2.0);
    const auto wing = [&](double a) { return tip - length * QPointF(std::cos(a), std::sin(a)); };
    return { wing(angle - spread), wing(angle + spread) };
}

TDraw2DCircle TDraw2D::CircleTwoPoints(double x1, double y1, double x2, double y2)
{
    return { (x1 + x2) / 2.0, (y1 + y2) / 2.0, Distance(x1, y1, x2, y2) / 2.0 };
}

bool TDraw2D::CircleThreePoints(
    double x1, double y1, double x2, double y2, double x3, double y3, TDraw2DCircle& circle)
{
    // Worked relative to the first point, which keeps large base-unit coordinates precise.
    const double bx = x2 - x1, by = y2 - y1;
    const double cx = x3 - x1, cy = y3 - y1;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    const double d = 2.0 * (bx * cy - by * cx);
    // Collinear within a relative tolerance; also false for coincident or non-finite points.
    if (!(std::abs(d) > 1e-12 * (b2 + c2)))
        return false;
    const double ux = (cy * b2 - by * c2) / d;
    const double uy = (bx * c2 - cx * b2) / d;
    circle = { x1 + ux, y1 + uy, std::hypot(ux, uy) };
    return true;
}

bool TDraw2D::ArcThreePoints(
    double x1, double y1, double x2, double y2, double x3, double y3, TDraw2DArc& arc)
{
    TDraw2DCircle c;
    if (!CircleThreePoints(x1, y1, x2, y2, x3, y3, c))
        return false;
    const double start = NormalizeAngle(std::atan2(y1 - c.Cy, x1 - c.Cx));
    const double end = NormalizeAngle(std::atan2(y3 - c.Cy, x3 - c.Cx));
    const double clockwise = NormalizeAngle(end - start);
    // With y down a positive cross product of (p1, p2, p3) means a clockwise turn on screen.
    const bool clock = Cross(x1, y1, x2, y2, x3, y3) > 0.0;
    arc = { c.Cx, c.Cy, c.R, start, end, clock ? clockwise : clockwise - TwoPi, clock };
    return true;
}

QRectF TDraw2D::CenteredRect(double width, double height, const QRectF& rect)
{
    const QRectF r = rect.normalized();
    const bool proportions = std::isfinite(width) && std::isfinite(height) && width > 0.0 && height > 0.0;
    if (!proportions || r.width() <= 0.0 || r.height() <= 0.0)
        return QRectF(r.center(), QSizeF(0.0, 0.0));
    const double s = std::min(r.width() / width, r.height() / height);
    QRectF box(0.0, 0.0, width * s, height * s);
    box.moveCenter(r.center());
    return box;
}

TZORRect TDraw2D::CenteredRect(double width, double height, const TZORRect& rect)
{
    const TZORRect r = rect.Normalized();
    const QRectF box = CenteredRect(width, height,
        QRectF(0.0, 0.0, static_cast<double>(r.GetWidth()), static_cast<double>(r.GetHeight())));
    // Sizes are rounded and the rest halved toward zero, so the box never leaves rect.
    const int64_t w = std::min(zor::Round(box.width()), r.GetWidth());
    const int64_t h = std::min(zor::Round(box.height()), r.GetHeight());
    const int64_t left = r.Left + (r.GetWidth() - w) / 2;
    const int64_t top = r.Top + (r.GetHeight() - h) / 2;
    return { left, top, left + w, top + h };
}

void TDraw2D::AngleSegment(double ratio, bool byArea, bool fromLeft, double& startDeg, double& sweepDeg)
{
    const double share = std::isnan(ratio) ? 0.0 : std::clamp(ratio, 0.0, 1.0);
    const double central = byArea ? SegmentAngleForArea(share) : 2.0 * std::acos(1.0 - 2.0 * share);
    const double middle = fromLeft ? 180.0 : 90.0;
    sweepDeg = zor::RadToDeg(central);
    startDeg = middle - sweepDeg / 2.0;
}

bool TDraw2D::CrossLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
    double y4, double& t, double& u)
{
    const double ax = x2 - x1, ay = y2 - y1;
    const double bx = x4 - x3, by = y4 - y3;
    const double d = ax * by - ay * bx;
    // Parallel within a relative tolerance, so that large base-unit coordinates do not turn
    // rounding noise into a meeting point far away; also false for no length and for NaN.
    if (!(std::abs(d) > 1e-12 * std::hypot(ax, ay) * std::hypot(bx, by)))
        return false;
    const double cx = x3 - x1, cy = y3 - y1;
    t = (cx * by - cy * bx) / d;
    u = (cx * ay - cy * ax) / d;
    return std::isfinite(t) && std::isfinite(u);
}

bool TDraw2D::IntersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
    double y4, bool aSegment1, bool aSegment2, QPointF& p)
{
    double t = 0.0, u = 0.0;
    if (!CrossLines(x1, y1, x2, y2, x3, y3, x4, y4, t, u))
        return false;
    const auto onSegment = [](double s) { return s >= 0.0 && s <= 1.0; };
    if ((aSegment1 && !onSegment(t)) || (aSegment2 && !onSegment(u)))
        return false;
    const QPointF meet(x1 + t * (x2 - x1), y1 + t * (y2 - y1));
    if (!std::isfinite(meet.x()) || !std::isfinite(meet.y()))
        return false;
    p = meet;
    return true;
}

std::vector<double> TDraw2D::CrossLineCircle(
    double x1, double y1, double x2, double y2, double cx, double cy, double r)
{
    const double dx = x2 - x1, dy = y2 - y1;
    const double a = dx * dx + dy * dy;
    if (!(a > 0.0) || !std::isfinite(a) || !std::isfinite(r))
        return {};
    // The foot of the centre on the line, then half the chord either side of it.
    const double foot = ((cx - x1) * dx + (cy - y1) * dy) / a;
    const double fx = x1 + foot * dx - cx, fy = y1 + foot * dy - cy;
    const double h2 = r * r - (fx * fx + fy * fy);
    if (!std::isfinite(h2) || h2 < -1e-9 * r * r)
        return {};
    if (h2 <= 1e-9 * r * r)
        return { foot };
    const double half = std::sqrt(h2 / a);
    return { foot - half, foot + half };
}

std::vector<QPointF> TDraw2D::CrossCircles(
    double cx1, double cy1, double r1, double cx2, double cy2, double r2)
{
    const double dx = cx2 - cx1, dy = cy2 - cy1;
    const double d = std::hypot(dx, dy);
    if (!(d > 0.0) || !std::isfinite(d) || d > r1 + r2 || d < std::abs(r1 - r2))
        return {};
    const double along = (r1 * r1 - r2 * r2 + d * d) / (2.0 * d);
    const double h = std::sqrt(std::max(r1 * r1 - along * along, 0.0));
    const double mx = cx1 + along * dx / d, my = cy1 + along * dy / d;
    if (h == 0.0)
        return { QPointF(mx, my) };
    return { QPointF(mx - h * dy / d, my + h * dx / d), QPointF(mx + h * dy / d, my - h * dx / d) };
}

double TDraw2D::LineParameter(double x1, double y1, double x2, double y2, double x, double y)
{
    const double dx = x2 - x1, dy = y2 - y1;
    const double a = dx * dx + dy * dy;
    return a > 0.0 ? ((x - x1) * dx + (y - y1) * dy) / a : 0.0;
}
