#pragma once

#include "Zor.RtlExport.h"

#include <cstdint>

// What changed in a label, as the views (editor, inspector, preview) learn it. The ordinals are
// part of the views' contract: each view reacts to its own subset and ignores the rest.
enum class TZRChange : uint8_t {
    Settings = 0, // label settings and paper; value: paper width, height (µm)
    PaperColor = 1, // the paper (back surface) colour
    Reserved2 = 2,
    PaperSize = 3, // value: paper width, height (µm)
    Redraw = 4, // the items changed: repaint, rebuild property rows
    Units = 5, // the label's length unit
    Update = 6, // value.v1: 0 an update bracket opened, 1 it closed
    Action = 7, // the current tool action changed
    SelectionGeometry = 8, // the selection moved or was resized
    ScrollToSelection = 9,
    EndText = 10, // in-place text editing ended
    Tool = 11, // the tool cursor must follow the current action
    RedrawTool = 12, // repaint, then the tool cursor
    Selection = 13, // the selection changed
    EditProperty = 14, // value: property code, position, flag (open its editor)
    Reserved15 = 15,
    PointRows = 16, // the inspector appends the selected element's point rows
    StartText = 17, // in-place text editing starts
    RefreshText = 18, // the text being edited in place changed
    Reserved19 = 19,
    ChooseSymbol = 20, // the symbol tool asks the editor to pick a library symbol
};

struct QUINDLE_RTL_EXPORT TZRChangeValue {
    int64_t v1 = 0;
    int64_t v2 = 0;
    bool flag = false;
    uint8_t prop = 0; // property code (EditProperty)
    int32_t pos = 0; // position of the property's slot (EditProperty)

    bool operator==(const TZRChangeValue&) const = default;
};

// Kind of a view, as TypeDest answers it.
enum class TZRObserverKind : uint8_t { Editor = 0, Inspector = 1, Preview = 2, LibraryViewer = 3 };

// A view attached to a label. The label does not own its observers; a view detaches itself
// before it is destroyed, and may do so from inside UpdateCtrl.
class QUINDLE_RTL_EXPORT IZRObserver {
public:
    virtual ~IZRObserver() = default;
    virtual void UpdateCtrl(TZRChange change, const TZRChangeValue& value) = 0;
    virtual TZRObserverKind TypeDest() const = 0;
};
