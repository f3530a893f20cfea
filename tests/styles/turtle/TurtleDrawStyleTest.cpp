#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/SceneSupport.h"
#include "styles/draw/Draw.h"
#include "styles/turtle/Turtle.h"
#include "support/GoldenImages.h"
#include "support/CleanDisplay.h"
#include "support/SurfacePixels.h"

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

class LineStyleTest : public SceneTest {
protected:
    void TearDown() override {
        SceneTest::TearDown();
        cleanDisplay();
    }
    // A style on a fresh w x h scene from `seed`, with a layout of its own.
    template <class Style>
    std::unique_ptr<Style> make(int w, int h, int seed, int depth = 32) {
        cleanDisplay();
        gApp.rand.seed(seed);
        create(w, h, depth);
        gApp.rand.seed(seed);
        scene->newLayout(true);
        return std::make_unique<Style>(scene.get());
    }
    static int finish(Saver& s, int steps = 1000000) {
        int i = 0;
        for (; i < steps && !s.isDone(); ++i) s.step();
        return i;
    }
    std::vector<uint32_t> pixels() const { return surfacePixels(scene->surface()); }
};

}  // namespace

TEST_F(LineStyleTest, EachListIsPaintedIntoItsOwnColourOfTheCheckerboard) {
    settings().setMaxTime(1000);
    settings().setSpeed(0);
    int checked = 0;
    for (int seed = 1; seed <= 30 && checked < 6; ++seed)
        for (int only : {0, 1}) {
            auto d = make<Draw>(320, 180, seed);
            // Cells of the drawing's group of both parities, or no test.
            int parities[2] = {0, 0};
            for (const SubRect& r : scene->subRects())
                if (r.group() == d->group()) ++parities[(r.row() + r.column()) % 2];
            if (!parities[0] || !parities[1]) break;
            for (int p : {0, 1}) d->list(p).clear();
            d->list(only).push_back(std::make_unique<Diagonal>(gApp.rand));
            const std::vector<uint32_t> before = pixels();
            finish(*d);
            EXPECT_TRUE(d->isDone());
            const std::vector<uint32_t> after = pixels();
            const int w = scene->surface().width();
            for (const SubRect& r : scene->subRects()) {
                bool changed = false;
                for (int y = r.top(); y < r.top() + r.height(); ++y)
                    for (int x = r.left(); x < r.left() + r.width(); ++x)
                        changed = changed || before[size_t(y * w + x)] != after[size_t(y * w + x)];
                const bool painted = r.group() == d->group() && (r.row() + r.column()) % 2 == only;
                EXPECT_EQ(changed, painted) << seed << " list " << only << " cell " << r.row() << "," << r.column();
            }
            ++checked;
        }
    EXPECT_GT(checked, 0);
}

TEST_F(LineStyleTest, FinishOnTinyScreensAndThePreview) {
    settings().setMaxTime(1000);
    settings().setSpeed(0);
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int seed = 1; seed <= 3; ++seed) {
            auto d = make<Draw>(w, h, seed);
            finish(*d);
            EXPECT_TRUE(d->isDone()) << w << "x" << h;
            auto t = make<Turtle>(w, h, seed);
            finish(*t, 200000);
            EXPECT_TRUE(t->isDone()) << w << "x" << h;
        }
}

TEST_F(LineStyleTest, DrawWantsAFreshLayoutAndTheTurtleNone) {
    settings().setMaxTime(7);
    auto d = make<Draw>(64, 48, 1);
    EXPECT_TRUE(d->needsFreshLayout());
    EXPECT_EQ(d->duration(), 7000u);
    auto t = make<Turtle>(64, 48, 1);
    EXPECT_FALSE(t->needsFreshLayout());
    EXPECT_EQ(t->duration(), 7000u);
    EXPECT_EQ(t->lsystem(), nullptr);  // invented at the first step
    t->step();
    ASSERT_NE(t->lsystem(), nullptr);
}

TEST_F(LineStyleTest, GoldenPictures) {
    settings().setMaxTime(1000);
    GoldenFile golden("turtle_draw.txt");
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            auto d = make<Draw>(640, 360, seed, depth);
            finish(*d);
            EXPECT_TRUE(d->isDone());
            golden.check("draw_" + std::to_string(depth) + "bit_seed" + std::to_string(seed), scene->surface());
            auto t = make<Turtle>(640, 360, seed, depth);
            finish(*t);
            EXPECT_TRUE(t->isDone());
            golden.check("turtle_" + std::to_string(depth) + "bit_seed" + std::to_string(seed), scene->surface());
        }
}

// The same on grids of even cells, where the checkerboard and the fitting
// to each cell show.
TEST_F(LineStyleTest, GoldenPicturesOnEvenGrids) {
    settings().setMaxTime(1000);
    settings().setLayoutEven(100), settings().setLayoutBar(0), settings().setLayoutLimn(0);
    settings().setLayoutFullScreen(0), settings().setLayoutShrinkRandom(0), settings().setLayoutShrinkEven(0);
    GoldenFile golden("turtle_draw_grid.txt");
    for (int seed = 1; seed <= 3; ++seed) {
        auto d = make<Draw>(640, 360, seed);
        finish(*d);
        golden.check("draw_grid_seed" + std::to_string(seed), scene->surface());
        auto t = make<Turtle>(640, 360, seed);
        finish(*t);
        golden.check("turtle_grid_seed" + std::to_string(seed), scene->surface());
    }
}

TEST_F(LineStyleTest, InputStopsAStepAndTheNextGoesOnWhereItStopped) {
    settings().setMaxTime(1000);
    settings().setSpeed(0);
    for (int seed = 1; seed <= 3; ++seed) {
        int pumps = 0, next = 50, breaks = 0;
        platform::HeadlessOptions options;
        options.onTime = [&](int64_t) {
            if (++pumps == next && scene) scene->PostMessage(WM_USER);
        };
        for (bool draw : {true, false}) {
            CDisplay::instance().reset(32);
            gApp.rand.seed(seed);
            create(320, 180, 32, options);
            gApp.rand.seed(seed);
            scene->newLayout(draw);
            std::unique_ptr<Saver> s;
            if (draw)
                s = std::make_unique<Draw>(scene.get());
            else
                s = std::make_unique<Turtle>(scene.get());
            for (int i = 0; i < 100000 && !s->isDone(); ++i) {
                s->step();
                if (!platform::messageQueued()) continue;
                // The step returned within a handful of idle tests of the message.
                EXPECT_LE(pumps - next, 8) << seed;
                platform::resetMessageQueue();
                next = pumps + 200;
                ++breaks;
            }
            EXPECT_TRUE(s->isDone()) << seed << (draw ? " Draw" : " Turtle");
        }
        EXPECT_GT(breaks, 0) << seed;
    }
}
