#include "Zor.Vcl.Print.h"

#include "Zor.Utils.h"
#include "Zor.Vcl.SheetPainter.h"
#include "Zor.Vcl.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

namespace zor {

namespace {

// A paper side in micrometres as tenths of a millimetre, halves to even.
int32_t Tenths(int64_t micrometres)
{
    return int32_t(
        std::clamp<int64_t>(Round(double(micrometres) / 100.0), 0, std::numeric_limits<int32_t>::max()));
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

void PrintSheets(const TZORLabelVCL& job, TPrintPages& pages)
{
    const TZORPrintRun& run = job.PrintRun();
    QPainter painter;
    if (!pages.Begin(painter))
        throw std::runtime_error("the printer refused the job");
    const int32_t dpiX = pages.Dpi().width();
    const int32_t dpiY = pages.Dpi().height();
    TZORPrintKit kit(painter);
    TZORDraw D;
    D.SetupPrint(kit, dpiX, dpiY, pages.PageSize().width(), pages.PageSize().height(),
        job.Measure().GetDrawScale(), job.GetUnits());
    TSheetPainter sheets(job, TSheetTarget::Print, D);
    for (int64_t sheet = run.sheetCounter; sheet <= run.sheetCount; ++sheet) {
        if (sheet > run.sheetCounter && !pages.NewPage(painter))
            throw std::runtime_error("the printer refused a new page");
        sheets.PaintSheet(sheet, dpiX, dpiY);
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
