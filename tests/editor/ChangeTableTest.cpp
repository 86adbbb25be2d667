// The editor's answers to the label's change notifications.

#include "ShownEditor.h"
#include "Zor.Act.h"
#include "drawing/Zor.Vcl.Types.h"
#include "editor/Zor.Vcl.Editor.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <memory>

using zor::TAct;

namespace {

class EditorChanges : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        label.Measure().SetPaperWidth(100000);
        label.Measure().SetPaperHeight(60000);
        label.Measure().SetWidth(100000);
        label.Measure().SetHeight(60000);
        editor = zor::test::ShownEditor(label, { 400, 300 });
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }
    TZORBackEditor& Surface() { return editor->Surface(); }

    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;
};

} // namespace

// The changes without a meaning for the editor leave it as it is: no picture, the same page, the
// same tool state.
TEST_F(EditorChanges, ChangesWithoutMeaningLeaveTheEditorAlone)
{
    TAct::SetCurAction(zor::acRectangle);
    label.Notify(TZRChange::Tool);
    const int renders = Surface().RenderCount();
    const int32_t paperW = Surface().G.D.PaperW;
    for (TZRChange change : { TZRChange::Reserved2, TZRChange::EditProperty, TZRChange::Reserved15,
             TZRChange::PointRows, TZRChange::Reserved19, TZRChange(21), TZRChange(200) }) {
        editor->UpdateCtrl(change, { 1, 1, true });
        EXPECT_EQ(Surface().RenderCount(), renders) << int(change);
        EXPECT_EQ(Surface().G.D.PaperW, paperW) << int(change);
        EXPECT_EQ(Surface().State().CursorId, 9) << int(change);
        EXPECT_TRUE(Surface().State().Inserting) << int(change);
    }
}

// A new paper size lays the label out anew at the screen's resolution: 100 x 50 mm at 96 dpi,
// whatever the paper.
TEST_F(EditorChanges, ThePaperSizeIsLaidOutInPixels)
{
    label.Measure().SetHeight(50000);
    editor->UpdateCtrl(TZRChange::PaperSize, { 210000, 297000 });
    EXPECT_EQ(Surface().G.D.PaperW, 378);
    EXPECT_EQ(Surface().G.D.PaperH, 189);
    EXPECT_DOUBLE_EQ(Surface().G.D.PaperMMW, 100.0);
    EXPECT_DOUBLE_EQ(Surface().G.D.PaperMMH, 50.0);
}

// Between an update's start and end the editor draws nothing; the end draws once.
TEST_F(EditorChanges, AnUpdateBracketHoldsThePicturesBack)
{
    const int renders = Surface().RenderCount();
    editor->UpdateCtrl(TZRChange::Update, { 0 });
    editor->UpdateCtrl(TZRChange::Redraw, {});
    editor->UpdateCtrl(TZRChange::PaperColor, {});
    EXPECT_EQ(Surface().RenderCount(), renders);
    editor->UpdateCtrl(TZRChange::Update, { 1 });
    EXPECT_EQ(Surface().RenderCount(), renders + 1);
}

// The end of in-place text empties the text and stops the edition.
TEST_F(EditorChanges, TheEndOfInPlaceTextEmptiesIt)
{
    TZORDraw& D = Surface().Draw();
    D.aTxt = QStringLiteral("abc");
    D.aPos = 2;
    Surface().State().Inserting = true;
    editor->UpdateCtrl(TZRChange::EndText, {});
    EXPECT_EQ(D.aTxt, QString());
    EXPECT_EQ(D.aPos, 0);
    EXPECT_FALSE(Surface().State().Inserting);
}
