#include "LayoutSupport.h"
#include "layout/Section.h"

// Where the draws fall is the goldens' business; here, what holds for every draw.
TEST(Section, CentredAndRandomStayOnScreenWithEvenSizes) {
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource random(seed);
        int left, top, w, h;
        SectionCentred(&random).place(800, 600, left, top, w, h);
        EXPECT_TRUE(w >= 200 && h >= 150 && w % 2 == 0 && h % 2 == 0) << seed;
        EXPECT_TRUE(left == (800 - w) / 2 && top == (600 - h) / 2 && left >= 0 && top >= 0) << seed;
        SectionRandom(&random).place(800, 600, left, top, w, h);
        EXPECT_TRUE(left >= 0 && top >= 0 && left + w <= 800 && top + h <= 600 && h % 2 == 0) << seed;
    }
}
