// The editor's paint pass probed in the grabbed surface: paper and margin, the grid as points or
// lines, ruler ticks per unit and zoom, handles by kind, construction previews, the snap marker
// and the element layer that a new selection reuses.

#include "ShownEditor.h"
#include "editor/Zor.EditorPaint.h"
#include "editor/Zor.EditorRuler.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/Pixels.h"
#include "label/Zor.Vcl.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

using zor::acSelect;
using zor::NearWhole;
using zor::RulerSteps;
using zor::stIdle;
using zor::TAct;
using zor::TAlphaColor;
using zor::TColor;

namespace {

using namespace zor::test;

const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor Yellow(0xFF, 0xFF, 0x00);
const QColor Blue(0, 0, 0xFF);
const QColor Red(0xFF, 0, 0);
const QColor Green(0, 0xFF, 0);
const QColor Teal(0, 0x80, 0x80);

// A page of 100 x 60 mm, at 96 dpi and 100 %, with the rulers on the left and at the top.
class Paint : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        label.Measure().SetPaperWidth(100000);
        label.Measure().SetPaperHeight(60000);
        label.Measure().SetWidth(100000);
        label.Measure().SetHeight(60000);
        editor = zor::test::ShownEditor(label, { 560, 420 });
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }

    TZORBackEditor& S() { return editor->Surface(); }
    TZOREditorGeometry& G() { return S().G; }
    QImage Shown() { return S().grab().toImage().convertToFormat(QImage::Format_ARGB32); }
    QPoint At(double xmm, double ymm)
    {
        return { G().ScreenMMX(int64_t(std::lround(xmm * 1000))),
            G().ScreenMMY(int64_t(std::lround(ymm * 1000))) };
    }
    TZORRectangle* Box(int64_t x, int64_t y, int64_t w, int64_t h)
    {
        TZORRectangle* box = label.AddBaseRectangle(x, y, w, h);
        box->SetColor(TAlphaColor { 0xFF000000u });
        return box;
    }

    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;
};

// Whether a pixel of the 3 x 3 around p shows the colour over white with at least 40 % cover
// (an anti-aliased stroke of a pixel's width).
bool TintedAround(const QImage& image, QPoint p, const QColor& colour)
{
    const int want[3] = { colour.red(), colour.green(), colour.blue() };
    const int far = *std::min_element(std::begin(want), std::end(want));
    const int key = int(std::find(std::begin(want), std::end(want), far) - std::begin(want));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor c = image.pixelColor(p + QPoint(dx, dy));
            const int got[3] = { c.red(), c.green(), c.blue() };
            const double cover = (255.0 - got[key]) / (255.0 - far);
            bool tinted = cover >= 0.4;
            for (int i = 0; i < 3 && tinted; ++i)
                tinted = std::abs(got[i] - (255.0 + cover * (want[i] - 255.0))) <= 30.0;
            if (tinted)
                return true;
        }
    return false;
}

} // namespace

TEST_F(Paint, PaperInsideMarginOutsideAndNothingWithoutALabel)
{
    editor->SetMarginColor(TColor(0x00FFFF));
    QImage shown = Shown();
    const SaveOnFailure keep(shown, QStringLiteral("paint-paper"));
    EXPECT_TRUE(ColourNear(shown, At(50, 30), Qt::white));
    EXPECT_TRUE(ColourNear(shown, At(0.2, 0.2), Qt::white));
    EXPECT_TRUE(ColourNear(shown, At(99.8, 59.8), Qt::white));
    EXPECT_TRUE(ColourNear(shown, At(101, 30), Yellow));
    EXPECT_TRUE(ColourNear(shown, At(50, 61), Yellow));
    EXPECT_TRUE(ColourNear(shown, At(-1, 30), Yellow));
    // The rulers' bands lie over the margin.
    EXPECT_TRUE(ColourNear(shown, QPoint(5, 200), Silver));

    editor->SetLabel(nullptr);
    shown = Shown();
    EXPECT_EQ(InkCount(shown, { Yellow, 0 }), 0);
}

