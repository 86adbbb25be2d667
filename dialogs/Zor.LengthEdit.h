#pragma once

#include "Zor.Spinfloat.h"
#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <cstdint>

// A decimal spin edit that shows a length of the model (micrometres) in a display unit. The
// length given comes back exactly as long as its text is not changed: a length that the unit
// shows rounded (100 mm as 3.94 in) is not cut to the rounded value by a dialog that is only
// confirmed.
class QUINDLE_WIDGETS_EXPORT TZORLengthEdit : public TZORSpinEditFloat {
    Q_OBJECT

public:
    explicit TZORLengthEdit(QWidget* parent = nullptr);

    TZORUnits GetUnits() const { return fUnits; }
    // The unit the next lengths show in.
    void SetUnits(TZORUnits units) { fUnits = units; }
    // Shows a length in the unit and remembers it as given; a length outside the bounds is brought
    // into them first.
    void SetLength(int64_t micrometres);
    // The length given while the text is the one it showed as; otherwise the text in the unit,
    // within the bounds.
    int64_t GetLength() const;

private:
    TZORUnits fUnits = TZORUnits::Millimetre;
    int64_t fGiven = 0;
    QString fShown;
};

namespace zor {
// The symbol a length in the unit is written with ("mm", "in" ...).
QUINDLE_WIDGETS_EXPORT QString UnitSymbol(TZORUnits units);
} // namespace zor
