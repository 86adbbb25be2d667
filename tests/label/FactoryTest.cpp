#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Msg.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <ostream>
#include <utility>
#include <vector>

using zor::TAlphaColor;
using zor::TJsonObject;

// Readable failures; internal linkage, so that other test files may print these their own way.
static void PrintTo(const TZORPto& p, std::ostream* os)
{
    *os << "(" << p.X << ", " << p.Y << ")";
}

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using F = TZORFactory;

// Defaults of the active layer that no kind has of its own.
constexpr TAlphaColor LayerColor { 0xFF123456u };
constexpr TAlphaColor LayerBack { 0xFF654321u };
constexpr float LayerPen = 0.7f;
constexpr float LayerFontHeight = 7.5f;
const QString LayerFont = QStringLiteral("Courier New");

// Micrometres per label unit: mm, inch, cm, dm, m, ft, yd.
constexpr std::array<double, 7> PerUnit = { 1000, 25400, 10000, 100000, 1000000, 304800, 914400 };

// A label whose active layer is layer 2, with distinctive defaults, and a current library symbol.
class Factory : public ::testing::Test {
protected:
    void SetUp() override
    {
        TZORLayer* layer = label.AddLayer(QStringLiteral("Distinct"));
        layer->SetColor(LayerColor);
        layer->SetBackColor(LayerBack);
        layer->SetPenWidth(LayerPen);
        layer->SetFontName(LayerFont);
        layer->SetFontHeight(LayerFontHeight);
        label.SetActiveLayer(2);
        auto symbol = std::make_unique<TZORLibSymbol>();
        QString error;
        ASSERT_TRUE(symbol->ReadJson(
            TJsonObject::Parse(QStringLiteral(R"({"Name":"Valve","ID":"{7}","Def":[]})")), error));
        label.AddSymbol(std::move(symbol), true);
        label.SetModified(false);
    }

    TZORLabelVCL label;
};

QString ErrorText(const char* key)
{
    return TZORMsg::GetErrorValue(QString::fromLatin1(key));
}

// --- Every creator ---

enum TExpect : uint8_t {
    C = 1, // the layer's colour
    P = 2, // the layer's pen width
    B = 4, // the layer's back colour
    Fo = 8, // the layer's font name and height
    FoUnits = 16, // the same, in the label-unit form only
};

struct TFont {
    QString Name;
    float Height;
};

template <class T> TFont FontOf(const TZORBaseItem& e)
{
    const auto& t = dynamic_cast<const T&>(e);
    return { t.GetFontName(), t.GetFontHeight() };
}

using TPoints = std::vector<std::pair<double, double>>;
using TMake = std::function<TZORBaseItem*(TZORLabelVCL&)>;
using TExtra = std::function<void(const TZORBaseItem&, double perUnit)>;

// A creator and its label-unit twin, given the same geometry: the base form in micrometres, the
// label-unit form in the label's unit, with values 1000 times smaller, so that both answer the
// expected points scaled by the micrometres per unit.
struct TCreator {
    const char* Name;
    TZORItemType Type;
    TMake Base;
    TMake Units;
    TPoints Points; // label units; empty where the kind derives its points
    uint8_t Expect;
    TFont (*Font)(const TZORBaseItem&) = nullptr; // for kinds with a font
    TExtra Extra = {};
    TPoints BasePoints = {}; // where the base form places other points
};

template <class T> T& As(const TZORBaseItem& e)
{
    return const_cast<T&>(dynamic_cast<const T&>(e));
}

TExtra SectorAngles()
{
    return [](const TZORBaseItem& e, double) {
        EXPECT_EQ(As<TZORSector>(e).GetStartAngle(), 30.0f);
        EXPECT_EQ(As<TZORSector>(e).GetSweepAngle(), 90.0f);
    };
}

TExtra ArcCircle(double cx, double cy, double r)
{
    return [=](const TZORBaseItem& e, double k) {
        const auto& a = As<TZORArc>(e);
        EXPECT_NEAR(double(a.GetBaseCenterX()), cx * k, 1.0);
        EXPECT_NEAR(double(a.GetBaseCenterY()), cy * k, 1.0);
        EXPECT_NEAR(double(a.GetBaseRadio()), r * k, 1.0);
    };
}

const std::array<int64_t, 6> RunBase { 1000, 2000, 3000, 4000, 5000, 6500 };
const std::array<float, 6> RunUnits { 1, 2, 3, 4, 5, 6.5 };
const TPoints RunPoints { { 1, 2 }, { 3, 4 }, { 5, 6.5 } };
const std::array<int64_t, 8> BezierBase { 1000, 2000, 3000, 4000, 5000, 6500, 7000, 8000 };
const std::array<float, 8> BezierUnits { 1, 2, 3, 4, 5, 6.5, 7, 8 };
const TPoints Box { { 1.5, 2.5 }, { 4.5, 6.5 } };
const TPoints UnitSquare { { 1, 1 }, { 3, 3 } };

