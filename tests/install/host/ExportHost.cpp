// The version comes from the installed header, not from a definition the package adds to the
// host's build.
#ifdef QUINDLE_VERSION
#error "the package defined QUINDLE_VERSION for the host"
#endif

#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.Info.h"
#include "label/Zor.Vcl.h"
#include "rtl/Zor.LibVersion.h"

#include <QGuiApplication>

// Places a text on a label and saves it as JSON to the file named on the command line, with the
// drawing library alone. The library it runs with is the one it was built for.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TZORLabelVCL label;
    TZORFactory::AddText(label, 10, 10)->SetText(QStringLiteral("Installed"));
    label.SaveToFile(QString::fromLocal8Bit(argv[1]), TZORExt::Json);
    if (zor::LibraryVersion() != QStringLiteral(QUINDLE_VERSION_STR)
        || QUINDLE_VERSION < QUINDLE_VERSION_CHECK(0, 1, 0))
        return 3;
    return label.GetItemsCount() == 1 ? 0 : 1;
}
