#pragma once

#include <QDialogButtonBox>
#include <QString>

class QDialog;

// What the library's dialogs share in building their forms.
namespace zor {

// The caption of a dialog: four blanks, then the text.
QString FormCaption(const QString& text);

// The button box of a form, with the buttons asked for among OK and Cancel named "butOK" and
// "butCancel"; OK is the default button and Cancel rejects. What OK does is the form's.
QDialogButtonBox* AddOkCancel(QDialog& form, QDialogButtonBox::StandardButtons buttons);
// The captions of those buttons from the catalogue's dialog texts "Ok" and "Cancel".
void FillOkCancel(QDialog& form);

} // namespace zor
