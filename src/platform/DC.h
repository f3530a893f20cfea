#pragma once
// A device context: the drawing state (pen, brush, current position, text
// colour) over one surface, with the pixel rules of the classic GDI that the
// styles were made for: rectangles exclude their right and bottom edge, a
// line leaves out its last pixel, and whatever falls outside the surface is
// clipped, never an error.

#include "platform/Surface.h"
#include "platform/WinTypes.h"

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
    // position; (x, y) itself is not drawn by a one-pixel pen.
    void LineTo(int x, int y);

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

    // Shapes (DCShapes.cpp).
    void strokePath(const POINT* points, int count, bool closed);
    CBrush m_brush;
    int m_polyFillMode = ALTERNATE;
};

// The hardware entry nearest to a colour (squared distance in RGB; the
// lowest index wins a tie).
int nearestHardwareIndex(const std::array<uint32_t, 256>& hardware, COLORREF color);
