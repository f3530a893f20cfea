// The two brush-stroke line styles at full HD: rewriting and measuring an
// L-system up to its length cap, and the longest piece of work between two
// idle tests of the turtle and of the composed drawing, construction (and
// the turtle's invention in its first step) included.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>

#include "app/SaverApp.h"
#include "engine/SceneWnd.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "styles/figure/Draw.h"
#include "styles/figure/LSystem.h"
#include "styles/figure/Turtle.h"

namespace {

constexpr int kW = 1920, kH = 1080;

// A full-HD scene with the settings' layouts, no pause between segments;
// notes the longest processor time between two idle tests and posts a
// message at the idle test `stopAt`.
struct Scene {
    platform::ScopedClock clock{std::make_unique<platform::SimulatedClock>()};
    std::unique_ptr<CSceneWnd> scene;
    std::clock_t last = std::clock();
    double longestMs = 0;
    long polls = 0;
    long stopAt = -1;
    Scene() {
        platform::HeadlessOptions options;
        options.width = kW;
        options.height = kH;
        options.onTime = [this](int64_t) {
            const std::clock_t now = std::clock();
            longestMs = std::max(longestMs, 1000.0 * static_cast<double>(now - last) / CLOCKS_PER_SEC);
            last = now;
            if (++polls == stopAt && scene) scene->PostMessage(WM_USER);
        };
        platform::setBackend(std::make_unique<platform::HeadlessBackend>(options));
        const auto folder = std::filesystem::temp_directory_path() / "quorvane-bench-turtle";
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder), "Benchmark"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        gApp.settings()->setMaxTime(100000);
        gApp.settings()->setSpeed(0);
        gApp.rand.seed(1);
        scene = std::make_unique<CSceneWnd>();
        scene->Create(0, WS_POPUP, RECT{0, 0, kW, kH});
    }
    ~Scene() {
        scene.reset();
        gApp.setSettings(nullptr);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
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
    Scene s;
    const bool draw = state.range(0) != 0;
    state.SetLabel(draw ? "Draw" : "Turtle");
    double longest = 0;
    for (auto _ : state)
        for (int seed = 1; seed <= 40; ++seed) {
            gApp.rand.seed(seed * 7919);
            s.scene->newLayout(draw);
            s.last = std::clock();
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
            longest = std::max(longest, s.longestMs);
        }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_LongestWorkBetweenPolls)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
