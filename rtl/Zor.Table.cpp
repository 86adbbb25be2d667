#include "Zor.Table.h"

#include "Zor.Data.h"
#include "Zor.Error.h"
#include "Zor.Format.h"
#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Stream.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numeric>

using zor::Field;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonArray;
using zor::TJsonObject;

// The table's record, after its fields: the title's cell, then the columns (binary: an int32
// count, each column's fields followed by its header, line and footer cells; JSON: "Title" and
// "Columns", an array of objects with "Header", "Line" and "Footer").

namespace {

// The smallest column record (its fields and three cells), for checking counts against the
// bytes left before allocating.
constexpr int64_t MinCellBytes = 26;
constexpr int64_t MinColumnBytes = 8 + 3 * MinCellBytes;

constexpr const char* CellKeys[] = { "Header", "Line", "Footer" };

std::array<TZORTableCell*, 3> Cells(TZORColumn& c)
{
    return { &c.Header, &c.Line, &c.FooterCell };
}

std::array<const TZORTableCell*, 3> Cells(const TZORColumn& c)
{
    return { &c.Header, &c.Line, &c.FooterCell };
}

TJsonObject CellToJson(const TZORTableCell& cell)
{
    TJsonObject o;
    zor::FieldsToJson(o, cell, TZORTableCell::Fields());
    return o;
}

void CellFromJson(const TJsonObject& o, const char* key, TZORTableCell& cell)
{
    if (o.Contains(key))
        zor::FieldsFromJson(o.O(key), cell, TZORTableCell::Fields());
}

} // namespace

// --- Cells and columns ---

const TZORFields<TZORTableCell>& TZORTableCell::Fields()
{
    using C = TZORTableCell;
    static const TZORFields<C> fields {
        Field<C, &C::Text>("Text"),
        Field<C, &C::Visible>("Visible"),
        Field<C, &C::FillBack>("FillBack"),
        Field<C, &C::BackColor>("BackColor"),
        Field<C, &C::HorzAlign>("HorzAlign"),
        Field<C, &C::VertAlign>("VertAlign"),
        Field<C, &C::Bold>("Bold"),
        Field<C, &C::Italic>("Italic"),
        Field<C, &C::Underline>("Underline"),
        Field<C, &C::WrapText>("WrapText"),
        Field<C, &C::FontName>("FontName"),
        Field<C, &C::FontColor>("FontColor"),
        Field<C, &C::FontHeight>("FontHeight"),
        Field<C, &C::Interline>("Interline"),
    };
    return fields;
}

void TZORTableCell::Sanitize()
{
    HorzAlign = std::min(HorzAlign, TZORHorzAlign::Right);
    VertAlign = std::min(VertAlign, TZORVertAlign::Bottom);
    FontHeight = zor::ClampFloat(FontHeight, TZORFontItem<TZORBoxItem>::MinFontHeight,
        TZORFontItem<TZORBoxItem>::MaxFontHeight, TZORFontItem<TZORBoxItem>::DefaultFontHeight);
    Interline = zor::ClampFloat(Interline, MinSpacing, MaxSpacing, 1.0f);
}

const TZORFields<TZORColumn>& TZORColumn::Fields()
{
    using C = TZORColumn;
    static const TZORFields<C> fields {
        Field<C, &C::Width>("Width"),
        Field<C, &C::FieldName>("FieldName"),
        Field<C, &C::Format>("Format"),
        Field<C, &C::Footer>("Aggregate"),
        Field<C, &C::FooterFormat>("FooterFormat"),
        Field<C, &C::Fixed>("Fixed", 3103),
    };
    return fields;
}

void TZORColumn::Sanitize()
{
    Width = zor::ClampFloat(Width, 0.0f, 100.0f, 0.0f);
    Footer = std::min(Footer, TZORFooter::StdDev);
    for (TZORTableCell* cell : Cells(*this))
        cell->Sanitize();
}

