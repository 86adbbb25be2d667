// The model's editing: the select tool, picking, drags, handles, snapping, without any widget.
#include "KindStubs.h"
#include "ModelFixture.h"

#include "Zor.Act.h"
#include "Zor.Label.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zor;
using namespace zor::test;

namespace {

std::vector<TZORPto> PointsOf(const TZORBaseItem& item)
{
    std::vector<TZORPto> out;
    for (int32_t i = 1; i <= item.GetPointsCount(); ++i)
        out.push_back(item.GetPoint(i));
    return out;
}

class Editing : public ::testing::Test {
protected:
    void SetUp() override { TAct::Reset(); }
    void TearDown() override { TAct::Reset(); }

    TZORBaseRectangle* Rect(int64_t l, int64_t t, int64_t r, int64_t b, bool filled = false)
    {
        auto* rect = Stub<TZORBaseRectangle>(label);
        SetPoints(*rect, { { l, t }, { r, b } });
        rect->SetFilled(filled);
        return rect;
    }
    TZORBaseLine* Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
    {
        auto* line = Stub<TZORBaseLine>(label);
        SetPoints(*line, { { x1, y1 }, { x2, y2 } });
        return line;
    }
    // Drags from (x, y) by (dx, dy) in two moves, as the editor reports them: old minus new.
    void Drag(int64_t dx, int64_t dy)
    {
        label.MoveEditor(-dx / 2, -dy / 2, -1, -1, false, false);
        label.MoveEditor(-(dx - dx / 2), -(dy - dy / 2), -1, -1, false, false);
    }

