#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QObject>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <functional>
#include <list>
#include <thread>

class TZORBaseLabel;
class TZORLabelVCL;

namespace zor {

// The settings of one export, as ExportDoc takes them.
struct QUINDLE_VCL_EXPORT TExportOptions {
    TZORExport kind = TZORExport::PNG;
    QString fileName;
    // 0 with fit: the content of the label, cropped; any other value: the current sheet.
    int32_t page = 1;
    float scale = 1.0f; // kept within 0.2 to 5.0
    int16_t quality = 90; // JPEG quality: its low byte, within 0 to 100
    bool transparent = false; // white becomes transparent in PNG and GIF
    bool fit = false;
    // Documents only: every sheet of the prepared run, one page each, instead of the current one.
    bool allSheets = false;
};

// Told after each page drawn: pages done and pages in all.
using TExportProgress = std::function<void(int64_t done, int64_t total)>;

inline constexpr float MinExportScale = 0.2f;
inline constexpr float MaxExportScale = 5.0f;
// The smallest side of a cropped export, pixels.
inline constexpr double MinCropPixels = 10.0;

QUINDLE_VCL_EXPORT bool IsRaster(TZORExport kind);
// Dots per inch the kind is drawn at: 96 for images, 300 for documents.
QUINDLE_VCL_EXPORT int32_t ExportResolution(TZORExport kind);
// The scale kept within MinExportScale and MaxExportScale (NaN counts as 1).
QUINDLE_VCL_EXPORT float ClampExportScale(float scale);
// The file name extension of a kind, without the dot; the kind of an extension (any case).
QUINDLE_VCL_EXPORT QString ExportExtension(TZORExport kind);
QUINDLE_VCL_EXPORT bool ExportKindOf(const QString& extension, TZORExport& kind);

// The extent of what the label exports (elements shown and exported on layers shown and
// exported), base units, -1 on every side when there is none.
struct QUINDLE_VCL_EXPORT TContentBounds {
    int64_t minX = -1, maxX = -1, minY = -1, maxY = -1;
};
QUINDLE_VCL_EXPORT TContentBounds ContentBounds(const TZORBaseLabel& label);

// The drawn page in device pixels at the kind's resolution: the paper times the scale, or the
// content widened by a millimetre on every side and at least MinCropPixels each way.
QUINDLE_VCL_EXPORT QSizeF ExportPageSize(const TZORBaseLabel& label, const TExportOptions& options);

// Draws and writes the export on the calling thread. The label is only read: its data cursor
// stays (pass a snapshot when the user may go on editing on another thread). The file is written through
// a temporary and a rename: a failure raises EZORError and leaves no file (an existing file of
// that name stays as it was). A sheet whose labels do not fit on its paper is refused, naming
// the sizes, and so is an image larger than ImageBudget. Images state their resolution: 96 dpi
// times the scale. Files are made with the mode a plain create gives, or keep the mode of the
// file they replace.
QUINDLE_VCL_EXPORT void ExportLabel(
    const TZORLabelVCL& label, const TExportOptions& options, const TExportProgress& progress = {});

// The file of one sheet of an image run of `sheets` sheets: name-N.ext when there are several.
QUINDLE_VCL_EXPORT QString SheetFileName(const QString& fileName, int64_t sheet, int64_t sheets);

// Draws sheets first to last of the label's run (kept within its sheets) as one image each,
// named by SheetFileName, and writes them all or none: every image goes to a temporary file
// beside its target, and only when all are written are they put in place (files of those names
// stay as they were when anything fails). `threads` sheets are drawn and encoded at a time
// (0: one for each CPU the process may run on), every thread drawing the one label, and no more
// than ImageBudget holds images of the sheet: a sheet image larger than the budget is refused,
// naming its size. The label is only read, from every thread, until the call returns: progress
// must not change it (pass a snapshot when the user may go on editing). Progress and what the
// drawing tells OnInfoMsg (each message once) reach the label on the calling thread. Raises
// EZORError.
QUINDLE_VCL_EXPORT void ExportSheets(const TZORLabelVCL& label, const TExportOptions& options, int64_t first,
    int64_t last, int threads = 0, const TExportProgress& progress = {});

// The export jobs of one label: each runs on its own thread at a lowered priority; the label
// waits for them all when it is destroyed. A finished job is reported on the label's thread.
class QUINDLE_VCL_EXPORT TExportJobs : public QObject {
    Q_OBJECT

public:
    explicit TExportJobs(TZORLabelVCL& label);
    ~TExportJobs() override;

    // Runs the export of job (which the thread then owns) and reports it through the label.
    void Start(std::unique_ptr<TZORLabelVCL> job, const TExportOptions& options);
    // Waits for every job started so far; their reports stay queued.
    void WaitAll();

private:
    void Finished(std::list<std::thread>::iterator it, const QString& fileName, const QString& error);

    TZORLabelVCL& fLabel;
    std::list<std::thread> fThreads;
};

} // namespace zor
