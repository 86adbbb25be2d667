#include "Zor.Mermaid.h"

#include "Zor.Error.h"
#include "Zor.Msg.h"

#include <QRegularExpression>

#include <optional>
#include <utility>

using zor::TDiagramType;
using zor::TMermaidLeftOut;
using zor::TMermaidParser;
using zor::TNode;
using zor::TNodeType;
using zor::TSeqArrowHead;
using zor::TSeqEvent;
using zor::TSeqEventType;
using zor::TSeqLineStyle;

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

// What the drawing makes of an arrow: the plain arrow ("-->", also longer, and the older
// "--x-->") is drawn as written, other kinds are drawn as plain arrows and listed as left out,
// the invisible one joins nothing.
enum class TArrowKind : uint8_t { Plain, Other, Invisible };
constexpr auto PlainArrowPattern = R"(^(-{2,}>|--[xo]-->)$)";

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
    QRegularExpression PlainArrow = Expr(PlainArrowPattern);
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
    bool Styled = false; // with a class (":::name"), which the drawing does not show
    QString Text;
    TNodeType Type = TNodeType::ntProcess;
};

struct TArrowRef {
    QString Text;
    TArrowKind Kind = TArrowKind::Plain;
};

// Nodes joined by arrows: Arrows[i] lies between Groups[i] and Groups[i + 1].
struct TFlowStatement {
    std::vector<std::vector<TNodeRef>> Groups;
    std::vector<TArrowRef> Arrows;

