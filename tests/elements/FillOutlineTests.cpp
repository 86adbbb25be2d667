// Fill then outline, for every fillable kind, on screen and on paper.
//
// Screen and paper differ on purpose in a few places; the tests of each kind check them, and
// the agreement suite (FrameTests) exempts them:
//
// | where                                   | screen                      | paper                  |
// |-----------------------------------------|-----------------------------|------------------------|
// | fill of rectangle, circle, ellipse,     | only when the fill colour   | always (a transparent  |
// | sector                                  | is not fully transparent    | fill shows no ink)     |
// | unfilled rectangle's outline            | inset                       | centred on the edges   |
// | filled Bézier curve                     | no line ends                | line ends              |
// | polygon at pen width 0                  | hairline outline            | no outline             |
// | dashes of a round-capped curve          | round ends                  | flat ends (as GDI+)    |
// | caption origin                          | baseline                    | top-left corner        |
// | caption underline                       | not drawn                   | drawn                  |
// | caption against the line                | under it                    | over it                |
// | data-bound caption                      | the element's text          | the record's value     |
// | construction point                      | a circle                    | nothing                |

#include "Kinds.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

using zor::Ord;
using zor::TAlphaColor;
using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;

struct TFillCase {
    bool Filled;
    TAlphaColor Back;
    float Pen;
};

constexpr TFillCase FillCases[] = {
    { false, Red, 0.0f },
    { false, Red, 1.0f },
    { false, ClearRed, 1.0f },
    { true, Red, 0.0f },
    { true, Red, 1.0f },
    { true, ClearRed, 0.0f },
    { true, ClearRed, 1.0f },
};

QColor Expected(bool ink, TAlphaColor c)
{
    return ink ? zor::ToQColor(c) : QColor(Qt::white);
}

// Inside lies the fill when it shows (filled with an opaque colour: a transparent fill leaves no
// ink on either target, whether or not it is painted), on the outline the pen when the width is
// above 0 and the fill otherwise, outside the paper.
TEST(FillOutline, EveryFigureFillsThenOutlinesOnBothTargets)
{
    for (const TFigureKind& kind : FigureKinds())
        for (const TFillCase& c : FillCases)
            for (int scale : Scales)
                for (TTarget target : BothTargets) {
                    TScene scene(scale);
                    TZOR2DItem& item = kind.Make(scene);
                    item.SetFilled(c.Filled);
                    item.SetBackColor(c.Back);
                    item.SetColor(Blue);
                    item.SetPenWidth(c.Pen);
                    const QImage image = scene.Render(target, Dpi);
                    SCOPED_TRACE(testing::Message()
                        << kind.Name << " filled " << c.Filled << " alpha " << (zor::Ord(c.Back) >> 24)
                        << " pen " << c.Pen << " scale " << scale << " " << Name(target));
                    const SaveOnFailure keep(image, kind.Name);
                    const bool fills = c.Filled && c.Back == Red;
                    const QColor fill = Expected(fills, Red);
                    EXPECT_TRUE(ColourNear(image, Pixel(Dpi, kind.Inside.x(), kind.Inside.y()), fill, 8));
                    const QColor edge = c.Pen > 0.0f ? zor::ToQColor(Blue) : fill;
                    EXPECT_TRUE(ColourNear(image, Pixel(Dpi, kind.Edge.x(), kind.Edge.y()), edge, 8));
                    EXPECT_TRUE(
                        ColourNear(image, Pixel(Dpi, kind.Outside.x(), kind.Outside.y()), Qt::white, 8));
                }
}

// A figure that is neither filled nor outlined leaves the page blank, except the polygon on
// screen, which keeps a hairline so that it can be found.
TEST(FillOutline, NoFillAndNoPenLeavesNothingButThePolygonsScreenHairline)
{
    for (const TFigureKind& kind : FigureKinds())
        for (TTarget target : BothTargets) {
            TScene scene;
            TZOR2DItem& item = kind.Make(scene);
            item.SetPenWidth(0.0f);
            const QImage image = scene.Render(target, Dpi);
            const bool hairline = std::string(kind.Name) == "polygon" && target != TTarget::Print;
            SCOPED_TRACE(testing::Message() << kind.Name << " " << Name(target));
            EXPECT_EQ(InkCount(image) > 0, hairline);
        }
}

