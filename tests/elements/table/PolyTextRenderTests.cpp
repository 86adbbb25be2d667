// Poly texts on screen and on paper: the joined codes read back at every angle, and text runs
// follow each other in the direction the element turns.

#include "drawing/Zor.Vcl.Types.h"
#include "elements/RenderHarness.h"
#include "elements/composite/Zor.Vcl.Poly.h"
#include "kit/Barcodes.h"
#include "kit/Pixels.h"

#include <QPointF>

#include <gtest/gtest.h>

#include <cmath>

using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr int ScreenDpi = 254;
constexpr int PrintDpi = 300;
constexpr TAlphaColor Red { 0xFFFF0000 };
constexpr TAlphaColor Blue { 0xFF0000FF };

int Dpi(TTarget target)
{
    return target == TTarget::Print ? PrintDpi : ScreenDpi;
}

TZORDataPoly Item(const QString& text, TAlphaColor colour = TAlphaColor { 0xFF000000 })
{
    TZORDataPoly item;
    item.Text = text;
    item.FontName = QStringLiteral("DejaVu Sans");
    item.FontHeight = 4.0f;
    item.FontColor = colour;
    return item;
}

// A poly text centred at (18, 18) mm, so that it stays on the page at every angle.
TZORPolyText& Centred(TScene& scene, TZORPolyOutput output)
{
    auto& poly = scene.Add<TZORPolyText>();
    poly.AssignPoints(std::vector<TZORPto> { scene.Pt(18, 18) });
    poly.SetHorzAlign(TZORHorzAlign::Center);
    poly.SetVertAlign(TZORVertAlign::Center);
    poly.SetOutput(output);
    poly.SetPenWidth(0.0f); // an outline touching a symbol would leave it no quiet zone
    return poly;
}

// The centre of the pixels close to a colour.
QPointF Centroid(const QImage& image, QRgb colour)
{
    double x = 0, y = 0;
    int n = 0;
    for (int j = 0; j < image.height(); ++j)
        for (int i = 0; i < image.width(); ++i) {
            const QRgb p = image.pixel(i, j);
            if (std::abs(qRed(p) - qRed(colour)) < 60 && std::abs(qGreen(p) - qGreen(colour)) < 60
                && std::abs(qBlue(p) - qBlue(colour)) < 60) {
                x += i;
                y += j;
                ++n;
            }
        }
    return n == 0 ? QPointF(-1, -1) : QPointF(x / n, y / n);
}

} // namespace

TEST(PolyTextRender, JoinedCodesReadBackOnScreenAndPaperAtEveryAngle)
{
    const struct {
        TZORPolyOutput output;
        const char* format;
    } kinds[] = {
        { TZORPolyOutput::Barcode, "Code128" },
        { TZORPolyOutput::QRCode, "QRCode" },
        { TZORPolyOutput::DataMatrix, "DataMatrix" },
    };
    for (const auto& kind : kinds)
        for (int a = 0; a < 4; ++a)
            for (const TTarget target : BothTargets) {
                SCOPED_TRACE(testing::Message() << kind.format << " angle " << a << " " << Name(target));
                TScene scene;
                TZORPolyText& poly = Centred(scene, kind.output);
                poly.SetBarWidth(kind.output == TZORPolyOutput::Barcode ? 0.254f : 0.5f);
                poly.SetBarHeight(kind.output == TZORPolyOutput::Barcode ? 10.0f : 0.5f);
                poly.SetShowNumber(false);
                poly.AddItem(Item(QStringLiteral("QDL-")));
                poly.AddItem(Item(QStringLiteral("42")));
                poly.SetAngle(TZORAngle(a));
                poly.CalcValues(0);
                const QImage image = scene.Render(target, Dpi(target));
                SaveOnFailure keep(image, QString::fromLatin1(kind.format));
                const QRect ink = InkBounds(image);
                ASSERT_FALSE(ink.isNull());
                const auto read = DecodeOne(image, { ZXing::BarcodeFormat::Any, ink, 40, true });
                ASSERT_TRUE(read);
                EXPECT_EQ(read->format, kind.format);
                EXPECT_EQ(read->text, "QDL-42");
            }
}

