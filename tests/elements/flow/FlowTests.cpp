// Flowchart nodes: the fifteen shapes alike on the screen and on paper, reversed corners, the
// outline's line type and inner bars on both targets, and the node text read back from a PDF.

#include "../RenderHarness.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

#include <map>

using zor::Ord;
using zor::TAlphaColor;
using zor::TxtLines;

namespace {

using namespace zor::test;

constexpr int Dpi = 300;
constexpr TAlphaColor Red { 0xFFFF0000 };
constexpr TAlphaColor Blue { 0xFF0000FF };
// The node's box, paper millimetres.
const QRectF Box(8, 8, 24, 20);

TZORFlow& AddFlow(TScene& scene, TZORFlowType type, const QRectF& mm = Box)
{
    TZORFlow& flow = scene.Add<TZORFlow>();
    flow.AssignPoints(
        std::vector<TZORPto> { scene.Pt(mm.left(), mm.top()), scene.Pt(mm.right(), mm.bottom()) });
    flow.SetFlowType(type);
    flow.SetColor(Blue);
    flow.SetBackColor(Red);
    return flow;
}

// A paper position given as fractions of the box.
QPoint In(const QRectF& mm, double fx, double fy)
{
    return Pixel(Dpi, mm.left() + fx * mm.width(), mm.top() + fy * mm.height());
}

// Where a shape fills and where it leaves the box blank, as fractions of the box.
struct TShapeCase {
    TZORFlowType Type;
    std::vector<QPointF> Filled;
    std::vector<QPointF> Blank;
};

const std::vector<TShapeCase>& ShapeCases()
{
    using T = TZORFlowType;
    static const std::vector<TShapeCase> cases = {
        { T::Terminal, { { 0.5, 0.5 }, { 0.03, 0.5 } }, { { 0.03, 0.05 }, { 0.97, 0.95 } } },
        { T::Process, { { 0.5, 0.5 }, { 0.02, 0.02 }, { 0.98, 0.98 } }, { { -0.03, 0.5 } } },
        // The wave dips below the bottom edge on the left and rises above it on the right.
        { T::Document, { { 0.5, 0.3 }, { 0.25, 1.03 } }, { { 0.75, 0.97 }, { 0.5, 1.03 } } },
        // The two sheets behind show as strips along the top and the right.
        { T::MultiDocument, { { 0.4, 0.5 }, { 0.99, 0.5 }, { 0.5, 0.02 } }, { { 0.02, 0.02 } } },
        { T::Decision, { { 0.5, 0.5 }, { 0.5, 0.04 }, { 0.96, 0.5 } }, { { 0.1, 0.1 }, { 0.9, 0.9 } } },
        { T::InputOutput, { { 0.5, 0.5 }, { 0.97, 0.05 } }, { { 0.03, 0.1 }, { 0.97, 0.9 } } },
        // The top arc touches the top edge at its middle only.
        { T::Database, { { 0.5, 0.5 }, { 0.5, 0.02 } }, { { 0.02, 0.02 }, { 0.98, 0.98 } } },
        { T::Link, { { 0.5, 0.5 }, { 0.02, 0.02 } }, { { 1.03, 0.5 } } },
        { T::ManualInput, { { 0.5, 0.5 }, { 0.9, 0.05 } }, { { 0.1, 0.05 } } },
        { T::ManualOperation, { { 0.5, 0.5 }, { 0.03, 0.05 } }, { { 0.03, 0.95 }, { 0.97, 0.95 } } },
        { T::Preparation, { { 0.5, 0.5 }, { 0.05, 0.5 } }, { { 0.05, 0.05 }, { 0.95, 0.95 } } },
        { T::Connector, { { 0.5, 0.5 }, { 0.03, 0.5 } }, { { 0.08, 0.08 }, { 0.92, 0.92 } } },
        { T::StartEnd, { { 0.5, 0.5 }, { 0.05, 0.5 }, { 0.96, 0.5 } }, { { 0.03, 0.05 }, { 0.97, 0.1 } } },
        { T::Subroutine, { { 0.5, 0.5 }, { 0.05, 0.05 } }, { { 0.05, 0.5 }, { 0.95, 0.1 } } },
        { T::LoopStop, { { 0.5, 0.5 }, { 0.95, 0.5 } }, { { 0.05, 0.5 }, { 0.97, 0.05 } } },
    };
    return cases;
}

} // namespace

