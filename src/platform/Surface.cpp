#include "platform/Surface.h"

#include <cstring>
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
        {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
        {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
        {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
        {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
    }};
    return entries;
}

CDisplay& CDisplay::instance() {
    static CDisplay display;
    return display;
}

CDisplay::CDisplay() { reset(32); }

void CDisplay::reset(int bitsPerPixel) {
    // A display afresh: no colours left from an earlier palette mode.
    m_hardware.fill(0);
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
        setHardwareEntries(256 - kReservedEntries / 2, kReservedEntries / 2, s.data() + kReservedEntries / 2);
    }
    ++m_paletteVersion;
    return true;
}

void CDisplay::setHardwareEntries(int first, int count, const PALETTEENTRY* entries) {
    if (!entries) return;
    for (int i = 0; i < count; ++i) {
        const int at = first + i;
        if (at < 0 || at > 255) continue;
        m_hardware[static_cast<size_t>(at)] = RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
    }
    ++m_paletteVersion;
}

namespace {

// One row of indices through the table, eight at a time: one 64-bit load of
// indices, eight table reads and stores.
void indicesToColorRefs(const uint8_t* in, size_t n, const uint32_t* table, uint32_t* out) {
    size_t x = 0;
    for (; x + 8 <= n; x += 8) {
        uint64_t v;
        std::memcpy(&v, in + x, 8);
        out[x + 0] = table[v & 0xFF];
        out[x + 1] = table[(v >> 8) & 0xFF];
        out[x + 2] = table[(v >> 16) & 0xFF];
        out[x + 3] = table[(v >> 24) & 0xFF];
        out[x + 4] = table[(v >> 32) & 0xFF];
        out[x + 5] = table[(v >> 40) & 0xFF];
        out[x + 6] = table[(v >> 48) & 0xFF];
        out[x + 7] = table[v >> 56];
    }
    for (; x < n; ++x) out[x] = table[in[x]];
}

}  // namespace

void convertToColorRefs(const CSurface& surface, const RECT& area, const std::array<uint32_t, 256>& hardware,
                        uint32_t* dst, int dstPitch) {
    const RECT r = intersectRect(area, surface.bounds());
    if (r.empty() || !dst) return;
    const size_t w = static_cast<size_t>(r.width());
    // A private copy of the table: the compiler need not fear that writing
    // the output changes it, and it stays in the first-level cache.
    alignas(64) uint32_t table[256];
    std::copy(hardware.begin(), hardware.end(), table);
    for (int y = r.top; y < r.bottom; ++y) {
        uint32_t* out = dst + static_cast<size_t>(y - r.top) * static_cast<size_t>(dstPitch);
        if (surface.bitsPerPixel() == 32) {
            const uint32_t* in = surface.row32(y) + r.left;
            std::copy(in, in + w, out);
        } else {
            indicesToColorRefs(surface.row8(y) + r.left, w, table, out);
        }
    }
}
