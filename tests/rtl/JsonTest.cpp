#include "ErrorOf.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "kit/TempDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using zor::TJsonArray;
using zor::TJsonBaseObject;
using zor::TJsonDataType;
using zor::TJsonObject;

using zor::test::ErrorOf;

namespace {

// In the form SaveToFile writes: two-space indent, members in their own order.
const QString Sample = QStringLiteral(R"({
  "Version": 3100,
  "Name": "Grüße € 𝄞 \"quoted\"\n",
  "Zeta": -2.5,
  "Alpha": true,
  "Big": 9223372036854775807,
  "Small": -9223372036854775808,
  "Nothing": null,
  "Items": [
    {
      "Type": 10,
      "Points": [
        1,
        2.25
      ]
    },
    {
      "Type": 3
    }
  ],
  "Empty": {}
})");

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

bool Raises(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EZORError&) {
        return true;
    }
    return false;
}

} // namespace

TEST(Json, ParseAndWriteKeepMemberOrderAndText)
{
    const TJsonObject o = TJsonObject::Parse(Sample);
    EXPECT_EQ(o.ToJSON(false), Sample);
    EXPECT_EQ(o.Names(0), "Version");
    EXPECT_EQ(o.Names(2), "Zeta");
    EXPECT_EQ(o.Names(3), "Alpha");

    QTemporaryDir dir;
    const QString path = dir.filePath("label.json");
    o.SaveToFile(path);
    const QByteArray saved = ReadAll(path);
    EXPECT_EQ(saved, Sample.toUtf8() + '\n');
    EXPECT_FALSE(saved.startsWith("\xEF\xBB\xBF"));

    EXPECT_EQ(TJsonObject::ParseFromFile(path).ToJSON(false), Sample);
    TJsonObject loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.ToJSON(false), Sample);
    EXPECT_EQ(loaded.ToJSON(true), TJsonObject::Parse(Sample.toUtf8()).ToJSON());
}

