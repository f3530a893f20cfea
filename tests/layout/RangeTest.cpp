#include <cmath>

#include "LayoutSupport.h"
#include "layout/Range.h"

// (Which member a chooser index makes is the golden pictures' business.)
TEST(Range, OutlinesAtAndBeyondTheEdges) {
    RangeRect rect;
    RangeCircle circle;
    RangeLowerTriangle lower;
    RangeUpperTriangle upper;
    RangeSlant slant(0.5f, 0.25f), wide(-1.0f, 0.9f);
    EXPECT_TRUE(rect.isRect() && !circle.isRect() && !slant.isRect());
    EXPECT_NEAR(circle.right(-0.6f), 0.8f, 1e-6);
    // The circle's end rows are one point; rows beyond have no width, never NaN.
    for (float y : {-1.0f, 1.0f, -1.5f, 1e30f})
        EXPECT_TRUE(circle.left(y) == 0.0f && std::signbit(circle.left(y)) && circle.right(y) == 0.0f) << y;
    EXPECT_TRUE(lower.left(-1.0f) == 1.0f && lower.left(1.0f) == -1.0f && lower.right(0.0f) == 1.0f);
    EXPECT_GT(lower.left(-1.5f), lower.right(-1.5f));  // an empty row
    EXPECT_TRUE(upper.right(-1.0f) == 1.0f && upper.right(1.0f) == -1.0f && upper.left(0.0f) == -1.0f);
    EXPECT_TRUE(slant.left(1.0f) == 0.25f && slant.right(-1.0f) == -0.25f);
    EXPECT_FLOAT_EQ(wide.left(-1.0f), 0.1f);
    EXPECT_TRUE(wide.right(-1.0f) == 1.0f && wide.left(1.0f) == -1.0f);  // held to the square
    EXPECT_GT(wide.left(-3.0f), wide.right(-3.0f));
    // Mirroring halves only the rectangle and the circle.
    for (Range* r : std::initializer_list<Range*>{&rect, &circle, &lower, &upper, &slant}) {
        const float before = r->right(0.5f);
        r->setMirror(true, true);
        const bool halves = r == &rect || r == &circle;
        EXPECT_TRUE(r->top() == -1.0f && r->bottom() == (halves ? 0.0f : 1.0f) &&
                    r->right(0.5f) == (halves ? 0.0f : before));
    }
    rect.setMirror(false, true);
    EXPECT_TRUE(rect.right(0.0f) == 1.0f && rect.bottom() == 0.0f);
}

TEST(Range, WavyOutlinesFollowTheirNetwork) {
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource random(seed);
        RangeRiver river(random);
        RangeGlass glass(random);
        RangeSins sins(random);
        // The network is drawn on the first use only: the outline stays.
        const float first = river.left(0.25f);
        for (float y = -1; y <= 1; y += 0.125f) {
            EXPECT_FLOAT_EQ(river.right(y) - river.left(y), 1.0f);
            EXPECT_FLOAT_EQ(glass.right(y), -glass.left(y));
            EXPECT_TRUE(std::isfinite(sins.left(y)) && std::isfinite(sins.right(y)));
            EXPECT_TRUE(river.left(y) <= 0.0f && river.left(y) >= -1.0f);
        }
        EXPECT_EQ(river.left(0.25f), first);
        EXPECT_FALSE(river.isRect());
        // The two sides of the sines are two outputs of one network.
        bool differ = false;
        for (float y = -1; y <= 1; y += 0.25f) differ = differ || sins.right(y) != -sins.left(y);
        EXPECT_TRUE(differ);
        // The glass takes the left-right mirror only; the others take none.
        glass.setMirror(true, true);
        river.setMirror(true, true);
        EXPECT_TRUE(glass.right(0.3f) == 0.0f && glass.bottom() == 1.0f && glass.mirrorX());
        EXPECT_TRUE(river.bottom() == 1.0f && !river.mirrorX());
    }
}
