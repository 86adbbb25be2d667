#include "Zor.Layer.h"
#include "Zor.Mermaid.h"
#include "Zor.Msg.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <ostream>
#include <vector>

using zor::claBlack;
using zor::claGray;
using zor::TAlphaColor;
using zor::TConnection;
using zor::TDiagramType;
using zor::TMermaidParser;
using zor::TNode;
using zor::TNodeType;
using zor::TSeqArrowHead;
using zor::TSeqEvent;
using zor::TSeqEventType;
using zor::TSeqLineStyle;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using NT = TNodeType;

TMermaidParser Parsed(const QString& text)
{
    TMermaidParser p;
    p.ParseMermaidCode(text);
    return p;
}

QString ErrorOf(const QString& text)
{
    try {
        Parsed(text);
    } catch (const EZORError& e) {
        return e.Message();
    }
    return {};
}

QString Err(const char* key)
{
    return TZORMsg::GetErrorValue(QString::fromLatin1(key));
}

// --- Flowchart grammar ---

struct TNodeCase {
    const char* Line;
    const char* Text;
    TNodeType Type;
};

// One node definition per line: what text and kind each shape gives.
const TNodeCase NodeCases[] = {
    { "A[plain box]", "plain box", NT::ntProcess },
    { "A[Document of record]", "Document of record", NT::ntDocument },
    { "A(rounded)", "rounded", NT::ntTerminal },
    { "A(Link to page 2)", "Link to page 2", NT::ntLink },
    { "A((circle))", "circle", NT::ntStartEnd },
    { "A{choice?}", "choice?", NT::ntDecision },
    { "A{{hexagon}}", "hexagon", NT::ntDecision },
    { "A[[sub]]", "sub", NT::ntSubroutine },
    { "A[(store)]", "store", NT::ntDatabase },
    { "A[((store))]", "store", NT::ntDatabase },
    { "A(((stop)))", "stop", NT::ntLoopStop },
    { "A([stadium])", "stadium", NT::ntTerminal },
    { "A[/in out/]", "in out", NT::ntProcess },
    { "A[\\back\\]", "back", NT::ntProcess },
    { "A[/trap\\]", "trap", NT::ntProcess },
    { "A>flag]", "flag", NT::ntUnknown },
    { "A[\"quoted (with) [brackets]\"]", "quoted (with) [brackets]", NT::ntProcess },
    { "A  [ spaced ]", "spaced", NT::ntProcess },
    { "A[x]:::warning", "x", NT::ntProcess },
    // Closers beginning with "]", as the older form wrote them.
    { "A(half]", "half", NT::ntUnknown },
    { "A{half]", "half", NT::ntUnknown },
    { "A[[both]]", "both", NT::ntSubroutine },
};

TEST(MermaidFlowGrammar, EachShapeGivesItsTextAndKind)
{
    for (const TNodeCase& c : NodeCases) {
        const TMermaidParser p = Parsed(QStringLiteral("flowchart TD\n") + QString::fromUtf8(c.Line));
        ASSERT_EQ(p.GetNodes().size(), 1u) << c.Line;
        EXPECT_EQ(p.GetNodes()[0].ID, "A") << c.Line;
        EXPECT_EQ(p.GetNodes()[0].Text, QString::fromUtf8(c.Text)) << c.Line;
        EXPECT_EQ(p.GetNodes()[0].NodeType, c.Type) << c.Line;
        EXPECT_EQ(p.GetNodes()[0].InId, 0) << c.Line;
        EXPECT_TRUE(p.GetConnections().empty()) << c.Line;
    }
}

struct TEdgeCase {
    const char* Line;
    std::vector<std::vector<const char*>> Edges; // from, to, text
};

// Arrow forms: which connections each line gives.
const TEdgeCase EdgeCases[] = {
    { "A --> B", { { "A", "B", "" } } },
    { "A-->B", { { "A", "B", "" } } },
    { "A --- B", { { "A", "B", "" } } },
    { "A -.-> B", { { "A", "B", "" } } },
    { "A -.- B", { { "A", "B", "" } } },
    { "A ==> B", { { "A", "B", "" } } },
    { "A --x B", { { "A", "B", "" } } },
    { "A --o B", { { "A", "B", "" } } },
    { "A <--> B", { { "A", "B", "" } } },
    { "A ------> B", { { "A", "B", "" } } },
    // An invisible link joins nothing.
    { "A ~~~ B", {} },
    { "A -->|yes| B", { { "A", "B", "yes" } } },
    { "A --> | two words | B", { { "A", "B", "two words" } } },
    { "A -- yes --> B", { { "A", "B", "yes" } } },
    { "A--no-->B", { { "A", "B", "no" } } },
    { "A -. maybe .-> B", { { "A", "B", "maybe" } } },
    { "A == sure ==> B", { { "A", "B", "sure" } } },
    { "A --> B --> C", { { "A", "B", "" }, { "B", "C", "" } } },
    { "A -->|1| B -.->|2| C", { { "A", "B", "1" }, { "B", "C", "2" } } },
    { "A & B --> C", { { "A", "C", "" }, { "B", "C", "" } } },
    { "A --> B & C", { { "A", "B", "" }, { "A", "C", "" } } },
    // The older form: text after "||" for the last arrow.
    { "A ----> B || yes", { { "A", "B", "yes" } } },
    { "A --x--> B || no way", { { "A", "B", "no way" } } },
    { "A --o--> B ||", { { "A", "B", "" } } },
    { "A -----> B || t", { { "A", "B", "t" } } },
};

TEST(MermaidFlowGrammar, EachArrowFormGivesItsConnections)
{
    for (const TEdgeCase& c : EdgeCases) {
        const TMermaidParser p = Parsed(QStringLiteral("graph LR\n") + QString::fromUtf8(c.Line));
        ASSERT_EQ(p.GetConnections().size(), c.Edges.size()) << c.Line;
        for (size_t i = 0; i < c.Edges.size(); ++i) {
            EXPECT_EQ(p.GetConnections()[i].FromNode, c.Edges[i][0]) << c.Line;
            EXPECT_EQ(p.GetConnections()[i].ToNode, c.Edges[i][1]) << c.Line;
            EXPECT_EQ(p.GetConnections()[i].Text, c.Edges[i][2]) << c.Line;
        }
    }
}

TEST(MermaidFlowGrammar, NodesOnEdgeLinesAreDefinedAndTheFirstShapeWins)
{
    const TMermaidParser p = Parsed(QStringLiteral("flowchart TD\n"
                                                   "A --> B\n"
                                                   "B{Is it?} -->|Yes| C[OK]\n"
                                                   "C --> D((End))\n"
                                                   "B[Other text] --> A\n"
                                                   "A[Start]\n"));
    ASSERT_EQ(p.GetNodes().size(), 4u);
    // Text order of first mention; a bare mention waits for a shape, a second shape is ignored.
    const std::vector<std::vector<QString>> expect
        = { { "A", "Start" }, { "B", "Is it?" }, { "C", "OK" }, { "D", "End" } };
    for (size_t i = 0; i < expect.size(); ++i) {
        EXPECT_EQ(p.GetNodes()[i].ID, expect[i][0]);
        EXPECT_EQ(p.GetNodes()[i].Text, expect[i][1]);
    }
    EXPECT_EQ(p.FindNode("B")->NodeType, NT::ntDecision);
    EXPECT_EQ(p.FindNode("D")->NodeType, NT::ntStartEnd);
    EXPECT_EQ(p.GetConnections().size(), 4u);
    EXPECT_EQ(p.FindNode("Z"), nullptr);
}

