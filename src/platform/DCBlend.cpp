// Blended and inverted runs: the per-pixel read, blend and write of a
// translucent painter, done a row at a time. Reads go straight to the row
// (through the hardware palette on 8 bits, as GetPixel reads), writes store
// the resolved value, and the run is marked changed once.

#include <algorithm>

#include "platform/DC.h"

namespace {

// (opacity * c + (255 - opacity) * old) / 255 for each channel.
inline COLORREF blend(COLORREF c, COLORREF old, int opacity) {
    const int back = 255 - opacity;
    const auto channel = [&](int shift) {
        const int a = static_cast<int>((c >> shift) & 0xFF), b = static_cast<int>((old >> shift) & 0xFF);
        return static_cast<COLORREF>((opacity * a + back * b) / 255) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

}  // namespace

void CDC::BlendSpan(int y, int x0, int x1, COLORREF color, int opacity) {
    if (!bitsPerPixel() || y < 0 || y >= m_surface->height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_surface->width());
    if (x0 >= x1) return;
    color &= 0x00FFFFFF;
    opacity = std::clamp(opacity, 0, 255);
    if (m_surface->bitsPerPixel() == 32) {
        uint32_t* row = m_surface->row32(y);
        if (opacity == 255) {
            std::fill(row + x0, row + x1, resolve(color));
        } else {
            // A run over one colour blends to one colour: resolve it once.
            COLORREF lastOld = ~0u, lastNew = 0;
            for (int x = x0; x < x1; ++x) {
                if (row[x] != lastOld) lastOld = row[x], lastNew = resolve(blend(color, row[x], opacity));
                row[x] = lastNew;
            }
        }
    } else {
        uint8_t* row = m_surface->row8(y);
        const auto& hardware = CDisplay::instance().hardwarePalette();
        for (int x = x0; x < x1; ++x)
            row[x] = static_cast<uint8_t>(resolve(blend(color, hardware[row[x]], opacity)));
    }
    m_surface->markChanged({x0, y, x1, y + 1});
}

void CDC::InvertSpan(int y, int x0, int x1) {
    if (!bitsPerPixel() || y < 0 || y >= m_surface->height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_surface->width());
    if (x0 >= x1) return;
    const uint32_t white = resolve(RGB(255, 255, 255)), black = resolve(RGB(0, 0, 0));
    if (m_surface->bitsPerPixel() == 32) {
        uint32_t* row = m_surface->row32(y);
        for (int x = x0; x < x1; ++x) row[x] = row[x] == 0 ? white : black;
    } else {
        uint8_t* row = m_surface->row8(y);
        const auto& hardware = CDisplay::instance().hardwarePalette();
        for (int x = x0; x < x1; ++x) row[x] = static_cast<uint8_t>(hardware[row[x]] == 0 ? white : black);
    }
    m_surface->markChanged({x0, y, x1, y + 1});
}
