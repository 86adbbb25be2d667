#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QApplication>

// Places a text on a label and saves it as JSON to the file named on the command line.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TZORLabelVCL label;
    TZORFactory::AddText(label, 10, 10)->SetText(QStringLiteral("Installed"));
    label.SaveToFile(QString::fromLocal8Bit(argv[1]), TZORExt::Json);
    return label.GetItemsCount() == 1 ? 0 : 1;
}
