#include "Reference.h"

#include "Zor.Base.h"
#include "Zor.Data.h"
#include "Zor.Fields.h"
#include "Zor.Item.h"
#include "Zor.Json.h"
#include "Zor.Layer.h"
#include "Zor.LibSymbol.h"
#include "Zor.Measure.h"
#include "Zor.Msg.h"
#include "Zor.Poly.h"
#include "Zor.PrintInfo.h"
#include "Zor.Props.h"
#include "Zor.Settings.h"
#include "Zor.Types.h"
#include "label/Zor.Vcl.h"

#include <QTextStream>

#include <algorithm>
#include <memory>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace zor::tool {

namespace {

// The fields of one table as the reference shows them.
struct TRow {
    QString key;
    TZORFieldKind kind;
};
using TRows = std::vector<TRow>;

template <class Root> TRows Rows(const TZORFields<Root>& fields)
{
    TRows rows;
    for (const auto& f : fields)
        rows.push_back({ QString::fromLatin1(f.key), f.kind });
    return rows;
}

TRows KindRows(int32_t code)
{
    TZORLabelVCL label;
    const std::unique_ptr<TZORBaseItem> item = label.NewItem(code, false);
    return item ? Rows(item->GetFields()) : TRows {};
}

bool IsInteger(TZORFieldKind kind)
{
    return kind >= TZORFieldKind::UInt8 && kind <= TZORFieldKind::Int64;
}

// Lengths with a decimal point are millimetres of paper; whole-number lengths of elements are
// the label's base units, as its points are.
constexpr const char* Micrometres = "micrometres";
constexpr const char* BaseUnits = "micrometres × DrawScale";
constexpr const char* Millimetres = "millimetres";
constexpr const char* Degrees = "degrees";
constexpr const char* Code = "code";
constexpr const char* Count = "count";
constexpr const char* Ratio = "ratio";
constexpr const char* AlongSide
    = "ratio (along the connection point's side from its left or top end; left out: 0.5, the middle)";

enum class TNumber : uint8_t { Any, Whole, Real };

struct TUnitRow {
    const char* key;
    TNumber number;
    const char* unit;
    const char* table = nullptr; // only in this table (a kind's name, or Measure, PrintInfo, Layer)
};

// The unit of every numeric field. A numeric field missing here stops the reference: a field
// added to a table needs its unit.
constexpr TUnitRow Units[] = {
    // The sheet.
    { "PaperWidth", TNumber::Whole, Micrometres },
    { "PaperHeight", TNumber::Whole, Micrometres },
    { "Width", TNumber::Whole, Micrometres, "Measure" },
    { "Height", TNumber::Whole, Micrometres, "Measure" },
    { "MarLeft", TNumber::Whole, Micrometres },
    { "MarTop", TNumber::Whole, Micrometres },
    { "DiVer", TNumber::Whole, "micrometres (gap between columns)" },
    { "DiHor", TNumber::Whole, "micrometres (gap between rows)" },
    { "NuHor", TNumber::Whole, "count (rows)" },
    { "NuVer", TNumber::Whole, "count (columns)" },
    { "DrawScale", TNumber::Whole, "ratio (1 : DrawScale)" },
    // Printing.
    { "PrinterIndex", TNumber::Whole, "index (-1: the default printer)" },
    { "Copies", TNumber::Whole, Count },
    { "Labs", TNumber::Whole, Count },
    { "FirstRow", TNumber::Whole, "row (from 1)" },
    { "FirstCol", TNumber::Whole, "column (from 1)" },
    { "Repetition", TNumber::Whole, Count },
    // Every element.
    { "ID", TNumber::Whole, "number (unique in the label)" },
    { "Layer", TNumber::Whole, "layer (from 1)" },
    { "Options", TNumber::Whole, "bit set" },
    { "PenWidth", TNumber::Real, Millimetres },
    // Lengths in millimetres.
    { "FontHeight", TNumber::Real, Millimetres },
    { "FontHeightBox", TNumber::Real, Millimetres },
    { "FontHeightSizes", TNumber::Real, Millimetres },
    { "BarWidth", TNumber::Real, "millimetres (a module)" },
    { "BarHeight", TNumber::Real, "millimetres (a bar, or a row of modules)" },
    { "PaddingX", TNumber::Real, Millimetres },
    { "PaddingY", TNumber::Real, Millimetres },
    { "Radio", TNumber::Real, "millimetres (corner radius)" },
    { "WidthLimit", TNumber::Real, "millimetres (0: none)" },
    { "HeaderHeight", TNumber::Real, Millimetres },
    { "FooterHeight", TNumber::Real, Millimetres },
    { "TitleHeight", TNumber::Real, Millimetres },
    { "LineHeight", TNumber::Real, Millimetres },
    { "GridWidth", TNumber::Real, Millimetres },
    { "SizeFrom", TNumber::Real, Millimetres },
    { "SizeTo", TNumber::Real, Millimetres },
    { "SizeWidth", TNumber::Real, Millimetres },
    { "SizeHeight", TNumber::Real, Millimetres },
    { "SizeLength", TNumber::Real, Millimetres },
    { "ShadowDX", TNumber::Real, Millimetres },
    { "ShadowDY", TNumber::Real, Millimetres },
    { "ImgMarLeft", TNumber::Real, Millimetres },
    { "ImgMarTop", TNumber::Real, Millimetres },
    { "ImgMarRight", TNumber::Real, Millimetres },
    { "ImgMarBottom", TNumber::Real, Millimetres },
    { "TermSize", TNumber::Real, "millimetres (line ends)" },
    { "DimPenWidth", TNumber::Real, Millimetres },
    { "ExtPenWidth", TNumber::Real, Millimetres },
    { "HeadSize", TNumber::Real, Millimetres },
    { "ExtSize", TNumber::Real, "millimetres (past the dimension line)" },
    { "ExtGap", TNumber::Real, "millimetres (from the element)" },
    { "DimBreak", TNumber::Real, "millimetres (around the text)" },
    { "ArrowOpen", TNumber::Whole, "number (the opening of the arrow heads)" },
    { "InsertX", TNumber::Real, "in the symbol's Units" },
    { "InsertY", TNumber::Real, "in the symbol's Units" },
    { "Version", TNumber::Whole, "the definition's version", "Symbol" },
    // Data.
    { "NumFrom", TNumber::Whole, "number (the first value)" },
    { "NumTo", TNumber::Whole, "number (the last value)" },
    { "Step", TNumber::Whole, "number (added each time)" },
    { "Repeat", TNumber::Whole, "count (of each value)" },
    { "Integer", TNumber::Whole, "number (the answer, whole)" },
    { "Number", TNumber::Real, "number (the answer)" },
    { "DateTime", TNumber::Real, "days since 1899-12-30 (the answer)" },
    // Whole-number lengths of elements.
    { "CenterX", TNumber::Whole, BaseUnits },
    { "CenterY", TNumber::Whole, BaseUnits },
    { "Radio", TNumber::Whole, BaseUnits },
    { "InnerRadio", TNumber::Whole, BaseUnits },
    { "Padding", TNumber::Whole, BaseUnits },
    { "Gap", TNumber::Whole, BaseUnits },
    { "GapValue", TNumber::Whole, BaseUnits },
    { "Margin", TNumber::Whole, BaseUnits },
    // Angles.
    { "Angle", TNumber::Real, Degrees },
    { "AngleGap", TNumber::Real, Degrees },
    { "StartAngle", TNumber::Real, Degrees },
    { "SweepAngle", TNumber::Real, Degrees },
    // An arc keeps its angles as it computes them: radians from +X, turning clockwise on the page.
    { "StartAngle", TNumber::Real, "radians (from +X, clockwise on the page)", "Arc" },
    { "SweepAngle", TNumber::Real, "radians (clockwise on the page; negative: counter-clockwise)", "Arc" },
    // Ratios.
    { "Scale", TNumber::Real, Ratio },
    { "ScaleX", TNumber::Real, "ratio (width of the characters)" },
    { "Factor", TNumber::Real, "ratio (wide to narrow bars)" },
    // Counts and values.
    { "Columns", TNumber::Whole, "count (0: the encoder chooses)", "PDF417" },
    { "Rows", TNumber::Whole, "count (0: the encoder chooses)", "PDF417" },
    { "Rows", TNumber::Whole, Count, "Table" },
    { "Maximum", TNumber::Whole, Count },
    { "Position", TNumber::Whole, "count (up to Maximum)" },
    { "Value", TNumber::Real, "number (up to MaxValue)" },
    { "MaxValue", TNumber::Real, "number" },
    { "Version", TNumber::Whole, "QR version 1 to 40 (0: the smallest that holds the code)" },
    // References to other parts of the label.
    { "DimStyle", TNumber::Whole, "dimension style ID" },
    { "FromID", TNumber::Whole, "element ID" },
    { "ToID", TNumber::Whole, "element ID" },
    { "FromIndex", TNumber::Whole, "connection point (index)" },
    { "ToIndex", TNumber::Whole, "connection point (index)" },
    { "FromAlong", TNumber::Real, AlongSide },
    { "ToAlong", TNumber::Real, AlongSide },
    // Codes: one of the values the inspector offers, from 0.
    { "Size", TNumber::Whole, "code (0: the smallest that holds the code)" },
    { "MatrixSize", TNumber::Whole, Code },
};

// The names of the codes of enumerations that the inspector does not list; the others are named
// by the inspector's own lists.
constexpr const char* HorzAlignNames[] = { "left", "centre", "right", "justified" };
constexpr const char* CorrectionNames[] = { "automatic", "level 0", "level 1", "level 2", "level 3",
    "level 4", "level 5", "level 6", "level 7", "level 8" };
constexpr const char* MatrixShapeNames[] = { "square", "any", "any, extended sizes" };
constexpr const char* DimTypeNames[] = { "horizontal", "vertical", "aligned", "radius",
    "radius, from outside", "diameter", "diameter, from outside", "angle" };
constexpr const char* FlowTypeNames[] = { "terminal", "process", "document", "multiple documents", "decision",
    "input/output", "database", "link", "manual input", "manual operation", "preparation", "connector",
    "start/end", "subroutine", "loop stop" };
constexpr const char* LinkTypeNames[] = { "straight", "one bend, across first", "one bend, up or down first",
    "two bends", "arc", "curve", "through the link points", "spline" };
constexpr const char* LevelTypeNames[] = { "segment, from the bottom", "segment, from the left",
    "ring, from the bottom", "ring, from the right" };
constexpr const char* ImageAlignNames[] = { "start (left or top)", "centre", "end (right or bottom)" };
constexpr const char* NutriTypeNames[] = { "title above", "title before" };
constexpr const char* OutputNames[] = { "text", "barcode", "QR code", "DataMatrix" };
constexpr const char* PackageStyleNames[]
    = { "outline", "outline with sizes", "filled", "filled with sizes", "holes", "holes with captions" };
constexpr const char* SeparatorNames[] = { "none", "semicolon", "comma", "tab", "space" };
constexpr const char* QuoteNames[] = { "none", "single quote", "double quote" };
constexpr const char* FieldTypeNames[] = { "text", "true/false", "whole number", "64-bit whole number",
    "number", "text (wide)", "image, base64 text", "image, bytes" };
constexpr const char* AnsTypeNames[] = { "text", "whole number", "number", "date and time" };

// A field whose value is a code: its names by code, from the inspector's list of that number
// (zor::FillList) or from names of its own.
struct TCodeRow {
    const char* key;
    int32_t list; // the inspector's list, or -1
    std::span<const char* const> names = {};
    const char* table = nullptr; // only in this table
};

constexpr TCodeRow Codes[] = {
    { "LineType", 1 },
    { "DimLineType", 1 },
    { "ExtLineType", 1 },
    { "FillType", 2 },
    { "CodeType", 3 },
    { "FromType", 5 },
    { "ToType", 5 },
    { "HeadType", 5 },
    { "Angle", 6 },
    { "TextPos", 7 },
    { "VertAlign", 8 },
    { "Level", 11 },
    { "Encoding", 17 },
    { "Gradient", 18 },
    { "GridType", 19 },
    { "Filter", 20 },
    { "Frame", 21 },
    { "RankType", 22 },
    { "RankPos", 24 },
    { "HorzAlign", -1, HorzAlignNames },
    { "CorrectionLevel", -1, CorrectionNames },
    { "Shape", -1, MatrixShapeNames },
    { "MatrixShape", -1, MatrixShapeNames },
    { "DimType", -1, DimTypeNames },
    { "FlowType", -1, FlowTypeNames },
    { "LinkType", -1, LinkTypeNames },
    { "ImageAlign", -1, ImageAlignNames },
    { "LevelType", -1, LevelTypeNames },
    { "NutriType", -1, NutriTypeNames },
    { "Output", -1, OutputNames },
    { "Style", -1, PackageStyleNames, "Package" },
    { "Separator", -1, SeparatorNames },
    { "Quote", -1, QuoteNames },
    { "Type", -1, FieldTypeNames, "Field" },
    { "AnsType", -1, AnsTypeNames },
};

// "code: 0 name, 1 name, ..." for a field of the table that takes codes; empty for another.
QString CodesOf(const QString& table, const QString& key)
{
    for (const TCodeRow& row : Codes) {
        if (key != QLatin1String(row.key) || (row.table && table != QLatin1String(row.table)))
            continue;
        QStringList names;
        if (row.list >= 0)
            names = zor::FillList(row.list);
        else
            for (const char* name : row.names)
                names << QString::fromUtf8(name);
        QStringList codes;
        for (qsizetype code = 0; code < names.size(); ++code)
            codes << QStringLiteral("%1 %2").arg(code).arg(names[code]);
        return QStringLiteral("code: ") + codes.join(QStringLiteral(", "));
    }
    return {};
}

const char* ValueOf(TZORFieldKind kind)
{
    switch (kind) {
    case TZORFieldKind::Bool:
        return "true/false";
    case TZORFieldKind::String:
        return "text";
    case TZORFieldKind::Color:
        return "colour";
    case TZORFieldKind::Bytes:
        return "base64";
    case TZORFieldKind::Float:
    case TZORFieldKind::Double:
        return "number";
    default:
        return "whole number";
    }
}

// The unit of a field of the table named; raises std::logic_error for a numeric field that has
// none.
QString UnitOf(const QString& table, const TRow& row)
{
    switch (row.kind) {
    case TZORFieldKind::Bool:
    case TZORFieldKind::String:
    case TZORFieldKind::Bytes:
        return {};
    case TZORFieldKind::Color:
        return QStringLiteral("ARGB");
    default:
        break;
    }
    const TNumber number = IsInteger(row.kind) ? TNumber::Whole : TNumber::Real;
    if (number == TNumber::Whole)
        if (const QString codes = CodesOf(table, row.key); !codes.isEmpty())
            return codes;
    const TUnitRow* found = nullptr;
    for (const TUnitRow& u : Units) {
        if (row.key != QLatin1String(u.key) || (u.number != TNumber::Any && u.number != number))
            continue;
        if (u.table && table == QLatin1String(u.table))
            return QString::fromUtf8(u.unit);
        if (!u.table && !found)
            found = &u;
    }
    if (!found)
        throw std::logic_error(QStringLiteral("the field %1 of %2 has no unit in the reference")
                                   .arg(row.key, table)
                                   .toStdString());
    return QString::fromUtf8(found->unit);
}

QString KindName(int32_t code)
{
    const std::string_view name = ItemTypeNames[size_t(code - 1)];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

int32_t KindCount()
{
    return int32_t(ItemTypeNames.size());
}

// The 1-based code of a kind given by name (any case) or number; 0 for none.
int32_t KindCode(const QString& kind)
{
    bool number = false;
    const int32_t code = kind.toInt(&number);
    if (number)
        return code >= 1 && code <= KindCount() ? code : 0;
    for (int32_t c = 1; c <= KindCount(); ++c)
        if (KindName(c).compare(kind, Qt::CaseInsensitive) == 0)
            return c;
    return 0;
}

void MarkdownTable(QTextStream& out, const QString& table, const TRows& rows, size_t from = 0)
{
    out << "| key | value | unit |\n|---|---|---|\n";
    for (size_t i = from; i < rows.size(); ++i)
        out << "| `" << rows[i].key << "` | " << ValueOf(rows[i].kind) << " | " << UnitOf(table, rows[i])
            << " |\n";
}

// How many fields every kind's table starts with alike: the fields of every element.
size_t CommonFields(const std::vector<TRows>& kinds)
{
    size_t n = kinds.front().size();
    for (const TRows& rows : kinds) {
        size_t same = 0;
        while (same < std::min(n, rows.size()) && rows[same].key == kinds.front()[same].key)
            ++same;
        n = same;
    }
    return n;
}

// The label's own members beside its sections, as a label writes them.
struct TMemberRow {
    const char* key;
    const char* value;
    const char* unit;
};
constexpr TMemberRow LabelMembers[] = {
    { "Version", "whole number", "the file's version (left out: the current one)" },
    { "Units", "whole number",
        "code: 0 millimetre, 1 inch, 2 centimetre, 3 decimetre, 4 metre, 5 foot, 6 yard (the unit the "
        "dialogs show)" },
    { "EditorMode", "whole number", "code: 0 a sheet of labels, 1 a drawing, 2 a technical drawing" },
    { "Options", "whole number", "bit set" },
    { "BackSurf", "colour", "ARGB (the paper)" },
    { "Editable", "true/false", "" },
    { "LayerZOrder", "true/false", "" },
    { "Orientation", "whole number", "code: 0 0°, 1 90°, 2 180°, 3 270°" },
    { "LanguageFileName", "text", "the language file of the texts" },
    { "ImageFolder", "text", "folder of the images named by elements" },
    { "OpenImgFolder", "text", "folder the image dialog opens" },
    { "LibraryFolder", "text", "folder of the symbol libraries" },
    { "ActiveLayer", "whole number", "layer (from 1)" },
    { "ActiveDimStyle", "whole number", "dimension style (from 1)" },
};

// The table of the label's own members; raises std::logic_error for a member a label writes
// that the table does not describe.
void LabelMembersTable(QTextStream& out)
{
    TZORLabelVCL label;
    const TJsonObject written = label.GetJson();
    out << "| key | value | unit |\n|---|---|---|\n";
    for (int i = 0; i < written.Count(); ++i) {
        const QString key = written.Names(i);
        const TJsonDataType type = written.Types(key);
        if (type == TJsonDataType::jdtObject || type == TJsonDataType::jdtArray)
            continue;
        const auto row = std::find_if(std::begin(LabelMembers), std::end(LabelMembers),
            [&](const TMemberRow& m) { return key == QLatin1String(m.key); });
        if (row == std::end(LabelMembers))
            throw std::logic_error("the label's member " + key.toStdString() + " is not in the reference");
        out << "| `" << key << "` | " << row->value << " | " << QString::fromUtf8(row->unit) << " |\n";
    }
}

// The label's data sources: the CSV file, its fields, and the other sources.
void DataSection(QTextStream& out)
{
    out << "\n## Data (`Data`)\n\n"
           "An element takes its value from a data field when its `FillType` is 1 (Data field) and its\n"
           "`FillName` names the field. The CSV file is `CsvFile` (a relative name counts from the label's\n"
           "folder), read with `Separator` and `Quote`; with `Header` its first line names the fields.\n"
           "`CsvFields` (an array of the field objects below) gives the fields their types; a field it\n"
           "does not name is text. `DataSel` names the data set the run goes through, a label for each\n"
           "record: `\""
        << TZORMsg::GetDialogsValue(QStringLiteral("CsvFile"))
        << "\"` for the CSV file, else the name of a JSON or a host\n"
           "data set. A file read with it empty runs no records (`quindle` and the data dialogs fill it\n"
           "in when they bind a CSV file).\n\n";
    MarkdownTable(out, QStringLiteral("Data"), Rows(TZORData::Fields()));
    out << "\nBeside these: `CsvFields` and the arrays of the sources below; `Json`, the text of a JSON\n"
           "data source (an array of objects, or an object of such arrays).\n\n"
           "### A field (`CsvFields`, and `Fields` of a data set)\n\n";
    MarkdownTable(out, QStringLiteral("Field"), Rows(TZORDataField::Fields()));
    out << "\n### A data set of the host (`Datasets`)\n\nWith `Fields`, an array of field objects.\n\n";
    MarkdownTable(out, QStringLiteral("Dataset"), Rows(TZORDataset::Fields()));
    out << "\n### A counter (`Counters`)\n\n";
    MarkdownTable(out, QStringLiteral("Counter"), Rows(TZORCounter::Fields()));
    out << "\n### A value list (`Lists`)\n\nWith `Values`, an array of texts.\n\n";
    MarkdownTable(out, QStringLiteral("List"), Rows(TZRValList::Fields()));
    out << "\n### A question asked before printing (`Questions`)\n\n";
    MarkdownTable(out, QStringLiteral("Question"), Rows(TZRAskField::Fields()));
}

} // namespace

QStringList KindNames()
{
    QStringList names;
    for (int32_t code = 1; code <= KindCount(); ++code)
        names << KindName(code);
    return names;
}

QString KindList()
{
    QString text;
    QTextStream out(&text);
    out << "Type  kind (quindle fields KIND for its fields)\n";
    for (int32_t code = 1; code <= KindCount(); ++code)
        out << qSetFieldWidth(4) << Qt::right << code << qSetFieldWidth(0) << Qt::left << "  "
            << KindName(code) << "\n";
    return text;
}

bool KindFields(const QString& kind, QTextStream& out)
{
    const int32_t code = KindCode(kind);
    if (code == 0)
        return false;
    const QString name = KindName(code);
    out << name << " (Type " << code << "): the members of its object in \"Items\", beside \"Type\" and "
        << "\"Points\" ([x, y] pairs, micrometres × DrawScale)\n";
    const auto line = [&out](const QString& key, const QString& value, const QString& unit) {
        out << "  " << qSetFieldWidth(18) << Qt::left << key << qSetFieldWidth(14) << value
            << qSetFieldWidth(0) << unit << "\n";
    };
    line(QStringLiteral("key"), QStringLiteral("value"), QStringLiteral("unit"));
    for (const TRow& row : KindRows(code))
        line(row.key, QString::fromLatin1(ValueOf(row.kind)), UnitOf(name, row));
    return true;
}

QString ReferencePage()
{
    QString text;
    QTextStream out(&text);
    out << "# The label file\n\n"
           "<!-- Generated by `quindle fields --reference` from the field tables that read and write label\n"
           "     files; the test Reference.MatchesTheTables fails when they differ. Do not edit. -->\n\n"
           "A label file (`.json`) is one object: the label's own members, `Measure` (the paper and\n"
           "the sheet), `PrintInfo`, `Settings`, `Layers`, `DimStyles`, `Data` (its data sources),\n"
           "`Symbols` and `Items`, the elements. A member left out keeps its default, so a label\n"
           "written by hand names only what it needs (see `examples/sample/qr.json`). The same fields,\n"
           "in the same order, make the binary `.eti` record.\n\n"
           "## Units\n\n"
           "- The paper and the sheet (`Measure`): micrometres (`210000` is 210 mm).\n"
           "- An element's `Points` (`[x, y]` pairs, from the label's top left corner) and its other\n"
           "  whole-number lengths: micrometres × the label's `DrawScale` (1 unless the label is a scaled\n"
           "  drawing).\n"
           "- Lengths with a decimal point (fonts, pens, code modules, paddings): millimetres.\n"
           "- Colours: one number, `0xAARRGGBB` (`4278190080` is opaque black, `4294967295` white).\n"
           "- Codes: whole numbers from 0, each listed with its name in the unit column, in the order\n"
           "  the inspector offers them.\n\n"
           "## The label's own members\n\n";
    LabelMembersTable(out);
    out << "\n## Element kinds (`Type`)\n\n"
           "| Type | kind |\n|---:|---|\n";
    for (int32_t code = 1; code <= KindCount(); ++code)
        out << "| " << code << " | " << KindName(code) << " |\n";
    out << "\n## The sheet (`Measure`)\n\n";
    MarkdownTable(out, QStringLiteral("Measure"), Rows(TZORMeasure::Fields()));
    out << "\n## Printing (`PrintInfo`)\n\n";
    MarkdownTable(out, QStringLiteral("PrintInfo"), Rows(TZORPrintInfo::Fields()));
    out << "\n## A layer (`Layers`, from 1)\n\n"
           "`Layers` is an array of these objects; `ActiveLayer` (whole number, from 1) is the one new\n"
           "elements go on.\n\n";
    MarkdownTable(out, QStringLiteral("Layer"), Rows(TZORLayer::Fields()));
    out << "\n## The editor's settings (`Settings`)\n\n";
    MarkdownTable(out, QStringLiteral("Settings"), Rows(TZORSettings::Fields()));
    out << "\n## A dimension style (`DimStyles`, from 1)\n\n"
           "`DimStyles` is an array of these objects; `ActiveDimStyle` (whole number, from 1) is the one\n"
           "new dimensions take. A dimension names its style by `ID` (its `DimStyle` field).\n\n";
    MarkdownTable(out, QStringLiteral("DimStyle"), Rows(TZORDimStyle::Fields()));
    DataSection(out);
    out << "\n## A symbol of the label (`Symbols`)\n\n"
           "`Symbols` is an array of the library symbols the label's `Symbol` elements draw, each an\n"
           "object with these fields and `Def`, the array of its drawing's parts.\n\n";
    MarkdownTable(out, QStringLiteral("Symbol"), Rows(TZORLibSymbol::Fields()));
    std::vector<TRows> kinds;
    for (int32_t code = 1; code <= KindCount(); ++code)
        kinds.push_back(KindRows(code));
    const size_t common = CommonFields(kinds);
    out << "\n## Every element (`Items`)\n\n"
           "Each element is an object with its `Type`, its `Points` and these fields, followed by the\n"
           "fields of its kind.\n\n";
    MarkdownTable(out, KindName(1), TRows(kinds.front().begin(), kinds.front().begin() + ptrdiff_t(common)));
    for (int32_t code = 1; code <= KindCount(); ++code) {
        const TRows& rows = kinds[size_t(code - 1)];
        out << "\n### " << KindName(code) << " (Type " << code << ")\n\n";
        if (rows.size() == common)
            out << "The fields of every element only.\n";
        else
            MarkdownTable(out, KindName(code), rows, common);
        if (code == int32_t(TZORItemType::PolyText)) {
            out << "\n`Items`: an array of objects, one for each text of the element, with these fields.\n\n";
            MarkdownTable(out, QStringLiteral("PolyTextItem"), Rows(TZORDataPoly::Fields()));
        }
    }
    return text;
}

} // namespace zor::tool
