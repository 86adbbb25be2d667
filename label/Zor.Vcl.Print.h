#pragma once

#include "label/Zor.PrintExport.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QPainter;
class QPrinter;
class TZORLabelVCL;

// How the last print job of a label ended.
enum class TZORPrintStatus : uint8_t {
    None = 0, // no job has ended yet
    Printed = 1, // every label of the run went to the printer
    Failed = 2, // the job was aborted: a label could not be printed or the printer refused it
    NoPrinter = 3, // the printer index named no printer: nothing was printed, no event fired
};

namespace zor {

// The printer settings of a label: paper always given as its shorter side by its longer side,
// in tenths of a millimetre, turned to landscape when the paper is wider than high.
struct QUINDLE_PRINT_EXPORT TDeviceMode {
    bool landscape = false;
    int32_t paperWidth = 0; // the shorter side, 0.1 mm
    int32_t paperLength = 0; // the longer side, 0.1 mm
    bool setCopies = false; // false: the printer's own copy count stays
    int16_t copies = 0;

    bool operator==(const TDeviceMode&) const = default;
};

// The settings for a paper of width x height micrometres and a copy count (0 or less leaves
// the printer's count).
QUINDLE_PRINT_EXPORT TDeviceMode DeviceMode(int64_t paperWidth, int64_t paperHeight, int32_t copies);
// Gives the printer the settings: a custom paper of exactly that size, the orientation and the
// copies. A printer that refuses them keeps its own.
QUINDLE_PRINT_EXPORT void ApplyDeviceMode(QPrinter& printer, const TDeviceMode& mode);

// The printers CUPS offers, sorted by name (case-sensitively), so that a stored index names
// the same printer whatever order the server lists them in.
QUINDLE_PRINT_EXPORT QStringList PrinterNames();
// The printer of a stored index: a position in names, or -1 for the system's default printer
// (defaultName); empty, so that nothing prints, for any other index or without a default.
QUINDLE_PRINT_EXPORT QString PrinterForIndex(
    int32_t index, const QStringList& names, const QString& defaultName);
// The printer a job goes to when none is chosen (ResetPrinter sets it); empty for the
// system's default printer.
QUINDLE_PRINT_EXPORT QString CurrentPrinter();
QUINDLE_PRINT_EXPORT void SetCurrentPrinter(const QString& name);

// The pages a print job paints on. Begin starts the document with the painter on its first
// page; each call answers false when the device refuses.
class QUINDLE_PRINT_EXPORT TPrintPages {
public:
    virtual ~TPrintPages() = default;
    virtual bool Begin(QPainter& painter) = 0;
    virtual bool NewPage(QPainter& painter) = 0;
    virtual bool End(QPainter& painter) = 0;
    // Device pixels per inch, across and down.
    virtual QSize Dpi() const = 0;
    // The page in device pixels, as the label's paper stands.
    virtual QSize PageSize() const = 0;
};

// The pages of a printer of the system (or of a PDF file): the paper from the paper's edge.
class QUINDLE_PRINT_EXPORT TPrinterPages : public TPrintPages {
public:
    TPrinterPages(QPrinter& printer, const QString& docName);
    bool Begin(QPainter& painter) override;
    bool NewPage(QPainter& painter) override;
    bool End(QPainter& painter) override;
    QSize Dpi() const override;
    QSize PageSize() const override;

private:
    QPrinter& fPrinter;
};

// Prints the run of job (a label snapshot whose run CheckPrintData prepared) on pages: every
// sheet from the current one (the first after CheckPrintData), each label with its record; the
// job is only read. Raises whatever an element raises; the caller aborts the job then.
QUINDLE_PRINT_EXPORT void PrintSheets(const TZORLabelVCL& job, TPrintPages& pages);

// The print jobs of one label: each runs on its own thread, and the label waits for them all
// when it is destroyed.
class QUINDLE_PRINT_EXPORT TPrintJobs {
public:
    TPrintJobs() = default;
    TPrintJobs(const TPrintJobs&) = delete;
    TPrintJobs& operator=(const TPrintJobs&) = delete;
    ~TPrintJobs() { WaitAll(); }

    void Start(std::function<TZORPrintStatus()> job);
    void WaitAll();
    TZORPrintStatus LastStatus() const { return fLast.load(); }

private:
    struct TJob {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex fMutex;
    std::vector<TJob> fJobs;
    std::atomic<TZORPrintStatus> fLast { TZORPrintStatus::None };
};

} // namespace zor
