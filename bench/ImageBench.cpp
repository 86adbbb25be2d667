#include "SheetRun.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

// The same run exported as one image per sheet: by the library on one thread and on every core,
// and by a baseline that paints each sheet with QPainter into a QImage and writes it with
// QImageWriter on one thread. Memory must stay bounded by the sheets in flight.

namespace {

const char* FormatOf(TZORExport kind)
{
    switch (kind) {
    case TZORExport::BMP:
        return "bmp";
    case TZORExport::GIF:
        return "gif";
    case TZORExport::JPEG:
        return "jpg";
    default:
        return "png";
    }
}

int64_t SheetsOf(int64_t records)
{
    return (records + bench::LabelsPerSheet - 1) / bench::LabelsPerSheet;
}

// range: records, dpi, kind, threads (0: one per core).
void LibraryImages(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const double dpi = double(state.range(1));
    const auto kind = TZORExport(state.range(2));
    const QString csv = bench::CsvFile(n);
    zor::TExportOptions o;
    o.kind = kind;
    o.scale = float(dpi / 96.0);
    o.fileName = QDir(bench::Folder()).filePath(QStringLiteral("library.%1").arg(FormatOf(kind)));
    int64_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench::ClearOutputs(QStringLiteral("library"));
        state.ResumeTiming();
        const int64_t start = bench::ResetPeak();
        TZORLabelVCL label;
        bench::MakeLabel(label, bench::Code128, csv);
        zor::ExportSheets(label, o, 1, SheetsOf(n), int(state.range(3)));
        peak = std::max(peak, bench::PeakKb() - start);
    }
    bench::Report(state, n, peak);
}

void BaselineImages(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const double dpi = double(state.range(1));
    const char* format = FormatOf(TZORExport(state.range(2)));
    const QString csv = bench::CsvFile(n);
    const QSize size(
        int(std::lround(bench::Px(bench::PaperW, dpi))), int(std::lround(bench::Px(bench::PaperH, dpi))));
    int64_t peak = 0;
    const bench::TFonts fonts = bench::Fonts(dpi);
    for (auto _ : state) {
        state.PauseTiming();
        bench::ClearOutputs(QStringLiteral("baseline-"));
        state.ResumeTiming();
        const int64_t start = bench::ResetPeak();
        QFile in(csv);
        in.open(QIODevice::ReadOnly);
        in.readLine(); // the header
        // One image for every sheet, as the library keeps one per thread.
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(image.dotsPerMeterX());
        for (int64_t sheet = 1, i = 0; i < n; ++sheet) {
            image.fill(Qt::white);
            {
                QPainter p(&image);
                // The library anti-aliases every shape it prints or exports, as the text.
                p.setRenderHint(QPainter::Antialiasing);
                for (int position = 0; position < bench::LabelsPerSheet && i < n; ++position, ++i) {
                    const QPointF corner = bench::LabelCorner(position, dpi);
                    bench::PaintSheetLabel(p, fonts, bench::Code128, in.readLine().trimmed().split(';'),
                        corner.x(), corner.y(), dpi);
                }
            }
            QImageWriter writer(
                QDir(bench::Folder()).filePath(QStringLiteral("baseline-%1.%2").arg(sheet).arg(format)));
            if (qstrcmp(format, "jpg") == 0)
                writer.setQuality(90);
            if (!writer.write(image))
                state.SkipWithError(writer.errorString().toUtf8().constData());
        }
        peak = std::max(peak, bench::PeakKb() - start);
    }
    bench::Report(state, n, peak);
}

// The floor of writing a run's BMP files: the bytes of every sheet (a 24-bit bitmap of the
// page) written from memory in 64 kB blocks into files of their own, on one thread per core,
// each file through a temporary and a rename as the library writes them. Nothing is drawn or
// encoded.
void WriteFloor(benchmark::State& state)
{
    const int64_t sheets = SheetsOf(state.range(0));
    const double dpi = double(state.range(1));
    const int64_t width = std::lround(bench::Px(bench::PaperW, dpi)),
                  height = std::lround(bench::Px(bench::PaperH, dpi));
    const QByteArray bytes(54 + (width * 3 + 3) / 4 * 4 * height, 'x');
    const int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    for (auto _ : state) {
        state.PauseTiming();
        bench::ClearOutputs(QStringLiteral("floor-"));
        state.ResumeTiming();
        std::atomic<int64_t> next { 1 };
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&] {
                for (int64_t sheet = next++; sheet <= sheets; sheet = next++) {
                    const QString name
                        = QDir(bench::Folder()).filePath(QStringLiteral("floor-%1.bmp").arg(sheet));
                    QFile file(name + QStringLiteral(".tmp"));
                    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                        return;
                    for (qsizetype at = 0; at < bytes.size(); at += 65536)
                        file.write(bytes.constData() + at, std::min<qsizetype>(65536, bytes.size() - at));
                    file.close();
                    QFile::rename(file.fileName(), name);
                }
            });
        for (std::thread& w : workers)
            w.join();
    }
    bench::Report(state, state.range(0), 0);
}

constexpr int PNG = int(TZORExport::PNG), BMP = int(TZORExport::BMP), GIF = int(TZORExport::GIF),
              JPEG = int(TZORExport::JPEG);

// 2,000 records at 96 dpi (84 sheets), 960 at 300 dpi (40 sheets).
void Runs(benchmark::internal::Benchmark* b, bool library)
{
    const std::vector<int> threads = library ? std::vector { 1, 0 } : std::vector { 1 };
    for (const auto& [records, dpi] : { std::pair { 2000, 96 }, std::pair { 960, 300 } })
        for (const int kind : { PNG, BMP, GIF, JPEG }) {
            if (!library && kind == GIF)
                continue; // Qt writes no GIF
            for (const int t : threads)
                b->Args({ records, dpi, kind, t });
        }
    b->ArgNames({ "records", "dpi", "kind", "threads" })->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(LibraryImages)->Apply([](benchmark::internal::Benchmark* b) { Runs(b, true); });
BENCHMARK(BaselineImages)->Apply([](benchmark::internal::Benchmark* b) { Runs(b, false); });
BENCHMARK(WriteFloor)
    ->Args({ 2000, 96 })
    ->Args({ 960, 300 })
    ->ArgNames({ "records", "dpi" })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
