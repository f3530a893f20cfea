#include "shape/Canvas.h"

#include <algorithm>

#include "engine/RandomSource.h"

void Canvas::plot(int x, int y) {
    if (m_bJitter) {
        x += m_pRandom->below(3) - 1;
        y += m_pRandom->below(3) - 1;
    }
    putPixel(x, y);
    if (m_bMirror) {
        // The mirror of x is W - x: column 0 mirrors to W, outside.
        putPixel(m_iWidth - x, y);
        putPixel(m_iWidth - x, m_iHeight - y);
        putPixel(x, m_iHeight - y);
    }
}

void Canvas::putSpan(int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) putPixel(x, y);
}

void Canvas::fillSpan(int y, int x0, int x1) {
    if (m_bSpanPath && !m_bMirror && !m_bJitter) {
        putSpan(y, std::max(x0, 0), std::min(x1, m_iWidth));
        return;
    }
    // Beyond two pixels outside neither jitter nor mirroring comes back in.
    for (int x = std::max(x0, -2); x < std::min(x1, m_iWidth + 2); ++x) plot(x, y);
}

void Canvas::scatter(RandomSource& random) {
    const int k = random.below(32) + 2;
    const int half = k / 2;
    for (int x = 0; x < m_iWidth; ++x) {
        if (m_idle && !m_idle()) return;
        for (int y = 0; y < m_iHeight; ++y) {
            int nx = x + random.below(k) - half;
            int ny = y + random.below(k) - half;
            nx = std::clamp(nx, 0, m_iWidth - 1);
            ny = std::clamp(ny, 0, m_iHeight - 1);
            copyPixel(x, y, nx, ny);
        }
    }
}

int Canvas::randomRepeats(RandomSource& random, int skew) { return random.skewedBelow(10, skew); }
