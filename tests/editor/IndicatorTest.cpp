// The ortho and snap indicators beside the scroll bars, by their pixels.

#include "editor/Zor.Vcl.Editor.h"
#include "kit/Pixels.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zor::test;

TEST(EditorIndicators, EachShowsItsStateInItsPixels)
{
    const QColor White(Qt::white), Silver(0xC0, 0xC0, 0xC0), Black(Qt::black), Grey(0x80, 0x80, 0x80),
        Red(Qt::red);
    const struct {
        const char* what;
        std::function<void(TZOREditor&)> set;
        std::function<TZORInfoEd&(TZOREditor&)> indicator;
        TZORStateInfo state;
        QColor corner; // the background at (1, 1)
        QColor mark; // the mark's pixel: the snap square's centre, the ortho step's top
    } cases[] = {
        { "snap on", [](TZOREditor& e) { e.SetSnap(2); }, [](TZOREditor& e) -> TZORInfoEd& { return e.SnapIndicator(); },
            TZORStateInfo::On, White, Red },
        { "snap off", [](TZOREditor& e) { e.SetSnap(1); }, [](TZOREditor& e) -> TZORInfoEd& { return e.SnapIndicator(); },
            TZORStateInfo::Off, Silver, Grey },
        { "ortho on", [](TZOREditor& e) { e.SetOrtoLines(true); },
            [](TZOREditor& e) -> TZORInfoEd& { return e.OrtoIndicator(); }, TZORStateInfo::On, White, Black },
        { "ortho off", [](TZOREditor& e) { e.SetOrtoLines(false); },
            [](TZOREditor& e) -> TZORInfoEd& { return e.OrtoIndicator(); }, TZORStateInfo::Off, Silver, Grey },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TZOREditor editor;
        editor.resize(300, 200);
        editor.show();
        // From the other state to this one.
        editor.SetSnap(c.state == TZORStateInfo::On ? 0 : 2);
        editor.SetOrtoLines(c.state != TZORStateInfo::On);
        c.set(editor);
        TZORInfoEd& info = c.indicator(editor);
        EXPECT_EQ(info.GetState(), c.state);
        const QImage shown = info.grab().toImage();
        const SaveOnFailure keep(shown, QStringLiteral("indicator"));
        const QPoint mark = info.GetKind() == TZORTypeInfo::SnapToGrid
            ? QPoint(info.width() / 2, info.height() / 2 + 1)
            : QPoint(4, 2);
        EXPECT_TRUE(ColourNear(shown, QPoint(1, 1), c.corner, 0));
        EXPECT_TRUE(ColourNear(shown, mark, c.mark, 0));
    }
}
