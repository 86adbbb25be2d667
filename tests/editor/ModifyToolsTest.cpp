// The tools that work on existing elements, clicked on a real editor: trim, extend, offset and
// reference lines, the radius and diameter dimensions, and what the editor draws of reference
// lines and of the link anchor under the pointer. Every result is checked in micrometres against
// values worked out by hand.

#include "ShownEditor.h"
#include "Zor.Line.h"
#include "Zor.Stream.h"
#include "Zor.Version.h"
#include "editor/Zor.EditorInput.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Shared.Label.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QBuffer>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

using namespace zor;

namespace {

using TPoints = std::vector<TZORPto>;

// Millimetres of the drawing.
struct Mm {
    double x, y;
};

// A page of 250 x 100 mm at 96 dpi; clicks snap to a 1 mm grid of the drawing, so that a click
// lands on a whole millimetre at every zoom and drawing scale.
class ModifyTools : public zor::test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        Open(TZORZoom::zm100, 1);
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }

    void Open(TZORZoom zoom, int32_t scale)
    {
        editor.reset();
        TAct::Reset();
        label = std::make_unique<TZORLabelVCL>();
        label->Measure().SetPaperWidth(250000);
        label->Measure().SetPaperHeight(100000);
        label->Measure().SetWidth(250000);
        label->Measure().SetHeight(100000);
        label->Measure().SetDrawScale(scale);
        k = 1000 * scale;
        editor = zor::test::ShownEditor(*label, { 1060, 520 });
        editor->SetZoom(zoom);
        editor->Grid().SetIncX(1.0 * scale);
        editor->Grid().SetIncY(1.0 * scale);
        editor->SetSnap(2);
    }

    TZORPto B(Mm p) const { return { std::llround(p.x * k), std::llround(p.y * k) }; }
    TPoints B(std::initializer_list<Mm> ps) const
    {
        TPoints out;
        for (Mm p : ps)
            out.push_back(B(p));
        return out;
    }
    QPoint At(Mm p)
    {
        const TZOREditorGeometry& g = editor->Surface().G;
        const TZORPto b = B(p);
        return { g.ScreenMMX(b.X), g.ScreenMMY(b.Y) };
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QWidget* s = &editor->Surface();
        QMouseEvent e(type, QPointF(p), s->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
        QApplication::sendEvent(s, &e);
    }
    void Click(Mm p, Qt::MouseButton b = Qt::LeftButton)
    {
        const QPoint at = At(p);
        Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        Send(QEvent::MouseButtonPress, at, b, b);
        Send(QEvent::MouseButtonRelease, at, b, Qt::NoButton);
    }
    void Key(int key) { QTest::keyClick(&editor->Surface(), Qt::Key(key)); }
    void Tool(int32_t action)
    {
        TAct::SetCurAction(action);
        label->Notify(TZRChange::Tool);
    }
    TZORBaseItem* Line(Mm a, Mm b) { return label->AddBaseLine(B(a).X, B(a).Y, B(b).X, B(b).Y); }
    static TPoints Ends(const TZORBaseItem& item) { return { item.GetPoint(1), item.GetPoint(2) }; }

    std::unique_ptr<TZORLabelVCL> label;
    std::unique_ptr<TZOREditor> editor;
    int64_t k = 1000;
};

// What the label holds for a trim or extend case: the edge, the target, and where to click.
struct TCase {
    const char* name;
    int32_t action; // trim or extend
    enum { LineEdge, ArcEdge, CircleEdge, RefLineEdge } edge;
    Mm edgeClick;
    Mm targetFrom, targetTo;
    Mm targetClick;
    std::vector<std::pair<Mm, Mm>> result; // the lines afterwards; none: nothing changes
};

