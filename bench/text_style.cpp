// One step of the text style on a full-HD screen: a font made for the step,
// the text measured, and written into every cell of a 4 x 4 layout (both
// groups) or once on the whole screen.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/SaverApp.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "scene/SceneWnd.h"
#include "styles/text/Text.h"

static void BM_TextStepFullHd(benchmark::State& state) {
    const int cells = static_cast<int>(state.range(0));
    // The waits between cells jump to their deadlines: only the work counts.
    platform::ScopedClock clock(std::make_unique<platform::SimulatedClock>());
    platform::HeadlessOptions options;
    options.width = 1920;
    options.height = 1080;
    platform::setBackend(std::make_unique<platform::HeadlessBackend>(options));
    const auto folder = std::filesystem::temp_directory_path() / "quorvane-bench-text-none";
    gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder), "Benchmark"));
    gApp.settings()->setMessage(0, "Quorvane");
    gApp.setMode(CSaverApp::kModeFullScreen);
    gApp.rand.seed(1);
    auto scene = std::make_unique<CSceneWnd>();
    scene->Create(0, WS_POPUP, RECT{0, 0, 1920, 1080});
    const int w = 1920 / cells, h = 1080 / cells;
    for (int row = 0; row < cells; ++row)
        for (int column = 0; column < cells; ++column)
            scene->subRects().emplace_back(column * w, row * h, w, h, row, column);
    for (auto _ : state) {
        Text text(scene.get());
        text.step();
    }
    state.SetItemsProcessed(state.iterations());
    scene.reset();
    gApp.setSettings(nullptr);
    platform::setBackend(nullptr);
    platform::resetMessageQueue();
}
BENCHMARK(BM_TextStepFullHd)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
