#include "Zor.Mem.h"

#include "Zor.Forms.h"
#include "Zor.Msg.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TfMem::TfMem(QWidget* parent)
    : QDialog(parent)
    , MemText(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TfMem"));
    MemText->setObjectName(QStringLiteral("MemText"));
    MemText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemText->setFont(QFont(QStringLiteral("Tahoma"), 10));
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(MemText);
    layout->addWidget(buttons);
    resize(DesignedSize);
}

void TfMem::Ini(const QString& text, bool keepSize)
{
    if (!keepSize)
        resize(PlainSize);
    setWindowTitle(zor::FormCaption(TZORMsg::GetPropValue(QStringLiteral("Text"))));
    zor::FillOkCancel(*this);
    MemText->setPlainText(text);
}

QString TfMem::GetText() const
{
    return MemText->toPlainText();
}

void TfMem::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    MemText->setFocus();
}
