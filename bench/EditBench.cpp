#include "Zor.F2d.h"
#include "Zor.Label.h"
#include "Zor.Line.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

// Picking and snapping in a label of 5,000 elements (lines, frames, rings and polylines spread
// over a square metre), against a bare loop over the same elements' bounds (picking) and points
// (snapping). The pointer visits 256 fixed places, most of them over empty paper or inside
// the boxes of elements they do not touch.

namespace {

template <class Base> struct TStub : Base {
    using Base::Base;
    void Draw(TZORBaseDraw&) const override { }
    void Print(TZORBaseDraw&) const override { }
};

constexpr int32_t Elements = 5000;
constexpr int32_t Tol = 500;

template <class T> void Add(TZORBaseLabel& label, std::initializer_list<TZORPto> points)
{
    auto item = std::make_unique<TStub<T>>(&label, false);
    item->AssignPoints(std::span<const TZORPto>(points.begin(), points.size()));
    label.AddItem(std::move(item));
}

TZORBaseLabel& Label()
{
    static TZORBaseLabel label;
    if (label.GetItemsCount() > 0)
        return label;
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int64_t> pos(0, 1'000'000), size(2'000, 20'000);
    for (int32_t i = 0; i < Elements; ++i) {
        const int64_t x = pos(rng), y = pos(rng), w = size(rng), h = size(rng);
        switch (i % 4) {
        case 0:
            Add<TZORBaseLine>(label, { { x, y }, { x + w, y + h } });
            break;
        case 1:
            Add<TZORBaseRectangle>(label, { { x, y }, { x + w, y + h } });
            break;
        case 2:
            Add<TZORBaseCircle>(label, { { x, y }, { x + w, y + w } });
            break;
        default:
            Add<TZORBasePolyLine>(label, { { x, y }, { x + w, y }, { x + w, y + h }, { x, y + h / 2 } });
            break;
        }
    }
    return label;
}

const std::vector<TZORPto>& Pointers()
{
    static const std::vector<TZORPto> points = [] {
        std::mt19937_64 rng(11);
        std::uniform_int_distribution<int64_t> pos(0, 1'000'000);
        std::vector<TZORPto> p(256);
        for (TZORPto& q : p)
            q = { pos(rng), pos(rng) };
        return p;
    }();
    return points;
}

void PickBareBounds(benchmark::State& state)
{
    const TZORBaseLabel& label = Label();
    size_t k = 0;
    for (auto _ : state) {
        const TZORPto p = Pointers()[k++ % 256];
        const TZORBaseItem* found = nullptr;
        for (int32_t i = label.GetItemsCount(); i >= 1 && !found; --i) {
            const TZORRect& b = label.GetItem(i)->GetBounds();
            if (p.X >= b.Left - Tol && p.X <= b.Right + Tol && p.Y >= b.Top - Tol && p.Y <= b.Bottom + Tol)
                found = label.GetItem(i);
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(PickBareBounds);

void PickItemAt(benchmark::State& state)
{
    const TZORBaseLabel& label = Label();
    size_t k = 0;
    for (auto _ : state) {
        const TZORPto p = Pointers()[k++ % 256];
        benchmark::DoNotOptimize(label.ItemAt(p.X, p.Y, Tol));
    }
}
BENCHMARK(PickItemAt);

void SnapBarePoints(benchmark::State& state)
{
    const TZORBaseLabel& label = Label();
    size_t k = 0;
    for (auto _ : state) {
        const TZORPto p = Pointers()[k++ % 256];
        double best = Tol;
        TZORPto hit;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
            const TZORBaseItem* item = label.GetItem(i);
            for (int32_t j = 1; j <= item->GetPointsCount(); ++j) {
                const TZORPto& q = item->GetPoint(j);
                const double d = std::hypot(double(q.X - p.X), double(q.Y - p.Y));
                if (d <= best) {
                    best = d;
                    hit = q;
                }
            }
        }
        benchmark::DoNotOptimize(hit);
    }
}
BENCHMARK(SnapBarePoints);

void SnapEndPoint(benchmark::State& state)
{
    const TZORBaseLabel& label = Label();
    size_t k = 0;
    for (auto _ : state) {
        const TZORPto p = Pointers()[k++ % 256];
        TZORRef ref;
        benchmark::DoNotOptimize(label.SearchPoint(p.X, p.Y, Tol, zor::TZORSnap::End, ref, false));
    }
}
BENCHMARK(SnapEndPoint);

// The editor's usual set: end, middle and centre points, tried in that order.
void SnapEndMiddleCentre(benchmark::State& state)
{
    const TZORBaseLabel& label = Label();
    const uint16_t snaps = zor::SnapBit(zor::TZORSnap::End) | zor::SnapBit(zor::TZORSnap::Middle)
        | zor::SnapBit(zor::TZORSnap::Centre);
    size_t k = 0;
    for (auto _ : state) {
        const TZORPto p = Pointers()[k++ % 256];
        TZORRef ref;
        benchmark::DoNotOptimize(label.SearchSnap(p.X, p.Y, Tol, snaps, ref, false));
    }
}
BENCHMARK(SnapEndMiddleCentre);

} // namespace

BENCHMARK_MAIN();
