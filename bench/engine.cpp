// The drawing cycle's own costs: one paint message with a style that does
// next to nothing, a palette build, and one rotation of an animated palette
// together with showing a full-HD palette screen through the new entries,
// and the look a drawing takes at the screen to notice that it leaves
// nothing to see (a sample of a full-HD screen, compared and counted).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "app/SaverApp.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "platform/Surface.h"
#include "scene/SceneWnd.h"
#include "scene/StyleCatalogue.h"
#include "styles/Saver.h"
#include "styles/ScreenSample.h"

namespace {

// Sets one pixel per step.
class Dot final : public Saver {
public:
    explicit Dot(StyleScene* scene) : Saver(scene) {}
    void step() override { m_pScene->dc()->SetPixel(m_random.below(64), 0, m_crBase.colorRef()); }
};

const StyleMaker kDotOnly[] = {{1, "Design", makeSaver<Dot>}};

// A scene of w x h on a display of `depth` bits, full screen, settings at
// their defaults but for what a benchmark must avoid (pauses, new drawings).
class BenchScene {
public:
    BenchScene(int w, int h, int depth, bool animate) : m_styles(kDotOnly) {
        CDisplay::instance().reset(depth);
        platform::HeadlessOptions options;
        options.width = w;
        options.height = h;
        platform::setBackend(std::make_unique<platform::HeadlessBackend>(options));
        platform::resetMessageQueue();
        const auto folder = std::filesystem::temp_directory_path() / "quorvane-bench-engine-none";
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder), "Benchmark"));
        Settings& s = *gApp.settings();
        s.setDelayBetweenDrawings(0);
        s.setMinTime(100000);
        s.setMaxTime(100000);
        s.setUseAnimation(animate);
        s.setAnimation(100);
        gApp.setMode(CSaverApp::kModeFullScreen);
        gApp.rand.seed(1);
        scene = std::make_unique<CSceneWnd>();
        scene->Create(0, WS_POPUP, RECT{0, 0, w, h});
    }
    ~BenchScene() {
        scene.reset();
        gApp.setSettings(nullptr);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
        CDisplay::instance().reset(32);
    }
    void paint() {
        const MSG m{scene.get(), WM_PAINT, 0, 0, 0};
        DispatchMessage(&m);
    }

    std::unique_ptr<CSceneWnd> scene;

private:
    StyleMakersScope m_styles;
};

}  // namespace

static void BM_PaintCycleTrivialStyle(benchmark::State& state) {
    BenchScene b(640, 480, 32, false);
    b.paint();  // the first drawing and its background
    for (auto _ : state) b.paint();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PaintCycleTrivialStyle);

static void BM_NewPalette(benchmark::State& state) {
    BenchScene b(64, 48, 32, false);
    for (auto _ : state) b.scene->newPalette(b.scene->colorCount());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NewPalette);

// One rotation and the conversion of the whole 8-bit screen through the
// hardware palette, which is what showing the rotated colours costs.
static void BM_AnimateTickFullHd(benchmark::State& state) {
    BenchScene b(1920, 1080, 8, true);
    CSceneWnd& scene = *b.scene;
    std::vector<uint32_t> screen(static_cast<size_t>(1920) * 1080);
    for (auto _ : state) {
        scene.animatePalette(true);
        convertToColorRefs(scene.surface(), scene.surface().bounds(), CDisplay::instance().hardwarePalette(),
                           screen.data(), 1920);
        benchmark::DoNotOptimize(screen.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AnimateTickFullHd)->Unit(benchmark::kMillisecond);

static void BM_LookAtTheScreenFullHd(benchmark::State& state) {
    CSurface surface(1920, 1080, 32);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) surface.row32(y)[x] = static_cast<uint32_t>(x * 7 + y * 13);
    ScreenSample before;
    before.take(surface);
    for (auto _ : state) {
        ScreenSample now;
        now.take(surface);
        benchmark::DoNotOptimize(now.differences(before));
        benchmark::DoNotOptimize(now.flatShare());
    }
}
BENCHMARK(BM_LookAtTheScreenFullHd)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
