#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>
#include <typeinfo>

#include "support/FakeScene.h"
#include "support/SceneSupport.h"
#include "layout/Range.h"
#include "styles/dot/Dot.h"
#include "styles/dot/Dots.h"
#include "styles/dot/Dotter.h"
#include "support/Choosers.h"
#include "support/GoldenImages.h"
#include "support/CleanDisplay.h"

namespace {

constexpr int kIter = 7;
constexpr int kSin = 8;

class DotsTest : public SceneTest {
protected:
    void TearDown() override {
        SceneTest::TearDown();
        cleanDisplay();
    }
    // Dots on a fresh w x h scene from `seed`; `dotter` >= 0 makes that
    // member the only choice.
    std::unique_ptr<Dots> dots(int w, int h, int seed, int depth = 32, int dotter = -1,
                               platform::HeadlessOptions options = {}) {
        cleanDisplay();
        gApp.rand.seed(seed);
        create(w, h, depth, options);
        if (dotter >= 0) {
            std::vector<float> weights(9, 0.0f);
            weights[static_cast<size_t>(dotter)] = 1.0f;
            settings().choosers().chooser(Family::Dotter).build(weights, true);
        }
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return std::make_unique<Dots>(scene.get());
    }
    // A clock that moves `us` microseconds at every reading: the drawing
    // loop reads it once per position, so this sets the positions per second.
    void useCoarseClock(int64_t us) {
        clockScope.reset();
        auto c = std::make_unique<platform::SimulatedClock>(us);
        clock = c.get();
        clockScope = std::make_unique<platform::ScopedClock>(std::move(c));
    }
    static void finish(Dots& d, int steps = 1000) {
        for (int i = 0; i < steps && !d.isDone(); ++i) d.step();
    }
    static std::string className(const Dotter& d) { return typeid(d).name(); }
};

// Dots drawing for a set time, whatever share of the screen its cells cover.
class TimedDots : public Dots {
public:
    TimedDots(StyleScene* scene, uint32_t ms) : Dots(scene) { m_dwDuration = ms; }
};

bool isClass(const Dotter& d, const char* name) {
    return std::string(typeid(d).name()).find(name) != std::string::npos;
}

}  // namespace

TEST_F(DotsTest, DotterSharesOfTheDefaultWeights) {
    create(32, 32);
    const WeightedChooser& chooser = settings().choosers().chooser(Family::Dotter);
    RandomSource r(17);
    std::map<std::string, int> counts;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) ++counts[DotterName(chooser.choose(r, nullptr, WeightedChooser::kTries))];
    const std::map<std::string, double> expected = {
        {"DotterRandom", 1.9},    {"DotterAngle", 5.8}, {"DotterXY", 9.6},   {"DotterDiag", 9.6},
        {"DotterPolar", 5.8},     {"DotterPolarSin", 9.6}, {"DotterHopalong", 9.6},
        {"DotterIter", 9.6},      {"DotterSin", 38.5}};
    for (const auto& [name, percent] : expected)
        EXPECT_NEAR(100.0 * counts[name] / kDraws, percent, 0.5) << name;
    // Each index makes the member it names (the iterated map needs no scene).
    PatternScope scope([] { return true; });
    for (int i = -1; i <= 9; ++i) {
        RandomSource m(3);
        auto d = MakeDotter(i, m);
        EXPECT_TRUE(isClass(*d, DotterName(i))) << i << " " << className(*d);
    }
}

TEST(Dotter, WalkersLeavingTheSquareRestartAtTheCentreOnTheSameCall) {
    PatternScope scope([] { return true; });
    for (int index : {1, 2, 3, 4, 5}) {
        for (int seed = 1; seed <= 20; ++seed) {
            RandomSource r(seed);
            auto d = MakeDotter(index, r);
            float x = 3, y = -3;  // already outside: no step brings it back
            d->next(x, y);
            EXPECT_EQ(x, 0.0f) << DotterName(index);
            EXPECT_EQ(y, 0.0f) << DotterName(index);
            if (const auto* polar = dynamic_cast<const DotterPolar*>(d.get()); polar && index == 4) {
                EXPECT_EQ(polar->radius(), 0.0f);
            }
            // Inside, every walker stays within the square.
            for (int i = 0; i < 2000; ++i) {
                d->next(x, y);
                ASSERT_FALSE(Dotter::isOutside(x, y)) << DotterName(index);
            }
        }
    }
}

TEST(Dotter, TheStepIsSmallAndTheRandomPointCoversTheSquare) {
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource r(seed);
        DotterRandom d(r);
        EXPECT_LT(std::fabs(d.step()), 1.0f);
        float x = 5, y = 5;
        d.next(x, y);
        EXPECT_FALSE(Dotter::isOutside(x, y));
    }
}

TEST(Dotter, SymmetryOfTheMembers) {
    PatternScope scope([] { return true; });
    for (int i = 0; i < 9; ++i) {
        RandomSource r(5);
        auto d = MakeDotter(i, r);
        const bool single = i == 1 || i == 4 || i == 5 || i == 6 || i == 7;
        EXPECT_EQ(d->symmetry(7), single ? 1 : 7) << DotterName(i);
        EXPECT_EQ(d->needsRectRange(), i >= 6) << DotterName(i);
    }
}

