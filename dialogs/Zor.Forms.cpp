#include "Zor.Forms.h"

#include "Zor.DialogService.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "label/Zor.Vcl.Print.h"
#include "label/Zor.Vcl.h"

#include <QComboBox>
#include <QDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>

namespace zor {

QString Prop(const char* key)
{
    return TZORMsg::GetPropValue(QString::fromLatin1(key));
}

QString Dialogs(const char* key)
{
    return TZORMsg::GetDialogsValue(QString::fromLatin1(key));
}

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

std::optional<QString> AskNewName(
    QWidget* parent, const QString& titleKey, const std::function<bool(const QString&)>& exists)
{
    const std::optional<QString> typed = DialogService().Text(parent, TZORMsg::GetDialogsValue(titleKey),
        TZORMsg::GetPropValue(QStringLiteral("Name")) + QLatin1Char(':'), QString());
    const QString name = typed.value_or(QString()).trimmed();
    if (name.isEmpty())
        return std::nullopt;
    if (exists(name)) {
        ShowWarning(
            parent, TZORMsg::GetDialogsValue(titleKey), TZORMsg::GetErrorValue(QStringLiteral("SameName")));
        return std::nullopt;
    }
    return name;
}

void ShowNames(QComboBox& box, const QStringList& names)
{
    box.clear();
    box.addItems(names);
    box.setCurrentIndex(names.isEmpty() ? -1 : 0);
}

void DropName(QComboBox& box, int index)
{
    box.removeItem(index);
    box.setCurrentIndex(box.count() == 0 ? -1 : std::max(index - 1, 0));
}

void ChangeLabel(TZORBaseLabel& label, const std::function<void()>& edit)
{
    struct TBracket {
        TZORBaseLabel& label;
        explicit TBracket(TZORBaseLabel& l)
            : label(l)
        {
            label.BeginUpdate(true);
        }
        ~TBracket() { label.EndUpdate(); }
        TBracket(const TBracket&) = delete;
        TBracket& operator=(const TBracket&) = delete;
    } bracket(label);
    edit();
}

bool ConfirmDelete(QWidget* parent, const QString& key)
{
    const QMessageBox::StandardButton answer = DialogService().Message(parent, QMessageBox::NoIcon,
        parent ? parent->windowTitle().trimmed() : QString(), TZORMsg::GetActionsValue(key),
        QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Yes);
    return answer == QMessageBox::Yes;
}

TZORPrinterChoice ChoosePrinter(QWidget* parent, TZORLabelVCL& label)
{
    if (!label.GetPrintFileName().isEmpty())
        return TZORPrinterChoice::Ready;
    const QStringList printers = PrinterNames();
    if (printers.isEmpty())
        return TZORPrinterChoice::NoPrinter;
    QPrinter printer;
    printer.setPrinterName(PrinterForIndex(label.PrintInfo().GetPrinterIndex(), printers, printer.printerName()));
    if (!DialogService().PrintSetup(parent, printer))
        return TZORPrinterChoice::Cancelled;
    label.PrintInfo().SetPrinterIndex(int32_t(printers.indexOf(printer.printerName())));
    return TZORPrinterChoice::Ready;
}

} // namespace zor
