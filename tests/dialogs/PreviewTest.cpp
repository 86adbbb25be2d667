// The preview control over real labels: where the page and its labels show, what shows of them,
// scrolling and its link to the label.

#include "dialogs/Zor.Preview.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "kit/Barcodes.h"
#include "kit/BoundRun.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

using zor::TAlphaColor;
using zor::TColor;

namespace {

using namespace zor::test;

constexpr TAlphaColor Red { 0xFFFF0000u };
const QColor QRed(255, 0, 0);
const QColor Grey(0x80, 0x80, 0x80);

// A sheet of 3 x 3 labels of 30 x 20 mm on a 100 x 80 mm paper, 5 mm margins and 2 mm gaps, each
// label with a red box in its middle (5 to 25 mm across, 5 to 15 mm down).
void MakeSheet(TZORLabelVCL& label)
{
    TZORMeasure& m = label.Measure();
    m.SetPaperWidth(100000);
    m.SetPaperHeight(80000);
    m.SetWidth(30000);
    m.SetHeight(20000);
    m.SetMarLeft(5000);
    m.SetMarTop(5000);
    m.SetDiVer(2000);
    m.SetDiHor(2000);
    m.SetNuHor(3);
    m.SetNuVer(3);
}

TZORRectangle* AddRedBox(TZORLabelVCL& label, int64_t x, int64_t y)
{
    TZORRectangle* box = label.AddBaseRectangle(x, y, 20000, 10000);
    box->SetFilled(true);
    box->SetBackColor(Red);
    box->SetColor(Red);
    return box;
}

// The window pixel of a paper position (millimetres) in the preview as it is laid out.
QPoint At(const TZORBasePreview& preview, double xmm, double ymm)
{
    const double z = preview.Layout().zoom * 96 / 25.4;
    return { int(preview.DMX() + xmm * z), int(preview.DMY() + ymm * z) };
}

// The centre of the box of the label at (row, column).
QPoint BoxCentre(const TZORBasePreview& preview, int row, int column)
{
    return At(preview, 5 + (column - 1) * 32 + 15, 5 + (row - 1) * 22 + 10);
}

QImage Shown(TZORBasePreview& preview)
{
    return preview.viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeSheet(label);
        AddRedBox(label, 5000, 5000);
        preview.resize(420, 360);
        preview.show();
    }

    TZORLabelVCL label;
    TZORPreview preview;
};

} // namespace

// The first page starts at the run's first row and column, the rows after it at column 1; the
// second page at the corner, up to the last label of the run, which ends its row early.
TEST_F(Preview, PagesStartAtTheFirstPositionAndEndAtTheLastLabel)
{
    label.PrintInfo().SetLabs(6);
    label.PrintInfo().SetFirstRow(2);
    label.PrintInfo().SetFirstCol(3);
    label.CheckPrintData();
    ASSERT_EQ(label.PrintRun().sheetCount, 2);
    preview.SetLabel(&label);
    const struct {
        int page;
        std::vector<bool> filled; // row by row
    } pages[] = {
        { 1, { false, false, false, false, false, true, true, true, true } },
        { 2, { true, true, false, false, false, false, false, false, false } },
    };
    for (const auto& p : pages) {
        label.GoToPage(p.page, true);
        preview.Draw();
        const QImage shown = Shown(preview);
        const SaveOnFailure keep(shown, QStringLiteral("page%1").arg(p.page));
        for (int row = 1; row <= 3; ++row)
            for (int column = 1; column <= 3; ++column) {
                const bool filled = p.filled[size_t((row - 1) * 3 + column - 1)];
                EXPECT_TRUE(ColourNear(shown, BoxCentre(preview, row, column), filled ? QRed : Qt::white, 40))
                    << "page " << p.page << " row " << row << " column " << column;
            }
        // The label's own corner is paper; round the page the control's back colour.
        EXPECT_TRUE(ColourNear(shown, At(preview, 6, 6), Qt::white, 40));
        EXPECT_TRUE(ColourNear(shown, QPoint(preview.DMX() - 3, preview.DMY() + 20), Grey));
    }
}