TEST(Dotter, SinCurveKeepsMovingWhereAFloatWouldFreeze) {
    PatternScope scope([] { return true; });
    int moved = 0;
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource r(seed);
        DotterSin d(r);
        if (d.dt() < 1e-4f) continue;
        // Far along the curve t never passes the wrap, and each call moves it
        // by dt.
        d.setStepCount(static_cast<int64_t>(1e5f / d.dt()));
        float x = 0, y = 0;
        d.next(x, y);
        const float t0 = d.t();
        d.next(x, y);
        EXPECT_LE(t0, DotterSin::kTMax);
        EXPECT_NEAR(d.t() - t0, d.dt(), d.dt() * 0.01f) << seed;
        EXPECT_LE(std::fabs(x), 1.01f);
        // At the wrap the curve starts again from its first point.
        RandomSource again(seed);
        DotterSin fresh(again);
        float fx = 0, fy = 0;
        fresh.next(fx, fy);
        d.setStepCount(static_cast<int64_t>(DotterSin::kTMax / d.dt()));
        d.next(x, y);
        EXPECT_FLOAT_EQ(d.t(), d.dt());
        EXPECT_EQ(x, fx);
        EXPECT_EQ(y, fy);
        ++moved;
    }
    EXPECT_GT(moved, 10);
}

TEST(Dotter, IteratedMapEndsOnPendingInputAndThenDrawsNothing) {
    // Input waits from the start: no trial run, not valid.
    {
        PatternScope scope([] { return false; });
        RandomSource r(4);
        DotterIter d(r);
        EXPECT_FALSE(d.valid());
        float x = 0.5f, y = 0.5f;
        EXPECT_FALSE(d.next(x, y));
        EXPECT_EQ(x, 0.0f);
        EXPECT_EQ(y, 0.0f);
    }
    // Input arrives in the middle of a trial run: the search ends there.
    for (int after : {1, 10, 500, 1500}) {
        int polls = 0;
        PatternScope scope([&] { return ++polls < after; });
        RandomSource r(4);
        DotterIter d(r);
        EXPECT_FALSE(d.valid()) << after;
        EXPECT_LE(polls, after + 2);
    }
    // Left alone it finds an orbit that spreads out.
    PatternScope scope([] { return true; });
    for (int seed = 1; seed <= 5; ++seed) {
        RandomSource r(seed);
        DotterIter d(r);
        ASSERT_TRUE(d.valid());
        float x = 0, y = 0, lo = 10, hi = 0;
        for (int i = 0; i < 500; ++i) {
            d.next(x, y);
            const float dist = std::sqrt(x * x + y * y);
            lo = std::min(lo, dist), hi = std::max(hi, dist);
        }
        EXPECT_GT(hi - lo, 0.1f) << seed;
    }
}

