#include "styles/poly/Polygons.h"

#include <algorithm>
#include <cmath>

#include "Patterns/PatternNetwork.h"
#include "color/VaryColor.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/poly/Poly.h"
#include "styles/poly/PolyDrawer.h"

namespace {

constexpr float kPi = static_cast<float>(M_PI);

// One side of the square: the part of the polygon where `inside` holds.
template <class Inside, class Cross>
void clipSide(std::vector<float>& xs, std::vector<float>& ys, Inside inside, Cross cross) {
    const size_t n = xs.size();
    std::vector<float> ox, oy;
    ox.reserve(n + 2), oy.reserve(n + 2);
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        const bool in1 = inside(xs[i], ys[i]), in2 = inside(xs[j], ys[j]);
        if (in1) ox.push_back(xs[i]), oy.push_back(ys[i]);
        if (in1 != in2) {
            float x = 0, y = 0;
            cross(xs[i], ys[i], xs[j], ys[j], x, y);
            ox.push_back(x), oy.push_back(y);
        }
    }
    xs.swap(ox);
    ys.swap(oy);
}

}  // namespace

Polygons::Polygons(StyleScene* scene) : Saver(scene) {}

Polygons::~Polygons() = default;

void Polygons::clipToSquare(std::vector<float>& xs, std::vector<float>& ys, float limit) {
    for (size_t i = 0; i < xs.size(); ++i)
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) {
            xs.clear(), ys.clear();
            return;
        }
    bool inside = true;
    for (size_t i = 0; i < xs.size(); ++i)
        inside = inside && std::fabs(xs[i]) <= limit && std::fabs(ys[i]) <= limit;
    if (inside) return;
    // Each side in turn; an edge crossing it is cut where it crosses.
    const auto crossX = [](float edge) {
        return [edge](float x1, float y1, float x2, float y2, float& x, float& y) {
            x = edge;
            y = y1 + (y2 - y1) * (edge - x1) / (x2 - x1);
        };
    };
    const auto crossY = [](float edge) {
        return [edge](float x1, float y1, float x2, float y2, float& x, float& y) {
            y = edge;
            x = x1 + (x2 - x1) * (edge - y1) / (y2 - y1);
        };
    };
    clipSide(
        xs, ys, [limit](float x, float) { return x >= -limit; }, crossX(-limit));
    clipSide(
        xs, ys, [limit](float x, float) { return x <= limit; }, crossX(limit));
    clipSide(
        xs, ys, [limit](float, float y) { return y >= -limit; }, crossY(-limit));
    clipSide(
        xs, ys, [limit](float, float y) { return y <= limit; }, crossY(limit));
    // Corners that fell together count once.
    size_t kept = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
        if (kept > 0 && xs[i] == xs[kept - 1] && ys[i] == ys[kept - 1]) continue;
        xs[kept] = xs[i], ys[kept] = ys[i], ++kept;
    }
    while (kept > 1 && xs[kept - 1] == xs[0] && ys[kept - 1] == ys[0]) --kept;
    xs.resize(kept), ys.resize(kept);
}

void Polygons::drawFacet(std::vector<float>& xs, std::vector<float>& ys, const Color& color) {
    CDC* dc = m_pScene->dc();
    clipToSquare(xs, ys, kReach);
    if (dc && xs.size() >= 2) {
        m_points.resize(xs.size());
        for (const SubRect& r : m_pScene->subRects()) {
            if (!m_pScene->isIdle()) break;
            if (r.group() != m_iGroup) continue;
            for (size_t i = 0; i < xs.size(); ++i) m_points[i] = {r.mapX(xs[i]), r.mapY(ys[i])};
            m_pDrawer->setCell(&r);
            m_pDrawer->draw(*dc, m_points.data(), static_cast<int>(m_points.size()), color);
        }
        m_pDrawer->setCell(nullptr);
    }
    m_pScene->animatePalette(false);
}

// --- the still figure ---------------------------------------------------------

namespace {

uint32_t wholeMaxTime() {
    const long long maxTime = sceneHost().settings() ? sceneHost().settings()->maxTime() : 0;
    return static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
}

}  // namespace

