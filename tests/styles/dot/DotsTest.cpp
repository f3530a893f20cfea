#include "styles/StyleSupport.h"
#include "styles/dot/Dot.h"
#include "styles/dot/Dots.h"
#include "styles/dot/Dotter.h"
#include "support/FakeScene.h"

namespace {

constexpr int kRandom = 0, kIter = 7, kSin = 8;

class DotsTest : public StyleTest {
protected:
    // Dots on a fresh scene from `seed`; `dotter` >= 0 the only member chosen.
    std::unique_ptr<Dots> dots(int w, int h, int seed, int depth = 32, int dotter = -1,
                               platform::HeadlessOptions options = {}) {
        fresh(w, h, seed, depth, std::move(options));
        if (dotter >= 0) onlyMember(Family::Dotter, 9, dotter);
        return std::make_unique<Dots>(scene.get());
    }
    static void finish(Dots& d, int steps = 1000) { StyleTest::finish(d, steps); }
    static std::string className(const Dotter& d) { return typeid(d).name(); }
};

// Dots drawing for a set time, whatever share of the screen its cells cover.
class TimedDots : public Dots {
public:
    TimedDots(StyleScene* scene, uint32_t ms) : Dots(scene) { m_dwDuration = ms; }
};

// A minute of dots in a group no cell belongs to: nothing reaches the screen.
class DotsInNoCell : public TimedDots {
public:
    explicit DotsInNoCell(StyleScene* scene) : TimedDots(scene, 60000) { m_iGroup = 2; }
};

}  // namespace

TEST(Dotter, WalkersLeavingTheSquareRestartAtTheCentreOnTheSameCall) {
    PatternScope scope([] { return true; });
    for (int index : {1, 2, 3, 4, 5})
        for (int seed = 1; seed <= 20; ++seed) {
            RandomSource r(seed);
            auto d = MakeDotter(index, r);
            float x = 3, y = -3;  // already outside: no step brings it back
            d->next(x, y);
            EXPECT_TRUE(x == 0.0f && y == 0.0f) << DotterName(index);
            EXPECT_TRUE(index != 4 || dynamic_cast<const DotterPolar&>(*d).radius() == 0.0f);
            // Inside, every walker stays within the square.
            for (int i = 0; i < 2000; ++i) {
                d->next(x, y);
                ASSERT_FALSE(Dotter::isOutside(x, y)) << DotterName(index);
            }
        }
}

TEST(Dotter, SinCurveGoesOnAdvancingFarAlongIt) {
    PatternScope scope([] { return true; });
    int moved = 0;
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource r(seed), again(seed);
        DotterSin d(r), fresh(again);
        if (d.dt() < 1e-4f) continue;
        float x = 0, y = 0, fx = 0, fy = 0;
        fresh.next(fx, fy);
        // Past t = 4096 and far beyond, t grows by dt a call (to a float's
        // precision) and never starts the curve again.
        for (const float far : {4096.0f, 1e5f}) {
            d.setStepCount(static_cast<int64_t>(far / d.dt()));
            d.next(x, y);
            const float t0 = d.t();
            EXPECT_GE(t0, far * 0.999f) << seed;
            for (int i = 0; i < 1000; ++i) {
                d.next(x, y);
                ASSERT_LE(std::fabs(x), 1.01f);
                ASSERT_FALSE(x == fx && y == fy) << seed << " back at the start";
            }
            EXPECT_NEAR(d.t() - t0, 1000 * d.dt(), 10 * d.dt() + 0.02f) << seed << " at " << far;
        }
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
        EXPECT_TRUE(x == 0.0f && y == 0.0f);
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
        // The orbit goes on from the accepted trial, not from the centre.
        EXPECT_FALSE(d.ix() == 0.0f && d.iy() == 0.0f) << seed;
        float x = 0, y = 0, lo = 10, hi = 0;
        for (int i = 0; i < 500; ++i) {
            d.next(x, y);
            const float dist = std::sqrt(x * x + y * y);
            lo = std::min(lo, dist), hi = std::max(hi, dist);
        }
        EXPECT_GT(hi - lo, 0.1f) << seed;
    }
}

TEST(Dotter, HopalongStaysUsableOrSaysSoAndNaNIsOutOfRange) {
    PatternScope scope([] { return true; });
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource r(seed);
        DotterHopalong d(r);
        float x = 0, y = 0;
        for (int i = 0; i < 1000; ++i) {
            if (!d.next(x, y)) continue;
            // Divided by the running maximum of signed values: never above 1.
            ASSERT_TRUE(!std::isnan(x) && x <= 1.0f && std::fabs(x) <= 1e6f) << x;
        }
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(Dotter::usable(nan) || Dotter::usable(5e-7f) || Dotter::usable(2e6f));
    EXPECT_TRUE(Dotter::usable(0.0f));
    RangeRect rect;
    EXPECT_FALSE(Dots::inRange(rect, nan, 0) || Dots::inRange(rect, 0, nan) || Dots::inRange(rect, nan, nan));
    EXPECT_TRUE(Dots::inRange(rect, 1, -1));
    EXPECT_FALSE(Dots::inRange(rect, 1.001f, 0));
}

TEST_F(DotsTest, CounterStartsAgainAtOneAfterTheLimit) {
    settings().setMaxTime(1000), settings().setMinTime(1000);
    for (int32_t start : {Dots::kCounterLimit + 1, Dots::kCounterLimit}) {
        nextPost = 50;
        std::unique_ptr<Dots> d;
        for (int seed = 3; !d || d->duration() < 1000; ++seed) d = dots(64, 48, seed, 32, kRandom, posting());
        d->setCounter(start);
        pumps = 0;
        d->step();
        ASSERT_TRUE(platform::messageQueued());
        // From above the limit the first position counts 1; from the limit, the second.
        EXPECT_TRUE(d->counter() >= 1 && d->counter() < 100) << start << ": " << d->counter();
    }
}

TEST_F(DotsTest, PendingInputDuringAnIteratedMapsSetUpEndsTheDrawingWithNothingDrawn) {
    settings().setMaxTime(1000), settings().setMinTime(1000);
    nextPost = 20;
    auto d = dots(64, 48, 2, 32, kIter, posting());
    const DotterIter* iter = dynamic_cast<const DotterIter*>(d->dotter());
    ASSERT_NE(iter, nullptr);
    EXPECT_FALSE(iter->valid());
    // The message read, the drawing still ends without a stamp.
    platform::resetMessageQueue();
    d->step();
    EXPECT_TRUE(d->isDone() && d->stamps() == 0 && d->counter() == 0);
}

// One-pixel dots never wait between positions, yet a drawing of them that
// shows nothing still makes way within seconds, not at the end of its time.
TEST_F(DotsTest, SingleDotsThatShowNothingMakeWayEarly) {
    settings().setSingleDot(100);
    fresh(160, 90, 5);
    DotsInNoCell d(scene.get());
    ASSERT_EQ(d.dot()->area(), 1);
    d.run();
    EXPECT_TRUE(d.leftNothingToSee() && nowMs() < 5000) << nowMs();
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
    goldenSeeds(golden, "dots_", {32, 8}, [this](int seed, int depth) {
        dots(640, 360, seed, depth);  // the scene and its layout
        gApp.rand.seed(seed);
        TimedDots d(scene.get(), 20000);
        finish(d);
        EXPECT_TRUE(d.isDone());
    });
}