TEST(MermaidFlowGrammar, HeadersAndSkippedStatements)
{
    // An identifier that begins like a header is a node; so is one named like another diagram.
    EXPECT_EQ(Parsed(QStringLiteral("graph TD\npie --> gantt\nblock-->B")).GetNodes().size(), 4u);
    TMermaidParser p = Parsed(QStringLiteral("graph1[x] --> flowchartB"));
    EXPECT_EQ(p.GetDiagramType(), TDiagramType::dtFlowChart);
    ASSERT_EQ(p.GetNodes().size(), 2u);
    EXPECT_EQ(p.GetNodes()[0].ID, "graph1");
    EXPECT_EQ(p.GetNodes()[1].ID, "flowchartB");

    // Statements after the header and between ";"; styling and grouping are skipped.
    p = Parsed(QStringLiteral("---\ntitle: Demo\n---\n"
                              "%%{init: {'theme': 'dark'}}%%\n"
                              "graph TD; A-->B; B-->C;\n"
                              "  subgraph one [Group]\n"
                              "    C --> D\n"
                              "  end\n"
                              "classDef hot fill:#f96,stroke:#333\n"
                              "class A hot\n"
                              "style B fill:#bbf\n"
                              "linkStyle 0 stroke:#ff3\n"
                              "click A callback \"Tooltip\"\n"
                              "%% a comment --> here\n"));
    EXPECT_EQ(p.GetNodes().size(), 4u);
    EXPECT_EQ(p.GetConnections().size(), 3u);

    for (const char* header : { "graph", "flowchart TB", "flowchart BT", "graph RL", "flowchart LR" })
        EXPECT_NO_THROW(Parsed(QString::fromLatin1(header))) << header;
}

// --- Sequence grammar ---

struct TMessageCase {
    const char* Line;
    const char* From;
    const char* To;
    const char* Text;
    TSeqLineStyle Style;
    TSeqArrowHead Head;
};

const TMessageCase MessageCases[] = {
    { "Alice->Bob: plain", "Alice", "Bob", "plain", TSeqLineStyle::slSolid, TSeqArrowHead::shSolid },
    { "Alice-->Bob: dotted", "Alice", "Bob", "dotted", TSeqLineStyle::slDotted, TSeqArrowHead::shSolid },
    { "Alice->>Bob: Hello Bob, how are you?", "Alice", "Bob", "Hello Bob, how are you?",
        TSeqLineStyle::slSolid, TSeqArrowHead::shSolid },
    { "Bob-->>Alice: Great!", "Bob", "Alice", "Great!", TSeqLineStyle::slDotted, TSeqArrowHead::shSolid },
    { "Alice-xBob: lost", "Alice", "Bob", "lost", TSeqLineStyle::slSolid, TSeqArrowHead::shCross },
    { "Alice--xBob: lost", "Alice", "Bob", "lost", TSeqLineStyle::slDotted, TSeqArrowHead::shCross },
    { "Alice-)Bob: later", "Alice", "Bob", "later", TSeqLineStyle::slSolid, TSeqArrowHead::shOpen },
    { "Alice--)Bob: later", "Alice", "Bob", "later", TSeqLineStyle::slDotted, TSeqArrowHead::shOpen },
    { "Alice ->> Bob : spaced ", "Alice", "Bob", "spaced", TSeqLineStyle::slSolid, TSeqArrowHead::shSolid },
    { "Alice->>+Bob: activate", "Alice", "Bob", "activate", TSeqLineStyle::slSolid, TSeqArrowHead::shSolid },
    { "Bob-->>-Alice: done", "Bob", "Alice", "done", TSeqLineStyle::slDotted, TSeqArrowHead::shSolid },
    // The receiver keeps its first letter; an "x" after ">" crosses only when a space follows.
    { "A->>xavier: hi", "A", "xavier", "hi", TSeqLineStyle::slSolid, TSeqArrowHead::shSolid },
    { "A->x B: gone", "A", "B", "gone", TSeqLineStyle::slSolid, TSeqArrowHead::shCross },
    { "A-->>x B: gone", "A", "B", "gone", TSeqLineStyle::slDotted, TSeqArrowHead::shCross },
    { "A--->B: long", "A", "B", "long", TSeqLineStyle::slDotted, TSeqArrowHead::shSolid },
    { "A->>B:", "A", "B", "", TSeqLineStyle::slSolid, TSeqArrowHead::shSolid },
    { "A->>B: a: b -> c", "A", "B", "a: b -> c", TSeqLineStyle::slSolid, TSeqArrowHead::shSolid },
};

TEST(MermaidSequenceGrammar, EachArrowGivesItsMessage)
{
    for (const TMessageCase& c : MessageCases) {
        const TMermaidParser p = Parsed(QStringLiteral("sequenceDiagram\n") + QString::fromUtf8(c.Line));
        ASSERT_EQ(p.GetSeqEvents().size(), 1u) << c.Line;
        const TSeqEvent& e = p.GetSeqEvents()[0];
        EXPECT_EQ(e.EventType, TSeqEventType::sqMessage) << c.Line;
        EXPECT_EQ(e.FromActor, c.From) << c.Line;
        EXPECT_EQ(e.ToActor, c.To) << c.Line;
        EXPECT_EQ(e.Text, c.Text) << c.Line;
        EXPECT_EQ(e.LineStyle, c.Style) << c.Line;
        EXPECT_EQ(e.ArrowHead, c.Head) << c.Line;
        EXPECT_TRUE(e.NotePosition.isEmpty()) << c.Line;
        EXPECT_EQ(p.GetParticipants(), QStringList({ c.From, c.To }).mid(0, QString(c.From) == c.To ? 1 : 2));
    }
}

struct TNoteCase {
    const char* Line;
    const char* Position;
    const char* From;
    const char* To;
    const char* Text;
};

const TNoteCase NoteCases[] = {
    { "Note right of John: Text in note", "right of", "John", "", "Text in note" },
    { "note LEFT OF John : left", "left of", "John", "", "left" },
    { "Note over John: over one", "over", "John", "", "over one" },
    { "Note over Alice,John: A typical interaction", "over", "Alice", "John", "A typical interaction" },
    { "Note over Alice , John: spaced", "over", "Alice", "John", "spaced" },
    // A note whose text holds an arrow is still a note.
    { "Note right of A: a->b: c", "right of", "A", "", "a->b: c" },
    { "Note right of A: one<br/>two", "right of", "A", "", "one<br/>two" },
};

TEST(MermaidSequenceGrammar, NotesOverOneOrTwoParticipants)
{
    for (const TNoteCase& c : NoteCases) {
        const TMermaidParser p = Parsed(QStringLiteral("sequenceDiagram\n") + QString::fromUtf8(c.Line));
        ASSERT_EQ(p.GetSeqEvents().size(), 1u) << c.Line;
        const TSeqEvent& e = p.GetSeqEvents()[0];
        EXPECT_EQ(e.EventType, TSeqEventType::sqNote) << c.Line;
        EXPECT_EQ(e.NotePosition, c.Position) << c.Line;
        EXPECT_EQ(e.FromActor, c.From) << c.Line;
        EXPECT_EQ(e.ToActor, c.To) << c.Line;
        EXPECT_EQ(e.Text, c.Text) << c.Line;
    }
}

TEST(MermaidSequenceGrammar, ParticipantsActorsAndAliases)
{
    const TMermaidParser p = Parsed(QStringLiteral("sequenceDiagram\n"
                                                   "participant A as Alice Smith\n"
                                                   "actor B\n"
                                                   "PARTICIPANT C\n"
                                                   "Actor D as Dave\n"
                                                   "participant A\n"
                                                   "autonumber\n"
                                                   "loop Every minute\n"
                                                   "  E->>A: ping\n"
                                                   "end\n"
                                                   "activate A\n"
                                                   "alt is ok\n"
                                                   "else not ok\n"
                                                   "end\n"
                                                   "rect rgb(191, 223, 255)\n"
                                                   "end\n"));
    EXPECT_EQ(p.GetParticipants(), QStringList({ "A", "B", "C", "D", "E" }));
    EXPECT_EQ(p.ParticipantText("A"), "Alice Smith");
    EXPECT_EQ(p.ParticipantText("B"), "B");
    EXPECT_EQ(p.ParticipantText("D"), "Dave");
    EXPECT_EQ(p.GetSeqEvents().size(), 1u);
}

