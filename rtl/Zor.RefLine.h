#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

class TZORBaseDraw;

// A reference line of the label: a construction line through two points (base units at the
// drawing scale), running from edge to edge of the paper. It is not printed; the editor draws
// it behind the elements, and the tools that cut and lengthen elements take it as an edge that
// has no ends.
struct QUINDLE_RTL_EXPORT TZORRefLine {
    TZORPto P1;
    TZORPto P2;

    // The ends in draw coordinates of a drawing context.
    double DrawX1(const TZORBaseDraw& d) const { return P1.DrawX(d); }
    double DrawY1(const TZORBaseDraw& d) const { return P1.DrawY(d); }
    double DrawX2(const TZORBaseDraw& d) const { return P2.DrawX(d); }
    double DrawY2(const TZORBaseDraw& d) const { return P2.DrawY(d); }

    bool operator==(const TZORRefLine&) const = default;
};
