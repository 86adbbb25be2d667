// The layout of a package box in base units, as both targets draw it: captions, the block of
// named sizes, holes and the isometric view, with text widths of one millimetre per character.

#include "elements/Kinds.h"
#include "elements/lines/Zor.Vcl.Lines.PackageGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using zor::Ord;
using zor::Round;
using zor::SizeText;

namespace {

using namespace zor::test;

const zor::TTextWidth Width
    = [](const QString& text, const zor::TPackageFont&) { return 1000.0 * text.size(); };

// A frame of 100 × 50 mm at drawing scale 1, a box of 120 × 80, box font 3 + 1 mm high, sizes font
// 2 + 0.5 mm: the content rectangle is (6, 6)–(94, 44) mm and the flat box (21.5, 6)–(78.5, 44).
TZORPackage& Box(TScene& scene, TZORPackageStyle style, float height = 0.0f)
{
    TZORPackage& p = scene.Add<TZORPackage>();
    p.AssignPoints(std::vector { TZORPto { 0, 0 }, TZORPto { 100000, 50000 } });
    p.SetStyle(style);
    p.SetSizeWidth(120.0f);
    p.SetSizeLength(80.0f);
    p.SetSizeHeight(height);
    p.SetBoxMetrics({ 3000, 1000, 0, 1.25 });
    p.SetSizesMetrics({ 2000, 500, 0, 1.5 });
    return p;
}

struct TCaptionRow {
    const char* Text;
    TZORPto Print; // the text box's top-left corner
    TZORPto Draw; // the baseline's start
    bool Upward;
};

void ExpectCaptions(const std::vector<zor::TZORCaption>& captions, std::initializer_list<TCaptionRow> rows)
{
    ASSERT_EQ(captions.size(), rows.size());
    size_t i = 0;
    for (const TCaptionRow& row : rows) {
        const zor::TZORCaption& c = captions[i++];
        SCOPED_TRACE(row.Text);
        EXPECT_EQ(c.Text, QString::fromUtf8(row.Text));
        EXPECT_EQ(c.PrintPos, row.Print);
        EXPECT_EQ(c.DrawPos, row.Draw);
        EXPECT_FLOAT_EQ(c.Angle, row.Upward ? -float(std::numbers::pi / 2) : 0.0f);
    }
}

// A wide box takes its larger size below it and its smaller one at its left, reading upward; the
// upright caption's text box ends on the box's edge on paper and 1 mm before it on screen.
TEST(PackageLayout, FlatCaptionsStandBelowAndLeftOfTheBox)
{
    TScene scene;
    TZORPackage& p = Box(scene, TZORPackageStyle::Outline);
    const zor::TPackageLayout L = zor::LayoutPackage(p, 1, Width);
    ASSERT_TRUE(L.Shown);
    EXPECT_TRUE(L.Flat);
    EXPECT_EQ(L.Box, QRectF(21500, 6000, 57000, 38000));
    ExpectCaptions(L.Captions,
        { { "120", { 48500, 45000 }, { 48500, 48000 }, false },
            { "80", { 17500, 26000 }, { 19500, 26000 }, true } });
    EXPECT_TRUE(L.SizeBlock.empty());
    EXPECT_TRUE(L.Holes.empty());
    // The box font, and its size as the caption's font size.
    EXPECT_EQ(L.Captions[0].FontHeight, p.GetFontHeightBox());
    EXPECT_EQ(L.Captions[0].Ratio, 1.25);
    EXPECT_EQ(L.Captions[0].FontName, QStringLiteral("Arial"));
}

// Style 5 captions in the sizes font, moving the box right and up; style 4 has no captions. Both
// map the holes: X from the box's left edge, Y up from its bottom edge, diameters by the width.
TEST(PackageLayout, HolesMapOntoTheFlatBox)
{
    for (TZORPackageStyle style : { TZORPackageStyle::Holes, TZORPackageStyle::HolesCaptions }) {
        SCOPED_TRACE(int(zor::Ord(style)));
        TScene scene;
        TZORPackage& p = Box(scene, style);
        p.AddDrill({ 0.0, 0.0, 12.0 });
        p.AddDrill({ 60.0, 40.0, 6.0 });
        p.AddSlot({ 30.0, 20.0, 90.0, 20.0, 12.0 });
        const zor::TPackageLayout L = zor::LayoutPackage(p, 1, Width);
        ASSERT_TRUE(L.Shown);
        const QRectF& b = L.Box;
        const double perUnit = b.width() / 120.0;
        ASSERT_EQ(L.Holes.size(), 2u);
        EXPECT_NEAR(L.Holes[0].center().x(), b.left(), 1e-6);
        EXPECT_NEAR(L.Holes[0].center().y(), b.bottom(), 1e-6);
        EXPECT_NEAR(L.Holes[0].width(), 12.0 * perUnit, 1e-6);
        EXPECT_NEAR(L.Holes[0].height(), 12.0 * perUnit, 1e-6);
        EXPECT_NEAR(L.Holes[1].center().x(), b.center().x(), 1e-6);
        EXPECT_NEAR(L.Holes[1].center().y(), b.center().y(), 1e-6);
        ASSERT_EQ(L.Slots.size(), 1u);
        const double y = b.bottom() - 20.0 * b.height() / 80.0, half = 6.0 * perUnit;
        EXPECT_NEAR(L.Slots[0][0].x(), b.left() + 30.0 * perUnit, 1e-6);
        EXPECT_NEAR(L.Slots[0][1].x(), b.left() + 90.0 * perUnit, 1e-6);
        EXPECT_NEAR(std::abs(L.Slots[0][0].y() - y), half, 1e-6);
        EXPECT_NEAR(std::abs(L.Slots[0][2].y() - y), half, 1e-6);
        if (style == TZORPackageStyle::Holes) {
            EXPECT_TRUE(L.Captions.empty());
            continue;
        }
        // Content (4.5, 2)–(98, 45.5) mm: 93.5 × 43.5, so the box is 65.25 mm wide from 18.625 mm.
        EXPECT_EQ(b, QRectF(18625, 2000, 65250, 43500));
        ASSERT_EQ(L.Captions.size(), 2u);
        EXPECT_EQ(L.Captions[0].PrintPos, (TZORPto { 51250 - 1500, 45500 + 500 }));
        EXPECT_EQ(L.Captions[0].Ratio, 1.5);
    }
}

// The block of named sizes at the left: names from 2 mm in, values right-aligned on the 35 %
// share (or further right when the names are long), a line each round the frame's middle; the
// screen spaces the lines 1.2 text heights apart, the paper one.
TEST(PackageLayout, SizeBlockListsNamesAndValuesRoundTheMiddle)
{
    TScene scene;
    TZORPackage& p = Box(scene, TZORPackageStyle::OutlineSizes);
    p.SetNameWidth(QStringLiteral("Width"));
    p.SetNameLength(QStringLiteral("Length"));
    p.SetNameHeight(QStringLiteral("Height"));
    ExpectCaptions(zor::LayoutPackage(p, 1, Width).SizeBlock,
        { { "Width", { 2000, 20000 }, { 2000, 21000 }, false },
            { "120", { 32000, 22500 }, { 32000, 24000 }, false },
            { "Length", { 2000, 25000 }, { 2000, 27000 }, false },
            { "80", { 33000, 27500 }, { 33000, 30000 }, false } });

    // The height's name widens the name column even for a flat box; long names push the values
    // right. An isometric box lists its height too.
    p.SetNameHeight(QStringLiteral("An uncommonly long name of the height"));
    p.SetSizeHeight(40.0f);
    const std::vector<zor::TZORCaption> block = zor::LayoutPackage(p, 1, Width).SizeBlock;
    ASSERT_EQ(block.size(), 6u);
    const double valueEdge = 2000 + 37000 + 1500 + 3000;
    const char* texts[] = { "Width", "120", "Length", "80", "An uncommonly long name of the height", "40" };
    const int lines[] = { -3, -2, -1, 0, 1, 2 };
    for (size_t i = 0; i < block.size(); ++i) {
        SCOPED_TRACE(texts[i]);
        EXPECT_EQ(block[i].Text, QString::fromUtf8(texts[i]));
        const double right = block[i].PrintPos.X + 1000.0 * block[i].Text.size();
        if (i % 2)
            EXPECT_EQ(right, valueEdge);
        else
            EXPECT_EQ(block[i].PrintPos.X, 2000);
        EXPECT_EQ(block[i].PrintPos.Y, 25000 + lines[i] * 2500);
        EXPECT_EQ(block[i].DrawPos.Y, zor::Round(25000 + lines[i] * 3000.0 + 2000));
    }
    // The sizes font; the content rectangle leaves the block its 35 %.
    EXPECT_EQ(block[0].Ratio, 1.5);
    EXPECT_EQ(p.ContentRect().Left, 35000 + 6000);
}

// The isometric box is centred in the content rectangle: its three captions stand at the front
// right edge (reading upward), under the bottom left edge's middle (ending there) and under the
// bottom right edge's middle (starting there).
TEST(PackageLayout, IsometricCaptionsStandAtTheEdges)
{
    TScene scene;
    TZORPackage& p = Box(scene, TZORPackageStyle::Filled, 50.0f);
    p.SetSizeWidth(100.0f);
    p.SetSizeLength(100.0f);
    const zor::TPackageLayout L = zor::LayoutPackage(p, 1, Width);
    ASSERT_TRUE(L.Shown);
    EXPECT_FALSE(L.Flat);
    // 200 size units across at 30 degrees are 100 high, plus the height: the content's 38 mm
    // height limits the scale.
    const double s = 38000.0 / 150.0, c = std::cos(std::numbers::pi / 6.0);
    const double ox = 50000.0, oy = 25000.0 + (100.0 - 50.0) * s / 2.0;
    const auto X = [&](double x, double y) { return ox + (x - y) * c * s; };
    const auto Y = [&](double x, double y, double z) { return oy - ((x + y) * 0.5 * s - z * s); };
    const auto pto = [](double x, double y) { return TZORPto { zor::Round(x), zor::Round(y) }; };
    EXPECT_NEAR(L.Faces[0][2].y(), 6000.0, 1e-6); // the far top corner touches the top
    EXPECT_NEAR(L.Faces[1][2].y(), 44000.0, 1e-6); // the near bottom corner the bottom
    const double heightY = (Y(100, 0, 50) + Y(100, 0, 0)) / 2.0 + 1000.0;
    ExpectCaptions(L.Captions,
        { { "50", pto(X(100, 0), heightY), pto(X(100, 0) + 3000, heightY), true },
            { "100", pto(X(0, 50) - 3000, Y(0, 50, 50)), pto(X(0, 50) - 3000, Y(0, 50, 50) + 3000), false },
            { "100", pto(X(50, 0), Y(50, 0, 50)), pto(X(50, 0), Y(50, 0, 50) + 3000), false } });
    // Twelve edges, hidden ones included: the back corner's vertical edge among them.
    const QLineF hidden(QPointF(X(100, 100), Y(100, 100, 0)), QPointF(X(100, 100), Y(100, 100, 50)));
    EXPECT_NE(std::find_if(L.Edges.begin(), L.Edges.end(),
                  [&](const QLineF& e) {
                      return QLineF(e.p1(), hidden.p1()).length() < 1e-6
                          && QLineF(e.p2(), hidden.p2()).length() < 1e-6;
                  }),
        L.Edges.end());
}

// A size of 0, or a frame too small for its margins, shows no box, no captions and no holes; the
// block of named sizes still stands.
TEST(PackageLayout, ABoxWithoutExtentShowsNothingButItsBlock)
{
    const struct {
        const char* Name;
        float W, L, H;
        TZORPto Corner;
    } cases[] = {
        { "no width", 0, 80, 0, { 100000, 50000 } },
        { "no length", 120, 0, 0, { 100000, 50000 } },
        { "isometric without width and length", 0, 0, 40, { 100000, 50000 } },
        { "frame smaller than its margins", 120, 80, 0, { 9000, 9000 } },
        { "isometric in too small a frame", 120, 80, 40, { 9000, 9000 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TScene scene;
        TZORPackage& p = Box(scene, TZORPackageStyle::OutlineSizes);
        p.AssignPoints(std::vector { TZORPto { 0, 0 }, c.Corner });
        p.SetSizeWidth(c.W);
        p.SetSizeLength(c.L);
        p.SetSizeHeight(c.H);
        p.AddDrill({ 1.0, 1.0, 1.0 });
        const zor::TPackageLayout L = zor::LayoutPackage(p, 1, Width);
        EXPECT_FALSE(L.Shown);
        EXPECT_TRUE(L.Captions.empty());
        EXPECT_TRUE(L.Holes.empty());
        EXPECT_FALSE(L.SizeBlock.empty());
    }
}

// Paper lengths of the layout grow with the drawing scale, so the box stands where it stood.
TEST(PackageLayout, MarginsGrowWithTheDrawingScale)
{
    TScene scene(50);
    TZORPackage& p = Box(scene, TZORPackageStyle::Outline);
    p.AssignPoints(std::vector { TZORPto { 0, 0 }, TZORPto { 100000 * 50, 50000 * 50 } });
    EXPECT_EQ(p.ContentRect(), (TZORRect { 6000 * 50, 6000 * 50, 94000 * 50, 44000 * 50 }));
    const zor::TPackageLayout L = zor::LayoutPackage(
        p, 50, [](const QString& t, const zor::TPackageFont&) { return 50000.0 * t.size(); });
    EXPECT_EQ(L.Captions[1].DrawPos.X, (21500 - 1000 - 1000) * 50);
    EXPECT_EQ(L.Captions[1].PrintPos.X, (21500 - 4000) * 50);
}

TEST(PackageLayout, ValuesFollowTheFormat)
{
    TScene scene;
    TZORPackage& p = Box(scene, TZORPackageStyle::Outline);
    EXPECT_EQ(zor::SizeText(p, 12.5f), QStringLiteral("13"));
    p.SetFormat(QStringLiteral("0.0 'cm'"));
    EXPECT_EQ(zor::SizeText(p, 12.5f), QStringLiteral("12.5 cm"));
}

} // namespace