TEST(MermaidSequenceGrammar, AHeaderSwitchesTheRestOfTheText)
{
    const TMermaidParser p = Parsed(QStringLiteral("flowchart LR\nA[x] --> B\nsequenceDiagram\nA->>B: hi\n"));
    EXPECT_EQ(p.GetDiagramType(), TDiagramType::dtSequence);
    EXPECT_EQ(p.GetNodes().size(), 2u);
    EXPECT_EQ(p.GetSeqEvents().size(), 1u);
}

// --- Errors ---

struct TBadCase {
    const char* Text;
    int Line;
    QString Detail;
};

TEST(MermaidErrors, MalformedLinesNameTheLineAndTheFault)
{
    const auto detail = [](const char* key, const QString& arg = {}) {
        return arg.isNull() ? Err(key) : Err(key).arg(arg);
    };
    const TBadCase cases[] = {
        { "flowchart TD\nA[open", 2, detail("MermaidShape", "A") },
        { "flowchart TD\nA(open]x)", 2, detail("MermaidArrow", "x)") },
        { "flowchart TD\n\nA -->", 3, detail("MermaidLineEnd") },
        { "flowchart TD\nA B", 2, detail("MermaidArrow", "B") },
        { "flowchart TD\nA --> [x]", 2, detail("MermaidNode", "[x]") },
        { "flowchart TD\nA -- text", 2, detail("MermaidEdgeText") },
        { "flowchart TD\nA -->|text B", 2, detail("MermaidEdgeText") },
        { "flowchart TD\nA:::", 2, detail("MermaidLineEnd") },
        { "flowchart TD\n---", 2, detail("MermaidNode", "---") },
        { "graph XY\nA-->B", 1, detail("MermaidDirection", "XY") },
        { "classDiagram\nclass A", 1, detail("MermaidDiagram", "classDiagram") },
        { "%% c\nstateDiagram-v2\n[*] --> S", 2, detail("MermaidDiagram", "stateDiagram-v2") },
        { "sequenceDiagram\nAlice Bob", 2, detail("MermaidSequence", "Alice Bob") },
        { "sequenceDiagram\nA->>B hi", 2, detail("MermaidMessage") },
        { "sequenceDiagram\nA=>B: hi", 2, detail("MermaidSequence", "A=>B: hi") },
        { "sequenceDiagram\nA->>: hi", 2, detail("MermaidMessage") },
        { "sequenceDiagram\nNote left A: x", 2, detail("MermaidNote") },
        { "sequenceDiagram\nNote right of A,B: x", 2, detail("MermaidNote") },
        { "sequenceDiagram\nNote over A x", 2, detail("MermaidNote") },
        { "sequenceDiagram\nparticipant", 2, detail("MermaidLineEnd") },
        { "sequenceDiagram\nparticipant A is B", 2, detail("MermaidParticipant", "A is B") },
        { "sequenceDiagram\nparticipant A as", 2, detail("MermaidParticipant", "A as") },
    };
    for (const TBadCase& c : cases) {
        const QString expect = Err("DiagramLine").arg(QString::number(c.Line), c.Detail);
        EXPECT_EQ(ErrorOf(QString::fromUtf8(c.Text)), expect) << c.Text;
    }
}

// --- Layout ---

class MermaidLabel : public ::testing::Test {
protected:
    template <class T> T* Item(int32_t i) const
    {
        auto* item = dynamic_cast<T*>(label.GetItem(i));
        EXPECT_NE(item, nullptr) << "item " << i;
        return item;
    }
    int Count(TZORItemType type) const
    {
        int n = 0;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
            n += label.GetItem(i)->TypeCode() == type;
        return n;
    }

    TZORLabelVCL label;
};

TEST_F(MermaidLabel, FlowchartNodesStandInOneRowJoinedByLinks)
{
    TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
    QString text = QStringLiteral("flowchart LR\nN0[zero] --> N1{one}\nN1 -->|yes| N2((two))\nN2 --- N0\n");
    for (int i = 3; i < 10; ++i)
        text += QStringLiteral("N%1[n%1]\n").arg(i);
    ASSERT_TRUE(TZORFactory::LoadMermaid(label, text));

    ASSERT_EQ(label.GetItemsCount(), 13); // the rectangle is gone: ten nodes, three links
    for (int32_t i = 0; i < 10; ++i) {
        const TZORFlow* flow = Item<TZORFlow>(i + 1);
        ASSERT_NE(flow, nullptr);
        EXPECT_EQ(flow->GetPoint(1).X, 1000 + 60000 * i);
        EXPECT_EQ(flow->GetPoint(1).Y, 1000);
        EXPECT_EQ(flow->GetPoint(2).X - flow->GetPoint(1).X, 40000);
        EXPECT_EQ(flow->GetPoint(2).Y - flow->GetPoint(1).Y, 20000);
        const QStringList named = { "zero", "one", "two" };
        EXPECT_EQ(flow->GetText(), i < 3 ? named[i] : QStringLiteral("n%1").arg(i));
    }
    EXPECT_EQ(Item<TZORFlow>(10)->GetPoint(1).X, 541000);
    EXPECT_EQ(Item<TZORFlow>(1)->GetFlowType(), TZORFlowType::Process);
    EXPECT_EQ(Item<TZORFlow>(2)->GetFlowType(), TZORFlowType::Decision);
    EXPECT_EQ(Item<TZORFlow>(3)->GetFlowType(), TZORFlowType::StartEnd);

    const int32_t ids[]
        = { Item<TZORFlow>(1)->GetID(), Item<TZORFlow>(2)->GetID(), Item<TZORFlow>(3)->GetID() };
    const int32_t ends[3][2] = { { ids[0], ids[1] }, { ids[1], ids[2] }, { ids[2], ids[0] } };
    // Links to the next node join the facing sides; the link back goes under the row, from the
    // bottom of one node to the bottom of the other.
    using F = TZORBaseFlow;
    const int16_t sides[3][2] = { { F::RightAnchor, F::LeftAnchor }, { F::RightAnchor, F::LeftAnchor },
        { F::BottomAnchor, F::BottomAnchor } };
    const TZORinkType kinds[3] = { TZORinkType::Straight, TZORinkType::Straight, TZORinkType::Points };
    for (int32_t i = 0; i < 3; ++i) {
        const TZORLink* link = Item<TZORLink>(11 + i);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->GetFromID(), ends[i][0]);
        EXPECT_EQ(link->GetToID(), ends[i][1]);
        EXPECT_EQ(link->GetFromIndex(), sides[i][0]);
        EXPECT_EQ(link->GetToIndex(), sides[i][1]);
        EXPECT_EQ(link->GetLinkType(), kinds[i]);
    }
    // The paper grows to hold the row of ten.
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 541000 + 40000 + 1000);
    // The first link runs from the middle of node 1's right side to the middle of node 2's left.
    const TZORLink* first = Item<TZORLink>(11);
    EXPECT_EQ(first->GetStartPoint(), (TZORPto { 41000, 11000 }));
    EXPECT_EQ(first->GetEndPoint(), (TZORPto { 61000, 11000 }));
}

TEST_F(MermaidLabel, EveryShapeKindTakesItsFlowchartShape)
{
    ASSERT_TRUE(TZORFactory::LoadMermaid(label,
        QStringLiteral("graph TD\nA[a]\nB{b}\nC((c))\nD[[d]]\nE(((e)))\nF(Link f)\nG[(g)]\nH[Document h]\n"
                       "I([i])\nJ(j)\n")));
    const TZORFlowType expect[] = { TZORFlowType::Process, TZORFlowType::Decision, TZORFlowType::StartEnd,
        TZORFlowType::Subroutine, TZORFlowType::LoopStop, TZORFlowType::Link, TZORFlowType::Database,
        TZORFlowType::Document, TZORFlowType::Terminal, TZORFlowType::Terminal };
    ASSERT_EQ(label.GetItemsCount(), 10);
    for (int32_t i = 0; i < 10; ++i)
        EXPECT_EQ(Item<TZORFlow>(i + 1)->GetFlowType(), expect[i]) << i;
}

