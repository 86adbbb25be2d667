#include "Zor.DesignPlugin.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QtDesigner/QDesignerFormWindowInterface>

TZORDesignWidget::TZORDesignWidget(TZORComponentRecord record, QObject* parent)
    : QObject(parent)
    , fRecord(std::move(record))
{
}

QIcon TZORDesignWidget::icon() const
{
    // The palette's mark: the component's initial on a tile.
    QPixmap tile(22, 22);
    tile.fill(Qt::white);
    QPainter p(&tile);
    p.drawRect(0, 0, 21, 21);
    p.drawText(tile.rect(), Qt::AlignCenter, fRecord.ClassName.mid(4, 1));
    return QIcon(tile);
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
    return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\"/>%3</ui>")
        .arg(fRecord.ClassName, objectName, fRecord.CustomWidgetXml);
}

TZORDesignPlugin::TZORDesignPlugin(QObject* parent)
    : QObject(parent)
{
    for (TZORComponentRecord& record : zor::Register())
        fWidgets << new TZORDesignWidget(std::move(record), this);
}
