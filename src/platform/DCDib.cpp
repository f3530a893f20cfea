// Transfer of device-independent bitmaps onto the surface.

#include <cstring>
#include <vector>

#include "platform/BlitAxis.h"
#include "platform/DC.h"

bool CDC::transferDib(int x, int y, int width, int height, int xSrc, int yTopDown, int srcWidth,
                      int srcHeight, unsigned startScan, unsigned lines, const void* bits, size_t bitsLength,
                      const BITMAPINFO& info, bool* complete) {
    *complete = false;
    const auto layout = dibLayout(info.bmiHeader);
    if (!layout || !bits || !bitsPerPixel()) return false;
    if (startScan >= static_cast<unsigned>(layout->height)) return false;
    lines = std::min(lines, static_cast<unsigned>(layout->height) - startScan);
    if (lines == 0) return false;
    // Whether the buffer holds every row it is said to hold.
    *complete =
        bitsLength >= layout->rowBytes && (bitsLength - layout->rowBytes) / layout->stride >= lines - 1;
    AxisMap xs, ys;
    if (!mapAxis(x, width, xSrc, srcWidth, m_surface->width(), layout->width, xs) ||
        !mapAxis(y, height, yTopDown, srcHeight, m_surface->height(), layout->height, ys))
        return true;

    // Colour tables resolve once per entry: colour references on 32 bits,
    // the nearest entry of the selected palette on 8.
    const bool indexed = m_surface->bitsPerPixel() == 8;
    std::vector<uint32_t> table = dibColorTable(info, *layout);
    if (indexed)
        for (uint32_t& c : table) c = nearestValue(0x02000000u | c);

    const auto* base = static_cast<const uint8_t*>(bits);
    const int n = static_cast<int>(xs.src.size());
    std::vector<uint32_t> decoded(indexed ? static_cast<size_t>(n) : 0);
    RECT touched{};
    int previousSource = -1;
    for (size_t k = 0; k < ys.src.size(); ++k) {
        const int row = ys.lo + static_cast<int>(k);
        const int t = ys.src[k];  // top-down row of the picture
        const unsigned memoryRow = static_cast<unsigned>(layout->topDown ? t : layout->height - 1 - t);
        if (memoryRow < startScan || memoryRow - startScan >= lines) {
            previousSource = -1;
            continue;
        }
        const size_t index = memoryRow - startScan;
        const size_t offset = index * layout->stride;  // checked before it is used
        if (index > bitsLength / layout->stride || bitsLength - offset < layout->rowBytes) {
            previousSource = -1;
            continue;
        }
        const size_t pixelBytes = indexed ? 1 : 4;
        uint8_t* out = indexed ? m_surface->row8(row) + xs.lo
                               : reinterpret_cast<uint8_t*>(m_surface->row32(row) + xs.lo);
        if (t == previousSource) {
            const uint8_t* above = indexed ? m_surface->row8(row - 1) + xs.lo
                                           : reinterpret_cast<uint8_t*>(m_surface->row32(row - 1) + xs.lo);
            std::memcpy(out, above, pixelBytes * static_cast<size_t>(n));
        } else if (!indexed) {
            decodeDibRow(*layout, base + offset, xs.src.data(), n, table.data(),
                         m_surface->row32(row) + xs.lo);
        } else {
            decodeDibRow(*layout, base + offset, xs.src.data(), n, table.data(), decoded.data());
            if (layout->bitCount <= 8)
                for (int i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(decoded[static_cast<size_t>(i)]);
            else
                for (int i = 0; i < n; ++i)
                    out[i] = nearestValue(0x02000000u | decoded[static_cast<size_t>(i)]);
        }
        previousSource = t;
        touched = unionRect(touched, {xs.lo, row, xs.lo + n, row + 1});
    }
    m_surface->markChanged(touched);
    return true;
}

int CDC::SetDIBitsToDevice(int x, int y, int width, int height, int xSrc, int ySrc, unsigned startScan,
                           unsigned lines, const void* bits, size_t bitsLength, const BITMAPINFO& info,
                           uint32_t usage) {
    const auto layout = dibLayout(info.bmiHeader);
    if (!layout || usage != DIB_RGB_COLORS || width <= 0 || height <= 0) return 0;
    // A bottom-up picture counts its source rows from the bottom.
    const int64_t top = layout->topDown ? int64_t{ySrc} : int64_t{layout->height} - ySrc - height;
    if (top < INT32_MIN || top > INT32_MAX) return 0;
    bool complete = false;
    if (!transferDib(x, y, width, height, xSrc, static_cast<int>(top), width, height, startScan, lines, bits,
                     bitsLength, info, &complete) ||
        !complete)
        return 0;
    return static_cast<int>(std::min<unsigned>(lines, static_cast<unsigned>(layout->height) - startScan));
}

int CDC::StretchDIBits(int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth, int srcHeight,
                       const void* bits, size_t bitsLength, const BITMAPINFO& info, uint32_t usage,
                       uint32_t rop) {
    const auto layout = dibLayout(info.bmiHeader);
    if (!layout || usage != DIB_RGB_COLORS || rop != SRCCOPY) return 0;
    if (!width || !height || !srcWidth || !srcHeight) return 0;
    // A bottom-up picture counts its source rows from the bottom; the run
    // starts at the row shown on top (or, mirrored, at the lowest row).
    int64_t top = ySrc;
    if (!layout->topDown) top = int64_t{layout->height} - ySrc - srcHeight - (srcHeight < 0 ? 2 : 0);
    if (top < INT32_MIN || top > INT32_MAX) return 0;
    bool complete = false;
    if (!transferDib(x, y, width, height, xSrc, static_cast<int>(top), srcWidth, srcHeight, 0,
                     static_cast<unsigned>(layout->height), bits, bitsLength, info, &complete) ||
        !complete)
        return 0;
    return layout->height;
}
