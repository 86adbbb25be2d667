#include "SheetRun.h"

#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <algorithm>

// A run of labels, each with a text and a code bound to a CSV record, exported to one PDF; and
// beside it a baseline that draws the same content straight onto a QPdfWriter with libzint and
// nothing else. Each run reports the peak resident memory above its start: it must not grow
// with the number of records.

namespace {

void LibraryExport(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const auto code = bench::TCode(state.range(1));
    const QString csv = bench::CsvFile(n);
    const QString pdf = QDir(bench::Folder()).filePath(QStringLiteral("library.pdf"));
    int64_t peak = 0;
    for (auto _ : state) {
        const int64_t start = bench::ResetPeak();
        bench::LibraryPdf(code, csv, pdf);
        peak = std::max(peak, bench::PeakKb() - start);
    }
    bench::Report(state, n, peak);
    state.counters["file_kb"] = double(QFileInfo(pdf).size()) / 1024.0;
}

void BaselineExport(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const auto code = bench::TCode(state.range(1));
    const QString csv = bench::CsvFile(n);
    const QString pdf = QDir(bench::Folder()).filePath(QStringLiteral("baseline.pdf"));
    int64_t peak = 0;
    for (auto _ : state) {
        const int64_t start = bench::ResetPeak();
        bench::BaselinePdf(code, csv, n, pdf);
        peak = std::max(peak, bench::PeakKb() - start);
    }
    bench::Report(state, n, peak);
    state.counters["file_kb"] = double(QFileInfo(pdf).size()) / 1024.0;
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
