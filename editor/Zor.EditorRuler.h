#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <cstdint>
#include <functional>

class QPainter;
class TZORBackEditor;

namespace zor {

// The tick step and the label interval of a ruler, in the editor's unit.
struct QUINDLE_WIDGETS_EXPORT TRulerSteps {
    double Tick = 1000.0; // 1000 when no step is wide enough
    double Label = 100.0;
};

// Chooses the steps of a ruler for the pixel length pixels(v) of v units at the present zoom:
// ticks at least 5 pixels and labels at least 21 pixels apart. When no interval is wide enough
// the label interval stays previousLabel (a value of 0 or below counts as 100).
QUINDLE_WIDGETS_EXPORT TRulerSteps RulerSteps(
    TZORUnits units, const std::function<int32_t(double)>& pixels, double previousLabel);

// Whether v lies within 0.001 of a whole number.
QUINDLE_WIDGETS_EXPORT bool NearWhole(double v);

// The rulers of an editor's surface: bands, ticks and numbers in the editor's unit from 0 at
// the paper's origin, the extent of the selection and the markers and values of the alignment
// guides. Drawn in surface pixels; remembers each pair's label interval between paints.
class QUINDLE_WIDGETS_EXPORT TZORRulerPainter {
public:
    void Paint(QPainter& painter, TZORBackEditor& surface);

private:
    TRulerSteps fVertical;
    TRulerSteps fHorizontal;
};

} // namespace zor
