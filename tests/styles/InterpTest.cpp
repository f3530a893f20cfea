#include "styles/ReworkSupport.h"
#include "styles/area/Interp.h"

namespace {

class InterpTest : public ReworkTest {};

}  // namespace

TEST_F(InterpTest, GoldenPictures) { goldenPictures<Interp>("interp", {32, 8}); }

TEST_F(InterpTest, TinyScreensAndThePreviewFinish) { tinyScreens<Interp>(); }
