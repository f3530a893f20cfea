#include <gtest/gtest.h>

#include "engine/RandomSource.h"

TEST(RandomSource, PublishedSequences) {
    RandomSource zero(0);
    for (int expected : {533923850, 323008803, 401103978, 459259507, 390269598})
        EXPECT_EQ(zero.next(), expected);
    RandomSource r(12345);
    for (int expected : {860606660, 925464728, 418061483, 289637592, 142246568})
        EXPECT_EQ(r.next(), expected);
    EXPECT_EQ(r.seedValue(), 12345);
}

TEST(RandomSource, SignOfSeedDoesNotMatter) {
    for (int32_t v : {1, 7, 161803398, 161803399, 1765000000, INT32_MAX}) {
        RandomSource a(v), b(-v);
        for (int i = 0; i < 200; ++i) ASSERT_EQ(a.next(), b.next()) << "seed " << v;
    }
    RandomSource lowest(INT32_MIN);  // |INT32_MIN| must not overflow
    for (int i = 0; i < 100; ++i) {
        const int v = lowest.next();
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 1000000000);
    }
}

TEST(RandomSource, ReseedingRestartsTheSequence) {
    RandomSource r(42);
    const int first = r.next();
    r.next();
    r.seed(42);
    EXPECT_EQ(r.next(), first);
}

TEST(RandomSource, BelowEdges) {
    RandomSource r(3);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(r.below(1), 0);
        ASSERT_EQ(r.below(0), 0);
        const int neg = r.below(-5);
        ASSERT_LE(neg, 0);
        ASSERT_GE(neg, -4);
        const int v = r.below(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
        const double s = r.signedUniform();
        ASSERT_GE(s, -1.0);
        ASSERT_LT(s, 1.0);
    }
}

TEST(RandomSource, SkewedBelow) {
    for (int k : {0, 1}) {
        RandomSource a(9), b(9);
        for (int i = 0; i < 200; ++i) ASSERT_EQ(a.skewedBelow(10, k), b.below(10));
    }
    RandomSource a(9), b(9);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(a.skewedBelow(10, -1), 9 - b.below(10));

    // k = 3: one plain draw, then two narrowing draws; the mean falls.
    RandomSource c(5), d(5);
    for (int i = 0; i < 50; ++i) {
        int r = d.below(20);
        r = d.below(r + 1);
        r = d.below(r + 1);
        ASSERT_EQ(c.skewedBelow(20, 3), r);
    }
    RandomSource e(11);
    long sumLow = 0, sumHigh = 0;
    for (int i = 0; i < 2000; ++i) {
        sumLow += e.skewedBelow(100, 4);
        sumHigh += e.skewedBelow(100, -4);
    }
    EXPECT_LT(sumLow / 2000, 20);
    EXPECT_GT(sumHigh / 2000, 79);
}
