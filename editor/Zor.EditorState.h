#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QPoint>

#include <cstdint>

// The snap point shown under the pointer while a tool moves (base units, the model's point kind).
struct QUINDLE_WIDGETS_EXPORT TZORSnapMark {
    bool Shown = false;
    int64_t X = 0, Y = 0;
    int Kind = 0;
};

// What an editor's surface shares with its helpers: the input writes the pointer, the press and
// the snap mark, the tools the insert mode and the cursor, and the paint pass and the in-place
// text read them. The surface owns it; each helper holds a reference.
struct QUINDLE_WIDGETS_EXPORT TZOREditorState {
    bool Ready = false; // the page is laid out: the surface may render
    bool Inserting = false; // the current tool takes points or text
    int64_t Gap = 0; // pick distance in base units at the present zoom
    int64_t BaseX = 0, BaseY = 0; // the pointer in base units, as last pressed or moved
    QPoint Press, Pointer; // press point and pointer, surface pixels
    TZORSnapMark SnapMark; // set by the mouse input, drawn by the paint pass
    int CursorId = 0; // the tool cursor shown (zor::ToolCursor)
};
