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

TEST(LinesCatalogue, UnknownCodesAndCodeTenBuildLines) {
    for (int code : {0, 10, 99, -1}) {
        const StyleMaker* maker = styleMaker(code);
        ASSERT_NE(maker, nullptr);
        EXPECT_STREQ(maker->className, "Lines") << code;
        EXPECT_EQ(maker->make, &makeSaver<Lines>) << code;
    }
}

TEST_F(LinesTest, JoinDrawsEveryChordOnceThenEnds) {
    for (int seed = 1; seed <= 5; ++seed) {
        RandomSource r(seed);
        LinerJoin join(r);
        const int n = join.points();
        const auto segments = run(join);
        ASSERT_EQ(static_cast<int>(segments.size()), n * (n - 1) / 2);
        for (const Segment& s : segments)
            EXPECT_TRUE(std::fabs(std::hypot(s.x1, s.y1) - 1) < 1e-5 &&
                        std::fabs(std::hypot(s.x2, s.y2) - 1) < 1e-5);
    }
    // The whole style: exactly the chords, then the drawing is done.
    asked.reset();
    auto style = lines(64, 48, 2, 32, 7);
    finish(*style, 100000);
    const int n = dynamic_cast<const LinerJoin*>(style->liner())->points();
    EXPECT_TRUE(style->isDone());
    EXPECT_EQ(style->segments(), n * (n - 1) / 2);
}

TEST_F(LinesTest, OutlineDrawsConcentricSquaresOutwards) {
    LinerOutline outline(random);
    const int n = outline.squares();
    const auto segments = run(outline);
    ASSERT_EQ(static_cast<int>(segments.size()), 4 * (n + 1));
    for (size_t i = 0; i < segments.size(); ++i) {
        const float f = static_cast<float>(i / 4) / static_cast<float>(n);
        const Segment& s = segments[i];
        // Both ends are corners of the square of half-size f, centred.
        for (float v : {s.x1, s.y1, s.x2, s.y2}) EXPECT_NEAR(std::fabs(v), f, 1e-6);
        EXPECT_TRUE(s.x1 == s.x2 || s.y1 == s.y2);
        EXPECT_TRUE(i % 4 != 3 || s.x2 == segments[i - 3].x1);  // the square closes
    }
}

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

TEST_F(LinesTest, SpiralEndsOnceItsRadiusPassesOneAndTheWalkTurnsAtRightAnglesOnTheSquare) {
    for (int seed = 1; seed <= 5; ++seed) {
        RandomSource r(seed);
        LinerSpiral spiral(r);
        Segment s{};
        for (int calls = 0; spiral.next(ask(), line(), s.x1, s.y1, s.x2, s.y2);)
            ASSERT_TRUE(std::hypot(s.x2, s.y2) <= 1.0f + 1e-6f && ++calls < 10000000);
        EXPECT_GT(std::hypot(s.x2, s.y2), 1.0f - 1e-6f);  // the call that ends it
        RandomSource r2(seed);
        LinerXY walk(r2);
        const auto segments = run(walk, 20000);
        for (size_t i = 0; i < segments.size(); ++i) {
            const Segment& w = segments[i];
            ASSERT_TRUE(w.x1 == w.x2 || w.y1 == w.y2) << i;
            for (float v : {w.x1, w.y1, w.x2, w.y2}) ASSERT_TRUE(v >= -1 && v <= 1) << i;
            ASSERT_TRUE(i == 0 || (w.x1 == segments[i - 1].x2 && w.y1 == segments[i - 1].y2)) << i;
        }
    }
}

TEST_F(LinesTest, ShadeChordsShortenTowardsTheTopAndBottomOfACircle) {
    asked = lines(640, 360, 1, 32, -1, 20000, true);
    LinerShade shade(random);
    const auto segments = run(shade);
    ASSERT_GT(segments.size(), 10u);
    EXPECT_NEAR(segments[1].y1 - segments[0].y1, asked->line()->width() * asked->pixelHeight(), 1e-5);
    float widest = 0;
    for (const Segment& s : segments) {
        EXPECT_EQ(s.y1, s.y2);
        const float length = s.x2 - s.x1;
        // Longer while going down to the middle, shorter after it.
        EXPECT_NEAR(length, 2 * std::sqrt(std::max(0.0f, 1 - s.y1 * s.y1)), 0.05) << s.y1;
        widest = std::max(widest, length);
    }
    EXPECT_GT(widest, 1.9f);
    EXPECT_LT(segments.front().x2 - segments.front().x1, 0.5f);
    EXPECT_LT(segments.back().x2 - segments.back().x1, 0.5f);
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

TEST_F(LinesTest, ConstructionRules) {
    for (int liner = 0; liner < kLinerKinds; ++liner) {
        auto style = lines(64, 48, liner + 1, 32, liner);
        EXPECT_STREQ(typeid(*style->liner()).name(), typeid(*MakeLinerKind(liner, random)).name());
        // Curves only for the grid and the outline; copies only where allowed.
        EXPECT_TRUE(liner == 1 || liner == 6 || !style->line()->isCurved()) << liner;
        EXPECT_TRUE(style->liner()->symmetry(7) != 1 || style->copies() == 1) << liner;
        EXPECT_GE(style->copies(), 1);
    }
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

TEST_F(LinesTest, DrawersWalkTheirEdgesOnceAndHalfFiguresHalfOfThem) {
    LinerDrawerSquare square(random, 1, 1, 0, 0);
    const auto edges = run(square);
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges.back().x2, edges.front().x1);  // closed
    square.rewind();
    EXPECT_EQ(run(square).size(), 4u);
    // The outer half lies beyond the centre's x, away from the origin.
    LinerDrawerSemiEllipse outer(random, 0.5f, 0.5f, 0.5f, 0.0f);
    LinerDrawerInnerSemiEllipse inner(random, 0.5f, 0.5f, 0.5f, 0.0f);
    const auto half = run(outer), other = run(inner);
    ASSERT_TRUE(half.size() == 25u && other.size() == 25u);
    for (const Segment& s : half) EXPECT_GE(s.x1, 0.5f - 1e-5f);
    for (const Segment& s : other) EXPECT_LE(s.x1, 0.5f + 1e-5f);
    LinerDrawerOutline box(random, 1, 1, 0, 0);
    EXPECT_TRUE(run(box).empty());
    EXPECT_EQ(box.vertexCount(), 4);
    LinerDrawerSpiro spiro(random, 1, 1, 0, 0);
    EXPECT_FALSE(spiro.isFigure() || spiro.canBulb() || spiro.canSpoke());
    EXPECT_EQ(static_cast<int>(run(spiro).size()), spiro.vertexCount());
    for (int i = 0; i < spiro.vertexCount(); ++i) {
        float x = 0, y = 0;
        spiro.vertex(i, x, y);
        EXPECT_LE(std::hypot(x, y), 0.5f + 1e-5f);
    }
}
