#include "layout/Range.h"
#include "styles/area/ReworkSupport.h"
#include "styles/area/Offset.h"
#include "styles/dot/Dot.h"

namespace {

class OffsetTest : public ReworkTest {};

}  // namespace

TEST_F(OffsetTest, GoldenPictures) { goldenPictures<Offset>("offset", {32}); }

TEST_F(OffsetTest, TinyScreensAndThePreviewFinish) { tinyScreens<Offset>(); }

TEST_F(OffsetTest, ConstructionRules) {
    settings().setMaxTime(33);
    int windows = 0;
    for (int seed = 1; seed <= 150; ++seed) {
        auto s = style<Offset>(64, 48, seed);
        EXPECT_EQ(s->duration(), 33000u);
        if (s->dot()->isFrame()) {
            EXPECT_TRUE(s->range()->isRect()) << seed;
        }
        if (s->all()) continue;
        ++windows;
        EXPECT_FALSE(s->dot()->isIrregular() && s->dot()->area() < 2) << seed;
        EXPECT_GE(s->winX0(), 0.0f);
        EXPECT_LE(s->winX0(), s->winX1());
        EXPECT_LE(s->winX1(), 1.0f);
        EXPECT_GE(s->winY0(), 0.0f);
        EXPECT_LE(s->winY0(), s->winY1());
        EXPECT_LE(s->winY1(), 1.0f);
    }
    EXPECT_GT(windows, 0);
    EXPECT_LT(windows, 40);
}

TEST_F(OffsetTest, TheWindowIsSparedAndOnlyItsFrameChanges) {
    wholeScreenLayout();
    int tried = 0;
    for (int seed = 1; seed <= 300 && tried < 3; ++seed) {
        auto s = style<Offset>(80, 60, seed);
        if (s->all() || !drawsTheOnlyCell(*s)) continue;
        ++tried;
        const std::vector<uint32_t> before = pixels();
        finish(*s);
        const std::vector<uint32_t> after = pixels();
        int changed = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const size_t i = static_cast<size_t>(y * 80 + x);
                const bool inside = x >= 80 * s->winX0() && x < 80 * s->winX1() && y >= 60 * s->winY0() &&
                                    y < 60 * s->winY1();
                if (inside) {
                    EXPECT_EQ(after[i], before[i]) << x << "," << y << " seed " << seed;
                }
                changed += after[i] != before[i];
            }
        EXPECT_GT(changed, 0) << seed;
    }
    EXPECT_GT(tried, 0);
}
