#include "Zor.Vcl.Mermaid.h"

#include "Zor.Label.h"
#include "Zor.Layer.h"
#include "Zor.Msg.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Shared.Factory.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <QRegularExpression>
#include <QScopeGuard>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <utility>

namespace {

// --- Grammar tables ---

// Node shapes, opener and closer, longest openers first so that "((" is not read as "(".
struct TShape {
    QStringView Open;
    QStringView Close;
};

constexpr TShape Shapes[] = {
    { u"[((", u"))]" }, // database of the older form
    { u"(((", u")))" }, // loop stop (double circle)
    { u"([", u"])" }, // terminal (stadium)
    { u"[(", u")]" }, // database (cylinder)
    { u"[[", u"]]" }, // subroutine
    { u"((", u"))" }, // start / end (circle)
    { u"{{", u"}}" }, // hexagon
    { u"[/", u"/]" }, // parallelogram
    { u"[/", u"\\]" }, // trapezoid
    { u"[\\", u"\\]" }, // parallelogram the other way
    { u"[\\", u"/]" }, // trapezoid upside down
    { u"(", u")" }, // rounded
    { u"[", u"]" }, // process
    { u"{", u"}" }, // decision
    { u">", u"]" }, // asymmetric
};

// Characters that end an unquoted node text.
constexpr QStringView ShapeChars = u"()[]{}\"";

// The shape of the older form: any opener, closed by "]" and optionally more closers.
constexpr auto LegacyShapePattern = R"((\[\[|\(\(\(|\(|\[\(\(|\[|\{)([^()\[\]{}]*)\]\]?\)?\)?\}?\]?\)?)";

// How ParseNodeType tells the kinds apart: the first rule that holds decides.
enum class TShapeTest : uint8_t { Contains, Encloses };

struct TNodeRule {
    TShapeTest Test;
    QStringView A; // Contains: both A and B occur; Encloses: starts with A and ends with B
    QStringView B;
    TNodeType Kind;
};

constexpr TNodeRule NodeRules[] = {
    { TShapeTest::Contains, u"[((", u"))]", TNodeType::ntDatabase },
    { TShapeTest::Contains, u"(((", u")))", TNodeType::ntLoopStop },
    { TShapeTest::Contains, u"((", u"))", TNodeType::ntStartEnd },
    { TShapeTest::Contains, u"{", u"}", TNodeType::ntDecision },
    { TShapeTest::Contains, u"[[", u"]]", TNodeType::ntSubroutine },
    { TShapeTest::Encloses, u"[(", u")]", TNodeType::ntDatabase },
    { TShapeTest::Encloses, u"([", u"])", TNodeType::ntTerminal },
    { TShapeTest::Encloses, u"[", u"]", TNodeType::ntProcess }, // ntDocument when it says so
    { TShapeTest::Contains, u"(Link", u"", TNodeType::ntLink },
    // Mermaid's round-edged box: the rounded terminal is the nearest shape.
    { TShapeTest::Encloses, u"(", u")", TNodeType::ntTerminal },
};

// Flowchart arrows, tried in this order at the place of an arrow. The older "--x-->" comes first,
// or "--x" would be taken for a cross end.
constexpr const char* FlowArrows[] = {
    R"(--[xo]-->)",
    R"([<xo]?-{2,}[->xo])", // ---, -->, --x, --o, <-->, ---->
    R"([<xo]?={2,}[=>xo])", // ===, ==>
    R"([<xo]?-?\.+-[>xo]?)", // -.-, -.->, -..->
    R"(~{3,})", // invisible
};

// Arrows with their text inside: "-- text -->", "== text ==>", "-. text .->". Tried after the
// arrows above, so that "--o" stays a circle end.
struct TTextArrow {
    const char* Start;
    const char* End;
};

constexpr TTextArrow TextArrows[] = {
    { R"([<xo]?--)", R"(-{2,}[->xo])" },
    { R"([<xo]?==)", R"(={2,}[=>xo])" },
    { R"([<xo]?-\.)", R"(\.+-[>xo]?)" },
};

// Diagram headers.
constexpr QStringView FlowHeaders[] = { u"graph", u"flowchart" };
constexpr QStringView SequenceHeader = u"sequenceDiagram";
constexpr QStringView Directions[] = { u"TB", u"TD", u"BT", u"RL", u"LR" };
// Headers of Mermaid's other diagrams: their text would otherwise read as a flowchart of nonsense.
// Only the first line of a text can be one, so that nodes may bear these names.
constexpr QStringView OtherDiagrams[] = { u"classDiagram", u"stateDiagram", u"stateDiagram-v2", u"erDiagram",
    u"journey", u"gantt", u"pie", u"quadrantChart", u"requirementDiagram", u"gitGraph", u"mindmap",
    u"timeline", u"sankey-beta", u"xychart-beta", u"block-beta", u"packet-beta", u"kanban",
    u"architecture-beta", u"C4Context", u"C4Container", u"C4Component", u"C4Dynamic", u"C4Deployment" };

// Statements that only style, group or annotate: skipped, their nodes and arrows aside.
constexpr QStringView FlowSkipped[] = { u"subgraph", u"end", u"classDef", u"class", u"style", u"linkStyle",
    u"click", u"direction", u"accTitle", u"accDescr", u"title" };
constexpr QStringView SequenceSkipped[] = { u"autonumber", u"activate", u"deactivate", u"loop", u"alt",
    u"else", u"opt", u"par", u"and", u"critical", u"option", u"break", u"rect", u"end", u"title", u"box",
    u"destroy", u"link", u"links", u"properties", u"details", u"accTitle", u"accDescr" };

constexpr QStringView ParticipantWords[] = { u"participant", u"actor" };

// Sequence arrows: a run of dashes (two or more: dotted) and one of these ends. An "x" after ">"
// is a cross only when no name follows it at once ("A->>xavier" goes to xavier).
struct TSeqArrowEnd {
    QStringView Tail;
    TSeqArrowHead Head;
    bool Alone;
};

constexpr TSeqArrowEnd SeqArrowEnds[] = {
    { u">>x", TSeqArrowHead::shCross, true },
    { u">x", TSeqArrowHead::shCross, true },
    { u">>", TSeqArrowHead::shSolid, false },
    { u">", TSeqArrowHead::shSolid, false },
    { u"x", TSeqArrowHead::shCross, false },
    { u")", TSeqArrowHead::shOpen, false },
};

// --- Reading ---

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

template <size_t N> bool OneOf(QStringView word, const QStringView (&table)[N], Qt::CaseSensitivity cs)
{
    for (QStringView t : table)
        if (word.compare(t, cs) == 0)
            return true;
    return false;
}

QRegularExpression Expr(const char* pattern)
{
    return QRegularExpression(QString::fromLatin1(pattern));
}

// The expressions of the tables above, compiled once.
struct TGrammar {
    QRegularExpression LegacyShape = Expr(LegacyShapePattern);
    std::vector<QRegularExpression> FlowArrows;
    std::vector<std::pair<QRegularExpression, QRegularExpression>> TextArrows;
    QRegularExpression NotePlace { QStringLiteral(R"(^\s*(left\s+of|right\s+of|over)\s)"),
        QRegularExpression::CaseInsensitiveOption };
};

const TGrammar& Grammar()
{
    static const TGrammar grammar = [] {
        TGrammar g;
        for (const char* arrow : FlowArrows)
            g.FlowArrows.push_back(Expr(arrow));
        for (const TTextArrow& arrow : TextArrows)
            g.TextArrows.emplace_back(Expr(arrow.Start), Expr(arrow.End));
        return g;
    }();
    return grammar;
}

// A place in one statement, read from left to right.
struct TCursor {
    const QString& S;
    qsizetype P = 0;

