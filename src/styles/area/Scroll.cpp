#include "styles/area/Scroll.h"

#include <algorithm>

#include "styles/StyleScene.h"

namespace {

constexpr int kMargin = 32;  // the corner keeps this far from the top left
constexpr int kRoom = 160;   // ... and at least this far from the far edges
constexpr int kLeast = 64;   // the far edges stay at least this far from the screen's

}  // namespace

Scroll::Scroll(StyleScene* scene) : Saver(scene) {
    m_iCount = m_random.below(32) + 1;
    m_iDX = m_random.below(64) - 32;
    m_iDY = m_random.below(64) - 32;
    // A screen too small for the margins (a preview is 152 wide) draws from
    // an empty range: each draw is still made, and gives 0.
    const int w = scene->width(), h = scene->height();
    const int left = m_random.below(std::max(w - kRoom, 0)) + kMargin;
    const int top = m_random.below(std::max(h - kRoom, 0)) + kMargin;
    const int width = m_random.below(std::max(w - left - kLeast, 0));
    const int height = m_random.below(std::max(h - top - kLeast, 0));
    m_rect = area(left, top, width, height);
}

RECT Scroll::area(int left, int top, int width, int height) {
    return {left, top, left + std::max(width, 0), top + std::max(height, 0)};
}

void Scroll::step() {
    CDC* dc = m_pScene->dc();
    if (!dc) {
        m_bDone = true;
        return;
    }
    // The whole window but its last column and row.
    const RECT clip{0, 0, m_pScene->width() - 1, m_pScene->height() - 1};
    while (m_iCount > 0 && m_pScene->isIdle() && !isDone()) {
        --m_iCount;
        dc->ScrollDC(m_iDX, m_iDY, &m_rect, &clip, nullptr);
        waitStep();
    }
    if (m_iCount <= 0) m_bDone = true;
}
