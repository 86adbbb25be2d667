#include "Zor.Forms.h"

#include "Zor.Msg.h"

#include <QDialog>
#include <QPushButton>

namespace zor {

QString FormCaption(const QString& text)
{
    return QStringLiteral("    ") + text;
}

QDialogButtonBox* AddOkCancel(QDialog& form, QDialogButtonBox::StandardButtons buttons)
{
    auto* box = new QDialogButtonBox(buttons, &form);
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) {
        ok->setObjectName(QStringLiteral("butOK"));
        ok->setDefault(true);
    }
    if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel))
        cancel->setObjectName(QStringLiteral("butCancel"));
    QObject::connect(box, &QDialogButtonBox::rejected, &form, &QDialog::reject);
    return box;
}

void FillOkCancel(QDialog& form)
{
    if (auto* ok = form.findChild<QPushButton*>(QStringLiteral("butOK")))
        ok->setText(TZORMsg::GetDialogsValue(QStringLiteral("Ok")));
    if (auto* cancel = form.findChild<QPushButton*>(QStringLiteral("butCancel")))
        cancel->setText(TZORMsg::GetDialogsValue(QStringLiteral("Cancel")));
}

} // namespace zor
