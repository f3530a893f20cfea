#include <gtest/gtest.h>

#include <map>
#include <string>
#include <typeinfo>

#include "scene/ChooserTables.h"
#include "LayoutSupport.h"
#include "engine/RandomSource.h"
#include "layout/BoolMap.h"

namespace {

// The first seed whose draws pass `wanted`.
template <class Wanted>
int seedWhere(Wanted wanted) {
    for (int seed = 1; seed < 100000; ++seed) {
        RandomSource r(seed);
        if (wanted(r)) return seed;
    }
    return 0;
}

}  // namespace

TEST(BoolMap, StripesAndCircles) {
    // Vertical stripes with a = 0 and m = 2 alternate column by column.
    const int stripes = seedWhere([](RandomSource& r) {
        r.below(2);
        return r.skewedBelow(8, 3) == 0 && r.below(5) + 2 == 2;
    });
    ASSERT_NE(stripes, 0);
    RandomSource r(stripes);
    BoolMapVertStripe vertical(&r, 30, 4);
    for (int x = 0; x < 29; ++x) EXPECT_NE(vertical.get(x, 2), vertical.get(x + 1, 2)) << x;
    RandomSource rh(stripes);
    BoolMapHorzStripe horizontal(&rh, 4, 30);
    for (int y = 0; y < 29; ++y) EXPECT_NE(horizontal.get(1, y), horizontal.get(1, y + 1)) << y;
    // Circles of radius 4 with no gap: tiles of 8, centred at (4, 4).
    const int circles =
        seedWhere([](RandomSource& r) { return r.skewedBelow(64, 4) + 4 == 4 && r.below(8) == 0; });
    ASSERT_NE(circles, 0);
    RandomSource rc(circles);
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
        std::unique_ptr<BoolMap> maps[] = {
            std::make_unique<BoolMapAll>(&r, 16, 8),
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

TEST(BoolMap, BubblesOnAnySizeAndTheirChoice) {
    // Tiny masks and the preview's: painted (or skipped), never stuck.
    for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {1, 100}, {100, 1}, {17, 5}, {64, 64}, {152, 112}})
        for (int seed = 1; seed <= 40; ++seed) {
            RandomSource r(seed * 7919);
            BoolMapBubbles bubbles(&r, w, h, seed % 2 ? 100 : 0, nullptr);
            EXPECT_TRUE(bubbles.valid());
        }
    // Painting stops when input arrives: the idle test is not asked forever.
    int asked = 0;
    RandomSource r(3);
    BoolMapBubbles stopped(&r, 640, 360, 100, [&] { return ++asked < 2; });
    EXPECT_LT(asked, 20);
    // Bubbles are not a regular pattern and some of them allow a second colour.
    int second = 0;
    for (int seed = 1; seed <= 60; ++seed) {
        RandomSource rs(seed * 104729);
        second += BoolMapBubbles(&rs, 32, 24, 100, nullptr).allowsSecondColor();
    }
    EXPECT_TRUE(second > 30 && second < 60) << second;
}

TEST(BoolMap, TheChooserDefaultShares) {
    LayoutSettings s({100, 0, 0}, {100, 0, 0, 0});
    s.settings.setStyleOverlappingShapes(10);
    buildChooserTables(s.settings.choosers(), s.settings, {true, true});
    const WeightedChooser& chooser = s.settings.choosers().chooser(Family::BoolMap);
    ASSERT_EQ(chooser.size(), 6);
    const float total = 100 + 4 * 2 + 30;
    EXPECT_NEAR(chooser.weight(0), 100 / total, 1e-4);
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(chooser.weight(i), 2 / total, 1e-4);
    EXPECT_NEAR(chooser.weight(5), 30 / total, 1e-4);
    // The factory makes the kind at the drawn index.
    std::map<std::string, int> made;
    RandomSource r(5);
    for (int i = 0; i < 400; ++i)
        made[typeid(*CreateBoolMap(r, s.settings.choosers(), 24, 16, 100, nullptr)).name()]++;
    EXPECT_GT(made[typeid(BoolMapAll).name()], 250);
    EXPECT_GT(made[typeid(BoolMapBubbles).name()], 40);
    EXPECT_GT(made[typeid(BoolMapCircles).name()], 0);
}
