// Compatible bitmaps and memory contexts, block copies and scrolling.

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/BlitAxis.h"
#include "platform/DC.h"

namespace {

// Copies the mapped pixels row by row: destination row ys.lo + k takes
// source row ys.src[k], column xs.lo + i takes source column xs.src[i].
// `convert` turns a source pixel into a destination value.
template <typename Src, typename Dst, typename Convert>
void copyMapped(const CSurface& source, CSurface& dest, const AxisMap& xs, const AxisMap& ys,
                Convert convert) {
    const int n = static_cast<int>(xs.src.size());
    const int32_t* columns = xs.src.data();
    for (size_t k = 0; k < ys.src.size(); ++k) {
        const int y = ys.lo + static_cast<int>(k);
        Dst* out = pixelRow<Dst>(dest, y) + xs.lo;
        // Rows that repeat the source row above repeat the row just written.
        if (k > 0 && ys.src[k] == ys.src[k - 1]) {
            std::memcpy(out, pixelRow<Dst>(dest, y - 1) + xs.lo, sizeof(Dst) * n);
            continue;
        }
        const Src* in = pixelRow<Src>(source, ys.src[k]);
        if (xs.identity) {
            const Src* from = in + columns[0];
            for (int i = 0; i < n; ++i) out[i] = convert(from[i]);
        } else {
            for (int i = 0; i < n; ++i) out[i] = convert(in[columns[i]]);
        }
    }
}

// The raw copy of one depth to the same depth where every source row and
// column is taken once in order: row moves, ordered so that a source
// overlapping the destination on the same surface is read before it is
// overwritten.
template <typename Pixel>
void moveRows(const CSurface& source, CSurface& dest, const AxisMap& xs, const AxisMap& ys) {
    const size_t bytes = sizeof(Pixel) * xs.src.size();
    const int rows = static_cast<int>(ys.src.size());
    // Whole rows of equally wide surfaces lie end to end: one move.
    if (xs.lo == 0 && xs.src[0] == 0 && static_cast<int>(xs.src.size()) == dest.width() &&
        source.width() == dest.width()) {
        std::memmove(pixelRow<Pixel>(dest, ys.lo), pixelRow<Pixel>(source, ys.src[0]),
                     bytes * static_cast<size_t>(rows));
        return;
    }
    const bool upwards = ys.src[0] < ys.lo;  // source above: start at the bottom
    for (int r = 0; r < rows; ++r) {
        const int k = upwards ? rows - 1 - r : r;
        std::memmove(pixelRow<Pixel>(dest, ys.lo + k) + xs.lo,
                     pixelRow<Pixel>(source, ys.src[static_cast<size_t>(k)]) + xs.src[0], bytes);
    }
}

// The bounding rectangle of `a` without `b`.
RECT boundsOfDifference(const RECT& a, const RECT& b) {
    const RECT both = intersectRect(a, b);
    if (both.empty()) return a;
    RECT r{};
    if (both.top > a.top) r = unionRect(r, {a.left, a.top, a.right, both.top});
    if (both.bottom < a.bottom) r = unionRect(r, {a.left, both.bottom, a.right, a.bottom});
    if (both.left > a.left) r = unionRect(r, {a.left, both.top, both.left, both.bottom});
    if (both.right < a.right) r = unionRect(r, {both.right, both.top, a.right, both.bottom});
    return r;
}

}  // namespace

CSurface CDC::CreateCompatibleBitmap(int width, int height) const {
    const int bits = bitsPerPixel() ? bitsPerPixel() : CDisplay::instance().bitsPerPixel();
    return CSurface(width, height, bits);
}

CDC CDC::CreateCompatibleDC() const {
    CDC memory(nullptr);
    memory.m_palette = m_palette;
    return memory;
}

CSurface* CDC::SelectBitmap(CSurface* bitmap) {
    CSurface* old = m_surface;
    m_surface = bitmap;
    return old;
}

