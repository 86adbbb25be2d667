// The editor draws what is in view: a surface smaller than the page shows, pixel for pixel, the
// part of the picture that a surface holding the whole page shows, while drawing only the
// elements that reach into it; after scrolls, a new selection and a drag as well.

#include "Pointer.h"
#include "ShownEditor.h"
#include "editor/Zor.EditorPaint.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.h"

#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using zor::TAct;

namespace {

using zor::test::TPointer;

// The largest difference of a colour channel between two pictures of one size.
int LargestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({ largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                std::abs(qBlue(p) - qBlue(q)) });
        }
    return largest;
}

constexpr int Columns = 10, Rows = 6;
const QSize Small(420, 320);
const QSize Whole(1400, 1000);

// A page of 300 x 200 mm with rectangles, circles, lines, texts and Code 128 symbols on a grid,
// and a thick line just off the right edge of the small surface, whose pen reaches into it.
class ViewPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAct::Reset();
        label.Measure().SetPaperWidth(300000);
        label.Measure().SetPaperHeight(200000);
        label.Measure().SetWidth(300000);
        label.Measure().SetHeight(200000);
        for (int i = 0; i < Columns * Rows; ++i)
            AddElement(i, 5000 + (i % Columns) * 29000, 5000 + (i / Columns) * 32000);
        editor = zor::test::ShownEditor(label, Small);
        // The line's bounds lie 4.5 mm right of the view; its 10 mm pen reaches 0.5 mm in.
        const int64_t x = S().G.BaseMMX(S().width()) + 4500;
        thick = label.AddBaseLine(x, 20000, x, 60000);
        thick->SetPenWidth(10.0f);
        editor->DrawEditor();
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
    }

    void AddElement(int i, int64_t x, int64_t y)
    {
        switch (i % 5) {
        case 0:
            label.AddBaseRectangle(x, y, 20000, 12000);
            break;
        case 1:
            label.AddBaseCircle(x + 8000, y + 8000, 8000);
            break;
        case 2:
            label.AddBaseLine(x, y, x + 20000, y + 15000);
            break;
        case 3:
            if (TZORText* t = label.AddBaseText(x, y))
                t->SetText(QStringLiteral("Text %1").arg(i));
            break;
        default:
            label.AddBaseBarcode(
                x, y, QByteArray("QV-") + QByteArray::number(1000 + i), TZORBarType::Code128);
            break;
        }
    }

    TZORBackEditor& S() { return editor->Surface(); }
    QImage Shown() { return S().grab().toImage().convertToFormat(QImage::Format_ARGB32); }
    QPoint Scroll() const { return { editor->HorzScroll().value(), editor->VertScroll().value() }; }
    void ScrollTo(QPoint p)
    {
        editor->HorzScroll().setValue(p.x());
        editor->VertScroll().setValue(p.y());
    }
    // The picture of a surface that holds the whole page, with the small one's scroll kept.
    QImage WholePage()
    {
        const QPoint scroll = Scroll();
        editor->resize(Whole);
        const QImage whole = Shown();
        editor->resize(Small);
        ScrollTo(scroll);
        return whole;
    }
    // The small surface, away from its rulers, shows the part of the whole picture it is over.
    void ExpectShowsItsPart(const QImage& shown, const QImage& whole)
    {
        const TZORDimScroll& D = S().G.D;
        const QRect inner(
            D.RulerL, D.RulerT, shown.width() - D.RulerL - D.RulerR, shown.height() - D.RulerT - D.RulerB);
        EXPECT_TRUE(shown.copy(inner) == whole.copy(inner.translated(Scroll())));
    }
    // The picture is the one a whole render of the view gives: exactly, or within `shades`
    // levels of a channel.
    void ExpectAsAWholeRender(const QImage& shown, const char* step, int shades = 0)
    {
        const int renders = S().ElementRenderCount();
        editor->DrawEditor();
        ASSERT_EQ(S().ElementRenderCount(), renders + 1);
        EXPECT_LE(LargestDifference(shown, Shown()), shades) << step;
    }

    TZORLabelVCL label;
    std::unique_ptr<TZOREditor> editor;
    TZORLine* thick = nullptr;
};

// Only the elements that reach into the view are drawn, the thick line among them, and the
// picture is the whole page's.
TEST_F(ViewPaint, DrawsOnlyWhatReachesIntoTheView)
{
    const int before = S().Painter().ItemDrawCount();
    editor->DrawEditor();
    const QImage shown = Shown();
    const int drawn = S().Painter().ItemDrawCount() - before;
    EXPECT_GT(drawn, 0);
    EXPECT_LT(drawn, label.GetItemsCount() / 3);
    const int edge = S().width() - 1;
    const int y = S().G.ScreenMMY(40000);
    EXPECT_EQ(shown.pixelColor(edge, y), QColor(Qt::black));
    ExpectShowsItsPart(shown, WholePage());
}

// A scroll moves the rendered elements and draws the strips that come in: the picture of a whole
// render, with none while the old view and the new one overlap. A thin slanted line that leaves
// the view is anti-aliased by Qt from the point where the view's edge cuts it, so that the part
// moved in from the last view may differ from a new render by a shade: two levels of a channel, no
// more, is allowed.
TEST_F(ViewPaint, AScrollDrawsOnlyTheStripThatComesIn)
{
    struct Step {
        QPoint by;
        bool reused;
        const char* name;
    };
    const Step steps[] = {
        { { 100, 0 }, true, "100 right" },
        { { 0, 100 }, true, "100 down" },
        { { -30, 45 }, true, "30 left, 45 down" },
        { { 1, -1 }, true, "a pixel" },
        { { 600, 500 }, false, "further than the view" },
        { { -2000, -2000 }, false, "back to the corner" },
    };
    for (const Step& step : steps) {
        const int renders = S().ElementRenderCount();
        const int draws = S().Painter().ItemDrawCount();
        ScrollTo(Scroll() + step.by);
        const QImage shown = Shown();
        EXPECT_EQ(S().ElementRenderCount() == renders, step.reused) << step.name;
        if (step.reused) {
            EXPECT_LT(S().Painter().ItemDrawCount() - draws, label.GetItemsCount() / 6) << step.name;
        }
        ExpectAsAWholeRender(shown, step.name, 2);
    }
}

// A selection made after a scroll, an element half in view among it, and a drag of an element
// paint as a whole render does.
TEST_F(ViewPaint, SelectionAndDragPaintAsAWholeRender)
{
    ScrollTo({ 140, 90 });
    label.Select(label.GetItem(1));
    label.Select(label.GetItem(3), true);
    label.Select(label.GetItem(Columns + 2), true);
    ExpectAsAWholeRender(Shown(), "selected");

    label.UnSelectAll();
    TZORBaseItem* box = label.GetItem(Columns + 1);
    const TZORRect start = box->GetBounds();
    const QPoint from(S().G.ScreenMMX(start.Left), S().G.ScreenMMY((start.Top + start.Bottom) / 2));
    const TPointer mouse { &S() };
    mouse.Drag(from, from + QPoint(40, 30));
    ASSERT_NE(box->GetBounds(), start);
    ExpectAsAWholeRender(Shown(), "dragged");
}

} // namespace
