#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TZORBaseLabel;
class TZORData;
class TZRAskField;

// The editor of a label's print-time questions: the questions by name, and the text and answer
// type of the one shown. Every change reaches the label at once. Ins adds a question.
class QUINDLE_WIDGETS_EXPORT TfListAsk : public QDialog {
    Q_OBJECT

public:
    explicit TfListAsk(QWidget* parent = nullptr);

    // Lists the label's questions and shows the first.
    void Ini(TZORBaseLabel& label);
    void FillLanguage();

    void cbListAskChange(int index);
    void memQuestChange();
    void cbTypeChange(int index);
    void butAddClick();
    void butDeleteClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The question shown; null when none is.
    TZRAskField* Current() const;
    void LoadQuestion(int index);

    TZORData* fData = nullptr;
    QComboBox* cbListAsk;
    QPushButton* butAdd;
    QPushButton* butDelete;
    QLabel* labQuestion;
    QPlainTextEdit* memQuest;
    QLabel* labType;
    QComboBox* cbType;
    int fIndex = -1; // 0-based question shown; -1 none
    bool fLoading = false; // set while a question is shown, so that nothing is written
};
