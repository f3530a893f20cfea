#pragma once
// The coordinate mapping shared by the block copies and the DIB transfers,
// one axis at a time.
//
// An extent n > 0 covers origin .. origin + n - 1 in increasing order; an
// extent n < 0 covers origin, origin - 1, .. origin + n + 1 (so the origin
// is its last pixel, as GDI has it). Destination pixel i of the run takes
// source pixel floor((2i + 1) |sn| / (2 |dn|)) of its run: the source pixel
// under the centre of the destination pixel.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Surface.h"

struct AxisMap {
    int lo = 0;                // first visible destination coordinate
    std::vector<int32_t> src;  // source coordinate of lo, lo + 1, ...
    bool identity = false;     // src[i] == src[0] + i throughout
};

// Maps the visible destination coordinates (within 0..dLimit-1) whose source
// lies within 0..sLimit-1. False when none does.
inline bool mapAxis(int64_t d, int64_t dn, int64_t s, int64_t sn, int dLimit, int sLimit, AxisMap& out) {
    out.src.clear();
    if (dn == 0 || sn == 0 || dLimit <= 0 || sLimit <= 0) return false;
    const int64_t dFirst = dn > 0 ? d : d + dn + 1, dEnd = dn > 0 ? d + dn : d + 1;
    const int64_t lo = std::max<int64_t>(dFirst, 0), hi = std::min<int64_t>(dEnd, dLimit);
    if (lo >= hi) return false;
    const int64_t dAbs = dn > 0 ? dn : -dn, sAbs = sn > 0 ? sn : -sn;
    const int64_t dSign = dn > 0 ? 1 : -1, sSign = sn > 0 ? 1 : -1;
    int64_t first = hi;  // the first visible coordinate whose source is inside
    out.src.reserve(static_cast<size_t>(hi - lo));
    for (int64_t x = lo; x < hi; ++x) {
        const int64_t i = (x - d) * dSign;
        const int64_t j = dAbs == sAbs ? i : (2 * i + 1) * sAbs / (2 * dAbs);
        const int64_t sx = s + sSign * j;
        if (sx < 0 || sx >= sLimit) continue;
        if (x < first) first = x;
        out.src.push_back(static_cast<int32_t>(sx));
    }
    if (out.src.empty()) return false;
    // The source is monotonic in x, so the inside ones form one run.
    out.lo = static_cast<int>(first);
    out.identity = dAbs == sAbs && dSign == sSign;
    return true;
}

template <typename Pixel>
inline Pixel* pixelRow(CSurface& s, int y) {
    if constexpr (sizeof(Pixel) == 4)
        return s.row32(y);
    else
        return s.row8(y);
}

template <typename Pixel>
inline const Pixel* pixelRow(const CSurface& s, int y) {
    if constexpr (sizeof(Pixel) == 4)
        return s.row32(y);
    else
        return s.row8(y);
}
