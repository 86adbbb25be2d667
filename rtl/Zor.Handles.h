#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <cstdint>
#include <vector>

class TZORBaseItem;
class TZORBaseLabel;

// A handle of the selection in base units: its point (and, for the extent, a second point), its
// kind (zor::TZORHandleKind), the number of the element's point it stands for and the element.
struct QUINDLE_RTL_EXPORT TZORHandle {
    int64_t X = 0;
    int64_t Y = 0;
    int64_t X2 = 0;
    int64_t Y2 = 0;
    uint8_t Kind = 0;
    int16_t Index = 0;
    TZORBaseItem* Item = nullptr;
};

// A handle as the editor takes it: positions in the label's unit (at the drawing scale).
struct QUINDLE_RTL_EXPORT TZORSelPoint {
    float X = 0.0f;
    float Y = 0.0f;
    float X2 = 0.0f;
    float Y2 = 0.0f;
    uint8_t Kind = 0;
    int16_t Index = 0;
    TZORBaseItem* Item = nullptr;
};

namespace zor {

// The handles of the selection, in the order in which a hit test must try them. Every selected
// element shows its extent. One selected element offers the handles of its kind: its points,
// centre and radii, angles, the eight handles of its box; several offer the eight handles of the
// selection's bounds, which resize them together.
QUINDLE_RTL_EXPORT std::vector<TZORHandle> SelectionHandles(const TZORBaseLabel& label);
// The handles of one element's kind (without its extent).
QUINDLE_RTL_EXPORT void AddItemHandles(TZORBaseItem& item, std::vector<TZORHandle>& out);
// Kinds placed by one point, which a drag of that point moves whole (texts, codes, symbols).
QUINDLE_RTL_EXPORT bool HasInsertPoint(const TZORBaseItem& item);
// The eight handles of a box, north-west to south-east.
QUINDLE_RTL_EXPORT void AddBoxHandles(const TZORRect& box, TZORBaseItem* item, std::vector<TZORHandle>& out);

} // namespace zor
