#include "Zor.Vcl.Print.h"

#include "Zor.Utils.h"
#include "Zor.Vcl.Sheet.h"
#include "Zor.Vcl.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

namespace zor {

namespace {

constexpr double MicrometresPerInch = 25400.0;

// A paper side in micrometres as tenths of a millimetre, halves to even.
int32_t Tenths(int64_t micrometres)
{
    return int32_t(
        std::clamp<int64_t>(Round(double(micrometres) / 100.0), 0, std::numeric_limits<int32_t>::max()));
}

// A label position in printer pixels: the margin and (index - 1) pitches of size + gap.
int32_t DevicePos(int64_t margin, int64_t size, int64_t gap, int32_t index, int32_t dpi)
{
    const double um = double(margin) + double(index - 1) * (double(size) + double(gap));
    return int32_t(std::clamp<int64_t>(Round(um * dpi / MicrometresPerInch),
        std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

std::mutex& CurrentPrinterMutex()
{
    static std::mutex m;
    return m;
}

QString& CurrentPrinterName()
{
    static QString name;
    return name;
}

// Print jobs yield to the user interface: the calling thread runs one step below the thread
// that started it (threads take their creator's niceness).
void LowerThisThread()
{
    const pid_t self = ::gettid();
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, self, nice + 1);
}

void PrintLabel(TZORLabelVCL& job, TZORDraw& D)
{
    job.PrintBackImage(D);
    for (int32_t i = 1; i <= job.GetItemsCount(); ++i) {
        TZORBaseItem* item = job.GetItem(i);
        if (Printable(*item))
            item->PrintElement(D);
    }
}

} // namespace

TDeviceMode DeviceMode(int64_t paperWidth, int64_t paperHeight, int32_t copies)
{
    TDeviceMode mode;
    mode.landscape = paperWidth > paperHeight;
    mode.paperWidth = Tenths(std::min(paperWidth, paperHeight));
    mode.paperLength = Tenths(std::max(paperWidth, paperHeight));
    mode.setCopies = copies > 0;
    // The count is a 16-bit value: more copies than it holds become its largest, not a count
    // cut to its low bits (which turns 65536 copies into none).
    if (mode.setCopies)
        mode.copies = int16_t(std::min<int32_t>(copies, std::numeric_limits<int16_t>::max()));
    return mode;
}

void ApplyDeviceMode(QPrinter& printer, const TDeviceMode& mode)
{
    if (mode.paperWidth > 0 && mode.paperLength > 0) {
        const QSizeF mm(mode.paperWidth / 10.0, mode.paperLength / 10.0);
        printer.setPageSize(QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    }
    printer.setPageOrientation(mode.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    if (mode.setCopies)
        printer.setCopyCount(mode.copies);
}

QStringList PrinterNames()
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.sort(Qt::CaseSensitive);
    return names;
}

QString PrinterForIndex(int32_t index, const QStringList& names, const QString& defaultName)
{
    if (index == -1)
        return defaultName;
    return index >= 0 && index < names.size() ? names[index] : QString();
}

QString CurrentPrinter()
{
    std::lock_guard lock(CurrentPrinterMutex());
    return CurrentPrinterName();
}

void SetCurrentPrinter(const QString& name)
{
    std::lock_guard lock(CurrentPrinterMutex());
    CurrentPrinterName() = name;
}

TPrinterPages::TPrinterPages(QPrinter& printer, const QString& docName)
    : fPrinter(printer)
{
    // Labels are placed from the paper's edge, as the margins of the measure are meant.
    fPrinter.setFullPage(true);
    fPrinter.setDocName(docName);
}

bool TPrinterPages::Begin(QPainter& painter)
{
    return painter.begin(&fPrinter);
}

bool TPrinterPages::NewPage(QPainter&)
{
    return fPrinter.newPage();
}

bool TPrinterPages::End(QPainter& painter)
{
    return painter.end();
}

QSize TPrinterPages::Dpi() const
{
    return { fPrinter.logicalDpiX(), fPrinter.logicalDpiY() };
}

QSize TPrinterPages::PageSize() const
{
    return { fPrinter.width(), fPrinter.height() };
}

void PrintSheets(TZORLabelVCL& job, TPrintPages& pages)
{
    const TZORMeasure& M = job.Measure();
    TZORPrintRun& run = job.PrintRun();
    QPainter painter;
    if (!pages.Begin(painter))
        throw std::runtime_error("the printer refused the job");
    const int32_t dpiX = pages.Dpi().width();
    const int32_t dpiY = pages.Dpi().height();
    TZORPrintKit kit(painter);
    TZORDraw D;
    D.SetupPrint(kit, dpiX, dpiY, pages.PageSize().width(), pages.PageSize().height(), M.GetDrawScale(),
        job.GetUnits());

    int32_t row = run.firstOffset / run.columns + 1;
    int32_t column = run.firstOffset % run.columns + 1;
    while (run.sheetCounter <= run.sheetCount && run.labelCounter <= run.labelCount) {
        for (; row <= run.rows && run.labelCounter <= run.labelCount; ++row, column = 1) {
            D.fOrgY = DevicePos(M.GetSize(TZORSizeKind::MarginTop), M.GetSize(TZORSizeKind::LabelHeight),
                M.GetSize(TZORSizeKind::GapVertical), row, dpiY);
            for (; column <= run.columns && run.labelCounter <= run.labelCount; ++column) {
                D.fOrgX = DevicePos(M.GetSize(TZORSizeKind::MarginLeft), M.GetSize(TZORSizeKind::LabelWidth),
                    M.GetSize(TZORSizeKind::GapHorizontal), column, dpiX);
                PrintLabel(job, D);
                job.NextData();
                ++run.labelCounter;
            }
        }
        ++run.sheetCounter;
        row = 1;
        column = 1;
        if (run.sheetCounter <= run.sheetCount && run.labelCounter <= run.labelCount
            && !pages.NewPage(painter))
            throw std::runtime_error("the printer refused a new page");
    }
    if (!pages.End(painter))
        throw std::runtime_error("the printer did not take the job");
}

void TPrintJobs::Start(std::function<TZORPrintStatus()> job)
{
    std::lock_guard lock(fMutex);
    // Jobs that have ended are joined here, so a label that prints all day holds no threads.
    std::erase_if(fJobs, [](TJob& j) {
        if (!j.done->load())
            return false;
        j.thread.join();
        return true;
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    fJobs.push_back({ std::thread([this, done, job = std::move(job)] {
                         LowerThisThread();
                         fLast.store(job());
                         done->store(true);
                     }),
        done });
}

void TPrintJobs::WaitAll()
{
    std::vector<TJob> jobs;
    {
        std::lock_guard lock(fMutex);
        jobs.swap(fJobs);
    }
    for (TJob& j : jobs)
        j.thread.join();
}

} // namespace zor