bool CDC::BitBlt(int x, int y, int width, int height, const CDC* source, int xSrc, int ySrc, uint32_t rop) {
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

bool CDC::StretchBlt(int x, int y, int width, int height, const CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, uint32_t rop) {
    if (rop != SRCCOPY || !bitsPerPixel() || !source || !source->bitsPerPixel()) return false;
    if (!width || !height || !srcWidth || !srcHeight) return true;
    const CSurface* from = source->surface();
    AxisMap xs, ys;
    if (!mapAxis(x, width, xSrc, srcWidth, m_surface->width(), from->width(), xs) ||
        !mapAxis(y, height, ySrc, srcHeight, m_surface->height(), from->height(), ys))
        return true;
    const RECT touched{xs.lo, ys.lo, xs.lo + static_cast<int>(xs.src.size()),
                       ys.lo + static_cast<int>(ys.src.size())};
    const int srcBits = from->bitsPerPixel(), dstBits = m_surface->bitsPerPixel();
    if (srcBits == dstBits && xs.identity && ys.identity) {
        if (dstBits == 32)
            moveRows<uint32_t>(*from, *m_surface, xs, ys);
        else
            moveRows<uint8_t>(*from, *m_surface, xs, ys);
        m_surface->markChanged(touched);
        return true;
    }
    // A scaled or mirrored copy within one surface reads a copy of the source.
    CSurface staged;
    if (from == m_surface) {
        const auto [x0, x1] = std::minmax_element(xs.src.begin(), xs.src.end());
        const auto [y0, y1] = std::minmax_element(ys.src.begin(), ys.src.end());
        const int left = *x0, top = *y0;
        staged = CSurface(*x1 - left + 1, *y1 - top + 1, srcBits);
        if (!staged.valid()) return false;
        for (int r = 0; r < staged.height(); ++r)
            std::memcpy(
                srcBits == 32 ? static_cast<void*>(staged.row32(r)) : static_cast<void*>(staged.row8(r)),
                srcBits == 32 ? static_cast<const void*>(from->row32(top + r) + left)
                              : static_cast<const void*>(from->row8(top + r) + left),
                static_cast<size_t>(staged.width()) * (srcBits / 8));
        for (auto& c : xs.src) c -= left;
        for (auto& r : ys.src) r -= top;
        from = &staged;
    }
    if (srcBits == 32 && dstBits == 32) {
        copyMapped<uint32_t, uint32_t>(*from, *m_surface, xs, ys, [](uint32_t v) { return v; });
    } else if (srcBits == 8 && dstBits == 8) {
        copyMapped<uint8_t, uint8_t>(*from, *m_surface, xs, ys, [](uint8_t v) { return v; });
    } else if (srcBits == 8) {
        const auto& hardware = CDisplay::instance().hardwarePalette();
        copyMapped<uint8_t, uint32_t>(*from, *m_surface, xs, ys,
                                      [&hardware](uint8_t v) { return hardware[v]; });
    } else {
        copyMapped<uint32_t, uint8_t>(*from, *m_surface, xs, ys,
                                      [this](uint32_t v) { return nearestValue(v & 0x00FFFFFF); });
    }
    m_surface->markChanged(touched);
    return true;
}

bool CDC::ScrollDC(int dx, int dy, const RECT* scroll, const RECT* clip, RECT* update) {
    if (update) *update = {};
    if (!bitsPerPixel()) return false;
    const RECT bounds = m_surface->bounds();
    const RECT c = clip ? intersectRect(*clip, bounds) : bounds;
    const RECT src = scroll ? intersectRect(*scroll, c) : c;
    if (src.empty()) return true;
    // Shifts beyond the surface move nothing; clamping keeps the sums in range.
    const int limit = 1 << 24;
    dx = std::clamp(dx, -limit, limit);
    dy = std::clamp(dy, -limit, limit);
    const RECT dst = intersectRect({src.left + dx, src.top + dy, src.right + dx, src.bottom + dy}, c);
    if (!dst.empty()) BitBlt(dst.left, dst.top, dst.width(), dst.height(), this, dst.left - dx, dst.top - dy);
    if (update) *update = boundsOfDifference(src, dst);
    return true;
}
