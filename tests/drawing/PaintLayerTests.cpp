#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.Paint.h"
#include "kit/Pixels.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

using zor::MakeColor;
using zor::TA_LEFT;
using zor::TA_TOP;
using zor::TAlphaColor;
using zor::TBrushStyle;
using zor::TCanvas;
using zor::TColor;
using zor::TDashStyle;
using zor::TFillMode;
using zor::TGPColor;
using zor::TGPGraphics;
using zor::TGPGraphicsPath;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TLineCap;
using zor::TPenAlignment;
using zor::TSkCanvas;
using zor::TSkFont;
using zor::TSkFontStyle;
using zor::TSkPaint;
using zor::TSkPaintStyle;
using zor::TSkPathEffect;

namespace {

using zor::test::ColourNear;
using zor::test::InkBounds;
using zor::test::InkCount;

constexpr TAlphaColor Black { 0xFF000000 };
const TGPColor GPBlack = MakeColor(255, 0, 0, 0);

QImage Render(int w, int h, const std::function<void(QPainter&)>& draw)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    return image;
}

TSkPaint Stroke(double width)
{
    TSkPaint paint;
    paint.SetColor(Black);
    paint.SetStyle(TSkPaintStyle::Stroke);
    paint.SetStrokeWidth(width);
    return paint;
}

// Arcs count degrees clockwise from the positive x axis with y pointing down, on both layers.
TEST(PaintLayers, ArcsTurnClockwiseOnScreenAndOnPaper)
{
    const QRectF oval(10, 10, 80, 80);
    const QImage screen
        = Render(100, 100, [&](QPainter& p) { TSkCanvas(p).DrawArc(oval, 0, 90, false, Stroke(3)); });
    const QImage paper = Render(100, 100, [&](QPainter& p) {
        TGPGraphics(p).DrawArc(TGPPen(GPBlack, 3), oval.x(), oval.y(), oval.width(), oval.height(), 0, 90);
    });
    const QImage pie = Render(100, 100, [&](QPainter& p) {
        TGPGraphics(p).FillPie(
            TGPSolidBrush(GPBlack), oval.x(), oval.y(), oval.width(), oval.height(), 0, 90);
    });
    for (const QImage* image : { &screen, &paper }) {
        EXPECT_GT(InkCount(*image, {}, QRect(72, 72, 14, 14)), 0); // lower right on the page
        EXPECT_EQ(InkCount(*image, {}, QRect(72, 14, 14, 14)), 0); // upper right
    }
    EXPECT_TRUE(ColourNear(pie, { 65, 65 }, Qt::black));
    EXPECT_TRUE(ColourNear(pie, { 65, 35 }, Qt::white));
}

TEST(PaintLayers, AnInsetPenKeepsClosedShapesInsideTheirBox)
{
    const auto draw = [](TPenAlignment alignment, bool ellipse) {
        return Render(100, 100, [&](QPainter& p) {
            TGPPen pen(GPBlack, 10);
            pen.SetAlignment(alignment);
            TGPGraphics g(p);
            if (ellipse)
                g.DrawEllipse(pen, 20, 20, 60, 60);
            else
                g.DrawRectangle(pen, 20, 20, 60, 60);
        });
    };
    EXPECT_EQ(InkBounds(draw(TPenAlignment::Inset, false)), QRect(20, 20, 60, 60));
    EXPECT_EQ(InkBounds(draw(TPenAlignment::Center, false)), QRect(15, 15, 70, 70));
    EXPECT_TRUE(QRect(20, 20, 60, 60).contains(InkBounds(draw(TPenAlignment::Inset, true))));
    EXPECT_FALSE(QRect(20, 20, 60, 60).contains(InkBounds(draw(TPenAlignment::Center, true))));
}

