#include "drawing/Zor.Vcl.Types.h"
#include "kit/Pixels.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using zor::AdjustLineType;
using zor::AdjustPrintLineType;
using zor::AdjustPrintRoundCap;
using zor::AlphaColorToARGB;
using zor::AlphaColorToGPColor;
using zor::AlphaColorToRGB;
using zor::ColorToARGB;
using zor::GPColorToAlphaColor;
using zor::ISkCanvas;
using zor::MakeColor;
using zor::Ord;
using zor::TAlphaColor;
using zor::TCanvas;
using zor::TColor;
using zor::TDashStyle;
using zor::TGPGraphics;
using zor::TGPPen;
using zor::TGPSolidBrush;
using zor::TLineCap;
using zor::TSkCanvas;
using zor::TSkPaint;
using zor::TSkPaintStyle;
using zor::TSkPathEffect;
using zor::TSmoothingMode;

namespace {

using zor::test::GapLengths;
using zor::test::InkLengths;
using zor::test::RowRuns;

constexpr TAlphaColor Black { 0xFF000000 };

TEST(Colours, ConversionsFollowTheTable)
{
    EXPECT_EQ(ColorToARGB(TColor { 0x000000FF }), TAlphaColor { 0xFFFF0000 });
    EXPECT_EQ(ColorToARGB(TColor { 0x000000FF }, 0x80), TAlphaColor { 0x80FF0000 });
    EXPECT_EQ(ColorToARGB(TColor { 0x00FF8000 }), TAlphaColor { 0xFF0080FF });
    EXPECT_EQ(ColorToARGB(TColor { 0x00123456 }, 0), TAlphaColor { 0x00563412 });
    EXPECT_EQ(AlphaColorToRGB(TAlphaColor { 0x80FF8000 }), TColor { 0x000080FF });
    EXPECT_EQ(AlphaColorToARGB(TAlphaColor { 0x12345678 }), TAlphaColor { 0x12345678 });
    EXPECT_EQ(AlphaColorToGPColor(TAlphaColor { 0x80FF8000 }), MakeColor(0x80, 0xFF, 0x80, 0x00));
    EXPECT_EQ(GPColorToAlphaColor(MakeColor(0x01, 0x02, 0x03, 0x04)), TAlphaColor { 0x01020304 });
    for (uint32_t v : { 0x00000000u, 0xFFFFFFFFu, 0x80FF0000u, 0x0000FF00u })
        EXPECT_EQ(GPColorToAlphaColor(AlphaColorToGPColor(TAlphaColor { v })), TAlphaColor { v });
}

// A red framework colour must reach every painter as red.
TEST(Colours, RedStaysRedOnEveryPainter)
{
    QImage image(30, 10, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TSkCanvas sk(painter);
    TSkPaint paint;
    paint.SetColor(ColorToARGB(TColor { 0x000000FF }));
    sk.DrawRect(QRectF(0, 0, 10, 10), paint);
    TGPGraphics g(painter);
    g.FillRectangle(TGPSolidBrush(AlphaColorToGPColor(ColorToARGB(TColor { 0x000000FF }))), 10, 0, 10, 10);
    TCanvas canvas(painter);
    canvas.Brush.Color = TColor { 0x000000FF };
    canvas.FillRect(QRect(20, 0, 10, 10));
    painter.end();
    for (int x : { 5, 15, 25 })
        EXPECT_TRUE(zor::test::ColourNear(image, { x, 5 }, Qt::red)) << x;
}

// System colours (high byte set) come from the application palette, so a window background
// does not turn black.
TEST(Colours, SystemColoursComeFromThePalette)
{
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Active, QPalette::Base, QColor(0x12, 0x34, 0x56));
    palette.setColor(QPalette::Active, QPalette::Button, QColor(0xAB, 0xCD, 0xEF));
    QGuiApplication::setPalette(palette);
    const TAlphaColor window = ColorToARGB(TColor { 0xFF000005 });
    const TAlphaColor buttonFace = ColorToARGB(TColor { 0xFF00000F }, 0x80);
    QGuiApplication::setPalette(saved);

    EXPECT_EQ(window, TAlphaColor { 0xFF123456 });
    EXPECT_EQ(buttonFace, TAlphaColor { 0x80ABCDEF });
    const QColor base = saved.color(QPalette::Active, QPalette::Base);
    EXPECT_EQ(ColorToARGB(TColor { 0xFF000005 }), TAlphaColor { base.rgba() });
    EXPECT_NE(ColorToARGB(TColor { 0xFF000005 }), TAlphaColor { 0xFF050000 });
}

// True when the runs follow the pattern (cyclically, from some offset) within a pixel.
::testing::AssertionResult FollowsPattern(const std::vector<int>& runs, const std::vector<double>& pattern)
{
    if (runs.size() < pattern.size())
        return ::testing::AssertionFailure() << "only " << runs.size() << " runs";
    for (size_t offset = 0; offset < pattern.size(); ++offset) {
        bool all = true;
        for (size_t i = 0; i < runs.size() && all; ++i)
            all = std::abs(runs[i] - pattern[(i + offset) % pattern.size()]) <= 1.0;
        if (all)
            return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure() << "runs";
    for (int r : runs)
        failure << ' ' << r;
    failure << " do not follow";
    for (double p : pattern)
        failure << ' ' << p;
    return failure;
}

struct TDashRuns {
    std::vector<int> Dashes; // without the first and the last, which the phase and the end cut
    std::vector<int> Gaps;
};

TDashRuns MeasureRow(const QImage& image, int y)
{
    const auto runs = RowRuns(image, y);
    std::vector<int> dashes = InkLengths(runs);
    if (dashes.size() >= 2)
        dashes = std::vector<int>(dashes.begin() + 1, dashes.end() - 1);
    return { dashes, GapLengths(runs) };
}

// The dash and gap lengths of every dashed line type, in millimetres.
struct TDashCase {
    TZORineType Type;
    std::vector<double> Dashes, Gaps;
};

const TDashCase DashCases[] = {
    { TZORineType::Dot, { 0.5 }, { 0.5 } },
    { TZORineType::Dash1_1, { 1 }, { 1 } },
    { TZORineType::Dash2_1, { 2 }, { 1 } },
    { TZORineType::Dash1_2, { 1 }, { 2 } },
    { TZORineType::Dash2_2, { 2 }, { 2 } },
    { TZORineType::Dash3_1, { 3 }, { 1 } },
    { TZORineType::Dash3_3, { 3 }, { 3 } },
    { TZORineType::Dash4_1, { 4 }, { 1 } },
    { TZORineType::Dash4_2, { 4 }, { 2 } },
    { TZORineType::Dash4_4, { 4 }, { 4 } },
    { TZORineType::DashDot, { 4, 1 }, { 1, 1 } },
};

// Millimetres in device pixels at a resolution.
std::vector<double> AtDpi(const std::vector<double>& mm, double dpi)
{
    std::vector<double> pixels;
    for (double v : mm)
        pixels.push_back(v * dpi / 25.4);
    return pixels;
}

QImage Blank(int w, int h, int dpi)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    return image;
}

// The editor's stroke: paint colour, width, line type, one line.
QImage ScreenLine(TZORineType type, TZORItemState state, TZORDrawState target)
{
    QImage image = Blank(900, 40, 96);
    QPainter painter(&image);
    TZORDraw D;
    const ISkCanvas canvas = std::make_shared<TSkCanvas>(painter);
    if (target == TZORDrawState::Export)
        D.SetupExport(nullptr, canvas, 96, 1.0f, 1, false);
    else
        D.SetupEditor(canvas, 96, 1.0f, 1, false, false);
    D.kP->SetColor(Black);
    D.kP->SetStrokeWidth(2.0);
    D.kP->SetAntiAlias(false);
    AdjustLineType(D, type, state);
    D.kC->DrawLine(5, 20, 895, 20, *D.kP);
    return image;
}

// The printer's stroke: line type, pen colour, pen width, one line.
QImage PrintedLine(TZORineType type)
{
    QImage image = Blank(2400, 40, 300);
    QPainter painter(&image);
    TCanvas canvas(painter);
    TGPGraphics g(painter);
    TGPPen pen(MakeColor(255, 255, 255, 255));
    TGPSolidBrush brush(MakeColor(255, 255, 255, 255));
    TZORDraw D;
    D.SetupPrint(
        &canvas, &g, &pen, &brush, 300, 300, image.width(), image.height(), 1, TZORUnits::Millimetre);
    g.SetSmoothingMode(TSmoothingMode::None);
    const float penWidth = 0.25f;
    AdjustPrintLineType(D, penWidth, type);
    pen.SetColor(AlphaColorToGPColor(Black));
    pen.SetWidth(static_cast<float>(D.DrawBasePtoX(penWidth)));
    g.DrawLine(pen, 10, 20, 2390, 20);
    return image;
}

TEST(LineTypes, EveryDashTypeHasTheSameLengthsOnScreenAndOnPaper)
{
    for (const TDashCase& c : DashCases) {
        const int t = zor::Ord(c.Type);
        SCOPED_TRACE(t);

        const QImage screen = ScreenLine(c.Type, TZORItemState::Normal, TZORDrawState::Editor);
        zor::test::SaveOnFailure keepScreen(screen, QStringLiteral("screen-%1").arg(t));
        const TDashRuns onScreen = MeasureRow(screen, 20);
        EXPECT_TRUE(FollowsPattern(onScreen.Dashes, AtDpi(c.Dashes, 96))) << "screen dashes";
        EXPECT_TRUE(FollowsPattern(onScreen.Gaps, AtDpi(c.Gaps, 96))) << "screen gaps";

        const QImage paper = PrintedLine(c.Type);
        zor::test::SaveOnFailure keepPaper(paper, QStringLiteral("paper-%1").arg(t));
        const TDashRuns onPaper = MeasureRow(paper, 20);
        EXPECT_TRUE(FollowsPattern(onPaper.Dashes, AtDpi(c.Dashes, 300))) << "printed dashes";
        EXPECT_TRUE(FollowsPattern(onPaper.Gaps, AtDpi(c.Gaps, 300))) << "printed gaps";
    }
}

TEST(LineTypes, SelectedAndMarkedItemsUseFixedPatternsInTheDesignViewOnly)
{
    const struct {
        TZORItemState state;
        TZORDrawState target;
        std::vector<double> dashes, gaps;
    } table[] = {
        { TZORItemState::Selected, TZORDrawState::Editor, { 12 }, { 6 } },
        { TZORItemState::Marked, TZORDrawState::Editor, { 4 }, { 2 } },
        // Elsewhere the line type (4, 4) applies whatever the item state.
        { TZORItemState::Selected, TZORDrawState::Export, { 4 * 96 / 25.4 }, { 4 * 96 / 25.4 } },
        // An item state without a pattern of its own draws its line type too.
        { TZORItemState { 3 }, TZORDrawState::Editor, { 4 * 96 / 25.4 }, { 4 * 96 / 25.4 } },
    };
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message()
            << "item state " << int(zor::Ord(row.state)) << ", target " << int(zor::Ord(row.target)));
        const TDashRuns runs = MeasureRow(ScreenLine(TZORineType::Dash4_4, row.state, row.target), 20);
        EXPECT_TRUE(FollowsPattern(runs.Dashes, row.dashes));
        EXPECT_TRUE(FollowsPattern(runs.Gaps, row.gaps));
    }
}

