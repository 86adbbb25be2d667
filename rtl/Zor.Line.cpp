#include "Zor.Line.h"

#include "Zor.Format.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using zor::Field;
using zor::IsInLine;
using zor::TDraw2D;
using zor::TDraw2DArc;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double HalfPi = Pi / 2.0;
constexpr double TwoPi = 2.0 * Pi;
// Arcs keep their centre and radius within this, so that no corner of their square overflows.
constexpr int64_t MaxCoordinate = int64_t(1) << 50;
// The angular dimension's text stands off its arc by this share of the text height.
constexpr double AngularTextOffset = 0.6;

int64_t ClampCoordinate(int64_t v)
{
    return std::clamp(v, -MaxCoordinate, MaxCoordinate);
}

TZORPto Pto(double x, double y)
{
    return { zor::Round(x), zor::Round(y) };
}

TZORPto Midpoint(const TZORPto& a, const TZORPto& b)
{
    return { a.X + (b.X - a.X) / 2, a.Y + (b.Y - a.Y) / 2 };
}

// Pads the points up to count; the new ones start at the midpoint of the points a and b (1-based).
void PadPoints(std::vector<TZORPto>& points, size_t count, size_t a, size_t b)
{
    const size_t had = points.size();
    if (had >= count)
        return;
    points.resize(count);
    const TZORPto mid = had >= std::max(a, b) ? Midpoint(points[a - 1], points[b - 1]) : TZORPto {};
    std::fill(points.begin() + std::ptrdiff_t(had), points.end(), mid);
}

} // namespace

// --- Caption layout ---

TZORLineText zor::PosBaseLinesText(
    const TZORPto& p1, const TZORPto& p2, int64_t width, int64_t ascent, int64_t descent, TZORTextPos pos)
{
    const double dx = double(p2.X - p1.X), dy = double(p2.Y - p1.Y);
    const double len = std::hypot(dx, dy);
    const double ux = len > 0.0 ? dx / len : 1.0, uy = len > 0.0 ? dy / len : 0.0;
    double angle = std::atan2(uy, ux);
    if (angle >= HalfPi || angle < -HalfPi)
        angle += angle > 0.0 ? -Pi : Pi;
    // Reading direction r and the text's up direction n (y grows downwards).
    const double rx = std::cos(angle), ry = std::sin(angle);
    const double nx = ry, ny = -rx;
    const double w = double(width), a = double(ascent), d = double(descent);

    const double share = pos == TZORTextPos::InLineStart ? 0.25 : pos == TZORTextPos::InLineEnd ? 0.75 : 0.5;
    const double along = share * len;
    const double cx = double(p1.X) + ux * along, cy = double(p1.Y) + uy * along;
    // How far the baseline lies above the line.
    const double lift = pos == TZORTextPos::Above ? d : pos == TZORTextPos::Below ? -a : (d - a) / 2.0;
    const double bx = cx - rx * w / 2.0 + nx * lift, by = cy - ry * w / 2.0 + ny * lift;

    const bool gap = IsInLine(pos);
    const double s1 = gap ? std::clamp(along - w / 2.0, 0.0, len) : along;
    const double s2 = gap ? std::clamp(along + w / 2.0, 0.0, len) : along;
    TZORLineText t;
    t.GapStart = Pto(double(p1.X) + ux * s1, double(p1.Y) + uy * s1);
    t.GapEnd = Pto(double(p1.X) + ux * s2, double(p1.Y) + uy * s2);
    t.DrawPos = Pto(bx, by);
    t.PrintPos = Pto(bx + nx * a, by + ny * a);
    t.Angle = float(angle);
    return t;
}

// --- Arrow line ---

