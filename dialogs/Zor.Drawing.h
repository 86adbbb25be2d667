#pragma once

#include "dialogs/Zor.WidgetsExport.h"
#include "label/Zor.Vcl.Dialogs.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TZORLabelVCL;
class TZORPaperBox;
class TZORSpinEditFloat;

// The page set-up of a drawing: its name, the paper, the drawing scale (not in EditorMode 1,
// where the drawing is at full size) with the area the paper covers at that scale, and the texts
// of the title block. It changes nothing: the opener reads GetValues after OK.
class QUINDLE_WIDGETS_EXPORT TfDrawing : public QDialog {
    Q_OBJECT

public:
    static constexpr int MaxScale = 50000;

    explicit TfDrawing(QWidget* parent = nullptr);

    void Ini(TZORLabelVCL& label);
    void FillLanguage();
    // The values as the dialog shows them, lengths in micrometres.
    TZORDrawingSetup GetValues() const;
    // Shows the area the paper covers at the scale (not in EditorMode 1).
    void ShowDrawArea();

private:
    TZORLabelVCL* fLabel = nullptr;
    bool fIntro = false;

    QLineEdit* edName;
    TZORPaperBox* gbPaper;
    QLabel* labScale;
    TZORSpinEditFloat* seScale;
    QLabel* labDrawArea;
    QLineEdit* edTitle;
    QLineEdit* edAuthor;
    QLineEdit* edDate;
    QLineEdit* edPromoter;
    QLineEdit* edProject;
    QPlainTextEdit* memNote;
};
