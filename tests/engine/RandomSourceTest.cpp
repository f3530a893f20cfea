#include <gtest/gtest.h>

#include "engine/RandomSource.h"

TEST(RandomSource, PublishedSequencesSignOfSeedAndReseeding) {
    RandomSource zero(0), r(12345);
    for (int expected : {533923850, 323008803, 401103978, 459259507, 390269598})
        EXPECT_EQ(zero.next(), expected);
    for (int expected : {860606660, 925464728, 418061483, 289637592, 142246568})
        EXPECT_EQ(r.next(), expected);
    r.seed(12345);
    EXPECT_EQ(r.next(), 860606660);
    for (int32_t v : {1, 161803398, INT32_MAX}) {
        RandomSource a(v), b(-v);
        for (int i = 0; i < 200; ++i) ASSERT_EQ(a.next(), b.next()) << "seed " << v;
    }
    RandomSource lowest(INT32_MIN);  // |INT32_MIN| must not overflow
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(lowest.next() >= 0 && lowest.next() < 1000000000);
}

TEST(RandomSource, BelowAndSkewedBelow) {
    RandomSource r(3);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(r.below(1) == 0 && r.below(0) == 0);
        const int neg = r.below(-5), v = r.below(7);
        ASSERT_TRUE(neg <= 0 && neg >= -4);
        ASSERT_TRUE(v >= 0 && v < 7);
        const double s = r.signedUniform();
        ASSERT_TRUE(s >= -1.0 && s < 1.0);
    }
    RandomSource a(9), b(9);
    for (int i = 0; i < 200; ++i) {  // |k| <= 1: one plain draw, mirrored for k < 0
        ASSERT_EQ(a.skewedBelow(10, 1), b.below(10));
        ASSERT_EQ(a.skewedBelow(10, 0), b.below(10));
        ASSERT_EQ(a.skewedBelow(10, -1), 9 - b.below(10));
    }
    // k = 3: one plain draw, then two narrowing draws; the mean falls.
    RandomSource c(5), d(5);
    for (int i = 0; i < 50; ++i) {
        int r = d.below(20);
        r = d.below(r + 1);
        ASSERT_EQ(c.skewedBelow(20, 3), d.below(r + 1));
    }
}
