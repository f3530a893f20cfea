#include "styles/area/Sketch.h"

#include <algorithm>

#include "color/ColorAdjuster.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/area/Rework.h"
#include "styles/line/Line.h"

Sketch::Sketch(StyleScene* scene) : SaverRework(scene) {
    const Settings& settings = *sceneHost().settings();
    m_pAdjuster = CreateColorAdjuster(m_random, settings.choosers());
    m_bClear = m_random.uniform() < 0.75;
    m_pLine = std::make_unique<LinePrushSingle>(m_random, DotSetting::of(::scene()));
    m_iRun = m_random.below(17) + 1;
    m_iX = m_iY = 0;
    m_dwDuration = rework::maxTimeMs(settings.maxTime());
}

Sketch::~Sketch() = default;

void Sketch::sketchRow(const SubRect& r, const CSurface& copy) {
    CDC& dc = *m_pScene->dc();
    const int w = r.width();
    while (m_iX < w) {
        const COLORREF c0 = rework::copyPixel(copy, m_iX, m_iY);
        // The run reaches at least m_iRun pixels on, then on until the colour
        // strays or the row ends.
        int x1 = std::min(m_iX + m_iRun, w - 1);
        while (x1 < w - 1 && !rework::differs(rework::copyPixel(copy, x1, m_iY), c0)) ++x1;
        Color c(c0);
        m_pAdjuster->adjust(c, x1, m_iY, &r);
        m_pLine->draw(dc, r.left() + x1, r.top() + m_iY, r.left() + m_iX, r.top() + m_iY, c);
        ++m_iStrokes;
        m_iX = x1 < w - 1 ? x1 : x1 + 1;
    }
}

void Sketch::step() {
    CDC* dc = screen();
    if (!dc) return;
    SubRectList& cells = m_pScene->subRects();
    const int rowStep = std::max(1, m_pLine->width());
    copySubRect();
    while (m_pScene->isIdle() && !isDone() && m_cursor != cells.end()) {
        const SubRect& r = *m_cursor;
        const int h = r.height();
        if (r.group() == m_iGroup && r.width() > 0) {
            if (m_iX == 0 && m_iY == 0 && m_bClear)
                dc->FillRect({r.left(), r.top(), r.left() + r.width() + 1, r.top() + h + 1},
                             m_crBase.colorRef());
            m_pLine->setCell(&r);
            while (m_iY < h && m_pScene->isIdle() && !isDone()) {
                sketchRow(r, copy());
                m_iY += rowStep;
                m_iX = 0;
                waitStep();
            }
            m_pLine->setCell(nullptr);
            if (m_iY < h) break;  // input or the time: the scan resumes here
        }
        if (!m_pScene->isIdle() || isDone()) break;
        m_iX = m_iY = 0;
        nextCell();
    }
    doneAtEnd();
}
