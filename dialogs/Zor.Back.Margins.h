#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>

#include <cstdint>

class TZORBaseLabel;
class TZORSpinEditFloat;

// The four margins that a layer's background image keeps from the label's edges, in the
// label's units. The opener reads them after OK.
class QUINDLE_WIDGETS_EXPORT TfBackMargins : public QDialog {
    Q_OBJECT

public:
    explicit TfBackMargins(QWidget* parent = nullptr);

    // Shows the margins of layer index (1-based) of the label.
    void Ini(TZORBaseLabel& label, int32_t index);
    void FillLanguage();

    double MarginTop() const;
    double MarginLeft() const;
    double MarginBottom() const;
    double MarginRight() const;

private:
    TZORSpinEditFloat* seMarginTop;
    TZORSpinEditFloat* seMarginLeft;
    TZORSpinEditFloat* seMarginBottom;
    TZORSpinEditFloat* seMarginRight;
};
