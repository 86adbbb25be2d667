#include "kit/Barcodes.h"
#include "kit/Documents.h"
#include "kit/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <sys/resource.h>
#include <vector>

// The command-line tool of examples/, run as the README runs it on the bundled samples.
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
        fTool = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../examples/quindle"));
        if (!QFileInfo::exists(fTool))
            GTEST_SKIP() << "the tool is not built: " << fTool.toStdString();
    }
    static QString Sample(const char* name = "products.json")
    {
        return QFileInfo(QStringLiteral(__FILE__))
            .dir()
            .filePath(QStringLiteral("../../examples/sample/") + QString::fromLatin1(name));
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
    const TRun run = Run({ QStringLiteral("export"), Sample(), QStringLiteral("--output"), pdf });
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
    ASSERT_EQ(Run({ QStringLiteral("export"), Sample(), QStringLiteral("-o"), Path(QStringLiteral("s.png")),
                      QStringLiteral("-q") })
                  .exitCode,
        0);
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("s-1.png"))));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("s-2.png"))));
    ASSERT_EQ(Run({ QStringLiteral("export"), Sample(), QStringLiteral("-o"), Path(QStringLiteral("two.gif")),
                      QStringLiteral("--sheet"), QStringLiteral("2") })
                  .exitCode,
        0);
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("two.gif"))));
}

TEST_F(ExportTool, BadInputGivesAClearErrorAndNoFile)
{
    const QString out = Path(QStringLiteral("out.pdf"));
    const QString x = QStringLiteral("export");
    const struct {
        QStringList args;
        int exitCode;
        const char* says;
    } table[] = {
        { { x, Path(QStringLiteral("none.json")), QStringLiteral("-o"), out }, 1, "does not exist" },
        { { x, Sample(), QStringLiteral("-o"), Path(QStringLiteral("out.doc")) }, 2,
            "extension names the format" },
        { { x, Sample(), QStringLiteral("-o"), out, QStringLiteral("--scale"), QStringLiteral("9") }, 2,
            "--scale" },
        { { x, Sample(), QStringLiteral("-o"), out, QStringLiteral("--dpi"), QStringLiteral("300") }, 2,
            "--dpi is for images" },
        { { x, Sample(), QStringLiteral("-o"), Path(QStringLiteral("o.png")), QStringLiteral("--dpi"),
              QStringLiteral("600") },
            2, "--dpi takes a number from 19.2 to 480" },
        { { x, Sample(), QStringLiteral("-o"), Path(QStringLiteral("o.png")), QStringLiteral("--dpi"),
              QStringLiteral("300"), QStringLiteral("--scale"), QStringLiteral("2") },
            2, "--dpi or --scale, not both" },
        { { x, Sample(), QStringLiteral("-o"), Path(QStringLiteral("no/out.pdf")) }, 1, "Cannot save" },
        { { x, Sample() }, 2, "--output FILE" },
        { { Sample() }, 2, "unknown command" },
        { { QStringLiteral("print"), Sample(), QStringLiteral("-p"),
              QStringLiteral("no printer of this name") },
            1, "No printer is called" },
        { { x, Sample(), QStringLiteral("-o"), out, QStringLiteral("-d"), Path(QStringLiteral("none.csv")) },
            1, "Cannot open the file" },
        { { QStringLiteral("fields"), QStringLiteral("Circles") }, 2,
            "no element kind is called \"Circles\"" },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const TRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(DirPath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The mistakes a new user makes with a label of their own: each refused with what went wrong and
// what to do, and nothing written.
TEST_F(ExportTool, ALabelAndItsDataThatDoNotMatchAreExplained)
{
    // The sample's sheet with four columns of its 70 mm labels: 280 mm on 210.
    QByteArray wide = ReadFile(Sample());
    wide.replace("\"NuVer\": 3", "\"NuVer\": 4");
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("wide.json")), wide));
    ASSERT_TRUE(QFile::copy(Sample("products.csv"), Path(QStringLiteral("products.csv"))));
    // The sample's CSV with semicolons, where the label expects commas. Unquoted: a quoted field
    // followed by a semicolon is refused as it is read, naming the line, before any binding.
    QByteArray semicolons = ReadFile(Sample("products.csv"));
    semicolons.replace(',', ';');
    semicolons.replace('"', "");
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("semicolons.csv")), semicolons));
    // A label that takes nothing from data.
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("plain.json")),
        R"({ "Items": [ { "Type": 10, "Text": "Hello", "Points": [[5000, 5000], [5000, 5000]] } ] })"));
    const QString png = Path(QStringLiteral("out.png"));
    const QString x = QStringLiteral("export");
    const struct {
        QStringList args;
        int exitCode;
        std::vector<const char*> says;
    } table[] = {
        { { x, Path(QStringLiteral("wide.json")), QStringLiteral("-o"), png }, 1,
            { "The labels do not fit on the paper: 4 labels across of 70 mm", "need 280 mm",
                "the paper is 210 mm wide" } },
        { { x, Sample(), QStringLiteral("-o"), png, QStringLiteral("-d"),
              Path(QStringLiteral("semicolons.csv")) },
            1,
            { "The data field \"name\" does not exist", "was read with the separator \",\"",
                "has the fields \"name;price;code\"", "give --separator" } },
        { { x, Path(QStringLiteral("plain.json")), QStringLiteral("-o"), png, QStringLiteral("-d"),
              Path(QStringLiteral("semicolons.csv")) },
            2, { "has no data source" } },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const TRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        for (const char* part : c.says)
            EXPECT_TRUE(run.err.contains(QString::fromUtf8(part))) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(png));
    }
    // The separator named, the same data serves.
    const TRun fixed
        = Run({ x, Sample(), QStringLiteral("-o"), Path(QStringLiteral("ok.pdf")), QStringLiteral("-d"),
            Path(QStringLiteral("semicolons.csv")), QStringLiteral("--separator"), QStringLiteral(";") });
    EXPECT_EQ(fixed.exitCode, 0) << fixed.err.toStdString();
    EXPECT_TRUE(fixed.out.contains(QStringLiteral("40 labels"))) << fixed.out.toStdString();
    // The plain label exports without data.
    EXPECT_EQ(Run({ x, Path(QStringLiteral("plain.json")), QStringLiteral("-o"), png }).exitCode, 0);
}

