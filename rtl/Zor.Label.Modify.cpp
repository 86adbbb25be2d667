// The tools that work on existing elements: trim, reference line, extend and offset; the radius
// and diameter dimensions, which measure a circle or an arc; and the label's reference lines.
#include "Zor.Edges.h"
#include "Zor.Edit.h"
#include "Zor.F2d.h"
#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Line.h"
#include "Zor.Stream.h"
#include "Zor.Utils.h"
#include "Zor.Version.h"

#include <algorithm>
#include <cmath>

using namespace zor;

namespace {

// The circle of a circle or an arc element; false for any other kind.
bool RoundOf(const TZORBaseItem& item, double& cx, double& cy, double& r)
{
    const std::vector<TZOREdge> edges = EdgesOf(item);
    if (edges.size() != 1 || edges[0].Kind == TZOREdge::TKind::Segment
        || edges[0].Kind == TZOREdge::TKind::Line)
        return false;
    cx = edges[0].Cx;
    cy = edges[0].Cy;
    r = edges[0].R;
    return true;
}

// The distance from p to what the element draws, for an element the offset tool copies.
double DistanceTo(const TZORBaseItem& item, const TZORPto& p)
{
    double best = INFINITY;
    const double x = double(p.X), y = double(p.Y);
    for (const TZOREdge& e : EdgesOf(item)) {
        if (e.Kind == TZOREdge::TKind::Segment) {
            const double t
                = std::clamp(TDraw2D::LineParameter(e.A.x(), e.A.y(), e.B.x(), e.B.y(), x, y), 0.0, 1.0);
            const QPointF q = e.A + t * (e.B - e.A);
            best = std::min(best, std::hypot(q.x() - x, q.y() - y));
        } else if (e.Kind != TZOREdge::TKind::Line) {
            best = std::min(best, std::abs(std::hypot(x - e.Cx, y - e.Cy) - e.R));
        }
    }
    return best;
}

// The ends of the line through p1 and p2 on the edges of the box (0, 0)–(w, h); false when the
// line misses it.
bool AcrossBox(const TZORPto& p1, const TZORPto& p2, double w, double h, TZORPto& a, TZORPto& b)
{
    const double dx = double(p2.X - p1.X), dy = double(p2.Y - p1.Y);
    double lo = -INFINITY, hi = INFINITY;
    const auto clip = [&](double from, double d, double max) {
        if (d == 0.0)
            return from >= 0.0 && from <= max;
        const double t1 = (0.0 - from) / d, t2 = (max - from) / d;
        lo = std::max(lo, std::min(t1, t2));
        hi = std::min(hi, std::max(t1, t2));
        return true;
    };
    if ((dx == 0.0 && dy == 0.0) || !clip(double(p1.X), dx, w) || !clip(double(p1.Y), dy, h) || lo > hi)
        return false;
    a = { Round(double(p1.X) + lo * dx), Round(double(p1.Y) + lo * dy) };
    b = { Round(double(p1.X) + hi * dx), Round(double(p1.Y) + hi * dy) };
    return true;
}

} // namespace

// --- Reference lines ---

const TZORRefLine* TZORBaseLabel::GetRefLine(int32_t i) const
{
    return i >= 1 && i <= GetRefLinesCount() ? &fRefLines[size_t(i - 1)] : nullptr;
}

bool TZORBaseLabel::AddRefLine(const TZORPto& p1, const TZORPto& p2)
{
    const double scale = std::max(fMeasure.GetDrawScale(), 1);
    TZORRefLine line;
    if (!AcrossBox(p1, p2, double(fMeasure.GetSize(TZORSizeKind::PaperWidth)) * scale,
            double(fMeasure.GetSize(TZORSizeKind::PaperHeight)) * scale, line.P1, line.P2))
        return false;
    TZORUndoStep step(*this);
    BeginUpdate(true);
    fRefLines.push_back(line);
    Notify(TZRChange::Redraw);
    EndUpdate();
    return true;
}

bool TZORBaseLabel::DeleteRefLine(int32_t i)
{
    if (!GetRefLine(i))
        return false;
    TZORUndoStep step(*this);
    BeginUpdate(true);
    fRefLines.erase(fRefLines.begin() + (i - 1));
    Notify(TZRChange::Redraw);
    EndUpdate();
    return true;
}

