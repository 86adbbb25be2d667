// Ratings and nutrition scores: the cells a rating fills, on screen from its position and on paper
// from its data; the grade boxes of a score, the selected one enlarged, and its monochrome form.

#include "elements/RenderHarness.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

using zor::TAlphaColor;
using zor::ToQColor;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr TAlphaColor Red { 0xFFFF0000 };
constexpr TAlphaColor Green { 0xFF00A000 };

// Five rectangle cells in a 30 × 6 mm box at (5, 5) with 1 mm gaps: the cells are 4 mm squares
// (the cross size less two gaps), centred at x = 10, 15, ... 30 and y = 8.
TZORRank& Rating(TScene& scene, TZORRankPos pos, uint16_t position)
{
    TZORRank& r = scene.Add<TZORRank>();
    r.AssignPoints(std::vector { scene.Pt(5, 5), scene.Pt(35, 11) });
    r.SetMaximum(5);
    r.SetPosition(position);
    r.SetRankType(TZORRankType::Rectangle);
    r.SetRankPos(pos);
    r.SetBaseGap(int32_t(scene.Base(1)));
    r.SetFilled(true);
    r.SetBackColor(Red);
    r.SetDrawEmpty(true);
    r.SetEmptyColor(Green);
    r.SetPenWidth(0.0f);
    return r;
}

// Which of the five cells are red, as a string of '1' (filled) and '0' (empty), '?' otherwise.
std::string Cells(const QImage& image)
{
    std::string cells;
    for (int i = 0; i < 5; ++i) {
        const QPoint at = Pixel(Dpi, 10 + 5 * i, 8);
        cells += ColourNear(image, at, zor::ToQColor(Red), 16) ? '1'
            : ColourNear(image, at, zor::ToQColor(Green), 16)  ? '0'
                                                               : '?';
    }
    return cells;
}

} // namespace

TEST(Rank, FillsTheFirstCellsFromItsStartingSide)
{
    const struct {
        TZORRankPos pos;
        uint16_t position;
        const char* cells;
    } cases[] = {
        { TZORRankPos::LeftToRight, 2, "11000" },
        { TZORRankPos::RightToLeft, 2, "00011" },
        { TZORRankPos::LeftToRight, 0, "00000" },
        { TZORRankPos::LeftToRight, 9, "11111" },
    };
    for (const auto& c : cases)
        for (TTarget target : BothTargets) {
            TScene scene;
            Rating(scene, c.pos, c.position);
            EXPECT_EQ(Cells(scene.Render(target, Dpi)), c.cells)
                << Name(target) << " position " << c.position;
        }
}

// A bound rating prints the data's whole number of cells, none for a text that is no number;
// the screen keeps showing its own position.
TEST(Rank, PrintsTheBoundNumberOfCells)
{
    const struct {
        const char* data;
        const char* printed;
    } cases[]
        = { { "3", "11100" }, { " 4 ", "11110" }, { "x", "00000" }, { "", "00000" }, { "-2", "00000" } };
    for (const auto& c : cases) {
        TScene scene;
        TZORRank& r = Rating(scene, TZORRankPos::LeftToRight, 1);
        r.SetFillType(1);
        r.SetFillName(QStringLiteral("stars"));
        scene.Label().Records = { QString::fromUtf8(c.data) };
        EXPECT_EQ(Cells(scene.Render(TTarget::Print, Dpi)), c.printed) << c.data;
        EXPECT_EQ(Cells(scene.Render(TTarget::Export, Dpi)), "10000") << c.data;
    }
}

// A column from the bottom: the second cell from the bottom is filled, the top one is empty.
TEST(Rank, AColumnFromTheBottomFillsUpwards)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORRank& r = Rating(scene, TZORRankPos::BottomToTop, 2);
        r.AssignPoints(std::vector { scene.Pt(5, 5), scene.Pt(11, 35) });
        const QImage image = scene.Render(target, Dpi);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 8, 25), zor::ToQColor(Red), 16)) << Name(target);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 8, 10), zor::ToQColor(Green), 16)) << Name(target);
    }
}

