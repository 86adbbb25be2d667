#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QPointF>

#include <cstdint>
#include <vector>

class TZORBaseItem;

// What an element draws, as plane geometry in base units, for picking, window selection and
// snapping: its strokes (curves flattened into short segments) and whether its inside counts as
// drawn too. Elements that show an area (texts, codes, pictures, tables, filled figures) are hit
// anywhere inside it; outlines only near their strokes.
struct QUINDLE_RTL_EXPORT TZORShape {
    enum class TArea : uint8_t {
        None, // only the strokes
        Closed, // the inside of the closed strokes (a filled figure)
        Bounds, // the whole bounding box (texts, codes, pictures, tables and the like)
    };

    struct TPath {
        std::vector<QPointF> Points;
        bool Closed = false;
    };

    std::vector<TPath> Paths;
    TArea Area = TArea::None;

    // The smallest distance from (x, y) to a stroke; a very large value without strokes.
    double Distance(double x, double y) const;
    // Inside a closed stroke (even-odd rule).
    bool Inside(double x, double y) const;
    // Some stroke passes through the rectangle, or the rectangle lies in the drawn area.
    bool Meets(const TZORRect& r) const;
};

namespace zor {

// The shape an element draws.
QUINDLE_RTL_EXPORT TZORShape ItemShape(const TZORBaseItem& item);
// True when (x, y) lies within tol base units of what the element draws: its strokes, or inside
// its drawn area.
QUINDLE_RTL_EXPORT bool PickShape(const TZORBaseItem& item, int64_t x, int64_t y, int64_t tol);
// The distance from (x, y) to the segment a–b.
QUINDLE_RTL_EXPORT double SegmentDistance(double x, double y, const QPointF& a, const QPointF& b);

} // namespace zor
