#include "styles/dot/Dots.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <typeinfo>

#include "color/VaryColor.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Range.h"
#include "styles/StyleScene.h"
#include "styles/dot/Dot.h"
#include "styles/dot/Dotter.h"
#include "styles/dot/PointAdj.h"

namespace {

constexpr int kMaxCopies = 32;
constexpr int kTraceLine = 58;
constexpr float kPi = std::numbers::pi_v<float>;

}  // namespace

Dots::Dots(StyleScene* scene) : Saver(scene) {
    const ChooserSet& choosers = sceneHost().settings()->choosers();
    m_iCounter = 0;
    m_pVaryColor = CreateVaryColor(m_random, choosers);
    m_pDot = CreateDot(m_random, {});
    m_pDotter = CreateDotter(m_random, choosers);
    if (m_pDotter->needsRectRange() && !m_pRange->isRect()) m_pRange = std::make_unique<RangeRect>();
    m_pPointAdj = CreatePointAdj(m_random, choosers);
    m_iCopies = 1 + m_random.skewedBelow(kMaxCopies, 3);
    m_iCopies = std::clamp(m_pDotter->symmetry(m_iCopies), 1, kMaxCopies);
    // The dot's factor is finite: a figure of no area counts as one pixel.
    const double duration = static_cast<double>(m_dwDuration) * m_pDot->durationFactor();
    m_dwDuration = static_cast<uint32_t>(std::clamp(duration, 0.0, static_cast<double>(UINT32_MAX)));
    const Dot& dot = *m_pDot;
    traceMade("DotRandom", kTraceLine, "(typeid(*m_pDot).name())", typeid(dot).name());

    for (int i = 0; i < m_iCopies; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(m_iCopies);
        m_cos.push_back(std::cos(a));
        m_sin.push_back(std::sin(a));
    }
}

Dots::~Dots() = default;

bool Dots::inRange(Range& range, float x, float y) {
    // An outline whose ends do not depend on y would let a NaN y through.
    if (std::isnan(y)) return false;
    return range.left(y) <= x && x <= range.right(y);
}

void Dots::drawAt(CDC& dc, float x, float y, const Color& base) {
    const Color color = m_pVaryColor->vary(base, x, y, 0, 0);
    for (const SubRect& r : m_pScene->subRects()) {
        // The time limit is also kept stamp by stamp: a position of many
        // copies in many cells is a long piece of work.
        if (!m_pScene->isIdle() || isDone()) break;
        if (r.group() != m_iGroup) continue;
        m_pDot->draw(dc, r.mapX(x), r.mapY(y), color, &r);
        ++m_iStamps;
    }
    m_pScene->animatePalette(false);
}

void Dots::step() {
    CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface() || !dc->surface()->valid() || !m_pDotter->valid()) {
        m_bDone = true;
        return;
    }
    const bool paced = m_pDot->area() > 1;
    const int colors = std::max(1, m_pScene->colorCount());
    float x = 0, y = 0;
    while (m_pScene->isIdle() && !isDone()) {
        m_pDotter->next(x, y);
        m_pPointAdj->adjust(x, y);
        const Color base = Color::fromPaletteIndex(m_iCounter % colors);
        for (int i = 0; i < m_iCopies; ++i) {
            // The outline test comes first: it also turns away NaN positions.
            if (!inRange(*m_pRange, x, y)) continue;
            const float c = m_cos[static_cast<size_t>(i)], s = m_sin[static_cast<size_t>(i)];
            const float xr = x * c - y * s;
            const float yr = y * c + x * s;
            if (!inRange(*m_pRange, xr, yr)) continue;
            drawAt(*dc, xr, yr, base);
            if (paced) waitStep();
        }
        if (m_iCounter > kCounterLimit) m_iCounter = 0;
        ++m_iCounter;
        // One-pixel dots never wait between positions.
        if (!paced) lookIfDue();
    }
}