// Edges used by the cases: the vertical line x = 40 from y = 20 to 80; the upper half of the
// circle of centre (50, 50) and radius 10 (screen angles π to 2π, so through (50, 40)), picked
// near (42.9, 42.9); the whole circle; the reference line x = 70.
const std::vector<TCase>& Cases()
{
    static const std::vector<TCase> cases {
        { "trim line against line", acTrim, TCase::LineEdge, { 40, 30 }, { 20, 50 }, { 70, 50 }, { 60, 50 },
            { { { 20, 50 }, { 40, 50 } } } },
        { "trim the other side", acTrim, TCase::LineEdge, { 40, 30 }, { 20, 50 }, { 70, 50 }, { 25, 50 },
            { { { 40, 50 }, { 70, 50 } } } },
        { "trim line against arc", acTrim, TCase::ArcEdge, { 43, 43 }, { 50, 30 }, { 50, 70 }, { 50, 35 },
            { { { 50, 40 }, { 50, 70 } } } },
        { "trim between two crossings splits", acTrim, TCase::CircleEdge, { 50, 40 }, { 20, 50 }, { 80, 50 },
            { 50, 50 }, { { { 20, 50 }, { 40, 50 } }, { { 60, 50 }, { 80, 50 } } } },
        { "trim parallel lines never meet", acTrim, TCase::LineEdge, { 40, 30 }, { 45, 20 }, { 45, 80 },
            { 45, 60 }, {} },
        { "trim a click on nothing", acTrim, TCase::LineEdge, { 40, 30 }, { 20, 50 }, { 70, 50 }, { 90, 90 },
            {} },
        { "extend line to line", acExtend, TCase::LineEdge, { 40, 30 }, { 10, 50 }, { 30, 50 }, { 28, 50 },
            { { { 10, 50 }, { 40, 50 } } } },
        { "extend the start", acExtend, TCase::LineEdge, { 40, 30 }, { 50, 60 }, { 80, 60 }, { 52, 60 },
            { { { 40, 60 }, { 80, 60 } } } },
        { "extend line to arc", acExtend, TCase::ArcEdge, { 43, 43 }, { 50, 20 }, { 50, 35 }, { 50, 33 },
            { { { 50, 20 }, { 50, 40 } } } },
        { "extend parallel lines never meet", acExtend, TCase::LineEdge, { 40, 30 }, { 45, 20 }, { 45, 30 },
            { 45, 28 }, {} },
        { "extend away from the edge", acExtend, TCase::LineEdge, { 40, 30 }, { 50, 50 }, { 60, 50 },
            { 58, 50 }, {} },
        { "extend a click on nothing", acExtend, TCase::LineEdge, { 40, 30 }, { 10, 50 }, { 30, 50 },
            { 90, 90 }, {} },
        { "extend to a reference line", acExtend, TCase::RefLineEdge, { 70, 10 }, { 10, 50 }, { 30, 50 },
            { 28, 50 }, { { { 10, 50 }, { 70, 50 } } } },
    };
    return cases;
}

} // namespace

TEST_F(ModifyTools, TrimAndExtendGiveExactMicrometresAtEveryZoomAndScale)
{
    for (const auto& [zoom, scale] : { std::pair { TZORZoom::zm100, 1 }, std::pair { TZORZoom::zm200, 2 } }) {
        for (const TCase& c : Cases()) {
            SCOPED_TRACE(testing::Message() << c.name << " at zoom " << int(zoom) << ", 1:" << scale);
            Open(zoom, scale);
            switch (c.edge) {
            case TCase::LineEdge:
                Line({ 40, 20 }, { 40, 80 });
                break;
            case TCase::ArcEdge:
                label->AddBaseArc(B({ 50, 50 }).X, B({ 50, 50 }).Y, 10 * k, float(std::numbers::pi),
                    float(std::numbers::pi));
                break;
            case TCase::CircleEdge:
                label->AddBaseCircle(B({ 50, 50 }).X, B({ 50, 50 }).Y, 10 * k);
                break;
            case TCase::RefLineEdge:
                ASSERT_TRUE(label->AddRefLine(B({ 70, 10 }), B({ 70, 20 })));
                break;
            }
            TZORBaseItem* target = Line(c.targetFrom, c.targetTo);
            const int32_t before = label->GetItemsCount();
            label->ClearUndo();

            Tool(c.action);
            EXPECT_EQ(label->GetState(), stRef1);
            Click(c.edgeClick);
            ASSERT_EQ(label->GetState(), c.action == acTrim ? stTrimTarget : stExtendTarget);
            Click(c.targetClick);
            Key(Qt::Key_Escape);
            EXPECT_EQ(label->GetAction(), acSelect);

            if (c.result.empty()) {
                EXPECT_EQ(label->GetItemsCount(), before);
                EXPECT_EQ(Ends(*target), B({ c.targetFrom, c.targetTo }));
                EXPECT_FALSE(label->CanUndo());
                continue;
            }
            ASSERT_EQ(label->GetItemsCount(), before - 1 + int32_t(c.result.size()));
            for (size_t i = 0; i < c.result.size(); ++i) {
                const TZORBaseItem& piece = *label->GetItem(before + int32_t(i));
                EXPECT_EQ(piece.TypeCode(), TZORItemType::Line);
                EXPECT_EQ(Ends(piece), B({ c.result[i].first, c.result[i].second })) << "piece " << i;
            }
            // One step takes it all back.
            ASSERT_TRUE(label->Undo());
            EXPECT_FALSE(label->CanUndo());
            ASSERT_EQ(label->GetItemsCount(), before);
            EXPECT_EQ(Ends(*label->GetItem(before)), B({ c.targetFrom, c.targetTo }));
        }
    }
}