const std::vector<TCreator>& Creators()
{
    using T = TZORItemType;
    static const std::vector<TCreator> rows {
        { "point", T::Point, [](auto& l) { return l.AddBasePoint(1000, 2000); },
            [](auto& l) { return F::AddPoint(l, 1, 2); }, { { 1, 2 } }, C },
        { "line", T::Line, [](auto& l) { return l.AddBaseLine(1000, 2000, 3000, 4500); },
            [](auto& l) { return F::AddLine(l, 1, 2, 3, 4.5); }, { { 1, 2 }, { 3, 4.5 } }, C | P },
        { "arrow line", T::ArrowLine, [](auto& l) { return l.AddBaseArrowLine(1000, 2000, 3000, 4500); },
            [](auto& l) { return F::AddArrowLine(l, 1, 2, 3, 4.5); }, { { 1, 2 }, { 3, 4.5 } }, C | P,
            FontOf<TZORArrowLine> },
        { "arc, centre form", T::Arc, [](auto& l) { return l.AddBaseArc(2000, 3000, 1000, 0.5f, 1.0f); },
            [](auto& l) { return F::AddArc(l, 2, 3, 1, 0.5f, 1.0f); }, {}, C | P, nullptr,
            [](const TZORBaseItem& e, double k) {
                ArcCircle(2, 3, 1)(e, k);
                EXPECT_EQ(As<TZORArc>(e).GetAngleStart(), 0.5) << "angles are not converted";
                EXPECT_EQ(As<TZORArc>(e).GetAngleSweep(), 1.0);
            } },
        { "arc, three points", T::Arc,
            [](auto& l) { return l.AddBaseArc(1000, 2000, 2000, 1000, 3000, 2000); },
            [](auto& l) { return F::AddArc(l, 1, 2, 2, 1, 3, 2); }, {}, C | P, nullptr, ArcCircle(2, 2, 1) },
        { "polyline", T::PolyLine, [](auto& l) { return l.AddBasePolyLine(RunBase); },
            [](auto& l) { return F::AddPolyLine(l, RunUnits); }, RunPoints, C | P },
        { "Bezier curve", T::Bezier, [](auto& l) { return l.AddBaseBezier(BezierBase); },
            [](auto& l) { return F::AddBezier(l, BezierUnits); },
            { { 1, 2 }, { 3, 4 }, { 5, 6.5 }, { 7, 8 } }, C | P },
        { "polygon", T::Polygon, [](auto& l) { return l.AddBasePolygon(RunBase); },
            [](auto& l) { return F::AddPolygon(l, RunUnits); }, RunPoints, C | P | B },
        { "rectangle", T::Rectangle, [](auto& l) { return l.AddBaseRectangle(1500, 2500, 3000, 4000); },
            [](auto& l) { return F::AddRectangle(l, 1.5, 2.5, 3, 4); }, Box, C | P | B },
        { "package box", T::Package, [](auto& l) { return l.AddBasePackage(1500, 2500, 3000, 4000); },
            [](auto& l) { return F::AddPackage(l, 1.5, 2.5, 3, 4); }, Box, C | P | B },
        { "circle", T::Circle, [](auto& l) { return l.AddBaseCircle(2000, 3000, 500); },
            [](auto& l) { return F::AddCircle(l, 2, 3, 0.5); }, { { 1.5, 2.5 }, { 2.5, 3.5 } }, C | P | B },
        { "circle, two points", T::Circle, [](auto& l) { return l.AddBaseCircle2P(1000, 2000, 3000, 2000); },
            [](auto& l) { return F::AddCircle2P(l, 1, 2, 3, 2); }, UnitSquare, C | P | B },
        { "circle, three points", T::Circle,
            [](auto& l) { return l.AddBaseCircle3P(1000, 2000, 3000, 2000, 2000, 3000); },
            [](auto& l) { return F::AddCircle3P(l, 1, 2, 3, 2, 2, 3); }, UnitSquare, C | P | B },
        { "ellipse", T::Ellipse, [](auto& l) { return l.AddBaseEllipse(2000, 3000, 1000, 500); },
            [](auto& l) { return F::AddEllipse(l, 2, 3, 1, 0.5); }, { { 1, 2.5 }, { 3, 3.5 } }, C | P | B },
        { "sector", T::Sector, [](auto& l) { return l.AddBaseSector(2000, 2000, 1000, 30, 90); },
            [](auto& l) { return F::AddSector(l, 2, 2, 1, 30, 90); }, UnitSquare, C | P | B, nullptr,
            SectorAngles() },
        { "sector, two points", T::Sector,
            [](auto& l) { return l.AddBaseSector2P(1000, 2000, 3000, 2000, 30, 90); },
            [](auto& l) { return F::AddSector2P(l, 1, 2, 3, 2, 30, 90); }, UnitSquare, C | P | B, nullptr,
            SectorAngles() },
        { "sector, three points", T::Sector,
            [](auto& l) { return l.AddBaseSector3P(1000, 2000, 3000, 2000, 2000, 3000, 30, 90); },
            [](auto& l) { return F::AddSector3P(l, 1, 2, 3, 2, 2, 3, 30, 90); }, UnitSquare, C | P | B,
            nullptr, SectorAngles() },
        { "level gauge", T::Level, [](auto& l) { return l.AddBaseLevel(2000, 2000, 1000); },
            [](auto& l) { return F::AddLevel(l, 2, 2, 1); }, UnitSquare, C | P | B, FontOf<TZORLevel> },
        { "text", T::Text, [](auto& l) { return l.AddBaseText(1000, 2000); },
            [](auto& l) { return F::AddText(l, 1, 2); }, { { 1, 2 }, { 1, 2 } }, C | Fo, FontOf<TZORText> },
        { "paragraph", T::Paragraph, [](auto& l) { return l.AddBaseParagraph(1500, 2500, 3000, 4000); },
            [](auto& l) { return F::AddParagraph(l, 1.5, 2.5, 3, 4); }, Box, C | P | B | Fo,
            FontOf<TZORParagraph> },
        { "rich text", T::RichText, [](auto& l) { return l.AddBaseRichText(1500, 2500, 3000, 4000); },
            [](auto& l) { return F::AddRichText(l, 1.5, 2.5, 3, 4); }, Box, C | P | B | Fo,
            FontOf<TZORRichText> },
        { "image", T::Image,
            [](auto& l) { return F::AddBaseImage(l, 1500, 2500, 3000, 4000, QStringLiteral("logo.png")); },
            [](auto& l) { return F::AddImage(l, 1.5, 2.5, 3, 4, QStringLiteral("logo.png")); }, Box, C | P,
            nullptr,
            [](const TZORBaseItem& e, double) { EXPECT_EQ(As<TZORImage>(e).GetFileName(), "logo.png"); } },
        { "linear barcode", T::Barcode,
            [](auto& l) { return l.AddBaseBarcode(1000, 2000, "12345", TZORBarType::Code128); },
            [](auto& l) { return F::AddBarcode(l, 1, 2, "12345", TZORBarType::Code128); }, { { 1, 2 } },
            C | FoUnits, FontOf<TZORBarcode>,
            [](const TZORBaseItem& e, double) {
                EXPECT_EQ(As<TZORBarcode>(e).GetCode(), "12345");
                EXPECT_EQ(As<TZORBarcode>(e).GetCodeType(), TZORBarType::Code128);
            } },
        { "PDF417", T::PDF417, [](auto& l) { return l.AddBasePDF417(1000, 2000, "pdf"); },
            [](auto& l) { return F::AddPDF417(l, 1, 2, "pdf"); }, { { 1, 2 } }, C, nullptr,
            [](const TZORBaseItem& e, double) { EXPECT_EQ(As<TZORPDF417>(e).GetCode(), "pdf"); } },
        { "DataMatrix", T::DataMatrix, [](auto& l) { return l.AddBaseDataMatrix(1000, 2000, "dm"); },
            [](auto& l) { return F::AddDataMatrix(l, 1, 2, "dm"); }, { { 1, 2 } }, C, nullptr,
            [](const TZORBaseItem& e, double) { EXPECT_EQ(As<TZORDataMatrix>(e).GetCode(), "dm"); } },
        { "QR code", T::QRCode, [](auto& l) { return l.AddBaseQRCode(1000, 2000, QStringLiteral("Grüße")); },
            [](auto& l) { return F::AddQRCode(l, 1, 2, QStringLiteral("Grüße")); }, { { 1, 2 } }, C, nullptr,
            [](const TZORBaseItem& e, double) {
                EXPECT_EQ(As<TZORQRCode>(e).GetCode(), QStringLiteral("Grüße"));
            } },
        { "flowchart node", T::Flow,
            [](auto& l) { return l.AddBaseFlow(1500, 2500, 3000, 4000, TZORFlowType::Decision); },
            [](auto& l) { return F::AddFlow(l, 1.5, 2.5, 3, 4, TZORFlowType::Decision); }, Box,
            C | P | B | Fo, FontOf<TZORFlow>,
            [](const TZORBaseItem& e, double) {
                EXPECT_EQ(As<TZORFlow>(e).GetFlowType(), TZORFlowType::Decision);
            } },
        { "table", T::Table, [](auto& l) { return l.AddBaseTable(1500, 2500, 3000, 4000); },
            [](auto& l) { return F::AddTable(l, 1.5, 2.5, 3, 4); }, Box, C | P | B },
        { "poly text", T::PolyText, [](auto& l) { return l.AddBasePolyText(1000, 2000); },
            [](auto& l) { return F::AddPolyText(l, 1, 2); }, { { 1, 2 } }, C, nullptr, {},
            { { 1, 2 }, { 1, 2 } } },
        { "rating", T::Rank, [](auto& l) { return l.AddBaseRank(1500, 2500, 3000, 4000); },
            [](auto& l) { return F::AddRank(l, 1.5, 2.5, 3, 4); }, Box, C | P | B },
        { "nutrition score", T::NutriScore,
            [](auto& l) { return l.AddBaseNutriScore(1500, 2500, 3000, 4000); },
            [](auto& l) { return F::AddNutriScore(l, 1.5, 2.5, 3, 4); }, Box, C | P | B },
        { "symbol", T::Symbol, [](auto& l) { return l.AddBaseSymbol(1000, 2000); },
            [](auto& l) { return F::AddSymbol(l, 1, 2); }, { { 1, 2 } }, 0, nullptr,
            [](const TZORBaseItem& e, double) { EXPECT_EQ(As<TZORSymbol>(e).GetSymbolID(), "{7}"); } },
    };
    return rows;
}

