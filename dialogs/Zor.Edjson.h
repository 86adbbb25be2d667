#pragma once

#include "dialogs/Zor.WidgetsExport.h"
#include "label/Zor.Vcl.Dialogs.h"

#include <QDialog>
#include <QString>

#include <optional>

class QPlainTextEdit;
class QPushButton;

// The JSON text dialog: edits one JSON object, shown one member per line. OK closes only on a
// valid object, or as a cancel on an empty text; Format lays the text out again and Load takes a
// file's text as it stands. The result comes back compact.
class QUINDLE_WIDGETS_EXPORT TfJsonData : public QDialog {
    Q_OBJECT

public:
    explicit TfJsonData(QWidget* parent = nullptr);

    // Fills the captions and shows the text laid out, when it is a JSON object; any other text
    // leaves the editor empty.
    void IniDialog(const QString& text);
    // The edited object, compact; empty for an empty text.
    QString GetJson() const;

    // A text that is not empty, parses, and has an object at its root.
    static bool IsValidJson(const QString& text);
    // The object laid out with one member per line.
    static QString PrettyJson(const QString& text);

    void butOKClick();
    void butFormatClick();
    void butLoadClick();

private:
    void ShowNotValid();

    QPlainTextEdit* MemJson;
    QPushButton* butLoad;
    QPushButton* butFormat;
    QString fFilter;
};

// The label's default editor of symbol definitions: TfJsonData and a message box.
class QUINDLE_WIDGETS_EXPORT TZORDialogJsonEditor : public IZORJsonEditor {
public:
    std::optional<QString> EditJson(const QString& text) override;
    void ShowMessage(const QString& text) override;
};
