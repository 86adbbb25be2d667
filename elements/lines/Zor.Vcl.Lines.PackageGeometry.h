#pragma once

#include "Zor.F2d.h"
#include "Zor.Vcl.Lines.Frame.h"
#include "drawing/Zor.VclExport.h"

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// The layout of a package box, worked out once in base units for the screen and the paper: the
// box (flat or isometric), its drill holes and slots, its captions and the block of named sizes.
// The two targets map the same numbers to their devices and differ only in how they stroke and
// where the layout says so (a caption's baseline start and its top-left corner).
namespace zor {

// A caption font: its height in millimetres on paper, the ratio the text metrics gave, and its
// ascent and descent in base units.
struct QUINDLE_VCL_EXPORT TPackageFont {
    float Height = 0.0f;
    int32_t BaseHeight = 0; // paper micrometres, as the text metrics take it
    double Ratio = 1.0;
    double Ascent = 0.0;
    double Descent = 0.0;

    double TextHeight() const { return Ascent + Descent; }
};

// The sizes font and the box font of a package as last measured, at a drawing scale.
QUINDLE_VCL_EXPORT TPackageFont SizesFont(const TZORBasePackage& p, int32_t scale);
QUINDLE_VCL_EXPORT TPackageFont BoxFont(const TZORBasePackage& p, int32_t scale);

// The advance width of a text in a font, in base units.
using TTextWidth = std::function<double(const QString& text, const TPackageFont& font)>;
// The width as the text metrics measure it (the fonts are "Arial", upright, not bold).
QUINDLE_VCL_EXPORT double MeasuredWidth(const QString& text, const TPackageFont& font, int32_t scale);

struct QUINDLE_VCL_EXPORT TPackageLayout {
    // The box has an extent: without one (a size of 0, a frame too small for its margins) only
    // the frame and the block of named sizes are drawn.
    bool Shown = false;
    bool Flat = true;
    QRectF Box; // the flat box
    std::vector<QRectF> Holes; // the square round each drill hole, in index order
    std::vector<std::array<QPointF, 4>> Slots; // each slot's outline, in index order
    std::array<std::array<QPointF, 4>, 3> Faces {}; // isometric: top, left side, right side
    std::array<QLineF, 12> Edges {}; // the isometric wire frame, hidden edges included
    std::vector<TZORCaption> Captions; // the sizes on the box
    std::vector<TZORCaption> SizeBlock; // names and values at the left (styles 1 and 3)
};

// The box's numbers as shown: by its format, "0" when it has none.
QUINDLE_VCL_EXPORT QString SizeText(const TZORBasePackage& p, float size);

QUINDLE_VCL_EXPORT TPackageLayout LayoutPackage(
    const TZORBasePackage& p, int32_t scale, const TTextWidth& width);

} // namespace zor
