#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class TZORLabelVCL;
class TZRValList;

// The print-time choice of one value of a list.
class QUINDLE_WIDGETS_EXPORT TfSelListText : public QDialog {
    Q_OBJECT

public:
    explicit TfSelListText(QWidget* parent = nullptr);

    // Offers the values the label's OnGetListValues gives for the list, or, when no handler
    // takes the list, the list's own values; the list's current text is preselected, else the
    // first value. The title names the list.
    void Ini(TZORLabelVCL& label, const TZRValList& list);
    // The chosen text; empty when nothing is offered.
    QString GetText() const;

private:
    QLabel* labTitle;
    QComboBox* cbListVal;
};
