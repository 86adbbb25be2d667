#include "editor/Zor.Vcl.Editor.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "inspector/Zor.Inspector.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPluginLoader>
#include <QTimer>
#include <QWidget>

// Shows the editor and the inspector side by side on a label with a selected text, then closes
// the window as a user does; exits with 0 when the inspector listed the text's properties and
// the window closed. Loads the Designer plugin named on the command line first, as Designer does.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && !QPluginLoader(QString::fromLocal8Bit(argv[1])).instance())
        return 2;
    TZORLabelVCL label;
    TZORBaseItem* text = TZORFactory::AddText(label, 10, 10);
    QWidget window;
    auto* editor = new TZOREditor(&window);
    auto* inspector = new TZORInspector(&window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(editor, 1);
    layout->addWidget(inspector);
    editor->SetLabel(&label);
    inspector->SetLabel(&label);
    label.Select(text);
    window.resize(900, 600);
    window.show();
    QTimer::singleShot(0, &window, &QWidget::close);
    const int closed = QApplication::exec();
    return closed == 0 && inspector->Rows().Count() > 0 ? 0 : 1;
}
