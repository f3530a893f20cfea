// Colour resolution, palette selection and realisation, device capabilities.

#include "platform/DC.h"

namespace {

constexpr uint32_t kNoKey = 0xFFFFFFFF;  // never a stored key: its top byte is not 0 or 2

size_t slotOf(uint32_t key) {
    return (key * 0x9E3779B1u) >> 24;  // 256 slots
}

// The display, found once: resolving a colour is on the path of every pixel.
const CDisplay& display() {
    static const CDisplay* found = nullptr;
    if (!found) found = &CDisplay::instance();
    return *found;
}

}  // namespace

void CDC::refreshColorCache() const {
    const uint64_t hardware = display().paletteVersion();
    if (m_cachePalette == m_palette->id() && m_cachePaletteVersion == m_palette->version() &&
        m_cacheDisplayVersion == hardware)
        return;
    m_cacheKey.fill(kNoKey);
    m_cacheMap = m_palette->hardwareMap();
    m_cacheCount = static_cast<unsigned>(m_palette->GetEntryCount());
    m_cachePalette = m_palette->id();
    m_cachePaletteVersion = m_palette->version();
    m_cacheDisplayVersion = hardware;
}

uint8_t CDC::nearestValue(COLORREF key) const {
    refreshColorCache();
    const size_t slot = slotOf(key);
    if (m_cacheKey[slot] == key) return m_cacheValue[slot];
    // Palette-relative colours take the nearest entry of the selected
    // palette, plain ones the nearest colour the hardware shows.
    const uint8_t value = (key >> 24) == 0x02
                              ? m_palette->hardwareIndex(m_palette->GetNearestPaletteIndex(key & 0x00FFFFFF))
                              : static_cast<uint8_t>(nearestHardwareIndex(display().hardwarePalette(), key));
    m_cacheKey[slot] = key;
    m_cacheValue[slot] = value;
    return value;
}

uint32_t CDC::resolve(COLORREF color) const {
    const uint32_t form = color >> 24;
    if (bitsPerPixel() != 8) {
        if (form == 0x01) return m_palette->entryColor(color & 0xFFFF);
        return color & 0x00FFFFFF;
    }
    refreshColorCache();
    if (form == 0x01) {
        if (!m_cacheCount) return 0;
        const unsigned i = color & 0xFFFF;
        return m_cacheMap[i < m_cacheCount ? i : 0];
    }
    const uint32_t key = form == 0x02 ? color : color & 0x00FFFFFF;
    const size_t slot = slotOf(key);
    return m_cacheKey[slot] == key ? m_cacheValue[slot] : nearestValue(key);
}

CPalette* CDC::SelectPalette(CPalette* palette, bool /*forceBackground*/) {
    CPalette* old = m_palette;
    m_palette = palette && palette->valid() ? palette : &CPalette::defaultPalette();
    return old;
}

unsigned CDC::RealizePalette() { return m_palette->realize(); }

int CDC::GetDeviceCaps(int index) const {
    const CDisplay& display = CDisplay::instance();
    const int bits = bitsPerPixel() ? bitsPerPixel() : display.bitsPerPixel();
    const bool palette = bits == 8;
    switch (index) {
        case HORZRES:
            return m_surface ? m_surface->width() : 0;
        case VERTRES:
            return m_surface ? m_surface->height() : 0;
        case BITSPIXEL:
            return bits;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return palette ? CDisplay::kReservedEntries : -1;
        case RASTERCAPS:
            return RC_BITBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
                   (palette ? RC_PALETTE : 0);
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        case SIZEPALETTE:
            return palette ? 256 : 0;
        case NUMRESERVED:
            return palette ? CDisplay::kReservedEntries : 0;
        case COLORRES:
            return palette ? 18 : 24;
        default:
            return 0;
    }
}
