#include "Zor.Data.h"
#include "Zor.Error.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "kit/Barcodes.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Print.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using zor::CurrentPrinter;
using zor::DeviceMode;
using zor::PrinterForIndex;

namespace {

using namespace zor::test;

constexpr int Dpi = 100;

// A pixel of a page rendered at Dpi, at a point given in millimetres from the paper's corner.
QPoint At(double xmm, double ymm)
{
    return { int(xmm * Dpi / 25.4), int(ymm * Dpi / 25.4) };
}

// A sheet of 4 rows by 3 columns of 30 x 20 mm labels, 5 mm margins and 2 mm gaps, on a paper
// 104 mm wide and 96 mm high; each label holds a black box from (5, 5) to (25, 15) mm.
void MakeSheet(TZORLabelVCL& label)
{
    TZORMeasure& m = label.Measure();
    m.SetPaperWidth(104000);
    m.SetPaperHeight(96000);
    m.SetWidth(30000);
    m.SetHeight(20000);
    m.SetMarLeft(5000);
    m.SetMarTop(5000);
    m.SetDiVer(2000);
    m.SetDiHor(2000);
    m.SetNuHor(4);
    m.SetNuVer(3);
    m.SetLabelName(QStringLiteral("Sheet"));
}

TZORRectangle* AddBox(TZORLabelVCL& label)
{
    TZORRectangle* box = label.AddBaseRectangle(5000, 5000, 20000, 10000);
    box->SetFilled(true);
    box->SetBackColor(zor::claBlack);
    return box;
}

// The centre of the box of the label at (row, column).
QPoint BoxCentre(int row, int column)
{
    return At(5 + (column - 1) * 32 + 15, 5 + (row - 1) * 22 + 10);
}

class Print : public TempDirTest {
protected:
    // Prints to a PDF file and waits for the job.
    void PrintPdf(TZORLabelVCL& label)
    {
        label.SetPrintFileName(Pdf());
        label.Print();
        label.WaitForPrint();
    }
    QString Pdf() const { return Path(QStringLiteral("job.pdf")); }
};

TEST(DeviceMode, ShortSideByLongSideInTenthsAndCopies)
{
    const struct {
        int64_t w, h;
        int32_t copies;
        zor::TDeviceMode mode;
    } table[] = {
        { 100000, 50000, 0, { true, 500, 1000, false, 0 } },
        { 50000, 100000, 0, { false, 500, 1000, false, 0 } },
        { 60000, 60000, 1, { false, 600, 600, true, 1 } }, // a square paper stays portrait
        { 100050, 200000, 3, { false, 1000, 2000, true, 3 } }, // halves to even: 1000.5 -> 1000
        { 100150, 200000, 3, { false, 1002, 2000, true, 3 } }, // 1001.5 -> 1002
        { 57000, 32000, 70000, { true, 320, 570, true, 32767 } }, // too many copies: the most
        { 57000, 32000, -2, { true, 320, 570, false, 0 } },
    };
    for (const auto& row : table)
        EXPECT_EQ(zor::DeviceMode(row.w, row.h, row.copies), row.mode)
            << row.w << " x " << row.h << ", " << row.copies;
}

TEST_F(Print, SheetsStartAtTheFirstRowAndColumnThenAtTheCorner)
{
    TZORLabelVCL label;
    MakeSheet(label);
    AddBox(label);
    label.PrintInfo().SetLabs(12);
    label.PrintInfo().SetFirstRow(2);
    label.PrintInfo().SetFirstCol(3);
    PrintPdf(label);
    ASSERT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);
    ASSERT_EQ(PdfPageCount(Pdf()), 2);
    const QSizeF points = PdfPageSize(Pdf());
    EXPECT_NEAR(points.width() * 25.4 / 72, 104, 0.4);
    EXPECT_NEAR(points.height() * 25.4 / 72, 96, 0.4);
    const std::vector<QImage> pages = PdfPages(Pdf(), Dpi);
    ASSERT_EQ(pages.size(), 2u);
    // Five positions are left free on the first sheet; the second holds the last five labels.
    for (int row = 1; row <= 4; ++row)
        for (int column = 1; column <= 3; ++column) {
            const int position = (row - 1) * 3 + column - 1;
            const QColor first = position >= 5 ? Qt::black : Qt::white;
            const QColor second = position < 5 ? Qt::black : Qt::white;
            EXPECT_TRUE(ColourNear(pages[0], BoxCentre(row, column), first, 40)) << row << "," << column;
            EXPECT_TRUE(ColourNear(pages[1], BoxCentre(row, column), second, 40)) << row << "," << column;
            // The label's own corner stays paper.
            EXPECT_TRUE(
                ColourNear(pages[0], At(5 + (column - 1) * 32 + 2, 5 + (row - 1) * 22 + 2), Qt::white, 40));
        }
}

