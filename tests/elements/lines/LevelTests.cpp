// Level gauges: vessels and rings on screen and on paper, their captions, and gauges bound to data.

#include "elements/Kinds.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using zor::Ord;
using zor::TAlphaColor;
using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr TAlphaColor White { 0xFFFFFFFF };

// A gauge on the circle about (20, 20) of radius 10 mm: a blue outline or ring 0.6 mm wide, a
// green disc, a red level.
TZORLevel& Gauge(TScene& scene, TZORLevelType type, float value, float max = 100.0f)
{
    TZORLevel& level = scene.Add<TZORLevel>();
    level.AssignPoints(std::vector { scene.Pt(10, 10), scene.Pt(30, 30) });
    level.SetLevelType(type);
    level.SetValue(value);
    level.SetMaxValue(max);
    level.SetColor(Blue);
    level.SetPenWidth(0.6f);
    level.SetFilled(true);
    level.SetBackColor(Green);
    level.SetLevelColor(Red);
    level.SetFontHeight(3.0f);
    return level;
}

// The point of the gauge's circle at `degrees` (clockwise from the right), paper millimetres.
QPointF OnCircle(double degrees, double radius = 10.0)
{
    const double a = zor::DegToRad(degrees);
    return { 20 + radius * std::cos(a), 20 + radius * std::sin(a) };
}

::testing::AssertionResult Near(const QImage& image, QPointF mm, TAlphaColor colour)
{
    return ColourNear(image, Pixel(Dpi, mm.x(), mm.y()), zor::ToQColor(colour), 40);
}

// A vessel fills from its chord: from the bottom or from the left, half of it at half the
// maximum; full only at the maximum itself; above it as empty as at 0.
TEST(Level, VesselsFillUpToTheirValue)
{
    const struct {
        TZORLevelType Type;
        float Value;
        QPointF Level; // shows the level colour
        QPointF Disc; // shows the disc's colour
    } cases[] = {
        { TZORLevelType::SegmentBottom, 50, { 20, 25 }, { 20, 15 } },
        { TZORLevelType::SegmentBottom, 25, { 20, 27 }, { 20, 22 } },
        { TZORLevelType::SegmentLeft, 50, { 15, 20 }, { 25, 20 } },
        { TZORLevelType::SegmentBottom, 100, { 20, 15 }, {} },
        { TZORLevelType::SegmentBottom, 150, {}, { 20, 25 } },
        { TZORLevelType::SegmentBottom, 0, {}, { 20, 25 } },
    };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                Gauge(scene, c.Type, c.Value);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << "type " << int(zor::Ord(c.Type)) << " value " << c.Value
                                                << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                if (!c.Level.isNull()) {
                    EXPECT_TRUE(Near(image, c.Level, Red));
                }
                if (!c.Disc.isNull()) {
                    EXPECT_TRUE(Near(image, c.Disc, Green));
                }
                EXPECT_TRUE(Near(image, OnCircle(300), Blue)); // the outline
            }
}

// Rings run clockwise from the gap's end in proportion to the value, on the disc's own circle.
TEST(Level, RingsRunRoundInProportionToTheirValue)
{
    const struct {
        TZORLevelType Type;
        float Gap;
        float Value;
        float Max;
        std::vector<double> Inked;
        std::vector<double> Blank;
    } cases[] = {
        // From 135 over 135 degrees: lower left, over the left, to the top.
        { TZORLevelType::RingBottom, 90, 50, 100, { 150, 180, 250 }, { 0, 90, 300 } },
        { TZORLevelType::RingRight, 0, 10, 10, { 5, 90, 180, 270, 355 }, {} },
        { TZORLevelType::RingRight, 90, 25, 100, { 60, 90 }, { 0, 135, 180, 270 } },
        // Without a maximum the whole ring but its gap.
        { TZORLevelType::RingBottom, 90, 5, 0, { 150, 270, 30 }, { 90 } },
        { TZORLevelType::RingBottom, 90, 0, 100, {}, { 150, 180, 270 } },
    };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORLevel& ring = Gauge(scene, c.Type, c.Value, c.Max);
                ring.SetAngleGap(c.Gap);
                ring.SetFilled(false);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << "type " << int(zor::Ord(c.Type)) << " value " << c.Value
                                                << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                for (double a : c.Inked)
                    EXPECT_TRUE(Near(image, OnCircle(a), Blue)) << a;
                for (double a : c.Blank)
                    EXPECT_TRUE(Near(image, OnCircle(a), White)) << a;
            }
}

