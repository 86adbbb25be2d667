// The preview window: navigation, printing with the return to the page shown (the after-print
// event arriving on the print thread), closing while a job runs, and export.

#include "dialogs/Zor.Preview.h"
#include "dialogs/Zor.Showpreview.h"
#include "dialogs/Zor.Spinfloat.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/Dialogs.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QCheckBox>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr TAlphaColor Red { 0xFFFF0000u };

// A label of one 60 x 40 mm label per sheet with a red box, and `labels` labels: as many pages.
void MakeRun(TZORLabelVCL& label, int labels)
{
    TZORMeasure& m = label.Measure();
    m.SetPaperWidth(60000);
    m.SetPaperHeight(40000);
    m.SetWidth(60000);
    m.SetHeight(40000);
    m.SetLabelName(QStringLiteral("Crate"));
    label.PrintInfo().SetLabs(labels);
    TZORRectangle* box = label.AddBaseRectangle(10000, 10000, 20000, 10000);
    box->SetFilled(true);
    box->SetBackColor(Red);
}

template <class T> T* Control(TfPreview& window, const char* name)
{
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

struct TNavigation {
    bool first, prior, next, last;
    const char* page;
    bool readOnly;
};

void ExpectNavigation(TfPreview& window, const TNavigation& n)
{
    EXPECT_EQ(Control<QToolButton>(window, "butFirst")->isEnabled(), n.first);
    EXPECT_EQ(Control<QToolButton>(window, "butPrior")->isEnabled(), n.prior);
    EXPECT_EQ(Control<QToolButton>(window, "butNext")->isEnabled(), n.next);
    EXPECT_EQ(Control<QToolButton>(window, "butLast")->isEnabled(), n.last);
    EXPECT_EQ(Control<QLineEdit>(window, "edNumPage")->text(), QString::fromLatin1(n.page));
    EXPECT_EQ(Control<QLineEdit>(window, "edNumPage")->isReadOnly(), n.readOnly);
}

class ShowPreview : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        MakeRun(label, 5);
        label.SetPrintFileName(Path(QStringLiteral("printed.pdf")));
    }
    // Waits for the print jobs, then delivers what they posted to this thread.
    void FinishPrint()
    {
        label.WaitForPrint();
        QCoreApplication::processEvents();
    }

    TZORLabelVCL label;
};

} // namespace

TEST_F(ShowPreview, OnePageHasNowhereToGo)
{
    TZORLabelVCL single;
    MakeRun(single, 1);
    TfPreview window;
    window.Ini(single);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("    Crate"));
    ExpectNavigation(window, { false, false, false, false, "1 / 1", true });
}

TEST_F(ShowPreview, NavigationWalksThePages)
{
    TfPreview window;
    window.Ini(label);
    ExpectNavigation(window, { false, false, true, true, "1 / 5", false });
    window.butNextClick();
    window.butNextClick();
    ExpectNavigation(window, { true, true, true, true, "3 / 5", false });
    window.butLastClick();
    ExpectNavigation(window, { true, true, false, false, "5 / 5", false });
    window.butPriorClick();
    EXPECT_EQ(label.PrintRun().sheetCounter, 4);
    window.butFirstClick();
    ExpectNavigation(window, { false, false, true, true, "1 / 5", false });
    auto* box = Control<QLineEdit>(window, "edNumPage");
    box->setText(QStringLiteral("4"));
    window.edNumPageReturn();
    ExpectNavigation(window, { true, true, true, true, "4 / 5", false });
    box->setText(QStringLiteral("many"));
    window.edNumPageReturn();
    EXPECT_EQ(box->text(), QStringLiteral("4 / 5"));
    // Whole page and page width.
    window.pageWidthClick();
    EXPECT_EQ(window.Preview()->GetViewType(), TZORViewType::PageWidth);
    window.pageFullClick();
    EXPECT_EQ(window.Preview()->GetViewType(), TZORViewType::WholePage);
}

