#pragma once

#include "Zor.F2d.h"
#include "Zor.RtlExport.h"
#include "Zor.Text.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// A table (type code 19): an optional title band across the whole width, then columns side by
// side, each with an optional header cell, its data lines and an optional footer cell showing
// an aggregate of the column. The data lines are the records of one data set of the label,
// read afresh for every label printed.
//
// Heights, paddings and font heights are millimetres on paper; the layout is made in paper
// micrometres from the table's top-left corner, so that the screen and the paper break lines
// alike.

// What a column's footer shows of its data lines.
enum class TZORFooter : uint8_t {
    None = 0,
    Count = 1,
    Min = 2,
    Max = 3,
    Sum = 4,
    Mean = 5,
    Median = 6,
    Variance = 7,
    StdDev = 8
};

// The separators drawn inside the table (the outline is the pen's).
enum class TZORGridType : uint8_t { None = 0, Vertical = 1, Horizontal = 2, Both = 3 };

// The look of a cell kind (a column's header, lines or footer, or the title): its text, font,
// alignment and background. The header and the title show their text; a line cell's text is the
// sample the editor shows (the field's name when empty); a footer's text leads its aggregate.
struct QUINDLE_RTL_EXPORT TZORTableCell {
    static constexpr float MinSpacing = 0.1f;
    static constexpr float MaxSpacing = 10.0f;

    static const TZORFields<TZORTableCell>& Fields();

    QString Text;
    bool Visible = true;
    bool FillBack = false;
    zor::TAlphaColor BackColor = zor::claWhite;
    TZORHorzAlign HorzAlign = TZORHorzAlign::Left;
    TZORVertAlign VertAlign = TZORVertAlign::Top;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool WrapText = false;
    QString FontName = QStringLiteral("Arial");
    zor::TAlphaColor FontColor = zor::claBlack;
    float FontHeight = 3.0f; // millimetres on paper
    float Interline = 1.0f; // line spacing: 1.0 is single spacing

    // Paper micrometres, as the text metrics take it.
    int32_t BaseFontHeight() const { return int32_t(zor::Round(double(FontHeight) * 1000.0)); }
    // Brings every value into the range the table keeps.
    void Sanitize();
};

// A column: its width in percent of the table's width, the data field it shows (with a format
// for the field's values) and its three cells; the footer's aggregate is formatted by
// FooterFormat (a float pattern; empty for the plain number). A fixed column shows its line
// cell's own text on every data line, whatever the data set holds.
struct QUINDLE_RTL_EXPORT TZORColumn {
    static const TZORFields<TZORColumn>& Fields();

    float Width = 50.0f; // percent
    QString FieldName;
    QString Format;
    TZORFooter Footer = TZORFooter::None;
    QString FooterFormat;
    bool Fixed = false;
    TZORTableCell Header;
    TZORTableCell Line;
    TZORTableCell FooterCell;

    void Sanitize();
    // What the editor shows in the column's lines.
    QString SampleText() const { return Line.Text.isEmpty() ? FieldName : Line.Text; }
};

// One laid-out cell: its height and lines (paper micrometres inside the cell), its text and
// kind (0 header, 1 line, 2 footer).
struct QUINDLE_RTL_EXPORT TZORRowCol {
    int32_t Height = 0;
    zor::TxtLines Lines;
    QString Text;
    bool Filled = false;
    uint8_t Kind = 0;
};

// A column as laid out: the header, the sample line, the footer and the data lines that fit,
// with the metrics of the three fonts (header, lines, footer).
struct QUINDLE_RTL_EXPORT TZORColumnLayout {
    TZORRowCol Header;
    TZORRowCol Sample;
    TZORRowCol Footer;
    std::vector<TZORRowCol> Data;
    std::array<TZORFontMetrics, 3> Metrics {};
};

