#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>

class QImage;
class QPainter;
class TZORDimStyle;

// The sample of the dimension styles dialog: a fixed part with four dimensions (above, below,
// left of it and along its slanted edge) drawn in a style, so that every change of the style is
// seen at once. It is drawn here, not by the dimension element's renderer.
namespace zor {

// Style lengths are drawn at this many pixels per millimetre; a dimension's value is its
// length in pixels times DimSampleValueFactor; texts are FontHeight times DimSampleFontFactor
// points high.
inline constexpr double DimSamplePixels = 8.0;
inline constexpr double DimSampleValueFactor = 0.27;
inline constexpr double DimSampleFontFactor = 5.2;

// The outline of the part, in pixels; closed from the last point back to the first.
inline constexpr std::array<QPointF, 6> DimSamplePart = { QPointF(140, 170), QPointF(400, 170),
    QPointF(400, 220), QPointF(580, 260), QPointF(580, 400), QPointF(140, 400) };

// The text of a dimension of value v: prefix, the value by the style's format, suffix. Without a
// format a value with a fraction shows no decimals and a whole value one.
QUINDLE_WIDGETS_EXPORT QString DimSampleText(const TZORDimStyle& style, double v);

// Draws the sample in the style over the whole image (white first). The image's resolution is
// taken as 96 dots per inch for the text size.
QUINDLE_WIDGETS_EXPORT void DrawDimSample(QImage& image, const TZORDimStyle& style);

// The symbol of a head type (0 to 11) as the head-type list shows it, centred in r, drawn with
// the pen colour and filled with the brush colour.
QUINDLE_WIDGETS_EXPORT void DrawHeadSymbol(
    QPainter& painter, int type, const QRect& r, const QColor& pen, const QColor& brush);

} // namespace zor
