// Tables on screen and on paper: the lines of a data set read back from the PDF in row and
// column order with their footers, the lines that fit the room, and the grid.

#include "elements/RenderHarness.h"
#include "elements/composite/Zor.Vcl.Table.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

const char* AnimalsJson = R"({"Animals":[{"name":"Ant","qty":1},{"name":"Bee","qty":2},{"name":"Cat","qty":3},
    {"name":"Dog","qty":4},{"name":"Eel","qty":10}]})";

// A table from (2, 2) to (36, h) mm reading the animals: the name, then the quantity four times
// with the footers Sum, Mean, Median and StdDev.
TZORTable& AnimalTable(TScene& scene, double h)
{
    EXPECT_TRUE(scene.Label().Data().SetJson(QString::fromLatin1(AnimalsJson)));
    auto& t = scene.Add<TZORTable>();
    t.AssignPoints(std::vector<TZORPto> { scene.Pt(2, 2), scene.Pt(36, h) });
    t.SetDataSet(QStringLiteral("animals"));
    t.SetColumns(5);
    t.SetHeaderHeight(4.0f);
    t.SetLineHeight(4.0f);
    t.SetFooterHeight(4.0f);
    t.SetGridType(TZORGridType::None);
    t.SetPenWidth(0.0f);
    const struct {
        const char* field;
        const char* header;
        TZORFooter footer;
        const char* format;
    } columns[] = {
        { "name", "Who", TZORFooter::None, "" },
        { "qty", "S", TZORFooter::Sum, "" },
        { "qty", "M", TZORFooter::Mean, "0.0" },
        { "qty", "D", TZORFooter::Median, "" },
        { "qty", "V", TZORFooter::StdDev, "0.00" },
    };
    for (int i = 1; i <= 5; ++i) {
        TZORColumn& c = *t.GetColumn(i);
        c.Width = 20.0f;
        c.FieldName = QString::fromLatin1(columns[i - 1].field);
        c.Header.Text = QString::fromLatin1(columns[i - 1].header);
        c.Footer = columns[i - 1].footer;
        c.FooterFormat = QString::fromLatin1(columns[i - 1].format);
        for (TZORTableCell* cell : { &c.Header, &c.Line, &c.FooterCell }) {
            cell->FontName = QStringLiteral("DejaVu Sans");
            cell->FontHeight = 2.5f;
        }
    }
    t.CalcValues(0);
    return t;
}

// The words of the PDF by their text (each word appears once in these tables).
std::map<QString, PdfWord> WordsOf(const QString& pdf)
{
    std::map<QString, PdfWord> words;
    for (const PdfWord& w : PdfWords(pdf))
        words[w.text] = w;
    return words;
}

class TablePrint : public TempDirTest { };

} // namespace

TEST_F(TablePrint, FiveRecordsReadBackInRowAndColumnOrderWithTheirFooters)
{
    TScene scene;
    TZORTable& table = AnimalTable(scene, 38);
    const QString pdf = Path("table.pdf");
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    auto words = WordsOf(pdf);
    const QStringList names = { "Ant", "Bee", "Cat", "Dog", "Eel" };
    const QStringList qty = { "1", "2", "3", "4", "10" };
    for (int i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(words.count(names[i])) << names[i].toStdString() << "\n" << PdfText(pdf).toStdString();
        if (i > 0) {
            EXPECT_GT(words[names[i]].y, words[names[i - 1]].y + 5.0) << names[i].toStdString();
        }
    }
    // The rows: each quantity on its name's line, right of it.
    const std::vector<PdfWord> all = PdfWords(pdf);
    for (int i = 0; i < names.size(); ++i) {
        const PdfWord& name = words[names[i]];
        int onLine = 0;
        for (const PdfWord& w : all) {
            if (w.text != qty[i] || std::abs(w.y - name.y) >= 1.0)
                continue;
            EXPECT_GT(w.x, name.x + name.w);
            ++onLine;
        }
        EXPECT_EQ(onLine, 4) << names[i].toStdString();
    }
    // The footers under the last line, in column order: Sum, Mean, Median, StdDev.
    const QStringList footers = { "20", "4.0", "3", "3.54" };
    double x = 0.0;
    for (const QString& f : footers) {
        ASSERT_TRUE(words.count(f)) << f.toStdString() << "\n" << PdfText(pdf).toStdString();
        EXPECT_GT(words[f].y, words["Eel"].y + 5.0) << f.toStdString();
        EXPECT_GT(words[f].x, x) << f.toStdString();
        x = words[f].x;
    }
    EXPECT_GT(words["Who"].x, 0.0);
    EXPECT_LT(words["Who"].y, words["Ant"].y);
    // The screen's editor keeps the layout of its sample line.
    EXPECT_EQ(table.GetLayout().Shown, 0);
}

// A fixed box holding three lines prints the first three records, and the footer sums them.
TEST_F(TablePrint, OnlyTheLinesThatFitThePrintedRoom)
{
    TScene scene;
    TZORTable& table = AnimalTable(scene, 2 + 4 + 3 * 4 + 4 + 2);
    table.SetFixedHeight(true);
    const QString pdf = Path("overflow.pdf");
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    const auto words = WordsOf(pdf);
    for (const char* shown : { "Ant", "Bee", "Cat", "6", "2.0" })
        EXPECT_TRUE(words.count(QString::fromLatin1(shown))) << shown << "\n" << PdfText(pdf).toStdString();
    for (const char* cut : { "Dog", "Eel", "20" })
        EXPECT_FALSE(words.count(QString::fromLatin1(cut))) << cut;
}

