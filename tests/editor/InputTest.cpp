// Mouse and keyboard on a real editor over a real label: picking, drags, handles, the grid and
// object snaps, drawing every kind, the typed-value box, the keys, the clipboard and undo.

#include "Pointer.h"
#include "ShownEditor.h"
#include "Zor.Edit.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Stream.h"
#include "Zor.Text.h"
#include "Zor.Version.h"
#include "common/ItemSamples.h"
#include "drawing/Zor.Vcl.Types.h"
#include "editor/Zor.EditorInput.h"
#include "editor/Zor.ValueBox.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

using namespace zor;

namespace {

using zor::test::Record;
using zor::test::TPointer;

// A page of 250 x 100 mm at 100 % and 96 dpi with a box from (10, 10) to (30, 20) mm.
class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        label.Measure().SetPaperWidth(250000);
        label.Measure().SetPaperHeight(100000);
        label.Measure().SetWidth(250000);
        label.Measure().SetHeight(100000);
        box = label.AddBaseRectangle(10000, 10000, 20000, 10000);
        box->SetFilled(true);
        editor = MakeEditor(label);
        mouse = { &editor->Surface() };
        label.ClearUndo();
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }

    static std::unique_ptr<TZOREditor> MakeEditor(TZORLabelVCL& l)
    {
        return zor::test::ShownEditor(l, { 1060, 520 });
    }

    TZOREditorGeometry& G() { return editor->Surface().G; }
    // The surface pixel of a paper point in millimetres.
    QPoint At(double xmm, double ymm)
    {
        return { G().ScreenMMX(int64_t(xmm * 1000)), G().ScreenMMY(int64_t(ymm * 1000)) };
    }
    void Tool(int32_t action)
    {
        TAct::SetCurAction(action);
        label.Notify(TZRChange::Tool);
    }
    TZORValueBox& Box() { return editor->Surface().Input().ValueBox(); }

    TZORLabelVCL label;
    TZORRectangle* box = nullptr;
    std::unique_ptr<TZOREditor> editor;
    TPointer mouse { nullptr };
};

} // namespace

TEST_F(Input, AClickSelectsAndFiresTheEventInTheLabelsUnit)
{
    double x = 0, y = 0;
    int presses = 0;
    editor->OnMouseDown = [&](TZORBaseEditor&, Qt::MouseButton, Qt::KeyboardModifiers, double wx, double wy) {
        ++presses;
        x = wx;
        y = wy;
    };
    mouse.Click(At(20, 15));
    EXPECT_EQ(label.Select(), box);
    EXPECT_EQ(label.GetSelectionCount(), 1);
    EXPECT_EQ(presses, 1);
    EXPECT_NEAR(x, 20.0, 0.3);
    EXPECT_NEAR(y, 15.0, 0.3);
    mouse.Click(At(100, 60));
    EXPECT_EQ(label.GetSelectionCount(), 0);
    EXPECT_EQ(TAct::fCurAction, acSelect);
}

// 96 pixels at 100 % and 96 dpi are one inch, exactly; the drag is one step of the history.
TEST_F(Input, ADragMovesByTheExactAmountAsOneUndoStep)
{
    const TZORRect start = box->GetBounds();
    const QPoint from = At(20, 10);
    mouse.Drag(from, from + QPoint(96, 48));
    const TZORRect end = box->GetBounds();
    EXPECT_EQ(end.Left - start.Left, 25400);
    EXPECT_EQ(end.Top - start.Top, 12700);
    EXPECT_EQ(end.GetWidth(), start.GetWidth());
    EXPECT_FALSE(TAct::fCurEditor);
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItem(1)->GetBounds(), start);
    EXPECT_FALSE(label.CanUndo());
}

// A release off the paper still ends the drag: the element no longer follows the pointer.
TEST_F(Input, AReleaseOffThePaperEndsTheDrag)
{
    const QPoint from = At(20, 15);
    mouse.Hover(from);
    mouse.Press(from);
    mouse.DragTo(from + QPoint(20, 0));
    mouse.Release(QPoint(2, 2));
    EXPECT_FALSE(TAct::fCurEditor);
    EXPECT_EQ(TAct::fCurAction, acSelect);
    const TZORRect after = label.GetItem(1)->GetBounds();
    mouse.Hover(from + QPoint(60, 30));
    EXPECT_EQ(label.GetItem(1)->GetBounds(), after);
}

