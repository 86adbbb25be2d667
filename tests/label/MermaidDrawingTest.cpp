// What a Mermaid import draws, checked on the elements it makes: small diagram texts, each with
// what the drawing must show and the statements it must name as left out.

#include "Zor.Mermaid.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using zor::TMermaidLeftOut;
using zor::TxtLines;

namespace {

constexpr int64_t BoxWidth = 35000; // of a participant's box
constexpr int64_t BoxGap = 10000; // the least room between two boxes

template <class T> std::vector<const T*> All(const TZORBaseLabel& label)
{
    std::vector<const T*> found;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (const auto* item = dynamic_cast<const T*>(label.GetItem(i)))
            found.push_back(item);
    return found;
}

const TZORParagraph* ParagraphOf(const TZORBaseLabel& label, const QString& text)
{
    for (const TZORParagraph* p : All<TZORParagraph>(label))
        if (p->GetText() == text)
            return p;
    return nullptr;
}

int64_t Top(const TZORBaseItem& item)
{
    return std::min(item.GetPoint(1).Y, item.GetPoint(2).Y);
}
int64_t Bottom(const TZORBaseItem& item)
{
    return std::max(item.GetPoint(1).Y, item.GetPoint(2).Y);
}
int64_t Left(const TZORBaseItem& item)
{
    return std::min(item.GetPoint(1).X, item.GetPoint(2).X);
}
int64_t Right(const TZORBaseItem& item)
{
    return std::max(item.GetPoint(1).X, item.GetPoint(2).X);
}

// The end of the last line a node lays out: its whole text when it holds it.
qsizetype LaidOut(const TZORFlow& flow)
{
    TZORFontMetrics metrics;
    const TxtLines lines = flow.LayOut(metrics);
    return lines.empty() ? 0 : lines.back().start - 1 + lines.back().count;
}

// The lifelines, from left to right: the vertical grey lines.
std::vector<int64_t> Lifelines(const TZORBaseLabel& label)
{
    std::vector<int64_t> xs;
    for (const TZORLine* line : All<TZORLine>(label))
        if (line->GetPoint(1).X == line->GetPoint(2).X && line->GetColor() == zor::claGray)
            xs.push_back(line->GetPoint(1).X);
    std::sort(xs.begin(), xs.end());
    return xs;
}

// The arrow of a message: the arrow line whose row the paragraph's text stands over.
const TZORArrowLine* ArrowBelow(const TZORBaseLabel& label, const TZORParagraph& text)
{
    const TZORArrowLine* nearest = nullptr;
    for (const TZORArrowLine* a : All<TZORArrowLine>(label))
        if (a->GetPoint(1).Y >= Bottom(text) && (!nearest || a->GetPoint(1).Y < nearest->GetPoint(1).Y))
            nearest = a;
    return nearest;
}

void CaptionsStandClearAboveTheirArrows(const TZORBaseLabel& label)
{
    for (const char* text : { "hi", "ok, and a reply long enough to take more than one line of its box" }) {
        SCOPED_TRACE(text);
        const TZORParagraph* caption = ParagraphOf(label, QString::fromLatin1(text));
        ASSERT_NE(caption, nullptr);
        const TZORArrowLine* arrow = ArrowBelow(label, *caption);
        ASSERT_NE(arrow, nullptr);
        // No frame, and a millimetre between the text's box and the arrow.
        EXPECT_EQ(caption->GetPenWidth(), 0.0f);
        EXPECT_GE(arrow->GetPoint(1).Y - Bottom(*caption), 1000);
        EXPECT_LT(arrow->GetPoint(1).Y - Bottom(*caption), 3000);
    }
    // The reply is dashed, the call is not.
    const std::vector<const TZORArrowLine*> arrows = All<TZORArrowLine>(label);
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_EQ(arrows[0]->GetLineType(), TZORineType::Solid);
    EXPECT_NE(arrows[1]->GetLineType(), TZORineType::Solid);
}

void AMessageToOneselfLoopsBackToItsLifeline(const TZORBaseLabel& label)
{
    const std::vector<int64_t> lifelines = Lifelines(label);
    ASSERT_EQ(lifelines.size(), 2u);
    const int64_t x = lifelines[1];
    const std::vector<const TZORPolyLine*> loops = All<TZORPolyLine>(label);
    ASSERT_EQ(loops.size(), 1u);
    const TZORPolyLine& out = *loops[0];
    ASSERT_EQ(out.GetPointsCount(), 3);
    EXPECT_EQ(out.GetPoint(1).X, x);
    const TZORPto corner = out.GetPoint(3);
    EXPECT_GT(corner.X, x);
    EXPECT_GT(corner.Y, out.GetPoint(1).Y);
    // The way back is an arrow of some length that ends on the lifeline.
    const TZORArrowLine* back = nullptr;
    for (const TZORArrowLine* a : All<TZORArrowLine>(label))
        if (a->GetPoint(1) == corner)
            back = a;
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetPoint(2), (TZORPto { x, corner.Y }));
    // The text stands beside the loop, whole.
    const TZORParagraph* text = ParagraphOf(label, QStringLiteral("think it over"));
    ASSERT_NE(text, nullptr);
    EXPECT_GT(Left(*text), corner.X);
    EXPECT_LE(Top(*text), corner.Y);
    EXPECT_GE(Bottom(*text), out.GetPoint(1).Y);
    // The cross of a lost message to oneself lies where the loop ends.
    int crossing = 0;
    for (const TZORLine* line : All<TZORLine>(label))
        crossing += line->GetPoint(1).X == x - 1000 && line->GetPoint(2).X == x + 1000
            && std::abs(line->GetPoint(1).Y - corner.Y) == 1000;
    EXPECT_EQ(crossing, 2);
}

