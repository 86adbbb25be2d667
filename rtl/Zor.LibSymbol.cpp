#include "Zor.LibSymbol.h"

#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Utils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>

using zor::Field;
using zor::TAlphaColor;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonArray;
using zor::TJsonDataType;
using zor::TJsonObject;

namespace {

// The names of the kinds in "Def", by kind byte.
constexpr std::array<const char*, 24> KindNames = { "PenWidth", "Fill", "RoundCap", "ScalePen", "ForeColor",
    "BackColor", "LineType", "FontColor", "FontHeight", "FontName", "Bold", "Italic", "Underline", "Line",
    "Circle", "Ellipse", "Rectangle", "Polyline", "Arc", "Text", "Bezier", "Path", "Sector", "FontScale" };
constexpr const char* LinkName = "Link";

// The names of "Units", by TZORUnits.
constexpr std::array<const char*, 7> UnitNames = { "mm", "inch", "cm", "dm", "m", "ft", "yd" };

// Lengths of a definition stay within a kilometre on either side (base units), so that no sum
// or product of them leaves 64 bits and every projection stays finite.
constexpr double MaxLength = 1e9;
constexpr int LineTypeCount = 12;

TZORUnits UnitOf(const QString& name)
{
    for (size_t i = 0; i < UnitNames.size(); ++i)
        if (name == QLatin1String(UnitNames[i]))
            return TZORUnits(uint8_t(i));
    throw zor::Error("SymbolUnits", name);
}

// Reads the members of one "Def" entry in base units.
class TDefItemReader {
public:
    TDefItemReader(const TJsonObject& o, int index, double factor, double insertX, double insertY)
        : fO(o)
        , fWhere(QStringLiteral("Def[%1]").arg(index))
        , fFactor(factor)
        , fInsertX(insertX)
        , fInsertY(insertY)
    {
    }

    // The name of a member in error texts, by its path in the definition.
    QString Label(const char* key) const { return fWhere + u'.' + QLatin1String(key); }

    TZORPto Position(const char* key) const { return PositionOf(fO.A(key), Label(key)); }

    std::vector<TZORPto> Positions(size_t least) const
    {
        const TJsonArray a = fO.A("Points");
        if (size_t(a.Count()) < least)
            throw zor::Error("SymbolPoints", Label("Points"), QString::number(least));
        std::vector<TZORPto> points;
        for (int i = 0; i < a.Count(); ++i)
            points.push_back(PositionOf(a.A(i), Label("Points") + QStringLiteral("[%1]").arg(i)));
        return points;
    }

    int64_t Radius(const char* key, bool required = true) const
    {
        const double r = required ? fO.F(key) : fO.F(key, 0.0);
        return Checked(r * fFactor, Label(key), 0.0);
    }

    double Angle(const char* key, bool required = true) const
    {
        const double a = required ? fO.F(key) : fO.F(key, 0.0);
        if (!(std::abs(a) <= 360000.0))
            throw zor::Error("SymbolValue", Label(key));
        return a;
    }

    uint8_t Code(const char* key, int count, bool required) const
    {
        const int32_t v = required ? fO.I(key) : fO.I(key, 0);
        if (v < 0 || v >= count)
            throw zor::Error("SymbolValue", Label(key));
        return uint8_t(v);
    }

    TAlphaColor Color(const char* key) const
    {
        if (fO.Types(key) != TJsonDataType::jdtString) {
            const int64_t v = fO.L(key);
            if (v < 0 || v > int64_t(std::numeric_limits<uint32_t>::max()))
                throw zor::Error("SymbolValue", Label(key));
            return TAlphaColor { uint32_t(v) };
        }
        const QString s = fO.S(key);
        bool ok = false;
        const uint32_t v = s.mid(1).toUInt(&ok, 16);
        if (!s.startsWith(u'#') || !ok || (s.size() != 7 && s.size() != 9))
            throw zor::Error("SymbolValue", Label(key));
        return TAlphaColor { s.size() == 7 ? 0xFF000000u | v : v };
    }

