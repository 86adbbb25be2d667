#pragma once

#include "Zor.Rank.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"
#include "elements/lines/Zor.Vcl.Lines.Frame.h"

// Rating (type code 21).
class QUINDLE_VCL_EXPORT TZORRank : public TZORBaseRank, public TZORElementIO<TZORRank> {
public:
    using TZORBaseRank::TZORBaseRank;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};