void ParticipantsKeepAGapAndThePaperHoldsThem(const TZORBaseLabel& label)
{
    const std::vector<int64_t> lifelines = Lifelines(label);
    ASSERT_EQ(lifelines.size(), 10u);
    for (size_t i = 1; i < lifelines.size(); ++i)
        EXPECT_GE(lifelines[i] - lifelines[i - 1], BoxWidth + BoxGap) << i;
    for (const TZORRectangle* box : All<TZORRectangle>(label))
        EXPECT_LE(Right(*box) + 10000, label.Measure().GetSize(TZORSizeKind::PaperWidth));
    // Every name shows whole in its box.
    for (const TZORParagraph* name : All<TZORParagraph>(label))
        EXPECT_EQ(name->GetLines().size(), 1u) << name->GetText().toStdString();
}

void NodesGrowToHoldTheirText(const TZORBaseLabel& label)
{
    const std::vector<const TZORFlow*> nodes = All<TZORFlow>(label);
    ASSERT_EQ(nodes.size(), 3u);
    for (const TZORFlow* node : nodes) {
        SCOPED_TRACE(node->GetText().toStdString());
        EXPECT_EQ(LaidOut(*node), node->GetText().size());
        // One row of equal nodes, taller than the least.
        EXPECT_EQ(node->GetBaseHeight(), nodes[0]->GetBaseHeight());
        EXPECT_EQ(Top(*node), Top(*nodes[0]));
    }
    EXPECT_GT(nodes[0]->GetBaseHeight(), 20000);
    // The link still joins the nodes' sides, and the paper holds the row.
    const std::vector<const TZORLink*> links = All<TZORLink>(label);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_GE(label.Measure().GetSize(TZORSizeKind::PaperHeight), Bottom(*nodes[0]));
}

void StadiumTextStandsInTheMiddle(const TZORBaseLabel& label)
{
    const std::vector<const TZORFlow*> nodes = All<TZORFlow>(label);
    ASSERT_EQ(nodes.size(), 1u);
    TZORFontMetrics metrics;
    const TxtLines lines = nodes[0]->LayOut(metrics);
    ASSERT_GE(lines.size(), 2u);
    const int64_t pitch = lines[1].y - lines[0].y;
    const int64_t above = lines.front().y, below = nodes[0]->TextHeight() - (lines.back().y + pitch);
    EXPECT_LE(std::abs(above - below), pitch / 2) << above << " above, " << below << " below";
}

void NothingJoinsTheNodes(const TZORBaseLabel& label)
{
    EXPECT_EQ(All<TZORFlow>(label).size(), 2u);
    EXPECT_EQ(label.GetItemsCount(), 2);
}

QStringList NodeTexts(const TZORBaseLabel& label)
{
    QStringList texts;
    for (const TZORFlow* node : All<TZORFlow>(label))
        texts << node->GetText();
    return texts;
}

struct TDrawCase {
    const char* Name;
    QString Text;
    std::vector<TMermaidLeftOut> LeftOut;
    std::function<void(const TZORBaseLabel&)> Check;
};

QString Participants(int n)
{
    QString text = QStringLiteral("sequenceDiagram\n");
    for (int i = 0; i + 1 < n; ++i)
        text += QStringLiteral("Participant%1->>Participant%2: call\n").arg(i).arg(i + 1);
    return text;
}

