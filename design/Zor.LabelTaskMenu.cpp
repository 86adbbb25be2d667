#include "Zor.LabelTaskMenu.h"

#include "Zor.Measure.h"
#include "dialogs/Zor.DialogService.h"
#include "dialogs/Zor.Eddata.h"
#include "dialogs/Zor.Edjson.h"
#include "dialogs/Zor.Forms.h"
#include "dialogs/Zor.Vcl.Component.h"
#include "label/Zor.Vcl.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMetaProperty>
#include <QVBoxLayout>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>

TZORLabelTaskMenu::TZORLabelTaskMenu(TZORLabelComponent* component, QObject* parent)
    : QObject(parent)
    , fComponent(component)
{
    // The label's own text properties are all folders and files; the flattened ones of its
    // data and measure have their own editors below.
    const QMetaObject& label = TZORLabelVCL::staticMetaObject;
    for (int i = label.propertyOffset(); i < label.propertyCount(); ++i) {
        const QMetaProperty property = label.property(i);
        if (property.metaType().id() != QMetaType::QString)
            continue;
        const QString name = QString::fromLatin1(property.name());
        AddAction(QStringLiteral("actFolder") + name, name + QStringLiteral("..."), &TZORLabelTaskMenu::EditFolder,
            name);
    }
    AddAction(QStringLiteral("actJson"), QStringLiteral("DataJson..."), &TZORLabelTaskMenu::EditJson);
    AddAction(QStringLiteral("actPaper"), QStringLiteral("PaperName..."), &TZORLabelTaskMenu::EditPaper);
    AddAction(QStringLiteral("actDataSettings"), QStringLiteral("DATA SETTINGS"), &TZORLabelTaskMenu::EditData);
}

QAction* TZORLabelTaskMenu::AddAction(
    const QString& name, const QString& text, void (TZORLabelTaskMenu::*run)(const QString&), const QString& argument)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, run, argument] {
        if (fComponent)
            (this->*run)(argument);
    });
    fActions << action;
    return action;
}

void TZORLabelTaskMenu::Write(const char* property, const QVariant& value)
{
    if (QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(fComponent))
        form->cursor()->setWidgetProperty(fComponent, QString::fromLatin1(property), value);
    else
        fComponent->setProperty(property, value);
}

void TZORLabelTaskMenu::EditFolder(const QString& property)
{
    const QByteArray name = property.toLatin1();
    const QString folder
        = zor::DialogService().ExistingDirectory(fComponent, property, fComponent->property(name).toString());
    if (!folder.isEmpty())
        Write(name.constData(), folder);
}

void TZORLabelTaskMenu::EditJson(const QString&)
{
    TfJsonData form(fComponent);
    form.IniDialog(fComponent->GetDataJson());
    if (zor::DialogService().Exec(form) != QDialog::Accepted)
        return;
    // The data takes only arrays of records; anything else would be dropped without a word.
    QString error;
    if (TZORData().SetJson(form.GetJson(), &error))
        Write("DataJson", form.GetJson());
    else
        zor::ShowWarning(fComponent, QStringLiteral("DataJson"), error);
}

void TZORLabelTaskMenu::EditPaper(const QString&)
{
    TfPaperList form(fComponent);
    form.Ini(fComponent->GetPaperName());
    if (zor::DialogService().Exec(form) == QDialog::Accepted && !form.GetPaper().isEmpty())
        Write("PaperName", form.GetPaper());
}

void TZORLabelTaskMenu::EditData(const QString&)
{
    QDesignerFormWindowInterface* window = QDesignerFormWindowInterface::findFormWindow(fComponent);
    const QObject* form = window ? window->mainContainer() : fComponent->window();
    TfEdData dialog(fComponent);
    dialog.IniDialog(&fComponent->Label());
    dialog.FillDataInfo(form ? zor::FormDataSets(*form) : TZORFormDataSets {});
    if (zor::DialogService().Exec(dialog) == QDialog::Accepted)
        Write("DataSets", TZORLabelComponent::DataSetsText(dialog.GetDatasets()));
}

TZORLabelTaskMenuFactory::TZORLabelTaskMenuFactory(QExtensionManager* parent)
    : QExtensionFactory(parent)
{
}

QObject* TZORLabelTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const
{
    auto* component = qobject_cast<TZORLabelComponent*>(object);
    if (!component || iid != Q_TYPEID(QDesignerTaskMenuExtension))
        return nullptr;
    return new TZORLabelTaskMenu(component, parent);
}

TfPaperList::TfPaperList(QWidget* parent)
    : QDialog(parent)
    , lbPapers(zor::Named(new QListWidget(this), "lbPapers"))
{
    setObjectName(QStringLiteral("TfPaperList"));
    setWindowTitle(zor::FormCaption(QStringLiteral("PaperName")));
    lbPapers->setSortingEnabled(true);
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(lbPapers, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbPapers);
    layout->addWidget(buttons);
}

void TfPaperList::Ini(const QString& current)
{
    zor::FillOkCancel(*this);
    lbPapers->clear();
    for (const TZORPaper& paper : ZOrPapers)
        lbPapers->addItem(QString::fromLatin1(paper.name));
    const QList<QListWidgetItem*> found = lbPapers->findItems(current, Qt::MatchExactly);
    lbPapers->setCurrentItem(found.isEmpty() ? nullptr : found.first());
}

QString TfPaperList::GetPaper() const
{
    const QListWidgetItem* item = lbPapers->currentItem();
    return item ? item->text() : QString();
}
