// The table's model: aggregates over the data lines, and the layout of its bands and lines
// against the room they have, with a measure that stands in for the text metrics.

#include "KindStubs.h"
#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Table.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

using zor::Aggregate;
using zor::FormatAggregate;
using zor::ParseNumber;
using zor::TJsonObject;
using zor::TxtLines;

namespace {

using TTestTable = zor::test::TStub<TZORBaseTable>;
using TTestLabel = zor::test::TKindLabel;

// Every line of a text (split at "\n") is one line of the font's height; a wrapping cell (no
// height limit) is as high as its lines and paddings.
int32_t FakeCell(const QString& text, const TZORTableCell& cell, int32_t, int32_t H, int32_t padX,
    int32_t padY, TxtLines& lines, TZORFontMetrics& m)
{
    const int32_t lh = cell.BaseFontHeight();
    m = { lh * 4 / 5, lh / 5, 0, lh, 1.0 };
    lines.clear();
    if (text.isEmpty())
        return 0;
    int32_t start = 1;
    for (const QString& part : text.split(QLatin1Char('\n'))) {
        lines.push_back({ start, int32_t(part.size()), padX, padY + int64_t(lines.size()) * lh });
        start += int32_t(part.size()) + 1;
    }
    return H > 0 ? H : padY * 2 + int32_t(lines.size()) * lh;
}

// A table 60 mm wide and 40 mm high at the label's top-left, two columns of 40 and 60 %,
// 5 mm lines with 3 mm fonts and no paddings.
struct TTableFixture {
    TTestLabel label;
    TTestTable table { &label, false };

    TTableFixture()
    {
        label.Measure().SetHeight(100000);
        const TZORPto box[] = { { 0, 0 }, { 60000, 40000 } };
        table.AssignPoints(box);
        table.SetPaddingX(0.0f);
        table.SetPaddingY(0.0f);
        table.SetLineHeight(5.0f);
        table.SetHeaderHeight(6.0f);
        table.GetColumn(1)->Width = 40.0f;
        table.GetColumn(2)->Width = 60.0f;
    }

    TZORTableLayout Lay(const std::vector<QStringList>& lines) const
    {
        return table.Layout(false, lines, FakeCell);
    }
};

std::vector<QStringList> Lines(int n)
{
    std::vector<QStringList> lines;
    for (int i = 1; i <= n; ++i)
        lines.push_back({ QString::number(i), QStringLiteral("x"), QString::number(i), QStringLiteral("x") });
    return lines;
}

} // namespace

TEST(TableAggregates, EveryKindOverAColumn)
{
    const QStringList values = { "4", "1.5", "", "9", "x", "2.5" };
    struct TCase {
        TZORFooter kind;
        double value;
    };
    // Numbers 4, 1.5, 9, 2.5: mean 4.25, sample variance (0.0625 + 7.5625 + 22.5625 + 3.0625) / 3.
    const TCase cases[] = {
        { TZORFooter::Count, 5 },
        { TZORFooter::Min, 1.5 },
        { TZORFooter::Max, 9 },
        { TZORFooter::Sum, 17 },
        { TZORFooter::Mean, 4.25 },
        { TZORFooter::Median, 3.25 },
        { TZORFooter::Variance, 33.25 / 3.0 },
        { TZORFooter::StdDev, std::sqrt(33.25 / 3.0) },
    };
    for (const TCase& c : cases) {
        const auto v = zor::Aggregate(c.kind, values);
        ASSERT_TRUE(v) << int(c.kind);
        EXPECT_DOUBLE_EQ(*v, c.value) << int(c.kind);
    }
    EXPECT_FALSE(zor::Aggregate(TZORFooter::None, values));
    EXPECT_DOUBLE_EQ(*zor::Aggregate(TZORFooter::Median, { "3", "1", "2" }), 2.0);
}

