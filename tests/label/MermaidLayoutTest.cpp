// Imported Mermaid diagrams as they lie on the paper, checked on the elements: a flowchart whose
// links skip nodes and run back, and a sequence diagram with notes and messages to oneself.
// Nothing may lie over a node or a note, no text may be cut and everything must be on the paper.

#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QLineF>
#include <QPainterPath>
#include <QRectF>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using zor::TxtLines;

namespace {

class MermaidLayout : public ::testing::Test {
protected:
    void Import(const char* text) { ASSERT_TRUE(TZORFactory::LoadMermaid(label, QString::fromUtf8(text))); }

    // Every element lies on the paper.
    void ExpectAllOnPaper()
    {
        const int64_t w = label.Measure().GetSize(TZORSizeKind::PaperWidth);
        const int64_t h = label.Measure().GetSize(TZORSizeKind::PaperHeight);
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
            const TZORRect& b = label.GetItem(i)->GetBounds();
            EXPECT_TRUE(b.Left >= 0 && b.Top >= 0 && b.Right <= w && b.Bottom <= h) << "element " << i;
        }
    }

    template <class T> std::vector<T*> All()
    {
        std::vector<T*> found;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
            if (auto* item = dynamic_cast<T*>(label.GetItem(i)))
                found.push_back(item);
        return found;
    }

    TZORLabelVCL label;
};

// Every character of the text is laid out in lines: none is cut.
int32_t LaidOut(const TxtLines& lines)
{
    int32_t n = 0;
    for (const TZORTxtInf& line : lines)
        n += line.count;
    return n;
}

QRectF Box(const TZORBaseItem& item)
{
    const TZORRect b = item.GetBounds().Normalized();
    return QRectF(QPointF(double(b.Left), double(b.Top)), QPointF(double(b.Right), double(b.Bottom)));
}

// Whether the rectangles share an area, or a line lies inside the other's area; touching edges
// are not enough.
bool Overlap(const TZORRect& a, const TZORRect& b)
{
    const TZORRect p = a.Normalized(), q = b.Normalized();
    return p.Left < q.Right && q.Left < p.Right && p.Top < q.Bottom && q.Top < p.Bottom;
}

// The length of the segment that lies inside the box (Liang-Barsky clipping).
double LengthInside(const QLineF& s, const QRectF& box)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = s.dx(), dy = s.dy();
    const double p[] = { -dx, dx, -dy, dy };
    const double q[]
        = { s.x1() - box.left(), box.right() - s.x1(), s.y1() - box.top(), box.bottom() - s.y1() };
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return 0.0;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t1 > t0 ? (t1 - t0) * s.length() : 0.0;
}

// The length of the segment that lies inside the node's drawn shape, measured in steps of 50 µm:
// the link's own ends, which touch their nodes' outlines, are left out with 300 µm round them.
double LengthInShape(const QLineF& s, const TZORFlow& node, const QPointF& start, const QPointF& end)
{
    constexpr double Step = 50.0, Clear = 300.0;
    if (LengthInside(s, Box(node)) == 0.0)
        return 0.0;
    const QPainterPath shape = zor::FlowPaths(node.GetFlowType(), Box(node)).Shape.Path();
    const int steps = std::max(1, int(std::ceil(s.length() / Step)));
    double inside = 0.0;
    for (int k = 0; k <= steps; ++k) {
        const QPointF p = s.pointAt(double(k) / steps);
        if (QLineF(p, start).length() > Clear && QLineF(p, end).length() > Clear && shape.contains(p))
            inside += s.length() / steps;
    }
    return inside;
}

// How far two segments run along each other: the length they share when they lie on one line.
double SharedLength(const QLineF& a, const QLineF& b)
{
    constexpr double near = 200.0; // micrometres
    const QPointF u = (a.p2() - a.p1()) / std::max(a.length(), 1.0);
    const auto across = [&](const QPointF& p) {
        const QPointF d = p - a.p1();
        return std::abs(d.x() * u.y() - d.y() * u.x());
    };
    if (across(b.p1()) > near || across(b.p2()) > near)
        return 0.0;
    const auto along = [&](const QPointF& p) { return QPointF::dotProduct(p - a.p1(), u); };
    const double lo = std::max(0.0, std::min(along(b.p1()), along(b.p2())));
    const double hi = std::min(a.length(), std::max(along(b.p1()), along(b.p2())));
    return std::max(0.0, hi - lo);
}

