#include "SheetRun.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

// A run of labels, each with a text and a code bound to a CSV record, exported to one PDF; and
// beside it a baseline that draws the same content straight onto a QPdfWriter with libzint and
// nothing else. Each run reports the peak resident memory above its start: it must not grow
// with the number of records.

namespace {

constexpr int Dpi = 300;

void LibraryExport(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const auto code = bench::TCode(state.range(1));
    const QString csv = bench::CsvFile(n);
    const QString pdf = QDir(bench::Folder()).filePath(QStringLiteral("library.pdf"));
    int64_t peak = 0;
    for (auto _ : state) {
        const int64_t start = bench::ResetPeak();
        TZORLabelVCL label;
        bench::MakeLabel(label, code, csv);
        zor::TExportOptions o;
        o.kind = TZORExport::PDF;
        o.fileName = pdf;
        o.allSheets = true;
        zor::ExportLabel(label, o);
        peak = std::max(peak, bench::PeakKb() - start);
    }
    bench::Report(state, n, peak);
}

void BaselineExport(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const auto code = bench::TCode(state.range(1));
    const QString csv = bench::CsvFile(n);
    const QString pdf = QDir(bench::Folder()).filePath(QStringLiteral("baseline.pdf"));
    const bench::TFonts fonts = bench::Fonts(Dpi);
    int64_t peak = 0;
    for (auto _ : state) {
        const int64_t start = bench::ResetPeak();
        QFile in(csv);
        in.open(QIODevice::ReadOnly);
        in.readLine(); // the header
        QPdfWriter writer(pdf);
        writer.setResolution(Dpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        QPainter p(&writer);
        for (int64_t i = 0; i < n; ++i) {
            const int64_t position = i % bench::LabelsPerSheet;
            if (i > 0 && position == 0)
                writer.newPage();
            const QPointF corner = bench::LabelCorner(position, Dpi);
            bench::PaintSheetLabel(
                p, fonts, code, in.readLine().trimmed().split(';'), corner.x(), corner.y(), Dpi);
        }
        p.end();
        peak = std::max(peak, bench::PeakKb() - start);
    }
    bench::Report(state, n, peak);
}

} // namespace

BENCHMARK(LibraryExport)
    ->ArgsProduct({ { 2000, 10000 }, { bench::Code128, bench::QRCode } })
    ->ArgNames({ "records", "qr" })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineExport)
    ->ArgsProduct({ { 2000, 10000 }, { bench::Code128, bench::QRCode } })
    ->ArgNames({ "records", "qr" })
    ->Unit(benchmark::kMillisecond);
