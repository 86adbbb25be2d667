#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Print.h"
#include "label/Zor.Vcl.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
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
constexpr double MMPerPoint = 25.4 / 72;

struct TRasterPage {
    double widthMM = 0;
    double heightMM = 0;
    bool inked = false;
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
        for (unsigned y = 0; y < header.cupsHeight; ++y) {
            if (cupsRasterReadPixels(raster, line.data(), header.cupsBytesPerLine) == 0)
                break;
            for (unsigned char b : line)
                page.inked = page.inked || b != paper;
        }
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

TEST(PrintCups, SheetsAndCopiesReachTheLoopbackPrinter)
{
    const QString queue = qEnvironmentVariable("QUINDLE_TEST_PRINTER");
    if (queue.isEmpty()) {
        if (qEnvironmentVariable("CI") == QStringLiteral("true"))
            FAIL() << "no test printer: scripts/print-setup.sh did not start one";
        GTEST_SKIP() << "no test printer (source scripts/print-setup.sh to start one)";
    }
    const int index = int(zor::PrinterNames().indexOf(queue));
    ASSERT_GE(index, 0) << "CUPS does not offer the queue " << queue.toStdString();

    const QString title = QStringLiteral("quindle-cups-%1-%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
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
    // Two sheets, each printed twice.
    ASSERT_EQ(pages.size(), 4u) << file.toStdString();
    for (const TRasterPage& page : pages) {
        // The landscape sheet arrives turned onto the printer's portrait media. CUPS's raster
        // filter cuts a custom size to whole points, even when the job names it in hundredths of
        // a millimetre: the page arrives up to one point (0.35 mm) short.
        EXPECT_NEAR(std::min(page.widthMM, page.heightMM), 50, MMPerPoint);
        EXPECT_NEAR(std::max(page.widthMM, page.heightMM), 100, MMPerPoint);
        EXPECT_TRUE(page.inked);
    }
}

} // namespace
