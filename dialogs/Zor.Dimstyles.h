#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QImage>
#include <QPointer>

#include <functional>

class QComboBox;
class QLineEdit;
class QToolButton;
class TZORColorSwatch;
class TZORDimStyle;
class TZORLabelVCL;
class TZORSpinEditFloat;

// The dimension styles of a label: the active style's properties, each written into the style
// the moment it changes (one update bracket, one step of the label's history, per change), with
// a sample of four dimensions drawn in it beside them. Styles are added, chosen, renamed (by
// typing in the list) and deleted; closing the window ends the edit.
class QUINDLE_WIDGETS_EXPORT TfDimStls : public QDialog {
    Q_OBJECT

public:
    explicit TfDimStls(QWidget* parent = nullptr);

    void Ini(TZORLabelVCL& label);
    void FillLanguage();
    // Puts the active style into the controls and draws the sample; writes nothing.
    void ShowStyle();

    void seAddStyleClick();
    void seDelStyleClick();

    // The sample as last drawn.
    const QImage& Sample() const { return fBmp; }
    // The position of the active style in the list, -1 when it is not in it.
    int idx() const { return fIdx; }

private:
    TZORDimStyle* Active() const;
    // Writes into the active style in an update bracket and redraws the sample; nothing while
    // the controls are being filled.
    void Write(const std::function<void(TZORDimStyle&)>& edit);
    void FillStyles();
    void DrawSample();
    void cbDimStylesSelect(int index);
    void ConnectLength(
        TZORSpinEditFloat* edit, void (TZORDimStyle::*set)(float), float (TZORDimStyle::*get)() const);
    void ConnectColor(TZORColorSwatch* swatch, zor::TAlphaColor TZORDimStyle::*member);

    QPointer<TZORLabelVCL> fLabel;
    int fIdx = -1;
    bool fIntro = false;
    QImage fBmp;

    QComboBox* cbDimStyles;
    QToolButton* seAddStyle;
    QToolButton* seDelStyle;
    QComboBox* cbFontName;
    TZORSpinEditFloat* seFontHeight;
    TZORColorSwatch* ShColFontColor;
    QToolButton* SBColBold;
    QToolButton* SBColItalic;
    QToolButton* SBColUnderline;
    QLineEdit* edPrefix;
    QLineEdit* edFormat;
    QLineEdit* edSuffix;
    TZORSpinEditFloat* seHeadSize;
    QComboBox* cbHeadType;
    TZORColorSwatch* shHeadColor;
    TZORColorSwatch* shFillColor;
    TZORSpinEditFloat* seArrowOpen;
    TZORColorSwatch* shDimColor;
    QComboBox* cbLineType;
    TZORSpinEditFloat* seDimPenWidth;
    QComboBox* cbPosText;
    TZORColorSwatch* shExtColor;
    TZORSpinEditFloat* seExtSize;
    TZORSpinEditFloat* seExtGap;
    TZORSpinEditFloat* seDimBreak;
    TZORSpinEditFloat* seExtPenWidth;
    QWidget* paintLab;
};
