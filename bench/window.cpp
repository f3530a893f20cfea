// The costs of the window layer that the drawing cycle pays all the time:
// the idle test that every drawing loop asks, and showing a whole 1920x1080
// picture (32-bit, and 8-bit through the hardware palette). SDL's dummy
// driver stands in for the display, so only our side of the work is timed.
// The CPU a window uses on a real X server is measured by window_cpu.sh.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/Backend.h"
#include "platform/MessageLoop.h"
#include "platform/SdlBackend.h"
#include "platform/Wnd.h"

namespace {

// A dummy display with one window of the given size.
class DummyScreen {
public:
    DummyScreen(int width, int height, int bits) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        CDisplay::instance().reset(bits);
        std::string error;
        platform::setBackend(platform::openSdlBackend(error));
        m_ok = m_wnd.CreateEx(0, WS_POPUP | WS_VISIBLE, {0, 0, width, height});
    }
    ~DummyScreen() {
        m_wnd.DestroyWindow();
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
        CDisplay::instance().reset(32);
    }
    bool ok() const { return m_ok; }
    CWnd& wnd() { return m_wnd; }

private:
    CWnd m_wnd;
    bool m_ok = false;
};

void BM_IdleTest(benchmark::State& state) {
    DummyScreen screen(640, 480, 32);
    if (!screen.ok()) return state.SkipWithError("no dummy display");
    for (auto _ : state) benchmark::DoNotOptimize(platform::messageWaiting());
}
BENCHMARK(BM_IdleTest);

void BM_PresentWhole1080p(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    DummyScreen screen(1920, 1080, bits);
    if (!screen.ok()) return state.SkipWithError("no dummy display");
    CDC dc = screen.wnd().GetDC();
    dc.FillRect({0, 0, 1920, 1080}, bits == 8 ? PALETTEINDEX(3) : RGB(10, 20, 30));
    for (auto _ : state) {
        screen.wnd().surface().markAllChanged();
        platform::backend().present(true);
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_PresentWhole1080p)->Arg(32)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
