#pragma once
// Scenes of the tests' own: a FakeScene holds its palette by value and answers
// the rest as the test sets it (by default no window, like the stand-in).

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "engine/Scene.h"

class FakeScene : public Scene {
public:
    // A true-colour table of 256 entries running from black to white.
    FakeScene() {
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<BYTE>(i);
            m_entries.push_back({v, v, v, 0});
        }
    }
    FakeScene(bool trueColor, std::vector<PALETTEENTRY> entries)
        : m_bTrueColor(trueColor), m_entries(std::move(entries)) {
        if (m_entries.empty()) m_entries.push_back({});
    }
    static FakeScene copyOf(const Scene& other) {
        std::vector<PALETTEENTRY> entries;
        for (int i = 0; i < other.colorCount(); ++i) entries.push_back(other.paletteEntry(i));
        return FakeScene(other.isTrueColor(), std::move(entries));
    }

    bool isIdle() const override { return !idle || idle(); }
    bool stopRequested() const override { return false; }
    void waitForInput(int64_t) override {}
    void animatePalette(bool) override {}
    bool isTrueColor() const override { return m_bTrueColor; }
    int colorCount() const override { return static_cast<int>(m_entries.size()); }
    PALETTEENTRY paletteEntry(int i) const override { return m_entries[static_cast<size_t>(i)]; }
    int groups() const override { return groupCount; }
    bool useBlack() const override { return black; }
    int drawingCount() const override { return drawings; }
    int width() const override { return w; }
    int height() const override { return h; }
    bool isWindow() const override { return window; }

    void setTrueColor(bool trueColor) { m_bTrueColor = trueColor; }
    std::vector<PALETTEENTRY>& entries() { return m_entries; }

    std::function<bool()> idle;
    int groupCount = 0;
    int w = 800;
    int h = 600;
    bool black = false;
    int drawings = 0;
    bool window = false;

private:
    bool m_bTrueColor = true;
    std::vector<PALETTEENTRY> m_entries;
};

// The current palette with another idle test, groups and largest side (what
// the calculators ask), for the lifetime of the object.
class PatternScope {
public:
    explicit PatternScope(std::function<bool()> idle, int groups = 0, int largestSide = 800)
        : m_scene(FakeScene::copyOf(scene())),
          m_scope((prepare(std::move(idle), groups, largestSide), m_scene)) {}

private:
    void prepare(std::function<bool()> idle, int groups, int largestSide) {
        m_scene.idle = std::move(idle);
        m_scene.groupCount = groups;
        m_scene.w = std::max(1, largestSide);
        m_scene.h = std::min(m_scene.w, 600);
    }
    FakeScene m_scene;
    SceneScope m_scope;
};
