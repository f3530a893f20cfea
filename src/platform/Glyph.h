#pragma once
// A glyph as grey levels, as every system's font renderer hands it to the
// glyph cache (FontGlyphs.h). Standard types only: the Windows renderer's
// bridge header (win32/FontApi.h) uses it too.

#include <cstdint>
#include <vector>

namespace platform {

struct Glyph {
    int advance = 0;
    int left = 0;  // the bitmap's left edge, from the pen position
    int top = 0;   // the bitmap's top row, above the baseline
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;  // width x height, 0..255
};

}  // namespace platform
