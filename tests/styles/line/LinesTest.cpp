#include "scene/StyleCatalogue.h"
#include "styles/StyleSupport.h"
#include "styles/line/Line.h"
#include "styles/line/LinerDrawer.h"
#include "styles/line/LinerMembers.h"
#include "styles/line/Lines.h"

namespace {

constexpr int kLinerKinds = 15;

// Lines drawing for a set time, optionally on a circular outline.
class TimedLines : public Lines {
public:
    TimedLines(StyleScene* scene, uint32_t ms, bool circle = false) : Lines(scene) {
        m_dwDuration = ms;
        if (circle) m_pRange = std::make_unique<RangeCircle>();
    }
};

class LinesTest : public StyleTest {
protected:
    void TearDown() override {
        asked.reset();
        StyleTest::TearDown();
    }
    // Lines on a fresh scene from `seed`, drawing for `ms`; `liner` >= 0 the only member.
    std::unique_ptr<TimedLines> lines(int w, int h, int seed, int depth = 32, int liner = -1,
                                      uint32_t ms = 20000, bool circle = false) {
        fresh(w, h, seed, depth);
        if (liner >= 0) onlyMember(Family::Liner, kLinerKinds, liner);
        return std::make_unique<TimedLines>(scene.get(), ms, circle);
    }
    static void finish(Lines& d, int steps = 1000) { StyleTest::finish(d, steps); }
    // Segments of `liner` until it ends (or `limit`), asking a Lines style on a small scene.
    std::vector<Segment> run(Liner& liner, int limit = 100000) {
        return segmentsOf(liner, ask(), line(), limit);
    }
    TimedLines& ask() {
        if (!asked) asked = lines(64, 48, 1);
        return *asked;
    }
    Line& line() { return *const_cast<Line*>(ask().line()); }
    std::unique_ptr<TimedLines> asked;
    RandomSource random{5};
};

}  // namespace

TEST_F(LinesTest, GridCountsFollowSpacingAndEdges) {
    for (int seed = 1; seed <= 30; ++seed) {
        RandomSource r(seed);
        LinerGrid grid(r);
        const auto count = [&](float d) {
            const int between = static_cast<int>(std::lround(2 / d)) - 1;
            return grid.edge() ? between + 2 : between;
        };
        const int expected =
            (grid.vertical() ? count(grid.dx()) : 0) + (grid.horizontal() ? count(grid.dy()) : 0);
        EXPECT_EQ(static_cast<int>(run(grid).size()), expected) << seed;
        EXPECT_TRUE(grid.vertical() || grid.horizontal());
    }
}

TEST_F(LinesTest, SpiroWithTinyRadiiStaysFinite) {
    asked = lines(64, 48, 1);
    for (double tiny : {1e-9, -1e-9, 1e-300}) {
        std::vector<double> radii(20, tiny);
        radii[0] = 1.0, radii[3] = 0.5;
        LinerSpiro spiro(random, radii, 0.3);
        const auto segments = run(spiro, 5000);
        ASSERT_EQ(segments.size(), 5000u);
        for (const Segment& s : segments)
            for (float v : {s.x1, s.y1, s.x2, s.y2}) ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= 1);
    }
    // The drawn spirograph starts with a segment from its first point to itself.
    RandomSource r(3);
    LinerSpiro drawn(r);
    const Segment s = run(drawn, 1).at(0);
    EXPECT_TRUE(s.x1 == s.x2 && s.y1 == s.y2);
}

TEST_F(LinesTest, SegmentsOnOnePixelArePixelsAndTinyScreensWork) {
    useCoarseClock(1000);
    // The outline's first square has no size: its sides are single pixels.
    auto style = lines(64, 48, 1, 32, 6, 200);
    finish(*style);
    EXPECT_GT(style->pixelDraws(), 0);
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int liner : {1, 3, 9, 11}) {
            auto small = lines(w, h, 4, 32, liner, 300);
            finish(*small);
            EXPECT_TRUE(small->isDone()) << w << "x" << h << " " << liner;
        }
}

TEST_F(LinesTest, GoldenPictures) {
    // 50 us a clock reading lets a few thousand segments through in 20 s.
    useCoarseClock(50);
    GoldenFile golden("lines_style.txt");
    goldenSeeds(golden, "lines_", {32, 8}, [this](int seed, int depth) {
        auto d = lines(640, 360, seed, depth);
        finish(*d);
        EXPECT_TRUE(d->isDone());
    });
    for (int liner = 0; liner < kLinerKinds; ++liner) {
        auto d = lines(640, 360, 1, 32, liner);
        finish(*d);
        golden.check(std::string("lines_") + LinerKindName(liner), scene->surface());
    }
}
