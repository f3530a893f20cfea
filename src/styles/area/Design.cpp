#include "styles/area/Design.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "Patterns/PatternCalculator.h"
#include "color/ColorSelector.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Range.h"
#include "styles/StyleScene.h"
#include "styles/dot/Dot.h"

namespace {

constexpr int kRotateKind = 41;  // turned quadrilaterals never fill a design
constexpr int kTraceLine = 66;
constexpr float kPi = 3.14159265f;
constexpr float kSqrt2 = 1.4142135f;

}  // namespace

Design::Design(StyleScene* scene) : Saver(scene) {
    m_bPolar = m_random.uniform() < 0.25;
    bool mirrorX = m_bPolar;
    if (!m_bPolar) mirrorX = m_random.below(2) != 0;
    const bool mirrorY = m_random.below(2) != 0;
    m_pRange->setMirror(mirrorX, mirrorY);
    m_fStepX = m_fStepY = 1.0f;

    m_pDot = CreateDot(m_random, {kRotateKind});
    if (m_pDot->area() == 1) m_pDot->setShadowOn(false);
    const Settings* settings = sceneHost().settings();
    m_pColorSelector = CreateColorSelector(m_random, m_pDot.get(), 3);
    const int n = m_pColorSelector->inputCount();
    m_pCalc = PatternCalculator::create(m_random, n, false);

    m_fY = m_pRange->top();
    m_fX = m_pRange->left(m_fY);
    const long long maxTime = settings ? settings->maxTime() : 0;
    m_dwDuration = static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
    m_bDrawAll = n > 1;
    if (n <= 1) m_bDrawAll = m_random.uniform() < 0.95;
    m_fThreshold = static_cast<float>(m_random.uniform() * 0.5 + 0.5);
    const Dot& dot = *m_pDot;
    traceMade("DesignNetwork", kTraceLine, "(typeid(*m_pDot).name())", typeid(dot).name());

    m_in.assign(2, 0.0f);
    m_out.assign(static_cast<size_t>(n), 0.0f);
}

Design::~Design() = default;

void Design::input(float x, float y, bool polar, float& a, float& b) {
    if (!polar) {
        a = x;
        b = y;
        return;
    }
    const float r = std::sqrt(x * x + y * y);
    const float angle = (x == 0 && y == 0) ? 0.0f : std::atan2(std::fabs(x), y);
    a = angle / kPi;
    b = 2 * r / kSqrt2 - 1;
}

void Design::flushChanged() {
    if (m_changed.empty()) return;
    if (CDC* dc = m_pScene->dc())
        if (CSurface* s = dc->surface()) s->markChanged(m_changed);
    m_changed = {};
}

bool Design::plotAt(float x, float y, const Color& color, uint32_t value) {
    CDC* dc = m_pScene->dc();
    bool whole = true;
    for (const SubRect& r : m_pScene->subRects()) {
        if (!m_pScene->isIdle()) {
            whole = false;
            break;
        }
        if (r.group() != m_iGroup) continue;
        const int px = r.mapX(x), py = r.mapY(y);
        if (!m_bDirect) {
            m_pDot->draw(*dc, px, py, color, &r);
            continue;
        }
        // What SetPixel stores, without its read-back; the changed area is
        // marked once per row.
        CSurface* s = dc->surface();
        if (px < 0 || py < 0 || px >= s->width() || py >= s->height()) continue;
        if (s->bitsPerPixel() == 32)
            s->row32(py)[px] = value;
        else
            s->row8(py)[px] = static_cast<uint8_t>(value);
        if (m_changed.empty())
            m_changed = {px, py, px + 1, py + 1};
        else
            m_changed = {std::min(m_changed.left, px), std::min(m_changed.top, py),
                         std::max(m_changed.right, px + 1), std::max(m_changed.bottom, py + 1)};
    }
    m_pScene->animatePalette(false);
    return whole;
}

void Design::step() {
    CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface() || !dc->surface()->valid()) {
        m_bDone = true;
        return;
    }
    m_pCalc->setup(2, static_cast<int>(m_out.size()), false, 3);
    m_bDirect = !m_bPlainPath && m_pDot->isSinglePixel() && !m_pDot->shadowOn();
    // A figure of no size still moves on by a pixel, so that rows advance.
    m_fStepX = static_cast<float>(std::max(m_pDot->width(), 1) * pixelWidth());
    m_fStepY = static_cast<float>(std::max(m_pDot->height(), 1) * pixelHeight());
    float rowEnd = m_pRange->right(m_fY) + m_fStepX;
    const bool mirrorX = m_pRange->mirrorX(), mirrorY = m_pRange->mirrorY();

    while (m_pScene->isIdle()) {
        Design::input(m_fX, m_fY, m_bPolar, m_in[0], m_in[1]);
        m_pCalc->calculate(m_in, m_out);
        if (m_bDrawAll || m_out[0] <= m_fThreshold) {
            Color color;
            m_pColorSelector->select(color, m_out);
            // The colour is resolved once for the point, its mirrors and cells.
            const uint32_t value = m_bDirect ? dc->resolve(color.colorRef()) : 0;
            plotAt(m_fX, m_fY, color, value);
            if (mirrorX && m_pScene->isIdle()) plotAt(-m_fX, m_fY, color, value);
            if (mirrorY && m_pScene->isIdle()) plotAt(m_fX, -m_fY, color, value);
            if (mirrorX && mirrorY && m_pScene->isIdle()) plotAt(-m_fX, -m_fY, color, value);
        }
        m_fX += m_fStepX;
        if (m_fX >= rowEnd) {
            m_fY += m_fStepY;
            m_fX = m_pRange->left(m_fY);
            rowEnd = m_pRange->right(m_fY) + m_fStepX;
            if (m_pRange->bottom() + m_fStepY <= m_fY) m_bDone = true;
            flushChanged();
            if (isDone()) return;
            waitStep();
        }
    }
    flushChanged();
}