    TKindLabel label;
};

TEST_F(Editing, PressDragAndReleaseMoveTheElementExactly)
{
    TZORBaseRectangle* rect = Rect(10000, 10000, 30000, 20000);
    label.PickEditor(20000, 10000, 500, 0, false); // on the top edge
    ASSERT_EQ(label.Select(), rect);
    EXPECT_EQ(TAct::fCurAction, acMove);
    EXPECT_TRUE(TAct::fCurEditor);
    EXPECT_EQ(TAct::fMoveType, mtSelection);

    label.MoveEditor(-12700, -1000, -1, -1, false, false);
    label.MoveEditor(-12700, -2000, -1, -1, false, false);
    label.UpEditor(45400, 13000);

    EXPECT_EQ(PointsOf(*rect), (std::vector<TZORPto> { { 35400, 13000 }, { 55400, 23000 } }));
    EXPECT_EQ(TAct::fCurAction, acSelect);
    EXPECT_FALSE(TAct::fCurEditor);
}

TEST_F(Editing, AGridDragKeepsTheSelectionsCornerOnTheGrid)
{
    TZORBaseRectangle* rect = Rect(1200, 1300, 11200, 6300, true);
    label.PickEditor(5000, 5000, 500, 0, false);
    label.MoveGridEditor(7400, 5000, 5000, 5000, false); // corner at 3600: the grid line 5000
    EXPECT_EQ(PointsOf(*rect), (std::vector<TZORPto> { { 5000, 0 }, { 15000, 5000 } }));
    label.MoveGridEditor(9000, 8000, 5000, 5000, false); // corner at (5200, 4300)
    label.UpEditor(9000, 8000);
    EXPECT_EQ(PointsOf(*rect), (std::vector<TZORPto> { { 5000, 5000 }, { 15000, 10000 } }));
}

TEST_F(Editing, PickingFollowsTheDrawnOutlineNotTheBox)
{
    const struct {
        const char* name;
        std::function<TZORBaseItem*(TKindLabel&)> make;
        int64_t x, y;
        bool hit;
    } cases[] = {
        { "diagonal line, on it", [](auto& l) { auto* e = Stub<TZORBaseLine>(l); SetPoints(*e, { { 0, 0 }, { 10000, 10000 } }); return e; }, 5200, 5000, true },
        { "diagonal line, in its box", [](auto& l) { auto* e = Stub<TZORBaseLine>(l); SetPoints(*e, { { 0, 0 }, { 10000, 10000 } }); return e; }, 9000, 1000, false },
        { "ring, on the circle", [](auto& l) { auto* e = Stub<TZORBaseCircle>(l); SetPoints(*e, { { 0, 0 }, { 20000, 20000 } }); return e; }, 20000, 10000, true },
        { "ring, in its hole", [](auto& l) { auto* e = Stub<TZORBaseCircle>(l); SetPoints(*e, { { 0, 0 }, { 20000, 20000 } }); return e; }, 10000, 10000, false },
        { "ring, box corner", [](auto& l) { auto* e = Stub<TZORBaseCircle>(l); SetPoints(*e, { { 0, 0 }, { 20000, 20000 } }); return e; }, 500, 500, false },
        { "filled disc, centre", [](auto& l) { auto* e = Stub<TZORBaseCircle>(l); SetPoints(*e, { { 0, 0 }, { 20000, 20000 } }); e->SetFilled(true); return e; }, 10000, 10000, true },
        { "frame, inside", [](auto& l) { auto* e = Stub<TZORBaseRectangle>(l); SetPoints(*e, { { 0, 0 }, { 20000, 10000 } }); return e; }, 10000, 5000, false },
        { "frame, near its edge", [](auto& l) { auto* e = Stub<TZORBaseRectangle>(l); SetPoints(*e, { { 0, 0 }, { 20000, 10000 } }); return e; }, 10000, 9600, true },
        { "polyline, inside its bend", [](auto& l) { auto* e = Stub<TZORBasePolyLine>(l); SetPoints(*e, { { 0, 0 }, { 10000, 0 }, { 10000, 10000 } }); return e; }, 3000, 7000, false },
        { "arc, beside its circle's other half", [](auto& l) { return static_cast<TZORBaseItem*>(l.AddItem(std::make_unique<TStub<TZORBaseArc>>(&l, 10000, 10000, 10000, 0.0f, 3.14159265f, false))); }, 10000, 500, false },
        { "arc, on it", [](auto& l) { return static_cast<TZORBaseItem*>(l.AddItem(std::make_unique<TStub<TZORBaseArc>>(&l, 10000, 10000, 10000, 0.0f, 3.14159265f, false))); }, 10000, 19800, true },
    };
    for (const auto& c : cases) {
        TKindLabel l;
        const TZORBaseItem* item = c.make(l);
        EXPECT_EQ(item->Pick(c.x, c.y, 500, false), c.hit) << c.name;
        EXPECT_EQ(l.ItemAt(c.x, c.y, 500) == item, c.hit) << c.name;
    }
}

TEST_F(Editing, APressInAFramesHoleStartsTheWindowAndTheWindowSelectsWhatLiesInside)
{
    TZORBaseRectangle* frame = Rect(0, 0, 100000, 100000);
    TZORBaseLine* inside = Line(20000, 20000, 40000, 40000);
    TZORBaseLine* across = Line(50000, 30000, 90000, 30000);
    label.PickEditor(10000, 10000, 500, 0, false);
    EXPECT_EQ(label.GetSelectionCount(), 0);
    EXPECT_EQ(TAct::fCurState, stWindow);
    EXPECT_EQ(TAct::fDrawType, dtWindow);
    label.UpEditor(60000, 60000);
    ASSERT_EQ(label.GetSelectionCount(), 1);
    EXPECT_EQ(label.Select(), inside);
    EXPECT_EQ(TAct::fCurState, stIdle);

    // Drawn right to left, the window takes what it meets.
    label.PickEditor(60000, 10000, 500, 0, false);
    label.UpEditor(30000, 35000);
    EXPECT_TRUE(label.IsSelected(inside));
    EXPECT_TRUE(label.IsSelected(across));
    EXPECT_FALSE(label.IsSelected(frame));
}

TEST_F(Editing, ShiftAddsAndTakesAwayAndThePressPicksTheTopMost)
{
    TZORBaseRectangle* lower = Rect(0, 0, 20000, 20000, true);
    TZORBaseRectangle* upper = Rect(10000, 10000, 30000, 30000, true);
    label.PickEditor(15000, 15000, 500, 0, false);
    label.UpEditor(15000, 15000);
    EXPECT_EQ(label.Select(), upper);
    label.PickEditor(5000, 5000, 500, ssShift, false);
    EXPECT_EQ(label.GetSelectionCount(), 2);
    EXPECT_TRUE(label.IsSelected(lower));
    label.PickEditor(25000, 25000, 500, ssShift, false);
    EXPECT_EQ(label.GetSelectionCount(), 1);
    EXPECT_EQ(label.Select(), lower);
}

// Each handle found among the selection points, dragged by (5 mm, 3 mm) with the move type
// the editor gives its kind.
TEST_F(Editing, EveryHandleKindChangesItsElementAsItsKindSays)
{
    using Make = std::function<TZORBaseItem*(TKindLabel&)>;
    const auto rect = [](TKindLabel& l) -> TZORBaseItem* {
        auto* e = Stub<TZORBaseRectangle>(l);
        SetPoints(*e, { { 10000, 10000 }, { 30000, 20000 } });
        return e;
    };
    const auto circle = [](TKindLabel& l) -> TZORBaseItem* {
        auto* e = Stub<TZORBaseCircle>(l);
        SetPoints(*e, { { 0, 0 }, { 20000, 20000 } });
        return e;
    };
    const auto ellipse = [](TKindLabel& l) -> TZORBaseItem* {
        auto* e = Stub<TZORBaseEllipse>(l);
        SetPoints(*e, { { 0, 0 }, { 20000, 10000 } });
        return e;
    };
    const auto poly = [](TKindLabel& l) -> TZORBaseItem* {
        auto* e = Stub<TZORBasePolyLine>(l);
        SetPoints(*e, { { 0, 0 }, { 10000, 0 }, { 10000, 10000 } });
        return e;
    };
    const auto line = [](TKindLabel& l) -> TZORBaseItem* {
        auto* e = Stub<TZORBaseLine>(l);
        SetPoints(*e, { { 0, 0 }, { 10000, 0 } });
        return e;
    };
    const auto bezier = [](TKindLabel& l) -> TZORBaseItem* {
        auto* e = Stub<TZORBaseBezier>(l);
        SetPoints(*e, { { 0, 0 }, { 5000, 0 }, { 10000, 5000 }, { 10000, 10000 } });
        return e;
    };
    const auto point = [](TKindLabel& l) -> TZORBaseItem* {
        auto* e = Stub<TZORBasePoint>(l);
        SetPoints(*e, { { 1000, 2000 } });
        return e;
    };
    const struct {
        const char* name;
        Make make;
        uint8_t kind;
        int16_t index;
        int32_t moveType;
        std::vector<TZORPto> expected;
    } cases[] = {
        { "north-west", rect, 8, 0, 11, { { 15000, 13000 }, { 30000, 20000 } } },
        { "north", rect, 9, 0, 12, { { 10000, 13000 }, { 30000, 20000 } } },
        { "north-east", rect, 10, 0, 13, { { 10000, 13000 }, { 35000, 20000 } } },
        { "west", rect, 11, 0, 14, { { 15000, 10000 }, { 30000, 20000 } } },
        { "east", rect, 12, 0, 15, { { 10000, 10000 }, { 35000, 20000 } } },
        { "south-west", rect, 13, 0, 16, { { 15000, 10000 }, { 30000, 23000 } } },
        { "south", rect, 14, 0, 17, { { 10000, 10000 }, { 30000, 23000 } } },
        { "south-east", rect, 15, 0, 18, { { 10000, 10000 }, { 35000, 23000 } } },
        { "circle radius", circle, 20, 0, 2, { { -5297, -5297 }, { 25297, 25297 } } },
        { "ellipse radius X", ellipse, 21, 0, 8, { { -5000, 0 }, { 25000, 10000 } } },
        { "ellipse radius Y", ellipse, 22, 0, 9, { { 0, -3000 }, { 20000, 13000 } } },
        { "line end", line, 3, 2, 6, { { 0, 0 }, { 15000, 3000 } } },
        { "vertex", poly, 5, 2, 7, { { 0, 0 }, { 15000, 3000 }, { 10000, 10000 } } },
        { "control point", bezier, 6, 2, 4, { { 0, 0 }, { 10000, 3000 }, { 10000, 5000 }, { 10000, 10000 } } },
        { "insertion point", point, 2, 1, 6, { { 6000, 5000 } } },
    };
    for (const auto& c : cases) {
        TAct::Reset();
        TKindLabel l;
        TZORBaseItem* item = c.make(l);
        l.Select(item);
        bool found = false;
        for (int32_t i = 1; i <= l.GetSelPointCount(); ++i)
            found = found || (l.GetSelPoint(i).Kind == c.kind && l.GetSelPoint(i).Index == c.index);
        ASSERT_TRUE(found) << c.name;
        TAct::SetMove(c.moveType, c.index);
        l.MoveEditor(-2500, -1000, -1, -1, false, false);
        l.MoveEditor(-2500, -2000, -1, -1, false, false);
        l.UpEditor(0, 0);
        EXPECT_EQ(PointsOf(*item), c.expected) << c.name;
    }
}

TEST_F(Editing, ACornerRadiusAndASectorAngleFollowTheirHandles)
{
    TZORBaseRectangle* r = Rect(0, 0, 40000, 20000);
    label.Select(r);
    TAct::SetMove(mtCorner, 0);
    label.MoveEditor(0, 0, 0, 0, false, false);
    label.MoveEditor(3000, 0, 0, 0, false, false); // the pointer itself: 3 mm from the left
    label.UpEditor(3000, 0);
    EXPECT_EQ(r->GetBaseRadio(), 3000);

    auto* s = Stub<TZORBaseSector>(label);
    SetPoints(*s, { { 0, 0 }, { 20000, 20000 } });
    s->SetAngleStart(0.0f);
    s->SetAngleGap(90.0f);
    label.Select(s);
    TAct::SetMove(mtAngle, 2);
    label.MoveEditor(0, 10000, 0, 0, false, false); // straight left of the centre
    label.UpEditor(0, 10000);
    EXPECT_FLOAT_EQ(s->GetSweepAngle(), 180.0f);
}

TEST_F(Editing, AResizeThroughTheOppositeEdgeTurnsTheBoxRound)
{
    TZORBaseRectangle* r = Rect(10000, 10000, 30000, 20000);
    label.Select(r);
    TAct::SetMove(mtW, 0);
    label.MoveEditor(-30000, 0, -1, -1, false, false);
    label.UpEditor(0, 0);
    EXPECT_EQ(PointsOf(*r), (std::vector<TZORPto> { { 30000, 10000 }, { 40000, 20000 } }));
    EXPECT_GE(r->GetBounds().GetWidth(), 0);
}

TEST_F(Editing, SeveralSelectedResizeTogetherByTheSelectionsBox)
{
    TZORBaseLine* a = Line(0, 0, 10000, 0);
    TZORBaseLine* b = Line(0, 10000, 20000, 10000);
    label.Select(a);
    label.Select(b, true);
    TAct::SetMove(mtE, 0);
    label.MoveEditor(-20000, 0, -1, -1, false, false);
    label.UpEditor(0, 0);
    EXPECT_EQ(PointsOf(*a), (std::vector<TZORPto> { { 0, 0 }, { 20000, 0 } }));
    EXPECT_EQ(PointsOf(*b), (std::vector<TZORPto> { { 0, 10000 }, { 40000, 10000 } }));
}

TEST_F(Editing, SelectionPointsAreInTheLabelsUnit)
{
    label.SetUnits(TZORUnits::Centimetre);
    TZORBaseLine* line = Line(10000, 25000, 30000, 25000);
    label.Select(line);
    ASSERT_EQ(label.GetSelPointCount(), 3);
    const TZORSelPoint extent = label.GetSelPoint(1);
    EXPECT_EQ(extent.Kind, hkExtent);
    EXPECT_FLOAT_EQ(extent.X2, 3.0f);
    const TZORSelPoint end = label.GetSelPoint(3);
    EXPECT_EQ(end.Kind, hkPoint);
    EXPECT_EQ(end.Index, 2);
    EXPECT_FLOAT_EQ(end.X, 3.0f);
    EXPECT_FLOAT_EQ(end.Y, 2.5f);
    EXPECT_FLOAT_EQ(label.SizeSelection(2) - label.SizeSelection(1), 2.0f);
    EXPECT_FLOAT_EQ(label.SizeSelection(2), 3.0f);
    EXPECT_LT(label.SizeSelection(5), 0.0f);
    label.UnSelectAll();
    EXPECT_LT(label.SizeSelection(1), 0.0f);
}

TEST_F(Editing, TheCurrentHandleIsForgottenWhenTheSelectionChanges)
{
    auto* poly = Stub<TZORBasePolyLine>(label);
    SetPoints(*poly, { { 0, 0 }, { 10000, 0 }, { 10000, 10000 } });
    TZORBaseLine* other = Line(50000, 0, 60000, 0);
    label.Select(poly);
    TAct::SetMove(mtVertex, 2);
    label.UpEditor(10000, 0);
    EXPECT_EQ(TAct::fPos1, 2);
    label.Select(other);
    EXPECT_EQ(TAct::fPos1, 0);
    // So the Delete key finds no vertex of the new selection to remove.
    EXPECT_FALSE(label.DeletePoint(TAct::fPos1));
    EXPECT_EQ(other->GetPointsCount(), 2);
}

TEST_F(Editing, APressAfterALostReleaseEndsTheDrag)
{
    TZORBaseRectangle* r = Rect(0, 0, 10000, 10000, true);
    label.PickEditor(5000, 5000, 500, 0, false);
    label.MoveEditor(-1000, 0, -1, -1, false, false);
    // No release: the next press on empty paper starts afresh.
    label.PickEditor(50000, 50000, 500, 0, false);
    EXPECT_FALSE(TAct::fCurEditor);
    EXPECT_EQ(TAct::fCurAction, acSelect);
    EXPECT_EQ(TAct::fCurState, stWindow);
    label.MoveEditor(-1000, 0, -1, -1, false, false);
    EXPECT_EQ(PointsOf(*r), (std::vector<TZORPto> { { 1000, 0 }, { 11000, 10000 } }));
}

TEST_F(Editing, EscapeDuringADragPutsTheElementBack)
{
    TZORBaseRectangle* r = Rect(0, 0, 10000, 10000, true);
    label.PickEditor(5000, 5000, 500, 0, false);
    Drag(7000, 3000);
    label.ResetAction();
    EXPECT_EQ(PointsOf(*r), (std::vector<TZORPto> { { 0, 0 }, { 10000, 10000 } }));
    EXPECT_FALSE(TAct::fCurEditor);
}

TEST_F(Editing, DeletePointKeepsEveryKindWhole)
{
    auto* poly = Stub<TZORBasePolyLine>(label);
    SetPoints(*poly, { { 0, 0 }, { 10000, 0 }, { 10000, 10000 } });
    label.Select(poly);
    EXPECT_TRUE(label.DeletePoint(2));
    EXPECT_EQ(PointsOf(*poly), (std::vector<TZORPto> { { 0, 0 }, { 10000, 10000 } }));
    EXPECT_FALSE(label.DeletePoint(1)); // a run keeps two points
    auto* bezier = Stub<TZORBaseBezier>(label);
    SetPoints(*bezier, { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 }, { 4, 4 }, { 5, 5 }, { 6, 6 } });
    label.Select(bezier);
    EXPECT_FALSE(label.DeletePoint(2)); // a control point alone
    EXPECT_TRUE(label.DeletePoint(4));
    EXPECT_EQ(PointsOf(*bezier), (std::vector<TZORPto> { { 0, 0 }, { 4, 4 }, { 5, 5 }, { 6, 6 } }));
}

