#include "styles/distort/Distort.h"

#include <algorithm>

#include "engine/MathErrors.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Range.h"
#include "styles/StyleScene.h"
#include "styles/distort/Distorter.h"
#include "styles/dot/Dot.h"

Distort::Distort(StyleScene* scene) : SaverBitmap(scene) {
    m_pDistorter = Distorter::create(m_random);
    m_pDot = std::make_unique<DotSingle>(m_random, DotSetting::of(::scene()));
    if (m_pDot->area() == 1) m_pDot->setShadowOn(false);
    m_iY = 0;
    startRow();
    const Settings* settings = sceneHost().settings();
    const long long maxTime = settings ? settings->maxTime() : 0;
    m_dwDuration = static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
}

Distort::~Distort() = default;

void Distort::setDistorter(std::unique_ptr<Distorter> distorter) {
    if (distorter) m_pDistorter = std::move(distorter);
}

void Distort::startRow() {
    if (m_cursor == m_pScene->subRects().end() || m_cursor->height() <= 0) {
        m_iX = m_iRowEnd = 0;
        return;
    }
    const int w = m_cursor->width();
    const float ny = 2.0f * static_cast<float>(m_iY) / static_cast<float>(m_cursor->height()) - 1.0f;
    // An outline runs from -1 to 1; one that strays beyond (or gives NaN)
    // still walks inside the cell.
    const auto column = [w](float n) {
        return std::clamp(qvmath::truncSaturated((n + 1.0f) / 2.0f * static_cast<float>(w)), 0,
                          std::max(w, 0));
    };
    m_iX = column(m_pRange->left(ny));
    m_iRowEnd = column(m_pRange->right(ny));
}

void Distort::flushChanged() {
    if (m_changed.empty()) return;
    if (CDC* dc = m_pScene->dc())
        if (CSurface* s = dc->surface()) s->markChanged(m_changed);
    m_changed = {};
}

bool Distort::paintCell() {
    const SubRect& r = *m_cursor;
    const int w = r.width(), h = r.height();
    if (w <= 0 || h <= 0 || m_iY >= h) return true;
    CDC& dc = *m_pScene->dc();
    CSurface& screen = *dc.surface();
    const DistorterCopy copy(m_memDC, m_bPlainPath);
    // Without a copy of the whole cell there is nothing to read: the cell
    // is left as it is rather than painted black.
    if (copy.width() != w || copy.height() != h) return true;
    // A single pixel without a shadow is written straight into the rows:
    // what SetPixel stores, without its read-back, the changed area marked
    // once per row.
    const bool direct = !m_bPlainPath && m_pDot->isSinglePixel() && !m_pDot->shadowOn();
    const bool wide = screen.bitsPerPixel() == 32;
    const int dotW = std::max(m_pDot->width(), 1), dotH = std::max(m_pDot->height(), 1);
    Color color;
    while (m_pScene->isIdle()) {
        m_pDistorter->map(color, m_iX, m_iY, r, copy);
        // A row whose outline starts at the cell's right edge begins at W:
        // its pixel is read (at the copy's edge) but not painted, since it
        // belongs to the next cell.
        const int px = r.left() + m_iX, py = r.top() + m_iY;
        if (m_iX < w) {
            if (!direct) {
                m_pDot->draw(dc, px, py, color, nullptr);
            } else if (px >= 0 && py >= 0 && px < screen.width() && py < screen.height()) {
                const uint32_t value = dc.resolve(color.colorRef());
                if (wide)
                    screen.row32(py)[px] = value;
                else
                    screen.row8(py)[px] = static_cast<uint8_t>(value);
                m_changed = m_changed.empty() ? RECT{px, py, px + 1, py + 1}
                                              : unionRect(m_changed, {px, py, px + 1, py + 1});
            }
        }
        m_pScene->animatePalette(false);
        m_iX += dotW;
        if (m_iX < m_iRowEnd) continue;
        flushChanged();
        if (isDone()) return false;
        m_iY += dotH;
        if (m_iY >= h) return true;
        startRow();
        waitTick();
    }
    return false;
}

void Distort::step() {
    CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface() || !dc->surface()->valid()) {
        m_bDone = true;
        return;
    }
    SubRectList& rects = m_pScene->subRects();
    copySubRect();
    while (m_pScene->isIdle() && m_cursor != rects.end() && !isDone()) {
        if (m_cursor->group() == m_iGroup && !paintCell()) break;
        if (!m_pScene->isIdle() || isDone()) break;
        ++m_cursor;
        releaseCopy();
        copySubRect();
        m_iY = 0;
        startRow();
    }
    flushChanged();
    if (m_cursor == rects.end()) m_bDone = true;
}
