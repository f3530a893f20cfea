#include "styles/area/Offset.h"

#include <algorithm>

#include "color/VaryColor.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Range.h"
#include "styles/StyleScene.h"
#include "styles/area/Rework.h"
#include "styles/dot/Dot.h"

Offset::Offset(StyleScene* scene) : SaverBySubRect(scene) {
    const Settings& settings = *sceneHost().settings();
    m_pVaryColor = CreateVaryColor(m_random, settings.choosers());
    m_pDot = CreateDotOffset(m_random, {});
    // A frame around the cell needs the whole cell.
    if (m_pDot->isFrame()) m_pRange = std::make_unique<RangeRect>();
    m_iY = 0;
    startRow();

    const bool framed = m_random.uniform() < 0.1;
    if (framed && m_pRange->isRect() && m_pDot->area() >= 2) {
        m_bAll = false;
        m_fWinX0 = static_cast<float>(m_random.uniform());
        m_fWinX1 = static_cast<float>(m_random.uniform() * (1 - m_fWinX0) + m_fWinX0);
        m_fWinY0 = static_cast<float>(m_random.uniform());
        m_fWinY1 = static_cast<float>(m_random.uniform() * (1 - m_fWinY0) + m_fWinY0);
    } else {
        const bool whole = m_random.uniform() < 0.9;
        if (m_pDot->isIrregular() || whole) {
            m_bAll = true;
        } else {
            m_bAll = false;
            const float v = static_cast<float>(m_random.uniform() * 0.5);
            m_fWinX0 = m_fWinY0 = v;
            m_fWinX1 = m_fWinY1 = 1 - v;
        }
    }
    m_dwDuration = rework::maxTimeMs(settings.maxTime());
}

Offset::~Offset() = default;

void Offset::startRow() {
    const SubRectList& cells = m_pScene->subRects();
    if (m_cursor == cells.end()) {
        m_iX = 0;
        m_iRowEnd = 0;
        return;
    }
    const SubRect& r = *m_cursor;
    m_iX = rework::rowStart(*m_pRange, m_iY, r.width(), r.height());
    m_iRowEnd = rework::rowEnd(*m_pRange, m_iY, r.width(), r.height());
}

bool Offset::spared(int w, int h) const {
    return !(m_iX < w * m_fWinX0 || m_iX >= w * m_fWinX1 || m_iY < h * m_fWinY0 || m_iY >= h * m_fWinY1);
}

void Offset::step() {
    CDC* dc = m_pScene->dc();
    SubRectList& cells = m_pScene->subRects();
    if (!dc || !dc->surface() || !dc->surface()->valid()) {
        m_bDone = true;
        return;
    }
    if (m_cursor != cells.end()) {
        const SubRect& r = *m_cursor;
        m_iRowEnd = rework::rowEnd(*m_pRange, m_iY, r.width(), r.height());
    }
    // A figure of no size still moves on by a pixel.
    const int stepX = std::max(m_pDot->width(), 1), stepY = std::max(m_pDot->height(), 1);
    const Color black(0, 0, 0);
    while (m_pScene->isIdle() && m_cursor != cells.end()) {
        SubRect& r = *m_cursor;
        const int w = r.width(), h = r.height();
        if (r.group() == m_iGroup) {
            // A row that starts at the cell's right edge has nothing to draw.
            if (m_iX < w && (m_bAll || !spared(w, h))) {
                const int px = r.left() + m_iX, py = r.top() + m_iY;
                if (m_pDot->wouldDraw(px, py)) {
                    Color c = black;
                    if (m_pDot->extraFlag())
                        c = m_pVaryColor->vary(m_crBase, 2.0f * m_iX / w - 1, 2.0f * m_iY / h - 1, 0, 0);
                    m_pDot->draw(*dc, px, py, c, &r);
                }
            }
            m_iX += stepX;
        } else {
            m_iX = w + 1;
            m_iY = h + 1;
        }
        m_pScene->animatePalette(false);
        if (m_iX < m_iRowEnd) continue;
        m_iY += stepY;
        if (m_iY >= h) {
            m_pDot->prepare(r);
            ++m_cursor;
            m_iY = 0;
        }
        if (m_cursor != cells.end()) startRow();
        if (isDone()) return;
        waitTick();
    }
    if (m_cursor == cells.end()) m_bDone = true;
}
