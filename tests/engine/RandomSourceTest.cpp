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
