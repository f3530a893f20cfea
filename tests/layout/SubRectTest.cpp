#include <cmath>
#include <limits>

#include "LayoutSupport.h"
#include "layout/SubRect.h"

TEST(SubRect, MapsMirrorsAndShrinksToEvenSizesNeverBelowSeventeen) {
    SubRect r(0, 20, 100, 51, 1, 2);
    EXPECT_TRUE(r.mapX(-1) == 0 && r.mapX(0) == 50 && r.mapX(1) == 100 &&
                r.mapX(-0.986f) == 1);  // 0.7 rounds up
    EXPECT_EQ(r.mapY(1), 20 + 50);      // an odd height leaves its last row out
    r.computeMirror(), r.computeGroup();
    EXPECT_TRUE(r.group() == 0 && r.mapX(-1) == 0 && r.mapY(-1) == 70);
    SubRect same(0, 0, 10, 10, 3, 1);
    same.computeGroup(), same.computeMirror();
    EXPECT_TRUE(same.group() == 1 && same.mapX(-1) == 10);
    // Far outside or not a number: some position, never undefined behaviour.
    EXPECT_EQ(same.mapX(1e30f), std::numeric_limits<int>::min());
    same.mapY(std::nanf(""));
    SubRect cell(0, 0, 101, 101, 0, 0);
    cell.shrink(0.1f, 0.1f, 0.1f, 0.1f);
    EXPECT_TRUE(cell.left() == 10 && cell.halfWidth() == 40);
    SubRect odd(100, 100, 100, 200, 0, 0);
    odd.shrink(0.0f, 0.0f, 0.25f, 1.5f);  // 75 becomes 76; -100 is no size
    EXPECT_TRUE(odd.width() == 76 && odd.height() == 0);
    SubRect narrow(5, 5, 16, 400, 0, 0);
    narrow.shrinkEven(1.0f);
    narrow.setRect(0, 0, 17, 16);
    EXPECT_EQ(narrow.height(), 400);
    narrow.setRect(0, 0, 17, 17);
    EXPECT_EQ(narrow.width(), 17);
    SubRect centred(100, 100, 200, 200, 0, 0);
    centred.shrinkEven(1.0f);  // a quarter from every side
    EXPECT_TRUE(centred.mapX(0) == 200 && centred.width() == 100);

    RandomSource random(4711), copy = random;
    SubRect drawn(0, 0, 1000, 1000, 0, 0), expected = drawn;
    drawn.shrinkRandom(random);
    float d[4];
    for (float& di : d) di = static_cast<float>(copy.uniform() * 0.25);
    expected.shrink(d[3], d[2], d[1], d[0]);  // the first draw moves the bottom
    expectSamePlace(random, copy);
    EXPECT_TRUE(drawn.left() == expected.left() && drawn.top() == expected.top() &&
                drawn.height() == expected.height());
}
