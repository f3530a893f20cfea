#include "styles/ReworkSupport.h"
#include "styles/area/Scroll.h"

namespace {

class ScrollTest : public ReworkTest {};

}  // namespace

TEST_F(ScrollTest, GoldenPictures) { goldenPictures<Scroll>("scroll", {32, 8}); }

TEST_F(ScrollTest, TinyScreensAndThePreviewFinish) { tinyScreens<Scroll>(); }
