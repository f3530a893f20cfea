#include "styles/area/Shrinker.h"

#include <algorithm>

#include "styles/StyleScene.h"
#include "styles/dot/DotBlt.h"

namespace {

constexpr int kPixelsPerBlock = 12;
constexpr int kLeastBlock = 8;  // smaller blocks are not copied

}  // namespace

Shrinker::Shrinker(StyleScene* scene) : SaverRework(scene) {
    m_pDotBlt = CreateDotBlt(m_random, {});
    const bool single = m_random.below(2) == 0;
    if (single && !m_pDotBlt->wantsGrid()) {
        m_iColumns = m_iRows = 1;
    } else {
        m_iColumns = 1 << m_random.below(5);
        m_iRows = 1 << m_random.below(5);
    }
    m_iRepeats = m_pDotBlt->drawRepeats();
    m_bClear = m_pDotBlt->drawClearFirst();
}

Shrinker::~Shrinker() = default;

int Shrinker::gridCount(int wanted, int size) {
    return std::max(1, std::min(wanted, size / kPixelsPerBlock));
}

bool Shrinker::shrinkOnce(const SubRect& r, int columns, int rows) {
    CDC& dc = *m_pScene->dc();
    const int cw = r.width() / columns, ch = r.height() / rows;
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            if (!m_pScene->isIdle()) return false;
            const int w = static_cast<int>(m_random.uniform() * cw);
            const int h = static_cast<int>(m_random.uniform() * ch);
            const int left = r.left() + cw * i + (cw - w) / 2;
            const int top = r.top() + ch * j + (ch - h) / 2;
            if (ch >= kLeastBlock && w >= kLeastBlock && h >= kLeastBlock)
                m_pDotBlt->blt(dc, left, top, w, h, m_memDC, cw * i, ch * j, cw, ch, &r);
        }
    return true;
}

void Shrinker::step() {
    CDC* dc = screen();
    if (!dc) return;
    SubRectList& cells = m_pScene->subRects();
    copySubRect();
    while (m_pScene->isIdle() && m_cursor != cells.end()) {
        const SubRect& r = *m_cursor;
        if (r.group() == m_iGroup && r.width() > 0 && r.height() > 0) {
            if (m_bClear)
                dc->FillRect({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                             m_crBase.colorRef());
            const int columns = gridCount(m_iColumns, r.width()), rows = gridCount(m_iRows, r.height());
            for (int k = 0; k < m_iRepeats; ++k) {
                // Input ends the step; the next one starts this cell again.
                if (!m_pScene->isIdle() || !shrinkOnce(r, columns, rows)) return;
                releaseCopy();
                if (k + 1 < m_iRepeats) copySubRect();
                m_pScene->animatePalette(false);
                waitStep();
            }
        }
        nextCell();
    }
    doneAtEnd();
}
