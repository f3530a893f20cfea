// The bands of a picture's palette, sampled on a 5 x 5 grid.

#include <algorithm>
#include <array>

#include "styles/image/Image.h"

namespace {

constexpr int kGrid = 5;
constexpr int kPoints = kGrid * kGrid;

}  // namespace

std::vector<PALETTEENTRY> imageBands(const Image& image, int colorCount) {
    const BITMAPINFOHEADER* header = image.InfoHeader();
    if (!header || header->biBitCount != 24 || colorCount <= 0) return {};
    const int w = image.Width(), h = image.Height();
    if (w <= 4 || h <= 4) return {};
    const size_t stride = 3 * static_cast<size_t>(w) + static_cast<size_t>(image.RowPadding());
    if (stride * static_cast<size_t>(h) > image.PixelBytes()) return {};

    // Grid point (r, c), in memory row order. The successor of the last
    // point lies in row band 5, one row past the picture when the height is
    // a multiple of 5: that row is taken as the last one.
    const uint8_t* pixels = image.Pixels();
    const auto sample = [&](int r, int c) {
        const size_t row = static_cast<size_t>(std::min(r * (h / kGrid), h - 1));
        const uint8_t* p = pixels + row * stride + 3 * static_cast<size_t>(c * (w / kGrid));
        return std::array<int, 3>{p[2], p[1], p[0]};
    };
    const int perPoint = colorCount / kPoints;
    std::vector<PALETTEENTRY> bands;
    bands.reserve(static_cast<size_t>(colorCount));
    for (int r = 0; r < kGrid; ++r) {
        for (int c = 0; c < kGrid; ++c) {
            const std::array<int, 3> a = sample(r, c);
            const std::array<int, 3> b = c + 1 < kGrid ? sample(r, c + 1) : sample(r + 1, 0);
            // The last run is longer; it too ends at its successor, so that
            // no entry overshoots the colours it runs between.
            const int run =
                r == kGrid - 1 && c == kGrid - 1 ? colorCount - (kPoints - 1) * perPoint : perPoint;
            for (int i = 0; i < run && static_cast<int>(bands.size()) < colorCount; ++i) {
                std::array<int, 3> v{};
                if (run > 1)
                    for (int k = 0; k < 3; ++k) v[k] = a[k] + i * (b[k] - a[k]) / (run - 1);
                bands.push_back(
                    {static_cast<BYTE>(v[0]), static_cast<BYTE>(v[1]), static_cast<BYTE>(v[2]), 0});
            }
        }
    }
    return bands;
}
