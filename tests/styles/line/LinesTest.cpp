#include <cmath>
#include <cstdlib>
#include <string>
#include <typeinfo>

#include "support/SceneSupport.h"
#include "scene/StyleCatalogue.h"
#include "layout/Range.h"
#include "styles/line/Line.h"
#include "styles/line/LinerDrawer.h"
#include "styles/line/LinerMembers.h"
#include "styles/line/Lines.h"
#include "support/GoldenImages.h"
#include "support/CleanDisplay.h"

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

class LinesTest : public SceneTest {
protected:
    void TearDown() override {
        SceneTest::TearDown();
        cleanDisplay();
    }
    // Lines on a fresh w x h scene from `seed`, drawing for `ms`; `liner`
    // >= 0 makes that member the only choice.
    std::unique_ptr<TimedLines> lines(int w, int h, int seed, int depth = 32, int liner = -1,
                                      uint32_t ms = 20000, bool circle = false) {
        cleanDisplay();
        gApp.rand.seed(seed);
        create(w, h, depth);
        if (liner >= 0) {
            std::vector<float> weights(kLinerKinds, 0.0f);
            weights[static_cast<size_t>(liner)] = 1.0f;
            settings().choosers().chooser(Family::Liner).build(weights, true);
        }
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return std::make_unique<TimedLines>(scene.get(), ms, circle);
    }
    void useCoarseClock(int64_t us) {
        clockScope.reset();
        auto c = std::make_unique<platform::SimulatedClock>(us);
        clock = c.get();
        clockScope = std::make_unique<platform::ScopedClock>(std::move(c));
    }
    static void finish(Lines& d, int steps = 1000) {
        for (int i = 0; i < steps && !d.isDone(); ++i) d.step();
    }
    // Segments of `liner` until it ends (or `limit`), with a saver and a
    // line to ask.
    struct Segment {
        float x1, y1, x2, y2;
    };
    std::vector<Segment> run(Liner& liner, Saver& saver, Line& line, int limit = 100000) {
        std::vector<Segment> out;
        Segment s{};
        while (static_cast<int>(out.size()) < limit && liner.next(saver, line, s.x1, s.y1, s.x2, s.y2))
            out.push_back(s);
        return out;
    }
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
    auto saver = lines(64, 48, 1);
    for (int seed = 1; seed <= 5; ++seed) {
        RandomSource r(seed);
        LinerJoin join(r);
        const int n = join.points();
        const auto segments = run(join, *saver, *const_cast<Line*>(saver->line()));
        ASSERT_EQ(static_cast<int>(segments.size()), n * (n - 1) / 2);
        for (const Segment& s : segments) {
            EXPECT_NEAR(std::hypot(s.x1, s.y1), 1, 1e-5);
            EXPECT_NEAR(std::hypot(s.x2, s.y2), 1, 1e-5);
        }
    }
    // The whole style: exactly the chords, then the drawing is done.
    saver = lines(64, 48, 2, 32, 7);
    finish(*saver, 100000);
    const int n = dynamic_cast<const LinerJoin*>(saver->liner())->points();
    EXPECT_TRUE(saver->isDone());
    EXPECT_EQ(saver->segments(), n * (n - 1) / 2);
}

TEST_F(LinesTest, OutlineDrawsConcentricSquaresOutwards) {
    auto saver = lines(64, 48, 1);
    LinerOutline outline(random);
    const int n = outline.squares();
    const auto segments = run(outline, *saver, *const_cast<Line*>(saver->line()));
    ASSERT_EQ(static_cast<int>(segments.size()), 4 * (n + 1));
    for (size_t i = 0; i < segments.size(); ++i) {
        const float f = static_cast<float>(i / 4) / static_cast<float>(n);
        const Segment& s = segments[i];
        // Both ends are corners of the square of half-size f, centred.
        for (float v : {s.x1, s.y1, s.x2, s.y2}) EXPECT_NEAR(std::fabs(v), f, 1e-6);
        EXPECT_TRUE(s.x1 == s.x2 || s.y1 == s.y2);
        if (i % 4 == 3) {
            EXPECT_EQ(s.x2, segments[i - 3].x1);  // the square closes
        }
    }
}

