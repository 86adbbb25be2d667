#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QString>

class QPlainTextEdit;

// The multi-line text dialog of the inspector's text rows: the opener reads GetText after OK.
class QUINDLE_WIDGETS_EXPORT TfMem : public QDialog {
    Q_OBJECT

public:
    // The designed client size, which a rich text keeps.
    static constexpr QSize DesignedSize { 666, 437 };
    // The size for any other text.
    static constexpr QSize PlainSize { 440, 340 };

    explicit TfMem(QWidget* parent = nullptr);

    // Shows the text; keepSize keeps the designed size, otherwise the dialog is made smaller.
    void Ini(const QString& text, bool keepSize);
    QString GetText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* MemText;
};
