// The edge effects of a whole cell: a drop shadow, a raised button and a
// frame. Each is told the pixel and works out where in its cell it lies.

#include <algorithm>

#include "engine/RandomSource.h"
#include "layout/SubRect.h"
#include "styles/dot/DotEdge.h"

namespace {

Color withLightness(Color c, float l) {
    c.setLightness(l);
    return c;
}

}  // namespace

DotOffsetDropShadow::DotOffsetDropShadow(RandomSource& random, const DotSetting& setting)
    : DotEdge(random, setting) {
    m_iDepth = random.below(24) + 6;
    m_bFilledBorder = random.below(2) != 0;
    m_own = random.below(2) != 0 ? Color::randomPaletteColor(random) : Color(255, 255, 255);
}

void DotOffsetDropShadow::draw(CDC& dc, int x, int y, const Color&, const SubRect* r) {
    if (!r) return;
    const int W = r->width(), H = r->height(), d = m_iDepth;
    if (W <= 2 * d || H <= 2 * d) return;
    const int dx = x - r->left(), dy = y - r->top();
    if (dx > W - d || dy > H - d) {
        if (m_bFilledBorder) dc.SetPixel(x, y, m_own.colorRef());
        return;
    }
    if (m_bFilledBorder &&
        (dx < d || dy < d || (dx >= W - 2 * d && dy <= 3 * d / 2) || (dy >= H - 2 * d && dx <= 3 * d / 2))) {
        dc.SetPixel(x, y, m_own.colorRef());
        return;
    }
    const bool right = dx >= W - 2 * d && dx <= W - d;
    const bool bottom = dy >= H - 2 * d && dy <= H - d;
    if (!right && !bottom) return;
    const bool inBottom = bottom && (!right || H - dy <= W - dx);
    const Color base = m_bFilledBorder ? m_own : screenPixel(dc, x, y);
    const float t = inBottom ? static_cast<float>(H - dy - d) / static_cast<float>(d)
                             : static_cast<float>(W - dx - d) / static_cast<float>(d);
    dc.SetPixel(x, y, withLightness(base, 0.5f - 0.5f * t).colorRef());
}

void DotOffsetDropShadow::prepare(SubRect& r) {
    const int d = m_iDepth;
    if (m_bFilledBorder)
        r.setRect(r.left() + d, r.top() + d, r.width() - 3 * d, r.height() - 3 * d);
    else
        r.setRect(r.left(), r.top(), r.width() - 2 * d, r.height() - 2 * d);
}

DotOffsetButton::DotOffsetButton(RandomSource& random, const DotSetting& setting) : DotEdge(random, setting) {
    m_iDepth = random.below(24) + 6;
}

void DotOffsetButton::draw(CDC& dc, int x, int y, const Color&, const SubRect* r) {
    if (!r) return;
    const int W = r->width(), H = r->height(), d = m_iDepth;
    if (W <= 2 * d || H <= 2 * d) return;
    const int dx = x - r->left(), dy = y - r->top();
    if (d < dx && dx < W - d && d < dy && dy < H - d) return;
    const float fd = static_cast<float>(d);
    const float left = 1 - dx / fd, top = 1 - dy / fd;
    const float rightIn = (dx - (W - d)) / fd, bottomIn = (dy - (H - d)) / fd;
    const bool l = dx <= d, t = dy <= d, rr = dx >= W - d, b = dy >= H - d;
    float light;
    if (t && l)
        light = left <= top ? 0.8f : 0.6f;
    else if (b && l)
        light = left <= bottomIn ? 0.2f : 0.6f;
    else if (t && rr)
        light = rightIn <= top ? 0.8f : 0.4f;
    else if (b && rr)
        light = rightIn <= bottomIn ? 0.2f : 0.4f;
    else if (t)
        light = 0.8f;
    else if (l)
        light = 0.6f;
    else if (rr)
        light = 0.4f;
    else
        light = 0.2f;
    dc.SetPixel(x, y, withLightness(screenPixel(dc, x, y), light).colorRef());
}

void DotOffsetButton::prepare(SubRect& r) {
    const int d = m_iDepth;
    r.setRect(r.left() + d, r.top() + d, r.width() - 2 * d, r.height() - 2 * d);
}

namespace {

// 0 a random palette colour, 1 white, 2 black.
Color frameColor(RandomSource& random) {
    switch (random.below(3)) {
        case 0:
            return Color::randomPaletteColor(random);
        case 1:
            return Color(255, 255, 255);
        default:
            return Color(0, 0, 0);
    }
}

}  // namespace

DotFrame::DotFrame(RandomSource& random, const DotSetting& setting) : DotEdge(random, setting) {
    const int m = std::min(m_iScreenWidth, m_iScreenHeight) / 4;
    m_iOuter = random.skewedBelow(m, 2) + 1;
    m_iInner = random.skewedBelow(m, 3) + 1;
    m_bTwoBands = random.uniform() < 0.75;
    m_iTotal = m_iOuter + (m_bTwoBands ? m_iInner : 0);
    m_outer = frameColor(random);
    m_inner = frameColor(random);
}

void DotFrame::draw(CDC& dc, int x, int y, const Color&, const SubRect* r) {
    if (!r) return;
    const int W = r->width(), H = r->height();
    if (W <= m_iTotal || H <= m_iTotal) return;
    const int dx = x - r->left(), dy = y - r->top();
    const int edge = std::min({dx, dy, W - 1 - dx, H - 1 - dy});
    if (edge < 0) return;
    if (edge < m_iOuter)
        dc.SetPixel(x, y, m_outer.colorRef());
    else if (m_bTwoBands && edge < m_iTotal)
        dc.SetPixel(x, y, m_inner.colorRef());
}

void DotFrame::prepare(SubRect& r) {
    const int t = m_iTotal;
    r.setRect(r.left() + t, r.top() + t, r.width() - 2 * t, r.height() - 2 * t);
}