TEST_F(MermaidLabel, AnEmptyTextEmptiesTheLabel)
{
    for (const char* text : { "", "flowchart TD\n", "sequenceDiagram\n" }) {
        TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
        EXPECT_TRUE(TZORFactory::LoadMermaid(label, QString::fromLatin1(text)));
        EXPECT_EQ(label.GetItemsCount(), 0) << text;
    }
}

TEST_F(MermaidLabel, ATextWithAnErrorLeavesTheLabelAsItWas)
{
    TZORRectangle* kept = TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
    label.Measure().SetPaperSizeMM(50, 60);
    label.GetActiveLayer()->SetFontName("Courier New");
    label.SetModified(false);
    for (const char* text : { "flowchart TD\nA --> B\nC[oops", "sequenceDiagram\nA->>B: hi\nA->>B" }) {
        EXPECT_THROW(TZORFactory::LoadMermaid(label, QString::fromLatin1(text)), EZORError) << text;
        ASSERT_EQ(label.GetItemsCount(), 1);
        EXPECT_EQ(label.GetItem(1), kept);
        EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 50000);
        EXPECT_EQ(label.GetActiveLayer()->GetFontName(), "Courier New");
        EXPECT_FALSE(label.GetModified());
        EXPECT_FALSE(label.IsUpdating());
    }
}

// Two participants, a grey dotted message, a cross message and a note with line breaks.
TEST_F(MermaidLabel, SequenceDiagramElementsInTheirOrderAndPlaces)
{
    ASSERT_TRUE(TZORFactory::LoadMermaid(label,
        QStringLiteral("sequenceDiagram\n"
                       "participant A as Alice\n"
                       "A-->>B: dotted\n"
                       "B-xA: cross\n"
                       "Note right of A: one<br/>two<br>three\n")));
    const int64_t a = 10000 + 17500, b = 165000 + 17500;
    struct TExpect {
        TZORItemType Type;
        int64_t X1, Y1, X2, Y2;
    };
    const TExpect expect[] = {
        { TZORItemType::Rectangle, 10000, 8000, 45000, 20000 },
        { TZORItemType::Paragraph, 10000, 8000, 45000, 20000 },
        { TZORItemType::Rectangle, 165000, 8000, 200000, 20000 },
        { TZORItemType::Paragraph, 165000, 8000, 200000, 20000 },
        { TZORItemType::Line, a, 20000, a, 92500 },
        { TZORItemType::Line, b, 20000, b, 92500 },
        { TZORItemType::ArrowLine, a, 27500, b, 27500 },
        // Message texts stand 1 mm above their arrows.
        { TZORItemType::Paragraph, a, 21500, b, 26500 },
        { TZORItemType::ArrowLine, b, 42500, a, 42500 },
        { TZORItemType::Paragraph, a, 36500, b, 41500 },
        { TZORItemType::Line, a - 1000, 41500, a + 1000, 43500 },
        { TZORItemType::Line, a - 1000, 43500, a + 1000, 41500 },
        // The note stands 2 mm into its row, which is as tall as the note and that gap: the foot
        // boxes stand below it.
        { TZORItemType::Paragraph, a + 19500, 52000, a + 54500, 82000 },
        { TZORItemType::Rectangle, 10000, 92500, 45000, 104500 },
        { TZORItemType::Paragraph, 10000, 92500, 45000, 104500 },
        { TZORItemType::Rectangle, 165000, 92500, 200000, 104500 },
        { TZORItemType::Paragraph, 165000, 92500, 200000, 104500 },
    };
    ASSERT_EQ(label.GetItemsCount(), int32_t(std::size(expect)));
    for (int32_t i = 0; i < int32_t(std::size(expect)); ++i) {
        const TZORBaseItem* item = label.GetItem(i + 1);
        const TExpect& e = expect[i];
        EXPECT_EQ(item->TypeCode(), e.Type) << i;
        EXPECT_EQ(item->GetPoint(1).X, e.X1) << i;
        EXPECT_EQ(item->GetPoint(1).Y, e.Y1) << i;
        EXPECT_EQ(item->GetPoint(2).X, e.X2) << i;
        EXPECT_EQ(item->GetPoint(2).Y, e.Y2) << i;
    }
    EXPECT_EQ(Item<TZORParagraph>(2)->GetText(), "Alice");
    EXPECT_TRUE(Item<TZORParagraph>(2)->GetBold());
    EXPECT_FLOAT_EQ(Item<TZORParagraph>(2)->GetFontHeight(), 4.0f);
    EXPECT_EQ(Item<TZORParagraph>(4)->GetText(), "B");
    EXPECT_EQ(Item<TZORRectangle>(1)->GetBackColor(), TAlphaColor { 0xFFE6E6FAu });
    EXPECT_TRUE(Item<TZORRectangle>(1)->GetFilled());
    EXPECT_EQ(Item<TZORArrowLine>(7)->GetColor(), zor::claGray);
    EXPECT_EQ(Item<TZORArrowLine>(9)->GetColor(), zor::claBlack);
    EXPECT_FLOAT_EQ(Item<TZORArrowLine>(9)->GetPenWidth(), 0.2f);
    EXPECT_EQ(Item<TZORParagraph>(8)->GetText(), "dotted");
    EXPECT_EQ(Item<TZORParagraph>(8)->GetVertAlign(), TZORVertAlign::Bottom);
    EXPECT_EQ(Item<TZORParagraph>(8)->GetFontName(), "Arial");
    const TZORParagraph* note = Item<TZORParagraph>(13);
    EXPECT_EQ(note->GetText(), "one\r\ntwo\r\nthree");
    EXPECT_EQ(note->GetBackColor(), TAlphaColor { 0xFFFFFFE0u });
    EXPECT_EQ(note->GetColor(), TAlphaColor { 0xFFDAA520u });
    EXPECT_EQ(Item<TZORLine>(5)->GetColor(), zor::claGray);
    EXPECT_FLOAT_EQ(Item<TZORLine>(5)->GetPenWidth(), 0.1f);
    EXPECT_FLOAT_EQ(Item<TZORRectangle>(14)->GetPenWidth(), 0.2f);
    EXPECT_EQ(Item<TZORParagraph>(15)->GetText(), "Alice");
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 210000);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 124500);
}

TEST_F(MermaidLabel, ThreeMessagesGiveThePaperOfTheirRows)
{
    ASSERT_TRUE(TZORFactory::LoadMermaid(
        label, QStringLiteral("sequenceDiagram\nA->>B: 1\nB->>A: 2\nA->>A: self\n")));
    std::vector<int64_t> arrows;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (label.GetItem(i)->TypeCode() == TZORItemType::ArrowLine)
            arrows.push_back(label.GetItem(i)->GetPoint(1).Y);
    // The arrow of a message to oneself comes back 5 mm lower.
    EXPECT_EQ(arrows, (std::vector<int64_t> { 27500, 42500, 57500 + 5000 }));
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 107500);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 210000);
    // A message to oneself: a loop out to the right and an arrow back, its text beside the loop.
    const TZORBaseItem* out = label.GetItem(4 + 2 + 2 * 2 + 1);
    EXPECT_EQ(out->TypeCode(), TZORItemType::PolyLine);
    const TZORBaseItem* back = label.GetItem(4 + 2 + 2 * 2 + 2);
    EXPECT_EQ(back->TypeCode(), TZORItemType::ArrowLine);
    EXPECT_EQ(back->GetPoint(1).X, 27500 + 8000);
    EXPECT_EQ(back->GetPoint(2).X, 27500);
    const TZORParagraph* text = Item<TZORParagraph>(4 + 2 + 2 * 2 + 3);
    EXPECT_EQ(text->GetText(), "self");
    EXPECT_EQ(text->GetPoint(1).X, 27500 + 8000 + 2000);
    EXPECT_EQ(text->GetPoint(2).X, 27500 + 8000 + 2000 + 35000);
    EXPECT_EQ(text->GetHorzAlign(), TZORHorzAlign::Left);
}