// A corner handle resizes the box from the opposite corner; the hover shows the sizing cursor.
TEST_F(Input, ACornerHandleDragResizesAsOneUndoStep)
{
    const struct {
        double hx, hy;
        QPoint by;
        Qt::CursorShape cursor;
        TZORRect expected;
    } rows[] = {
        { 30, 20, { 96, 48 }, Qt::SizeFDiagCursor, { 10000, 10000, 55400, 32700 } },
        { 10, 10, { -24, -12 }, Qt::SizeFDiagCursor, { 3650, 6825, 30000, 20000 } },
        { 30, 10, { 48, -12 }, Qt::SizeBDiagCursor, { 10000, 6825, 42700, 20000 } },
    };
    for (const auto& r : rows) {
        mouse.Click(At(20, 15));
        ASSERT_EQ(label.Select(), label.GetItem(1));
        const TZORRect start = label.GetItem(1)->GetBounds();
        mouse.Hover(At(r.hx, r.hy));
        EXPECT_EQ(editor->Surface().cursor().shape(), r.cursor) << r.hx << " " << r.hy;
        mouse.Drag(At(r.hx, r.hy), At(r.hx, r.hy) + r.by);
        EXPECT_EQ(label.GetItem(1)->GetBounds().Normalized(), r.expected) << r.hx << " " << r.hy;
        ASSERT_TRUE(label.Undo());
        EXPECT_EQ(label.GetItem(1)->GetBounds(), start);
        EXPECT_FALSE(label.CanUndo());
    }
}

// With grid snapping the clicks of a tool, the rubber band and a dragged end land on the grid.
TEST_F(Input, GridSnapPutsPointsOnTheGrid)
{
    editor->SetSnap(SnapBit(TZORSnap::Grid));
    editor->Grid().SetIncX(5);
    editor->Grid().SetIncY(5);
    Tool(acLine);
    mouse.Click(At(41, 29));
    mouse.Hover(At(62, 51.5));
    EXPECT_EQ(editor->Surface().State().Pointer, At(60, 50));
    mouse.Click(At(62, 51.5));
    ASSERT_EQ(label.GetItemsCount(), 2);
    TZORBaseItem* line = label.GetItem(2);
    EXPECT_EQ(line->GetPoint(1), (TZORPto { 40000, 30000 }));
    EXPECT_EQ(line->GetPoint(2), (TZORPto { 60000, 50000 }));
    mouse.Key(Qt::Key_Escape);
    EXPECT_EQ(TAct::fCurAction, acSelect);
    label.Select(line);
    mouse.Drag(At(60, 50), At(73, 52));
    EXPECT_EQ(line->GetPoint(2), (TZORPto { 75000, 50000 }));
    EXPECT_EQ(line->GetPoint(1), (TZORPto { 40000, 30000 }));
}

// A line's end dragged near both the middle of one line and the end of another goes to the end
// point when end points are snapped to, whatever lies nearer.
TEST_F(Input, AnEndPointSnapBeatsAMiddlePoint)
{
    label.AddBaseLine(10000, 40000, 50000, 40000); // middle at (30, 40)
    label.AddBaseLine(31500, 41000, 31500, 55000); // an end at (31.5, 41)
    const uint16_t end = SnapBit(TZORSnap::End), middle = SnapBit(TZORSnap::Middle);
    const struct {
        uint16_t snaps;
        TZORPto expected;
        bool marked;
    } rows[] = {
        { uint16_t(end | middle), { 31500, 41000 }, true },
        { middle, { 30000, 40000 }, true },
        { uint16_t(end | middle | SnapBit(TZORSnap::Grid)), { 31500, 41000 }, true },
    };
    for (const auto& r : rows) {
        TZORLine* moved = label.AddBaseLine(80000, 10000, 90000, 10000);
        editor->SetSnap(r.snaps);
        mouse.Click(At(85, 10));
        ASSERT_EQ(label.Select(), moved);
        mouse.Hover(At(90, 10));
        mouse.Press(At(90, 10));
        mouse.DragTo(At(50, 30));
        mouse.DragTo(At(30, 40.5));
        EXPECT_EQ(editor->Surface().State().SnapMark.Shown, r.marked) << r.snaps;
        mouse.Release(At(30, 40.5));
        EXPECT_EQ(moved->GetPoint(2), r.expected) << r.snaps;
        EXPECT_EQ(moved->GetPoint(1), (TZORPto { 80000, 10000 }));
        label.DeleteSelection();
    }
    // A tool's click takes the end point as well, before the grid.
    editor->SetSnap(end | middle | SnapBit(TZORSnap::Grid));
    Tool(acLine);
    mouse.Click(At(30, 40.5));
    ASSERT_EQ(TAct::NumPoints(), 1);
    EXPECT_EQ(TAct::GetPointX(0), 31500);
    EXPECT_EQ(TAct::GetPointY(0), 41000);
}

