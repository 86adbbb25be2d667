#include "DesignerWindow.h"

#include <QApplication>
#include <QCommandLineParser>

// The example label designer: opens the label given, else the bundled sample label.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quindle-designer"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The quindle example label designer."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("label"), QStringLiteral("A label file (.json or .eti) to open."));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    TDesignerWindow window;
    window.OpenLabel(files.isEmpty() ? QStringLiteral(QUINDLE_SAMPLE_LABEL) : files.first());
    window.show();
    return QApplication::exec();
}