// The ring lies on the disc it belongs to on every device, a printer of two resolutions included.
TEST(Level, TheRingLiesOnItsDisc)
{
    TScene scene(50);
    TZORLevel& ring = Gauge(scene, TZORLevelType::RingRight, 100);
    ring.SetAngleGap(0);
    ring.SetBackColor(Red);
    const QImage image = scene.Print(300, 600);
    const SaveOnFailure keep(image, QStringLiteral("300x600"));
    for (double a : { 0.0, 90.0, 180.0, 270.0, 45.0 }) {
        const QPointF p = OnCircle(a);
        const QPoint at(Pixel(300, p.x(), 0).x(), Pixel(600, 0, p.y()).y());
        EXPECT_TRUE(ColourNear(image, at, zor::ToQColor(Blue), 40)) << a;
        const QPointF in = OnCircle(a, 9.0);
        EXPECT_TRUE(ColourNear(
            image, QPoint(Pixel(300, in.x(), 0).x(), Pixel(600, 0, in.y()).y()), zor::ToQColor(Red), 40))
            << a;
    }
}

// A filled ring of pen width 0 keeps its disc and a hairline ring, and a vessel without fill its
// level, on screen as on paper.
TEST(Level, ScreenAndPaperDrawTheSameShapes)
{
    const struct {
        const char* Name;
        TZORLevelType Type;
        bool Filled;
        float Pen;
    } cases[] = {
        { "filled ring without pen", TZORLevelType::RingBottom, true, 0.0f },
        { "vessel without fill or pen", TZORLevelType::SegmentBottom, false, 0.0f },
        { "vessel without fill", TZORLevelType::SegmentBottom, false, 0.6f },
        { "filled ring", TZORLevelType::RingRight, true, 0.6f },
    };
    for (const auto& c : cases)
        for (int scale : Scales) {
            TScene scene(scale);
            TZORLevel& gauge = Gauge(scene, c.Type, 60);
            gauge.SetFilled(c.Filled);
            gauge.SetPenWidth(c.Pen);
            SCOPED_TRACE(testing::Message() << c.Name << " scale " << scale);
            const TScreenAndPaper both(scene, Dpi, 1, QString::fromUtf8(c.Name));
            EXPECT_GT(InkCount(both.Screen), 0);
            EXPECT_GT(both.IoU, 0.9);
        }
}

// The caption stands centred on the circle, turned by its quarter turns on both targets.
TEST(Level, CaptionsAreCentredAndTurnInQuarterTurns)
{
    for (TZORAngle angle :
        { TZORAngle::Angle0, TZORAngle::Angle90, TZORAngle::Angle180, TZORAngle::Angle270 })
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORLevel& gauge = Gauge(scene, TZORLevelType::RingRight, 0);
                gauge.SetFilled(false);
                gauge.SetText(QStringLiteral("HHHHHH"));
                gauge.SetAngle(angle);
                gauge.SetFontHeight(4.0f);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message()
                    << "angle " << int(zor::Ord(angle)) << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                const QRect ink = InkBounds(image);
                ASSERT_FALSE(ink.isNull());
                const QPointF centre = PixelF(Dpi, 20, 20);
                EXPECT_NEAR(ink.center().x(), centre.x(), 4.0);
                EXPECT_NEAR(ink.center().y(), centre.y(), 4.0);
                const bool upright = angle == TZORAngle::Angle90 || angle == TZORAngle::Angle270;
                EXPECT_EQ(ink.height() > ink.width(), upright);
            }
}

