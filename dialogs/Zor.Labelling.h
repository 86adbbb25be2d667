#pragma once

#include "dialogs/Zor.WidgetsExport.h"
#include "label/Zor.Vcl.Dialogs.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class TZORDataPage;
class TZORLabelVCL;
class TZORLengthEdit;
class TZORPaperBox;
class TZORSheetPicture;
class TZORSpinEditFloat;
struct TZORSheet;

// The set-up of a sheet of labels: label name and size, gaps, margins, rows and columns, the
// paper, continuous paper, the first label to print (also chosen on the sheet's picture), the
// number of labels and their repetition, the label's counters and, on the third page, its data
// (TZORDataPage). Counters and data change the label at once, each change one step to undo;
// everything else is read by the opener after OK (GetValues).
class QUINDLE_WIDGETS_EXPORT TfLabelling : public QDialog {
    Q_OBJECT

public:
    static constexpr int MaxSide = 200; // rows and columns

    explicit TfLabelling(QWidget* parent = nullptr);

    void Ini(TZORLabelVCL& label);
    void FillLanguage();
    // The values as the dialog shows them, lengths in micrometres.
    TZORLabelSetup GetValues() const;
    // The sheet the picture shows.
    TZORSheet Sheet() const;
    const TZORSheetPicture& Picture() const { return *paintLab; }

    void CheckContinuous();
    void cbContinousPaperClick();
    void PageLabChange(int index);
    void FirstChosen(int32_t row, int32_t column);

    // Counters.
    void FillCounterList();
    void ShowCounter();
    void CheckSaveCounter();
    void butAddCounterClick();
    void butSaveCounterClick();
    void butDelCounterClick();

    void done(int result) override;

private:
    QWidget* BuildDimensionPage();
    QWidget* BuildPrintingPage();
    QWidget* BuildCounters(QWidget& page);
    void Draw();
    void RowsColumnsChange();
    void LabelSizeChange(bool width);
    void PaperSizeChange();
    void CounterFieldChange();
    void lbCountersChange();
    bool SaveCounter();

    // Fill the captions from the catalogue, one per control or group.
    std::vector<std::function<void()>> fCaptions;
    TZORLabelVCL* fLabel = nullptr;
    bool fIntro = false;
    bool fNeedSaveCounter = false;
    // A counter is being added: its name was asked for but it is not saved yet.
    bool fAddingCounter = false;
    int32_t fShownCounter = 0; // the counter shown (1-based), 0 for none

    QTabWidget* PageLab;
    QLineEdit* edName;
    TZORLengthEdit* seWidth;
    TZORLengthEdit* seHeight;
    TZORLengthEdit* seGapX;
    TZORLengthEdit* seGapY;
    TZORLengthEdit* seMargLeft;
    TZORLengthEdit* seMargTop;
    TZORSpinEditFloat* seRows;
    TZORSpinEditFloat* seColumns;
    TZORPaperBox* gbPaper;
    QCheckBox* cbContinousPaper;
    TZORSpinEditFloat* edFirstRow;
    TZORSpinEditFloat* edFirstCol;
    TZORSpinEditFloat* edNumLabs;
    TZORSpinEditFloat* edRepetition;
    QListWidget* lbCounters;
    QLineEdit* edCounterName;
    TZORSpinEditFloat* seStep;
    TZORSpinEditFloat* seFromNumber;
    TZORSpinEditFloat* seToNumber;
    QLineEdit* edTextBefore;
    QLineEdit* edTextAfter;
    QLineEdit* edFormat;
    QPushButton* butAddCounter;
    QPushButton* butSaveCounter;
    QPushButton* butDelCounter;
    TZORDataPage* TabData;
    TZORSheetPicture* paintLab;
};
