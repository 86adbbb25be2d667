#include "Zor.Undo.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

// Equal records are made to share one buffer, so that a chain of steps holds each state once.
void Share(QByteArray& bytes, const QByteArray& with)
{
    if (bytes.constData() != with.constData() && bytes == with)
        bytes = with;
}

} // namespace

void TZORUndo::Reset(TZORUndoState base)
{
    fBase = std::move(base);
    fSteps.clear();
    fPos = 0;
    fSaved = 0;
}

void TZORUndo::SetLimits(int32_t maxSteps, int64_t maxBytes)
{
    fMaxSteps = std::max(maxSteps, 1);
    fMaxBytes = std::max<int64_t>(maxBytes, 0);
    Trim();
}

const TZORUndoState& TZORUndo::Current() const
{
    return fPos == 0 ? fBase : fSteps[size_t(fPos - 1)].after;
}

bool TZORUndo::Push(TZORUndoState before, TZORUndoState after)
{
    if (before.bytes == after.bytes)
        return false;
    if (fSaved > fPos)
        fSaved = -1; // it was among the steps undone, which this edit drops
    fSteps.resize(size_t(fPos));
    Share(before.bytes, Current().bytes);
    fSteps.push_back({ std::move(before), std::move(after) });
    fPos = int32_t(fSteps.size());
    Trim();
    return true;
}

const TZORUndoState* TZORUndo::Undo()
{
    if (!CanUndo())
        return nullptr;
    return &fSteps[size_t(--fPos)].before;
}

const TZORUndoState* TZORUndo::Redo()
{
    if (!CanRedo())
        return nullptr;
    return &fSteps[size_t(fPos++)].after;
}

int64_t TZORUndo::GetBytes() const
{
    std::unordered_set<const char*> counted;
    int64_t bytes = 0;
    const auto count = [&](const QByteArray& b) {
        if (counted.insert(b.constData()).second)
            bytes += b.size();
    };
    count(fBase.bytes);
    for (const TStep& step : fSteps) {
        count(step.before.bytes);
        count(step.after.bytes);
    }
    return bytes;
}

void TZORUndo::Trim()
{
    // Only steps done are dropped (an undone one leads back to the label as it is), and the
    // oldest step's after becomes the start state.
    while (fPos > 0 && fSteps.size() > 1 && (int32_t(fSteps.size()) > fMaxSteps || GetBytes() > fMaxBytes)) {
        fBase = std::move(fSteps.front().after);
        fSteps.erase(fSteps.begin());
        --fPos;
        fSaved = fSaved > 0 ? fSaved - 1 : -1;
    }
}
