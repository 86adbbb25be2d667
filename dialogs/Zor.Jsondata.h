#pragma once

#include "label/Zor.Vcl.Dialogs.h"

#include <QDialog>
#include <QString>

#include <optional>

class QPlainTextEdit;

// The JSON text dialog: a text editor whose OK closes only on valid JSON (or, with no text, as a
// cancel).
class TfJsonData : public QDialog {
    Q_OBJECT

public:
    explicit TfJsonData(QWidget* parent = nullptr);

    // Fills the captions and shows the text, formatted when it is JSON, else as it is.
    void IniDialog(const QString& text);
    // The edited JSON, compact; empty for empty text (or text that is not JSON).
    QString GetJson() const;

    // OK: accepted for valid JSON, rejected for empty text; otherwise "JSON is not valid" is shown
    // and the dialog stays open.
    void butOKClick();

private:
    QPlainTextEdit* fText;
};

// The label's default editor of symbol definitions: TfJsonData and a message box.
class TZORDialogJsonEditor : public IZORJsonEditor {
public:
    std::optional<QString> EditJson(const QString& text) override;
    void ShowMessage(const QString& text) override;
};
