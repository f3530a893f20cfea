// The line style at full HD, default layout: the longest piece of work
// between two idle tests (construction included) for each liner, and the
// time per segment of each line kind drawn across the screen.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/ChooserSet.h"
#include "styles/line/Line.h"
#include "styles/line/Liner.h"
#include "styles/line/Lines.h"

namespace {

using bench::kH;
using bench::kW;
constexpr int kLinerKinds = 15;

// A full-HD scene at default settings but for the pace (no waits between
// segments).
struct FullHdScene : bench::BenchScene {
    FullHdScene()
        : BenchScene("lines", [](Settings& s) {
              s.setMaxTime(100000);
              s.setSpeed(0);
          }) {}
    // Lines from `seed` on a fresh layout, `liner` the only liner.
    std::unique_ptr<Lines> lines(int seed, int liner) {
        std::vector<float> weights(kLinerKinds, 0.0f);
        weights[static_cast<size_t>(liner)] = 1.0f;
        gApp.settings()->choosers().chooser(Family::Liner).build(weights, true);
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return std::make_unique<Lines>(scene.get());
    }
};

}  // namespace

// Construction and a few thousand idle tests of drawing, over 20 seeds.
static void BM_LongestWorkBetweenPolls(benchmark::State& state) {
    FullHdScene s;
    const int liner = static_cast<int>(state.range(0));
    state.SetLabel(LinerKindName(liner));
    s.timing = true;
    double longest = 0;
    for (auto _ : state) {
        for (int seed = 1; seed <= 20; ++seed) {
            s.poll.last = std::clock();
            auto d = s.lines(seed * 7919, liner);
            s.stopAt = s.polls + 3000;
            d->step();
            platform::resetMessageQueue();
        }
        longest = std::max(longest, s.poll.longestMs);
    }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)
    ->DenseRange(0, kLinerKinds - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// One full-screen diagonal segment of a line kind.
static void BM_LineSegment(benchmark::State& state) {
    FullHdScene s;
    const int kind = static_cast<int>(state.range(0));
    RandomSource random(kind + 3);
    auto line = MakeLineKind(kind, random);
    state.SetLabel(LineKindName(kind));
    CDC& dc = *s.scene->dc();
    int i = 0;
    for (auto _ : state) {
        line->draw(dc, 0, (i * 37) % kH, kW - 1, kH - 1 - (i * 37) % kH, Color::fromPaletteIndex(i % 200));
        ++i;
    }
}
BENCHMARK(BM_LineSegment)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
