#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class TZORBaseLabel;
class TZORData;

// The data page of the label set-up: the data set that drives a run and its repeat field, the
// link and save-JSON flags (all four written by the opener after OK), and what changes the
// label's data at once: the JSON data, the CSV file with its separator, quote and header, the
// type of each CSV field, the value lists and the questions. The first records of the CSV file
// show under its fields.
class QUINDLE_WIDGETS_EXPORT TZORDataPage : public QWidget {
    Q_OBJECT

public:
    // Records of the CSV file shown under its fields.
    static constexpr int PreviewRecords = 5;

    explicit TZORDataPage(QWidget* parent = nullptr);

    void FillLanguage();
    // Shows the label's data settings (the captions are filled by FillLanguage, which the
    // dialog calls).
    void Ini(TZORBaseLabel& label);

    // The data set chosen ("" for none) and its repeat field.
    QString GetDataSel() const;
    QString GetFieldRepeat() const;
    bool GetLinkData() const;
    bool GetSaveJson() const;

    void FillData();
    void FillFieldRepeat();
    void FillCsvFields();

    void cbDataChange();
    void butEdCsvFileClick();
    void butCheckCsvClick();
    void butJsonClick();
    void butListValClick();
    void butAskListClick();

private:
    TZORData& Data() const;
    void FieldTypeChange(int row, int index);
    void FillPreview();
    // Runs one change of the data source as one step of the label's history: the page shows the
    // new data when change takes it, else a warning titled by captionKey with change's error.
    void ChangeSource(const char* captionKey, const std::function<bool(QString& error)>& change);

    TZORBaseLabel* fLabel = nullptr;
    bool fIntro = false;

    QCheckBox* ckLinkData;
    QCheckBox* ckSaveJson;
    QComboBox* cbData;
    QComboBox* cbFieldRepeat;
    QPushButton* butJson;
    QLineEdit* edCsvFile;
    QToolButton* butEdCsvFile;
    QComboBox* cbSeparator;
    QComboBox* cbQuotes;
    QCheckBox* ckHeader;
    QPushButton* butCheckCsv;
    QTableWidget* sgFields;
    QTableWidget* sgPreview;
    QPushButton* butListVal;
    QPushButton* butAskList;
};
