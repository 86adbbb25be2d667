#include "Zor.Barcode.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QFile>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

// A run of labels, each with a text and a code bound to a CSV record, exported to one PDF; and
// beside it a baseline that draws the same content straight onto a QPdfWriter with libzint and
// nothing else. Each run reports the peak resident memory above its start: it must not grow
// with the number of records.

namespace {

// The sheet: A4, 3 columns by 8 rows of 70 x 37 mm labels, 4.5 mm from the top.
constexpr int Columns = 3;
constexpr int Rows = 8;
constexpr double LabelW = 70.0, LabelH = 37.0, MarginTop = 4.5;
constexpr int Dpi = 300;

enum TCode : int { Code128 = 0, QRCode = 1 };

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The CSV file of n records (name, code), written once per size.
QString CsvFile(int64_t n)
{
    static std::map<int64_t, QString> files;
    if (const auto it = files.find(n); it != files.end())
        return it->second;
    const QString path = Folder().filePath(QStringLiteral("records-%1.csv").arg(n));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("name;code\n");
    for (int64_t i = 0; i < n; ++i)
        file.write(QStringLiteral("Article %1;QD-%2\n").arg(i).arg(100000 + i).toUtf8());
    return files[n] = path;
}

int64_t StatusKb(const char* key)
{
    int64_t kb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, key, std::strlen(key)) == 0)
                kb = std::atoll(line + std::strlen(key));
        std::fclose(f);
    }
    return kb;
}

// Starts a new peak: the kernel's high-water mark falls back to the present size.
int64_t ResetPeak()
{
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    return StatusKb("VmRSS:");
}

void MakeLabel(TZORLabelVCL& label, TCode code, const QString& csv)
{
    TZORMeasure& m = label.Measure();
    m.SetWidth(int64_t(LabelW * 1000));
    m.SetHeight(int64_t(LabelH * 1000));
    m.SetMarTop(int64_t(MarginTop * 1000));
    m.SetNuHor(Rows);
    m.SetNuVer(Columns);
    TZORText* text = label.AddBaseText(5000, 5000);
    text->SetFontHeight(4.0f);
    text->SetFillType(1);
    text->SetFillName(QStringLiteral("name"));
    TZORBaseItem* symbol = nullptr;
    if (code == Code128) {
        TZORBarcode* bar = label.AddBaseBarcode(5000, 14000, "x", TZORBarType::Code128);
        bar->SetBarWidth(0.3f);
        bar->SetBarHeight(12.0f);
        symbol = bar;
    } else {
        TZORQRCode* qr = label.AddBaseQRCode(40000, 5000, QStringLiteral("x"));
        qr->SetBarWidth(0.8f);
        symbol = qr;
    }
    symbol->SetFillType(1);
    symbol->SetFillName(QStringLiteral("code"));
    if (!label.Data().SetCsvData(csv, true, 1, 2))
        throw std::runtime_error("the CSV file cannot be read");
    label.CheckPrintData();
}

// The peak above the start of the run, and the process's whole peak.
void Report(benchmark::State& state, int64_t growthKb)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["peak_growth_kb"] = double(growthKb);
    state.counters["peak_rss_kb"] = double(StatusKb("VmHWM:"));
}

void LibraryExport(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const TCode code = TCode(state.range(1));
    const QString csv = CsvFile(n);
    const QString pdf = Folder().filePath(QStringLiteral("library.pdf"));
    int64_t peak = 0;
    for (auto _ : state) {
        const int64_t start = ResetPeak();
        TZORLabelVCL label;
        MakeLabel(label, code, csv);
        zor::TExportOptions o;
        o.kind = TZORExport::PDF;
        o.fileName = pdf;
        o.allSheets = true;
        zor::ExportLabel(label, o);
        peak = std::max(peak, StatusKb("VmHWM:") - start);
    }
    Report(state, peak);
}

// --- The baseline: QPdfWriter and libzint only ---

double Px(double mm)
{
    return mm * Dpi / 25.4;
}

bool Dark(const zint_symbol& s, int row, int column)
{
    return (s.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

void DrawSymbol(QPainter& p, TCode code, const QByteArray& value, double x, double y)
{
    std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> s(ZBarcode_Create(), &ZBarcode_Delete);
    s->symbology = code == Code128 ? BARCODE_CODE128 : BARCODE_QRCODE;
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(value.constData()), int(value.size()))
        >= ZINT_ERROR)
        return;
    const double module = Px(code == Code128 ? 0.3 : 0.8);
    const double rowHeight = code == Code128 ? Px(12.0) : module;
    for (int r = 0; r < s->rows; ++r)
        for (int c = 0; c < s->width;) {
            if (!Dark(*s, r, c)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < s->width && Dark(*s, r, end))
                ++end;
            p.fillRect(QRectF(x + c * module, y + r * rowHeight, (end - c) * module, rowHeight), Qt::black);
            c = end;
        }
}

void BaselineExport(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const TCode code = TCode(state.range(1));
    const QString csv = CsvFile(n);
    const QString pdf = Folder().filePath(QStringLiteral("baseline.pdf"));
    int64_t peak = 0;
    for (auto _ : state) {
        const int64_t start = ResetPeak();
        QFile in(csv);
        in.open(QIODevice::ReadOnly);
        in.readLine(); // the header
        QPdfWriter writer(pdf);
        writer.setResolution(Dpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        QPainter p(&writer);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(int(Px(4.0)));
        p.setFont(font);
        for (int64_t i = 0; i < n; ++i) {
            const QList<QByteArray> fields = in.readLine().trimmed().split(';');
            const int64_t position = i % (Rows * Columns);
            if (i > 0 && position == 0)
                writer.newPage();
            const double x = Px((position % Columns) * LabelW);
            const double y = Px(MarginTop + double(position / Columns) * LabelH);
            p.drawText(QPointF(x + Px(5), y + Px(9)), QString::fromUtf8(fields.value(0)));
            DrawSymbol(p, code, fields.value(1), code == Code128 ? x + Px(5) : x + Px(40),
                y + Px(code == Code128 ? 14 : 5));
        }
        p.end();
        peak = std::max(peak, StatusKb("VmHWM:") - start);
    }
    Report(state, peak);
}

} // namespace

BENCHMARK(LibraryExport)
    ->ArgsProduct({ { 2000, 10000 }, { Code128, QRCode } })
    ->ArgNames({ "records", "qr" })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineExport)
    ->ArgsProduct({ { 2000, 10000 }, { Code128, QRCode } })
    ->ArgNames({ "records", "qr" })
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
