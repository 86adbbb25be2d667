#include "Zor.Layer.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

using namespace zor::test;

constexpr int Dpi = 100;

QPoint At(double xmm, double ymm)
{
    return { int(xmm * Dpi / 25.4), int(ymm * Dpi / 25.4) };
}

class BackgroundPrint : public TempDirTest { };

// Every label of the sheet prints the background, turned with the label, under its elements.
TEST_F(BackgroundPrint, EveryLabelOfTheSheetPrintsItsBackground)
{
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, 10, 10, Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");

    TZORLabelVCL label;
    TZORMeasure& m = label.Measure();
    m.SetPaperWidth(100000);
    m.SetPaperHeight(50000);
    m.SetWidth(40000);
    m.SetHeight(30000);
    m.SetMarLeft(5000);
    m.SetMarTop(10000);
    m.SetDiVer(10000); // the gap between columns
    m.SetNuVer(2);
    label.PrintInfo().SetLabs(2);
    label.SetOrientation(2);
    TZORLayer* layer = label.GetLayer(1);
    layer->SetOptions(loDefault | loBackImage | loPrintBack);
    layer->SetImgBytes(png);
    layer->SetImgMarLeft(4); // lands on the right, the picture being upside down

    label.SetPrintFileName(Path(QStringLiteral("back.pdf")));
    label.Print();
    label.WaitForPrint();
    ASSERT_EQ(label.GetLastPrintStatus(), TZORPrintStatus::Printed);
    const QImage page = PdfPage(Path(QStringLiteral("back.pdf")), 1, Dpi);
    for (const double x : { 5.0, 55.0 }) {
        SCOPED_TRACE(x);
        EXPECT_TRUE(ColourNear(page, At(x + 8, 25), Qt::blue, 16));
        EXPECT_TRUE(ColourNear(page, At(x + 28, 25), Qt::red, 16));
        EXPECT_TRUE(ColourNear(page, At(x + 38, 25), Qt::white, 16)); // the margin
    }
    EXPECT_TRUE(ColourNear(page, At(50, 5), Qt::white, 16));
}

} // namespace
