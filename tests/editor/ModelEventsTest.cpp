// The label's events as the user's mouse makes them: the selection's box reported through a
// drag of the whole selection or of a handle and cleared when the move ends, and the label's
// own turn reported and marked.

#include "ShownEditor.h"
#include "Zor.Observer.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using zor::TAct;

namespace {

void Send(QWidget* surface, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), surface->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(surface, &e);
}

// A page of 250 x 100 mm with a filled box from (10, 10) to (30, 20) mm, the messages recorded.
class ModelEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        label.Measure().SetPaperWidth(250000);
        label.Measure().SetPaperHeight(100000);
        label.AddBaseRectangle(10000, 10000, 20000, 10000)->SetFilled(true);
        editor = zor::test::ShownEditor(label, { 1060, 520 });
        label.OnInfoMsg = [this](TZORBaseLabel&, const QString& text) { messages << text; };
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }
    QPoint At(double xmm, double ymm) const
    {
        const TZOREditorGeometry& G = editor->Surface().G;
        return { G.ScreenMMX(int64_t(xmm * 1000)), G.ScreenMMY(int64_t(ymm * 1000)) };
    }
    // Press, two moves, release; the messages of each stage.
    void Drag(QPoint from, QPoint to)
    {
        QWidget* s = &editor->Surface();
        Send(s, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        Send(s, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        messages.clear();
        Send(s, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        Send(s, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        during = messages;
        messages.clear();
        Send(s, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;
    QStringList messages;
    QStringList during;
};

} // namespace

// Each step of a drag reports the box where it now is; the release clears the message.
TEST_F(ModelEvents, ADragReportsTheBoxAtEachStepAndTheReleaseClearsIt)
{
    const struct {
        const char* what;
        QPoint from, to;
    } drags[] = {
        { "the whole selection", At(20, 15), At(20, 15) + QPoint(40, 20) },
        { "a corner handle", At(30, 20), At(30, 20) + QPoint(40, 20) },
    };
    for (const auto& d : drags) {
        SCOPED_TRACE(d.what);
        Send(&editor->Surface(), QEvent::MouseMove, At(20, 15), Qt::NoButton, Qt::NoButton);
        Send(&editor->Surface(), QEvent::MouseButtonPress, At(20, 15), Qt::LeftButton, Qt::LeftButton);
        Send(&editor->Surface(), QEvent::MouseButtonRelease, At(20, 15), Qt::LeftButton, Qt::NoButton);
        ASSERT_EQ(label.GetSelectionCount(), 1);
        Drag(d.from, d.to);
        ASSERT_GE(during.size(), 2);
        EXPECT_FALSE(during.last().isEmpty());
        EXPECT_NE(during.first(), during.last()) << "the box moved between the steps";
        ASSERT_FALSE(messages.isEmpty());
        EXPECT_TRUE(messages.last().isEmpty());
        ASSERT_TRUE(label.Undo());
    }
}

// The rotate button with nothing selected turns the label itself: the event fires, the label is
// modified and its views are told; an undo turns it back.
TEST_F(ModelEvents, TheLabelsTurnFiresAndMarks)
{
    struct TView : IZRObserver {
        int redraws = 0;
        void UpdateCtrl(TZRChange change, const TZRChangeValue&) override
        {
            redraws += change == TZRChange::Redraw;
        }
        TZRObserverKind TypeDest() const override { return TZRObserverKind::Preview; }
    } view;
    label.Attach(&view);
    label.UnSelectAll();
    label.ClearUndo();
    label.SetModified(false);
    int turns = 0;
    label.OnLabelRotate = [&](TZORBaseLabel&) { ++turns; };
    QTest::mouseClick(&editor->RotateButton(), Qt::LeftButton);
    EXPECT_EQ(turns, 1);
    EXPECT_NE(label.GetOrientation(), 0);
    EXPECT_TRUE(label.GetModified());
    EXPECT_GT(view.redraws, 0);
    label.SetOrientation(label.GetOrientation());
    EXPECT_EQ(turns, 1) << "the same orientation is no change";
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetOrientation(), 0);
    label.Detach(&view);
}
