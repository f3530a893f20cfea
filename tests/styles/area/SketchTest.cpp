#include <functional>

#include "styles/area/ReworkSupport.h"
#include "styles/area/Sketch.h"
#include "styles/line/Line.h"

namespace {

class SketchTest : public ReworkTest {
protected:
    // Strokes of each row of a whole-screen cell painted by `paint`, for the
    // first seeds (up to `count`) that draw in it and pass `wanted`.
    template <class Paint, class Wanted>
    int forSeeds(int w, int h, int count, Paint paint, Wanted wanted) {
        wholeScreenLayout();
        int tried = 0;
        for (int seed = 1; seed <= 200 && tried < count; ++seed) {
            auto s = style<Sketch>(w, h, seed, 32, {}, false);
            if (!drawsTheOnlyCell(*s) || !wanted(*s)) continue;
            ++tried;
            paint(*scene->dc());
            finish(*s);
            EXPECT_TRUE(s->isDone());
            const int rowStep = std::max(1, s->line()->width());
            const long long rows = (h + rowStep - 1) / rowStep;
            checkStrokes(*s, rows, seed);
        }
        return tried;
    }
    std::function<void(const Sketch&, long long, int)> checkStrokes;
};

}  // namespace

TEST_F(SketchTest, GoldenPictures) { goldenPictures<Sketch>("sketch", {32}); }

TEST_F(SketchTest, TinyScreensAndThePreviewFinish) { tinyScreens<Sketch>(); }

TEST_F(SketchTest, ConstructionRules) {
    settings().setMaxTime(17);
    int clearing = 0;
    for (int seed = 1; seed <= 40; ++seed) {
        auto s = style<Sketch>(32, 24, seed, 32, {}, false);
        EXPECT_EQ(s->duration(), 17000u);
        EXPECT_GE(s->run(), 1);
        EXPECT_LE(s->run(), 17);
        const int strokes = s->line()->width();
        EXPECT_TRUE(strokes == 1 || strokes == 2 || strokes == 4 || strokes == 8) << strokes;
        clearing += s->clear();
    }
    EXPECT_GT(clearing, 20);
    EXPECT_LT(clearing, 40);
}

TEST_F(SketchTest, AUniformRowIsOneStrokeToTheLastColumn) {
    checkStrokes = [](const Sketch& s, long long rows, int seed) { EXPECT_EQ(s.strokes(), rows) << seed; };
    const int tried = forSeeds(
        90, 40, 5, [](CDC& dc) { dc.FillRect({0, 0, 90, 40}, RGB(40, 80, 120)); }, [](const Sketch&) { return true; });
    EXPECT_GT(tried, 0);
}

TEST_F(SketchTest, ARowOfStripesIsOneStrokePerStripe) {
    // Six stripes of 15 pixels, each far from the next in red: with runs no
    // longer than a stripe, each stripe is one stroke.
    checkStrokes = [](const Sketch& s, long long rows, int seed) { EXPECT_EQ(s.strokes(), 6 * rows) << seed; };
    const int tried = forSeeds(
        90, 30, 4,
        [](CDC& dc) {
            for (int i = 0; i < 6; ++i) dc.FillRect({i * 15, 0, i * 15 + 15, 30}, RGB(i % 2 ? 200 : 20, 50, 50));
        },
        [](const Sketch& s) { return s.run() <= 15; });
    EXPECT_GT(tried, 0);
}