    QStringView Ahead() const { return QStringView(S).mid(P); }
    void Skip()
    {
        while (P < S.size() && S[P].isSpace())
            ++P;
    }
    bool AtEnd()
    {
        Skip();
        return P >= S.size();
    }
    bool Eat(QStringView t)
    {
        Skip();
        if (!Ahead().startsWith(t))
            return false;
        P += t.size();
        return true;
    }
    QString Name()
    {
        Skip();
        const qsizetype b = P;
        while (P < S.size() && IsNameChar(S[P]))
            ++P;
        return S.mid(b, P - b);
    }
    QString Rest() const { return S.mid(P).trimmed(); }
    // The pattern matched right here; the cursor moves past it.
    std::optional<QRegularExpressionMatch> Match(const QRegularExpression& expr)
    {
        QRegularExpressionMatch m = expr.match(
            S, P, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return std::nullopt;
        P = m.capturedEnd();
        return m;
    }
};

// The error of key naming what was found, or that the statement ended too early.
EZORError Expected(const char* key, const QString& found)
{
    if (found.isEmpty())
        return zor::Error(QStringLiteral("MermaidLineEnd"));
    return zor::Error(QString::fromLatin1(key), found);
}

// --- Flowchart statements ---

struct TNodeRef {
    QString ID;
    bool Shaped = false;
    QString Text;
    TNodeType Type = TNodeType::ntProcess;
};

// Nodes joined by arrows: Texts[i] is the text of the arrow between Groups[i] and Groups[i + 1].
struct TFlowStatement {
    std::vector<std::vector<TNodeRef>> Groups;
    std::vector<QString> Texts;
};

struct TShapeText {
    QString Text;
    qsizetype End;
};

// The text after an opener at q and the closer after it.
std::optional<TShapeText> ReadShapeText(const QString& s, qsizetype q, QStringView close)
{
    qsizetype i = q;
    while (i < s.size() && s[i].isSpace())
        ++i;
    if (i < s.size() && s[i] == u'"') {
        const qsizetype quote = s.indexOf(u'"', i + 1);
        if (quote < 0)
            return std::nullopt;
        qsizetype k = quote + 1;
        while (k < s.size() && s[k].isSpace())
            ++k;
        if (!QStringView(s).mid(k).startsWith(close))
            return std::nullopt;
        return TShapeText { s.mid(i + 1, quote - i - 1).trimmed(), k + close.size() };
    }
    qsizetype e = q;
    while (e < s.size() && !ShapeChars.contains(s[e]))
        ++e;
    // A closer may begin with text characters ("/]"): they end the text.
    qsizetype lead = 0;
    while (lead < close.size() && !ShapeChars.contains(close[lead]))
        ++lead;
    const qsizetype at = e - lead;
    if (at < q || !QStringView(s).mid(at).startsWith(close))
        return std::nullopt;
    return TShapeText { s.mid(q, at - q).trimmed(), at + close.size() };
}

// The shape after a node's identifier; false when there is none.
bool ReadShape(TCursor& c, TNodeRef& node)
{
    const qsizetype start = c.P;
    for (const TShape& shape : Shapes) {
        if (!c.Ahead().startsWith(shape.Open))
            continue;
        if (const auto text = ReadShapeText(c.S, start + shape.Open.size(), shape.Close)) {
            node.Text = text->Text;
            node.Type = TMermaidParser::ParseNodeType(c.S.mid(start, text->End - start));
            c.P = text->End;
            return true;
        }
    }
    if (const auto m = c.Match(Grammar().LegacyShape)) {
        node.Text = m->captured(2).trimmed();
        node.Type = TMermaidParser::ParseNodeType(m->captured(0));
        return true;
    }
    return false;
}

bool OpensShape(QChar ch)
{
    return ch == u'[' || ch == u'(' || ch == u'{';
}

TNodeRef ReadNode(TCursor& c)
{
    TNodeRef node;
    node.ID = c.Name();
    if (node.ID.isEmpty())
        throw Expected("MermaidNode", c.Rest());
    node.Text = node.ID;
    const qsizetype afterID = c.P;
    c.Skip();
    const bool opens = c.P < c.S.size() && (OpensShape(c.S[c.P]) || (c.P == afterID && c.S[c.P] == u'>'));
    if (!opens)
        c.P = afterID;
    else if (!ReadShape(c, node))
        throw zor::Error(QStringLiteral("MermaidShape"), node.ID);
    node.Shaped = opens;
    if (c.Eat(u":::") && c.Name().isEmpty())
        throw Expected("MermaidClass", c.Rest());
    return node;
}

std::vector<TNodeRef> ReadGroup(TCursor& c)
{
    std::vector<TNodeRef> group { ReadNode(c) };
    while (c.Eat(u"&"))
        group.push_back(ReadNode(c));
    return group;
}

// The text between bars right after an arrow ("-->|text|"), else empty.
QString ReadBarText(TCursor& c)
{
    c.Skip();
    if (c.P >= c.S.size() || c.S[c.P] != u'|' || c.Ahead().startsWith(u"||"))
        return {};
    const qsizetype bar = c.S.indexOf(u'|', c.P + 1);
    if (bar < 0)
        throw zor::Error(QStringLiteral("MermaidEdgeText"));
    const QString text = c.S.mid(c.P + 1, bar - c.P - 1).trimmed();
    c.P = bar + 1;
    return text;
}

// The arrow here and its text; nothing when no arrow starts here.
std::optional<QString> ReadArrow(TCursor& c)
{
    c.Skip();
    for (const QRegularExpression& arrow : Grammar().FlowArrows)
        if (c.Match(arrow))
            return ReadBarText(c);
    for (const auto& [start, close] : Grammar().TextArrows) {
        if (!c.Match(start))
            continue;
        const QRegularExpressionMatch end = close.match(c.S, c.P);
        if (!end.hasMatch())
            throw zor::Error(QStringLiteral("MermaidEdgeText"));
        const QString text = c.S.mid(c.P, end.capturedStart() - c.P).trimmed();
        c.P = end.capturedEnd();
        return text;
    }
    return std::nullopt;
}

TFlowStatement ReadStatement(const QString& s)
{
    TCursor c { s };
    TFlowStatement st;
    st.Groups.push_back(ReadGroup(c));
    while (!c.AtEnd()) {
        // The older form: the text of the last arrow after "||", to the end of the line.
        if (!st.Texts.empty() && c.Eat(u"||")) {
            st.Texts.back() = c.Rest();
            break;
        }
        const std::optional<QString> text = ReadArrow(c);
        if (!text)
            throw Expected("MermaidArrow", c.Rest());
        st.Texts.push_back(*text);
        st.Groups.push_back(ReadGroup(c));
    }
    return st;
}

// The length of the entity code ("#quot;", "#35;") that starts at i, else 0. Its ";" ends no
// statement.
qsizetype EntityLength(const QString& s, qsizetype i)
{
    if (s[i] != u'#')
        return 0;
    qsizetype e = i + 1;
    while (e < s.size() && IsNameChar(s[e]))
        ++e;
    return e > i + 1 && e < s.size() && s[e] == u';' ? e + 1 - i : 0;
}

// Where a ";" ends a statement: flowcharts keep it inside quotes and shapes, sequence diagrams
// end a statement at every one.
enum class TSplit : uint8_t { OutsideShapes, Everywhere };

// Statements of one line, split at the ";" that end statements; entity codes stay whole.
QStringList SplitStatements(const QString& line, TSplit split)
{
    QStringList parts;
    qsizetype begin = 0;
    int depth = 0;
    bool quoted = false;
    const bool shapes = split == TSplit::OutsideShapes;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar ch = line[i];
        if (const qsizetype entity = EntityLength(line, i)) {
            i += entity - 1;
            continue;
        }
        if (shapes && ch == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (shapes && OpensShape(ch))
            ++depth;
        else if (shapes && (ch == u']' || ch == u')' || ch == u'}') && depth > 0)
            --depth;
        else if (ch == u';' && depth == 0) {
            parts << line.mid(begin, i - begin).trimmed();
            begin = i + 1;
        }
    }
    parts << line.mid(begin).trimmed();
    parts.removeAll(QString());
    return parts;
}

// The leading word of a statement (letters, digits and "_").
QStringView FirstWord(QStringView s)
{
    qsizetype n = 0;
    while (n < s.size() && IsNameChar(s[n]))
        ++n;
    return s.first(n);
}

bool IsComment(QStringView line)
{
    return line.startsWith(u"%%");
}

} // namespace

// --- TMermaidParser ---

void TMermaidParser::ParseMermaidCode(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineBreak);
    fDiagramType = TDiagramType::dtFlowChart;
    bool frontMatter = false;
    bool seenStatement = false;
    bool firstLine = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || IsComment(line))
            continue;
        // A "---" block before the diagram holds its configuration.
        if (line == u"---" && (frontMatter || !seenStatement)) {
            frontMatter = !frontMatter;
            seenStatement = true;
            continue;
        }
        seenStatement = true;
        if (frontMatter)
            continue;
        try {
            if (firstLine)
                RefuseOtherDiagram(line);
            firstLine = false;
            if (ParseHeader(line))
                continue;
            if (fDiagramType == TDiagramType::dtSequence)
                ParseSequenceLine(line);
            else
                ParseFlowChartLine(line);
        } catch (const EZORError& e) {
            throw zor::Error(QStringLiteral("DiagramLine"), QString::number(i + 1), e.Message());
        }
    }
}

