#include "kit/Growth.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QString>

#include <gtest/gtest.h>

#include <functional>

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
