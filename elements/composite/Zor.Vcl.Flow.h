#pragma once

#include "Zor.Flow.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"
#include "elements/text/Zor.Vcl.Text.Frame.h"

#include <QRectF>

// The renderer of flowchart nodes. It builds its outline once, in device coordinates of the
// target it is given, and the screen and the paper paint that same outline, so that both show
// the same shape.

namespace zor {

// The outline of a flowchart shape in a box (device pixels, either way round): the figure that
// fills, and the strokes that outline it (the same figure, except the two inner bars of a link
// node). Shapes beyond the named ones have neither.
struct QUINDLE_VCL_EXPORT TZORFlowPaths {
    TGPGraphicsPath Shape;
    TGPGraphicsPath Outline;
};

QUINDLE_VCL_EXPORT TZORFlowPaths FlowPaths(TZORFlowType type, const QRectF& box);
// A link's two bars inside its sides, added to `path` as figures of their own.
QUINDLE_VCL_EXPORT void AddLinkBars(TGPGraphicsPath& path, const QRectF& box);

} // namespace zor

// Flowchart node (type code 17): the shape filled and outlined, then its text, wrapped inside
// the shape by the flowchart layout and placed from the padded box's top-left corner.
class QUINDLE_VCL_EXPORT TZORFlow : public TZORBaseFlow, public TZORElementIO<TZORFlow> {
public:
    using TZORBaseFlow::TZORBaseFlow;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }
    // A place off the middle of a side lies on the drawn outline: from the box's side, square
    // to it, to where the shape meets that line first (a diamond's slanted edge). The middles
    // stay the node's anchors on its box.
    TZORPto GetAnchorAlong(int32_t index, float along) const override;
    // The font's metrics and the text's lines (paper micrometres from the padded box's top-left
    // corner) as the element stands: each pass lays its text out afresh, so nothing is kept that
    // could lag behind a change.
    zor::TxtLines LayOut(TZORFontMetrics& metrics) const;

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
    void PaintText(zor::TZORElementPainter& P, const QRectF& box) const;
};
