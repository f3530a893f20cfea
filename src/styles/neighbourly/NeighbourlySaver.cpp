#include "styles/neighbourly/NeighbourlySaver.h"

#include <algorithm>

#include "engine/MathErrors.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Range.h"
#include "styles/StyleScene.h"
#include "styles/dot/Dot.h"
#include "styles/neighbourly/Neighbourly.h"

namespace {

// Input is looked for after the first dot and every 200th after it.
constexpr int kDotsBetweenPolls = 200;

}  // namespace

NeighbourlySaver::NeighbourlySaver(StyleScene* scene) : SaverBySubRect(scene) {
    m_iY = m_iCount = 0;
    m_iX = rowStart();
    const Settings* settings = sceneHost().settings();
    const long long maxTime = settings ? settings->maxTime() : 0;
    m_dwDuration = static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
}

NeighbourlySaver::~NeighbourlySaver() { m_pNeighbourly.reset(); }

void NeighbourlySaver::setPlainPath(bool plain) {
    m_bPlainPath = plain;
    if (m_pNeighbourly) m_pNeighbourly->setPlainPath(plain);
}

int NeighbourlySaver::rowColumn(bool end) {
    if (m_cursor == m_pScene->subRects().end()) return 0;
    const int w = m_cursor->width(), h = std::max(m_cursor->height(), 1);
    const float ny = 2.0f * static_cast<float>(m_iY) / static_cast<float>(h) - 1.0f;
    const float edge = end ? m_pRange->right(ny) : m_pRange->left(ny);
    const int x = qvmath::truncSaturated((static_cast<double>(edge) + 1) / 2 * w);
    // A row may start at most on the last column and end just past it.
    return std::clamp(x, 0, std::max(end ? w : w - 1, 0));
}

void NeighbourlySaver::flushChanged() {
    if (m_changed.empty()) return;
    if (CDC* dc = m_pScene->dc())
        if (CSurface* s = dc->surface()) s->markChanged(m_changed);
    m_changed = {};
}

void NeighbourlySaver::step() {
    CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface() || !dc->surface()->valid() || !m_pNeighbourly || !m_pDot) {
        m_bDone = true;
        return;
    }
    CSurface& surface = *dc->surface();
    SubRectList& rects = m_pScene->subRects();
    const int dotW = std::max(m_pDot->width(), 1), dotH = std::max(m_pDot->height(), 1);
    // A plain pixel is written straight into the rows: what SetPixel stores,
    // without its read-back, the changed area marked once per row.
    const bool direct = !m_bPlainPath && m_pDot->isSinglePixel() && !m_pDot->shadowOn();
    int end = rowEnd();
    Color color;

    while (m_pScene->isIdle() && m_cursor != rects.end() && !isDone()) {
        const SubRect& r = *m_cursor;
        const int h = r.height();
        // A cell of no size has nothing to repaint.
        bool cellDone = r.group() != m_iGroup || h <= 0 || r.width() <= 0;
        while (!cellDone && !isDone() && m_pScene->isIdle()) {
            m_pNeighbourly->prepare(*dc, r);
            if (!m_pNeighbourly->active()) {
                m_bDone = true;
                break;
            }
            // A filter still loading has been cut short by input.
            if (!m_pScene->isIdle() || isDone() || !m_pNeighbourly->loaded()) break;
            for (;;) {
                m_pNeighbourly->colorAt(color, m_iX, m_iY);
                const int px = r.left() + m_iX, py = r.top() + m_iY;
                if (!direct) {
                    m_pDot->draw(*dc, px, py, color, &r);
                } else if (px >= 0 && py >= 0 && px < surface.width() && py < surface.height()) {
                    const uint32_t value = dc->resolve(color.colorRef());
                    if (surface.bitsPerPixel() == 32)
                        surface.row32(py)[px] = value;
                    else
                        surface.row8(py)[px] = static_cast<uint8_t>(value);
                    m_changed =
                        m_changed.empty()
                            ? RECT{px, py, px + 1, py + 1}
                            : RECT{std::min(m_changed.left, px), std::min(m_changed.top, py),
                                   std::max(m_changed.right, px + 1), std::max(m_changed.bottom, py + 1)};
                }
                m_pScene->animatePalette(false);
                ++m_iCount;
                m_iX += dotW;
                bool rowDone = false;
                if (m_iX >= end) {
                    m_iY += dotH;
                    m_iX = rowStart();
                    end = rowEnd();
                    rowDone = true;
                    flushChanged();
                    if (m_iY >= h) {
                        cellDone = true;
                        break;
                    }
                    waitStep();
                }
                if ((rowDone || m_iCount % kDotsBetweenPolls == 1) && !m_pScene->isIdle()) break;
            }
        }
        flushChanged();
        if (!cellDone || !m_pScene->isIdle() || isDone()) break;
        ++m_cursor;
        m_pNeighbourly->finish();
        m_iCount = 0;
        m_iY = 0;
        m_iX = rowStart();
        end = rowEnd();
    }
    flushChanged();
    if (m_cursor == rects.end()) m_bDone = true;
}

Blur::Blur(StyleScene* scene) : NeighbourlySaver(scene) {
    m_pDot = std::make_unique<DotSingle>(m_random, DotSetting::of(::scene()));
    m_pDot->setShadowOn(false);
    m_pNeighbourly = Neighbourly::create(m_random, m_pDot.get());
}

Plasma::Plasma(StyleScene* scene) : NeighbourlySaver(scene) {
    m_pDot = CreateDot(m_random, {});
    m_pDot->setShadowOn(false);
    m_pNeighbourly = std::make_unique<NeighbourlyPlasma>(m_random, m_pDot.get());
}
