#include "LayoutSupport.h"
#include "layout/Section.h"

TEST(Section, CentredAndRandomDrawInOrderStayOnScreenAndFollowTheWeights) {
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource random(seed), copy = random;
        int left, top, w, h;
        SectionCentred(&random).place(800, 600, left, top, w, h);
        int ew = 200 + copy.below(600), eh = 150 + copy.below(450);
        ew += ew % 2, eh += eh % 2;  // 799 becomes 800
        EXPECT_TRUE(w == ew && h == eh && left == (800 - w) / 2 && top == (600 - h) / 2) << seed;

        SectionRandom(&random).place(800, 600, left, top, w, h);
        EXPECT_TRUE(left == copy.skewedBelow(600, 2) && top == copy.skewedBelow(450, 2)) << seed;
        ew = 200 + copy.skewedBelow(600 - left, -2);
        EXPECT_EQ(w, ew + ew % 2);
        copy.skewedBelow(450 - top, -2);
        expectSamePlace(random, copy);
        EXPECT_TRUE(left + w <= 800 && top + h <= 600 && h % 2 == 0);
    }
    RandomSource random(11);
    const auto centred = CreateSection(random, LayoutSettings({0, 1, 0}, {1, 0, 0, 0}).settings.choosers());
    EXPECT_NE(dynamic_cast<SectionCentred*>(centred.get()), nullptr);
    LayoutSettings none({0, 0, 0}, {1, 0, 0, 0});  // all zero: the last member
    const auto last = CreateSection(random, none.settings.choosers());
    EXPECT_NE(dynamic_cast<SectionRandom*>(last.get()), nullptr);
}