// Grid lines every step, the ones on whole 10 mm in the units colour; points on every crossing,
// all in the step colour; a step under a pixel draws no grid.
TEST_F(Paint, GridAsLinesOrPoints)
{
    TZORGrid& grid = editor->Grid();
    grid.SetStepColor(TColor(0x0000FF)); // red
    grid.SetUnitsColor(TColor(0xFF0000)); // blue
    struct Case {
        TZORGridDraw style;
        double step;
        double x, y; // probe, mm
        QColor expected;
    };
    const Case cases[] = {
        { TZORGridDraw::Lines, 5, 5, 2.5, Red },
        { TZORGridDraw::Lines, 5, 10, 2.5, Blue },
        { TZORGridDraw::Lines, 5, 7.5, 2.5, Qt::white },
        { TZORGridDraw::Lines, 5, 2.5, 5, Red },
        { TZORGridDraw::Lines, 5, 2.5, 20, Blue },
        { TZORGridDraw::Lines, 3, 9, 1.5, Red },
        { TZORGridDraw::Lines, 3, 30, 1.5, Blue },
        { TZORGridDraw::Lines, 3, 1.5, 30, Blue },
        { TZORGridDraw::Points, 5, 5, 5, Red },
        { TZORGridDraw::Points, 5, 10, 10, Red },
        { TZORGridDraw::Points, 5, 7.5, 5, Qt::white },
        { TZORGridDraw::Points, 5, 5, 7.5, Qt::white },
    };
    for (const Case& c : cases) {
        grid.SetIncX(c.step);
        grid.SetIncY(c.step);
        grid.SetStyle(c.style);
        editor->DrawEditor();
        const QImage shown = Shown();
        const SaveOnFailure keep(shown, QStringLiteral("paint-grid"));
        EXPECT_TRUE(ColourNear(shown, At(c.x, c.y), c.expected))
            << int(c.style) << " step " << c.step << " at " << c.x << ", " << c.y;
    }
    // A 0.1 mm grid at 25 % would fill the paper: none is drawn.
    grid.SetIncX(0.1);
    grid.SetIncY(0.1);
    grid.SetStyle(TZORGridDraw::Points);
    editor->SetZoom(TZORZoom::zm25);
    const QImage fine = Shown();
    const SaveOnFailure keepFine(fine, QStringLiteral("paint-fine-grid"));
    EXPECT_EQ(InkCount(fine, {}, QRect(At(1, 1), At(98, 58))), 0);
}

// The tick step and the label interval by unit and zoom: ticks at least 5 and labels at least
// 21 pixels apart, labels never on a step they would miss.
TEST(RulerSteps, TickAndLabelByUnitAndZoom)
{
    struct Case {
        TZORUnits units;
        float zoom;
        double tick, label;
    };
    const Case cases[] = {
        { TZORUnits::Millimetre, 1.0f, 2, 10 },
        { TZORUnits::Millimetre, 2.0f, 1, 5 },
        { TZORUnits::Millimetre, 5.0f, 0.5, 2 },
        { TZORUnits::Millimetre, 0.25f, 5, 50 },
        { TZORUnits::Inch, 1.0f, 0.1, 0.5 },
        { TZORUnits::Inch, 0.25f, 0.2, 1 },
        { TZORUnits::Centimetre, 1.0f, 0.2, 1 },
        { TZORUnits::Centimetre, 0.25f, 0.5, 5 },
        { TZORUnits::Yard, 0.25f, 0.1, 0.1 },
    };
    for (const Case& c : cases) {
        TZOREditorGeometry g;
        g.ZScale = c.zoom;
        g.Units = c.units;
        const zor::TRulerSteps s = zor::RulerSteps(
            c.units, [&](double v) { return g.CoordDX(v, false); }, 100);
        EXPECT_DOUBLE_EQ(s.Tick, c.tick) << int(c.units) << " at " << c.zoom;
        EXPECT_DOUBLE_EQ(s.Label, c.label) << int(c.units) << " at " << c.zoom;
    }
}

