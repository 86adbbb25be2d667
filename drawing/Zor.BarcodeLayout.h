#pragma once

#include "Zor.Barcode.h"
#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

// The layout of a linear barcode, worked out once for the screen and the printer. Lengths are
// device pixels in the symbol's own frame: u runs along the symbol in reading direction from
// the start of its first bar, v runs down the bars from their top. The two paths place that
// frame on their device and differ only in how they measure and round the text.
namespace zor {

// Sizes of the symbol in device pixels.
struct QUINDLE_VCL_EXPORT TBarMetrics {
    double Module = 0.0; // narrow module
    double Factor = 1.0; // wide element ÷ narrow module
    double BarBottom = 0.0; // end of every bar
    double ShortTop = 0.0; // top of a short bar: two fifths of the bar height above the end
    double GuardBottom = 0.0; // end of a guard bar: three quarters of the font height lower
};

QUINDLE_VCL_EXPORT TBarMetrics BarMetrics(const IZORBarcode& barcode, double pixelsPerMM);

// The bars of a pattern, in pattern order; spaces take their width but draw nothing.
QUINDLE_VCL_EXPORT std::vector<QRectF> LayoutBars(const TBarMetrics& metrics, QByteArrayView pattern);

// How a piece of human-readable text is placed along the symbol: a leading digit ends before
// the first bar, a digit group is centred on its position, a trailing digit starts at its
// position, and a whole text is centred on the element's length.
enum class TBarTextAnchor : uint8_t { Lead, Group, Trail, Whole };

struct QUINDLE_VCL_EXPORT TBarText {
    QString Text;
    TBarTextAnchor Anchor = TBarTextAnchor::Whole;
    double Position = 0.0; // along u; Group and Trail only
};

// The pieces of the code text. With `split` a retail symbology is written in its digit groups
// (the groups of a shorter text are shorter or missing: nothing beyond its end is read);
// otherwise, and for every other symbology, the text is one whole piece.
QUINDLE_VCL_EXPORT std::vector<TBarText> LayoutBarText(
    const TBarMetrics& metrics, QByteArrayView pattern, const QByteArray& code, TZORBarType type, bool split);

// The base-unit distance by which the alignment moves the symbol back along u: none for left,
// half the length (halved toward zero) for centre, all of it for right; alignments beyond
// those have no shift.
QUINDLE_VCL_EXPORT int64_t AlignShift(TZORHorzAlign align, int64_t length);

// Quarter turns counter-clockwise, 0 to 3: only the two low bits of an angle count.
constexpr int QuarterTurns(TZORAngle angle)
{
    return Ord(angle) & 3;
}

} // namespace zor