TEST_F(MermaidLabel, OneParticipantAndANoteOverTwo)
{
    ASSERT_TRUE(TZORFactory::LoadMermaid(label, QStringLiteral("sequenceDiagram\nparticipant Solo\n")));
    EXPECT_EQ(label.GetItem(1)->GetPoint(1).X, 10000);
    EXPECT_EQ(label.GetItemsCount(), 2 + 1 + 2);

    ASSERT_TRUE(TZORFactory::LoadMermaid(label,
        QStringLiteral(
            "sequenceDiagram\nparticipant A\nparticipant B\nparticipant C\nNote over C,A: wide\n")));
    // Boxes at 10000, 87500 and 165000: the note spans from A's box to C's.
    const TZORBaseItem* note = label.GetItem(3 * 2 + 3 + 1);
    EXPECT_EQ(note->TypeCode(), TZORItemType::Paragraph);
    EXPECT_EQ(note->GetPoint(1).X, 10000);
    EXPECT_EQ(note->GetPoint(2).X, 200000);
    EXPECT_EQ(note->GetPoint(1).Y, 20000 + 2000);
}

TEST_F(MermaidLabel, NoParticipantsKeepThePaper)
{
    TMermaidParser empty;
    label.Measure().SetPaperSizeMM(50, 60);
    TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
    TZORFactory::DrawSequenceDiagram(label, empty);
    EXPECT_EQ(label.GetItemsCount(), 1);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 60000);
}

// --- Texts written for Mermaid itself ---

struct TRealCase {
    const char* Name;
    const char* Text;
    std::vector<const char*> Nodes; // flowcharts: every node; sequences: every participant
    std::vector<const char*> Edges; // "from>to" in text order
};

const TRealCase RealCases[] = {
    { "decision",
        R"M(flowchart TD
    A[Christmas] -->|Get money| B(Go shopping)
    B --> C{Let me think}
    C -->|One| D[Laptop]
    C -->|Two| E[iPhone]
    C -->|Three| F[fa:fa-car Car]
)M",
        { "A", "B", "C", "D", "E", "F" }, { "A>B", "B>C", "C>D", "C>E", "C>F" } },
    { "login",
        R"M(graph LR;
    start([Start]) --> login[/Enter credentials/];
    login --> check{Valid?};
    check -- yes --> home[[Dashboard]];
    check -- no --> login;
    home -.-> logout((Log out));
)M",
        { "start", "login", "check", "home", "logout" },
        { "start>login", "login>check", "check>home", "check>login", "home>logout" } },
    { "pipeline",
        R"M(flowchart LR
  subgraph CI
    direction TB
    src[Source] ==> build[Build] ==> test[Test]
  end
  test --> deploy[(Artifacts)] & notify>Notify]
  classDef green fill:#9f6,stroke:#333,stroke-width:2px
  class build,test green
)M",
        { "src", "build", "test", "deploy", "notify" },
        { "src>build", "build>test", "test>deploy", "test>notify" } },
    { "shapes",
        R"M(graph TB
    id1(((Stop))) --- id2{{Prepare}}
    id3[\Manual/] --o id4[/Input\]
    id5["Quoted (text)"] --x id1
    id2 <--> id3
    id4 ~~~ id5
)M",
        // The invisible link id4 ~~~ id5 joins nothing.
        { "id1", "id2", "id3", "id4", "id5" }, { "id1>id2", "id3>id4", "id5>id1", "id2>id3" } },
    { "bare",
        R"M(graph TD
A-->B
A-->C
B-->D
C-->D
)M",
        { "A", "B", "C", "D" }, { "A>B", "A>C", "B>D", "C>D" } },
    { "older form",
        R"M(flowchart
start[Begin]
step[[Work]]
finish((Done))
start ----> step || go
step --x--> finish || end
)M",
        { "start", "step", "finish" }, { "start>step", "step>finish" } },
};

const TRealCase RealSequences[] = {
    { "greeting",
        R"M(sequenceDiagram
    Alice->>John: Hello John, how are you?
    John-->>Alice: Great!
    Alice-)John: See you later!
)M",
        { "Alice", "John" }, { "Alice>John", "John>Alice", "Alice>John" } },
    { "actors",
        R"M(sequenceDiagram
    actor U as User
    participant W as Web server
    participant D as Database
    U->>+W: GET /page
    W->>+D: SELECT *
    D-->>-W: rows
    W-->>-U: 200 OK
    Note over W,D: cached for 5 min
)M",
        { "U", "W", "D" }, { "U>W", "W>D", "D>W", "W>U" } },
    { "loop and notes",
        R"M(sequenceDiagram
    participant Alice
    participant Bob
    Alice->John: Hello John, how are you?
    loop Healthcheck
        John->John: Fight against hypochondria
    end
    Note right of John: Rational thoughts <br/>prevail!
    John-->Alice: Great!
    John->Bob: How about you?
    Bob-->John: Jolly good!
)M",
        { "Alice", "Bob", "John" }, { "Alice>John", "John>John", "John>Alice", "John>Bob", "Bob>John" } },
    { "failures",
        R"M(sequenceDiagram
    autonumber
    Client-xServer: request lost
    Client--xServer: retry lost
    Server--)Client: async reply
    alt success
        Server->>Client: data
    else failure
        Server->>Client: error
    end
)M",
        { "Client", "Server" },
        { "Client>Server", "Client>Server", "Server>Client", "Server>Client", "Server>Client" } },
    { "activation",
        R"M(sequenceDiagram
    participant A as Alice
    activate A
    A->>B: Hello
    deactivate A
    par Alice to Bob
        A->>B: Hi
    and Alice to Carl
        A->>C: Hi
    end
    critical Connect
        B-->C: hand over
    option Timeout
        C-->B: give up
    end
    Note left of A: left
)M",
        { "A", "B", "C" }, { "A>B", "A>B", "A>C", "B>C", "C>B" } },
    { "xavier",
        R"M(sequenceDiagram
    Ann->>xavier: hi
    xavier->>Ann: hello
    Note over Ann: Ann's turn
)M",
        { "Ann", "xavier" }, { "Ann>xavier", "xavier>Ann" } },
};

TEST_F(MermaidLabel, RealWorldFlowchartsImportWhole)
{
    for (const TRealCase& c : RealCases) {
        const TMermaidParser p = Parsed(QString::fromUtf8(c.Text));
        ASSERT_EQ(p.GetNodes().size(), c.Nodes.size()) << c.Name;
        for (size_t i = 0; i < c.Nodes.size(); ++i)
            EXPECT_EQ(p.GetNodes()[i].ID, c.Nodes[i]) << c.Name;
        ASSERT_EQ(p.GetConnections().size(), c.Edges.size()) << c.Name;
        for (size_t i = 0; i < c.Edges.size(); ++i) {
            const TConnection& e = p.GetConnections()[i];
            EXPECT_EQ(e.FromNode + ">" + e.ToNode, c.Edges[i]) << c.Name;
        }
        ASSERT_TRUE(TZORFactory::LoadMermaid(label, QString::fromUtf8(c.Text))) << c.Name;
        EXPECT_EQ(Count(TZORItemType::Flow), int(c.Nodes.size())) << c.Name;
        EXPECT_EQ(Count(TZORItemType::Link), int(c.Edges.size())) << c.Name;
    }
}

TEST_F(MermaidLabel, RealWorldSequenceDiagramsImportWhole)
{
    for (const TRealCase& c : RealSequences) {
        const TMermaidParser p = Parsed(QString::fromUtf8(c.Text));
        EXPECT_EQ(p.GetDiagramType(), TDiagramType::dtSequence) << c.Name;
        QStringList names;
        for (const char* n : c.Nodes)
            names << n;
        EXPECT_EQ(p.GetParticipants(), names) << c.Name;
        QStringList messages;
        for (const TSeqEvent& e : p.GetSeqEvents())
            if (e.EventType == TSeqEventType::sqMessage)
                messages << e.FromActor + ">" + e.ToActor;
        QStringList expect;
        for (const char* m : c.Edges)
            expect << m;
        EXPECT_EQ(messages, expect) << c.Name;
        ASSERT_TRUE(TZORFactory::LoadMermaid(label, QString::fromUtf8(c.Text))) << c.Name;
        EXPECT_EQ(Count(TZORItemType::ArrowLine), int(c.Edges.size())) << c.Name;
        EXPECT_EQ(Count(TZORItemType::Rectangle), 2 * int(c.Nodes.size())) << c.Name;
    }
}

