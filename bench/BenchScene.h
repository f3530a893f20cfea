// The full-HD headless scene the style benchmarks run in, and the idle-test
// timer they note the longest stretch of work with.
#pragma once

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/SaverApp.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "scene/SceneWnd.h"

namespace bench {

constexpr int kW = 1920, kH = 1080;

// Notes the longest processor time between two calls (processor time: on a
// busy machine the wall clock counts the time other programs ran too). As an
// idle test it always lets the work go on.
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

// One full-screen cell with a rectangular outline.
inline void oneRectangularCell(Settings& s) {
    s.setLayoutEven(0), s.setLayoutBar(0), s.setLayoutLimn(0), s.setLayoutFullScreen(100);
    s.setLayoutShrinkRandom(0), s.setLayoutShrinkEven(0);
    s.setLayoutCircle(0), s.setLayoutTriangle(0), s.setLayoutSlant(0), s.setLayoutWavy(0);
}

// A full-screen scene of kW x kH under a simulated clock, its settings kept
// in a scratch folder named for the benchmark and adjusted by `configure`.
// Every pump of events (each idle test) is counted, told to `poll` while
// `timing`, and posts a message at the idle test `stopAt`.
struct BenchScene {
    platform::SimulatedClock* simulated = new platform::SimulatedClock();
    platform::ScopedClock clock{std::unique_ptr<platform::SimulatedClock>(simulated)};
    std::unique_ptr<CSceneWnd> scene;
    PollTimer poll;
    long polls = 0;
    long stopAt = -1;     // posts a message at this idle test
    bool timing = false;  // the poll timer runs (its clock reads cost a system call each)

    BenchScene(const std::string& name, const std::function<void(Settings&)>& configure) {
        platform::HeadlessOptions options;
        options.width = kW;
        options.height = kH;
        options.onTime = [this](int64_t) {
            if (timing) poll();
            if (++polls == stopAt && scene) scene->PostMessage(WM_USER);
        };
        platform::setBackend(std::make_unique<platform::HeadlessBackend>(options));
        const auto folder = std::filesystem::temp_directory_path() / ("quorvane-bench-" + name);
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder), "Benchmark"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        configure(*gApp.settings());
        gApp.rand.seed(1);
        scene = std::make_unique<CSceneWnd>();
        scene->Create(0, WS_POPUP, RECT{0, 0, kW, kH});
    }
    ~BenchScene() {
        scene.reset();
        gApp.setSettings(nullptr);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
    }
    BenchScene(const BenchScene&) = delete;
    BenchScene& operator=(const BenchScene&) = delete;
};

}  // namespace bench