TEST_F(ModifyTools, TrimmingACircleLeavesTheArcOutsideTheEdges)
{
    label->AddBaseCircle(50000, 50000, 10000);
    Line({ 20, 50 }, { 80, 50 });
    label->ClearUndo();
    Tool(acTrim);
    Click({ 30, 50 }); // the line is the edge
    Click({ 50, 40 }); // the upper half goes
    Key(Qt::Key_Escape);
    ASSERT_EQ(label->GetItemsCount(), 2);
    const auto* arc = dynamic_cast<const TZORBaseArc*>(label->GetItem(2));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->GetBaseCenterX(), 50000);
    EXPECT_EQ(arc->GetBaseCenterY(), 50000);
    EXPECT_EQ(arc->GetBaseRadio(), 10000);
    // From (60, 50) clockwise on screen through (50, 60) to (40, 50).
    EXPECT_EQ(arc->GetPto(1), (TZORPto { 60000, 50000 }));
    EXPECT_EQ(arc->GetPto(2), (TZORPto { 50000, 60000 }));
    EXPECT_EQ(arc->GetPto(3), (TZORPto { 40000, 50000 }));
    ASSERT_TRUE(label->Undo());
    ASSERT_EQ(label->GetItemsCount(), 2);
    EXPECT_EQ(label->GetItem(1)->TypeCode(), TZORItemType::Circle);
}

TEST_F(ModifyTools, ExtendingAnArcReachesTheLine)
{
    // The quarter from (60, 50) clockwise to (50, 60); the line x = 40 takes it on to (40, 50).
    label->AddBaseArc(50000, 50000, 10000, 0.0f, float(std::numbers::pi / 2));
    Line({ 40, 40 }, { 40, 70 });
    Tool(acExtend);
    Click({ 40, 45 });
    Click({ 51, 60 }); // near the arc's end
    Key(Qt::Key_Escape);
    const auto* arc = dynamic_cast<const TZORBaseArc*>(label->GetItem(1));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->GetPto(1), (TZORPto { 60000, 50000 }));
    EXPECT_EQ(arc->GetPto(3), (TZORPto { 40000, 50000 }));
}

