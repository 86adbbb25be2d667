#include "Zor.Vcl.Table.h"

#include "Zor.Vcl.Composite.Text.h"
#include "drawing/Zor.Vcl.Types.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <cmath>
#include <optional>

using zor::TGPGraphicsPath;
using zor::TxtLines;
using zor::TZORElementPainter;

namespace {

int32_t LayOutCell(const QString& text, const TZORTableCell& cell, int32_t W, int32_t H, int32_t padX,
    int32_t padY, TxtLines& lines, TZORFontMetrics& metrics)
{
    metrics = zor::FontMetricsOf(cell.FontName, cell.BaseFontHeight(), cell.Bold, cell.Italic);
    lines.clear();
    if (W <= 0)
        return 0;
    return TZORCalc::CalcTxtPts(
        text, nullptr, lines, W, H, padX, padY, cell.HorzAlign, cell.VertAlign, cell.Interline);
}

// Paints one layout of a table on one target: device geometry from the box of the element,
// paper micrometres of the layout through the painter's millimetres.
class TTablePainter {
public:
    TTablePainter(
        TZORElementPainter& P, const TZORBaseTable& table, const TZORTableLayout& layout, const QRectF& box)
        : P(P)
        , T(table)
        , L(layout)
        , fBox(box)
    {
    }

    void Paint()
    {
        const QRectF whole(fBox.left(), fBox.top(), fBox.width(), Y(L.Bottom));
        if (T.GetFilled() && (!P.OnScreen() || T.Alpha() > 0))
            P.Fill(zor::RoundedBox(whole, 0, 0), T.GetBackColor());
        Title();
        Columns();
        Grid();
        if (T.GetPenWidth() > 0.0f)
            P.Stroke(zor::RoundedBox(whole, 0, 0), zor::TZORStroke::Of(T));
    }

private:
    double X(int64_t um) const { return P.MMX(double(um) / 1000.0); }
    double Y(int64_t um) const { return P.MMY(double(um) / 1000.0); }
    double ColumnLeft(int32_t i) const
    {
        double x = fBox.left();
        for (int32_t c = 1; c < i; ++c)
            x += fBox.width() * double(T.GetColumn(c)->Width) / 100.0;
        return x;
    }
    double ColumnWidth(int32_t i) const { return fBox.width() * double(T.GetColumn(i)->Width) / 100.0; }

    void Back(const TZORTableCell& cell, const QRectF& r)
    {
        if (cell.FillBack && r.height() > 0)
            P.Fill(zor::RoundedBox(r, 0, 0), cell.BackColor);
    }

    void Text(const TZORTableCell& cell, const TZORFontMetrics& m, const TZORRowCol& row, const QPointF& at)
    {
        const zor::TZORTurn turn { at, TZORAngle::Angle0, 0.0, 0.0 };
        const zor::TZORTextLook look { cell.FontName, cell.Bold, cell.Italic, cell.Underline, cell.FontHeight,
            m.Ratio, cell.FontColor };
        for (const TZORTxtInf& line : row.Lines)
            zor::WriteText(P, turn, X(line.x), Y(line.y), zor::LineText(row.Text, line), look);
    }

    void Title()
    {
        if (L.TitleHeight <= 0)
            return;
        Back(T.Title(), QRectF(fBox.left(), fBox.top(), fBox.width(), Y(L.TitleHeight)));
        Text(T.Title(), L.TitleMetrics, { 0, L.TitleLines, T.Title().Text, true, 0 }, fBox.topLeft());
    }

