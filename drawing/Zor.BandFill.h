#pragma once

#include "drawing/Zor.VclExport.h"

#include <QColor>
#include <QRectF>

#include <vector>

class QPainter;

namespace zor {

// Fills axis-parallel rectangles in one colour with the painter's current state, as
// QPainter::drawRects would.
//
// Anti-aliased on a raster device under a transform that keeps rectangles axis-parallel, the
// rectangles that share their top and bottom (or their left and right) are filled as one band:
// the coverage of one line across the band is computed once, by area, and drawn as an image
// stretched over the band's whole pixel lines, with the first and the last line's partial
// coverage as opacity. A row of bars or a row of matrix modules then costs a few image blits
// instead of one anti-aliased rasterization per rectangle. Where two rectangles share a pixel
// their coverages add up, as the area they cover does. Everything else goes to drawRects.
QUINDLE_VCL_EXPORT void FillRects(QPainter& painter, const std::vector<QRectF>& rects, const QColor& colour);

} // namespace zor