// No number and a single number never divide by zero: what has no value shows nothing, a
// single number varies by 0.
TEST(TableAggregates, NoneAndOneNumber)
{
    for (const TZORFooter kind : { TZORFooter::Min, TZORFooter::Max, TZORFooter::Mean, TZORFooter::Median,
             TZORFooter::Variance, TZORFooter::StdDev }) {
        EXPECT_FALSE(zor::Aggregate(kind, {})) << int(kind);
        EXPECT_FALSE(zor::Aggregate(kind, { "n/a" })) << int(kind);
        EXPECT_EQ(zor::FormatAggregate(kind, {}, QStringLiteral("0.00")), QString()) << int(kind);
    }
    EXPECT_EQ(zor::FormatAggregate(TZORFooter::Sum, {}, QString()), QStringLiteral("0"));
    EXPECT_EQ(zor::FormatAggregate(TZORFooter::Count, {}, QString()), QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(*zor::Aggregate(TZORFooter::Variance, { "7" }), 0.0);
    EXPECT_DOUBLE_EQ(*zor::Aggregate(TZORFooter::StdDev, { "7" }), 0.0);
    EXPECT_DOUBLE_EQ(*zor::Aggregate(TZORFooter::Median, { "7" }), 7.0);
}

// The system's locale changes neither what reads as a number nor how the result is written.
TEST(TableAggregates, IndependentOfTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(zor::ParseNumber(QStringLiteral(" 1.5 ")), 1.5);
    EXPECT_FALSE(zor::ParseNumber(QStringLiteral("1,5")));
    EXPECT_FALSE(zor::ParseNumber(QStringLiteral("1,000")));
    EXPECT_FALSE(zor::ParseNumber(QStringLiteral("inf")));
    EXPECT_EQ(
        zor::FormatAggregate(TZORFooter::Mean, { "1", "2" }, QStringLiteral("0.00")), QStringLiteral("1.50"));
    EXPECT_EQ(
        zor::FormatAggregate(TZORFooter::Sum, { "1000.25", "1" }, QString()), QStringLiteral("1001.25"));
    QLocale::setDefault(before);
}

// Separators: the title's and the header's bottoms come first, so that each shifts the data
// lines' entries by one.
TEST(TableLayout, LinePositionsWithAndWithoutTitleAndHeader)
{
    struct TCase {
        bool title;
        float header;
        std::vector<int64_t> positions;
    };
    const TCase cases[] = {
        { false, 0.0f, { 5000, 10000 } },
        { false, 6.0f, { 6000, 11000, 16000 } },
        { true, 0.0f, { 8000, 13000, 18000 } },
        { true, 6.0f, { 8000, 14000, 19000, 24000 } },
    };
    for (const TCase& c : cases) {
        TTableFixture f;
        f.table.Title().Visible = c.title;
        f.table.SetTitleHeight(8.0f);
        f.table.SetHeaderHeight(c.header);
        const TZORTableLayout l = f.Lay(Lines(2));
        EXPECT_EQ(l.LinePos, c.positions) << c.title << " " << c.header;
        EXPECT_EQ(l.Shown, 2);
        EXPECT_EQ(l.LineTop(1), c.positions[c.positions.size() - 2]);
    }
}

// A line is as high as its highest cell in every column: the columns share the separators.
TEST(TableLayout, AWrappedCellRaisesTheWholeLine)
{
    TTableFixture f;
    f.table.GetColumn(2)->Line.WrapText = true;
    std::vector<QStringList> lines = { { "a", "one\ntwo\nthree", "", "" }, { "b", "c", "", "" } };
    const TZORTableLayout l = f.Lay(lines);
    // Three lines of 3 mm in the second column: 9 mm, above the 5 mm line height.
    EXPECT_EQ(l.LinePos, (std::vector<int64_t> { 6000, 15000, 20000 }));
    for (const TZORColumnLayout& c : l.Columns) {
        ASSERT_EQ(c.Data.size(), 2u);
        EXPECT_EQ(c.Data[0].Height, 9000);
        EXPECT_EQ(c.Data[1].Height, 5000);
    }
}

// Lines that pass the room are left out; the footer follows the last line that fits and sums
// what is shown.
TEST(TableLayout, OverflowStopsAtTheFirstLineThatDoesNotFit)
{
    struct TCase {
        bool fixed;
        int64_t labelHeight; // micrometres
        int32_t shown;
    };
    // Header 6 mm, footer 4 mm, lines 5 mm: the 40 mm box holds 6 lines, a 50 mm label 8.
    const TCase cases[]
        = { { true, 100000, 6 }, { false, 50000, 8 }, { false, 20000, 2 }, { false, 9000, 0 } };
    for (const TCase& c : cases) {
        TTableFixture f;
        f.label.Measure().SetHeight(c.labelHeight);
        f.table.SetFixedHeight(c.fixed);
        f.table.SetFooterHeight(4.0f);
        f.table.GetColumn(1)->Footer = TZORFooter::Sum;
        const TZORTableLayout l = f.Lay(Lines(20));
        SCOPED_TRACE(testing::Message() << c.fixed << " " << c.labelHeight);
        EXPECT_EQ(l.Shown, c.shown);
        EXPECT_TRUE(l.Overflow);
        EXPECT_EQ(l.Columns[0].Data.size(), size_t(c.shown));
        const int64_t last = 6000 + 5000 * c.shown;
        EXPECT_EQ(l.FooterTop, c.fixed ? 36000 : last);
        EXPECT_EQ(l.Bottom, l.FooterTop + 4000);
        EXPECT_EQ(l.LinePos.back(), l.Bottom);
        EXPECT_TRUE(std::all_of(l.LinePos.begin(), l.LinePos.end(), [](int64_t p) { return p > 0; }));
        EXPECT_EQ(l.Columns[0].Footer.Text, QString::number(c.shown * (c.shown + 1) / 2));
    }
}

TEST(TableLayout, TheEditorShowsTheSampleLineAndTheFooterAtTheBottom)
{
    TTableFixture f;
    f.table.SetFooterHeight(4.0f);
    f.table.GetColumn(1)->FieldName = QStringLiteral("price");
    f.table.GetColumn(2)->Line.Text = QStringLiteral("sample");
    f.table.GetColumn(2)->Footer = TZORFooter::Count;
    f.table.GetColumn(2)->FooterCell.Text = QStringLiteral("n = ");
    const TZORTableLayout l = f.table.Layout(true, Lines(3), FakeCell);
    EXPECT_EQ(l.Shown, 0);
    EXPECT_EQ(l.Columns[0].Sample.Text, QStringLiteral("price"));
    EXPECT_EQ(l.Columns[1].Sample.Text, QStringLiteral("sample"));
    EXPECT_EQ(l.Columns[1].Footer.Text, QStringLiteral("n = 0"));
    EXPECT_FALSE(l.Columns[0].Footer.Filled);
    EXPECT_EQ(l.LinePos, (std::vector<int64_t> { 6000, 11000, 36000, 40000 }));
}

TEST(TableModel, ColumnsShareTheRestOfTheWidthAndReadBackInRange)
{
    TTestLabel label;
    TTestTable table(&label, false);
    table.GetColumn(1)->Width = 30.0f;
    table.GetColumn(2)->Width = 30.0f;
    table.SetColumns(4);
    EXPECT_FLOAT_EQ(table.GetColumn(3)->Width, 20.0f);
    EXPECT_FLOAT_EQ(table.GetColumn(4)->Width, 20.0f);
    EXPECT_EQ(table.GetColumn(5), nullptr);
    EXPECT_EQ(table.GetColumn(0), nullptr);
    const TZORPto box[] = { { 0, 0 }, { 50001, 1000 } };
    table.AssignPoints(box);
    EXPECT_EQ(table.ColumnWidth(1), 15000); // 15000.3 to the nearest

    auto* read = static_cast<TTestTable*>(label.AddReadJson(std::make_unique<TTestTable>(&label, false), 3100,
        TJsonObject::Parse(QStringLiteral(R"({"Type":19,"Points":[[0,0],[1000,1000]],"GridType":9,
            "Columns":[{"Width":250,"Aggregate":42,"Line":{"FontHeight":-1,"Interline":0,"HorzAlign":7}}]})"))));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetGridType(), TZORGridType::Both);
    ASSERT_EQ(read->GetColumnCount(), 1);
    EXPECT_FLOAT_EQ(read->GetColumn(1)->Width, 100.0f);
    EXPECT_EQ(read->GetColumn(1)->Footer, TZORFooter::StdDev);
    EXPECT_GT(read->GetColumn(1)->Line.FontHeight, 0.0f);
    EXPECT_FLOAT_EQ(read->GetColumn(1)->Line.Interline, TZORTableCell::MinSpacing);
    EXPECT_EQ(read->GetColumn(1)->Line.HorzAlign, TZORHorzAlign::Right);
}

// The lines come from the label's data set, shown with each column's format, and the raw values
// follow for the aggregates; a data set that is not there gives none.
TEST(TableModel, ReadsTheLinesOfItsDataSet)
{
    TTableFixture f;
    ASSERT_TRUE(f.label.Data().SetJson(QStringLiteral(
        R"({"Parts":[{"name":"Bolt","price":1.5},{"name":"Nut","price":0.25},{"name":"Pin","price":2}]})")));
    f.table.GetColumn(1)->FieldName = QStringLiteral("name");
    f.table.GetColumn(2)->FieldName = QStringLiteral("price");
    f.table.GetColumn(2)->Format = QStringLiteral("0.00");
    f.table.GetColumn(2)->Footer = TZORFooter::Sum;
    EXPECT_FALSE(f.table.GetIsData());
    EXPECT_TRUE(f.table.ReadLines().empty());
    f.table.SetDataSet(QStringLiteral("parts"));
    f.table.SetRows(2);
    EXPECT_TRUE(f.table.GetIsData());
    const auto lines = f.table.ReadLines();
    EXPECT_EQ(lines,
        (std::vector<QStringList> { { "Bolt", "1.50", "Bolt", "1.5" }, { "Nut", "0.25", "Nut", "0.25" } }));
    EXPECT_EQ(f.table.FooterText(2, lines), QStringLiteral("1.75"));
    f.table.SetDataSet(QStringLiteral("gone"));
    EXPECT_TRUE(f.table.ReadLines().empty());
}
