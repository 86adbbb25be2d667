#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QButtonGroup;
class TZORBaseLabel;
class TZORSpinEditFloat;

// Everything of an editor that the settings dialog shows and changes, as plain values: the editor
// fills it before the dialog opens and takes it back after OK. Lengths are in the editor's
// current unit, colours framework colours.
struct QUINDLE_WIDGETS_EXPORT TZOREditorSettings {
    // The rulers: which sides show one, the size readout and the alignment lines.
    bool rulerLeft = true;
    bool rulerTop = true;
    bool rulerRight = false;
    bool rulerBottom = false;
    bool showSize = false;
    zor::TColor sizeColor { 0x800000 };
    bool showAlign = false;
    // The editor.
    bool ortoLines = false;
    int gap = 8; // pick distance in pixels, 0 to 30
    // Object snaps, bit n for the model's snap n: 0 points, 1 the grid, 2 middle points,
    // 3 centres, 4 end points, 5 reference symbols, 6 crossings, 7 tangents, 8 perpendiculars.
    uint16_t snap = 0;
    bool showRefLines = false;
    double moveX = 1; // arrow-key steps, within minMove to maxMove
    double moveY = 1;
    double minMove = 0.1;
    double maxMove = 1000;
    // The grid: 0 none, 1 points, 2 lines; steps within minInc to maxInc.
    int gridStyle = 0;
    double incX = 10;
    double incY = 10;
    double minInc = 0.1;
    double maxInc = 1000;
    zor::TColor stepColor { 0xC0C0C0 };
    zor::TColor unitsColor { 0x808080 };
    // The selection colours of the reference and alignment lines.
    zor::TColor refLine { 0xFAE6E6 };
    zor::TColor align { 0xFFFFF0 };
    zor::TColor alignText { 0 };

    friend bool operator==(const TZOREditorSettings&, const TZOREditorSettings&) = default;
};

// The editor's settings dialog: rulers, ortho lines, pick gap, snaps, grid, move steps, sizes,
// reference and alignment lines, and the label's line-end markers. It changes nothing by
// itself: the opener reads GetValues and calls WriteLabelSettings after OK.
class QUINDLE_WIDGETS_EXPORT TfSettings : public QDialog {
    Q_OBJECT

public:
    static constexpr int MaxGap = 30;
    static constexpr double MinTermSize = 0.5;
    static constexpr double MaxTermSize = 10;

    explicit TfSettings(QWidget* parent = nullptr);
    ~TfSettings() override;

    // Fills the captions, then shows the editor's values and the label's line-end settings.
    void Ini(TZORBaseLabel& label, const TZOREditorSettings& values);
    void FillLanguage();
    // The values as the dialog shows them; a number whose text was not touched comes back as it
    // was given, not as rounded for showing.
    TZOREditorSettings GetValues() const;
    // The line-end colour, fill colour and size into the label's settings, in this order.
    void WriteLabelSettings(TZORBaseLabel& label) const;

    // The one handler of every colour shape: the colour dialog starts at the shape's colour, and
    // a confirmed colour becomes the shape's.
    void shpGridColorMouseDown(QWidget& shape);

private:
    struct TNumber {
        TZORSpinEditFloat* edit = nullptr;
        double given = 0;
        QString shown; // the text the given value showed as
    };

    void ShowNumber(TNumber& number, double value, double min, double max);
    double ReadNumber(const TNumber& number) const;
    // The colour shapes' values: the editor's colours, then the line-end colour and fill.
    QColor ShapeColor(int row) const;

    TZOREditorSettings fValues;
    std::array<zor::TAlphaColor, 2> fTermColors {};
    std::array<TNumber, 5> fNumbers {}; // grid X, grid Y, move X, move Y, line-end size
    TZORSpinEditFloat* SEGap;
    QButtonGroup* RGrid;
};

namespace zor {

// The settings dialog while one exists (the editor opens one at a time); null otherwise.
extern QUINDLE_WIDGETS_EXPORT TfSettings* fSettings;

} // namespace zor
