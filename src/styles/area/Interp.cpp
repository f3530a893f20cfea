#include "styles/area/Interp.h"

#include <algorithm>
#include <typeinfo>

#include "Patterns/Interpolator.h"
#include "color/ColorClamp.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/area/Rework.h"
#include "styles/dot/Dot.h"

namespace {

constexpr int kHueCountTraceLine = 59;
constexpr int kDotTraceLine = 166;

// k[0] = 0, k[n - 1] = 1, and between them steps of 0.5 / n to 1.5 / n,
// held at 1.
std::vector<float> drawKnots(RandomSource& random, int n) {
    std::vector<float> k(static_cast<size_t>(n), 0.0f);
    for (size_t i = 1; i + 1 < k.size(); ++i)
        k[i] = std::min(1.0f, static_cast<float>(k[i - 1] + (random.uniform() + 0.5) / n));
    k.back() = 1.0f;
    return k;
}

}  // namespace

Interp::Interp(StyleScene* scene) : SaverRework(scene) {
    const Settings& settings = *sceneHost().settings();
    m_pDot = CreateDot(m_random, {});
    if (m_pDot->area() == 1) m_pDot->setShadowOn(false);
    m_iY = 0;
    const bool rgb = m_random.below(2) == 0;
    m_iHueCount = rgb && !scene->isAnimated() ? 3 : 1;
    trace("%s line %d : m_iHueCount = %d", "Interp", kHueCountTraceLine, m_iHueCount);
    startRow();

    if (m_random.below(2) != 0) {
        m_fWinX = static_cast<float>(m_random.uniform());
        m_fWinW = static_cast<float>(m_random.uniform() * (1 - m_fWinX));
        m_fWinY = static_cast<float>(m_random.uniform());
        m_fWinH = static_cast<float>(m_random.uniform() * (1 - m_fWinY));
    }
    m_iKind = m_random.below(2);
    // Two further kinds, drawn and never used.
    m_random.below(2);
    m_random.below(2);

    const bool sameGrid = m_random.uniform() < 0.875;
    const int nx = 2 << m_random.below(5);
    const int ny = sameGrid ? nx : 2 << m_random.below(5);
    for (int c = 0; c < m_iHueCount; ++c) {
        const size_t i = static_cast<size_t>(c);
        m_xKnots[i] = drawKnots(m_random, nx);
        m_yKnots[i] = sameGrid ? m_xKnots[i] : drawKnots(m_random, ny);
    }
    // Three channels fold nothing back: a folded channel would jump.
    const std::vector<int> noOffset{1};
    for (auto& clamp : m_pClamps)
        clamp = CreateColorClamp(m_random, settings.choosers(), m_iHueCount == 3 ? &noOffset : nullptr);

    const bool sameStep = m_random.below(2) != 0;
    if (m_random.uniform() >= 0.8) {
        m_iStep[0] = m_random.below(128) + 1;
        for (size_t c = 1; c < 3; ++c) m_iStep[c] = sameStep ? m_iStep[0] : m_random.below(128) + 1;
    }
    m_dwDuration = rework::maxTimeMs(settings.maxTime());
    const Dot& dot = *m_pDot;
    traceMade("Interp", kDotTraceLine, "(typeid(*m_pDot).name())", typeid(dot).name());
}

Interp::~Interp() = default;

void Interp::mergeKnots(std::vector<float>& knots, std::vector<float>& values) {
    const size_t n = std::min(knots.size(), values.size());
    size_t out = 0;
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        float sum = values[i];
        while (j < n && knots[j] == knots[i]) sum += values[j++];
        knots[out] = knots[i];
        values[out] = sum / static_cast<float>(j - i);
        ++out;
        i = j;
    }
    knots.resize(out);
    values.resize(out);
}

float Interp::snapKnot(float k, int w) {
    const float width = static_cast<float>(std::max(w, 1));
    return static_cast<float>(qvmath::truncSaturated(std::min(width * k, width - 1))) / width;
}

void Interp::startRow() {
    if (m_cursor == m_pScene->subRects().end()) {
        m_iX = m_iRowEnd = 0;
        return;
    }
    const SubRect& r = *m_cursor;
    m_iX = rework::rowStart(*m_pRange, m_iY, r.width(), r.height());
    m_iRowEnd = rework::rowEnd(*m_pRange, m_iY, r.width(), r.height());
}