// --dpi sets the images' resolution, and the files state it.
TEST_F(ExportTool, ImagesHaveTheResolutionAsked)
{
    const struct {
        QStringList options;
        int dpi;
    } table[] = {
        { {}, 96 },
        { { QStringLiteral("--dpi"), QStringLiteral("300") }, 300 },
        { { QStringLiteral("--scale"), QStringLiteral("2") }, 192 },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
        const QString png = Path(QStringLiteral("r.png"));
        const TRun run = Run(QStringList { QStringLiteral("export"), Sample(), QStringLiteral("-o"), png,
                                 QStringLiteral("--sheet"), QStringLiteral("1") }
            + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("24 labels"))) << run.out.toStdString();
        const QImage image(png);
        EXPECT_EQ(image.width(), int(std::lround(210 * c.dpi / 25.4)));
        EXPECT_EQ(int(std::lround(image.dotsPerMeterX() * 0.0254)), c.dpi);
    }
}

// The QR sample beside the products: every code on the sheet decodes to its record.
TEST_F(ExportTool, TheQrSampleExportsEveryCode)
{
    const QString png = Path(QStringLiteral("qr.png"));
    const TRun run = Run({ QStringLiteral("export"), Sample("qr.json"), QStringLiteral("-o"), png,
        QStringLiteral("--sheet"), QStringLiteral("1"), QStringLiteral("--dpi"), QStringLiteral("300") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage page(png);
    // 3 columns by 8 rows of 70 x 37 mm labels, 0.5 mm from the top; records row by row.
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 3; ++column) {
            const QRect cell(int(column * 70 * 300 / 25.4), int((0.5 + row * 37) * 300 / 25.4),
                int(70 * 300 / 25.4), int(37 * 300 / 25.4));
            const auto found = DecodeBarcodes(page, { ZXing::BarcodeFormat::QRCode, cell, 0, true });
            ASSERT_EQ(found.size(), 1u) << row << " " << column;
            EXPECT_EQ(found[0].text, QStringLiteral("QD-%1").arg(10001 + row * 3 + column));
        }
}

// A disk that fills up during a run of images: the error says so, and neither a new image nor a
// temporary is left, while an image of an earlier run stays as it was. Run in a mount namespace
// of its own on a small memory file system.
TEST_F(ExportTool, AFullDiskSaysNoSpaceAndLeavesTheFolderAsItWas)
{
    const QString folder = Path(QStringLiteral("small"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QProcess p;
    p.start(QStringLiteral("unshare"),
        { QStringLiteral("-Urm"), QStringLiteral("sh"), QStringLiteral("-c"),
            QStringLiteral("mount -t tmpfs -o size=96k tmpfs \"$1\" || exit 77; echo old > \"$1/s-1.png\"; "
                           "\"$2\" export \"$3\" -o \"$1/s.png\" --dpi 150 -q; echo \"exit $?\"; "
                           "ls -A \"$1\"; cat \"$1/s-1.png\""),
            QStringLiteral("sh"), folder, fTool, Sample() });
    p.waitForFinished(60000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (!out.startsWith(QStringLiteral("exit ")))
        GTEST_SKIP() << "no mount namespace here: " << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("exit 1\ns-1.png\nold\n")) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("No space left on device"))) << err.toStdString();
}

// The tool describes the label file: the kinds, and a kind's fields with their units.
TEST_F(ExportTool, FieldsOfAKindWithTheirUnits)
{
    const TRun kinds = Run({ QStringLiteral("fields") });
    ASSERT_EQ(kinds.exitCode, 0) << kinds.err.toStdString();
    EXPECT_TRUE(kinds.out.contains(QStringLiteral("15  QRCode"))) << kinds.out.toStdString();
    EXPECT_TRUE(kinds.out.contains(QStringLiteral("29  RichText"))) << kinds.out.toStdString();
    for (const QString& kind : { QStringLiteral("qrcode"), QStringLiteral("15") }) {
        const TRun run = Run({ QStringLiteral("fields"), kind });
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("QRCode (Type 15)"))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("BarWidth +number +millimetres"))))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("Code +text"))))
            << run.out.toStdString();
    }
}