namespace {

// A 35 × 12 mm score at (2, 2): margin, gap and inner spacing 0.5 mm give 6.2 mm boxes whose
// left edges lie at x = 3 + 6.7 i, from y = 4.9 to 11.1.
TZORNutriScore& Score(TScene& scene, QChar grade)
{
    TZORNutriScore& n = scene.Add<TZORNutriScore>();
    n.AssignPoints(std::vector { scene.Pt(2, 2), scene.Pt(37, 14) });
    const int32_t half = int32_t(scene.Base(0.5));
    n.SetBaseMargin(half);
    n.SetBaseGap(half);
    n.SetBaseGapValue(half);
    n.SetFilled(false);
    n.SetPenWidth(0.2f);
    n.SetValue(grade);
    return n;
}

double BoxLeft(int i)
{
    return 3.0 + 6.7 * i;
}

// The index of the grade box that reaches into the gap before it (the enlarged one), or -1.
int Enlarged(const QImage& image, const TZORBaseNutri& n)
{
    int found = -1;
    for (int i = 0; i < 5; ++i)
        if (ColourNear(image, Pixel(Dpi, BoxLeft(i) - 0.3, 5.5), zor::ToQColor(n.GetGradeColor(i)), 16))
            found = found == -1 ? i : -2;
    return found;
}

} // namespace

// Each grade box has its own colour; the selected one is drawn over its neighbours, grown by the
// inner spacing, on the screen and on paper.
TEST(NutriScore, EachGradeHasItsColourAndTheSelectedOneIsEnlarged)
{
    for (int selected = 0; selected < 5; ++selected)
        for (TTarget target : BothTargets) {
            TScene scene;
            const TZORNutriScore& n = Score(scene, QChar(u'A' + selected));
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << "grade " << selected << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            for (int i = 0; i < 5; ++i)
                EXPECT_TRUE(ColourNear(
                    image, Pixel(Dpi, BoxLeft(i) + 0.4, 5.4), zor::ToQColor(n.GetGradeColor(i)), 16));
            EXPECT_EQ(Enlarged(image, n), selected);
        }
}

// A grade stored in lower case is that grade, on the screen and on paper; one outside A to E is
// refused and the grade stays as it was.
TEST(NutriScore, ALowerCaseGradeIsThatGrade)
{
    const struct {
        char16_t Stored;
        int Shown;
    } cases[] = { { u'c', 2 }, { u'e', 4 }, { u'a', 0 }, { u'f', 1 } };
    for (const auto& c : cases)
        for (TTarget target : BothTargets) {
            TScene scene;
            TZORNutriScore& n = Score(scene, u'B');
            n.SetValue(QChar(c.Stored));
            const QImage image = scene.Render(target, Dpi);
            SCOPED_TRACE(testing::Message() << char(c.Stored) << " " << Name(target));
            const SaveOnFailure keep(image, Name(target));
            EXPECT_EQ(Enlarged(image, n), c.Shown);
        }
}

// Monochrome: no fill, the selected box black with a white letter, the others outlined in black
// with black letters.
TEST(NutriScore, TheMonochromeFormIsBlackAndWhite)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORNutriScore& n = Score(scene, u'B');
        n.SetMonochrome(true);
        n.SetFilled(true);
        n.SetBackColor(Red);
        const QImage image = scene.Render(target, Dpi);
        SCOPED_TRACE(Name(target));
        const SaveOnFailure keep(image, Name(target));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 2.3, 8), Qt::white, 16)); // no frame fill
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, BoxLeft(1) + 0.4, 5.4), Qt::black, 16)); // selected
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, BoxLeft(0) + 0.4, 5.4), Qt::white, 16)); // others hollow
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, BoxLeft(0), 8), Qt::black, 60)); // ... outlined
        // The white letter inside the black box, the black letter inside the white one.
        const QRect selected(Pixel(Dpi, BoxLeft(1) + 1, 6), Pixel(Dpi, BoxLeft(1) + 5.2, 10));
        const QRect other(Pixel(Dpi, BoxLeft(3) + 1, 6), Pixel(Dpi, BoxLeft(3) + 5.2, 10));
        EXPECT_GT(InkCount(image, Ink { Qt::black, 64 }, selected), 200);
        EXPECT_GT(InkCount(image, Ink { Qt::white, 64 }, other), 200);
    }
}

