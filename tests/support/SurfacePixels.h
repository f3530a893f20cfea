#pragma once
// Every pixel of a surface, row by row: for comparing whole pictures.

#include <cstdint>
#include <vector>

#include "platform/Surface.h"

inline std::vector<uint32_t> surfacePixels(const CSurface& s) {
    std::vector<uint32_t> p;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) p.push_back(s.at(x, y));
    return p;
}
