// The distortion at full HD: a whole pass of each distorter over one
// full-screen cell (wall time, the pause at row ends under the simulated
// clock costing nothing), and the longest piece of work between two idle
// tests, construction and the copy of the cell included.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>
#include <string>

#include "styles/distort/Distort.h"
#include "styles/distort/Distorter.h"

namespace {

using bench::kH;
using bench::kW;

// A full-HD scene of one full-screen cell with a rectangular outline,
// showing a picture to distort.
struct FullHdScene : bench::BenchScene {
    FullHdScene()
        : BenchScene("distort", [](Settings& s) {
              s.setMaxTime(100000);
              s.setSpeed(0);
              bench::oneRectangularCell(s);
          }) {
        // Bands, checks and a gradient: something to move around.
        CSurface& screen = *scene->dc()->surface();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                screen.row32(y)[x] = RGB(x * 255 / kW, y * 255 / kH, (x / 40 + y / 40) % 2 ? 200 : 30);
    }
    std::unique_ptr<Distort> distort(int seed) {
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return std::make_unique<Distort>(scene.get());
    }
    // The first seed from `seed` whose drawing's group holds the cell.
    int drawingSeed(int seed) {
        for (int tries = 0; tries < 50; ++tries, ++seed)
            if (distort(seed)->group() == scene->subRects().front().group()) return seed;
        return seed;
    }
};

}  // namespace

// One whole pass of the distorter of the given index over the screen.
static void BM_DistortPass(benchmark::State& state) {
    FullHdScene s;
    const int index = static_cast<int>(state.range(0));
    state.SetLabel(Distorter::name(index));
    RandomSource random(index + 1);
    const int seed = s.drawingSeed(1);
    for (auto _ : state) {
        auto d = s.distort(seed);
        d->setDistorter(Distorter::make(index, random, DistorterSetting::of(scene())));
        while (!d->isDone()) d->step();
    }
}
BENCHMARK(BM_DistortPass)
    ->DenseRange(0, Distorter::kMembers - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Construction (with the member drawn by the chooser) and the first rows of
// sixty distortions, each cut short by a message: the longest stretch
// between two idle tests.
static void BM_LongestWorkBetweenPolls(benchmark::State& state) {
    FullHdScene s;
    s.timing = true;
    double longest = 0;
    for (auto _ : state) {
        for (int i = 1; i <= 60; ++i) {
            const int seed = s.drawingSeed(i * 7919);
            s.poll.last = std::clock();
            auto d = s.distort(seed);
            // About twenty rows.
            s.stopAt = s.polls + 40000;
            d->step();
            platform::resetMessageQueue();
        }
        longest = std::max(longest, s.poll.longestMs);
    }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