// Four columns of 30 mm with their margin and gaps need 131 mm: the run is refused before a job
// starts, naming the sizes, and no file is written.
TEST_F(Print, ASheetThatRunsOffItsPaperIsRefusedBeforeTheJob)
{
    TZORLabelVCL label;
    MakeSheet(label);
    AddBox(label);
    label.Measure().SetNuVer(4);
    label.SetPrintFileName(Pdf());
    try {
        label.Print();
        ADD_FAILURE() << "printed";
    } catch (const EZORError& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral(
                "The labels do not fit on the paper: 4 labels across of 30 mm, with a margin of 5 mm "
                "and gaps of 2 mm, need 131 mm; the paper is 104 mm wide"));
    }
    label.WaitForPrint();
    EXPECT_FALSE(QFile::exists(Pdf()));
}

TEST_F(Print, LayersAndElementsWithoutThePrintBitStayWhite)
{
    TZORLabelVCL label;
    MakeSheet(label);
    label.Measure().SetNuHor(1);
    label.Measure().SetNuVer(1);
    AddBox(label);
    TZORRectangle* hidden = AddBox(label);
    hidden->Move(0, 40000);
    hidden->SetOptions(ioDefault & ~ioPrint);
    TZORLayer* layer = label.AddLayer(QStringLiteral("Notes"));
    layer->SetOptions(loDefault & ~loPrint);
    label.SetActiveLayer(label.GetLayersCount());
    AddBox(label)->Move(40000, 0);
    PrintPdf(label);
    const QImage page = PdfPage(Pdf(), 1, Dpi);
    EXPECT_TRUE(ColourNear(page, BoxCentre(1, 1), Qt::black, 40));
    EXPECT_TRUE(ColourNear(page, At(20, 50), Qt::white, 40)) << "element without the print bit";
    EXPECT_TRUE(ColourNear(page, At(60, 10), Qt::white, 40)) << "layer without the print bit";
}

TEST_F(Print, EveryLabelOfABoundRunPrintsItsRecord)
{
    TZORLabelVCL label;
    MakeSheet(label);
    label.Measure().SetPaperWidth(60000);
    label.Measure().SetPaperHeight(40000);
    label.Measure().SetNuHor(1);
    label.Measure().SetNuVer(1);
    QString json = QStringLiteral("[");
    for (int i = 1; i <= 25; ++i)
        json += QStringLiteral(R"(%1{"name":"Item%2","code":"Q-%2"})").arg(i > 1 ? "," : "").arg(i);
    ASSERT_TRUE(label.Data().SetJson(json + QStringLiteral("]")));
    label.Data().SetDataSel(QStringLiteral("JSON"));
    TZORText* text = label.AddBaseText(5000, 5000);
    text->SetFillType(1);
    text->SetFillName(QStringLiteral("name"));
    TZORQRCode* qr = label.AddBaseQRCode(30000, 5000, QStringLiteral("none"));
    qr->SetFillType(1);
    qr->SetFillName(QStringLiteral("code"));
    PrintPdf(label);
    ASSERT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);
    ASSERT_EQ(PdfPageCount(Pdf()), 25);
    const std::vector<QImage> pages = PdfPages(Pdf(), 200);
    ASSERT_EQ(pages.size(), 25u);
    for (int i = 1; i <= 25; ++i) {
        EXPECT_EQ(PdfText(Pdf(), i).simplified(), QStringLiteral("Item%1").arg(i));
        const auto decoded = DecodeOne(pages[size_t(i - 1)], { .quietZone = 20 });
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->text, QStringLiteral("Q-%1").arg(i));
    }
}

// An element that cannot be printed.
class TFailingItem : public TZORBaseItem {
public:
    using TZORBaseItem::TZORBaseItem;
    TZORItemType TypeCode() const override { return TZORItemType::Rectangle; }
    void Draw(TZORBaseDraw&) const override { }
    void Print(TZORBaseDraw&) const override { throw std::runtime_error("cannot print"); }
};

