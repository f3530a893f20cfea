// The two brush-stroke line styles at full HD: rewriting and measuring an
// L-system up to its length cap, and the longest piece of work between two
// idle tests of the turtle and of the composed drawing, construction (and
// the turtle's invention in its first step) included.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>

#include "styles/draw/Draw.h"
#include "styles/turtle/LSystem.h"
#include "styles/turtle/Turtle.h"

namespace {

using bench::kH;
using bench::kW;

// A full-HD scene with the settings' layouts, no pause between segments,
// every idle test timed.
struct StyleBench : bench::BenchScene {
    StyleBench()
        : BenchScene("turtle", [](Settings& s) {
              s.setMaxTime(100000);
              s.setSpeed(0);
          }) {
        timing = true;
    }
};

}  // namespace

// A word rewritten to the cap (32 times longer each generation, stopping
// past 65,534 characters), measured, and walked to its end.
static void BM_LSystemAtItsCap(benchmark::State& state) {
    size_t length = 0;
    for (auto _ : state) {
        LSystem l("F", 0, 0, 45, 0.05f);
        l.addRule('F', "F+F-F[+F]F-F+F[-F]F+F-F[+F]F-F+");
        l.addRule('L', "F-L");
        l.expand(8);
        float x1, y1, x2, y2;
        bool drawn;
        while (l.next(x1, y1, x2, y2, drawn)) benchmark::DoNotOptimize(x2);
        length = l.result().size();
    }
    state.counters["length"] = static_cast<double>(length);
}
BENCHMARK(BM_LSystemAtItsCap)->Unit(benchmark::kMillisecond);

// The invented systems of many seeds: the longest invention.
static void BM_TurtleInventionLongest(benchmark::State& state) {
    double longest = 0;
    size_t length = 0;
    for (auto _ : state)
        for (int seed = 1; seed <= 200; ++seed) {
            RandomSource random(seed);
            const std::clock_t start = std::clock();
            auto l = Turtle::invent(random);
            const double ms = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
            if (ms > longest) longest = ms, length = l->result().size();
        }
    state.counters["longest_ms"] = longest;
    state.counters["length"] = static_cast<double>(length);
}
BENCHMARK(BM_TurtleInventionLongest)->Unit(benchmark::kMillisecond)->Iterations(1);

// Construction and the first few thousand idle tests of each style (0 the
// turtle, 1 the composed drawing) over many seeds.
static void BM_LongestWorkBetweenPolls(benchmark::State& state) {
    StyleBench s;
    const bool draw = state.range(0) != 0;
    state.SetLabel(draw ? "Draw" : "Turtle");
    double longest = 0;
    for (auto _ : state)
        for (int seed = 1; seed <= 40; ++seed) {
            gApp.rand.seed(seed * 7919);
            s.scene->newLayout(draw);
            s.poll.last = std::clock();
            std::unique_ptr<Saver> saver;
            if (draw)
                saver = std::make_unique<Draw>(s.scene.get());
            else
                saver = std::make_unique<Turtle>(s.scene.get());
            s.stopAt = s.polls + 20000;
            for (int i = 0; i < 3 && !saver->isDone(); ++i) {
                saver->step();
                platform::resetMessageQueue();
                s.stopAt = s.polls + 20000;
            }
            longest = std::max(longest, s.poll.longestMs);
        }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
