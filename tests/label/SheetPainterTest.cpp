#include "Zor.Data.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.Vcl.Types.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.SheetPainter.h"
#include "label/Zor.Vcl.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int32_t Dpi = 96;

// A sheet of 2 x 3 labels of 40 x 30 mm over nine records; each label holds a text, an arrow
// line, a package box and a level gauge bound to the record, and a box of its own.
class SheetPainter : public ::testing::Test {
protected:
    void SetUp() override
    {
        TZORMeasure& m = label.Measure();
        m.SetPaperWidth(130000);
        m.SetPaperHeight(70000);
        m.SetWidth(40000);
        m.SetHeight(30000);
        m.SetMarLeft(0);
        m.SetMarTop(0);
        m.SetDiVer(0);
        m.SetDiHor(0);
        m.SetNuHor(2);
        m.SetNuVer(3);
        QString json = QStringLiteral("[");
        for (int i = 1; i <= 9; ++i)
            json += QStringLiteral(R"(%1{"name":"Record %2","size":"%3x20x10","level":"%4"})")
                        .arg(i > 1 ? QStringLiteral(",") : QString())
                        .arg(i)
                        .arg(10 + 5 * i)
                        .arg(10 * i);
        ASSERT_TRUE(label.Data().SetJson(json + QStringLiteral("]")));
        label.Data().SetDataSel(QStringLiteral("JSON"));
        const auto bind = [](TZORBaseItem* item, const char* field) {
            item->SetFillType(1);
            item->SetFillName(QString::fromLatin1(field));
        };
        bind(label.AddBaseText(2000, 2000), "name");
        TZORArrowLine* line = label.AddBaseArrowLine(2000, 12000, 38000, 12000);
        line->SetText(QStringLiteral("own"));
        bind(line, "name");
        bind(label.AddBasePackage(2000, 14000, 16000, 14000), "size");
        bind(label.AddBaseLevel(30000, 21000, 6000), "level");
        label.AddBaseRectangle(20000, 2000, 6000, 6000);
        label.CheckPrintData();
    }

    // Sheet `sheet` of the label drawn as export draws it, on a white image.
    static QImage Draw(const TZORLabelVCL& label, int64_t sheet)
    {
        QImage image(int(130 * Dpi / 25.4), int(70 * Dpi / 25.4), QImage::Format_RGB32);
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.Brush.Style = TBrushStyle::Clear;
        TZORDraw D, P;
        D.SetupExport(&canvas, std::make_shared<TSkCanvas>(painter), Dpi, 1.0f, 1, false);
        TZORPrintKit kit(painter);
        P.SetupPrint(kit, Dpi, Dpi, image.width(), image.height(), 1, label.GetUnits());
        zor::TSheetPainter(label, zor::TSheetTarget::Export, P, &D).PaintSheet(sheet, Dpi, Dpi);
        return image;
    }

    TZORLabelVCL label;
};

// The painter gives every label of the sheet its own record and never moves the label's
// cursor: drawing a sheet again gives the same pixels.
TEST_F(SheetPainter, EveryLabelShowsItsRecordAndTheCursorStays)
{
    const TZORLabelVCL& shown = label;
    ASSERT_EQ(shown.PrintRun().sheetCount, 2);
    const int64_t cursor = shown.Data().GetLabel();
    const QImage first = Draw(shown, 1);
    const QRect cell(0, 0, int(40 * Dpi / 25.4), int(30 * Dpi / 25.4));
    EXPECT_NE(first.copy(cell), first.copy(cell.translated(cell.width(), 0)));
    EXPECT_NE(first, Draw(shown, 2));
    EXPECT_EQ(Draw(shown, 1), first);
    EXPECT_EQ(shown.Data().GetLabel(), cursor);
}

// Image export draws sheets on several threads at once, each over its own snapshot of the
// label: every thread gets the pixels one thread alone draws.
TEST_F(SheetPainter, SeveralThreadsDrawAsOneThreadDoes)
{
    const std::vector<QImage> alone { Draw(label, 1), Draw(label, 2) };
    constexpr int Threads = 4;
    std::vector<std::unique_ptr<TZORLabelVCL>> copies;
    for (int t = 0; t < Threads; ++t) {
        copies.push_back(label.Snapshot());
        copies.back()->moveToThread(nullptr);
    }
    std::vector<std::vector<QImage>> drawn(Threads);
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round)
                for (int64_t sheet : { 2, 1 })
                    drawn[size_t(t)].push_back(Draw(*copies[size_t(t)], sheet));
        });
    for (std::thread& t : threads)
        t.join();
    for (int t = 0; t < Threads; ++t)
        for (size_t i = 0; i < drawn[size_t(t)].size(); ++i)
            EXPECT_EQ(drawn[size_t(t)][i], alone[i % 2 == 0 ? 1 : 0]) << "thread " << t << ", image " << i;
}

} // namespace
