#include "Zor.Data.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.Vcl.Types.h"
#include "elements/composite/Zor.Vcl.Flow.h"
#include "elements/composite/Zor.Vcl.Poly.h"
#include "elements/composite/Zor.Vcl.Table.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.SheetPainter.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

using zor::TBrushStyle;
using zor::TCanvas;
using zor::TSkCanvas;

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

// Every kind that keeps something derived to draw by (text measures and layouts, a decoded
// picture, encoded symbols, table and poly-text layouts, caption metrics), some bound to the
// record, added to the fixture's label without bringing them up to date, so that the threads
// also meet layouts made for their own pass.
// Answers the picture.
TZORImage& AddKindsWithLayouts(TZORLabelVCL& label)
{
    const auto bind = [](TZORBaseItem* item, const char* field) {
        item->SetFillType(1);
        item->SetFillName(QString::fromLatin1(field));
    };
    bind(label.AddBaseParagraph(2000, 16000, 17000, 6000), "name");
    TZORRichText* rich = label.AddBaseRichText(20000, 8000, 18000, 5000);
    rich->SetRichText(QStringLiteral("<b>Rich</b> text"));
    bind(label.AddBaseBarcode(2000, 23000, "REC-0", TZORBarType::Code128B), "name");
    bind(label.AddBaseQRCode(32000, 1000, QStringLiteral("own")), "name");
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(QColor(0, 160, 0));
    QPainter(&picture).fillRect(0, 0, 20, 20, QColor(200, 0, 200));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&png, "PNG"));
    TZORImage* image = TZORFactory::AddBaseImage(label, 24000, 14000, 8000, 6000, QString());
    image->SetImageBytes(png.data());
    image->SetAngle(TZORAngle::Angle90);
    label.AddBaseEllipse(30000, 25000, 6000, 3000)->SetFilled(true);
    label.AddBaseFlow(18000, 24000, 10000, 5000, TZORFlowType::Process)->SetText(QStringLiteral("Flow"));
    label.AddBaseTable(2000, 8000, 16000, 7000);
    label.AddBasePolyText(24000, 2000);
    TZORLevel* gauge = label.AddBaseLevel(36000, 20000, 3000);
    gauge->SetText(QStringLiteral("50"));
    TZORText* text = label.AddBaseText(20000, 22000);
    text->SetText(QStringLiteral("Own"));
    text->SetFontHeight(3.0f);
    return *image;
}

QByteArray Saved(const TZORLabelVCL& label)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    label.SaveToStream(&buffer);
    return buffer.data();
}

// Image export draws sheets on several threads at once, all from the one label: every thread,
// with its own contexts, gets the pixels one thread alone draws, whatever the others draw at the
// same time. The threads meet the picture before it is decoded: the model asks for it again
// after a first pass, which set up the font libraries (they set themselves up on first use with
// locks of their own, which ThreadSanitizer does not see).
TEST_F(SheetPainter, SeveralThreadsDrawOneConstLabelAsOneThreadDoes)
{
    TZORImage& picture = AddKindsWithLayouts(label);
    label.CheckPrintData();
    const QByteArray before = Saved(label);
    const TZORLabelVCL& shared = label;
    Draw(shared, 1);
    picture.ReloadImage();
    constexpr int Threads = 6;
    constexpr int Rounds = 4;
    std::vector<std::vector<QImage>> drawn(Threads);
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < Rounds; ++round)
                for (const int64_t sheet : { int64_t(1 + (t + round) % 2), int64_t(2 - (t + round) % 2) })
                    drawn[size_t(t)].push_back(Draw(shared, sheet));
        });
    for (std::thread& t : threads)
        t.join();
    const std::vector<QImage> alone { Draw(shared, 1), Draw(shared, 2) };
    ASSERT_NE(alone[0], alone[1]);
    for (int t = 0; t < Threads; ++t)
        for (int round = 0; round < Rounds; ++round) {
            const size_t first = size_t(2 * round);
            const size_t sheet = size_t((t + round) % 2);
            EXPECT_EQ(drawn[size_t(t)][first], alone[sheet]) << "thread " << t << ", round " << round;
            EXPECT_EQ(drawn[size_t(t)][first + 1], alone[1 - sheet]) << "thread " << t << ", round " << round;
        }
    // Drawing changed nothing of the label: it saves as it did before.
    EXPECT_EQ(Saved(label), before);
}

} // namespace
