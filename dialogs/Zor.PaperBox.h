#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QGroupBox>

#include <cstdint>

class QComboBox;
class QLabel;
class QRadioButton;
class TZORLengthEdit;

// The paper of a set-up dialog: the standard papers and the user's own size (whose width and
// height alone can be typed), portrait or landscape. Choosing a standard paper shows its size,
// turned for landscape; turning the paper swaps width and height. Lengths are micrometres,
// shown in the label's unit.
class QUINDLE_WIDGETS_EXPORT TZORPaperBox : public QGroupBox {
    Q_OBJECT

public:
    explicit TZORPaperBox(QWidget* parent = nullptr);

    // The captions; the title is the box's.
    void FillLanguage(const QString& title);
    // Shows a paper quietly (no Changed).
    void Ini(TZORUnits units, const QString& paperName, int64_t width, int64_t height, bool landscape);

    // The entry of ZOrPapers chosen (ZOrPapersUser for the user's own size).
    int GetPaperIndex() const;
    // Chooses a paper quietly, leaving the size as it is.
    void SelectPaper(int index);
    bool GetLandscape() const;
    int64_t GetPaperWidth() const;
    int64_t GetPaperHeight() const;
    // Shows a size quietly; a side already showing that length keeps its text.
    void SetPaperSize(int64_t width, int64_t height);

    TZORLengthEdit& WidthEdit() const { return *sePaperWidth; }
    TZORLengthEdit& HeightEdit() const { return *sePaperHeight; }

signals:
    // The user changed the paper, its size or its orientation.
    void Changed();

private:
    void CheckPapers();
    void cbPapersChange();
    void RaBuHorToggled();
    void SizeChanged();

    QComboBox* cbPapers;
    TZORLengthEdit* sePaperWidth;
    TZORLengthEdit* sePaperHeight;
    QLabel* labPaperWidth;
    QLabel* labPaperHeight;
    QRadioButton* RaBuVer;
    QRadioButton* RaBuHor;
    bool fIntro = false;
};
