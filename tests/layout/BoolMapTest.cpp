#include <gtest/gtest.h>

#include "LayoutSupport.h"
#include "engine/RandomSource.h"
#include "layout/BoolMap.h"

// Checks and stripes are their bit tests of the values they drew; circles of
// radius 4 with no gap are tiles of 8 centred at (4, 4).
TEST(BoolMap, ChecksStripesAndCircles) {
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource r(seed), c = r;
        BoolMapBitCheckered checks(&r, 40, 24);
        BoolMapVertStripe vertical(&r, 40, 24);
        BoolMapHorzStripe horizontal(&r, 40, 24);
        const bool bc = c.below(2) > 0;
        const int a = c.skewedBelow(8, 3), ac = c.skewedBelow(8, 3);
        const bool bv = c.below(2) > 0;
        const int av = c.skewedBelow(8, 3), mv = c.below(5) + 2;
        const bool bh = c.below(2) > 0;
        const int ah = c.skewedBelow(8, 3), mh = c.below(5) + 2;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(checks.get(x, y), (((x >> a) & 1) == ((y >> ac) & 1)) == bc) << seed;
                ASSERT_EQ(vertical.get(x, y), ((x >> av) % mv == 0) == bv) << seed;
                ASSERT_EQ(horizontal.get(x, y), ((y >> ah) % mh == 0) == bh) << seed;
            }
    }
    const auto fourWithoutGap = [](RandomSource r) { return r.skewedBelow(64, 4) == 0 && r.below(8) == 0; };
    int seed = 1;
    while (!fourWithoutGap(RandomSource(seed))) ++seed;
    RandomSource rc(seed);
    BoolMapCircles map(&rc, 32, 16);
    const bool inside = map.get(4, 4);
    for (int tile = 0; tile < 4; ++tile) {
        EXPECT_EQ(map.get(tile * 8 + 4, 12), inside);
        EXPECT_EQ(map.get(tile * 8 + 1, 4), inside);  // 3 from the centre
        EXPECT_NE(map.get(tile * 8 + 0, 4), inside);  // 4: on the circle, outside
        EXPECT_NE(map.get(tile * 8 + 0, 0), inside);  // a corner
    }
}

TEST(BoolMap, OutsideIsFalseAndNoSizeIsInvalid) {
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource r(seed);
        std::unique_ptr<BoolMap> maps[] = {std::make_unique<BoolMapAll>(&r, 16, 8),
                                           std::make_unique<BoolMapBitCheckered>(&r, 16, 8),
                                           std::make_unique<BoolMapVertStripe>(&r, 16, 8),
                                           std::make_unique<BoolMapHorzStripe>(&r, 16, 8),
                                           std::make_unique<BoolMapCircles>(&r, 16, 8),
                                           std::make_unique<BoolMapBubbles>(&r, 16, 8, 100, nullptr)};
        for (auto& m : maps) {
            EXPECT_TRUE(m->valid());
            EXPECT_FALSE(m->get(-1, 0) || m->get(16, 0) || m->get(0, -1) || m->get(0, 8));
        }
        EXPECT_TRUE(maps[0]->get(15, 7));
        EXPECT_FALSE(maps[5]->isRegularPattern());
    }
    RandomSource r(1);
    BoolMapCircles none(&r, 0, 10);
    EXPECT_FALSE(none.valid() || none.get(0, 0));
}

TEST(BoolMap, BubblesOnAnySizeStopForInput) {
    // Tiny masks and the preview's: painted (or skipped), never stuck.
    for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {1, 100}, {100, 1}, {17, 5}, {64, 64}, {152, 112}})
        for (int seed = 1; seed <= 40; ++seed) {
            RandomSource r(seed * 7919);
            EXPECT_TRUE(BoolMapBubbles(&r, w, h, seed % 2 ? 100 : 0, nullptr).valid());
        }
    // Painting stops when input arrives: the idle test is not asked forever.
    int asked = 0;
    RandomSource r(3);
    BoolMapBubbles stopped(&r, 640, 360, 100, [&] { return ++asked < 2; });
    EXPECT_LT(asked, 20);
}
