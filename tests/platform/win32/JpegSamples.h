#pragma once
// The JPEG files of the decoder tests, made with ImageMagick when the tests
// are built (tests/Windows.cmake): a 24 x 16 gradient from red (top) to blue
// (bottom) as baseline, progressive, CMYK and grayscale files, and plain
// orange pictures of 200 x 100 and 40 x 300.

#include <fstream>
#include <iterator>
#include <string>

#include "support/BuildPath.h"

namespace jpeg_samples {

inline std::string read(const char* name) {
    std::ifstream in(buildPath(QV_JPEG_SAMPLES) / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
inline const std::string kBaseline = read("baseline.jpg"), kProgressive = read("progressive.jpg"),
                         kCmyk = read("cmyk.jpg"), kGray = read("gray.jpg"), kWide = read("wide.jpg"),
                         kTall = read("tall.jpg");

}  // namespace jpeg_samples
