#pragma once
// A scene window on the headless backend under the simulated clock, drawing
// with a style of the tests' own.

#include <gtest/gtest.h>

#include "app/SaverApp.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "scene/SceneWnd.h"
#include "scene/StyleCatalogue.h"
#include "styles/Saver.h"
#include "support/TempFolder.h"

// Per step, fills the next cell of its group with its base colour and puts
// a mark of its own random choosing in it.
class CellFiller : public SaverBySubRect {
public:
    using SaverBySubRect::SaverBySubRect;
    void step() override {
        while (m_cursor != m_pScene->subRects().end() && m_cursor->group() != m_iGroup) ++m_cursor;
        if (m_cursor != m_pScene->subRects().end()) {
            const SubRect& r = *m_cursor++;
            m_pScene->dc()->FillRect({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                                     m_crBase.colorRef());
            const int x = r.mapX(static_cast<float>(m_random.signedUniform()));
            const int y = r.mapY(static_cast<float>(m_random.signedUniform()));
            m_pScene->dc()->FillRect({x - 2, y - 2, x + 3, y + 3},
                                     Color::fromPaletteIndex(m_iColorIndex).colorRef());
        }
        m_pScene->animatePalette(false);
        waitStep();
    }
};

inline constexpr StyleMaker kTestStyles[] = {{1, "Design", makeSaver<CellFiller>},
                                             {5, "Text", makeSaver<CellFiller>}};

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        useFreshClock();
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder.path()), "Somebody Long"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        gApp.rand.seed(1);
        settings().setDelayBetweenDrawings(0);
    }
    void TearDown() override {
        scene.reset(), gApp.setSettings(nullptr), gApp.setMode(CSaverApp::kModeNone);
        platform::setBackend(nullptr), platform::resetMessageQueue(), CDisplay::instance().reset(32);
    }
    void useFreshClock() {
        clockScope.reset();
        auto c = std::make_unique<platform::SimulatedClock>();
        clock = c.get();
        clockScope = std::make_unique<platform::ScopedClock>(std::move(c));
    }
    Settings& settings() { return *gApp.settings(); }
    void animate() { settings().setUseAnimation(true), settings().setAnimation(100); }
    void zeroTimes() { settings().setMinTime(0), settings().setMaxTime(0); }
    // A scene of w x h on a display of `depth` bits, with scripted input.
    void create(int w, int h, int depth = 32, platform::HeadlessOptions options = {}) {
        scene.reset();
        CDisplay::instance().reset(depth);
        platform::resetMessageQueue();  // the quit a destroyed window left
        options.width = w, options.height = h;
        auto b = std::make_unique<platform::HeadlessBackend>(options);
        backend = b.get();
        platform::setBackend(std::move(b));
        scene = std::make_unique<CSceneWnd>();
        ASSERT_TRUE(scene->Create(0, WS_POPUP | WS_VISIBLE, RECT{0, 0, w, h}));
        platform::setMainWindow(scene.get());
    }
    void paint() {
        const MSG m{scene.get(), WM_PAINT, 0, 0, 0};
        DispatchMessage(&m);
    }
    // The palette shows the colours it saved.
    bool showsSavedColors() const {
        for (int i = 0; i < scene->colorCount(); ++i) {
            const PALETTEENTRY e = scene->paletteEntry(i);
            if (scene->savedColors()[size_t(i)] != RGB(e.peRed, e.peGreen, e.peBlue)) return false;
        }
        return true;
    }
    int64_t nowMs() const { return clock->nowUs() / 1000; }

    TempFolder folder;
    platform::SimulatedClock* clock = nullptr;
    std::unique_ptr<platform::ScopedClock> clockScope;
    platform::HeadlessBackend* backend = nullptr;
    StyleMakersScope styles{kTestStyles};
    std::unique_ptr<CSceneWnd> scene;
};
