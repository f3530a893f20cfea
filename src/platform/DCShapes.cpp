// Pens, brushes, lines, polygons, rectangles, ellipses, curves and regions:
// the device context's side. The pixels come from the scan conversion in
// Raster.cpp; this file chooses the pixel value and writes the runs.

#include <algorithm>
#include <climits>
#include <cwchar>
#include <new>
#include <vector>

#include "platform/DC.h"
#include "platform/Raster.h"
#include "platform/Region.h"

namespace {

// Fills n pixels of a 32-bit row. Where the C library's wide characters are
// 32 bits, its wmemset picks the widest stores the processor has, which
// long runs profit from.
inline void fill32(uint32_t* p, size_t n, uint32_t v) {
    if constexpr (sizeof(wchar_t) == sizeof(uint32_t)) {
        if (n >= 16) {
            std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(v), n);
            return;
        }
    }
    std::fill(p, p + n, v);
}

// Writes runs of one stored value into a surface and, when done, marks the
// bounding box of what it wrote as changed.
class SurfaceWriter final : public SpanSink {
public:
    SurfaceWriter(CSurface& surface, uint32_t value) : m_surface(surface), m_value(value) {}
    SurfaceWriter(const SurfaceWriter&) = delete;
    SurfaceWriter& operator=(const SurfaceWriter&) = delete;
    ~SurfaceWriter() {
        if (m_x0 < m_x1) m_surface.markChanged({m_x0, m_y0, m_x1, m_y1});
    }

    void span(int y, int x0, int x1) override {
        // The producers clip already; this keeps any slip inside the buffer.
        if (y < 0 || y >= m_surface.height()) return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, m_surface.width());
        if (x0 >= x1) return;
        if (m_surface.bitsPerPixel() == 32) {
            fill32(m_surface.row32(y) + x0, static_cast<size_t>(x1 - x0), m_value);
        } else {
            uint8_t* row = m_surface.row8(y);
            std::fill(row + x0, row + x1, static_cast<uint8_t>(m_value));
        }
        m_x0 = std::min(m_x0, x0);
        m_x1 = std::max(m_x1, x1);
        m_y0 = std::min(m_y0, y);
        m_y1 = std::max(m_y1, y + 1);
    }

private:
    CSurface& m_surface;
    uint32_t m_value;
    int m_x0 = INT_MAX, m_y0 = INT_MAX, m_x1 = INT_MIN, m_y1 = INT_MIN;
};

RECT normalized(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

void rectSpans(const RECT& r, const RECT& clip, SpanSink& sink) {
    const RECT c = intersectRect(r, clip);
    for (int y = c.top; y < c.bottom; ++y) sink.span(y, c.left, c.right);
}

// `r` grown by `by` on every side, within the 32-bit range.
RECT grown(const RECT& r, int64_t by) {
    auto sat = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return {sat(r.left - by), sat(r.top - by), sat(r.right + by), sat(r.bottom + by)};
}

thread_local std::vector<POINT> tCurve;

}  // namespace

int CDC::SetPolyFillMode(int mode) {
    if (mode != ALTERNATE && mode != WINDING) return 0;
    const int old = m_polyFillMode;
    m_polyFillMode = mode;
    return old;
}

void CDC::strokePath(const POINT* points, int count, bool closed) {
    if (!bitsPerPixel() || m_pen.style == PenStyle::Null || !points || count < 1) return;
    SurfaceWriter out(*m_surface, resolve(m_pen.color));
    const RECT clip = m_surface->bounds();
    if (m_pen.width > 1) {
        rasterWidePath(points, count, closed, m_pen.width, clip, out);
        return;
    }
    for (int i = 0; i + 1 < count; ++i) rasterLine(points[i], points[i + 1], clip, out);
    // A closed outline of two points runs there and back.
    if (closed && count >= 2) rasterLine(points[count - 1], points[0], clip, out);
}

bool CDC::Polyline(const POINT* points, int count) {
    if (!points || count < 2) return false;
    strokePath(points, count, false);
    return true;
}

