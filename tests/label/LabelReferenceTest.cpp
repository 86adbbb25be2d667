// The reference of the label file (docs/LABEL-FILE.md) taken at its word: labels written from
// what it says, read back through the reader and exported.
#include "Zor.Item.h"
#include "Zor.Json.h"
#include "kit/Barcodes.h"
#include "kit/Documents.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <vector>

using zor::TJsonObject;

namespace {

using namespace zor::test;

// The reference as the repository holds it.
QString Reference()
{
    return QString::fromUtf8(ReadFile(
        QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../docs/LABEL-FILE.md"))));
}

// The part of the reference under the heading that starts with `heading`, up to the next one.
QString Section(const QString& reference, const QString& heading)
{
    const qsizetype start = reference.indexOf(QLatin1Char('\n') + heading);
    if (start < 0)
        return {};
    const qsizetype end = reference.indexOf(QStringLiteral("\n#"), start + 1);
    return reference.mid(start, end < 0 ? -1 : end - start);
}

// The table row of a key in a section: "| `Key` | value | unit |"; empty without one.
QString Row(const QString& section, const char* key)
{
    const QString start = QStringLiteral("| `%1` |").arg(QString::fromLatin1(key));
    for (const QString& line : section.split(QLatin1Char('\n')))
        if (line.startsWith(start))
            return line;
    return {};
}

// The code of a name in a row that lists "code: 0 name, 1 name, ..."; -1 when it names none.
int CodeOf(const QString& row, const QString& name)
{
    const QRegularExpression code(
        QStringLiteral("(?:code: |, )(\\d+) %1(?:,| \\|)").arg(QRegularExpression::escape(name)));
    const QRegularExpressionMatch m = code.match(row);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The Type of a kind, from the table of element kinds.
int KindCode(const QString& reference, const QString& kind)
{
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("\\| (\\d+) \\| %1 \\|").arg(kind)).match(reference);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class LabelReference : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        fReference = Reference();
        ASSERT_FALSE(fReference.isEmpty());
    }

    QString fReference;
};

} // namespace

// A label of two labels a sheet with a Code 128 barcode and a text bound to a CSV of three
// records, written with the keys, codes and units the reference gives: the tool exports every
// record, and the calls the README shows write the same run to a PDF.
TEST_F(LabelReference, AHandWrittenLabelBoundToACsvExports)
{
    const QString barcode = Section(fReference, QStringLiteral("### Barcode"));
    const QString every = Section(fReference, QStringLiteral("## Every element"));
    const QString data = Section(fReference, QStringLiteral("## Data"));
    const QString sheet = Section(fReference, QStringLiteral("## The sheet"));
    const QString field = Section(fReference, QStringLiteral("### A field"));
    const int barcodeType = KindCode(fReference, QStringLiteral("Barcode"));
    const int textType = KindCode(fReference, QStringLiteral("Text"));
    const int code128 = CodeOf(Row(barcode, "CodeType"), QStringLiteral("Code 128"));
    const int dataField = CodeOf(Row(every, "FillType"), QStringLiteral("Data field"));
    const int comma = CodeOf(Row(data, "Separator"), QStringLiteral("comma"));
    const int doubleQuote = CodeOf(Row(data, "Quote"), QStringLiteral("double quote"));
    const int text = CodeOf(Row(field, "Type"), QStringLiteral("text"));
    for (int code : { barcodeType, textType, code128, dataField, comma, doubleQuote, text })
        ASSERT_GE(code, 0) << "the reference does not name a code the label needs";
    const QRegularExpressionMatch csvSet
        = QRegularExpression(QStringLiteral("`DataSel` names [^`]*`\"([^\"]+)\"` for the CSV file"))
              .match(data);
    ASSERT_TRUE(csvSet.hasMatch()) << data.toStdString();
    // Lengths of the sheet in micrometres, of bars and fonts in millimetres.
    ASSERT_TRUE(Row(sheet, "PaperWidth").contains(QStringLiteral("micrometres")));
    ASSERT_TRUE(Row(barcode, "BarWidth").contains(QStringLiteral("millimetres")));
    for (const char* key : { "FillName", "Points" })
        ASSERT_TRUE(fReference.contains(QStringLiteral("`%1`").arg(QString::fromLatin1(key)))) << key;
    for (const char* key : { "CsvFile", "Header", "CsvFields" })
        ASSERT_TRUE(data.contains(QStringLiteral("`%1`").arg(QString::fromLatin1(key)))) << key;

    ASSERT_TRUE(WriteFile(Path(QStringLiteral("parts.csv")),
        "sku,name\n\"AB-1001\",Bolt\n\"AB-1002\",Nut\n\"AB-1003\",Washer\n"));
    const QString label = QStringLiteral(R"({
  "Measure": { "PaperWidth": 100000, "PaperHeight": 60000, "Width": 100000, "Height": 30000,
               "MarLeft": 0, "MarTop": 0, "NuHor": 2, "NuVer": 1 },
  "Data": { "DataSel": "%8", "CsvFile": "parts.csv", "Header": true, "Separator": %1, "Quote": %2,
            "CsvFields": [ { "Name": "sku", "Type": %3 }, { "Name": "name", "Type": %3 } ] },
  "Items": [
    { "Type": %4, "Points": [[5000, 4000]], "FillType": %5, "FillName": "sku", "CodeType": %6,
      "BarWidth": 0.4, "BarHeight": 12.0 },
    { "Type": %7, "Points": [[60000, 10000], [60000, 10000]], "FillType": %5, "FillName": "name",
      "FontHeight": 4.0 }
  ]
})")
                              .arg(comma)
                              .arg(doubleQuote)
                              .arg(text)
                              .arg(barcodeType)
                              .arg(dataField)
                              .arg(code128)
                              .arg(textType)
                              .arg(csvSet.captured(1));
    const QString file = Path(QStringLiteral("parts.json"));
    ASSERT_TRUE(WriteFile(file, label.toUtf8()));

