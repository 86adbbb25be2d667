#pragma once

#include "Zor.Rank.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"
#include "elements/lines/Zor.Vcl.Lines.Frame.h"

// Nutrition score (type code 22).
class QUINDLE_VCL_EXPORT TZORNutriScore : public TZORBaseNutri, public TZORElementIO<TZORNutriScore> {
public:
    using TZORBaseNutri::TZORBaseNutri;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};