TEST(PaintLayers, AlternateFillLeavesNestedFiguresOpen)
{
    const auto fill = [](TFillMode mode) {
        return Render(100, 100, [&](QPainter& p) {
            TGPGraphicsPath path(mode);
            path.AddRectangle(QRectF(10, 10, 80, 80));
            path.AddRectangle(QRectF(30, 30, 40, 40));
            TGPGraphics(p).FillPath(TGPSolidBrush(GPBlack), path);
        });
    };
    const QImage alternate = fill(TFillMode::Alternate);
    EXPECT_TRUE(ColourNear(alternate, { 20, 20 }, Qt::black));
    EXPECT_TRUE(ColourNear(alternate, { 50, 50 }, Qt::white));
    EXPECT_TRUE(ColourNear(fill(TFillMode::Winding), { 50, 50 }, Qt::black));
    EXPECT_EQ(TGPGraphicsPath().GetFillMode(), TFillMode::Alternate);
}

TEST(PaintLayers, FiguresOfAPathJoinUntilTheyAreClosed)
{
    TGPGraphicsPath path;
    path.AddLine(10, 10, 90, 10);
    path.AddLine(90, 90, 10, 90); // joined to the end of the first line
    path.CloseFigure();
    const QImage image
        = Render(100, 100, [&](QPainter& p) { TGPGraphics(p).FillPath(TGPSolidBrush(GPBlack), path); });
    EXPECT_TRUE(ColourNear(image, { 50, 50 }, Qt::black));
}

TEST(PaintLayers, AHairlineIsOneDevicePixelWhateverTheTransform)
{
    const QImage image = Render(100, 100, [](QPainter& p) {
        TSkCanvas canvas(p);
        canvas.Scale(4, 4);
        canvas.DrawLine(2, 10.1, 22, 10.1, Stroke(0));
    });
    EXPECT_EQ(InkBounds(image).height(), 1);
    EXPECT_GE(InkBounds(image).width(), 79);
}

TEST(PaintLayers, DashesAreAbsoluteLengthsFromTheirPhase)
{
    const auto dashed = [](std::vector<double> intervals, double phase, double width) {
        return Render(200, 20, [&](QPainter& p) {
            TSkPaint paint = Stroke(width);
            paint.SetPathEffect(TSkPathEffect::MakeDash(std::move(intervals), phase));
            TSkCanvas(p).DrawLine(0, 10, 200, 10, paint);
        });
    };
    // Lengths do not depend on the stroke width, unlike a Qt dash pattern.
    for (double width : { 0.5, 1.0, 4.0 }) {
        const auto runs = zor::test::RowRuns(dashed({ 10, 10 }, 0, width), 10);
        ASSERT_GE(runs.size(), 3u) << width;
        EXPECT_TRUE(runs[0].ink);
        EXPECT_EQ(runs[0].length, 10) << width;
        EXPECT_EQ(runs[1].length, 10) << width;
    }
    const auto shifted = zor::test::RowRuns(dashed({ 10, 10 }, 5, 2), 10);
    EXPECT_EQ(shifted[0].length, 5);
    // Patterns that cannot dash leave the line solid.
    for (const std::vector<double>& bad : { std::vector<double> { 0, 0 }, { 10 }, { 10, -5 }, {} })
        EXPECT_EQ(zor::test::InkLengths(zor::test::RowRuns(dashed(bad, 0, 2), 10)).size(), 1u);
}

TEST(PaintLayers, PrintDashesArePenWidthsWithFlatEnds)
{
    const QImage image = Render(300, 20, [](QPainter& p) {
        TGPPen pen(GPBlack, 4);
        pen.SetStartCap(TLineCap::Round);
        pen.SetDashPattern({ 3, 2 });
        TGPGraphics(p).DrawLine(pen, 0, 10, 300, 10);
    });
    const auto runs = zor::test::RowRuns(image, 10);
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].length, 12);
    EXPECT_EQ(runs[1].length, 8);
    EXPECT_EQ(TGPPen(GPBlack, 2).DeviceDashes(), std::vector<double> {});
    TGPPen dot(GPBlack, 2);
    dot.SetDashStyle(TDashStyle::DashDot);
    EXPECT_EQ(dot.DeviceDashes(), (std::vector<double> { 6, 2, 2, 2 }));
}

