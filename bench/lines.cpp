// The line style at full HD, default layout: the longest piece of work
// between two idle tests (construction included) for each liner, and the
// time per segment of each line kind drawn across the screen.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/SaverApp.h"
#include "engine/ChooserSet.h"
#include "engine/SceneWnd.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "styles/figure/Line.h"
#include "styles/figure/Liner.h"
#include "styles/figure/Lines.h"

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int kLinerKinds = 15;

// Notes the longest processor time between two calls.
struct PollTimer {
    std::clock_t last = std::clock();
    double longestMs = 0;
    void operator()() {
        const std::clock_t now = std::clock();
        longestMs = std::max(longestMs, 1000.0 * static_cast<double>(now - last) / CLOCKS_PER_SEC);
        last = now;
    }
};

// A full-HD scene at default settings but for the pace (no waits between
// segments). Every idle test is told to `poll`.
struct FullHdScene {
    platform::SimulatedClock* simulated = new platform::SimulatedClock();
    platform::ScopedClock clock{std::unique_ptr<platform::SimulatedClock>(simulated)};
    std::unique_ptr<CSceneWnd> scene;
    PollTimer poll;
    long polls = 0;
    long stopAt = -1;  // posts a message at this idle test
    bool timing = false;
    FullHdScene() {
        platform::HeadlessOptions options;
        options.width = kW;
        options.height = kH;
        options.onTime = [this](int64_t) {
            if (timing) poll();
            if (++polls == stopAt && scene) scene->PostMessage(WM_USER);
        };
        platform::setBackend(std::make_unique<platform::HeadlessBackend>(options));
        const auto folder = std::filesystem::temp_directory_path() / "quorvane-bench-lines";
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder), "Benchmark"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        Settings& s = *gApp.settings();
        s.setMaxTime(100000);
        s.setSpeed(0);
        gApp.rand.seed(1);
        scene = std::make_unique<CSceneWnd>();
        scene->Create(0, WS_POPUP, RECT{0, 0, kW, kH});
    }
    ~FullHdScene() {
        scene.reset();
        gApp.setSettings(nullptr);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
    }
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
BENCHMARK(BM_LongestWorkBetweenPolls)->DenseRange(0, kLinerKinds - 1)->Unit(benchmark::kMillisecond)->Iterations(1);

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