TEST(Json, TypedReadsOfTheSample)
{
    const TJsonObject o = TJsonObject::Parse(Sample);
    EXPECT_EQ(o.I("Version"), 3100);
    EXPECT_EQ(o.S("Name"), QString::fromUtf8("Grüße € 𝄞 \"quoted\"\n"));
    EXPECT_EQ(o.F("Zeta"), -2.5);
    EXPECT_TRUE(o.B("Alpha"));
    EXPECT_EQ(o.L("Big"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(o.L("Small"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(o.F("Version"), 3100.0);
    const TJsonArray items = o.A("Items");
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.O(0).I("Type"), 10);
    EXPECT_EQ(items.O(0).A("Points").F(1), 2.25);
    EXPECT_EQ(items.O(0).A("Points").I(0), 1);
    EXPECT_EQ(o.O("Empty").Count(), 0);
}

TEST(Json, TypesOfMembers)
{
    const TJsonObject o = TJsonObject::Parse(QStringLiteral(
        R"({"s":"x","i":-5,"l":4294967296,"u":18446744073709551615,"f":0.5,"b":false,"a":[],"o":{},"n":null})"));
    const std::pair<const char*, TJsonDataType> table[] = {
        { "s", TJsonDataType::jdtString },
        { "i", TJsonDataType::jdtInt },
        { "l", TJsonDataType::jdtLong },
        { "u", TJsonDataType::jdtULong },
        { "f", TJsonDataType::jdtFloat },
        { "b", TJsonDataType::jdtBool },
        { "a", TJsonDataType::jdtArray },
        { "o", TJsonDataType::jdtObject },
        { "n", TJsonDataType::jdtNull },
        { "missing", TJsonDataType::jdtNone },
    };
    for (const auto& [key, type] : table)
        EXPECT_EQ(o.Types(key), type) << key;
}

TEST(Json, NestedEditsWriteThroughToTheRoot)
{
    TJsonObject root = TJsonObject::Parse(QStringLiteral(R"({"a":{"x":1},"list":[{"n":"v"}]})"));
    root.O("a").SetI("x", 5);
    root.O("a").SetS("y", QStringLiteral("new"));
    root.A("list").O(0).NewA("deep").Add(7);
    TJsonObject added = root.A("list").AddObject();
    added.SetB("flag", true);
    added.NewO("inner").SetF("f", 1.5);
    root.SetL("after", int64_t(1) << 40);
    EXPECT_EQ(root.ToJSON(),
        R"({"a":{"x":5,"y":"new"},"list":[{"n":"v","deep":[7]},{"flag":true,"inner":{"f":1.5}}],"after":1099511627776})");
    // An existing member keeps its place when it is set again.
    root.SetS("a", QStringLiteral("scalar"));
    EXPECT_EQ(root.Names(0), "a");
}

TEST(Json, ChildHandlesFollowTheirValueWhileTheParentGrows)
{
    // Adding members to an ordered object copies the members to a larger buffer: a handle must
    // still reach its object afterwards, and so must a handle to an array item.
    TJsonObject root;
    TJsonObject first = root.NewO("first");
    TJsonArray list = root.NewA("list");
    TJsonObject item = list.AddObject();
    for (int i = 0; i < 200; ++i) {
        root.SetI(QStringLiteral("k%1").arg(i), i);
        list.Add(i);
    }
    first.SetI("x", 1);
    item.SetS("name", QStringLiteral("n"));
    EXPECT_EQ(root.O("first").I("x"), 1);
    EXPECT_EQ(root.A("list").O(0).S("name"), "n");
    EXPECT_EQ(first.ToJSON(), R"({"x":1})");
}

TEST(Json, AHandleWhosePlaceIsGoneRaises)
{
    TJsonObject root = TJsonObject::Parse(QStringLiteral(R"({"a":{"b":{"c":1}},"arr":[{},{}]})"));
    const TJsonObject b = root.O("a").O("b");
    const TJsonObject second = root.A("arr").O(1);
    root.O("a").Remove("b");
    EXPECT_TRUE(ErrorOf([&] { b.Count(); }).contains("a.b"));
    root.A("arr").Delete(0);
    EXPECT_TRUE(ErrorOf([&] { second.Count(); }).contains("arr[1]"));
    const TJsonArray arr = root.A("arr");
    root.SetI("arr", 3);
    EXPECT_FALSE(ErrorOf([&] { arr.Count(); }).isEmpty());
}

TEST(Json, CopiesInAndClonesAreIndependent)
{
    TJsonObject source = TJsonObject::Parse(QStringLiteral(R"({"x":1})"));
    TJsonObject target;
    target.SetO("copy", source);
    TJsonArray list;
    list.Add(source);
    const TJsonObject clone = source.Clone();
    source.SetI("x", 2);
    EXPECT_EQ(target.O("copy").I("x"), 1);
    EXPECT_EQ(list.O(0).I("x"), 1);
    EXPECT_EQ(clone.I("x"), 1);
    // A handle copy is the same value.
    TJsonObject alias = source;
    alias.SetI("x", 3);
    EXPECT_EQ(source.I("x"), 3);
}

TEST(Json, ByteOrderMarkIsAccepted)
{
    const QByteArray text = "{\"a\":[1,2]}";
    EXPECT_EQ(TJsonObject::Parse(QByteArray("\xEF\xBB\xBF") + text).ToJSON(), text);
    EXPECT_EQ(TJsonObject::Parse(QChar(0xFEFF) + QString::fromUtf8(text)).ToJSON(), text);

    QTemporaryDir dir;
    const QString path = dir.filePath("bom.json");
    WriteAll(path, QByteArray("\xEF\xBB\xBF") + text);
    EXPECT_EQ(TJsonObject::ParseFromFile(path).A("a").I(1), 2);
}

TEST(Json, WrongTypesAndMissingMembersRaiseNamingTheMember)
{
    const TJsonObject o = TJsonObject::Parse(
        QStringLiteral(R"({"Width":"5","Flag":1,"Name":7,"Ratio":"x","Frac":2.5,"Obj":[],"Arr":{},"Null":null,
                          "Nested":{"Inner":{"Deep":"t"}}})"));
    struct Case {
        const char* name;
        std::function<void()> read;
        const char* mustContain;
    };
    const Case cases[] = {
        { "string as int", [&] { o.I("Width"); }, "Width" },
        { "int as bool", [&] { o.B("Flag"); }, "Flag" },
        { "int as string", [&] { o.S("Name"); }, "Name" },
        { "string as float", [&] { o.F("Ratio"); }, "Ratio" },
        { "fraction as int", [&] { o.I("Frac"); }, "Frac" },
        { "fraction as int64", [&] { o.L("Frac"); }, "Frac" },
        { "array as object", [&] { o.O("Obj"); }, "Obj" },
        { "object as array", [&] { o.A("Arr"); }, "Arr" },
        { "null as string", [&] { o.S("Null"); }, "Null" },
        { "missing", [&] { o.I("Height"); }, "Height" },
        { "missing object", [&] { o.O("Layers"); }, "Layers" },
        { "nested", [&] { o.O("Nested").O("Inner").I("Deep"); }, "Nested.Inner.Deep" },
        { "default of wrong type", [&] { o.I("Width", 3); }, "Width" },
        { "array item", [&] { TJsonArray::Parse(QStringLiteral(R"([1,"x"])")).I(1); }, "[1]" },
        { "array index", [&] { TJsonArray::Parse(QStringLiteral("[1]")).I(1); }, "1" },
    };
    for (const Case& c : cases) {
        const QString message = ErrorOf(c.read);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.mustContain)))
            << c.name << ": " << message.toStdString();
    }
    EXPECT_TRUE(ErrorOf([&] { o.I("Width"); }).contains("a string"));
    EXPECT_TRUE(ErrorOf([&] { o.I("Width"); }).contains("an integer"));
}

