#include "Zor.Vcl.Mermaid.h"

#include "Zor.Label.h"
#include "Zor.Layer.h"
#include "Zor.Mermaid.h"
#include "Zor.Msg.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Shared.Factory.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <QScopeGuard>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <utility>

using zor::TAlphaColor;
using zor::TConnection;
using zor::TDiagramType;
using zor::TMermaidLeftOut;
using zor::TMermaidParser;
using zor::TNode;
using zor::TNodeType;
using zor::TRowLink;
using zor::TSeqArrowHead;
using zor::TSeqEvent;
using zor::TSeqEventType;
using zor::TSeqLineStyle;
using zor::TxtLines;

namespace {

// --- Flowcharts ---

// One row of equal boxes. A link between neighbours runs straight from the right side of one to
// the left side of the next; every other link goes round the row in a lane of its own, above
// the row for links forwards, below it for links backwards, so that none crosses a node or lies
// on another.
constexpr int64_t FlowLeft = 1000;
constexpr int64_t FlowTop = 1000;
constexpr int64_t FlowWidth = 40000;
constexpr int64_t FlowHeight = 20000; // the least; the row grows for a text that needs more
constexpr int64_t FlowGrowth = FlowHeight / 4; // the step in which it grows
constexpr int64_t FlowStep = FlowWidth + FlowWidth / 2;
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

// The straight links: the first link from a node to the next.
std::vector<TRowLink> StraightLinks(const std::vector<std::pair<int64_t, int64_t>>& ends)
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

// The highest value over a range of columns, raised column by column: a segment tree.
class TColumnMax {
public:
    explicit TColumnMax(size_t columns)
        : fSize(columns)
        , fMax(2 * columns, 0)
    {
    }
    void Raise(size_t column, int64_t value)
    {
        for (size_t i = column + fSize; i > 0; i /= 2)
            fMax[i] = std::max(fMax[i], value);
    }
    // Over the columns first to last, both included.
    int64_t Max(size_t first, size_t last) const
    {
        int64_t m = 0;
        for (size_t lo = first + fSize, hi = last + fSize + 1; lo < hi; lo /= 2, hi /= 2) {
            if (lo & 1)
                m = std::max(m, fMax[lo++]);
            if (hi & 1)
                m = std::max(m, fMax[--hi]);
        }
        return m;
    }

private:
    size_t fSize;
    std::vector<int64_t> fMax;
};

// Lanes on each side: shorter links first, each above every shorter one it shares a column with,
// so that a link never runs under one that it spans. A shorter link that shares a column with a
// longer one has an end among the longer one's columns, so the lanes of the ends seen so far
// tell the lane.
void AssignLanes(std::vector<TRowLink>& links)
{
    std::vector<TRowLink*> order;
    int64_t columns = 0;
    for (TRowLink& link : links)
        if (!link.Straight) {
            order.push_back(&link);
            columns = std::max({ columns, link.From + 1, link.To + 1 });
        }
    std::stable_sort(order.begin(), order.end(), [](const TRowLink* a, const TRowLink* b) {
        return std::abs(a->To - a->From) < std::abs(b->To - b->From);
    });
    TColumnMax ends[2] { TColumnMax(size_t(columns)), TColumnMax(size_t(columns)) };
    for (TRowLink* link : order) {
        TColumnMax& side = ends[link->Above ? 1 : 0];
        const size_t first = size_t(std::min(link->From, link->To));
        const size_t last = size_t(std::max(link->From, link->To));
        link->Lane = side.Max(first, last) + 1;
        side.Raise(first, link->Lane);
        side.Raise(last, link->Lane);
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

// The place along a node's side (0 to 1) of a leg that stands `leg` from the side's middle.
float LegAlong(int64_t leg)
{
    return TZORLink::MiddleAlong + float(double(leg) / double(FlowWidth));
}

// A link round the row: straight up (or down) out of its place on the node's top (or bottom),
// along its lane and straight back into its place on the other node, so that the ends of the
// links on one side lie apart.
void AddLaneLink(TZORBaseLabel& label, const TRowLink& link, const TZORFlow& from, const TZORFlow& to,
    int64_t rowTop, int64_t rowHeight)
{
    const int64_t dir = link.Above ? -1 : 1;
    const int64_t side = link.Above ? rowTop : rowTop + rowHeight;
    const int64_t lane = side + dir * (LaneFirst + (link.Lane - 1) * LaneGap);
    const int16_t anchor = link.Above ? TZORBaseFlow::TopAnchor : TZORBaseFlow::BottomAnchor;
    const float fromAlong = LegAlong(link.FromLeg), toAlong = LegAlong(link.ToLeg);
    // The legs stand over the ends as the nodes place them.
    const int64_t x1 = from.GetAnchorAlong(anchor, fromAlong).X;
    const int64_t x2 = to.GetAnchorAlong(anchor, toAlong).X;
    const int64_t coords[] = { x1, lane, x2, lane };
    TZORLink* made = TZORFactory::AddBasePolyLink(
        label, from.GetID(), to.GetID(), anchor, anchor, TZORinkType::Points, coords);
    made->SetFromAlong(fromAlong);
    made->SetToAlong(toAlong);
    made->CalcValues(0);
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
    label.Measure().SetPaperSizeMM(
        zor::GetValue(std::max(w, width), mm), zor::GetValue(std::max(h, height), mm));
}

// How much of its text the node lays out: the end of the last line, 0 for none.
qsizetype LaidOutEnd(const TZORFlow& flow)
{
    TZORFontMetrics metrics;
    const TxtLines lines = flow.LayOut(metrics);
    return lines.empty() ? 0 : qsizetype(lines.back().start) - 1 + lines.back().count;
}

// The text's length without its end spaces and line breaks.
qsizetype TextEnd(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return end;
}

void SetHeight(TZORFlow& flow, int64_t height)
{
    const TZORPto corner = flow.GetPoint(1);
    flow.SetBase(2, flow.GetPoint(2).X, corner.Y + height);
    flow.Update();
}

// The least height from `least` up, in steps of FlowGrowth, at which the node lays out its whole
// text: found by doubling the step, then halving it, so that a long text costs a few layouts.
// Where a taller node would not hold more (a word wider than the node), the height reached.
int64_t NeededHeight(TZORFlow& flow, int64_t least)
{
    const qsizetype end = TextEnd(flow.GetText());
    const auto laidOut = [&flow](int64_t height) {
        SetHeight(flow, height);
        return LaidOutEnd(flow);
    };
    qsizetype laid = laidOut(least);
    if (laid >= end)
        return least;
    int64_t low = least, step = FlowGrowth; // low is too low; low + step is tried next
    for (qsizetype more = laidOut(low + step); more < end; more = laidOut(low + step)) {
        if (more <= laid)
            return low;
        low += step;
        laid = more;
        step *= 2;
    }
    // low is too low and low + step holds the text.
    while (step > FlowGrowth) {
        step /= 2;
        if (laidOut(low + step) < end)
            low += step;
    }
    return low + step;
}

// The height of the row: the least that holds every node's whole text.
int64_t RowHeight(const std::vector<TZORFlow*>& flows)
{
    int64_t height = FlowHeight;
    for (TZORFlow* flow : flows)
        height = NeededHeight(*flow, height);
    for (TZORFlow* flow : flows)
        SetHeight(*flow, height);
    return height;
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
    const std::vector<TRowLink> links = zor::RowLinks(ends);
    const int64_t rowTop = FlowTop + LanesDepth(links, true);

    std::vector<TZORFlow*> flows;
    int64_t x = FlowLeft;
    for (const TNode& node : parser.GetNodes()) {
        TZORFlow* flow = TZORFactory::AddBaseFlow(
            label, x, rowTop, FlowWidth, FlowHeight, FlowShapes[size_t(node.NodeType)]);
        flow->SetText(zor::MermaidShown(node.Text));
        parser.SetNodeInId(node.ID, flow->GetID());
        flows.push_back(flow);
        x += FlowStep;
    }
    const int64_t rowHeight = RowHeight(flows);
    for (const TRowLink& link : links) {
        const TZORFlow& from = *flows[size_t(link.From)];
        const TZORFlow& to = *flows[size_t(link.To)];
        if (link.Straight)
            TZORFactory::AddBaseLink(label, from.GetID(), to.GetID(), TZORBaseFlow::RightAnchor,
                TZORBaseFlow::LeftAnchor, TZORinkType::Straight);
        else
            AddLaneLink(label, link, from, to, rowTop, rowHeight);
    }
    if (!flows.empty())
        HoldOnPaper(label, x - FlowStep + FlowWidth + FlowLeft,
            rowTop + rowHeight + LanesDepth(links, false) + FlowTop);
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
    static constexpr int64_t BoxGap = 10000; // the least room between two boxes
    static constexpr int64_t TextHeight = 5000;
    static constexpr int64_t CaptionGap = 1000; // between a message's text and its arrow
    static constexpr int64_t LoopWidth = 8000; // of the loop of a message to oneself
    static constexpr int64_t LoopHeight = 5000;
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

// A message's text stands between the two lifelines; to oneself, beside the loop.
TSpan MessageSpan(int64_t x1, int64_t x2)
{
    if (x1 == x2)
        return { x1 + TSeqLayout::LoopWidth + TSeqLayout::NoteGap, TSeqLayout::BoxWidth };
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
    TZORParagraph* name = Caption(label, x, y, TSeqLayout::BoxWidth, TSeqLayout::BoxHeight,
        zor::MermaidShown(text), TZORVertAlign::Center, TSeqLayout::NameHeight);
    name->SetBold(true);
    name->CalcValues(0);
}

// A message's arrow at height y, grey and dashed when dotted: straight to the receiver, or to
// oneself a small loop out to the right and back into the lifeline lower down. The elements made
// and where the arrow ends.
struct TMessageArrow {
    std::vector<TZORBaseItem*> Items;
    TZORPto End;
};

TMessageArrow MessageArrow(TZORBaseLabel& label, const TSeqEvent& e, int64_t x1, int64_t x2, int64_t y)
{
    TZORLayer& layer = *label.GetActiveLayer();
    const bool dotted = e.LineStyle == TSeqLineStyle::slDotted;
    layer.SetColor(dotted ? zor::claGray : zor::claBlack);
    TMessageArrow arrow { {}, { x2, y } };
    if (x1 == x2) {
        const int64_t right = x1 + TSeqLayout::LoopWidth;
        arrow.End.Y = y + TSeqLayout::LoopHeight;
        const int64_t out[] = { x1, y, right, y, right, arrow.End.Y };
        arrow.Items.push_back(TZORFactory::AddBasePolyLine(label, out));
        arrow.Items.push_back(TZORFactory::AddBaseArrowLine(label, right, arrow.End.Y, x1, arrow.End.Y));
    } else
        arrow.Items.push_back(TZORFactory::AddBaseArrowLine(label, x1, y, x2, y));
    layer.SetColor(zor::claBlack);
    for (TZORBaseItem* item : arrow.Items)
        item->SetLineType(dotted ? TZORineType::Dash2_2 : TZORineType::Solid);
    return arrow;
}

// A message's row from `top`: the arrow, its text clear above it (taller when the text needs it,
// the arrow lower), or beside the loop of a message to oneself, and a cross where a lost
// message ends. The row's height.
int64_t Message(TZORBaseLabel& label, const TSeqEvent& e, int64_t x1, int64_t x2, int64_t top)
{
    const int64_t y = top + TSeqLayout::Row / 2;
    TMessageArrow arrow = MessageArrow(label, e, x1, x2, y);
    const TSpan span = MessageSpan(x1, x2);
    const bool self = x1 == x2;
    const int64_t height = self ? TSeqLayout::LoopHeight : TSeqLayout::TextHeight;
    const int64_t textTop = self ? y : y - TSeqLayout::CaptionGap - height;
    TZORParagraph* text = Caption(label, span.Left, textTop, span.Width, height, zor::MermaidShown(e.Text),
        self ? TZORVertAlign::Center : TZORVertAlign::Bottom, TSeqLayout::FontHeight);
    if (self)
        text->SetHorzAlign(TZORHorzAlign::Left);
    text->SetFontName(SeqFont);
    text->SetPenWidth(0.0f);
    const int64_t grown = GrowToText(*text, height);
    // A text above its arrow pushes it down; one beside a loop only makes the row taller.
    if (grown > 0 && !self) {
        for (TZORBaseItem* item : arrow.Items)
            item->Move(0, double(grown));
        arrow.End.Y += grown;
    }
    if (e.ArrowHead == TSeqArrowHead::shCross) {
        constexpr int64_t c = TSeqLayout::Cross;
        const TZORPto at = arrow.End;
        TZORFactory::AddBaseLine(label, at.X - c, at.Y - c, at.X + c, at.Y + c);
        TZORFactory::AddBaseLine(label, at.X - c, at.Y + c, at.X + c, at.Y - c);
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
    note->SetText(zor::MermaidShown(e.Text));
    note->SetHorzAlign(TZORHorzAlign::Center);
    note->SetVertAlign(TZORVertAlign::Center);
    note->SetFilled(true);
    return TSeqLayout::NoteGap + TSeqLayout::NoteHeight + GrowToText(*note, TSeqLayout::NoteHeight);
}

// The event's row from `top`; its height (an event that draws nothing still takes a row).
int64_t DrawEvent(
    TZORBaseLabel& label, const TSeqEvent& e, const QHash<QString, int64_t>& centres, int64_t top)
{
    const std::optional<TSpan> span = EventSpan(e, centres);
    if (!span)
        return TSeqLayout::Row;
    if (e.EventType == TSeqEventType::sqMessage)
        return Message(label, e, centres.value(e.FromActor), centres.value(e.ToActor), top);
    return Note(label, e, *span, top);
}

} // namespace

std::vector<TRowLink> zor::RowLinks(const std::vector<std::pair<int64_t, int64_t>>& ends)
{
    std::vector<zor::TRowLink> links = StraightLinks(ends);
    AssignLanes(links);
    AssignLegs(links);
    return links;
}

bool TZORFactory::LoadMermaid(TZORBaseLabel& label, const QString& text)
{
    std::vector<TMermaidLeftOut> leftOut;
    return LoadMermaid(label, text, leftOut);
}

QString TZORFactory::LeftOutMessage(const std::vector<TMermaidLeftOut>& leftOut)
{
    QStringList lines { TZORMsg::GetErrorValue(QStringLiteral("MermaidLeftOut")) };
    for (const TMermaidLeftOut& statement : leftOut)
        lines << TZORMsg::GetErrorValue(QStringLiteral("MermaidLeftOutLine"))
                     .arg(QString::number(statement.Line), statement.Text);
    return lines.join(u'\n');
}

bool TZORFactory::LoadMermaid(
    TZORBaseLabel& label, const QString& text, std::vector<TMermaidLeftOut>& leftOut)
{
    // The whole text is read before the label changes, so that a text with an error leaves it
    // as it was.
    TMermaidParser parser;
    parser.ParseMermaidCode(text);
    leftOut = parser.GetLeftOut();
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
    // The boxes share the drawing's width, and never come closer than a gap; the paper grows.
    const int64_t spacing
        = n >= 2 ? std::max(TSeqLayout::Span / (n - 1), TSeqLayout::BoxWidth + TSeqLayout::BoxGap) : 0;
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
        lifelines.push_back(AddBaseLine(label, centres.value(name), TSeqLayout::Top, centres.value(name),
            TSeqLayout::Top + TSeqLayout::Row));
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
