#include "drawing/Zor.Vcl.Shared.Screen.h"
#include "drawing/Zor.Vcl.Shared.Terms.h"
#include "drawing/Zor.Vcl.Types.h"
#include "kit/Pixels.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using zor::AdjustLineType;
using zor::AlphaColorToGPColor;
using zor::DrawData;
using zor::DrawTermType;
using zor::Ord;
using zor::PrintTermType;
using zor::TAlphaColor;
using zor::TCanvas;
using zor::TDashStyle;
using zor::TGPGraphics;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TPenAlignment;
using zor::TSkCanvas;
using zor::TSkPaintStyle;
using zor::TSkPathEffect;
using zor::TSmoothingMode;

namespace {

using zor::test::ColourNear;
using zor::test::InkBounds;
using zor::test::InkCount;

constexpr TAlphaColor LineColour { 0xFF0000FF };
constexpr TAlphaColor FillColour { 0xFFFF0000 };
constexpr QPoint Tip(60, 60);
constexpr int Half = 24;
constexpr float PenWidth = 3.0f;
constexpr int16_t Opening = 8;

enum class TTarget { Screen, Print };

const char* Name(TTarget target)
{
    return target == TTarget::Screen ? "screen" : "print";
}

// Where the line comes from: a point, or a direction (with a second value the symbol must
// not read).
struct TEnd {
    TZORTermType Kind = TZORTermType::None;
    QPointF From = QPointF(Tip) - QPointF(100, 0);
    bool ByAngle = false;
    double Angle = 0.0;
    double Unread = 0.0;
};

QImage Blank(int size, int dpi)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    return image;
}

// Both targets get the same device geometry: the symbol's sizes are device pixels on either.
QImage ScreenEnd(const TEnd& end)
{
    QImage image = Blank(120, 96);
    QPainter painter(&image);
    TZORDraw D;
    D.SetupEditor(std::make_shared<TSkCanvas>(painter), 96, 1.0f, 1, false, false);
    D.kP->SetAntiAlias(false);
    D.kP->SetStrokeWidth(PenWidth);
    const QPointF dir = end.ByAngle ? QPointF(end.Angle, end.Unread) : end.From;
    DrawTermType(D, end.Kind, LineColour, FillColour, Half, Tip.x(), Tip.y(), static_cast<float>(dir.x()),
        static_cast<float>(dir.y()), Opening, end.ByAngle);
    return image;
}

// A printer context on an image, the pen in the line colour and the brush in the fill colour,
// unsmoothed so that probes see whole pixels.
struct TPrinter {
    explicit TPrinter(QImage& image)
        : painter(&image)
        , canvas(painter)
        , g(painter)
    {
        D.SetupPrint(
            &canvas, &g, &pen, &brush, 300, 300, image.width(), image.height(), 1, TZORUnits::Millimetre);
        g.SetSmoothingMode(TSmoothingMode::None);
    }

    QPainter painter;
    TCanvas canvas;
    TGPGraphics g;
    TGPPen pen { AlphaColorToGPColor(LineColour) };
    TGPSolidBrush brush { AlphaColorToGPColor(FillColour) };
    TZORDraw D;
};

QImage PrintedEnd(const TEnd& end)
{
    QImage image = Blank(120, 300);
    TPrinter printer(image);
    printer.pen.SetWidth(PenWidth);
    const QPointF from = end.ByAngle ? QPointF(end.Angle, end.Unread) : end.From;
    PrintTermType(printer.D, end.Kind, QPointF(Tip), from, Half, Opening, end.ByAngle);
    printer.painter.end();
    return image;
}

QImage Render(TTarget target, const TEnd& end)
{
    return target == TTarget::Screen ? ScreenEnd(end) : PrintedEnd(end);
}

enum class TExpect { Paper, Line, Fill };

QColor Colour(TExpect e)
{
    switch (e) {
    case TExpect::Line:
        return zor::ToQColor(LineColour);
    case TExpect::Fill:
        return zor::ToQColor(FillColour);
    case TExpect::Paper:
        break;
    }
    return Qt::white;
}

struct TProbe {
    QPoint Offset; // from the tip
    TExpect Expect;
};

