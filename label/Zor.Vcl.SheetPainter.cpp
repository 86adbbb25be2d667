#include "Zor.Vcl.SheetPainter.h"

#include "Zor.Utils.h"
#include "Zor.Vcl.Sheet.h"
#include "Zor.Vcl.h"
#include "drawing/Zor.Vcl.Types.h"

#include <algorithm>

namespace zor {

TSheetPainter::TSheetPainter(const TZORLabelVCL& label, TSheetTarget target, TZORDraw& P, TZORDraw* screen)
    : fLabel(label)
    , fTarget(target)
    , fPrint(P)
    , fScreen(target == TSheetTarget::Print ? nullptr : screen)
    , fReader(label.Data())
{
}

bool TSheetPainter::Shows(const TZORBaseItem& item) const
{
    return fTarget == TSheetTarget::Export ? Exported(item) : Printable(item);
}

void TSheetPainter::PaintSheet(int64_t sheet, int32_t dpiX, int32_t dpiY)
{
    const TZORPrintRun& run = fLabel.PrintRun();
    const bool prepared = run.sheetCount > 0;
    const TZORMeasure& m = fLabel.Measure();
    const int32_t rows = prepared ? run.rows : std::clamp(m.GetNuHor(), 1, TZORPrintRun::MaxSide);
    const int32_t columns = prepared ? run.columns : std::clamp(m.GetNuVer(), 1, TZORPrintRun::MaxSide);
    const std::vector<TZORRecord> records
        = prepared ? fLabel.SheetRecords(sheet, fReader) : std::vector<TZORRecord>();
    for (int32_t row = 1; row <= rows; ++row)
        for (int32_t column = 1; column <= columns; ++column) {
            if (prepared && run.LabelAt(sheet, row, column) < 0)
                continue;
            for (TZORDraw* D : { &fPrint, fScreen })
                if (D) {
                    D->fSheetRow = int16_t(row);
                    D->fSheetCol = int16_t(column);
                }
            const TZORRecord* record
                = prepared ? &records[size_t((row - 1) * columns + column - 1)] : nullptr;
            Paint(SheetLabelOrigin(m, row, column, dpiX, dpiY), record);
        }
}

void TSheetPainter::PaintLabel(QPointF origin)
{
    Paint(origin, nullptr);
}

void TSheetPainter::Paint(QPointF origin, const TZORRecord* record)
{
    fPrint.fOrgX = ClampToInt32(Round(origin.x()));
    fPrint.fOrgY = ClampToInt32(Round(origin.y()));
    fPrint.fRecord = record;
    if (fScreen) {
        fScreen->fOrgFX = float(origin.x());
        fScreen->fOrgFY = float(origin.y());
        fScreen->fRecord = record;
        fLabel.DrawBackImage(fScreen->kC, *fScreen);
    } else {
        fLabel.PrintBackImage(fPrint);
    }
    for (int32_t i = 1; i <= fLabel.GetItemsCount(); ++i) {
        const TZORBaseItem& item = *fLabel.GetItem(i);
        if (!Shows(item))
            continue;
        if (!fScreen || item.GetIsData())
            item.PrintElement(fPrint);
        else
            item.DrawElement(*fScreen);
    }
    fPrint.fRecord = nullptr;
    if (fScreen)
        fScreen->fRecord = nullptr;
}

} // namespace zor