void TMermaidParser::RefuseOtherDiagram(const QString& line)
{
    qsizetype n = 0;
    while (n < line.size() && !line[n].isSpace())
        ++n;
    const QString token = line.left(n);
    if (OneOf(QStringView(token), OtherDiagrams, Qt::CaseSensitive))
        throw zor::Error(QStringLiteral("MermaidDiagram"), token);
}

bool TMermaidParser::ParseHeader(const QString& line)
{
    const QStringView word = FirstWord(line);
    if (word == SequenceHeader) {
        // "sequenceDiagram; A->>B: hi": statements may follow the header on its line.
        fDiagramType = TDiagramType::dtSequence;
        ParseSequenceLine(line.mid(word.size()));
        return true;
    }
    if (!OneOf(word, FlowHeaders, Qt::CaseSensitive))
        return false;
    fDiagramType = TDiagramType::dtFlowChart;
    // "graph TD; A --> B": statements may follow the header on its line.
    const QString rest = line.mid(word.size()).trimmed();
    const qsizetype semicolon = rest.indexOf(u';');
    const QString direction = rest.left(semicolon < 0 ? rest.size() : semicolon).trimmed();
    if (!direction.isEmpty() && !OneOf(QStringView(direction), Directions, Qt::CaseSensitive))
        throw zor::Error(QStringLiteral("MermaidDirection"), direction);
    if (semicolon >= 0)
        ParseFlowChartLine(rest.mid(semicolon + 1));
    return true;
}

void TMermaidParser::ParseFlowChartLine(const QString& line)
{
    for (const QString& statement : SplitStatements(line, TSplit::OutsideShapes))
        ParseStatement(statement);
}