// Nothing wide enough: the ticks fall back to 1000 and the label interval keeps the last one,
// never 0 (a 0 interval would divide by zero).
TEST(RulerSteps, NoStepWideEnoughKeepsAUsableInterval)
{
    const auto none = [](double) { return 0; };
    EXPECT_DOUBLE_EQ(zor::RulerSteps(TZORUnits::Millimetre, none, 0).Label, 100);
    EXPECT_DOUBLE_EQ(zor::RulerSteps(TZORUnits::Millimetre, none, -5).Label, 100);
    EXPECT_DOUBLE_EQ(zor::RulerSteps(TZORUnits::Millimetre, none, 5).Label, 5);
    EXPECT_DOUBLE_EQ(zor::RulerSteps(TZORUnits::Millimetre, none, 5).Tick, 1000);
    double v = 0;
    for (int i = 0; i < 10; ++i)
        v += 0.1;
    EXPECT_TRUE(zor::NearWhole(v));
    EXPECT_TRUE(zor::NearWhole(0.6 / 0.2));
    EXPECT_FALSE(zor::NearWhole(0.5));
}

// Ticks on the top and left rulers: whole units 8 pixels long, fractions 4, labelled ones 3.
TEST_F(Paint, RulerTicksInMillimetresAndInches)
{
    const QColor black(0, 0, 0);
    const int rt = G().D.RulerT, rl = G().D.RulerL;
    ASSERT_EQ(rt, 18);
    struct Case {
        TZORUnits units;
        double at; // in the unit
        int length; // 0: no tick
    };
    const Case cases[] = {
        { TZORUnits::Millimetre, 2, 8 },
        { TZORUnits::Millimetre, 4, 8 },
        { TZORUnits::Millimetre, 1, 0 },
        { TZORUnits::Millimetre, 10, 3 },
        { TZORUnits::Inch, 0.1, 4 },
        { TZORUnits::Inch, 1.0, 3 },
        { TZORUnits::Inch, 0.05, 0 },
    };
    for (const Case& c : cases) {
        label.SetUnits(c.units);
        const QImage shown = Shown();
        const SaveOnFailure keep(shown, QStringLiteral("paint-ruler"));
        const int x = G().CoordDX(c.at, true), y = G().CoordDY(c.at, true);
        const int inside = c.length > 0 ? c.length - 1 : 3;
        const QColor expected = c.length > 0 ? black : Silver;
        EXPECT_TRUE(ColourNear(shown, { x, rt - inside }, expected)) << int(c.units) << " top " << c.at;
        EXPECT_TRUE(ColourNear(shown, { rl - inside, y }, expected)) << int(c.units) << " left " << c.at;
        if (c.length == 4) {
            EXPECT_TRUE(ColourNear(shown, { x, rt - 6 }, Silver)) << "a fraction's tick is short";
        }
    }
}

// The extent of the selection marks both rulers when asked for.
TEST_F(Paint, RulersMarkTheSelectionExtent)
{
    TZORRectangle* box = Box(20000, 10000, 30000, 20000);
    editor->Rulers().SetSizeColor(TColor(0x00FF00));
    editor->Rulers().SetShowSize(true);
    const int rt = G().D.RulerT, rl = G().D.RulerL;
    EXPECT_TRUE(ColourNear(Shown(), { At(35, 0).x(), rt - 1 }, Silver));
    label.Select(box);
    const QImage shown = Shown();
    EXPECT_TRUE(ColourNear(shown, { At(35, 0).x(), rt - 1 }, Green));
    EXPECT_TRUE(ColourNear(shown, { rl - 1, At(0, 25).y() }, Green));
    EXPECT_TRUE(ColourNear(shown, { At(15, 0).x(), rt - 1 }, Silver));
}

