#pragma once

#include "Zor.RtlExport.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace zor {

// The two kinds of Mermaid diagram the import reads.
enum class TDiagramType : uint8_t { dtFlowChart = 0, dtSequence = 1 };

// The shape kind of a flowchart node.
enum class TNodeType : uint8_t {
    ntProcess = 0,
    ntDecision = 1,
    ntStartEnd = 2,
    ntSubroutine = 3,
    ntLoopStop = 4,
    ntLink = 5,
    ntDatabase = 6,
    ntDocument = 7,
    ntTerminal = 8,
    ntUnknown = 9
};

struct QUINDLE_RTL_EXPORT TNode {
    QString ID; // identifier in the text
    int32_t InId = 0; // item ID of the flowchart element made for it; 0 until made
    QString Text;
    TNodeType NodeType = TNodeType::ntProcess;
};

struct QUINDLE_RTL_EXPORT TConnection {
    QString FromNode;
    QString ToNode;
    QString Text;
};

enum class TSeqEventType : uint8_t { sqMessage = 0, sqNote = 1 };
enum class TSeqLineStyle : uint8_t { slSolid = 0, slDotted = 1 };
enum class TSeqArrowHead : uint8_t { shSolid = 0, shOpen = 1, shCross = 2, shNone = 3 };

// A statement the import reads and does not draw, or draws only in part (an edge text, a link
// kind other than the plain arrow, a subgraph, a style, a sequence block): its line (1-based)
// and its text as written.
struct QUINDLE_RTL_EXPORT TMermaidLeftOut {
    int32_t Line = 0;
    QString Text;

    bool operator==(const TMermaidLeftOut&) const = default;
};

// A message or a note of a sequence diagram.
struct QUINDLE_RTL_EXPORT TSeqEvent {
    TSeqEventType EventType = TSeqEventType::sqMessage;
    QString FromActor; // sender; the (first) participant of a note
    QString ToActor; // receiver; the second participant of a note over two, else empty
    QString Text;
    TSeqLineStyle LineStyle = TSeqLineStyle::slSolid;
    TSeqArrowHead ArrowHead = TSeqArrowHead::shSolid;
    QString NotePosition; // "right of", "left of" or "over"; empty for a message
};

// Reads Mermaid flowcharts and sequence diagrams, as people write them for Mermaid itself.
//
// Flowcharts: a "graph" or "flowchart" header with an optional direction (TB, TD, BT, RL, LR);
// statements separated by lines or ";": nodes with or without a shape (A, A[t], A(t), A((t)),
// A{t}, A[[t]], A[(t)], A(((t))), A([t]), A{{t}}, A[/t/], A>t] ..., the text optionally quoted),
// joined by arrows (-->, ---, -.->, ==>, --x, --o, <-->, ~~~, with any length) into chains,
// "&" joining several nodes at one end, edge texts written "-->|text|" or "-- text -->".
// Also read: the older forms "A --x--> B || text" and "A ----> B || text" (the text after "||"
// belongs to the last arrow) and shape closers that begin with "]" ("A(t]").
// Sequence diagrams: statements separated by lines or ";" (also right after the header),
// "participant" and "actor" with an optional alias ("as Alice"), also after "create", messages
// "A->>B: text" with the arrows ->, -->, ->>, -->>, -x, --x, -), --) (and ->x, -->>x), an
// optional activation mark before the receiver ("->>+B"), and notes "Note right of A: text",
// "Note left of A", "Note over A" and "Note over A,B".
// An entity code ("#quot;", "#35;", "&amp;", "&#35;") ends no statement with its ";".
// Lines starting with "%%" and a "---" front matter block are skipped. Statements that only
// style, group or annotate (subgraph, end, classDef, style, loop, alt, activate, ...) are
// skipped only when they are that statement: a keyword followed by an arrow is a node or a
// participant ("title --> B", "Link ->> B: hi"). Every statement the drawing leaves out, whole
// or in part, is listed in GetLeftOut(). An invisible link ("A ~~~ B") joins nothing.
//
// A line that is none of these raises EZORError naming the line; the containers then hold what
// the lines before it gave.
class QUINDLE_RTL_EXPORT TMermaidParser {
public:
    TMermaidParser() = default;

    // Parses a whole text; a header line switches the diagram type for the lines after it.
    void ParseMermaidCode(const QString& text);
    // One statement (without its line number in an error).
    void ParseFlowChartLine(const QString& line);
    void ParseSequenceLine(const QString& line);
    // One sequence statement, after the line was split at ";".
    void ParseSequenceStatement(const QString& line);
    // The kind of a node from its bracketed shape text ("[t]", "((t))", "{t}").
    static TNodeType ParseNodeType(const QString& text);

    TDiagramType GetDiagramType() const { return fDiagramType; }
    // Nodes in the order of their first mention. A node mentioned without a shape takes its
    // identifier as text and the process shape until a definition with a shape comes; of two
    // definitions with a shape the first wins.
    const std::vector<TNode>& GetNodes() const { return fNodes; }
    const TNode* FindNode(const QString& id) const;
    void SetNodeInId(const QString& id, int32_t inId);
    const std::vector<TConnection>& GetConnections() const { return fConnections; }
    // Participants in the order of first mention, by identifier.
    const QStringList& GetParticipants() const { return fParticipants; }
    // The text a participant's box shows: its alias, else its identifier.
    QString ParticipantText(const QString& name) const;
    const std::vector<TSeqEvent>& GetSeqEvents() const { return fSeqEvents; }
    // The statements the drawing leaves out or shows only in part, each once, in text order.
    const std::vector<TMermaidLeftOut>& GetLeftOut() const { return fLeftOut; }

private:
    static void RefuseOtherDiagram(const QString& line);
    bool ParseHeader(const QString& line);
    void ParseStatement(const QString& statement);
    void MentionNode(const QString& id);
    void DefineNode(const QString& id, const QString& text, TNodeType type);
    void AddParticipant(const QString& name);
    void ParseParticipant(const QString& rest);
    void ParseCreated(const QString& rest);
    void ParseNote(const QString& rest);
    void ParseMessage(const QString& line);
    void LeaveOut(const QString& statement);

    TDiagramType fDiagramType = TDiagramType::dtFlowChart;
    std::vector<TNode> fNodes;
    QHash<QString, size_t> fNodeIndex;
    QSet<QString> fShaped; // nodes defined with a shape
    std::vector<TConnection> fConnections;
    QStringList fParticipants;
    QHash<QString, QString> fAliases;
    std::vector<TSeqEvent> fSeqEvents;
    std::vector<TMermaidLeftOut> fLeftOut;
    int32_t fLine = 0; // of the statement being read; 0 outside ParseMermaidCode
};

// A text as Mermaid shows it: "<br>", "<br/>" and "<br />" (any case) break the line, entity
// codes ("#quot;", "#9829;", "&amp;", "&#35;") stand for their characters; an unknown code stays
// as written.
QUINDLE_RTL_EXPORT QString MermaidShown(const QString& text);

} // namespace zor