    // Whether the drawing shows less than the statement says: an arrow's text, an arrow of
    // another kind, a node's class.
    bool Partial() const
    {
        for (const TArrowRef& arrow : Arrows)
            if (!arrow.Text.isEmpty() || arrow.Kind == TArrowKind::Other)
                return true;
        for (const auto& group : Groups)
            for (const TNodeRef& node : group)
                if (node.Styled)
                    return true;
        return false;
    }
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
    node.Styled = c.Eat(u":::");
    if (node.Styled && c.Name().isEmpty())
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

TArrowKind KindOf(const QString& arrow)
{
    if (arrow.startsWith(u'~'))
        return TArrowKind::Invisible;
    return Grammar().PlainArrow.match(arrow).hasMatch() ? TArrowKind::Plain : TArrowKind::Other;
}

// The arrow here and its text; nothing when no arrow starts here.
std::optional<TArrowRef> ReadArrow(TCursor& c)
{
    c.Skip();
    for (const QRegularExpression& arrow : Grammar().FlowArrows)
        if (const auto m = c.Match(arrow)) {
            const TArrowKind kind = KindOf(m->captured(0));
            return TArrowRef { ReadBarText(c), kind };
        }
    for (const auto& [start, close] : Grammar().TextArrows) {
        if (!c.Match(start))
            continue;
        const QRegularExpressionMatch end = close.match(c.S, c.P);
        if (!end.hasMatch())
            throw zor::Error(QStringLiteral("MermaidEdgeText"));
        const QString text = c.S.mid(c.P, end.capturedStart() - c.P).trimmed();
        c.P = end.capturedEnd();
        return TArrowRef { text, TArrowKind::Other };
    }
    return std::nullopt;
}

// Whether an arrow or a "&" starts here.
bool ArrowAhead(const QString& s)
{
    TCursor c { s };
    c.Skip();
    if (c.Ahead().startsWith(u'&'))
        return true;
    for (const QRegularExpression& arrow : Grammar().FlowArrows)
        if (c.Match(arrow))
            return true;
    for (const auto& arrow : Grammar().TextArrows)
        if (c.Match(arrow.first))
            return true;
    return false;
}

TFlowStatement ReadStatement(const QString& s)
{
    TCursor c { s };
    TFlowStatement st;
    st.Groups.push_back(ReadGroup(c));
    while (!c.AtEnd()) {
        // The older form: the text of the last arrow after "||", to the end of the line.
        if (!st.Arrows.empty() && c.Eat(u"||")) {
            st.Arrows.back().Text = c.Rest();
            break;
        }
        const std::optional<TArrowRef> arrow = ReadArrow(c);
        if (!arrow)
            throw Expected("MermaidArrow", c.Rest());
        st.Arrows.push_back(*arrow);
        st.Groups.push_back(ReadGroup(c));
    }
    return st;
}

// Named entity codes ("#quot;") and the characters they stand for.
struct TEntity {
    QStringView Name;
    char32_t Code;
};

constexpr TEntity Entities[] = {
    { u"quot", 0x22 },
    { u"amp", 0x26 },
    { u"apos", 0x27 },
    { u"lt", 0x3C },
    { u"gt", 0x3E },
    { u"nbsp", 0xA0 },
    { u"cent", 0xA2 },
    { u"pound", 0xA3 },
    { u"yen", 0xA5 },
    { u"sect", 0xA7 },
    { u"copy", 0xA9 },
    { u"laquo", 0xAB },
    { u"reg", 0xAE },
    { u"deg", 0xB0 },
    { u"plusmn", 0xB1 },
    { u"micro", 0xB5 },
    { u"para", 0xB6 },
    { u"middot", 0xB7 },
    { u"raquo", 0xBB },
    { u"times", 0xD7 },
    { u"divide", 0xF7 },
    { u"ndash", 0x2013 },
    { u"mdash", 0x2014 },
    { u"lsquo", 0x2018 },
    { u"rsquo", 0x2019 },
    { u"ldquo", 0x201C },
    { u"rdquo", 0x201D },
    { u"bull", 0x2022 },
    { u"hellip", 0x2026 },
    { u"euro", 0x20AC },
    { u"trade", 0x2122 },
    { u"larr", 0x2190 },
    { u"uarr", 0x2191 },
    { u"rarr", 0x2192 },
    { u"darr", 0x2193 },
    { u"harr", 0x2194 },
    { u"infin", 0x221E },
    { u"ne", 0x2260 },
    { u"le", 0x2264 },
    { u"ge", 0x2265 },
    { u"spades", 0x2660 },
    { u"clubs", 0x2663 },
    { u"hearts", 0x2665 },
    { u"diams", 0x2666 },
    { u"check", 0x2713 },
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

// The length of what looks like an entity code at i, else 0: Mermaid's own ("#quot;", "#35;")
// and those of HTML ("&amp;", "&#35;").
qsizetype EntityLength(const QString& s, qsizetype i)
{
    qsizetype b = i + 1;
    if (s[i] == u'&' && b < s.size() && s[b] == u'#')
        ++b;
    else if (s[i] != u'#' && s[i] != u'&')
        return 0;
    qsizetype e = b;
    while (e < s.size() && IsNameChar(s[e]))
        ++e;
    return e > b && e < s.size() && s[e] == u';' ? e + 1 - i : 0;
}

// The name or decimal number of the entity code of length n at i.
QStringView EntityName(const QString& s, qsizetype i, qsizetype n)
{
    const QStringView code = QStringView(s).mid(i + 1, n - 2);
    return code.startsWith(u'#') ? code.mid(1) : code;
}

// The length of the entity code at i whose ";" ends no statement: any of Mermaid's, and the HTML
// codes that stand for a character ("A&B;C" still ends at its ";").
qsizetype KeptWhole(const QString& s, qsizetype i)
{
    const qsizetype n = EntityLength(s, i);
    return n && (s[i] == u'#' || EntityCode(EntityName(s, i, n))) ? n : 0;
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
        if (const qsizetype entity = KeptWhole(line, i)) {
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

// Whether a statement that begins with a word of `keywords` is that keyword's statement rather
// than a node or a participant of that name: the word stands alone, or a ":" follows it (not
// ":::"), or white space and something that `continues` does not take for an arrow.
template <size_t N>
bool IsKeywordStatement(const QString& statement, const QStringView (&keywords)[N], Qt::CaseSensitivity cs,
    bool (*continues)(const QString&))
{
    const QStringView word = FirstWord(statement);
    if (!OneOf(word, keywords, cs))
        return false;
    const QString rest = statement.mid(word.size());
    if (rest.isEmpty())
        return true;
    if (rest.startsWith(u':'))
        return !rest.startsWith(u":::");
    return rest[0].isSpace() && !continues(rest);
}

// A sequence message's arrow follows a participant's name.
bool MessageAhead(const QString& s)
{
    return s.trimmed().startsWith(u'-');
}

// --- Texts as Mermaid shows them ---

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
        fLine = int32_t(i + 1);
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
    fLine = 0;
}

void TMermaidParser::LeaveOut(const QString& statement)
{
    const TMermaidLeftOut leftOut { fLine, statement.trimmed() };
    if (fLeftOut.empty() || !(fLeftOut.back() == leftOut))
        fLeftOut.push_back(leftOut);
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
    if (IsComment(statement))
        return;
    if (IsKeywordStatement(statement, FlowSkipped, Qt::CaseSensitive, ArrowAhead)) {
        LeaveOut(statement);
        return;
    }
    const TFlowStatement st = ReadStatement(statement);
    if (st.Partial())
        LeaveOut(statement);
    for (const auto& group : st.Groups)
        for (const TNodeRef& node : group) {
            if (node.Shaped)
                DefineNode(node.ID, node.Text, node.Type);
            else
                MentionNode(node.ID);
        }
    for (size_t i = 0; i < st.Arrows.size(); ++i)
        if (st.Arrows[i].Kind != TArrowKind::Invisible)
            for (const TNodeRef& from : st.Groups[i])
                for (const TNodeRef& to : st.Groups[i + 1])
                    fConnections.push_back({ from.ID, to.ID, st.Arrows[i].Text });
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
    const bool spaced = (rest.isEmpty() || rest[0].isSpace()) && !MessageAhead(rest);
    if (spaced && OneOf(word, ParticipantWords, Qt::CaseInsensitive))
        ParseParticipant(rest);
    else if (spaced && word.compare(u"create", Qt::CaseInsensitive) == 0)
        ParseCreated(rest.trimmed());
    else if (spaced && word.compare(u"note", Qt::CaseInsensitive) == 0)
        ParseNote(rest);
    else if (IsKeywordStatement(line, SequenceSkipped, Qt::CaseInsensitive, MessageAhead))
        LeaveOut(line);
    else
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
    // Activation marks before the receiver are read and not drawn.
    if (c.Eat(u"+") || c.Eat(u"-"))
        LeaveOut(line);
    e.ToActor = c.Name();
    if (e.ToActor.isEmpty() || !c.Eat(u":"))
        throw zor::Error(QStringLiteral("MermaidMessage"));
    e.Text = c.Rest();
    AddParticipant(e.FromActor);
    AddParticipant(e.ToActor);
    fSeqEvents.push_back(e);
}

QString zor::MermaidShown(const QString& text)
{
    static const QRegularExpression lineBreak(
        QStringLiteral(R"(<br\s*/?>)"), QRegularExpression::CaseInsensitiveOption);
    QString s = text;
    s.replace(lineBreak, QStringLiteral("\r\n"));
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const qsizetype n = EntityLength(s, i);
        const std::optional<char32_t> code = n ? EntityCode(EntityName(s, i, n)) : std::nullopt;
        if (!code) {
            out += s[i];
            continue;
        }
        out += QString::fromUcs4(&*code, 1);
        i += n - 1;
    }
    return out;
}
