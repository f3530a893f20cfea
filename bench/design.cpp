// The solid design at full HD: a whole single-pixel Design filling one
// full-screen cell, per kind of pattern calculator (and its time per row);
// the cost of one stamp of every dot member; and the longest piece of work
// between two idle tests, construction included.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>
#include <string>
#include <typeinfo>

#include "Patterns/PatternCalculator.h"
#include "Patterns/PatternCheckered.h"
#include "Patterns/PatternFloat.h"
#include "Patterns/PatternFractal.h"
#include "Patterns/PatternInt.h"
#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternNoise.h"
#include "Patterns/PatternSin.h"
#include "layout/SubRect.h"
#include "styles/area/Design.h"
#include "styles/dot/Dot.h"

namespace {

using bench::kH;
using bench::kW;

// A full-HD scene of one full-screen cell with a rectangular outline, single
// pixels only, no pause between rows.
struct FullHdScene : bench::BenchScene {
    // `animate`: the palette display with its colours rotating.
    explicit FullHdScene(int singleDot = 100, bool animate = false)
        : BenchScene("design", [&](Settings& s) {
              s.setMaxTime(100000);
              s.setSpeed(0);
              s.setSingleDot(singleDot);
              bench::oneRectangularCell(s);
              s.setUseAnimation(animate), s.setAnimation(animate ? 100 : 0);
          }) {}
    // A design from `seed` on a fresh layout.
    std::unique_ptr<Design> design(int seed) {
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return std::make_unique<Design>(scene.get());
    }
};

const std::type_info* kCalculators[] = {
    &typeid(PatternNetwork), &typeid(PatternSin),   &typeid(PatternFractal),   &typeid(PatternInt),
    &typeid(PatternFloat),   &typeid(PatternNoise), &typeid(PatternCheckered), &typeid(PatternVecSin)};
const char* kCalculatorNames[] = {"Network", "Sin",   "Fractal",   "Int",
                                  "Float",   "Noise", "Checkered", "VecSin"};

}  // namespace

// A whole single-pixel design, its calculator of the given kind (the first
// seed that draws one), and its time per row.
static void BM_DesignWhole(benchmark::State& state) {
    FullHdScene s(100, state.range(1) != 0);
    const std::type_info& wanted = *kCalculators[state.range(0)];
    int seed = 1;
    while (seed < 5000) {
        auto probe = s.design(seed);
        const PatternCalculator& calc = *probe->calculator();
        if (typeid(calc) == wanted) break;
        ++seed;
    }
    state.SetLabel(std::string(kCalculatorNames[state.range(0)]) + " seed " + std::to_string(seed));
    double rows = 0;
    double simulatedMs = 0;
    for (auto _ : state) {
        auto d = s.design(seed);
        const float top = d->y();
        const int64_t start = s.simulated->nowUs();
        while (!d->isDone()) d->step();
        simulatedMs = static_cast<double>(s.simulated->nowUs() - start) / 1000.0;
        rows = (d->y() - top) / d->pixelHeight();
    }
    state.counters["simulated_ms"] = simulatedMs;
    state.counters["rows"] = rows;
    state.counters["row_ms"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DesignWhole)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// One stamp of a dot member of the given kind at random points of the
// screen, with a colour that varies along.
static void BM_DotStamp(benchmark::State& state) {
    FullHdScene s;
    const int kind = static_cast<int>(state.range(0));
    RandomSource random(kind + 17);
    DotSetting setting = DotSetting::of(scene());
    auto dot = MakeDotKind(kind, random, setting);
    state.SetLabel(DotKindName(kind));
    const SubRect cell(0, 0, kW, kH, 0, 0);
    CDC& dc = *s.scene->dc();
    int64_t i = 0;
    for (auto _ : state) {
        // Spread over the screen; 64-bit, since a long run multiplies past 32 bits.
        const int x = static_cast<int>(i * 7919 % kW), y = static_cast<int>(i * 104729 % kH);
        dot->draw(dc, x, y, Color::fromPaletteIndex(static_cast<int>(i % 200)), &cell);
        ++i;
    }
}
BENCHMARK(BM_DotStamp)->DenseRange(0, 59)->Unit(benchmark::kMicrosecond);

// Construction (the dot's mask included) and the first rows of designs
// with dots of every kind: the longest stretch between two idle tests.
static void BM_LongestWorkBetweenPolls(benchmark::State& state) {
    FullHdScene s(static_cast<int>(state.range(0)));
    s.timing = true;
    double longest = 0;
    for (auto _ : state) {
        for (int seed = 1; seed <= 60; ++seed) {
            s.poll.last = std::clock();
            auto d = s.design(seed * 7919);
            // About twenty rows of single pixels, fewer of larger dots.
            s.stopAt = s.polls + 40000;
            d->step();
            platform::resetMessageQueue();
        }
        longest = std::max(longest, s.poll.longestMs);
    }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)->Arg(0)->Arg(25)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
