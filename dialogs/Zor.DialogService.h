#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QColor>
#include <QMessageBox>
#include <QPoint>
#include <QString>

#include <optional>

class QAction;
class QDialog;
class QMenu;
class QPrinter;
class QUrl;
class QWidget;

// Every modal dialog, message box, file, folder and colour chooser and pop-up menu of the library
// opens here. The default runs them as the platform does (native file and colour dialogs where the
// platform has them); a test or a host puts its own service in place to answer them, so that
// nothing ever waits for a user who is not there.
class QUINDLE_WIDGETS_EXPORT TZORDialogService {
public:
    virtual ~TZORDialogService() = default;

    // Runs `dialog` modally; the result is QDialog::Accepted, QDialog::Rejected or the code given
    // to done().
    virtual int Exec(QDialog& dialog);
    virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
        const QString& text, QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);
    // A file to open or to save, or a folder; empty when the user cancels. `filter` in Qt's form
    // ("Images (*.png *.jpg);;All files (*)").
    virtual QString OpenFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
    virtual QString SaveFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
    virtual QString ExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);
    // A colour, with its alpha when `alpha` is set; nothing when the user cancels.
    virtual std::optional<QColor> Color(
        QWidget* parent, const QColor& initial, const QString& title, bool alpha);
    // One line of text; nothing when the user cancels.
    virtual std::optional<QString> Text(
        QWidget* parent, const QString& title, const QString& label, const QString& text);
    // Shows `menu` at a global position until an action is chosen or the menu is closed; the
    // action chosen, or null.
    virtual QAction* Popup(QMenu& menu, const QPoint& globalPos);
    // The platform's print dialog on `printer`; false when the user cancels.
    virtual bool PrintSetup(QWidget* parent, QPrinter& printer);
    // Opens a web address in the user's browser.
    virtual void OpenUrl(const QUrl& url);
    // The platform's warning sound, for input refused.
    virtual void Beep();
};

namespace zor {

// The service in place.
QUINDLE_WIDGETS_EXPORT TZORDialogService& DialogService();
// Puts `service` in place (not owned; null restores the default) and answers the one it replaces.
QUINDLE_WIDGETS_EXPORT TZORDialogService* SetDialogService(TZORDialogService* service);

// Message boxes through the service, with one OK button.
QUINDLE_WIDGETS_EXPORT void ShowInfo(QWidget* parent, const QString& title, const QString& text);
QUINDLE_WIDGETS_EXPORT void ShowWarning(QWidget* parent, const QString& title, const QString& text);

} // namespace zor
