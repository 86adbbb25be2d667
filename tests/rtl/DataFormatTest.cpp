#include "Zor.Data.h"
#include "Zor.Format.h"

#include <gtest/gtest.h>

#include <limits>

using zor::FormatDateTime;
using zor::FormatInteger;

// Whole numbers keep every digit; dates follow the pattern letters of label files.

TEST(FormatInteger, EveryDigitOfSixtyFourBits)
{
    const struct {
        const char* pattern;
        int64_t value;
        const char* result;
    } table[] = {
        { "#,##0", std::numeric_limits<int64_t>::min(), "-9,223,372,036,854,775,808" },
        { "0", std::numeric_limits<int64_t>::max(), "9223372036854775807" },
        { "", -42, "-42" },
        { "000", 7, "007" },
        { "0.00", 5, "5.00" },
        { "#", 0, "" },
        { "0;(0);zero", -3, "(3)" },
        { "0;(0);zero", 0, "zero" },
        { "0.0E+00", 123456789012345678, "1.2E+17" },
    };
    for (const auto& row : table)
        EXPECT_EQ(
            zor::FormatInteger(QString::fromUtf8(row.pattern), row.value), QString::fromUtf8(row.result))
            << "'" << row.pattern << "' " << row.value;
}

TEST(FormatDateTime, PatternLetters)
{
    const QDateTime afternoon(QDate(2024, 3, 5), QTime(14, 7, 9, 45));
    const QDateTime morning(QDate(2024, 12, 25), QTime(0, 30));
    const struct {
        const char* pattern;
        const QDateTime& value;
        const char* result;
    } table[] = {
        { "dd/mm/yyyy", afternoon, "05/03/2024" },
        { "d/m/yy", afternoon, "5/3/24" },
        { "hh:mm:ss", afternoon, "14:07:09" }, // m after an hour is the minutes
        { "h:nn am/pm", afternoon, "2:07 pm" },
        { "hh:nn AM/PM", morning, "12:30 AM" },
        { "h a/p", morning, "12 a" },
        { "h ampm", afternoon, "2 PM" },
        { "dddd d mmmm yyyy", afternoon, "Tuesday 5 March 2024" },
        { "ddd, d mmm", morning, "Wed, 25 Dec" },
        { "yyyy-mm-dd\"T\"hh:nn:ss.zzz", afternoon, "2024-03-05T14:07:09.045" },
        { "'day' d", afternoon, "day 5" },
        { "c", morning, "2024-12-25 00:30:00" },
        { "t", afternoon, "14:07" },
        { "tt", afternoon, "14:07:09" },
        { "", afternoon, "2024-03-05 14:07:09" },
        { "", QDateTime(QDate(2024, 3, 5), QTime(0, 0)), "2024-03-05" },
        { "dd/mm/yyyy", QDateTime(), "" },
    };
    for (const auto& row : table)
        EXPECT_EQ(
            zor::FormatDateTime(QString::fromUtf8(row.pattern), row.value), QString::fromUtf8(row.result))
            << "'" << row.pattern << "'";
}

TEST(FieldValues, FormatsFollowTheFieldType)
{
    const TZORDataFields fields = {
        { QStringLiteral("int"), TZORFieldType::Integer },
        { QStringLiteral("float"), TZORFieldType::Float },
        { QStringLiteral("bool"), TZORFieldType::Boolean },
        { QStringLiteral("text"), TZORFieldType::String },
        { QStringLiteral("comma"), TZORFieldType::Float },
        { QStringLiteral("date"), TZORFieldType::String },
    };
    const std::vector<QVariant> record = { QStringLiteral(" 1234 "), 2.5, QStringLiteral("Yes"),
        QStringLiteral("12"), QStringLiteral("3,5"), QDateTime(QDate(2024, 3, 5), QTime(8, 0)) };
    TZORData data;
    data.AttachDataset(QStringLiteral("S"),
        std::make_shared<TZORMemoryDataSet>(fields, std::vector<std::vector<QVariant>> { record }));
    data.StartRun(1, 1);
    const struct {
        const char* field;
        const char* format;
        const char* shown;
    } table[] = {
        { "int", "", " 1234 " }, // without a format, the value as it stands
        { "int", "#,##0", "1,234" },
        { "float", "", "2.5" },
        { "float", "0.00", "2.50" },
        { "bool", "on;off", "on" },
        { "bool", "0", "Yes" }, // not a "true;false" pattern
        { "text", "0.00", "12" }, // text takes no number pattern
        { "comma", "0.00", "3.50" },
        { "date", "dd.mm.yy", "05.03.24" },
        { "date", "", "2024-03-05 08:00:00" },
        { "missing", "", "" },
    };
    for (const auto& row : table)
        EXPECT_EQ(data.Value(QString::fromUtf8(row.field), QString::fromUtf8(row.format), 1),
            QString::fromUtf8(row.shown))
            << row.field << " '" << row.format << "'";
}
