// The dots style at full HD: positions per second for each dotter (single
// pixels, unpaced, on the layouts the seeds give), and the longest piece of
// work between two idle tests, construction included (the attractors' trial
// runs among it).

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>
#include <string>

#include "styles/dot/Dots.h"
#include "styles/dot/Dotter.h"

namespace {

using bench::kH;
using bench::kW;

// A full-HD scene at default settings but for the size of single dots.
struct DotsScene : bench::BenchScene {
    explicit DotsScene(int singleDot)
        : BenchScene("dots", [&](Settings& s) {
              s.setMaxTime(100000);
              s.setSingleDot(singleDot);
          }) {}
    // Only `dotter` is chosen (any for -1).
    std::unique_ptr<Dots> dots(int seed, int dotter) {
        if (dotter >= 0) {
            std::vector<float> weights(9, 0.0f);
            weights[static_cast<size_t>(dotter)] = 1.0f;
            gApp.settings()->choosers().chooser(Family::Dotter).build(weights, true);
        }
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return std::make_unique<Dots>(scene.get());
    }
};

}  // namespace

// 200,000 idle tests of single-pixel drawing with one dotter: the positions
// drawn and the stamps (positions x copies x cells) per second.
static void BM_DotsPositions(benchmark::State& state) {
    DotsScene s(100);
    const int dotter = static_cast<int>(state.range(0));
    state.SetLabel(DotterName(dotter));
    double positions = 0, stamps = 0;
    for (auto _ : state) {
        for (int seed = 1; seed <= 5; ++seed) {
            auto d = s.dots(seed, dotter);
            s.stopAt = s.polls + 40000;
            d->step();
            platform::resetMessageQueue();
            positions += d->counter();
            stamps += static_cast<double>(d->stamps());
        }
    }
    state.counters["positions_per_s"] = benchmark::Counter(positions, benchmark::Counter::kIsRate);
    state.counters["stamps_per_s"] = benchmark::Counter(stamps, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DotsPositions)->DenseRange(0, 8)->Unit(benchmark::kMillisecond)->Iterations(1);

// Construction and the first stretch of drawing of every dotter over many
// seeds, with single pixels or any dot: the longest stretch between two idle
// tests.
static void BM_DotsLongestWorkBetweenPolls(benchmark::State& state) {
    DotsScene s(static_cast<int>(state.range(0)));
    s.timing = true;
    for (auto _ : state) {
        for (int dotter = 0; dotter < 9; ++dotter)
            for (int seed = 1; seed <= 12; ++seed) {
                s.poll.last = std::clock();
                auto d = s.dots(seed * 7919 + dotter, dotter);
                s.stopAt = s.polls + 20000;
                d->step();
                platform::resetMessageQueue();
            }
    }
    state.counters["longest_ms"] = s.poll.longestMs;
}
BENCHMARK(BM_DotsLongestWorkBetweenPolls)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
