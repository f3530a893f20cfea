#include "platform/PresentPacing.h"

namespace platform {

RECT ShownArea::take(CSurface& surface) {
    RECT area = surface.takeChanged();
    const uint64_t version = CDisplay::instance().paletteVersion();
    if (surface.bitsPerPixel() == 8 && version != m_paletteVersion) area = surface.bounds();
    m_paletteVersion = version;
    if (m_all) area = surface.bounds();
    m_all = false;
    return area;
}

// One pass over the area: colour references have red and blue the other way
// round, and indices of an 8-bit surface go through a table already swapped.
// Plain loops over whole rows, which the compiler vectorises.
void convertToXrgb(const CSurface& s, const RECT& area, const std::array<uint32_t, 256>& hardware,
                   uint32_t* dst, int dstPitch) {
    const auto swap = [](uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    const size_t n = static_cast<size_t>(area.width());
    alignas(64) uint32_t table[256];
    if (s.bitsPerPixel() == 8)
        for (size_t i = 0; i < 256; ++i) table[i] = swap(hardware[i]);
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* out = dst + static_cast<size_t>(y - area.top) * static_cast<size_t>(dstPitch);
        if (s.bitsPerPixel() == 32) {
            const uint32_t* in = s.row32(y) + area.left;
            for (size_t x = 0; x < n; ++x) out[x] = swap(in[x]);
        } else {
            const uint8_t* in = s.row8(y) + area.left;
            for (size_t x = 0; x < n; ++x) out[x] = table[in[x]];
        }
    }
}

}  // namespace platform
