#pragma once
// Device-independent bitmaps: rows of 1, 4, 8, 16 (5-5-5), 24 or 32 bits per
// pixel, each row padded to a multiple of four bytes, stored bottom-up (a
// positive height: the first row in memory is the bottom of the picture) or
// top-down (a negative height), with a colour table for the depths up to 8.
//
// Whoever hands rows over also says how many bytes it holds: nothing here
// reads past that length, and a header that makes no sense is refused.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/WinTypes.h"

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t DIB_RGB_COLORS = 0;

// The 40-byte information header, field for field.
struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // > 0 bottom-up, < 0 top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = BI_RGB;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;  // 0: all 2^biBitCount entries for depths up to 8
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};

// The header with its colour table. Indices beyond the entries the table
// holds show black.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    std::vector<RGBQUAD> bmiColors;
};

// Bytes in one padded row; 0 for a width or depth that makes no row.
size_t dibRowBytes(int64_t width, int bitCount);

// The shape of a DIB whose header can be drawn: uncompressed, a supported
// depth, a positive width and a non-zero height that fit in memory.
struct DibLayout {
    int width = 0;
    int height = 0;  // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    size_t stride = 0;    // bytes per padded row
    size_t rowBytes = 0;  // bytes a row needs without its padding
};
std::optional<DibLayout> dibLayout(const BITMAPINFOHEADER& header);

// The colour references of the colour table, 2^bitCount of them (black
// where the table is short, or for depths above 8: empty).
std::vector<COLORREF> dibColorTable(const BITMAPINFO& info, const DibLayout& layout);

// Decodes the pixels at the given columns (each within 0..width-1) of one
// row. Depths up to 8 give table[index] (table: 2^bitCount values); deeper
// rows give colour references.
void decodeDibRow(const DibLayout& layout, const uint8_t* row, const int32_t* columns, int count,
                  const uint32_t* table, uint32_t* out);

// A packed DIB: one block holding the 40-byte header, the colour table and
// the rows, as bitmap files and clipboards carry them. The header is read
// from the block, the table copied, and `bits` points into the block.
struct PackedDib {
    BITMAPINFO info;
    const uint8_t* bits = nullptr;
    size_t bitsLength = 0;
};
std::optional<PackedDib> readPackedDib(const uint8_t* block, size_t length);
