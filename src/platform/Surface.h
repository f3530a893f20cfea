#pragma once
// Pixel storage and the emulated display.
//
// A CSurface holds either 32-bit pixels in the colour-reference layout
// (0x00BBGGRR) or 8-bit indices into the display's hardware palette. Every
// drawing operation records the area it touched, so that a presenter can
// upload only what changed.
//
// CDisplay stands for the screen the program runs on: its depth (32 bits per
// pixel, or 8 after the switch that colour animation asks for) and, at 8 bits,
// the 256-entry hardware palette through which indices are shown. Changing
// hardware entries changes what is on the screen without any repaint: the
// presenter maps indices through the current entries on every present.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"

class CSurface {
public:
    // An invalid surface: no pixels.
    CSurface() = default;
    // `bitsPerPixel` is 32 or 8; any other depth, or a size that is not
    // positive or too large to allocate, leaves the surface invalid.
    CSurface(int width, int height, int bitsPerPixel);

    bool valid() const { return m_width > 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int bitsPerPixel() const { return m_bitsPerPixel; }
    RECT bounds() const { return {0, 0, m_width, m_height}; }

    // Rows; y must be within 0..height-1 and the depth must match.
    uint32_t* row32(int y) { return m_pixels32.data() + static_cast<size_t>(y) * m_width; }
    const uint32_t* row32(int y) const { return m_pixels32.data() + static_cast<size_t>(y) * m_width; }
    uint8_t* row8(int y) { return m_pixels8.data() + static_cast<size_t>(y) * m_width; }
    const uint8_t* row8(int y) const { return m_pixels8.data() + static_cast<size_t>(y) * m_width; }

    // The stored value at a point (a colour reference, or an index widened);
    // 0 outside the surface.
    uint32_t at(int x, int y) const;

    // Areas touched since the last takeChanged(), as one bounding rectangle.
    void markChanged(const RECT& r) { m_changed = unionRect(m_changed, intersectRect(r, bounds())); }
    void markAllChanged() { m_changed = bounds(); }
    RECT takeChanged() {
        RECT r = m_changed;
        m_changed = {};
        return r;
    }

private:
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    std::vector<uint32_t> m_pixels32;
    std::vector<uint8_t> m_pixels8;
    RECT m_changed{};
};

class CDisplay {
public:
    static constexpr int kReservedEntries = 20;  // 10 at each end of the hardware palette

    // The display of this process.
    static CDisplay& instance();

    int bitsPerPixel() const { return m_bitsPerPixel; }
    bool isPaletteDevice() const { return m_bitsPerPixel == 8; }
    // The display-mode change: 8 or 32 bits per pixel. Returns false for any
    // other depth. Switching to 8 loads the static entries into the hardware
    // palette.
    bool setBitsPerPixel(int bits);
    // The depth the display had at start-up; setBitsPerPixel(startBits()) undoes a switch.
    int startBits() const { return m_startBits; }
    // Sets the depth the display starts with (for --depth and tests).
    void reset(int bitsPerPixel);

    // The hardware palette as colour references; entries 0..9 and 246..255
    // are the static colours.
    const std::array<uint32_t, 256>& hardwarePalette() const { return m_hardware; }
    void setHardwareEntries(int first, int count, const PALETTEENTRY* entries);
    // Counts every change of the hardware palette, so that a presenter knows
    // when a whole surface must be shown again.
    uint64_t paletteVersion() const { return m_paletteVersion; }
    // The twenty static colours of a palette display, in hardware order.
    static const std::array<PALETTEENTRY, kReservedEntries>& staticEntries();

    // The logical palette whose entries the free hardware entries now hold
    // (its id), 0 for none. A change of depth forgets it. Another palette
    // taking over counts as a change of the hardware palette, since the
    // entries of the previous one are then shown by other hardware entries.
    uint64_t realizedPalette() const { return m_realizedPalette; }
    void setRealizedPalette(uint64_t paletteId) {
        if (paletteId == m_realizedPalette) return;
        m_realizedPalette = paletteId;
        ++m_paletteVersion;
    }

private:
    CDisplay();
    int m_bitsPerPixel = 32;
    int m_startBits = 32;
    std::array<uint32_t, 256> m_hardware{};
    uint64_t m_paletteVersion = 0;
    uint64_t m_realizedPalette = 0;
};

// Writes `area` of `surface` as 0x00BBGGRR pixels into `dst` (row pitch in
// pixels), mapping indices of an 8-bit surface through `hardware`. The area
// is clipped to the surface.
void convertToColorRefs(const CSurface& surface, const RECT& area, const std::array<uint32_t, 256>& hardware,
                        uint32_t* dst, int dstPitch);