TEST_F(LinesTest, GridCountsFollowSpacingAndEdges) {
    auto saver = lines(64, 48, 1);
    for (int seed = 1; seed <= 30; ++seed) {
        RandomSource r(seed);
        LinerGrid grid(r);
        const auto count = [&](float d) {
            const int between = static_cast<int>(std::lround(2 / d)) - 1;
            return grid.edge() ? between + 2 : between;
        };
        const int expected = (grid.vertical() ? count(grid.dx()) : 0) + (grid.horizontal() ? count(grid.dy()) : 0);
        const auto segments = run(grid, *saver, *const_cast<Line*>(saver->line()));
        EXPECT_EQ(static_cast<int>(segments.size()), expected) << seed;
        EXPECT_TRUE(grid.vertical() || grid.horizontal());
    }
}

TEST_F(LinesTest, SpiralEndsOnceItsRadiusPassesOne) {
    auto saver = lines(64, 48, 1);
    for (int seed = 1; seed <= 5; ++seed) {
        RandomSource r(seed);
        LinerSpiral spiral(r);
        Segment s{};
        int calls = 0;
        Line& line = *const_cast<Line*>(saver->line());
        while (spiral.next(*saver, line, s.x1, s.y1, s.x2, s.y2)) {
            ASSERT_LE(std::hypot(s.x2, s.y2), 1.0f + 1e-6f);
            ASSERT_LT(++calls, 10000000);
        }
        EXPECT_GT(std::hypot(s.x2, s.y2), 1.0f - 1e-6f);
    }
}

TEST_F(LinesTest, WalkTurnsAtRightAnglesAndStaysOnTheSquare) {
    auto saver = lines(64, 48, 1);
    for (int seed = 1; seed <= 5; ++seed) {
        RandomSource r(seed);
        LinerXY walk(r);
        const auto segments = run(walk, *saver, *const_cast<Line*>(saver->line()), 20000);
        for (size_t i = 0; i < segments.size(); ++i) {
            const Segment& s = segments[i];
            ASSERT_TRUE(s.x1 == s.x2 || s.y1 == s.y2) << i;
            for (float v : {s.x1, s.y1, s.x2, s.y2}) ASSERT_TRUE(v >= -1 && v <= 1) << i;
            if (i > 0) {
                ASSERT_TRUE(s.x1 == segments[i - 1].x2 && s.y1 == segments[i - 1].y2);
            }
        }
    }
}

TEST_F(LinesTest, ShadeChordsShortenTowardsTheTopAndBottomOfACircle) {
    auto saver = lines(640, 360, 1, 32, -1, 20000, true);
    LinerShade shade(random);
    const auto segments = run(shade, *saver, *const_cast<Line*>(saver->line()));
    ASSERT_GT(segments.size(), 10u);
    const double step = saver->line()->width() * saver->pixelHeight();
    EXPECT_NEAR(segments[1].y1 - segments[0].y1, step, 1e-5);
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
    auto saver = lines(64, 48, 1);
    Line& line = *const_cast<Line*>(saver->line());
    for (double tiny : {1e-9, -1e-9, 1e-300}) {
        LinerSpiro spiro(random, {1.0, tiny, tiny, 0.5, tiny, tiny, tiny, tiny, tiny, tiny, tiny, tiny, tiny, tiny,
                                  tiny, tiny, tiny, tiny, tiny, tiny},
                         0.3);
        Segment s{};
        for (int i = 0; i < 5000; ++i) {
            ASSERT_TRUE(spiro.next(*saver, line, s.x1, s.y1, s.x2, s.y2));
            for (float v : {s.x1, s.y1, s.x2, s.y2}) ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= 1) << i;
        }
    }
    // The drawn spirograph starts with a segment from its first point to itself.
    RandomSource r(3);
    LinerSpiro drawn(r);
    Segment s{};
    drawn.next(*saver, line, s.x1, s.y1, s.x2, s.y2);
    EXPECT_TRUE(s.x1 == s.x2 && s.y1 == s.y2);
}

