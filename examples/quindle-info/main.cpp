#include "label/Zor.Vcl.Info.h"

#include <QGuiApplication>
#include <QTextStream>

// Reports the library's version and the files it can read.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    out << "quindle " << zor::LibraryVersion() << "\n";
    out << "label files: " << zor::ReadableLabelFormats().join(QStringLiteral(", ")) << "\n";
    out << "images: " << zor::ReadableImageFormats().join(QStringLiteral(", ")) << "\n";
    return 0;
}
