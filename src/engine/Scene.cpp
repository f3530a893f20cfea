#include "engine/Scene.h"

#include <algorithm>
#include <limits>

#include "engine/RandomSource.h"

namespace {

// Before the program installs itself: no settings, a random source of its own.
class StandInHost : public SceneHost {
public:
    Settings* settings() override { return nullptr; }
    RandomSource& random() override { return m_random; }
    bool fullScreen() const override { return false; }
    bool preview() const override { return false; }
    int64_t timeLastImage() const override { return m_timeLastImage; }
    void setTimeLastImage(int64_t seconds) override { m_timeLastImage = seconds; }
    void newTraceRun() override {}

private:
    RandomSource m_random;
    int64_t m_timeLastImage = 0;
};

// The scene before the window exists: a grey true-colour palette, always
// idle, no groups, the window's default size.
class StandInScene : public Scene {
public:
    bool isIdle() const override { return true; }
    bool stopRequested() const override { return false; }
    void waitForInput(int64_t) override {}
    void animatePalette(bool) override {}
    bool isTrueColor() const override { return true; }
    int colorCount() const override { return 256; }
    PALETTEENTRY paletteEntry(int i) const override {
        const auto v = static_cast<BYTE>(std::clamp(i, 0, 255));
        return {v, v, v, 0};
    }
    int groups() const override { return 0; }
    bool useBlack() const override { return false; }
    int drawingCount() const override { return 0; }
    int width() const override { return 800; }
    int height() const override { return 600; }
    bool isWindow() const override { return false; }
};

SceneHost* gHost = nullptr;
Scene* gScene = nullptr;

StandInScene& standIn() {
    static StandInScene s;
    return s;
}

}  // namespace

void setSceneHost(SceneHost* host) { gHost = host; }

SceneHost& sceneHost() {
    static StandInHost standInHost;
    return gHost ? *gHost : standInHost;
}

int Scene::nearestPaletteIndex(COLORREF cr) const {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < colorCount() && bestDistance; ++i) {
        const PALETTEENTRY e = paletteEntry(i);
        const int dr = e.peRed - GetRValue(cr), dg = e.peGreen - GetGValue(cr), db = e.peBlue - GetBValue(cr);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) bestDistance = d, best = i;
    }
    return best;
}

int Scene::largestSide() const { return std::max({1, width(), height()}); }

Scene& scene() { return gScene ? *gScene : standIn(); }

Scene& standInScene() { return standIn(); }

void setScene(Scene* s) { gScene = s; }

Scene* currentScene() { return gScene; }

Scene* sceneWindow() { return gScene && gScene->isWindow() ? gScene : nullptr; }

SceneScope::SceneScope(Scene& s) : m_pPrevious(gScene) { gScene = &s; }

SceneScope::~SceneScope() { gScene = m_pPrevious; }
