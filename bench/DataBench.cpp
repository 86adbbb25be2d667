#include "Zor.Barcode.h"
#include "Zor.Label.h"
#include "Zor.Text.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <unistd.h>

// A label with a text and a barcode bound to the fields of a CSV file, walked record by record
// as a print run walks it. Besides the time, each run reports how far the resident memory grew
// during the walk: it must not depend on the number of records.

namespace {

template <class Base> struct TBound : Base {
    TBound(TZORBaseLabel* label, const char* field)
        : Base(label, false)
    {
        this->SetFillType(uint8_t(TZORFillType::Field));
        this->SetFillName(QString::fromLatin1(field));
    }
    void Draw(TZORBaseDraw&) const override { }
    void Print(TZORBaseDraw&) const override { }
};

// The CSV file of n records, written once per size: a name, an EAN-13 code, a price with
// commas inside quotes, and a quantity.
QString CsvFile(int64_t n)
{
    static QTemporaryDir dir;
    static std::map<int64_t, QString> files;
    if (const auto it = files.find(n); it != files.end())
        return it->second;
    const QString path = dir.filePath(QStringLiteral("records-%1.csv").arg(n));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("name;code;price;qty\n");
    for (int64_t i = 0; i < n; ++i)
        file.write(QStringLiteral("Article number %1;%2;\"%3,%4\";%5\n")
                       .arg(i)
                       .arg(400000000000 + i)
                       .arg(i % 1000)
                       .arg(i % 100, 2, 10, QLatin1Char('0'))
                       .arg(1 + i % 3)
                       .toUtf8());
    return files[n] = path;
}

int64_t ResidentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = fopen("/proc/self/statm", "r")) {
        if (fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        fclose(f);
    }
    return int64_t(resident) * sysconf(_SC_PAGESIZE);
}

void BindAndWalk(benchmark::State& state)
{
    const int64_t n = state.range(0);
    const QString csv = CsvFile(n);
    int64_t growth = 0;
    for (auto _ : state) {
        TZORBaseLabel label;
        if (!label.Data().SetCsvData(csv, true, 1, 2)) {
            state.SkipWithError("the CSV file cannot be read");
            return;
        }
        auto* text = static_cast<TZORBaseItem*>(
            label.AddItem(std::make_unique<TBound<TZORBaseText>>(&label, "name")));
        auto* code = static_cast<TZORBaseItem*>(
            label.AddItem(std::make_unique<TBound<TZORBaseBarcode>>(&label, "code")));
        const int64_t start = ResidentBytes();
        label.CheckPrintData();
        for (int64_t i = 0; i < label.PrintRun().labelCount; ++i) {
            benchmark::DoNotOptimize(label.DataValue(text->FillName(), text->GetFormat(), text->FillType()));
            benchmark::DoNotOptimize(label.DataValue(code->FillName(), code->GetFormat(), code->FillType()));
            label.NextData();
            if (i % 4096 == 0)
                growth = std::max(growth, ResidentBytes() - start);
        }
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["rss_growth_kb"] = double(growth) / 1024;
}

// The check the set-up dialog runs: one pass reading, checking and typing every record.
void CheckCsv(benchmark::State& state)
{
    const QString csv = CsvFile(state.range(0));
    for (auto _ : state) {
        TZORData data;
        benchmark::DoNotOptimize(data.SetCsvData(csv, true, 1, 2));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BindAndWalk)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckCsv)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