// Inside a filled symbol lies the fill colour, inside an open one the paper; the outline is in
// the line colour on either path (probed on the pixel just inside the box, which a centred and an
// inset stroke both cover). Arrows come from the left; the other symbols sit at the end of a
// vertical line, which must not turn them.
TEST(LineEnds, EveryKindPaintsItsFillOutlineAndInsideOnBothPaths)
{
    const QPointF above = QPointF(Tip) - QPointF(0, 100);
    const QPointF slanted = QPointF(Tip) - QPointF(70, 30);
    const QPointF left = QPointF(Tip) - QPointF(100, 0);
    const int in = Half - 1, q = Half / 2;
    // The head of 48 pixels spreads 22.5 degrees to each side: its middle lies 30 pixels back,
    // the middle of its upper flank at (-22, -9).
    const struct {
        TZORTermType kind;
        QPointF from;
        std::vector<TProbe> probes;
    } table[] = {
        { TZORTermType::Circle, above,
            { { { 0, 0 }, TExpect::Paper }, { { in, 0 }, TExpect::Line }, { { 0, -Half }, TExpect::Line } } },
        { TZORTermType::FilledCircle, above,
            { { { 0, 0 }, TExpect::Fill }, { { in, 0 }, TExpect::Line }, { { -Half, 0 }, TExpect::Line } } },
        { TZORTermType::OpenArrow, left,
            { { { -30, 0 }, TExpect::Paper }, { { -22, -9 }, TExpect::Line }, { { -22, 9 }, TExpect::Line },
                { { -2, 0 }, TExpect::Line }, { { 8, 0 }, TExpect::Paper } } },
        { TZORTermType::FilledArrow, left,
            { { { -30, 0 }, TExpect::Fill }, { { -22, -9 }, TExpect::Line }, { { -22, 9 }, TExpect::Line },
                { { 8, 0 }, TExpect::Paper } } },
        { TZORTermType::Square, above,
            { { { 0, 0 }, TExpect::Paper }, { { in, 0 }, TExpect::Line }, { { -Half, -Half }, TExpect::Line },
                { { in, in }, TExpect::Line } } },
        { TZORTermType::FilledSquare, above,
            { { { 0, 0 }, TExpect::Fill }, { { in, 0 }, TExpect::Line }, { { 0, -Half }, TExpect::Line },
                { { q, q }, TExpect::Fill } } },
        { TZORTermType::Diamond, above,
            { { { 0, 0 }, TExpect::Paper }, { { q, -q }, TExpect::Line }, { { -q, q }, TExpect::Line },
                { { in, in }, TExpect::Paper } } },
        { TZORTermType::FilledDiamond, above,
            { { { 0, 0 }, TExpect::Fill }, { { q, -q }, TExpect::Line }, { { -q, q }, TExpect::Line },
                { { in, in }, TExpect::Paper } } },
        { TZORTermType::FallingTick, above,
            { { { -q, -q }, TExpect::Line }, { { q, q }, TExpect::Line }, { { q, -q }, TExpect::Paper },
                { { -q, q }, TExpect::Paper } } },
        { TZORTermType::FallingTick, slanted,
            { { { -q, -q }, TExpect::Line }, { { q, -q }, TExpect::Paper } } },
        { TZORTermType::RisingTick, above,
            { { { q, -q }, TExpect::Line }, { { -q, q }, TExpect::Line }, { { -q, -q }, TExpect::Paper },
                { { q, q }, TExpect::Paper } } },
        { TZORTermType::RisingTick, slanted,
            { { { q, -q }, TExpect::Line }, { { -q, -q }, TExpect::Paper } } },
        { TZORTermType::Cross, above,
            { { { -q, -q }, TExpect::Line }, { { q, -q }, TExpect::Line }, { { q, q }, TExpect::Line },
                { { -q, q }, TExpect::Line }, { { 0, -q }, TExpect::Paper }, { { q, 0 }, TExpect::Paper } } },
    };
    for (TTarget target : { TTarget::Screen, TTarget::Print }) {
        for (const auto& row : table) {
            SCOPED_TRACE(::testing::Message() << Name(target) << ", kind " << int(zor::Ord(row.kind)));
            const QImage image = Render(target, { row.kind, row.from });
            zor::test::SaveOnFailure keep(
                image, QStringLiteral("%1-%2").arg(Name(target)).arg(zor::Ord(row.kind)));
            for (const TProbe& probe : row.probes)
                EXPECT_TRUE(ColourNear(image, Tip + probe.Offset, Colour(probe.Expect), 8));
        }
    }
}

TEST(LineEnds, NoneAndKindsBeyondTheTableDrawNothing)
{
    for (TTarget target : { TTarget::Screen, TTarget::Print })
        for (uint8_t kind : { 0, 12, 13, 255 })
            EXPECT_EQ(InkCount(Render(target, { TZORTermType { kind } })), 0)
                << Name(target) << ' ' << int(kind);
}