// The handles of a selected element, each in its kind's colour and shape, taken from where the
// model puts them; none while a text is edited in place.
TEST_F(Paint, HandlesOfASelectedRectangleAndLine)
{
    TZORRectangle* box = Box(20000, 10000, 30000, 20000);
    TZORSelColors& colours = editor->SelectionColors();
    colours.fSizeColor = TColor(0x0000FF); // red
    colours.fRadio = TColor(0x00FF00); // green
    label.Select(box);
    QImage shown = Shown();
    SaveOnFailure keep(shown, QStringLiteral("paint-handles"));
    int boxHandles = 0;
    for (int32_t i = 1; i <= label.GetSelPointCount(); ++i) {
        const TZORSelPoint sp = label.GetSelPoint(i);
        const QPoint c(G().CoordDX(sp.X, true), G().CoordDY(sp.Y, true));
        if (sp.Kind >= zor::hkNW && sp.Kind <= zor::hkSE) {
            ++boxHandles;
            // A 6 x 6 square: its corners are handle, a pixel beyond is not.
            EXPECT_TRUE(ColourNear(shown, c + QPoint(-3, -3), Red, 40)) << int(sp.Kind);
            EXPECT_TRUE(ColourNear(shown, c + QPoint(2, 2), Red, 40)) << int(sp.Kind);
            EXPECT_FALSE(ColourNear(shown, c + QPoint(4, 4), Red, 80)) << int(sp.Kind);
        } else if (sp.Kind == zor::hkCorner) {
            // A dot of radius 3: its centre, not the corner of its box.
            EXPECT_TRUE(ColourNear(shown, c, Green, 40));
            EXPECT_FALSE(ColourNear(shown, c + QPoint(-3, -3), Green, 80));
        }
    }
    EXPECT_EQ(boxHandles, 8);

    // A line's ends: the current handle in the radius colour, the other in the size colour.
    TZORLine* line = label.AddBaseLine(60000, 40000, 90000, 50000);
    label.Select(line);
    TAct::fPos1 = 2;
    editor->DrawEditor();
    shown = Shown();
    EXPECT_TRUE(ColourNear(shown, At(60, 40), Red, 40));
    EXPECT_TRUE(ColourNear(shown, At(90, 50), Green, 40));

    TAct::fCurAction = zor::acTextEdit;
    editor->DrawEditor();
    shown = Shown();
    EXPECT_FALSE(ColourNear(shown, At(90, 50), Green, 80));
    EXPECT_FALSE(ColourNear(shown, At(60, 40) + QPoint(2, 2), Red, 80));
}

// The previews of a line, a rectangle and a polyline under construction, in the preview colour;
// types that follow nothing draw nothing.
TEST_F(Paint, ConstructionPreviews)
{
    editor->SelectionColors().fDraw = TColor(0x808000); // teal
    S().State().Press = At(20, 20);
    S().State().Pointer = At(60, 40);
    const QImage bare = [&] {
        editor->DrawEditor();
        return Shown();
    }();

    auto show = [&](int32_t action, int32_t state, int32_t type) {
        TAct::fCurAction = action;
        TAct::fCurState = state;
        TAct::fDrawType = type;
        S().DrawOverlay();
        return Shown();
    };
    QImage shown = show(zor::acLine, zor::stSecond, zor::dtLine);
    SaveOnFailure keep(shown, QStringLiteral("paint-preview"));
    EXPECT_TRUE(TintedAround(shown, At(40, 30), Teal));
    EXPECT_TRUE(ColourNear(shown, At(40, 25), Qt::white));

    shown = show(zor::acRectangle, zor::stSecond, zor::dtRectangle);
    EXPECT_TRUE(ColourNear(shown, QPoint(At(40, 0).x(), At(0, 20).y()), Teal, 10));
    EXPECT_TRUE(ColourNear(shown, QPoint(At(60, 0).x(), At(0, 30).y()), Teal, 10));
    EXPECT_TRUE(ColourNear(shown, At(40, 30), Qt::white));

    // A polyline: the points taken so far, then the pointer.
    TAct::AddPoint(10000, 50000);
    TAct::AddPoint(20000, 20000);
    shown = show(zor::acPolyLine, zor::stNext, zor::dtLine);
    EXPECT_TRUE(TintedAround(shown, At(15, 35), Teal));
    EXPECT_TRUE(TintedAround(shown, At(40, 30), Teal));

    for (int32_t type : { zor::dtMoving, zor::dtPath, zor::dtText }) {
        TAct::ClearPoints();
        EXPECT_EQ(show(zor::acSelect, zor::stIdle, type), bare) << type;
    }
}

