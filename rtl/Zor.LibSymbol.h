#pragma once

#include "Zor.Fields.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace zor {

class TBinaryReader;
class TBinaryWriter;
class TJsonArray;
class TJsonObject;

} // namespace zor

// The kinds of a symbol's display list, by their byte. Kinds 0 to 12 and 23 change the drawing
// state, 13 to 20 and 22 draw, 21 opens (true) or closes (false) a path.
enum class TZORSymKind : uint8_t {
    PenWidth = 0,
    Fill = 1,
    RoundCap = 2,
    ScalePen = 3,
    ForeColor = 4,
    BackColor = 5,
    LineType = 6,
    FontColor = 7,
    FontHeight = 8,
    FontName = 9,
    Bold = 10,
    Italic = 11,
    Underline = 12,
    Line = 13,
    Circle = 14,
    Ellipse = 15,
    Rectangle = 16,
    Polyline = 17,
    Arc = 18,
    Text = 19,
    Bezier = 20,
    Path = 21,
    Sector = 22,
    FontScale = 23,
};

// One entry of a display list. Coordinates and radii are base units from the symbol's insertion
// point, y pointing down; angles are degrees. Only the members of the entry's kind are read.
struct QUINDLE_RTL_EXPORT TZORSymItem {
    TZORSymKind Kind = TZORSymKind::Line;
    // Line, rectangle: two points; polyline, Bézier: every point (a Bézier's start point, then
    // three per cubic segment); circle, ellipse, arc, sector: the centre; text: the anchor.
    std::vector<TZORPto> Points;
    int64_t RadiusX = 0; // circle, arc, sector, ellipse (horizontal); rectangle: corner radius
    int64_t RadiusY = 0; // ellipse (vertical)
    double Start = 0.0; // arc, sector: clockwise from the positive x axis
    double Sweep = 0.0; // arc, sector: clockwise when positive
    // Pen width and font height (millimetres on paper), font scale; text: its angle, turning
    // counter-clockwise about the anchor.
    double Number = 0.0;
    // Fill, round cap, scale pen, bold, italic, underline; polyline and Bézier: closed;
    // path: begins.
    bool Flag = false;
    zor::TAlphaColor Color {};
    TZORineType LineType = TZORineType::Solid;
    TZORHorzAlign HAlign = TZORHorzAlign::Left;
    TZORVertAlign VAlign = TZORVertAlign::Top;
    QString Text; // font name; text
};

// A library symbol definition: a named drawing, in a category, whose "Def" array describes its
// parts in the unit "Units", inserted at (InsertX, InsertY). The label keeps the definitions its
// symbol elements use; library files (".lyp") hold arrays of them.
//
// "Def" is an array of objects, each naming its kind in "Kind" (the names of TZORSymKind, and
// "Link" for a connection point). Lengths are in "Units" ("mm", "inch", "cm", "dm", "m", "ft",
// "yd"), positions are [x, y] pairs, colours AARRGGBB numbers or "#RRGGBB" / "#AARRGGBB" texts:
//   state kinds             "Value": a number (PenWidth, FontHeight in mm; FontScale), a flag,
//                           a colour, a line type (0 to 11) or a font name
//   "Line", "Rectangle"     "Points": two positions; a rectangle's optional "Radius" rounds it
//   "Polyline", "Bezier"    "Points": two or more; optional "Closed"
//   "Circle"                "Center", "Radius"
//   "Ellipse"               "Center", "RadiusX", "RadiusY"
//   "Arc", "Sector"         "Center", "Radius", "Start", "Sweep" (degrees, clockwise)
//   "Text"                  "Text", "At"; optional "Angle" (degrees, counter-clockwise),
//                           "HAlign" and "VAlign" (0 to 2)
//   "Path"                  "Value": true opens a path, false closes, fills and strokes it
//   "Link"                  "At": a connection point
class QUINDLE_RTL_EXPORT TZORLibSymbol {
public:
    static const TZORFields<TZORLibSymbol>& Fields();

    const QString& GetName() const { return fName; }
    const QString& GetCategory() const { return fCategory; }
    const QString& GetID() const { return fID; }
    // The unit of the definition's lengths; an unknown name never gets this far.
    TZORUnits GetUnits() const { return fUnitsValue; }
    // The "Def" array as compact JSON text.
    const QString& GetDef() const { return fDef; }

    // The display list, 1-based; null out of range.
    int32_t GetItemsCount() const { return int32_t(fItems.size()); }
    const TZORSymItem* GetItem(int32_t i) const;
    // Connection points, 1-based; (0, 0) out of range.
    int16_t GetNumLinks() const { return int16_t(fLinks.size()); }
    TZORPto GetLink(int32_t i) const;
    // The box of everything the list draws and of the links, base units from the insertion
    // point (an empty box at 0, 0 for an empty list). Pen widths and text extents are not in it.
    TZORRect GetBounds() const;

    // Reads a definition document; on failure answers false with errorText set and keeps the
    // symbol as it was.
    bool ReadJson(const zor::TJsonObject& o, QString& errorText);
    zor::TJsonObject GetJson() const;
    // The binary record: the fields, then the "Def" array as JSON text.
    void Write(zor::TBinaryWriter& w) const;
    static std::unique_ptr<TZORLibSymbol> Read(zor::TBinaryReader& r);

private:
    // Parses the "Def" array into the display list and links; raises EZORError naming the item.
    void ParseDef(const zor::TJsonArray& def);

    int32_t fVersion = 1;
    QString fName;
    QString fCategory;
    QString fID;
    QString fUnits = QStringLiteral("mm");
    double fInsertX = 0;
    double fInsertY = 0;
    QString fDef = QStringLiteral("[]");
    // Derived from the fields above, never stored.
    TZORUnits fUnitsValue = TZORUnits::Millimetre;
    std::vector<TZORSymItem> fItems;
    std::vector<TZORPto> fLinks;
};