TEST(MermaidDrawing, EachDiagramDrawsWhatItSaysOrNamesWhatItLeavesOut)
{
    const TDrawCase cases[] = {
        { "an invisible link", QStringLiteral("graph LR\nA ~~~ B"), {}, NothingJoinsTheNodes },
        { "captions",
            QStringLiteral("sequenceDiagram\nA->>B: hi\nB-->>A: ok, and a reply long enough to take more "
                           "than one line of its box"),
            {}, CaptionsStandClearAboveTheirArrows },
        { "a message to oneself", QStringLiteral("sequenceDiagram\nA->>B: hi\nB-xB: think it over"), {},
            AMessageToOneselfLoopsBackToItsLifeline },
        { "ten participants", Participants(10), {}, ParticipantsKeepAGapAndThePaperHoldsThem },
        { "long node texts",
            QStringLiteral(
                "graph LR\nA[Does the media width match the layout of the label chosen for this printer "
                "and the roll loaded?] --> B{Does the media width match the layout of the label?} --> "
                "C([Print])"),
            {}, NodesGrowToHoldTheirText },
        { "a word wider than a node",
            QStringLiteral("graph LR\nA[Pneumonoultramicroscopicsilicovolcanoconiosisandthensome] --> B"), {},
            [](const TZORBaseLabel& label) {
                const std::vector<const TZORFlow*> nodes = All<TZORFlow>(label);
                ASSERT_EQ(nodes.size(), 2u);
                EXPECT_EQ(nodes[0]->GetBaseHeight(), 20000) << "growing would not help";
            } },
        { "a long text",
            QStringLiteral("graph LR\nA[") + QStringLiteral("word ").repeated(400) + QStringLiteral("end]"),
            {},
            [](const TZORBaseLabel& label) {
                const std::vector<const TZORFlow*> nodes = All<TZORFlow>(label);
                ASSERT_EQ(nodes.size(), 1u);
                EXPECT_EQ(LaidOut(*nodes[0]), nodes[0]->GetText().size());
            } },
        { "a stadium", QStringLiteral("graph LR\nS([A stadium text that takes two lines])"), {},
            StadiumTextStandsInTheMiddle },
        { "HTML entities",
            QStringLiteral("graph LR\nA[Tom &amp; Jerry] -->|&lt;3| B[&quot;x&quot; &#35;1 #35;2]"),
            { { 2, "A[Tom &amp; Jerry] -->|&lt;3| B[&quot;x&quot; &#35;1 #35;2]" } },
            [](const TZORBaseLabel& label) {
                EXPECT_EQ(NodeTexts(label), (QStringList { "Tom & Jerry", "\"x\" #1 #2" }));
            } },
        { "keywords as names", QStringLiteral("graph LR\ntitle --> B\ndirection --> accTitle"), {},
            [](const TZORBaseLabel& label) {
                EXPECT_EQ(NodeTexts(label), (QStringList { "title", "B", "direction", "accTitle" }));
                EXPECT_EQ(All<TZORLink>(label).size(), 2u);
            } },
        { "a keyword as a participant", QStringLiteral("sequenceDiagram\nLink ->> B: hi\nDetails->>Link: ho"),
            {},
            [](const TZORBaseLabel& label) {
                EXPECT_EQ(Lifelines(label).size(), 3u);
                EXPECT_EQ(All<TZORArrowLine>(label).size(), 2u);
            } },
        { "two branches",
            QStringLiteral("sequenceDiagram\nalt paid\nA->>B: ship\nelse not paid\nA->>B: remind\nend"),
            { { 2, "alt paid" }, { 4, "else not paid" }, { 6, "end" } },
            [](const TZORBaseLabel& label) { EXPECT_EQ(All<TZORArrowLine>(label).size(), 2u); } },
    };
    for (const TDrawCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TZORLabelVCL label;
        std::vector<TMermaidLeftOut> leftOut { { 99, QStringLiteral("from an earlier import") } };
        ASSERT_TRUE(TZORFactory::LoadMermaid(label, c.Text, leftOut));
        EXPECT_EQ(leftOut, c.LeftOut);
        c.Check(label);
    }
}

TEST(MermaidDrawing, TheStatementsLeftOutMakeOneMessage)
{
    TZORLabelVCL label;
    std::vector<TMermaidLeftOut> leftOut;
    ASSERT_TRUE(
        TZORFactory::LoadMermaid(label, QStringLiteral("graph LR\nA -.-> B\nsubgraph one\nend"), leftOut));
    const QStringList lines = TZORFactory::LeftOutMessage(leftOut).split(u'\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], "Line 2: A -.-> B");
    EXPECT_EQ(lines[2], "Line 3: subgraph one");
    EXPECT_EQ(lines[3], "Line 4: end");
}

} // namespace