// Every kind is drawn by its tool's clicks on the surface (texts typed in place), then the label
// is saved in both forms and read back element for element.
TEST_F(Input, EveryKindIsDrawnWithTheMouseAndReadsBackEqual)
{
    auto symbol = std::make_unique<TZORLibSymbol>();
    QString error;
    ASSERT_TRUE(symbol->ReadJson(TJsonObject::Parse(QStringLiteral(R"({"Name":"Valve","ID":"{7}","Def":[]})")), error));
    label.AddSymbol(std::move(symbol), true);
    const struct {
        int32_t action;
        std::vector<QPointF> clicks; // millimetres
        bool right;
        TZORItemType type;
    } cases[] = {
        { acPoint, { { 5, 5 } }, false, TZORItemType::Point },
        { acLine, { { 40, 5 }, { 60, 8 } }, false, TZORItemType::Line },
        { acArrowLine, { { 40, 25 }, { 60, 25 } }, false, TZORItemType::ArrowLine },
        { acPolyLine, { { 5, 30 }, { 15, 30 }, { 15, 40 } }, true, TZORItemType::PolyLine },
        { acArc3P, { { 70, 20 }, { 80, 30 }, { 90, 20 } }, false, TZORItemType::Arc },
        { acRectangle, { { 30, 50 }, { 10, 45 } }, false, TZORItemType::Rectangle },
        { acPolygon, { { 5, 60 }, { 15, 60 }, { 10, 70 } }, true, TZORItemType::Polygon },
        { acCircle, { { 100, 10 }, { 105, 10 } }, false, TZORItemType::Circle },
        { acEllipse, { { 100, 30 }, { 108, 30 }, { 100, 34 } }, false, TZORItemType::Ellipse },
        { acText, { { 5, 80 } }, false, TZORItemType::Text },
        { acParagraph, { { 20, 75 }, { 40, 85 } }, false, TZORItemType::Paragraph },
        { acBarcode, { { 5, 90 } }, false, TZORItemType::Barcode },
        { acPDF417, { { 50, 90 } }, false, TZORItemType::PDF417 },
        { acDataMatrix, { { 70, 90 } }, false, TZORItemType::DataMatrix },
        { acQRCode, { { 90, 90 } }, false, TZORItemType::QRCode },
        { acImage, { { 120, 5 }, { 140, 20 } }, false, TZORItemType::Image },
        { acFlow, { { 120, 30 }, { 140, 40 } }, false, TZORItemType::Flow },
        { acFlow, { { 120, 60 }, { 140, 70 } }, false, TZORItemType::Flow },
        { acTable, { { 150, 5 }, { 180, 20 } }, false, TZORItemType::Table },
        { acPolyText, { { 150, 30 } }, false, TZORItemType::PolyText },
        { acRank, { { 150, 50 }, { 180, 55 } }, false, TZORItemType::Rank },
        { acNutriScore, { { 150, 60 }, { 180, 70 } }, false, TZORItemType::NutriScore },
        { acLevel, { { 160, 85 }, { 160, 90 } }, false, TZORItemType::Level },
        { acSymbol, { { 190, 10 } }, false, TZORItemType::Symbol },
        { acBezier, { { 190, 30 }, { 200, 40 }, { 210, 30 } }, true, TZORItemType::Bezier },
        { acDim, { { 190, 60 }, { 220, 60 }, { 205, 70 } }, false, TZORItemType::Dim },
        { acSector, { { 200, 85 }, { 206, 85 } }, false, TZORItemType::Sector },
        { acPackage, { { 215, 5 }, { 245, 25 } }, false, TZORItemType::Package },
        { acRichText, { { 215, 75 }, { 245, 95 } }, false, TZORItemType::RichText },
    };
    for (const auto& c : cases) {
        Tool(c.action);
        for (const QPointF& p : c.clicks)
            mouse.Click(At(p.x(), p.y()));
        if (c.right)
            mouse.Click(At(c.clicks.back().x(), c.clicks.back().y()), Qt::RightButton);
        TZORBaseItem* made = label.Select();
        ASSERT_NE(made, nullptr) << c.action;
        EXPECT_EQ(made->TypeCode(), c.type) << c.action;
        if (label.GetTextObject())
            mouse.Type(QStringLiteral("Typed"));
        mouse.Key(Qt::Key_Escape);
        EXPECT_EQ(TAct::fCurAction, acSelect) << c.action;
    }
    // The link joins the two flowchart nodes at the anchors under the pointer.
    Tool(acLink);
    mouse.Click(At(140, 35));
    mouse.Click(At(130, 60));
    ASSERT_NE(label.Select(), nullptr);
    EXPECT_EQ(label.Select()->TypeCode(), TZORItemType::Link);
    mouse.Key(Qt::Key_Escape);

    std::vector<TZORItemType> kinds;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        kinds.push_back(label.GetItem(i)->TypeCode());
    for (int32_t code = 1; code <= 29; ++code)
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), TZORItemType(code)), kinds.end()) << code;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        if (const auto* text = dynamic_cast<const TZORBaseText*>(label.GetItem(i))) {
            EXPECT_EQ(text->GetText(), QStringLiteral("Typed"));
        }
    }

    QTemporaryDir dir;
    for (TZORExt form : { TZORExt::Binary, TZORExt::Json }) {
        const QString name = dir.filePath(form == TZORExt::Binary ? QStringLiteral("drawn.eti") : QStringLiteral("drawn.json"));
        label.SaveToFile(name, form);
        TZORLabelVCL read;
        read.LoadFromFile(name);
        ASSERT_EQ(read.GetItemsCount(), label.GetItemsCount()) << int(form);
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
            EXPECT_EQ(Record(*read.GetItem(i)), Record(*label.GetItem(i)))
                << int(form) << " " << int(label.GetItem(i)->TypeCode());
    }
}

