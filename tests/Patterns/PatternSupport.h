#pragma once
// Palettes, scenes and makers for the pattern tests.

#include <functional>
#include <memory>
#include <vector>

#include "Patterns/PatternCalculator.h"
#include "engine/RandomSource.h"
#include "support/FakeScene.h"

inline FakeScene greyRamp(int n) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back({static_cast<uint8_t>(i * 255 / (n > 1 ? n - 1 : 1)), 0, 0, 0});
    return FakeScene(true, entries);
}

// isIdle() answers true `n` times, then false for good.
inline std::function<bool()> idleFor(int n) {
    return [n]() mutable { return n-- > 0; };
}

using Maker = std::function<std::unique_ptr<PatternCalculator>(RandomSource&)>;

template <class T>
Maker maker() {
    return [](RandomSource& r) { return std::make_unique<T>(r); };
}
