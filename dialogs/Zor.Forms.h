#pragma once

#include "Zor.DialogService.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QComboBox;
class QDialog;
class QWidget;
class TZORBaseLabel;

// What the library's dialogs share in building their forms.
class TZORLabelVCL;

namespace zor {

// The catalogue's property text and dialog text of key.
QUINDLE_WIDGETS_EXPORT QString Prop(const char* key);
QUINDLE_WIDGETS_EXPORT QString Dialogs(const char* key);

// Names a control for tests and style sheets, and answers it.
template <class W> W* Named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The caption of a dialog: four blanks, then the text.
QUINDLE_WIDGETS_EXPORT QString FormCaption(const QString& text);

// The button box of a form, with the buttons asked for among OK and Cancel named "butOK" and
// "butCancel"; OK is the default button and Cancel rejects. What OK does is the form's.
QUINDLE_WIDGETS_EXPORT QDialogButtonBox* AddOkCancel(
    QDialog& form, QDialogButtonBox::StandardButtons buttons);
// The captions of those buttons from the catalogue's dialog texts "Ok" and "Cancel".
QUINDLE_WIDGETS_EXPORT void FillOkCancel(QDialog& form);

// Asks for the name of something new in a text box titled with the dialog text titleKey, the
// prompt the property text "Name" and ":". Nothing for a cancel or an empty (blank) name; a name
// that exists is reported with the error text "SameName" and gives nothing too. The name comes
// back without surrounding blanks.
QUINDLE_WIDGETS_EXPORT std::optional<QString> AskNewName(
    QWidget* parent, const QString& titleKey, const std::function<bool(const QString&)>& exists);
// Fills a drop-down list of names and selects the first, or nothing when there is none.
QUINDLE_WIDGETS_EXPORT void ShowNames(QComboBox& box, const QStringList& names);
// Takes the name at index out of a drop-down list and selects the one before it (the first when
// it was the first, nothing when none is left).
QUINDLE_WIDGETS_EXPORT void DropName(QComboBox& box, int index);

// One change of the label made by a dialog: edit runs in an update bracket of its own that
// marks the label modified, so that each change is one step of the label's history.
QUINDLE_WIDGETS_EXPORT void ChangeLabel(TZORBaseLabel& label, const std::function<void()>& edit);

// Asks the actions text of key with Yes and Cancel, without an icon; true for Yes.
QUINDLE_WIDGETS_EXPORT bool ConfirmDelete(QWidget* parent, const QString& key);

// Before a label prints: one that prints to a file has nothing to choose; otherwise the print
// dialog chooses among the system's printers, starting at the label's, and the choice is kept in
// the label's print information.
enum class TZORPrinterChoice { Ready, NoPrinter, Cancelled };
QUINDLE_WIDGETS_EXPORT TZORPrinterChoice ChoosePrinter(QWidget* parent, TZORLabelVCL& label);

// A set-up form filled from the label and run through the dialog service: its values after OK,
// nothing after Cancel.
template <class Form, class Label> auto AskSetup(Label& label) -> std::optional<decltype(Form().GetValues())>
{
    Form form;
    form.Ini(label);
    if (DialogService().Exec(form) != QDialog::Accepted)
        return std::nullopt;
    return form.GetValues();
}

} // namespace zor