// A fixed column prints its line cell's own text on every line, whatever the records hold; its
// sum counts that text as it counts any value, and the other columns read their records. The
// screen's export draws the same lines: the fixed column's band of every line carries the same
// ink.
TEST_F(TablePrint, AFixedColumnPrintsItsOwnTextOnEveryLine)
{
    TScene scene;
    TZORTable& table = AnimalTable(scene, 38);
    TZORColumn& fixed = *table.GetColumn(2);
    fixed.Fixed = true;
    fixed.Line.Text = QStringLiteral("7");
    table.CalcValues(0);
    const QString pdf = Path("fixed-column.pdf");
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    int sevens = 0;
    for (const PdfWord& w : PdfWords(pdf))
        sevens += w.text == QStringLiteral("7") ? 1 : 0;
    EXPECT_EQ(sevens, 5) << PdfText(pdf).toStdString();
    const auto words = WordsOf(pdf);
    EXPECT_TRUE(words.count("35")) << "the sum of five sevens";
    EXPECT_TRUE(words.count("Eel"));
    EXPECT_TRUE(words.count("4.0")) << "the mean of the records' quantities";

    fixed.Line.Text = QStringLiteral("WWW");
    fixed.Width = 40.0f;
    table.GetColumn(1)->Width = 20.0f;
    table.CalcValues(0);
    const QImage screen = scene.Render(TTarget::Export, Dpi);
    // Column 2 spans 20 % to 60 % of the 34 mm table from x = 2 mm; lines of 4 mm start at 6 mm.
    const auto band = [&](int line) {
        const double left = TScene::MarginMM + 2.0 + 34.0 * 0.2,
                     top = TScene::MarginMM + 2.0 + 4.0 * (line + 1);
        return QRect(int(Pixels(Dpi, left)), int(Pixels(Dpi, top)), int(Pixels(Dpi, 34.0 * 0.4)),
            int(Pixels(Dpi, 4.0)));
    };
    const QRect first = InkBounds(screen.copy(band(0)));
    ASSERT_FALSE(first.isNull());
    for (int line = 1; line < 5; ++line) {
        const QRect ink = InkBounds(screen.copy(band(line)));
        EXPECT_NEAR(ink.width(), first.width(), 1) << line;
    }
    EXPECT_GT(first.width(), Pixels(Dpi, 5.0)) << "three wide letters, not a quantity";
}

// The printed footer sits where the screen shows it: at the bottom of a fixed box, right under
// the last line otherwise.
TEST_F(TablePrint, TheFooterOfAFixedBoxPrintsAtItsBottom)
{
    for (const bool fixed : { true, false }) {
        SCOPED_TRACE(fixed ? "fixed" : "growing");
        TScene scene;
        TZORTable& table = AnimalTable(scene, 36);
        table.SetFixedHeight(fixed);
        const QString pdf = Path(fixed ? "fixed.pdf" : "growing.pdf");
        scene.PrintPdf(pdf, Dpi, 1, [](int) {});
        auto words = WordsOf(pdf);
        ASSERT_TRUE(words.count("20")) << PdfText(pdf).toStdString();
        // Title none, header 2 to 6 mm, five lines to 26 mm; the label starts 2 mm into the page.
        const double footerTop = TScene::MarginMM + (fixed ? 32.0 : 26.0);
        const double top = words["20"].y * 25.4 / 72.0;
        EXPECT_GT(top, footerTop - 0.2);
        EXPECT_LT(top + words["20"].h * 25.4 / 72.0, footerTop + 4.2);
    }
}

// Grid types on both targets: a probe on the column boundary between two separators, and one on
// a line separator in the middle of a column.
TEST(TableRender, GridTypesDrawTheirSeparators)
{
    constexpr TAlphaColor Red { 0xFFFF0000 };
    const struct {
        TZORGridType type;
        bool vertical, horizontal;
    } cases[] = {
        { TZORGridType::None, false, false },
        { TZORGridType::Vertical, true, false },
        { TZORGridType::Horizontal, false, true },
        { TZORGridType::Both, true, true },
    };
    for (const auto& c : cases)
        for (const TTarget target : BothTargets)
            for (const int scale : Scales) {
                SCOPED_TRACE(testing::Message() << int(c.type) << " " << Name(target) << " scale " << scale);
                TScene scene(scale);
                TZORTable& table = AnimalTable(scene, 38);
                for (int i = 1; i <= 5; ++i)
                    table.GetColumn(i)->FieldName = QStringLiteral("none"); // empty cells
                for (int i = 1; i <= 5; ++i)
                    table.GetColumn(i)->Header.Visible = false;
                table.SetGridType(c.type);
                table.SetGridColor(Red);
                table.SetGridWidth(0.3f);
                const QImage image = scene.Render(target, Dpi);
                SaveOnFailure keep(image, QStringLiteral("grid"));
                // Columns of 6.8 mm from x = 2; lines of 4 mm below the 4 mm header from y = 2.
                const QPoint vertical = Pixel(Dpi, 2 + 6.8, 2 + 4 + 6);
                const QPoint horizontal = Pixel(Dpi, 2 + 3.4, 2 + 4 + 8);
                const auto inkNear
                    = [&](QPoint p) { return InkCount(image, {}, QRect(p - QPoint(3, 3), QSize(7, 7))) > 0; };
                EXPECT_EQ(inkNear(vertical), c.vertical);
                EXPECT_EQ(inkNear(horizontal), c.horizontal);
                // Nothing below the footer that follows the fifth line.
                EXPECT_EQ(
                    InkCount(image, {}, QRect(Pixel(Dpi, 2, 2 + 4 + 20 + 4 + 1), Pixel(Dpi, 36, 38))), 0);
            }
}