// A print started on page 3 of 5 ends on the print thread; the host's handler is called there,
// and the window goes back to page 3 on its own thread. When the run has only 2 pages by then,
// it shows page 2.
TEST_F(ShowPreview, AfterPrintingTheWindowReturnsToItsPage)
{
    const Qt::HANDLE ui = QThread::currentThreadId();
    std::atomic<int> called { 0 };
    std::atomic<bool> onPrintThread { false };
    label.OnAfterPrint = [&](TZORLabelVCL& sender) {
        EXPECT_EQ(&sender, &label);
        onPrintThread = QThread::currentThreadId() != ui;
        ++called;
    };
    const std::type_info& user = label.OnAfterPrint.target_type();
    {
        TfPreview window;
        window.Ini(label);
        EXPECT_NE(label.OnAfterPrint.target_type(), user);
        window.butNextClick();
        window.butNextClick();
        window.butPrintClick();
        // Print prepared the run anew, on its first page, until the job is done.
        label.WaitForPrint();
        EXPECT_EQ(label.PrintRun().sheetCounter, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(called, 1);
        EXPECT_TRUE(onPrintThread);
        EXPECT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);
        EXPECT_EQ(PdfPageCount(Path(QStringLiteral("printed.pdf"))), 5);
        ExpectNavigation(window, { true, true, true, true, "3 / 5", false });

        label.PrintInfo().SetLabs(2);
        window.butLastClick();
        window.butPrintClick();
        FinishPrint();
        EXPECT_EQ(called, 2);
        ExpectNavigation(window, { true, true, false, false, "2 / 2", false });

        // An after-print of a job not started here leaves the page where it is.
        window.butFirstClick();
        std::thread([&] { label.OnAfterPrint(label); }).join();
        QCoreApplication::processEvents();
        EXPECT_EQ(called, 3);
        ExpectNavigation(window, { false, false, true, true, "1 / 2", false });
    }
    // The host's handler is its own again.
    ASSERT_TRUE(label.OnAfterPrint);
    EXPECT_EQ(label.OnAfterPrint.target_type(), user);
    label.OnAfterPrint(label);
    EXPECT_EQ(called, 4);
}

// The window goes away while its print job runs: the job ends on a window that is no more,
// calls the host's handler and posts nothing.
TEST_F(ShowPreview, ClosingDuringAPrintJobIsSafe)
{
    std::mutex m;
    std::condition_variable cv;
    bool closed = false;
    label.OnBeforePrint = [&](TZORLabelVCL&) {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return closed; });
    };
    std::atomic<int> called { 0 };
    label.OnAfterPrint = [&](TZORLabelVCL&) { ++called; };
    auto window = std::make_unique<TfPreview>();
    window->Ini(label);
    window->butLastClick();
    window->butPrintClick();
    window.reset();
    {
        std::lock_guard lock(m);
        closed = true;
    }
    cv.notify_all();
    FinishPrint();
    EXPECT_EQ(called, 1);
    EXPECT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);
    label.OnAfterPrint(label);
    EXPECT_EQ(called, 2);
}

TEST_F(ShowPreview, NowhereToPrintPrintsNothing)
{
    label.SetPrintFileName(QString());
    TScriptedDialogs dialogs;
    // Where printers are installed the print dialog asks for one; cancelled, nothing prints.
    if (!zor::PrinterNames().isEmpty())
        dialogs.AnswerPrintSetup(false);
    TfPreview window;
    window.Ini(label);
    window.butPrintClick();
    label.WaitForPrint();
    EXPECT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::None);
}

// The export menu's items ask for a file and export the page shown at the scale and with the
// options of the window; a name without an extension takes the kind's.
TEST_F(ShowPreview, ExportWritesThePageShown)
{
    TScriptedDialogs dialogs;
    TfPreview window;
    window.Ini(label);
    window.butNextClick();
    auto* scale = Control<TZORSpinEditFloat>(window, "sfScale");
    ASSERT_NE(scale, nullptr);
    EXPECT_DOUBLE_EQ(scale->GetValue(), 1.0);
    EXPECT_EQ(Control<TZORSpinEditFloat>(window, "seQuality")->GetValInt64(), 100);
    scale->SetValue(2.0);
    QSignalSpy done(&label, &TZORLabelVCL::ExportDone);
    dialogs.AnswerPopup([](QMenu& menu) { return menu.findChild<QAction*>(QStringLiteral("savePNG")); });
    dialogs.AnswerFile(Path(QStringLiteral("page")));
    window.butSaveClick();
    EXPECT_TRUE(Control<QProgressBar>(window, "pbExport")->isVisibleTo(&window));
    label.WaitForExports();
    QCoreApplication::processEvents();
    ASSERT_EQ(done.count(), 1);
    EXPECT_EQ(done[0][0].toString(), Path(QStringLiteral("page.png")));
    EXPECT_EQ(done[0][1].toString(), QString());
    EXPECT_FALSE(Control<QProgressBar>(window, "pbExport")->isVisibleTo(&window));
    const QImage image = QImageReader(Path(QStringLiteral("page.png"))).read();
    EXPECT_EQ(image.size(), QSize(454, 302)); // 60 x 40 mm at 96 dpi, twice
    EXPECT_TRUE(
        ColourNear(image, QPoint(int(20 * 2 * 96 / 25.4), int(15 * 2 * 96 / 25.4)), QColor(255, 0, 0)));
    EXPECT_EQ(label.PrintRun().sheetCounter, 2);

    // Fit: the content alone, cropped (20 x 10 mm and a millimetre round it).
    auto* fit = Control<QCheckBox>(window, "ckFit");
    ASSERT_FALSE(fit->isHidden());
    fit->setChecked(true);
    scale->SetValue(1.0);
    dialogs.AnswerFile(Path(QStringLiteral("content.png")));
    window.SaveAs(TZORExport::PNG);
    dialogs.AnswerFile(Path(QStringLiteral("sheet.pdf")));
    fit->setChecked(false);
    window.SaveAs(TZORExport::PDF);
    dialogs.AnswerFile(QString()); // cancelled
    window.SaveAs(TZORExport::GIF);
    label.WaitForExports();
    QCoreApplication::processEvents();
    EXPECT_EQ(QImageReader(Path(QStringLiteral("content.png"))).size(), QSize(83, 45));
    EXPECT_EQ(PdfPageCount(Path(QStringLiteral("sheet.pdf"))), 1);
    EXPECT_EQ(done.count(), 3);
}