    // A positive number (pen width, font height, font scale) within the length limit.
    double Positive(const char* key, bool zeroAllowed) const
    {
        const double v = fO.F(key);
        if (!(v >= 0.0 && v <= MaxLength) || (!zeroAllowed && v == 0.0))
            throw zor::Error("SymbolValue", Label(key));
        return v;
    }

private:
    TZORPto PositionOf(const TJsonArray& pair, const QString& label) const
    {
        if (pair.Count() != 2)
            throw zor::Error("SymbolPoint", label);
        return { Checked((pair.F(0) - fInsertX) * fFactor, label, -MaxLength),
            Checked((pair.F(1) - fInsertY) * fFactor, label, -MaxLength) };
    }

    static int64_t Checked(double base, const QString& label, double least)
    {
        if (!(base >= least && base <= MaxLength))
            throw zor::Error("SymbolValue", label);
        return zor::Round(base);
    }

    const TJsonObject& fO;
    QString fWhere;
    double fFactor;
    double fInsertX;
    double fInsertY;
};

TZORSymItem ReadItem(TZORSymKind kind, const TDefItemReader& r, const TJsonObject& o)
{
    TZORSymItem item;
    item.Kind = kind;
    using K = TZORSymKind;
    switch (kind) {
    case K::PenWidth:
        item.Number = r.Positive("Value", true);
        break;
    case K::FontHeight:
    case K::FontScale:
        item.Number = r.Positive("Value", false);
        break;
    case K::Fill:
    case K::RoundCap:
    case K::ScalePen:
    case K::Bold:
    case K::Italic:
    case K::Underline:
    case K::Path:
        item.Flag = o.B("Value");
        break;
    case K::ForeColor:
    case K::BackColor:
    case K::FontColor:
        item.Color = r.Color("Value");
        break;
    case K::LineType:
        item.LineType = TZORineType(r.Code("Value", LineTypeCount, true));
        break;
    case K::FontName:
        item.Text = o.S("Value");
        break;
    case K::Line:
        item.Points = r.Positions(2);
        item.Points.resize(2);
        break;
    case K::Rectangle:
        item.Points = r.Positions(2);
        item.Points.resize(2);
        item.RadiusX = r.Radius("Radius", false);
        break;
    case K::Polyline:
    case K::Bezier:
        item.Points = r.Positions(2);
        item.Flag = o.B("Closed", false);
        break;
    case K::Circle:
        item.Points = { r.Position("Center") };
        item.RadiusX = r.Radius("Radius");
        break;
    case K::Ellipse:
        item.Points = { r.Position("Center") };
        item.RadiusX = r.Radius("RadiusX");
        item.RadiusY = r.Radius("RadiusY");
        break;
    case K::Arc:
    case K::Sector:
        item.Points = { r.Position("Center") };
        item.RadiusX = r.Radius("Radius");
        item.Start = r.Angle("Start");
        item.Sweep = r.Angle("Sweep");
        break;
    case K::Text:
        item.Points = { r.Position("At") };
        item.Text = o.S("Text");
        item.Number = r.Angle("Angle", false);
        item.HAlign = TZORHorzAlign(r.Code("HAlign", 3, false));
        item.VAlign = TZORVertAlign(r.Code("VAlign", 3, false));
        break;
    }
    return item;
}

void Include(TZORRect& box, bool& any, const TZORPto& p, int64_t rx, int64_t ry)
{
    const TZORRect around { p.X - rx, p.Y - ry, p.X + rx, p.Y + ry };
    box = any ? box.United(around) : around;
    any = true;
}

} // namespace

const TZORFields<TZORLibSymbol>& TZORLibSymbol::Fields()
{
    using S = TZORLibSymbol;
    static const TZORFields<S> fields {
        Field<S, &S::fVersion>("Version"),
        Field<S, &S::fName>("Name"),
        Field<S, &S::fCategory>("Category"),
        Field<S, &S::fID>("ID"),
        Field<S, &S::fUnits>("Units"),
        Field<S, &S::fInsertX>("InsertX"),
        Field<S, &S::fInsertY>("InsertY"),
    };
    return fields;
}

