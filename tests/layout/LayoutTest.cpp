#include <gtest/gtest.h>

#include <cmath>

#include "LayoutSupport.h"
#include "layout/Layout.h"

namespace {

// Fills `layout` with the cells of an even grid of the whole screen.
Layout gridLayout(LayoutSettings& s, int seed, int width = 800, int height = 600) {
    Layout layout;
    RandomSource random(seed);
    layout.newLayout(false, width, height, random, s.settings);
    return layout;
}

}  // namespace

TEST(Layout, NewLayoutDrawsInOrderAndAvoidsTheFullRectangle) {
    // Full section (one draw), full split refused nine times with avoidFull
    // (four draws, then ten), one cell so no checkering draw, the mirror draw.
    LayoutSettings s({1, 0, 0}, {1, 0, 0, 0});
    RandomSource random(2024);
    RandomSource copy = random;
    Layout layout;
    layout.newLayout(true, 152, 112, random, s.settings);
    for (int i = 0; i < 1 + 4 + 10 + 1; ++i) copy.next();
    expectSamePlace(random, copy);
    ASSERT_EQ(layout.subRects().size(), 1u);
    EXPECT_FLOAT_EQ(layout.coverage(), 1.0f);
    EXPECT_EQ(layout.groups(), 0);

    // Checkered at 100 but one cell: no draw, no groups.
    s.settings.setLayoutCheckered(100);
    RandomSource again(2024);
    layout.newLayout(false, 152, 112, again, s.settings);
    EXPECT_EQ(layout.groups(), 0);
    RandomSource copy2(2024);
    copy2.next(), copy2.next(), copy2.next();
    expectSamePlace(again, copy2);
}

TEST(Layout, CheckeringMirroringAndCoverageOfAGrid) {
    LayoutSettings s({1, 0, 0}, {0, 1, 0, 0});
    s.settings.setLayoutCheckered(100);
    s.settings.setLayoutSymmetric(1);  // compared with the draw itself: always
    for (int seed = 1; seed <= 30; ++seed) {
        Layout layout = gridLayout(s, seed, 803, 601);
        EXPECT_EQ(layout.groups(), 1);
        long area = 0;
        for (const SubRect& r : layout.subRects()) {
            area += long(r.width()) * r.height();
            EXPECT_EQ(r.group(), r.row() % 2 == r.column() % 2 ? 1 : 0);
            EXPECT_EQ(r.mirrorX(), r.column() % 2 == 1);
        }
        EXPECT_FLOAT_EQ(layout.coverage(), float(area) / (803 * 601));
        EXPECT_LT(layout.coverage(), 1.0f);  // odd sizes leave a strip
    }
    s.settings.setLayoutSymmetric(0);
    s.settings.setLayoutCheckered(0);
    Layout plain = gridLayout(s, 9);
    EXPECT_EQ(plain.groups(), 0);
    for (const SubRect& r : plain.subRects()) EXPECT_FALSE(r.mirrorX() || r.mirrorY() || r.group());
}

TEST(Layout, RenewalRenewsShrinksOrKeeps) {
    LayoutSettings s({1, 0, 0}, {0, 1, 0, 0});
    // An empty layout is renewed without the renewal draw.
    Layout fresh;
    RandomSource random(31);
    fresh.renew(false, 800, 600, random, s.settings);
    expectSamePlace(random, [&] {
        RandomSource r(31);
        Layout l;
        l.newLayout(false, 800, 600, r, s.settings);
        return r;
    }());
    // Find a draw that keeps a full-coverage layout (0.25 or more).
    const Layout before = gridLayout(s, 1);
    int seed = 1;
    while (RandomSource(seed).uniform() < 0.25) ++seed;
    for (int mode = 0; mode < 3; ++mode) {
        s.settings.setLayoutShrinkRandom(mode == 0 ? 100 : 0);
        s.settings.setLayoutShrinkEven(mode == 1 ? 100 : 0);
        Layout layout = before;
        RandomSource r(seed), copy(seed);
        layout.renew(false, 800, 600, r, s.settings);
        copy.next(), copy.next();
        const float f = mode == 1 ? float(copy.uniform()) : 0.0f;
        auto expected = before.subRects().begin();
        for (const SubRect& cell : layout.subRects()) {
            SubRect e = *expected++;
            if (mode == 0) e.shrinkRandom(copy);
            if (mode == 1) e.shrinkEven(f);
            EXPECT_EQ(cell.left(), e.left());
            EXPECT_EQ(cell.width(), e.width());
            EXPECT_EQ(cell.height(), e.height());
        }
        expectSamePlace(r, copy);
    }
    // A fresh request still takes the renewal draw first.
    Layout requested = before;
    RandomSource r(seed), copy(seed);
    requested.renew(true, 800, 600, r, s.settings);
    copy.next();
    Layout expected;
    expected.newLayout(false, 800, 600, copy, s.settings);
    expectSamePlace(r, copy);
    EXPECT_EQ(requested.subRects().size(), expected.subRects().size());
}

TEST(Layout, TinyScreensAndTheLargestCell) {
    LayoutSettings s({1, 1, 1}, {1, 1, 1, 1});
    s.settings.setLayoutShrinkRandom(50);
    s.settings.setLayoutShrinkEven(50);
    const int sizes[][2] = {{0, 0}, {1, 1}, {1, 600}, {152, 112}};
    for (const auto& size : sizes) {
        Layout layout;
        RandomSource random(size[0] + size[1]);
        for (int drawing = 0; drawing < 40; ++drawing) {
            layout.renew(drawing % 7 == 0, size[0], size[1], random, s.settings);
            EXPECT_FALSE(layout.subRects().empty());
            EXPECT_TRUE(layout.coverage() >= 0.0f && layout.coverage() <= 1.0f);
            for (const SubRect& r : layout.subRects())
                EXPECT_TRUE(r.left() >= 0 && r.width() >= 0 && r.left() + r.width() <= std::max(size[0], 1));
            int w = 0, h = 0;
            layout.largestSubRect(w, h);
            EXPECT_TRUE(w >= 1 && h >= 1);
        }
    }
    Layout mixed;
    mixed.subRects().emplace_back(0, 0, 30, 5, 0, 0);
    mixed.subRects().emplace_back(0, 0, 4, 40, 0, 1);
    int w = 0, h = 0;
    mixed.largestSubRect(w, h);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 40);
}
