#pragma once

#include "Zor.Handles.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QString>

#include <cstdint>
#include <vector>

class TZORBaseItem;
class TZORBaseLabel;

// The text of the element edited in place (a text, a paragraph or a rich text): what the editor
// reads and writes while the user types.
class QUINDLE_RTL_EXPORT TZORTextObject {
public:
    explicit TZORTextObject(TZORBaseItem* item)
        : fItem(item)
    {
    }
    TZORBaseItem* Item() const { return fItem; }
    QString GetText() const;
    // Writes the text into the element and lays it out anew.
    void SetText(const QString& text);
    // Whether the element is a kind that is edited in place.
    static bool IsTextKind(const TZORBaseItem* item);

private:
    TZORBaseItem* fItem;
};

// What the label's tools hold between a press and the release or the last click: the drag in
// progress, the selection window and the text being edited. Elements are named by ID, so that
// a deletion meanwhile leaves nothing dangling.
class QUINDLE_RTL_EXPORT TZOREditState {
public:
    // One selected element as the drag found it.
    struct TDragged {
        int32_t ID = 0;
        std::vector<TZORPto> Points;
        TZORRect Bounds;
    };

    // --- Drag ---
    bool Dragging = false; // a drag has started: the start state is kept
    bool UndoOpen = false; // the label opened an undo step for the press
    std::vector<TDragged> Start;
    TZORRect StartBox; // bounds of the selection at the start
    TZORPto StartPointer; // where the pointer was at the start
    TZORPto Pointer; // where it is now, as the moves told it
    TZORPto Applied; // how far the selection was moved so far (move type 1)
    bool HasAnchor = false; // the press point is known
    TZORPto Anchor;

    // --- Selection window ---
    TZORPto WindowStart;
    bool WindowAdds = false;

    // --- Tools ---
    int32_t PickedID = 0; // the circle a radial dimension measures, the first end of a link
    int16_t PickedAnchor = 0;
    int32_t TextID = 0; // the text edited in place
    bool TextIsNew = false; // made by the text tool: left empty, it goes
    TZORTextObject Text { nullptr };
    std::vector<TZORHandle> Handles; // as GetSelPointCount built them
    // The edges that trim and extend cut at or lengthen to: element IDs, and reference lines as
    // minus their number.
    std::vector<int32_t> Edges;
    bool DistanceTyped = false; // the offset's next press carries its typed distance
    int64_t Distance = 0; // the offset's distance

    void EndDrag()
    {
        Dragging = false;
        HasAnchor = false;
        Start.clear();
        Applied = {};
    }
};
