#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QGuiApplication>
#include <QPluginLoader>

// Places a text on a label and saves it as JSON to the file named first on the command line;
// loads the Designer plugin named second.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TZORLabelVCL label;
    TZORFactory::AddText(label, 10, 10)->SetText(QStringLiteral("Installed"));
    label.SaveToFile(QString::fromLocal8Bit(argv[1]), TZORExt::Json);
    if (argc > 2 && !QPluginLoader(QString::fromLocal8Bit(argv[2])).load())
        return 2;
    return label.GetItemsCount() == 1 ? 0 : 1;
}
