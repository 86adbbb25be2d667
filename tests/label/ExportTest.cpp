#include "Zor.Data.h"
#include "Zor.Error.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "kit/Barcodes.h"
#include "kit/BoundRun.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.GifWriter.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"
#include "rtl/ErrorOf.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

using zor::ClampExportScale;
using zor::EncodeGif;
using zor::ExportExtension;
using zor::ExportLabel;
using zor::ExportPageSize;
using zor::ExportSheets;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr TAlphaColor Red { 0xFFFF0000u };
const QColor QRed(255, 0, 0);

// The pixel at a paper position (millimetres) of a page drawn at dpi.
QPoint At(double xmm, double ymm, double dpi = 96)
{
    return { int(xmm * dpi / 25.4), int(ymm * dpi / 25.4) };
}

// A filled red box from (x, y) to (x + w, y + h) millimetres, at drawing scale 1.
TZORRectangle* AddRedBox(TZORLabelVCL& label, double x, double y, double w, double h)
{
    const int64_t s = label.Measure().GetDrawScale();
    TZORRectangle* box = label.AddBaseRectangle(
        int64_t(x * 1000 * s), int64_t(y * 1000 * s), int64_t(w * 1000 * s), int64_t(h * 1000 * s));
    box->SetFilled(true);
    box->SetBackColor(Red);
    box->SetColor(Red);
    return box;
}

zor::TExportOptions Options(TZORExport kind, const QString& fileName)
{
    zor::TExportOptions o;
    o.kind = kind;
    o.fileName = fileName;
    return o;
}

QImage Load(const QString& fileName)
{
    QImageReader reader(fileName);
    QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << fileName.toStdString() << ": " << reader.errorString().toStdString();
    return image.convertToFormat(QImage::Format_ARGB32);
}

class Export : public TempDirTest {
protected:
    // An A6 paper (105 x 148 mm) with a red box from (20, 30) to (60, 70) mm.
    void SetUp() override
    {
        TempDirTest::SetUp();
        label.Measure().SetPaperWidth(105000);
        label.Measure().SetPaperHeight(148000);
        AddRedBox(label, 20, 30, 40, 40);
    }
    QString Run(TZORExport kind, zor::TExportOptions o = {})
    {
        o.kind = kind;
        o.fileName = Path(QStringLiteral("out.") + zor::ExportExtension(kind));
        zor::ExportLabel(label, o);
        return o.fileName;
    }

    TZORLabelVCL label;
};

} // namespace

TEST(ExportSize, PaperAtEachScaleAndResolution)
{
    TZORLabelVCL label; // A4 by default
    const struct {
        TZORExport kind;
        float scale;
        double w, h;
    } table[] = {
        { TZORExport::PNG, 1.0f, 210000 * 96 / 25400.0, 297000 * 96 / 25400.0 },
        { TZORExport::PDF, 1.0f, 2480.315, 3507.874 }, { TZORExport::XPS, 1.0f, 2480.315, 3507.874 },
        { TZORExport::BMP, 0.1f, 210000 * 0.2 * 96 / 25400.0, 297000 * 0.2 * 96 / 25400.0 }, // clamped up
        { TZORExport::JPEG, 7.5f, 210000 * 5.0 * 96 / 25400.0, 297000 * 5.0 * 96 / 25400.0 }, // clamped down
    };
    for (const auto& c : table) {
        SCOPED_TRACE(zor::ExportExtension(c.kind).toStdString() + " " + std::to_string(c.scale));
        zor::TExportOptions o;
        o.kind = c.kind;
        o.scale = c.scale;
        const QSizeF size = zor::ExportPageSize(label, o);
        EXPECT_NEAR(size.width(), c.w, 0.01);
        EXPECT_NEAR(size.height(), c.h, 0.01);
    }
    EXPECT_EQ(zor::ClampExportScale(0.1f), 0.2f);
    EXPECT_EQ(zor::ClampExportScale(7.5f), 5.0f);
    EXPECT_EQ(zor::ClampExportScale(std::nanf("")), 1.0f);
}

TEST_F(Export, A4PngAtScaleOneIs794By1123)
{
    label.Measure().SetPaperWidth(210000);
    label.Measure().SetPaperHeight(297000);
    const QImage image = Load(Run(TZORExport::PNG));
    EXPECT_EQ(image.size(), QSize(794, 1123));
}