TEST_F(Editing, KeyboardMovesAndSizesAndRotations)
{
    TZORBaseRectangle* r = Rect(0, 0, 20000, 10000);
    label.Select(r);
    label.MoveEditor(1, 0, 5000, 0, false, true); // Ctrl+Left with a 5 mm grid
    EXPECT_EQ(PointsOf(*r), (std::vector<TZORPto> { { -5000, 0 }, { 15000, 10000 } }));
    label.MoveSelection(1.0f, 2.0f, false, true);
    EXPECT_EQ(PointsOf(*r), (std::vector<TZORPto> { { -4000, 2000 }, { 16000, 12000 } }));
    label.MoveSize(4.0f, TZORMoveOpt::Wider, false, true);
    EXPECT_EQ(PointsOf(*r), (std::vector<TZORPto> { { -4000, 2000 }, { 20000, 12000 } }));
    label.MoveSize(1.0f, TZORMoveOpt::Lower, false, true);
    EXPECT_EQ(PointsOf(*r), (std::vector<TZORPto> { { -4000, 2000 }, { 20000, 11000 } }));
    label.RotateSelectionLeft();
    EXPECT_EQ(r->GetBounds().Normalized(), (TZORRect { 3500, -5500, 12500, 18500 }));
}

TEST_F(Editing, SelectNextAndPriorGoRound)
{
    TZORBaseLine* a = Line(0, 0, 1000, 0);
    TZORBaseLine* b = Line(0, 1000, 1000, 1000);
    label.SelectNext();
    EXPECT_EQ(label.Select(), a);
    label.SelectNext();
    EXPECT_EQ(label.Select(), b);
    label.SelectNext();
    EXPECT_EQ(label.Select(), a);
    label.SelectPrior();
    EXPECT_EQ(label.Select(), b);
}