TZORBaseArrowLine::TZORBaseArrowLine(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseArrowLine(aOwner, nullptr, aPreview)
{
}

TZORBaseArrowLine::TZORBaseArrowLine(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORFontItem(aOwner, aLayer, 4, aPreview)
{
    fToType = TZORTermType::FilledArrow;
}

const TZORFields<TZORBaseItem>& TZORBaseArrowLine::GetFields() const
{
    using A = TZORBaseArrowLine;
    static const TZORFields<TZORBaseItem> fields = BaseFields() + EndFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &A::fText>("Text"),
              Field<TZORBaseItem, &A::fTextPos>("TextPos"),
          };
    return fields;
}

void TZORBaseArrowLine::UpdatePoints()
{
    PadPoints(fPoints, 4, 1, 2);
}

void TZORBaseArrowLine::CheckFit(int64_t& minX, int64_t& maxX, int64_t& minY, int64_t& maxY)
{
    const int64_t half = zor::Round(double(GetPenWidth()) * 1000.0 * DrawScale()) / 2;
    const auto grow = [&](const TZORPto& p) {
        if (minX == -1 || p.X - half < minX)
            minX = p.X - half;
        if (maxX == -1 || p.X + half > maxX)
            maxX = p.X + half;
        if (minY == -1 || p.Y - half < minY)
            minY = p.Y - half;
        if (maxY == -1 || p.Y + half > maxY)
            maxY = p.Y + half;
    };
    grow(GetPoint(1));
    grow(GetPoint(2));
    if (!HasGap())
        return;
    grow(GetPoint(3));
    grow(GetPoint(4));
}

void TZORBaseArrowLine::SetTextPos(TZORTextPos p)
{
    fTextPos = std::min(p, TZORTextPos::InLineEnd);
}

TZORBaseArrowLine::TCaption TZORBaseArrowLine::CaptionOf(const QString& text, const TZORTextMetrics& m) const
{
    const int64_t scale = DrawScale();
    const int32_t width = zor::ClampToInt32(int64_t(std::max(m.Width, 0)) * scale);
    return { text, zor::SaneRatio(m.Ratio),
        zor::PosBaseLinesText(GetPoint(1), GetPoint(2), width, int64_t(std::max(m.Ascent, 0)) * scale,
            int64_t(std::max(m.Descent, 0)) * scale, fTextPos) };
}

TZORBaseArrowLine::TCaption TZORBaseArrowLine::Caption() const
{
    return { fText, fTextRatio, { GetPoint(3), GetPoint(4), fDrawCaption, fPrintCaption, fCaptionAngle } };
}

void TZORBaseArrowLine::LayoutCaption(const TZORTextMetrics& m)
{
    const TCaption c = CaptionOf(fText, m);
    fAscent = std::max(m.Ascent, 0);
    fDescent = std::max(m.Descent, 0);
    fCaptionWidth = zor::ClampToInt32(int64_t(std::max(m.Width, 0)) * DrawScale());
    fTextRatio = c.ratio;
    fDrawCaption = c.at.DrawPos;
    fPrintCaption = c.at.PrintPos;
    fCaptionAngle = c.at.Angle;
    SetBase(3, c.at.GapStart.X, c.at.GapStart.Y);
    SetBase(4, c.at.GapEnd.X, c.at.GapEnd.Y);
}

void TZORBaseArrowLine::AfterRead()
{
    SetTextPos(fTextPos);
    TZORFontItem::AfterRead();
}

// --- Polyline ---

const TZORFields<TZORBaseItem>& TZORBasePolyLine::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = BaseFields() + EndFields();
    return fields;
}

// --- Arc ---

