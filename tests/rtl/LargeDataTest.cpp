#include "ErrorOf.h"
#include "Zor.Csv.h"
#include "Zor.Data.h"
#include "Zor.Text.h"
#include "kit/Growth.h"
#include "kit/TempDir.h"

#include <QStringList>

#include <gtest/gtest.h>

using zor::ParseRichMarkup;
using zor::TAlphaColor;
using zor::TRichTextFormat;

// Data and markup of many fields, records and formats: read at a cost that grows with their
// size, and refused with a clear error past the bound on fields.
namespace {

using namespace zor::test;

// JSON data whose every record brings a key of its own: record i holds "k<i>": i.
QString KeyPerRecord(int count, int first = 0)
{
    QString text = QStringLiteral("[");
    for (int i = first; i < first + count; ++i)
        text += QStringLiteral("%1{\"k%2\":%2}").arg(i > first ? QStringLiteral(",") : QString()).arg(i);
    return text + QStringLiteral("]");
}

// A header of columns c<first> ... and one record <first>;...
QByteArray Columns(int first, int count)
{
    QStringList header, record;
    for (int i = first; i < first + count; ++i) {
        header << QStringLiteral("c%1").arg(i);
        record << QString::number(i);
    }
    return (header.join(u';') + u'\n' + record.join(u';') + u'\n').toUtf8();
}

std::vector<QVariant> FirstRecord(const TZORDataset& set)
{
    std::vector<QVariant> values;
    EXPECT_TRUE(set.GetSource()->Open()->Next(values));
    return values;
}

class LargeCsv : public TempDirTest { };

} // namespace

TEST(LargeJsonData, ARecordCostsWhatItHolds)
{
    EXPECT_TRUE(GrowsLinearly(
        [](int first, int count) {
            TZORData data;
            ASSERT_TRUE(data.SetJson(KeyPerRecord(count, first)));
        },
        500, 20000));

    TZORData data;
    ASSERT_TRUE(data.SetJson(KeyPerRecord(20000)));
    const TZORDataset& set = *data.GetDatasetAt(1);
    ASSERT_EQ(set.GetFields().size(), 20000u);
    EXPECT_EQ(set.GetFields()[19999].GetName(), QStringLiteral("k19999"));
    EXPECT_EQ(set.GetFields()[19999].GetType(), TZORFieldType::Integer);
    auto cursor = set.GetSource()->Open();
    std::vector<QVariant> values;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(cursor->Next(values));
        // Every field but the record's own reads as empty.
        ASSERT_EQ(values.size(), 20000u);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(values[size_t(k)].isValid(), k == i) << i << "," << k;
        EXPECT_EQ(values[size_t(i)].toInt(), i);
    }
}

// Walking the records costs what they hold: a record's new key does not make every later
// record cost the fields before it.
TEST(LargeJsonData, WalkingTheRecordsCostsWhatTheyHold)
{
    EXPECT_TRUE(GrowsLinearly(
        [](int first, int count) {
            TZORData data;
            ASSERT_TRUE(data.SetJson(KeyPerRecord(count, first)));
            std::vector<QVariant> values;
            int records = 0;
            for (auto cursor = data.GetDatasetAt(1)->GetSource()->Open(); cursor->Next(values); ++records)
                ASSERT_EQ(values[size_t(records)].toInt(), first + records);
            ASSERT_EQ(records, count);
        },
        500, 20000));
}

TEST(LargeJsonData, MoreFieldsThanTheBoundAreRefused)
{
    TZORData data;
    QString error;
    EXPECT_FALSE(data.SetJson(KeyPerRecord(100001), &error));
    EXPECT_EQ(error, QStringLiteral("JSON data \"JSON\" has more than 100000 fields"));
    EXPECT_EQ(data.GetDatasetAt(1), nullptr);
    EXPECT_TRUE(data.SetJson(KeyPerRecord(100000), &error)) << error.toStdString();
}

TEST_F(LargeCsv, AWideRecordIsReadInTimeLinearInItsColumns)
{
    EXPECT_TRUE(GrowsLinearly(
        [this](int first, int count) {
            ASSERT_TRUE(WriteFile(Path(QStringLiteral("wide.csv")), Columns(first, count)));
            TZORData data;
            QString error;
            ASSERT_TRUE(data.SetCsvData(Path(QStringLiteral("wide.csv")), true, 1, 2, &error))
                << error.toStdString();
            EXPECT_EQ(FirstRecord(*data.GetCsvDataset()).size(), size_t(count));
        },
        1250, 50000));
}

TEST_F(LargeCsv, MoreFieldsThanTheBoundAreRefusedWithTheLine)
{
    const QString path = Path(QStringLiteral("separators.csv"));
    // A header of separators only: 100,001 empty names.
    ASSERT_TRUE(WriteFile(path, QByteArray(100000, ';') + "\n1\n"));
    TZORData data;
    QString error;
    EXPECT_FALSE(data.SetCsvData(path, true, 1, 2, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("line 1: a record of more than 100000 fields")))
        << error.toStdString();
}

TEST(LargeRichText, ManyFormatsParseInLinearTime)
{
    const TRichTextFormat base { QStringLiteral("Arial"), 6000, TAlphaColor { 0xFF000000 }, TAlphaColor { 0 },
        0, 0, 0, 0 };
    const auto colours = [](int first, int count) {
        QString rich;
        for (int i = first; i < first + count; ++i)
            rich += QStringLiteral("<FC:%1>x</FC>").arg(i, 6, 16, QLatin1Char('0'));
        return rich;
    };
    int formats = 0;
    EXPECT_TRUE(GrowsLinearly(
        [&](int first, int count) {
            const QString rich = colours(first, count);
            formats = int(zor::ParseRichMarkup(rich, base, 0).Formats.size());
        },
        2500, 100000));
    EXPECT_EQ(formats, 100001); // the base format and one per colour

    // Repeated formats are shared.
    const zor::TRichTextParse p = zor::ParseRichMarkup(u"<B>a</B>b<B>c</B>", base, 0);
    ASSERT_EQ(p.Formats.size(), 2u);
    EXPECT_EQ(p.Formats[1].Bold, 1);
    ASSERT_EQ(p.Runs.size(), 3u);
    EXPECT_EQ(p.Runs[0].FormatIndex, 1);
    EXPECT_EQ(p.Runs[1].FormatIndex, 0);
    EXPECT_EQ(p.Runs[2].FormatIndex, 1);
}
