#include "Zor.Vcl.Info.h"

#include "Zor.LibVersion.h"

#include <QImageReader>

namespace zor {

QString LibraryVersion()
{
    return QStringLiteral(QUINDLE_VERSION_STR);
}

QStringList ReadableLabelFormats()
{
    return { QStringLiteral(".eti"), QStringLiteral(".json") };
}

QStringList ReadableImageFormats()
{
    QStringList formats;
    for (const QByteArray& f : QImageReader::supportedImageFormats())
        formats << QString::fromLatin1(f).toLower();
    formats.removeDuplicates();
    return formats;
}

} // namespace zor
