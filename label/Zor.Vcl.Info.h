#pragma once

#include "drawing/Zor.VclExport.h"

#include <QString>
#include <QStringList>

// What this build of the library is and what it can read, for host programs that report it.
namespace zor {

QUINDLE_VCL_EXPORT QString LibraryVersion();
// File extensions of label files that can be loaded, with the leading dot.
QUINDLE_VCL_EXPORT QStringList ReadableLabelFormats();
// Image formats that image elements and layer backgrounds can decode, lower case.
QUINDLE_VCL_EXPORT QStringList ReadableImageFormats();

} // namespace zor
