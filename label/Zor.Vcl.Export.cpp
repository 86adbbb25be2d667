#include "Zor.Vcl.Export.h"

#include "Zor.ExportBudget.h"
#include "Zor.GifWriter.h"
#include "Zor.Msg.h"
#include "Zor.StagedFiles.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Sheet.h"
#include "Zor.Vcl.SheetPainter.h"
#include "Zor.Vcl.h"
#include "Zor.XpsWriter.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QThread>

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using zor::CheckSheetFits;
using zor::ClampExportScale;
using zor::ContentBounds;
using zor::ExportLabel;
using zor::ExportPageSize;
using zor::ExportResolution;
using zor::ExportWorkers;
using zor::ImageBudget;
using zor::ISkCanvas;
using zor::IsRaster;
using zor::MaxExportScale;
using zor::MinCropPixels;
using zor::MinExportScale;
using zor::SheetFileName;
using zor::TBrushStyle;
using zor::TCanvas;
using zor::TContentBounds;
using zor::TExportOptions;
using zor::TExportProgress;
using zor::TSkCanvas;
using zor::TStagedFiles;

namespace {

constexpr double MicronsPerInch = 25400.0;
constexpr int32_t RasterDpi = 96;
constexpr int32_t DocumentDpi = 300;
// The cropped content gets this much room on every side, paper micrometres.
constexpr int64_t CropMargin = 1000;

struct TKindRow {
    TZORExport kind;
    const char* extension;
};
constexpr std::array<TKindRow, 6> Kinds = { {
    { TZORExport::PDF, "pdf" },
    { TZORExport::XPS, "xps" },
    { TZORExport::BMP, "bmp" },
    { TZORExport::PNG, "png" },
    { TZORExport::GIF, "gif" },
    { TZORExport::JPEG, "jpg" },
} };

bool Cropped(const zor::TExportOptions& o)
{
    return o.fit && o.page == 0;
}

[[noreturn]] void WriteFailed(const QString& fileName, const QString& reason)
{
    throw zor::Error(QStringLiteral("FileWrite"), fileName, reason);
}

// What the drawing of a page tells (a picture that cannot be drawn); empty: the label's OnInfoMsg.
using TTell = std::function<void(const QString& message)>;

// One page being drawn: the contexts of the screen and print passes and the sheet painter
// over them, which shows each label's record through the print pass of elements bound to data.
// Drawers on several threads may share one label: each has contexts and a record reader of its
// own.
class TPageDrawer {
public:
    TPageDrawer(const TZORLabelVCL& label, const zor::TExportOptions& options, const TTell& tell = {})
        : fLabel(label)
        , fOptions(options)
        , fDpi(zor::ExportResolution(options.kind))
        , fScale(label.Measure().GetDrawScale())
        , fPainter(label, zor::TSheetTarget::Export, P, &D)
    {
        D.fTell = tell;
        P.fTell = tell;
    }

    const TZORLabelVCL& Label() const { return fLabel; }

