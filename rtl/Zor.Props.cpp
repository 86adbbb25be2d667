#include "Zor.Props.h"

#include "Zor.Item.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using zor::TDataEdit;

void TDataEdit::Reset()
{
    const int32_t row = Row;
    const int32_t slot = Slot;
    *this = TDataEdit {};
    Row = row;
    Slot = slot;
}

namespace zor {

namespace {

// Row geometry at 96 dpi.
constexpr int32_t RowHeight = 22;
constexpr int32_t AlignRowHeight = 26;
constexpr int32_t TitleTop = 4;
constexpr int32_t ValueTop = 2;
// Column 0: the title takes units 0 to 9, the value 9.5 to 24.
constexpr double TitleUnits = 9.0;
constexpr double ValueStart = 9.5;
constexpr double GridUnits = 24.0;

// The fixed lists, by source number; the texts are catalogue keys of the "List" category.
struct TFixedList {
    int32_t source;
    const char* key; // the field key whose codes the list names
    std::vector<const char*> entries;
};

const std::vector<TFixedList>& FixedLists()
{
    static const std::vector<TFixedList> lists {
        { 1, "LineType",
            { "Solid", "Dot", "Dash 1-1", "Dash 2-1", "Dash 1-2", "Dash 2-2", "Dash 3-1", "Dash 3-3",
                "Dash 4-1", "Dash 4-2", "Dash 4-4", "Dash dot" } },
        { 2, "FillType", { "Value", "Data field", "Counter", "Value list", "Question" } },
        { 3, "CodeType",
            { "EAN-13", "EAN-8", "UPC-A", "UPC-E", "Code 39", "Code 39 full ASCII", "Code 93",
                "Code 93 full ASCII", "Codabar", "Code 128 A", "Code 128 B", "Code 128", "Code 128 C",
                "EAN-128 A", "EAN-128 B", "EAN-128", "EAN-128 C", "Interleaved 2 of 5", "Industrial 2 of 5",
                "Matrix 2 of 5", "Code 11", "MSI", "PostNet" } },
        { 5, "FromType",
            { "None", "Circle", "Filled circle", "Open arrow", "Filled arrow", "Square", "Filled square",
                "Diamond", "Filled diamond", "Falling tick", "Rising tick", "Cross" } },
        { 6, "Angle", { "0°", "90°", "180°", "270°" } },
        { 7, "TextPos",
            { "Above", "Below", "On the line", "In the line", "In the line, at the start",
                "In the line, at the end" } },
        { 8, "VertAlign", { "Top", "Centre", "Bottom" } },
        { 11, "Level", { "L (7%)", "M (15%)", "Q (25%)", "H (30%)" } },
        { 17, "Encoding", { "Automatic", "UTF-8", "Latin-1" } },
        { 18, "Gradient", { "None", "Horizontal", "Vertical", "Radial" } },
        { 19, "GridType", { "None", "Vertical", "Horizontal", "Both" } },
        { 20, "Filter", { "None", "Grayscale", "Black and white" } },
        { 21, "Frame", { "None", "Rectangle", "Circle", "Circle, clipped" } },
        { 22, "RankType", { "Rectangle", "Oval", "Star", "Rhombus" } },
        { 24, "RankPos", { "Left to right", "Right to left", "Bottom to top", "Top to bottom" } },
    };
    return lists;
}

const TFixedList* FixedList(int32_t source)
{
    for (const TFixedList& l : FixedLists())
        if (l.source == source)
            return &l;
    return nullptr;
}

// Lists of names: what the entry's text is for each source.
enum class TNames : uint8_t {
    None,
    Layers,
    Fonts,
    Fields,
    ImageFields,
    IntFields,
    NumFields,
    TextFields,
    Datasets,
    DimStyles
};

TNames NamesOf(int32_t source)
{
    switch (source) {
    case 0:
        return TNames::Layers;
    case 4:
        return TNames::Fonts;
    case 9:
        return TNames::Fields;
    case 10:
        return TNames::ImageFields;
    case 12:
        return TNames::IntFields;
    case 13:
        return TNames::NumFields;
    case 14:
        return TNames::TextFields;
    case 15:
    case 16:
        return TNames::Datasets;
    case 23:
        return TNames::DimStyles;
    default:
        return TNames::None;
    }
}

// Text fields with a list of their own: the list source of the key.
int32_t TextListOf(const char* key)
{
    if (!std::strcmp(key, "FontName"))
        return 4;
    if (!std::strcmp(key, "FillName"))
        return 9;
    if (!std::strcmp(key, "FieldName"))
        return 14;
    if (!std::strcmp(key, "DataSet"))
        return 16;
    return -1;
}

int32_t IndexListOf(const char* key)
{
    if (!std::strcmp(key, "Layer"))
        return 0;
    if (!std::strcmp(key, "DimStyle"))
        return 23;
    if (!std::strcmp(key, "ToType"))
        return 5;
    for (const TFixedList& l : FixedLists())
        if (!std::strcmp(key, l.key))
            return l.source;
    return -1;
}

bool IsWhole(TZORFieldKind kind)
{
    return kind >= TZORFieldKind::UInt8 && kind <= TZORFieldKind::Int64;
}

// The range of an integer field kind, as far as an inspector's int32 value reaches.
std::pair<int64_t, int64_t> RangeOf(TZORFieldKind kind)
{
    switch (kind) {
    case TZORFieldKind::UInt8:
        return { 0, 255 };
    case TZORFieldKind::Int16:
        return { INT16_MIN, INT16_MAX };
    case TZORFieldKind::UInt16:
        return { 0, UINT16_MAX };
    case TZORFieldKind::UInt32:
        return { 0, INT32_MAX };
    default:
        return { INT32_MIN, INT32_MAX };
    }
}

bool IsBarcodeText(const TZORBaseItem& item)
{
    return item.TypeCode() == TZORItemType::Barcode;
}

bool IsLongText(const TZORBaseItem& item)
{
    switch (item.TypeCode()) {
    case TZORItemType::Paragraph:
    case TZORItemType::RichText:
    case TZORItemType::PDF417:
    case TZORItemType::DataMatrix:
    case TZORItemType::QRCode:
        return true;
    default:
        return false;
    }
}

const TZORField<TZORBaseItem>* FieldNamed(const TZORBaseItem& item, const char* key, TZORFieldKind kind)
{
    for (const auto& f : item.GetFields())
        if (f.kind == kind && !std::strcmp(f.key, key))
            return &f;
    return nullptr;
}

// The 0-based place of the dimension style with that ID; -1 for none.
int32_t DimStyleIndex(const TZORBaseLabel* label, int64_t id)
{
    for (int32_t i = 1; label && i <= label->GetDimStylesCount(); ++i)
        if (label->GetDimStyle(i)->GetID() == id)
            return i - 1;
    return -1;
}

TJsonObject NewRow(TJsonArray& rows, int32_t height, TZORInsRow kind, int32_t type, int32_t count)
{
    TJsonObject row = rows.AddObject();
    row.SetI("H", height);
    row.SetI("N", count);
    row.SetI("Kind", int32_t(kind));
    row.SetI("Type", type);
    return row;
}

QString Key(const char* base, int32_t k)
{
    return QString::fromLatin1(base) + QString::number(k);
}

void PutSlot(TJsonObject& row, int32_t k, TZORInsProp prop, int32_t pos, const QString& name)
{
    row.SetI(Key("Prop", k), int32_t(prop));
    row.SetI(Key("P", k), pos);
    row.SetI(Key("C", k), 0);
    row.SetI(Key("T", k), TitleTop);
    row.SetI(Key("TV", k), ValueTop);
    row.SetI(Key("AT", k), 0);
    row.SetS(Key("Name", k), name);
}

void PutNumber(TJsonObject& row, int32_t k, double inc, double min, double max)
{
    row.SetF(Key("I", k), inc);
    row.SetF(Key("M", k), min);
    row.SetF(Key("X", k), max);
}

// The value of field f of item as the slot shows it.
void PutFieldValue(TJsonObject& row, const QString& key, const TZORBaseItem& item,
    const TZORField<TZORBaseItem>& f, const TZORSlotOf& slot)
{
    const TZORFieldValue v = f.get(item);
    if (slot.list == 0) {
        row.SetI(key, int32_t(std::get<int64_t>(v) - 1));
        return;
    }
    if (slot.list == 23) {
        row.SetI(key, DimStyleIndex(item.GetOwner(), std::get<int64_t>(v)));
        return;
    }
    switch (f.kind) {
    case TZORFieldKind::Bool:
        row.SetB(key, std::get<bool>(v));
        break;
    case TZORFieldKind::String:
        row.SetS(key, std::get<QString>(v));
        break;
    case TZORFieldKind::Color:
        row.SetL(key, std::get<int64_t>(v));
        break;
    case TZORFieldKind::Float:
    case TZORFieldKind::Double:
        row.SetF(key, std::get<double>(v));
        break;
    default:
        row.SetL(key, std::get<int64_t>(v));
        break;
    }
}

void AddFieldRow(TJsonArray& rows, const TZORBaseItem& item, int32_t index, const TZORSlotOf& slot)
{
    const auto& f = item.GetFields()[size_t(index)];
    TJsonObject row = NewRow(rows, RowHeight, TZORInsRow::Field, 0, 1);
    PutSlot(row, 1, slot.prop, index, TZORMsg::GetPropValue(QString::fromLatin1(f.key)));
    PutFieldValue(row, QStringLiteral("Value1"), item, f, slot);
    if (slot.prop == TZORInsProp::List)
        row.SetI("List1", slot.list);
    if (slot.prop == TZORInsProp::Float) {
        row.SetS("F1", QStringLiteral("0.00"));
        row.SetS("FE1", QStringLiteral("0.000"));
        PutNumber(row, 1, 0.1, -1e6, 1e6);
    }
    if (slot.prop == TZORInsProp::Integer) {
        const auto [min, max] = RangeOf(f.kind);
        PutNumber(row, 1, 1, double(min), double(max));
    }
    if (slot.prop == TZORInsProp::Align)
        row.SetI("T1", -1);
}

void AddAlignRow(TJsonArray& rows, const TZORBaseItem& item)
{
    TJsonObject row = NewRow(rows, AlignRowHeight, TZORInsRow::Align, InsAlignType, 1);
    PutSlot(row, 1, TZORInsProp::Align2, 0, QString());
    row.SetI("T1", -1);
    const auto& fields = item.GetFields();
    row.SetL("Value1", std::get<int64_t>(fields[size_t(FieldIndex(item, "HorzAlign"))].get(item)));
    row.SetL("Value2", std::get<int64_t>(fields[size_t(FieldIndex(item, "VertAlign"))].get(item)));
}

// True when every selected element has both alignments, which then share one row.
bool BothAlignments(const std::vector<const TZORBaseItem*>& selection)
{
    return std::all_of(selection.begin(), selection.end(), [](const TZORBaseItem* i) {
        return FieldIndex(*i, "HorzAlign") >= 0 && FieldIndex(*i, "VertAlign") >= 0;
    });
}

} // namespace

int32_t FieldIndex(const TZORBaseItem& item, const char* key)
{
    const auto& fields = item.GetFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (!std::strcmp(fields[i].key, key))
            return int32_t(i);
    return -1;
}

int32_t ScalePos(double value, int32_t dpi)
{
    return int32_t(std::lround(value * dpi / 96.0));
}

double XPosCtrl(int32_t column, int32_t, double unit)
{
    return column == 1 ? unit : ValueStart * unit;
}

double WidthCtrl(int32_t column, int32_t prop, double unit)
{
    const double w = column == 1 ? (GridUnits - 2) * unit : (GridUnits - ValueStart - 0.5) * unit;
    if (prop == int32_t(TZORInsProp::Check))
        return std::min(w, 16.0 * unit / 10.0);
    return w;
}

double HeightCtrl(int32_t prop, int32_t dpi)
{
    return ScalePos(prop == int32_t(TZORInsProp::Check) ? 16 : 18, dpi);
}

double XPosTitle(int32_t column, double unit)
{
    return column == 1 ? unit : unit * 0.2;
}

double WidthTitle(int32_t column, double unit)
{
    return column == 1 ? (GridUnits - 2) * unit : TitleUnits * unit;
}

bool CheckXPos(double x, int32_t column, int32_t prop, bool, double unit, bool)
{
    const double left = XPosCtrl(column, prop, unit);
    return x >= left && x <= left + WidthCtrl(column, prop, unit);
}

TZORSlotOf SlotOfField(const TZORBaseItem& item, int32_t index)
{
    const auto& f = item.GetFields()[size_t(index)];
    TZORSlotOf s;
    s.shown = true;
    switch (f.kind) {
    case TZORFieldKind::Bytes:
        s.shown = false;
        break;
    case TZORFieldKind::Bool:
        s.prop = TZORInsProp::Check;
        break;
    case TZORFieldKind::Color:
        s.prop = TZORInsProp::Color;
        break;
    case TZORFieldKind::Float:
    case TZORFieldKind::Double:
        s.prop = TZORInsProp::Float;
        break;
    case TZORFieldKind::String:
        if ((s.list = TextListOf(f.key)) >= 0)
            s.prop = TZORInsProp::List;
        else if (!std::strcmp(f.key, "FileName") || !std::strcmp(f.key, "FileImg"))
            s.prop = TZORInsProp::ImagePath;
        else if (!std::strcmp(f.key, "Code") && IsBarcodeText(item))
            s.prop = TZORInsProp::BarText;
        else if ((!std::strcmp(f.key, "Text") || !std::strcmp(f.key, "Code")
                     || !std::strcmp(f.key, "RichText"))
            && IsLongText(item))
            s.prop = TZORInsProp::Memo;
        break;
    default:
        // The ID is the label's to give.
        if (!std::strcmp(f.key, "ID"))
            s.shown = false;
        else if (!std::strcmp(f.key, "HorzAlign"))
            s.prop = TZORInsProp::Align;
        else if ((s.list = IndexListOf(f.key)) >= 0)
            s.prop = TZORInsProp::List;
        else
            s.prop = TZORInsProp::Integer;
        break;
    }
    // An angle in degrees is a number, not a quarter turn.
    if (s.list == 6 && !IsWhole(f.kind)) {
        s.list = -1;
        s.prop = TZORInsProp::Float;
    }
    return s;
}

const char* ValueKey(TZORInsProp prop, int32_t list)
{
    switch (prop) {
    case TZORInsProp::Float:
        return "ext";
    case TZORInsProp::Color:
        return "i64";
    case TZORInsProp::Check:
        return "bol";
    case TZORInsProp::Integer:
    case TZORInsProp::FormatInt:
    case TZORInsProp::Align:
    case TZORInsProp::Align2:
        return "int";
    case TZORInsProp::List:
        return IsIndexList(list) ? "int" : "txt";
    default:
        return "txt";
    }
}

void PutSlotValue(TJsonObject& o, const QString& key, const TZORBaseItem& item, int32_t index)
{
    PutFieldValue(o, key, item, item.GetFields()[size_t(index)], SlotOfField(item, index));
}

bool SlotFieldValue(const TZORBaseItem& item, int32_t index, const TJsonObject& value, TZORFieldValue& out)
{
    const auto& f = item.GetFields()[size_t(index)];
    const TZORSlotOf slot = SlotOfField(item, index);
    const TZORBaseLabel* label = item.GetOwner();
    if (slot.list == 0 || slot.list == 23) {
        const int64_t i = value.L("int", -1);
        const int32_t count = !label ? 0
            : slot.list == 0         ? label->GetLayersCount()
                                     : label->GetDimStylesCount();
        if (i < 0 || i >= count)
            return false;
        out = slot.list == 0 ? i + 1 : int64_t(label->GetDimStyle(int32_t(i) + 1)->GetID());
        return true;
    }
    switch (f.kind) {
    case TZORFieldKind::Bool:
        out = value.B("bol", false);
        return true;
    case TZORFieldKind::String:
        out = value.S("txt", QString());
        return true;
    case TZORFieldKind::Color:
        out = int64_t(uint32_t(value.L("i64", 0)));
        return true;
    case TZORFieldKind::Float:
    case TZORFieldKind::Double: {
        const double d = value.F("ext", 0);
        if (!std::isfinite(d))
            return false;
        out = f.kind == TZORFieldKind::Float ? double(float(std::clamp(d, -1e30, 1e30))) : d;
        return true;
    }
    case TZORFieldKind::Bytes:
        return false;
    default: {
        const auto [min, max] = RangeOf(f.kind);
        out = std::clamp(value.L("int", 0), min, max);
        return true;
    }
    }
}

TJsonArray InspectorRows(const std::vector<const TZORBaseItem*>& selection)
{
    TJsonArray rows;
    if (selection.empty())
        return rows;
    const TZORBaseItem& first = *selection.front();
    const bool align2 = BothAlignments(selection);
    const auto& fields = first.GetFields();
    for (int32_t i = 0; i < int32_t(fields.size()); ++i) {
        const TZORSlotOf slot = SlotOfField(first, i);
        const bool shared = std::all_of(selection.begin(), selection.end(), [&](const TZORBaseItem* s) {
            return FieldNamed(*s, fields[size_t(i)].key, fields[size_t(i)].kind);
        });
        if (!slot.shown || !shared)
            continue;
        if (align2 && !std::strcmp(fields[size_t(i)].key, "VertAlign"))
            continue;
        if (align2 && slot.prop == TZORInsProp::Align)
            AddAlignRow(rows, first);
        else
            AddFieldRow(rows, first, i, slot);
    }
    if (selection.size() == 1
        && (first.TypeCode() == TZORItemType::Table || first.TypeCode() == TZORItemType::PolyText)) {
        const bool table = first.TypeCode() == TZORItemType::Table;
        TJsonObject row = NewRow(rows, RowHeight + 6, TZORInsRow::Editor, 0, 1);
        PutSlot(row, 1, table ? TZORInsProp::Table : TZORInsProp::PolyText, 0,
            TZORMsg::GetPropValue(table ? QStringLiteral("Columns") : QStringLiteral("Items")));
    }
    return rows;
}

TJsonArray PointRows(const TZORBaseItem& item)
{
    TJsonArray rows;
    const double scale
        = 1000.0 * std::max(item.GetOwner() ? item.GetOwner()->Measure().GetDrawScale() : 1, 1);
    for (int32_t i = 1; i <= item.GetPointsCount(); ++i) {
        for (int32_t axis = 0; axis < 2; ++axis) {
            TJsonObject row = NewRow(rows, RowHeight, TZORInsRow::Point, 0, 1);
            PutSlot(row, 1, TZORInsProp::Float, 2 * i - 1 + axis,
                QStringLiteral("%1 %2").arg(axis ? QStringLiteral("Y") : QStringLiteral("X")).arg(i));
            const TZORPto& p = item.GetPoint(i);
            row.SetF("Value1", double(axis ? p.Y : p.X) / scale);
            row.SetS("F1", QStringLiteral("0.00"));
            row.SetS("FE1", QStringLiteral("0.000"));
            PutNumber(row, 1, 1, -1e6, 1e6);
        }
    }
    return rows;
}

QStringList FillList(int32_t source)
{
    QStringList entries;
    if (const TFixedList* l = FixedList(source))
        for (const char* e : l->entries)
            entries << TZORMsg::GetListValue(QString::fromUtf8(e));
    return entries;
}

QString ItemList(int32_t source, int32_t index)
{
    const TFixedList* l = FixedList(source);
    if (!l || index < 0 || index >= int32_t(l->entries.size()))
        return {};
    return TZORMsg::GetListValue(QString::fromUtf8(l->entries[size_t(index)]));
}

bool IsIndexList(int32_t source)
{
    return source == 0 || source == 23 || FixedList(source) != nullptr;
}

QStringList ListEntries(const TZORBaseLabel& label, int32_t source, QObject* sender)
{
    QStringList names;
    const TZORData& data = label.Data();
    const auto fields = [&](auto keep) {
        for (int32_t d = 1; d <= data.GetDatasetCount(); ++d)
            for (const TZORDataField& f : data.GetDatasetAt(d)->GetFields())
                if (keep(f.GetType()))
                    names << f.GetName();
    };
    const auto counters = [&] {
        for (int32_t c = 1; c <= label.Data().GetCounterCount(); ++c)
            names << QStringLiteral("@") + data.GetCounter(c)->GetName();
    };
    switch (NamesOf(source)) {
    case TNames::Layers:
        for (int32_t i = 1; i <= label.GetLayersCount(); ++i)
            names << label.GetLayer(i)->GetName();
        break;
    case TNames::DimStyles:
        for (int32_t i = 1; i <= label.GetDimStylesCount(); ++i)
            names << label.GetDimStyle(i)->GetName();
        break;
    case TNames::Fonts:
        label.GetFontList(sender, names);
        break;
    case TNames::Fields:
        fields([](TZORFieldType) { return true; });
        counters();
        break;
    case TNames::ImageFields:
        fields([](TZORFieldType t) { return t == TZORFieldType::Img64 || t == TZORFieldType::ImgBlob; });
        break;
    case TNames::IntFields:
        fields([](TZORFieldType t) { return t == TZORFieldType::Integer || t == TZORFieldType::Int64; });
        counters();
        break;
    case TNames::NumFields:
        fields([](TZORFieldType t) {
            return t == TZORFieldType::Integer || t == TZORFieldType::Int64 || t == TZORFieldType::Float;
        });
        counters();
        break;
    case TNames::TextFields:
        fields([](TZORFieldType t) { return t == TZORFieldType::String || t == TZORFieldType::WideString; });
        counters();
        break;
    case TNames::Datasets:
        for (int32_t d = 1; d <= data.GetDatasetCount(); ++d)
            names << data.GetDatasetAt(d)->GetName();
        break;
    case TNames::None:
        names = FillList(source);
        break;
    }
    return names;
}

bool DeleteCharPos(QString& text, int32_t caret)
{
    if (caret <= 0 || caret > text.size())
        return false;
    text.remove(caret - 1, 1);
    return true;
}

} // namespace zor