void TMermaidParser::ParseStatement(const QString& statement)
{
    if (IsComment(statement) || OneOf(FirstWord(statement), FlowSkipped, Qt::CaseSensitive))
        return;
    const TFlowStatement st = ReadStatement(statement);
    for (const auto& group : st.Groups)
        for (const TNodeRef& node : group) {
            if (node.Shaped)
                DefineNode(node.ID, node.Text, node.Type);
            else
                MentionNode(node.ID);
        }
    for (size_t i = 0; i < st.Texts.size(); ++i)
        for (const TNodeRef& from : st.Groups[i])
            for (const TNodeRef& to : st.Groups[i + 1])
                fConnections.push_back({ from.ID, to.ID, st.Texts[i] });
}

void TMermaidParser::MentionNode(const QString& id)
{
    if (fNodeIndex.contains(id))
        return;
    fNodeIndex.insert(id, fNodes.size());
    fNodes.push_back({ id, 0, id, TNodeType::ntProcess });
}

void TMermaidParser::DefineNode(const QString& id, const QString& text, TNodeType type)
{
    if (fShaped.contains(id))
        return;
    fShaped.insert(id);
    MentionNode(id);
    TNode& node = fNodes[fNodeIndex.value(id)];
    node.Text = text;
    node.NodeType = type;
}

const TNode* TMermaidParser::FindNode(const QString& id) const
{
    const auto it = fNodeIndex.constFind(id);
    return it == fNodeIndex.cend() ? nullptr : &fNodes[*it];
}

void TMermaidParser::SetNodeInId(const QString& id, int32_t inId)
{
    const auto it = fNodeIndex.constFind(id);
    if (it != fNodeIndex.cend())
        fNodes[*it].InId = inId;
}

TNodeType TMermaidParser::ParseNodeType(const QString& text)
{
    for (const TNodeRule& rule : NodeRules) {
        const bool holds = rule.Test == TShapeTest::Contains
            ? text.contains(rule.A) && text.contains(rule.B)
            : text.startsWith(rule.A) && text.endsWith(rule.B);
        if (!holds)
            continue;
        if (rule.Kind == TNodeType::ntProcess && text.contains(u"Document"))
            return TNodeType::ntDocument;
        return rule.Kind;
    }
    return TNodeType::ntUnknown;
}

// --- Sequence diagrams ---

void TMermaidParser::ParseSequenceLine(const QString& line)
{
    for (const QString& statement : SplitStatements(line, TSplit::Everywhere))
        ParseSequenceStatement(statement);
}

void TMermaidParser::ParseSequenceStatement(const QString& line)
{
    const QStringView word = FirstWord(line);
    const QString rest = line.mid(word.size());
    const bool spaced = rest.isEmpty() || rest[0].isSpace();
    if (spaced && OneOf(word, ParticipantWords, Qt::CaseInsensitive))
        ParseParticipant(rest);
    else if (spaced && word.compare(u"create", Qt::CaseInsensitive) == 0)
        ParseCreated(rest.trimmed());
    else if (spaced && word.compare(u"note", Qt::CaseInsensitive) == 0)
        ParseNote(rest);
    else if (!OneOf(word, SequenceSkipped, Qt::CaseInsensitive) || !(spaced || rest.startsWith(u':')))
        ParseMessage(line);
}

void TMermaidParser::AddParticipant(const QString& name)
{
    if (!fParticipants.contains(name))
        fParticipants << name;
}

QString TMermaidParser::ParticipantText(const QString& name) const
{
    return fAliases.value(name, name);
}

void TMermaidParser::ParseParticipant(const QString& rest)
{
    TCursor c { rest };
    const QString name = c.Name();
    if (name.isEmpty())
        throw Expected("MermaidParticipant", c.Rest());
    if (!c.AtEnd()) {
        const QString as = c.Name();
        const QString alias = c.Rest();
        if (as.compare(u"as", Qt::CaseInsensitive) != 0 || alias.isEmpty())
            throw Expected("MermaidParticipant", rest.trimmed());
        fAliases.insert(name, alias);
    }
    AddParticipant(name);
}

// "create participant C as Carl": a participant that Mermaid brings in at its first message; here
// it stands with the others.
void TMermaidParser::ParseCreated(const QString& rest)
{
    const QStringView word = FirstWord(rest);
    const QString declared = rest.mid(word.size());
    if (!OneOf(word, ParticipantWords, Qt::CaseInsensitive) || !(declared.isEmpty() || declared[0].isSpace()))
        throw Expected("MermaidParticipant", rest);
    ParseParticipant(declared);
}

void TMermaidParser::ParseNote(const QString& rest)
{
    const QRegularExpressionMatch m = Grammar().NotePlace.match(rest);
    if (!m.hasMatch())
        throw zor::Error(QStringLiteral("MermaidNote"));
    TSeqEvent e;
    e.EventType = TSeqEventType::sqNote;
    e.NotePosition = m.captured(1).toLower().simplified();
    TCursor c { rest, m.capturedEnd() };
    e.FromActor = c.Name();
    if (c.Eat(u",")) {
        if (e.NotePosition != u"over")
            throw zor::Error(QStringLiteral("MermaidNote"));
        e.ToActor = c.Name();
        if (e.ToActor.isEmpty())
            throw zor::Error(QStringLiteral("MermaidNote"));
    }
    if (e.FromActor.isEmpty() || !c.Eat(u":"))
        throw zor::Error(QStringLiteral("MermaidNote"));
    e.Text = c.Rest();
    AddParticipant(e.FromActor);
    if (!e.ToActor.isEmpty())
        AddParticipant(e.ToActor);
    fSeqEvents.push_back(e);
}

