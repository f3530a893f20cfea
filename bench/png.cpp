// PNG encoding of a full-HD picture of the text style (as a sequence of
// frames shows it) at the zlib levels and row filters worth considering,
// with the size of the file as a counter; and the conversion of a surface
// to the encoder's packed rows.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/SaverApp.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "platform/PngWriter.h"
#include "scene/SceneWnd.h"
#include "styles/text/Text.h"

namespace {

// A screen as a run shows it, drawn once: the background, a gradient from
// top to bottom, under forty steps of the text style.
// $QV_BENCH_PICTURE names a PNG file to use instead (a frame of a real run).
const CSurface& picture() {
    static const CSurface surface = [] {
        if (const char* file = std::getenv("QV_BENCH_PICTURE")) return readPng(file);
        platform::ScopedClock clock(std::make_unique<platform::SimulatedClock>());
        platform::HeadlessOptions options;
        options.width = 1920;
        options.height = 1080;
        platform::setBackend(std::make_unique<platform::HeadlessBackend>(options));
        const auto folder = std::filesystem::temp_directory_path() / "quorvane-bench-png";
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder), "Benchmark"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        gApp.rand.seed(7);
        auto scene = std::make_unique<CSceneWnd>();
        scene->Create(0, WS_POPUP, RECT{0, 0, 1920, 1080});
        for (int y = 0; y < 1080; ++y)
            scene->dc()->FillRect(RECT{0, y, 1920, y + 1},
                                  RGB(y * 200 / 1080, y * 90 / 1080, y * 180 / 1080));
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                scene->subRects().emplace_back(column * 640, row * 360, 640, 360, row, column);
        for (int i = 0; i < 40; ++i) {
            Text text(scene.get());
            text.step();
        }
        CSurface copy = scene->surface();
        scene.reset();
        gApp.setSettings(nullptr);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
        return copy;
    }();
    return surface;
}

void BM_PngEncodeFullHd(benchmark::State& state) {
    const CSurface& s = picture();
    std::vector<uint8_t> rgb;
    surfaceToRgb(s, CDisplay::instance().hardwarePalette(), rgb);
    PngSettings settings;
    settings.level = static_cast<int>(state.range(0));
    settings.filter = static_cast<PngSettings::Filter>(state.range(1));
    settings.matching = static_cast<PngSettings::Matching>(state.range(2));
    long bytes = 0;
    for (auto _ : state) {
        std::FILE* f = std::tmpfile();
        std::string message;
        encodePng(f, rgb.data(), s.width(), s.height(), settings, message);
        bytes = std::ftell(f);
        std::fclose(f);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations());
}
// Level; filter: 0 adaptive, 1 none, 2 sub, 3 up, 4 average, 5 paeth;
// matching: 0 strings, 1 runs.
BENCHMARK(BM_PngEncodeFullHd)
    ->ArgsProduct({{1, 2}, {0, 1, 2, 3, 5}, {0}})
    ->ArgsProduct({{1}, {0, 1, 2, 3, 4, 5}, {1}})
    ->Args({6, 0, 0})
    ->Unit(benchmark::kMillisecond);

void BM_SurfaceToRgbFullHd(benchmark::State& state) {
    const CSurface& s = picture();
    std::vector<uint8_t> rgb;
    for (auto _ : state) {
        surfaceToRgb(s, CDisplay::instance().hardwarePalette(), rgb);
        benchmark::DoNotOptimize(rgb.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SurfaceToRgbFullHd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
