#pragma once
// The plain value types of the drawing and window services, with the meaning
// and layout their callers expect: rectangles that exclude their right and
// bottom edge, colour references in the 0x00BBGGRR layout, palette entries.

#include <algorithm>
#include <cstdint>

using BYTE = uint8_t;
using COLORREF = uint32_t;

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const RECT&, const RECT&) = default;
};

// The overlap of two rectangles; empty (all zero) when they do not meet.
inline RECT intersectRect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.empty() ? RECT{} : r;
}

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline RECT unionRect(const RECT& a, const RECT& b) {
    if (a.empty()) return b.empty() ? RECT{} : b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Polygon fill modes: ALTERNATE fills where a ray to the outside crosses the
// outline an odd number of times, WINDING wherever the outline winds round.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// Palette-relative RGB: on a palette surface, the nearest entry of the palette.
constexpr COLORREF PALETTERGB(int r, int g, int b) { return 0x02000000u | RGB(r, g, b); }
// An entry of the selected palette by number.
constexpr COLORREF PALETTEINDEX(int i) { return 0x01000000u | static_cast<COLORREF>(i & 0xFFFF); }
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr bool isPaletteIndex(COLORREF c) { return (c >> 24) == 0x01; }

// Flags of a logical palette entry.
constexpr BYTE PC_RESERVED = 0x01;    // the entry will be animated
constexpr BYTE PC_EXPLICIT = 0x02;    // the entry names a hardware entry
constexpr BYTE PC_NOCOLLAPSE = 0x04;  // the entry takes a free hardware entry of its own

struct PALETTEENTRY {
    BYTE peRed = 0;
    BYTE peGreen = 0;
    BYTE peBlue = 0;
    BYTE peFlags = 0;
    friend bool operator==(const PALETTEENTRY&, const PALETTEENTRY&) = default;
};
