#include <set>
#include <typeinfo>

#include "styles/area/ReworkSupport.h"
#include "styles/area/Shrinker.h"
#include "styles/dot/DotBlt.h"

namespace {

class ShrinkerTest : public ReworkTest {
protected:
    // A seed from `first` on whose Shrinker of a w x h screen `wanted` holds.
    template <class Wanted>
    std::unique_ptr<Shrinker> shrinkerWhere(int w, int h, int& seed, Wanted wanted, int depth = 32) {
        for (; seed < 2000; ++seed) {
            auto s = style<Shrinker>(w, h, seed, depth, {}, false);
            if (wanted(*s)) return style<Shrinker>(w, h, seed, depth);
        }
        return nullptr;
    }
};

}  // namespace

TEST_F(ShrinkerTest, GoldenPictures) { goldenPictures<Shrinker>("shrinker", {32, 8}); }

TEST_F(ShrinkerTest, TinyScreensAndThePreviewFinish) { tinyScreens<Shrinker>(); }

TEST(ShrinkerGrid, OneBlockPerTwelvePixelsAtMostAndAtLeastOne) {
    EXPECT_EQ(Shrinker::gridCount(16, 11), 1);  // narrower than 12: one column
    EXPECT_EQ(Shrinker::gridCount(16, 12), 1);
    EXPECT_EQ(Shrinker::gridCount(16, 24), 2);
    EXPECT_EQ(Shrinker::gridCount(4, 1000), 4);
    EXPECT_EQ(Shrinker::gridCount(16, 0), 1);
    EXPECT_EQ(Shrinker::gridCount(1, 1), 1);
}

TEST_F(ShrinkerTest, ConstructionFollowsTheBlockCopier) {
    int grids = 0;
    for (int seed = 1; seed <= 80; ++seed) {
        auto s = style<Shrinker>(64, 48, seed);
        const DotBlt& blt = *s->dotBlt();
        EXPECT_EQ(s->repeats(), blt.repeats());
        EXPECT_GE(s->repeats(), 1);
        EXPECT_LE(s->repeats(), 10);
        for (int n : {s->columns(), s->rows()}) EXPECT_TRUE(n == 1 || n == 2 || n == 4 || n == 8 || n == 16) << n;
        if (typeid(blt) == typeid(DotBltAdj)) {
            EXPECT_FALSE(s->clear());
        }
        if (typeid(blt) == typeid(DotBltAverage)) {
            EXPECT_EQ(s->repeats(), 1);
        }
        if (typeid(blt) == typeid(DotBlt) && s->repeats() > 1) {
            EXPECT_FALSE(s->clear());
        }
        grids += s->columns() * s->rows() > 1;
    }
    EXPECT_GT(grids, 10);
}

TEST_F(ShrinkerTest, CellsUnderEightPixelsAreLeftAlone) {
    wholeScreenLayout();
    for (auto [w, h] : {std::pair{300, 7}, {7, 300}, {7, 7}}) {
        int seed = 1, tried = 0;
        for (; tried < 4; ++seed) {
            auto s = shrinkerWhere(w, h, seed, [&](const Shrinker& s) { return !s.clear() && drawsTheOnlyCell(s); });
            ASSERT_NE(s, nullptr);
            ++tried;
            const uint64_t before = hash();
            finish(*s);
            EXPECT_TRUE(s->isDone());
            EXPECT_EQ(hash(), before) << w << "x" << h << " seed " << seed;
        }
    }
}

TEST_F(ShrinkerTest, ShrunkenBlocksKeepTheNearestPixel) {
    // A two-coloured picture shrunk by scaled copies holds no third colour:
    // no pixel is a mixture of its neighbours.
    wholeScreenLayout();
    int seed = 1, changed = 0;
    for (int tried = 0; tried < 6; ++tried, ++seed) {
        auto s = shrinkerWhere(96, 80, seed, [&](const Shrinker& s) {
            const DotBlt& blt = *s.dotBlt();
            return typeid(blt) == typeid(DotBlt) && !s.clear() && drawsTheOnlyCell(s);
        });
        ASSERT_NE(s, nullptr);
        CDC& dc = *scene->dc();
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 96; ++x)
                dc.SetPixel(x, y, (x * x + 3 * y * y + x * y) % 7 < 3 ? RGB(255, 255, 255) : RGB(0, 0, 128));
        const uint64_t before = hash();
        finish(*s);
        std::set<uint32_t> colours;
        for (uint32_t p : pixels()) colours.insert(p);
        EXPECT_EQ(colours, (std::set<uint32_t>{RGB(255, 255, 255), RGB(0, 0, 128)})) << seed;
        changed += hash() != before;  // a single block may come out too small
    }
    EXPECT_GT(changed, 2);
}

TEST_F(ShrinkerTest, ThePartialCopyBackGivesThePixelsOfTheWholeOne) {
    settings().setLayoutBar(0);
    int changed = 0;
    for (int depth : {32, 8}) {
        int seed = 1;
        for (int tried = 0; tried < 2; ++tried, ++seed) {
            auto s = shrinkerWhere(200, 120, seed, [&](const Shrinker& s) {
                const DotBlt& blt = *s.dotBlt();
                return typeid(blt) == typeid(DotBltAdj);
            }, depth);
            ASSERT_NE(s, nullptr);
            const uint64_t start = hash();
            finish(*s);
            const uint64_t partial = hash();
            // The same seed again, the copy taking back the whole cell.
            s = style<Shrinker>(200, 120, seed, depth);
            static_cast<DotBltAdj*>(s->dotBlt())->setWholeCopyBack(true);
            finish(*s);
            EXPECT_EQ(hash(), partial) << "seed " << seed << " depth " << depth;
            changed += partial != start;
        }
    }
    EXPECT_GT(changed, 1);
}