TEST(Json, ReadsWithADefault)
{
    const TJsonObject o = TJsonObject::Parse(QStringLiteral(R"({"n":null,"i":4,"s":"t"})"));
    EXPECT_EQ(o.I("missing", 9), 9);
    EXPECT_EQ(o.I("n", 9), 9);
    EXPECT_EQ(o.I("i", 9), 4);
    EXPECT_EQ(o.S("missing", QStringLiteral("d")), "d");
    EXPECT_EQ(o.S("s", QStringLiteral("d")), "t");
    EXPECT_EQ(o.F("missing", 0.5), 0.5);
    EXPECT_EQ(o.L("missing", -1), -1);
    EXPECT_TRUE(o.B("missing", true));
    EXPECT_THROW(o.B("s", false), EZORError);
}

TEST(Json, IntegerRanges)
{
    struct Case {
        const char* text;
        bool int32Ok;
        bool int64Ok;
    };
    const Case cases[] = {
        { "2147483647", true, true },
        { "-2147483648", true, true },
        { "2147483648", false, true },
        { "-2147483649", false, true },
        { "9223372036854775807", false, true },
        { "-9223372036854775808", false, true },
        { "9223372036854775808", false, false },
        { "18446744073709551616", false, false }, // a float to nlohmann
        { "1.0", false, false },
        { "1e2", false, false },
    };
    for (const Case& c : cases) {
        const TJsonArray a = TJsonArray::Parse(QStringLiteral("[%1]").arg(QString::fromLatin1(c.text)));
        EXPECT_NE(Raises([&] { a.I(0); }), c.int32Ok) << c.text;
        EXPECT_NE(Raises([&] { a.L(0); }), c.int64Ok) << c.text;
        EXPECT_NO_THROW(a.F(0)) << c.text;
    }
}

TEST(Json, InvalidTextIsRejected)
{
    const QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
    const QByteArray cases[] = {
        "",
        "   ",
        "{",
        "{\"a\":}",
        "[1,]",
        "{'a':1}",
        "nul",
        "{} {}",
        "\"\xC0\x80\"",
        "[\"\xFF\"]",
        "5",
        "\"text\"",
        "null",
        deep,
    };
    const QString notValid = TZORMsg::GetErrorValue("JsonNotValid");
    for (const QByteArray& text : cases) {
        const QString message = ErrorOf([&] { TJsonBaseObject::Parse(text); });
        EXPECT_TRUE(message.startsWith(notValid))
            << text.left(20).toStdString() << ": " << message.toStdString();
    }
    EXPECT_FALSE(ErrorOf([] { TJsonObject::Parse(QStringLiteral("[1]")); }).isEmpty());
    EXPECT_FALSE(ErrorOf([] { TJsonArray::Parse(QStringLiteral("{}")); }).isEmpty());
}

