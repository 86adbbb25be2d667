#include "Zor.Vcl.Export.h"

#include "Zor.GifWriter.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.h"
#include "Zor.XpsWriter.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QBuffer>
#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <array>
#include <cmath>

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

bool Exported(const TZORBaseItem& item)
{
    const TZORLayer* layer = item.GetLayer();
    return !item.IsPreview() && item.HasOption(TZORItemOption(ioView | ioExport)) && layer
        && layer->HasOption(TZORayerOp(loView | loExport));
}

bool Cropped(const zor::TExportOptions& o)
{
    return o.fit && o.page == 0;
}

[[noreturn]] void WriteFailed(const QString& fileName, const QString& reason)
{
    throw zor::Error(QStringLiteral("FileWrite"), fileName, reason);
}

// One page being drawn: the contexts and the label they draw. Elements bound to data go
// through their print pass, which shows the current record; the screen pass shows the
// element's own value, as in the editor.
class TPageDrawer {
public:
    TPageDrawer(TZORLabelVCL& label, const zor::TExportOptions& options)
        : fLabel(label)
        , fOptions(options)
        , fDpi(zor::ExportResolution(options.kind))
        , fScale(label.Measure().GetDrawScale())
    {
    }

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
        if (Cropped(fOptions))
            DrawCropped();
        else
            DrawSheet(sheet);
    }

private:
    double Pixels(int64_t paper) const { return double(paper) * fDpi / MicronsPerInch; }

    void SetOrigin(double x, double y)
    {
        D.fOrgFX = float(x);
        D.fOrgFY = float(y);
        P.fOrgX = zor::ClampToInt32(zor::Round(x));
        P.fOrgY = zor::ClampToInt32(zor::Round(y));
    }

    void DrawItems()
    {
        for (int32_t i = 1; i <= fLabel.GetItemsCount(); ++i) {
            TZORBaseItem* item = fLabel.GetItem(i);
            if (!Exported(*item))
                continue;
            if (item->GetIsData())
                item->PrintElement(P);
            else
                item->DrawElement(D);
        }
    }

    void DrawCropped()
    {
        const zor::TContentBounds b = zor::ContentBounds(fLabel);
        const int64_t widen = int64_t(fScale) * CropMargin;
        SetOrigin(-double(b.minX - widen) * fDpi / (double(fScale) * MicronsPerInch),
            -double(b.minY - widen) * fDpi / (double(fScale) * MicronsPerInch));
        fLabel.DrawBackImage(D.kC, D);
        DrawItems();
    }

    // Every label position of the sheet that the run fills, each with its own record. A run
    // never prepared (no CheckPrintData) draws the label at every position of the sheet.
    void DrawSheet(int64_t sheet)
    {
        const TZORMeasure& m = fLabel.Measure();
        const TZORPrintRun& run = fLabel.PrintRun();
        const bool prepared = run.sheetCount > 0;
        const int32_t rows = prepared ? run.rows : std::clamp(m.GetNuHor(), 1, TZORPrintRun::MaxSide);
        const int32_t columns = prepared ? run.columns : std::clamp(m.GetNuVer(), 1, TZORPrintRun::MaxSide);
        if (prepared)
            fLabel.FillDataPage(sheet);
        for (int32_t row = 1; row <= rows; ++row) {
            for (int32_t column = 1; column <= columns; ++column) {
                if (prepared) {
                    if (run.LabelAt(sheet, row, column) < 0)
                        continue;
                    fLabel.SelectDataPos(row, column);
                }
                D.fSheetRow = P.fSheetRow = int16_t(row);
                D.fSheetCol = P.fSheetCol = int16_t(column);
                SetOrigin(
                    Pixels(m.GetSize(TZORSizeKind::MarginLeft)
                        + (column - 1)
                            * (m.GetSize(TZORSizeKind::LabelWidth) + m.GetSize(TZORSizeKind::GapHorizontal))),
                    Pixels(m.GetSize(TZORSizeKind::MarginTop)
                        + (row - 1)
                            * (m.GetSize(TZORSizeKind::LabelHeight) + m.GetSize(TZORSizeKind::GapVertical))));
                fLabel.DrawBackImage(D.kC, D);
                DrawItems();
            }
        }
        if (prepared)
            fLabel.SelectDataPos(0, 0);
    }

    TZORLabelVCL& fLabel;
    const zor::TExportOptions& fOptions;
    int32_t fDpi;
    int32_t fScale;
    TZORDraw D; // the screen pass
    TZORDraw P; // the print pass, for elements bound to data
};