// The head lies on the side of the line it ends, whichever way the line runs; by angle the
// second direction value is not read.
TEST(LineEnds, ArrowHeadsPointAtTheTipFromTheLinesSide)
{
    const double pi = std::numbers::pi;
    const double d = std::numbers::sqrt2 / 2;
    const struct {
        const char* name;
        TEnd end;
        QPointF toward; // unit direction from the tip toward the line
    } table[] = {
        { "from the left", { .From = QPointF(Tip) - QPointF(100, 0) }, { -1, 0 } },
        { "from the right", { .From = QPointF(Tip) + QPointF(100, 0) }, { 1, 0 } },
        { "from above", { .From = QPointF(Tip) - QPointF(0, 100) }, { 0, -1 } },
        { "from below right", { .From = QPointF(Tip) + QPointF(50, 50) }, { d, d } },
        { "running right", { .ByAngle = true, .Angle = 0.0 }, { -1, 0 } },
        { "running down", { .ByAngle = true, .Angle = pi / 2, .Unread = 999.0 }, { 0, -1 } },
        { "running up-left", { .ByAngle = true, .Angle = -3 * pi / 4, .Unread = -5.0 }, { d, d } },
    };
    for (TTarget target : { TTarget::Screen, TTarget::Print }) {
        for (TZORTermType kind : { TZORTermType::OpenArrow, TZORTermType::FilledArrow }) {
            for (const auto& row : table) {
                SCOPED_TRACE(::testing::Message()
                    << Name(target) << ", kind " << int(zor::Ord(kind)) << ", " << row.name);
                TEnd end = row.end;
                end.Kind = kind;
                const QImage image = Render(target, end);
                const QRectF ink = InkBounds(image);
                ASSERT_FALSE(ink.isNull());
                const QPointF centre = ink.center() - QPointF(Tip);
                const double along = QPointF::dotProduct(centre, row.toward);
                EXPECT_GT(along, 20.0); // the middle of a 48-pixel head lies some 28 pixels back
                EXPECT_LT(std::abs(centre.x() * row.toward.y() - centre.y() * row.toward.x()), 2.0);
                // Nothing beyond the tip: every ink pixel lies on the line's side of it.
                // A mitred stroke reaches (width / 2) / sin(22.5°), some 4 pixels, past the tip.
                const QRect ahead = image.rect();
                int beyond = 0;
                for (int y = ahead.top(); y <= ahead.bottom(); ++y)
                    for (int x = ahead.left(); x <= ahead.right(); ++x)
                        if (image.pixelColor(x, y) != Qt::white
                            && QPointF::dotProduct(QPointF(x + 0.5, y + 0.5) - QPointF(Tip), row.toward)
                                < -4.5)
                            ++beyond;
                EXPECT_EQ(beyond, 0);
            }
            TEnd a { kind, {}, true, 1.0, 0.0 }, b { kind, {}, true, 1.0, 77.0 };
            EXPECT_EQ(Render(target, a), Render(target, b)) << Name(target);
        }
    }
}

// The screen head is twice the half-size rounded with halves to even: 4.5 gives 4 and 5.5
// gives 6. Drawn twenty times larger, the head's depth (length × cos 22.5°) tells them apart.
TEST(LineEnds, ScreenHeadLengthRoundsTwiceTheHalfSizeToEven)
{
    const struct {
        float half;
        double length;
    } table[] = { { 2.25f, 4.0 }, { 2.75f, 6.0 }, { 3.0f, 6.0 } };
    for (const auto& row : table) {
        QImage image = Blank(200, 96);
        QPainter painter(&image);
        TZORDraw D;
        D.SetupEditor(std::make_shared<TSkCanvas>(painter), 96, 1.0f, 1, false, false);
        D.kP->SetAntiAlias(false);
        D.kP->SetStrokeWidth(0.0);
        D.kC->Scale(20, 20);
        DrawTermType(
            D, TZORTermType::FilledArrow, FillColour, FillColour, row.half, 9, 5, 0, 5, Opening, false);
        painter.end();
        const QRect ink = InkBounds(image);
        EXPECT_NEAR(ink.width(), row.length * std::cos(std::numbers::pi / 8) * 20, 2.0) << row.half;
    }
}

TEST(LineEnds, ScreenSymbolsAreSolidAndLeaveThePaintStrokingInTheLineColour)
{
    QImage image = Blank(120, 96);
    QPainter painter(&image);
    TZORDraw D;
    D.SetupEditor(std::make_shared<TSkCanvas>(painter), 96, 1.0f, 1, false, false);
    D.kP->SetAntiAlias(false);
    D.kP->SetStrokeWidth(PenWidth);
    AdjustLineType(D, TZORineType::Dash1_1, TZORItemState::Normal);
    DrawTermType(D, TZORTermType::Square, LineColour, FillColour, Half, 60, 60, 0, 0, Opening, false);
    // A dashed square would leave gaps along its edges.
    const auto runs = zor::test::ColumnRuns(image, 60 - Half, {});
    EXPECT_EQ(zor::test::InkLengths(runs).size(), 1u);
    EXPECT_EQ(D.kP->GetStrokeWidth(), PenWidth);

    for (uint8_t kind : { 0, 2, 4, 6, 8, 12 }) {
        AdjustLineType(D, TZORineType::Dash2_1, TZORItemState::Normal);
        D.kP->SetColor(TAlphaColor { 0xFF123456 });
        D.kP->SetStyle(TSkPaintStyle::Fill);
        DrawTermType(D, TZORTermType { kind }, LineColour, FillColour, Half, 60, 60, 0, 0, Opening, false);
        EXPECT_EQ(D.kP->GetPathEffect().Kind(), TSkPathEffect::TKind::None) << int(kind);
        if (kind != 0 && kind != 12) {
            EXPECT_EQ(D.kP->GetColor(), LineColour) << int(kind);
            EXPECT_EQ(D.kP->GetStyle(), TSkPaintStyle::Stroke) << int(kind);
        }
    }
}

