#include "Zor.Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using zor::FormatFloat;

// The framework's own table of examples: four values under each pattern.
TEST(FormatFloat, FollowsTheFrameworksTableOfExamples)
{
    const struct {
        const char* pattern;
        const char* results[4]; // 1234, -1234, 0.5, 0
    } table[] = {
        { "", { "1234", "-1234", "0.5", "0" } },
        { "0", { "1234", "-1234", "1", "0" } },
        { "0.00", { "1234.00", "-1234.00", "0.50", "0.00" } },
        { "#.##", { "1234", "-1234", ".5", "" } },
        { "#,##0.00", { "1,234.00", "-1,234.00", "0.50", "0.00" } },
        { "#,##0.00;(#,##0.00)", { "1,234.00", "(1,234.00)", "0.50", "0.00" } },
        { "#,##0.00;;Zero", { "1,234.00", "-1,234.00", "0.50", "Zero" } },
        { "0.000E+00", { "1.234E+03", "-1.234E+03", "5.000E-01", "0.000E+00" } },
        { "#.###E-0", { "1.234E3", "-1.234E3", "5E-1", "0E0" } },
    };
    const double values[4] = { 1234, -1234, 0.5, 0 };
    for (const auto& row : table)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(zor::FormatFloat(QString::fromUtf8(row.pattern), values[i]),
                QString::fromUtf8(row.results[i]))
                << "'" << row.pattern << "' " << values[i];
}

TEST(FormatFloat, RoundsHalvesAwayFromZeroOnTheDecimalDigits)
{
    const struct {
        const char* pattern;
        double value;
        const char* result;
    } table[] = {
        { "0", 2.5, "3" }, { "0", -2.5, "-3" }, { "0", 0.49, "0" },
        { "0.0", 0.05, "0.1" }, // not 0.0: the value is read as its 15 decimal digits
        { "0.00", 1.005, "1.01" }, { "0.0", 9.96, "10.0" }, { "0.#", 12.04, "12" }, { "0.#", 12.06, "12.1" },
        { "0", -0.4, "0" }, // no minus sign on a zero
        { "0.00;(0.00);nil", -0.001, "nil" }, { "#,##0", 1234567.8, "1,234,568" },
        { "#,##0", 999.6, "1,000" }, { "000", 7, "007" }, { "#0.0#", 3.14159, "3.14" },
        { "0", 1e20, "100000000000000000000" }, { "0.00", 1e-20, "0.00" }, { "00.0E+0", 12345, "12.3E+3" },
        { "0.0E+0", 99999, "1.0E+5" }, { "0.0E+000", 0.000123, "1.2E-004" },
        { "'Ø' 0.0 \"mm\"", 12.34, "Ø 12.3 mm" }, { "0 x", 5, "5 x" }, { ".00", 12.5, "12.50" },
        { "0.0.0", 1.25, "1.25" }, // points after the first are ignored
    };
    for (const auto& row : table)
        EXPECT_EQ(zor::FormatFloat(QString::fromUtf8(row.pattern), row.value), QString::fromUtf8(row.result))
            << "'" << row.pattern << "' " << row.value;
}

TEST(FormatFloat, GeneralFormAndValuesThatAreNotFinite)
{
    EXPECT_EQ(zor::FormatFloat(QString(), 0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(zor::FormatFloat(QString(), 1e15), QStringLiteral("1E15"));
    EXPECT_EQ(zor::FormatFloat(QString(), -1.5e-6), QStringLiteral("-1.5E-6"));
    EXPECT_EQ(zor::FormatFloat(QStringLiteral(";0"), 5), QStringLiteral("5")); // empty positive section
    EXPECT_EQ(zor::FormatFloat(QStringLiteral("0"), std::numeric_limits<double>::quiet_NaN()),
        QStringLiteral("NAN"));
    EXPECT_EQ(zor::FormatFloat(QStringLiteral("0"), INFINITY), QStringLiteral("INF"));
    EXPECT_EQ(zor::FormatFloat(QStringLiteral("0"), -INFINITY), QStringLiteral("-INF"));
    EXPECT_EQ(zor::FormatFloat(QStringLiteral("0;"), -5), QStringLiteral("-5"));
    EXPECT_EQ(zor::FormatFloat(QStringLiteral("0.00E+0000000"), 1.0), QStringLiteral("1.00E+0000000"));
}

} // namespace