int32_t TZORBaseLabel::RefLineAt(int64_t x, int64_t y, int32_t tol) const
{
    for (int32_t i = GetRefLinesCount(); i >= 1; --i) {
        const TZORRefLine& l = fRefLines[size_t(i - 1)];
        const double dx = double(l.P2.X - l.P1.X), dy = double(l.P2.Y - l.P1.Y);
        const double len = std::hypot(dx, dy);
        if (len > 0.0 && std::abs((double(x - l.P1.X) * dy - double(y - l.P1.Y) * dx) / len) <= double(tol))
            return i;
    }
    return 0;
}

void TZORBaseLabel::WriteRefLines(TBinaryWriter& w) const
{
    w.WriteInt32(GetRefLinesCount());
    for (const TZORRefLine& l : fRefLines)
        for (int64_t v : { l.P1.X, l.P1.Y, l.P2.X, l.P2.Y })
            w.WriteInt64(v);
}

std::vector<TZORRefLine> TZORBaseLabel::ReadRefLines(TBinaryReader& r) const
{
    std::vector<TZORRefLine> lines;
    if (fFileVersion < ZORRefLinesVersion)
        return lines;
    const int32_t n = r.ReadCount(INT32_MAX, 32);
    for (int32_t i = 0; i < n; ++i) {
        TZORRefLine l;
        for (int64_t* v : { &l.P1.X, &l.P1.Y, &l.P2.X, &l.P2.Y })
            *v = r.ReadInt64();
        lines.push_back(l);
    }
    return lines;
}

void TZORBaseLabel::PutRefLines(TJsonObject& o) const
{
    TJsonArray a = o.NewA("RefLines");
    for (const TZORRefLine& l : fRefLines) {
        TJsonObject e = a.AddObject();
        e.SetL("X1", l.P1.X);
        e.SetL("Y1", l.P1.Y);
        e.SetL("X2", l.P2.X);
        e.SetL("Y2", l.P2.Y);
    }
}

void TZORBaseLabel::GetRefLines(const TJsonObject& o)
{
    fRefLines.clear();
    if (!o.Contains("RefLines"))
        return;
    const TJsonArray a = o.A("RefLines");
    for (int i = 0; i < a.Count(); ++i) {
        const TJsonObject e = a.O(i);
        fRefLines.push_back({ { e.L("X1"), e.L("Y1") }, { e.L("X2"), e.L("Y2") } });
    }
}

// --- Trim, reference line, extend, offset ---

void TZORBaseLabel::ModifyPress(int64_t x, int64_t y, int32_t tol)
{
    const int32_t action = TAct::fCurAction, state = TAct::fCurState;
    switch (action) {
    case acRefLine:
        if (state == stRef1) {
            TAct::AddPoint(x, y);
            TAct::SetState(stRef2);
        } else {
            const TZORPto from = TAct::Points().front();
            TAct::ClearPoints();
            TAct::SetState(stRef1);
            AddRefLine(from, { x, y });
        }
        Notify(TZRChange::Tool);
        break;
    case acTrim:
    case acExtend:
        if (state == stRef1 || state == stRef2) {
            if (PickEdges(x, y, tol)) {
                TAct::SetState(action == acTrim ? stTrimTarget : stExtendTarget);
                Notify(TZRChange::Tool);
            }
        } else {
            TrimOrExtend(x, y, tol);
        }
        break;
    default:
        OffsetPress(x, y, tol);
        break;
    }
}

bool TZORBaseLabel::PickEdges(int64_t x, int64_t y, int32_t tol)
{
    if (TZORBaseItem* item = ItemAt(x, y, tol); item && !EdgesOf(*item).empty()) {
        fEdit->Edges = { item->GetID() };
        return true;
    }
    if (const int32_t line = RefLineAt(x, y, tol)) {
        fEdit->Edges = { -line };
        return true;
    }
    return false;
}

