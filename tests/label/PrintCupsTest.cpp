#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Print.h"
#include "label/Zor.Vcl.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QRectF>
#include <QThread>

#include <gtest/gtest.h>

#include <cups/cups.h>
#include <cups/raster.h>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <vector>

// A real job through CUPS to the loopback IPP printer of scripts/print-setup.sh, which names
// its queue in QUINDLE_TEST_PRINTER and the folder of the jobs it received in QUINDLE_PRINT_SPOOL.
namespace {

constexpr int WaitMs = 60000;
constexpr double PaperTolerance = 0.1; // millimetres

struct TRasterPage {
    double widthMM = 0;
    double heightMM = 0;
    QRectF ink; // millimetres from the media's top left corner; empty for a blank page
};

// The pages of a raster file (PWG or Apple raster) as the printer received them.
std::vector<TRasterPage> ReadRaster(const QString& fileName)
{
    std::vector<TRasterPage> pages;
    const int fd = ::open(fileName.toLocal8Bit().constData(), O_RDONLY);
    if (fd < 0)
        return pages;
    cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_READ);
    cups_page_header2_t header;
    while (raster && cupsRasterReadHeader2(raster, &header)) {
        TRasterPage page;
        page.widthMM = header.cupsWidth * 25.4 / header.HWResolution[0];
        page.heightMM = header.cupsHeight * 25.4 / header.HWResolution[1];
        std::vector<unsigned char> line(header.cupsBytesPerLine);
        // Black ink in a white 8-bit grey page, or set bits in a 1-bit black page.
        const unsigned char paper = header.cupsBitsPerPixel == 1 ? 0x00 : 0xFF;
        const unsigned pixelsPerByte = header.cupsBitsPerPixel == 1 ? 8 : 1;
        QRect ink;
        for (unsigned y = 0; y < header.cupsHeight; ++y) {
            if (cupsRasterReadPixels(raster, line.data(), header.cupsBytesPerLine) == 0)
                break;
            for (unsigned x = 0; x < line.size(); ++x)
                if (line[x] != paper)
                    ink |= QRect(int(x * pixelsPerByte), int(y), int(pixelsPerByte), 1);
        }
        const double mmPerPixel = 25.4 / header.HWResolution[0];
        page.ink = QRectF(
            ink.x() * mmPerPixel, ink.y() * mmPerPixel, ink.width() * mmPerPixel, ink.height() * mmPerPixel);
        pages.push_back(page);
    }
    cupsRasterClose(raster);
    ::close(fd);
    return pages;
}

// The CUPS job of that title on the queue, once it has ended; none when it does not end in time.
std::optional<cups_job_t> EndedJob(const QString& queue, const QString& title)
{
    for (int waited = 0; waited < WaitMs; waited += 100) {
        cups_job_t* jobs = nullptr;
        const int n
            = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
        std::optional<cups_job_t> found;
        for (int i = 0; i < n; ++i)
            if (title == QString::fromUtf8(jobs[i].title) && jobs[i].state >= IPP_JSTATE_STOPPED)
                found = jobs[i];
        cupsFreeJobs(n, jobs);
        if (found)
            return found;
        QThread::msleep(100);
    }
    return std::nullopt;
}

// The copies the job asked for, as CUPS keeps them with the job.
int JobCopies(int jobId)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = QByteArray("ipp://localhost/jobs/") + QByteArray::number(jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    ipp_attribute_t* copies = ippFindAttribute(response, "copies", IPP_TAG_INTEGER);
    const int n = copies ? ippGetInteger(copies, 0) : 0;
    ippDelete(response);
    return n;
}

// The raster file the printer kept for the job of that title.
QString SpoolFile(const QString& spool, const QString& title)
{
    for (int waited = 0; waited < WaitMs; waited += 100) {
        const QStringList files = QDir(spool).entryList(
            { QStringLiteral("*%1.urf").arg(title), QStringLiteral("*%1.pwg").arg(title) }, QDir::Files);
        if (!files.isEmpty())
            return QDir(spool).filePath(files.first());
        QThread::msleep(100);
    }
    return {};
}

