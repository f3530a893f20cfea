#include <typeinfo>

#include "styles/area/ReworkSupport.h"
#include "styles/area/Repaint.h"
#include "styles/dot/DotOffset.h"
#include "styles/dot/DotPrush.h"

namespace {

class RepaintTest : public ReworkTest {};

}  // namespace

TEST_F(RepaintTest, GoldenPictures) { goldenPictures<Repaint>("repaint", {32}); }

TEST_F(RepaintTest, TinyScreensAndThePreviewFinish) { tinyScreens<Repaint>(); }

TEST(RepaintDots, TwoDotsPerPixelOfADot) {
    EXPECT_EQ(Repaint::dotCount(100, 50, 1), 10000);
    EXPECT_EQ(Repaint::dotCount(1, 1, 1), 2);
    EXPECT_EQ(Repaint::dotCount(0, 50, 1), 0);
    EXPECT_EQ(Repaint::dotCount(100, 50, 0), 10000);  // a dot of no area counts as one pixel
    EXPECT_LT(Repaint::dotCount(100, 50, 16), 10000 / 5);
}

TEST_F(RepaintTest, AOnePixelDotPaintsTwiceTheCellsPixels) {
    settings().setSingleDot(100);
    int tried = 0;
    for (int seed = 1; seed <= 30 && tried < 5; ++seed) {
        auto s = style<Repaint>(90, 70, seed);
        if (s->dot()->area() != 1) continue;
        ++tried;
        long long expected = 0;
        for (const SubRect& r : scene->subRects())
            if (r.group() == s->group()) expected += 2LL * r.width() * r.height();
        finish(*s);
        EXPECT_TRUE(s->isDone());
        EXPECT_EQ(s->dotsPainted(), expected) << seed;
    }
    EXPECT_GT(tried, 0);
}

TEST_F(RepaintTest, APlainCopyHasNoPlainPixelsGlowsOrHay) {
    int plain = 0;
    for (int seed = 1; seed <= 80; ++seed) {
        settings().setSingleDot(seed % 2 ? 100 : 0);
        auto s = style<Repaint>(32, 24, seed);
        if (s->clear() || s->window()) continue;
        ++plain;
        const Dot& dot = *s->dot();
        EXPECT_NE(typeid(dot), typeid(DotSingle)) << seed;
        EXPECT_NE(typeid(dot), typeid(DotPrushSingle)) << seed;
        EXPECT_NE(typeid(dot), typeid(DotFade)) << seed;
    }
    EXPECT_GT(plain, 10);
}
