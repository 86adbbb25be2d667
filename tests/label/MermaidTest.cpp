#include "Zor.Layer.h"
#include "Zor.Msg.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Mermaid.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <vector>

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
    { "A ~~~ B", { { "A", "B", "" } } },
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
    // Links join the facing sides of the nodes in the row: forward right to left, back left to
    // right.
    using F = TZORBaseFlow;
    const int16_t sides[3][2] = { { F::RightAnchor, F::LeftAnchor }, { F::RightAnchor, F::LeftAnchor },
        { F::LeftAnchor, F::RightAnchor } };
    for (int32_t i = 0; i < 3; ++i) {
        const TZORLink* link = Item<TZORLink>(11 + i);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->GetFromID(), ends[i][0]);
        EXPECT_EQ(link->GetToID(), ends[i][1]);
        EXPECT_EQ(link->GetFromIndex(), sides[i][0]);
        EXPECT_EQ(link->GetToIndex(), sides[i][1]);
        EXPECT_EQ(link->GetLinkType(), TZORinkType::Straight);
    }
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
        { TZORItemType::ArrowLine, a, 27500, b, 27500 },
        { TZORItemType::Paragraph, a, 22500, b, 27500 },
        { TZORItemType::ArrowLine, b, 42500, a, 42500 },
        { TZORItemType::Paragraph, a, 37500, b, 42500 },
        { TZORItemType::Line, a - 1000, 41500, a + 1000, 43500 },
        { TZORItemType::Line, a - 1000, 43500, a + 1000, 41500 },
        { TZORItemType::Paragraph, a + 19500, 50000, a + 54500, 80000 },
        { TZORItemType::Line, a, 20000, a, 75500 },
        { TZORItemType::Line, b, 20000, b, 75500 },
        { TZORItemType::Rectangle, 10000, 75500, 45000, 87500 },
        { TZORItemType::Paragraph, 10000, 75500, 45000, 87500 },
        { TZORItemType::Rectangle, 165000, 75500, 200000, 87500 },
        { TZORItemType::Paragraph, 165000, 75500, 200000, 87500 },
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
    EXPECT_EQ(Item<TZORArrowLine>(5)->GetColor(), zor::claGray);
    EXPECT_EQ(Item<TZORArrowLine>(7)->GetColor(), zor::claBlack);
    EXPECT_EQ(Item<TZORParagraph>(6)->GetText(), "dotted");
    EXPECT_EQ(Item<TZORParagraph>(6)->GetVertAlign(), TZORVertAlign::Bottom);
    EXPECT_EQ(Item<TZORParagraph>(6)->GetFontName(), "Arial");
    const TZORParagraph* note = Item<TZORParagraph>(11);
    EXPECT_EQ(note->GetText(), "one\r\ntwo\r\nthree");
    EXPECT_EQ(note->GetBackColor(), TAlphaColor { 0xFFFFFFE0u });
    EXPECT_EQ(note->GetColor(), TAlphaColor { 0xFFDAA520u });
    EXPECT_EQ(Item<TZORLine>(12)->GetColor(), zor::claGray);
    EXPECT_FLOAT_EQ(Item<TZORLine>(12)->GetPenWidth(), 0.1f);
    EXPECT_FLOAT_EQ(Item<TZORRectangle>(14)->GetPenWidth(), 0.2f);
    EXPECT_EQ(Item<TZORParagraph>(15)->GetText(), "Alice");
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 210000);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 107500);
}

TEST_F(MermaidLabel, ThreeMessagesGiveThePaperOfTheirRows)
{
    ASSERT_TRUE(TZORFactory::LoadMermaid(
        label, QStringLiteral("sequenceDiagram\nA->>B: 1\nB->>A: 2\nA->>A: self\n")));
    std::vector<int64_t> arrows;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (label.GetItem(i)->TypeCode() == TZORItemType::ArrowLine)
            arrows.push_back(label.GetItem(i)->GetPoint(1).Y);
    EXPECT_EQ(arrows, (std::vector<int64_t> { 27500, 42500, 57500 }));
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 107500);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 210000);
    // A message to oneself: a zero-length arrow and a text box of no width.
    const TZORBaseItem* self = label.GetItem(4 + 2 * 2 + 1);
    EXPECT_EQ(self->GetPoint(1).X, self->GetPoint(2).X);
    EXPECT_EQ(label.GetItem(4 + 2 * 2 + 2)->GetPoint(2).X - label.GetItem(4 + 2 * 2 + 2)->GetPoint(1).X, 0);
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
    const TZORBaseItem* note = label.GetItem(7);
    EXPECT_EQ(note->TypeCode(), TZORItemType::Paragraph);
    EXPECT_EQ(note->GetPoint(1).X, 10000);
    EXPECT_EQ(note->GetPoint(2).X, 200000);
    EXPECT_EQ(note->GetPoint(1).Y, 27500 - 7500);
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
        { "id1", "id2", "id3", "id4", "id5" }, { "id1>id2", "id3>id4", "id5>id1", "id2>id3", "id4>id5" } },
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

} // namespace