TEST_F(ModifyTools, OffsetTakesTheTypedDistanceAndTheSideAsOneStep)
{
    Line({ 20, 50 }, { 70, 50 });
    label->AddBaseCircle(150000, 50000, 10000);
    label->AddBaseRectangle(100000, 20000, 20000, 10000); // (100, 20) to (120, 30)
    label->ClearUndo();
    Tool(acOffset);
    const struct {
        Mm pick;
        const char* distance;
        Mm side;
        TPoints expected;
    } cases[] = {
        { { 45, 50 }, "5", { 45, 30 }, B({ { 20, 45 }, { 70, 45 } }) },
        { { 45, 50 }, "2.5", { 45, 80 }, B({ { 20, 52.5 }, { 70, 52.5 } }) },
        // Inside the circle it shrinks, outside it grows: the box round the new circle.
        { { 160, 50 }, "4", { 150, 50 }, B({ { 144, 44 }, { 156, 56 } }) },
        { { 160, 50 }, "4", { 170, 50 }, B({ { 136, 36 }, { 164, 64 } }) },
        { { 110, 20 }, "3", { 90, 10 }, B({ { 97, 17 }, { 123, 33 } }) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        const int32_t before = label->GetItemsCount();
        Click(c.pick);
        ASSERT_EQ(label->GetState(), stDistance);
        QTest::keyClicks(&editor->Surface(), QString::fromLatin1(c.distance));
        Key(Qt::Key_Return);
        ASSERT_EQ(label->GetState(), stSide);
        Click(c.side);
        EXPECT_EQ(label->GetState(), stRef1); // ready for the next element
        ASSERT_EQ(label->GetItemsCount(), before + 1);
        const TZORBaseItem& copy = *label->GetItem(before + 1);
        EXPECT_EQ(Ends(copy), c.expected);
        ASSERT_TRUE(label->Undo());
        EXPECT_EQ(label->GetItemsCount(), before);
    }
    // A click on nothing picks nothing; Esc ends the tool.
    Click({ 200, 90 });
    EXPECT_EQ(label->GetState(), stRef1);
    Key(Qt::Key_Escape);
    EXPECT_EQ(label->GetAction(), acSelect);
}

TEST_F(ModifyTools, OffsetThroughAClickedPoint)
{
    Line({ 20, 50 }, { 70, 50 });
    Tool(acOffset);
    Click({ 45, 50 });
    Click({ 30, 57 }); // seven millimetres below
    ASSERT_EQ(label->GetItemsCount(), 2);
    EXPECT_EQ(Ends(*label->GetItem(2)), B({ { 20, 57 }, { 70, 57 } }));
}

TEST_F(ModifyTools, RadiusAndDiameterDimensionsMeasureTheClickedCircle)
{
    label->AddBaseCircle(50000, 50000, 10000);
    const double ext = label->GetActiveDimStyle()->GetExtSize();
    const int64_t e1 = std::llround(ext * 2000.0), e2 = std::llround(ext); // drawing scale 1
    const TZORPto C { 50000, 50000 }, P { 60000, 50000 }, P2 { 40000, 50000 }, Q { 60000 + e2, 50000 };
    const TZORPto endIn { 60000 + e1, 50000 }, endOut { Q.X + 2 * e2, 50000 };
    const struct {
        int32_t action;
        TZRDimType type;
        TPoints points;
    } cases[] = {
        { acDimRadius, TZRDimType::Radius, { C, P, P, endIn, C, P, P, endIn } },
        { acDimRadiusOut, TZRDimType::RadiusOut, { C, P, Q, endOut, C, P, P, endOut } },
        { acDimDiameter, TZRDimType::Diameter, { P, P2, P, endIn, P, P2, P2, endIn } },
        { acDimDiameterOut, TZRDimType::DiameterOut, { C, P, Q, endOut, C, P, P, endOut } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        label->ClearUndo();
        Tool(c.action);
        Click({ 80, 80 }); // nothing there: still waiting for the circle
        EXPECT_EQ(label->GetState(), stFirst);
        Click({ 50, 40 }); // on the circle
        ASSERT_EQ(label->GetState(), stSecond);
        Click({ 75, 50 }); // the text to the right: angle 0
        Key(Qt::Key_Escape);
        const auto* dim = dynamic_cast<const TZORBaseDim*>(label->GetItem(label->GetItemsCount()));
        ASSERT_NE(dim, nullptr);
        EXPECT_EQ(dim->GetDimType(), c.type);
        for (int32_t i = 1; i <= 8; ++i)
            EXPECT_EQ(dim->GetPoint(i), c.points[size_t(i - 1)]) << "point " << i;
        ASSERT_TRUE(label->Undo());
        EXPECT_FALSE(label->CanUndo());
    }
}

TEST_F(ModifyTools, ReferenceLinesAreClickedSavedInBothFormsAndUndone)
{
    Tool(acRefLine);
    Click({ 40, 30 });
    EXPECT_EQ(label->GetState(), stRef2);
    EXPECT_EQ(TAct::fDrawType, dtLine);
    Click({ 60, 30 });
    EXPECT_EQ(label->GetState(), stRef1);
    Click({ 100, 10 });
    Click({ 100, 20 });
    Key(Qt::Key_Escape);
    // Each runs from edge to edge of the paper (250 x 100 mm).
    ASSERT_EQ(label->GetRefLinesCount(), 2);
    EXPECT_EQ(label->GetRefLine(1)->P1, (TZORPto { 0, 30000 }));
    EXPECT_EQ(label->GetRefLine(1)->P2, (TZORPto { 250000, 30000 }));
    EXPECT_EQ(label->GetRefLine(2)->P1, (TZORPto { 100000, 0 }));
    EXPECT_EQ(label->GetRefLine(2)->P2, (TZORPto { 100000, 100000 }));
    EXPECT_EQ(label->GetRefLine(3), nullptr);

    for (const auto& [name, kind] :
        { std::pair { "lines.eti", TZORExt::Binary }, std::pair { "lines.json", TZORExt::Json } }) {
        SCOPED_TRACE(name);
        const QString path = Path(QString::fromLatin1(name));
        label->SaveToFile(path, kind);
        TZORLabelVCL copy;
        copy.LoadFromFile(path);
        ASSERT_EQ(copy.GetRefLinesCount(), 2);
        EXPECT_EQ(*copy.GetRefLine(1), *label->GetRefLine(1));
        EXPECT_EQ(*copy.GetRefLine(2), *label->GetRefLine(2));
    }
    ASSERT_TRUE(label->Undo());
    EXPECT_EQ(label->GetRefLinesCount(), 1);
    ASSERT_TRUE(label->Undo());
    EXPECT_EQ(label->GetRefLinesCount(), 0);
    ASSERT_TRUE(label->Redo());
    EXPECT_EQ(label->GetRefLinesCount(), 1);
    EXPECT_TRUE(label->DeleteRefLine(1));
    EXPECT_FALSE(label->DeleteRefLine(1));
    EXPECT_EQ(label->GetRefLinesCount(), 0);
}

TEST_F(ModifyTools, AFileOlderThanReferenceLinesReadsWithoutThem)
{
    // An empty label's stream ends with the reference-line count, the symbol count and the
    // element count; a file of the version before has no first one.
    QByteArray bytes;
    {
        TBinaryWriter w(&bytes);
        label->WriteLabel(w);
    }
    ASSERT_EQ(bytes.right(12), QByteArray(12, '\0'));
    bytes.remove(bytes.size() - 12, 4);
    const int32_t older = ZORRefLinesVersion - 1;
    bytes.replace(0, 4, QByteArray(reinterpret_cast<const char*>(&older), 4));
    TZORLabelVCL old;
    old.AddRefLine({ 0, 0 }, { 1000, 1000 });
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    old.LoadFromStream(&buffer);
    EXPECT_EQ(old.GetRefLinesCount(), 0);
}

// A reference line shows as soon as it is made; ShowRefLines is about moving along them.
TEST_F(ModifyTools, AReferenceLineIsDrawnInItsColour)
{
    editor->SelectionColors().fRefLine = TColor(0x0000FF); // red
    ASSERT_TRUE(label->AddRefLine(B({ 100, 0 }), B({ 100, 10 })));
    editor->Surface().DrawEditor();
    const auto redOn = [&](const QImage& image) {
        const QPoint top = At({ 100, 5 }), bottom = At({ 100, 95 });
        int n = 0;
        for (int y = top.y(); y <= bottom.y(); ++y)
            for (int x = top.x() - 1; x <= top.x() + 1; ++x)
                n += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
        return n;
    };
    const auto shown
        = [&] { return editor->Surface().grab().toImage().convertToFormat(QImage::Format_ARGB32); };
    EXPECT_FALSE(editor->GetShowRefLines());
    EXPECT_GT(redOn(shown()), 50);
}

TEST_F(ModifyTools, TheLinkMarkerShowsOverTheAnchorUnderThePointer)
{
    label->AddBaseRectangle(40000, 40000, 20000, 10000);
    editor->SelectionColors().fDraw = TColor(0xFF0000); // blue
    Tool(acLink);
    TZORink link;
    ASSERT_TRUE(label->SearchLink(40000, 40000, link, 2000));
    const QPoint anchor(editor->Surface().G.ScreenMMX(link.X), editor->Surface().G.ScreenMMY(link.Y));
    const auto blue = [&] {
        const QImage image = editor->Surface().grab().toImage().convertToFormat(QImage::Format_ARGB32);
        int n = 0;
        for (int y = anchor.y() - 7; y <= anchor.y() + 8; ++y)
            for (int x = anchor.x() - 7; x <= anchor.x() + 8; ++x)
                n += image.pixelColor(x, y) == QColor(0, 0, 255) ? 1 : 0;
        return n;
    };
    Send(QEvent::MouseMove, At({ 150, 80 }), Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(editor->Surface().Input().Link().Found);
    EXPECT_EQ(blue(), 0);
    Send(QEvent::MouseMove, anchor, Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(editor->Surface().Input().Link().Found);
    EXPECT_GT(blue(), 20);
}

TEST_F(ModifyTools, TheCrossingSnapFindsReferenceLines)
{
    ASSERT_TRUE(label->AddRefLine({ 100000, 0 }, { 100000, 10000 }));
    ASSERT_TRUE(label->AddRefLine({ 0, 70000 }, { 10000, 70000 }));
    Line({ 80, 50 }, { 120, 50 });
    const struct {
        TZORPto pointer;
        std::optional<TZORPto> snapped;
    } cases[] = {
        { { 100400, 50300 }, TZORPto { 100000, 50000 } }, // the line and a reference line
        { { 100300, 69800 }, TZORPto { 100000, 70000 } }, // two reference lines
        { { 100400, 60000 }, std::nullopt }, // along one reference line only
    };
    for (const auto& c : cases) {
        TZORRef ref;
        const bool found = label->SearchPoint(c.pointer.X, c.pointer.Y, 1000, TZORSnap::Cross, ref, false);
        ASSERT_EQ(found, c.snapped.has_value()) << c.pointer.X << ", " << c.pointer.Y;
        if (found) {
            EXPECT_EQ((TZORPto { ref.X, ref.Y }), *c.snapped);
        }
    }
}
