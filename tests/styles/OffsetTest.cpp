#include "styles/ReworkSupport.h"
#include "styles/area/Offset.h"

namespace {

class OffsetTest : public ReworkTest {};

}  // namespace

TEST_F(OffsetTest, GoldenPictures) { goldenPictures<Offset>("offset", {32}); }

TEST_F(OffsetTest, TinyScreensAndThePreviewFinish) { tinyScreens<Offset>(); }
