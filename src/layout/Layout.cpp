#include "layout/Layout.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/RandomSource.h"
#include "engine/Settings.h"
#include "layout/Section.h"
#include "layout/SubRector.h"

namespace {

// The sub-rector members whose draws may refuse the full rectangle, in the
// order of the draws.
constexpr int kAvoidFullDraws[] = {0, 2, 3, 4};
constexpr int kSubRectorFull = 0;

}  // namespace

void Layout::newLayout(bool avoidFull, int screenWidth, int screenHeight, RandomSource& random,
                       const Settings& settings) {
    m_subRects.clear();
    m_iGroups = 0;

    int left = 0;
    int top = 0;
    int w = 0;
    int h = 0;
    CreateSection(random, settings.choosers())->place(screenWidth, screenHeight, left, top, w, h);

    std::vector<int> excluded;
    if (avoidFull) {
        for ([[maybe_unused]] int member : kAvoidFullDraws)
            if (random.uniform() < 0.75) excluded.push_back(kSubRectorFull);
    }
    CreateSubRector(left, top, w, h, &excluded, random, settings.choosers())->split(m_subRects);

    int64_t area = 0;
    for (const SubRect& r : m_subRects) area += static_cast<int64_t>(r.width()) * r.height();
    const int64_t screenArea = static_cast<int64_t>(screenWidth) * screenHeight;
    // An empty screen is covered by nothing.
    m_fCoverage = screenArea > 0 ? static_cast<float>(area) / static_cast<float>(screenArea) : 0.0f;

    if (m_subRects.size() > 1 && random.uniform() < settings.layoutCheckered() / 100.0) {
        m_iGroups = 1;
        for (SubRect& r : m_subRects) r.computeGroup();
    }
    // Compared with the setting itself: 1 or more mirrors every layout.
    if (static_cast<float>(random.uniform()) < static_cast<float>(settings.layoutSymmetric())) {
        for (SubRect& r : m_subRects) r.computeMirror();
    }
}

void Layout::newFigureLayout(int screenWidth, int screenHeight, bool grid, RandomSource& random,
                             const Settings& settings) {
    for (int attempt = 0; attempt < kFigureTries; ++attempt) {
        newLayout(true, screenWidth, screenHeight, random, settings);
        if (roomyFor(screenWidth, screenHeight) && (!grid || m_subRects.size() > 1)) return;
    }
}

bool Layout::roomyFor(int screenWidth, int screenHeight) const {
    const int side = std::min(kFigureCell, std::min(screenWidth, screenHeight) / 4);
    int w = 0;
    int h = 0;
    smallestSubRect(w, h);
    return w >= side && h >= side;
}

void Layout::renew(bool freshRequested, int screenWidth, int screenHeight, RandomSource& random,
                   const Settings& settings) {
    // An empty list takes no draw; a request for a fresh layout is looked at
    // only after the draw, so the draw is made then too.
    if (m_subRects.empty() || random.uniform() < 0.25 + 0.25 * (1.0 - m_fCoverage) || freshRequested) {
        newLayout(false, screenWidth, screenHeight, random, settings);
        return;
    }
    const float u = static_cast<float>(random.uniform());
    const float shrinkRandom = static_cast<float>(settings.layoutShrinkRandom()) / 100.0f;
    // Summed in 64 bits: two absurd settings must not overflow.
    const float shrinkBoth =
        static_cast<float>(int64_t{settings.layoutShrinkRandom()} + settings.layoutShrinkEven()) / 100.0f;
    if (u < shrinkRandom) {
        for (SubRect& r : m_subRects) r.shrinkRandom(random);
    } else if (u < shrinkBoth) {
        const float f = static_cast<float>(random.uniform());
        for (SubRect& r : m_subRects) r.shrinkEven(f);
    }
}

void Layout::coverWhole(int screenWidth, int screenHeight) {
    m_subRects.clear();
    m_subRects.emplace_back(0, 0, std::max(screenWidth, 0), std::max(screenHeight, 0), 0, 0);
    m_iGroups = 0;
    m_fCoverage = screenWidth > 0 && screenHeight > 0 ? 1.0f : 0.0f;
}

void Layout::largestSubRect(int& w, int& h) const {
    w = 1;
    h = 1;
    for (const SubRect& r : m_subRects) {
        w = std::max(w, r.width());
        h = std::max(h, r.height());
    }
}

void Layout::smallestSubRect(int& w, int& h) const {
    w = m_subRects.empty() ? 0 : m_subRects.front().width();
    h = m_subRects.empty() ? 0 : m_subRects.front().height();
    for (const SubRect& r : m_subRects) {
        w = std::min(w, r.width());
        h = std::min(h, r.height());
    }
}
