#include "Zor.Mermaid.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using zor::MermaidShown;
using zor::TDiagramType;
using zor::TMermaidLeftOut;
using zor::TMermaidParser;

// What the Mermaid reader keeps and what it lists as left out: every statement Mermaid takes is
// either read into the diagram or named, with its line, in the list the import reports.
namespace zor {

// GoogleTest finds a printer beside its type.
static void PrintTo(const TMermaidLeftOut& l, std::ostream* os)
{
    *os << l.Line << ": " << l.Text.toStdString();
}

} // namespace zor

namespace {

TMermaidParser Parsed(const char* text)
{
    TMermaidParser p;
    p.ParseMermaidCode(QString::fromUtf8(text));
    return p;
}

struct TLeftOutCase {
    const char* Text;
    std::vector<TMermaidLeftOut> LeftOut;
    size_t Nodes; // flowchart nodes, or participants of a sequence diagram
    size_t Links; // connections, or events of a sequence diagram
};

TEST(MermaidReader, EachStatementIsReadOrListedAsLeftOut)
{
    const TLeftOutCase cases[] = {
        // Words the reader skips name nodes and participants when an arrow follows them.
        { "graph LR\ntitle --> B", {}, 2, 1 },
        { "graph LR\ndirection --> accTitle\naccTitle --> end2", {}, 3, 2 },
        { "graph LR\nsubgraph --> B & C", {}, 3, 2 },
        { "sequenceDiagram\nLink ->> B: hi", {}, 2, 1 },
        { "sequenceDiagram\nLinks->>B: hi\nDetails ->> B: a\nProperties -->> Links: b", {}, 4, 3 },
        { "sequenceDiagram\nloop -->> B: hi", {}, 2, 1 },
        // The statements themselves are left out, each with its line.
        { "graph LR\nA --> B\ntitle: Orders\naccTitle: Orders\ndirection TB",
            { { 3, "title: Orders" }, { 4, "accTitle: Orders" }, { 5, "direction TB" } }, 2, 1 },
        { "graph LR\nsubgraph one [Group]\nA --> B\nend\nclassDef hot fill:#f96\nclass A hot\n"
          "style B fill:#bbf\nlinkStyle 0 stroke:#ff3\nclick A callback",
            { { 2, "subgraph one [Group]" }, { 4, "end" }, { 5, "classDef hot fill:#f96" },
                { 6, "class A hot" }, { 7, "style B fill:#bbf" }, { 8, "linkStyle 0 stroke:#ff3" },
                { 9, "click A callback" } },
            2, 1 },
        // Edge texts and link kinds other than the plain arrow are drawn as plain arrows.
        { "graph LR\nA -->|yes| B\nB -- no --> C\nC --> D", { { 2, "A -->|yes| B" }, { 3, "B -- no --> C" } },
            4, 3 },
        { "graph LR\nA -.-> B\nB ==> C\nC --- D\nD --x E\nE --o F\nF <--> G\nG ---> H",
            { { 2, "A -.-> B" }, { 3, "B ==> C" }, { 4, "C --- D" }, { 5, "D --x E" }, { 6, "E --o F" },
                { 7, "F <--> G" } },
            8, 7 },
        { "graph LR\nA:::hot --> B", { { 2, "A:::hot --> B" } }, 2, 1 },
        // Two statements of one line: each listed on its own; a statement listed once.
        { "graph LR; A -.-> B; B --> C; C ==> D -.-> E", { { 1, "A -.-> B" }, { 1, "C ==> D -.-> E" } }, 5,
            4 },
        // The older form's text is not drawn either; its arrows are.
        { "graph LR\nA --x--> B || text", { { 2, "A --x--> B || text" } }, 2, 1 },
        // An invisible link places nodes in Mermaid and joins nothing here: nothing is lost.
        { "graph LR\nA ~~~ B", {}, 2, 0 },
        // Sequence blocks, activations, numbering and destruction.
        { "sequenceDiagram\nautonumber\nloop Every minute\nalt ok\nA->>B: yes\nelse not ok\nA-xB: "
          "no\nend\nend",
            { { 2, "autonumber" }, { 3, "loop Every minute" }, { 4, "alt ok" }, { 6, "else not ok" },
                { 8, "end" }, { 9, "end" } },
            2, 2 },
        { "sequenceDiagram\nopt maybe\npar one\nA->>B: x\nand two\ncritical c\noption o\nbreak b\nrect "
          "rgb(0,0,0)\n"
          "A->>B: y\nend",
            { { 2, "opt maybe" }, { 3, "par one" }, { 5, "and two" }, { 6, "critical c" }, { 7, "option o" },
                { 8, "break b" }, { 9, "rect rgb(0,0,0)" }, { 11, "end" } },
            2, 2 },
        { "sequenceDiagram\nA->>+B: go\nactivate A\nB-->>-A: done\ndeactivate A\ndestroy B",
            { { 2, "A->>+B: go" }, { 3, "activate A" }, { 4, "B-->>-A: done" }, { 5, "deactivate A" },
                { 6, "destroy B" } },
            2, 2 },
        { "sequenceDiagram; title: Talk; A->>B: hi", { { 1, "title: Talk" } }, 2, 1 },
        // What is drawn whole lists nothing.
        { "graph TD\nA[Start] --> B{Ok?} --> C((End))\n%% a comment", {}, 3, 2 },
        { "sequenceDiagram\nparticipant A as Alice\nA->>B: hi\nNote over A,B: both\nB--)A: later", {}, 2, 3 },
    };
    for (const TLeftOutCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TMermaidParser p = Parsed(c.Text);
        EXPECT_EQ(p.GetLeftOut(), c.LeftOut);
        const bool sequence = p.GetDiagramType() == TDiagramType::dtSequence;
        EXPECT_EQ(sequence ? size_t(p.GetParticipants().size()) : p.GetNodes().size(), c.Nodes);
        EXPECT_EQ(sequence ? p.GetSeqEvents().size() : p.GetConnections().size(), c.Links);
    }
}

TEST(MermaidReader, EntityCodesOfMermaidAndOfHtmlShowTheirCharacters)
{
    const struct {
        const char* Written;
        const char* Shown;
    } cases[] = {
        { "Tom &amp; Jerry", "Tom & Jerry" },
        { "&lt;b&gt; &quot;x&quot; &apos;y&apos;", "<b> \"x\" 'y'" },
        { "&#35;1 and #35;2 and #quot;q#quot;", "#1 and #2 and \"q\"" },
        { "a<br>b<br/>c<BR />d", "a\r\nb\r\nc\r\nd" },
        // Unknown codes and a bare "&" stay as written.
        { "&nosuch; & #nosuch; &#0; &", "&nosuch; & #nosuch; &#0; &" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(zor::MermaidShown(QString::fromUtf8(c.Written)), QString::fromUtf8(c.Shown)) << c.Written;
    // Within a node's shape, an HTML code's ";" ends no statement.
    const TMermaidParser p = Parsed("graph LR\nA[Tom &amp; Jerry] --> B");
    ASSERT_EQ(p.GetNodes().size(), 2u);
    EXPECT_EQ(p.GetNodes()[0].Text, "Tom &amp; Jerry");
    // Nor in an edge text or a message; a ";" after a name that is no code still ends one.
    EXPECT_EQ(Parsed("graph LR\nA -->|&lt;3| B").GetConnections().at(0).Text, "&lt;3");
    EXPECT_EQ(Parsed("sequenceDiagram\nA->>B: Tom &amp; Jerry").GetSeqEvents().at(0).Text, "Tom &amp; Jerry");
    EXPECT_EQ(Parsed("graph LR\nA-->B&C;D-->E").GetConnections().size(), 3u);
}

} // namespace
