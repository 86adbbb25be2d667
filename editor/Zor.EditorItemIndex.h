#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QRect>
#include <QRegion>

#include <cstdint>
#include <vector>

// Where the elements of a label reach on the page, for a paint pass that draws only what meets
// the part in view: one rectangle per element in drawing order, sorted into a uniform grid of
// cells, so that a question costs the cells it covers instead of a look at every element. An
// element that covers most of the grid is kept aside and looked at on every question.
class QUINDLE_WIDGETS_EXPORT TZORItemIndex {
public:
    // Takes the rectangles, one per element in drawing order.
    void Build(std::vector<QRect> rects);
    int32_t Size() const { return int32_t(fRects.size()); }
    const QRect& Rect(int32_t i) const { return fRects[size_t(i)]; }
    // The positions (0-based, ascending: the drawing order) of the rectangles that meet
    // region, each once.
    std::vector<int32_t> Query(const QRegion& region) const;

private:
    struct TCells {
        int Left, Top, Right, Bottom;
    };
    TCells CellsOf(const QRect& r) const;
    void Collect(const QRect& r, std::vector<int32_t>& found) const;
    bool Wide(const TCells& c) const;
    template <typename Visit> void ForEachCell(const TCells& c, Visit visit) const
    {
        for (int y = c.Top; y <= c.Bottom; ++y)
            for (int x = c.Left; x <= c.Right; ++x)
                visit(size_t(y) * size_t(fColumns) + size_t(x));
    }

    std::vector<QRect> fRects;
    QRect fArea; // the union of the rectangles
    int fColumns = 0, fRows = 0;
    int fCellW = 1, fCellH = 1;
    // The elements of cell c (row by row) are fFiled[fStarts[c]] up to fFiled[fStarts[c + 1]].
    std::vector<int32_t> fStarts;
    std::vector<int32_t> fFiled;
    std::vector<int32_t> fWide; // too large to file by cell
};
