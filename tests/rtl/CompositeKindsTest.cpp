#include "KindStubs.h"
#include "Zor.Error.h"
#include "Zor.Flow.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Rank.h"
#include "Zor.Symbol.h"
#include "Zor.Table.h"
#include "Zor.Version.h"

#include <gtest/gtest.h>

#include <cmath>

using zor::TJsonObject;

using namespace zor::test;

namespace {

template <class T> T* ReadJson(TZORBaseLabel& label, const char* json)
{
    return static_cast<T*>(label.AddReadJson(std::make_unique<TStub<T>>(&label, false), ZORFileVersion,
        TJsonObject::Parse(QString::fromUtf8(json))));
}

// Two boxes to join: the first from (0, 0) to (10000, 5000), the second from (50000, 20000) to
// (60000, 30000).
struct TJoined {
    TKindLabel label;
    TZORBaseRectangle* from = Stub<TZORBaseRectangle>(label);
    TZORBaseRectangle* to = Stub<TZORBaseRectangle>(label);
    TZORBaseLink* link = Stub<TZORBaseLink>(label);

    TJoined()
    {
        SetPoints(*from, { { 0, 0 }, { 10000, 5000 } });
        SetPoints(*to, { { 50000, 20000 }, { 60000, 30000 } });
        link->SetFromID(from->GetID());
        link->SetToID(to->GetID());
        link->SetFromIndex(1);
        link->SetToIndex(2);
    }
};

std::unique_ptr<TZORLibSymbol> Definition(const char* json)
{
    auto symbol = std::make_unique<TZORLibSymbol>();
    QString error;
    EXPECT_TRUE(symbol->ReadJson(TJsonObject::Parse(QString::fromUtf8(json)), error)) << error.toStdString();
    return symbol;
}

} // namespace

// --- Links ---

TEST(Link, EndsComeFromTheAnchorsOfTheJoinedElements)
{
    TJoined j;
    EXPECT_TRUE(j.link->CalcLinkPoints(false));
    EXPECT_EQ(j.link->GetStartPoint(), (TZORPto { 0, 0 }));
    EXPECT_EQ(j.link->GetEndPoint(), (TZORPto { 60000, 30000 }));

    // A missing element or anchor leaves the ends as they were.
    struct TCase {
        const char* name;
        int32_t fromID;
        int16_t fromIndex;
    };
    const TCase cases[] = {
        { "no such element", 999, 1 },
        { "no element", 0, 1 },
        { "the link itself", j.link->GetID(), 1 },
        { "anchor 0", j.from->GetID(), 0 },
        { "anchor past the points", j.from->GetID(), 3 },
        { "negative anchor", j.from->GetID(), -1 },
    };
    SetPoints(*j.to, { { 70000, 20000 }, { 80000, 30000 } });
    for (const TCase& c : cases) {
        j.link->SetFromID(c.fromID);
        j.link->SetFromIndex(c.fromIndex);
        EXPECT_FALSE(j.link->CalcLinkPoints(false)) << c.name;
        EXPECT_EQ(j.link->GetStartPoint(), (TZORPto { 0, 0 })) << c.name;
        EXPECT_EQ(j.link->GetEndPoint(), (TZORPto { 60000, 30000 })) << c.name;
    }

    TStub<TZORBaseLink> orphan(nullptr, false);
    EXPECT_FALSE(orphan.CalcLinkPoints(true));
}

TEST(Link, RoutedKindsLayTheirPointsOutFromTheEndsAndTheOthersKeepTheirs)
{
    struct TCase {
        TZORinkType type;
        int32_t points; // laid out; -1 keeps the two given
    };
    const TCase cases[] = {
        { TZORinkType::Straight, -1 }, { TZORinkType::Route1, 1 }, { TZORinkType::Route2, 1 },
        { TZORinkType::Route3, 2 }, { TZORinkType::Arc, -1 }, { TZORinkType::Curve, -1 },
        { TZORinkType::Points, -1 }, { TZORinkType::Spline, 14 },
        { TZORinkType(9), -1 }, // kept as read, drawn as nothing
    };
    for (const TCase& c : cases) {
        for (const bool aNew : { true, false }) {
            TJoined j;
            j.link->SetLinkType(c.type);
            j.link->SetBasePoint(1, 20000, 10000, false);
            j.link->SetBasePoint(2, 40000, 10000, false);
            EXPECT_TRUE(j.link->CalcLinkPoints(aNew)) << int(c.type);
            EXPECT_EQ(j.link->GetNumLinkPoints(), c.points < 0 ? 2 : c.points) << int(c.type);
            if (c.points < 0) {
                EXPECT_EQ(j.link->GetLinkPoint(1), (TZORPto { 20000, 10000 })) << int(c.type);
            }
        }
    }
}

