#include "Zor.Vcl.Reg.h"

#include "Zor.LabelTaskMenu.h"
#include "dialogs/Zor.Preview.h"
#include "dialogs/Zor.Spinfloat.h"
#include "dialogs/Zor.Viewlibrary.h"
#include "editor/Zor.Vcl.Editor.h"
#include "inspector/Zor.Inspector.h"
#include "dialogs/Zor.Vcl.Component.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>

namespace {

// The size a view asks for; none for a control sized by its content.
template <class W> QSize DefaultSizeOf()
{
    if constexpr (requires { W::DefaultSize; })
        return W::DefaultSize;
    else
        return {};
}

// A control that is the same in Designer and at run time.
template <class W> TZORComponentRecord Control(const char* className, const char* includeFile, const char* toolTip)
{
    return { QString::fromLatin1(className), QString::fromLatin1(includeFile), QString::fromLatin1(toolTip),
        [](QWidget* parent, bool) -> QWidget* { return new W(parent); }, DefaultSizeOf<W>(), QString(), {} };
}

TZORComponentRecord LabelComponent()
{
    TZORComponentRecord record = Control<TZORLabelComponent>(
        "TZORLabelComponent", "dialogs/Zor.Vcl.Component.h", "The label the form's views show");
    record.Create = [](QWidget* parent, bool design) -> QWidget* {
        auto* component = new TZORLabelComponent(parent);
        component->SetDesignMode(design);
        return component;
    };
    record.CustomWidgetXml = QStringLiteral(
        "<customwidgets><customwidget><class>TZORLabelComponent</class><propertyspecifications>"
        "<stringpropertyspecification name=\"DataJson\" notr=\"true\" type=\"multiline\"/>"
        "<stringpropertyspecification name=\"DataSets\" notr=\"true\" type=\"multiline\"/>"
        "</propertyspecifications></customwidget></customwidgets>");
    record.Initialize = [](QDesignerFormEditorInterface& core) {
        QExtensionManager* manager = core.extensionManager();
        manager->registerExtensions(new TZORLabelTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
    };
    return record;
}

} // namespace

namespace zor {

std::vector<TZORComponentRecord> Register()
{
    return {
        LabelComponent(),
        Control<TZOREditor>("TZOREditor", "editor/Zor.Vcl.Editor.h", "The label editor"),
        Control<TZORInspector>("TZORInspector", "inspector/Zor.Inspector.h", "The property inspector"),
        Control<TZORPreview>("TZORPreview", "dialogs/Zor.Preview.h", "The label's preview"),
        Control<TZORViewLibrary>("TZORViewLibrary", "dialogs/Zor.Viewlibrary.h", "The symbol library viewer"),
        Control<TZORSpinEditFloat>("TZORSpinEditFloat", "dialogs/Zor.Spinfloat.h", "A decimal spin edit"),
    };
}

} // namespace zor