int64_t TZORTableLayout::LineTop(int32_t i) const
{
    if (i <= 0)
        return BodyTop;
    // The bottom of the line before: the separators of the title and the header come first.
    const size_t first = size_t(TitleHeight > 0) + size_t(HeaderHeight > 0);
    return LinePos[first + size_t(i) - 1];
}

// --- Table ---

TZORBaseTable::TZORBaseTable(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseTable(aOwner, nullptr, aPreview)
{
}

TZORBaseTable::TZORBaseTable(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORPadded(aOwner, aLayer, aPreview)
    , fColumns(2)
{
    fTitle.Visible = false;
    fTitle.Bold = true;
    fTitle.HorzAlign = TZORHorzAlign::Center;
    for (TZORColumn& c : fColumns)
        c.Header.Bold = true;
}

const TZORFields<TZORBaseItem>& TZORBaseTable::GetFields() const
{
    using T = TZORBaseTable;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &T::fRows>("Rows"),
              Field<TZORBaseItem, &T::fDataSet>("DataSet"),
              Field<TZORBaseItem, &T::fTitleHeight>("TitleHeight"),
              Field<TZORBaseItem, &T::fHeaderHeight>("HeaderHeight"),
              Field<TZORBaseItem, &T::fLineHeight>("LineHeight"),
              Field<TZORBaseItem, &T::fFooterHeight>("FooterHeight"),
              Field<TZORBaseItem, &T::fFixedHeight>("FixedHeight"),
          }
        + PaddingFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &T::fGridType>("GridType"),
              Field<TZORBaseItem, &T::fGridColor>("GridColor"),
              Field<TZORBaseItem, &T::fGridWidth>("GridWidth"),
          };
    return fields;
}

TJsonObject TZORBaseTable::WriteJson() const
{
    TJsonObject o = TZORBoxItem::WriteJson();
    o.SetO("Title", CellToJson(fTitle));
    TJsonArray a = o.NewA("Columns");
    for (const TZORColumn& c : fColumns) {
        TJsonObject e = a.AddObject();
        zor::FieldsToJson(e, c, TZORColumn::Fields());
        const auto cells = Cells(c);
        for (size_t k = 0; k < cells.size(); ++k)
            e.SetO(CellKeys[k], CellToJson(*cells[k]));
    }
    return o;
}

void TZORBaseTable::ReadJson(int32_t version, const TJsonObject& o)
{
    TZORBoxItem::ReadJson(version, o);
    CellFromJson(o, "Title", fTitle);
    if (!o.Contains("Columns"))
        return;
    const TJsonArray a = o.A("Columns");
    std::vector<TZORColumn> columns(size_t(std::clamp(a.Count(), 0, MaxColumns)));
    for (size_t i = 0; i < columns.size(); ++i) {
        const TJsonObject e = a.O(int(i));
        zor::FieldsFromJson(e, columns[i], TZORColumn::Fields());
        const auto cells = Cells(columns[i]);
        for (size_t k = 0; k < cells.size(); ++k)
            CellFromJson(e, CellKeys[k], *cells[k]);
    }
    fColumns = std::move(columns);
}

void TZORBaseTable::WriteData(TBinaryWriter& w) const
{
    TZORBoxItem::WriteData(w);
    zor::WriteFields(w, fTitle, TZORTableCell::Fields());
    w.WriteInt32(int32_t(fColumns.size()));
    for (const TZORColumn& c : fColumns) {
        zor::WriteFields(w, c, TZORColumn::Fields());
        for (const TZORTableCell* cell : Cells(c))
            zor::WriteFields(w, *cell, TZORTableCell::Fields());
    }
}

void TZORBaseTable::ReadData(int32_t version, TBinaryReader& r, TZORReadType readType)
{
    TZORBoxItem::ReadData(version, r, readType);
    zor::ReadFields(r, fTitle, TZORTableCell::Fields());
    std::vector<TZORColumn> columns(size_t(r.ReadCount(MaxColumns, MinColumnBytes)));
    for (TZORColumn& c : columns) {
        zor::ReadFields(r, c, TZORColumn::Fields());
        for (TZORTableCell* cell : Cells(c))
            zor::ReadFields(r, *cell, TZORTableCell::Fields());
    }
    fColumns = std::move(columns);
}