// Without its ends a new routed link has no route; one read from a file keeps its points.
TEST(Link, ARoutedLinkWithoutEndsDropsItsRouteOnlyWhenNew)
{
    for (const bool aNew : { true, false }) {
        TJoined j;
        j.link->SetLinkType(TZORinkType::Route3);
        j.link->SetBasePoint(2, 40000, 10000, false);
        j.link->SetToID(999);
        EXPECT_FALSE(j.link->CalcLinkPoints(aNew));
        EXPECT_EQ(j.link->GetNumLinkPoints(), aNew ? 0 : 2);
    }
}

TEST(Link, LinkPointsAreSetInBaseUnitsOrInTheLabelsUnit)
{
    TJoined j;
    j.label.SetUnits(TZORUnits::Centimetre);
    j.link->SetLinkPoint(1, 1.5f, -2.0f);
    EXPECT_EQ(j.link->GetLinkPoint(1), (TZORPto { 15000, -20000 }));
    // An index past the last adds points up to it; 64-bit coordinates stay whole.
    j.link->SetBasePoint(3, int64_t(5) << 40, -(int64_t(3) << 33), false);
    EXPECT_EQ(j.link->GetNumLinkPoints(), 3);
    EXPECT_EQ(j.link->GetLinkPoint(3), (TZORPto { int64_t(5) << 40, -(int64_t(3) << 33) }));
    EXPECT_EQ(j.link->GetStartPoint(), (TZORPto {})); // not yet refreshed
    j.link->SetBasePoint(2, 0, 0, true);
    EXPECT_EQ(j.link->GetEndPoint(), (TZORPto { 60000, 30000 }));
    EXPECT_THROW(j.link->SetBasePoint(0, 1, 1, false), EZORError);
}

// --- Symbols ---

TEST(Symbol, ShowsTheLabelsDefinitionOfItsID)
{
    TKindLabel label;
    auto* symbol = Stub<TZORBaseSymbol>(label);
    const auto valve = Definition(R"({"Name":"Valve","ID":"V-1","Def":[]})");
    symbol->SetSymbol(valve.get());
    EXPECT_EQ(symbol->GetSymbolID(), QStringLiteral("V-1"));
    EXPECT_EQ(symbol->GetSymbolName(), QStringLiteral("Valve"));
    EXPECT_EQ(symbol->GetSymbol(), nullptr); // the label does not hold it

    label.AddSymbol(Definition(R"({"Name":"Pump","ID":"P-1","Def":[]})"), false);
    const TZORLibSymbol* held = label.AddSymbol(Definition(R"({"Name":"Valve","ID":"V-1","Def":[]})"), true);
    EXPECT_EQ(symbol->GetSymbol(), held);

    symbol->SetSymbol(nullptr);
    EXPECT_TRUE(symbol->GetSymbolID().isEmpty());
    EXPECT_EQ(symbol->GetSymbol(), nullptr);
    TStub<TZORBaseSymbol> orphan(nullptr, false);
    orphan.SetSymbol(held);
    EXPECT_EQ(orphan.GetSymbol(), nullptr);
}

TEST(Symbol, ScaleStaysPositive)
{
    TKindLabel label;
    auto* symbol = Stub<TZORBaseSymbol>(label);
    struct TCase {
        float in, out;
    };
    for (const TCase& c : { TCase { 0.0f, 0.01f }, TCase { -4.0f, 0.01f }, TCase { 1e6f, 100.0f },
             TCase { NAN, 1.0f }, TCase { 2.5f, 2.5f } }) {
        symbol->SetScale(c.in);
        EXPECT_EQ(symbol->GetScale(), c.out) << c.in;
    }
    EXPECT_EQ(ReadJson<TZORBaseSymbol>(label, R"({"Scale":-1})")->GetScale(), 0.01f);
}

