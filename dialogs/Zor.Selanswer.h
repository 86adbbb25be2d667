#pragma once

#include "Zor.Data.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDateTime>
#include <QDialog>

#include <memory>

class QDateEdit;
class QLabel;
class QTimeEdit;
class TZORLabelVCL;
class TZORSpinEditFloat;

// The print-time answer to a question of a whole number, a number or a date and time.
class QUINDLE_WIDGETS_EXPORT TfSelAnswer : public QDialog {
    Q_OBJECT

public:
    explicit TfSelAnswer(QWidget* parent = nullptr);

    // Shows the question with an input of its kind holding its current answer: a whole number,
    // a number with two decimals (steps of 0.5), or a date and a time.
    void Ini(const TZRAskField& question);
    // The value truncated toward zero.
    int32_t GetInteger() const;
    double GetNumber() const;
    // The picked date joined with the picked time, to the second.
    QDateTime GetDateTime() const;

private:
    QLabel* labQuestion;
    TZORSpinEditFloat* seNumber;
    QDateEdit* DTDate;
    QTimeEdit* DTHora;
};

// Answers the print-time lists and questions with the dialogs, on the thread that prints:
// TfSelListText for lists, TfSelAnswer for numbers and dates, a text box for text questions
// (whose cancel keeps the old answer). The label uses it when its host sets no prompter of its
// own and the program is a widget application.
class QUINDLE_WIDGETS_EXPORT TZORDialogPrompter : public IZORPrompter {
public:
    explicit TZORDialogPrompter(TZORLabelVCL& label)
        : fLabel(label)
    {
    }
    // A prompter for the label where a user can be asked (a widget application, on its own
    // thread); null elsewhere.
    static std::unique_ptr<IZORPrompter> ForLabel(TZORLabelVCL& label);
    bool ChooseFromList(TZRValList& list) override;
    bool Answer(TZRAskField& question) override;

private:
    TZORLabelVCL& fLabel;
};
