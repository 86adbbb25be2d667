#include "SheetRun.h"

#include "Zor.Barcode.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>

namespace {

QTemporaryDir& TempDir()
{
    static QTemporaryDir dir;
    return dir;
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

} // namespace

QString bench::Folder()
{
    return TempDir().path();
}

QString bench::CsvFile(int64_t n)
{
    static std::map<int64_t, QString> files;
    if (const auto it = files.find(n); it != files.end())
        return it->second;
    const QString path = TempDir().filePath(QStringLiteral("records-%1.csv").arg(n));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("name;code\n");
    for (int64_t i = 0; i < n; ++i)
        file.write(QStringLiteral("Article %1;QD-%2\n").arg(i).arg(100000 + i).toUtf8());
    return files[n] = path;
}

void bench::MakeLabel(TZORLabelVCL& label, TCode code, const QString& csv)
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
        qr->SetBarHeight(0.8f);
        symbol = qr;
    }
    symbol->SetFillType(1);
    symbol->SetFillName(QStringLiteral("code"));
    if (!label.Data().SetCsvData(csv, true, 1, 2))
        throw std::runtime_error("the CSV file cannot be read");
    label.CheckPrintData();
}

void bench::LibraryPdf(TCode code, const QString& csv, const QString& pdf)
{
    TZORLabelVCL label;
    MakeLabel(label, code, csv);
    zor::TExportOptions o;
    o.kind = TZORExport::PDF;
    o.fileName = pdf;
    o.allSheets = true;
    zor::ExportLabel(label, o);
}

void bench::BaselinePdf(TCode code, const QString& csv, int64_t n, const QString& pdf)
{
    constexpr int dpi = 300;
    const TFonts fonts = Fonts(dpi);
    QFile in(csv);
    in.open(QIODevice::ReadOnly);
    in.readLine(); // the header
    QPdfWriter writer(pdf);
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    QPainter p(&writer);
    for (int64_t i = 0; i < n; ++i) {
        const int64_t position = i % LabelsPerSheet;
        if (i > 0 && position == 0)
            writer.newPage();
        const QPointF corner = LabelCorner(position, dpi);
        PaintSheetLabel(p, fonts, code, in.readLine().trimmed().split(';'), corner.x(), corner.y(), dpi);
    }
}

void bench::ClearOutputs(const QString& prefix)
{
    QDir folder(Folder());
    for (const QString& name : folder.entryList({ prefix + QLatin1Char('*') }, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

int64_t bench::ResetPeak()
{
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    return StatusKb("VmRSS:");
}

int64_t bench::PeakKb()
{
    return StatusKb("VmHWM:");
}

void bench::Report(benchmark::State& state, int64_t items, int64_t growthKb)
{
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["peak_growth_kb"] = double(growthKb);
    state.counters["peak_rss_kb"] = double(PeakKb());
}