PolygonsStatic::PolygonsStatic(StyleScene* scene) : Polygons(scene) {
    m_pPoly = CreatePoly(m_random, scene);
    m_pDrawer = CreatePolyDrawer(m_random);
    m_dwDuration = wholeMaxTime();
    keepTimeOfSolids();
}

PolygonsStatic::PolygonsStatic(StyleScene* scene, int kind) : Polygons(scene) {
    m_pPoly = MakePolyKind(kind, m_random, scene);
    m_pDrawer = CreatePolyDrawer(m_random);
    m_dwDuration = wholeMaxTime();
    keepTimeOfSolids();
}

void PolygonsStatic::keepTimeOfSolids() {
    // A solid asks for no wait between its facets and would be drawn and
    // gone within a few milliseconds: it is paced like the frames, one step
    // a facet, and its picture stays for the drawing's whole time.
    m_iWaitsPerFacet = m_pPoly ? m_pPoly->waitsPerFacet() : 1;
    if (m_iWaitsPerFacet == 0) {
        m_iWaitsPerFacet = 1;
        m_bKeepTime = true;
    }
}

void PolygonsStatic::step() {
    CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface() || !dc->surface()->valid()) {
        m_bDone = true;
        return;
    }
    Color color;
    while (m_pScene->isIdle() && !isDone()) {
        if (!m_pPoly->nextFacet(*this, m_xs, m_ys, color, true)) {
            m_bDone = true;
            return;
        }
        drawFacet(m_xs, m_ys, color);
        for (int i = m_iWaitsPerFacet; i > 0 && m_pScene->isIdle(); --i) waitStep();
    }
}

// --- the moving wire figure ---------------------------------------------------

PolygonsMoving::PolygonsMoving(StyleScene* scene) : Polygons(scene) {
    m_pPoly = CreateMovingPoly(m_random, scene);
    makeRest();
}

PolygonsMoving::PolygonsMoving(StyleScene* scene, int kind) : Polygons(scene) {
    m_pPoly = MakePolyKind(kind, m_random, scene);
    makeRest();
}

void PolygonsMoving::makeRest() {
    m_pDrawer = std::make_unique<PolyDrawerWire>(m_random);
    m_pNetwork = std::make_unique<PatternNetwork>(m_random);
    m_pVaryColor = CreateVaryColor(m_random, sceneHost().settings()->choosers());
    m_in.assign(1, 0.0f);
    m_out.assign(6, 0.0f);
}

PolygonsMoving::~PolygonsMoving() = default;

void PolygonsMoving::step() {
    CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface() || !dc->surface()->valid()) {
        m_bDone = true;
        return;
    }
    m_pNetwork->setup(1, 6, false, 2);
    Color color;
    if (!m_bStarted) {
        // Built before the first move, so that every move applies to it.
        m_pPoly->nextFacet(*this, m_xs, m_ys, color, false);
        m_bStarted = true;
    }
    const float scale = 0.5f / std::sqrt(2.0f);
    while (m_pScene->isIdle() && !isDone()) {
        m_in[0] = static_cast<float>(m_iFrame) / 100.0f;
        ++m_iFrame;
        m_pNetwork->calculate(m_in, m_out);
        m_pPoly->translate(-m_fOx, -m_fOy, -m_fOz);
        m_fOx = m_out[0] * scale;
        m_fOy = m_out[1] * scale;
        m_fOz = m_out[2] * scale;
        m_pPoly->rotate(m_out[3] * kPi / 64, m_out[4] * kPi / 64, m_out[5] * kPi / 64);
        m_pPoly->translate(m_fOx, m_fOy, m_fOz);
        m_pPoly->rewind();
        while (m_pScene->isIdle() && m_pPoly->nextFacet(*this, m_xs, m_ys, color, true)) {
            color = m_pVaryColor->vary(color, m_fOx, m_fOy, 0, 0);
            drawFacet(m_xs, m_ys, color);
        }
        waitStep();
    }
}
