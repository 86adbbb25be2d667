// Symbol definitions: the "Def" display list read in the definition's unit from its insertion
// point, and malformed items rejected naming the item.

#include "ErrorOf.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Stream.h"

#include <gtest/gtest.h>

using zor::TAlphaColor;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonObject;

namespace {

using zor::test::ErrorOf;

QString Definition(const QString& units, const QString& def, double insertX = 0, double insertY = 0)
{
    return QStringLiteral(R"({"Name":"S","ID":"{1}","Units":"%1","InsertX":%2,"InsertY":%3,"Def":%4})")
        .arg(units)
        .arg(insertX)
        .arg(insertY)
        .arg(def);
}

TZORLibSymbol Read(const QString& json)
{
    TZORLibSymbol symbol;
    QString error;
    EXPECT_TRUE(symbol.ReadJson(TJsonObject::Parse(json), error)) << error.toStdString();
    return symbol;
}

QString Rejection(const QString& json)
{
    TZORLibSymbol symbol;
    QString error;
    EXPECT_FALSE(symbol.ReadJson(TJsonObject::Parse(json), error)) << json.toStdString();
    return error;
}

} // namespace

TEST(SymbolDefinition, ReadsEveryKindInItsUnitFromTheInsertionPoint)
{
    const TZORLibSymbol s = Read(Definition(QStringLiteral("cm"),
        QStringLiteral(
            R"([{"Kind":"PenWidth","Value":0.5},{"Kind":"ForeColor","Value":"#FF0000"},)"
            R"({"Kind":"BackColor","Value":4278255360},{"Kind":"LineType","Value":3},)"
            R"({"Kind":"Line","Points":[[1,1],[3,2]]},{"Kind":"Circle","Center":[2,2],"Radius":0.5},)"
            R"({"Kind":"Text","Text":"T","At":[1,1],"Angle":30,"HAlign":2,"VAlign":1},)"
            R"({"Kind":"Arc","Center":[1,1],"Radius":1,"Start":0,"Sweep":-90},)"
            R"({"Kind":"Link","At":[4,1]}])"),
        1, 1));
    ASSERT_EQ(s.GetItemsCount(), 8);
    EXPECT_EQ(s.GetUnits(), TZORUnits::Centimetre);
    EXPECT_EQ(s.GetItem(1)->Number, 0.5);
    EXPECT_EQ(s.GetItem(2)->Color, TAlphaColor { 0xFFFF0000 });
    EXPECT_EQ(s.GetItem(3)->Color, TAlphaColor { 0xFF00FF00 });
    EXPECT_EQ(s.GetItem(4)->LineType, TZORineType(3));
    const TZORSymItem& line = *s.GetItem(5);
    EXPECT_EQ(line.Kind, TZORSymKind::Line);
    EXPECT_EQ(line.Points, (std::vector<TZORPto> { { 0, 0 }, { 20000, 10000 } }));
    EXPECT_EQ(s.GetItem(6)->RadiusX, 5000);
    const TZORSymItem& text = *s.GetItem(7);
    EXPECT_EQ(text.Number, 30.0);
    EXPECT_EQ(text.HAlign, TZORHorzAlign::Right);
    EXPECT_EQ(text.VAlign, TZORVertAlign::Center);
    EXPECT_EQ(s.GetItem(8)->Sweep, -90.0);
    EXPECT_EQ(s.GetItem(9), nullptr);
    ASSERT_EQ(s.GetNumLinks(), 1);
    EXPECT_EQ(s.GetLink(1), (TZORPto { 30000, 0 }));
    // The arc reaches a radius above and left of its centre, the link furthest right.
    const TZORRect box = s.GetBounds();
    EXPECT_EQ(box.Left, -10000);
    EXPECT_EQ(box.Top, -10000);
    EXPECT_EQ(box.Right, 30000);
    EXPECT_EQ(box.Bottom, 15000);
}

// A definition must say what it draws: an unknown kind, too few points, negative or huge sizes,
// unknown units and colours that are no colours are refused, naming the item.
TEST(SymbolDefinition, MalformedItemsAreRejectedNamingTheItem)
{
    const struct {
        const char* units;
        const char* def;
        const char* says;
    } cases[] = {
        { "mm", R"([{"Kind":"Line","Points":[[0,0],[1,1]]},{"Kind":"Blob"}])", "Def[1].Kind" },
        { "mm", R"([{"Kind":"Line","Points":[[0,0]]}])", "Def[0].Points" },
        { "mm", R"([{"Kind":"Polyline","Points":[[0,0],[1]]}])", "Def[0].Points[1]" },
        { "mm", R"([{"Kind":"Circle","Center":[0,0],"Radius":-1}])", "Def[0].Radius" },
        { "mm", R"([{"Kind":"Circle","Center":[0,0]}])", "Radius" },
        { "m", R"([{"Kind":"Line","Points":[[0,0],[1e300,1]]}])", "Def[0].Points[1]" },
        { "mm", R"([{"Kind":"ForeColor","Value":"red"}])", "Def[0].Value" },
        { "mm", R"([{"Kind":"LineType","Value":12}])", "Def[0].Value" },
        { "mm", R"([{"Kind":"Text","At":[0,0],"Text":"a","HAlign":3}])", "Def[0].HAlign" },
        { "mm", R"([{"Kind":"FontHeight","Value":0}])", "Def[0].Value" },
        { "mm", R"([{"Points":[[0,0],[1,1]]}])", "Kind" },
        { "mm", R"([7])", "Def[0]" },
        { "furlong", R"([])", "furlong" },
    };
    for (const auto& c : cases) {
        const QString error = Rejection(Definition(QString::fromLatin1(c.units), QString::fromLatin1(c.def)));
        EXPECT_TRUE(error.contains(QLatin1String(c.says))) << c.def << " -> " << error.toStdString();
    }
}

// The display list is made again from the stored "Def" text, so the binary record holds nothing
// but the definition.
TEST(SymbolDefinition, TheBinaryRecordGivesBackTheSameDisplayList)
{
    const TZORLibSymbol s = Read(Definition(QStringLiteral("inch"),
        QStringLiteral(
            R"([{"Kind":"Rectangle","Points":[[0,0],[1,0.5]],"Radius":0.1},{"Kind":"Link","At":[1,1]}])")));
    QByteArray bytes;
    TBinaryWriter w(&bytes);
    s.Write(w);
    TBinaryReader r(bytes);
    const auto back = TZORLibSymbol::Read(r);
    ASSERT_EQ(back->GetItemsCount(), 1);
    EXPECT_EQ(back->GetItem(1)->Points, (std::vector<TZORPto> { { 0, 0 }, { 25400, 12700 } }));
    EXPECT_EQ(back->GetItem(1)->RadiusX, 2540);
    EXPECT_EQ(back->GetLink(1), (TZORPto { 25400, 25400 }));
    EXPECT_EQ(back->GetJson().ToJSON(), s.GetJson().ToJSON());
}