TEST(ExportSize, CroppedContentWidenedByAMillimetreWithATenPixelFloor)
{
    const struct {
        int scale;
        double x, y, w, h; // content, millimetres of paper
        double expectW, expectH; // pixels at 96 dpi
    } table[] = {
        { 1, 0, 0, 50, 20, 52000 * 96 / 25400.0, 22000 * 96 / 25400.0 },
        { 50, 0, 0, 50, 20, 52000 * 96 / 25400.0, 22000 * 96 / 25400.0 },
        { 1, 10, 10, 0.5, 50, 10, 52000 * 96 / 25400.0 }, // 2.5 mm is 9.4 px: the floor
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.scale);
        TZORLabelVCL label;
        label.Measure().SetDrawScale(c.scale);
        AddRedBox(label, c.x, c.y, c.w, c.h);
        zor::TExportOptions o;
        o.fit = true;
        o.page = 0;
        const QSizeF size = zor::ExportPageSize(label, o);
        EXPECT_NEAR(size.width(), c.expectW, 0.01);
        EXPECT_NEAR(size.height(), c.expectH, 0.01);
        o.page = 1; // fit asks for the content with page 0 only
        EXPECT_NEAR(zor::ExportPageSize(label, o).width(), 210000 * 96 / 25400.0, 0.01);
    }
    TZORLabelVCL empty;
    zor::TExportOptions o;
    o.fit = true;
    o.page = 0;
    EXPECT_EQ(zor::ExportPageSize(empty, o), QSizeF(10, 10));
}

TEST_F(Export, CroppedPngHoldsTheBoxAMillimetreFromEachEdge)
{
    zor::TExportOptions o;
    o.fit = true;
    o.page = 0;
    label.Measure().SetDrawScale(1);
    const QImage image = Load(Run(TZORExport::PNG, o));
    EXPECT_EQ(image.size(), QSize(159, 159)); // 42 mm
    const QRect ink = InkBounds(image);
    EXPECT_NEAR(ink.left(), 96 / 25.4, 1.0);
    EXPECT_NEAR(ink.top(), 96 / 25.4, 1.0);
    EXPECT_TRUE(ColourNear(image, image.rect().center(), QRed));
}

TEST_F(Export, RedBoxInEveryRasterFormatWithAndWithoutTransparency)
{
    const struct {
        TZORExport kind;
        int tolerance; // colour error the format may make
        bool clears; // white becomes transparent on request
    } table[] = {
        { TZORExport::PNG, 0, true },
        { TZORExport::BMP, 0, false },
        { TZORExport::JPEG, 24, false },
        { TZORExport::GIF, 8, true },
    };
    for (const auto& c : table)
        for (const bool transparent : { false, true }) {
            SCOPED_TRACE(
                zor::ExportExtension(c.kind).toStdString() + (transparent ? " transparent" : " opaque"));
            zor::TExportOptions o;
            o.transparent = transparent;
            const QImage image = Load(Run(c.kind, o));
            ASSERT_EQ(image.size(), QSize(397, 559));
            EXPECT_TRUE(ColourNear(image, At(40, 50), QRed, c.tolerance));
            EXPECT_TRUE(ColourNear(image, At(25, 35), QRed, c.tolerance));
            EXPECT_TRUE(ColourNear(image, At(55, 65), QRed, c.tolerance));
            const QColor paper = transparent && c.clears ? QColor(255, 255, 255, 0) : QColor(Qt::white);
            EXPECT_TRUE(ColourNear(image, At(5, 5), paper, transparent && c.clears ? 255 : c.tolerance));
            EXPECT_EQ(qAlpha(image.pixel(At(5, 5))), transparent && c.clears ? 0 : 255);
            EXPECT_EQ(qAlpha(image.pixel(At(40, 50))), 255);
            // Nothing outside the box.
            EXPECT_EQ(InkBounds(image, { paper, 48 }, QRect(At(70, 80), At(100, 140))), QRect());
        }
}

