#include "ErrorOf.h"
#include "Zor.Csv.h"
#include "Zor.Data.h"
#include "kit/TempDir.h"

#include <QBuffer>
#include <QStringList>

#include <gtest/gtest.h>

using namespace zor::test;

namespace {

using TRecords = std::vector<QStringList>;

TRecords ReadAll(const QByteArray& bytes, TZORCsvSeparator separator, TZORCsvQuote quote)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TZORCsvReader reader(&buffer, separator, quote, QStringLiteral("test.csv"));
    TRecords records;
    std::vector<QString> fields;
    while (reader.ReadRecord(fields))
        records.emplace_back(fields.begin(), fields.end());
    return records;
}

class CsvData : public TempDirTest {
protected:
    QString Csv(const QString& name, const QByteArray& bytes)
    {
        const QString path = Path(name);
        WriteFile(path, bytes);
        return path;
    }
    bool Set(const QString& path, QString* error = nullptr, uint8_t separator = 1, uint8_t quote = 2)
    {
        return data.SetCsvData(path, true, separator, quote, error);
    }
    QStringList Names() const
    {
        QStringList names;
        if (const TZORDataset* set = data.GetCsvDataset())
            for (const TZORDataField& f : set->GetFields())
                names << f.GetName();
        return names;
    }

    TZORData data;
};

} // namespace

