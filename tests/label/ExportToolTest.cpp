#include "kit/Barcodes.h"
#include "kit/Documents.h"
#include "kit/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

// The command-line tool of examples/, run as the README runs it on the bundled sample.
namespace {

using namespace zor::test;

struct TRun {
    int exitCode = -1;
    QString out, err;
};

class ExportTool : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        fTool = QDir(QCoreApplication::applicationDirPath())
                    .filePath(QStringLiteral("../examples/quindle-info"));
        if (!QFileInfo::exists(fTool))
            GTEST_SKIP() << "the tool is not built: " << fTool.toStdString();
    }
    static QString Sample()
    {
        return QFileInfo(QStringLiteral(__FILE__))
            .dir()
            .filePath(QStringLiteral("../../examples/sample/products.json"));
    }
    // fileLimit: the tool's files cannot grow past so many bytes (a disk that fills up).
    TRun Run(const QStringList& args, rlim_t fileLimit = RLIM_INFINITY) const
    {
        QProcess p;
        if (fileLimit != RLIM_INFINITY)
            p.setChildProcessModifier([fileLimit] {
                rlimit limit {};
                getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = fileLimit;
                setrlimit(RLIMIT_FSIZE, &limit);
                signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the tool
            });
        p.start(fTool, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return { p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError()) };
    }

    QString fTool;
};

} // namespace

TEST_F(ExportTool, ExportsTheSampleRunToAPdfOfA4SheetsWithEveryRecord)
{
    const QString pdf = Path(QStringLiteral("products.pdf"));
    const TRun run = Run({ Sample(), QStringLiteral("--output"), pdf });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("40 labels"))) << run.out.toStdString();
    ASSERT_EQ(PdfPageCount(pdf), 2); // 24 labels a sheet
    EXPECT_NEAR(PdfPageSize(pdf).width(), 595, 1);
    const std::vector<QImage> pages = PdfPages(pdf, 200);
    std::vector<QString> codes;
    for (const QImage& page : pages)
        for (const Decoded& d : DecodeBarcodes(page, { ZXing::BarcodeFormat::Code128, {}, 0, true }))
            codes.push_back(d.text);
    std::sort(codes.begin(), codes.end());
    ASSERT_EQ(codes.size(), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(codes[size_t(i)], QStringLiteral("QD-%1").arg(10001 + i));
}

TEST_F(ExportTool, WritesOneImagePerSheetOrTheSheetAsked)
{
    ASSERT_EQ(
        Run({ Sample(), QStringLiteral("-o"), Path(QStringLiteral("s.png")), QStringLiteral("-q") }).exitCode,
        0);
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("s-1.png"))));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("s-2.png"))));
    ASSERT_EQ(Run({ Sample(), QStringLiteral("-o"), Path(QStringLiteral("two.gif")),
                      QStringLiteral("--sheet"), QStringLiteral("2") })
                  .exitCode,
        0);
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("two.gif"))));
}

TEST_F(ExportTool, BadInputGivesAClearErrorAndNoFile)
{
    const QString out = Path(QStringLiteral("out.pdf"));
    const struct {
        QStringList args;
        int exitCode;
        const char* says;
    } table[] = {
        { { Path(QStringLiteral("none.json")), QStringLiteral("-o"), out }, 1, "does not exist" },
        { { Sample(), QStringLiteral("-o"), Path(QStringLiteral("out.doc")) }, 2,
            "extension names the format" },
        { { Sample(), QStringLiteral("-o"), out, QStringLiteral("--scale"), QStringLiteral("9") }, 2,
            "--scale" },
        { { Sample(), QStringLiteral("-o"), Path(QStringLiteral("no/out.pdf")) }, 1, "Cannot save" },
        { { Sample() }, 2, "--output FILE or --print PRINTER" },
        { { Sample(), QStringLiteral("-p"), QStringLiteral("no printer of this name") }, 1,
            "No printer is called" },
        { { Sample(), QStringLiteral("-o"), out, QStringLiteral("-d"), Path(QStringLiteral("none.csv")) }, 1,
            "Cannot open the file" },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const TRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(DirPath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(ExportTool, TheDocumentedSmallestScaleIsTaken)
{
    const QString png = Path(QStringLiteral("small.png"));
    const TRun run = Run({ Sample(), QStringLiteral("-o"), png, QStringLiteral("--sheet"),
        QStringLiteral("1"), QStringLiteral("--scale"), QStringLiteral("0.2") });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(png));
}

TEST_F(ExportTool, ImageSheetsAreReplacedAsAWholeSetOrNotAtAll)
{
    // Data whose second sheet draws much more than its first: a file-size limit between the two
    // lets the first sheet be written and stops the second.
    QByteArray csv = "name,price,code\n";
    for (int i = 1; i <= 40; ++i)
        csv += i <= 24 ? QByteArray("a,1,1\n")
                       : QStringLiteral("Wholegrain crackers with sea salt and rosemary %1,%1.95,QD-%1-%2\n")
                             .arg(i)
                             .arg(QString(24, QLatin1Char('7')))
                             .toUtf8();
    const QString data = Path(QStringLiteral("uneven.csv"));
    ASSERT_TRUE(WriteFile(data, csv));
    const QStringList uneven
        = { Sample(), QStringLiteral("-q"), QStringLiteral("-d"), data, QStringLiteral("-o") };
    ASSERT_EQ(Run(uneven + QStringList { Path(QStringLiteral("m.png")) }).exitCode, 0);
    const QByteArray sheet1 = ReadFile(Path(QStringLiteral("m-1.png")));
    const QByteArray sheet2 = ReadFile(Path(QStringLiteral("m-2.png")));
    ASSERT_GT(sheet2.size(), sheet1.size() + 1000);

    // An earlier run's set, and a third sheet left by a run of three sheets before it.
    const QString out = Path(QStringLiteral("s.png"));
    ASSERT_EQ(Run({ Sample(), QStringLiteral("-q"), QStringLiteral("-o"), out }).exitCode, 0);
    const QByteArray earlier1 = ReadFile(Path(QStringLiteral("s-1.png")));
    const QByteArray earlier2 = ReadFile(Path(QStringLiteral("s-2.png")));
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("s-3.png")), "from a run of three sheets"));

    const TRun failed = Run(uneven + QStringList { out }, rlim_t(sheet1.size() + sheet2.size()) / 2);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("File too large"))) << failed.err.toStdString();
    EXPECT_EQ(ReadFile(Path(QStringLiteral("s-1.png"))), earlier1);
    EXPECT_EQ(ReadFile(Path(QStringLiteral("s-2.png"))), earlier2);
    const QStringList before = { "m-1.png", "m-2.png", "s-1.png", "s-2.png", "s-3.png", "uneven.csv" };
    EXPECT_EQ(QDir(DirPath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
        before);

    const TRun done = Run(uneven + QStringList { out });
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(ReadFile(Path(QStringLiteral("s-1.png"))), sheet1);
    EXPECT_EQ(ReadFile(Path(QStringLiteral("s-2.png"))), sheet2);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("s-3.png"))));
}