void TZORBaseTable::AfterRead()
{
    if (fColumns.empty())
        SetColumns(1);
    for (TZORColumn& c : fColumns)
        c.Sanitize();
    fTitle.Sanitize();
    SetRows(fRows);
    SetTitleHeight(fTitleHeight);
    SetHeaderHeight(fHeaderHeight);
    SetLineHeight(fLineHeight);
    SetFooterHeight(fFooterHeight);
    SetGridType(fGridType);
    SetGridWidth(fGridWidth);
    TZORPadded::AfterRead();
}

void TZORBaseTable::SetColumns(int32_t n)
{
    n = std::clamp(n, 1, MaxColumns);
    const size_t old = fColumns.size();
    if (size_t(n) <= old) {
        fColumns.resize(size_t(n));
        return;
    }
    float used = 0.0f;
    for (const TZORColumn& c : fColumns)
        used += c.Width;
    TZORColumn fresh;
    fresh.Header.Bold = true;
    fresh.Width = std::max(0.0f, 100.0f - used) / float(size_t(n) - old);
    fColumns.resize(size_t(n), fresh);
}

TZORColumn* TZORBaseTable::GetColumn(int32_t i)
{
    return i >= 1 && i <= GetColumnCount() ? &fColumns[size_t(i - 1)] : nullptr;
}

const TZORColumn* TZORBaseTable::GetColumn(int32_t i) const
{
    return i >= 1 && i <= GetColumnCount() ? &fColumns[size_t(i - 1)] : nullptr;
}

int64_t TZORBaseTable::ColumnWidth(int32_t i) const
{
    const TZORColumn* c = GetColumn(i);
    return c ? zor::Round(double(BaseScaleWidth()) * double(c->Width) / 100.0) : 0;
}

int64_t TZORBaseTable::Room() const
{
    if (fFixedHeight || !fOwner)
        return BaseScaleHeight();
    const int64_t label = fOwner->Measure().GetSize(TZORSizeKind::LabelHeight);
    return std::max<int64_t>(0, label - GetPoint(1).Y / DrawScale());
}

std::vector<QStringList> TZORBaseTable::ReadLines() const
{
    if (fDataSet.isEmpty() || !fOwner || fRows == 0)
        return {};
    std::vector<std::pair<QString, QString>> fields;
    for (const TZORColumn& c : fColumns)
        fields.emplace_back(c.FieldName, c.Format);
    for (const TZORColumn& c : fColumns)
        fields.emplace_back(c.FieldName, QString());
    // A data set that is gone or cannot be read leaves the table without lines: the label
    // still prints, with the table's header and footer.
    std::vector<QStringList> lines;
    try {
        lines = fOwner->Data().DataLines(fDataSet, fields, fRows);
    } catch (const EZORError&) {
        return {};
    }
    const int n = GetColumnCount();
    for (int i = 0; i < n; ++i)
        if (fColumns[size_t(i)].Fixed)
            for (QStringList& line : lines)
                if (line.size() >= 2 * n)
                    line[i] = line[n + i] = fColumns[size_t(i)].Line.Text;
    return lines;
}

QString TZORBaseTable::FooterText(int32_t column, const std::vector<QStringList>& lines) const
{
    const TZORColumn* c = GetColumn(column);
    if (!c || c->Footer == TZORFooter::None)
        return {};
    const int n = GetColumnCount();
    QStringList values;
    for (const QStringList& line : lines)
        values << line.value(n + column - 1);
    return c->FooterCell.Text + zor::FormatAggregate(c->Footer, values, c->FooterFormat);
}

