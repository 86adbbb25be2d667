// The frame the text, image, code and composite renderers share: fill and outline by the kind's
// rule on screen and paper, rounded corners, the editor's data marker and the turned content box.

#include "TextScenes.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

using zor::Ord;
using zor::TAlphaColor;

namespace {

using namespace zor::test;

const QColor Marker(0x90, 0xEE, 0x90);
constexpr TAlphaColor Blue { 0xFF0000FF };

// A paragraph of no text from (10, 10) to (30, 20), outlined 1 mm wide in blue.
TZORParagraph& Framed(TScene& scene, bool filled, TAlphaColor back)
{
    TZORParagraph& p = AddParagraph(scene, QRectF(10, 10, 20, 10), QString());
    p.SetPenWidth(1.0f);
    p.SetColor(Blue);
    p.SetFilled(filled);
    p.SetBackColor(back);
    return p;
}

// How far the blue outline reaches beyond the box at its left edge, device pixels (negative: it
// lies inside).
int OutlineOutside(const QImage& image)
{
    return static_cast<int>(DeviceRect(Dpi, QRectF(10, 10, 20, 10)).left())
        - ColourBounds(image, QColor(0, 0, 255), 60).left();
}

TEST(ElementFrame, FillAndOutlineFollowTheKindsRule)
{
    const double half = Pixels(Dpi, 0.5);
    struct TCase {
        const char* Name;
        bool Filled;
        TAlphaColor Back;
        TTarget Target;
        bool Fill; // the middle is painted
        double Outside; // how far the outline reaches out, device pixels
    };
    const TCase cases[] = {
        { "screen, no fill: inset", false, TAlphaColor { 0xFFFFFF00 }, TTarget::Export, false, 0.0 },
        { "screen, transparent fill: none, inset", true, TAlphaColor { 0x00FFFF00 }, TTarget::Export, false,
            0.0 },
        { "screen, opaque fill: on the box", true, TAlphaColor { 0xFFFFFF00 }, TTarget::Export, true, half },
        { "paper, transparent fill: painted, on the box", true, TAlphaColor { 0x00FFFF00 }, TTarget::Print,
            false, half },
        { "paper, opaque fill: on the box", true, TAlphaColor { 0xFFFFFF00 }, TTarget::Print, true, half },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScene scene;
        Framed(scene, c.Filled, c.Back);
        const QImage image = scene.Render(c.Target, Dpi);
        EXPECT_EQ(ColourNear(image, Pixel(Dpi, 20, 15), QColor(255, 255, 0), 8), c.Fill);
        EXPECT_NEAR(OutlineOutside(image), c.Outside, 1.5);
    }
}

// The single-line text strokes its frame inside it even when it is filled.
TEST(ElementFrame, TheTextStrokesInside)
{
    TScene scene;
    TZORText& text = AddText(scene, 10, 10, QStringLiteral("x"), 5.0f);
    text.SetPenWidth(1.0f);
    text.SetColor(Blue);
    text.SetFilled(true);
    text.SetBackColor(TAlphaColor { 0xFFFFFF00 });
    text.CalcValues(0);
    EXPECT_NEAR(OutlineOutside(scene.Render(TTarget::Export, Dpi)), 0.0, 1.5);
    EXPECT_NEAR(OutlineOutside(scene.Render(TTarget::Print, Dpi)), Pixels(Dpi, 0.5), 1.5);
}

// Rounded corners leave the corner itself blank on both targets, and a radius larger than the box
// rounds no more than half its side.
TEST(ElementFrame, RoundedCornersLeaveTheCornerBlank)
{
    for (const float radius : { 3.0f, 500.0f })
        for (const TTarget target : BothTargets) {
            SCOPED_TRACE(testing::Message() << Name(target) << ", radius " << radius);
            TScene scene;
            TZORParagraph& p = Framed(scene, true, TAlphaColor { 0xFFFFFF00 });
            p.SetRadio(radius);
            const QImage image = scene.Render(target, Dpi);
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 10.3, 10.3), Qt::white, 8));
            EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 20, 15), QColor(255, 255, 0), 8));
            EXPECT_EQ(ColourBounds(image, QColor(0, 0, 255), 60).width() > Pixels(Dpi, 19.0), true);
        }
}

// Only the editor marks a bound element, at its first point: not a design view, nor any other.
TEST(ElementFrame, TheDataMarkerShowsInTheEditorOnly)
{
    for (const TTarget target :
        { TTarget::Editor, TTarget::Design, TTarget::Preview, TTarget::Export, TTarget::Print }) {
        SCOPED_TRACE(Name(target));
        TScene scene;
        TZORParagraph& p = AddParagraph(scene, QRectF(10, 10, 20, 10), QStringLiteral("x"));
        TZORRichText& r = AddRichText(scene, QRectF(10, 25, 20, 10), QStringLiteral("x"));
        for (TZORBaseItem* item : std::initializer_list<TZORBaseItem*> { &p, &r })
            item->SetFillType(1);
        const QImage image = scene.Render(target, Dpi);
        const bool editor = target == TTarget::Editor;
        EXPECT_EQ(ColourNear(image, Pixel(Dpi, 10, 10), Marker, 8), editor);
        EXPECT_EQ(ColourNear(image, Pixel(Dpi, 10, 25), Marker, 8), editor);
    }
}

// The turned content box: its origin is the inner corner where lines start, its extents swap at a
// quarter turn, and local points map onto the device the way lines run and advance.
TEST(ElementFrame, TurnedBoxesStartWhereTheirLinesDo)
{
    const QRectF box(10, 20, 100, 50);
    struct TCase {
        TZORAngle Angle;
        QPointF Origin;
        double Along, Across;
        QPointF U; // where local (1, 0) lies
        QPointF V; // where local (0, 1) lies
    };
    const TCase cases[] = {
        { TZORAngle::Angle0, { 12, 23 }, 96, 44, { 13, 23 }, { 12, 24 } },
        { TZORAngle::Angle90, { 12, 67 }, 44, 96, { 12, 66 }, { 13, 67 } },
        { TZORAngle::Angle180, { 108, 67 }, 96, 44, { 107, 67 }, { 108, 66 } },
        { TZORAngle::Angle270, { 108, 23 }, 44, 96, { 108, 24 }, { 107, 23 } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(zor::Ord(c.Angle)));
        const zor::TZORTurn t = zor::TurnBox(box, 2.0, 3.0, c.Angle);
        EXPECT_EQ(t.Origin, c.Origin);
        EXPECT_EQ(t.Along, c.Along);
        EXPECT_EQ(t.Across, c.Across);
        EXPECT_EQ(t.Map(1, 0), c.U);
        EXPECT_EQ(t.Map(0, 1), c.V);
        EXPECT_EQ(t.Map(QRectF(0, 0, t.Along, t.Across)), box.adjusted(2, 3, -2, -3));
    }
    // Paddings larger than the box leave an empty box, never a negative one.
    const zor::TZORTurn empty = zor::TurnBox(QRectF(0, 0, 4, 4), 5.0, 5.0, TZORAngle::Angle0);
    EXPECT_EQ(empty.Along, 0.0);
    EXPECT_EQ(empty.Across, 0.0);
}

} // namespace