TZORBaseArc::TZORBaseArc(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseArc(aOwner, static_cast<TZORLayer*>(nullptr), aPreview)
{
}

TZORBaseArc::TZORBaseArc(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORLineEnds(aOwner, aLayer, 5, aPreview)
{
}

TZORBaseArc::TZORBaseArc(
    TZORBaseLabel* aOwner, int64_t cx, int64_t cy, int64_t r, float angStart, float angEnd, bool aPreview)
    : TZORBaseArc(aOwner, aPreview)
{
    fCx = ClampCoordinate(cx);
    fCy = ClampCoordinate(cy);
    fRadius = std::clamp<int64_t>(r, 0, MaxCoordinate);
    SetAngles(angStart, angEnd);
}

TZORBaseArc::TZORBaseArc(TZORBaseLabel* aOwner, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3,
    int64_t y3, bool aPreview)
    : TZORBaseArc(aOwner, aPreview)
{
    if (!FromDefiningPoints({ x1, y1 }, { x2, y2 }, { x3, y3 }))
        throw zor::Error(QStringLiteral("ArcPoints"));
    Regenerate();
}

const TZORFields<TZORBaseItem>& TZORBaseArc::GetFields() const
{
    using A = TZORBaseArc;
    static const TZORFields<TZORBaseItem> fields = BaseFields() + EndFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &A::fCx>("CenterX"),
              Field<TZORBaseItem, &A::fCy>("CenterY"),
              Field<TZORBaseItem, &A::fRadius>("Radio"),
              Field<TZORBaseItem, &A::fStart>("StartAngle"),
              Field<TZORBaseItem, &A::fSweep>("SweepAngle"),
          };
    return fields;
}

void TZORBaseArc::SetAngles(double start, double sweep)
{
    fStart = TDraw2D::NormalizeAngle(start);
    // More than a whole turn draws nothing more, and keeps the bounds' walk short.
    fSweep = std::isfinite(sweep) ? std::clamp(sweep, -TwoPi, TwoPi) : 0.0;
    Regenerate();
}

void TZORBaseArc::SetArc(int64_t cx, int64_t cy, int64_t r, double start, double sweep)
{
    fCx = ClampCoordinate(cx);
    fCy = ClampCoordinate(cy);
    fRadius = std::clamp<int64_t>(r, 0, MaxCoordinate);
    SetAngles(start, sweep);
}

const TZORPto& TZORBaseArc::GetPto(int32_t i) const
{
    if (i < 1 || i > 3)
        throw zor::Error(QStringLiteral("PointIndex"));
    return GetPoint(i + 2);
}

float TZORBaseArc::GetPX(int32_t i) const
{
    return ToUnits(GetPto(i).X);
}

float TZORBaseArc::GetPY(int32_t i) const
{
    return ToUnits(GetPto(i).Y);
}

void TZORBaseArc::SetPX(int32_t i, float v)
{
    MoveDefining(i, FromUnits(v), GetPto(i).Y);
}

void TZORBaseArc::SetPY(int32_t i, float v)
{
    MoveDefining(i, GetPto(i).X, FromUnits(v));
}

void TZORBaseArc::MoveDefining(int32_t i, int64_t x, int64_t y)
{
    std::array<TZORPto, 3> p = { GetPto(1), GetPto(2), GetPto(3) };
    p[size_t(i - 1)] = { x, y };
    if (FromDefiningPoints(p[0], p[1], p[2]))
        Regenerate();
}

double TZORBaseArc::EndDirection(bool aLast) const
{
    // Clockwise, the arc runs along angle + π/2 at any of its points; the line end at the start
    // points against the run, the one at the end with it.
    const double at = aLast ? fStart + fSweep : fStart;
    const bool withRun = aLast == GetClock();
    return TDraw2D::NormalizeAngle(withRun ? at + HalfPi : at - HalfPi);
}

TZORPto TZORBaseArc::CenterPoint() const
{
    return { fCx, fCy };
}

void TZORBaseArc::UpdatePoints()
{
    // Only defining points that were moved make a new circle: recomputing it from the points
    // it was made of would let rounding creep into the angles.
    if (GetPointsCount() >= 5) {
        const TZORPto a = fPoints[2], b = fPoints[3], c = fPoints[4];
        if (a != OnArc(fStart) || b != OnArc(fStart + fSweep / 2.0) || c != OnArc(fStart + fSweep))
            FromDefiningPoints(a, b, c);
    }
    Regenerate();
}

void TZORBaseArc::UpdateBounds()
{
    fBounds = ArcBounds();
}

void TZORBaseArc::Move(double dx, double dy)
{
    fCx = ClampCoordinate(fCx + zor::Round(dx));
    fCy = ClampCoordinate(fCy + zor::Round(dy));
    Regenerate();
}

void TZORBaseArc::RotateLeft()
{
    Turn(-HalfPi);
}

void TZORBaseArc::RotateRight()
{
    Turn(HalfPi);
}

void TZORBaseArc::AfterRead()
{
    ClampEnds();
    fCx = ClampCoordinate(fCx);
    fCy = ClampCoordinate(fCy);
    fRadius = std::clamp<int64_t>(fRadius, 0, MaxCoordinate);
    SetAngles(fStart, fSweep);
}

bool TZORBaseArc::FromDefiningPoints(const TZORPto& a, const TZORPto& b, const TZORPto& c)
{
    TDraw2DArc arc;
    if (!TDraw2D::ArcThreePoints(
            double(a.X), double(a.Y), double(b.X), double(b.Y), double(c.X), double(c.Y), arc))
        return false;
    fCx = ClampCoordinate(zor::Round(arc.Cx));
    fCy = ClampCoordinate(zor::Round(arc.Cy));
    fRadius = std::clamp<int64_t>(zor::Round(arc.R), 0, MaxCoordinate);
    fStart = arc.Start;
    fSweep = arc.Sweep;
    return true;
}

void TZORBaseArc::Regenerate()
{
    fPoints = { { fCx - fRadius, fCy - fRadius }, { fCx + fRadius, fCy + fRadius }, OnArc(fStart),
        OnArc(fStart + fSweep / 2.0), OnArc(fStart + fSweep) };
    fBounds = ArcBounds();
}

void TZORBaseArc::Turn(double radians)
{
    SetAngles(fStart + radians, fSweep);
}

TZORPto TZORBaseArc::OnArc(double angle) const
{
    const double r = double(fRadius);
    return { fCx + zor::Round(r * std::cos(angle)), fCy + zor::Round(r * std::sin(angle)) };
}

TZORRect TZORBaseArc::ArcBounds() const
{
    // Taken from a start within one turn and a sweep of at most one turn, whatever was stored,
    // so that the walk over quarter turns below is always short.
    const double start = TDraw2D::NormalizeAngle(fStart);
    const double sweep = std::isfinite(fSweep) ? std::clamp(fSweep, -2.0 * Pi, 2.0 * Pi) : 0.0;
    const double from = std::min(start, start + sweep), to = std::max(start, start + sweep);
    const auto box = [](const TZORPto& p) { return TZORRect { p.X, p.Y, p.X, p.Y }; };
    TZORRect b = box(OnArc(from)).United(box(OnArc(to)));
    // The circle's extremes that the arc passes: at most five quarter turns.
    for (int q = int(std::ceil(from / HalfPi)); q * HalfPi <= to; ++q)
        b = b.United(box(OnArc(q * HalfPi)));
    return b;
}

// --- Dimension ---

TZORBaseDim::TZORBaseDim(TZORBaseLabel* aOwner, TZRDimType aType, bool aPreview)
    : TZORBaseDim(aOwner, nullptr, aType, aPreview)
{
}

TZORBaseDim::TZORBaseDim(TZORBaseLabel* aOwner, TZORLayer* aLayer, TZRDimType aType, bool aPreview)
    : TZORBaseItem(aOwner, aLayer, 10, aPreview)
    , fDimType(aType <= TZRDimType::Angle ? aType : TZRDimType::Horizontal)
{
    if (const TZORDimStyle* style = aOwner ? aOwner->GetActiveDimStyle() : nullptr)
        fStyleID = style->GetID();
}

const TZORFields<TZORBaseItem>& TZORBaseDim::GetFields() const
{
    using D = TZORBaseDim;
    static const TZORFields<TZORBaseItem> fields = BaseFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &D::fDimType>("DimType"),
              Field<TZORBaseItem, &D::fText>("Text"),
              Field<TZORBaseItem, &D::fDimExt>("DimExt"),
              Field<TZORBaseItem, &D::fStyleID>("DimStyle"),
          };
    return fields;
}