int64_t CurrentSheet(const TZORLabelVCL& label)
{
    const TZORPrintRun& run = label.PrintRun();
    return run.sheetCount > 0 ? std::clamp<int64_t>(run.sheetCounter, 1, run.sheetCount) : 1;
}

QByteArray Encode(const QImage& image, const zor::TExportOptions& o)
{
    if (o.kind == TZORExport::GIF)
        return zor::EncodeGif(image, o.transparent);
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const bool clear = o.transparent && o.kind == TZORExport::PNG;
    if (clear)
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            std::replace(line, line + out.width(), QRgb(0xFFFFFFFFu), QRgb(0x00FFFFFFu));
        }
    else
        out = out.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const int quality = o.kind == TZORExport::JPEG ? std::min(int(uint8_t(o.quality)), 100) : -1;
    const char* format = o.kind == TZORExport::PNG ? "PNG" : o.kind == TZORExport::BMP ? "BMP" : "JPEG";
    if (!out.save(&buffer, format, quality))
        WriteFailed(o.fileName, QStringLiteral("cannot encode the image"));
    return bytes;
}

void ExportRaster(TZORLabelVCL& label, const zor::TExportOptions& o, const zor::TExportProgress& progress)
{
    const QSizeF size = zor::ExportPageSize(label, o);
    QImage image(int(std::nearbyint(size.width())), int(std::nearbyint(size.height())),
        QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        WriteFailed(o.fileName, QStringLiteral("the image is too large"));
    image.setDotsPerMeterX(int(std::nearbyint(RasterDpi / 0.0254)));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.Brush.Style = TBrushStyle::Clear;
        TPageDrawer(label, o).Draw(painter, &canvas, CurrentSheet(label));
    }
    zor::SaveFileBytes(o.fileName, Encode(image, o));
    if (progress)
        progress(1, 1);
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
void DrawPages(
    TZORLabelVCL& label, const zor::TExportOptions& o, Device& device, const zor::TExportProgress& progress)
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

// Hands every write on to the save file and remembers a short one: the PDF writer does not
// look at what its writes return, and a disk filling up must not commit a cut document.
class TCheckedDevice : public QIODevice {
public:
    explicit TCheckedDevice(QSaveFile& file)
        : fFile(file)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool Failed() const { return fFailed; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        fFailed = fFailed || !zor::WriteAll(fFile, data, length);
        return fFailed ? -1 : length;
    }

private:
    QSaveFile& fFile;
    bool fFailed = false;
};

void ExportPdf(TZORLabelVCL& label, const zor::TExportOptions& o, const zor::TExportProgress& progress)
{
    QSaveFile file(o.fileName);
    // Unbuffered: a short write shows at once, not at a late flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        WriteFailed(o.fileName, file.errorString());
    TCheckedDevice device(file);
    {
        QPdfWriter writer(&device);
        writer.setResolution(DocumentDpi);
        writer.setPageSize(DocumentPage(zor::ExportPageSize(label, o)));
        writer.setPageMargins(QMarginsF());
        writer.setCreator(QStringLiteral("quindle"));
        DrawPages(label, o, writer, progress);
    }
    if (device.Failed())
        WriteFailed(o.fileName, file.errorString());
    if (!file.commit())
        WriteFailed(o.fileName, file.errorString());
}

void ExportXps(TZORLabelVCL& label, const zor::TExportOptions& o, const zor::TExportProgress& progress)
{
    zor::TXpsDocument document(
        DocumentPage(zor::ExportPageSize(label, o)).size(QPageSize::Millimeter), DocumentDpi);
    DrawPages(label, o, document, progress);
    zor::SaveFileBytes(o.fileName, document.Package());
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

zor::TContentBounds zor::ContentBounds(TZORBaseLabel& label)
{
    TContentBounds b;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        TZORBaseItem* item = label.GetItem(i);
        if (!Exported(*item))
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

QSizeF zor::ExportPageSize(TZORBaseLabel& label, const TExportOptions& options)
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

void zor::ExportLabel(TZORLabelVCL& label, const TExportOptions& options, const TExportProgress& progress)
{
    TExportOptions o = options;
    o.scale = ClampExportScale(o.scale);
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
