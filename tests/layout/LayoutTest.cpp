#include "LayoutSupport.h"
#include "layout/Layout.h"

// (The order of the draws is the golden pictures' business.)
TEST(Layout, CheckeredAndMirroredCellsAndTheirCoverage) {
    LayoutSettings full({1, 0, 0}, {1, 0, 0, 0});
    full.settings.setLayoutCheckered(100);
    RandomSource random(2024);
    Layout layout;
    layout.newLayout(true, 152, 112, random, full.settings);  // the full split refused, then taken
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

TEST(Layout, AFigureLayoutHasNoCellsTooSmallForAFigure) {
    LayoutSettings s({1, 1, 1}, {1, 1, 1, 1});
    const int side = Layout::kFigureCell;
    int relaidOut = 0;
    for (int seed = 1; seed <= 60; ++seed) {
        // Every other seed asks for a grid of two cells or more as well.
        const bool grid = seed % 2 == 0;
        RandomSource plain(seed), composed(seed);
        Layout first, layout;
        first.newLayout(true, 960, 540, plain, s.settings);
        layout.newFigureLayout(960, 540, grid, composed, s.settings);
        int w = 0, h = 0, fw = 0, fh = 0;
        layout.smallestSubRect(w, h);
        first.smallestSubRect(fw, fh);
        if (fw >= side && fh >= side && (!grid || first.subRects().size() > 1)) {
            // A first layout that is large enough is the one taken, with the same draws.
            EXPECT_EQ(composed.next(), plain.next()) << seed;
            EXPECT_EQ(layout.subRects().size(), first.subRects().size()) << seed;
            continue;
        }
        ++relaidOut;
        // Sixteen tries, of which about half pass, leave a small grid very rarely.
        EXPECT_TRUE(w >= side && h >= side) << seed << ": " << w << "x" << h;
        EXPECT_TRUE(!grid || layout.subRects().size() > 1) << seed;
    }
    EXPECT_GT(relaidOut, 5) << "the splits make fine grids often";

    // A preview window asks for cells of a quarter of its side; a screen of
    // one pixel can have no such cell and takes the last of its tries.
    for (const auto& [width, height] : {std::pair{152, 112}, {1, 1}, {0, 0}}) {
        RandomSource random(7);
        Layout layout;
        layout.newFigureLayout(width, height, false, random, s.settings);
        int w = 0, h = 0;
        layout.smallestSubRect(w, h);
        EXPECT_FALSE(layout.subRects().empty());
        if (width > 100) {
            EXPECT_TRUE(w >= height / 4 && h >= height / 4) << w << "x" << h;
        }
    }
}
