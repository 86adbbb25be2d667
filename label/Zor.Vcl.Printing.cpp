#include "Zor.RasterPages.h"
#include "Zor.Vcl.Sheet.h"
#include "Zor.Vcl.h"

#include <QPrinter>
#include <QPrinterInfo>

// The label's printing on the system's printers, which the print library (quindle_print)
// holds: a program that only exports never loads Qt Print Support.

namespace {

// Where a job prints: a PDF file, or a printer by name (empty: the current or default one).
struct TPrintTarget {
    QString fileName;
    QString printerName;
};

// The raster route of the target printer for a paper it does not name itself; none for PDF
// files, named papers and queues that pass no raster through.
std::optional<zor::TRasterRoute> CustomPaperRoute(const TPrintTarget& target, const zor::TDeviceMode& mode)
{
    if (!target.fileName.isEmpty() || target.printerName.isEmpty() || mode.paperWidth <= 0
        || zor::IsNamedPaper(target.printerName, mode))
        return std::nullopt;
    return zor::RasterRoute(target.printerName);
}

// Prints the job's pages on target. A custom paper goes to a printer as a raster at the
// printer's resolution, so that it arrives at its exact size; named papers, and PDF files, go
// the system's way.
void PrintOn(TZORLabelVCL& job, const TPrintTarget& target)
{
    const TZORMeasure& M = job.Measure();
    const zor::TDeviceMode mode = zor::DeviceMode(M.GetSize(TZORSizeKind::PaperWidth),
        M.GetSize(TZORSizeKind::PaperHeight), job.PrintInfo().GetCopies());
    if (const std::optional<zor::TRasterRoute> route = CustomPaperRoute(target, mode)) {
        zor::TRasterPages pages(target.printerName, M.GetLabelName(), mode, *route);
        zor::PrintSheets(job, pages);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!target.fileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target.fileName);
    } else if (!target.printerName.isEmpty()) {
        printer.setPrinterName(target.printerName);
    }
    try {
        zor::ApplyDeviceMode(printer, mode);
    } catch (...) {
        // The printer's own settings serve when it refuses ours.
    }
    zor::TPrinterPages pages(printer, M.GetLabelName());
    zor::PrintSheets(job, pages);
}

// Runs one job on the worker: the events and the printing state on label, the pages from job.
TZORPrintStatus RunPrintJob(TZORLabelVCL& label, TZORLabelVCL& job, const TPrintTarget& target,
    const std::function<void(TZORLabelVCL&)>& before, const std::function<void(TZORLabelVCL&)>& after)
{
    if (before)
        before(label);
    label.AddState(TZORLabelState::Printing);
    TZORPrintStatus status = TZORPrintStatus::Printed;
    try {
        PrintOn(job, target);
    } catch (...) {
        // A label that cannot be printed ends the job; the painter's end has aborted it.
        status = TZORPrintStatus::Failed;
    }
    label.RemoveState(TZORLabelState::Printing);
    if (after)
        after(label);
    return status;
}

} // namespace

void TZORLabelVCL::ResetPrinter()
{
    const QString name = SelectedPrinter();
    if (!name.isEmpty())
        zor::SetCurrentPrinter(name);
}

QString TZORLabelVCL::SelectedPrinter() const
{
    return zor::PrinterForIndex(
        PrintInfo().GetPrinterIndex(), zor::PrinterNames(), QPrinterInfo::defaultPrinterName());
}

void TZORLabelVCL::Print()
{
    CheckPrintData();
    zor::CheckSheetFits(*this);
    TPrintTarget target { fPrintFileName, {} };
    if (target.fileName.isEmpty()) {
        target.printerName = SelectedPrinter();
        if (target.printerName.isEmpty()) {
            fPrintJobs.Start([] { return TZORPrintStatus::NoPrinter; });
            return;
        }
    }
    std::shared_ptr<TZORLabelVCL> job = Snapshot();
    fPrintJobs.Start([this, job, target, before = OnBeforePrint, after = OnAfterPrint] {
        return RunPrintJob(*this, *job, target, before, after);
    });
}
