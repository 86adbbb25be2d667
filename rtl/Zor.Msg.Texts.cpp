#include "Zor.Msg.h"

// The built-in English texts. Keys are case-sensitive and spelled as the callers spell them.

namespace {

using zor::TZORMsgText;

constexpr TZORMsgText PropTexts[] = {
    { "Answer", "Answer" },
    { "BackColor", "Fill color" },
    { "Color", "Color" },
    { "DimStyles", "Dimension styles" },
    { "Drawing", "Drawing" },
    { "DrawingName", "Drawing name" },
    { "Height", "Height" },
    { "Label", "Label" },
    { "Latitude", "Latitude" },
    { "Name", "Name" },
    { "PolyText", "Poly text" },
    { "Size", "Size" },
    { "StartEndLine", "Line ends" },
    { "Table", "Table" },
    { "Text", "Text" },
    { "Transparent", "Transparent" },
    { "Width", "Width" },
    { "ZOrderLayer", "Z-order by layer" },
};

constexpr TZORMsgText DialogsTexts[] = {
    { "Add", "Add" },
    { "AddColumn", "Add column" },
    { "AddCounter", "Add counter" },
    { "AddDimStyle", "Add dimension style" },
    { "AddText", "Add text" },
    { "AnsType", "Answer type" },
    { "AskList", "Questions" },
    { "Cancel", "Cancel" },
    { "Clear", "Clear" },
    { "Column", "Column" },
    { "Count", "Count" },
    { "CsvFile", "CSV file" },
    { "CurDrawing", "Current drawing" },
    { "DelCounter", "Delete this counter?" },
    { "DelLayer", "Delete this layer?" },
    { "DelStyle", "Delete this dimension style?" },
    { "Delete", "Delete" },
    { "DrawingArea", "Drawing area" },
    { "FilterJson", "JSON files (*.json);;All files (*)" },
    { "Fit", "Fit" },
    { "FitExp", "Export the content of the label alone, cropped" },
    { "Format", "Format" },
    { "JsonData", "JSON" },
    { "Layers", "Layers" },
    { "Level", "Level" },
    { "LoadJson", "Load JSON" },
    { "NameList", "New value list" },
    { "NameQuest", "New question" },
    { "NoFields", "No fields" },
    { "Ok", "OK" },
    { "Quality", "Quality of JPEG images (10 to 100)" },
    { "Quest", "Question" },
    { "Save", "Save" },
    { "SaveCounter", "Save the changes to this counter?" },
    { "ScaleExp", "Scale of the export (0.2 to 5)" },
    { "SelectText", "Select a text" },
    { "SymbolLib", "Symbol library" },
    { "Transparent", "White becomes transparent in PNG and GIF images" },
    { "ValList", "Value lists" },
};

constexpr TZORMsgText ListTexts[] = {
    { "DateTime", "Date and time" },
    { "Integer", "Integer" },
    { "None", "None" },
    { "Number", "Number" },
    { "Semicolon", "Semicolon" },
    { "String", "String" },
    { "Text", "Text" },
};

constexpr TZORMsgText ErrorTexts[] = {
    // Raised or shown by the label, its dialogs and its elements.
    { "DelDefLayer", "The default layer cannot be deleted" },
    { "DelDefStyle", "The default dimension style cannot be deleted" },
    { "EventNumber", "The number of coordinate values must be even" },
    { "Geocoding", "Geocoding failed" },
    { "LimitCounters", "A label can have at most 5 counters" },
    { "LocNotFound", "Location not found" },
    { "Polygon", "A polygon needs at least three points" },
    { "RepeatName", "This name is already used" },
    { "SameName", "This name already exists" },
    // Label files and the model's records.
    { "FieldBase64", "The value of \"%1\" is not valid base64" },
    { "FieldRange", "The value %2 of \"%1\" is out of range" },
    { "FileVersion", "Unsupported label file version %1" },
    { "InvalidPoint", "A point must have exactly two coordinates" },
    { "PointRange", "The point (%1, %2) lies beyond the largest label" },
    { "LabelData", "A label needs at least one layer and one dimension style" },
    { "PointIndex", "The point index is out of range" },
    { "SymbolName", "A symbol needs a name" },
    // Symbol definitions and libraries. %1 names the member by its path ("Def[2].Radius").
    { "SymbolKind", "\"%1\": unknown kind of symbol item \"%2\"" },
    { "SymbolPoints", "\"%1\": at least %2 points are needed" },
    { "SymbolPoint", "\"%1\": a point must have exactly two coordinates" },
    { "SymbolValue", "\"%1\": the value is out of range" },
    { "SymbolUnits", "Unknown unit of a symbol \"%1\"" },
    { "SymbolID", "A symbol needs an ID of its own (\"%1\" is empty or taken)" },
    { "LibraryFile", "The symbol library \"%1\" cannot be read: %2" },
    { "LibrarySymbol", "symbol %1: %2" },
    { "LibraryName", "\"%1\" is not the name of a file in the library folder" },
    { "LibraryMissing", "The symbol library \"%1\" is not in the library folder" },
    { "SymbolMissing", "The symbol library \"%1\" holds no symbol \"%2\"" },
    { "UnknownItemType", "The file holds an element of an unknown kind" },
    // Files.
    { "FileOpen", "Cannot open the file \"%1\": %2" },
    { "FileWrite", "Cannot save the file \"%1\": %2" },
    // Maps.
    { "MapFolder", "Choose an image folder for the label before composing a map" },
    { "MapImage", "The composed map image could not be made" },
    { "LanguageFile", "Invalid language file \"%1\": %2" },
    // The JSON object model. %1 names the value by its path from the root ("Items[2].Width").
    { "JsonNotValid", "JSON is not valid" },
    { "JsonDepth", "nested deeper than %1 levels" },
    { "JsonRoot", "The JSON text is neither an object nor an array" },
    { "JsonNotObject", "The JSON value \"%1\" is not an object" },
    { "JsonNotArray", "The JSON value \"%1\" is not an array" },
    { "JsonMissing", "The JSON member \"%1\" is missing" },
    { "JsonType", "The JSON value \"%1\" is %2 where %3 is expected" },
    { "JsonRange", "The JSON value \"%1\" is out of range: %2" },
    { "JsonIndex", "The JSON index %1 is out of range in \"%2\" (%3 items)" },
    { "JsonNotFinite", "The JSON value \"%1\" cannot hold a number that is not finite" },
    { "JsonRemoved", "The JSON value \"%1\" is no longer in its document" },
    // Binary streams. %1 is the offset in the stream where the bad value begins.
    { "StreamNotReadable", "The stream is not open for reading" },
    { "StreamNotWritable", "The stream is not open for writing" },
    { "StreamEnd", "Unexpected end of data at offset %1: %2 bytes needed, %3 left" },
    { "StreamLength", "Invalid length at offset %1" },
    { "StreamCount", "Invalid count %2 at offset %1" },
    { "StreamUtf8", "Invalid UTF-8 text at offset %1" },
    { "StreamDate", "Invalid date value %2 at offset %1" },
    { "StreamTooLong", "A value of %1 bytes is too long to be written" },
    { "StreamNegative", "A negative length or count (%1) cannot be written" },
    { "StreamWrite", "Cannot write to the stream: %1" },
    // Element kinds.
    { "ItemPoints", "An element of kind %1 needs at least %2 points" },
    { "ArcPoints", "The three points of an arc must not lie on one line" },
    { "CirclePoints", "The three points of a circle must not lie on one line" },
    { "PackageHoles", "A drill hole or slot needs %1 finite numbers" },
    // Data binding. CSV errors: %1 the file, %2 the line where the record begins.
    { "DataSet", "The data set \"%1\" does not exist or has no data" },
    { "DataField", "The data field \"%1\" does not exist" },
    { "DataCounter", "The counter \"%1\" does not exist" },
    { "DataList", "The value list \"%1\" does not exist" },
    { "DataAsk", "The question \"%1\" does not exist" },
    // Print-time prompts where no one can answer them: %1 lists them, each by one of the next two.
    { "PromptsUnanswered", "No one can be asked before printing; answers are missing for: %1" },
    { "PromptList", "value list \"%1\"" },
    { "PromptQuestion", "question \"%1\"" },
    { "CsvNoFields", "The CSV file \"%1\" holds no fields" },
    { "CsvQuote", "\"%1\", line %2: a quoted field is not closed" },
    { "CsvFields", "\"%1\", line %2: %3 fields where the header has %4" },
    { "CsvLong", "\"%1\", line %2: a record longer than %3 characters" },
    { "JsonData", "JSON data must be an array of objects or an object of such arrays (at \"%1\")" },
    // Diagram imports. DiagramLine leads every error of the Mermaid and Gantt texts.
    { "DiagramLine", "Line %1: %2" },
    { "MermaidLineEnd", "the statement ends too early" },
    { "MermaidDiagram", "diagrams of the kind \"%1\" cannot be imported" },
    { "MermaidDirection", "unknown direction \"%1\"" },
    { "MermaidNode", "a node is expected at \"%1\"" },
    { "MermaidShape", "the shape of node \"%1\" is not closed" },
    { "MermaidClass", "a class name is expected at \"%1\"" },
    { "MermaidArrow", "an arrow is expected at \"%1\"" },
    { "MermaidEdgeText", "the text of an arrow is not closed" },
    { "MermaidParticipant",
        "a participant name, optionally followed by \"as\" and an alias, is expected at \"%1\"" },
    { "MermaidNote",
        "a note is written \"Note left of A: text\", \"Note right of A: text\", \"Note over A: text\" or "
        "\"Note over A,B: text\"" },
    { "MermaidMessage",
        "a message is written \"A->>B: text\" with one of the arrows ->, -->, ->>, -->>, -x, --x, -), --)" },
    { "MermaidSequence", "\"%1\" is not a participant, a note or a message" },
    { "GanttColor", "\"%1\" is not a colour (#RRGGBB or #AARRGGBB)" },
    { "GanttArrow", "a task arrow has one to four dashes" },
    { "GanttLevel", "a task of level %1 needs a task of level %2 before it" },
};

constexpr TZORMsgText ActionsTexts[] = {
    { "DeleteList", "Delete this list?" },
    { "DeleteQuest", "Delete this question?" },
};

constexpr TZORMsgText EditorTexts[] = {
    // The settings dialog.
    { "AlignLinesColor", "Alignment line color" },
    { "AlignTextColor", "Alignment text color" },
    { "BottomRuler", "Bottom ruler" },
    { "CenterPoint", "Center point" },
    { "CrossPoint", "Intersection" },
    { "EndPoint", "End point" },
    { "Grid", "Grid" },
    { "GridColor", "Grid color" },
    { "GridX", "Grid step X" },
    { "GridY", "Grid step Y" },
    { "LeftRuler", "Left ruler" },
    { "Lines", "Lines" },
    { "MiddlePoint", "Midpoint" },
    { "MoveX", "Move step X" },
    { "MoveY", "Move step Y" },
    { "None", "None" },
    { "OrtoLines", "Orthogonal lines" },
    { "PerpendicularPoint", "Perpendicular" },
    { "PickGap", "Pick distance" },
    { "Point", "Point" },
    { "Points", "Points" },
    { "RefLinesColor", "Reference line color" },
    { "RefSymbol", "Reference symbol" },
    { "RightRuler", "Right ruler" },
    { "SelectionInfo", "X %1  Y %2  W %3  H %4" },
    { "Settings", "Settings" },
    { "ShowAlignLines", "Show alignment lines" },
    { "ShowRefLines", "Show reference lines" },
    { "ShowSizes", "Show sizes" },
    { "SizeColor", "Size color" },
    { "SnapGrid", "Snap to grid" },
    { "TangentPoint", "Tangent" },
    { "TopRuler", "Top ruler" },
    { "UnitsColor", "Units color" },
    { "Zoom", "Zoom" },
};

} // namespace

std::span<const TZORMsgText> zor::BuiltInTexts(TZORMsgCategory category)
{
    switch (category) {
    case TZORMsgCategory::Prop:
        return PropTexts;
    case TZORMsgCategory::Dialogs:
        return DialogsTexts;
    case TZORMsgCategory::List:
        return ListTexts;
    case TZORMsgCategory::Error:
        return ErrorTexts;
    case TZORMsgCategory::Actions:
        return ActionsTexts;
    case TZORMsgCategory::Editor:
        return EditorTexts;
    }
    return {};
}
