#pragma once

#include "Zor.Vcl.Reg.h"

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// One component as Qt Designer (and QUiLoader) sees it, described by its record.
class TZORDesignWidget : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TZORDesignWidget(TZORComponentRecord record, QObject* parent);

    QString name() const override { return fRecord.ClassName; }
    QString group() const override { return zor::PalettePage; }
    QString toolTip() const override { return fRecord.ToolTip; }
    QString whatsThis() const override { return fRecord.ToolTip; }
    QString includeFile() const override { return fRecord.IncludeFile; }
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    // A widget made inside a form window of Designer is made for design; anywhere else (uic,
    // QUiLoader, Designer's preview) it is the run-time widget.
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return fCore != nullptr; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    TZORComponentRecord fRecord;
    QDesignerFormEditorInterface* fCore = nullptr;
};

// The plugin: every component of the library, under the group "QUINDLE VCL STD".
class TZORDesignPlugin : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TZORDesignPlugin(QObject* parent = nullptr);

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return fWidgets; }

private:
    QList<QDesignerCustomWidgetInterface*> fWidgets;
};
