#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <functional>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class TZORLabelVCL;
class TZORLayer;

// The layers of a label in a grid: name, font, font height, pen width, back colour, colour,
// the active layer and the options view, print, select and export. Layers are added, deleted
// and moved, and a pop-up menu gives a layer a background image or map, its margins and
// whether the background prints and exports. Every change goes to the label at once, each in
// an update bracket of its own (one step of the label's history).
//
// Row r of the grid (0-based) shows layer r + 1; layer 1 is the default layer, which cannot be
// deleted or moved. Names, fonts and sizes are edited in place; colours, the active layer and
// the options act on a double click or the space bar.
class QUINDLE_WIDGETS_EXPORT TfLayers : public QDialog {
    Q_OBJECT

public:
    enum TColumn {
        colName,
        colFont,
        colHeight,
        colPenWidth,
        colBackColor,
        colColor,
        colActive,
        colView,
        colPrint,
        colSelect,
        colExport,
        ColumnCount
    };

    explicit TfLayers(QWidget* parent = nullptr);

    void Ini(TZORLabelVCL& label);
    void FillLanguage();

    void butAddClick();
    void butDeleteClick();
    void SBUpClick();
    void SBDownClick();
    // What a double click does on a cell of the colour, active and option columns.
    void CellAction(int row, int column);
    // The pop-up menu's items, on the selected layer.
    void menuApplyValuesClick();
    void menuBackImageClick();
    void menuBackMapClick();
    void menuBackMarginsClick();
    void menuPrintBackImageClick();
    void menuExportBackImageClick();
    // Shows the pop-up menu at a position of the grid's viewport.
    void PopupAt(const QPoint& pos);

    QMenu* PopLayer() const { return fPopLayer; }

private:
    void ReadLayers(bool reset);
    void ShowLayer(int32_t index);
    void AdjustUpDown();
    // The layer of the selected row, or null.
    TZORLayer* SelectedLayer() const;
    int32_t SelectedIndex() const; // 1-based, 0 for none
    // One change of the label, in an update bracket of its own.
    void Change(const std::function<void()>& edit);
    void CellChanged(QTableWidgetItem* item);
    void ToggleOption(int32_t index, uint16_t bit);
    void Move(int32_t by);
    void PreparePopup();

    QPointer<TZORLabelVCL> fLabel;
    bool fIntro = false;
    QTableWidget* sgLayers;
    QPushButton* butAdd;
    QPushButton* butDelete;
    QPushButton* SBUp;
    QPushButton* SBDown;
    QCheckBox* ckLayerZPos;
    QMenu* fPopLayer;
    QAction* menuApplyValues;
    QAction* menuBackImage;
    QAction* menuBackMap;
    QAction* menuBackMargins;
    QAction* menuPrintBackImage;
    QAction* menuExportBackImage;
};
