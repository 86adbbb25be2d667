#pragma once

#include "Zor.Data.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "kit/Barcodes.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QRect>

#include <gtest/gtest.h>

namespace zor::test {

// A run over a sheet of 2 x 2 labels of 50 x 30 mm (4 mm margins, 2 mm gaps) on a 110 x 70 mm
// paper, starting on the second row: a Code 128 barcode on each label, bound to the six records
// REC-1 .. REC-6 of a CSV file, so the run fills two sheets. Read decodes a label's barcode.
class BoundRunTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        TZORMeasure& m = label.Measure();
        m.SetPaperWidth(110000);
        m.SetPaperHeight(70000);
        m.SetWidth(50000);
        m.SetHeight(30000);
        m.SetMarLeft(4000);
        m.SetMarTop(4000);
        m.SetDiVer(2000);
        m.SetDiHor(2000);
        m.SetNuHor(2);
        m.SetNuVer(2);
        label.PrintInfo().SetFirstRow(2);
        QByteArray csv = "code\n";
        for (int i = 1; i <= 6; ++i)
            csv += "REC-" + QByteArray::number(i) + "\n";
        ASSERT_TRUE(WriteFile(Path(QStringLiteral("data.csv")), csv));
        ASSERT_TRUE(label.Data().SetCsvData(Path(QStringLiteral("data.csv")), true, 1, 2));
        TZORBarcode* code = label.AddBaseBarcode(5000, 8000, "own", TZORBarType::Code128);
        code->SetBarWidth(0.4f);
        code->SetBarHeight(12.0f);
        code->SetFillType(1);
        code->SetFillName(QStringLiteral("code"));
        label.CheckPrintData();
    }
    // The text of the one barcode read from the label at (row, column) of a sheet drawn with
    // its paper's corner at origin, `pixelsPerMm` pixels a millimetre.
    static QString Read(const QImage& page, int row, int column, double pixelsPerMm, QPoint origin = {})
    {
        const QRect cell(int(origin.x() + (4 + (column - 1) * 52) * pixelsPerMm),
            int(origin.y() + (4 + (row - 1) * 32) * pixelsPerMm), int(50 * pixelsPerMm), int(30 * pixelsPerMm));
        const auto found = DecodeBarcodes(page, { ZXing::BarcodeFormat::Code128, cell, 10, true });
        return found.size() == 1 ? found[0].text : QStringLiteral("(%1 found)").arg(found.size());
    }

    TZORLabelVCL label;
};

} // namespace zor::test