// --- Snapping ---

TEST_F(Editing, AnEndPointBeatsAMiddlePointAtTheSameDistance)
{
    Line(0, 0, 10000, 0); // middle (5000, 0)
    Line(6000, 0, 6000, 8000); // end (6000, 0)
    TZORRef ref;
    ASSERT_TRUE(label.SearchSnap(5500, 0, 1000, SnapBit(TZORSnap::End) | SnapBit(TZORSnap::Middle), ref, false));
    EXPECT_EQ(ref.X, 6000);
    EXPECT_EQ(ref.Y, 0);
    EXPECT_EQ(ref.Marker, 0);
    ASSERT_TRUE(label.SearchSnap(5200, 0, 1000, SnapBit(TZORSnap::Middle), ref, false));
    EXPECT_EQ(ref.X, 5000);
    EXPECT_EQ(ref.Marker, 2);
}

TEST_F(Editing, SnappingTakesTheNearestPointOfItsKind)
{
    Line(0, 0, 10000, 10000);
    Line(0, 10000, 10000, 0);
    Line(10000, 10800, 12000, 12000);
    auto* c = Stub<TZORBaseCircle>(label);
    SetPoints(*c, { { 20000, 0 }, { 40000, 20000 } });
    const struct {
        const char* name;
        TZORSnap kind;
        int64_t x, y;
        int64_t baseX, baseY;
        bool found;
        int64_t ex, ey;
    } cases[] = {
        { "nearer of two ends", TZORSnap::End, 10000, 10500, -1, -1, true, 10000, 10800 },
        { "crossing", TZORSnap::Cross, 5300, 4800, -1, -1, true, 5000, 5000 },
        { "centre", TZORSnap::Centre, 30400, 9800, -1, -1, true, 30000, 10000 },
        { "perpendicular foot", TZORSnap::Perpendicular, 2000, 2300, 0, 4000, true, 2000, 2000 },
        { "tangent", TZORSnap::Tangent, 30500, 300, 10000, 0, true, 30000, 0 },
        { "nothing within reach", TZORSnap::End, 15000, 15000, -1, -1, false, 0, 0 },
        { "perpendicular needs a base", TZORSnap::Perpendicular, 2000, 2300, -1, -1, false, 0, 0 },
    };
    for (const auto& k : cases) {
        TZORRef ref;
        ref.BaseX = k.baseX;
        ref.BaseY = k.baseY;
        EXPECT_EQ(label.SearchPoint(k.x, k.y, 1000, k.kind, ref, false), k.found) << k.name;
        if (k.found) {
            EXPECT_EQ(ref.X, k.ex) << k.name;
            EXPECT_EQ(ref.Y, k.ey) << k.name;
            EXPECT_TRUE(ref.Valid) << k.name;
        }
    }
}

