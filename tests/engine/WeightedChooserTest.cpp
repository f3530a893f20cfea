#include <gtest/gtest.h>

#include "engine/WeightedChooser.h"

TEST(WeightedChooser, BuildNormalisesEndsAtOneAndSkipsZeroWeights) {
    WeightedChooser c, zeros, gap;
    c.build({1, 1, 2}, true);
    EXPECT_EQ(c.cumulative(), (std::vector<float>{0.25f, 0.5f, 1.0f}));
    EXPECT_EQ(c.defaults(), c.cumulative());
    c.build({5, 5}, false);
    EXPECT_EQ(c.defaults().size(), 3u);  // defaults stay as first built
    c.build({}, true);                   // an empty list keeps the table
    EXPECT_EQ(c.size(), 2);
    WeightedChooser shrunk;  // no member just past the end, nor before the start
    shrunk.build({1, 1, 1, 1}, true), shrunk.build({1, 1}, false);
    EXPECT_TRUE(shrunk.weight(1) == 0.5f && shrunk.weight(2) == 0.0f && shrunk.weight(-1) == 0.0f);
    zeros.build({0, 0, 0}, true);
    gap.build({5, 0, 5}, true);
    RandomSource r(1);
    for (int i = 0; i < 2000; ++i) ASSERT_TRUE(zeros.choose(r) == 2 && gap.choose(r) != 1);
}

TEST(WeightedChooser, ExclusionRefusesNineDrawsOnlyAndCodeListsNameMembers) {
    WeightedChooser c;
    c.build({1, 1, 1, 1}, true);
    const std::vector<int> all = {0, 1, 2, 3};
    for (int32_t seed = 0; seed < 50; ++seed) {
        RandomSource r(seed), replay(seed);
        const int chosen = c.choose(r, &all, WeightedChooser::kTries);
        // The tenth draw is taken as it falls.
        int tenth = -1;
        for (int i = 0; i < 10; ++i) tenth = static_cast<int>(static_cast<float>(replay.uniform()) * 4);
        ASSERT_EQ(chosen, tenth);
        ASSERT_EQ(r.next(), replay.next()) << "exactly ten draws";
    }
    const std::vector<int> notTwo = {0, 1, 3};
    RandomSource r(7);
    int twos = 0;
    for (int i = 0; i < 500; ++i) twos += c.choose(r, &notTwo) == 2;
    EXPECT_GT(twos, 450);
    const std::vector<int> codes = {14, 12, 13, 12};
    std::vector<int> excluded;
    addIndexOf(codes, 12, excluded), addIndexOf(codes, 99, excluded);
    EXPECT_EQ(excluded, std::vector<int>{1});  // the first place only; unknown codes none
    EXPECT_TRUE(isExcluded(codes, 12, excluded) && !isExcluded(codes, 14, excluded) &&
                !isExcluded(codes, 99, excluded));
}

TEST(WeightedChooser, DrawRoundingToOneGivesMemberZero) {
    // Seed 520 gives 999999974 as its 992nd value, which rounds to 1.0f.
    RandomSource r(520);
    for (int i = 0; i < 991; ++i) r.next();
    RandomSource peek = r;
    ASSERT_EQ(static_cast<float>(peek.uniform()), 1.0f);
    WeightedChooser c;
    c.build({0, 1, 1}, true);
    EXPECT_EQ(c.choose(r), 0);
    // After a refused draw the rounding case keeps the refusal and draws again.
    RandomSource s(520);
    for (int i = 0; i < 990; ++i) s.next();
    RandomSource replay = s;
    const std::vector<int> refuseAll = {0, 1, 2};
    const int chosen = c.choose(s, &refuseAll);
    replay.next(), replay.next();  // the draw at 1.0, which counts no try
    int tenth = -1;
    for (int i = 0; i < 9; ++i) tenth = static_cast<float>(replay.uniform()) < 0.5f ? 1 : 2;
    EXPECT_EQ(chosen, tenth);
}

TEST(WeightedChooser, PerturbScalesTheTableOrOnceInSixTheDefaults) {
    WeightedChooser c;
    c.build({1000, 1, 0, 1}, true);
    c.build({500, 1, 0, 300}, false);  // the present table has drifted from the defaults
    for (int32_t seed = 0; seed < 300; ++seed) {
        WeightedChooser p = c;
        RandomSource r(seed), replay(seed);
        const bool reset = replay.uniform() < 1.0 / 6.0;
        p.perturb(r);
        // Each member's weight times a draw times 1000; outside a reset a positive member keeps at least 1.
        std::vector<float> raw;
        for (int i = 0; i < 4; ++i) {
            const float w =
                reset ? c.defaults()[size_t(i)] - (i ? c.defaults()[size_t(i - 1)] : 0) : c.weight(i);
            const float scaled = static_cast<float>(w * replay.uniform() * 1000);
            raw.push_back(!reset && w > 0 && scaled < 1.0f ? 1.0f : scaled);
        }
        WeightedChooser expected;
        expected.build(raw, false);
        ASSERT_EQ(p.cumulative(), expected.cumulative()) << "seed " << seed;
        ASSERT_TRUE(p.weight(2) == 0.0f && p.defaults() == c.defaults()) << "a zero weight stays zero";
        ASSERT_EQ(r.next(), replay.next()) << "one draw per member after the first";
    }
}
