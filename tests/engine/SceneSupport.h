#pragma once
// A scene window on the headless backend under the simulated clock, with
// drawing styles of the tests' own.

#include <gtest/gtest.h>

#include <memory>

#include "app/SaverApp.h"
#include "engine/Saver.h"
#include "engine/SceneWnd.h"
#include "engine/StyleCatalogue.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "support/TempFolder.h"

// Fills one cell of its group per step with its base colour and puts a mark
// of its own random choosing in it.
class CellFiller : public SaverBySubRect {
public:
    explicit CellFiller(CSceneWnd* scene) : SaverBySubRect(scene) {}
    void step() override {
        for (; m_cursor != m_pScene->subRects().end(); ++m_cursor) {
            const SubRect& r = *m_cursor;
            if (r.group() != m_iGroup) continue;
            CDC* dc = m_pScene->dc();
            dc->FillRect({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, m_crBase.colorRef());
            const int x = r.mapX(static_cast<float>(m_random.signedUniform()));
            const int y = r.mapY(static_cast<float>(m_random.signedUniform()));
            dc->FillRect({x - 2, y - 2, x + 3, y + 3}, Color::fromPaletteIndex(m_iColorIndex).colorRef());
            ++m_cursor;
            break;
        }
        m_pScene->animatePalette(false);
        waitStep();
    }
    void finish() { m_bDone = true; }
    using Saver::m_random;
};

// Works on copies of the cells.
class CellCopier : public SaverBitmap {
public:
    explicit CellCopier(CSceneWnd* scene) : SaverBitmap(scene) {}
    void step() override {}
    CDC& memDC() { return m_memDC; }
    void next() { ++m_cursor; }
};

template <class T>
std::unique_ptr<Saver> makeTestStyle(CSceneWnd* scene) {
    return std::make_unique<T>(scene);
}

inline constexpr StyleMaker kTestStyles[] = {
    {1, "Design", makeTestStyle<CellFiller>},
    {5, "Text", makeTestStyle<CellFiller>},
};

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto c = std::make_unique<platform::SimulatedClock>();
        clock = c.get();
        clockScope = std::make_unique<platform::ScopedClock>(std::move(c));
        platform::resetMessageQueue();
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder.path()), "Somebody Long"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        gApp.rand.seed(1);
        settings().setDelayBetweenDrawings(0);
    }
    void TearDown() override {
        gApp.setSaver(nullptr);
        scene.reset();
        gApp.setSettings(nullptr);
        gApp.setMode(CSaverApp::kModeNone);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
        CDisplay::instance().reset(32);
    }

    Settings& settings() { return *gApp.settings(); }

    // A scene of w x h on a display of `depth` bits, with input `options`.
    void create(int w, int h, int depth = 32, platform::HeadlessOptions options = {}) {
        CDisplay::instance().reset(depth);
        // A window destroyed before may have left the quit of the loop.
        platform::resetMessageQueue();
        options.width = w;
        options.height = h;
        auto b = std::make_unique<platform::HeadlessBackend>(options);
        backend = b.get();
        platform::setBackend(std::move(b));
        scene = std::make_unique<CSceneWnd>();
        ASSERT_TRUE(scene->Create(0, WS_POPUP | WS_VISIBLE, RECT{0, 0, w, h}));
        platform::setMainWindow(scene.get());
    }
    // Delivers messages until `drawings` drawings have been begun.
    void runUntil(int drawings) {
        MSG m;
        while (scene->drawingCount() < drawings && GetMessage(&m)) DispatchMessage(&m);
    }
    void paint() {
        const MSG m{scene.get(), WM_PAINT, 0, 0, 0};
        DispatchMessage(&m);
    }
    int64_t nowMs() const { return clock->nowUs() / 1000; }

    TempFolder folder;
    platform::SimulatedClock* clock = nullptr;
    std::unique_ptr<platform::ScopedClock> clockScope;
    platform::HeadlessBackend* backend = nullptr;
    StyleMakersScope styles{kTestStyles};
    std::unique_ptr<CSceneWnd> scene;
};
