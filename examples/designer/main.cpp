#include "DesignerWindow.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

// Whether a window can be shown: a platform named, or a display to show it on.
bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

// The example label designer: opens the label given, else an untitled copy of the bundled sample.
int main(int argc, char** argv)
{
    if (!HasDisplay()) {
        std::fputs("quindle-designer: there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
                   "are not set).\nRun it in a desktop session, or in an X server such as Xvfb.\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quindle-designer"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The quindle example label designer."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("label"), QStringLiteral("A label file (.json or .eti) to open."));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    TDesignerWindow window;
    if (files.isEmpty())
        window.OpenCopy(QStringLiteral(QUINDLE_SAMPLE_LABEL));
    else
        window.OpenLabel(files.first());
    window.show();
    return QApplication::exec();
}
