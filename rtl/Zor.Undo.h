#pragma once

#include "Zor.RtlExport.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A whole label as the history keeps it: its binary record, and what the record leaves out
// that the user would notice coming back wrong. Elements are named by their IDs, never by
// pointer: a restored label has new element objects.
struct QUINDLE_RTL_EXPORT TZORUndoState {
    QByteArray bytes; // the label stream (WriteLabel)
    std::vector<int32_t> selection; // IDs of the selected elements, in the order of selecting
    int32_t currentSymbol = 0;
    int64_t nextID = 1; // the label's next fresh ID (past the int32 range once a file took the last)
    QString json; // the data's JSON text where the stream leaves it out (not saved with the label)
};

// The undo history of one label: a line of steps, each the state before and after one edit, and
// a cursor between the steps done and those undone. It knows nothing of labels; the label takes
// and restores the states.
//
// Memory is bounded by a step limit and a byte budget; when a new step passes either, the oldest
// steps go first, down to the newest one, which is kept whatever its size so that the last edit
// can always be undone. Bytes a step shares with its neighbour (the after of one step is most
// often the before of the next) are counted once.
class QUINDLE_RTL_EXPORT TZORUndo {
public:
    static constexpr int32_t DefaultMaxSteps = 100;
    static constexpr int64_t DefaultMaxBytes = int64_t(64) << 20;

    // The state the history starts from (a new or just loaded label); drops every step.
    void Reset(TZORUndoState base);
    void SetLimits(int32_t maxSteps, int64_t maxBytes);
    int32_t GetMaxSteps() const { return fMaxSteps; }
    int64_t GetMaxBytes() const { return fMaxBytes; }

    // The state the label is in when nothing changed since the last step, undo or redo.
    const TZORUndoState& Current() const;
    // Adds the edit from before to after, dropping the steps undone; nothing when the two
    // records are equal. True when a step was added.
    bool Push(TZORUndoState before, TZORUndoState after);

    bool CanUndo() const { return fPos > 0; }
    bool CanRedo() const { return fPos < int32_t(fSteps.size()); }
    // The state to put back, moving the cursor; null when there is nothing to undo or redo.
    const TZORUndoState* Undo();
    const TZORUndoState* Redo();

    // Marks the state the cursor is at as the one saved; AtSaved tells whether the cursor is back
    // there. A saved state dropped by a new edit or by the limits is never reached again.
    void MarkSaved() { fSaved = fPos; }
    bool AtSaved() const { return fPos == fSaved; }

    int32_t GetStepsCount() const { return int32_t(fSteps.size()); }
    int32_t GetPosition() const { return fPos; }
    // The bytes the history holds: the start state and every step, shared data once.
    int64_t GetBytes() const;

private:
    struct TStep {
        TZORUndoState before;
        TZORUndoState after;
    };
    void Trim();

    TZORUndoState fBase;
    std::vector<TStep> fSteps;
    int32_t fPos = 0;
    int32_t fSaved = 0; // the cursor position of the saved state; -1 once it is gone
    int32_t fMaxSteps = DefaultMaxSteps;
    int64_t fMaxBytes = DefaultMaxBytes;
};
