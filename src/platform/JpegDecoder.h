#pragma once
// Decoding a JPEG file with the system's JPEG library (its classic
// decompression interface), scaled by 1/1, 1/2, 1/4 or 1/8 so that it fits
// a width, into bottom-up rows of blue, green, red.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

struct JpegRequest {
    // The largest of the scales at which both sides fit this width is taken.
    int fitWidth = 0;
    // Asked every few progress reports of a long decode; false stops it.
    std::function<bool()> keepGoing;
    // Where the library's warnings and the reason of a failure are told.
    std::function<void(const char*)> trace;
    // Given the scaled size and the scale's denominator once the header is
    // read: the first (bottom) row of a block of `height` rows `stride`
    // bytes apart, or null to refuse the picture before it is decoded.
    std::function<uint8_t*(int width, int height, int denominator, size_t stride)> rows;
};

// True when every row was decoded (a fault after the last row, trailing
// junk, keeps the picture). Grayscale, CMYK and YCCK files are refused.
bool decodeJpeg(const std::string& path, const JpegRequest& request);

}  // namespace platform
