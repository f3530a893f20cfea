#include "styles/StyleSupport.h"
#include "styles/draw/Draw.h"
#include "styles/turtle/Turtle.h"

namespace {

// One segment across the whole square, once.
class Diagonal : public DrawCommand {
public:
    using DrawCommand::DrawCommand;
    bool next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) override {
        if (m_bDone) return false;
        x1 = y1 = -0.7f, x2 = y2 = 0.7f;
        m_bDone = true;
        return true;
    }

private:
    bool m_bDone = false;
};

class LineStyleTest : public StyleTest {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        settings().setMaxTime(1000);
    }
    // A style on a fresh w x h scene from `seed`, with a layout of its own.
    template <class Style>
    std::unique_ptr<Style> make(int w, int h, int seed, int depth = 32,
                                platform::HeadlessOptions options = {}) {
        fresh(w, h, seed, depth, std::move(options), true);
        return std::make_unique<Style>(scene.get());
    }
    // Draw and then Turtle on the same kind of scene: `check` after each.
    template <class Check>
    void both(int w, int h, int seed, int depth, Check check) {
        auto d = make<Draw>(w, h, seed, depth);
        finish(*d);
        check(*d, "draw_");
        auto t = make<Turtle>(w, h, seed, depth);
        finish(*t);
        check(*t, "turtle_");
    }
};

}  // namespace

TEST_F(LineStyleTest, GoldenPictures) {
    GoldenFile golden("turtle_draw.txt");
    goldenSeeds(golden, "draw_", {32, 8},
                [this](int seed, int depth) { finish(*make<Draw>(640, 360, seed, depth)); });
    goldenSeeds(golden, "turtle_", {32, 8},
                [this](int seed, int depth) { finish(*make<Turtle>(640, 360, seed, depth)); });
    // On even grids, where the checkerboard and the fitting to each cell show.
    settings().setLayoutEven(100), settings().setLayoutBar(0), settings().setLayoutLimn(0);
    settings().setLayoutFullScreen(0), settings().setLayoutShrinkRandom(0), settings().setLayoutShrinkEven(0);
    GoldenFile grid("turtle_draw_grid.txt");
    for (int seed = 1; seed <= 3; ++seed)
        both(640, 360, seed, 32, [&](Saver&, const std::string& name) {
            grid.check(name + "grid_seed" + std::to_string(seed), scene->surface());
        });
}

TEST_F(LineStyleTest, InputStopsAStepAndTheNextGoesOnWhereItStopped) {
    settings().setSpeed(0);
    for (int seed = 1; seed <= 3; ++seed) {
        int breaks = 0;
        for (bool draw : {true, false}) {
            nextPost = 50;
            std::unique_ptr<Saver> s;
            if (draw)
                s = make<Draw>(320, 180, seed, 32, posting());
            else
                s = make<Turtle>(320, 180, seed, 32, posting());
            // The step returned within a handful of idle tests of the message.
            breaks += stepThroughInput(
                *s, [&] { EXPECT_LE(pumps - nextPost, 8) << seed; }, 200);
            EXPECT_TRUE(s->isDone()) << seed << (draw ? " Draw" : " Turtle");
        }
        EXPECT_GT(breaks, 0) << seed;
    }
}
