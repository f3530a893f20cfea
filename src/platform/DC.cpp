#include "platform/DC.h"

#include <limits>

int nearestHardwareIndex(const std::array<uint32_t, 256>& hardware, COLORREF color) {
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256; ++i) {
        const uint32_t e = hardware[static_cast<size_t>(i)];
        const int dr = GetRValue(e) - r, dg = GetGValue(e) - g, db = GetBValue(e) - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0) break;
        }
    }
    return best;
}

void CDC::plot(int x, int y, uint32_t value) {
    if (x < 0 || y < 0 || x >= m_surface->width() || y >= m_surface->height()) return;
    if (m_surface->bitsPerPixel() == 32)
        m_surface->row32(y)[x] = value;
    else
        m_surface->row8(y)[x] = static_cast<uint8_t>(value);
}

void CDC::span(int y, int x0, int x1, uint32_t value) {
    if (y < 0 || y >= m_surface->height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_surface->width());
    if (x0 >= x1) return;
    if (m_surface->bitsPerPixel() == 32)
        std::fill(m_surface->row32(y) + x0, m_surface->row32(y) + x1, value);
    else
        std::fill(m_surface->row8(y) + x0, m_surface->row8(y) + x1, static_cast<uint8_t>(value));
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!bitsPerPixel() || x < 0 || y < 0 || x >= m_surface->width() || y >= m_surface->height())
        return CLR_INVALID;
    plot(x, y, resolve(color));
    m_surface->markChanged({x, y, x + 1, y + 1});
    return GetPixel(x, y);
}

COLORREF CDC::GetPixel(int x, int y) const {
    // An invalid surface has no width, so the bounds test covers it.
    if (!m_surface || x < 0 || y < 0 || x >= m_surface->width() || y >= m_surface->height())
        return CLR_INVALID;
    if (m_surface->bitsPerPixel() == 32) return m_surface->row32(y)[x];
    return CDisplay::instance().hardwarePalette()[m_surface->row8(y)[x]];
}

void CDC::FillRect(const RECT& r, COLORREF color) {
    if (!bitsPerPixel()) return;
    const RECT c = intersectRect(r, m_surface->bounds());
    if (c.empty()) return;
    const uint32_t value = resolve(color);
    for (int y = c.top; y < c.bottom; ++y) span(y, c.left, c.right, value);
    m_surface->markChanged(c);
}

void CDC::LineTo(int x, int y) {
    const POINT line[2] = {m_position, {x, y}};
    m_position = {x, y};
    strokePath(line, 2, false);
}
