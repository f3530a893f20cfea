#include "platform/Dib.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

// Headers are read from byte blocks as they lie in files: little-endian.
static_assert(std::endian::native == std::endian::little);

size_t dibRowBytes(int64_t width, int bitCount) {
    if (width <= 0 || bitCount <= 0 || bitCount > 32) return 0;
    const uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount);
    return static_cast<size_t>((bits + 31) / 32 * 4);
}

std::optional<DibLayout> dibLayout(const BITMAPINFOHEADER& header) {
    const int bpp = header.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return {};
    if (header.biCompression != BI_RGB) return {};
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == std::numeric_limits<int32_t>::min())
        return {};
    DibLayout layout;
    layout.width = header.biWidth;
    layout.topDown = header.biHeight < 0;
    layout.height = layout.topDown ? -header.biHeight : header.biHeight;
    layout.bitCount = bpp;
    layout.stride = dibRowBytes(layout.width, bpp);
    layout.rowBytes = static_cast<size_t>((static_cast<uint64_t>(layout.width) * bpp + 7) / 8);
    return layout;
}

std::vector<COLORREF> dibColorTable(const BITMAPINFO& info, const DibLayout& layout) {
    if (layout.bitCount > 8) return {};
    std::vector<COLORREF> table(size_t{1} << layout.bitCount, 0);
    size_t n = std::min(table.size(), info.bmiColors.size());
    if (info.bmiHeader.biClrUsed) n = std::min<size_t>(n, info.bmiHeader.biClrUsed);
    for (size_t i = 0; i < n; ++i) {
        const RGBQUAD& q = info.bmiColors[i];
        table[i] = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    return table;
}

void decodeDibRow(const DibLayout& layout, const uint8_t* row, const int32_t* columns, int count,
                  const uint32_t* table, uint32_t* out) {
    switch (layout.bitCount) {
        case 1:
            for (int i = 0; i < count; ++i) {
                const int x = columns[i];
                out[i] = table[(row[x >> 3] >> (7 - (x & 7))) & 1];
            }
            break;
        case 4:
            for (int i = 0; i < count; ++i) {
                const int x = columns[i];
                out[i] = table[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
            }
            break;
        case 8:
            for (int i = 0; i < count; ++i) out[i] = table[row[columns[i]]];
            break;
        case 16:
            for (int i = 0; i < count; ++i) {
                const uint8_t* p = row + 2 * static_cast<size_t>(columns[i]);
                const int v = p[0] | (p[1] << 8);
                const int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                out[i] = RGB(r << 3 | r >> 2, g << 3 | g >> 2, b << 3 | b >> 2);
            }
            break;
        case 24:
            for (int i = 0; i < count; ++i) {
                const uint8_t* p = row + 3 * static_cast<size_t>(columns[i]);
                out[i] = RGB(p[2], p[1], p[0]);
            }
            break;
        case 32:
            for (int i = 0; i < count; ++i) {
                const uint8_t* p = row + 4 * static_cast<size_t>(columns[i]);
                out[i] = RGB(p[2], p[1], p[0]);
            }
            break;
        default:
            break;
    }
}

std::optional<PackedDib> readPackedDib(const uint8_t* block, size_t length) {
    if (!block || length < sizeof(BITMAPINFOHEADER)) return {};
    PackedDib dib;
    std::memcpy(&dib.info.bmiHeader, block, sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER& h = dib.info.bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > length) return {};
    uint64_t colors = h.biClrUsed;
    if (colors == 0 && h.biBitCount <= 8) colors = uint64_t{1} << h.biBitCount;
    const uint64_t tableEnd = uint64_t{h.biSize} + 4 * colors;
    if (tableEnd > length) return {};
    dib.info.bmiColors.resize(static_cast<size_t>(std::min<uint64_t>(colors, 256)));
    // Deep pictures carry no table, and memcpy may not be handed the null
    // pointer of an empty vector even to copy nothing.
    if (!dib.info.bmiColors.empty())
        std::memcpy(dib.info.bmiColors.data(), block + h.biSize, dib.info.bmiColors.size() * 4);
    dib.bits = block + tableEnd;
    dib.bitsLength = length - static_cast<size_t>(tableEnd);
    return dib;
}
