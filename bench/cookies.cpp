// The overlapping-shapes style at full HD: a whole Cookies picture (the
// scene, its canvas and painter, as the program runs it), a bubbles mask,
// and the longest piece of work between two idle polls of the painters.
//
// Pictures differ wildly from seed to seed (a handful of shapes or a daub
// mosaic of thousands), so each seed is its own benchmark.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/SaverApp.h"
#include "engine/SceneWnd.h"
#include "layout/BoolMap.h"
#include "layout/Canvas.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "styles/figure/Cookies.h"

namespace {

constexpr int kW = 1920, kH = 1080;
// Seeds far apart: neighbouring seeds start their sequences alike.
int seedOf(int64_t arg) {
    return static_cast<int>(arg * 1000003 % 999999937);
}

struct FullHdScene {
    platform::ScopedClock clock{std::make_unique<platform::SimulatedClock>()};
    std::unique_ptr<CSceneWnd> scene;
    FullHdScene() {
        platform::HeadlessOptions options;
        options.width = kW;
        options.height = kH;
        platform::setBackend(std::make_unique<platform::HeadlessBackend>(options));
        const auto folder = std::filesystem::temp_directory_path() / "quorvane-bench-cookies";
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder), "Benchmark"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        gApp.settings()->setMaxTime(1000);
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
};

// An idle test that notes the longest processor time between two of its
// calls (processor time: on a busy machine the wall clock counts the time
// other programs ran too).
struct PollTimer {
    std::clock_t last = std::clock();
    double longestMs = 0;
    bool operator()() {
        const std::clock_t now = std::clock();
        longestMs = std::max(longestMs, 1000.0 * static_cast<double>(now - last) / CLOCKS_PER_SEC);
        last = now;
        return true;
    }
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
