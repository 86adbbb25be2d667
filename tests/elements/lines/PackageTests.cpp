// Package boxes on screen and on paper: the six styles flat and isometric, holes and slots, the
// block of named sizes, bound sizes, and what the box leaves to the element printed after it.

#include "elements/Kinds.h"
#include "elements/lines/Zor.Vcl.Lines.PackageGeometry.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

using zor::Ord;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr TAlphaColor White { 0xFFFFFFFF };

// A box of 120 × 80 (× height) in the frame from (4, 4) to (36, 30) mm: a green frame, a blue box,
// black captions 3 mm high.
TZORPackage& Box(TScene& scene, TZORPackageStyle style, float height = 0.0f)
{
    TZORPackage& p = scene.Add<TZORPackage>();
    p.AssignPoints(std::vector { scene.Pt(4, 4), scene.Pt(36, 30) });
    p.SetColor(Green);
    p.SetPenWidth(0.3f);
    p.SetStyle(style);
    p.SetSizeWidth(120.0f);
    p.SetSizeLength(80.0f);
    p.SetSizeHeight(height);
    p.SetBoxColor(Blue);
    p.SetFontColor(zor::claBlack);
    p.SetFontHeightBox(3.0f);
    p.SetFontHeightSizes(2.5f);
    p.SetNameWidth(QStringLiteral("W"));
    p.CalcValues(0);
    return p;
}

// The layout as the box draws it, in paper millimetres.
zor::TPackageLayout Layout(const TScene& scene, const TZORPackage& p)
{
    const int scale = scene.Scale();
    return zor::LayoutPackage(p, scale,
        [scale](const QString& t, const zor::TPackageFont& f) { return zor::MeasuredWidth(t, f, scale); });
}

QPointF Mm(const TScene& scene, const QPointF& base)
{
    return base / (1000.0 * scene.Scale());
}

::testing::AssertionResult Near(const QImage& image, QPointF mm, TAlphaColor colour)
{
    return ColourNear(image, Pixel(Dpi, mm.x(), mm.y()), zor::ToQColor(colour), 40);
}

// The six styles flat: an outline or a fill in the box colour, captions below and at the left
// (not with style 4), the block of names (styles 1 and 3), and holes (styles 4 and 5).
TEST(Package, FlatStylesShowWhatTheySay)
{
    using S = TZORPackageStyle;
    const struct {
        S Style;
        bool Filled;
        bool Captions;
        bool Block;
        bool Holes;
    } cases[] = {
        { S::Outline, false, true, false, false },
        { S::OutlineSizes, false, true, true, false },
        { S::Filled, true, true, false, false },
        { S::FilledSizes, true, true, true, false },
        { S::Holes, false, false, false, true },
        { S::HolesCaptions, false, true, false, true },
    };
    for (const auto& c : cases)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORPackage& p = Box(scene, c.Style);
                p.AddDrill({ 60.0, 40.0, 40.0 });
                const zor::TPackageLayout L = Layout(scene, p);
                ASSERT_TRUE(L.Shown);
                const QRectF b(Mm(scene, L.Box.topLeft()), Mm(scene, L.Box.bottomRight()));
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message()
                    << "style " << int(zor::Ord(c.Style)) << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                EXPECT_TRUE(Near(image, b.center(), c.Filled ? Blue : White));
                // On the outline, or just inside the fill's edge.
                const double in = c.Filled ? 0.3 : 0.0;
                EXPECT_TRUE(Near(image, { b.center().x(), b.top() + in }, Blue));
                EXPECT_TRUE(Near(image, { b.left() + in, b.center().y() - b.height() / 4 }, Blue));
                // The captions: below the box, and left of it.
                const QRectF below(b.left(), b.bottom() + 0.5, b.width(), 3.5);
                const QRectF left(b.left() - 4, b.center().y() - 1, 3.5, 2);
                EXPECT_EQ(InkCount(image, {},
                              QRect(Pixel(Dpi, below.left(), below.top()),
                                  Pixel(Dpi, below.right(), below.bottom())))
                        > 20,
                    c.Captions);
                EXPECT_EQ(
                    InkCount(image, {},
                        QRect(Pixel(Dpi, left.left(), left.top()), Pixel(Dpi, left.right(), left.bottom())))
                        > 20,
                    c.Captions);
                // The hole, a circle of a third of the box's width about its centre.
                const double r = b.width() / 6.0;
                const QRect ring(Pixel(Dpi, b.center().x() - r - 0.3, b.center().y() - 0.6),
                    Pixel(Dpi, b.center().x() - r + 0.3, b.center().y() + 0.6));
                if (!c.Filled) {
                    EXPECT_EQ(InkCount(image, {}, ring) > 0, c.Holes);
                }
                // The first name of the block, on its line above the frame's middle.
                EXPECT_EQ(
                    InkCount(image, {}, QRect(Pixel(Dpi, 5.5, 10.5), Pixel(Dpi, 8, 13.5))) > 20, c.Block);
            }
}