TEST(CsvReader, QuotingEdgeCases)
{
    const QByteArray longField = QByteArray(65535, 'x') + "\xC3\xA9"; // é split across two blocks
    const struct {
        const char* name;
        QByteArray text;
        TZORCsvSeparator separator;
        TZORCsvQuote quote;
        TRecords records;
    } cases[] = {
        { "separator inside quotes", "a;\"b;c\";d", TZORCsvSeparator::Semicolon, TZORCsvQuote::Double,
            { { "a", "b;c", "d" } } },
        { "doubled quotes", "\"he said \"\"hi\"\"\";x", TZORCsvSeparator::Semicolon, TZORCsvQuote::Double,
            { { "he said \"hi\"", "x" } } },
        { "line breaks inside quotes", "\"one\r\ntwo\nthree\";x\r\ny;z", TZORCsvSeparator::Semicolon,
            TZORCsvQuote::Double, { { "one\r\ntwo\nthree", "x" }, { "y", "z" } } },
        { "every line end, blank lines skipped", "a;b\r\n\r\nc;d\re;f\n\n", TZORCsvSeparator::Semicolon,
            TZORCsvQuote::Double, { { "a", "b" }, { "c", "d" }, { "e", "f" } } },
        { "byte-order mark", "\xEF\xBB\xBFname;v\n1;2", TZORCsvSeparator::Semicolon, TZORCsvQuote::Double,
            { { "name", "v" }, { "1", "2" } } },
        { "empty fields", ";\"\";\n", TZORCsvSeparator::Semicolon, TZORCsvQuote::Double, { { "", "", "" } } },
        { "a quote inside a plain field", "a\"b;c", TZORCsvSeparator::Semicolon, TZORCsvQuote::Double,
            { { "a\"b", "c" } } },
        { "single quotes", "'a;b';\"c\"", TZORCsvSeparator::Semicolon, TZORCsvQuote::Single,
            { { "a;b", "\"c\"" } } },
        { "no quoting", "\"a;b\"", TZORCsvSeparator::Semicolon, TZORCsvQuote::None, { { "\"a", "b\"" } } },
        { "no separator", "a;b,c\nd", TZORCsvSeparator::None, TZORCsvQuote::Double,
            { { "a;b,c" }, { "d" } } },
        { "comma", "a;x,\"b,c\"", TZORCsvSeparator::Comma, TZORCsvQuote::Double, { { "a;x", "b,c" } } },
        { "tab", "a\tb c", TZORCsvSeparator::Tab, TZORCsvQuote::Double, { { "a", "b c" } } },
        { "space", "a b  c", TZORCsvSeparator::Space, TZORCsvQuote::Double, { { "a", "b", "", "c" } } },
        { "a character split between blocks", longField + ";y", TZORCsvSeparator::Semicolon,
            TZORCsvQuote::Double, { { QString::fromUtf8(longField), "y" } } },
        { "nothing at all", "", TZORCsvSeparator::Semicolon, TZORCsvQuote::Double, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadAll(c.text, c.separator, c.quote), c.records) << c.name;
}

TEST(CsvReader, MalformedTextIsAClearErrorWithItsLine)
{
    const struct {
        const char* name;
        QByteArray text;
        const char* says;
    } cases[] = {
        { "a quote left open", "a;b\nc;\"d\ne;f\n", "\"test.csv\", line 2: a quoted field is not closed" },
        // A stray quote is closed by the next line's quote: the two records would become one.
        { "a stray quote", "n;t\n1;\"Hello\n2;\"World\"\n",
            "\"test.csv\", line 2: text after the closing quote of a field" },
        { "text after a closing quote", "\"ab\"c;d",
            "\"test.csv\", line 1: text after the closing quote of a field" },
        { "bytes that are not UTF-8", "a;b\r\nc;d\r\n\"e\nf\";caf\xE9\n",
            "\"test.csv\", line 4: the text is not UTF-8" },
        { "a cut sequence", "a;b\n\xC3;x\n", "\"test.csv\", line 2: the text is not UTF-8" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { ReadAll(c.text, TZORCsvSeparator::Semicolon, TZORCsvQuote::Double); }),
            QString::fromUtf8(c.says))
            << c.name;
}

TEST(CsvReader, InvalidTextPastTheFirstBlockNamesItsLine)
{
    // 70,000 lines of "x": the bad byte is read in the second block of the file.
    QByteArray text;
    for (int i = 0; i < 70000; ++i)
        text += "x\n";
    const QString error
        = ErrorOf([&] { ReadAll(text + "\xFF\n", TZORCsvSeparator::Semicolon, TZORCsvQuote::Double); });
    EXPECT_EQ(error, QStringLiteral("\"test.csv\", line 70001: the text is not UTF-8"));
}

TEST_F(CsvData, FieldsComeFromTheHeaderTypedByTheirValues)
{
    const QString path = Csv(QStringLiteral("types.csv"),
        "id;big;price;ok;name;blank;\n"
        "1;3000000000;1.5;true;a;;x\n"
        "-2;4;2;FALSE;7;;y\n");
    ASSERT_TRUE(Set(path));
    const TZORDataset* set = data.GetCsvDataset();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(Names(), QStringList({ "id", "big", "price", "ok", "name", "blank", "Field7" }));
    const TZORFieldType types[] = { TZORFieldType::Integer, TZORFieldType::Int64, TZORFieldType::Float,
        TZORFieldType::Boolean, TZORFieldType::String, TZORFieldType::String, TZORFieldType::String };
    for (size_t i = 0; i < std::size(types); ++i)
        EXPECT_EQ(set->GetFields()[i].GetType(), types[i]) << i;
    // The CSV data set becomes the driving one when none was chosen.
    EXPECT_EQ(data.GetDataSel(), set->GetName());
    EXPECT_EQ(data.GetDatasetAt(1), set);
}

TEST_F(CsvData, WithoutAHeaderTheFieldsAreNumbered)
{
    ASSERT_TRUE(data.SetCsvData(Csv(QStringLiteral("plain.csv"), "a;1\nb;2\n"), false, 1, 2));
    EXPECT_EQ(Names(), QStringList({ "Field1", "Field2" }));
    EXPECT_EQ(data.GetCsvDataset()->GetFields()[1].GetType(), TZORFieldType::Integer);
}

TEST_F(CsvData, ATypeChosenForAFieldSurvivesAnotherCheck)
{
    const QString path = Csv(QStringLiteral("zip.csv"), "zip;city\n01234;Oslo\n");
    ASSERT_TRUE(Set(path));
    EXPECT_TRUE(data.SetCsvField(0, TZORFieldType::String));
    EXPECT_FALSE(data.SetCsvField(2, TZORFieldType::String));
    EXPECT_FALSE(data.SetCsvField(-1, TZORFieldType::String));
    ASSERT_TRUE(Set(path));
    EXPECT_EQ(data.GetCsvDataset()->GetFields()[0].GetType(), TZORFieldType::String);
}

TEST_F(CsvData, BadFilesAreClearErrorsAndChangeNothing)
{
    const QString good = Csv(QStringLiteral("good.csv"), "a;b\n1;2\n");
    ASSERT_TRUE(Set(good));
    const struct {
        const char* name;
        QString path;
        const char* says;
        uint8_t separator;
    } cases[] = {
        { "missing file", Path(QStringLiteral("none.csv")), "none.csv", 1 },
        { "ragged row", Csv(QStringLiteral("ragged.csv"), "a;b\n1;2\n3\n"), "line 3", 1 },
        { "too many fields", Csv(QStringLiteral("wide.csv"), "a;b\n1;2;3\n"),
            "3 fields where the header has 2", 1 },
        { "quote left open", Csv(QStringLiteral("open.csv"), "a;b\n\"1;2\n3;4\n"), "line 2", 1 },
        { "stray quote", Csv(QStringLiteral("stray.csv"), "a;b\n1;\"x\n2;\"y\"\n"),
            "line 2: text after the closing quote", 1 },
        { "not UTF-8", Csv(QStringLiteral("latin1.csv"), "a;b\n1;caf\xE9\n"), "line 2: the text is not UTF-8",
            1 },
        { "no fields", Csv(QStringLiteral("empty.csv"), "\r\n\n"), "no fields", 1 },
        { "separator code", good, "Separator", 9 },
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(Set(c.path, &error, c.separator)) << c.name;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << c.name << ": " << error.toStdString();
        EXPECT_EQ(data.GetCsvFile(), good) << c.name;
        EXPECT_EQ(Names(), QStringList({ "a", "b" })) << c.name;
    }
}

TEST_F(CsvData, AnEmptyNameRemovesTheCsvDataSet)
{
    ASSERT_TRUE(Set(Csv(QStringLiteral("a.csv"), "a\n1\n")));
    EXPECT_TRUE(Set(QString()));
    EXPECT_EQ(data.GetCsvDataset(), nullptr);
    EXPECT_TRUE(data.GetCsvFile().isEmpty());
}

TEST_F(CsvData, ARecordPastTheLimitEndsInAnError)
{
    const QByteArray big = "a\n\"" + QByteArray(TZORCsvReader::MaxRecordChars + 10, 'x') + "\"\n";
    QString error;
    EXPECT_FALSE(Set(Csv(QStringLiteral("big.csv"), big), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("line 2"))) << error.toStdString();
}
