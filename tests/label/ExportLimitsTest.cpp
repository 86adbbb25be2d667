// What an export may take and leave behind: the workers the CPUs and the memory for images
// allow, a sheet image too large for the memory refused, the files' modes, staging files a
// stopped or killed export left, and a picture too large to decode reported.

#include "Zor.Error.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.ExportBudget.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"
#include "rtl/ErrorOf.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using zor::ExportSheets;
using zor::ExportWorkers;
using zor::UsableCpus;

namespace {

using namespace zor::test;
using namespace Qt::StringLiterals;

constexpr int64_t MB = 1024 * 1024;

// The hidden files of the folder: staging files left behind.
QStringList Hidden(const QString& folder)
{
    return QDir(folder).entryList({ u".*"_s }, QDir::Files | QDir::Hidden);
}

mode_t ModeOf(const QString& path)
{
    struct stat st { };
    EXPECT_EQ(stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

// The umask of the process while it lives.
class Umask {
public:
    explicit Umask(mode_t mask)
        : fOld(umask(mask))
    {
    }
    ~Umask() { umask(fOld); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t fOld;
};

class ExportLimits : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        label.Measure().SetPaperWidth(40000);
        label.Measure().SetPaperHeight(30000);
        label.Measure().SetWidth(40000);
        label.Measure().SetHeight(30000);
        label.AddBaseRectangle(5000, 5000, 10000, 10000);
    }
    QString Export(TZORExport kind, const QString& name)
    {
        zor::TExportOptions o;
        o.kind = kind;
        o.fileName = Path(name);
        zor::ExportLabel(label, o);
        return o.fileName;
    }

    TZORLabelVCL label;
};

} // namespace

// Workers: as many as asked (or usable CPUs), no more than the sheets, no more than the budget
// holds images; an image alone over the budget is refused, naming its size.
TEST(ExportWorkers, CpusSheetsAndTheMemoryBudgetBoundThem)
{
    const QSizeF sheet(1000, 1000); // 4 MB: 4,000,000 bytes
    const struct {
        int64_t sheets;
        int asked;
        int64_t budget;
        int workers;
    } cases[] = {
        { 10, 8, 1000 * MB, 8 },
        { 3, 8, 1000 * MB, 3 },
        { 10, 8, 9 * MB, 2 }, // two images of 3.8 MB fit in 9 MB, three do not
        { 10, 8, 4000000, 1 },
        { 1, 1, 4000000, 1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(zor::ExportWorkers(u"x.png"_s, sheet, c.sheets, c.asked, c.budget), c.workers)
            << c.sheets << " " << c.asked << " " << c.budget;
    EXPECT_EQ(zor::ExportWorkers(u"x.png"_s, sheet, 1000, 0, 1000 * MB), std::min(zor::UsableCpus(), 250));

    const QString error = zor::test::ErrorOf([&] { zor::ExportWorkers(u"x.png"_s, sheet, 1, 1, 3999999); });
    EXPECT_TRUE(error.contains(u"x.png"_s)) << error.toStdString();
    EXPECT_TRUE(error.contains(u"1000 \u00D7 1000 pixels (4 MB)"_s)) << error.toStdString();
}

// The CPUs counted are those the process may run on, not those the machine has.
TEST(ExportWorkers, UsableCpusFollowTheAffinityMask)
{
    int usable = 0, narrowed = 0;
    // A thread of its own: narrowing its mask leaves the test's other threads alone.
    std::thread([&] {
        usable = zor::UsableCpus();
        cpu_set_t set;
        ASSERT_EQ(sched_getaffinity(0, sizeof(set), &set), 0);
        int first = 0;
        while (!CPU_ISSET(first, &set))
            ++first;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(first, &one);
        ASSERT_EQ(sched_setaffinity(0, sizeof(one), &one), 0);
        narrowed = zor::UsableCpus();
    }).join();
    EXPECT_GE(usable, 1);
    EXPECT_LE(usable, int(std::thread::hardware_concurrency()));
    EXPECT_EQ(narrowed, 1);
}

// A sheet whose image alone is more than the memory for images (20 m square at 480 dpi: 571 GB)
// is refused before anything is drawn, naming its size, and leaves no file.
TEST_F(ExportLimits, ASheetTooLargeForTheMemoryIsRefusedWithItsSize)
{
    label.Measure().SetPaperWidth(20000000);
    label.Measure().SetPaperHeight(20000000);
    zor::TExportOptions o;
    o.kind = TZORExport::PNG;
    o.fileName = Path(u"huge.png"_s);
    o.scale = 5.0f;
    const QString size = u"377953 \u00D7 377953 pixels"_s;
    const QString one = zor::test::ErrorOf([&] { zor::ExportLabel(label, o); });
    EXPECT_TRUE(one.contains(size)) << one.toStdString();
    const QString run = zor::test::ErrorOf([&] { zor::ExportSheets(label, o, 1, 4); });
    EXPECT_TRUE(run.contains(size)) << run.toStdString();
    EXPECT_EQ(QDir(DirPath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Every kind of file gets the mode a plain create gives under the umask; a file replaced keeps
// its mode.
TEST_F(ExportLimits, FilesGetTheModeOfAPlainCreate)
{
    for (const auto& [mask, mode] :
        { std::pair { mode_t(022), mode_t(0644) }, { mode_t(027), mode_t(0640) } }) {
        const Umask umask(mask);
        for (const TZORExport kind :
            { TZORExport::PNG, TZORExport::JPEG, TZORExport::XPS, TZORExport::PDF }) {
            const QString name = u"m%1.%2"_s.arg(int(mask)).arg(zor::ExportExtension(kind));
            SCOPED_TRACE(name.toStdString());
            const QString file = Export(kind, name);
            EXPECT_EQ(ModeOf(file), mode);
            ASSERT_EQ(chmod(QFile::encodeName(file).constData(), 0604), 0);
            Export(kind, name);
            EXPECT_EQ(ModeOf(file), mode_t(0604));
        }
    }
}

// A stopped export removes its staging files; those a killed export left are removed by the
// next export into the folder (a target it had moved aside goes back), while those of a
// process still running stay.
TEST_F(ExportLimits, StagingFilesDoNotOutliveTheirExport)
{
    zor::TExportOptions o;
    o.kind = TZORExport::PNG;
    o.fileName = Path(u"run.png"_s);
    for (const int threads : { 1, 2 }) {
        const auto stop = [](int64_t, int64_t) { throw EZORError(u"stopped"_s); };
        EXPECT_THROW(zor::ExportSheets(label, o, 1, 1, threads, stop), EZORError);
        EXPECT_EQ(Hidden(DirPath()), QStringList()) << threads;
    }

    // A process that has ended, its staging files left behind.
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    ASSERT_GT(gone, 0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const QString stale = u".x.png.%1-0123abcd.stage"_s.arg(qint64(gone));
    const QString moved = u".kept.png.%1-89abcdef.stage.old"_s.arg(qint64(gone));
    const QString running = u".x.png.%1-00000000.stage"_s.arg(qint64(getpid()));
    for (const QString& name : { stale, moved, running })
        ASSERT_TRUE(WriteFile(Path(name), name.toUtf8()));
    Export(TZORExport::PNG, u"x.png"_s);
    EXPECT_EQ(Hidden(DirPath()), QStringList { running });
    EXPECT_EQ(ReadFile(Path(u"kept.png"_s)), moved.toUtf8());
}

// An embedded picture of 8000 × 7000 pixels (224 MB decoded, past Qt's own bound) is drawn on a
// label large enough to show it whole; on a small label it is told to OnInfoMsg, not dropped
// without a word.
TEST_F(ExportLimits, ALargePictureIsDrawnOrReported)
{
    QImage picture(8000, 7000, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&png, "PNG"));
    picture = QImage();

    for (const int64_t paper : { 200000, 40000 }) {
        SCOPED_TRACE(paper);
        TZORLabelVCL sized;
        QStringList told;
        sized.OnInfoMsg = [&](TZORBaseLabel&, const QString& message) { told << message; };
        sized.Measure().SetPaperWidth(paper);
        sized.Measure().SetPaperHeight(paper);
        sized.Measure().SetWidth(paper);
        sized.Measure().SetHeight(paper);
        TZORImage* image = TZORFactory::AddBaseImage(sized, 0, 0, 20000, 20000, u"p.png"_s);
        ASSERT_NE(image, nullptr);
        image->SetImageBytes(png.data());
        image->SetKeepAspect(false);
        zor::TExportOptions o;
        o.kind = TZORExport::PNG;
        o.fileName = Path(u"picture.png"_s);
        zor::ExportLabel(sized, o);
        const QImage out(o.fileName);
        const QColor middle = out.pixelColor(37, 37); // 10 mm in, at 96 dpi
        if (paper == 200000) {
            EXPECT_EQ(middle, QColor(0, 0, 255));
            EXPECT_EQ(told, QStringList());
        } else {
            EXPECT_EQ(middle, QColor(Qt::white));
            ASSERT_EQ(told.size(), 1);
            EXPECT_TRUE(told[0].contains(u"cannot be drawn"_s)) << told[0].toStdString();
        }
    }
}