void TZORBaseDim::UpdatePoints()
{
    PadPoints(fPoints, 10, 5, 6);
}

void TZORBaseDim::UpdateBounds()
{
    TZORBaseItem::UpdateBounds();
    if (!fText.isEmpty() && fTextWidth > 0)
        fBounds = fBounds.United(TextBox());
}

void TZORBaseDim::RotateLeft()
{
    TZORBaseItem::RotateLeft();
    SwapLinear();
}

void TZORBaseDim::RotateRight()
{
    TZORBaseItem::RotateRight();
    SwapLinear();
}

void TZORBaseDim::SwapLinear()
{
    // A quarter turn makes a horizontal dimension vertical and the other way round.
    if (fDimType == TZRDimType::Horizontal)
        fDimType = TZRDimType::Vertical;
    else if (fDimType == TZRDimType::Vertical)
        fDimType = TZRDimType::Horizontal;
}

void TZORBaseDim::SetDimType(TZRDimType t)
{
    fDimType = t <= TZRDimType::Angle ? t : TZRDimType::Horizontal;
}

const TZORDimStyle& TZORBaseDim::GetStyle() const
{
    static const TZORDimStyle fallback(QString(), zor::claBlack, zor::claBlack, false, false);
    if (!fOwner)
        return fallback;
    for (int32_t i = 1; i <= fOwner->GetDimStylesCount(); ++i)
        if (fOwner->GetDimStyle(i)->GetID() == fStyleID)
            return *fOwner->GetDimStyle(i);
    const TZORDimStyle* first = fOwner->GetDimStyle(1);
    return first ? *first : fallback;
}