// An unbound gauge shows its own value and text everywhere; a bound one its record's in the
// preview and on paper; the editor marks it as bound.
TEST(Level, BoundGaugesShowTheirRecordInThePreviewAndOnPaper)
{
    const struct {
        TTarget Target;
        bool Bound;
        bool Record; // the record's level (25 of 100) rather than the gauge's own (75)
        bool Marker;
    } cases[] = {
        { TTarget::Editor, false, false, false },
        { TTarget::Print, false, false, false },
        { TTarget::Editor, true, false, true },
        { TTarget::Export, true, false, false },
        { TTarget::Preview, true, true, false },
        { TTarget::Print, true, true, false },
    };
    for (const auto& c : cases) {
        TScene scene;
        scene.Label().Records = { QStringLiteral("25") };
        TZORLevel& gauge = Gauge(scene, TZORLevelType::SegmentBottom, 75);
        gauge.SetText(QStringLiteral("Own"));
        if (c.Bound) {
            gauge.SetFillType(1);
            gauge.SetFillName(QStringLiteral("Tank"));
            // What the preview does for each record it shows.
            gauge.FillData(true);
        }
        const QImage image = scene.Render(c.Target, Dpi);
        SCOPED_TRACE(testing::Message() << Name(c.Target) << (c.Bound ? " bound" : ""));
        const SaveOnFailure keep(image, Name(c.Target));
        // Between the two levels: red when the gauge's own 75 shows, green at the record's 25.
        EXPECT_TRUE(Near(image, { 24, 24 }, c.Record ? Green : Red));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 10, 10), QColor(0x90, 0xEE, 0x90), 8) == c.Marker);
    }
}

class LevelPdf : public TempDirTest { };

// Three records on three pages: each page shows its record's level and prints its text.
TEST_F(LevelPdf, ABoundGaugePrintsThreeRecordsWithThreeLevels)
{
    const QStringList records = { QStringLiteral("25"), QStringLiteral("50"), QStringLiteral("75") };
    TScene scene;
    scene.Label().Records = records;
    TZORLevel& gauge = Gauge(scene, TZORLevelType::SegmentBottom, 10);
    gauge.SetText(QStringLiteral("Own"));
    gauge.SetFillType(1);
    gauge.SetFillName(QStringLiteral("Tank"));
    gauge.SetFontHeight(2.0f);
    const QString pdf = Path(QStringLiteral("gauge.pdf"));
    scene.PrintPdf(pdf, Dpi, 3, [&](int page) { scene.Label().Current = page; });
    ASSERT_EQ(PdfPageCount(pdf), 3);
    const std::vector<QImage> pages = PdfPages(pdf, Dpi);
    ASSERT_EQ(pages.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(PdfText(pdf, i + 1).simplified(), records[i]);
        // The level stands at a quarter, a half, three quarters of the diameter from the bottom.
        const double level = 30.0 - 20.0 * (i + 1) / 4.0;
        const double x = i == 1 ? 14.0 : 20.0; // clear of the caption
        EXPECT_TRUE(ColourNear(pages[size_t(i)], Pixel(Dpi, x, level + 0.8), zor::ToQColor(Red), 40));
        EXPECT_TRUE(ColourNear(pages[size_t(i)], Pixel(Dpi, x, level - 0.8), zor::ToQColor(Green), 40));
    }
    EXPECT_EQ(gauge.GetText(), QStringLiteral("Own"));
    EXPECT_EQ(gauge.GetValue(), 10.0f);
}

// An unbound gauge prints its own text; a bound one whose record is empty prints none.
TEST_F(LevelPdf, AnUnboundGaugePrintsItsOwnText)
{
    for (bool bound : { false, true }) {
        TScene scene;
        scene.Label().Records = { QString() };
        TZORLevel& gauge = Gauge(scene, TZORLevelType::RingBottom, 50);
        gauge.SetText(QStringLiteral("Tank"));
        gauge.SetFillType(bound ? 1 : 0);
        const QString pdf = Path(bound ? QStringLiteral("bound.pdf") : QStringLiteral("own.pdf"));
        scene.PrintPdf(pdf, Dpi, 1, [](int) {});
        EXPECT_EQ(PdfText(pdf).simplified(), bound ? QString() : QStringLiteral("Tank")) << bound;
    }
}

} // namespace
