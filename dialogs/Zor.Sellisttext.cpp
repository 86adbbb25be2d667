#include "Zor.Sellisttext.h"

#include "Zor.Data.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "label/Zor.Vcl.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

TfSelListText::TfSelListText(QWidget* parent)
    : QDialog(parent)
    , labTitle(new QLabel(this))
    , cbListVal(new QComboBox(this))
{
    setObjectName(QStringLiteral("TfSelListText"));
    labTitle->setObjectName(QStringLiteral("labTitle"));
    cbListVal->setObjectName(QStringLiteral("cbListVal"));
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labTitle);
    layout->addWidget(cbListVal);
    layout->addWidget(buttons);
    resize(248, 95);
}

void TfSelListText::Ini(TZORLabelVCL& label, const TZRValList& list)
{
    setWindowTitle(zor::FormCaption(TZORMsg::GetDialogsValue(QStringLiteral("SelectText"))));
    zor::FillOkCancel(*this);
    QStringList items;
    bool handled = false;
    if (label.OnGetListValues)
        label.OnGetListValues(label, list.GetName(), items, handled);
    if (!handled)
        items = list.GetValues();
    cbListVal->clear();
    cbListVal->addItems(items);
    const qsizetype current = items.indexOf(list.GetValue());
    if (!items.isEmpty())
        cbListVal->setCurrentIndex(int(current < 0 ? 0 : current));
    labTitle->setText(list.GetName());
}

QString TfSelListText::GetText() const
{
    return cbListVal->currentText();
}