    // Draws on the painter (device pixels at the kind's resolution, on a page already white):
    // the cropped content or the given sheet of the run.
    void Draw(QPainter& painter, TCanvas* canvas, int64_t sheet)
    {
        const ISkCanvas sk = std::make_shared<TSkCanvas>(painter);
        sk->Scale(fOptions.scale, fOptions.scale);
        D.SetupExport(canvas, sk, fDpi, fOptions.scale, fScale, !zor::IsRaster(fOptions.kind));
        TZORPrintKit kit(painter);
        // The print set-up clears its graphics: it comes before anything is drawn.
        P.SetupPrint(kit, fDpi, fDpi, painter.device()->width(), painter.device()->height(), fScale,
            fLabel.GetUnits());
        if (!Cropped(fOptions))
            return fPainter.PaintSheet(sheet, fDpi, fDpi);
        const zor::TContentBounds b = zor::ContentBounds(fLabel);
        const int64_t widen = int64_t(fScale) * CropMargin;
        fPainter.PaintLabel({ -double(b.minX - widen) * fDpi / (double(fScale) * MicronsPerInch),
            -double(b.minY - widen) * fDpi / (double(fScale) * MicronsPerInch) });
    }

private:
    const TZORLabelVCL& fLabel;
    const zor::TExportOptions& fOptions;
    int32_t fDpi;
    int32_t fScale;
    TZORDraw D; // the screen pass
    TZORDraw P; // the print pass, for elements bound to data
    zor::TSheetPainter fPainter;
};

int64_t CurrentSheet(const TZORLabelVCL& label)
{
    const TZORPrintRun& run = label.PrintRun();
    return run.sheetCount > 0 ? std::clamp<int64_t>(run.sheetCounter, 1, run.sheetCount) : 1;
}

// Pixels per metre of an image drawn at dpi times the scale, as the file states it.
int DotsPerMeter(const zor::TExportOptions& o)
{
    return int(std::lround(RasterDpi * double(o.scale) / 0.0254));
}

// Transparency needs an alpha channel; any other image is drawn opaque, in the format the
// encoders take as it is.
bool ClearsWhite(const zor::TExportOptions& o)
{
    return o.transparent && (o.kind == TZORExport::PNG || o.kind == TZORExport::GIF);
}

// Draws the sheet into image, which is made anew only when it is not of the size and format
// the export needs: a run reuses one image per thread (a fresh image of a 300 dpi sheet costs
// its 35 MB in page faults every time). A run keeps one drawer per thread too: its record reader
// reads on from sheet to sheet.
void DrawImage(TPageDrawer& drawer, const zor::TExportOptions& o, int64_t sheet, QImage& image)
{
    const QSizeF size = zor::ExportPageSize(drawer.Label(), o);
    const QSize pixels(int(std::nearbyint(size.width())), int(std::nearbyint(size.height())));
    const QImage::Format format = ClearsWhite(o) ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (image.size() != pixels || image.format() != format)
        image = QImage(pixels, format);
    if (image.isNull())
        WriteFailed(o.fileName,
            QStringLiteral("the sheet image of %1 cannot be made").arg(zor::SheetImageSize(size)));
    image.setDotsPerMeterX(DotsPerMeter(o));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    // Not filled here: the drawer's print set-up clears the whole image to opaque white.
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.Brush.Style = TBrushStyle::Clear;
    drawer.Draw(painter, &canvas, sheet);
}

void Encode(QImage& image, const zor::TExportOptions& o, QIODevice& device)
{
    if (o.kind == TZORExport::GIF) {
        device.write(zor::EncodeGif(image, o.transparent));
        return;
    }
    if (ClearsWhite(o))
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::replace(line, line + image.width(), QRgb(0xFFFFFFFFu), QRgb(0x00FFFFFFu));
        }
    const int quality = o.kind == TZORExport::JPEG ? std::min(int(uint8_t(o.quality)), 100) : -1;
    const char* format = o.kind == TZORExport::PNG ? "PNG" : o.kind == TZORExport::BMP ? "BMP" : "JPEG";
    if (!image.save(&device, format, quality))
        WriteFailed(o.fileName, QStringLiteral("cannot encode the image"));
}

// One sheet drawn into image and encoded into the device.
void RenderSheet(
    TPageDrawer& drawer, const zor::TExportOptions& o, int64_t sheet, QImage& image, QIODevice& device)
{
    DrawImage(drawer, o, sheet, image);
    Encode(image, o, device);
}

void ExportRaster(
    const TZORLabelVCL& label, const zor::TExportOptions& o, const zor::TExportProgress& progress)
{
    zor::ExportWorkers(o.fileName, zor::ExportPageSize(label, o), 1, 1, zor::ImageBudget());
    zor::TStagedFiles file;
    TPageDrawer drawer(label, o);
    QImage image;
    file.Stage(
        o.fileName, [&](QIODevice& device) { RenderSheet(drawer, o, CurrentSheet(label), image, device); });
    file.Commit();
    if (progress)
        progress(1, 1);
}

