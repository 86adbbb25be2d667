// The tool cursors: each drawn with its own picture and hot spot, the tool table that picks them,
// and the editor's surface taking them from the label's tool changes.

#include "Zor.Act.h"
#include "Zor.Edit.h"
#include "drawing/Zor.Vcl.Types.h"
#include "editor/Zor.Cursors.h"
#include "ShownEditor.h"
#include "editor/Zor.Vcl.Editor.h"
#include "label/Zor.Vcl.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <memory>

using namespace zor;

namespace {

QImage Picture(const QCursor& c)
{
    return c.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

bool HasCursor(int id)
{
    return id >= 5 && id <= 50 && id != 20 && id != 21;
}

} // namespace

// Ids 5 to 50 but 20 and 21 are drawn, 32 pixels square, each unlike every other; the others
// are the arrow.
TEST(ToolCursors, EachIdHasItsOwnPicture)
{
    std::vector<QImage> pictures;
    for (int id = -1; id <= 52; ++id) {
        const QCursor& c = ToolCursor(id);
        if (!HasCursor(id)) {
            EXPECT_EQ(c.shape(), Qt::ArrowCursor) << id;
            EXPECT_STREQ(ToolCursorName(id), "") << id;
            continue;
        }
        EXPECT_EQ(c.shape(), Qt::BitmapCursor) << id;
        const QImage picture = Picture(c);
        ASSERT_EQ(picture.size(), QSize(32, 32)) << id;
        for (size_t k = 0; k < pictures.size(); ++k)
            EXPECT_NE(picture, pictures[k]) << id << " looks like another cursor";
        pictures.push_back(picture);
    }
    EXPECT_EQ(pictures.size(), 44u);
    // The same cursor object every time: the table is the process's.
    EXPECT_EQ(&ToolCursor(9), &ToolCursor(9));
}

// The pointing cursors have their hot spot on the cross at the top left, the move and edit
// cursors in their middle; the hot spot's pixel is drawn.
TEST(ToolCursors, TheHotSpotLiesOnTheDrawing)
{
    const struct {
        int id;
        const char* name;
        QPoint hot;
    } rows[] = {
        { 5, "QN_MOVELEFT", { 16, 16 } },
        { 6, "QN_MOVETOP", { 16, 16 } },
        { 8, "QN_TEXT", { 7, 7 } },
        { 9, "QN_RECT", { 7, 7 } },
        { 10, "QN_SYMB", { 7, 7 } },
        { 19, "QN_REFLINE", { 7, 7 } },
        { 22, "QN_LAYOUT", { 7, 7 } },
        { 28, "QN_HEDIT", { 16, 16 } },
        { 37, "QN_MOVE", { 16, 16 } },
        { 47, "QN_DIST", { 7, 7 } },
        { 50, "QN_DIMRAD", { 7, 7 } },
    };
    for (const auto& r : rows) {
        const QCursor& c = ToolCursor(r.id);
        EXPECT_STREQ(ToolCursorName(r.id), r.name);
        EXPECT_EQ(c.hotSpot(), r.hot) << r.name;
        const QImage picture = Picture(c);
        const QPoint probe = r.hot.x() == 7 ? r.hot : QPoint(r.hot.x(), 16);
        EXPECT_GT(qAlpha(picture.pixel(probe)), 0) << r.name;
        // Black on a white halo: both show somewhere.
        bool black = false, white = false;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb p = picture.pixel(x, y);
                black |= qAlpha(p) == 255 && qGray(p) < 40;
                white |= qAlpha(p) == 255 && qGray(p) > 215;
            }
        EXPECT_TRUE(black && white) << r.name;
    }
}