// An element that does not print, and the elements of a layer that does not print, are not
// shown; nor is anything beyond the paper.
TEST_F(Preview, OnlyPrintableElementsOfPrintingLayersShow)
{
    label.Measure().SetNuHor(1);
    label.Measure().SetNuVer(1);
    AddRedBox(label, 5000, 40000)->SetOptions(ioDefault & ~ioPrint);
    TZORLayer* notes = label.AddLayer(QStringLiteral("Notes"));
    notes->SetOptions(loDefault & ~loPrint);
    label.SetActiveLayer(label.GetLayersCount());
    AddRedBox(label, 50000, 5000);
    TZORLayer* guides = label.AddLayer(QStringLiteral("Guides"));
    guides->SetOptions(loDefault & ~loView); // hidden on screen, printed all the same
    label.SetActiveLayer(label.GetLayersCount());
    AddRedBox(label, 50000, 40000);
    AddRedBox(label, 85000, 60000); // reaches 10 mm beyond the paper's right edge
    preview.SetLabel(&label);
    const QImage shown = Shown(preview);
    const SaveOnFailure keep(shown, QStringLiteral("layers"));
    // The label stands at the 5 mm margins.
    EXPECT_TRUE(ColourNear(shown, At(preview, 20, 15), QRed, 40));
    EXPECT_TRUE(ColourNear(shown, At(preview, 20, 50), Qt::white, 40)) << "element without the print bit";
    EXPECT_TRUE(ColourNear(shown, At(preview, 65, 15), Qt::white, 40)) << "layer without the print bit";
    EXPECT_TRUE(ColourNear(shown, At(preview, 65, 50), QRed, 40)) << "a hidden layer that prints";
    EXPECT_TRUE(ColourNear(shown, At(preview, 97, 70), QRed, 40));
    const QPoint beyond(preview.DMX() + preview.Layout().pageWidth + 2, At(preview, 97, 70).y());
    EXPECT_TRUE(ColourNear(shown, beyond, Grey)) << "beyond the paper";
}

// Every label of a bound run shows its own record: a sheet of 2 x 2 labels bound to six CSV
// records, the first at row 2, holds records 1 and 2 on page 1 and 3 to 6 on page 2.
class PreviewRun : public BoundRunTest {
protected:
    void SetUp() override
    {
        BoundRunTest::SetUp();
        preview.resize(1000, 700);
        preview.SetViewType(TZORViewType::PageWidth);
        preview.show();
        preview.SetLabel(&label);
    }
    // The text read from the label at (row, column) of the page shown.
    QString Read(const QImage& shown, int row, int column)
    {
        return BoundRunTest::Read(
            shown, row, column, preview.Layout().zoom * 96 / 25.4, QPoint(preview.DMX(), preview.DMY()));
    }

    TZORPreview preview;
};

TEST_F(PreviewRun, EveryLabelShowsItsRecord)
{
    ASSERT_EQ(label.PrintRun().sheetCount, 2);
    const struct {
        int page, row, column;
        const char* text;
    } table[] = {
        { 1, 1, 1, "(0 found)" },
        { 1, 1, 2, "(0 found)" },
        { 1, 2, 1, "REC-1" },
        { 1, 2, 2, "REC-2" },
        { 2, 1, 1, "REC-3" },
        { 2, 1, 2, "REC-4" },
        { 2, 2, 1, "REC-5" },
        { 2, 2, 2, "REC-6" },
    };
    QImage shown;
    int page = 0;
    for (const auto& c : table) {
        if (c.page != page) {
            page = c.page;
            label.GoToPage(page, true);
            preview.Draw();
            shown = Shown(preview);
        }
        const SaveOnFailure keep(shown, QStringLiteral("page%1").arg(page));
        EXPECT_EQ(Read(shown, c.row, c.column), QString::fromLatin1(c.text))
            << "page " << c.page << " row " << c.row << " column " << c.column;
    }
    // Drawing the page leaves the run where it was.
    EXPECT_EQ(label.PrintRun().sheetCounter, 2);
}

TEST(PreviewLayout, WholePageAndPageWidth)
{
    const struct {
        double pw, ph; // paper, pixels at 100 %
        QSize client;
        TZORViewType view;
        zor::TPreviewLayout expected;
    } table[] = {
        // A wide paper takes the width, a tall one the height, each centred.
        { 800, 400, { 420, 360 }, TZORViewType::WholePage, { 400, 200, 10, 80, 420, 360, 0.5 } },
        { 400, 800, { 420, 360 }, TZORViewType::WholePage, { 170, 340, 125, 10, 420, 360, 0.425 } },
        // Page width: a tall page starts a margin from the top and scrolls; a short one is centred.
        { 400, 800, { 420, 360 }, TZORViewType::PageWidth, { 400, 800, 10, 10, 420, 820, 1.0 } },
        { 800, 400, { 420, 360 }, TZORViewType::PageWidth, { 400, 200, 10, 80, 420, 220, 0.5 } },
        // Nothing to show: no paper, no room inside the margins, a paper too narrow for a pixel.
        { 0, 800, { 420, 360 }, TZORViewType::WholePage, {} },
        { 400, 800, { 20, 360 }, TZORViewType::WholePage, {} },
        { 0.0378, 1122, { 420, 360 }, TZORViewType::WholePage, {} },
        { 0.0378, 2000, { 420, 360 }, TZORViewType::PageWidth, {} },
    };
    for (const auto& c : table) {
        const zor::TPreviewLayout l = zor::PreviewLayout(c.pw, c.ph, c.client, 10, c.view);
        EXPECT_EQ(l, c.expected) << c.pw << " x " << c.ph << " view " << int(c.view) << ": " << l.pageWidth
                                 << " x " << l.pageHeight << " at " << l.left << ", " << l.top << " zoom "
                                 << l.zoom;
    }
}

