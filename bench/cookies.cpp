// The overlapping-shapes style at full HD: a whole Cookies picture (the
// scene, its canvas and painter, as the program runs it), a bubbles mask,
// and the longest piece of work between two idle polls of the painters.
//
// Pictures differ wildly from seed to seed (a handful of shapes or a daub
// mosaic of thousands), so each seed is its own benchmark.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "layout/BoolMap.h"
#include "shape/Canvas.h"
#include "styles/shape/Cookies.h"

namespace {

using bench::kH;
using bench::kW;
using bench::PollTimer;
// Seeds far apart: neighbouring seeds start their sequences alike.
int seedOf(int64_t arg) { return static_cast<int>(arg * 1000003 % 999999937); }

struct FullHdScene : bench::BenchScene {
    FullHdScene() : BenchScene("cookies", [](Settings& s) { s.setMaxTime(1000); }) {}
};

}  // namespace

static void BM_CookiesPicture(benchmark::State& state) {
    FullHdScene s;
    for (auto _ : state) {
        gApp.rand.seed(seedOf(state.range(0)));
        Cookies cookies(s.scene.get());
        while (!cookies.isDone()) cookies.step();
    }
}
BENCHMARK(BM_CookiesPicture)->DenseRange(1, 12)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_BubblesMask(benchmark::State& state) {
    for (auto _ : state) {
        RandomSource random(seedOf(state.range(0)));
        BoolMapBubbles bubbles(&random, kW, kH, 100, nullptr);
        benchmark::DoNotOptimize(bubbles.get(0, 0));
    }
}
BENCHMARK(BM_BubblesMask)->DenseRange(1, 12)->Unit(benchmark::kMillisecond)->Iterations(1);

// The rarer bubbles painter, a daub layout on the mask.
static void BM_DaubMask(benchmark::State& state) {
    std::vector<uint8_t> cells(static_cast<size_t>(kW) * kH);
    for (auto _ : state) {
        RandomSource random(seedOf(state.range(0)));
        CanvasBoolMap canvas(cells.data(), cells.size(), kW, kH, &random);
        LimnDaub daub(&random, &canvas, true, nullptr);
        daub.draw(canvas, true);
    }
}
BENCHMARK(BM_DaubMask)->DenseRange(1, 8)->Unit(benchmark::kMillisecond)->Iterations(1);

// The painters as Cookies runs them, with the timing idle test: the longest
// stretch without a poll, over the whole picture, construction included.
static void BM_LongestWorkBetweenPolls(benchmark::State& state) {
    FullHdScene s;
    double longest = 0;
    for (auto _ : state) {
        RandomSource random(seedOf(state.range(0)));
        PollTimer timer;
        const IdleTest idle = [&timer] { return timer(); };
        CanvasDC canvas(s.scene->dc(), kW, kH, &random);
        const bool daub = state.range(1) != 0;
        std::unique_ptr<Limn> limn;
        if (daub)
            limn = std::make_unique<LimnDaub>(&random, &canvas, true, idle);
        else
            limn = std::make_unique<LimnShapes>(&random, &canvas, true, true, idle);
        limn->draw(canvas, true);
        timer();
        RandomSource maskRandom(seedOf(state.range(0)));
        PollTimer maskTimer;
        BoolMapBubbles bubbles(&maskRandom, kW, kH, 100, [&maskTimer] { return maskTimer(); });
        maskTimer();
        longest = std::max({longest, timer.longestMs, maskTimer.longestMs});
    }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 8, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