void Interp::sampleCell(const SubRect& r) {
    const int w = r.width(), h = r.height();
    const CSurface& copy = this->copy();
    for (int c = 0; c < m_iHueCount; ++c) {
        const size_t i = static_cast<size_t>(c);
        auto& columns = m_columns[i];
        columns.resize(m_xKnots[i].size());
        for (size_t k = 0; k < m_xKnots[i].size(); ++k) {
            const float kx = m_xKnots[i][k];
            const int px = std::min(qvmath::truncSaturated(w * (m_fWinX + m_fWinW * kx)), w - 1);
            m_workKnots = m_yKnots[i];
            m_work.clear();
            for (float ky : m_yKnots[i]) {
                const int py = std::min(qvmath::truncSaturated(h * (m_fWinY + m_fWinH * ky)), h - 1);
                const COLORREF p = rework::copyPixel(copy, px, py);
                int v;
                if (m_iHueCount == 1)
                    v = m_pScene->nearestPaletteIndex(
                        Color(GetRValue(p), GetGValue(p), GetBValue(p)).colorRef());
                else
                    v = c == 0 ? GetRValue(p) : c == 1 ? GetGValue(p) : GetBValue(p);
                m_work.push_back(static_cast<float>(v));
            }
            mergeKnots(m_workKnots, m_work);
            if (!columns[k])
                columns[k] = Interpolator::create(m_iKind, m_workKnots, m_work);
            else
                columns[k]->setPoints(m_workKnots, m_work);
        }
    }
}

void Interp::fitRow(int w, int h) {
    const float y = static_cast<float>(m_iY) / static_cast<float>(std::max(h, 1));
    for (int c = 0; c < m_iHueCount; ++c) {
        const size_t i = static_cast<size_t>(c);
        m_workKnots.clear();
        m_work.clear();
        for (size_t k = 0; k < m_xKnots[i].size(); ++k) {
            m_workKnots.push_back(snapKnot(m_xKnots[i][k], w));
            m_work.push_back(m_columns[i][k]->value(y));
        }
        mergeKnots(m_workKnots, m_work);
        if (!m_rows[i])
            m_rows[i] = Interpolator::create(m_iKind, m_workKnots, m_work);
        else
            m_rows[i]->setPoints(m_workKnots, m_work);
    }
}

Color Interp::colorAt(int x, int w) {
    const float fx = static_cast<float>(x) / static_cast<float>(std::max(w, 1));
    if (m_iHueCount == 1) {
        const int v = qvmath::truncSaturated(m_rows[0]->value(fx));
        return Color::fromPaletteIndex(std::clamp(v, 0, std::max(m_iColorCount - 1, 0)));
    }
    int v[3];
    for (size_t c = 0; c < 3; ++c) {
        const int clamped = m_pClamps[c]->clamp(qvmath::truncSaturated(m_rows[c]->value(fx)));
        const int q = std::max(m_iStep[c], 1);
        v[c] = clamped / q * q;
    }
    return Color(v[0], v[1], v[2]);
}

void Interp::flushChanged() {
    if (m_changed.empty()) return;
    if (CDC* dc = m_pScene->dc())
        if (CSurface* s = dc->surface()) s->markChanged(m_changed);
    m_changed = {};
}

void Interp::step() {
    CDC* dc = screen();
    if (!dc) return;
    CSurface& screen = *dc->surface();
    const bool direct = !m_bPlainPath && m_pDot->isSinglePixel() && !m_pDot->shadowOn();
    const int stepX = std::max(m_pDot->width(), 1), stepY = std::max(m_pDot->height(), 1);
    SubRectList& cells = m_pScene->subRects();
    copySubRect();
    while (m_pScene->isIdle() && !isDone() && m_cursor != cells.end()) {
        SubRect& r = *m_cursor;
        const int w = r.width(), h = r.height();
        if (r.group() == m_iGroup && copy().valid() && m_iY < h) {
            sampleCell(r);
            fitRow(w, h);
            while (m_pScene->isIdle()) {
                for (; m_iX < m_iRowEnd && m_pScene->isIdle(); m_iX += stepX) {
                    const Color color = colorAt(m_iX, w);
                    const int px = r.left() + m_iX, py = r.top() + m_iY;
                    if (!direct) {
                        m_pDot->draw(*dc, px, py, color, &r);
                    } else if (px >= 0 && py >= 0 && px < screen.width() && py < screen.height()) {
                        // What the pixel stores, without a read-back; the
                        // changed area is marked once per row.
                        const uint32_t value = dc->resolve(color.colorRef());
                        if (screen.bitsPerPixel() == 32)
                            screen.row32(py)[px] = value;
                        else
                            screen.row8(py)[px] = static_cast<uint8_t>(value);
                        m_changed = unionRect(m_changed, {px, py, px + 1, py + 1});
                    }
                    m_pScene->animatePalette(false);
                }
                flushChanged();
                if (m_iX < m_iRowEnd || isDone()) break;
                m_iY += stepY;
                if (m_iY >= h) break;
                startRow();
                fitRow(w, h);
                waitTick();
            }
        }
        const bool finished = r.group() != m_iGroup || !copy().valid() || m_iY >= h;
        if (!finished || !m_pScene->isIdle() || isDone()) break;
        nextCell();
        m_iY = 0;
        startRow();
    }
    flushChanged();
    // Nothing is left to draw: waiting out the time would only spin.
    doneAtEnd();
}