TZORTableLayout TZORBaseTable::Layout(
    bool design, const std::vector<QStringList>& lines, const TZORCellLayoutFunc& cell) const
{
    TZORTableLayout t;
    t.Design = design;
    if (HasTitle()) {
        t.TitleHeight = Paper(fTitleHeight);
        cell(fTitle.Text, fTitle, zor::ClampToInt32(BaseScaleWidth()), zor::ClampToInt32(t.TitleHeight), 0, 0,
            t.TitleLines, t.TitleMetrics);
        t.LinePos.push_back(t.TitleHeight);
    }
    t.HeaderHeight = Paper(fHeaderHeight);
    t.BodyTop = t.TitleHeight + t.HeaderHeight;
    if (t.HeaderHeight > 0)
        t.LinePos.push_back(t.BodyTop);
    t.FooterHeight = Paper(fFooterHeight);
    t.Columns.resize(fColumns.size());
    LayOutColumnCells(t, cell);
    if (design) {
        int32_t h = 0;
        for (const TZORColumnLayout& c : t.Columns)
            h = std::max(h, c.Sample.Height);
        t.LinePos.push_back(t.BodyTop + h);
        CloseLines(t, t.BodyTop + h);
        LayOutFooters(t, {}, cell);
        return t;
    }
    LayOutDataLines(t, lines, cell);
    CloseLines(t, t.LineTop(t.Shown));
    // The footers aggregate the lines shown, so that what they show adds up.
    LayOutFooters(t, std::vector<QStringList>(lines.begin(), lines.begin() + t.Shown), cell);
    return t;
}

// The header and the sample line of every column.
void TZORBaseTable::LayOutColumnCells(TZORTableLayout& t, const TZORCellLayoutFunc& cell) const
{
    const int32_t lineH = zor::ClampToInt32(Paper(fLineHeight));
    for (int32_t i = 1; i <= GetColumnCount(); ++i) {
        const TZORColumn& c = fColumns[size_t(i - 1)];
        TZORColumnLayout& l = t.Columns[size_t(i - 1)];
        const int32_t colW = zor::ClampToInt32(ColumnWidth(i));
        if (t.HeaderHeight > 0 && c.Header.Visible) {
            l.Header = { zor::ClampToInt32(t.HeaderHeight), {}, c.Header.Text, true, 0 };
            cell(l.Header.Text, c.Header, colW, l.Header.Height, 0, 0, l.Header.Lines, l.Metrics[0]);
        }
        l.Sample = { lineH, {}, c.SampleText(), true, 1 };
        const int32_t h = cell(l.Sample.Text, c.Line, colW, c.Line.WrapText ? 0 : lineH, GetBasePadX(),
            GetBasePadY(), l.Sample.Lines, l.Metrics[1]);
        if (c.Line.WrapText)
            l.Sample.Height = std::max(h, lineH);
    }
}

// The footer of every column with an aggregate, over the given lines; always single spaced.
void TZORBaseTable::LayOutFooters(
    TZORTableLayout& t, const std::vector<QStringList>& lines, const TZORCellLayoutFunc& cell) const
{
    if (t.FooterHeight <= 0)
        return;
    for (int32_t i = 1; i <= GetColumnCount(); ++i) {
        const TZORColumn& c = fColumns[size_t(i - 1)];
        if (c.Footer == TZORFooter::None)
            continue;
        TZORColumnLayout& l = t.Columns[size_t(i - 1)];
        l.Footer = { zor::ClampToInt32(t.FooterHeight), {}, FooterText(i, lines), true, 2 };
        TZORTableCell look = c.FooterCell;
        look.Interline = 1.0f;
        cell(l.Footer.Text, look, zor::ClampToInt32(ColumnWidth(i)), l.Footer.Height, GetBasePadX(),
            GetBasePadY(), l.Footer.Lines, l.Metrics[2]);
    }
}

