#pragma once

#include "Zor.Data.h"
#include "drawing/Zor.VclExport.h"

#include <QPointF>

#include <cstdint>
#include <vector>

class TZORBaseItem;
class TZORDraw;
class TZORLabelVCL;

namespace zor {

// What a sheet painter shows and how: print shows the elements that print, each through its
// print pass, and the background as the printer draws it; the preview shows the same elements
// as it shows the screen; export shows the elements that export. On the screen targets an
// element bound to data goes through its print pass, which shows the record, and any other
// through its screen pass, which shows its own value as in the editor.
enum class TSheetTarget : uint8_t { Print, Preview, Export };

// Paints the labels of a sheet: the one pass that print, preview and export share. Each label
// position gets its own record, read apart from the label's data cursor, which drawing never
// moves: the painter reads the label's data, sheet and elements as they are, so painters on
// several threads, each with contexts of its own, may paint one label at once.
class QUINDLE_VCL_EXPORT TSheetPainter {
public:
    // P is the print pass; screen the screen pass (only Preview and Export use it). The
    // contexts are set up by the caller and must outlive the painter.
    TSheetPainter(const TZORLabelVCL& label, TSheetTarget target, TZORDraw& P, TZORDraw* screen = nullptr);

    // The label positions of a sheet of the label's run that hold a label, row by row, at
    // dpiX x dpiY device pixels per inch: on the first sheet from the run's first position, on
    // the last up to its last label. A run never prepared (no CheckPrintData) fills every
    // position of the sheet with the label's own values.
    void PaintSheet(int64_t sheet, int32_t dpiX, int32_t dpiY);
    // One label with its top left corner at origin (device pixels) and the cursor's record.
    void PaintLabel(QPointF origin);

private:
    void Paint(QPointF origin, const TZORRecord* record);
    bool Shows(const TZORBaseItem& item) const;

    const TZORLabelVCL& fLabel;
    TSheetTarget fTarget;
    TZORDraw& fPrint;
    TZORDraw* fScreen;
    TZORData::TPageReader fReader;
};

} // namespace zor
