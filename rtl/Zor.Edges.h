#pragma once

#include "Zor.RefLine.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QPointF>

#include <optional>
#include <span>
#include <vector>

class TZORBaseItem;

// What the tools that cut, lengthen and offset elements see of them: straight and round edges,
// and the geometry of trimming, extending and offsetting a run of points or an arc. Points are
// base units; results are rounded to whole base units once, at the end.
namespace zor {

struct QUINDLE_RTL_EXPORT TZOREdge {
    enum class TKind : uint8_t {
        Segment, // from A to B
        Line, // through A and B, without ends (a reference line)
        Circle,
        Arc, // from Start sweeping Sweep (radians, clockwise on screen when positive)
    };
    TKind Kind = TKind::Segment;
    QPointF A {};
    QPointF B {};
    double Cx = 0.0, Cy = 0.0, R = 0.0, Start = 0.0, Sweep = 0.0;
};

// An arc of a circle as the arc tools keep it.
struct QUINDLE_RTL_EXPORT TZORArcSpan {
    double Start = 0.0;
    double Sweep = 0.0;
};

// The edges an element draws: the segments of a line, an arrow line, a polyline, a polygon and
// a rectangle, the circle of a circle, the arc of an arc; none for any other kind.
QUINDLE_RTL_EXPORT std::vector<TZOREdge> EdgesOf(const TZORBaseItem& item);
QUINDLE_RTL_EXPORT TZOREdge EdgeOf(const TZORRefLine& line);

// The run of points of an element that the tools cut and lengthen (a line, an arrow line, a
// polyline); empty for any other kind.
QUINDLE_RTL_EXPORT std::vector<TZORPto> RunOf(const TZORBaseItem& item);

// Trims the run at the crossings with the edges nearest to the click on either side of it: the
// pieces kept (one, or two when the click lies between two crossings). Nothing when no edge
// crosses the run on either side of the click.
QUINDLE_RTL_EXPORT std::optional<std::vector<std::vector<TZORPto>>> TrimRun(
    std::span<const TZORPto> run, std::span<const TZOREdge> edges, const TZORPto& click);
// Lengthens the end of the run nearer to the click to the first edge its last segment meets
// beyond it. Nothing when the segment meets none (parallel edges, edges behind it).
QUINDLE_RTL_EXPORT std::optional<std::vector<TZORPto>> ExtendRun(
    std::span<const TZORPto> run, std::span<const TZOREdge> edges, const TZORPto& click);

// The same for an arc of the circle (cx, cy, r); a whole circle is the arc of sweep 2π starting
// anywhere, and trimming it needs two crossings.
QUINDLE_RTL_EXPORT std::optional<std::vector<TZORArcSpan>> TrimArc(double cx, double cy, double r,
    TZORArcSpan arc, bool whole, std::span<const TZOREdge> edges, const TZORPto& click);
QUINDLE_RTL_EXPORT std::optional<TZORArcSpan> ExtendArc(
    double cx, double cy, double r, TZORArcSpan arc, std::span<const TZOREdge> edges, const TZORPto& click);

// The run moved sideways by distance toward the side where `side` lies; the corners of a run are
// where the moved segments meet (a closed run's too). Empty for a run of no length.
QUINDLE_RTL_EXPORT std::vector<TZORPto> OffsetRun(
    std::span<const TZORPto> run, double distance, const TZORPto& side, bool closed);

} // namespace zor
