#include "Zor.DialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QUrl>

namespace {

TZORDialogService DefaultService;
TZORDialogService* Current = &DefaultService;

} // namespace

int TZORDialogService::Exec(QDialog& dialog)
{
    return dialog.exec();
}

QMessageBox::StandardButton TZORDialogService::Message(QWidget* parent, QMessageBox::Icon icon,
    const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    // Wide enough for its whole title, with room for the frame's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(box.fontMetrics().horizontalAdvance(title) + 120, 0,
                          QSizePolicy::Minimum, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    return QMessageBox::StandardButton(box.exec());
}

QString TZORDialogService::OpenFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString TZORDialogService::SaveFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString TZORDialogService::ExistingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

std::optional<QColor> TZORDialogService::Color(
    QWidget* parent, const QColor& initial, const QString& title, bool alpha)
{
    const QColor color = QColorDialog::getColor(
        initial, parent, title, alpha ? QColorDialog::ShowAlphaChannel : QColorDialog::ColorDialogOptions());
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QString> TZORDialogService::Text(
    QWidget* parent, const QString& title, const QString& label, const QString& text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QAction* TZORDialogService::Popup(QMenu& menu, const QPoint& globalPos)
{
    return menu.exec(globalPos);
}

bool TZORDialogService::PrintSetup(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return Exec(dialog) == QDialog::Accepted;
}

void TZORDialogService::OpenUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

void TZORDialogService::Beep()
{
    QApplication::beep();
}

namespace zor {

TZORDialogService& DialogService()
{
    return *Current;
}

TZORDialogService* SetDialogService(TZORDialogService* service)
{
    TZORDialogService* previous = Current;
    Current = service ? service : &DefaultService;
    return previous == &DefaultService ? nullptr : previous;
}

void ShowInfo(QWidget* parent, const QString& title, const QString& text)
{
    DialogService().Message(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowWarning(QWidget* parent, const QString& title, const QString& text)
{
    DialogService().Message(parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace zor
