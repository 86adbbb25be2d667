#include "DesignKit.h"

#include <QDir>
#include <QPluginLoader>

#include <gtest/gtest.h>

namespace zor::test {

QString DesignPluginFile()
{
    return QDir(QStringLiteral(QUINDLE_PLUGIN_DIR)).filePath(QStringLiteral("libquindle_design.so"));
}

QList<QDesignerCustomWidgetInterface*> DesignComponents()
{
    // One loader for the whole run: the instance lives until the program ends.
    static QPluginLoader loader(DesignPluginFile());
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    if (!collection) {
        ADD_FAILURE() << "the plugin does not load: " << loader.errorString().toStdString();
        return {};
    }
    return collection->customWidgets();
}

QDesignerCustomWidgetInterface* DesignComponent(const QString& className)
{
    for (QDesignerCustomWidgetInterface* component : DesignComponents()) {
        if (component->name() == className)
            return component;
    }
    return nullptr;
}

TDesignCore& DesignCore()
{
    // Lives as long as the plugin, which is never unloaded.
    static TDesignCore* core = [] {
        auto* c = new TDesignCore;
        for (QDesignerCustomWidgetInterface* component : DesignComponents())
            component->initialize(c);
        return c;
    }();
    return *core;
}

} // namespace zor::test