TEST_F(Export, JpegQualityIsTheLowByteAndShowsInTheSize)
{
    // A busy picture compresses differently at each quality.
    for (int i = 0; i < 40; ++i)
        AddRedBox(label, 2 + i * 2.5, 80 + (i % 7) * 5, 1.2, 3.3);
    zor::TExportOptions o;
    const auto sizeAt = [&](int16_t quality) {
        o.quality = quality;
        return QFileInfo(Run(TZORExport::JPEG, o)).size();
    };
    const qint64 q10 = sizeAt(10);
    const qint64 q100 = sizeAt(100);
    EXPECT_LT(q10, q100);
    EXPECT_EQ(sizeAt(int16_t(0x010A)), q10); // 266: its low byte is 10
    EXPECT_EQ(sizeAt(int16_t(0x00FF)), q100); // 255 counts as 100
}

TEST(ExportGif, ManyColoursAreQuantisedCloseAndFewKeptExactly)
{
    QImage gradient(256, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x)
            gradient.setPixel(x, y, qRgb(x, y * 4, 255 - x));
    QImage read;
    ASSERT_TRUE(read.loadFromData(zor::EncodeGif(gradient, false), "GIF"));
    read = read.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 256; x += 5) {
            const QRgb a = gradient.pixel(x, y), b = read.pixel(x, y);
            worst = std::max({ worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                std::abs(qBlue(a) - qBlue(b)) });
        }
    EXPECT_LE(worst, 40);

    QImage few(8, 2, QImage::Format_ARGB32);
    few.fill(qRgb(1, 2, 3));
    few.setPixel(3, 1, qRgb(250, 251, 252));
    few.setPixel(4, 1, qRgb(255, 255, 255));
    ASSERT_TRUE(read.loadFromData(zor::EncodeGif(few, true), "GIF"));
    read = read.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(read.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(read.pixel(3, 1), qRgb(250, 251, 252)); // near white stays
    EXPECT_EQ(qAlpha(read.pixel(4, 1)), 0);
}

TEST_F(Export, PdfPageIsThePaperAndDrawsLikeThePng)
{
    const QString pdf = Run(TZORExport::PDF);
    const QSizeF points = PdfPageSize(pdf);
    EXPECT_NEAR(points.width(), 105 / 25.4 * 72, 1.0);
    EXPECT_NEAR(points.height(), 148 / 25.4 * 72, 1.0);
    const QImage page = PdfPage(pdf, 1, 96).convertToFormat(QImage::Format_ARGB32);
    const QImage png = Load(Run(TZORExport::PNG));
    EXPECT_TRUE(ColourNear(page, At(40, 50), QRed, 8));
    EXPECT_GT(InkIoU(png, page), 0.95);

    zor::TExportOptions o;
    o.scale = 2.0f;
    const QSizeF twice = PdfPageSize(Run(TZORExport::PDF, o));
    EXPECT_NEAR(twice.width(), 2 * 105 / 25.4 * 72, 1.0);
}

TEST_F(Export, XpsPackageRendersLikeThePng)
{
    const QString xps = Run(TZORExport::XPS);
    const QImage page = XpsPage(xps, 1, 96).convertToFormat(QImage::Format_ARGB32);
    const QImage png = Load(Run(TZORExport::PNG));
    EXPECT_NEAR(page.width(), png.width(), 1);
    EXPECT_NEAR(page.height(), png.height(), 1);
    EXPECT_TRUE(ColourNear(page, At(40, 50), QRed, 8));
    EXPECT_TRUE(ColourNear(page, At(5, 5), Qt::white, 8));
    EXPECT_GT(InkIoU(png, page), 0.95);
}

TEST_F(Export, OnlyElementsShownAndExportedOnLayersShownAndExported)
{
    TZORRectangle* hidden = AddRedBox(label, 70, 100, 20, 20);
    hidden->SetOptions(ioDefault & ~ioExport);
    TZORLayer* layer = label.AddLayer(QStringLiteral("Notes"));
    layer->SetOptions(loDefault & ~loExport);
    TZORRectangle* onLayer = AddRedBox(label, 70, 30, 20, 20);
    onLayer->SetLayerIndex(label.IndexOfLayer(layer));
    const QImage image = Load(Run(TZORExport::PNG));
    EXPECT_TRUE(ColourNear(image, At(40, 50), QRed));
    EXPECT_EQ(InkCount(image, {}, QRect(At(65, 25), At(100, 125))), 0);
}

