// The brushes: a table of weights over the rectangle; within a stroke the
// brush carries the paint it picks up to the next print.

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/DC.h"
#include "platform/Surface.h"

#include "engine/RandomSource.h"
#include "styles/dot/DotPrush.h"
#include "styles/dot/DotRect.h"

DotPrush::DotPrush(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    m_iStrength = random.below(255) + 1;
}

int DotPrush::weightAt(int i, int j) const {
    const size_t k = static_cast<size_t>(j) * static_cast<size_t>(width()) + static_cast<size_t>(i);
    return k < m_weights.size() ? m_weights[k] : 0;
}

void DotPrush::beginStroke() {
    m_bLoaded = m_bFresh = true;
    m_carried = {0, 0, 0};
}

void DotPrush::endStroke() { m_bLoaded = false; }

void DotPrush::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    int brush[3] = {color.red(), color.green(), color.blue()};
    if (m_bLoaded && !m_bFresh)
        for (int k = 0; k < 3; ++k)
            brush[k] =
                (m_carried[static_cast<size_t>(k)] * m_iStrength + brush[k] * (255 - m_iStrength)) / 255;
    const DotBounds b = bounds(x, y);
    // On 32 bits the screen is read and written in place, point by point in
    // the same order as through GetPixel and SetPixel (a read held to the
    // edge may see a point this print already painted), with one changed
    // area for the print.
    CSurface* surface = dc.surface();
    const bool direct = !m_bPlainPath && surface && surface->valid() && surface->bitsPerPixel() == 32;
    const int w = direct ? surface->width() : 0, h = direct ? surface->height() : 0;
    // The points painted, as a rectangle made at the end.
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    long sum[3] = {0, 0, 0};
    long count = 0;
    for (int j = 0; j < b.height; ++j)
        for (int i = 0; i < b.width; ++i) {
            const int m = weightAt(i, j);
            if (m == 0) continue;
            const int px = b.left + i, py = b.top + j;
            int sc[3];
            if (direct) {
                // A stored 32-bit value is a plain colour reference.
                const uint32_t v = surface->row32(std::clamp(py, 0, h - 1))[std::clamp(px, 0, w - 1)];
                sc[0] = GetRValue(v), sc[1] = GetGValue(v), sc[2] = GetBValue(v);
            } else {
                const Color s = screenPixel(dc, px, py);
                sc[0] = s.red(), sc[1] = s.green(), sc[2] = s.blue();
            }
            int v[3];
            for (int k = 0; k < 3; ++k) {
                sum[k] += sc[k];
                v[k] = sc[k] * (255 - m) / 255 + brush[k] * m / 255;
            }
            ++count;
            if (!direct) {
                dc.SetPixel(px, py, Color(v[0], v[1], v[2]).colorRef());
            } else if (px >= 0 && py >= 0 && px < w && py < h) {
                // Mixes of channels stay within 0..255: the colour as SetPixel stores it.
                surface->row32(py)[px] = RGB(v[0], v[1], v[2]);
                left = std::min(left, px), right = std::max(right, px);
                top = std::min(top, py), bottom = std::max(bottom, py);
            }
        }
    if (direct && left <= right) surface->markChanged(RECT{left, top, right + 1, bottom + 1});
    if (m_bLoaded && count > 0) {
        for (int k = 0; k < 3; ++k) {
            const int average = static_cast<int>(sum[k] / count);
            int& carried = m_carried[static_cast<size_t>(k)];
            carried = m_bFresh ? average : (average + carried) / 2;
        }
        m_bFresh = false;
    }
}

namespace {

// Fills the table of `w` x `h` with weight(i, j).
template <class F>
std::vector<uint8_t> table(int w, int h, F weight) {
    std::vector<uint8_t> t(static_cast<size_t>(std::max(w, 0)) * static_cast<size_t>(std::max(h, 0)));
    size_t k = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) t[k++] = static_cast<uint8_t>(std::clamp(weight(i, j), 0, 255));
    return t;
}

// The squared distance of cell (i, j) from the centre, 1 at the middle of
// each side.
double normalisedSquare(int i, int j, int w, int h) {
    const double dx = (i + 0.5) / w * 2 - 1, dy = (j + 0.5) / h * 2 - 1;
    return dx * dx + dy * dy;
}

}  // namespace

DotPrushRect::DotPrushRect(RandomSource& random, const DotSetting& setting)
    : DotRect(random, setting), DotPrush(random, setting) {
    m_weights = table(width(), height(), [](int, int) { return 255; });
}

DotPrushFrame::DotPrushFrame(RandomSource& random, const DotSetting& setting)
    : DotRect(random, setting), DotPrushRect(random, setting) {
    const int w = width(), h = height();
    m_weights = table(
        w, h, [w, h](int i, int j) { return (i == 0 || j == 0 || i == w - 1 || j == h - 1) ? 255 : 0; });
}

DotPrushCircle::DotPrushCircle(RandomSource& random, const DotSetting& setting)
    : DotRect(random, setting), DotPrushRect(random, setting) {
    const int w = width(), h = height();
    m_weights = table(w, h, [w, h](int i, int j) {
        return std::fabs(normalisedSquare(i, j, w, h) - 0.9) <= 0.1 ? 255 : 0;
    });
}

DotPrushCrayon::DotPrushCrayon(RandomSource& random, const DotSetting& setting)
    : DotRect(random, setting), DotPrushRect(random, setting) {
    m_weights = table(width(), height(), [&random](int, int) { return random.below(256); });
}

DotPrushSphere::DotPrushSphere(RandomSource& random, const DotSetting& setting)
    : DotRect(random, setting), DotPrushRect(random, setting) {
    const int w = width(), h = height();
    // Full paint at the top of the dome, thinning to nothing at its rim.
    m_weights = table(w, h, [w, h](int i, int j) {
        const double d2 = normalisedSquare(i, j, w, h);
        return d2 < 1 ? static_cast<int>(255 * std::sqrt(1 - d2)) : 0;
    });
}

DotPrushSingle::DotPrushSingle(RandomSource& random, const DotSetting& setting)
    : DotRect(random, setting), DotPrush(random, setting) {
    setSize(1, 1);
    m_bSquare = true;
    m_weights = {255};
}
