#pragma once
// A device context: the drawing state (pen, brush, current position, text
// colour) over one surface, with the pixel rules of the classic GDI that the
// styles were made for: rectangles exclude their right and bottom edge, a
// line leaves out its last pixel, and whatever falls outside the surface is
// clipped, never an error.

#include "platform/Font.h"
#include "platform/Surface.h"
#include "platform/WinTypes.h"
// Palettes, capabilities, block transfers and DIBs:
#include "platform/DeviceCaps.h"
#include "platform/Dib.h"
#include "platform/Palette.h"

enum class PenStyle { Solid, Null };

// A pen one pixel wide (width 1 or less), or a wider one with round ends
// and round joins, centred on the path it strokes.
struct CPen {
    PenStyle style = PenStyle::Solid;
    COLORREF color = RGB(0, 0, 0);
    int width = 1;
};

// Shapes: brushes and regions (DCShapes.cpp, Region.h). A fresh device
// context has a white solid brush.
enum class BrushStyle { Solid, Null };
struct CBrush {
    BrushStyle style = BrushStyle::Solid;
    COLORREF color = RGB(255, 255, 255);
};
class CRgn;

class CDC {
public:
    explicit CDC(CSurface* surface) : m_surface(surface) {}

    CSurface* surface() const { return m_surface; }
    int bitsPerPixel() const { return m_surface && m_surface->valid() ? m_surface->bitsPerPixel() : 0; }

    // The stored value a colour takes on this surface: the colour reference
    // itself on 32 bits (an index form reads the hardware palette), the
    // nearest hardware entry on 8 bits.
    uint32_t resolve(COLORREF color) const;

    COLORREF SetPixel(int x, int y, COLORREF color);
    // The colour at a point as a plain colour reference; CLR_INVALID outside.
    COLORREF GetPixel(int x, int y) const;
    static constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

    void FillRect(const RECT& r, COLORREF color);

    CPen SelectPen(const CPen& pen) {
        CPen old = m_pen;
        m_pen = pen;
        return old;
    }
    POINT MoveTo(int x, int y) {
        POINT old = m_position;
        m_position = {x, y};
        return old;
    }
    // A line from the current position to (x, y), which becomes the current
    // position; (x, y) itself is not drawn by a one-pixel pen.
    void LineTo(int x, int y);

    // Text. A new context draws with the stock font (fontconfig's default
    // face, 16 pixels per em), black, on an opaque white background, with
    // the reference point at the top left of the text. The caller owns a
    // selected font and keeps it alive while it is selected.
    CFont* SelectFont(CFont* font);  // nullptr selects the stock font; returns the previous one
    // Each setter returns the previous setting. The background mode is
    // TRANSPARENT or OPAQUE (which fills the text's cell with the background
    // colour); the alignment is TA_LEFT, TA_RIGHT or TA_CENTER or-ed with
    // TA_TOP, TA_BOTTOM or TA_BASELINE.
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    unsigned SetTextAlign(unsigned align);
    // Writes the text at (x, y) as the alignment places it, clipped to the
    // surface; false when there is nothing to draw with.
    bool TextOut(int x, int y, std::string_view text);
    SIZE GetTextExtentPoint32(std::string_view text) const;
    TEXTMETRIC GetTextMetrics() const;

    // ---- Palettes, capabilities, block transfers and DIBs
    //      (DCPalette.cpp, DCBlit.cpp, DCDib.cpp) ----

    // Selects a palette (nullptr: the default palette) and returns the one
    // selected before. The palette must outlive its selection.
    CPalette* SelectPalette(CPalette* palette, bool forceBackground = false);
    CPalette* currentPalette() const { return m_palette; }
    // Realises the selected palette on a palette display (CPalette::realize).
    unsigned RealizePalette();
    // HORZRES, VERTRES, BITSPIXEL, PLANES, NUMCOLORS, RASTERCAPS, LOGPIXELSX,
    // LOGPIXELSY, SIZEPALETTE, NUMRESERVED, COLORRES; 0 for anything else.
    int GetDeviceCaps(int index) const;

    // A bitmap (surface) of the given size with this context's depth, or,
    // without a surface, the display's; invalid for an impossible size.
    CSurface CreateCompatibleBitmap(int width, int height) const;
    // A memory context with no bitmap yet and this context's palette.
    CDC CreateCompatibleDC() const;
    // Makes the context draw on another surface; returns the previous one.
    CSurface* SelectBitmap(CSurface* bitmap);

    // Block copies (SRCCOPY only; any other operation returns false). A
    // negative extent runs from its origin leftwards or upwards, so that
    // extents of opposite sign mirror; the nearest source pixel is taken
    // when the sizes differ. Source and destination may be the same surface
    // and overlap: the result is as if the source were read first. Pixels
    // whose source lies outside the source surface are left alone. Between
    // depths, colours go through the hardware palette or to the nearest entry.
    bool BitBlt(int x, int y, int width, int height, const CDC* source, int xSrc, int ySrc,
                uint32_t rop = SRCCOPY);
    bool StretchBlt(int x, int y, int width, int height, const CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, uint32_t rop = SRCCOPY);
    // Shifts the pixels of `scroll` (null: the clip rectangle) by (dx, dy);
    // only pixels inside `clip` (null: the surface) are read or written.
    // `update`, when given, receives the bounding rectangle of the part of
    // the scrolled area that was uncovered.
    bool ScrollDC(int dx, int dy, const RECT* scroll, const RECT* clip, RECT* update);