// A joined linear code draws its digits in the element's font at that font's size: the first
// item's font, whatever its proportions, does not change them.
TEST(PolyTextRender, TheDigitsKeepTheirSizeWhateverTheFirstItemsFont)
{
    const QString fonts[] = { QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Math TeX Gyre") };
    double ratios[2] = {};
    for (int i = 0; i < 2; ++i) {
        int ascent = 0, descent = 0, third = 0, height = 0;
        TZORCalc::FontSettings(fonts[i], 4000, false, false, ascent, descent, third, height, ratios[i]);
    }
    ASSERT_GT(std::abs(ratios[0] - ratios[1]), 0.03) << "fonts of different proportions";
    for (const TTarget target : BothTargets) {
        SCOPED_TRACE(Name(target));
        QRect ink[2];
        for (int i = 0; i < 2; ++i) {
            TScene scene;
            TZORPolyText& poly = Centred(scene, TZORPolyOutput::Barcode);
            poly.SetBarWidth(0.254f);
            poly.SetBarHeight(10.0f);
            poly.SetShowNumber(true);
            TZORDataPoly item = Item(QStringLiteral("QDL-42"));
            item.FontName = fonts[i];
            poly.AddItem(item);
            poly.CalcValues(0);
            ink[i] = InkBounds(scene.Render(target, Dpi(target)));
        }
        ASSERT_FALSE(ink[0].isNull());
        EXPECT_NEAR(ink[1].height(), ink[0].height(), 1);
    }
}

// A bound item prints its record in the joined code; the screen keeps the own text.
TEST(PolyTextRender, APrintedCodeJoinsTheRecord)
{
    TScene scene;
    scene.Label().Records = { QStringLiteral("L-7") };
    TZORPolyText& poly = Centred(scene, TZORPolyOutput::QRCode);
    poly.SetBarWidth(0.5f);
    poly.SetBarHeight(0.5f);
    poly.AddItem(Item(QStringLiteral("Lot ")));
    TZORDataPoly lot = Item(QStringLiteral("own"));
    lot.FillType = 1;
    lot.FillName = QStringLiteral("lot");
    poly.AddItem(lot);
    poly.CalcValues(0);
    const QImage paper = scene.Render(TTarget::Print, PrintDpi);
    const auto printed = DecodeOne(paper, { ZXing::BarcodeFormat::Any, InkBounds(paper), 40, true });
    ASSERT_TRUE(printed);
    EXPECT_EQ(printed->text, "Lot L-7");
    const QImage screen = scene.Render(TTarget::Export, ScreenDpi);
    const auto shown = DecodeOne(screen, { ZXing::BarcodeFormat::Any, InkBounds(screen), 40, true });
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, "Lot own");
}

// An invalid linear code shows its red cross and prints nothing, not even its frame; an output
// beyond the four shows the frame alone on both targets.
TEST(PolyTextRender, InvalidCodesAndUnknownOutputs)
{
    TScene scene;
    TZORPolyText& poly = Centred(scene, TZORPolyOutput::Barcode);
    poly.SetCodeType(TZORBarType::EAN13);
    poly.SetFilled(true);
    poly.SetBackColor(Blue);
    poly.AddItem(Item(QStringLiteral("12AB")));
    poly.CalcValues(0);
    const QImage screen = scene.Render(TTarget::Export, ScreenDpi);
    EXPECT_GT(InkCount(screen), 0);
    EXPECT_EQ(Centroid(screen, qRgb(0, 0, 255)), QPointF(-1, -1));
    EXPECT_EQ(InkCount(scene.Render(TTarget::Print, PrintDpi)), 0);

    poly.SetOutput(TZORPolyOutput(4));
    poly.SetPaddingX(3.0f);
    poly.SetPaddingY(3.0f);
    poly.CalcValues(0);
    for (const TTarget target : BothTargets) {
        const QImage image = scene.Render(target, Dpi(target));
        const QRect ink = InkBounds(image);
        // The frame of the paddings alone, 6 mm square, in the back colour: no text runs.
        EXPECT_NEAR(ink.width(), Pixels(Dpi(target), 6.0), 2.0) << Name(target);
        EXPECT_EQ(Centroid(image, qRgb(0, 0, 0)), QPointF(-1, -1)) << Name(target);
    }
}