void TMermaidParser::ParseMessage(const QString& line)
{
    TCursor c { line };
    TSeqEvent e;
    e.FromActor = c.Name();
    c.Skip();
    qsizetype dashes = 0;
    while (c.P < line.size() && line[c.P] == u'-') {
        ++c.P;
        ++dashes;
    }
    if (e.FromActor.isEmpty() || dashes == 0)
        throw zor::Error(QStringLiteral("MermaidSequence"), line);
    e.LineStyle = dashes >= 2 ? TSeqLineStyle::slDotted : TSeqLineStyle::slSolid;
    const TSeqArrowEnd* arrowEnd = nullptr;
    for (const TSeqArrowEnd& end : SeqArrowEnds) {
        const QStringView ahead = c.Ahead();
        if (!ahead.startsWith(end.Tail))
            continue;
        if (end.Alone && ahead.size() > end.Tail.size() && IsNameChar(ahead[end.Tail.size()]))
            continue;
        arrowEnd = &end;
        break;
    }
    if (!arrowEnd)
        throw zor::Error(QStringLiteral("MermaidMessage"));
    c.P += arrowEnd->Tail.size();
    e.ArrowHead = arrowEnd->Head;
    // Activation marks before the receiver are read and not kept.
    if (!c.Eat(u"+"))
        c.Eat(u"-");
    e.ToActor = c.Name();
    if (e.ToActor.isEmpty() || !c.Eat(u":"))
        throw zor::Error(QStringLiteral("MermaidMessage"));
    e.Text = c.Rest();
    AddParticipant(e.FromActor);
    AddParticipant(e.ToActor);
    fSeqEvents.push_back(e);
}

// --- Drawing on a label ---

namespace {

// --- Texts as Mermaid shows them ---

// Named entity codes ("#quot;") and the characters they stand for.
struct TEntity {
    QStringView Name;
    char32_t Code;
};

constexpr TEntity Entities[] = {
    { u"quot", 0x22 }, { u"amp", 0x26 }, { u"apos", 0x27 }, { u"lt", 0x3C }, { u"gt", 0x3E },
    { u"nbsp", 0xA0 }, { u"cent", 0xA2 }, { u"pound", 0xA3 }, { u"yen", 0xA5 }, { u"sect", 0xA7 },
    { u"copy", 0xA9 }, { u"laquo", 0xAB }, { u"reg", 0xAE }, { u"deg", 0xB0 }, { u"plusmn", 0xB1 },
    { u"micro", 0xB5 }, { u"para", 0xB6 }, { u"middot", 0xB7 }, { u"raquo", 0xBB }, { u"times", 0xD7 },
    { u"divide", 0xF7 }, { u"ndash", 0x2013 }, { u"mdash", 0x2014 }, { u"lsquo", 0x2018 },
    { u"rsquo", 0x2019 }, { u"ldquo", 0x201C }, { u"rdquo", 0x201D }, { u"bull", 0x2022 },
    { u"hellip", 0x2026 }, { u"euro", 0x20AC }, { u"trade", 0x2122 }, { u"larr", 0x2190 },
    { u"uarr", 0x2191 }, { u"rarr", 0x2192 }, { u"darr", 0x2193 }, { u"harr", 0x2194 },
    { u"infin", 0x221E }, { u"ne", 0x2260 }, { u"le", 0x2264 }, { u"ge", 0x2265 }, { u"spades", 0x2660 },
    { u"clubs", 0x2663 }, { u"hearts", 0x2665 }, { u"diams", 0x2666 }, { u"check", 0x2713 },
};

// The character an entity code's name or decimal number stands for.
std::optional<char32_t> EntityCode(QStringView name)
{
    bool number = false;
    const uint code = name.toUInt(&number, 10);
    if (number) {
        if (code == 0 || code > 0x10FFFF || QChar::isSurrogate(code))
            return std::nullopt;
        return char32_t(code);
    }
    for (const TEntity& e : Entities)
        if (name == e.Name)
            return e.Code;
    return std::nullopt;
}

// A text as Mermaid shows it: "<br>", "<br/>" and "<br />" (any case) break the line, entity
// codes ("#quot;", "#9829;") stand for their characters; an unknown code stays as written.
QString Shown(const QString& text)
{
    static const QRegularExpression lineBreak(
        QStringLiteral(R"(<br\s*/?>)"), QRegularExpression::CaseInsensitiveOption);
    QString s = text;
    s.replace(lineBreak, QStringLiteral("\r\n"));
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const qsizetype n = EntityLength(s, i);
        const std::optional<char32_t> code = n ? EntityCode(QStringView(s).mid(i + 1, n - 2)) : std::nullopt;
        if (!code) {
            out += s[i];
            continue;
        }
        out += QString::fromUcs4(&*code, 1);
        i += n - 1;
    }
    return out;
}

// --- Flowcharts ---

// One row of equal boxes. A link between neighbours runs straight from the right side of one to
// the left side of the next; every other link goes round the row in a lane of its own, above
// the row for links forwards, below it for links backwards, so that none crosses a node or lies
// on another.
constexpr int64_t FlowLeft = 1000;
constexpr int64_t FlowTop = 1000;
constexpr int64_t FlowWidth = 40000;
constexpr int64_t FlowHeight = 20000;
constexpr int64_t FlowStep = FlowWidth + FlowWidth / 2;
constexpr int64_t LinkStub = 4000; // from the node's side to where a link's leg turns straight
constexpr int64_t LaneFirst = 8000; // from the row to the nearest lane
constexpr int64_t LaneGap = 4000;
constexpr int64_t FanStep = 4000; // between the legs of the links that leave one side of a node

// The flowchart shape of each node kind, in the order of TNodeType.
constexpr TZORFlowType FlowShapes[] = {
    TZORFlowType::Process, // ntProcess
    TZORFlowType::Decision, // ntDecision
    TZORFlowType::StartEnd, // ntStartEnd
    TZORFlowType::Subroutine, // ntSubroutine
    TZORFlowType::LoopStop, // ntLoopStop
    TZORFlowType::Link, // ntLink
    TZORFlowType::Database, // ntDatabase
    TZORFlowType::Document, // ntDocument
    TZORFlowType::Terminal, // ntTerminal
    TZORFlowType::Link, // ntUnknown
};
static_assert(std::size(FlowShapes) == size_t(TNodeType::ntUnknown) + 1);

// A link of the row between the nodes in columns From and To.
struct TRowLink {
    int64_t From = 0;
    int64_t To = 0;
    bool Straight = false;
    bool Above = false;
    int64_t Lane = 0; // 1 nearest the row
    int64_t FromLeg = 0; // where the legs leave the nodes, from their middles
    int64_t ToLeg = 0;
};

