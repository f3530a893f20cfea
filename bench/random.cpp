// Throughput of the generator and the weighted choice, beside the standard
// library's Mersenne twister for scale.

#include <benchmark/benchmark.h>

#include <random>

#include "engine/RandomSource.h"
#include "engine/WeightedChooser.h"

static void BM_RandomSourceNext(benchmark::State& state) {
    RandomSource r(12345);
    for (auto _ : state) benchmark::DoNotOptimize(r.next());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomSourceNext);

static void BM_Mt19937(benchmark::State& state) {
    std::mt19937 r(12345);
    for (auto _ : state) benchmark::DoNotOptimize(r());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Mt19937);

static std::vector<float> tableOf(int n) {
    std::vector<float> w;
    for (int i = 0; i < n; ++i) w.push_back(static_cast<float>(1 + (i * 37) % 100));
    return w;
}

static void BM_WeightedChooserChoose(benchmark::State& state) {
    WeightedChooser c;
    c.build(tableOf(static_cast<int>(state.range(0))), true);
    RandomSource r(12345);
    for (auto _ : state) benchmark::DoNotOptimize(c.choose(r));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WeightedChooserChoose)->Arg(9)->Arg(51);

// The same cumulative-table choice driven by the standard generator.
static void BM_Mt19937DiscreteDistribution(benchmark::State& state) {
    const std::vector<float> w = tableOf(static_cast<int>(state.range(0)));
    std::discrete_distribution<int> d(w.begin(), w.end());
    std::mt19937 r(12345);
    for (auto _ : state) benchmark::DoNotOptimize(d(r));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Mt19937DiscreteDistribution)->Arg(9)->Arg(51);

static void BM_WeightedChooserPerturb(benchmark::State& state) {
    WeightedChooser c;
    c.build(tableOf(51), true);
    RandomSource r(12345);
    for (auto _ : state) {
        c.perturb(r);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WeightedChooserPerturb);

BENCHMARK_MAIN();