TEST(ValueInput, TypingKeepsOnlyWhatMakesAValue)
{
    const struct {
        const char* typed;
        const char* text;
    } rows[] = {
        { "10,5", "10,5" }, { "1,,2", "1,2" }, { "@@2,3", "@2,3" }, { "-4,-5", "-4,-5" }, { "5-", "5" },
        { "--1", "-1" }, { "a1b.5", "1.5" }, { "<<1", "<1" }, { "@-2,0", "@-2,0" },
    };
    for (const auto& r : rows) {
        TZORValueInput input;
        for (QChar c : QString::fromLatin1(r.typed))
            input.Type(c);
        EXPECT_EQ(input.Text(), QString::fromLatin1(r.text)) << r.typed;
        EXPECT_EQ(input.Caret(), input.Text().size()) << r.typed;
    }
    TZORValueInput input;
    for (QChar c : QStringLiteral("125"))
        input.Type(c);
    EXPECT_TRUE(input.Left());
    EXPECT_TRUE(input.Backspace());
    EXPECT_EQ(input.Text(), QStringLiteral("15"));
    EXPECT_TRUE(input.Delete());
    EXPECT_EQ(input.Text(), QStringLiteral("1"));
    EXPECT_FALSE(input.Delete());
    EXPECT_FALSE(input.Right());
}

TEST(ValueInput, EvaluationGivesPointsAndLengths)
{
    using TKind = TZORValueInput::TResult::TKind;
    const auto mm = [](double v) { return int64_t(std::llround(v * 1000)); };
    const std::optional<TZORPto> none;
    const std::optional<TZORPto> last = TZORPto { 10000, 5000 };
    const struct {
        const char* text;
        std::optional<TZORPto> last;
        TKind kind;
        TZORPto point;
        int64_t length;
    } rows[] = {
        { "10,5", none, TKind::Point, { 10000, 5000 }, 0 },
        { "1.5,-2", none, TKind::Point, { 1500, -2000 }, 0 },
        { "@2,0", last, TKind::Point, { 12000, 5000 }, 0 },
        { "@2,0", none, TKind::Point, { 2000, 0 }, 0 },
        { "@", last, TKind::Point, { 10000, 5000 }, 0 },
        { "@", none, TKind::None, {}, 0 },
        { "12", none, TKind::Length, {}, 12000 },
        { ",5", none, TKind::None, {}, 0 },
        { ".", none, TKind::None, {}, 0 },
        { "<5", none, TKind::None, {}, 0 },
    };
    for (const auto& r : rows) {
        TZORValueInput input;
        for (QChar c : QString::fromLatin1(r.text))
            input.Type(c);
        const auto result = input.Evaluate(mm, r.last);
        EXPECT_EQ(result.Kind, r.kind) << r.text;
        if (r.kind == TKind::Point) {
            EXPECT_EQ(result.Point, r.point) << r.text;
        }
        EXPECT_EQ(result.Length, r.length) << r.text;
    }
}

