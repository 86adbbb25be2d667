#include "Zor.Sellisttext.h"

#include "Zor.Data.h"
#include "Zor.Msg.h"
#include "label/Zor.Vcl.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

TfSelListText::TfSelListText(QWidget* parent)
    : QDialog(parent)
    , fValues(new QListWidget(this))
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(fValues, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fValues);
    layout->addWidget(buttons);
}

void TfSelListText::Ini(TZORLabelVCL& label, const TZRValList& list)
{
    setWindowTitle(list.GetName());
    QStringList items;
    bool handled = false;
    if (label.OnGetListValues)
        label.OnGetListValues(label, list.GetName(), items, handled);
    if (!handled)
        items = list.GetValues();
    fValues->clear();
    fValues->addItems(items);
    const qsizetype current = items.indexOf(list.GetValue());
    if (!items.isEmpty())
        fValues->setCurrentRow(int(current < 0 ? 0 : current));
}

QString TfSelListText::GetText() const
{
    const QListWidgetItem* item = fValues->currentItem();
    return item ? item->text() : QString();
}