// The file states the resolution the image was drawn at: 96 dpi times the scale.
TEST_F(Export, AnImageStatesTheResolutionItWasDrawnAt)
{
    const struct {
        TZORExport kind;
        float scale;
        int dpi;
    } table[] = {
        { TZORExport::PNG, 1.0f, 96 },
        { TZORExport::PNG, 2.0f, 192 },
        { TZORExport::PNG, 3.125f, 300 },
        { TZORExport::BMP, 3.125f, 300 },
        { TZORExport::JPEG, 0.5f, 48 },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(zor::ExportExtension(c.kind).toStdString() + " " + std::to_string(c.scale));
        zor::TExportOptions o;
        o.scale = c.scale;
        const QImage image = QImageReader(Run(c.kind, o)).read();
        EXPECT_EQ(int(std::lround(image.dotsPerMeterX() * 0.0254)), c.dpi);
        EXPECT_EQ(int(std::lround(image.dotsPerMeterY() * 0.0254)), c.dpi);
        EXPECT_EQ(image.width(), int(std::lround(105.0 * c.dpi / 25.4)));
    }
}

// Two columns of 60 mm do not fit on 105 mm of paper: every kind refuses the sheet, naming the
// sizes, and writes nothing.
TEST_F(Export, ASheetThatRunsOffItsPaperIsRefusedWithItsSizes)
{
    label.Measure().SetWidth(60000);
    label.Measure().SetHeight(40000);
    label.Measure().SetNuVer(2);
    for (const TZORExport kind : { TZORExport::PDF, TZORExport::XPS, TZORExport::PNG, TZORExport::GIF }) {
        SCOPED_TRACE(zor::ExportExtension(kind).toStdString());
        try {
            Run(kind);
            ADD_FAILURE() << "exported";
        } catch (const EZORError& e) {
            EXPECT_EQ(e.Message(),
                QStringLiteral(
                    "The labels do not fit on the paper: 2 labels across of 60 mm, with a margin of 0 mm "
                    "and gaps of 0 mm, need 120 mm; the paper is 105 mm wide"));
        }
    }
    label.Measure().SetNuVer(1);
    label.Measure().SetNuHor(4);
    EXPECT_THROW(Run(TZORExport::PNG), EZORError); // 160 mm down on 148
    EXPECT_EQ(QDir(DirPath()).entryList(QDir::Files | QDir::Hidden), QStringList());
    // The content alone, cropped, has no sheet to fit.
    zor::TExportOptions o;
    o.fit = true;
    o.page = 0;
    EXPECT_NO_THROW(Run(TZORExport::PNG, o));
}

TEST_F(Export, UnwritablePathOrFullDiskGivesAnErrorAndNoFile)
{
    for (const TZORExport kind : { TZORExport::PDF, TZORExport::XPS, TZORExport::BMP, TZORExport::PNG,
             TZORExport::GIF, TZORExport::JPEG }) {
        SCOPED_TRACE(zor::ExportExtension(kind).toStdString());
        const QString missing = Path(QStringLiteral("no-such-folder/out.") + zor::ExportExtension(kind));
        EXPECT_THROW(zor::ExportLabel(label, Options(kind, missing)), EZORError);
        EXPECT_FALSE(QFile::exists(missing));

        // The write the system cuts short gives the system's reason, not "Unknown error".
        const QString full = Path(QStringLiteral("full.") + zor::ExportExtension(kind));
        QString reason;
        {
            FileSizeLimit limit(200);
            reason = ErrorOf([&] { zor::ExportLabel(label, Options(kind, full)); });
        }
        EXPECT_TRUE(reason.endsWith(QStringLiteral(": File too large"))) << reason.toStdString();
        EXPECT_FALSE(QFile::exists(full));
    }
    EXPECT_EQ(QDir(DirPath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(Export, ExportDocReportsTheEndAndDrawsTheLabelAsItWasCalled)
{
    QSignalSpy done(&label, &TZORLabelVCL::ExportDone);
    const QString ok = Path(QStringLiteral("async.png"));
    label.ExportDoc(TZORExport::PNG, ok, 1, 7.5f, 90, false, false, false);
    // The user goes on editing: the job draws the label as it was.
    label.DeleteItem(label.GetItem(1));
    const QString bad = Path(QStringLiteral("missing/async.pdf"));
    label.ExportDoc(TZORExport::PDF, bad, 1, 1.0f, 90, false, false, false);
    ASSERT_TRUE(done.wait(20000) || done.count() > 0);
    while (done.count() < 2)
        ASSERT_TRUE(done.wait(20000));
    QMap<QString, QString> errors;
    for (const auto& args : done)
        errors[args.at(0).toString()] = args.at(1).toString();
    EXPECT_EQ(errors.value(ok), QString());
    EXPECT_FALSE(errors.value(bad).isEmpty());
    EXPECT_FALSE(QFile::exists(bad));
    const QImage image = Load(ok);
    EXPECT_EQ(image.width(), int(std::nearbyint(105000 * 5.0 * 96 / 25400))); // scale kept to 5
    EXPECT_TRUE(ColourNear(image, At(40 * 5, 50 * 5), QRed));
}

TEST_F(Export, ExportDocChecksDataOnTheCallingThread)
{
    TZORRectangle* box = label.GetItem(1) ? static_cast<TZORRectangle*>(label.GetItem(1)) : nullptr;
    ASSERT_NE(box, nullptr);
    box->SetFillType(1);
    box->SetFillName(QStringLiteral("nothing"));
    EXPECT_THROW(
        label.ExportDoc(TZORExport::PNG, Path(QStringLiteral("x.png")), 1, 1, 90, true, false, false),
        EZORError);
    label.WaitForExports();
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("x.png"))));
}