// A whole table laid out, in paper micrometres from its top-left corner. LinePos holds the
// horizontal separators from the top down: the title's bottom (with a title), the header's
// bottom (with a header), the bottom of every data line shown, then the footer's top and bottom
// when the footer does not follow the last line; the last entry is the table's bottom. Lines
// that do not fit the room are not laid out: Shown counts those that are, Overflow tells that
// some did not fit.
struct QUINDLE_RTL_EXPORT TZORTableLayout {
    bool Design = false; // the editor's view: the sample line once, the footer at the box's bottom
    zor::TxtLines TitleLines;
    TZORFontMetrics TitleMetrics;
    std::vector<TZORColumnLayout> Columns;
    std::vector<int64_t> LinePos;
    int32_t Shown = 0;
    bool Overflow = false;
    int64_t TitleHeight = 0;
    int64_t HeaderHeight = 0;
    int64_t BodyTop = 0; // top of the first data line
    int64_t FooterTop = 0;
    int64_t FooterHeight = 0;
    int64_t Bottom = 0;

    // The top of data line i (0-based), i < Shown (or the sample line in design).
    int64_t LineTop(int32_t i) const;
};

// Lays a text out in a cell's font into a box W wide and H high (no limit when H is 0) inside
// the paddings: fills the lines and the font's metrics, and gives the box height, or without a
// limit the height the lines take (0 for no line).
using TZORCellLayoutFunc = std::function<int32_t(const QString& text, const TZORTableCell& cell, int32_t W,
    int32_t H, int32_t padX, int32_t padY, zor::TxtLines& lines, TZORFontMetrics& metrics)>;

class QUINDLE_RTL_EXPORT TZORBaseTable : public TZORPadded<TZORBoxItem, 500> {
public:
    static constexpr int32_t MaxColumns = 256;
    static constexpr int32_t MaxRows = 65535;
    static constexpr float MaxLength = 1000.0f; // millimetres
    static constexpr float DefaultHeight = 6.0f;