// The links in text order: the first link from a node to the next runs straight, the others take
// lanes.
std::vector<TRowLink> RowLinks(const std::vector<std::pair<int64_t, int64_t>>& ends)
{
    std::vector<TRowLink> links;
    QSet<int64_t> straight;
    for (const auto& [from, to] : ends) {
        TRowLink link { from, to };
        link.Straight = to == from + 1 && !straight.contains(from);
        if (link.Straight)
            straight.insert(from);
        link.Above = to >= from;
        links.push_back(link);
    }
    return links;
}

bool SharesColumns(const TRowLink& a, const TRowLink& b)
{
    return std::min(a.From, a.To) <= std::max(b.From, b.To) && std::min(b.From, b.To) <= std::max(a.From, a.To);
}

// Lanes on each side: shorter links first, each above every shorter one it shares a column with,
// so that a link never runs under one that it spans.
void AssignLanes(std::vector<TRowLink>& links)
{
    std::vector<TRowLink*> order;
    for (TRowLink& link : links)
        if (!link.Straight)
            order.push_back(&link);
    std::stable_sort(order.begin(), order.end(),
        [](const TRowLink* a, const TRowLink* b) { return std::abs(a->To - a->From) < std::abs(b->To - b->From); });
    for (size_t i = 0; i < order.size(); ++i) {
        int64_t lane = 1;
        for (size_t k = 0; k < i; ++k)
            if (order[k]->Above == order[i]->Above && SharesColumns(*order[k], *order[i]))
                lane = std::max(lane, order[k]->Lane + 1);
        order[i]->Lane = lane;
    }
}

// The legs on one side of each node, spread across it from left to right: links to the left with
// the lowest lane outermost, then loops of the node to itself innermost, then links to the right
// with the lowest lane outermost. Legs that cross nothing they need not.
void AssignLegs(std::vector<TRowLink>& links)
{
    struct TLeg {
        int64_t* Leg;
        int64_t Order; // place from left to right
        int64_t Lane;
    };
    QHash<int64_t, std::vector<TLeg>> sides; // column, and 1 above or 0 below
    const auto add = [&](int64_t column, const TRowLink& link, int64_t* leg, int64_t order) {
        const int64_t lane = order == 0 || order == 2 ? link.Lane : -link.Lane;
        sides[column * 2 + (link.Above ? 1 : 0)].push_back({ leg, order, lane });
    };
    for (TRowLink& link : links) {
        if (link.Straight)
            continue;
        const int64_t fromSide = link.To < link.From ? 0 : link.To == link.From ? 1 : 3;
        const int64_t toSide = link.To < link.From ? 3 : link.To == link.From ? 2 : 0;
        add(link.From, link, &link.FromLeg, fromSide);
        add(link.To, link, &link.ToLeg, toSide);
    }
    for (std::vector<TLeg>& legs : sides) {
        std::stable_sort(legs.begin(), legs.end(), [](const TLeg& a, const TLeg& b) {
            return a.Order != b.Order ? a.Order < b.Order : a.Lane < b.Lane;
        });
        const int64_t m = int64_t(legs.size());
        const int64_t step = std::min(FanStep, (FlowWidth * 3 / 4) / std::max<int64_t>(m - 1, 1));
        for (int64_t k = 0; k < m; ++k)
            *legs[size_t(k)].Leg = (2 * k - (m - 1)) * step / 2;
    }
}

int64_t LanesDepth(const std::vector<TRowLink>& links, bool above)
{
    int64_t lanes = 0;
    for (const TRowLink& link : links)
        if (!link.Straight && link.Above == above)
            lanes = std::max(lanes, link.Lane);
    return lanes == 0 ? 0 : LaneFirst + (lanes - 1) * LaneGap;
}

int64_t ColumnMiddle(int64_t column)
{
    return FlowLeft + column * FlowStep + FlowWidth / 2;
}

// A link round the row: out of the node's top (or bottom), a short leg to its place on that
// side, up (or down) to its lane, along the lane and back the same way into the other node.
void AddLaneLink(TZORBaseLabel& label, const TRowLink& link, int32_t fromId, int32_t toId, int64_t rowTop)
{
    const int64_t dir = link.Above ? -1 : 1;
    const int64_t side = link.Above ? rowTop : rowTop + FlowHeight;
    const int64_t lane = side + dir * (LaneFirst + (link.Lane - 1) * LaneGap);
    const int64_t x1 = ColumnMiddle(link.From) + link.FromLeg;
    const int64_t x2 = ColumnMiddle(link.To) + link.ToLeg;
    const int64_t stub = side + dir * LinkStub;
    const int64_t coords[] = { x1, stub, x1, lane, x2, lane, x2, stub };
    const int16_t anchor = link.Above ? TZORBaseFlow::TopAnchor : TZORBaseFlow::BottomAnchor;
    TZORFactory::AddBasePolyLink(label, fromId, toId, anchor, anchor, TZORinkType::Points, coords);
}

// The paper grows to hold the drawing and its margins when it is smaller.
void HoldOnPaper(TZORBaseLabel& label, int64_t width, int64_t height)
{
    const TZORMeasure& m = label.Measure();
    const int64_t w = m.GetSize(TZORSizeKind::PaperWidth);
    const int64_t h = m.GetSize(TZORSizeKind::PaperHeight);
    if (width <= w && height <= h)
        return;
    constexpr auto mm = TZORUnits::Millimetre;
    label.Measure().SetPaperSizeMM(zor::GetValue(std::max(w, width), mm), zor::GetValue(std::max(h, height), mm));
}

void LayOutFlowChart(TZORBaseLabel& label, TMermaidParser& parser)
{
    QHash<QString, int64_t> columns;
    for (const TNode& node : parser.GetNodes())
        columns.insert(node.ID, columns.size());
    std::vector<std::pair<int64_t, int64_t>> ends;
    for (const TConnection& c : parser.GetConnections())
        if (columns.contains(c.FromNode) && columns.contains(c.ToNode))
            ends.emplace_back(columns.value(c.FromNode), columns.value(c.ToNode));
    std::vector<TRowLink> links = RowLinks(ends);
    AssignLanes(links);
    AssignLegs(links);
    const int64_t rowTop = FlowTop + LanesDepth(links, true);

    std::vector<int32_t> ids;
    int64_t x = FlowLeft;
    for (const TNode& node : parser.GetNodes()) {
        TZORFlow* flow
            = TZORFactory::AddBaseFlow(label, x, rowTop, FlowWidth, FlowHeight, FlowShapes[size_t(node.NodeType)]);
        flow->SetText(Shown(node.Text));
        parser.SetNodeInId(node.ID, flow->GetID());
        ids.push_back(flow->GetID());
        x += FlowStep;
    }
    for (const TRowLink& link : links) {
        const int32_t from = ids[size_t(link.From)], to = ids[size_t(link.To)];
        if (link.Straight)
            TZORFactory::AddBaseLink(
                label, from, to, TZORBaseFlow::RightAnchor, TZORBaseFlow::LeftAnchor, TZORinkType::Straight);
        else
            AddLaneLink(label, link, from, to, rowTop);
    }
    if (!ids.empty())
        HoldOnPaper(label, x - FlowStep + FlowWidth + FlowLeft, rowTop + FlowHeight + LanesDepth(links, false) + FlowTop);
}

