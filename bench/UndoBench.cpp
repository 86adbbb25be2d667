// One undo step on a label of many rectangles (an edit in an update bracket, recorded as whole
// label states), one undo and one redo, against the baseline of writing the label to memory
// once, which is what a save costs.

#include "Zor.Stream.h"
#include "label/Zor.Vcl.h"

#include <benchmark/benchmark.h>

#include <memory>

using zor::TBinaryWriter;

namespace {

std::unique_ptr<TZORLabelVCL> LabelOf(int64_t count)
{
    auto label = std::make_unique<TZORLabelVCL>();
    for (int64_t i = 0; i < count; ++i) {
        std::unique_ptr<TZORBaseItem> item = label->NewItem(int32_t(TZORItemType::Rectangle), false);
        item->SetBase(1, (i % 100) * 2000, (i / 100) * 2000);
        item->SetBase(2, (i % 100) * 2000 + 1500, (i / 100) * 2000 + 1500);
        item->Update();
        label->AddItem(std::move(item));
    }
    label->ClearUndo();
    return label;
}

void Baseline_WriteLabel(benchmark::State& state)
{
    const auto label = LabelOf(state.range(0));
    for (auto _ : state) {
        QByteArray bytes;
        TBinaryWriter w(&bytes);
        label->WriteLabel(w);
        benchmark::DoNotOptimize(bytes.data());
    }
}

void UndoStep(benchmark::State& state)
{
    const auto label = LabelOf(state.range(0));
    float width = 0.1f;
    for (auto _ : state) {
        label->BeginUpdate(true);
        label->GetItem(1)->SetPenWidth(width += 0.1f);
        label->EndUpdate();
    }
    state.counters["history_kb"] = double(label->UndoHistory().GetBytes()) / 1024;
}

void UndoAndRedo(benchmark::State& state)
{
    const auto label = LabelOf(state.range(0));
    label->BeginUpdate(true);
    label->GetItem(1)->SetPenWidth(0.7f);
    label->EndUpdate();
    for (auto _ : state) {
        label->Undo();
        label->Redo();
    }
}

BENCHMARK(Baseline_WriteLabel)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoStep)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoAndRedo)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