double TZORBaseDim::MeasuredValue() const
{
    const TZORPto& a = GetPoint(1);
    const TZORPto& b = GetPoint(2);
    const double dist = TDraw2D::Distance(double(a.X), double(a.Y), double(b.X), double(b.Y));
    double base = dist;
    switch (fDimType) {
    case TZRDimType::Horizontal:
        base = std::abs(double(b.X - a.X));
        break;
    case TZRDimType::Vertical:
        base = std::abs(double(b.Y - a.Y));
        break;
    case TZRDimType::DiameterOut:
        base = 2.0 * dist;
        break;
    case TZRDimType::Angle: {
        TDraw2DArc arc;
        return AngleArc(arc) ? zor::RadToDeg(std::abs(arc.Sweep)) : 0.0;
    }
    default:
        break;
    }
    return zor::GetValue(zor::Round(base), Units());
}

QString TZORBaseDim::DimText(const TZORDimStyle& style, double value)
{
    QString format = style.fFormat;
    if (format.isEmpty())
        format = value != std::trunc(value) ? QStringLiteral("0") : QStringLiteral("0.0");
    return style.fPrefix + zor::FormatFloat(format, value) + style.fSuffix;
}

void TZORBaseDim::AssignText()
{
    if (!fDimExt)
        fText = DimText(GetStyle(), MeasuredValue());
}

int32_t TZORBaseDim::GetBaseFontHeight() const
{
    return zor::ClampToInt32(zor::Round(double(GetStyle().fFontHeight) * 1000.0));
}

bool TZORBaseDim::AngleArc(TDraw2DArc& arc) const
{
    const TZORPto &p5 = GetPoint(5), &p6 = GetPoint(6), &p7 = GetPoint(7);
    return TDraw2D::ArcThreePoints(
        double(p5.X), double(p5.Y), double(p7.X), double(p7.Y), double(p6.X), double(p6.Y), arc);
}

double TZORBaseDim::HeadDirection(const TDraw2DArc& arc, const TZORPto& tip, const TZORPto& through)
{
    const double a = std::atan2(double(tip.Y) - arc.Cy, double(tip.X) - arc.Cx);
    const double t1 = a + HalfPi, t2 = a - HalfPi;
    const double b = std::atan2(double(through.Y - tip.Y), double(through.X - tip.X));
    const double d1 = AngleBetween(t1, b), d2 = AngleBetween(t2, b);
    if (d1 != d2)
        return d1 < d2 ? t1 : t2;
    return arc.Clock ? t2 : t1;
}

double TZORBaseDim::AngleBetween(double u, double v)
{
    const double d = std::abs(TDraw2D::NormalizeAngle(u) - TDraw2D::NormalizeAngle(v));
    return d > Pi ? TwoPi - d : d;
}

bool TZORBaseDim::HasGap() const
{
    return !fText.isEmpty() && IsLinear() && zor::IsInLine(TZORTextPos(GetStyle().fTextPos));
}

