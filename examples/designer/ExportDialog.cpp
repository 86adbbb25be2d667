#include "ExportDialog.h"

#include "dialogs/Zor.Forms.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Images are drawn at 300 dpi unless the user asks otherwise: at the images' own 96 dpi a
// barcode's modules are too coarse to scan.
constexpr double DefaultDpi = 300.0;

QSpinBox* SheetBox(QWidget* parent, const char* name, int64_t sheets, int64_t value)
{
    auto* box = zor::Named(new QSpinBox(parent), name);
    box->setRange(1, int(std::min<int64_t>(sheets, INT32_MAX)));
    box->setValue(int(value));
    return box;
}

} // namespace

TExportDialog::TExportDialog(TZORExport kind, int64_t sheets, int64_t current, QWidget* parent)
    : QDialog(parent)
    , fKind(kind)
    , fSheets(sheets)
    , fCurrent(current)
{
    setObjectName(QStringLiteral("fExportOptions"));
    setWindowTitle(tr("Export %1").arg(zor::ExportExtension(kind).toUpper()));
    auto* layout = new QVBoxLayout(this);
    fAll = zor::Named(new QRadioButton(tr("All sheets (%1)").arg(sheets), this), "rbAll");
    fAll->setChecked(true);
    layout->addWidget(fAll);
    layout->addWidget(
        zor::Named(new QRadioButton(tr("The current sheet (%1)").arg(current), this), "rbCurrent"));
    auto* form = new QFormLayout;
    if (zor::IsRaster(kind)) {
        // Images are written one a sheet, so any run of sheets can be written.
        fRange = zor::Named(new QRadioButton(tr("Sheets from"), this), "rbRange");
        fFrom = SheetBox(this, "edFrom", sheets, 1);
        fTo = SheetBox(this, "edTo", sheets, sheets);
        auto* range = new QHBoxLayout;
        range->addWidget(fRange);
        range->addWidget(fFrom);
        range->addWidget(new QLabel(tr("to"), this));
        range->addWidget(fTo);
        range->addStretch();
        layout->addLayout(range);
        connect(fFrom, &QSpinBox::valueChanged, this, [this] { fRange->setChecked(true); });
        connect(fTo, &QSpinBox::valueChanged, this, [this] { fRange->setChecked(true); });
        const double base = zor::ExportResolution(kind);
        fDpi = zor::Named(new QDoubleSpinBox(this), "edDpi");
        fDpi->setRange(base * zor::MinExportScale, base * zor::MaxExportScale);
        fDpi->setDecimals(1);
        fDpi->setValue(DefaultDpi);
        form->addRow(tr("Resolution (dpi):"), fDpi);
    }
    if (kind == TZORExport::JPEG) {
        fQuality = zor::Named(new QSpinBox(this), "edQuality");
        fQuality->setRange(0, 100);
        fQuality->setValue(90);
        form->addRow(tr("Quality:"), fQuality);
    }
    if (kind == TZORExport::PNG || kind == TZORExport::GIF) {
        fTransparent = zor::Named(new QCheckBox(tr("White is transparent"), this), "cbTransparent");
        form->addRow(fTransparent);
    }
    layout->addLayout(form);
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

int64_t TExportDialog::First() const
{
    if (fAll->isChecked())
        return 1;
    return fRange && fRange->isChecked() ? std::min(fFrom->value(), fTo->value()) : fCurrent;
}

int64_t TExportDialog::Last() const
{
    if (fAll->isChecked())
        return fSheets;
    return fRange && fRange->isChecked() ? std::max(fFrom->value(), fTo->value()) : fCurrent;
}

zor::TExportOptions TExportDialog::Options(const QString& fileName) const
{
    zor::TExportOptions o;
    o.kind = fKind;
    o.fileName = fileName;
    if (fDpi)
        o.scale = float(fDpi->value() / zor::ExportResolution(fKind));
    if (fQuality)
        o.quality = int16_t(fQuality->value());
    o.transparent = fTransparent && fTransparent->isChecked();
    o.allSheets = fAll->isChecked();
    return o;
}
