#include "styles/ReworkSupport.h"
#include "styles/area/BlockPaint.h"

namespace {

class BlockPaintTest : public ReworkTest {};

}  // namespace

TEST_F(BlockPaintTest, GoldenPictures) { goldenPictures<BlockPaint>("blockpaint", {32}); }

TEST_F(BlockPaintTest, TinyScreensAndThePreviewFinish) { tinyScreens<BlockPaint>(); }
