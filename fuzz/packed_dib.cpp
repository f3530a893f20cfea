// Packed DIBs as a bitmap file carries them, the way the image reader hands
// them on: the block is read as header, colour table and rows, then drawn
// onto small 32- and 8-bit surfaces whole, fitted, mirrored, in part and
// across the edges. Two more transfers take their geometry from header
// fields that drawing ignores (the resolution and the counts of image bytes
// and important colours), so the fuzzer steers the rectangles as well.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "platform/DC.h"

namespace {

int16_t half(uint32_t v, int which) { return static_cast<int16_t>(v >> (16 * which)); }

void draw(CDC& dc, const PackedDib& dib) {
    const BITMAPINFOHEADER& h = dib.info.bmiHeader;
    const auto layout = dibLayout(h);
    const int w = layout ? layout->width : 1, ht = layout ? layout->height : 1;
    const auto lines = static_cast<unsigned>(ht);
    const auto* bits = dib.bits;
    const size_t n = dib.bitsLength;
    const BITMAPINFO& info = dib.info;
    const int sw = dc.surface()->width(), sh = dc.surface()->height();

    const int whole = dc.SetDIBitsToDevice(0, 0, w, ht, 0, 0, 0, lines, bits, n, info);
    if (whole < 0 || static_cast<unsigned>(whole) > lines) std::abort();
    dc.SetDIBitsToDevice(-3, -2, w, ht, w / 2, ht / 2, lines / 3, lines / 2, bits, n, info);
    dc.StretchDIBits(0, 0, sw, sh, 0, 0, w, ht, bits, n, info);
    dc.StretchDIBits(sw - 1, sh - 1, -sw, -sh, 0, 0, w, ht, bits, n, info);
    dc.StretchDIBits(-4, 3, 3 * sw, sh, w - 1, ht - 1, -w, -ht, bits, n, info);

    const uint32_t a = static_cast<uint32_t>(h.biXPelsPerMeter), b = static_cast<uint32_t>(h.biYPelsPerMeter),
                   c = h.biSizeImage, d = h.biClrImportant;
    dc.SetDIBitsToDevice(half(a, 0), half(a, 1), half(b, 0), half(b, 1), half(c, 0), half(c, 1),
                         static_cast<uint16_t>(half(d, 0)), static_cast<uint16_t>(half(d, 1)), bits, n, info);
    dc.StretchDIBits(static_cast<int>(a), static_cast<int>(b), static_cast<int>(c), static_cast<int>(d),
                     static_cast<int>(b), static_cast<int>(a), static_cast<int>(d), static_cast<int>(c), bits,
                     n, info);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto dib = readPackedDib(data, size);
    if (!dib) return 0;
    CPalette& palette = realisedPalette();
    CSurface rgb(13, 9, 32), indexed(11, 7, 8);
    CDC rgbDc(&rgb), indexedDc(&indexed);
    indexedDc.SelectPalette(&palette);
    indexedDc.RealizePalette();
    draw(rgbDc, *dib);
    draw(indexedDc, *dib);
    return 0;
}
