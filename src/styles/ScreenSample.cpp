#include "styles/ScreenSample.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Surface.h"

namespace {

constexpr double kPoints = 4096.0;

}  // namespace

void ScreenSample::take(const CSurface& surface) {
    m_values.clear();
    m_width = surface.width();
    m_height = surface.height();
    m_bTrueColor = surface.bitsPerPixel() == 32;
    if (!surface.valid() || m_width <= 0 || m_height <= 0) return;
    const double area = static_cast<double>(m_width) * m_height;
    const int step = std::max(1, static_cast<int>(std::sqrt(area / kPoints)));
    // Centred in its cell of the grid, so that the screen's edges do not
    // count more than its middle.
    for (int y = step / 2; y < m_height; y += step) {
        if (surface.bitsPerPixel() == 32) {
            const uint32_t* row = surface.row32(y);
            for (int x = step / 2; x < m_width; x += step) m_values.push_back(row[x] & 0xFFFFFFu);
        } else {
            const uint8_t* row = surface.row8(y);
            for (int x = step / 2; x < m_width; x += step) m_values.push_back(row[x]);
        }
    }
}

// Stored values are masked to 24 bits, so a move of 1 in some channel is
// any difference at all: the plain count is the visible one at 1.
size_t ScreenSample::differences(const ScreenSample& other) const { return visibleDifferences(other, 1); }

size_t ScreenSample::visibleDifferences(const ScreenSample& other, int least) const {
    if (m_width != other.m_width || m_height != other.m_height || m_values.size() != other.m_values.size())
        return std::max(m_values.size(), other.m_values.size());
    const bool channels = m_bTrueColor && other.m_bTrueColor;
    const auto apart = [least, channels](uint32_t a, uint32_t b) {
        if (!channels || a == b) return a != b;
        for (int shift = 0; shift < 24; shift += 8) {
            const int ca = static_cast<int>((a >> shift) & 0xFFu),
                      cb = static_cast<int>((b >> shift) & 0xFFu);
            if (std::abs(ca - cb) >= least) return true;
        }
        return false;
    };
    size_t n = 0;
    for (size_t i = 0; i < m_values.size(); ++i) n += apart(m_values[i], other.m_values[i]);
    return n;
}

double ScreenSample::flatShare() const {
    if (m_values.empty()) return 0.0;
    std::vector<uint32_t> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    size_t best = 0;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i;
        while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
        best = std::max(best, j - i);
        i = j;
    }
    return static_cast<double>(best) / static_cast<double>(sorted.size());
}

size_t ScreenSample::colours() const {
    std::vector<uint32_t> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    return static_cast<size_t>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}
