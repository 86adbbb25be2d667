#pragma once

#include <QString>

#include <atomic>
#include <cstdint>

// The tool state shared by every editor of the process: the current action (tool) and its step,
// what the construction preview draws, and the drag in progress. Numbers follow the editor's
// tables: actions 0 to 47 (1 select, 15/16 in-place text, 17 text-selection drag), states 0 to 22,
// draw types 0 to 23 (10 typing text in place), move types of the handle being dragged.
// It lives on the user-interface thread; the action is atomic because the export worker reads it.
class TAct {
public:
    static std::atomic<int32_t> fCurAction;
    static int32_t fCurState;
    static int32_t fDrawType;
    static bool fCurEditor; // an existing element or the selection is being dragged
    static int32_t fCurLinkType;
    static int32_t fMoveType;
    static int32_t fPos1; // index of the point being moved, 0 for none
    static QString fText;

    // Back to the select tool with nothing in progress.
    static void Reset();
    static void SetCurAction(int32_t action);
    static void SetState(int32_t state);
    static void SetMove(int32_t moveType, int32_t pos);
};
