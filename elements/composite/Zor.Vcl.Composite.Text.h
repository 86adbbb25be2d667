#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.Fonts.h"
#include "drawing/Zor.VclExport.h"
#include "elements/text/Zor.Vcl.Text.Frame.h"

#include <QPointF>
#include <QString>

class QPainter;
class TZORDraw;

// Text as the composite kinds write it.

namespace zor {

// The painter of the target (the screen canvas's or the printer graphics'); null when the pass
// has none.
QUINDLE_VCL_EXPORT QPainter* TargetPainter(TZORDraw& D, TZORTarget target);

// Filled glyphs of `text` (no stroke widens them), the baseline starting at `start` and turned
// about it by `degrees` (clockwise on the page), stretched along the baseline by scaleX, on the
// painter of the target with its transform; nothing when the target has none.
QUINDLE_VCL_EXPORT void PaintGlyphs(TZORDraw& D, TZORTarget target, const TScaledFont& font,
    const QPointF& start, double degrees, double em, const QString& text, TAlphaColor color,
    double scaleX = 1.0);

// The font of a text of the composite kinds: family, styles, height in millimetres on paper,
// the ratio the text metrics gave to the character height, and colour.
struct QUINDLE_VCL_EXPORT TZORTextLook {
    QString Family;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false; // paper only
    double HeightMM = 0.0;
    double Ratio = 1.0;
    TAlphaColor Color {};
};

// Writes `text` with its cell's top-left at local (u, v) of `turn` (device pixels), turned with
// it, on the screen canvas or on the printer.
QUINDLE_VCL_EXPORT void WriteText(TZORElementPainter& P, const TZORTurn& turn, double u, double v,
    const QString& text, const TZORTextLook& look);

} // namespace zor