// A sheet of 2 rows by 2 columns of 50 x 30 mm labels with a Code 128 bound to a CSV of six
// records, the first label at row 2: sheet 1 holds records 1 and 2, sheet 2 records 3 to 6.
class ExportRun : public BoundRunTest {
protected:
    // The text read from the label at (row, column) of a page drawn at dpi.
    static QString Read(const QImage& page, int row, int column, double dpi)
    {
        return BoundRunTest::Read(page, row, column, dpi / 25.4);
    }
};

TEST_F(ExportRun, EveryBarcodeOfEverySheetDecodesToItsRecord)
{
    ASSERT_EQ(label.PrintRun().sheetCount, 2);
    zor::TExportOptions o = Options(TZORExport::PDF, Path(QStringLiteral("run.pdf")));
    o.allSheets = true;
    std::vector<std::pair<int64_t, int64_t>> steps;
    zor::ExportLabel(label, o, [&](int64_t done, int64_t total) { steps.emplace_back(done, total); });
    EXPECT_EQ(steps, (std::vector<std::pair<int64_t, int64_t>> { { 1, 2 }, { 2, 2 } }));
    const std::vector<QImage> pages = PdfPages(o.fileName, 300);
    ASSERT_EQ(pages.size(), 2u);
    const struct {
        int page, row, column;
        const char* text;
    } table[] = {
        { 1, 1, 1, "(0 found)" },
        { 1, 1, 2, "(0 found)" },
        { 1, 2, 1, "REC-1" },
        { 1, 2, 2, "REC-2" },
        { 2, 1, 1, "REC-3" },
        { 2, 1, 2, "REC-4" },
        { 2, 2, 1, "REC-5" },
        { 2, 2, 2, "REC-6" },
    };
    for (const auto& c : table)
        EXPECT_EQ(Read(pages[size_t(c.page - 1)], c.row, c.column, 300), QString::fromLatin1(c.text))
            << c.page << " " << c.row << " " << c.column;
    // The label's own place in the run is not moved by the export.
    EXPECT_EQ(label.PrintRun().sheetCounter, 1);
}

TEST_F(ExportRun, RasterExportDrawsTheCurrentSheetFromItsFirstPosition)
{
    label.GoToPage(2, true);
    zor::TExportOptions o = Options(TZORExport::PNG, Path(QStringLiteral("sheet2.png")));
    o.scale = 3.0f; // 288 dpi, for the scanner
    zor::ExportLabel(label, o);
    const QImage page = Load(o.fileName);
    EXPECT_EQ(Read(page, 1, 1, 288), QStringLiteral("REC-3"));
    EXPECT_EQ(Read(page, 2, 2, 288), QStringLiteral("REC-6"));
}