TEST_F(LinesTest, ConstructionRules) {
    for (int liner = 0; liner < kLinerKinds; ++liner) {
        auto saver = lines(64, 48, liner + 1, 32, liner);
        EXPECT_STREQ(typeid(*saver->liner()).name(), typeid(*MakeLinerKind(liner, random)).name());
        // Curves only for the grid and the outline; copies only where allowed.
        if (liner != 1 && liner != 6) {
            EXPECT_FALSE(saver->line()->isCurved()) << liner;
        }
        if (saver->liner()->symmetry(7) == 1) {
            EXPECT_EQ(saver->copies(), 1) << liner;
        }
        EXPECT_GE(saver->copies(), 1);
    }
}

TEST_F(LinesTest, SegmentsOnOnePixelArePixelsAndTinyScreensWork) {
    useCoarseClock(1000);
    // The outline's first square has no size: its sides are single pixels.
    auto saver = lines(64, 48, 1, 32, 6, 200);
    finish(*saver);
    EXPECT_GT(saver->pixelDraws(), 0);
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}}) {
        for (int liner : {1, 3, 9, 11}) {
            auto small = lines(w, h, 4, 32, liner, 300);
            finish(*small);
            EXPECT_TRUE(small->isDone()) << w << "x" << h << " " << liner;
        }
    }
}

TEST_F(LinesTest, GoldenPictures) {
    // Every idle test reads the clock: 50 us a reading lets a few thousand
    // segments through in the 20 s of a drawing.
    useCoarseClock(50);
    GoldenFile golden("lines_style.txt");
    const auto keep = [&](const std::string& name) {
        golden.check(name, scene->surface());
        if (const char* dir = std::getenv("QV_LINES_PICTURES"))
            writePng(scene->surface(), CDisplay::instance().hardwarePalette(), std::string(dir) + "/" + name + ".png");
    };
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            auto d = lines(640, 360, seed, depth);
            finish(*d);
            EXPECT_TRUE(d->isDone());
            keep("lines_" + std::to_string(depth) + "bit_seed" + std::to_string(seed));
        }
    for (int liner = 0; liner < kLinerKinds; ++liner) {
        auto d = lines(640, 360, 1, 32, liner);
        finish(*d);
        keep(std::string("lines_") + LinerKindName(liner));
    }
}


TEST_F(LinesTest, DrawersWalkTheirEdgesOnceAndHalfFiguresHalfOfThem) {
    auto saver = lines(64, 48, 1);
    Line& line = *const_cast<Line*>(saver->line());
    LinerDrawerSquare square(random, 1, 1, 0, 0);
    const auto edges = run(square, *saver, line);
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges.back().x2, edges.front().x1);  // closed
    square.rewind();
    EXPECT_EQ(run(square, *saver, line).size(), 4u);

    LinerDrawerSemiEllipse outer(random, 0.5f, 0.5f, 0.5f, 0.0f);
    LinerDrawerInnerSemiEllipse inner(random, 0.5f, 0.5f, 0.5f, 0.0f);
    const auto half = run(outer, *saver, line), other = run(inner, *saver, line);
    ASSERT_EQ(half.size(), 25u);
    ASSERT_EQ(other.size(), 25u);
    // The outer half lies beyond the centre's x, away from the origin.
    for (const Segment& s : half) EXPECT_GE(s.x1, 0.5f - 1e-5f);
    for (const Segment& s : other) EXPECT_LE(s.x1, 0.5f + 1e-5f);

    LinerDrawerOutline box(random, 1, 1, 0, 0);
    EXPECT_TRUE(run(box, *saver, line).empty());
    EXPECT_EQ(box.vertexCount(), 4);
    LinerDrawerSpiro spiro(random, 1, 1, 0, 0);
    EXPECT_FALSE(spiro.isFigure() || spiro.canBulb() || spiro.canSpoke());
    EXPECT_EQ(static_cast<int>(run(spiro, *saver, line).size()), spiro.vertexCount());
    for (int i = 0; i < spiro.vertexCount(); ++i) {
        float x = 0, y = 0;
        spiro.vertex(i, x, y);
        EXPECT_LE(std::hypot(x, y), 0.5f + 1e-5f);
    }
}
