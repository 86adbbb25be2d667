#include "Zor.Vcl.Rank.h"

#include "elements/text/Zor.Vcl.Text.Frame.h"

#include <algorithm>
#include <vector>

using zor::StarPoints;
using zor::TGPGraphicsPath;

namespace {

TGPGraphicsPath CellShape(TZORRankType type, const QRectF& cell)
{
    TGPGraphicsPath path;
    const auto at = [&](double x, double y) {
        return QPointF(cell.left() + cell.width() * x, cell.top() + cell.height() * y);
    };
    switch (type) {
    case TZORRankType::Rectangle:
        path.AddRectangle(cell);
        break;
    case TZORRankType::Oval:
        path.AddEllipse(cell.x(), cell.y(), cell.width(), cell.height());
        break;
    case TZORRankType::Star: {
        std::vector<QPointF> corners;
        for (const auto& [x, y] : StarPoints)
            corners.push_back(at(x / 100.0, y / 100.0));
        path.AddLines(corners);
        path.CloseFigure();
        break;
    }
    case TZORRankType::Rhombus:
        path.AddLines({ at(0.5, 0.0), at(1.0, 0.5), at(0.5, 1.0), at(0.0, 0.5) });
        path.CloseFigure();
        break;
    }
    return path;
}

// The number of filled cells: the element's own position on screen, on paper the bound data's
// whole number (0 for a text that is none).
int FilledCells(const TZORBaseRank& rank, zor::TZORTarget target, const TZORBaseDraw& D)
{
    if (target == zor::TZORTarget::Screen || rank.FillType() == 0)
        return rank.GetPosition();
    bool ok = false;
    const int value = zor::PrintedValue(rank, QString(), D).trimmed().toInt(&ok);
    return ok ? std::max(value, 0) : 0;
}

} // namespace

void TZORRank::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    zor::TZORPainter P(D, target);
    const QRectF box = P.Box(GetPoint(1), GetPoint(2)).normalized();
    const int n = std::max<int>(GetMaximum(), 1);
    const double g = D.GetDrawX(GetBaseGap());
    const bool vertical
        = GetRankPos() == TZORRankPos::BottomToTop || GetRankPos() == TZORRankPos::TopToBottom;
    const double length = vertical ? box.height() : box.width();
    const double cross = vertical ? box.width() : box.height();
    // Square cells as long as the length allows; a frame too narrow for them shrinks them to the
    // cross size and centres the run along the length.
    double c = (length - (n + 1) * g) / n;
    double along = g, across = (cross - c) / 2.0;
    if (!(cross - 2.0 * g > c)) {
        c = cross - 2.0 * g;
        across = g;
        along = (length - (n - 1) * g - n * c) / 2.0;
    }
    if (!(c > 0.0))
        return;
    const bool backwards
        = GetRankPos() == TZORRankPos::RightToLeft || GetRankPos() == TZORRankPos::BottomToTop;
    const int filled = FilledCells(*this, target, D);
    const zor::TZORStroke outline { GetColor(), GetPenWidth(), TZORineType::Solid, TZORItemState::Normal,
        false };
    for (int i = 0; i < n; ++i) {
        const bool full = i < filled;
        if (!full && !GetDrawEmpty())
            continue;
        const double step = along + (backwards ? n - 1 - i : i) * (c + g);
        const QPointF corner = vertical ? QPointF(box.left() + across, box.top() + step)
                                        : QPointF(box.left() + step, box.top() + across);
        zor::TZORFigurePaint how;
        if (!full)
            how.Fill = GetEmptyColor();
        else if (GetFilled())
            how.Fill = GetBackColor();
        if (GetPenWidth() > 0.0f)
            how.Outline = outline;
        P.FillThenOutline(CellShape(GetRankType(), QRectF(corner, QSizeF(c, c))), how);
    }
}
