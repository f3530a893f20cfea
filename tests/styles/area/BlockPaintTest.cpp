#include "styles/area/ReworkSupport.h"
#include "styles/area/BlockPaint.h"

namespace {

class BlockPaintTest : public ReworkTest {
protected:
    // The blocks of a uniform w x h screen, for the first seeds that draw in it.
    std::vector<std::vector<RECT>> uniformBlocks(int w, int h, int count) {
        wholeScreenLayout();
        std::vector<std::vector<RECT>> found;
        for (int seed = 1; seed <= 100 && static_cast<int>(found.size()) < count; ++seed) {
            auto s = style<BlockPaint>(w, h, seed);
            if (!drawsTheOnlyCell(*s)) continue;
            fill(RGB(70, 130, 180));
            finish(*s);
            EXPECT_TRUE(s->isDone());
            found.push_back(s->covered());
        }
        return found;
    }
};

}  // namespace

TEST_F(BlockPaintTest, GoldenPictures) { goldenPictures<BlockPaint>("blockpaint", {32}); }

TEST_F(BlockPaintTest, TinyScreensAndThePreviewFinish) { tinyScreens<BlockPaint>(); }

TEST_F(BlockPaintTest, AUniformCellIsOneBlockAlongItsDiagonalAndItsStrips) {
    // 100 x 40: the diagonal block is 40 x 40, the strip right of it is
    // covered by blocks of its own.
    for (const auto& blocks : uniformBlocks(100, 40, 3)) {
        ASSERT_FALSE(blocks.empty());
        EXPECT_EQ(blocks[0], (RECT{0, 0, 40, 40}));
        std::vector<int> covered(100 * 40, 0);
        for (const RECT& b : blocks) {
            EXPECT_GE(b.width(), 8);
            for (int y = b.top; y < b.bottom; ++y)
                for (int x = b.left; x < b.right; ++x) ++covered[static_cast<size_t>(y * 100 + x)];
        }
        for (int c : covered) EXPECT_EQ(c, 1);
    }
}

TEST_F(BlockPaintTest, StripsNarrowerThanEightJoinTheBlock) {
    for (auto [w, h] : {std::pair{45, 40}, {40, 47}, {47, 47}, {9, 9}, {3, 5}})
        for (const auto& blocks : uniformBlocks(w, h, 2)) {
            ASSERT_EQ(blocks.size(), 1u) << w << "x" << h;
            EXPECT_EQ(blocks[0], (RECT{0, 0, w, h}));
        }
}

TEST_F(BlockPaintTest, ABlockStopsWhereTheColourChanges) {
    wholeScreenLayout();
    for (int seed = 1; seed <= 40; ++seed) {
        auto s = style<BlockPaint>(120, 60, seed);
        if (!drawsTheOnlyCell(*s)) continue;
        // A step of more than 32 in blue at x = 20: the first block ends there.
        fill(RGB(10, 10, 10));
        scene->dc()->FillRect({20, 0, 120, 60}, RGB(10, 10, 60));
        finish(*s);
        ASSERT_FALSE(s->covered().empty());
        EXPECT_EQ(s->covered()[0], (RECT{0, 0, 20, 20})) << seed;
        return;
    }
    FAIL() << "no seed drew in the cell";
}