// --- Sequence diagrams ---

// Layout, in micrometres; pens and fonts in millimetres.
struct TSeqLayout {
    static constexpr int64_t Left = 10000;
    static constexpr int64_t Top = 20000; // lower edge of the head boxes
    static constexpr int64_t BoxWidth = 35000;
    static constexpr int64_t BoxHeight = 12000;
    static constexpr int64_t Row = 15000;
    static constexpr int64_t Width = 190000;
    static constexpr int64_t Span = 155000; // from the first to the last box's left edge
    static constexpr int64_t TextHeight = 5000;
    static constexpr int64_t Cross = 1000;
    static constexpr int64_t NoteGap = 2000;
    static constexpr int64_t NoteHeight = 30000;
    static constexpr int64_t Margin = 20000;
    static constexpr float Pen = 0.2f;
    static constexpr float LifelinePen = 0.1f;
    static constexpr float FontHeight = 3.5f;
    static constexpr float NameHeight = 4.0f;
    static constexpr TAlphaColor BoxFill { 0xFFE6E6FAu };
    static constexpr TAlphaColor NoteFill { 0xFFFFFFE0u };
    static constexpr TAlphaColor NoteLine { 0xFFDAA520u };
};

const QString SeqFont = QStringLiteral("Arial");

// Where a text box or a note stands across the page.
struct TSpan {
    int64_t Left = 0;
    int64_t Width = 0;
};

// A message's text stands between the two lifelines; to oneself, beside the lifeline.
TSpan MessageSpan(int64_t x1, int64_t x2)
{
    if (x1 == x2)
        return { x1 + TSeqLayout::NoteGap, TSeqLayout::BoxWidth };
    return { std::min(x1, x2), std::abs(x2 - x1) };
}

// A note stands right or left of its participant's lifeline, over it, or over two spanning
// both boxes.
TSpan NoteSpan(const TSeqEvent& e, int64_t x, std::optional<int64_t> x2)
{
    constexpr int64_t half = TSeqLayout::BoxWidth / 2;
    if (x2)
        return { std::min(x, *x2) - half, std::abs(*x2 - x) + TSeqLayout::BoxWidth };
    if (e.NotePosition == u"over")
        return { x - half, TSeqLayout::BoxWidth };
    if (e.NotePosition == u"left of")
        return { x - TSeqLayout::NoteGap - half - TSeqLayout::BoxWidth, TSeqLayout::BoxWidth };
    return { x + TSeqLayout::NoteGap + half, TSeqLayout::BoxWidth };
}

// The event's place across the page; nothing for an event with a participant that has no
// lifeline.
std::optional<TSpan> EventSpan(const TSeqEvent& e, const QHash<QString, int64_t>& centres)
{
    const auto from = centres.constFind(e.FromActor);
    const auto to = centres.constFind(e.ToActor);
    if (from == centres.cend())
        return std::nullopt;
    if (e.EventType == TSeqEventType::sqMessage)
        return to == centres.cend() ? std::nullopt : std::optional(MessageSpan(*from, *to));
    if (e.ToActor.isEmpty())
        return NoteSpan(e, *from, std::nullopt);
    return to == centres.cend() ? std::nullopt : std::optional(NoteSpan(e, *from, *to));
}

// A centred paragraph in the box, with the text and font the diagram gives it.
TZORParagraph* Caption(TZORBaseLabel& label, int64_t x, int64_t y, int64_t w, int64_t h, const QString& text,
    TZORVertAlign vertAlign, float fontHeight)
{
    TZORParagraph* p = TZORFactory::AddBaseParagraph(label, x, y, w, h);
    p->SetText(text);
    p->SetHorzAlign(TZORHorzAlign::Center);
    p->SetVertAlign(vertAlign);
    p->SetFontHeight(fontHeight);
    return p;
}

// Grows the paragraph downwards to the height its text needs when `height` is too little; the
// growth.
int64_t GrowToText(TZORParagraph& p, int64_t height)
{
    p.CalcValues(0);
    const int64_t needed = p.NeededExtent(p.GetText()) + 2 * int64_t { p.GetBasePadY() };
    if (needed <= height)
        return 0;
    const TZORPto corner = p.GetPoint(2);
    p.SetBase(2, corner.X, corner.Y + needed - height);
    p.Update();
    p.CalcValues(0);
    return needed - height;
}

// A participant's box: a filled rectangle with the name over it.
void ParticipantBox(TZORBaseLabel& label, int64_t centre, int64_t y, const QString& text)
{
    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetBackColor(TSeqLayout::BoxFill);
    layer.SetColor(zor::claBlack);
    const int64_t x = centre - TSeqLayout::BoxWidth / 2;
    TZORFactory::AddBaseRectangle(label, x, y, TSeqLayout::BoxWidth, TSeqLayout::BoxHeight)->SetFilled(true);
    TZORParagraph* name = Caption(label, x, y, TSeqLayout::BoxWidth, TSeqLayout::BoxHeight, Shown(text),
        TZORVertAlign::Center, TSeqLayout::NameHeight);
    name->SetBold(true);
    name->CalcValues(0);
}