// Draws and encodes the sheets on `workers` threads, all drawing the one label, each taking the
// next sheet as it is free; this thread reports the progress. The first failure stops them all.
void RenderInParallel(const TZORLabelVCL& label, const zor::TExportOptions& o, int64_t first, int64_t last,
    int workers, zor::TStagedFiles& staged, const zor::TExportProgress& progress)
{
    std::mutex mutex;
    std::condition_variable changed;
    int64_t next = first, done = 0;
    std::exception_ptr failure;
    // What the workers tell (a picture that cannot be drawn) reaches the label's OnInfoMsg from
    // this thread at the end, each message once.
    std::vector<QString> messages;
    const TTell collect = [&](const QString& message) {
        const std::lock_guard lock(mutex);
        if (std::find(messages.begin(), messages.end(), message) == messages.end())
            messages.push_back(message);
    };
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            TPageDrawer drawer(label, o, collect);
            QImage image;
            for (;;) {
                int64_t sheet = 0;
                {
                    const std::lock_guard lock(mutex);
                    if (failure || next > last)
                        break;
                    sheet = next++;
                }
                try {
                    staged.Stage(zor::SheetFileName(o.fileName, sheet, last - first + 1),
                        [&](QIODevice& device) { RenderSheet(drawer, o, sheet, image, device); });
                } catch (...) {
                    const std::lock_guard lock(mutex);
                    if (!failure)
                        failure = std::current_exception();
                }
                const std::lock_guard lock(mutex);
                ++done;
                changed.notify_one();
            }
        });
    }
    int64_t told = 0;
    std::unique_lock lock(mutex);
    while (told < last - first + 1 && !failure) {
        changed.wait(lock, [&] { return done > told || failure; });
        for (; told < done && !failure; ++told) {
            lock.unlock();
            std::exception_ptr thrown;
            try {
                if (progress)
                    progress(told + 1, last - first + 1);
            } catch (...) {
                thrown = std::current_exception();
            }
            lock.lock();
            if (thrown && !failure)
                failure = thrown;
        }
    }
    lock.unlock();
    for (std::thread& t : threads)
        t.join();
    // Telling the host leaves the label as it is; the event's signature predates const drawing.
    for (const QString& message : messages)
        if (label.OnInfoMsg)
            label.OnInfoMsg(const_cast<TZORLabelVCL&>(label), message);
    if (failure)
        std::rethrow_exception(failure);
}

// The sheets a document holds: every sheet of the run, or the current one.
std::pair<int64_t, int64_t> DocumentSheets(const TZORLabelVCL& label, const zor::TExportOptions& o)
{
    if (o.allSheets && !Cropped(o) && label.PrintRun().sheetCount > 0)
        return { 1, label.PrintRun().sheetCount };
    const int64_t sheet = CurrentSheet(label);
    return { sheet, sheet };
}

// Draws the document's pages on a paint device that starts on its first page.
template <class Device>
void DrawPages(const TZORLabelVCL& label, const zor::TExportOptions& o, Device& device,
    const zor::TExportProgress& progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        WriteFailed(o.fileName, QStringLiteral("cannot start the document"));
    const auto [first, last] = DocumentSheets(label, o);
    TPageDrawer drawer(label, o);
    for (int64_t sheet = first; sheet <= last; ++sheet) {
        if (sheet > first && !device.newPage())
            WriteFailed(o.fileName, QStringLiteral("cannot add a page"));
        painter.fillRect(QRectF(0, 0, device.width(), device.height()), Qt::white);
        drawer.Draw(painter, nullptr, sheet);
        if (progress)
            progress(sheet - first + 1, last - first + 1);
    }
    if (!painter.end())
        WriteFailed(o.fileName, QStringLiteral("cannot finish the document"));
}