void ExpectMade(const TZORLabelVCL& label, const TZORBaseItem* e, const TCreator& row, double perUnit,
    bool base, int32_t countBefore)
{
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(label.GetItemsCount(), countBefore + 1);
    EXPECT_GT(label.IndexOfItem(e), 0);
    EXPECT_EQ(e->TypeCode(), row.Type);
    EXPECT_EQ(e->GetLayerIndex(), 2) << "on the active layer";

    const TPoints& points = base && !row.BasePoints.empty() ? row.BasePoints : row.Points;
    if (!points.empty()) {
        ASSERT_EQ(e->NumPoints(), int32_t(points.size()));
        for (size_t i = 0; i < points.size(); ++i) {
            const TZORPto expected { std::llround(points[i].first * perUnit),
                std::llround(points[i].second * perUnit) };
            EXPECT_EQ(e->GetPoint(int32_t(i) + 1), expected) << "point " << i + 1;
        }
    }

    EXPECT_EQ(e->GetColor() == LayerColor, (row.Expect & C) != 0) << "colour";
    EXPECT_EQ(e->GetPenWidth() == LayerPen, (row.Expect & P) != 0) << "pen width";
    if (const auto* figure = dynamic_cast<const TZOR2DItem*>(e))
        EXPECT_EQ(figure->GetBackColor() == LayerBack, (row.Expect & B) != 0) << "back colour";
    else
        EXPECT_EQ(row.Expect & B, 0);
    if (row.Font) {
        const bool takesFont = (row.Expect & Fo) != 0 || (!base && (row.Expect & FoUnits) != 0);
        const TFont font = row.Font(*e);
        EXPECT_EQ(font.Name == LayerFont, takesFont) << "font name";
        EXPECT_EQ(font.Height == LayerFontHeight, takesFont) << "font height";
    }
    if (row.Extra)
        row.Extra(*e, perUnit);
}