// Typed values place a tool's points: absolute, relative to the last point, the last point
// again, and a length.
TEST_F(Input, TheValueBoxPlacesPointsAndLengths)
{
    Tool(acLine);
    mouse.Type(QStringLiteral("10,5"));
    EXPECT_TRUE(Box().IsOpen());
    EXPECT_EQ(Box().Input().Text(), QStringLiteral("10,5"));
    mouse.Key(Qt::Key_Return);
    EXPECT_FALSE(Box().IsOpen());
    ASSERT_EQ(TAct::NumPoints(), 1);
    EXPECT_EQ(TAct::GetPointX(0), 10000);
    EXPECT_EQ(TAct::GetPointY(0), 5000);
    mouse.Type(QStringLiteral("@2,0"));
    mouse.Key(Qt::Key_Return);
    ASSERT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.GetItem(2)->GetPoint(1), (TZORPto { 10000, 5000 }));
    EXPECT_EQ(label.GetItem(2)->GetPoint(2), (TZORPto { 12000, 5000 }));
    mouse.Type(QStringLiteral("@"));
    mouse.Key(Qt::Key_Return);
    mouse.Type(QStringLiteral("@0,3"));
    mouse.Key(Qt::Key_Return);
    ASSERT_EQ(label.GetItemsCount(), 3);
    EXPECT_EQ(label.GetItem(3)->GetPoint(1), (TZORPto { 12000, 5000 }));
    EXPECT_EQ(label.GetItem(3)->GetPoint(2), (TZORPto { 12000, 8000 }));
    mouse.Key(Qt::Key_Escape);

    Tool(acRectangle);
    mouse.Type(QStringLiteral("20,20"));
    mouse.Key(Qt::Key_Return);
    mouse.Type(QStringLiteral("12"));
    mouse.Key(Qt::Key_Return);
    ASSERT_EQ(label.GetItemsCount(), 4);
    EXPECT_EQ(label.GetItem(4)->GetBounds().Normalized(), (TZORRect { 20000, 20000, 32000, 32000 }));
    // A text that does not read changes nothing and leaves the box open.
    mouse.Type(QStringLiteral(",5"));
    mouse.Key(Qt::Key_Return);
    EXPECT_EQ(label.GetItemsCount(), 4);
    EXPECT_EQ(TAct::NumPoints(), 0);
    EXPECT_TRUE(Box().IsOpen());
    // A press closes it.
    mouse.Click(At(100, 50));
    EXPECT_FALSE(Box().IsOpen());
}

// Ctrl and an arrow move by one grid step with grid snapping, else by the move step; Shift and
// an arrow size the selection.
TEST_F(Input, CtrlArrowsMoveByAGridStepAndShiftArrowsSize)
{
    editor->SetMoveX(2);
    editor->SetMoveY(3);
    editor->Grid().SetIncX(5);
    editor->Grid().SetIncY(4);
    const struct {
        bool grid;
        int key;
        Qt::KeyboardModifiers keys;
        TZORRect expected; // from (10, 10)-(30, 20)
    } rows[] = {
        { true, Qt::Key_Right, Qt::ControlModifier, { 15000, 10000, 35000, 20000 } },
        { true, Qt::Key_Up, Qt::ControlModifier, { 10000, 6000, 30000, 16000 } },
        { false, Qt::Key_Left, Qt::ControlModifier, { 8000, 10000, 28000, 20000 } },
        { false, Qt::Key_Down, Qt::ControlModifier, { 10000, 13000, 30000, 23000 } },
        { false, Qt::Key_Right, Qt::ShiftModifier, { 10000, 10000, 32000, 20000 } },
        { false, Qt::Key_Up, Qt::ShiftModifier, { 10000, 10000, 30000, 17000 } },
        { false, Qt::Key_Right, Qt::NoModifier, { 10000, 10000, 30000, 20000 } },
    };
    for (const auto& r : rows) {
        editor->SetSnap(r.grid ? SnapBit(TZORSnap::Grid) : 0);
        label.Select(label.GetItem(1));
        mouse.Key(r.key, r.keys);
        EXPECT_EQ(label.GetItem(1)->GetBounds().Normalized(), r.expected) << r.key << " " << r.keys;
        if (label.CanUndo())
            label.Undo();
    }
}