    TZORBaseTable(TZORBaseLabel* aOwner, bool aPreview);
    TZORBaseTable(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::Table; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // The record goes on with the title and the columns.
    zor::TJsonObject WriteJson() const override;
    void ReadJson(int32_t version, const zor::TJsonObject& o) override;
    void WriteData(zor::TBinaryWriter& w) const override;
    void ReadData(int32_t version, zor::TBinaryReader& r, TZORReadType readType) override;
    // A table reading a data set prints each label's lines through its print pass.
    bool GetIsData() const override { return !fDataSet.isEmpty(); }

    // --- Columns, 1-based ---
    int32_t GetColumnCount() const { return int32_t(fColumns.size()); }
    int32_t GetColumns() const { return GetColumnCount(); }
    // At least one column: new ones share the width the old ones leave.
    void SetColumns(int32_t n);
    TZORColumn* GetColumn(int32_t i);
    const TZORColumn* GetColumn(int32_t i) const;
    // The column's width in paper micrometres: Round(table width × percent / 100).
    int64_t ColumnWidth(int32_t i) const;

    // The most data lines read from the data set.
    int32_t GetRows() const { return fRows; }
    void SetRows(int32_t n) { fRows = std::clamp(n, 0, MaxRows); }
    // The data set whose records are the lines; empty for a table without data.
    const QString& GetDataSet() const { return fDataSet; }
    void SetDataSet(const QString& name) { fDataSet = name; }

    TZORTableCell& Title() { return fTitle; }
    const TZORTableCell& Title() const { return fTitle; }
    bool HasTitle() const { return fTitle.Visible && fTitleHeight > 0.0f; }
    // Heights in millimetres on paper; a header or footer height of 0 leaves the band out.
    float GetTitleHeight() const { return fTitleHeight; }
    float GetHeaderHeight() const { return fHeaderHeight; }
    float GetLineHeight() const { return fLineHeight; }
    float GetFooterHeight() const { return fFooterHeight; }
    void SetTitleHeight(float h) { fTitleHeight = SaneLength(h); }
    void SetHeaderHeight(float h) { fHeaderHeight = SaneLength(h); }
    void SetLineHeight(float h) { fLineHeight = SaneLength(h); }
    void SetFooterHeight(float h) { fFooterHeight = SaneLength(h); }
    // With a fixed height the lines fill the element's box and the footer sits at its bottom;
    // without, they may run on to the label's bottom edge and the footer follows them.
    bool GetFixedHeight() const { return fFixedHeight; }
    void SetFixedHeight(bool f) { fFixedHeight = f; }
    TZORGridType GetGridType() const { return fGridType; }
    void SetGridType(TZORGridType t) { fGridType = std::min(t, TZORGridType::Both); }
    zor::TAlphaColor GetGridColor() const { return fGridColor; }
    void SetGridColor(zor::TAlphaColor c) { fGridColor = c; }
    // Millimetres on paper.
    float GetGridWidth() const { return fGridWidth; }
    void SetGridWidth(float w) { fGridWidth = SaneLength(w); }

    // The box in paper micrometres.
    int64_t BaseScaleWidth() const { return GetBaseWidth() / DrawScale(); }
    int64_t BaseScaleHeight() const { return GetBaseHeight() / DrawScale(); }
    // The room the data lines may take below the table's top, paper micrometres: the box's
    // height with a fixed height, else the label's height below point 1.
    int64_t Room() const;

    // The data lines of the current label: per line the shown text of every column, then the
    // unformatted value of every column (what the aggregates read). None for a table without a
    // data set, or when the data set cannot be read.
    std::vector<QStringList> ReadLines() const;
    // The text a column's footer shows for the data lines (as ReadLines gives them): the footer
    // cell's text followed by the aggregate.
    QString FooterText(int32_t column, const std::vector<QStringList>& lines) const;

    // The whole table laid out: the editor's view (the sample line), or the given data lines.
    TZORTableLayout Layout(
        bool design, const std::vector<QStringList>& lines, const TZORCellLayoutFunc& cell) const;
    // The editor's layout, kept by the renderer's CalcValues.
    const TZORTableLayout& GetLayout() const { return fLayout; }
    void SetLayout(TZORTableLayout layout) { fLayout = std::move(layout); }

protected:
    void AfterRead() override;

private:
    static float SaneLength(float v) { return zor::ClampFloat(v, 0.0f, MaxLength, 0.0f); }
    int64_t Paper(float mm) const { return zor::Round(double(mm) * 1000.0); }
    void LayOutColumnCells(TZORTableLayout& t, const TZORCellLayoutFunc& cell) const;
    void LayOutFooters(
        TZORTableLayout& t, const std::vector<QStringList>& lines, const TZORCellLayoutFunc& cell) const;
    void LayOutDataLines(
        TZORTableLayout& t, const std::vector<QStringList>& lines, const TZORCellLayoutFunc& cell) const;
    void CloseLines(TZORTableLayout& t, int64_t lastBottom) const;

    std::vector<TZORColumn> fColumns;
    int32_t fRows = 100;
    QString fDataSet;
    TZORTableCell fTitle;
    float fTitleHeight = 0.0f;
    float fHeaderHeight = DefaultHeight;
    float fLineHeight = DefaultHeight;
    float fFooterHeight = 0.0f;
    bool fFixedHeight = false;
    TZORGridType fGridType = TZORGridType::Both;
    zor::TAlphaColor fGridColor = zor::claBlack;
    float fGridWidth = 0.2f;
    TZORTableLayout fLayout; // derived, never stored
};

namespace zor {

// A value read as a number whatever the system's locale: "." is the decimal point, no group
// separators; surrounding spaces are ignored. None for anything else.
QUINDLE_RTL_EXPORT std::optional<double> ParseNumber(const QString& text);
// An aggregate of the values that read as numbers (Count counts the values that are not empty).
// Min, Max, Mean and Median of no number, and Sum of none, are none and 0; the variance
// (of a sample: divided by n − 1) and the standard deviation of one number are 0.
QUINDLE_RTL_EXPORT std::optional<double> Aggregate(TZORFooter kind, const QStringList& values);
// The aggregate formatted by a float pattern (empty: the plain number); "" when there is none.
QUINDLE_RTL_EXPORT QString FormatAggregate(
    TZORFooter kind, const QStringList& values, const QString& pattern);

} // namespace zor
