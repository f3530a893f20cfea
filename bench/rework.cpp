// The styles that rework the screen at full HD: one whole pass of each
// style over one full-screen cell of a fixed picture (wall time, no pause
// between steps), and the longest piece of work between two idle tests,
// construction included.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>
#include <string>

#include "styles/area/BlockPaint.h"
#include "styles/area/Interp.h"
#include "styles/area/Offset.h"
#include "styles/area/Repaint.h"
#include "styles/area/Scroll.h"
#include "styles/area/Shrinker.h"
#include "styles/area/Sketch.h"

namespace {

using bench::kH;
using bench::kW;

// A full-HD scene of one full-screen cell over a gradient with discs, no
// pause between steps.
struct FullHdScene : bench::BenchScene {
    FullHdScene()
        : BenchScene("rework", [](Settings& s) {
              s.setMaxTime(100000);
              s.setSpeed(0);
              bench::oneRectangularCell(s);
              s.setUseAnimation(false), s.setAnimation(0);
          }) {}
    void paintPicture() {
        CDC& dc = *scene->dc();
        CSurface& s = *dc.surface();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                s.row32(y)[x] = RGB(x * 255 / kW, y * 255 / kH, 255 - (x + y) * 255 / (kW + kH));
        const CBrush old = dc.SelectBrush(CBrush{BrushStyle::Solid, RGB(220, 40, 40)});
        dc.Ellipse(150, 100, 900, 700);
        dc.SelectBrush(CBrush{BrushStyle::Solid, RGB(30, 160, 220)});
        dc.Ellipse(1000, 200, 1800, 1000);
        dc.SelectBrush(old);
    }
    // The first seed from `seed` whose style draws in the only cell, the
    // picture painted and the layout of that seed made again.
    template <class S>
    int seedFor(int seed) {
        for (;; ++seed) {
            gApp.rand.seed(seed);
            scene->newLayout(false);
            const S probe(scene.get());
            const SubRectList& cells = scene->subRects();
            if (cells.size() == 1 && cells.front().group() == probe.group() && cells.front().width() == kW &&
                cells.front().height() == kH)
                break;
        }
        paintPicture();
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return seed;
    }
};

template <class S>
void wholePass(benchmark::State& state) {
    FullHdScene s;
    int steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.seedFor<S>(static_cast<int>(state.range(0)) * 101);
        state.ResumeTiming();
        auto style = std::make_unique<S>(s.scene.get());
        steps = 0;
        while (!style->isDone()) style->step(), ++steps;
    }
    state.counters["steps"] = steps;
}

// Construction and whole passes of several seeds, the idle tests timed.
template <class S>
void longestWork(benchmark::State& state) {
    FullHdScene s;
    for (auto _ : state) {
        for (int seed = 1; seed <= 4; ++seed) {
            s.seedFor<S>(seed * 101);
            s.timing = true;
            s.poll.last = std::clock();
            auto style = std::make_unique<S>(s.scene.get());
            for (int i = 0; i < 200000 && !style->isDone(); ++i) style->step();
            s.timing = false;
        }
    }
    state.counters["longest_ms"] = s.poll.longestMs;
}

}  // namespace

#define QV_REWORK_BENCH(S)                                                                            \
    BENCHMARK_TEMPLATE(wholePass, S)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->Iterations(1); \
    BENCHMARK_TEMPLATE(longestWork, S)->Unit(benchmark::kMillisecond)->Iterations(1);
QV_REWORK_BENCH(Offset)
QV_REWORK_BENCH(Interp)
QV_REWORK_BENCH(Shrinker)
QV_REWORK_BENCH(Repaint)
QV_REWORK_BENCH(Sketch)
QV_REWORK_BENCH(BlockPaint)
QV_REWORK_BENCH(Scroll)

BENCHMARK_MAIN();
