#pragma once
// A device context: the drawing state (pen, brush, current position, text
// colour) over one surface, with the pixel rules of the classic GDI that the
// styles were made for: rectangles exclude their right and bottom edge, a
// line leaves out its last pixel, and whatever falls outside the surface is
// clipped, never an error.

#include "platform/Font.h"
#include "platform/Surface.h"
#include "platform/WinTypes.h"

enum class PenStyle { Solid, Null };

// A cosmetic pen, one pixel wide.
struct CPen {
    PenStyle style = PenStyle::Solid;
    COLORREF color = RGB(0, 0, 0);
};

class CDC {
  public:
    explicit CDC(CSurface* surface) : m_surface(surface) {}

    CSurface* surface() const { return m_surface; }
    int bitsPerPixel() const {
        return m_surface && m_surface->valid() ? m_surface->bitsPerPixel() : 0;
    }

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
    // position; (x, y) itself is not drawn.
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
};

// The hardware entry nearest to a colour (squared distance in RGB; the
// lowest index wins a tie).
int nearestHardwareIndex(const std::array<uint32_t, 256>& hardware, COLORREF color);