// --- Texts written for Mermaid that lost or garbled something ---

// Every text the label shows (node texts, then for sequences the names, message texts and
// notes), in the order made.
QStringList ShownTexts(const TZORBaseLabel& label)
{
    QStringList texts;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        const TZORBaseItem* item = label.GetItem(i);
        if (const auto* flow = dynamic_cast<const TZORFlow*>(item))
            texts << flow->GetText();
        else if (const auto* para = dynamic_cast<const TZORParagraph*>(item))
            texts << para->GetText();
    }
    return texts;
}

// What the parser found, as Mermaid's own parser sees it: nodes or participants by identifier,
// connections or messages "from>to", notes "note>actor".
QStringList Found(const TMermaidParser& p)
{
    QStringList found;
    if (p.GetDiagramType() == TDiagramType::dtFlowChart) {
        for (const TNode& n : p.GetNodes())
            found << n.ID;
        for (const TConnection& c : p.GetConnections())
            found << c.FromNode + ">" + c.ToNode;
        return found;
    }
    found << p.GetParticipants();
    for (const TSeqEvent& e : p.GetSeqEvents())
        found << (e.EventType == TSeqEventType::sqNote ? "note>" + e.FromActor
                                                       : e.FromActor + ">" + e.ToActor);
    return found;
}

struct TImportCase {
    const char* Text;
    std::vector<const char*> Found; // as Found() gives it
    std::vector<const char*> Shown; // as ShownTexts() gives it
    const char* Error = nullptr; // the whole message, for a text refused
};

QStringList Strings(const std::vector<const char*>& list)
{
    QStringList out;
    for (const char* s : list)
        out << QString::fromUtf8(s);
    return out;
}

TEST_F(MermaidLabel, WhatTheImportMakesOfTextsWrittenForMermaid)
{
    const TImportCase cases[] = {
        // Statements after the header's ";" (or a space), and between ";" in sequence diagrams.
        { "sequenceDiagram;A->>B: hi", { "A", "B", "A>B" }, { "A", "B", "hi", "A", "B" } },
        { "sequenceDiagram A->>B: hi", { "A", "B", "A>B" }, { "A", "B", "hi", "A", "B" } },
        { "sequenceDiagram\nA->>B: one; B-->>A: two", { "A", "B", "A>B", "B>A" },
            { "A", "B", "one", "two", "A", "B" } },
        // An entity code's ";" ends nothing; a ";" in a message text ends the message, as in Mermaid.
        { "sequenceDiagram\nA->>B: #35;1 #quot;hi#quot;", { "A", "B", "A>B" },
            { "A", "B", "#1 \"hi\"", "A", "B" } },
        { "sequenceDiagram\nA->>B: a; b", {}, {}, "Line 2: \"b\" is not a participant, a note or a message" },
        { "sequenceDiagram foo", {}, {}, "Line 1: \"foo\" is not a participant, a note or a message" },
        // Line breaks and entity codes in messages, notes, aliases and node texts.
        { "sequenceDiagram\nparticipant A as Ann<br>Lee\nA->>B: one<br>two<br/>three<BR />four\n"
          "Note over B: #9829; #amp; #lt;br#gt; #bogus; #0;",
            { "A", "B", "A>B", "note>B" },
            { "Ann\r\nLee", "B", "one\r\ntwo\r\nthree\r\nfour", "\u2665 & <br> #bogus; #0;", "Ann\r\nLee",
                "B" } },
        { "flowchart LR\nA[one<br>two] -->|#35;1| B[\"#quot;q#quot;\"]\nB --> C{#9829;}",
            { "A", "B", "C", "A>B", "B>C" }, { "one\r\ntwo", "\"q\"", "\u2665" } },
        { "graph TD;A[x;y]-->B;B-->|#59;|A", { "A", "B", "A>B", "B>A" }, { "x;y", "B" } },
        // A participant made by "create" keeps its alias.
        { "sequenceDiagram\nA->>B: hi\ncreate participant C as Carl\nB->>C: hello\ncreate actor D\nC->>D: "
          "yo\n"
          "destroy D",
            { "A", "B", "C", "D", "A>B", "B>C", "C>D" },
            { "A", "B", "Carl", "D", "hi", "hello", "yo", "A", "B", "Carl", "D" } },
        { "sequenceDiagram\ncreate note over A: x", {}, {},
            "Line 2: a participant name, optionally followed by \"as\" and an alias, is expected at \"note "
            "over A: "
            "x\"" },
    };
    for (const TImportCase& c : cases) {
        const QString text = QString::fromUtf8(c.Text);
        if (c.Error) {
            EXPECT_EQ(ErrorOf(text), QString::fromUtf8(c.Error)) << c.Text;
            EXPECT_THROW(TZORFactory::LoadMermaid(label, text), EZORError) << c.Text;
            continue;
        }
        EXPECT_EQ(Found(Parsed(text)), Strings(c.Found)) << c.Text;
        ASSERT_TRUE(TZORFactory::LoadMermaid(label, text)) << c.Text;
        EXPECT_EQ(ShownTexts(label), Strings(c.Shown)) << c.Text;
    }
}

// A paragraph's box, found by its text, or an arrow's, by its place among the arrows ("->1").
struct TPlaced {
    const char* What;
    int64_t X1, Y1, X2, Y2;
};

struct TPlaceCase {
    const char* Text;
    std::vector<TPlaced> Placed;
    int64_t PaperWidth, PaperHeight;
};

const TZORBaseItem* FindPlaced(const TZORBaseLabel& label, const QString& what)
{
    int arrows = 0;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        const TZORBaseItem* item = label.GetItem(i);
        const auto* para = dynamic_cast<const TZORParagraph*>(item);
        if (para && para->GetText() == what)
            return item;
        if (item->TypeCode() == TZORItemType::ArrowLine && what == QStringLiteral("->%1").arg(++arrows))
            return item;
    }
    return nullptr;
}

// Notes stand where they say, texts of messages to oneself beside their loop, rows make room
// for their notes, and the drawing moves right and the paper widens to hold what reaches past.
TEST_F(MermaidLabel, SequencePlacesNotesAndTextsOnThePaper)
{
    const TPlaceCase cases[] = {
        // Left of the first participant: the drawing moves 37 mm right, the paper widens with it.
        { "sequenceDiagram\nparticipant A\nparticipant B\nNote left of A: left",
            { { "left", 10000, 22000, 45000, 52000 }, { "A", 47000, 8000, 82000, 20000 },
                { "B", 202000, 8000, 237000, 20000 } },
            247000, 94500 },
        { "sequenceDiagram\nparticipant A\nparticipant B\nNote right of B: right",
            { { "right", 202000, 22000, 237000, 52000 }, { "B", 165000, 8000, 200000, 20000 } }, 247000,
            94500 },
        { "sequenceDiagram\nparticipant A\nparticipant B\nNote over A: over",
            { { "over", 10000, 22000, 45000, 52000 } }, 210000, 94500 },
        { "sequenceDiagram\nparticipant A\nparticipant B\nB->>B: think",
            { { "think", 192500, 27500, 227500, 32500 }, { "->1", 190500, 32500, 182500, 32500 } }, 237500,
            77500 },
        // A note over two takes its whole height: the next message comes below it.
        { "sequenceDiagram\nparticipant A\nparticipant B\nparticipant C\nNote over A,B: both\nA->>C: next",
            { { "both", 10000, 22000, 122500, 52000 }, { "next", 27500, 53500, 182500, 58500 },
                { "->1", 27500, 59500, 182500, 59500 } },
            210000, 109500 },
    };
    for (const TPlaceCase& c : cases) {
        ASSERT_TRUE(TZORFactory::LoadMermaid(label, QString::fromUtf8(c.Text))) << c.Text;
        for (const TPlaced& p : c.Placed) {
            const TZORBaseItem* item = FindPlaced(label, QString::fromUtf8(p.What));
            ASSERT_NE(item, nullptr) << c.Text << " " << p.What;
            EXPECT_EQ(item->GetPoint(1).X, p.X1) << c.Text << " " << p.What;
            EXPECT_EQ(item->GetPoint(1).Y, p.Y1) << c.Text << " " << p.What;
            EXPECT_EQ(item->GetPoint(2).X, p.X2) << c.Text << " " << p.What;
            EXPECT_EQ(item->GetPoint(2).Y, p.Y2) << c.Text << " " << p.What;
        }
        EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), c.PaperWidth) << c.Text;
        EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), c.PaperHeight) << c.Text;
    }
}