// The second run follows the first along the turned line: right, up, left, down.
TEST(PolyTextRender, TextRunsFollowEachOtherAtEveryAngle)
{
    for (int a = 0; a < 4; ++a)
        for (const TTarget target : BothTargets) {
            SCOPED_TRACE(testing::Message() << "angle " << a << " " << Name(target));
            TScene scene;
            TZORPolyText& poly = Centred(scene, TZORPolyOutput::Text);
            poly.AddItem(Item(QStringLiteral("MMM"), Red));
            poly.AddItem(Item(QStringLiteral("WWW"), Blue));
            poly.SetAngle(TZORAngle(a));
            poly.CalcValues(0);
            const QImage image = scene.Render(target, Dpi(target));
            SaveOnFailure keep(image, QStringLiteral("runs"));
            const QPointF red = Centroid(image, qRgb(255, 0, 0)), blue = Centroid(image, qRgb(0, 0, 255));
            ASSERT_GE(red.x(), 0);
            ASSERT_GE(blue.x(), 0);
            const QPointF d = blue - red;
            const QPointF expected[] = { { 1, 0 }, { 0, -1 }, { -1, 0 }, { 0, 1 } };
            const double along = d.x() * expected[a].x() + d.y() * expected[a].y();
            const double across = std::abs(d.x() * expected[a].y() - d.y() * expected[a].x());
            EXPECT_GT(along, Pixels(Dpi(target), 5.0));
            EXPECT_LT(across, Pixels(Dpi(target), 1.0));
        }
}

// An item's identifier leads its text in the code, in parentheses when asked, on screen and on
// paper alike; a bound item's value takes it too.
TEST(PolyTextRender, TheIdentifierLeadsTheItemInTheCode)
{
    const struct {
        bool parentheses;
        const char* screen;
        const char* paper;
    } cases[] = { { true, "(01)own(10)A1", "(01)L-7(10)A1" }, { false, "01own10A1", "01L-710A1" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        TScene scene;
        scene.Label().Records = { QStringLiteral("L-7") };
        TZORPolyText& poly = Centred(scene, TZORPolyOutput::QRCode);
        poly.SetBarWidth(0.5f);
        poly.SetBarHeight(0.5f);
        TZORDataPoly bound = Item(QStringLiteral("own"));
        bound.FillType = 1;
        bound.FillName = QStringLiteral("lot");
        bound.IA = QStringLiteral("01");
        bound.AddPar = c.parentheses;
        poly.AddItem(bound);
        TZORDataPoly fixed = Item(QStringLiteral("A1"));
        fixed.IA = QStringLiteral("10");
        fixed.AddPar = c.parentheses;
        poly.AddItem(fixed);
        poly.CalcValues(0);
        const QImage paper = scene.Render(TTarget::Print, PrintDpi);
        const auto printed = DecodeOne(paper, { ZXing::BarcodeFormat::Any, InkBounds(paper), 40, true });
        ASSERT_TRUE(printed);
        EXPECT_EQ(printed->text, c.paper);
        const QImage screen = scene.Render(TTarget::Export, ScreenDpi);
        const auto shown = DecodeOne(screen, { ZXing::BarcodeFormat::Any, InkBounds(screen), 40, true });
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->text, c.screen);
    }
}

// A run with a back colour lies on it across the height of the runs, and a run without shows
// none: the colour's pixels are under the first run only, on both targets.
TEST(PolyTextRender, ARunWithABackColourLiesOnIt)
{
    constexpr TAlphaColor Green { 0xFF00FF00 };
    for (const TTarget target : BothTargets) {
        SCOPED_TRACE(Name(target));
        TScene scene;
        TZORPolyText& poly = Centred(scene, TZORPolyOutput::Text);
        TZORDataPoly first = Item(QStringLiteral("MMM"), Red);
        first.BackColor = Green;
        first.FillBack = true;
        poly.AddItem(first);
        TZORDataPoly second = Item(QStringLiteral("WWW"), Blue);
        second.BackColor = Green;
        poly.AddItem(second);
        poly.CalcValues(0);
        const QImage image = scene.Render(target, Dpi(target));
        const QPointF green = Centroid(image, qRgb(0, 255, 0));
        const QPointF red = Centroid(image, qRgb(255, 0, 0));
        const QPointF blue = Centroid(image, qRgb(0, 0, 255));
        ASSERT_NE(green, QPointF(-1, -1));
        EXPECT_NEAR(green.x(), red.x(), Pixels(Dpi(target), 1.0));
        EXPECT_LT(green.x(), blue.x() - Pixels(Dpi(target), 3.0));
    }
}