// A message's row from `top`: the arrow, its text above it (taller when the text needs it, the
// arrow lower) and a cross at the receiver of a lost message. The row's height.
int64_t Message(TZORBaseLabel& label, const TSeqEvent& e, int64_t x1, int64_t x2, int64_t top)
{
    int64_t y = top + TSeqLayout::Row / 2;
    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetColor(e.LineStyle == TSeqLineStyle::slDotted ? zor::claGray : zor::claBlack);
    TZORArrowLine* arrow = TZORFactory::AddBaseArrowLine(label, x1, y, x2, y);
    layer.SetColor(zor::claBlack);
    const TSpan span = MessageSpan(x1, x2);
    TZORParagraph* text = Caption(label, span.Left, y - TSeqLayout::TextHeight, span.Width, TSeqLayout::TextHeight,
        Shown(e.Text), TZORVertAlign::Bottom, TSeqLayout::FontHeight);
    if (x1 == x2)
        text->SetHorzAlign(TZORHorzAlign::Left);
    text->SetFontName(SeqFont);
    const int64_t grown = GrowToText(*text, TSeqLayout::TextHeight);
    if (grown > 0)
        arrow->Move(0, double(grown));
    y += grown;
    if (e.ArrowHead == TSeqArrowHead::shCross) {
        constexpr int64_t c = TSeqLayout::Cross;
        TZORFactory::AddBaseLine(label, x2 - c, y - c, x2 + c, y + c);
        TZORFactory::AddBaseLine(label, x2 - c, y + c, x2 + c, y - c);
    }
    return TSeqLayout::Row + grown;
}

// A note's row from `top`: the note a little below the row above, taller when its text needs it.
// The row's height.
int64_t Note(TZORBaseLabel& label, const TSeqEvent& e, const TSpan& span, int64_t top)
{
    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetBackColor(TSeqLayout::NoteFill);
    layer.SetColor(TSeqLayout::NoteLine);
    TZORParagraph* note = TZORFactory::AddBaseParagraph(
        label, span.Left, top + TSeqLayout::NoteGap, span.Width, TSeqLayout::NoteHeight);
    note->SetText(Shown(e.Text));
    note->SetHorzAlign(TZORHorzAlign::Center);
    note->SetVertAlign(TZORVertAlign::Center);
    note->SetFilled(true);
    return TSeqLayout::NoteGap + TSeqLayout::NoteHeight + GrowToText(*note, TSeqLayout::NoteHeight);
}

// The event's row from `top`; its height (an event that draws nothing still takes a row).
int64_t DrawEvent(TZORBaseLabel& label, const TSeqEvent& e, const QHash<QString, int64_t>& centres, int64_t top)
{
    const std::optional<TSpan> span = EventSpan(e, centres);
    if (!span)
        return TSeqLayout::Row;
    if (e.EventType == TSeqEventType::sqMessage)
        return Message(label, e, centres.value(e.FromActor), centres.value(e.ToActor), top);
    return Note(label, e, *span, top);
}

} // namespace

bool TZORFactory::LoadMermaid(TZORBaseLabel& label, const QString& text)
{
    // The whole text is read before the label changes, so that a text with an error leaves it
    // as it was.
    TMermaidParser parser;
    parser.ParseMermaidCode(text);
    label.BeginUpdate(true);
    const auto close = qScopeGuard([&label] { label.EndUpdate(); });
    label.Clear({ TZORClear::Items }, true);
    if (parser.GetDiagramType() == TDiagramType::dtSequence)
        DrawSequenceDiagram(label, parser);
    else
        LayOutFlowChart(label, parser);
    return true;
}

void TZORFactory::DrawSequenceDiagram(TZORBaseLabel& label, const TMermaidParser& parser)
{
    const QStringList& names = parser.GetParticipants();
    const int64_t n = names.size();
    if (n == 0)
        return;
    const int64_t spacing = n >= 2 ? TSeqLayout::Span / (n - 1) : 0;
    QHash<QString, int64_t> centres;
    for (int64_t i = 0; i < n; ++i)
        centres.insert(names[i], TSeqLayout::Left + i * spacing + TSeqLayout::BoxWidth / 2);
    // Notes and texts beside the first or the last lifeline may reach past the drawing: it moves
    // right to keep its left margin, and the paper widens to the rightmost.
    int64_t left = TSeqLayout::Left;
    int64_t right = std::max(TSeqLayout::Width, TSeqLayout::Left + (n - 1) * spacing + TSeqLayout::BoxWidth);
    for (const TSeqEvent& e : parser.GetSeqEvents())
        if (const std::optional<TSpan> span = EventSpan(e, centres)) {
            left = std::min(left, span->Left);
            right = std::max(right, span->Left + span->Width);
        }
    const int64_t shift = TSeqLayout::Left - left;
    for (int64_t& centre : centres)
        centre += shift;
    right += shift;

    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetFontName(SeqFont);
    layer.SetFontHeight(TSeqLayout::FontHeight);
    layer.SetPenWidth(TSeqLayout::Pen);
    label.Clear({ TZORClear::Items }, true);

    const int64_t headTop = TSeqLayout::Top - TSeqLayout::BoxHeight;
    for (const QString& name : names)
        ParticipantBox(label, centres.value(name), headTop, parser.ParticipantText(name));
    // The lifelines lie under the rows; they reach the foot boxes once the rows are laid out.
    layer.SetColor(zor::claGray);
    layer.SetPenWidth(TSeqLayout::LifelinePen);
    std::vector<TZORLine*> lifelines;
    for (const QString& name : names)
        lifelines.push_back(AddBaseLine(
            label, centres.value(name), TSeqLayout::Top, centres.value(name), TSeqLayout::Top + TSeqLayout::Row));
    layer.SetPenWidth(TSeqLayout::Pen);

    int64_t top = TSeqLayout::Top;
    for (const TSeqEvent& e : parser.GetSeqEvents())
        top += DrawEvent(label, e, centres, top);
    const int64_t bottom = top + TSeqLayout::Row / 2 + TSeqLayout::Row;
    const int64_t footTop = bottom - TSeqLayout::BoxHeight;

    for (TZORLine* line : lifelines) {
        line->SetBase(2, line->GetPoint(1).X, footTop);
        line->Update();
    }
    for (const QString& name : names)
        ParticipantBox(label, centres.value(name), footTop, parser.ParticipantText(name));

    constexpr auto mm = TZORUnits::Millimetre;
    label.Measure().SetPaperSizeMM(
        zor::GetValue(std::max(TSeqLayout::Width + TSeqLayout::Margin, right + TSeqLayout::Margin / 2), mm),
        zor::GetValue(bottom + TSeqLayout::Margin, mm));
}
