// The neighbourhood filters at full HD: one whole pass of each member over
// one full-screen cell (its buffer read included), the mode filter also on
// its plain path, and the longest piece of work between two idle tests,
// construction and the buffer's loading included.

#include <benchmark/benchmark.h>

#include "BenchScene.h"

#include <algorithm>
#include <memory>
#include <string>

#include "styles/dot/Dot.h"
#include "styles/neighbourly/Neighbourly.h"
#include "styles/neighbourly/NeighbourlySaver.h"

namespace {

using bench::kH;
using bench::kW;
const char* kNames[] = {"Blur", "Freq", "Convolver", "Sharpen", "InkEdges", "InkFill", "InkPen", "Plasma"};

// A style repainting its cells through a given member.
class NeighbourlyWith : public NeighbourlySaver {
public:
    NeighbourlyWith(StyleScene* scene, int id, bool plain) : NeighbourlySaver(scene) {
        m_pDot = std::make_unique<DotSingle>(m_random, DotSetting::of(::scene()));
        m_pDot->setShadowOn(false);
        m_pNeighbourly = Neighbourly::make(id, m_random, m_pDot.get());
        setPlainPath(plain);
    }
};

// A full-HD scene of one full-screen rectangular cell, no pause between
// rows, holding a busy picture: a gradient under noise in blue, so that the mode filter sees nearly all distinct ones (its
// slowest case).
struct StyleBench : bench::BenchScene {
    StyleBench()
        : BenchScene("neighbourly", [](Settings& s) {
              s.setMaxTime(100000);
              s.setSpeed(0);
              bench::oneRectangularCell(s);
          }) {
        scene->newLayout(false);
    }
    void paint() {
        CSurface& s = *scene->dc()->surface();
        RandomSource noise(5);
        for (int y = 0; y < kH; ++y) {
            uint32_t* row = s.row32(y);
            for (int x = 0; x < kW; ++x) row[x] = RGB(x * 255 / kW, y * 255 / kH, noise.below(256));
        }
    }
    // A style of member `id` from `seed`, over the whole screen.
    std::unique_ptr<NeighbourlyWith> style(int id, int seed, bool plain = false) {
        gApp.rand.seed(seed);
        return std::make_unique<NeighbourlyWith>(scene.get(), id, plain);
    }
};

}  // namespace

// One whole pass of a member over the screen (wall time).
static void BM_MemberPass(benchmark::State& state) {
    StyleBench s;
    const int id = static_cast<int>(state.range(0));
    const bool plain = state.range(1) != 0;
    // The widest window (radius 4) where the member draws one.
    int seed = 1;
    while (seed < 1000) {
        auto probe = s.style(id, seed * 7919);
        const auto* blur = dynamic_cast<const NeighbourlyBlur*>(probe->neighbourly());
        if (!blur || blur->radius() == 4 || id == 3 || id >= 4) break;
        ++seed;
    }
    state.SetLabel(std::string(kNames[id]) + (plain ? " plain" : "") + " seed " + std::to_string(seed));
    for (auto _ : state) {
        state.PauseTiming();
        s.paint();
        auto style = s.style(id, seed * 7919, plain);
        state.ResumeTiming();
        while (!style->isDone()) style->step();
    }
}
BENCHMARK(BM_MemberPass)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {0}})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);

// Construction, the buffer's loading and the first rows of each member
// under several seeds: the longest stretch between two idle tests.
static void BM_LongestWorkBetweenPolls(benchmark::State& state) {
    StyleBench s;
    s.paint();
    s.timing = true;
    double longest = 0;
    for (auto _ : state) {
        for (int id = 0; id < 8; ++id)
            for (int seed = 1; seed <= 4; ++seed) {
                s.poll.longestMs = 0;
                s.poll.last = std::clock();
                auto style = s.style(id, seed * 7919);
                s.stopAt = s.polls + 3000;
                style->step();
                platform::resetMessageQueue();
                longest = std::max(longest, s.poll.longestMs);
            }
    }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
