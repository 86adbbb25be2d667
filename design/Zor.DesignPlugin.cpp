#include "Zor.DesignPlugin.h"

#include <QIcon>
#include <QtDesigner/QDesignerFormWindowInterface>

TZORDesignWidget::TZORDesignWidget(TZORComponentRecord record, QObject* parent)
    : QObject(parent)
    , fRecord(std::move(record))
{
}

QIcon TZORDesignWidget::icon() const
{
    return QIcon(QStringLiteral(":/quindle/design/%1.png").arg(fRecord.ClassName));
}

QWidget* TZORDesignWidget::createWidget(QWidget* parent)
{
    return fRecord.Create(parent, QDesignerFormWindowInterface::findFormWindow(parent) != nullptr);
}

void TZORDesignWidget::initialize(QDesignerFormEditorInterface* core)
{
    if (fCore || !core)
        return;
    fCore = core;
    if (fRecord.Initialize)
        fRecord.Initialize(*core);
}

QString TZORDesignWidget::domXml() const
{
    const QString objectName = fRecord.ClassName.mid(4);
    QString geometry;
    if (fRecord.DefaultSize.isValid())
        geometry = QStringLiteral("<property name=\"geometry\"><rect><x>0</x><y>0</y>"
                                  "<width>%1</width><height>%2</height></rect></property>")
                       .arg(fRecord.DefaultSize.width())
                       .arg(fRecord.DefaultSize.height());
    return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\">%3</widget>%4</ui>")
        .arg(fRecord.ClassName, objectName, geometry, fRecord.CustomWidgetXml);
}

TZORDesignPlugin::TZORDesignPlugin(QObject* parent)
    : QObject(parent)
{
    for (TZORComponentRecord& record : zor::Register())
        fWidgets << new TZORDesignWidget(std::move(record), this);
}