TEST_F(Input, TabF8F9EscAndDelete)
{
    TZORLine* line = label.AddBaseLine(50000, 50000, 70000, 50000);
    label.SetEditable(false);
    mouse.Key(Qt::Key_Tab);
    EXPECT_EQ(label.Select(), box);
    mouse.Key(Qt::Key_Tab);
    EXPECT_EQ(label.Select(), line);
    mouse.Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(label.Select(), box);
    mouse.Key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(label.Select(), line);
    // Not editable: F8 does nothing.
    mouse.Key(Qt::Key_F8);
    EXPECT_FALSE(editor->GetOrtoLines());
    label.SetEditable(true);
    mouse.Key(Qt::Key_F8);
    EXPECT_TRUE(editor->GetOrtoLines());
    const uint16_t snap = editor->GetSnap();
    mouse.Key(Qt::Key_F9);
    EXPECT_EQ(editor->GetSnap(), snap | SnapBit(TZORSnap::Grid));
    EXPECT_EQ(editor->SnapIndicator().GetState(), TZORStateInfo::On);
    mouse.Key(Qt::Key_F9);
    EXPECT_EQ(editor->GetSnap(), snap);
    EXPECT_EQ(editor->SnapIndicator().GetState(), TZORStateInfo::Off);
    // Esc leaves a tool; Delete removes the selection as one step.
    Tool(acRectangle);
    mouse.Key(Qt::Key_Escape);
    EXPECT_EQ(TAct::fCurAction, acSelect);
    label.ClearUndo();
    label.Select(line);
    mouse.Key(Qt::Key_Delete);
    EXPECT_EQ(label.GetItemsCount(), 1);
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItemsCount(), 2);
}

// While a text is edited in place Delete belongs to its text: the element stays.
TEST_F(Input, DeleteWhileATextIsEditedKeepsTheElement)
{
    TZORParagraph* para = label.AddBaseParagraph(40000, 40000, 30000, 10000);
    label.Select(para);
    label.DoDblClick();
    ASSERT_NE(label.GetTextObject(), nullptr);
    ASSERT_EQ(TAct::fDrawType, dtText);
    mouse.Key(Qt::Key_Delete);
    mouse.Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.Select(), para);
}

// A double click does the double click's work once; nothing of the press runs a second time.
TEST_F(Input, ADoubleClickNeverRepeatsThePress)
{
    TZORParagraph* para = label.AddBaseParagraph(40000, 40000, 30000, 10000);
    label.ClearUndo();
    editor->SetOptions(editor->GetOptions() | eoDoubleClick);
    int presses = 0;
    editor->OnMouseDown = [&](TZORBaseEditor&, Qt::MouseButton, Qt::KeyboardModifiers, double, double) { ++presses; };
    const QPoint p = At(50, 45);
    mouse.Hover(p);
    mouse.Press(p);
    mouse.Release(p);
    mouse.Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    mouse.Release(p);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(label.Select(), para);
    EXPECT_NE(label.GetTextObject(), nullptr);
    EXPECT_FALSE(label.CanUndo());
}

