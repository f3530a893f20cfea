// The 3D styles at full HD: a whole still sphere (early in a run, when its
// grid is coarse, and after two minutes, when it may be fine), the frames of
// the moving wire figures, and the longest piece of work between two idle
// tests for every kind of figure, construction included.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>

#include "platform/Surface.h"
#include "styles/poly/Poly.h"
#include "styles/poly/Polygons.h"

namespace {

using bench::kH;
using bench::kW;

// A full-HD scene of one full-screen cell, no pause between facets or
// frames.
struct FullHdScene : bench::BenchScene {
    FullHdScene()
        : BenchScene("polygons", [](Settings& s) {
              s.setMinTime(5), s.setMaxTime(100000);
              s.setSpeed(0);
              s.setLayoutEven(0), s.setLayoutBar(0), s.setLayoutLimn(0), s.setLayoutFullScreen(100);
              s.setLayoutShrinkRandom(0), s.setLayoutShrinkEven(0);
          }) {}
    void fresh(int seed) {
        gApp.rand.seed(seed);
        scene->newLayout(false);
    }
    // Past the first two minutes: grids of up to 103 steps.
    void late() { simulated->advanceUs(int64_t{200} * 1000 * 1000); }
};

bool isMoving(int kind) { return kind >= 10 && kind <= 12; }

}  // namespace

// A whole still sphere, built, sorted and filled or outlined.
static void BM_StaticSphere(benchmark::State& state) {
    FullHdScene s;
    if (state.range(1)) s.late();
    for (auto _ : state) {
        s.fresh(static_cast<int>(state.range(0)) * 7919);
        PolygonsStatic sphere(s.scene.get(), 7);
        while (!sphere.isDone()) sphere.step();
        const auto& solid = dynamic_cast<const PolySolid&>(sphere.poly());
        state.counters["facets"] = static_cast<double>(solid.facets().size());
        const CSurface& surface = *s.scene->dc()->surface();
        long painted = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) painted += surface.at(x, y) != surface.at(0, 0);
        state.counters["painted"] = static_cast<double>(painted);
    }
}
BENCHMARK(BM_StaticSphere)
    ->ArgsProduct({{1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// Moving wire figures over 5 seconds of the simulated clock; the time per
// frame is the benchmark's time over the frame count.
static void BM_MovingFrame(benchmark::State& state) {
    FullHdScene s;
    Settings& settings = *gApp.settings();
    settings.setMaxTime(5);
    settings.setSpeed(20);
    int frames = 0;
    for (auto _ : state) {
        s.fresh(static_cast<int>(state.range(1)) * 104729);
        PolygonsMoving moving(s.scene.get(), static_cast<int>(state.range(0)));
        while (!moving.isDone()) moving.step();
        frames = moving.frame();
    }
    state.counters["frames"] = frames;
    state.counters["per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MovingFrame)->ArgsProduct({{10, 11, 12}, {1, 2}})->Unit(benchmark::kMillisecond)->Iterations(1);

// Every kind, late in the run (the finest grids), several seeds: the longest
// stretch between two idle tests, construction included.
static void BM_LongestWorkBetweenPolls(benchmark::State& state) {
    FullHdScene s;
    s.late();
    const int kind = static_cast<int>(state.range(0));
    if (isMoving(kind)) gApp.settings()->setMaxTime(2), gApp.settings()->setSpeed(20);
    double longest = 0;
    for (auto _ : state) {
        for (int seed = 1; seed <= 6; ++seed) {
            s.fresh(seed * 15485863);
            s.timing = true;
            s.poll.last = std::clock();
            std::unique_ptr<Saver> saver;
            if (isMoving(kind))
                saver = std::make_unique<PolygonsMoving>(s.scene.get(), kind);
            else
                saver = std::make_unique<PolygonsStatic>(s.scene.get(), kind);
            while (!saver->isDone()) saver->step();
            s.poll();
            s.timing = false;
        }
        longest = std::max(longest, s.poll.longestMs);
    }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)->DenseRange(0, 15)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
