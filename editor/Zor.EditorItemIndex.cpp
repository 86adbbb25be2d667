#include "Zor.EditorItemIndex.h"

#include <algorithm>
#include <cmath>

namespace {

// About one element per cell, within bounds that keep the grid small for any label.
constexpr int MaxSide = 512;
// An element filed in more cells than this is kept aside.
constexpr int64_t MaxCellsPerItem = 256;

} // namespace

void TZORItemIndex::Build(std::vector<QRect> rects)
{
    fRects = std::move(rects);
    fWide.clear();
    fArea = QRect();
    for (const QRect& r : fRects)
        fArea |= r;
    const int side = std::clamp(int(std::ceil(std::sqrt(double(fRects.size())))), 1, MaxSide);
    fColumns = fRows = side;
    fCellW = std::max(1, (fArea.width() + side - 1) / side);
    fCellH = std::max(1, (fArea.height() + side - 1) / side);
    // Counted first, then filed, so that the cells share one array.
    std::vector<TCells> spans;
    spans.reserve(fRects.size());
    fStarts.assign(size_t(fColumns) * size_t(fRows) + 1, 0);
    for (int32_t i = 0; i < Size(); ++i) {
        spans.push_back(CellsOf(fRects[size_t(i)]));
        if (Wide(spans.back()))
            fWide.push_back(i);
        else
            ForEachCell(spans.back(), [&](size_t c) { ++fStarts[c + 1]; });
    }
    for (size_t c = 1; c < fStarts.size(); ++c)
        fStarts[c] += fStarts[c - 1];
    fFiled.resize(size_t(fStarts.back()));
    std::vector<int32_t> next(fStarts.begin(), fStarts.end() - 1);
    for (int32_t i = 0; i < Size(); ++i)
        if (!Wide(spans[size_t(i)]))
            ForEachCell(spans[size_t(i)], [&](size_t c) { fFiled[size_t(next[c]++)] = i; });
}

bool TZORItemIndex::Wide(const TCells& c) const
{
    return int64_t(c.Right - c.Left + 1) * (c.Bottom - c.Top + 1) > MaxCellsPerItem;
}

TZORItemIndex::TCells TZORItemIndex::CellsOf(const QRect& r) const
{
    auto column = [&](int x) { return std::clamp((x - fArea.left()) / fCellW, 0, fColumns - 1); };
    auto row = [&](int y) { return std::clamp((y - fArea.top()) / fCellH, 0, fRows - 1); };
    return { column(r.left()), row(r.top()), column(r.right()), row(r.bottom()) };
}

void TZORItemIndex::Collect(const QRect& r, std::vector<int32_t>& found) const
{
    const QRect q = r & fArea;
    if (q.isEmpty())
        return;
    for (int32_t i : fWide)
        if (fRects[size_t(i)].intersects(q))
            found.push_back(i);
    ForEachCell(CellsOf(q), [&](size_t cell) {
        for (int32_t k = fStarts[cell]; k < fStarts[cell + 1]; ++k)
            if (const int32_t i = fFiled[size_t(k)]; fRects[size_t(i)].intersects(q))
                found.push_back(i);
    });
}

std::vector<int32_t> TZORItemIndex::Query(const QRegion& region) const
{
    std::vector<int32_t> found;
    for (const QRect& r : region)
        Collect(r, found);
    // An element filed in several cells, or meeting several rectangles, comes once.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}