TEST(PaintLayers, TransformsTurnClockwiseOnThePage)
{
    const QImage paper = Render(100, 100, [](QPainter& p) {
        TGPGraphics g(p);
        g.TranslateTransform(50, 50);
        g.RotateTransform(90);
        g.DrawLine(TGPPen(GPBlack, 3), 0, 0, 40, 0);
        g.ResetTransform();
        g.DrawLine(TGPPen(GPBlack, 3), 0, 5, 10, 5);
    });
    EXPECT_GT(InkCount(paper, {}, QRect(45, 60, 10, 30)), 0);
    EXPECT_EQ(InkCount(paper, {}, QRect(60, 45, 30, 10)), 0);
    EXPECT_GT(InkCount(paper, {}, QRect(0, 0, 12, 10)), 0);
    const QImage screen = Render(100, 100, [](QPainter& p) {
        TSkCanvas c(p);
        c.Save();
        c.Translate(50, 50);
        c.Rotate(90);
        c.DrawLine(0, 0, 40, 0, Stroke(3));
        c.Restore();
    });
    EXPECT_GT(InkCount(screen, {}, QRect(45, 60, 10, 30)), 0);
}

// Text drawn in one piece lands where the measured advances of its parts put them: what is
// measured is what is drawn, at whole and fractional sizes alike.
TEST(PaintLayers, ScreenTextIsDrawnWhereItIsMeasured)
{
    for (double size : { 24.0, 33.3 }) {
        const TSkFont font(QStringLiteral("Arial"), TSkFontStyle::Normal, size);
        TSkPaint paint;
        paint.SetColor(Black);
        const QString word = QStringLiteral("HAVWij");
        const QImage whole
            = Render(400, 60, [&](QPainter& p) { TSkCanvas(p).DrawSimpleText(word, 10, 40, font, paint); });
        const QImage pieces = Render(400, 60, [&](QPainter& p) {
            double x = 10;
            for (const QChar c : word) {
                TSkCanvas(p).DrawSimpleText(QString(c), x, 40, font, paint);
                x += font.MeasureText(QString(c));
            }
        });
        EXPECT_GT(zor::test::InkIoU(whole, pieces), 0.95) << size;
        EXPECT_NEAR(font.MeasureText(word),
            10 * TSkFont(QStringLiteral("Arial"), TSkFontStyle::Normal, size / 10).MeasureText(word), 1e-9);
        EXPECT_LT(font.GetMetrics().Ascent, 0.0);
        EXPECT_GT(font.GetMetrics().Descent, 0.0);
    }
}

TEST(PaintLayers, CanvasTextFollowsHeightAlignmentAndEscapement)
{
    const QImage image = Render(300, 300, [](QPainter& p) {
        TCanvas canvas(p);
        canvas.Font.Height = -40;
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.Font.Escapement = 900; // a quarter turn counter-clockwise: the text runs upward
        canvas.TextOut(150, 250, QStringLiteral("Upward"));
    });
    const QRect ink = InkBounds(image);
    EXPECT_GT(ink.height(), 2 * ink.width());
    EXPECT_LE(ink.bottom(), 252);
    EXPECT_GE(ink.left(), 148); // the cell lies to the right of a left-top point turned upward

    QPainter idle;
    TCanvas measure(idle);
    measure.Font.Height = -100;
    const int wide = measure.TextWidth(QStringLiteral("Hello world"));
    measure.Font.Height = -10;
    EXPECT_NEAR(measure.TextWidth(QStringLiteral("Hello world")), wide / 10.0, 1.0);
    // A positive height is the cell: ascent plus descent.
    measure.Font.Height = 50;
    EXPECT_NEAR(measure.Ascent() + measure.Descent(), 50, 1);
}

TEST(PaintLayers, ASolidBrushFillsTheTextCell)
{
    const auto draw = [](TBrushStyle style) {
        return Render(200, 60, [&](QPainter& p) {
            TCanvas canvas(p);
            canvas.Font.Height = -30;
            canvas.Brush.Color = TColor { 0x000000FF };
            canvas.Brush.Style = style;
            canvas.SetTextAlign(TA_LEFT | TA_TOP);
            canvas.TextOut(10, 10, QStringLiteral("ab"));
        });
    };
    EXPECT_TRUE(ColourNear(draw(TBrushStyle::Solid), { 11, 11 }, Qt::red));
    EXPECT_TRUE(ColourNear(draw(TBrushStyle::Clear), { 11, 11 }, Qt::white));
}

} // namespace