    // DIB transfer, colours given as RGB (DIB_RGB_COLORS). Source y is
    // counted from the bottom row for a bottom-up DIB, from the top for a
    // top-down one. `bits` holds `lines` rows starting at `startScan` (in
    // memory order) in `bitsLength` bytes. Return the number of rows given
    // when all of them were inside the buffer, else 0 (a bad header draws
    // nothing; a short buffer draws the rows it holds).
    int SetDIBitsToDevice(int x, int y, int width, int height, int xSrc, int ySrc, unsigned startScan,
                          unsigned lines, const void* bits, size_t bitsLength, const BITMAPINFO& info,
                          uint32_t usage = DIB_RGB_COLORS);
    int StretchDIBits(int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth, int srcHeight,
                      const void* bits, size_t bitsLength, const BITMAPINFO& info,
                      uint32_t usage = DIB_RGB_COLORS, uint32_t rop = SRCCOPY);

    // Runs of one row (DCBlend.cpp), [x0, x1) clipped to the surface, each
    // pixel exactly as GetPixel and SetPixel one by one would make it, with
    // one changed area per run. BlendSpan weighs the plain colour `color`
    // by `opacity` (1..255) against the pixel beneath, channel by channel
    // with integer division by 255; InvertSpan makes black pixels white and
    // all others black.
    void BlendSpan(int y, int x0, int x1, COLORREF color, int opacity);
    void InvertSpan(int y, int x0, int x1);

    // Shapes (DCShapes.cpp). Outlines take the pen, interiors the brush; a
    // wide pen reaches past the outline by half its width.
    CBrush SelectBrush(const CBrush& brush) {
        CBrush old = m_brush;
        m_brush = brush;
        return old;
    }
    const CPen& pen() const { return m_pen; }
    const CBrush& brush() const { return m_brush; }
    POINT GetCurrentPosition() const { return m_position; }
    // ALTERNATE (the start) or WINDING; returns the previous mode, 0 for any other value.
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return m_polyFillMode; }
    // Joined lines through the points; a one-pixel pen leaves out the last
    // point. The current position is neither used nor changed. False for fewer than 2 points.
    bool Polyline(const POINT* points, int count);
    // The closed polygon: its interior by the fill mode, then its outline.
    bool Polygon(const POINT* points, int count);
    // Cubic curves: a start point, then three points (two controls and an
    // end) per curve; false unless count is 3n + 1 with n >= 1.
    bool PolyBezier(const POINT* points, int count);
    // Right and bottom edges excluded; without a pen the interior is one
    // pixel narrower and lower, as in GDI. Corners may come in either order.
    bool Rectangle(int left, int top, int right, int bottom);
    // The ellipse inscribed in the rectangle, which it touches on all sides.
    bool Ellipse(int left, int top, int right, int bottom);
    bool FillRgn(const CRgn& rgn, const CBrush& brush);
    bool PaintRgn(const CRgn& rgn);  // with the selected brush

private:
    void plot(int x, int y, uint32_t value);
    void span(int y, int x0, int x1, uint32_t value);  // [x0, x1) clipped

    CSurface* m_surface;
    CPen m_pen;
    POINT m_position;

    // Text state.
    const CFont& currentFont() const;
    CFont* m_font = nullptr;  // nullptr: the stock font
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    unsigned m_textAlign = TA_LEFT | TA_TOP;

    // ---- Palette state and the cache of resolved colours (DCPalette.cpp) ----
    // Colours resolved to the nearest entry on an 8-bit surface, in a small
    // direct-mapped table that is emptied whenever the palette or the
    // hardware palette changes.
    static constexpr size_t kColorCacheSize = 256;
    void refreshColorCache() const;
    uint8_t nearestValue(COLORREF color) const;  // key normalised, cache filled
    // The DIB transfer behind both public forms (DCDib.cpp).
    bool transferDib(int x, int y, int width, int height, int xSrc, int yTopDown, int srcWidth, int srcHeight,
                     unsigned startScan, unsigned lines, const void* bits, size_t bitsLength,
                     const BITMAPINFO& info, bool* complete);

    CPalette* m_palette = &CPalette::defaultPalette();
    mutable uint64_t m_cachePalette = 0;
    mutable uint64_t m_cachePaletteVersion = 0;
    mutable uint64_t m_cacheDisplayVersion = ~uint64_t{0};
    mutable const uint8_t* m_cacheMap = nullptr;  // the palette's hardware entries
    mutable unsigned m_cacheCount = 0;
    mutable std::array<uint32_t, kColorCacheSize> m_cacheKey{};
    mutable std::array<uint8_t, kColorCacheSize> m_cacheValue{};

    // Shapes (DCShapes.cpp).
    void strokePath(const POINT* points, int count, bool closed);
    CBrush m_brush;
    int m_polyFillMode = ALTERNATE;
};

// The hardware entry nearest to a colour (squared distance in RGB; the
// lowest index wins a tie).
int nearestHardwareIndex(const std::array<uint32_t, 256>& hardware, COLORREF color);
