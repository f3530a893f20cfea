#include "styles/ReworkSupport.h"
#include "styles/area/Shrinker.h"

namespace {

class ShrinkerTest : public ReworkTest {};

}  // namespace

TEST_F(ShrinkerTest, GoldenPictures) { goldenPictures<Shrinker>("shrinker", {32, 8}); }

TEST_F(ShrinkerTest, TinyScreensAndThePreviewFinish) { tinyScreens<Shrinker>(); }
