#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QLineF>
#include <QPointF>
#include <QRectF>

#include <array>
#include <cstdint>
#include <vector>

// The geometry of the line-end symbols, worked out once for the screen and the printer: the two
// paths differ only in the painting calls and in how they round the head length.
namespace zor {

enum class TTermShape : uint8_t { None, Circle, Square, Arrow, Diamond, FallingTick, RisingTick, Cross };

struct QUINDLE_VCL_EXPORT TTermSymbol {
    TTermShape Shape = TTermShape::None;
    bool Filled = false;
};

// The symbols by TZORTermType value; values beyond the table draw nothing.
inline constexpr std::array<TTermSymbol, 12> TermSymbols = { {
    { TTermShape::None, false },
    { TTermShape::Circle, false },
    { TTermShape::Circle, true },
    { TTermShape::Arrow, false },
    { TTermShape::Arrow, true },
    { TTermShape::Square, false },
    { TTermShape::Square, true },
    { TTermShape::Diamond, false },
    { TTermShape::Diamond, true },
    { TTermShape::FallingTick, false },
    { TTermShape::RisingTick, false },
    { TTermShape::Cross, false },
} };

QUINDLE_VCL_EXPORT TTermSymbol TermSymbol(TZORTermType kind);

// Where the line comes from at its end: the neighbouring point, or (ByAngle) the direction in
// radians in which the line runs into the tip.
struct QUINDLE_VCL_EXPORT TTermDirection {
    QPointF From;
    double Angle = 0.0;
    bool ByAngle = false;
};

// What a symbol paints. A filled symbol is filled first and then outlined, both with the same
// figure; an open one is only stroked.
struct QUINDLE_VCL_EXPORT TTermGeometry {
    enum class TFigure : uint8_t { None, Ellipse, Rectangle, Polygon, Strokes };

    TFigure Figure = TFigure::None;
    bool Filled = false;
    QRectF Box; // Ellipse, Rectangle
    std::vector<QPointF> Outline; // Polygon: the corners of a closed figure
    std::vector<QLineF> Strokes; // Strokes: separate lines
};

// The symbol of `kind` with half-size `half` at `tip`; `headLength` and `opening` shape the
// arrow heads, which alone follow the direction. Every other symbol stays axis-parallel.
QUINDLE_VCL_EXPORT TTermGeometry TermGeometry(TZORTermType kind, const QPointF& tip, double half,
    const TTermDirection& direction, double headLength, double opening);

} // namespace zor