// A link joins a symbol at its definition's connection points, placed, scaled and turned with
// the symbol; a symbol without any is joined at its insertion point.
TEST(Symbol, LinksJoinItsConnectionPoints)
{
    TKindLabel label;
    const TZORLibSymbol* valve = label.AddSymbol(
        Definition(
            R"({"Name":"Valve","ID":"V-1","Def":[{"Kind":"Link","At":[0,0]},{"Kind":"Link","At":[10,5]}]})"),
        true);
    auto* symbol = Stub<TZORBaseSymbol>(label);
    symbol->SetBase(1, 20000, 30000);
    symbol->SetSymbol(valve);
    symbol->SetScale(2.0f);
    ASSERT_EQ(symbol->GetAnchorsCount(), 2);
    EXPECT_EQ(symbol->GetAnchor(1), (TZORPto { 20000, 30000 }));
    EXPECT_EQ(symbol->GetAnchor(2), (TZORPto { 40000, 40000 }));
    symbol->SetAngleDeg(90.0f); // clockwise on the page: along x becomes down
    EXPECT_EQ(symbol->GetAnchor(2), (TZORPto { 10000, 50000 }));

    auto* link = Stub<TZORBaseLink>(label);
    link->SetFromID(symbol->GetID());
    link->SetToID(symbol->GetID());
    link->SetFromIndex(2);
    link->SetToIndex(3);
    EXPECT_FALSE(link->CalcLinkPoints(false)) << "the valve has two connection points";

    symbol->SetSymbol(nullptr);
    EXPECT_EQ(symbol->GetAnchorsCount(), 1);
    EXPECT_EQ(symbol->GetAnchor(1), (TZORPto { 20000, 30000 }));
}

// --- Tables, ratings, nutrition scores, flowchart nodes ---

// A grade is one of A to E in either case; anything else is refused and the grade stays.
TEST(NutriScore, OnlyTheGradesAToEAreTaken)
{
    TKindLabel label;
    auto* nutri = Stub<TZORBaseNutri>(label);
    struct TCase {
        char16_t in;
        bool taken;
        char16_t out;
    };
    for (const TCase& c :
        { TCase { u'b', true, u'B' }, TCase { u'E', true, u'E' }, TCase { u'F', false, u'E' },
            TCase { u'@', false, u'E' }, TCase { u'ä', false, u'E' }, TCase { u'a', true, u'A' } }) {
        EXPECT_EQ(nutri->SetValue(c.in), c.taken) << char(c.in);
        EXPECT_EQ(nutri->GetValue(), QChar(c.out)) << char(c.in);
    }
}

TEST(CompositeKinds, ReadValuesAreBroughtIntoTheSettersRanges)
{
    TKindLabel label;
    auto* table = ReadJson<TZORBaseTable>(label, R"({"Columns":[],"Rows":100000000})");
    EXPECT_EQ(table->GetColumns(), 1);
    EXPECT_EQ(table->GetRows(), TZORBaseTable::MaxRows);
    EXPECT_EQ(ReadJson<TZORBaseRank>(label, R"({"Maximum":0})")->GetMaximum(), 1);
    struct TCase {
        const char* json;
        char16_t grade;
    };
    for (const TCase& c : { TCase { R"({"Value":"d"})", u'D' }, TCase { R"({"Value":""})", u'A' },
             TCase { R"({"Value":"CD"})", u'A' }, TCase { R"({"Value":"x"})", u'A' } })
        EXPECT_EQ(ReadJson<TZORBaseNutri>(label, c.json)->GetValue(), QChar(c.grade)) << c.json;
    // Shapes and link kinds beyond the named ones are kept as read.
    EXPECT_EQ(ReadJson<TZORBaseFlow>(label, R"({"FlowType":40})")->GetFlowType(), TZORFlowType(40));
    EXPECT_EQ(ReadJson<TZORBaseLink>(label, R"({"LinkType":12})")->GetLinkType(), TZORinkType(12));
}
