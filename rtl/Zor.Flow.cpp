#include "Zor.Flow.h"

#include "Zor.Label.h"

// --- Flowchart node ---

const TZORFields<TZORBaseItem>& TZORBaseFlow::GetFields() const
{
    using F = TZORBaseFlow;
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &F::fFlowType>("FlowType"),
              Field<TZORBaseItem, &F::fText>("Text"),
          };
    return fields;
}

// --- Link ---

const TZORFields<TZORBaseItem>& TZORBaseLink::GetFields() const
{
    using L = TZORBaseLink;
    static const TZORFields<TZORBaseItem> fields = BaseFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &L::fLinkType>("LinkType"),
              Field<TZORBaseItem, &L::fFromID>("FromID"),
              Field<TZORBaseItem, &L::fToID>("ToID"),
              Field<TZORBaseItem, &L::fFromIndex>("FromIndex"),
              Field<TZORBaseItem, &L::fToIndex>("ToIndex"),
          };
    return fields;
}

void TZORBaseLink::SetBasePoint(int32_t i, int64_t x, int64_t y, bool aRecalc)
{
    SetBase(i, x, y);
    if (aRecalc)
        CalcLinkPoints(false);
}

void TZORBaseLink::SetLinkPoint(int32_t i, float x, float y)
{
    SetBasePoint(i, FromUnits(x), FromUnits(y), false);
}

bool TZORBaseLink::CalcLinkPoints(bool aNew)
{
    if (aNew && zor::IsRoutedLink(fLinkType))
        AssignPoints({});
    TZORPto start, end;
    if (!FindAnchor(fFromID, fFromIndex, start) || !FindAnchor(fToID, fToIndex, end))
        return false;
    fStart = start;
    fEnd = end;
    return true;
}

bool TZORBaseLink::FindAnchor(int32_t id, int16_t index, TZORPto& p) const
{
    const TZORBaseItem* target = fOwner ? fOwner->SearchItem(id) : nullptr;
    if (!target || target == this || index < 1 || index > target->GetPointsCount())
        return false;
    p.DefineBase(target->GetRefX(index), target->GetRefY(index));
    return true;
}
