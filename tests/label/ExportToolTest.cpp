#include "kit/Barcodes.h"
#include "kit/Documents.h"
#include "kit/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>

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
    TRun Run(const QStringList& args) const
    {
        QProcess p;
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
