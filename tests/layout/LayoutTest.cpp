#include "LayoutSupport.h"
#include "layout/Layout.h"

TEST(Layout, NewLayoutDrawsInOrderChecksAndMirrorsRenewalRenewsShrinksOrKeeps) {
    // Full section (one draw); the full split refused with avoidFull (four
    // draws, then the chooser's ten); one cell: no checkering draw; the mirror draw.
    LayoutSettings full({1, 0, 0}, {1, 0, 0, 0});
    full.settings.setLayoutCheckered(100);
    RandomSource random(2024), copy = random;
    Layout layout;
    layout.newLayout(true, 152, 112, random, full.settings);
    for (int i = 0; i < 1 + 4 + 10 + 1; ++i) copy.next();
    expectSamePlace(random, copy);
    EXPECT_TRUE(layout.subRects().size() == 1u && layout.coverage() == 1.0f && layout.groups() == 0);

    LayoutSettings even({1, 0, 0}, {0, 1, 0, 0});
    even.settings.setLayoutCheckered(100);
    even.settings.setLayoutSymmetric(1);  // compared with the draw itself: always
    for (int seed = 1; seed <= 30; ++seed) {
        RandomSource r(seed);
        layout.newLayout(false, 803, 601, r, even.settings);
        EXPECT_EQ(layout.groups(), 1);
        long area = 0;
        for (const SubRect& c : layout.subRects()) {
            area += long(c.width()) * c.height();
            EXPECT_TRUE(c.group() == (c.row() % 2 == c.column() % 2) && c.mirrorX() == (c.column() % 2 == 1));
        }
        EXPECT_FLOAT_EQ(layout.coverage(), float(area) / (803 * 601));
        EXPECT_LT(layout.coverage(), 1.0f) << "odd sizes leave a strip";
    }
    // Renewal renews, shrinks or keeps.
    LayoutSettings s({1, 0, 0}, {0, 1, 0, 0});
    Layout before;
    RandomSource first(1), expected(1);
    before.renew(false, 800, 600, first, s.settings);  // empty: no renewal draw
    Layout twin;
    twin.newLayout(false, 800, 600, expected, s.settings);
    expectSamePlace(first, expected);

    int seed = 1;  // a first draw of 0.25 or more keeps a full-coverage kept
    while (RandomSource(seed).uniform() < 0.25) ++seed;
    for (int mode = 0; mode < 4; ++mode) {
        s.settings.setLayoutShrinkRandom(mode == 0 ? 100 : 0),
            s.settings.setLayoutShrinkEven(mode == 1 ? 100 : 0);
        Layout kept = before;
        RandomSource r(seed), copy(seed);
        kept.renew(mode == 3, 800, 600, r, s.settings);
        copy.next();
        if (mode == 3) {  // a fresh request still takes the renewal draw first
            twin.newLayout(false, 800, 600, copy, s.settings);
            EXPECT_EQ(kept.subRects().size(), twin.subRects().size());
        } else {
            copy.next();
            const float f = mode == 1 ? float(copy.uniform()) : 0.0f;
            auto e = before.subRects().begin();
            for (const SubRect& c : kept.subRects()) {
                SubRect cell = *e++;
                if (mode == 0) cell.shrinkRandom(copy);
                if (mode == 1) cell.shrinkEven(f);
                EXPECT_TRUE(c.left() == cell.left() && c.width() == cell.width() &&
                            c.height() == cell.height());
            }
        }
        expectSamePlace(r, copy);
    }
}

TEST(Layout, TinyScreensAndTheLargestCell) {
    LayoutSettings s({1, 1, 1}, {1, 1, 1, 1});
    s.settings.setLayoutShrinkRandom(50), s.settings.setLayoutShrinkEven(50);
    for (const auto& [width, height] : {std::pair{0, 0}, {1, 1}, {1, 600}, {152, 112}}) {
        Layout layout;
        RandomSource random(width + height);
        for (int drawing = 0; drawing < 40; ++drawing) {
            layout.renew(drawing % 7 == 0, width, height, random, s.settings);
            EXPECT_TRUE(!layout.subRects().empty() && layout.coverage() >= 0 && layout.coverage() <= 1);
            for (const SubRect& r : layout.subRects())
                EXPECT_TRUE(r.left() >= 0 && r.width() >= 0 && r.left() + r.width() <= std::max(width, 1));
            int w = 0, h = 0;
            layout.largestSubRect(w, h);
            EXPECT_TRUE(w >= 1 && h >= 1) << width << "x" << height;
        }
    }
    Layout mixed;  // the widest and the highest need not be one cell
    mixed.subRects().emplace_back(0, 0, 30, 5, 0, 0), mixed.subRects().emplace_back(0, 0, 4, 40, 0, 1);
    int w = 0, h = 0;
    mixed.largestSubRect(w, h);
    EXPECT_TRUE(w == 30 && h == 40);
}
