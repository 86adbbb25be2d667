#pragma once

#include "drawing/Zor.VclExport.h"

#include <QPointF>

#include <cstdint>

class TZORBaseItem;
class TZORBaseLabel;
class TZORMeasure;

// The sheet a print run fills, as every target that shows whole sheets walks it.
namespace zor {

// The elements a label prints: those that print themselves on a layer that prints. The sheet
// copies are left out: they stand at the original's place and would show it twice.
QUINDLE_VCL_EXPORT bool Printable(const TZORBaseItem& item);
// The elements a label exports: those shown and exported on a layer shown and exported (sheet
// copies left out as above).
QUINDLE_VCL_EXPORT bool Exported(const TZORBaseItem& item);

// The labels of a sheet lie on its paper: a grid that runs off it would lose labels without a
// word. Raises EZORError naming the sizes. Export and print check it before they write a sheet.
QUINDLE_VCL_EXPORT void CheckSheetFits(const TZORBaseLabel& label);

// The top left corner of the label at (row, column) of a sheet (both from 1), in device pixels
// at dpiX x dpiY: the margins plus (index - 1) pitches of label size and gap, paper lengths.
QUINDLE_VCL_EXPORT QPointF SheetLabelOrigin(
    const TZORMeasure& m, int32_t row, int32_t column, int32_t dpiX, int32_t dpiY);

} // namespace zor
