#include "styles/line/Lines.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <typeinfo>

#include "color/VaryColor.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Anchor.h"
#include "styles/StyleScene.h"
#include "styles/dot/PointAdj.h"
#include "styles/line/Line.h"
#include "styles/line/Liner.h"

namespace {

constexpr int kMaxCopies = 32;
constexpr int kTraceLine = 62;
constexpr float kPi = std::numbers::pi_v<float>;

bool finite(float a, float b, float c, float d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

}  // namespace

Lines::Lines(StyleScene* scene) : Saver(scene) {
    const ChooserSet& choosers = sceneHost().settings()->choosers();
    m_pLiner = CreateLiner(m_random, choosers);
    if (m_pLiner->allowsCurves())
        m_pLine = CreateLine(m_random);
    else
        m_pLine = CreateStraightLine(m_random);
    m_pPointAdj = CreatePointAdj(m_random, choosers);
    m_iCopies = 1 + m_random.skewedBelow(kMaxCopies, 3);
    m_iCopies = std::clamp(m_pLiner->symmetry(m_iCopies), 1, kMaxCopies);
    m_pAnchor = CreateAnchor(m_random, m_pLiner->allowsAnchor(), choosers);
    m_iCounter = 0;
    m_pVaryColor = CreateVaryColor(m_random, choosers);
    const Line& line = *m_pLine;
    traceMade("Scribble", kTraceLine, "(typeid(*m_pLine).name())", typeid(line).name());

    for (int i = 0; i < m_iCopies; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(m_iCopies);
        m_cos.push_back(std::cos(a));
        m_sin.push_back(std::sin(a));
    }
}

Lines::~Lines() = default;

void Lines::drawSegment(CDC& dc, float x1, float y1, float x2, float y2, const Color& color) {
    // An end the point adjuster sent nowhere has no pixel.
    if (!finite(x1, y1, x2, y2)) return;
    for (const SubRect& r : m_pScene->subRects()) {
        if (!m_pScene->isIdle()) break;
        if (r.group() != m_iGroup) continue;
        const int px1 = r.mapX(x1), py1 = r.mapY(y1), px2 = r.mapX(x2), py2 = r.mapY(y2);
        if (px1 == px2 && py1 == py2) {
            dc.SetPixel(px1, py1, color.colorRef());
            ++m_iPixelDraws;
        } else {
            m_pLine->setCell(&r);
            m_pLine->draw(dc, px1, py1, px2, py2, color);
            m_pLine->setCell(nullptr);
            ++m_iLineDraws;
        }
        m_pScene->animatePalette(false);
    }
}

void Lines::step() {
    CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface() || !dc->surface()->valid()) {
        m_bDone = true;
        return;
    }
    const int colors = std::max(1, m_pScene->colorCount());
    while (m_pScene->isIdle() && !isDone()) {
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (!m_pLiner->next(*this, *m_pLine, x1, y1, x2, y2)) {
            m_bDone = true;
            return;
        }
        ++m_iSegments;
        const Color base = Color::fromPaletteIndex(m_iCounter % colors);
        const Color color = m_pVaryColor->vary(base, x1, y1, x2, y2);
        m_pAnchor->position(x1, y1);
        m_pPointAdj->adjust(x1, y1);
        m_pPointAdj->adjust(x2, y2);
        for (int i = 0; i < m_iCopies; ++i) {
            const float c = m_cos[static_cast<size_t>(i)], s = m_sin[static_cast<size_t>(i)];
            drawSegment(*dc, x1 * c - y1 * s, y1 * c + x1 * s, x2 * c - y2 * s, y2 * c + x2 * s, color);
            waitStep();
        }
        ++m_iCounter;
        if (m_iCounter > kCounterLimit) m_iCounter = 0;
    }
}