std::vector<QLineF> Segments(const TZORLink& link)
{
    std::vector<QLineF> segments;
    const std::optional<zor::TZORLinkCourse> course = link.Course();
    EXPECT_TRUE(course && !course->Cubic);
    if (!course)
        return segments;
    for (size_t i = 1; i < course->Points.size(); ++i)
        segments.emplace_back(course->Points[i - 1], course->Points[i]);
    return segments;
}

// Ten nodes, links back by one and by several, links forward over several nodes.
const char* const TenNodes = R"M(flowchart LR
    n1([Start]) --> n2[Read order] --> n3{Valid?}
    n3 -->|no| n2
    n3 -->|yes| n4[Reserve stock] --> n5[Charge card] --> n6{Paid?}
    n6 -->|no| n3
    n6 -->|yes| n7[Pack] --> n8[Ship] --> n9[Notify] --> n10((End))
    n4 --> n7
    n2 --> n9
    n9 --> n1
    n5 -.-> n8
)M";

TEST_F(MermaidLayout, TenNodeFlowchartLinksPassNoNodeAndLieOnNoOtherLink)
{
    Import(TenNodes);
    ExpectAllOnPaper();
    const std::vector<TZORFlow*> nodes = All<TZORFlow>();
    const std::vector<TZORLink*> links = All<TZORLink>();
    ASSERT_EQ(nodes.size(), 10u);
    ASSERT_EQ(links.size(), 15u);
    // Every node holds its whole text.
    for (const TZORFlow* node : nodes) {
        TZORFontMetrics metrics;
        EXPECT_EQ(LaidOut(node->LayOut(metrics)), node->GetText().size()) << node->GetText().toStdString();
    }
    std::vector<std::vector<QLineF>> courses;
    for (const TZORLink* link : links)
        courses.push_back(Segments(*link));
    // No link runs through a node: only its ends touch the nodes' drawn outlines.
    for (size_t k = 0; k < courses.size(); ++k)
        for (const QLineF& s : courses[k])
            for (const TZORFlow* node : nodes)
                EXPECT_EQ(LengthInShape(s, *node, courses[k].front().p1(), courses[k].back().p2()), 0.0)
                    << "link " << k << " through " << node->GetText().toStdString();
    // Two links share no more than the points where they cross or meet at a node.
    for (size_t a = 0; a < courses.size(); ++a)
        for (size_t b = a + 1; b < courses.size(); ++b)
            for (const QLineF& sa : courses[a])
                for (const QLineF& sb : courses[b])
                    EXPECT_LT(SharedLength(sa, sb), 500.0) << "links " << a << " and " << b;
}

const char* const WithNotes = R"M(sequenceDiagram
    participant A as Alice
    participant B as Bob
    participant C as Carol
    Note over C: Ready
    Note left of A: Starts<br/>here
    A->>B: Hello Bob
    B->>B: Think it over
    Note over A,B: A note over two
    B-->>C: Pass it on to Carol, who decides what comes next
    C->>C: Check
    Note right of C: Last word
    C-xA: Reply lost
    Note over B: Waits
)M";

// A note is a filled paragraph; so are no other elements of the diagram.
bool IsNote(const TZORBaseItem& item)
{
    const auto* para = dynamic_cast<const TZORParagraph*>(&item);
    return para && para->GetFilled();
}

bool IsLifeline(const TZORBaseItem& item)
{
    const auto* line = dynamic_cast<const TZORLine*>(&item);
    return line && line->GetPoint(1).X == line->GetPoint(2).X && line->GetColor() == zor::claGray;
}

TEST_F(MermaidLayout, SequenceNotesAndMessagesToOneselfShowWholeOnThePaper)
{
    Import(WithNotes);
    ExpectAllOnPaper();
    int notes = 0;
    for (TZORParagraph* para : All<TZORParagraph>()) {
        notes += IsNote(*para);
        // The whole text is laid out in its box.
        EXPECT_EQ(LaidOut(para->GetLines()), para->GetText().size()) << para->GetText().toStdString();
    }
    EXPECT_EQ(notes, 5);
    // A note lies over nothing but lifelines: no message, text or participant's box.
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        const TZORBaseItem& note = *label.GetItem(i);
        if (!IsNote(note))
            continue;
        for (int32_t k = 1; k <= label.GetItemsCount(); ++k) {
            const TZORBaseItem& other = *label.GetItem(k);
            if (k == i || IsNote(other) || IsLifeline(other))
                continue;
            EXPECT_FALSE(Overlap(note.GetBounds(), other.GetBounds()))
                << dynamic_cast<const TZORParagraph&>(note).GetText().toStdString() << " over element " << k;
        }
    }
}

} // namespace