// Every sheet on its own image, drawn on one thread or several: each holds its own records, the
// images of several threads are those of one, and the progress is told in order on the calling
// thread.
TEST_F(ExportRun, SheetsDrawnOnSeveralThreadsHoldTheirOwnRecords)
{
    std::vector<QImage> oneThread;
    for (const int threads : { 1, 2, 0 }) {
        SCOPED_TRACE(threads);
        zor::TExportOptions o = Options(TZORExport::PNG, Path(QStringLiteral("run.png")));
        o.scale = 3.0f; // 288 dpi, for the scanner
        std::vector<std::pair<int64_t, int64_t>> steps;
        const std::thread::id caller = std::this_thread::get_id();
        zor::ExportSheets(label, o, 1, 2, threads, [&](int64_t done, int64_t total) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            steps.emplace_back(done, total);
        });
        EXPECT_EQ(steps, (std::vector<std::pair<int64_t, int64_t>> { { 1, 2 }, { 2, 2 } }));
        const QImage first = Load(Path(QStringLiteral("run-1.png")));
        const QImage second = Load(Path(QStringLiteral("run-2.png")));
        EXPECT_EQ(Read(first, 1, 1, 288), QStringLiteral("(0 found)"));
        EXPECT_EQ(Read(first, 2, 2, 288), QStringLiteral("REC-2"));
        EXPECT_EQ(Read(second, 1, 1, 288), QStringLiteral("REC-3"));
        EXPECT_EQ(Read(second, 2, 2, 288), QStringLiteral("REC-6"));
        EXPECT_EQ(label.PrintRun().sheetCounter, 1);
        if (oneThread.empty())
            oneThread = { first, second };
        EXPECT_EQ(first, oneThread[0]);
        EXPECT_EQ(second, oneThread[1]);
    }
    EXPECT_EQ(QDir(DirPath()).entryList({ QStringLiteral("run*") }, QDir::Files | QDir::Hidden),
        (QStringList { QStringLiteral("run-1.png"), QStringLiteral("run-2.png") }));
}

// What drawing tells (a picture that cannot be drawn) reaches the label once, on the calling
// thread, however many threads draw the sheets that show it.
TEST_F(ExportRun, WhatTheSheetsTellReachesTheLabelOnceOnItsThread)
{
    const std::thread::id caller = std::this_thread::get_id();
    for (const int threads : { 1, 2 }) {
        SCOPED_TRACE(threads);
        TZORImage* image = TZORFactory::AddBaseImage(label, 1000, 1000, 5000, 5000, QString());
        ASSERT_NE(image, nullptr);
        image->SetImageBytes("not a picture");
        QStringList told;
        label.OnInfoMsg = [&](TZORBaseLabel&, const QString& message) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            told << message;
        };
        zor::ExportSheets(label, Options(TZORExport::PNG, Path(QStringLiteral("told.png"))), 1, 2, threads);
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].startsWith(
            QStringLiteral("The picture of element %1 cannot be drawn").arg(image->GetID())))
            << told[0].toStdString();
    }
}

// The sheets of a run are put in place together or not at all: files of those names that existed
// stay as they were, and no temporary file is left behind.
TEST_F(ExportRun, TheSheetsOfARunAreWrittenAllOrNone)
{
    const QString first = Path(QStringLiteral("run-1.png"));
    const QString second = Path(QStringLiteral("run-2.png"));
    const auto leftOver = [this] {
        return QDir(DirPath()).entryList({ QStringLiteral(".run*") }, QDir::Files | QDir::Hidden);
    };
    ASSERT_TRUE(WriteFile(first, "old"));
    zor::TExportOptions o = Options(TZORExport::PNG, Path(QStringLiteral("run.png")));
    for (const int threads : { 1, 2 }) {
        SCOPED_TRACE(threads);
        // Full: no image can be written.
        {
            FileSizeLimit limit(200);
            EXPECT_THROW(zor::ExportSheets(label, o, 1, 2, threads), EZORError);
        }
        EXPECT_EQ(ReadFile(first), QByteArray("old"));
        EXPECT_FALSE(QFileInfo::exists(second));
        EXPECT_EQ(leftOver(), QStringList());
    }
    // Both images written, the second cannot take its place (a folder holds its name): the first
    // goes back to what it was.
    ASSERT_TRUE(QDir(DirPath()).mkdir(QStringLiteral("run-2.png")));
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("run-2.png/keep")), "x"));
    EXPECT_THROW(zor::ExportSheets(label, o, 1, 2, 2), EZORError);
    EXPECT_EQ(ReadFile(first), QByteArray("old"));
    EXPECT_TRUE(QFileInfo(second).isDir());
    EXPECT_EQ(leftOver(), QStringList());
}