// The tool table: action and state give the cursor and whether an edition starts.
TEST(ToolCursors, TheActionToCursorTable)
{
    using E = TZOREdition;
    using F = TZORToolEffect;
    const struct {
        int32_t action, state;
        int cursor;
        E edition;
        F effect;
    } rows[] = {
        { 1, 0, 0, E::Stop, F::None },
        { 3, 2, 43, E::Start, F::None },
        { 4, 2, 11, E::Start, F::None },
        { 5, 2, 11, E::Start, F::None },
        { 6, 2, 9, E::Start, F::None },
        { 7, 5, 31, E::Start, F::None },
        { 9, 2, 31, E::Start, F::None },
        { 10, 2, 31, E::Start, F::None },
        { 8, 2, 42, E::Start, F::None },
        { 11, 2, 32, E::Start, F::None },
        { 36, 2, 32, E::Start, F::None },
        { 43, 2, 32, E::Start, F::None },
        { 12, 2, 34, E::Start, F::None },
        { 44, 2, 34, E::Start, F::None },
        { 13, 2, 35, E::Start, F::None },
        { 45, 2, 35, E::Start, F::None },
        { 14, 7, 36, E::Start, F::None },
        { 15, 0, 8, E::Start, F::ClearText },
        { 15, 11, 0, E::Keep, F::FillText },
        { 15, 2, -1, E::Keep, F::None },
        { 16, 11, 0, E::Stop, F::StopText },
        { 16, 0, -1, E::Keep, F::None },
        { 18, 2, 12, E::Start, F::None },
        { 19, 2, 12, E::Start, F::None },
        { 20, 12, 19, E::Keep, F::None },
        { 20, 13, 19, E::Keep, F::None },
        { 20, 18, 33, E::Keep, F::None },
        { 20, 2, -1, E::Keep, F::None },
        { 21, 0, 19, E::Keep, F::None },
        { 22, 13, 19, E::Keep, F::None },
        { 22, 19, 33, E::Keep, F::None },
        { 22, 18, -1, E::Keep, F::None },
        { 23, 12, 48, E::Keep, F::None },
        { 23, 22, 49, E::Keep, F::None },
        { 23, 16, -1, E::Keep, F::None },
        { 24, 2, 13, E::Start, F::None },
        { 25, 2, 23, E::Start, F::None },
        { 26, 2, 24, E::Start, F::None },
        { 27, 2, 24, E::Start, F::None },
        { 28, 2, 15, E::Start, F::None },
        { 29, 2, 39, E::Start, F::None },
        { 30, 2, 7, E::Keep, F::ResetPointsKeepLink },
        { 30, 3, 7, E::Keep, F::ResetPoints },
        { 31, 2, 7, E::Keep, F::ResetPointsKeepLink },
        { 31, 5, 7, E::Keep, F::ResetPoints },
        { 31, 3, 7, E::Keep, F::None },
        { 32, 2, 16, E::Start, F::None },
        { 33, 2, 18, E::Start, F::None },
        { 34, 2, 41, E::Start, F::None },
        { 35, 2, 44, E::Start, F::None },
        { 37, 2, 10, E::Start, F::None },
        { 38, 2, 46, E::Start, F::None },
        { 38, 3, 46, E::Keep, F::None },
        { 38, 22, 49, E::Keep, F::None },
        { 47, 2, 46, E::Start, F::None },
        { 47, 4, -1, E::Keep, F::None },
        { 39, 2, 50, E::Start, F::None },
        { 42, 2, 50, E::Start, F::None },
        { 46, 2, 45, E::Start, F::None },
        { 0, 0, -1, E::Keep, F::None },
        { 2, 15, -1, E::Keep, F::None },
        { 17, 11, -1, E::Keep, F::None },
        { 48, 0, -1, E::Keep, F::None },
    };
    for (const auto& r : rows) {
        const TZORToolStep s = ToolStep(r.action, r.state);
        EXPECT_EQ(s.Cursor, r.cursor) << r.action << "/" << r.state;
        EXPECT_EQ(s.Edition, r.edition) << r.action << "/" << r.state;
        EXPECT_EQ(s.Effect, r.effect) << r.action << "/" << r.state;
    }
}