// Holes and slots take the box colour in both styles that show them, on both targets: the captions'
// colour (blue here) never reaches them.
TEST(Package, HolesTakeTheBoxColourInEveryStyle)
{
    for (const TZORPackageStyle style : { TZORPackageStyle::Holes, TZORPackageStyle::HolesCaptions })
        for (TTarget target : BothTargets) {
            SCOPED_TRACE(testing::Message() << "style " << int(zor::Ord(style)) << " " << Name(target));
            TScene scene;
            TZORPackage& p = Box(scene, style);
            p.SetBoxColor(Red);
            p.SetFontColor(Blue);
            p.AddDrill({ 60.0, 40.0, 40.0 });
            const zor::TPackageLayout L = Layout(scene, p);
            const QRectF b(Mm(scene, L.Box.topLeft()), Mm(scene, L.Box.bottomRight()));
            const QImage image = scene.Render(target, Dpi);
            const SaveOnFailure keep(image, Name(target));
            const double r = b.width() / 6.0;
            const QRect ring(Pixel(Dpi, b.center().x() - r - 0.3, b.center().y() - 0.6),
                Pixel(Dpi, b.center().x() - r + 0.3, b.center().y() + 0.6));
            int red = 0, blue = 0;
            for (int y = ring.top(); y <= ring.bottom(); ++y)
                for (int x = ring.left(); x <= ring.right(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    red += c.red() > 150 && c.blue() < 120;
                    blue += c.blue() > 150 && c.red() < 120;
                }
            EXPECT_GT(red, 0);
            EXPECT_EQ(blue, 0);
        }
}

// Both fonts are measured whatever the style: a style chosen later, without a new layout, finds
// its block's font measured and shows its names.
TEST(Package, AStyleChosenLaterFindsItsFontMeasured)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORPackage& p = Box(scene, TZORPackageStyle::Outline);
        p.SetStyle(TZORPackageStyle::OutlineSizes);
        const QImage image = scene.Render(target, Dpi);
        EXPECT_GT(InkCount(image, {}, QRect(Pixel(Dpi, 5.5, 10.5), Pixel(Dpi, 8, 13.5))), 20) << Name(target);
    }
}

// Isometric: styles 2 and 3 fill three faces in the box colour and outline them in the element's
// colour; the others draw the twelve edges in the box colour, the hidden ones too.
TEST(Package, IsometricBoxesShowFacesOrAWireFrame)
{
    for (uint8_t ordinal = 0; ordinal <= 5; ++ordinal)
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                const TZORPackageStyle style { ordinal };
                TZORPackage& p = Box(scene, style, 60.0f);
                const zor::TPackageLayout L = Layout(scene, p);
                ASSERT_TRUE(L.Shown);
                ASSERT_FALSE(L.Flat);
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message()
                    << "style " << int(zor::Ord(style)) << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, Name(target));
                const auto& top = L.Faces[0];
                const QPointF topCentre = Mm(scene, (top[0] + top[1] + top[2] + top[3]) / 4.0);
                const bool filled
                    = style == TZORPackageStyle::Filled || style == TZORPackageStyle::FilledSizes;
                EXPECT_TRUE(Near(image, topCentre, filled ? Blue : White));
                // The front vertical edge, from the top face's near corner down.
                const QPointF front = Mm(scene, (L.Edges[5].p1() + L.Edges[5].p2()) / 2.0);
                EXPECT_TRUE(Near(image, front, filled ? Green : Blue));
                // The hidden vertical edge at the back.
                const QPointF back = Mm(scene, (L.Edges[8].p1() + L.Edges[8].p2()) / 2.0);
                EXPECT_TRUE(Near(image, back, Blue));
            }
}

// However the frame is dashed, the box's outline and its holes print solid.
TEST(Package, TheFramesDashReachesNeitherTheBoxNorItsHoles)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORPackage& p = Box(scene, TZORPackageStyle::Holes);
        p.SetLineType(TZORineType::Dash2_2);
        p.SetPenWidth(0.5f);
        p.AddSlot({ 10.0, 40.0, 110.0, 40.0, 20.0 });
        const zor::TPackageLayout L = Layout(scene, p);
        const QRectF b(Mm(scene, L.Box.topLeft()), Mm(scene, L.Box.bottomRight()));
        const QImage image = scene.Render(target, Dpi);
        SCOPED_TRACE(Name(target));
        const SaveOnFailure keep(image, Name(target));
        // Along the box's top edge, and along the slot's upper side on paper.
        const auto runsAt = [&](double y) {
            QImage row = image.copy(QRect(Pixel(Dpi, b.left() + 1, y), Pixel(Dpi, b.right() - 1, y)));
            return InkLengths(RowRuns(row, 0));
        };
        EXPECT_EQ(runsAt(b.top()).size(), 1u);
        // The frame itself keeps its dashes.
        EXPECT_GT(InkLengths(RowRuns(image, Pixel(Dpi, 0, 4).y())).size(), 3u);
        if (target == TTarget::Print) {
            const double slotTop = b.center().y() - b.width() / 12.0;
            EXPECT_EQ(runsAt(slotTop).size(), 1u);
        }
    }
}