TEST(FillOutline, ThePolygonsScreenHairlineRunsAlongItsEdges)
{
    TScene scene;
    TZOR2DItem& polygon = FigureKinds()[1].Make(scene);
    polygon.SetPenWidth(0.0f);
    polygon.SetFilled(true);
    polygon.SetBackColor(ClearRed);
    const QImage image = scene.Render(TTarget::Editor, Dpi);
    const QRect bounds = InkBounds(image);
    const QPoint topLeft = Pixel(Dpi, 10, 10), bottomRight = Pixel(Dpi, 30, 30);
    EXPECT_LE((bounds.topLeft() - topLeft).manhattanLength(), 2);
    EXPECT_LE((bounds.bottomRight() - bottomRight).manhattanLength(), 2);
    // One pixel wide (two where it falls between pixels), and nothing inside.
    EXPECT_LE(InkCount(image, {}, QRect(Pixel(Dpi, 5, 20), Pixel(Dpi, 15, 20) + QPoint(0, 1))), 4);
    EXPECT_EQ(InkCount(image, {}, QRect(Pixel(Dpi, 12, 12), Pixel(Dpi, 28, 28))), 0);
}

// An open kind strokes its path in its colour, as wide as its pen, on both targets: on the path
// and a quarter of the pen off it lies the colour, two pens off it the paper.
TEST(FillOutline, EveryOpenKindStrokesItsPathOnBothTargets)
{
    constexpr double Pen = 0.8;
    for (const TLineKind& kind : LineKinds())
        for (int scale : Scales)
            for (TTarget target : BothTargets) {
                TScene scene(scale);
                TZORBaseItem& item = kind.Make(scene);
                item.SetColor(Blue);
                item.SetPenWidth(float(Pen));
                const QImage image = scene.Render(target, Dpi);
                SCOPED_TRACE(testing::Message() << kind.Name << " scale " << scale << " " << Name(target));
                const SaveOnFailure keep(image, kind.Name);
                const auto probe = [&](double off) {
                    const QPointF p = kind.On + kind.Normal * off;
                    return Pixel(Dpi, p.x(), p.y());
                };
                EXPECT_TRUE(ColourNear(image, probe(0), zor::ToQColor(Blue), 8));
                EXPECT_TRUE(ColourNear(image, probe(Pen / 4), zor::ToQColor(Blue), 8));
                EXPECT_TRUE(ColourNear(image, probe(-Pen / 4), zor::ToQColor(Blue), 8));
                EXPECT_TRUE(ColourNear(image, probe(2 * Pen), Qt::white, 8));
                EXPECT_TRUE(ColourNear(image, probe(-2 * Pen), Qt::white, 8));
            }
}

// The line kinds hand pen width 0 to the painters as it is: the thinnest line each target draws.
// The Bézier curve is a figure, outlined only above pen width 0.
TEST(FillOutline, LineKindsAtPenWidthZeroDrawAHairline)
{
    for (const TLineKind& kind : LineKinds())
        for (TTarget target : BothTargets) {
            TScene scene;
            kind.Make(scene).SetPenWidth(0.0f);
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << kind.Name << " " << Name(target));
            const QPoint on = Pixel(Dpi, kind.On.x(), kind.On.y());
            const bool hairline = std::string(kind.Name) != "bezier";
            EXPECT_EQ(InkCount(image, {}, QRect(on - QPoint(2, 2), on + QPoint(2, 2))) > 0, hairline);
            const QPointF off = kind.On + kind.Normal * 0.3;
            const QPoint beside = Pixel(Dpi, off.x(), off.y());
            EXPECT_EQ(InkCount(image, {}, QRect(beside - QPoint(1, 1), beside + QPoint(1, 1))), 0);
        }
}

} // namespace