// The selection window: solid from left to right, dashed from right to left.
TEST_F(Paint, TheSelectionWindowIsDashedFromRightToLeft)
{
    editor->SelectionColors().fDraw = TColor(0x000000);
    TAct::fCurAction = zor::acSelect;
    TAct::fCurState = zor::stWindow;
    TAct::fDrawType = zor::dtWindow;
    auto runs = [&](QPoint from, QPoint to) {
        S().State().Press = from;
        S().State().Pointer = to;
        S().DrawOverlay();
        const QImage shown = Shown();
        return ColumnRuns(shown, At(20, 0).x(), { Qt::white, 60 }).size();
    };
    const size_t solid = runs(At(20, 10), At(60, 40));
    const size_t dashed = runs(At(60, 40), At(20, 10));
    EXPECT_GT(dashed, solid + 4);
}

// The snap marker of a crossing: a diagonal cross 11 pixels wide on the point.
TEST_F(Paint, SnapMarkerCross)
{
    editor->SelectionColors().fRefPoint = TColor(0xFF0000); // blue
    S().State().SnapMark = { true, 50000, 30000, 2 };
    S().DrawOverlay();
    const QImage shown = Shown();
    const SaveOnFailure keep(shown, QStringLiteral("paint-snap"));
    const QPoint c = At(50, 30);
    for (QPoint d : { QPoint(0, 0), QPoint(3, 3), QPoint(-3, -3), QPoint(3, -3), QPoint(-3, 3) })
        EXPECT_TRUE(ColourNear(shown, c + d, Blue, 80)) << d.x() << "," << d.y();
    EXPECT_TRUE(ColourNear(shown, c + QPoint(0, -4), Qt::white, 40));
    EXPECT_TRUE(ColourNear(shown, c + QPoint(8, 8), Qt::white));
}

// A new selection redraws only the elements near the ones whose state changed, and the picture
// is the one a whole render gives.
TEST_F(Paint, ANewSelectionReusesTheElementLayer)
{
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 6; ++j)
            Box(2000 + i * 10000, 2000 + j * 10000, 5000, 5000);
    TZORBaseItem* first = label.GetItem(1);
    TZORBaseItem* last = label.GetItem(label.GetItemsCount());
    editor->DrawEditor();
    const int renders = S().ElementRenderCount();
    const int draws = S().Painter().ItemDrawCount();

    label.Select(first);
    label.Select(last);
    const QImage patched = Shown();
    EXPECT_EQ(S().ElementRenderCount(), renders);
    EXPECT_LE(S().Painter().ItemDrawCount() - draws, 12);

    editor->DrawEditor();
    EXPECT_EQ(S().ElementRenderCount(), renders + 1);
    EXPECT_EQ(Shown(), patched);

    // Guides and rulers change nothing under them either; an edit renders the elements again.
    editor->Rulers().SetShowAlign(true);
    EXPECT_EQ(S().ElementRenderCount(), renders + 1);
    label.SetBackSurf(TAlphaColor { 0xFF00FF00u });
    EXPECT_EQ(S().ElementRenderCount(), renders + 2);
}

// A guide on a ruler's edge is not drawn; one off the rulers is, dashed in its colour.
TEST_F(Paint, GuidesOffTheRulersOnly)
{
    editor->SelectionColors().fAlign = TColor(0xFF0000); // blue
    editor->Rulers().fAlignLeft = 30000;
    editor->Rulers().fAlignTop = G().BaseMMY(G().D.RulerT);
    editor->Rulers().SetShowAlign(true);
    const QImage shown = Shown();
    const SaveOnFailure keep(shown, QStringLiteral("paint-guides"));
    const int x = At(30, 0).x();
    EXPECT_GT(InkCount(shown, { Qt::white, 60 }, QRect(x, At(0, 5).y(), 1, 40)), 10);
    EXPECT_LT(InkCount(shown, { Qt::white, 60 }, QRect(x, At(0, 5).y(), 1, 40)), 40);
    EXPECT_EQ(InkCount(shown, { Silver, 10 }, QRect(At(40, 0).x(), G().D.RulerT, 100, 1)), 0);
}
