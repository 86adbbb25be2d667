#pragma once

#include "Zor.Paint.h"
#include "drawing/Zor.VclExport.h"

#include <QPainterPath>
#include <QPointF>

#include <span>

// Helpers the screen renderers share.

class TZORDraw;

namespace zor {

QUINDLE_VCL_EXPORT TSkFontStyle GetFontStyle(bool bold, bool italic);

// A closed path through the points in order; empty for no points.
QUINDLE_VCL_EXPORT void BuildClosedPath(QPainterPath& path, std::span<const QPointF> points);

// The editor's marker of a data-bound element: an 8 × 8 block of canvas units centred on
// (x, y), grey above and below, light green between.
QUINDLE_VCL_EXPORT void DrawData(TZORDraw& D, float x, float y);

} // namespace zor