TEST(Json, NestingUpToTheLimitIsRead)
{
    const QByteArray nested = QByteArray(500, '[') + QByteArray(500, ']');
    EXPECT_EQ(TJsonBaseObject::Parse(nested).ToUtf8JSON(), nested);
    // Brackets inside strings are text, not nesting.
    const QByteArray inString = "[\"" + QByteArray(5000, '[') + "\"]";
    EXPECT_EQ(TJsonArray::Parse(inString).S(0).size(), 5000);
}

TEST(Json, NumbersThatAreNotFiniteAreRefused)
{
    TJsonObject o;
    EXPECT_THROW(o.SetF("x", std::numeric_limits<double>::quiet_NaN()), EZORError);
    EXPECT_THROW(o.SetF("x", std::numeric_limits<double>::infinity()), EZORError);
    TJsonArray a;
    EXPECT_THROW(a.Add(-std::numeric_limits<double>::infinity()), EZORError);
    EXPECT_EQ(o.Count(), 0);
    EXPECT_EQ(a.Count(), 0);
}

TEST(Json, FromJsonReplacesTheContentInPlace)
{
    TJsonObject root = TJsonObject::Parse(QStringLiteral(R"({"child":{"old":1}})"));
    TJsonObject child = root.O("child");
    child.FromJSON(QStringLiteral(R"({"new":2})"));
    EXPECT_EQ(root.ToJSON(), R"({"child":{"new":2}})");
    EXPECT_THROW(child.FromJSON(QStringLiteral("[1]")), EZORError);
    EXPECT_THROW(child.FromJSON(QStringLiteral("{")), EZORError);
    EXPECT_EQ(root.ToJSON(), R"({"child":{"new":2}})");
}

TEST(Json, LoadingAMissingFileNamesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("absent.json");
    EXPECT_TRUE(ErrorOf([&] { TJsonObject::ParseFromFile(path); }).contains(path));
}

TEST(Json, AFailedSaveLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("label.json");
    const QByteArray old = "{\"old\":true}\n";
    WriteAll(path, old);

    TJsonObject big;
    big.SetS("text", QString(200000, QChar('x')));

    // A disk that fills up half-way: the file-size limit stops the write (also as root, for
    // whom a read-only folder would be no obstacle).
    QString message;
    {
        zor::test::FileSizeLimit full(4096);
        message = ErrorOf([&] { big.SaveToFile(path); });
    }

    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "label.json" });

    // A path that is a folder.
    const QString folder = dir.filePath("folder.json");
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_THROW(big.SaveToFile(folder), EZORError);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // And a save that succeeds replaces the file.
    big.SaveToFile(path);
    EXPECT_EQ(TJsonObject::ParseFromFile(path).S("text").size(), 200000);
}

TEST(Json, ArrayItemsAndAccess)
{
    TJsonArray a;
    a.Add(QStringLiteral("s"));
    a.Add("utf8 ü");
    a.Add(int16_t(-3));
    a.Add(int64_t(1) << 40);
    a.Add(0.25);
    a.Add(false);
    a.AddNull();
    a.AddArray().Add(1);
    EXPECT_EQ(a.ToJSON(), R"(["s","utf8 ü",-3,1099511627776,0.25,false,null,[1]])");
    a.SetI(0, 5);
    a.SetS(7, QStringLiteral("replaced"));
    a.Delete(6);
    EXPECT_EQ(a.ToJSON(), R"([5,"utf8 ü",-3,1099511627776,0.25,false,"replaced"])");
    EXPECT_EQ(a.Types(2), TJsonDataType::jdtInt);
    EXPECT_EQ(a.Types(99), TJsonDataType::jdtNone);
    EXPECT_THROW(a.Delete(7), EZORError);
    EXPECT_THROW(a.S(-1), EZORError);
    a.Clear();
    EXPECT_EQ(a.Count(), 0);
}
