#pragma once

#include "Zor.Paint.h"

#include <QPainterPath>
#include <QPointF>

#include <span>

// Helpers the screen renderers share.

TSkFontStyle GetFontStyle(bool bold, bool italic);

// A closed path through the points in order; empty for no points.
void BuildClosedPath(QPainterPath& path, std::span<const QPointF> points);

class TZORDraw;
class IZORBarcode;

// Line-end symbols on the screen canvas: the symbol of `kind` with half-size `half` (device
// pixels) at the tip (x, y), outlined in `lineColor` and, for the filled kinds, filled with
// `fillColor` first. By point the line comes from (dirA, dirB); by angle dirA is the direction
// in radians in which it runs into the tip and dirB is not read. `opening` shapes the arrow
// heads. The symbol is always solid; the paint is left stroking in the line colour.
void DrawTermType(TZORDraw& D, TZORTermType kind, TAlphaColor lineColor, TAlphaColor fillColor, float half,
    float x, float y, float dirA, float dirB, int16_t opening, bool byAngle);

// The editor's marker of a data-bound element: an 8 × 8 block of canvas units centred on
// (x, y), grey above and below, light green between.
void DrawData(TZORDraw& D, float x, float y);

// A linear barcode the model has encoded, on the screen canvas: its bar pattern aligned at
// `position` (the element's first point) along the element's length (`width` at 0° and 180°,
// `height` at 90° and 270°, base units), turned by the barcode's angle, and its code text
// under the bars, split into the digit groups for EAN and UPC, whole and centred otherwise.
// `fontFactor` scales the text. The canvas transform is left as it was.
void DrawBarcode(TZORDraw& D, const IZORBarcode& barcode, const TZORPto& position, TAlphaColor colour,
    int32_t width, int32_t height, double fontFactor);