TEST_F(Input, CopyAndPasteGoThroughTheSystemClipboardBetweenTwoEditors)
{
    TZORLabelVCL other;
    other.Measure().SetPaperWidth(100000);
    other.Measure().SetPaperHeight(100000);
    other.Measure().SetWidth(100000);
    other.Measure().SetHeight(100000);
    auto second = MakeEditor(other);
    const TPointer mouse2 { &second->Surface() };
    mouse.Click(At(20, 15));
    mouse.Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(ElementsMimeType)));
    mouse2.Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(other.GetItemsCount(), 1);
    EXPECT_EQ(other.GetItem(1)->TypeCode(), TZORItemType::Rectangle);
    EXPECT_EQ(other.GetItem(1)->GetBounds(), box->GetBounds());
    EXPECT_EQ(other.Select(), other.GetItem(1));
    ASSERT_TRUE(other.Undo());
    EXPECT_EQ(other.GetItemsCount(), 0);

    // Elements that do not read (or come from another version) paste nothing and raise nothing.
    for (const QByteArray& version : { QByteArray("\x1e\x0c\0\0", 4), QByteArray("\x01\0\0\0", 4) }) {
        auto* mime = new QMimeData;
        mime->setData(QString::fromLatin1(ElementsMimeType), QByteArray("QNDL") + version + QByteArray("\x01\0\0\0\x63junk", 9));
        QGuiApplication::clipboard()->setMimeData(mime);
        mouse2.Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(other.GetItemsCount(), 0);
    }
}

// Pasting text into the text edited in place inserts it at the caret; a rich text keeps its
// tags and shows markup characters as they are.
TEST_F(Input, PastingAndTypingIntoAnEditedText)
{
    TZORParagraph* para = label.AddBaseParagraph(40000, 40000, 30000, 10000);
    para->SetText(QStringLiteral("abcd"));
    const struct {
        int32_t caret;
        const char* expected;
        int32_t after;
    } rows[] = { { 2, "abXYcd", 4 }, { 0, "XYabcd", 2 }, { 4, "abcdXY", 6 } };
    for (const auto& r : rows) {
        para->SetText(QStringLiteral("abcd"));
        label.Select(para);
        label.DoDblClick();
        TZORDraw& D = editor->Surface().Draw();
        D.aTxt = QStringLiteral("abcd");
        D.aPos = r.caret;
        QGuiApplication::clipboard()->setText(QStringLiteral("XY"));
        mouse.Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(para->GetText(), QString::fromLatin1(r.expected)) << r.caret;
        EXPECT_EQ(D.aPos, r.after);
        label.ResetAction();
    }

    TZORRichText* rich = label.AddBaseRichText(40000, 60000, 40000, 20000);
    rich->SetRichTextValue(QStringLiteral("<B>bold</B> text"));
    label.Select(rich);
    label.DoDblClick();
    TZORDraw& D = editor->Surface().Draw();
    D.aPos = 4;
    QGuiApplication::clipboard()->setText(QStringLiteral("<I>"));
    mouse.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rich->GetPlainText(), QStringLiteral("bold<I> text"));
    EXPECT_TRUE(rich->GetRichText().startsWith(QStringLiteral("<B>bold")));
    EXPECT_EQ(D.aPos, 7);
    mouse.Type(QStringLiteral("<U>"));
    EXPECT_EQ(rich->GetPlainText(), QStringLiteral("bold<I><U> text"));
    EXPECT_EQ(D.aTxt, rich->GetPlainText());
}

// The guide in the top ruler follows the pointer in whole millimetres and stops at the paper's
// left edge.
TEST_F(Input, AGuideIsDraggedFromItsRuler)
{
    TZORRulers& rulers = editor->Rulers();
    rulers.SetShowAlign(true);
    rulers.fAlignLeft = 20000;
    const QPoint grip(At(20, 0).x(), 5);
    mouse.Press(grip);
    EXPECT_EQ(rulers.fDraggingAlign, 1);
    mouse.DragTo(QPoint(At(42.3, 0).x(), 5));
    EXPECT_EQ(rulers.fAlignLeft, 42000);
    mouse.DragTo(QPoint(2, 5));
    EXPECT_EQ(rulers.fAlignLeft, 0);
    mouse.Release(QPoint(2, 5));
    EXPECT_EQ(rulers.fDraggingAlign, 0);
    EXPECT_EQ(label.GetSelectionCount(), 0);
}