class PrintCups : public ::testing::Test {
protected:
    void SetUp() override
    {
        queue = qEnvironmentVariable("QUINDLE_TEST_PRINTER");
        if (queue.isEmpty()) {
            if (qEnvironmentVariable("CI") == QStringLiteral("true"))
                FAIL() << "no test printer: scripts/print-setup.sh did not start one";
            GTEST_SKIP() << "no test printer (source scripts/print-setup.sh to start one)";
        }
        index = int(zor::PrinterNames().indexOf(queue));
        ASSERT_GE(index, 0) << "CUPS does not offer the queue " << queue.toStdString();
        title = QStringLiteral("quindle-cups-%1-%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(QDateTime::currentMSecsSinceEpoch());
    }

    QString queue;
    int index = -1;
    QString title; // names the job and the file the printer keeps
};

TEST_F(PrintCups, SheetsAndCopiesReachTheLoopbackPrinter)
{
    TZORLabelVCL label;
    TZORMeasure& m = label.Measure();
    m.SetPaperWidth(100000);
    m.SetPaperHeight(50000);
    m.SetWidth(100000);
    m.SetHeight(50000);
    m.SetLabelName(title);
    TZORRectangle* box = label.AddBaseRectangle(10000, 10000, 80000, 30000);
    box->SetFilled(true);
    box->SetBackColor(zor::claBlack);
    label.PrintInfo().SetPrinterIndex(index);
    label.PrintInfo().SetLabs(2);
    label.PrintInfo().SetCopies(2);
    label.Print();
    label.WaitForPrint();
    ASSERT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);

    const std::optional<cups_job_t> job = EndedJob(queue, title);
    ASSERT_TRUE(job) << "the job did not end within " << WaitMs << " ms";
    EXPECT_EQ(job->state, IPP_JSTATE_COMPLETED);
    EXPECT_EQ(JobCopies(job->id), 2);

    const QString file = SpoolFile(qEnvironmentVariable("QUINDLE_PRINT_SPOOL"), title);
    ASSERT_FALSE(file.isEmpty()) << "the printer kept no file for " << title.toStdString();
    const std::vector<TRasterPage> pages = ReadRaster(file);
    // Two sheets; the printer makes the copies the job asks for.
    ASSERT_EQ(pages.size(), 2u) << file.toStdString();
    for (const TRasterPage& page : pages) {
        // The custom size arrives exact, the landscape sheet turned onto the portrait media.
        EXPECT_NEAR(page.widthMM, 50, PaperTolerance);
        EXPECT_NEAR(page.heightMM, 100, PaperTolerance);
        EXPECT_FALSE(page.ink.isEmpty());
    }
}

// A small label whose size is no whole number of points arrives exact, the content turned with
// the sheet: the label's top left corner lies at the media's bottom left.
TEST_F(PrintCups, CustomPaperArrivesExact)
{
    TZORLabelVCL label;
    TZORMeasure& m = label.Measure();
    m.SetPaperWidth(57000);
    m.SetPaperHeight(32000);
    m.SetWidth(57000);
    m.SetHeight(32000);
    m.SetLabelName(title);
    TZORRectangle* mark = label.AddBaseRectangle(2000, 3000, 10000, 5000);
    mark->SetFilled(true);
    mark->SetBackColor(zor::claBlack);
    label.PrintInfo().SetPrinterIndex(index);
    label.Print();
    label.WaitForPrint();
    ASSERT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);

    const QString file = SpoolFile(qEnvironmentVariable("QUINDLE_PRINT_SPOOL"), title);
    ASSERT_FALSE(file.isEmpty());
    const std::vector<TRasterPage> pages = ReadRaster(file);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].widthMM, 32, PaperTolerance);
    EXPECT_NEAR(pages[0].heightMM, 57, PaperTolerance);
    // The mark spans x 2..12 mm, y 3..8 mm of the label; its outline adds half a pen width.
    constexpr double InkTolerance = 0.25;
    const QRectF ink = pages[0].ink;
    EXPECT_NEAR(ink.left(), 3, InkTolerance);
    EXPECT_NEAR(ink.right(), 8, InkTolerance);
    EXPECT_NEAR(ink.top(), 57 - 12, InkTolerance);
    EXPECT_NEAR(ink.bottom(), 57 - 2, InkTolerance);
}

} // namespace
