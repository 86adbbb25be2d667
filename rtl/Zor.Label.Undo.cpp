#include "Zor.Label.h"
#include "Zor.Stream.h"

#include <utility>

using zor::TBinaryReader;
using zor::TBinaryWriter;

// --- Steps ---

void TZORBaseLabel::BeginUndoStep()
{
    if (fUndoStepCount++ > 0)
        return;
    TZORUndoState now = UndoState();
    // What changed since the last step without a step of its own goes back on its own.
    if (fUndo.Push(fUndo.Current(), now))
        FireUndoRedo();
    fUndoBefore = std::move(now);
}

void TZORBaseLabel::EndUndoStep()
{
    if (fUndoStepCount == 0 || --fUndoStepCount > 0)
        return;
    // A load inside the step has emptied the history and taken the step's beginning with it.
    if (!fUndoBefore)
        return;
    TZORUndoState before = std::move(*fUndoBefore);
    fUndoBefore.reset();
    if (fUndo.Push(std::move(before), UndoState()))
        FireUndoRedo();
}

void TZORBaseLabel::RecordLoose()
{
    if (fUndo.Push(fUndo.Current(), UndoState()))
        FireUndoRedo();
}

void TZORBaseLabel::ClearUndo()
{
    fUndoBefore.reset();
    fUndo.Reset(UndoState());
    FireUndoRedo();
}

void TZORBaseLabel::SetModified(bool m)
{
    const bool was = fModified;
    fModified = m;
    if (m)
        return;
    // The saved state is the label as it is, with what changed since the last step; a label
    // that was not modified has nothing of that kind (a snapshot or a fresh read costs no step).
    if (was && fUndoStepCount == 0)
        RecordLoose();
    fUndo.MarkSaved();
}

// --- Undo and redo ---

bool TZORBaseLabel::Undo()
{
    if (UndoBusy())
        return false;
    RecordLoose();
    const TZORUndoState* state = fUndo.Undo();
    if (!state)
        return false;
    PutUndoState(*state);
    fModified = !fUndo.AtSaved();
    FireUndoRedo();
    return true;
}

bool TZORBaseLabel::Redo()
{
    if (UndoBusy())
        return false;
    // A change since the last undo is an edit: it drops what could be redone.
    RecordLoose();
    const TZORUndoState* state = fUndo.Redo();
    if (!state)
        return false;
    PutUndoState(*state);
    fModified = !fUndo.AtSaved();
    FireUndoRedo();
    return true;
}

void TZORBaseLabel::FireUndoRedo()
{
    const std::pair<bool, bool> now { CanUndo(), CanRedo() };
    if (now == fUndoRedoTold)
        return;
    fUndoRedoTold = now;
    if (OnUndoRedoEvent)
        OnUndoRedoEvent(*this, now.first, now.second);
}

// --- States ---

TZORUndoState TZORBaseLabel::UndoState() const
{
    TZORUndoState state;
    {
        TBinaryWriter w(&state.bytes);
        WriteLabel(w);
    }
    state.selection.reserve(fSelection.size());
    for (const TZORBaseItem* item : fSelection)
        state.selection.push_back(item->GetID());
    state.currentSymbol = fCurrentSymbol;
    state.nextID = fNextID;
    if (!fData.GetSaveJson())
        state.json = fData.GetJson();
    return state;
}

void TZORBaseLabel::PutUndoState(const TZORUndoState& state)
{
    // The views learn the label anew once, as after a load; no step is taken of the way back.
    BeginUpdate(false);
    UnSelectAll();
    RemoveItemsFrom(0);
    fSymbols.clear();
    TBinaryReader r(state.bytes);
    ReadLabel(r);
    if (!state.json.isEmpty())
        fData.SetJson(state.json);
    fCurrentSymbol = state.currentSymbol;
    fNextID = state.nextID;
    for (int32_t id : state.selection)
        Select(SearchItem(id), true);
    fModified = true;
    fPending[TZRChange::Settings]
        = { fMeasure.GetSize(TZORSizeKind::PaperWidth), fMeasure.GetSize(TZORSizeKind::PaperHeight) };
    fPending.try_emplace(TZRChange::Units);
    fPending.try_emplace(TZRChange::Redraw);
    fPending.try_emplace(TZRChange::Selection);
    EndUpdate();
}
