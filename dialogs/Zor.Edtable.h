#pragma once

#include "Zor.Edlist.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QTabWidget;
class TZORBaseTable;
struct TZORColumn;
struct TZORTableCell;

// The columns of the selected table: their order, and per column the data field, width and
// format, and the header, line and footer cells' texts, fonts, colours and alignments, the
// footer's aggregate, and the table's band heights. Every control writes at once (see TfEdList);
// nothing is written when the editor closes.
class QUINDLE_WIDGETS_EXPORT TfEdTable : public TfEdList {
    Q_OBJECT

public:
    // The cells of a column, in page order.
    enum TPage { pgColumn, pgHeader, pgFooter, PageCount };

    // The controls a page has for its cell; the footer's line spacing and wrap are absent.
    struct TCellControls {
        TZORFontControls Font;
        TZORColorSwatch* Back = nullptr;
        QCheckBox* Fill = nullptr;
        QButtonGroup* Align = nullptr;
        TZORSpinEditFloat* Height = nullptr;
        TZORSpinEditFloat* Interline = nullptr;
    };

    explicit TfEdTable(QWidget* parent = nullptr);

    void FillLanguage() override;

protected:
    int32_t PartCount() const override;
    QString PartText(int32_t i) const override;
    QString AddKey() const override { return QStringLiteral("AddColumn"); }
    void AddPart(const QString& name) override;
    void RemovePart(int32_t i) override;
    void ExchangeParts(int32_t a, int32_t b) override;
    bool CanRemoveLast() const override { return false; }
    void LoadPart(int32_t i) override;

private:
    TZORBaseTable* Table() const;
    // Writes into the selected column, which is kept in range afterwards.
    void ChangeColumn(const std::function<void(TZORColumn&)>& edit);
    QWidget* BuildColumnPage();
    QWidget* BuildHeaderPage();
    QWidget* BuildFooterPage();
    // Builds the cell controls of a page into its grid from row on and wires them to the cell.
    void BuildCell(TPage page, QWidget* owner, class QGridLayout* grid, int row);
    void LoadCell(TPage page, const TZORTableCell& cell);
    void FillFields() override;

    QTabWidget* PColumns;
    QComboBox* CBoxFields;
    TZORSpinEditFloat* seWidth;
    QLineEdit* edFormat;
    QCheckBox* ckWrapText;
    QCheckBox* ckFixed;
    QLineEdit* edHeaderText;
    QCheckBox* CBVisibleHead;
    QButtonGroup* RGCalc;
    QButtonGroup* sbVertAlign;
    QLineEdit* edFooterFormat;
    std::array<TCellControls, PageCount> fCells;
};
