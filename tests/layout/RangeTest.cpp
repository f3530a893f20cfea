#include <gtest/gtest.h>

#include <cmath>

#include "LayoutSupport.h"
#include "engine/ChooserSet.h"
#include "layout/Range.h"

namespace {

// A chooser set whose range row has the given weights (rect, circle, lower,
// upper, slant, river, glass, sins).
ChooserSet rangeWeights(const std::vector<float>& weights) {
    ChooserSet set;
    set.chooser(Family::Range).build(weights, true);
    return set;
}

template <class T>
bool made(const std::unique_ptr<Range>& r) {
    return dynamic_cast<T*>(r.get()) != nullptr;
}

}  // namespace

TEST(Range, RectAndCircleHalveWhenMirrored) {
    RangeRect rect;
    EXPECT_TRUE(rect.isRect());
    EXPECT_EQ(rect.left(0.3f), -1.0f);
    EXPECT_EQ(rect.right(-5.0f), 1.0f);
    EXPECT_EQ(rect.top(), -1.0f);
    EXPECT_EQ(rect.bottom(), 1.0f);
    rect.setMirror(false, true);
    EXPECT_EQ(rect.top(), -1.0f);
    EXPECT_EQ(rect.bottom(), 0.0f);
    EXPECT_EQ(rect.right(0.0f), 1.0f);
    rect.setMirror(true, false);
    EXPECT_EQ(rect.right(0.5f), 0.0f);
    EXPECT_EQ(rect.bottom(), 1.0f);

    RangeCircle circle;
    EXPECT_FALSE(circle.isRect());
    EXPECT_EQ(circle.left(0.0f), -1.0f);
    EXPECT_EQ(circle.right(0.0f), 1.0f);
    EXPECT_NEAR(circle.left(0.6f), -0.8f, 1e-6);
    EXPECT_NEAR(circle.right(-0.6f), 0.8f, 1e-6);
    // The top and bottom rows are a single point; rows beyond have no width
    // and never a NaN.
    for (float y : {-1.0f, 1.0f, -1.5f, 2.0f, 1e30f}) {
        EXPECT_EQ(circle.left(y), 0.0f) << y;
        EXPECT_TRUE(std::signbit(circle.left(y))) << y;
        EXPECT_EQ(circle.right(y), 0.0f) << y;
    }
    circle.setMirror(true, true);
    for (float y : {-1.0f, -0.5f, 0.0f, 0.7f})
        EXPECT_EQ(circle.right(y), 0.0f) << y;
    EXPECT_EQ(circle.left(0.0f), -1.0f);
    EXPECT_EQ(circle.bottom(), 0.0f);
}

TEST(Range, TrianglesAndSlantIgnoreMirrors) {
    RangeLowerTriangle lower;
    RangeUpperTriangle upper;
    RangeSlant slant(0.5f, 0.25f);
    for (Range* r : {static_cast<Range*>(&lower), static_cast<Range*>(&upper),
                     static_cast<Range*>(&slant)}) {
        r->setMirror(true, true);
        EXPECT_FALSE(r->isRect());
        EXPECT_EQ(r->top(), -1.0f);
        EXPECT_EQ(r->bottom(), 1.0f);
    }
    // The lower triangle: a point at the top right, the full row at the bottom.
    EXPECT_EQ(lower.left(0.5f), -0.5f);
    EXPECT_EQ(lower.left(-1.0f), 1.0f);
    EXPECT_EQ(lower.right(-1.0f), 1.0f);
    EXPECT_EQ(lower.left(1.0f), -1.0f);
    EXPECT_GT(lower.left(-1.5f), lower.right(-1.5f));  // above the square: empty
    // The upper triangle: the full row at the top, a point at the bottom left.
    EXPECT_EQ(upper.left(-1.0f), -1.0f);
    EXPECT_EQ(upper.right(-1.0f), 1.0f);
    EXPECT_EQ(upper.right(1.0f), -1.0f);
    EXPECT_EQ(upper.right(0.25f), -0.25f);

    EXPECT_EQ(slant.left(1.0f), 0.25f);
    EXPECT_EQ(slant.right(1.0f), 0.75f);
    EXPECT_EQ(slant.left(-1.0f), -0.75f);
    EXPECT_EQ(slant.right(-1.0f), -0.25f);
    // Held inside the square; beyond it a row may come out empty.
    RangeSlant wide(-1.0f, 0.9f);
    EXPECT_FLOAT_EQ(wide.left(-1.0f), 0.1f);
    EXPECT_EQ(wide.right(-1.0f), 1.0f);
    EXPECT_EQ(wide.left(1.0f), -1.0f);
    EXPECT_GT(wide.left(-3.0f), wide.right(-3.0f));
    RangeSlant line(0.0f, 0.0f);
    EXPECT_EQ(line.left(0.4f), 0.0f);
    EXPECT_EQ(line.right(0.4f), 0.0f);
}

TEST(Range, SlantDrawsSlopeThenHalfWidth) {
    for (int seed : {1, 77, 123456}) {
        RandomSource random(seed);
        RandomSource copy = random;
        RangeSlant slant(random);
        EXPECT_EQ(slant.slope(), static_cast<float>(copy.signedUniform()));
        EXPECT_EQ(slant.halfWidth(), static_cast<float>(copy.uniform()));
        expectSamePlace(random, copy);
        EXPECT_TRUE(slant.slope() >= -1.0f && slant.slope() <= 1.0f);
    }
}

TEST(Range, FactoryMakesEachMemberWithOneDrawAndLeavesWavyOut) {
    const std::vector<float> only[] = {
        {1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0, 0, 0},
        {0, 0, 0, 1, 0, 0, 0, 0}, {0, 0, 0, 0, 1, 0, 0, 0}};
    RandomSource random(5);
    EXPECT_TRUE(made<RangeRect>(CreateRange(random, rangeWeights(only[0]))));
    EXPECT_TRUE(made<RangeCircle>(CreateRange(random, rangeWeights(only[1]))));
    EXPECT_TRUE(made<RangeLowerTriangle>(CreateRange(random, rangeWeights(only[2]))));
    EXPECT_TRUE(made<RangeUpperTriangle>(CreateRange(random, rangeWeights(only[3]))));

    // The choice, then the slant's own two draws.
    RandomSource copy = random;
    const auto slant = CreateRange(random, rangeWeights(only[4]));
    ASSERT_TRUE(made<RangeSlant>(slant));
    copy.uniform();
    EXPECT_EQ(static_cast<RangeSlant&>(*slant).slope(), static_cast<float>(copy.signedUniform()));
    copy.uniform();
    expectSamePlace(random, copy);

    // Wavy outlines alone: a rectangle, still with one draw.
    for (int member = 5; member < 8; ++member) {
        std::vector<float> w(8, 0.0f);
        w[static_cast<size_t>(member)] = 1.0f;
        copy = random;
        EXPECT_TRUE(made<RangeRect>(CreateRange(random, rangeWeights(w))));
        copy.uniform();
        expectSamePlace(random, copy);
    }
    // Mixed with the others they never come up, and the others keep their
    // proportions.
    const ChooserSet mixed = rangeWeights({0, 1, 0, 0, 0, 1000, 1000, 1000});
    for (int i = 0; i < 200; ++i) EXPECT_TRUE(made<RangeCircle>(CreateRange(random, mixed)));
    const ChooserSet half = rangeWeights({1, 1, 0, 0, 0, 50, 50, 50});
    int circles = 0;
    for (int i = 0; i < 2000; ++i) circles += made<RangeCircle>(CreateRange(random, half));
    EXPECT_NEAR(circles, 1000, 120);
}
