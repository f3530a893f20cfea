#include "LayoutSupport.h"
#include "layout/Section.h"

// Where the draws fall is the goldens' business; here, what holds for every draw.
TEST(Section, CentredAndRandomStayOnScreenWithEvenSizesAndFollowTheWeights) {
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource random(seed);
        int left, top, w, h;
        SectionCentred(&random).place(800, 600, left, top, w, h);
        EXPECT_TRUE(w >= 200 && h >= 150 && w % 2 == 0 && h % 2 == 0) << seed;
        EXPECT_TRUE(left == (800 - w) / 2 && top == (600 - h) / 2 && left >= 0 && top >= 0) << seed;
        SectionRandom(&random).place(800, 600, left, top, w, h);
        EXPECT_TRUE(left >= 0 && top >= 0 && left + w <= 800 && top + h <= 600 && h % 2 == 0) << seed;
    }
    RandomSource random(11);
    const auto centred = CreateSection(random, LayoutSettings({0, 1, 0}, {1, 0, 0, 0}).settings.choosers());
    EXPECT_NE(dynamic_cast<SectionCentred*>(centred.get()), nullptr);
    LayoutSettings none({0, 0, 0}, {1, 0, 0, 0});  // all zero: the last member
    const auto last = CreateSection(random, none.settings.choosers());
    EXPECT_NE(dynamic_cast<SectionRandom*>(last.get()), nullptr);
}