// Each way of calling the tool, with the exit status --help states (0 done, 1 the work failed, 2 a
// usage error) and what it says.
TEST_F(ExportTool, ExitStatusAndMessageOfEachCall)
{
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("broken.json")), "{ \"Items\": [ "));
    const QString out = Path(QStringLiteral("out.pdf"));
    const QString png = Path(QStringLiteral("out.png"));
    const QString x = QStringLiteral("export");
    const QString o = QStringLiteral("-o");
    const struct {
        QStringList args;
        int exitCode;
        const char* says; // on standard output or standard error
    } table[] = {
        { { QStringLiteral("--version") }, 0, "quindle " },
        { { QStringLiteral("--help") }, 0, "Exit status: 0 done, 1 the work failed" },
        { { QStringLiteral("--no-such-option") }, 2, "Unknown option 'no-such-option'" },
        { { x, Sample(), o }, 2, "Missing value after '-o'" },
        { { x, Sample(), o, out, QStringLiteral("--sheet"), QStringLiteral("nan") }, 2,
            "--sheet takes a number from 1 to 2, not \"nan\"" },
        { { x, Sample(), o, out, QStringLiteral("--sheet"), QStringLiteral("inf") }, 2,
            "--sheet takes a number" },
        { { x, Sample(), o, png, QStringLiteral("--dpi"), QStringLiteral("nan") }, 2,
            "--dpi takes a number" },
        { { x, Sample(), o, png, QStringLiteral("--dpi"), QStringLiteral("-inf") }, 2,
            "--dpi takes a number" },
        { { x, Sample(), o, out, QStringLiteral("--scale"), QStringLiteral("inf") }, 2,
            "--scale takes a number" },
        { { x, Sample(), o, Path(QStringLiteral("out.jpg")), QStringLiteral("--quality"),
              QStringLiteral("nan") },
            2, "--quality takes a number" },
        { { x, Path(QStringLiteral("broken.json")), o, out }, 1, "broken.json" },
        { { QStringLiteral("fields"), Path(QStringLiteral("broken.json")) }, 1, "broken.json" },
        { { QStringLiteral("fields"), Path(QStringLiteral("none.json")) }, 1, "does not exist" },
        { { QStringLiteral("fields"), Sample() }, 0, "12  Barcode (1)" },
        { { QStringLiteral("fields"), QStringLiteral("Arc"), QStringLiteral("Line") }, 2,
            "one kind or label file" },
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const TRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(QString::fromUtf8(c.says)))
            << run.out.toStdString() << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(QFileInfo::exists(png));
}

// The progress bar is for a terminal: a run whose standard error is a pipe says nothing there.
// Without a printer, `printers` says so.
TEST_F(ExportTool, ProgressOnlyOnATerminalAndNoPrinterSaidSo)
{
    const TRun run
        = Run({ QStringLiteral("export"), Sample(), QStringLiteral("-o"), Path(QStringLiteral("s.png")) });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("s-2.png"))));
    const TRun printers = Run({ QStringLiteral("printers") });
    EXPECT_EQ(printers.exitCode, 0);
    if (printers.out.trimmed().isEmpty()) {
        EXPECT_EQ(printers.err, QStringLiteral("quindle: there is no printer\n"));
    }
}
