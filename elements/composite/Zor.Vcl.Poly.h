#pragma once

#include "Zor.Poly.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"

// Poly text (type code 20). Runs of text show each item's own text on screen and its value on
// paper; a code joins them. An invalid linear code shows a red cross and prints nothing; outputs
// beyond the four show the frame alone on both targets.
class QUINDLE_VCL_EXPORT TZORPolyText : public TZORBasePoly, public TZORElementIO<TZORPolyText> {
public:
    using TZORBasePoly::TZORBasePoly;

    // Encodes the own code and measures the runs and the digits' font.
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;
};
