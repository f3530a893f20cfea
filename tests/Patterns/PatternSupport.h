#pragma once
// Palettes and scenes for the pattern tests.

#include <functional>
#include <vector>

#include "support/FakeScene.h"

inline FakeScene greyRamp(int n) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < n; ++i) entries.push_back({static_cast<uint8_t>(i * 255 / (n > 1 ? n - 1 : 1)), 0, 0, 0});
    return FakeScene(true, entries);
}

// isIdle() answers true `n` times, then false for good.
inline std::function<bool()> idleFor(int n) {
    return [n]() mutable { return n-- > 0; };
}
