#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QDesignerFormEditorInterface;
class QWidget;

// What Qt Designer learns of one component: its class, the header a generated form includes,
// how to make one, and what to set up in Designer before the first is made.
struct TZORComponentRecord {
    QString ClassName;
    QString IncludeFile;
    QString ToolTip;
    // A new component on parent; design is set for the widget Designer places on a form.
    std::function<QWidget*(QWidget* parent, bool design)> Create;
    // The size Designer drops a new one at; empty for a control that goes by its sizeHint.
    QSize DefaultSize;
    // Extra <customwidgets> markup of the component's Designer description (property kinds).
    QString CustomWidgetXml;
    // Run once with Designer's core (task menus and the like); may be empty.
    std::function<void(QDesignerFormEditorInterface& core)> Initialize;
};

namespace zor {

// The group Designer lists the components under.
inline const QString PalettePage = QStringLiteral("QUINDLE VCL STD");

// The components of the library, each with its record, in palette order.
std::vector<TZORComponentRecord> Register();

} // namespace zor
