// The hue-edge inks.

#include "color/ColorSpace.h"
#include "engine/RandomSource.h"
#include "styles/neighbourly/Neighbourly.h"

namespace {

float hueOf(uint32_t pixel) {
    return ColorHSL(Color(static_cast<int>(pixel & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                          static_cast<int>((pixel >> 16) & 0xFF)))
        .hue();
}

uint32_t rgbOf(const Color& c) {
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
           static_cast<uint32_t>(c.blue()) << 16;
}

}  // namespace

NeighbourlyInk::NeighbourlyInk(RandomSource& random, Dot* dot) : NeighbourlyBlur(random, dot) {
    m_bSums = false;
    m_iRadius = 1;
}

uint64_t NeighbourlyInk::extraBytes(uint64_t pixels) const { return pixels * sizeof(float); }

bool NeighbourlyInk::allocateExtra() { return m_hues.make(static_cast<size_t>(m_iSize)); }

void NeighbourlyInk::freeExtra() { m_hues.free(); }

void NeighbourlyInk::rowLoaded(int y) {
    if (m_hues.empty()) return;
    const uint32_t* in = row(y);
    float* out = m_hues.data() + static_cast<size_t>(y) * static_cast<size_t>(m_iWidth);
    for (int x = 0; x < m_iWidth; ++x) out[x] = hueOf(in[x]);
}

float NeighbourlyInk::hueAt(int x, int y) const {
    if (m_bPlain || m_hues.empty()) return hueOf(pixel(x, y));
    return m_hues[static_cast<size_t>(y) * static_cast<size_t>(m_iWidth) + static_cast<size_t>(x)];
}

bool NeighbourlyInk::difference(int x, int y, int& diff) {
    int x0, y0, x1, y1;
    if (!window(x, y, x0, y0, x1, y1)) return false;
    m_acc = 0;
    for (int i = x0; i <= x1; ++i)
        for (int j = y0; j <= y1; ++j)
            m_acc = static_cast<int32_t>(hueAt(i, j) * 255 + static_cast<float>(m_acc));
    const int n = (x1 - x0 + 1) * (y1 - y0 + 1);
    // The centre held to the cell, as every read.
    const int cx = x < 0 ? 0 : (x > m_iMaxX ? m_iMaxX : x);
    const int cy = y < 0 ? 0 : (y > m_iMaxY ? m_iMaxY : y);
    const float centre = hueAt(cx, cy) * static_cast<float>(n) * 255;
    diff = static_cast<int>(static_cast<float>(m_acc) - centre);
    return true;
}

void NeighbourlyInk::colorAt(Color& color, int x, int y) {
    const uint32_t self = pixel(x, y);
    int diff = 0;
    setColor(color, difference(x, y, diff) ? ink(diff, self) : self);
}

NeighbourlyInkEdges::NeighbourlyInkEdges(RandomSource& random, Dot* dot) : NeighbourlyInk(random, dot) {
    m_iThreshold = random.below(64) + 1;
    switch (random.skewedBelow(3, 3)) {
        case 0:
            m_ink = 0;
            break;
        case 1:
            m_ink = 0xFFFFFF;
            break;
        default:
            m_ink = rgbOf(Color::randomPaletteColor(random));
            break;
    }
}

NeighbourlyInkPen::NeighbourlyInkPen(RandomSource& random, Dot* dot) : NeighbourlyInkEdges(random, dot) {
    const bool blackInk = random.below(2) != 0;
    m_ink = blackInk ? 0 : 0xFFFFFF;
    m_pen = blackInk ? 0xFFFFFF : 0;
}