// Paper shows the bound grade, A for an empty or unknown one; the screen its own.
TEST(NutriScore, PrintsTheBoundGrade)
{
    const struct {
        const char* data;
        int printed;
    } cases[] = { { "c", 2 }, { "E", 4 }, { "", 0 }, { "x", 0 }, { "Dx", 3 } };
    for (const auto& c : cases) {
        TScene scene;
        TZORNutriScore& n = Score(scene, u'B');
        n.SetFillType(1);
        n.SetFillName(QStringLiteral("grade"));
        scene.Label().Records = { QString::fromUtf8(c.data) };
        EXPECT_EQ(Enlarged(scene.Render(TTarget::Print, Dpi), n), c.printed) << c.data;
        EXPECT_EQ(Enlarged(scene.Render(TTarget::Export, Dpi), n), 1) << c.data;
    }
}

// A title above the row takes a third of the height: the boxes move down and shrink.
TEST(NutriScore, ATitleMakesRoomForItself)
{
    for (TTarget target : BothTargets) {
        TScene scene;
        TZORNutriScore& n = Score(scene, u'A');
        n.SetShowTitle(true);
        n.SetTitle(QStringLiteral("NUTRI"));
        n.SetTitleColor(TAlphaColor { 0xFF0000FF });
        const QImage image = scene.Render(target, Dpi);
        SCOPED_TRACE(Name(target));
        const SaveOnFailure keep(image, Name(target));
        const QRect band(Pixel(Dpi, 2.5, 2.5), Pixel(Dpi, 36.5, 5.8));
        EXPECT_GT(InkCount(image, {}, band), 300);
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 19.5, 12.5), zor::ToQColor(n.GetGradeColor(2)), 16));
        EXPECT_TRUE(ColourNear(image, Pixel(Dpi, 19.5, 6.4), Qt::white, 16)); // where C began untitled
    }
}

// The title's letters are a third of the content's height less the inner spacing high, however
// long the title: a long one runs past the box rather than shrinking.
TEST(NutriScore, TheTitleKeepsItsHeightWhateverItsLength)
{
    for (TTarget target : BothTargets) {
        SCOPED_TRACE(Name(target));
        const auto titleInk = [&](const char* title) {
            TScene scene;
            TZORNutriScore& n = Score(scene, u'A');
            n.SetShowTitle(true);
            n.SetTitle(QString::fromLatin1(title));
            n.SetPenWidth(0.0f); // no frame beside the title
            const QImage image = scene.Render(target, Dpi);
            const QRect band(Pixel(Dpi, -2.0, 2.6), Pixel(Dpi, 42.0, 5.8));
            return InkBounds(image, {}, band.intersected(image.rect()));
        };
        const QRect shortTitle = titleInk("NUTRI");
        const QRect longTitle = titleInk("NUTRITION SCORE GRADE");
        // Capitals of 11 / 3 − 0.5 mm type: about 2.3 mm.
        EXPECT_NEAR(shortTitle.height(), Pixels(Dpi, 2.27), 3.0);
        EXPECT_NEAR(longTitle.height(), shortTitle.height(), 1.0);
        EXPECT_GT(longTitle.width(), Pixels(Dpi, 34.0));
    }
}