// The data lines one after the other while they fit the room. A line is as high as its highest
// cell, so that the columns share one set of separators.
void TZORBaseTable::LayOutDataLines(
    TZORTableLayout& t, const std::vector<QStringList>& lines, const TZORCellLayoutFunc& cell) const
{
    const int32_t padX = GetBasePadX(), padY = GetBasePadY();
    const int32_t lineH = zor::ClampToInt32(Paper(fLineHeight));
    const int64_t room = Room() - t.FooterHeight;
    int64_t y = t.BodyTop;
    for (const QStringList& values : lines) {
        std::vector<TZORRowCol> row(fColumns.size());
        int32_t height = lineH;
        for (int32_t i = 1; i <= GetColumnCount(); ++i) {
            const TZORColumn& c = fColumns[size_t(i - 1)];
            TZORRowCol& r = row[size_t(i - 1)];
            r = { lineH, {}, values.value(i - 1), true, 1 };
            const int32_t h = cell(r.Text, c.Line, zor::ClampToInt32(ColumnWidth(i)),
                c.Line.WrapText ? 0 : lineH, padX, padY, r.Lines, t.Columns[size_t(i - 1)].Metrics[1]);
            if (c.Line.WrapText)
                height = std::max(height, h);
        }
        if (y + height > room) {
            t.Overflow = true;
            return;
        }
        for (size_t i = 0; i < row.size(); ++i) {
            row[i].Height = height;
            t.Columns[i].Data.push_back(std::move(row[i]));
        }
        y += height;
        t.LinePos.push_back(y);
        ++t.Shown;
    }
}

// The footer and the table's bottom: the footer follows the last line, or with a fixed height
// (and in the editor) sits at the bottom of the box, never above the last line.
void TZORBaseTable::CloseLines(TZORTableLayout& t, int64_t lastBottom) const
{
    t.FooterTop = lastBottom;
    if (fFixedHeight || t.Design) {
        t.FooterTop = std::max(lastBottom, BaseScaleHeight() - t.FooterHeight);
        if (t.FooterHeight > 0 && t.FooterTop > lastBottom)
            t.LinePos.push_back(t.FooterTop);
    }
    t.Bottom = t.FooterTop + t.FooterHeight;
    if (t.LinePos.empty() || t.LinePos.back() != t.Bottom)
        t.LinePos.push_back(t.Bottom);
}

// --- Aggregates ---

namespace zor {

std::optional<double> ParseNumber(const QString& text)
{
    bool ok = false;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    const double v = c.toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

namespace {

double Mean(const std::vector<double>& v)
{
    return std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Of a sample, in two passes for accuracy; one number has none.
double Variance(const std::vector<double>& v)
{
    if (v.size() < 2)
        return 0.0;
    const double m = Mean(v);
    double sum = 0.0;
    for (double x : v)
        sum += (x - m) * (x - m);
    return sum / double(v.size() - 1);
}

} // namespace

std::optional<double> Aggregate(TZORFooter kind, const QStringList& values)
{
    std::vector<double> numbers;
    for (const QString& s : values)
        if (const auto v = ParseNumber(s))
            numbers.push_back(*v);
    switch (kind) {
    case TZORFooter::Count:
        return double(
            std::count_if(values.begin(), values.end(), [](const QString& s) { return !s.isEmpty(); }));
    case TZORFooter::Sum:
        return std::accumulate(numbers.begin(), numbers.end(), 0.0);
    case TZORFooter::None:
        return std::nullopt;
    default:
        break;
    }
    if (numbers.empty())
        return std::nullopt;
    switch (kind) {
    case TZORFooter::Min:
        return *std::min_element(numbers.begin(), numbers.end());
    case TZORFooter::Max:
        return *std::max_element(numbers.begin(), numbers.end());
    case TZORFooter::Mean:
        return Mean(numbers);
    case TZORFooter::Median:
        return Median(numbers);
    case TZORFooter::Variance:
        return Variance(numbers);
    case TZORFooter::StdDev:
        return std::sqrt(Variance(numbers));
    default:
        return std::nullopt;
    }
}

QString FormatAggregate(TZORFooter kind, const QStringList& values, const QString& pattern)
{
    const auto v = Aggregate(kind, values);
    if (!v)
        return {};
    if (kind == TZORFooter::Count)
        return FormatInteger(pattern, int64_t(*v));
    return FormatFloat(pattern, *v);
}

} // namespace zor