// The upright caption turns the printer's font only for itself: an arrow line's caption printed
// after the box still reads along its line.
TEST(Package, TheUprightCaptionLeavesThePrinterFontUnturned)
{
    TScene scene;
    Box(scene, TZORPackageStyle::Outline);
    TZORArrowLine& arrow = scene.Add<TZORArrowLine>();
    arrow.AssignPoints(std::vector { scene.Pt(5, 36), scene.Pt(35, 36) });
    arrow.SetToType(TZORTermType::None);
    arrow.SetPenWidth(0.0f);
    arrow.SetText(QStringLiteral("HHHHHHHH"));
    arrow.SetFontHeight(3.0f);
    arrow.CalcValues(0);
    const QImage image = scene.Render(TTarget::Print, Dpi);
    const SaveOnFailure keep(image, QStringLiteral("print"));
    const QRect caption = InkBounds(image, {}, QRect(Pixel(Dpi, 0, 31), Pixel(Dpi, 38, 35.6)));
    ASSERT_FALSE(caption.isNull());
    EXPECT_GT(caption.width(), 3 * caption.height());
}

class PackagePdf : public TempDirTest { };

// A bound box prints each record's sizes; a record without sizes prints the box's own, which the
// box keeps throughout.
TEST_F(PackagePdf, ABoundBoxPrintsEachRecordsSizes)
{
    const QStringList records = { QStringLiteral("30 x 20"), QStringLiteral("45x15x10"), QString() };
    TScene scene;
    scene.Label().Records = records;
    TZORPackage& p = Box(scene, TZORPackageStyle::Outline);
    p.SetFillType(1);
    p.SetFillName(QStringLiteral("Size"));
    const QString pdf = Path(QStringLiteral("box.pdf"));
    scene.PrintPdf(pdf, Dpi, 3, [&](int page) { scene.Label().Current = page; });
    const auto words = [&](int page) {
        QStringList list;
        for (const PdfWord& w : PdfWords(pdf))
            if (w.page == page)
                list << w.text;
        list.sort();
        return list;
    };
    EXPECT_EQ(words(1), (QStringList { QStringLiteral("20"), QStringLiteral("30") }));
    EXPECT_EQ(words(2), (QStringList { QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("45") }));
    EXPECT_EQ(words(3), (QStringList { QStringLiteral("120"), QStringLiteral("80") }));
    EXPECT_EQ(p.GetSizeWidth(), 120.0f);
    EXPECT_EQ(p.GetSizeLength(), 80.0f);
    EXPECT_EQ(p.GetSizeHeight(), 0.0f);
}

// The block and the captions print their names and values by the box's format.
TEST_F(PackagePdf, PrintsTheBlockAndTheCaptions)
{
    TScene scene;
    TZORPackage& p = Box(scene, TZORPackageStyle::FilledSizes, 40.0f);
    p.AssignPoints(std::vector { scene.Pt(1, 1), scene.Pt(37, 37) });
    p.SetNameWidth(QStringLiteral("Wide"));
    p.SetNameLength(QStringLiteral("Long"));
    p.SetNameHeight(QStringLiteral("High"));
    p.SetFormat(QStringLiteral("0.0"));
    p.SetFontHeightSizes(2.0f);
    p.SetFontHeightBox(2.0f);
    p.CalcValues(0);
    const QString pdf = Path(QStringLiteral("block.pdf"));
    scene.PrintPdf(pdf, Dpi, 1, [](int) {});
    QStringList words;
    for (const PdfWord& w : PdfWords(pdf))
        words << w.text;
    for (const char* w : { "Wide", "Long", "High", "120.0", "80.0", "40.0" })
        EXPECT_GE(words.count(QString::fromUtf8(w)), 1)
            << w << ": " << words.join(QLatin1Char(' ')).toStdString();
    // Each value twice: in the block and on the box.
    EXPECT_EQ(words.count(QStringLiteral("120.0")), 2) << words.join(QLatin1Char(' ')).toStdString();
}

} // namespace
