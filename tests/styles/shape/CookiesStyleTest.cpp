#include "styles/StyleSupport.h"
#include "styles/shape/Cookies.h"

namespace {

class CookiesStyleTest : public StyleTest {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        settings().setMaxTime(100);
    }
    // One whole Cookies picture on a w x h scene from `seed`.
    std::unique_ptr<Cookies> picture(int w, int h, int seed, int depth = 32) {
        create(w, h, depth);
        gApp.rand.seed(seed);
        auto cookies = std::make_unique<Cookies>(scene.get());
        finish(*cookies, 10);
        return cookies;
    }
};

}  // namespace

TEST_F(CookiesStyleTest, GoldenPictures) {
    // The palette display too, for the blending through the nearest palette entries.
    GoldenFile golden("cookies.txt");
    goldenSeeds(golden, "cookies_", {32, 8},
                [this](int seed, int depth) { EXPECT_TRUE(picture(640, 360, seed, depth)->isDone()); });
}