// A label whose print jobs hold an element that cannot be printed.
class TFailingLabel : public TZORLabelVCL {
public:
    std::unique_ptr<TZORLabelVCL> Snapshot() const override
    {
        auto copy = TZORLabelVCL::Snapshot();
        copy->AddItem(std::make_unique<TFailingItem>(copy.get(), false));
        return copy;
    }
};

TEST_F(Print, AFailingJobEndsCleanlyAndSaysSo)
{
    TFailingLabel label;
    MakeSheet(label);
    AddBox(label);
    std::atomic<int> before = 0, after = 0;
    std::atomic<bool> printingBefore = false, printingAfter = true;
    label.OnBeforePrint = [&](TZORLabelVCL& sender) {
        ++before;
        printingBefore = sender.HasState(TZORLabelState::Printing);
    };
    label.OnAfterPrint = [&](TZORLabelVCL& sender) {
        ++after;
        printingAfter = sender.HasState(TZORLabelState::Printing);
    };
    PrintPdf(label);
    EXPECT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Failed);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_FALSE(printingBefore);
    EXPECT_FALSE(printingAfter);
    EXPECT_FALSE(label.HasState(TZORLabelState::Printing));
}

TEST_F(Print, APrinterThatRefusesTheJobEndsItCleanly)
{
    TZORLabelVCL label;
    MakeSheet(label);
    AddBox(label);
    std::atomic<int> after = 0;
    label.OnAfterPrint = [&](TZORLabelVCL&) { ++after; };
    label.SetPrintFileName(Path(QStringLiteral("missing/folder/job.pdf")));
    label.Print();
    label.WaitForPrint();
    EXPECT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Failed);
    EXPECT_EQ(after, 1);
    EXPECT_FALSE(label.HasState(TZORLabelState::Printing));
}

TEST(PrintTarget, AnIndexNamingNoPrinterPrintsNothing)
{
    const qsizetype printers = zor::PrinterNames().size();
    for (const int32_t index : { -2, int32_t(printers) }) {
        TZORLabelVCL label;
        AddBox(label);
        std::atomic<int> events = 0;
        label.OnBeforePrint = [&](TZORLabelVCL&) { ++events; };
        label.OnAfterPrint = [&](TZORLabelVCL&) { ++events; };
        label.PrintInfo().SetPrinterIndex(index);
        label.Print();
        label.WaitForPrint();
        EXPECT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::NoPrinter) << index;
        EXPECT_EQ(events, 0) << index;
    }
}

TEST(PrintTarget, AStoredIndexNamesAPrinterOrTheDefault)
{
    const QStringList names { QStringLiteral("a"), QStringLiteral("b") };
    const QString fallback = QStringLiteral("office");
    const struct {
        int32_t index;
        const char* printer;
    } cases[] = { { 0, "a" }, { 1, "b" }, { -1, "office" }, { 2, "" }, { -2, "" } };
    for (const auto& c : cases)
        EXPECT_EQ(zor::PrinterForIndex(c.index, names, fallback), QString::fromLatin1(c.printer)) << c.index;
    EXPECT_TRUE(zor::PrinterForIndex(-1, names, QString()).isEmpty()) << "no default printer";
}

TEST_F(Print, TheLabelWaitsForItsJobWhenDestroyed)
{
    std::atomic<int> after = 0;
    {
        TZORLabelVCL label;
        MakeSheet(label);
        for (int i = 0; i < 20; ++i)
            AddBox(label);
        label.PrintInfo().SetLabs(600);
        label.OnAfterPrint = [&](TZORLabelVCL&) { ++after; };
        label.SetPrintFileName(Pdf());
        label.Print();
        // The user goes on editing the label while the job runs: the job prints its snapshot.
        label.Clear({ TZORClear::Items }, true);
    }
    EXPECT_EQ(after, 1);
    EXPECT_EQ(PdfPageCount(Pdf()), 50);
    EXPECT_TRUE(ColourNear(PdfPage(Pdf(), 50, Dpi), BoxCentre(4, 3), Qt::black, 40));
}

