#include "kit/Growth.h"
#include "label/Zor.Vcl.Mermaid.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <utility>
#include <vector>

// Imports of large diagrams: the elements keep the order by layer, at a cost that grows with
// the number of elements, not with its square.
namespace {

using zor::test::GrowsLinearly;

struct TDiagram {
    const char* name;
    std::function<QString(int, int)> text; // a diagram of units first to first + count - 1
    bool (*load)(TZORBaseLabel&, const QString&);
    int elementsPerUnit; // elements the import makes per unit
    int small, large; // the baseline's runs and the large one, in units
};

QString Chain(int first, int count)
{
    QString text = QStringLiteral("flowchart LR\n");
    for (int i = first; i + 1 < first + count; ++i)
        text += QStringLiteral("a%1 --> a%2\n").arg(i).arg(i + 1);
    return text;
}

QString Messages(int first, int count)
{
    QString text = QStringLiteral("sequenceDiagram\n");
    for (int i = first; i < first + count; ++i)
        text += QStringLiteral("Alice->>Bob: message %1\n").arg(i);
    return text;
}

QString Tasks(int first, int count)
{
    QString text = QStringLiteral("Vexlane:Gantt:Plan\n");
    for (int i = first; i < first + count; ++i)
        text += QStringLiteral("-> T%1 Task %1 [StartDate:01-03-2024] [EndDate:05-03-2024]\n").arg(i);
    return text;
}

} // namespace

TEST(LargeDiagrams, ImportsGrowLinearly)
{
    const TDiagram diagrams[] = {
        { "flowchart of 20,000 nodes", Chain, TZORFactory::LoadMermaid, 2, 500, 20000 },
        { "sequence of 20,000 messages", Messages, TZORFactory::LoadMermaid, 1, 500, 20000 },
        // A task's bar costs more than a sort step: the sorts would show only from 100,000 tasks.
        { "Gantt chart of 100,000 tasks", Tasks, TZORFactory::LoadGantt, 1, 2500, 100000 },
    };
    for (const TDiagram& d : diagrams) {
        SCOPED_TRACE(d.name);
        int made = 0;
        const auto import = [&](int first, int count) {
            TZORLabelVCL label;
            ASSERT_TRUE(d.load(label, d.text(first, count)));
            made = label.GetItemsCount();
        };
        EXPECT_TRUE(GrowsLinearly(import, d.small, d.large));
        EXPECT_GE(made, d.large * d.elementsPerUnit - 2);
    }
}

TEST(LargeDiagrams, AnImportKeepsTheOrderByLayer)
{
    TZORLabelVCL label;
    label.AddLayer(QStringLiteral("Top"));
    // After an import, an element added on the default layer still goes before one of the
    // upper layer added earlier.
    ASSERT_TRUE(TZORFactory::LoadMermaid(label, Chain(0, 50)));
    label.SetActiveLayer(2);
    TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
    label.SetActiveLayer(1);
    TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
    ASSERT_EQ(label.GetItemsCount(), 101);
    for (int32_t i = 1; i < label.GetItemsCount(); ++i)
        EXPECT_LE(label.GetItem(i)->GetLayerIndex(), label.GetItem(i + 1)->GetLayerIndex()) << i;
    EXPECT_EQ(label.GetItem(101)->GetLayerIndex(), 2);
}

namespace {

using zor::TRowLink;

// Ends of forward links over one node and backward links over two, overlapping their
// neighbours: each shares columns with a few others, as in a long flowchart.
std::vector<std::pair<int64_t, int64_t>> SkipLinks(int count)
{
    std::vector<std::pair<int64_t, int64_t>> ends;
    for (int64_t i = 0; i < count; ++i)
        ends.emplace_back(i % 2 ? i + 3 : i, i % 2 ? i : i + 2);
    return ends;
}

// The rule the lanes follow, link by link against all shorter ones: a link lies above every
// shorter link (or one as long and earlier) on its side that shares a column with it.
std::vector<int64_t> LanesByRule(const std::vector<TRowLink>& links)
{
    const auto span = [](const TRowLink& l) { return std::abs(l.To - l.From); };
    std::vector<int64_t> lanes(links.size(), 0);
    std::vector<size_t> order;
    for (size_t i = 0; i < links.size(); ++i)
        if (!links[i].Straight)
            order.push_back(i);
    std::stable_sort(
        order.begin(), order.end(), [&](size_t a, size_t b) { return span(links[a]) < span(links[b]); });
    for (size_t i = 0; i < order.size(); ++i) {
        const TRowLink& l = links[order[i]];
        lanes[order[i]] = 1;
        for (size_t k = 0; k < i; ++k) {
            const TRowLink& s = links[order[k]];
            const bool shares = std::min(s.From, s.To) <= std::max(l.From, l.To)
                && std::min(l.From, l.To) <= std::max(s.From, s.To);
            if (s.Above == l.Above && shares)
                lanes[order[i]] = std::max(lanes[order[i]], lanes[order[k]] + 1);
        }
    }
    return lanes;
}

} // namespace

TEST(LargeDiagrams, LinkLanesFollowTheirRule)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::uniform_int_distribution<int64_t> column(0, 1 + round % 12);
        std::vector<std::pair<int64_t, int64_t>> ends;
        for (int i = 0; i < 1 + round % 30; ++i)
            ends.emplace_back(column(random), column(random));
        const std::vector<TRowLink> links = zor::RowLinks(ends);
        const std::vector<int64_t> lanes = LanesByRule(links);
        for (size_t i = 0; i < links.size(); ++i)
            EXPECT_EQ(links[i].Lane, lanes[i]) << "round " << round << ", link " << i;
    }
}

TEST(LargeDiagrams, LinkLanesGrowWithTheLinksNotTheirSquare)
{
    size_t lanes = 0;
    const auto layOut = [&](int, int count) { lanes += zor::RowLinks(SkipLinks(count)).size(); };
    EXPECT_TRUE(GrowsLinearly(layOut, 1000, 40000));
    EXPECT_GT(lanes, 0u);
}