// A message text too long for the room between two lifelines grows upwards in lines and its
// arrow moves down; the rows after it follow.
TEST_F(MermaidLabel, ALongMessageTextTakesTheLinesItNeeds)
{
    ASSERT_TRUE(TZORFactory::LoadMermaid(label,
        QStringLiteral(
            "sequenceDiagram\nparticipant A\nparticipant B\nparticipant C\nparticipant D\n"
            "participant E\nparticipant F\nA->>B: a text far too long for the room between two lifelines\n"
            "B->>A: short\n")));
    const auto* text = dynamic_cast<const TZORParagraph*>(
        FindPlaced(label, "a text far too long for the room between two lifelines"));
    ASSERT_NE(text, nullptr);
    const int64_t height = text->GetPoint(2).Y - text->GetPoint(1).Y;
    EXPECT_GT(height, 5000);
    EXPECT_EQ(text->GetPoint(1).Y, 21500); // the box keeps its top and grows down
    const TZORBaseItem* first = FindPlaced(label, "->1");
    const TZORBaseItem* second = FindPlaced(label, "->2");
    EXPECT_EQ(first->GetPoint(1).Y, 22500 + height);
    EXPECT_EQ(second->GetPoint(1).Y, 22500 + height + 15000);
    // Every character is laid out: nothing is cut.
    int32_t laid = 0;
    for (const TZORTxtInf& line : text->GetLines())
        laid += line.count;
    EXPECT_EQ(laid, text->GetText().size());
}

struct TRouteCase {
    const char* Text;
    // Per link in text order: the from and to anchors, and the link points (none for straight).
    std::vector<std::pair<std::pair<int16_t, int16_t>, std::vector<int64_t>>> Links;
    int64_t RowTop;
    int64_t PaperWidth;
};

// Where an end of the link lies: on the side of its anchor on its node.
struct TLinkEnd {
    const TZORBaseFlow* Node;
    int16_t Anchor;
    TZORPto At;
};

std::array<TLinkEnd, 2> EndsOf(const TZORBaseLabel& label, const TZORLink& link)
{
    const auto node = [&](int32_t id) { return dynamic_cast<const TZORBaseFlow*>(label.SearchItem(id)); };
    return { { { node(link.GetFromID()), link.GetFromIndex(), link.GetStartPoint() },
        { node(link.GetToID()), link.GetToIndex(), link.GetEndPoint() } } };
}

// Whether p lies on the side of the node that the anchor names.
bool OnSide(const TZORBaseFlow& node, int16_t anchor, const TZORPto& p)
{
    using F = TZORBaseFlow;
    const TZORRect b = node.GetBounds().Normalized();
    const bool across = anchor == F::TopAnchor || anchor == F::BottomAnchor;
    const int64_t line = anchor == F::TopAnchor ? b.Top
        : anchor == F::BottomAnchor             ? b.Bottom
        : anchor == F::LeftAnchor               ? b.Left
                                                : b.Right;
    return across ? p.Y == line && p.X >= b.Left && p.X <= b.Right
                  : p.X == line && p.Y >= b.Top && p.Y <= b.Bottom;
}

// Every end lies on its side, no two ends on one node meet, and a link round the row leaves
// and enters its nodes square to their sides.
void ExpectEndsApartOnTheirSides(
    const TZORBaseLabel& label, const std::vector<const TZORLink*>& links, const char* text)
{
    std::vector<TLinkEnd> ends;
    for (const TZORLink* link : links) {
        for (const TLinkEnd& end : EndsOf(label, *link)) {
            ASSERT_NE(end.Node, nullptr) << text;
            EXPECT_TRUE(OnSide(*end.Node, end.Anchor, end.At))
                << text << " at " << end.At.X << "," << end.At.Y;
            for (const TLinkEnd& other : ends)
                EXPECT_FALSE(other.Node == end.Node && other.At == end.At)
                    << text << ": two ends at " << end.At.X << "," << end.At.Y;
            ends.push_back(end);
        }
        const int32_t n = link->GetNumLinkPoints();
        if (n > 0) {
            EXPECT_EQ(link->GetLinkPoint(1).X, link->GetStartPoint().X) << text;
            EXPECT_EQ(link->GetLinkPoint(n).X, link->GetEndPoint().X) << text;
        }
    }
}

// The row keeps its nodes; a link that skips nodes, runs back, joins a node to itself or repeats
// another goes round the row in a lane of its own. The ends of the links on one side of a node
// spread along it, ordered so that the legs cross nothing.
TEST_F(MermaidLabel, LinksThatCannotRunStraightGoRoundTheRow)
{
    using F = TZORBaseFlow;
    const std::pair<int16_t, int16_t> side { F::RightAnchor, F::LeftAnchor };
    const std::pair<int16_t, int16_t> top { F::TopAnchor, F::TopAnchor };
    const std::pair<int16_t, int16_t> bottom { F::BottomAnchor, F::BottomAnchor };
    const TRouteCase cases[] = {
        // Back under the row: down, along the lane 8 mm below, up.
        { "graph LR\nA-->B\nB-->A", { { side, {} }, { bottom, { 81000, 29000, 21000, 29000 } } }, 1000,
            210000 },
        // A repeated link goes over the row.
        { "graph LR\nA-->B\nA-->B", { { side, {} }, { top, { 21000, 1000, 81000, 1000 } } }, 9000, 210000 },
        // The loop takes the nearest lane, the link over B the next; the three ends on A's top
        // lie 4 mm apart.
        { "graph LR\nA-->B-->C\nA-->C\nA-->A",
            { { side, {} }, { side, {} }, { top, { 25000, 1000, 141000, 1000 } },
                { top, { 17000, 5000, 21000, 5000 } } },
            13000, 210000 },
        // Two links enter D's top: the one from nearer, in the lower lane, on the left.
        { "graph LR\nA-->B-->C-->D\nA-->D\nB-->D",
            { { side, {} }, { side, {} }, { side, {} }, { top, { 21000, 1000, 203000, 1000 } },
                { top, { 81000, 5000, 199000, 5000 } } },
            13000, 222000 },
        // One link enters C's top and one leaves it: the one coming in on the left.
        { "graph LR\nA-->B-->C-->D-->E\nA-->C\nC-->E",
            { { side, {} }, { side, {} }, { side, {} }, { side, {} }, { top, { 21000, 5000, 139000, 5000 } },
                { top, { 143000, 1000, 261000, 1000 } } },
            13000, 282000 },
        // Below the row the same: one link leaves B's bottom to the left, one enters it from the
        // right.
        { "graph LR\nA-->B-->C\nB-->A\nC-->B",
            { { side, {} }, { side, {} }, { bottom, { 79000, 29000, 21000, 29000 } },
                { bottom, { 141000, 33000, 83000, 33000 } } },
            1000, 210000 },
        // Eight nodes in a row: the paper grows to hold them (the height stays).
        { "graph LR\nA-->B-->C-->D-->E-->F-->G-->H",
            { { side, {} }, { side, {} }, { side, {} }, { side, {} }, { side, {} }, { side, {} },
                { side, {} } },
            1000, 462000 },
    };
    for (const TRouteCase& c : cases) {
        label.Measure().SetPaperSizeMM(210, 297);
        ASSERT_TRUE(TZORFactory::LoadMermaid(label, QString::fromUtf8(c.Text))) << c.Text;
        std::vector<const TZORLink*> links;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
            if (const auto* link = dynamic_cast<const TZORLink*>(label.GetItem(i)))
                links.push_back(link);
            else
                EXPECT_EQ(label.GetItem(i)->GetPoint(1).Y, c.RowTop) << c.Text;
        }
        ASSERT_EQ(links.size(), c.Links.size()) << c.Text;
        for (size_t i = 0; i < links.size(); ++i) {
            const auto& [anchors, points] = c.Links[i];
            EXPECT_EQ(links[i]->GetFromIndex(), anchors.first) << c.Text << " " << i;
            EXPECT_EQ(links[i]->GetToIndex(), anchors.second) << c.Text << " " << i;
            EXPECT_EQ(links[i]->GetLinkType(), points.empty() ? TZORinkType::Straight : TZORinkType::Points);
            std::vector<int64_t> got;
            for (int32_t k = 1; k <= links[i]->GetNumLinkPoints(); ++k)
                got.insert(got.end(), { links[i]->GetLinkPoint(k).X, links[i]->GetLinkPoint(k).Y });
            EXPECT_EQ(got, points) << c.Text << " " << i;
        }
        ExpectEndsApartOnTheirSides(label, links, c.Text);
        EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), c.PaperWidth) << c.Text;
        EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 297000) << c.Text;
    }
    // A small paper grows in both directions, with a millimetre to spare round the drawing.
    label.Measure().SetPaperSizeMM(50, 20);
    ASSERT_TRUE(TZORFactory::LoadMermaid(label, QStringLiteral("graph LR\nA-->B\nB-->A")));
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 102000);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 1000 + 20000 + 8000 + 1000);
}

