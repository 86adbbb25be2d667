#include "SheetRun.h"
#include "kit/Barcodes.h"
#include "kit/Documents.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

// What the export benchmark's files hold: the run of 10,000 records (or the count given first)
// written by the library and by the baseline for both symbologies into a folder (the second
// argument, or a temporary one), their sizes, and every label of the library's files read back
// from its page, rendered by poppler, by zxing-cpp. Exits with 1 when a label does not read as
// its record.

namespace {

constexpr int RenderDpi = 200;
constexpr int DecodeThreads = 3;

const char* Name(bench::TCode code)
{
    return code == bench::Code128 ? "code128" : "qr";
}

// The code of record i, as bench::CsvFile writes it.
QString Expected(int64_t i)
{
    return QStringLiteral("QD-%1").arg(100000 + i);
}

// The labels of one rendered sheet that read as their records.
int64_t ReadSheet(const QImage& page, bench::TCode code, int64_t first, int64_t n)
{
    const ZXing::BarcodeFormat format
        = code == bench::Code128 ? ZXing::BarcodeFormat::Code128 : ZXing::BarcodeFormat::QRCode;
    int64_t read = 0;
    for (int64_t i = first; i < std::min(n, first + bench::LabelsPerSheet); ++i) {
        const QPointF corner = bench::LabelCorner(i - first, RenderDpi);
        const QRect cell(corner.toPoint(),
            QSize(int(bench::Px(bench::LabelW, RenderDpi)), int(bench::Px(bench::LabelH, RenderDpi))));
        const auto found = zor::test::DecodeBarcodes(page, { format, cell, 10, true });
        if (found.size() == 1 && found[0].text == Expected(i))
            ++read;
        else
            std::fprintf(stderr, "label %lld does not read as its record (%zu symbols found)\n",
                static_cast<long long>(i), found.size());
    }
    return read;
}

// The labels of sheets first to last (from 1) of the library's PDF that read as their records.
// pdftoppm pads the page numbers of its files to the width of the document's page count.
int64_t ReadSheets(const QString& pdf, bench::TCode code, int64_t n, int first, int last, int sheets)
{
    QTemporaryDir pages;
    zor::test::RunTool(QStringLiteral("pdftoppm"),
        { QStringLiteral("-f"), QString::number(first), QStringLiteral("-l"), QString::number(last),
            QStringLiteral("-r"), QString::number(RenderDpi), QStringLiteral("-gray"), QStringLiteral("-png"),
            pdf, pages.filePath(QStringLiteral("page")) });
    const int digits = int(QString::number(sheets).size());
    int64_t read = 0;
    for (int s = first; s <= last; ++s) {
        const QImage page(pages.filePath(QStringLiteral("page-%1.png").arg(s, digits, 10, QLatin1Char('0'))));
        read += ReadSheet(page, code, int64_t(s - 1) * bench::LabelsPerSheet, n);
    }
    return read;
}

// The labels of the library's PDF that read as their records: the sheets rendered and read a
// few at a time on several threads.
int64_t ReadRun(const QString& pdf, bench::TCode code, int64_t n)
{
    constexpr int chunk = 8;
    const int sheets = int((n + bench::LabelsPerSheet - 1) / bench::LabelsPerSheet);
    std::atomic<int> next { 1 };
    std::atomic<int64_t> read { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < DecodeThreads; ++t)
        threads.emplace_back([&] {
            for (int s = next.fetch_add(chunk); s <= sheets; s = next.fetch_add(chunk))
                try {
                    read += ReadSheets(pdf, code, n, s, std::min(sheets, s + chunk - 1), sheets);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "sheets from %d are not read: %s\n", s, e.what());
                }
        });
    for (std::thread& t : threads)
        t.join();
    return read;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int64_t n = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10000;
    const QDir folder(argc > 2 ? QString::fromLocal8Bit(argv[2]) : bench::Folder());
    const QString csv = bench::CsvFile(n);
    bool allRead = true;
    for (const bench::TCode code : { bench::Code128, bench::QRCode }) {
        const QString library = folder.filePath(QStringLiteral("library-%1.pdf").arg(Name(code)));
        const QString baseline = folder.filePath(QStringLiteral("baseline-%1.pdf").arg(Name(code)));
        bench::LibraryPdf(code, csv, library);
        bench::BaselinePdf(code, csv, n, baseline);
        const int64_t read = ReadRun(library, code, n);
        std::printf("%-8s %lld records: library %lld bytes, baseline %lld bytes (%.3f); %lld of %lld read\n",
            Name(code), static_cast<long long>(n), static_cast<long long>(QFileInfo(library).size()),
            static_cast<long long>(QFileInfo(baseline).size()),
            double(QFileInfo(library).size()) / double(QFileInfo(baseline).size()),
            static_cast<long long>(read), static_cast<long long>(n));
        allRead = allRead && read == n;
    }
    return allRead ? 0 : 1;
}