TEST(LineTypes, SolidAndUnknownTypesDrawOneUnbrokenLine)
{
    for (uint8_t t : { 0, 12, 255 }) {
        const auto runs
            = RowRuns(ScreenLine(TZORineType { t }, TZORItemState::Normal, TZORDrawState::Editor), 20);
        EXPECT_EQ(InkLengths(runs).size(), 1u) << int(t);
    }
}

TEST(LineTypes, AScreenDashNeverCarriesOverToTheNextElement)
{
    TZORDraw D;
    D.SetupEditor(nullptr, 96, 1.0f, 1, false, false);
    AdjustLineType(D, TZORineType::Dash2_1, TZORItemState::Selected);
    ASSERT_TRUE(D.kP->GetPathEffect().Dashes());
    AdjustLineType(D, TZORineType { 200 }, TZORItemState::Normal);
    EXPECT_FALSE(D.kP->GetPathEffect().Dashes());
    AdjustLineType(D, TZORineType::Dash2_1, TZORItemState { 3 });
    const TSkPathEffect& e = D.kP->GetPathEffect();
    ASSERT_EQ(e.Intervals().size(), 2u);
    EXPECT_FLOAT_EQ(e.Intervals()[0], D.w2);
    EXPECT_FLOAT_EQ(e.Intervals()[1], D.w1);
    EXPECT_EQ(e.Phase(), 1.0);
    EXPECT_EQ(D.kP->GetStyle(), TSkPaintStyle::Stroke);
}

