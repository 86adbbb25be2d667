#pragma once

#include <QString>
#include <QStringList>

// What this build of the library is and what it can read, for host programs that report it.
namespace zor {

QString LibraryVersion();
// File extensions of label files that can be loaded, with the leading dot.
QStringList ReadableLabelFormats();
// Image formats that image elements and layer backgrounds can decode, lower case.
QStringList ReadableImageFormats();

} // namespace zor
