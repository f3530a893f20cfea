#include "styles/ReworkSupport.h"
#include "styles/area/Repaint.h"

namespace {

class RepaintTest : public ReworkTest {};

}  // namespace

TEST_F(RepaintTest, GoldenPictures) { goldenPictures<Repaint>("repaint", {32}); }

TEST_F(RepaintTest, TinyScreensAndThePreviewFinish) { tinyScreens<Repaint>(); }
