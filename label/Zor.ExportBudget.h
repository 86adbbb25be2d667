#pragma once

#include <QSizeF>
#include <QString>

#include <cstdint>

namespace zor {

// The CPUs this process may run on (its affinity mask, which a container or `taskset` narrows),
// at least 1.
int UsableCpus();

// The bytes the sheet images of one export may take together: a quarter of the memory the
// process may use (the physical memory, or its address space limit when that is lower).
int64_t ImageBudget();

// The bytes of one sheet image of pixels (rounded to whole pixels), 32 bits a pixel.
int64_t SheetImageBytes(const QSizeF& pixels);

// The sheet image's size for messages: "W × H pixels (N MB)".
QString SheetImageSize(const QSizeF& pixels);

// How many sheets of pixels an export of `sheets` draws at once: `asked` (0: one per usable CPU),
// no more than there are sheets, nor than the budget holds images. Raises EZORError naming the
// file and the image's size when one image alone is more than the budget.
int ExportWorkers(const QString& fileName, const QSizeF& pixels, int64_t sheets, int asked, int64_t budget);

} // namespace zor