    // The tool: an image a sheet at 300 dpi, every code readable.
    const QString tool
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../examples/quindle"));
    if (!QFileInfo::exists(tool))
        GTEST_SKIP() << "the tool is not built: " << tool.toStdString();
    QProcess p;
    p.start(tool,
        { QStringLiteral("export"), file, QStringLiteral("-o"), Path(QStringLiteral("parts.png")),
            QStringLiteral("--dpi"), QStringLiteral("300") });
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("3 labels")));
    std::vector<QString> codes;
    for (const char* page : { "parts-1.png", "parts-2.png" }) {
        const QImage image(Path(QString::fromLatin1(page)));
        ASSERT_FALSE(image.isNull()) << page;
        // Each label on its own: 100 × 30 mm, two rows.
        for (int row = 0; row < 2; ++row) {
            const QRect cell(0, int(row * 30 * 300 / 25.4), int(100 * 300 / 25.4), int(30 * 300 / 25.4));
            for (const Decoded& d : DecodeBarcodes(image, { ZXing::BarcodeFormat::Code128, cell, 0, true }))
                codes.push_back(d.text);
        }
    }
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes,
        (std::vector<QString> {
            QStringLiteral("AB-1001"), QStringLiteral("AB-1002"), QStringLiteral("AB-1003") }));

    // The README's program: read, prepare the run, export every sheet (a relative CSV name
    // counts from the working folder).
    const QString before = QDir::currentPath();
    QDir::setCurrent(DirPath());
    TZORLabelVCL read;
    read.LoadFromFile(QStringLiteral("parts.json"));
    read.CheckPrintData();
    zor::TExportOptions options;
    options.kind = TZORExport::PDF;
    options.fileName = QStringLiteral("parts.pdf");
    options.allSheets = true;
    zor::ExportLabel(read, options);
    QDir::setCurrent(before);
    const QString pdf = Path(QStringLiteral("parts.pdf"));
    ASSERT_EQ(PdfPageCount(pdf), 2);
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("Bolt")));
    EXPECT_TRUE(PdfText(pdf, 2).contains(QStringLiteral("Washer")));
}

// Each angle is read in the unit the reference gives it: an arc's in radians (a sweep of a
// quarter turn draws a quarter circle, not a whole one), a sector's in degrees. A poly text's
// `Items` are read as its texts.
TEST_F(LabelReference, ValuesReadBackInTheUnitsTheReferenceGives)
{
    const QString arc = Section(fReference, QStringLiteral("### Arc"));
    const QString sector = Section(fReference, QStringLiteral("### Sector"));
    const QString poly = Section(fReference, QStringLiteral("### PolyText"));
    ASSERT_TRUE(Row(arc, "SweepAngle").contains(QStringLiteral("radians"))) << arc.toStdString();
    ASSERT_TRUE(Row(arc, "StartAngle").contains(QStringLiteral("radians")));
    ASSERT_TRUE(Row(sector, "SweepAngle").contains(QStringLiteral("degrees")));
    ASSERT_TRUE(poly.contains(QStringLiteral("`Items`"))) << poly.toStdString();
    ASSERT_FALSE(Row(poly, "Text").isEmpty()) << "the fields of a poly text's item";

    const QString file = Path(QStringLiteral("angles.json"));
    ASSERT_TRUE(WriteFile(file,
        QStringLiteral(R"({ "Items": [
  { "Type": %1, "CenterX": 20000, "CenterY": 20000, "Radio": 10000, "StartAngle": 0, "SweepAngle": %2 },
  { "Type": %3, "Points": [[5000, 5000], [15000, 15000]], "StartAngle": 0, "SweepAngle": 90 },
  { "Type": %4, "Points": [[5000, 30000]], "Items": [ { "Text": "first" }, { "Text": "second" } ] }
] })")
            .arg(KindCode(fReference, QStringLiteral("Arc")))
            .arg(std::numbers::pi / 2, 0, 'g', 17)
            .arg(KindCode(fReference, QStringLiteral("Sector")))
            .arg(KindCode(fReference, QStringLiteral("PolyText")))
            .toUtf8()));
    TZORLabelVCL label;
    label.LoadFromFile(file);
    ASSERT_EQ(label.GetItemsCount(), 3);
    // The quarter from +X clockwise on the page: right and below the centre.
    const TZORRect quarter = label.GetItem(1)->GetBounds().Normalized();
    EXPECT_NEAR(quarter.Left, 20000, 2);
    EXPECT_NEAR(quarter.Top, 20000, 2);
    EXPECT_NEAR(quarter.Right, 30000, 2);
    EXPECT_NEAR(quarter.Bottom, 30000, 2);
    const TJsonObject sectorRead = label.GetItem(2)->WriteJson();
    EXPECT_DOUBLE_EQ(sectorRead.F("SweepAngle"), 90.0);
    const TJsonObject polyRead = label.GetItem(3)->WriteJson();
    ASSERT_EQ(polyRead.A("Items").Count(), 2);
    EXPECT_EQ(polyRead.A("Items").O(1).S("Text"), QStringLiteral("second"));
}