void TZORBaseDim::LayoutText(const TZORTextMetrics& m)
{
    const int32_t scale = DrawScale();
    const int64_t ascent = int64_t(std::max(m.Ascent, 0)) * scale;
    const int64_t descent = int64_t(std::max(m.Descent, 0)) * scale;
    fTextRatio = zor::SaneRatio(m.Ratio);
    fTextWidth = zor::ClampToInt32(int64_t(std::max(m.Width, 0)) * scale);
    fTextHeight = zor::ClampToInt32(ascent + descent);
    if (fDimType == TZRDimType::Angle) {
        LayoutAngular(m, scale);
    } else {
        const TZORLineText t = zor::PosBaseLinesText(
            GetPoint(5), GetPoint(6), fTextWidth, ascent, descent, TZORTextPos(GetStyle().fTextPos));
        fDrawText = t.DrawPos;
        fPrintText = t.PrintPos;
        fTextAngle = t.Angle;
        SetBase(9, t.GapStart.X, t.GapStart.Y);
        SetBase(10, t.GapEnd.X, t.GapEnd.Y);
    }
    UpdateBounds();
}

void TZORBaseDim::LayoutAngular(const TZORTextMetrics& m, int32_t scale)
{
    const TZORPto &p7 = GetPoint(7), &p8 = GetPoint(8);
    TDraw2DArc arc;
    double cx = double(p8.X), cy = double(p8.Y);
    double r = TDraw2D::Distance(cx, cy, double(p7.X), double(p7.Y));
    if (AngleArc(arc)) {
        cx = arc.Cx;
        cy = arc.Cy;
        r = arc.R;
    }
    const double a = TDraw2D::NormalizeAngle(std::atan2(double(p7.Y) - cy, double(p7.X) - cx));
    const double height = double(int64_t(std::max(m.Ascent, 0)) + std::max(m.Descent, 0));
    const double offset = double(zor::Round(height * scale * AngularTextOffset));
    const TZORPto at = Pto(cx + std::cos(a) * (r + offset), cy + std::sin(a) * (r + offset));
    fDrawText = at;
    fPrintText = at;
    fTextAngle = 0.0f;
    SetBase(9, at.X, at.Y);
    SetBase(10, at.X, at.Y);
}

TZORRect TZORBaseDim::TextBox() const
{
    // The printed text's box: from its top-left corner along its reading direction and down.
    const double c = std::cos(fTextAngle), s = std::sin(fTextAngle);
    const double w = fTextWidth, h = fTextHeight;
    const double x = double(fPrintText.X), y = double(fPrintText.Y);
    const auto box = [](double px, double py) {
        const TZORPto p = Pto(px, py);
        return TZORRect { p.X, p.Y, p.X, p.Y };
    };
    return box(x, y)
        .United(box(x + c * w, y + s * w))
        .United(box(x - s * h, y + c * h))
        .United(box(x + c * w - s * h, y + s * w + c * h));
}

void TZORBaseDim::AfterRead()
{
    SetDimType(fDimType);
    TZORBaseItem::AfterRead();
}

TZORBaseDim::TCalcGuard::TCalcGuard(TZORBaseDim& dim)
    : fDim(dim)
    , fEntered(!dim.fCalculating)
{
    fDim.fCalculating = true;
}

TZORBaseDim::TCalcGuard::~TCalcGuard()
{
    if (fEntered)
        fDim.fCalculating = false;
}