TEST_F(Editing, WhileDraggingTheSelectedElementDoesNotSnapToItself)
{
    TZORBaseLine* line = Line(0, 0, 10000, 0);
    label.Select(line);
    TZORRef ref;
    EXPECT_TRUE(label.SearchPoint(10000, 0, 500, TZORSnap::End, ref, false));
    EXPECT_FALSE(label.SearchPoint(10000, 0, 500, TZORSnap::End, ref, true));
}

TEST(MouseFilter, PassesByTimeOrByDistance)
{
    TMouseFilter filter(70, 20);
    EXPECT_TRUE(filter.FilterMouseMoveAt(0, 0, 0));
    EXPECT_FALSE(filter.FilterMouseMoveAt(5, 5, 5));
    EXPECT_TRUE(filter.FilterMouseMoveAt(25, 5, 6));
    EXPECT_TRUE(filter.FilterMouseMoveAt(26, 5, 6 + 14));
    filter.ResetPos();
    EXPECT_TRUE(filter.FilterMouseMoveAt(26, 5, 21));
}

} // namespace

namespace {

// What the tools do is undone a whole gesture at a time.
TEST_F(Editing, EachGestureIsOneUndoStep)
{
    Rect(0, 0, 10000, 10000, true);
    label.ClearUndo();

    label.PickEditor(5000, 5000, 500, 0, false);
    Drag(7000, 3000);
    label.UpEditor(12000, 8000);
    TAct::SetCurAction(acRectangle);
    label.PickEditor(20000, 20000, 500, 0, false);
    label.PickEditor(30000, 25000, 500, 0, false);
    ASSERT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), 2);

    ASSERT_TRUE(label.Undo()); // the new rectangle goes
    ASSERT_EQ(label.GetItemsCount(), 1);
    ASSERT_TRUE(label.Undo()); // the drag is taken back
    EXPECT_EQ(PointsOf(*label.GetItem(1)), (std::vector<TZORPto> { { 0, 0 }, { 10000, 10000 } }));
    EXPECT_FALSE(label.CanUndo());
    ASSERT_TRUE(label.Redo());
    EXPECT_EQ(PointsOf(*label.GetItem(1)), (std::vector<TZORPto> { { 7000, 3000 }, { 17000, 13000 } }));
}

// A drag called off with Esc changes nothing, so it leaves nothing to undo.
TEST_F(Editing, ACancelledDragLeavesNoStep)
{
    Rect(0, 0, 10000, 10000, true);
    label.ClearUndo();
    label.PickEditor(5000, 5000, 500, 0, false);
    Drag(7000, 3000);
    label.ResetAction();
    EXPECT_FALSE(label.CanUndo());
}

} // namespace