// The job yields to the user interface: its thread runs one step below the one that started it.
TEST_F(Print, TheJobRunsBelowTheCallingThread)
{
    TZORLabelVCL label;
    MakeSheet(label);
    AddBox(label);
    std::atomic<int> jobNice = -100;
    label.OnBeforePrint = [&](TZORLabelVCL&) { jobNice = ::getpriority(PRIO_PROCESS, ::gettid()); };
    PrintPdf(label);
    EXPECT_GT(jobNice.load(), ::getpriority(PRIO_PROCESS, ::gettid()));
}

TEST(SheetCopies, OnePerPositionAndNeverCopiesOfCopies)
{
    TZORLabelVCL label;
    MakeSheet(label);
    AddBox(label);
    TZORText* bound = label.AddBaseText(1000, 1000);
    bound->SetFillType(2);
    ASSERT_NE(label.Data().AddCounter(QStringLiteral("n")), nullptr);
    bound->SetFillName(QStringLiteral("n"));
    auto previews = [&] {
        int n = 0;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
            n += label.GetItem(i)->IsPreview() ? 1 : 0;
        return n;
    };
    label.CheckPrintData();
    EXPECT_EQ(previews(), 0) << "no switch set";
    label.PrintInfo().SetSheetCopies(true);
    for (int run = 0; run < 2; ++run) {
        label.CheckPrintData();
        EXPECT_EQ(previews(), 12) << "run " << run;
        EXPECT_EQ(label.GetItemsCount(), 14) << "run " << run;
    }
    // Each copy stands at its own position of the sheet of 3 columns by 4 rows.
    std::set<std::pair<int, int>> positions;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (const TZORBaseItem* item = label.GetItem(i); item->IsPreview())
            positions.insert({ item->GetPreviewColumn(), item->GetPreviewRow() });
    EXPECT_EQ(positions.size(), 12u);
    EXPECT_EQ(*positions.begin(), std::make_pair(1, 1));
    EXPECT_EQ(*positions.rbegin(), std::make_pair(3, 4));
}

// Answers every question on the thread that asks, and notes which thread that was.
class TThreadPrompter : public IZORPrompter {
public:
    bool ChooseFromList(TZRValList&) override { return Note(); }
    bool Answer(TZRAskField& question) override
    {
        question.SetText(QStringLiteral("yes"));
        return Note();
    }
    std::thread::id asked;

private:
    bool Note()
    {
        asked = std::this_thread::get_id();
        return true;
    }
};

TEST_F(Print, QuestionsAreAskedOnTheCallingThreadBeforeTheJob)
{
    TZORLabelVCL label;
    MakeSheet(label);
    ASSERT_TRUE(label.Data().AddAskVal(QStringLiteral("q")));
    label.Data().GetAskField(1)->SetAsk(true);
    TZORText* text = label.AddBaseText(5000, 5000);
    text->SetFillType(4);
    text->SetFillName(QStringLiteral("q"));
    TThreadPrompter prompter;
    label.SetPrompter(&prompter);
    PrintPdf(label);
    EXPECT_EQ(prompter.asked, std::this_thread::get_id());
    EXPECT_EQ(PdfText(Pdf(), 1).simplified(), QStringLiteral("yes"));
}

} // namespace

namespace {

TEST(PrintTarget, ResetPrinterKeepsTheCurrentPrinterForAnIndexNamingNone)
{
    zor::SetCurrentPrinter(QStringLiteral("Kept"));
    TZORLabelVCL label;
    for (const int32_t index : { -1, int32_t(zor::PrinterNames().size()) }) {
        label.PrintInfo().SetPrinterIndex(index);
        label.ResetPrinter();
        EXPECT_EQ(zor::CurrentPrinter(), QStringLiteral("Kept")) << index;
    }
    zor::SetCurrentPrinter({});
}

TEST_F(Print, JobsOneAfterAnotherEachEnd)
{
    TZORLabelVCL label;
    MakeSheet(label);
    AddBox(label);
    std::atomic<int> after = 0;
    label.OnAfterPrint = [&](TZORLabelVCL&) { ++after; };
    for (int i = 0; i < 3; ++i) {
        label.SetPrintFileName(Path(QStringLiteral("job%1.pdf").arg(i)));
        label.Print();
    }
    label.WaitForPrint();
    EXPECT_EQ(after, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(PdfPageCount(Path(QStringLiteral("job%1.pdf").arg(i))), 1);
}

} // namespace