TEST(LineTypes, PrintPatternsAreInPenWidthsAndNeverDivideByZero)
{
    const struct {
        float width;
        uint8_t type;
        TDashStyle style;
        std::vector<float> pattern;
    } table[] = {
        { 0.5f, 2, TDashStyle::Custom, { 2, 2 } },
        { 0.25f, 11, TDashStyle::Custom, { 16, 4, 4, 4 } },
        { 2.0f, 1, TDashStyle::Custom, { 0.25f, 0.25f } },
        { 0.5f, 0, TDashStyle::Solid, {} },
        { 0.5f, 12, TDashStyle::Solid, {} },
        { 0.0f, 2, TDashStyle::Solid, {} },
        { -1.0f, 3, TDashStyle::Solid, {} },
    };
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << row.width << " mm, type " << int(row.type));
        TGPPen pen(MakeColor(255, 0, 0, 0));
        pen.SetDashPattern({ 9, 9 }); // whatever the previous element left
        TZORDraw D;
        D.aP = &pen;
        AdjustPrintLineType(D, row.width, TZORineType { row.type });
        EXPECT_EQ(pen.GetDashStyle(), row.style);
        if (row.style == TDashStyle::Custom) {
            EXPECT_EQ(pen.GetDashPattern(), row.pattern);
        }
    }
}

TEST(LineTypes, RoundCapsFollowTheSymbolConfiguration)
{
    TGPPen pen(MakeColor(255, 0, 0, 0));
    TZORDraw D;
    D.aP = &pen;
    D.aConf.RoundCap = true;
    AdjustPrintRoundCap(D);
    EXPECT_EQ(pen.GetStartCap(), TLineCap::Round);
    EXPECT_EQ(pen.GetEndCap(), TLineCap::Round);
    D.aConf.RoundCap = false;
    AdjustPrintRoundCap(D);
    EXPECT_EQ(pen.GetStartCap(), TLineCap::Flat);
    EXPECT_EQ(pen.GetEndCap(), TLineCap::Flat);
}

TEST(LineTypes, ContextsWithoutTheirDrawingObjectsAreLeftAlone)
{
    TZORDraw D;
    AdjustLineType(D, TZORineType::Dash1_1, TZORItemState::Normal);
    AdjustPrintLineType(D, 0.5f, TZORineType::Dash1_1);
    AdjustPrintRoundCap(D);
    EXPECT_FALSE(D.kP);
}

} // namespace
