#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <cstdint>

// Where the page of a label lies on the editor's surface, and every conversion between surface
// pixels, base units (micrometres) and the label's display unit.
//
// The paper's origin on the surface is x0 = MarginL + RulerL - ScrollX (y0 likewise). A drawing
// at scale 1:N keeps its lengths divided by N: screen to base multiplies by the scale, base to
// screen divides by it.
struct QUINDLE_WIDGETS_EXPORT TZORDimScroll {
    int32_t PaperW = 200; // paper in pixels at zoom 1
    int32_t PaperH = 200;
    int64_t PaperBaseW = 200000; // paper in base units, as the label reported it
    int64_t PaperBaseH = 200000;
    int64_t PaperScaledW = 200000; // the same times the drawing scale
    int64_t PaperScaledH = 200000;
    double PaperMMW = 200.0;
    double PaperMMH = 200.0;
    int32_t ZoomW = 200; // paper in pixels at the present zoom
    int32_t ZoomH = 200;
    double RulerMM = 0.0; // ruler thickness in millimetres of paper at the present zoom
    int32_t RulerL = 0, RulerT = 0, RulerR = 0, RulerB = 0;
    int32_t MarginL = 0, MarginT = 0, MarginR = 0, MarginB = 0;
    int32_t TotalW = 0, TotalH = 0; // the whole scrollable content
    int32_t RangeX = 0, RangeY = 0; // the scroll ranges
    int32_t ScrollX = 0, ScrollY = 0;
    int32_t ViewW = 0, ViewH = 0; // the surface at the last layout
};

// The numbers every conversion reads: resolution, zoom, drawing scale, unit and page geometry.
struct QUINDLE_WIDGETS_EXPORT TZOREditorGeometry {
    static constexpr double MicrometresPerInch = 25400.0;
    // The smallest zoom: a fitted zoom in a tiny editor never reaches 0.
    static constexpr float MinZoom = 0.01f;

    int32_t DPIX = 96;
    int32_t DPIY = 96;
    float ZScale = 1.0f;
    int32_t Scale = 1; // the label's drawing scale, at least 1
    TZORUnits Units = TZORUnits::Millimetre;
    TZORDimScroll D;

    int32_t X0() const { return D.MarginL + D.RulerL - D.ScrollX; }
    int32_t Y0() const { return D.MarginT + D.RulerT - D.ScrollY; }

    // Units of the display unit per inch (mm 25.4, inch 1, ...).
    static double UnitsPerInch(TZORUnits u);
    double K() const { return UnitsPerInch(Units); }

    // Surface pixels to base units: always a multiple of the drawing scale.
    int64_t BaseMMX(int32_t px) const;
    int64_t BaseMMY(int32_t py) const;
    // Base units to surface pixels.
    int32_t ScreenMMX(int64_t base) const;
    int32_t ScreenMMY(int64_t base) const;
    // Base units to pixels at zoom 1, without the origin.
    double BaseToScreenX(int64_t base) const;
    double BaseToScreenY(int64_t base) const;
    // A value in the display unit to pixels, with the origin when withOffset.
    int32_t CoordDX(double value, bool withOffset) const;
    int32_t CoordDY(double value, bool withOffset) const;
    // Pixels at zoom 1 to pixels at the present zoom.
    int32_t DrawDMMX(double value, bool withOffset) const;
    int32_t DrawDMMY(double value, bool withOffset) const;
    // Surface pixels to a value in the display unit (less the origin when withOffset).
    double WorldX(int32_t px, bool withOffset) const;
    double WorldY(int32_t py, bool withOffset) const;
    // Pixels to millimetres at zoom 1.
    double CoordX(int32_t px) const;
    // Pixels per display unit at the present zoom (no drawing scale).
    double FX() const;
    double FY() const;
    // A value in the display unit to base units.
    int64_t BaseMM(double value) const;

    // The nearest multiple of step; an exact half rounds toward zero, as do negative values.
    // A step of 0 or below leaves v as it is.
    static int64_t GridRound(int64_t v, int64_t step);
};