bool CDC::Polygon(const POINT* points, int count) {
    if (!points || count < 2) return false;
    if (bitsPerPixel() && m_brush.style == BrushStyle::Solid) {
        SurfaceWriter out(*m_surface, resolve(m_brush.color));
        rasterPolygon(points, count, m_polyFillMode, m_surface->bounds(), out);
    }
    strokePath(points, count, true);
    return true;
}

bool CDC::PolyBezier(const POINT* points, int count) {
    if (!points || count < 4 || (count - 1) % 3 != 0) return false;
    if (!bitsPerPixel() || m_pen.style == PenStyle::Null) return true;
    std::vector<POINT>& curve = tCurve;
    curve.clear();
    // Precision matters only where the pen can reach the surface.
    const RECT keep = grown(m_surface->bounds(), int64_t{std::max(m_pen.width, 1)} / 2 + 2);
    try {
        flattenBeziers(points, count, keep, curve);
    } catch (const std::bad_alloc&) {
        return false;
    }
    strokePath(curve.data(), static_cast<int>(curve.size()), false);
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    const RECT r = normalized(left, top, right, bottom);
    if (r.empty()) return false;
    if (!bitsPerPixel()) return true;
    const RECT clip = m_surface->bounds();
    const bool pen = m_pen.style != PenStyle::Null;
    if (m_brush.style == BrushStyle::Solid) {
        SurfaceWriter out(*m_surface, resolve(m_brush.color));
        // Inside the one-pixel frame; with no pen, the frame's right and bottom are not painted.
        rectSpans(pen ? RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}
                      : RECT{r.left, r.top, r.right - 1, r.bottom - 1},
                  clip, out);
    }
    if (!pen) return true;
    if (m_pen.width > 1) {
        const POINT corners[4] = {
            {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
        strokePath(corners, 4, true);
        return true;
    }
    SurfaceWriter out(*m_surface, resolve(m_pen.color));
    rectSpans({r.left, r.top, r.right, r.top + 1}, clip, out);
    if (r.bottom - 1 > r.top) rectSpans({r.left, r.bottom - 1, r.right, r.bottom}, clip, out);
    rectSpans({r.left, r.top + 1, r.left + 1, r.bottom - 1}, clip, out);
    if (r.right - 1 > r.left) rectSpans({r.right - 1, r.top + 1, r.right, r.bottom - 1}, clip, out);
    return true;
}

bool CDC::Ellipse(int left, int top, int right, int bottom) {
    const RECT r = normalized(left, top, right, bottom);
    if (r.empty()) return false;
    if (!bitsPerPixel()) return true;
    const RECT clip = m_surface->bounds();
    const bool brush = m_brush.style == BrushStyle::Solid;
    if (m_pen.style == PenStyle::Null) {
        if (!brush) return true;
        SurfaceWriter out(*m_surface, resolve(m_brush.color));
        rasterEllipse({r.left, r.top, r.right - 1, r.bottom - 1}, clip, &out, &out);
        return true;
    }
    SurfaceWriter outline(*m_surface, resolve(m_pen.color));
    if (brush) {
        SurfaceWriter inside(*m_surface, resolve(m_brush.color));
        if (m_pen.width > 1)
            rasterEllipseBand(r, m_pen.width, clip, &outline, &inside);
        else
            rasterEllipse(r, clip, &outline, &inside);
    } else if (m_pen.width > 1) {
        rasterEllipseBand(r, m_pen.width, clip, &outline, nullptr);
    } else {
        rasterEllipse(r, clip, &outline, nullptr);
    }
    return true;
}

bool CDC::FillRgn(const CRgn& rgn, const CBrush& brush) {
    if (!bitsPerPixel()) return false;
    if (brush.style == BrushStyle::Null) return true;
    SurfaceWriter out(*m_surface, resolve(brush.color));
    rgn.spans(m_surface->bounds(), out);
    return true;
}

bool CDC::PaintRgn(const CRgn& rgn) { return FillRgn(rgn, m_brush); }
