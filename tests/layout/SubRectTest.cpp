#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/RandomSource.h"
#include "layout/SubRect.h"
#include "LayoutSupport.h"

TEST(SubRect, MapsTheSquareOntoTheCellAndMirrors) {
    SubRect r(0, 20, 100, 51, 1, 1);
    EXPECT_EQ(r.mapX(-1), 0);
    EXPECT_EQ(r.mapX(0), 50);
    EXPECT_EQ(r.mapX(1), 100);
    EXPECT_EQ(r.mapY(-1), 20);
    EXPECT_EQ(r.mapY(1), 20 + 50);  // an odd height leaves its last row out
    EXPECT_EQ(r.mapX(0.5f), 75);
    r.computeMirror();
    EXPECT_TRUE(r.mirrorX() && r.mirrorY());
    EXPECT_EQ(r.mapX(-1), 100);
    EXPECT_EQ(r.mapX(1), 0);
    EXPECT_EQ(r.mapY(-1), 70);
    // Far outside or not a number: some position, never undefined behaviour.
    EXPECT_EQ(r.mapX(1e30f), std::numeric_limits<int>::min());
    r.mapY(std::nanf(""));
}

TEST(SubRect, ShrinksWithEvenSizesAndNeverBelowSeventeen) {
    SubRect r(0, 0, 101, 101, 0, 0);
    r.shrink(0.1f, 0.1f, 0.1f, 0.1f);
    EXPECT_EQ(r.left(), 10);
    EXPECT_EQ(r.width(), 80);
    EXPECT_EQ(r.halfWidth(), 40);
    r.shrink(0.0f, 0.0f, 0.1f, 0.45f);  // 72 wide, 44 high: both even already
    EXPECT_EQ(r.width(), 72);
    EXPECT_EQ(r.height(), 44);
    SubRect odd(0, 0, 100, 100, 0, 0);
    odd.shrink(0.0f, 0.0f, 0.25f, 0.5f);  // 75 becomes 76
    EXPECT_EQ(odd.width(), 76);
    EXPECT_EQ(odd.height(), 50);
    SubRect narrow(5, 5, 16, 400, 0, 0);
    narrow.shrinkEven(1.0f);
    EXPECT_EQ(narrow.height(), 400);
    narrow.setRect(0, 0, 17, 16);
    EXPECT_EQ(narrow.width(), 16);
    narrow.setRect(1, 2, 17, 30);
    EXPECT_EQ(narrow.halfWidth(), 8);
    SubRect inverted(0, 0, 40, 40, 0, 0);
    inverted.shrink(0.9f, 0.9f, 0.9f, 0.9f);
    EXPECT_EQ(inverted.width(), 0);
    SubRect centred(100, 100, 200, 200, 0, 0);
    centred.shrinkEven(1.0f);  // a quarter from every side
    EXPECT_EQ(centred.mapX(0), 200);
    EXPECT_EQ(centred.width(), 100);
}

TEST(SubRect, RandomShrinkTakesTheFirstDrawForTheBottomSide) {
    RandomSource random(4711);
    RandomSource copy = random;
    SubRect r(0, 0, 1000, 1000, 0, 0);
    r.shrinkRandom(random);
    const double d1 = copy.uniform(), d2 = copy.uniform(), d3 = copy.uniform(), d4 = copy.uniform();
    expectSamePlace(random, copy);
    EXPECT_EQ(r.left(), static_cast<int>(1000 * static_cast<float>(d4 * 0.25)));
    EXPECT_EQ(r.top(), static_cast<int>(1000 * static_cast<float>(d3 * 0.25)));
    SubRect expected(0, 0, 1000, 1000, 0, 0);
    expected.shrink(static_cast<float>(d4 * 0.25), static_cast<float>(d3 * 0.25),
                    static_cast<float>(d2 * 0.25), static_cast<float>(d1 * 0.25));
    EXPECT_EQ(r.width(), expected.width());
    EXPECT_EQ(r.height(), expected.height());
}

TEST(SubRect, GroupsCheckerAndMirrorsFollowOddRowsAndColumns) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            SubRect r(0, 0, 10, 10, row, column);
            EXPECT_EQ(r.group(), 0);
            r.computeGroup();
            r.computeMirror();
            EXPECT_EQ(r.group(), (row + column) % 2 == 0 ? 1 : 0);
            EXPECT_EQ(r.mirrorX(), column % 2 == 1);
            EXPECT_EQ(r.mirrorY(), row % 2 == 1);
        }
    }
}