// Every shape fills the same figure on the screen and on paper, at both drawing scales.
TEST(FlowShapes, EveryShapeFillsItsFigureOnBothTargets)
{
    ASSERT_EQ(ShapeCases().size(), 15u);
    for (const TShapeCase& c : ShapeCases())
        for (const int scale : Scales)
            for (const TTarget target : BothTargets) {
                SCOPED_TRACE(testing::Message()
                    << "shape " << int(zor::Ord(c.Type)) << ", scale " << scale << ", " << Name(target));
                TScene scene(scale);
                TZORFlow& flow = AddFlow(scene, c.Type);
                flow.SetFilled(true);
                flow.SetPenWidth(0.0f);
                const QImage image = scene.Render(target, Dpi);
                const SaveOnFailure keep(image, Name(target));
                for (const QPointF& f : c.Filled)
                    EXPECT_TRUE(ColourNear(image, In(Box, f.x(), f.y()), Qt::red, 16))
                        << f.x() << ", " << f.y();
                for (const QPointF& f : c.Blank)
                    EXPECT_TRUE(ColourNear(image, In(Box, f.x(), f.y()), Qt::white, 16))
                        << f.x() << ", " << f.y();
            }
}

// Filled and outlined, every shape puts its ink where the paper puts it.
TEST(FlowShapes, ScreenAndPaperAgreeOnEveryOutline)
{
    for (const TShapeCase& c : ShapeCases()) {
        TScene scene;
        TZORFlow& flow = AddFlow(scene, c.Type);
        flow.SetFilled(true);
        flow.SetPenWidth(0.3f);
        const TScreenAndPaper both(scene, Dpi, 2, QStringLiteral("flow"));
        EXPECT_GT(both.IoU, 0.98) << int(zor::Ord(c.Type));
        EXPECT_GT(both.Near, 0.99) << int(zor::Ord(c.Type));
    }
}

// Corners given the other way round (not yet normalised by the model) draw the same node on both
// targets, its text included: the text stands in the box from its top-left corner, whichever
// corner point 1 is.
TEST(FlowShapes, ReversedCornersDrawTheSameNode)
{
    for (const TTarget target : BothTargets)
        for (const TZORFlowType type :
            { TZORFlowType::Document, TZORFlowType::InputOutput, TZORFlowType::LoopStop }) {
            TScene straight, reversed;
            TZORFlow& ahead = AddFlow(straight, type);
            ahead.SetFilled(true);
            ahead.SetText(QStringLiteral("In the box"));
            TZORFlow& back = AddFlow(reversed, type);
            back.SetFilled(true);
            back.SetText(QStringLiteral("In the box"));
            back.SetBase(
                1, reversed.Pt(Box.right(), Box.bottom()).X, reversed.Pt(Box.right(), Box.bottom()).Y);
            back.SetBase(2, reversed.Pt(Box.left(), Box.top()).X, reversed.Pt(Box.left(), Box.top()).Y);
            const QImage a = straight.Render(target, Dpi), b = reversed.Render(target, Dpi);
            EXPECT_EQ(a, b) << Name(target) << " " << int(zor::Ord(type));
        }
}

// The outline's line type dashes it on paper as on the screen, with the same dashes and gaps.
TEST(FlowShapes, TheLineTypeDashesTheOutlineOnBothTargets)
{
    std::vector<int> gaps[2];
    for (const TTarget target : BothTargets) {
        TScene scene;
        TZORFlow& flow = AddFlow(scene, TZORFlowType::Process);
        flow.SetPenWidth(0.5f);
        flow.SetLineType(TZORineType::Dash2_2);
        const QImage image = scene.Render(target, Dpi);
        const SaveOnFailure keep(image, Name(target));
        const int y = Pixel(Dpi, 0, Box.top()).y();
        const int left = Pixel(Dpi, Box.left() + 2, 0).x(), right = Pixel(Dpi, Box.right() - 2, 0).x();
        std::vector<PixelRun> runs;
        for (const PixelRun& r : RowRuns(image, y))
            if (r.start >= left && r.start + r.length <= right)
                runs.push_back(r);
        EXPECT_GE(InkLengths(runs).size(), 3u) << Name(target);
        gaps[target == TTarget::Print ? 1 : 0] = GapLengths(runs);
    }
    ASSERT_GE(gaps[0].size(), 2u);
    ASSERT_GE(gaps[1].size(), 2u);
    EXPECT_NEAR(gaps[0][1], gaps[1][1], 2);
}