const TZORSymItem* TZORLibSymbol::GetItem(int32_t i) const
{
    return i >= 1 && i <= GetItemsCount() ? &fItems[size_t(i - 1)] : nullptr;
}

TZORPto TZORLibSymbol::GetLink(int32_t i) const
{
    return i >= 1 && i <= GetNumLinks() ? fLinks[size_t(i - 1)] : TZORPto {};
}

TZORRect TZORLibSymbol::GetBounds() const
{
    TZORRect box;
    bool any = false;
    for (const TZORSymItem& item : fItems) {
        const bool round = item.Kind == TZORSymKind::Circle || item.Kind == TZORSymKind::Arc
            || item.Kind == TZORSymKind::Sector || item.Kind == TZORSymKind::Ellipse;
        const int64_t rx = round ? item.RadiusX : 0;
        const int64_t ry = item.Kind == TZORSymKind::Ellipse ? item.RadiusY : rx;
        for (const TZORPto& p : item.Points)
            Include(box, any, p, rx, ry);
    }
    for (const TZORPto& p : fLinks)
        Include(box, any, p, 0, 0);
    return box;
}

void TZORLibSymbol::ParseDef(const TJsonArray& def)
{
    const double factor = double(zor::UnitMicrometres(fUnitsValue));
    std::vector<TZORSymItem> items;
    std::vector<TZORPto> links;
    for (int i = 0; i < def.Count(); ++i) {
        const TJsonObject o = def.O(i);
        const TDefItemReader reader(o, i, factor, fInsertX, fInsertY);
        const QString kind = o.S("Kind");
        if (kind == QLatin1String(LinkName)) {
            links.push_back(reader.Position("At"));
            continue;
        }
        const auto named = std::find_if(
            KindNames.begin(), KindNames.end(), [&](const char* n) { return kind == QLatin1String(n); });
        if (named == KindNames.end())
            throw zor::Error("SymbolKind", reader.Label("Kind"), kind);
        items.push_back(ReadItem(TZORSymKind(std::distance(KindNames.begin(), named)), reader, o));
    }
    if (links.size() > size_t(std::numeric_limits<int16_t>::max()))
        throw zor::Error("SymbolValue", QStringLiteral("Def"));
    fItems = std::move(items);
    fLinks = std::move(links);
}

bool TZORLibSymbol::ReadJson(const TJsonObject& o, QString& errorText)
{
    try {
        TZORLibSymbol read;
        zor::FieldsFromJson(o, read, Fields());
        if (read.fName.trimmed().isEmpty())
            throw zor::Error(QStringLiteral("SymbolName"));
        read.fUnitsValue = UnitOf(read.fUnits);
        const TJsonArray def = o.A("Def");
        read.ParseDef(def);
        read.fDef = def.ToJSON(true);
        *this = std::move(read);
        return true;
    } catch (const EZORError& e) {
        errorText = e.Message();
        return false;
    }
}

TJsonObject TZORLibSymbol::GetJson() const
{
    TJsonObject o;
    zor::FieldsToJson(o, *this, Fields());
    o.SetA("Def", TJsonArray::Parse(fDef));
    return o;
}

void TZORLibSymbol::Write(TBinaryWriter& w) const
{
    zor::WriteFields(w, *this, Fields());
    w.WriteString(fDef);
}

std::unique_ptr<TZORLibSymbol> TZORLibSymbol::Read(TBinaryReader& r)
{
    auto symbol = std::make_unique<TZORLibSymbol>();
    zor::ReadFields(r, *symbol, Fields());
    symbol->fUnitsValue = UnitOf(symbol->fUnits);
    // Parsed here so that a corrupt definition fails the read, not a later drawing.
    const TJsonArray def = TJsonArray::Parse(r.ReadString());
    symbol->ParseDef(def);
    symbol->fDef = def.ToJSON(true);
    return symbol;
}
