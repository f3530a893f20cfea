#include "platform/DC.h"

#include <cstdlib>
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
    if (!bitsPerPixel() || x < 0 || y < 0 || x >= m_surface->width() || y >= m_surface->height())
        return CLR_INVALID;
    const uint32_t v = m_surface->at(x, y);
    return m_surface->bitsPerPixel() == 32 ? v : CDisplay::instance().hardwarePalette()[v & 0xFF];
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
    const POINT from = m_position;
    m_position = {x, y};
    if (!bitsPerPixel() || m_pen.style == PenStyle::Null) return;
    const uint32_t value = resolve(m_pen.color);
    // Step along the major axis; the minor coordinate of step i is the
    // rounded exact value. Only the steps whose major coordinate lies on the
    // surface are walked, so a line between far-away points costs no more
    // than one across the surface.
    const bool xMajor = std::llabs(int64_t{x} - from.x) >= std::llabs(int64_t{y} - from.y);
    const int64_t a0 = xMajor ? from.x : from.y, a1 = xMajor ? x : y;
    const int64_t b0 = xMajor ? from.y : from.x, b1 = xMajor ? y : x;
    const int64_t majorLimit = xMajor ? m_surface->width() : m_surface->height();
    const int64_t n = std::llabs(a1 - a0);
    if (n == 0) return;
    const int64_t sa = a1 > a0 ? 1 : -1, sb = b1 >= b0 ? 1 : -1;
    const int64_t db = std::llabs(b1 - b0);
    // Steps i in [first, last) have their major coordinate within 0..limit-1.
    int64_t first = 0, last = n;
    if (sa > 0) {
        first = std::max<int64_t>(first, -a0);
        last = std::min<int64_t>(last, majorLimit - a0);
    } else {
        first = std::max<int64_t>(first, a0 - (majorLimit - 1));
        last = std::min<int64_t>(last, a0 + 1);
    }
    RECT touched{};
    for (int64_t i = first; i < last; ++i) {
        const __int128 num = static_cast<__int128>(2 * i) * db + n;
        const int64_t b = b0 + sb * static_cast<int64_t>(num / (2 * n));
        const int64_t a = a0 + sa * i;
        const int64_t px = xMajor ? a : b, py = xMajor ? b : a;
        if (px < 0 || py < 0 || px >= m_surface->width() || py >= m_surface->height()) continue;
        plot(static_cast<int>(px), static_cast<int>(py), value);
        touched = unionRect(touched, {static_cast<int32_t>(px), static_cast<int32_t>(py),
                                      static_cast<int32_t>(px + 1), static_cast<int32_t>(py + 1)});
    }
    m_surface->markChanged(touched);
}
