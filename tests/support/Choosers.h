#pragma once
// Chooser tables of a test's own making; two random sources at the same place.

#include <gtest/gtest.h>

#include <vector>

#include "engine/ChooserSet.h"

// A chooser set whose row `f` has the given raw weights.
inline ChooserSet chooserOf(Family f, const std::vector<float>& weights) {
    ChooserSet set;
    set.chooser(f).build(weights, true);
    return set;
}

inline void expectSamePlace(RandomSource a, RandomSource b) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(a.next(), b.next()) << "draw " << i;
}