TZRDimType TZORBaseDim::CalcDimPoints(const TZORBaseLabel* label, int64_t x1, int64_t y1, int64_t x2,
    int64_t y2, int64_t x3, int64_t y3, std::array<TZORPto, 6>& points)
{
    const TZORDimStyle* style = label ? label->GetActiveDimStyle() : nullptr;
    const double scale = 1000.0 * (label ? std::max(label->Measure().GetDrawScale(), 1) : 1);
    const double gap = style ? double(style->fExtGap) * scale : 0.0;
    const double ext = style ? double(style->fExtSize) * scale : 0.0;

    const double dx = double(x2 - x1), dy = double(y2 - y1);
    const double len = std::hypot(dx, dy);
    TZRDimType type = TZRDimType::Aligned;
    if (y3 < std::min(y1, y2) || y3 > std::max(y1, y2) || len == 0.0)
        type = TZRDimType::Horizontal;
    else if (x3 < std::min(x1, x2) || x3 > std::max(x1, x2))
        type = TZRDimType::Vertical;

    TZORPto foot1 { x1, y3 }, foot2 { x2, y3 };
    if (type == TZRDimType::Vertical) {
        foot1 = { x3, y1 };
        foot2 = { x3, y2 };
    } else if (type == TZRDimType::Aligned) {
        const double nx = -dy / len, ny = dx / len;
        const double d = double(x3 - x1) * nx + double(y3 - y1) * ny;
        foot1 = Pto(double(x1) + nx * d, double(y1) + ny * d);
        foot2 = Pto(double(x2) + nx * d, double(y2) + ny * d);
    }
    // Each extension line runs from its measured point toward the dimension line, leaving the
    // gap at the point and reaching past the line.
    const auto extend = [&](const TZORPto& from, const TZORPto& foot, TZORPto& start, TZORPto& end) {
        const double ex = double(foot.X - from.X), ey = double(foot.Y - from.Y);
        const double el = std::hypot(ex, ey);
        const double ux = el > 0.0 ? ex / el : 0.0, uy = el > 0.0 ? ey / el : 0.0;
        start = Pto(double(from.X) + ux * gap, double(from.Y) + uy * gap);
        end = Pto(double(foot.X) + ux * ext, double(foot.Y) + uy * ext);
    };
    points[2] = foot1;
    points[3] = foot2;
    extend({ x1, y1 }, foot1, points[0], points[4]);
    extend({ x2, y2 }, foot2, points[1], points[5]);
    return type;
}

namespace {

// The roles of the eight points of the radius and diameter dimensions: the centre, the point
// on the circle in the measured direction, the one opposite, the leader's bend outside the
// circle, and the end of the text shelf.
enum class TRole : uint8_t { C, P, P2, Q, End };

struct TRadialForm {
    bool Outside; // the shelf starts at Q, 2·e2 long; otherwise at P, e1 long
    std::array<TRole, 8> Points;
};

using R = TRole;
// By dimension type, 3 to 6.
constexpr std::array<TRadialForm, 4> RadialForms { {
    { false, { R::C, R::P, R::P, R::End, R::C, R::P, R::P, R::End } },
    { true, { R::C, R::P, R::Q, R::End, R::C, R::P, R::P, R::End } },
    { false, { R::P, R::P2, R::P, R::End, R::P, R::P2, R::P2, R::End } },
    { true, { R::C, R::P, R::Q, R::End, R::C, R::P, R::P, R::End } },
} };

} // namespace

std::array<TZORPto, 8> TZORBaseDim::CalcRadialPoints(
    const TZORBaseLabel* label, TZRDimType type, int64_t cx, int64_t cy, int64_t r, float angle)
{
    const size_t form = size_t(std::clamp(int(type), int(TZRDimType::Radius), int(TZRDimType::DiameterOut)))
        - size_t(TZRDimType::Radius);
    const TRadialForm& f = RadialForms[form];
    const double a = angle;
    const TZORDimStyle* style = label ? label->GetActiveDimStyle() : nullptr;
    const double extSize = style ? double(style->fExtSize) : 0.0;
    const int64_t e1 = zor::Round(extSize * 2000.0);
    const int64_t e2 = zor::Round(extSize * (label ? std::max(label->Measure().GetDrawScale(), 1) : 1));
    const double sign = std::cos(a) >= 0.0 ? 1.0 : -1.0;
    const auto polar = [a](const TZORPto& from, double d) {
        return Pto(double(from.X) + double(zor::Round(d * std::cos(a))),
            double(from.Y) + double(zor::Round(d * std::sin(a))));
    };
    const TZORPto centre { cx, cy };
    const TZORPto p = polar(centre, double(r));
    const TZORPto p2 = polar(centre, -double(r));
    const TZORPto q = polar(p, double(e2));
    const TZORPto& from = f.Outside ? q : p;
    const TZORPto end = Pto(double(from.X) + sign * double(f.Outside ? 2 * e2 : e1), double(from.Y));
    const std::array<TZORPto, 5> byRole { centre, p, p2, q, end };
    std::array<TZORPto, 8> points;
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = byRole[size_t(f.Points[i])];
    return points;
}
