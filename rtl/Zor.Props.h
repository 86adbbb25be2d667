#pragma once

#include "Zor.Fields.h"
#include "Zor.Json.h"
#include "Zor.RtlExport.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class QObject;
class TZORBaseItem;
class TZORBaseLabel;

// Property rows of the selected elements, as a property inspector shows them.
//
// Each row is one JSON object: "H" (height in pixels at 96 dpi), "N" (slots), "Kind" and "Type"
// (which part of the label the row edits), and per slot k the keys "Prop"k (slot kind), "P"k
// (position), "C"k (column), "T"k and "TV"k (title and value tops in the row; a negative "T" has
// no title), "AT"k, "Name"k, "Value"k, "F"k / "FE"k (shown and edit formats), "I"k / "M"k / "X"k
// (step, minimum, maximum) and "List"k (list source). The rows of elements are made from their
// field tables, the same tables that read and write them, so that the inspector offers exactly
// what a label file holds.

// Slot kinds ("Prop"k).
enum class TZORInsProp : uint8_t {
    Text = 0,
    Float = 1,
    Color = 2,
    Check = 3,
    Integer = 4,
    ImagePath = 5,
    FormatInt = 6,
    BarText = 7,
    List = 8,
    Memo = 9,
    Table = 10,
    PolyText = 11,
    Align = 12, // three horizontal-alignment buttons
    Align2 = 13, // three horizontal- and three vertical-alignment buttons
};

// Row kinds ("Kind"): what UpdateProp changes.
enum class TZORInsRow : uint8_t {
    Field = 0, // a field of the selected elements; "P" is its index in the first one's table
    Align = 1, // the horizontal (position 1) and vertical (position 2) alignment together
    Point = 2, // a point of the first selected element: "P" 2i-1 is its x, 2i its y (mm)
    Editor = 3, // a button that opens the element's own editor (table, poly text)
};

namespace zor {

// The row type of the combined alignment row.
constexpr int32_t InsAlignType = 18;

// The number of list sources ("List"k), 0 to 24.
constexpr int32_t InsListSources = 25;

// The state of the inspector's in-place editor.
struct QUINDLE_RTL_EXPORT TDataEdit {
    int32_t X = 0, Y = 0, W = 0, H = 0;
    double Value = 0, Inc = 1, Max = 0, Min = 0;
    QString Text;
    QString AltCode;
    bool SelectAll = false;
    int32_t Caret = 0;
    int32_t Row = -1, Slot = -1;
    uint8_t Kind = 0; // input type: 1 text, 2 decimal, 3 whole number
    bool AltMode = false;
    bool Active = false;

    // Closes the editor. Row and Slot stay, so that the slot last edited can be redrawn.
    void Reset();
};

// A length of pixels at 96 dpi at the resolution dpi.
QUINDLE_RTL_EXPORT int32_t ScalePos(double value, int32_t dpi);

// Layout of a slot in the inspector's grid of 24 column units (unit: the width of one, in
// pixels). Column 0 puts the title in the left part and the value in the right part of the row;
// column 1 gives the value the whole width.
QUINDLE_RTL_EXPORT double XPosCtrl(int32_t column, int32_t prop, double unit);
QUINDLE_RTL_EXPORT double WidthCtrl(int32_t column, int32_t prop, double unit);
QUINDLE_RTL_EXPORT double HeightCtrl(int32_t prop, int32_t dpi);
QUINDLE_RTL_EXPORT double XPosTitle(int32_t column, double unit);
QUINDLE_RTL_EXPORT double WidthTitle(int32_t column, double unit);
// True when x lies in the slot's value cell (aCursor: asked for the pointer's shape).
QUINDLE_RTL_EXPORT bool CheckXPos(
    double x, int32_t column, int32_t prop, bool aCursor, double unit, bool aMapButton);

// The rows the selected elements share, in the order of the first one's fields: a field becomes
// a row when every selected element has it.
QUINDLE_RTL_EXPORT TJsonArray InspectorRows(const std::vector<const TZORBaseItem*>& selection);
// The rows of the points of an element.
QUINDLE_RTL_EXPORT TJsonArray PointRows(const TZORBaseItem& item);

// The slot kind and list source that field `index` of the element shows as.
struct QUINDLE_RTL_EXPORT TZORSlotOf {
    TZORInsProp prop = TZORInsProp::Text;
    int32_t list = -1;
    bool shown = false; // false: the field has no row
};
QUINDLE_RTL_EXPORT TZORSlotOf SlotOfField(const TZORBaseItem& item, int32_t index);
// The index of the field named key in the element's table; -1 for none.
QUINDLE_RTL_EXPORT int32_t FieldIndex(const TZORBaseItem& item, const char* key);
// Puts the value of field `index` of item under key as its slot shows it (a layer as its 0-based
// place, a dimension style as the place of the style with its ID).
QUINDLE_RTL_EXPORT void PutSlotValue(
    TJsonObject& o, const QString& key, const TZORBaseItem& item, int32_t index);
// The field value that the slot's value object asks for, brought into the field's range; false
// when it names nothing the field can hold (a layer or style that is not there, a number that is
// not finite).
QUINDLE_RTL_EXPORT bool SlotFieldValue(
    const TZORBaseItem& item, int32_t index, const TJsonObject& value, TZORFieldValue& out);
// The value key of a slot kind and list source ("txt", "ext", "int", "i64", "bol").
QUINDLE_RTL_EXPORT const char* ValueKey(TZORInsProp prop, int32_t list);

// Fixed lists (sources 1-3, 5-8, 11, 17-22, 24) and the texts of their entries; an index out of
// a list gives an empty text.
QUINDLE_RTL_EXPORT QStringList FillList(int32_t source);
QUINDLE_RTL_EXPORT QString ItemList(int32_t source, int32_t index);
// True for a source whose "Value" is the index of the entry (false: the entry's text).
QUINDLE_RTL_EXPORT bool IsIndexList(int32_t source);
// The entries of a source: the fixed lists, and the names the label holds (layers, dimension
// styles, fonts, data fields). Field names carry a mark in front: "@" a counter.
QUINDLE_RTL_EXPORT QStringList ListEntries(const TZORBaseLabel& label, int32_t source, QObject* sender);

// Deletes the character before the caret; false when there is none.
QUINDLE_RTL_EXPORT bool DeleteCharPos(QString& text, int32_t caret);

} // namespace zor
