#include "styles/area/Repaint.h"

#include <algorithm>
#include <cmath>

#include "color/ColorAdjuster.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/area/Rework.h"
#include "styles/dot/Dot.h"

namespace {

// The plain pixel, the glows and the hay: no pointillism in them without a
// cleared cell or a zoomed window.
const std::vector<int> kFaithlessDots{0, 40, 58};
constexpr int kDotsBetweenTimeTests = 1000;

}  // namespace

Repaint::Repaint(StyleScene* scene) : SaverRework(scene) {
    const Settings& settings = *sceneHost().settings();
    m_pAdjuster = CreateColorAdjuster(m_random, settings.choosers());
    m_bClear = m_random.below(2) != 0;
    m_bWindow = m_random.uniform() < 0.25;
    if (m_bWindow) {
        m_fWinX = static_cast<float>(m_random.uniform());
        m_fWinY = static_cast<float>(m_random.uniform());
        m_fWinW = static_cast<float>(m_random.uniform() * (1 - m_fWinX));
        m_fWinH = static_cast<float>(m_random.uniform() * (1 - m_fWinY));
    }
    const bool plainCopy = !m_bClear && !m_bWindow;
    m_pDot = CreateDot(m_random, plainCopy ? kFaithlessDots : std::vector<int>{});
    m_dwDuration = rework::maxTimeMs(settings.maxTime());
}

Repaint::~Repaint() = default;

long long Repaint::dotCount(int w, int h, int area) {
    const double n = 2.0 * w * h / std::pow(static_cast<double>(std::max(area, 1)), 0.66);
    return static_cast<long long>(std::clamp(n, 0.0, 1e15));
}

bool Repaint::paintCell(const SubRect& r) {
    CDC& dc = *m_pScene->dc();
    const int w = r.width(), h = r.height();
    if (m_bClear) dc.FillRect({r.left(), r.top(), r.left() + w + 1, r.top() + h + 1}, m_crBase.colorRef());
    const long long n = dotCount(w, h, m_pDot->area());
    const int x0 = static_cast<int>(w * m_fWinX), ww = static_cast<int>(w * m_fWinW);
    const int y0 = static_cast<int>(h * m_fWinY), wh = static_cast<int>(h * m_fWinH);
    const CSurface& copy = this->copy();
    for (long long k = 0; k < n; ++k) {
        if (!m_pScene->isIdle()) return false;
        const double u1 = m_random.uniform();
        const double u2 = m_random.uniform();
        Color c(rework::copyPixel(copy, static_cast<int>(x0 + ww * u1), static_cast<int>(y0 + wh * u2)));
        const int x = static_cast<int>(r.left() + w * u1), y = static_cast<int>(r.top() + h * u2);
        m_pAdjuster->adjust(c, x, y, &r);
        m_pDot->draw(dc, x, y, c, nullptr);
        ++m_iPainted;
        m_pScene->animatePalette(false);
        if (k % kDotsBetweenTimeTests == 0 && isDone()) return false;
    }
    return true;
}

void Repaint::step() {
    CDC* dc = screen();
    if (!dc) return;
    SubRectList& cells = m_pScene->subRects();
    const bool big = m_pDot->area() > 1;
    copySubRect();
    while (m_pScene->isIdle() && !isDone() && m_cursor != cells.end()) {
        const SubRect& r = *m_cursor;
        if (r.group() == m_iGroup) {
            // Input ends the step; the next one starts this cell again.
            if (!paintCell(r) && !m_pScene->isIdle()) return;
            if (big) waitStep();
        }
        nextCell();
    }
    doneAtEnd();
}