bool TZORBaseLabel::TrimOrExtend(int64_t x, int64_t y, int32_t tol)
{
    TZORBaseItem* target = ItemAt(x, y, tol);
    if (!target)
        return false;
    std::vector<TZOREdge> edges;
    for (int32_t id : fEdit->Edges) {
        if (id < 0) {
            if (const TZORRefLine* line = GetRefLine(-id))
                edges.push_back(EdgeOf(*line));
        } else if (const TZORBaseItem* item = SearchItem(id); item && item != target) {
            const std::vector<TZOREdge> own = EdgesOf(*item);
            edges.insert(edges.end(), own.begin(), own.end());
        }
    }
    const bool trim = TAct::fCurAction == acTrim;
    const TZORPto click { x, y };
    auto* arc = dynamic_cast<TZORBaseArc*>(target);
    double cx = 0.0, cy = 0.0, r = 0.0;
    const bool round = RoundOf(*target, cx, cy, r);
    const std::vector<TZORPto> run = RunOf(*target);

    // What the target becomes: runs of points, or arcs of its circle.
    std::vector<std::vector<TZORPto>> runs;
    std::vector<TZORArcSpan> arcs;
    if (!run.empty()) {
        if (trim) {
            if (auto pieces = TrimRun(run, edges, click))
                runs = std::move(*pieces);
        } else if (auto longer = ExtendRun(run, edges, click)) {
            runs = { std::move(*longer) };
        }
    } else if (round) {
        const TZORArcSpan span
            = arc ? TZORArcSpan { arc->GetAngleStart(), arc->GetAngleSweep() } : TZORArcSpan {};
        if (trim) {
            if (auto pieces = TrimArc(cx, cy, r, span, !arc, edges, click))
                arcs = std::move(*pieces);
        } else if (arc) {
            if (auto longer = ExtendArc(cx, cy, r, span, edges, click))
                arcs = { *longer };
        }
    }
    if (runs.empty() && arcs.empty())
        return false;

    TZORUndoStep step(*this);
    BeginUpdate(true);
    if (!runs.empty()) {
        target->AssignPoints(runs.front());
        target->Update();
        for (size_t i = 1; i < runs.size(); ++i)
            CopyOf(*target, runs[i]);
    } else {
        const int64_t icx = Round(cx), icy = Round(cy), ir = Round(r);
        TZORBaseItem* first = target;
        if (!arc) {
            // A trimmed circle becomes an arc with the circle's look.
            first = Create(int32_t(TZORItemType::Arc), {}, [&](TZORBaseItem& made) {
                made.SetLayerIndex(target->GetLayerIndex());
                made.SetColor(target->GetColor());
                made.SetPenWidth(target->GetPenWidth());
            });
            DeleteItem(target);
        }
        auto* a = dynamic_cast<TZORBaseArc*>(first);
        if (a)
            a->SetArc(icx, icy, ir, arcs.front().Start, arcs.front().Sweep);
        for (size_t i = 1; a && i < arcs.size(); ++i)
            if (auto* more = dynamic_cast<TZORBaseArc*>(CopyOf(*a, {})))
                more->SetArc(icx, icy, ir, arcs[i].Start, arcs[i].Sweep);
    }
    Notify(TZRChange::Redraw);
    EndUpdate();
    return true;
}

TZORBaseItem* TZORBaseLabel::CopyOf(const TZORBaseItem& item, std::span<const TZORPto> points)
{
    QByteArray bytes;
    {
        TBinaryWriter w(&bytes);
        item.Write(w);
    }
    TBinaryReader r(bytes);
    TZORBaseItem* copy = ReadItem(r, ZORFileVersion, TZORReadType::Paste);
    if (copy && !points.empty()) {
        copy->AssignPoints(points);
        copy->Update();
    }
    return copy;
}