// The physical page: the drawn size at the document resolution, in millimetres.
QPageSize DocumentPage(const QSizeF& pixels)
{
    return QPageSize(pixels * (25.4 / DocumentDpi), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

void ExportPdf(const TZORLabelVCL& label, const zor::TExportOptions& o, const zor::TExportProgress& progress)
{
    zor::TStagedFiles file;
    file.Stage(o.fileName, [&](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setResolution(DocumentDpi);
        writer.setPageSize(DocumentPage(zor::ExportPageSize(label, o)));
        writer.setPageMargins(QMarginsF());
        writer.setCreator(QStringLiteral("quindle"));
        DrawPages(label, o, writer, progress);
    });
    file.Commit();
}

void ExportXps(const TZORLabelVCL& label, const zor::TExportOptions& o, const zor::TExportProgress& progress)
{
    zor::TXpsDocument document(
        DocumentPage(zor::ExportPageSize(label, o)).size(QPageSize::Millimeter), DocumentDpi);
    DrawPages(label, o, document, progress);
    zor::SaveStaged(o.fileName, document.Package());
}

} // namespace

bool zor::IsRaster(TZORExport kind)
{
    return kind >= TZORExport::BMP && kind <= TZORExport::JPEG;
}

int32_t zor::ExportResolution(TZORExport kind)
{
    return IsRaster(kind) ? RasterDpi : DocumentDpi;
}

float zor::ClampExportScale(float scale)
{
    return std::isnan(scale) ? 1.0f : std::clamp(scale, MinExportScale, MaxExportScale);
}

QString zor::ExportExtension(TZORExport kind)
{
    for (const TKindRow& row : Kinds)
        if (row.kind == kind)
            return QString::fromLatin1(row.extension);
    return {};
}

bool zor::ExportKindOf(const QString& extension, TZORExport& kind)
{
    const QString ext = extension.toLower();
    for (const TKindRow& row : Kinds)
        if (ext == QLatin1String(row.extension)) {
            kind = row.kind;
            return true;
        }
    if (ext == QLatin1String("jpeg")) {
        kind = TZORExport::JPEG;
        return true;
    }
    return false;
}

zor::TContentBounds zor::ContentBounds(const TZORBaseLabel& label)
{
    TContentBounds b;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        TZORBaseItem* item = label.GetItem(i);
        if (!zor::Exported(*item))
            continue;
        const TZORRect r = item->GetBounds().Normalized();
        const bool first = b.minX == -1 && b.maxX == -1 && b.minY == -1 && b.maxY == -1;
        b.minX = first ? r.Left : std::min(b.minX, r.Left);
        b.maxX = first ? r.Right : std::max(b.maxX, r.Right);
        b.minY = first ? r.Top : std::min(b.minY, r.Top);
        b.maxY = first ? r.Bottom : std::max(b.maxY, r.Bottom);
        item->CheckFit(b.minX, b.maxX, b.minY, b.maxY);
    }
    return b;
}

QSizeF zor::ExportPageSize(const TZORBaseLabel& label, const TExportOptions& options)
{
    const double dpi = ExportResolution(options.kind);
    const double scale = ClampExportScale(options.scale);
    const TZORMeasure& m = label.Measure();
    if (!Cropped(options))
        return { double(m.GetSize(TZORSizeKind::PaperWidth)) * scale * dpi / MicronsPerInch,
            double(m.GetSize(TZORSizeKind::PaperHeight)) * scale * dpi / MicronsPerInch };
    const TContentBounds b = ContentBounds(label);
    const double s = m.GetDrawScale();
    const double widen = 2.0 * s * CropMargin;
    const double w = (double(b.maxX - b.minX) + widen) * scale * dpi / (s * MicronsPerInch);
    const double h = (double(b.maxY - b.minY) + widen) * scale * dpi / (s * MicronsPerInch);
    return { std::max(w, MinCropPixels), std::max(h, MinCropPixels) };
}

void zor::ExportLabel(
    const TZORLabelVCL& label, const TExportOptions& options, const TExportProgress& progress)
{
    TExportOptions o = options;
    o.scale = ClampExportScale(o.scale);
    if (!Cropped(o))
        CheckSheetFits(label);
    switch (o.kind) {
    case TZORExport::PDF:
        return ExportPdf(label, o, progress);
    case TZORExport::XPS:
        return ExportXps(label, o, progress);
    case TZORExport::BMP:
    case TZORExport::PNG:
    case TZORExport::GIF:
    case TZORExport::JPEG:
        return ExportRaster(label, o, progress);
    }
    WriteFailed(o.fileName, QStringLiteral("unknown export kind %1").arg(int(o.kind)));
}

QString zor::SheetFileName(const QString& fileName, int64_t sheet, int64_t sheets)
{
    if (sheets < 2)
        return fileName;
    const QFileInfo info(fileName);
    return info.dir().filePath(
        QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(sheet).arg(info.suffix()));
}