// A page wider than high shows whole without bars; in page width a tall page scrolls with its
// bar and the wheel: down 10 pixels a line, kept within the range; Shift scrolls sideways only
// with a horizontal bar, Ctrl does nothing.
TEST_F(Preview, PageWidthScrollsWithTheBarAndTheWheel)
{
    label.Measure().SetPaperWidth(100000);
    label.Measure().SetPaperHeight(300000);
    preview.SetLabel(&label);
    EXPECT_FALSE(preview.verticalScrollBar()->isVisible());
    EXPECT_EQ(preview.ContentHeight(), preview.viewport()->height());
    preview.SetViewType(TZORViewType::PageWidth);
    QScrollBar* bar = preview.verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(preview.Layout().top, 10);
    EXPECT_EQ(bar->maximum(), preview.ContentHeight() - preview.viewport()->height());
    EXPECT_EQ(bar->pageStep(), preview.viewport()->height());
    const int line = 10 * QApplication::wheelScrollLines();
    const auto wheel = [&](int delta, Qt::KeyboardModifiers keys) {
        const QPointF at(50, 50);
        QWheelEvent event(at, preview.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
            keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(preview.viewport(), &event);
    };
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(bar->value(), line);
    EXPECT_EQ(preview.DMY(), 10 - line);
    wheel(-120, Qt::ControlModifier);
    wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(bar->value(), line);
    EXPECT_EQ(preview.horizontalScrollBar()->value(), 0);
    wheel(120, Qt::NoModifier);
    wheel(120, Qt::NoModifier);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum());
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(bar->value(), bar->maximum());
    // The page's foot is a margin above the window's bottom.
    const QImage shown = Shown(preview);
    EXPECT_EQ(preview.DMY() + preview.Layout().pageHeight, preview.viewport()->height() - 10);
    EXPECT_TRUE(
        ColourNear(shown, QPoint(preview.viewport()->width() / 2, preview.viewport()->height() - 5), Grey));
}

// The preview redraws when its label changes, shows its own colour without a label or with a
// paper too small to show, and lets go of a label that goes away.
TEST_F(Preview, FollowsItsLabelAndLetsGo)
{
    preview.SetColor(TColor { 0x0000FF00 }); // green, as the framework writes it
    const QColor green(0, 255, 0);
    EXPECT_TRUE(ColourNear(Shown(preview), QPoint(30, 30), green));
    preview.SetLabel(&label);
    EXPECT_EQ(preview.TypeDest(), TZRObserverKind::Preview);
    EXPECT_TRUE(ColourNear(Shown(preview), BoxCentre(preview, 1, 1), QRed, 40));
    label.DeleteItem(label.GetItem(1));
    EXPECT_TRUE(ColourNear(Shown(preview), BoxCentre(preview, 1, 1), Qt::white, 40));
    label.Measure().SetPaperWidth(0);
    label.Notify(TZRChange::Settings);
    EXPECT_TRUE(preview.Layout().IsEmpty());
    EXPECT_TRUE(ColourNear(Shown(preview), QPoint(30, 30), green));
    {
        TZORLabelVCL gone;
        MakeSheet(gone);
        AddRedBox(gone, 5000, 5000);
        preview.SetLabel(&gone);
        EXPECT_TRUE(ColourNear(Shown(preview), BoxCentre(preview, 1, 1), QRed, 40));
    }
    EXPECT_EQ(preview.GetLabel(), nullptr);
    EXPECT_TRUE(ColourNear(Shown(preview), QPoint(30, 30), green));
    // The first label no longer tells it anything.
    label.Measure().SetPaperWidth(100000);
    label.Notify(TZRChange::Settings);
    EXPECT_TRUE(preview.Layout().IsEmpty());
}

TEST(PreviewSize, AnEmptyWindowLaysNothingOut)
{
    TZORLabelVCL label;
    TZORPreview preview;
    preview.resize(0, 0);
    preview.show();
    preview.SetLabel(&label);
    preview.SetViewType(TZORViewType::PageWidth);
    preview.Draw();
    EXPECT_TRUE(preview.Layout().IsEmpty());
}