void TZORBaseLabel::OffsetPress(int64_t x, int64_t y, int32_t tol)
{
    TZOREditState& e = *fEdit;
    switch (TAct::fCurState) {
    case stRef1:
        // The element to copy: any kind with straight or round edges.
        if (TZORBaseItem* item = ItemAt(x, y, tol); item && !EdgesOf(*item).empty()) {
            e.PickedID = item->GetID();
            TAct::SetState(stDistance);
            Notify(TZRChange::Action);
        }
        return;
    case stDistance:
        // The typed distance comes as a press at (0, 0) followed by one at (distance, 0); any
        // other press is a point the copy passes through.
        if (!e.DistanceTyped && x == 0 && y == 0 && tol == 0) {
            e.DistanceTyped = true;
            return;
        }
        if (e.DistanceTyped) {
            e.DistanceTyped = false;
            if (x > 0) {
                e.Distance = x;
                TAct::SetState(stSide);
                Notify(TZRChange::Tool);
            }
            return;
        }
        if (const TZORBaseItem* item = SearchItem(e.PickedID))
            e.Distance = Round(DistanceTo(*item, { x, y }));
        [[fallthrough]];
    case stSide:
        break;
    default:
        return;
    }
    TZORBaseItem* item = SearchItem(e.PickedID);
    if (!item || e.Distance <= 0)
        return;
    const TZORPto side { x, y };
    const double d = double(e.Distance);
    TZORUndoStep step(*this);
    BeginUpdate(true);
    double cx = 0.0, cy = 0.0, r = 0.0;
    if (auto* arc = dynamic_cast<TZORBaseArc*>(item)) {
        RoundOf(*arc, cx, cy, r);
        const double nr = std::hypot(double(x) - cx, double(y) - cy) < r ? r - d : r + d;
        if (nr > 0.0)
            if (auto* copy = dynamic_cast<TZORBaseArc*>(CopyOf(*arc, {})))
                copy->SetArc(Round(cx), Round(cy), Round(nr), arc->GetAngleStart(), arc->GetAngleSweep());
    } else if (RoundOf(*item, cx, cy, r)) {
        const double nr = std::hypot(double(x) - cx, double(y) - cy) < r ? r - d : r + d;
        if (nr > 0.0) {
            const std::array<TZORPto, 2> box { TZORPto { Round(cx - nr), Round(cy - nr) },
                TZORPto { Round(cx + nr), Round(cy + nr) } };
            CopyOf(*item, box);
        }
    } else if (item->TypeCode() == TZORItemType::Rectangle) {
        const TZORRect b = item->GetBounds().Normalized();
        const bool inside = x > b.Left && x < b.Right && y > b.Top && y < b.Bottom;
        const int64_t g = inside ? -e.Distance : e.Distance;
        if (b.Right - b.Left + 2 * g > 0 && b.Bottom - b.Top + 2 * g > 0) {
            const std::array<TZORPto, 2> box { TZORPto { b.Left - g, b.Top - g },
                TZORPto { b.Right + g, b.Bottom + g } };
            CopyOf(*item, box);
        }
    } else {
        const bool closed = item->TypeCode() == TZORItemType::Polygon;
        std::vector<TZORPto> run = RunOf(*item);
        if (closed)
            for (int32_t i = 1; i <= item->GetPointsCount(); ++i)
                run.push_back(item->GetPoint(i));
        const std::vector<TZORPto> moved = OffsetRun(run, d, side, closed);
        if (!moved.empty())
            CopyOf(*item, moved);
    }
    Notify(TZRChange::Redraw);
    EndUpdate();
    // The next element to copy.
    e.PickedID = 0;
    e.Distance = 0;
    TAct::SetState(stRef1);
    Notify(TZRChange::Tool);
}

// --- Radius and diameter dimensions ---

void TZORBaseLabel::RadialPress(int64_t x, int64_t y, int32_t tol)
{
    TZOREditState& e = *fEdit;
    if (TAct::fCurState == stFirst) {
        double cx = 0.0, cy = 0.0, r = 0.0;
        TZORBaseItem* item = ItemAt(x, y, tol);
        if (!item || !RoundOf(*item, cx, cy, r))
            return;
        e.PickedID = item->GetID();
        TAct::AddPoint(Round(cx), Round(cy));
        TAct::SetState(stSecond);
        Notify(TZRChange::Tool);
        return;
    }
    const TZORBaseItem* item = SearchItem(e.PickedID);
    double cx = 0.0, cy = 0.0, r = 0.0;
    if (!item || !RoundOf(*item, cx, cy, r))
        return;
    static constexpr TZRDimType Types[]
        = { TZRDimType::Radius, TZRDimType::RadiusOut, TZRDimType::Diameter, TZRDimType::DiameterOut };
    const int32_t action = TAct::fCurAction;
    const TZRDimType type = Types[action - acDimRadius];
    const float angle = float(std::atan2(double(y) - cy, double(x) - cx));
    const std::array<TZORPto, 8> points
        = TZORBaseDim::CalcRadialPoints(this, type, Round(cx), Round(cy), Round(r), angle);
    TZORUndoStep step(*this);
    Create(int32_t(TZORItemType::Dim), points, [type](TZORBaseItem& made) {
        auto& dim = dynamic_cast<TZORBaseDim&>(made);
        dim.SetDimType(type);
        dim.AssignText();
        dim.CalcValues(0);
    });
    EndCreation();
    TAct::SetCurAction(action);
    Notify(TZRChange::Tool);
    Notify(TZRChange::Redraw);
}