void zor::ExportSheets(const TZORLabelVCL& label, const TExportOptions& options, int64_t first, int64_t last,
    int threads, const TExportProgress& progress)
{
    TExportOptions o = options;
    o.scale = ClampExportScale(o.scale);
    o.fit = false;
    if (!IsRaster(o.kind))
        WriteFailed(o.fileName, QStringLiteral("one image per sheet is for image kinds"));
    CheckSheetFits(label);
    const int64_t sheets = std::max<int64_t>(label.PrintRun().sheetCount, 1);
    first = std::clamp<int64_t>(first, 1, sheets);
    last = std::clamp<int64_t>(last, first, sheets);
    const int64_t count = last - first + 1;
    const int workers = ExportWorkers(o.fileName, ExportPageSize(label, o), count, threads, ImageBudget());
    TStagedFiles staged;
    if (workers > 1)
        RenderInParallel(label, o, first, last, workers, staged, progress);
    else {
        TPageDrawer drawer(label, o);
        QImage image;
        for (int64_t sheet = first; sheet <= last; ++sheet) {
            staged.Stage(SheetFileName(o.fileName, sheet, count),
                [&](QIODevice& device) { RenderSheet(drawer, o, sheet, image, device); });
            if (progress)
                progress(sheet - first + 1, count);
        }
    }
    staged.Commit();
}

// --- Jobs ---

zor::TExportJobs::TExportJobs(TZORLabelVCL& label)
    : QObject(&label)
    , fLabel(label)
{
}

zor::TExportJobs::~TExportJobs()
{
    WaitAll();
}

void zor::TExportJobs::Start(std::unique_ptr<TZORLabelVCL> job, const TExportOptions& options)
{
    fThreads.emplace_back();
    const auto it = std::prev(fThreads.end());
    // The job's label is made on this thread; it only ever lives on the worker from here on.
    TZORLabelVCL* raw = job.release();
    // What the job's label tells (a picture that cannot be drawn) goes to the label's OnInfoMsg
    // on its own thread.
    raw->OnInfoMsg = [this](TZORBaseLabel&, const QString& message) {
        QMetaObject::invokeMethod(
            this,
            [this, message] {
                if (fLabel.OnInfoMsg)
                    fLabel.OnInfoMsg(fLabel, message);
            },
            Qt::QueuedConnection);
    };
    raw->moveToThread(nullptr);
    *it = std::thread([this, it, raw, options] {
        std::unique_ptr<TZORLabelVCL> label(raw);
        QThread::currentThread()->setPriority(QThread::LowPriority);
        QString error;
        try {
            ExportLabel(*label, options);
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        }
        label.reset();
        QMetaObject::invokeMethod(
            this, [this, it, name = options.fileName, error] { Finished(it, name, error); },
            Qt::QueuedConnection);
    });
}

void zor::TExportJobs::WaitAll()
{
    for (std::thread& t : fThreads)
        if (t.joinable())
            t.join();
}

void zor::TExportJobs::Finished(
    std::list<std::thread>::iterator it, const QString& fileName, const QString& error)
{
    if (it->joinable())
        it->join();
    fThreads.erase(it);
    emit fLabel.ExportDone(fileName, error);
}

void TZORLabelVCL::ExportDoc(TZORExport kind, const QString& fileName, int32_t page, float scale,
    int16_t quality, bool checkData, bool transparent, bool fit)
{
    // The prompts of the run are asked here, on the caller's thread, before the job copies it.
    if (checkData)
        CheckPrintData();
    auto* jobs = findChild<zor::TExportJobs*>(QString(), Qt::FindDirectChildrenOnly);
    if (!jobs)
        jobs = new zor::TExportJobs(*this);
    zor::TExportOptions options;
    options.kind = kind;
    options.fileName = fileName;
    options.page = page;
    options.scale = zor::ClampExportScale(scale);
    options.quality = quality;
    options.transparent = transparent;
    options.fit = fit;
    jobs->Start(Snapshot(), options);
}

void TZORLabelVCL::WaitForExports()
{
    if (auto* jobs = findChild<zor::TExportJobs*>(QString(), Qt::FindDirectChildrenOnly))
        jobs->WaitAll();
}