// Each gesture of the mouse is one step of the history: undone once, the label is as before.
TEST_F(Input, EveryMouseEditIsOneUndoStep)
{
    TZORLine* line = label.AddBaseLine(50000, 50000, 70000, 50000);
    const struct {
        const char* name;
        std::function<void()> gesture;
    } rows[] = {
        { "a drawn rectangle", [&] {
             Tool(acRectangle);
             mouse.Click(At(100, 20));
             mouse.Click(At(120, 40));
             mouse.Key(Qt::Key_Escape);
         } },
        { "a polyline ended by the right button", [&] {
             Tool(acPolyLine);
             mouse.Click(At(100, 60));
             mouse.Click(At(110, 60));
             mouse.Click(At(110, 70));
             mouse.Click(At(110, 70), Qt::RightButton);
             mouse.Key(Qt::Key_Escape);
         } },
        { "a dragged line end", [&] {
             label.Select(line);
             mouse.Drag(At(70, 50), At(80, 60));
         } },
        { "a selection window and a drag", [&] {
             mouse.Drag(At(5, 5), At(35, 25));
             mouse.Drag(At(15, 15), At(25, 30));
         } },
    };
    for (const auto& r : rows) {
        label.ClearUndo();
        QByteArray before;
        {
            TBinaryWriter w(&before);
            label.WriteLabel(w);
        }
        r.gesture();
        ASSERT_TRUE(label.CanUndo()) << r.name;
        ASSERT_TRUE(label.Undo()) << r.name;
        QByteArray after;
        {
            TBinaryWriter w(&after);
            label.WriteLabel(w);
        }
        EXPECT_EQ(after, before) << r.name;
        EXPECT_FALSE(label.CanUndo()) << r.name;
        line = dynamic_cast<TZORLine*>(label.GetItem(2));
        ASSERT_NE(line, nullptr);
    }
}

// Ortho lines keep a stroke horizontal or vertical from the tool's previous point; a stroke
// exactly as wide as it is high counts as vertical.
TEST_F(Input, OrthoLinesKeepStrokesStraight)
{
    editor->SetOrtoLines(true);
    const struct {
        QPoint by;
        bool vertical;
    } rows[] = { { { 60, 10 }, false }, { { 10, 60 }, true }, { { 38, 38 }, true }, { { -40, 39 }, false } };
    for (const auto& r : rows) {
        Tool(acLine);
        const QPoint from = At(100, 30);
        mouse.Click(from);
        mouse.Hover(from + r.by);
        EXPECT_EQ(editor->Surface().State().Pointer,
            r.vertical ? QPoint(from.x(), from.y() + r.by.y()) : QPoint(from.x() + r.by.x(), from.y()));
        mouse.Click(from + r.by);
        TZORBaseItem* line = label.Select();
        ASSERT_NE(line, nullptr);
        ASSERT_EQ(line->TypeCode(), TZORItemType::Line);
        const int64_t across = r.vertical ? line->GetPoint(2).X - line->GetPoint(1).X
                                          : line->GetPoint(2).Y - line->GetPoint(1).Y;
        EXPECT_EQ(across, 0) << r.by.x() << " " << r.by.y();
        mouse.Key(Qt::Key_Escape);
    }
}

// While a tool follows the pointer only its preview moves: the elements are not drawn again
// until the click that adds one.
TEST_F(Input, APreviewFollowingThePointerKeepsTheRenderedElements)
{
    Tool(acLine);
    mouse.Click(At(40, 40));
    ASSERT_EQ(TAct::NumPoints(), 1);
    const QImage before = editor->Surface().BackImage();
    const int renders = editor->Surface().ElementRenderCount();
    for (const double x : { 60.0, 80.0, 100.0 })
        mouse.Hover(At(x, 60));
    const QImage after = editor->Surface().BackImage();
    EXPECT_EQ(editor->Surface().ElementRenderCount(), renders);
    EXPECT_NE(after, before); // the preview line moved
    mouse.Click(At(100, 60));
    editor->Surface().BackImage();
    EXPECT_GT(editor->Surface().ElementRenderCount(), renders);
}

// A host's tool bar hears of every tool change, also of a tool the editor ends with Esc.
TEST_F(Input, TheEditorTellsTheHostWhenAToolEnds)
{
    QSignalSpy tools(editor.get(), &TZORBaseEditor::ToolChanged);
    Tool(acLine);
    mouse.Click(At(40, 40));
    QTest::keyClick(&editor->Surface(), Qt::Key_Escape);
    std::vector<int> heard;
    for (const QList<QVariant>& args : tools)
        heard.push_back(args.at(0).toInt());
    EXPECT_EQ(heard, (std::vector<int> { acLine, acSelect }));
    EXPECT_EQ(TAct::fCurAction, int(acSelect));
}
