#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QCursor>

#include <cstdint>

// The tool cursors of the editors: one table for the whole process, ids 5 to 50 (20 and 21 are
// not used), each drawn here on first use. Id 0, and any id without a cursor of its own, is the
// platform's arrow.
namespace zor {

constexpr int FirstToolCursor = 5;
constexpr int LastToolCursor = 50;
// A tool's cursor id that leaves the cursor as it is.
constexpr int KeepCursor = -1;

// The cursor of id; the arrow for 0 and for ids without a cursor.
QUINDLE_WIDGETS_EXPORT const QCursor& ToolCursor(int id);
// The resource name of a cursor id ("QN_RECT"); empty for ids without a cursor.
QUINDLE_WIDGETS_EXPORT const char* ToolCursorName(int id);

// What starting an edition does when a tool is chosen or the model's action changes.
enum class TZOREdition : uint8_t {
    Keep, // nothing
    Start, // an edition starts: the surface takes points
    StartText, // an edition starts that takes no points (typed text)
    Stop, // the surface takes no more points
};

// What a tool change does besides its cursor.
enum class TZORToolEffect : uint8_t {
    None,
    ClearText, // the in-place text starts empty, caret at 0
    FillText, // the in-place text takes the text being edited, caret at its end
    StopText, // in-place typing and the value box end
    ResetPointsKeepLink, // the construction points are forgotten, the link kind kept
    ResetPoints, // the construction points are forgotten
};

struct QUINDLE_WIDGETS_EXPORT TZORToolStep {
    int Cursor = KeepCursor;
    TZOREdition Edition = TZOREdition::Keep;
    TZORToolEffect Effect = TZORToolEffect::None;
};

// The cursor of the current tool (zor::TZORAction) in its state (zor::TZORToolState), with the
// edition it starts.
QUINDLE_WIDGETS_EXPORT TZORToolStep ToolStep(int32_t action, int32_t state);
// What a change of the model's action starts: an edition, and for a typed distance its cursor.
QUINDLE_WIDGETS_EXPORT TZORToolStep ActionStep(int32_t action, int32_t state);

} // namespace zor
