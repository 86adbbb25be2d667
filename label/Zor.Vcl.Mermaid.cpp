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
    u"create", u"destroy", u"link", u"links", u"properties", u"details", u"accTitle", u"accDescr" };

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

// Statements of one line, split at the ";" that stand outside quotes and shapes.
QStringList SplitStatements(const QString& line)
{
    QStringList parts;
    qsizetype begin = 0;
    int depth = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar ch = line[i];
        if (ch == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (OpensShape(ch))
            ++depth;
        else if ((ch == u']' || ch == u')' || ch == u'}') && depth > 0)
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
        fDiagramType = TDiagramType::dtSequence;
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
    for (const QString& statement : SplitStatements(line))
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
    const QStringView word = FirstWord(line);
    const QString rest = line.mid(word.size());
    const bool spaced = rest.isEmpty() || rest[0].isSpace();
    if (spaced
        && (word.compare(u"participant", Qt::CaseInsensitive) == 0
            || word.compare(u"actor", Qt::CaseInsensitive) == 0))
        ParseParticipant(rest);
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

// Flowchart layout: one row of equal boxes.
constexpr int64_t FlowLeft = 1000;
constexpr int64_t FlowTop = 1000;
constexpr int64_t FlowWidth = 40000;
constexpr int64_t FlowHeight = 20000;
constexpr int64_t FlowStep = FlowWidth + FlowWidth / 2;

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

// Sequence diagram layout, in micrometres; pens and fonts in millimetres.
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
    static constexpr int64_t NoteRise = 7500; // from the row's line to the note's top
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

// A participant's box: a filled rectangle with the name over it.
void ParticipantBox(TZORBaseLabel& label, int64_t centre, int64_t y, const QString& text)
{
    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetBackColor(TSeqLayout::BoxFill);
    layer.SetColor(zor::claBlack);
    const int64_t x = centre - TSeqLayout::BoxWidth / 2;
    TZORFactory::AddBaseRectangle(label, x, y, TSeqLayout::BoxWidth, TSeqLayout::BoxHeight)->SetFilled(true);
    TZORParagraph* name = Caption(label, x, y, TSeqLayout::BoxWidth, TSeqLayout::BoxHeight, text,
        TZORVertAlign::Center, TSeqLayout::NameHeight);
    name->SetBold(true);
    name->CalcValues(0);
}

void Message(TZORBaseLabel& label, const TSeqEvent& e, int64_t x1, int64_t x2, int64_t y)
{
    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetColor(e.LineStyle == TSeqLineStyle::slDotted ? zor::claGray : zor::claBlack);
    TZORFactory::AddBaseArrowLine(label, x1, y, x2, y);
    layer.SetColor(zor::claBlack);
    TZORParagraph* text = Caption(label, std::min(x1, x2), y - TSeqLayout::TextHeight, std::abs(x2 - x1),
        TSeqLayout::TextHeight, e.Text, TZORVertAlign::Bottom, TSeqLayout::FontHeight);
    text->SetFontName(SeqFont);
    text->CalcValues(0);
    if (e.ArrowHead != TSeqArrowHead::shCross)
        return;
    constexpr int64_t c = TSeqLayout::Cross;
    TZORFactory::AddBaseLine(label, x2 - c, y - c, x2 + c, y + c);
    TZORFactory::AddBaseLine(label, x2 - c, y + c, x2 + c, y - c);
}

// A note stands right of its participant's lifeline; a note over two spans both boxes.
void Note(TZORBaseLabel& label, const TSeqEvent& e, int64_t left, int64_t width, int64_t y)
{
    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetBackColor(TSeqLayout::NoteFill);
    layer.SetColor(TSeqLayout::NoteLine);
    QString text = e.Text;
    text.replace(QStringLiteral("<br/>"), QStringLiteral("\r\n"))
        .replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    TZORParagraph* note
        = TZORFactory::AddBaseParagraph(label, left, y - TSeqLayout::NoteRise, width, TSeqLayout::NoteHeight);
    note->SetText(text);
    note->SetHorzAlign(TZORHorzAlign::Center);
    note->SetVertAlign(TZORVertAlign::Center);
    note->SetFilled(true);
    note->CalcValues(0);
}

void DrawEvent(TZORBaseLabel& label, const TSeqEvent& e, const QHash<QString, int64_t>& centres, int64_t y)
{
    const auto from = centres.constFind(e.FromActor);
    const auto to = centres.constFind(e.ToActor);
    if (from == centres.cend())
        return;
    if (e.EventType == TSeqEventType::sqMessage) {
        if (to != centres.cend())
            Message(label, e, *from, *to, y);
        return;
    }
    if (e.ToActor.isEmpty()) {
        Note(label, e, *from + TSeqLayout::NoteGap + TSeqLayout::BoxWidth / 2, TSeqLayout::BoxWidth, y);
        return;
    }
    if (to != centres.cend()) {
        const int64_t left = std::min(*from, *to) - TSeqLayout::BoxWidth / 2;
        Note(label, e, left, std::abs(*to - *from) + TSeqLayout::BoxWidth, y);
    }
}

// The nodes stand in one row: a link leaves its node by the side facing the other node and
// reaches the other by its facing side; a node joined to itself runs from its right to its top.
void AddRowLink(TZORBaseLabel& label, int32_t fromId, int32_t toId)
{
    const TZORBaseItem* from = label.SearchItem(fromId);
    const TZORBaseItem* to = label.SearchItem(toId);
    if (!from || !to)
        return;
    const int64_t dx = to->GetPoint(1).X - from->GetPoint(1).X;
    const int16_t out = dx >= 0 ? TZORBaseFlow::RightAnchor : TZORBaseFlow::LeftAnchor;
    const int16_t in = dx > 0 ? TZORBaseFlow::LeftAnchor
        : dx < 0              ? TZORBaseFlow::RightAnchor
                              : TZORBaseFlow::TopAnchor;
    TZORFactory::AddBaseLink(label, fromId, toId, out, in, TZORinkType::Straight);
}

void LayOutFlowChart(TZORBaseLabel& label, TMermaidParser& parser)
{
    int64_t x = FlowLeft;
    for (size_t i = 0; i < parser.GetNodes().size(); ++i) {
        const TNode& node = parser.GetNodes()[i];
        TZORFlow* flow = TZORFactory::AddBaseFlow(
            label, x, FlowTop, FlowWidth, FlowHeight, FlowShapes[size_t(node.NodeType)]);
        flow->SetText(node.Text);
        parser.SetNodeInId(node.ID, flow->GetID());
        x += FlowStep;
    }
    for (const TConnection& c : parser.GetConnections()) {
        const TNode* from = parser.FindNode(c.FromNode);
        const TNode* to = parser.FindNode(c.ToNode);
        if (from && to && from->InId >= 1 && to->InId >= 1)
            AddRowLink(label, from->InId, to->InId);
    }
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

    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetFontName(SeqFont);
    layer.SetFontHeight(TSeqLayout::FontHeight);
    layer.SetPenWidth(TSeqLayout::Pen);
    label.Clear({ TZORClear::Items }, true);

    const int64_t headTop = TSeqLayout::Top - TSeqLayout::BoxHeight;
    for (const QString& name : names)
        ParticipantBox(label, centres.value(name), headTop, parser.ParticipantText(name));
    int64_t y = TSeqLayout::Top + TSeqLayout::Row / 2;
    for (const TSeqEvent& e : parser.GetSeqEvents()) {
        DrawEvent(label, e, centres, y);
        y += TSeqLayout::Row;
    }
    const int64_t bottom = y + TSeqLayout::Row;
    const int64_t footTop = bottom - TSeqLayout::BoxHeight;

    layer.SetColor(zor::claGray);
    layer.SetPenWidth(TSeqLayout::LifelinePen);
    for (const QString& name : names)
        AddBaseLine(label, centres.value(name), TSeqLayout::Top, centres.value(name), footTop);
    layer.SetPenWidth(TSeqLayout::Pen);
    for (const QString& name : names)
        ParticipantBox(label, centres.value(name), footTop, parser.ParticipantText(name));

    constexpr auto mm = TZORUnits::Millimetre;
    label.Measure().SetPaperSizeMM(zor::GetValue(TSeqLayout::Width + TSeqLayout::Margin, mm),
        zor::GetValue(bottom + TSeqLayout::Margin, mm));
}