TEST_F(Factory, BaseCreatorsThroughTheLabelGiveKindPointsAndLayerDefaults)
{
    for (const TCreator& row : Creators()) {
        SCOPED_TRACE(row.Name);
        const int32_t before = label.GetItemsCount();
        ExpectMade(label, row.Base(label), row, 1000.0, true, before);
    }
}

TEST_F(Factory, LabelUnitCreatorsConvertInEveryUnit)
{
    for (size_t unit = 0; unit < PerUnit.size(); ++unit) {
        label.SetUnits(TZORUnits(unit));
        for (const TCreator& row : Creators()) {
            SCOPED_TRACE(std::string(row.Name) + ", unit " + std::to_string(unit));
            const int32_t before = label.GetItemsCount();
            ExpectMade(label, row.Units(label), row, PerUnit[unit], false, before);
        }
    }
}

TEST_F(Factory, NewElementsAreSortedByLayer)
{
    TZORBaseItem* upper = label.AddBaseRectangle(0, 0, 1000, 1000);
    label.SetActiveLayer(1);
    TZORBaseItem* lower = F::AddRectangle(label, 0, 0, 1, 1);
    EXPECT_EQ(label.GetItem(1), lower);
    EXPECT_EQ(label.GetItem(2), upper);
    EXPECT_EQ(lower->GetLayerIndex(), 1);
}

// --- Point arrays ---

using TArrayMake = std::function<TZORBaseItem*(TZORLabelVCL&, size_t values)>;

template <class V> std::vector<V> Values(size_t n)
{
    std::vector<V> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = V(1 + i);
    return v;
}

struct TArrayCreator {
    const char* Name;
    TArrayMake Make;
    // Number of values and the catalogue key of the error it raises (none: it makes the element).
    std::vector<std::pair<size_t, const char*>> Outcomes;
};

const std::vector<TArrayCreator>& ArrayCreators()
{
    static const std::vector<TArrayCreator> rows {
        { "base polygon", [](auto& l, size_t n) { return l.AddBasePolygon(Values<int64_t>(n)); },
            { { 0, "Polygon" }, { 1, "Polygon" }, { 2, "Polygon" }, { 3, "Polygon" }, { 4, "Polygon" },
                { 5, "Polygon" }, { 6, nullptr }, { 7, "EventNumber" }, { 8, nullptr } } },
        // The label-unit polygon only asks for whole points: none, one or two make a polygon too.
        { "polygon", [](auto& l, size_t n) { return F::AddPolygon(l, Values<float>(n)); },
            { { 0, nullptr }, { 2, nullptr }, { 4, nullptr }, { 5, "EventNumber" }, { 6, nullptr },
                { 7, "EventNumber" } } },
        { "base polyline", [](auto& l, size_t n) { return l.AddBasePolyLine(Values<int64_t>(n)); },
            { { 0, nullptr }, { 1, "EventNumber" }, { 2, nullptr }, { 7, "EventNumber" } } },
        { "polyline", [](auto& l, size_t n) { return F::AddPolyLine(l, Values<float>(n)); },
            { { 0, nullptr }, { 3, "EventNumber" }, { 4, nullptr } } },
        { "base Bezier", [](auto& l, size_t n) { return l.AddBaseBezier(Values<int64_t>(n)); },
            { { 0, nullptr }, { 7, "EventNumber" } } },
        { "Bezier", [](auto& l, size_t n) { return F::AddBezier(l, Values<float>(n)); },
            { { 0, nullptr }, { 5, "EventNumber" } } },
        { "base poly link",
            [](auto& l, size_t n) {
                return l.AddBasePolyLink(0, 0, 0, 0, TZORinkType::Points, Values<int64_t>(n));
            },
            { { 0, nullptr }, { 5, "EventNumber" }, { 6, nullptr } } },
        { "poly link",
            [](auto& l, size_t n) {
                return F::AddPolyLink(l, 0, 0, 0, 0, TZORinkType::Points, Values<float>(n));
            },
            { { 0, nullptr }, { 1, "EventNumber" } } },
    };
    return rows;
}

