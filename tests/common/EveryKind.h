#pragma once

#include "Zor.Item.h"
#include "Zor.Label.h"

#include <cstdint>
#include <memory>

// One element of every kind, made by the label from its type code, for tests that run over all
// the kinds a label holds.
namespace zor::test {

// The type codes of the element kinds.
inline constexpr int32_t FirstKindCode = 1;
inline constexpr int32_t LastKindCode = 29;

// Points for a new element of any kind, from x onwards: the kind's own count, or four for a run
// (a polygon needs three, a Bézier curve 3k+1).
inline void GivePoints(TZORBaseItem& item, int64_t x)
{
    const int32_t n = item.FixedPoints() > 0 ? item.FixedPoints() : 4;
    for (int32_t i = 1; i <= n; ++i)
        item.SetBase(i, x + 1000 * i, 2000 + 700 * (i % 2));
    item.Update();
}

// A new element of the kind with points from x onwards, not yet in the label.
inline std::unique_ptr<TZORBaseItem> NewElement(TZORBaseLabel& label, int32_t code, int64_t x)
{
    std::unique_ptr<TZORBaseItem> item = label.NewItem(code, false);
    if (item)
        GivePoints(*item, x);
    return item;
}

} // namespace zor::test
