#include "styles/area/ReworkSupport.h"
#include "styles/area/Scroll.h"

namespace {

class ScrollTest : public ReworkTest {};

}  // namespace

TEST_F(ScrollTest, GoldenPictures) { goldenPictures<Scroll>("scroll", {32, 8}); }

TEST_F(ScrollTest, TinyScreensAndThePreviewFinish) { tinyScreens<Scroll>(); }

TEST_F(ScrollTest, OneToThirtyTwoShiftsOfAFewPixelsInsideTheScreen) {
    bool fewest = false, most = false;
    for (auto [w, h] : {std::pair{640, 360}, {152, 112}, {1, 1}, {100, 1}})
        for (int seed = 1; seed <= 120; ++seed) {
            auto s = style<Scroll>(w, h, seed, 32, {}, false);
            EXPECT_GE(s->count(), 1);
            EXPECT_LE(s->count(), 32);
            fewest = fewest || s->count() == 1;
            most = most || s->count() == 32;
            EXPECT_GE(s->dx(), -32);
            EXPECT_LE(s->dx(), 31);
            EXPECT_GE(s->dy(), -32);
            EXPECT_LE(s->dy(), 31);
            // Never inverted; on a screen with room for it, inside the
            // margins.
            const RECT& r = s->rect();
            EXPECT_LE(r.left, r.right);
            EXPECT_LE(r.top, r.bottom);
            EXPECT_GE(r.left, 32);
            EXPECT_GE(r.top, 32);
            if (w >= 160) {
                EXPECT_LE(r.right, w - 64) << seed;
            }
            if (h >= 160) {
                EXPECT_LE(r.bottom, h - 64) << seed;
            }
        }
    EXPECT_TRUE(fewest);
    EXPECT_TRUE(most);
}

TEST_F(ScrollTest, EachStepShiftsTheRectangleOnce) {
    // Every pixel unique; after n shifts a pixel of the rectangle holds the
    // one n (dx, dy) before it, where that lies in the rectangle too.
    int moved = 0;
    for (int seed = 1; seed <= 30; ++seed) {
        auto s = style<Scroll>(400, 300, seed);
        CDC& dc = *scene->dc();
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) dc.SetPixel(x, y, RGB(x % 256, y % 256, x / 256 + 2 * (y / 256)));
        const RECT r = s->rect();
        const int dx = s->dx(), dy = s->dy(), count = s->count();
        finish(*s);
        // The drawing's time may end it before its count.
        const int n = count - s->count();
        const CSurface& p = scene->surface();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const int sx = x - n * dx, sy = y - n * dy;
                if (sx < r.left || sy < r.top || sx >= r.right || sy >= r.bottom) continue;
                ASSERT_EQ(p.at(x, y), RGB(sx % 256, sy % 256, sx / 256 + 2 * (sy / 256)))
                    << x << "," << y << " seed " << seed;
                moved += dx || dy;
            }
    }
    EXPECT_GT(moved, 0);
}

TEST_F(ScrollTest, TheDrawnSizesMakeTheRectangle) {
    EXPECT_EQ(Scroll::area(32, 40, 100, 50), (RECT{32, 40, 132, 90}));
    EXPECT_EQ(Scroll::area(32, 40, 0, 50), (RECT{32, 40, 32, 90}));
    EXPECT_EQ(Scroll::area(32, 40, -5, -1), (RECT{32, 40, 32, 40}));
}

TEST_F(ScrollTest, AnInvertedRectangleScrollsNothing) {
    create(64, 64);
    paintStartingPicture();
    const uint64_t before = hash();
    const RECT inverted{50, 50, 10, 10};
    const RECT clip{0, 0, 63, 63};
    EXPECT_TRUE(scene->dc()->ScrollDC(5, 7, &inverted, &clip, nullptr));
    EXPECT_EQ(hash(), before);
}