// A quality typed beyond its range (10 to 100) is brought into it when an export reads it,
// though the button pressed takes no focus from the box.
TEST_F(ShowPreview, TheQualityBoxKeepsToItsRange)
{
    TScriptedDialogs dialogs;
    TfPreview window;
    window.Ini(label);
    auto* quality = Control<TZORSpinEditFloat>(window, "seQuality");
    ASSERT_NE(quality, nullptr);
    quality->selectAll();
    QTest::keyClicks(quality, QStringLiteral("200"));
    ASSERT_EQ(quality->GetValInt64(), 200);
    dialogs.AnswerFile(Path(QStringLiteral("quality.jpg")));
    window.SaveAs(TZORExport::JPEG);
    label.WaitForExports();
    QCoreApplication::processEvents();
    EXPECT_EQ(quality->GetValInt64(), 100);
    EXPECT_EQ(quality->text(), QStringLiteral("100"));
}

// A failed export is shown in the window, not lost.
TEST_F(ShowPreview, AFailedExportIsReported)
{
    TScriptedDialogs dialogs;
    TfPreview window;
    window.Ini(label);
    dialogs.AnswerFile(Path(QStringLiteral("no/such/folder/page.jpeg")));
    window.SaveAs(TZORExport::JPEG);
    label.WaitForExports();
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(QStringLiteral("page.jpeg")))
        << dialogs.Messages[0].toStdString();
}

// Fit is offered only when every label of a sheet shows the same.
TEST_F(ShowPreview, FitIsHiddenWhenTheLabelsDiffer)
{
    const struct {
        const char* what;
        std::function<void(TZORLabelVCL&)> make;
        bool hidden;
    } cases[] = {
        { "plain", [](TZORLabelVCL&) {}, false },
        { "sheet copies", [](TZORLabelVCL& l) { l.PrintInfo().SetSheetCopies(true); }, true },
        { "counter",
            [](TZORLabelVCL& l) {
                TZORCounter* counter = l.Data().AddCounter(QStringLiteral("n"));
                ASSERT_NE(counter, nullptr);
                l.GetItem(1)->SetFillType(uint8_t(TZORFillType::Counter));
                l.GetItem(1)->SetFillName(QStringLiteral("n"));
            },
            true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TZORLabelVCL l;
        MakeRun(l, 3);
        c.make(l);
        TfPreview window;
        window.Ini(l);
        EXPECT_EQ(Control<QCheckBox>(window, "ckFit")->isHidden(), c.hidden);
    }
}

// The label opens the window through the dialog service and has its handler back afterwards.
TEST_F(ShowPreview, TheLabelOpensItsPreview)
{
    TScriptedDialogs dialogs;
    label.OnAfterPrint = [](TZORLabelVCL&) {};
    const std::type_info& own = label.OnAfterPrint.target_type();
    QString shown;
    dialogs.AnswerDialog([&](QDialog& dialog) {
        auto& window = static_cast<TfPreview&>(dialog);
        shown = window.findChild<QLineEdit*>(QStringLiteral("edNumPage"))->text();
        EXPECT_EQ(window.Preview()->GetLabel(), &label);
        return int(QDialog::Rejected);
    });
    label.Preview();
    EXPECT_EQ(dialogs.Asked, QStringList { QStringLiteral("dialog fPreview") });
    EXPECT_EQ(shown, QStringLiteral("1 / 5"));
    EXPECT_EQ(label.OnAfterPrint.target_type(), own);
}
