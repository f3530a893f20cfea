#include "platform/Surface.h"

#include <new>

namespace {

// Larger surfaces than this (in pixels) are refused rather than allocated:
// 16384 x 16384 is beyond any screen and any still a user would ask for.
constexpr int64_t kMaxPixels = int64_t{16384} * 16384;

}  // namespace

CSurface::CSurface(int width, int height, int bitsPerPixel) {
    if (width <= 0 || height <= 0 || (bitsPerPixel != 32 && bitsPerPixel != 8)) return;
    if (int64_t{width} * height > kMaxPixels) return;
    try {
        const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
        if (bitsPerPixel == 32)
            m_pixels32.assign(n, 0);
        else
            m_pixels8.assign(n, 0);
    } catch (const std::bad_alloc&) {
        m_pixels32.clear();
        m_pixels8.clear();
        return;
    }
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
}

uint32_t CSurface::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_bitsPerPixel == 32 ? row32(y)[x] : row8(y)[x];
}

const std::array<PALETTEENTRY, CDisplay::kReservedEntries>& CDisplay::staticEntries() {
    static const std::array<PALETTEENTRY, kReservedEntries> entries{{
        {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
        {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
    }};
    return entries;
}

CDisplay& CDisplay::instance() {
    static CDisplay display;
    return display;
}

CDisplay::CDisplay() {
    reset(32);
}

void CDisplay::reset(int bitsPerPixel) {
    m_startBits = bitsPerPixel == 8 ? 8 : 32;
    m_bitsPerPixel = 32;
    setBitsPerPixel(m_startBits);
}

bool CDisplay::setBitsPerPixel(int bits) {
    if (bits != 8 && bits != 32) return false;
    m_bitsPerPixel = bits;
    m_realizedPalette = 0;
    if (bits == 8) {
        // Free entries start black; the static colours sit at both ends.
        m_hardware.fill(0);
        const auto& s = staticEntries();
        setHardwareEntries(0, kReservedEntries / 2, s.data());
        setHardwareEntries(256 - kReservedEntries / 2, kReservedEntries / 2,
                           s.data() + kReservedEntries / 2);
    }
    ++m_paletteVersion;
    return true;
}

void CDisplay::setHardwareEntries(int first, int count, const PALETTEENTRY* entries) {
    if (!entries) return;
    for (int i = 0; i < count; ++i) {
        const int at = first + i;
        if (at < 0 || at > 255) continue;
        m_hardware[static_cast<size_t>(at)] =
            RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
    }
    ++m_paletteVersion;
}

void convertToColorRefs(const CSurface& surface, const RECT& area,
                        const std::array<uint32_t, 256>& hardware, uint32_t* dst, int dstPitch) {
    const RECT r = intersectRect(area, surface.bounds());
    if (r.empty() || !dst) return;
    const size_t w = static_cast<size_t>(r.width());
    for (int y = r.top; y < r.bottom; ++y) {
        uint32_t* out = dst + static_cast<size_t>(y - r.top) * static_cast<size_t>(dstPitch);
        if (surface.bitsPerPixel() == 32) {
            const uint32_t* in = surface.row32(y) + r.left;
            std::copy(in, in + w, out);
        } else {
            const uint8_t* in = surface.row8(y) + r.left;
            for (size_t x = 0; x < w; ++x) out[x] = hardware[in[x]];
        }
    }
}