// A change of the model's action starts an edition for the drawing tools, one without points for
// the text tool, and for a typed distance the distance cursor.
TEST(ToolCursors, TheActionChangeTable)
{
    using E = TZOREdition;
    const struct {
        int32_t action, state;
        int cursor;
        E edition;
    } rows[] = {
        { 1, 0, -1, E::Stop },
        { 4, 2, -1, E::Start },
        { 14, 7, -1, E::Start },
        { 15, 0, -1, E::StartText },
        { 16, 11, -1, E::Keep },
        { 18, 2, -1, E::Start },
        { 19, 2, -1, E::Start },
        { 23, 16, 47, E::Start },
        { 23, 12, -1, E::Keep },
        { 24, 2, -1, E::Keep },
        { 28, 2, -1, E::Start },
        { 29, 2, -1, E::Start },
        { 30, 2, -1, E::Keep },
        { 32, 2, -1, E::Start },
        { 33, 2, -1, E::Keep },
        { 34, 2, -1, E::Start },
        { 36, 2, -1, E::Start },
        { 37, 2, -1, E::Keep },
        { 38, 2, -1, E::Start },
        { 47, 2, -1, E::Start },
        { 3, 2, -1, E::Keep },
        { 2, 15, -1, E::Keep },
    };
    for (const auto& r : rows) {
        const TZORToolStep s = ActionStep(r.action, r.state);
        EXPECT_EQ(s.Cursor, r.cursor) << r.action << "/" << r.state;
        EXPECT_EQ(s.Edition, r.edition) << r.action << "/" << r.state;
    }
}

namespace {

class EditorCursor : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        editor = zor::test::ShownEditor(label, { 300, 200 });
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }
    void Tool(int32_t action, int32_t state, TZRChange change = TZRChange::Tool)
    {
        TAct::SetCurAction(action);
        TAct::SetState(state);
        label.Notify(change);
    }
    TZORBackEditor& Surface() { return editor->Surface(); }
    bool Shows(int id) { return Picture(Surface().cursor()) == Picture(ToolCursor(id)); }

    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;
};

} // namespace

// The label's tool changes set the surface's cursor; a tool without a cursor of its own keeps
// the one shown; the select tool brings the arrow back and ends the edition.
TEST_F(EditorCursor, TheSurfaceTakesTheToolsCursor)
{
    Tool(acRectangle, stFirst);
    EXPECT_EQ(Surface().State().CursorId, 9);
    EXPECT_TRUE(Shows(9));
    EXPECT_TRUE(Surface().State().Inserting);

    Tool(acTextSelect, stTyping);
    EXPECT_EQ(Surface().State().CursorId, 9);
    EXPECT_TRUE(Shows(9));

    // Change 12 repaints and then sets the cursor.
    const int renders = Surface().RenderCount();
    Tool(acDimRadius, stFirst, TZRChange::RedrawTool);
    EXPECT_EQ(Surface().State().CursorId, 50);
    EXPECT_TRUE(Shows(50));
    EXPECT_GT(Surface().RenderCount(), renders);

    Tool(acSelect, stIdle);
    EXPECT_EQ(Surface().State().CursorId, 0);
    EXPECT_EQ(Surface().cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(Surface().State().Inserting);
}

// The model's action change: a typed distance of the offset tool shows the distance cursor, the
// text tool edits without points, a drawing tool with them, the select tool stops.
TEST_F(EditorCursor, TheActionChangeStartsTheEdition)
{
    Tool(acOffset, stDistance, TZRChange::Action);
    EXPECT_EQ(Surface().State().CursorId, 47);
    EXPECT_TRUE(Surface().State().Inserting);
    Tool(acText, stIdle, TZRChange::Action);
    EXPECT_FALSE(Surface().State().Inserting);
    EXPECT_EQ(Surface().State().CursorId, 47);
    Tool(acLine, stFirst, TZRChange::Action);
    EXPECT_TRUE(Surface().State().Inserting);
    Tool(acSelect, stIdle, TZRChange::Action);
    EXPECT_FALSE(Surface().State().Inserting);
}

// The text tool's first step empties the text typed in place; with no label nothing changes.
TEST_F(EditorCursor, TheTextToolStartsWithAnEmptyText)
{
    TZORDraw& D = Surface().Draw();
    D.aTxt = QStringLiteral("old");
    D.aPos = 3;
    Tool(acText, stIdle);
    EXPECT_EQ(Surface().State().CursorId, 8);
    EXPECT_EQ(D.aTxt, QString());
    EXPECT_EQ(D.aPos, 0);
    EXPECT_TRUE(Surface().State().Inserting);

    editor->SetLabel(nullptr);
    Tool(acRectangle, stFirst);
    EXPECT_EQ(Surface().State().CursorId, 8);
}
