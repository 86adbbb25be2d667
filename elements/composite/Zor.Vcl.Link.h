#pragma once

#include "Zor.Flow.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"
#include "elements/lines/Zor.Vcl.Lines.Frame.h"

// Link (type code 18): the course between the anchors of the two joined elements, found afresh
// on every pass, with a marker at each end pointing along the course. A link whose element is
// gone draws nothing.
class QUINDLE_VCL_EXPORT TZORLink : public TZORBaseLink, public TZORElementIO<TZORLink> {
public:
    using TZORBaseLink::TZORBaseLink;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};
