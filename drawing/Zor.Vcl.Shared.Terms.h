#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QPointF>

#include <cstdint>

class TZORDraw;

// Line-end symbols (arrow heads, dots, bars and the other kinds) on either target. Both take
// their geometry from zor::TTermGeometry, so that a line end prints as it shows.

namespace zor {

// Line-end symbols on the screen canvas: the symbol of `kind` with half-size `half` (device
// pixels) at the tip (x, y), outlined in `lineColor` and, for the filled kinds, filled with
// `fillColor` first. By point the line comes from (dirA, dirB); by angle dirA is the direction
// in radians in which it runs into the tip and dirB is not read. `opening` shapes the arrow
// heads. The symbol is always solid; the paint is left stroking in the line colour.
QUINDLE_VCL_EXPORT void DrawTermType(TZORDraw& D, TZORTermType kind, TAlphaColor lineColor,
    TAlphaColor fillColor, float half, float x, float y, float dirA, float dirB, int16_t opening,
    bool byAngle);

// Line-end symbols on the printer, with the context's pen (line colour and width) and brush
// (fill colour) as the caller set them. By point the line comes from `from`; by angle
// from.x() is the direction in radians and from.y() is not read. The pen is left solid and
// with the alignment it had.
QUINDLE_VCL_EXPORT void PrintTermType(TZORDraw& D, TZORTermType kind, const QPointF& tip, const QPointF& from,
    int32_t half, int16_t opening, bool byAngle);

} // namespace zor
