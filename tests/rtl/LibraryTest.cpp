// Symbol libraries: ".lyp" files loaded by category, their category lists, and files that are
// not libraries rejected with a clear error that leaves the library as it was.

#include "ErrorOf.h"
#include "ModelFixture.h"
#include "Zor.Library.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace zor::test;

QByteArray Symbol(const char* name, const char* category)
{
    return QStringLiteral(
        R"({"Name":"%1","Category":"%2","ID":"{%1}","Def":[{"Kind":"Line","Points":[[0,0],[5,5]]}]})")
        .arg(QString::fromUtf8(name), QString::fromUtf8(category))
        .toUtf8();
}

QByteArray Library(std::initializer_list<QByteArray> symbols)
{
    QByteArray text = "[";
    for (const QByteArray& s : symbols)
        text += (text.size() > 1 ? "," : "") + s;
    return text + "]";
}

class Libraries : public TempDirTest { };

QStringList Names(const TZORLibrary& lib)
{
    QStringList names;
    for (int32_t i = 1; i <= lib.GetNumSymbols(); ++i)
        names << lib.GetSymbol(i)->GetName();
    return names;
}

} // namespace

TEST_F(Libraries, LoadOneCategoryOrAllAndListTheCategories)
{
    const QString file = Path(QStringLiteral("pipes.lyp"));
    ASSERT_TRUE(WriteFile(file,
        Library({ Symbol("Valve", "Pipes/Valves"), Symbol("Pump", "Pipes"), Symbol("Check", "pipes/valves"),
            Symbol("Door", "Rooms") })));
    EXPECT_EQ(TZORLibrary::CategoryList(file), QStringLiteral("Pipes/Valves\nPipes\npipes/valves\nRooms"));

    const struct {
        const char* category;
        QStringList names;
    } cases[] = {
        { "Pipes/Valves", { "Valve", "Check" } }, // without case
        { "Pipes", { "Pump" } },
        { "*", { "Valve", "Pump", "Check", "Door" } },
        { "", { "Valve", "Pump", "Check", "Door" } },
        { "Nothing", {} },
    };
    for (const auto& c : cases) {
        TZORLibrary lib;
        lib.LoadFromFile(file, QString::fromUtf8(c.category));
        EXPECT_EQ(Names(lib), c.names) << c.category;
    }
}

TEST_F(Libraries, ACopiedSymbolOutlivesTheLibrary)
{
    const QString file = Path(QStringLiteral("one.lyp"));
    ASSERT_TRUE(WriteFile(file, Library({ Symbol("Valve", "A") })));
    std::unique_ptr<TZORLibSymbol> copy;
    {
        TZORLibrary lib;
        lib.LoadFromFile(file, QString());
        copy = lib.CopySymbol(1);
        EXPECT_EQ(lib.CopySymbol(2), nullptr);
    }
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), QStringLiteral("Valve"));
    EXPECT_EQ(copy->GetItemsCount(), 1);
}

TEST_F(Libraries, TakesCopiesOfTheLabelsSymbols)
{
    TTestLabel label;
    FillSample(label);
    TZORLibrary lib;
    lib.AssignLib(label);
    ASSERT_EQ(lib.GetNumSymbols(), label.GetSymbolsCount());
    EXPECT_NE(lib.GetSymbol(1), label.GetSymbol(1));
    EXPECT_EQ(lib.GetSymbol(1)->GetID(), label.GetSymbol(1)->GetID());
}

// A file that is no library names itself and what is wrong; the symbols held before stay.
TEST_F(Libraries, FilesThatAreNoLibrariesAreRejectedClearly)
{
    const QString good = Path(QStringLiteral("good.lyp"));
    ASSERT_TRUE(WriteFile(good, Library({ Symbol("Valve", "A") })));
    const struct {
        const char* name;
        QByteArray content;
        const char* says;
    } cases[] = {
        { "broken.lyp", "[{\"Name\":", "JSON is not valid" },
        { "object.lyp", Symbol("Valve", "A"), "not an array" },
        { "kind.lyp",
            Library({ Symbol("Valve", "A"), R"({"Name":"Bad","ID":"b","Def":[{"Kind":"Squiggle"}]})" }),
            "symbol 2: \"Def[0].Kind\"" },
        { "unnamed.lyp", Library({ R"({"ID":"b","Def":[]})" }), "symbol 1: A symbol needs a name" },
        { "points.lyp", Library({ R"({"Name":"P","Def":[{"Kind":"Polyline","Points":[[0,0]]}]})" }),
            "Def[0].Points" },
    };
    for (const auto& c : cases) {
        const QString file = Path(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteFile(file, c.content));
        TZORLibrary lib;
        lib.LoadFromFile(good, QString());
        const QString error = ErrorOf([&] { lib.LoadFromFile(file, QString()); });
        EXPECT_TRUE(error.contains(file)) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.says))) << c.name << ": " << error.toStdString();
        EXPECT_EQ(Names(lib), QStringList { QStringLiteral("Valve") }) << c.name;
        EXPECT_FALSE(ErrorOf([&] { TZORLibrary::CategoryList(file); }).isEmpty());
    }
    EXPECT_TRUE(ErrorOf([&] {
        TZORLibrary().LoadFromFile(Path(QStringLiteral("missing.lyp")), QString());
    }).contains(QStringLiteral("missing.lyp")));
}