// Whether p lies on the node's drawn outline: a step from p into the node, square to the
// anchor's side, lands inside the shape and a step out of it does not.
bool OnOutline(const TZORFlow& node, int16_t anchor, const TZORPto& p)
{
    using F = TZORBaseFlow;
    constexpr double Step = 20; // micrometres
    const QPointF in = anchor == F::TopAnchor ? QPointF(0, Step)
        : anchor == F::BottomAnchor           ? QPointF(0, -Step)
        : anchor == F::LeftAnchor             ? QPointF(Step, 0)
                                              : QPointF(-Step, 0);
    const TZORRect b = node.GetBounds().Normalized();
    const QPainterPath shape
        = zor::FlowPaths(node.GetFlowType(), QRectF(QPointF(b.Left, b.Top), QPointF(b.Right, b.Bottom)))
              .Shape.Path();
    const QPointF at(double(p.X), double(p.Y));
    return shape.contains(at + in) && !shape.contains(at - in);
}

// The ends that share a side of a shape other than a box lie apart on its drawn outline, where
// the legs coming square to the side meet it: on a diamond's slanted edges, a circle, a
// stadium's round ends, a document's wave.
TEST_F(MermaidLabel, EndsOffTheMiddleOfASideLieOnTheDrawnOutline)
{
    const char* const shapes[]
        = { "D{d}", "D{{d}}", "D((d))", "D(d)", "D([d])", "D[[d]]", "D[(d)]", "D[Document d]" };
    for (const char* shape : shapes) {
        const QString text = QStringLiteral("graph LR\nA-->B-->C-->%1\nA-->D\nB-->D\nD-->A\nD-->B")
                                 .arg(QString::fromUtf8(shape));
        ASSERT_TRUE(TZORFactory::LoadMermaid(label, text)) << shape;
        std::vector<TZORPto> ends;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
            const auto* link = dynamic_cast<const TZORLink*>(label.GetItem(i));
            if (link == nullptr || link->GetNumLinkPoints() == 0)
                continue;
            const std::array<TLinkEnd, 2> both = EndsOf(label, *link);
            const int32_t n = link->GetNumLinkPoints();
            EXPECT_EQ(link->GetLinkPoint(1).X, both[0].At.X) << shape;
            EXPECT_EQ(link->GetLinkPoint(n).X, both[1].At.X) << shape;
            for (const TLinkEnd& end : both) {
                const auto* node = dynamic_cast<const TZORFlow*>(end.Node);
                ASSERT_NE(node, nullptr) << shape;
                if (node->GetFlowType() == TZORFlowType::Process)
                    continue;
                EXPECT_TRUE(OnOutline(*node, end.Anchor, end.At))
                    << shape << " at " << end.At.X << "," << end.At.Y;
                EXPECT_EQ(std::count(ends.begin(), ends.end(), end.At), 0) << shape;
                ends.push_back(end.At);
            }
        }
        EXPECT_EQ(ends.size(), 4u) << shape; // two on the top, two on the bottom
    }
    // On the diamond, |x - cx| / (w/2) + |y - cy| / (h/2) = 1 at each end, to a micrometre.
    ASSERT_TRUE(TZORFactory::LoadMermaid(label, QStringLiteral("graph LR\nA-->B-->C-->D{d}\nA-->D\nB-->D")));
    const TZORBaseFlow* diamond = nullptr;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (const auto* link = dynamic_cast<const TZORLink*>(label.GetItem(i));
            link && link->GetNumLinkPoints() > 0) {
            const TLinkEnd end = EndsOf(label, *link)[1];
            ASSERT_TRUE(diamond == nullptr || diamond == end.Node);
            diamond = end.Node;
            const TZORRect b = diamond->GetBounds().Normalized();
            const double hw = double(b.Right - b.Left) / 2, hh = double(b.Bottom - b.Top) / 2;
            const double dx = std::abs(double(end.At.X) - (double(b.Left) + hw));
            const double dy = std::abs(double(end.At.Y) - (double(b.Top) + hh));
            EXPECT_GT(dx, 0.0);
            EXPECT_NEAR(dx / hw + dy / hh, 1.0, 1.0 / hh) << end.At.X << "," << end.At.Y;
        }
    EXPECT_NE(diamond, nullptr);
}

class MermaidFile : public zor::test::TempDirTest { };

// A saved diagram keeps its links' ends where the import spread them, in both file forms.
TEST_F(MermaidFile, SpreadEndsComeBackFromBothFileForms)
{
    TZORLabelVCL original;
    ASSERT_TRUE(
        TZORFactory::LoadMermaid(original, QStringLiteral("graph LR\nA-->B-->C\nA-->C\nA-->A\nC-->A")));
    struct TEnds {
        float FromAlong, ToAlong;
        TZORPto Start, End;
        bool operator==(const TEnds&) const = default;
    };
    const auto ends = [](const TZORLabelVCL& label) {
        std::vector<TEnds> all;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
            if (const auto* link = dynamic_cast<const TZORLink*>(label.GetItem(i)))
                all.push_back(
                    { link->GetFromAlong(), link->GetToAlong(), link->GetStartPoint(), link->GetEndPoint() });
        return all;
    };
    const std::vector<TEnds> made = ends(original);
    ASSERT_EQ(made.size(), 5u);
    EXPECT_EQ(made[2].FromAlong, 0.6f); // A's top: the loop's two ends, then the link to C
    EXPECT_EQ(made[3].FromAlong, 0.4f);
    EXPECT_EQ(made[3].Start, (TZORPto { 17000, 13000 }));
    for (const auto& [name, kind] : { std::pair { QStringLiteral("flow.eti"), TZORExt::Binary },
             std::pair { QStringLiteral("flow.json"), TZORExt::Json } }) {
        original.SaveToFile(Path(name), kind);
        TZORLabelVCL copy;
        copy.LoadFromFile(Path(name));
        EXPECT_EQ(ends(copy), made) << name.toStdString();
    }
}

} // namespace
