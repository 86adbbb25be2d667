#pragma once

#include "drawing/Zor.VclExport.h"

#include <cstdint>
#include <utility>
#include <vector>

// The layout of an imported Mermaid flowchart: one row of equal nodes, numbered from 0 from the
// left. A link between neighbours runs straight from the right side of one to the left side of
// the next; every other link goes round the row in a lane of its own, above the row for links
// forwards, below it for links backwards, so that none crosses a node or lies on another.
namespace zor {

struct QUINDLE_VCL_EXPORT TRowLink {
    int64_t From = 0; // the columns it joins
    int64_t To = 0;
    bool Straight = false;
    bool Above = false;
    int64_t Lane = 0; // 1 nearest the row
    int64_t FromLeg = 0; // where the legs leave the nodes, from their middles
    int64_t ToLeg = 0;
};

// The links of the row in the order of `ends` (the columns each joins): the first link from a
// node to its right neighbour runs straight; the others take lanes, shorter links first, each
// above every shorter one it shares a column with, and their legs spread along the nodes' sides.
// The cost grows with n log n of the links.
QUINDLE_VCL_EXPORT std::vector<TRowLink> RowLinks(const std::vector<std::pair<int64_t, int64_t>>& ends);

} // namespace zor
