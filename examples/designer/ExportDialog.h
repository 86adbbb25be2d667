#pragma once

#include "label/Zor.Vcl.Export.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

// What an export writes, asked before it runs: every sheet of the run, the current one or (for
// images, written one a sheet) a range of them, and the options of the format: the resolution
// and, by kind, the JPEG quality and the transparent white.
class TExportDialog : public QDialog {
    Q_OBJECT

public:
    // sheets: the sheets of the prepared run (at least 1); current: the sheet shown.
    TExportDialog(TZORExport kind, int64_t sheets, int64_t current, QWidget* parent = nullptr);

    // The first and last sheet chosen.
    int64_t First() const;
    int64_t Last() const;
    // The options chosen, for the file name given.
    zor::TExportOptions Options(const QString& fileName) const;

private:
    TZORExport fKind;
    int64_t fSheets;
    int64_t fCurrent;
    QRadioButton* fAll;
    QRadioButton* fRange = nullptr;
    QSpinBox* fFrom = nullptr;
    QSpinBox* fTo = nullptr;
    QDoubleSpinBox* fDpi = nullptr;
    QSpinBox* fQuality = nullptr;
    QCheckBox* fTransparent = nullptr;
};
