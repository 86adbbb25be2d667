#pragma once

// What the Designer plugin's tests share: the plugin as Designer loads it, a Designer core
// with an extension manager, and a data set a host form holds.

#include "Zor.Data.h"

#include <QObject>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

namespace zor::test {

// The plugin's file in the build tree.
QString DesignPluginFile();
// The plugin's components, loaded with QPluginLoader; a plugin that does not load fails the test.
QList<QDesignerCustomWidgetInterface*> DesignComponents();
// The component of that class name; null when the plugin has none.
QDesignerCustomWidgetInterface* DesignComponent(const QString& className);

// Designer's core as far as the task menus need it: an extension manager.
class TDesignCore : public QDesignerFormEditorInterface {
public:
    TDesignCore() { setExtensionManager(new QExtensionManager(this)); }
};

// The one core the run's components are initialised with (a component is initialised once).
TDesignCore& DesignCore();

// A data set on a host's form: a named object that holds records.
class TFormDataSet : public QObject, public TZORMemoryDataSet {
public:
    TFormDataSet(QObject* form, const QString& name, const QStringList& fields)
        : QObject(form)
        , TZORMemoryDataSet(Fields(fields), {})
    {
        setObjectName(name);
    }

private:
    static TZORDataFields Fields(const QStringList& names)
    {
        TZORDataFields fields;
        for (const QString& name : names)
            fields.emplace_back(name, TZORFieldType::String);
        return fields;
    }
};

} // namespace zor::test