    void Columns()
    {
        const double bodyTop = fBox.top() + Y(L.BodyTop), bottom = fBox.top() + Y(L.Bottom);
        const double footerTop = fBox.top() + Y(L.FooterTop);
        for (int32_t i = 1; i <= T.GetColumnCount() && size_t(i) <= L.Columns.size(); ++i) {
            const TZORColumn& c = *T.GetColumn(i);
            const TZORColumnLayout& l = L.Columns[size_t(i - 1)];
            const double x = ColumnLeft(i), w = ColumnWidth(i);
            if (l.Header.Filled) {
                Back(c.Header, QRectF(x, fBox.top() + Y(L.TitleHeight), w, Y(L.HeaderHeight)));
                Text(c.Header, l.Metrics[0], l.Header, QPointF(x, fBox.top() + Y(L.TitleHeight)));
            }
            Back(c.Line, QRectF(x, bodyTop, w, footerTop - bodyTop));
            if (L.Design)
                Text(c.Line, l.Metrics[1], l.Sample, QPointF(x, bodyTop));
            for (int32_t k = 0; k < int32_t(l.Data.size()); ++k)
                Text(c.Line, l.Metrics[1], l.Data[size_t(k)], QPointF(x, fBox.top() + Y(L.LineTop(k))));
            if (L.FooterHeight > 0)
                Back(c.FooterCell, QRectF(x, footerTop, w, bottom - footerTop));
            if (l.Footer.Filled)
                Text(c.FooterCell, l.Metrics[2], l.Footer, QPointF(x, footerTop));
        }
    }

    void Grid()
    {
        const TZORGridType type = T.GetGridType();
        if (type == TZORGridType::None || T.GetGridWidth() <= 0.0f)
            return;
        TGPGraphicsPath grid;
        const double bottom = fBox.top() + Y(L.Bottom);
        if (type == TZORGridType::Vertical || type == TZORGridType::Both)
            for (int32_t i = 2; i <= T.GetColumnCount(); ++i) {
                const double x = ColumnLeft(i);
                grid.StartFigure();
                grid.AddLine(x, fBox.top() + Y(L.TitleHeight), x, bottom);
            }
        if (type == TZORGridType::Horizontal || type == TZORGridType::Both)
            for (size_t k = 0; k + 1 < L.LinePos.size(); ++k) {
                const double y = fBox.top() + Y(L.LinePos[k]);
                grid.StartFigure();
                grid.AddLine(fBox.left(), y, fBox.right(), y);
            }
        P.Stroke(
            grid, { T.GetGridColor(), T.GetGridWidth(), TZORineType::Solid, TZORItemState::Normal, false });
    }

    TZORElementPainter& P;
    const TZORBaseTable& T;
    const TZORTableLayout& L;
    QRectF fBox;
};

} // namespace

void TZORTable::CalcValues(int16_t aFlag)
{
    TZORBaseTable::CalcValues(aFlag);
    SetLayout(Layout(true, {}, LayOutCell));
}

void TZORTable::Draw(TZORBaseDraw& D) const
{
    TZORElementPainter P(D, zor::TZORTarget::Screen);
    if (!P.Context().kC || !P.Context().kP)
        return;
    const QRectF box = P.Box(GetPoint(1), GetPoint(2)).normalized();
    if (P.InEditor()) {
        // A layout not made since the columns changed is made for this pass alone.
        std::optional<TZORTableLayout> fresh;
        if (GetLayout().Columns.size() != size_t(GetColumnCount()))
            fresh = Layout(true, {}, LayOutCell);
        TTablePainter(P, *this, fresh ? *fresh : GetLayout(), box).Paint();
        P.DataMarker(*this, P.At(GetPoint(1)));
        return;
    }
    const TZORTableLayout layout = Layout(false, ReadLines(), LayOutCell);
    TTablePainter(P, *this, layout, box).Paint();
}

// The lines are read for the label being printed and laid out for this call alone.
void TZORTable::Print(TZORBaseDraw& D) const
{
    TZORElementPainter P(D, zor::TZORTarget::Print);
    if (!P.Context().aG)
        return;
    const QRectF box = QRectF(P.AtWhole(GetPoint(1)), P.AtWhole(GetPoint(2))).normalized();
    const TZORTableLayout layout = Layout(false, ReadLines(), LayOutCell);
    TTablePainter(P, *this, layout, box).Paint();
}