TEST_F(Factory, PointArraysAreCheckedBeforeAnythingIsMade)
{
    for (const TArrayCreator& row : ArrayCreators()) {
        for (const auto& [values, key] : row.Outcomes) {
            SCOPED_TRACE(std::string(row.Name) + ", " + std::to_string(values) + " values");
            label.SetModified(false);
            const int32_t before = label.GetItemsCount();
            if (!key) {
                const TZORBaseItem* e = row.Make(label, values);
                ASSERT_NE(e, nullptr);
                EXPECT_EQ(e->GetPointsCount(), int32_t(values / 2));
                EXPECT_EQ(label.GetItemsCount(), before + 1);
                continue;
            }
            try {
                row.Make(label, values);
                ADD_FAILURE() << "nothing raised";
            } catch (const EZORError& e) {
                EXPECT_EQ(e.Message(), ErrorText(key));
            }
            EXPECT_EQ(label.GetItemsCount(), before);
            EXPECT_FALSE(label.GetModified());
        }
    }
}

TEST_F(Factory, PolyLinkKeepsCoordinatesBeyondThirtyTwoBits)
{
    const std::array<int64_t, 4> far { 5'000'000'000, -6'000'000'000, 4'294'967'297, -1 };
    for (TZORLink* link : { label.AddBasePolyLink(0, 0, 0, 0, TZORinkType::Points, far),
             F::AddBasePolyLink(label, 0, 0, 0, 0, TZORinkType::Points, far) }) {
        ASSERT_EQ(link->GetNumLinkPoints(), 2);
        EXPECT_EQ(link->GetLinkPoint(1), (TZORPto { 5'000'000'000, -6'000'000'000 }));
        EXPECT_EQ(link->GetLinkPoint(2), (TZORPto { 4'294'967'297, -1 }));
    }
}

TEST_F(Factory, BoxesNearTheEndOfTheRangeSaturate)
{
    constexpr int64_t top = std::numeric_limits<int64_t>::max();
    const TZORBaseItem* box = label.AddBaseRectangle(top - 10, 0, 100, 100);
    EXPECT_EQ(box->GetPoint(2).X, top);
    const TZORBaseItem* circle = label.AddBaseCircle(std::numeric_limits<int64_t>::min() + 5, 0, 10);
    EXPECT_EQ(circle->GetPoint(1).X, std::numeric_limits<int64_t>::min());
}

// --- Failures that leave the label as it was ---

struct TRefusal {
    const char* Name;
    std::function<TZORBaseItem*(TZORLabelVCL&)> Make;
    const char* Key; // none: the creator answers null
};

TEST_F(Factory, RefusedGeometryMakesNothing)
{
    const TRefusal rows[] = {
        { "circle through points on one line",
            [](auto& l) { return l.AddBaseCircle3P(0, 0, 1000, 1000, 2000, 2000); }, "CirclePoints" },
        { "label-unit circle through one point thrice",
            [](auto& l) { return F::AddCircle3P(l, 1, 1, 1, 1, 1, 1); }, "CirclePoints" },
        { "sector through points on one line",
            [](auto& l) { return l.AddBaseSector3P(0, 0, 1000, 0, 2000, 0, 0, 90); }, "CirclePoints" },
        { "arc through points on one line", [](auto& l) { return l.AddBaseArc(0, 0, 1000, 0, 2000, 0); },
            "ArcPoints" },
        { "angle between parallel lines",
            [](auto& l) { return l.AddBaseDimAngle(0, 0, 1000, 0, 0, 500, 1000, 500, 300, 300); }, nullptr },
        { "link to a name of no element",
            [](auto& l) { return F::AddLink(l, QStringLiteral("1"), QStringLiteral("42"), 1, 1, {}); },
            nullptr },
    };
    label.AddBaseRectangle(0, 0, 1000, 1000); // ID 1
    for (const TRefusal& row : rows) {
        SCOPED_TRACE(row.Name);
        label.SetModified(false);
        const int32_t before = label.GetItemsCount();
        if (row.Key) {
            try {
                row.Make(label);
                ADD_FAILURE() << "nothing raised";
            } catch (const EZORError& e) {
                EXPECT_EQ(e.Message(), ErrorText(row.Key));
            }
        } else {
            EXPECT_EQ(row.Make(label), nullptr);
        }
        EXPECT_EQ(label.GetItemsCount(), before);
        EXPECT_FALSE(label.GetModified());
    }
}

// --- Links by name ---

TEST_F(Factory, AddLinkFindsElementsByIdAndOffsetsSymbolAnchors)
{
    const TZORBaseItem* box = label.AddBaseRectangle(0, 0, 10000, 5000);
    const TZORBaseItem* symbol = label.AddBaseSymbol(20000, 0);
    const QString boxName = QString::number(box->GetID()), symbolName = QString::number(symbol->GetID());

    struct TCase {
        QString From, To;
        int16_t FromIndex, ToIndex;
        int32_t FromID, ToID; // 0: no link
        int16_t ExpectFrom, ExpectTo;
    };
    const TCase cases[] = {
        { boxName, symbolName, 1, 2, box->GetID(), symbol->GetID(), 1, 52 },
        { symbolName, boxName, 3, 1, symbol->GetID(), box->GetID(), 53, 1 },
        { boxName, boxName, 1, 2, box->GetID(), box->GetID(), 1, 2 },
        // The offset stops at the largest index instead of wrapping round to a small one.
        { symbolName, boxName, 32760, 1, symbol->GetID(), box->GetID(), 32767, 1 },
        { QString(), boxName, 1, 1, 0, 0, 0, 0 },
        { boxName, QStringLiteral("box"), 1, 1, 0, 0, 0, 0 },
        { QStringLiteral("0"), boxName, 1, 1, 0, 0, 0, 0 },
        { QStringLiteral("-1"), boxName, 1, 1, 0, 0, 0, 0 },
        { boxName, QStringLiteral("9999"), 1, 1, 0, 0, 0, 0 },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE((c.From + " -> " + c.To).toStdString());
        const int32_t before = label.GetItemsCount();
        const TZORLink* link = F::AddLink(label, c.From, c.To, c.FromIndex, c.ToIndex, TZORinkType::Curve);
        if (c.FromID == 0) {
            EXPECT_EQ(link, nullptr);
            EXPECT_EQ(label.GetItemsCount(), before);
            continue;
        }
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(label.GetItemsCount(), before + 1);
        EXPECT_EQ(link->GetFromID(), c.FromID);
        EXPECT_EQ(link->GetToID(), c.ToID);
        EXPECT_EQ(link->GetFromIndex(), c.ExpectFrom);
        EXPECT_EQ(link->GetToIndex(), c.ExpectTo);
        EXPECT_EQ(link->GetLinkType(), TZORinkType::Curve);
        EXPECT_EQ(link->GetColor(), LayerColor);
        EXPECT_EQ(link->GetPenWidth(), LayerPen);
    }
}

TEST_F(Factory, BaseLinkFindsItsEnds)
{
    const TZORBaseItem* a = label.AddBaseRectangle(0, 0, 10000, 5000);
    const TZORBaseItem* b = label.AddBaseRectangle(20000, 10000, 10000, 5000);
    const TZORLink* link = label.AddBaseLink(a->GetID(), b->GetID(), 1, 2, TZORinkType::Straight);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetPointsCount(), 0);
    EXPECT_EQ(link->GetStartPoint(), (TZORPto { a->GetRefX(1), a->GetRefY(1) }));
    EXPECT_EQ(link->GetEndPoint(), (TZORPto { b->GetRefX(2), b->GetRefY(2) }));
}

// --- Dimensions ---

TEST_F(Factory, LinearDimensionTakesTheLabelsConstruction)
{
    struct TCase {
        TZORUnits Units;
        std::array<float, 6> In; // label units
    };
    const TCase cases[] = {
        { TZORUnits::Millimetre, { 0, 0, 30, 0, 10, 8 } },
        { TZORUnits::Millimetre, { 0, 0, 0, 40, -7, 10 } },
        { TZORUnits::Inch, { 1, 1, 2, 2, 2, 1 } },
    };
    for (const TCase& c : cases) {
        label.SetUnits(c.Units);
        const auto& v = c.In;
        std::array<int64_t, 6> base;
        for (size_t i = 0; i < 6; ++i)
            base[i] = std::llround(v[i] * PerUnit[size_t(c.Units)]);
        std::array<TZORPto, 6> derived;
        const TZRDimType type = TZORBaseDim::CalcDimPoints(
            &label, base[0], base[1], base[2], base[3], base[4], base[5], derived);

        for (const TZORDim* dim : { label.AddBaseDim(base[0], base[1], base[2], base[3], base[4], base[5]),
                 F::AddDim(label, v[0], v[1], v[2], v[3], v[4], v[5]) }) {
            ASSERT_NE(dim, nullptr);
            EXPECT_EQ(dim->GetDimType(), type);
            EXPECT_EQ(dim->GetPoint(1), (TZORPto { base[0], base[1] }));
            EXPECT_EQ(dim->GetPoint(2), (TZORPto { base[2], base[3] }));
            for (int32_t i = 0; i < 6; ++i)
                EXPECT_EQ(dim->GetPoint(i + 3), derived[size_t(i)]) << "point " << i + 3;
            EXPECT_EQ(dim->GetColor(), LayerColor);
            EXPECT_EQ(dim->GetPenWidth(), LayerPen);
        }
    }
}

// A quarter turn clockwise on screen about the origin, then a shift away from it.
TZORPto Turned(TZORPto p, int quarters)
{
    for (int i = 0; i < quarters; ++i)
        p = { -p.Y, p.X };
    return { p.X + 100000, p.Y + 50000 };
}

TEST_F(Factory, AngularDimensionPutsItsArcOnTheSideOfPointFive)
{
    // Line 1 runs along +x, line 2 along +y, both from the origin. With point 5 between them the
    // arc runs from line 1 to line 2; with point 5 beyond line 1's start the arc lies between
    // line 2 and line 1's backward run, so start and end swap. Every quarter turn of the figure
    // must turn the answer with it.
    struct TCase {
        const char* Name;
        TZORPto Five;
        TZORPto Start, End;
    };
    const TCase cases[] = {
        { "inside", { 5000, 5000 }, { 7071, 0 }, { 0, 7071 } },
        { "outside", { -5000, 5000 }, { 0, 7071 }, { -7071, 0 } },
    };
    const TZORPto origin {}, alongX { 10000, 0 }, alongY { 0, 10000 };
    for (const TCase& c : cases) {
        for (int q = 0; q < 4; ++q) {
            SCOPED_TRACE(std::string(c.Name) + ", quarter turns " + std::to_string(q));
            const TZORPto o = Turned(origin, q), x = Turned(alongX, q), y = Turned(alongY, q);
            const TZORPto five = Turned(c.Five, q);
            const TZORDim* dim
                = label.AddBaseDimAngle(o.X, o.Y, x.X, x.Y, o.X, o.Y, y.X, y.Y, five.X, five.Y);
            ASSERT_NE(dim, nullptr);
            EXPECT_EQ(dim->GetDimType(), TZRDimType::Angle);
            const TZORPto expected[8] = { o, x, o, y, Turned(c.Start, q), Turned(c.End, q), five, five };
            for (int32_t i = 0; i < 8; ++i)
                EXPECT_EQ(dim->GetPoint(i + 1), expected[i]) << "point " << i + 1;
        }
    }
}

TEST_F(Factory, AngularDimensionInLabelUnits)
{
    label.SetUnits(TZORUnits::Centimetre);
    const TZORDim* dim = F::AddDimAngle(label, 0, 0, 1, 0, 0, 0, 0, 1, 0.5f, 0.5f);
    ASSERT_NE(dim, nullptr);
    EXPECT_EQ(dim->GetPoint(2), (TZORPto { 10000, 0 }));
    EXPECT_EQ(dim->GetPoint(5), (TZORPto { 7071, 0 }));
    EXPECT_EQ(dim->GetPoint(6), (TZORPto { 0, 7071 }));
    EXPECT_EQ(dim->GetPoint(7), (TZORPto { 5000, 5000 }));
    EXPECT_EQ(F::AddDimAngle(label, 0, 0, 1, 0, 0, 1, 1, 1, 0.5f, 0.5f), nullptr);
}

TEST_F(Factory, RadialAndDiameterDimensions)
{
    using M = TZORDim* (*)(TZORBaseLabel&, int64_t, int64_t, int64_t, float);
    struct TCase {
        const char* Name;
        M Make;
        float Angle;
        float ExtSize;
        int32_t Scale;
        TZRDimType Type;
        std::array<TZORPto, 8> Points;
    };
    // Centre (10000, 20000), radius 5000. Extension size 2 mm: e1 = 4000; e2 = 2 × scale.
    const TZORPto c { 10000, 20000 };
    const TZORPto east { 15000, 20000 }, west { 5000, 20000 };
    const TZORPto p2 { 7919, 24546 }, opposite2 { 12081, 15454 }; // at 2 radians
    const TCase cases[] = {
        { "radius, east", F::AddBaseDimRadial1, 0.0f, 2.0f, 50, TZRDimType::Radius,
            { c, east, east, { 19000, 20000 }, c, east, east, { 19000, 20000 } } },
        { "radius, west", F::AddBaseDimRadial1, float(std::numbers::pi), 2.0f, 50, TZRDimType::Radius,
            { c, west, west, { 1000, 20000 }, c, west, west, { 1000, 20000 } } },
        { "radius outside, east", F::AddBaseDimRadial2, 0.0f, 2.0f, 50, TZRDimType::RadiusOut,
            { c, east, { 15100, 20000 }, { 15300, 20000 }, c, east, east, { 15300, 20000 } } },
        { "radius outside, west", F::AddBaseDimRadial2, float(std::numbers::pi), 2.0f, 50,
            TZRDimType::RadiusOut,
            { c, west, { 4900, 20000 }, { 4700, 20000 }, c, west, west, { 4700, 20000 } } },
        { "radius outside, at 2 radians", F::AddBaseDimRadial2, 2.0f, 2.0f, 50, TZRDimType::RadiusOut,
            { c, p2, { 7877, 24637 }, { 7677, 24637 }, c, p2, p2, { 7677, 24637 } } },
        // e2 = Round(2.5 × 1) = 2, halves to even.
        { "radius outside, half", F::AddBaseDimRadial2, 0.0f, 2.5f, 1, TZRDimType::RadiusOut,
            { c, east, { 15002, 20000 }, { 15006, 20000 }, c, east, east, { 15006, 20000 } } },
        { "diameter, east", F::AddBaseDimDiameter1, 0.0f, 2.0f, 50, TZRDimType::Diameter,
            { east, west, east, { 19000, 20000 }, east, west, west, { 19000, 20000 } } },
        { "diameter, west", F::AddBaseDimDiameter1, float(std::numbers::pi), 2.0f, 50, TZRDimType::Diameter,
            { west, east, west, { 1000, 20000 }, west, east, east, { 1000, 20000 } } },
        { "diameter, at 2 radians", F::AddBaseDimDiameter1, 2.0f, 2.0f, 50, TZRDimType::Diameter,
            { p2, opposite2, p2, { 3919, 24546 }, p2, opposite2, opposite2, { 3919, 24546 } } },
        { "diameter outside, west", F::AddBaseDimDiameter2, float(std::numbers::pi), 2.0f, 50,
            TZRDimType::DiameterOut,
            { c, west, { 4900, 20000 }, { 4700, 20000 }, c, west, west, { 4700, 20000 } } },
    };
    for (const TCase& row : cases) {
        SCOPED_TRACE(row.Name);
        label.GetActiveDimStyle()->fExtSize = row.ExtSize;
        label.Measure().SetDrawScale(row.Scale);
        const TZORDim* dim = row.Make(label, c.X, c.Y, 5000, row.Angle);
        ASSERT_NE(dim, nullptr);
        EXPECT_EQ(dim->GetDimType(), row.Type);
        for (int32_t i = 0; i < 8; ++i)
            EXPECT_EQ(dim->GetPoint(i + 1), row.Points[size_t(i)]) << "point " << i + 1;
        EXPECT_EQ(dim->GetColor(), LayerColor);
    }
}

TEST_F(Factory, RadialDimensionsInLabelUnits)
{
    using M = TZORDim* (*)(TZORBaseLabel&, float, float, float, float);
    struct TForm {
        M Make;
        TZRDimType Type;
        int32_t OnCircle; // the point that lies on the circle in the measured direction
    };
    const TForm forms[] = {
        { F::AddDimRadial1, TZRDimType::Radius, 2 },
        { F::AddDimRadial2, TZRDimType::RadiusOut, 2 },
        { F::AddDimDiameter1, TZRDimType::Diameter, 1 },
        { F::AddDimDiameter2, TZRDimType::DiameterOut, 2 },
    };
    label.SetUnits(TZORUnits::Inch);
    label.Measure().SetDrawScale(1);
    for (const TForm& form : forms) {
        const TZORDim* dim = form.Make(label, 1, 2, 0.5f, 0);
        ASSERT_NE(dim, nullptr);
        EXPECT_EQ(dim->GetDimType(), form.Type);
        EXPECT_EQ(dim->GetPoint(form.OnCircle), (TZORPto { 38100, 50800 })) << "in micrometres";
    }
}

TEST(FactoryDPI, StartsAt96AndKeepsWhatIsSet)
{
    EXPECT_EQ(TZORFactory::GetDPIX(), 96);
    EXPECT_EQ(TZORFactory::GetDPIY(), 96);
    TZORFactory::SetDPI(300, 600);
    EXPECT_EQ(TZORFactory::GetDPIX(), 300);
    EXPECT_EQ(TZORFactory::GetDPIY(), 600);
    TZORFactory::SetDPI(96, 96);
}

} // namespace

TEST_F(Factory, TheFontColourAndStyleComeFromTheLayerWhereTheKindTakesTheWholeFont)
{
    constexpr TAlphaColor FontColor { 0xFF00AA00u };
    TZORLayer* layer = label.GetActiveLayer();
    layer->SetFontColor(FontColor);
    layer->SetBold(true);
    layer->SetItalic(true);

    const auto whole = [&](const auto* e) {
        EXPECT_EQ(e->GetFontColor(), FontColor);
        EXPECT_TRUE(e->GetBold());
        EXPECT_TRUE(e->GetItalic());
    };
    whole(F::AddBaseText(label, 0, 0));
    whole(F::AddBaseParagraph(label, 0, 0, 1000, 1000));
    whole(F::AddBaseRichText(label, 0, 0, 1000, 1000));
    whole(F::AddBaseFlow(label, 0, 0, 1000, 1000, TZORFlowType::Process));

    // The package box takes the colour only; the label-unit barcode the face only.
    EXPECT_EQ(F::AddBasePackage(label, 0, 0, 1000, 1000)->GetFontColor(), FontColor);
    const TZORBarcode* code = F::AddBarcode(label, 0, 0, "4006381333931", TZORBarType(0));
    EXPECT_EQ(code->GetFontName(), LayerFont);
    EXPECT_NE(code->GetFontColor(), FontColor);
    EXPECT_FALSE(code->GetBold());
}

TEST_F(Factory, ANewDimensionShowsWhatItMeasures)
{
    const TZORDim* d = F::AddBaseDim(label, 0, 0, 40000, 0, 20000, -10000);
    EXPECT_FALSE(d->GetText().isEmpty());
    EXPECT_TRUE(d->GetText().startsWith(QStringLiteral("40"))) << d->GetText().toStdString();
}
