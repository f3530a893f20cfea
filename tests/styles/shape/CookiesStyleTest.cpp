#include <string>
#include <vector>

#include "support/SceneSupport.h"
#include "styles/shape/Cookies.h"
#include "support/GoldenImages.h"

namespace {

class CookiesStyleTest : public SceneTest {
  protected:
    // The hardware palette as the program starts (all black), which the
    // pictures of later tests in this program are hashed with.
    void TearDown() override {
        SceneTest::TearDown();
        const std::vector<PALETTEENTRY> black(256);
        CDisplay::instance().setHardwareEntries(0, 256, black.data());
    }
    // One whole Cookies picture on a w x h scene from `seed`.
    std::unique_ptr<Cookies> picture(int w, int h, int seed, int depth = 32) {
        create(w, h, depth);
        gApp.rand.seed(seed);
        auto cookies = std::make_unique<Cookies>(scene.get());
        for (int i = 0; i < 10 && !cookies->isDone(); ++i) cookies->step();
        return cookies;
    }
};

}  // namespace

TEST_F(CookiesStyleTest, GoldenPictures) {
    // Offered on true-colour displays; the palette display is kept too, for
    // the blending through the nearest palette entries.
    settings().setMaxTime(100);
    GoldenFile golden("cookies.txt");
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            auto cookies = picture(640, 360, seed, depth);
            EXPECT_TRUE(cookies->isDone());
            golden.check("cookies_" + std::to_string(depth) + "bit_seed" + std::to_string(seed),
                         scene->surface());
        }
}

TEST_F(CookiesStyleTest, TinyScreensAndThePreviewFinish) {
    settings().setMaxTime(100);
    for (auto [w, h] : {std::pair{1, 1},
                        {2, 2},
                        {3, 7},
                        {16, 16},
                        {33, 20},
                        {64, 64},
                        {152, 112},
                        {1, 100},
                        {100, 1}})
        for (int seed = 1; seed <= 10; ++seed) {
            auto cookies = picture(w, h, seed * 7919);
            EXPECT_TRUE(cookies->isDone()) << w << "x" << h << " seed " << seed;
        }
}