// The printer pen is shared by the job: a line end must not leave it inset, or a rectangle
// printed after it would stroke inside its outline instead of about it.
TEST(LineEnds, PrintingLeavesThePenSolidWithTheAlignmentItHad)
{
    for (uint8_t kind : { 0, 1, 4, 6, 11, 12 }) {
        for (TPenAlignment before : { TPenAlignment::Center, TPenAlignment::Inset }) {
            SCOPED_TRACE(
                ::testing::Message() << "kind " << int(kind) << ", alignment " << int(zor::Ord(before)));
            QImage image = Blank(120, 300);
            TPrinter printer(image);
            TGPPen& pen = printer.pen;
            pen.SetWidth(6.0f);
            pen.SetAlignment(before);
            pen.SetDashPattern({ 2, 2 });
            PrintTermType(
                printer.D, TZORTermType { kind }, QPointF(100, 100), QPointF(0, 100), 10, Opening, false);
            EXPECT_EQ(pen.GetAlignment(), before);
            EXPECT_EQ(pen.GetDashStyle(), TDashStyle::Solid);

            printer.g.DrawRectangle(pen, 20, 20, 40, 40);
            printer.painter.end();
            // A centred stroke reaches 3 pixels outside the box, an inset one stays inside.
            const bool centred = before == TPenAlignment::Center;
            EXPECT_TRUE(ColourNear(image, { 18, 40 }, centred ? Colour(TExpect::Line) : Qt::white));
            EXPECT_TRUE(ColourNear(image, { 24, 40 }, centred ? Qt::white : Colour(TExpect::Line)));
        }
    }
}

TEST(LineEnds, ContextsWithoutTheirDrawingObjectsAreLeftAlone)
{
    TZORDraw D;
    DrawTermType(D, TZORTermType::Cross, LineColour, FillColour, 5, 0, 0, 0, 0, Opening, false);
    PrintTermType(D, TZORTermType::Cross, QPointF(), QPointF(), 5, Opening, false);
    DrawData(D, 0, 0);
    TGPPen pen(AlphaColorToGPColor(LineColour));
    D.aP = &pen; // a pen but no graphics: only the pen's state changes
    PrintTermType(D, TZORTermType::FilledSquare, QPointF(), QPointF(), 5, Opening, false);
    EXPECT_EQ(pen.GetAlignment(), TPenAlignment::Center);
}

// The marker is 8 × 8 canvas units whatever the resolution: grey, light green, grey.
TEST(DataMarker, ThreeBandsAroundThePointAtEveryResolution)
{
    const QColor grey(0x80, 0x80, 0x80), green(0x90, 0xEE, 0x90);
    for (int dpi : { 96, 300, 600 }) {
        SCOPED_TRACE(dpi);
        QImage image = Blank(40, dpi);
        QPainter painter(&image);
        TZORDraw D;
        D.SetupEditor(std::make_shared<TSkCanvas>(painter), dpi, 1.0f, 1, false, false);
        D.kP->SetAntiAlias(false);
        D.kP->SetStrokeWidth(2.0);
        AdjustLineType(D, TZORineType::Dash1_1, TZORItemState::Normal);
        const TSkPathEffect dash = D.kP->GetPathEffect();
        DrawData(D, 20, 20);
        painter.end();
        EXPECT_EQ(InkBounds(image), QRect(16, 16, 8, 8));
        for (int x : { 16, 20, 23 }) {
            for (int y : { 16, 17 })
                EXPECT_TRUE(ColourNear(image, { x, y }, grey)) << x << ',' << y;
            for (int y : { 18, 20, 21 })
                EXPECT_TRUE(ColourNear(image, { x, y }, green)) << x << ',' << y;
            for (int y : { 22, 23 })
                EXPECT_TRUE(ColourNear(image, { x, y }, grey)) << x << ',' << y;
        }
        EXPECT_EQ(D.kP->GetStyle(), TSkPaintStyle::Fill);
        EXPECT_EQ(D.kP->GetColor(), TAlphaColor { 0xFF90EE90 });
        EXPECT_EQ(D.kP->GetPathEffect(), dash);
        EXPECT_EQ(D.kP->GetStrokeWidth(), 2.0);
    }
}

} // namespace
