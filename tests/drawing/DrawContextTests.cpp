#include "Zor.Utils.h"
#include "drawing/Zor.Vcl.Types.h"
#include "kit/Pixels.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using zor::BasePtoY;
using zor::ISkCanvas;
using zor::MakeColor;
using zor::tagXFORM;
using zor::TCanvas;
using zor::TGPGraphics;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TLineCap;
using zor::TPenAlignment;
using zor::TSkCanvas;
using zor::TSmoothingMode;

namespace {

TEST(DrawContext, StartsAsTheEditorWithIdentityTransform)
{
    const TZORDraw D;
    EXPECT_EQ(D.xM, (tagXFORM { 1, 0, 0, 1, 0, 0 }));
    EXPECT_EQ(D.fDrawState, TZORDrawState::Editor);
    EXPECT_FALSE(D.aDrawLinkPto);
    EXPECT_EQ(D.aPos, 0); // only ResetText marks "no caret"
    EXPECT_EQ(D.aSelStart, 0);
    EXPECT_EQ(D.aSelEnd, 0);
    EXPECT_TRUE(D.aTxt.isEmpty());
    EXPECT_EQ(D.aC, nullptr);
    EXPECT_EQ(D.aG, nullptr);
    EXPECT_FALSE(D.kC);
    EXPECT_FALSE(D.kP);
    EXPECT_EQ(D.w1, 0.0f);
}

TEST(DrawContext, ResetMatrixKeepsTheStateItIsGivenAndResetTextReturnsToTheEditor)
{
    TZORDraw D;
    D.xM = { 0, 1, -1, 0, 10, 20 };
    D.ResetMatrix(TZORDrawState::Printer);
    EXPECT_EQ(D.xM, tagXFORM {});
    EXPECT_EQ(D.fDrawState, TZORDrawState::Printer);

    D.aPos = 7;
    D.aTxt = QStringLiteral("edited");
    D.ResetText();
    EXPECT_EQ(D.aPos, -1);
    EXPECT_TRUE(D.aTxt.isEmpty());
    EXPECT_EQ(D.fDrawState, TZORDrawState::Editor);
}

TEST(DrawContext, PixelsToBaseUnitsRoundHalvesToEvenAndDropTheSign)
{
    const struct {
        int32_t dpi;
        float px;
        int64_t base;
    } table[] = {
        { 96, -96.0f, 25400 }, { 96, 0.5f, 132 }, // 132.29
        { 96, 0.0f, 0 }, { 300, 300.0f, 25400 }, { 50800, 1.0f, 0 }, // 0.5
        { 50800, 3.0f, 2 }, // 1.5
        { 50800, 5.0f, 2 }, // 2.5
        { 50800, -3.0f, 2 }, { 0, 100.0f, 0 }, // no resolution: nothing to divide by
    };
    for (const auto& row : table) {
        TZORDraw D;
        D.SetProjection(row.dpi, row.dpi, 1);
        EXPECT_EQ(D.BaseValueX(row.px), row.base) << row.dpi << " dpi, " << row.px << " px";
        EXPECT_EQ(D.BaseValueY(row.px), row.base) << row.dpi << " dpi, " << row.px << " px";
    }
}

TEST(DrawContext, BaseUnitsToPixelsDoNotOverflow)
{
    TZORDraw D;
    D.SetProjection(300, 1200, 1);
    EXPECT_FLOAT_EQ(D.DrawValueX(25400), 300.0f);
    EXPECT_FLOAT_EQ(D.DrawValueY(25400), 1200.0f);
    // 5 m at 1200 dpi: the product of value and resolution leaves 32 bits.
    EXPECT_NEAR(D.DrawValueY(5'000'000), 236220.47f, 0.05f);
    EXPECT_NEAR(D.DrawValueY(-5'000'000), -236220.47f, 0.05f);
    D.SetProjection(0, 0, 1);
    EXPECT_EQ(D.DrawValueX(5'000'000), 0.0f);
}

// Every target prepares the context the same way where they share a member.
TEST(DrawContext, EachTargetSetsItsStateResolutionAndDashUnits)
{
    QImage image(200, 100, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    const ISkCanvas sk = std::make_shared<TSkCanvas>(painter);
    TCanvas canvas(painter);
    TGPGraphics graphics(painter);
    TGPPen pen(MakeColor(255, 0, 0, 0), 3.0f);
    TGPSolidBrush brush(MakeColor(255, 0, 0, 0));

    TZORDraw editor, preview, viewer, exporter, printer;
    editor.SetupEditor(sk, 96, 2.0f, 10, true, true);
    preview.SetupPreview(&canvas, sk, 96, 0.5f, 10);
    viewer.SetupLibraryViewer(sk, 96, 10);
    exporter.SetupExport(&canvas, sk, 300, 1.5f, 10, true);
    printer.SetupPrint(&canvas, &graphics, &pen, &brush, 600, 300, 200, 100, 10, TZORUnits::Inch);
    painter.end();

    const struct {
        const TZORDraw& D;
        TZORDrawState state;
        int32_t dpiY;
        float zoom;
        bool screen;
    } table[] = {
        { editor, TZORDrawState::Editor, 96, 2.0f, true },
        { preview, TZORDrawState::Preview, 96, 0.5f, true },
        { viewer, TZORDrawState::Library, 96, 1.0f, true },
        { exporter, TZORDrawState::Export, 300, 1.5f, true },
        { printer, TZORDrawState::Printer, 300, 1.0f, false },
    };
    for (const auto& row : table) {
        SCOPED_TRACE(static_cast<int>(row.state));
        EXPECT_EQ(row.D.fDrawState, row.state);
        EXPECT_EQ(row.D.fDPIY, row.dpiY);
        EXPECT_EQ(row.D.fZoom, row.zoom);
        EXPECT_EQ(row.D.fScale, 10);
        // The projection divides by the drawing scale on every target.
        EXPECT_DOUBLE_EQ(row.D.fPixMicroY, row.dpiY / (10 * 25400.0));
        EXPECT_FLOAT_EQ(row.D.fPixMM, row.dpiY / 25.4f);
        const float unit = row.dpiY / 25.4f;
        EXPECT_FLOAT_EQ(row.D.w05, 0.5f * unit);
        EXPECT_FLOAT_EQ(row.D.w1, unit);
        EXPECT_FLOAT_EQ(row.D.w2, 2 * unit);
        EXPECT_FLOAT_EQ(row.D.w3, 3 * unit);
        EXPECT_FLOAT_EQ(row.D.w4, 4 * unit);
        EXPECT_EQ(static_cast<bool>(row.D.kP), row.screen);
        if (row.screen) {
            EXPECT_TRUE(row.D.kP->GetAntiAlias());
        }
        EXPECT_EQ(row.D.aG != nullptr, !row.screen);
    }
    EXPECT_TRUE(editor.fEditor);
    EXPECT_TRUE(editor.aFocused);
    EXPECT_EQ(exporter.fPixUnitX, 1.0f);
    EXPECT_EQ(printer.fDPIX, 600);
    EXPECT_EQ(printer.fPageWidth, 200);
    EXPECT_EQ(printer.fPixUnitX, 600.0f); // pixels per inch
    // The print set-up prepares the graphics and the pen it is given.
    EXPECT_EQ(graphics.GetSmoothingMode(), TSmoothingMode::AntiAlias);
    EXPECT_EQ(pen.GetWidth(), 1.0f);
    EXPECT_EQ(pen.GetStartCap(), TLineCap::Round);
    EXPECT_EQ(pen.GetEndCap(), TLineCap::Round);
    EXPECT_EQ(pen.GetAlignment(), TPenAlignment::Center);
    EXPECT_TRUE(zor::test::ColourNear(image, { 100, 50 }, Qt::white));
}

TEST(DrawContext, ScreenAndPrintPutAPointOnTheSameDevicePixel)
{
    for (int32_t scale : { 1, 50 }) {
        TZORDraw screen, print;
        screen.SetupEditor(nullptr, 300, 1.0f, scale, false, false);
        print.SetupPrint(nullptr, nullptr, nullptr, nullptr, 300, 300, 0, 0, scale, TZORUnits::Millimetre);
        for (const TZORPto p :
            { TZORPto { 0, 0 }, TZORPto { 12'345, 67'891 }, TZORPto { 4'999'999, -2'500'001 } }) {
            EXPECT_NEAR(p.DrawX(screen), p.PrintX(print), 1.0) << "scale " << scale << ", x " << p.X;
            EXPECT_NEAR(p.DrawY(screen), p.PrintY(print), 1.0) << "scale " << scale << ", y " << p.Y;
        }
        // Pen widths are paper lengths: they do not follow the drawing scale.
        EXPECT_NEAR(zor::BasePtoY(0.5, screen), print.DrawBasePtoX(0.5), 1e-9);
        EXPECT_NEAR(zor::BasePtoY(1.0, screen), 300 / 25.4, 1e-9);
    }
}

} // namespace
