#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;
class QTableWidget;
class TZORBaseLabel;
class TZORData;

// The editor of a label's value lists: the lists by name, and the values of the one shown in a
// grid. Lists are added and deleted in the label at once; the grid's values go into the list
// shown before another list is shown or added and when the dialog closes. Ins adds a value,
// Ctrl+Ins a list.
class QUINDLE_WIDGETS_EXPORT TfListVal : public QDialog {
    Q_OBJECT

public:
    explicit TfListVal(QWidget* parent = nullptr);

    // Lists the label's value lists and shows the first.
    void Ini(TZORBaseLabel& label);
    void FillLanguage();

    void cbListValChange(int index);
    void butAddClick();
    void butDeleteClick();
    void butAddValClick();
    void butDeleteValClick();

    // Closing by any means saves the grid.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadList(int index);
    void SaveList();
    // The grid shows the values, one row at least.
    void ShowValues(const QStringList& values);
    QStringList GridValues() const;

    TZORData* fData = nullptr;
    QComboBox* cbListVal;
    QPushButton* butAdd;
    QPushButton* butDelete;
    QTableWidget* sgValues;
    QPushButton* butAddVal;
    QPushButton* butDeleteVal;
    int fIndex = -1; // 0-based list shown; -1 none
    bool fModified = false;
    bool fIntro = false; // set while the controls are filled
};