// A link node's inner bars belong to its outline: shown with it on both targets. Without an
// outline the screen shows nothing, paper the bars alone as hairlines.
TEST(FlowShapes, TheInnerBarsOfALinkNodeComeWithItsOutline)
{
    for (const TTarget target : BothTargets)
        for (const float pen : { 0.3f, 0.0f }) {
            SCOPED_TRACE(testing::Message() << Name(target) << ", pen " << pen);
            TScene scene;
            AddFlow(scene, TZORFlowType::Link).SetPenWidth(pen);
            const QImage image = scene.Render(target, Dpi);
            const SaveOnFailure keep(image, Name(target));
            const bool bars = pen > 0.0f || target == TTarget::Print;
            const QPoint bar = In(Box, 1.0 / 15.0, 0.5), rightBar = In(Box, 14.0 / 15.0, 0.5);
            EXPECT_EQ(InkCount(image, {}, QRect(bar - QPoint(3, 3), QSize(7, 7))) > 0, bars);
            EXPECT_EQ(InkCount(image, {}, QRect(rightBar - QPoint(3, 3), QSize(7, 7))) > 0, bars);
            if (pen > 0.0f)
                continue;
            // No outline: the box's sides stay blank; the hairline bars are a pixel or two wide.
            EXPECT_EQ(InkCount(image, {}, QRect(In(Box, 0.0, 0.5) - QPoint(3, 3), QSize(7, 7))), 0);
            const QRect ink = InkBounds(image, {}, QRect(bar - QPoint(10, 0), QSize(21, 1)));
            if (bars)
                EXPECT_LE(ink.width(), 2);
            else
                EXPECT_EQ(InkCount(image), 0);
        }
}

// A fill the screen cannot see is left off it; paper fills as the colour says.
TEST(FlowShapes, AnOpaqueFillShowsAndAClearOneDoesNot)
{
    for (const TTarget target : BothTargets) {
        TScene scene;
        TZORFlow& flow = AddFlow(scene, TZORFlowType::Decision);
        flow.SetFilled(true);
        flow.SetBackColor(TAlphaColor { 0x00FF0000 });
        flow.SetPenWidth(0.0f);
        EXPECT_EQ(InkCount(scene.Render(target, Dpi)), 0) << Name(target);
    }
}

class FlowText : public TempDirTest { };

// The text wraps inside the shape once for both targets: the paper prints the lines the layout
// made, in order, inside the node, and the screen puts its ink where the paper does.
TEST_F(FlowText, NodeTextsPrintTheirLinesInsideTheNode)
{
    const QString words = QStringLiteral("Check the parcel weight before printing labels");
    for (const TZORFlowType type : { TZORFlowType::Process, TZORFlowType::Decision, TZORFlowType::Connector,
             TZORFlowType::MultiDocument, TZORFlowType::InputOutput })
        for (const int scale : Scales) {
            SCOPED_TRACE(testing::Message() << "shape " << int(zor::Ord(type)) << ", scale " << scale);
            TScene scene(scale);
            const QRectF box(4, 4, 32, 30);
            TZORFlow& flow = AddFlow(scene, type, box);
            flow.SetFontName(QStringLiteral("Arial"));
            flow.SetFontHeight(3.0f);
            flow.SetFontColor(TAlphaColor { 0xFF000000 });
            flow.SetText(words);
            flow.SetPenWidth(0.2f);
            TZORFontMetrics metrics;
            const TxtLines lines = flow.LayOut(metrics);
            ASSERT_GE(lines.size(), 2u);
            std::vector<QStringList> expected;
            for (const TZORTxtInf& line : lines)
                expected.push_back(
                    words.mid(line.start - 1, line.count).simplified().split(QLatin1Char(' ')));

            const QString pdf = Path(QStringLiteral("node.pdf"));
            scene.PrintPdf(pdf, Dpi, 1, [](int) {});
            EXPECT_EQ(PrintedLines(pdf), expected);
            // pdftotext gives points from the page's corner; the label sits MarginMM into it.
            const QRectF node((box.left() + TScene::MarginMM) * 72 / 25.4,
                (box.top() + TScene::MarginMM) * 72 / 25.4, box.width() * 72 / 25.4,
                box.height() * 72 / 25.4);
            for (const PdfWord& w : PdfWords(pdf))
                EXPECT_TRUE(node.contains(w.Rect())) << w.text.toStdString();

            const TScreenAndPaper both(scene, Dpi, 3, QStringLiteral("flow text"));
            EXPECT_GT(both.Near, 0.97);
        }
}

// The glyphs are filled, never widened by the outline's pen.
TEST(FlowTextInk, TheOutlinesPenDoesNotThickenTheText)
{
    int ink[2] = {};
    for (const int i : { 0, 1 }) {
        TScene scene;
        TZORFlow& flow = AddFlow(scene, TZORFlowType::Process);
        flow.SetText(QStringLiteral("Weigh"));
        flow.SetFontHeight(4.0f);
        flow.SetPenWidth(i == 0 ? 0.1f : 1.5f);
        const QImage image = scene.Render(TTarget::Export, Dpi);
        ink[i] = InkCount(image, {}, QRectF(In(Box, 0.2, 0.3), In(Box, 0.8, 0.7)).toRect());
    }
    ASSERT_GT(ink[0], 100);
    EXPECT_NEAR(ink[1], ink[0], ink[0] / 20);
}