TEST(Dotter, HopalongStaysUsableOrSaysSo) {
    PatternScope scope([] { return true; });
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource r(seed);
        DotterHopalong d(r);
        float x = 0, y = 0;
        for (int i = 0; i < 1000; ++i) {
            const bool ok = d.next(x, y);
            if (!ok) continue;
            ASSERT_FALSE(std::isnan(x));
            ASSERT_LE(std::fabs(x), 1e6f);
            // Divided by the running maximum of signed values: never above 1.
            EXPECT_LE(x, 1.0f);
        }
    }
    EXPECT_FALSE(Dotter::usable(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(Dotter::usable(5e-7f));
    EXPECT_TRUE(Dotter::usable(0.0f));
    EXPECT_FALSE(Dotter::usable(2e6f));
}

TEST_F(DotsTest, RangeTestTurnsAwayNaN) {
    RangeRect rect;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(Dots::inRange(rect, nan, 0));
    EXPECT_FALSE(Dots::inRange(rect, 0, nan));
    EXPECT_FALSE(Dots::inRange(rect, nan, nan));
    EXPECT_TRUE(Dots::inRange(rect, 1, -1));
    EXPECT_FALSE(Dots::inRange(rect, 1.001f, 0));
}

TEST_F(DotsTest, ConstructionRules) {
    settings().setMaxTime(20), settings().setMinTime(20);
    int replaced = 0, kept = 0, many = 0;
    for (int seed = 1; seed <= 60; ++seed) {
        auto d = dots(64, 48, seed);
        const Dotter& dotter = *d->dotter();
        if (dotter.needsRectRange()) {
            EXPECT_TRUE(d->range()->isRect()) << className(dotter);
            ++replaced;
        } else {
            kept += !d->range()->isRect();
        }
        EXPECT_GE(d->copies(), 1);
        EXPECT_LE(d->copies(), 32);
        if (dotter.symmetry(5) == 1) {
            EXPECT_EQ(d->copies(), 1) << className(dotter);
        }
        many += d->copies() > 1;
        // Large dots shorten the drawing; none lengthens it.
        EXPECT_LE(d->duration(), 20000u);
    }
    EXPECT_GT(replaced, 0);
    EXPECT_GT(kept, 0);
    EXPECT_GT(many, 0);
}

TEST_F(DotsTest, SymmetryOneDrawsNoCopies) {
    settings().setMaxTime(1), settings().setMinTime(1);
    settings().setSingleDot(100);
    useCoarseClock(500);
    // The random point with one copy: every position inside the square
    // stamps once per cell of the group.
    for (int seed = 1; seed <= 40; ++seed) {
        auto d = dots(64, 48, seed, 32, 0);
        if (d->copies() != 1 || !d->range()->isRect()) continue;
        int cells = 0;
        for (const SubRect& r : scene->subRects()) cells += r.group() == d->group();
        finish(*d);
        // The time limit may cut the last position short.
        EXPECT_LE(d->stamps(), static_cast<int64_t>(d->counter()) * cells) << seed;
        EXPECT_GT(d->stamps(), static_cast<int64_t>(d->counter() - 1) * cells) << seed;
        return;
    }
    FAIL() << "no seed gave one copy";
}

TEST_F(DotsTest, CopiesAreTheRotationsOfEachPosition) {
    settings().setMaxTime(1), settings().setMinTime(1);
    settings().setSingleDot(100);
    useCoarseClock(500);
    for (int seed = 1; seed <= 60; ++seed) {
        auto d = dots(64, 48, seed, 32, 0);
        if (d->copies() < 2 || !d->range()->isRect()) continue;
        int cells = 0;
        for (const SubRect& r : scene->subRects()) cells += r.group() == d->group();
        finish(*d);
        // Some rotated copies fall outside the square, never more than all.
        EXPECT_LE(d->stamps(), static_cast<int64_t>(d->counter()) * cells * d->copies());
        EXPECT_GT(d->stamps(), static_cast<int64_t>(d->counter()) * cells);
        return;
    }
    FAIL() << "no seed gave copies";
}

TEST_F(DotsTest, CounterStartsAgainAtOneAfterTheLimit) {
    settings().setMaxTime(1000), settings().setMinTime(1000);
    for (int32_t start : {Dots::kCounterLimit + 1, Dots::kCounterLimit}) {
        int pumps = 0;
        platform::HeadlessOptions options;
        options.onTime = [&](int64_t) {
            if (++pumps == 50) scene->PostMessage(WM_USER);
        };
        std::unique_ptr<Dots> d;
        for (int seed = 3; !d || d->duration() < 1000; ++seed) d = dots(64, 48, seed, 32, 0, options);
        d->setCounter(start);
        pumps = 0;
        d->step();
        ASSERT_TRUE(platform::messageQueued());
        // From above the limit the first position counts 1; from the limit
        // itself the second does.
        EXPECT_GE(d->counter(), 1) << start;
        EXPECT_LT(d->counter(), 100) << start;
    }
}

TEST_F(DotsTest, PendingInputDuringAnIteratedMapsSetUpEndsTheDrawingWithNothingDrawn) {
    settings().setMaxTime(1000), settings().setMinTime(1000);
    int pumps = 0;
    platform::HeadlessOptions options;
    options.onTime = [&](int64_t) {
        if (++pumps == 20) scene->PostMessage(WM_USER);
    };
    auto d = dots(64, 48, 2, 32, kIter, options);
    const DotterIter* iter = dynamic_cast<const DotterIter*>(d->dotter());
    ASSERT_NE(iter, nullptr);
    EXPECT_FALSE(iter->valid());
    // The message read, the drawing still ends without a stamp.
    platform::resetMessageQueue();
    d->step();
    EXPECT_TRUE(d->isDone());
    EXPECT_EQ(d->stamps(), 0);
    EXPECT_EQ(d->counter(), 0);
}

TEST_F(DotsTest, TinyScreensAndThePreview) {
    settings().setMaxTime(1), settings().setMinTime(1);
    useCoarseClock(500);
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int seed = 1; seed <= 6; ++seed) {
            settings().setSingleDot(seed % 2 ? 100 : 0);
            auto d = dots(w, h, seed * 13, seed % 3 ? 32 : 8, seed <= 3 ? kSin : -1);
            finish(*d);
            EXPECT_TRUE(d->isDone()) << w << "x" << h << " seed " << seed;
        }
}

TEST_F(DotsTest, GoldenPictures) {
    useCoarseClock(50);
    GoldenFile golden("dots_style.txt");
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            dots(640, 360, seed, depth);  // the scene and its layout
            gApp.rand.seed(seed);
            auto d = std::make_unique<TimedDots>(scene.get(), 20000);
            finish(*d);
            EXPECT_TRUE(d->isDone());
            const std::string name = "dots_" + std::to_string(depth) + "bit_seed" + std::to_string(seed);
            golden.check(name, scene->surface());
            if (const char* dir = std::getenv("QV_DOTS_PICTURES"))
                writePng(scene->surface(), CDisplay::instance().hardwarePalette(), std::string(dir) + "/" + name + ".png");
        }
}
