#include "styles/StyleSupport.h"
#include "styles/draw/Draw.h"
#include "styles/draw/DrawCommand.h"
#include "styles/line/Line.h"
#include "styles/line/LinerDrawer.h"

namespace {

// A figure around a drawer of the test's choosing.
struct PolyOf : DrawCommandPoly {
    PolyOf(RandomSource& random, std::unique_ptr<LinerDrawer> drawer)
        : DrawCommandPoly(random, std::move(drawer)) {}
};

// The figure of a drawer kind (0 ellipse .. 6 nonagon) in a box of `size`.
std::unique_ptr<PolyOf> figure(RandomSource& random, int kind, float size = 2.0f) {
    return std::make_unique<PolyOf>(random, MakeLinerDrawerKind(kind, random, size, size, 0, 0));
}

// A line that draws nothing.
class NoLine : public Line {
public:
    explicit NoLine(RandomSource& random) : Line(random, DotSetting{}) {}
    void draw(CDC&, int, int, int, int, const Color&) override {}
    int width() const override { return 1; }
};

// The saver and line the commands are given.
class DrawCommandTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        create(64, 48);
        saver = std::make_unique<CellFiller>(scene.get());
    }
    void TearDown() override {
        saver.reset();
        SceneTest::TearDown();
    }
    std::vector<Segment> segments(DrawCommand& c) { return segmentsOf(c, *saver, line); }
    RandomSource lineRandom{1};
    NoLine line{lineRandom};
    std::unique_ptr<Saver> saver;
};

constexpr int kEllipse = 0, kTriangle = 1, kSquare = 2, kPentagon = 3, kHexagon = 4, kOctagon = 5;

}  // namespace

TEST_F(DrawCommandTest, EveryListStartsWithAnInvisibleOutlineOfTheWholeSquare) {
    for (int seed = 1; seed <= 30; ++seed) {
        RandomSource random(seed);
        DrawCommandList list;
        Draw::compose(random, list);
        ASSERT_TRUE(list.size() >= 2u && list.size() <= 9u) << list.size();
        auto* outline = dynamic_cast<DrawCommandOutline*>(list[0].get());
        ASSERT_NE(outline, nullptr) << seed;
        EXPECT_TRUE(outline->radius() == 2.0f && outline->drawer().boxHeight() == 2.0f &&
                    outline->vertexCount() == 4);
        EXPECT_FALSE(outline->changesSize());
        EXPECT_TRUE(segments(*outline).empty());
        for (size_t i = 1; i < list.size(); ++i)
            EXPECT_EQ(dynamic_cast<DrawCommandOutline*>(list[i].get()), nullptr);
    }
}

TEST_F(DrawCommandTest, AJoinNeedsTwoFiguresBeforeIt) {
    int joins = 0;
    for (int seed = 1; seed <= 300; ++seed) {
        RandomSource random(seed);
        DrawCommandList list;
        list.push_back(CreateDrawCommand(random, 2, 2, -1, list));
        // The second command of a list: never a join.
        list.push_back(CreateDrawCommand(random, 2, 2, 0, list));
        EXPECT_EQ(dynamic_cast<DrawCommandJoinMidPoints*>(list[1].get()), nullptr) << seed;
        // Later joins are of the two commands before them, both figures.
        list.push_back(CreateDrawCommand(random, 1.4f, 1.4f, 1, list));
        if (auto* join = dynamic_cast<DrawCommandJoinMidPoints*>(list[2].get())) {
            ++joins;
            const DrawCommand *a = &join->a(), *b = &join->b();
            EXPECT_TRUE((a == list[0].get() && b == list[1].get()) ||
                        (a == list[1].get() && b == list[0].get()));
            EXPECT_GE(join->a().vertexCount(), join->b().vertexCount());
            EXPECT_TRUE(list[1]->isFigure());
        }
    }
    EXPECT_GT(joins, 0);
}

TEST_F(DrawCommandTest, ChordsJoinMatchingPointsOfNestedFigures) {
    RandomSource random(5);
    auto outer = figure(random, kOctagon);
    auto inner = figure(random, kSquare, 1.4f);
    // The octagon and the square must start at the same angle to be joined.
    for (int seed = 1; seed < 200 && inner->startAngle() != outer->startAngle(); ++seed) {
        RandomSource r(seed);
        outer = figure(r, kOctagon);
        inner = figure(r, kSquare, 1.4f);
    }
    ASSERT_EQ(inner->startAngle(), outer->startAngle());
    DrawCommandJoinMidPoints join(random, *inner, *outer);
    ASSERT_TRUE(join.valid());
    EXPECT_EQ(&join.a(), outer.get());
    const std::vector<Segment> chords = segments(join);
    EXPECT_EQ(static_cast<int>(chords.size()), (4 + join.stride() - 1) / join.stride());
    for (size_t k = 0; k < chords.size(); ++k) {
        float x = 0, y = 0;
        inner->vertex(static_cast<int>(k) * join.stride(), x, y);
        EXPECT_FLOAT_EQ(chords[k].x1, x);
        outer->vertex(static_cast<int>(k) * join.stride() * 2, x, y);
        EXPECT_FLOAT_EQ(chords[k].x2, x);
    }
    EXPECT_TRUE(segments(join).empty());  // exhausted
}

TEST_F(DrawCommandTest, DecorationsThatDoNotFitDrawNothing) {
    RandomSource random(3);
    auto pentagon = figure(random, kPentagon);
    auto triangle = figure(random, kTriangle);
    auto square = figure(random, kSquare);
    auto ellipse = figure(random, kEllipse);
    // 5 is no multiple of 3.
    DrawCommandJoinMidPoints notMultiple(random, *pentagon, *triangle);
    // Start angles: the pentagon's -pi/2 against the ellipse's 0 (50 = 10 x 5).
    DrawCommandJoinMidPoints turned(random, *ellipse, *pentagon);
    // End points need equal counts.
    DrawCommandJoinEndPoints unequal(random, *square, *ellipse);
    // Spokes need an even count.
    DrawCommandAddSpokes odd(random, *pentagon);
    // Nothing to hang on: a ring has no vertices, a figure of no size no edge.
    DrawCommandOutposts ring(random, 0.2f, 0.2f);
    DrawCommandAddSpokes none(random, ring);
    auto point = figure(random, kSquare, 0.0f);
    DrawCommandAddBulbs flat(random, *point);
    for (DrawCommand* c :
         std::initializer_list<DrawCommand*>{&notMultiple, &turned, &unequal, &odd, &none, &flat}) {
        EXPECT_FALSE(c->valid());
        EXPECT_TRUE(segments(*c).empty());
    }
    EXPECT_EQ(notMultiple.stride(), 1);  // odd counts keep the stride at 1
}

TEST_F(DrawCommandTest, SpokesAreDiametersThroughTheCentre) {
    for (int seed = 1; seed <= 10; ++seed) {
        RandomSource random(seed);
        auto ellipse = figure(random, kEllipse);
        DrawCommandAddSpokes spokes(random, *ellipse);
        ASSERT_TRUE(spokes.valid());
        EXPECT_TRUE(spokes.stride() >= 1 && spokes.stride() <= 7) << spokes.stride();  // below(sqrt(50)) + 1
        const std::vector<Segment> s = segments(spokes);
        EXPECT_EQ(static_cast<int>(s.size()), (25 + spokes.stride() - 1) / spokes.stride());
        for (const Segment& d : s)
            EXPECT_TRUE(std::fabs(d.x1 + d.x2) < 1e-5 && std::fabs(d.y1 + d.y2) < 1e-5);
    }
}

TEST_F(DrawCommandTest, BulbsSitOnEveryPointTurnedAsTheFirst) {
    for (int seed = 1; seed <= 12; ++seed) {
        RandomSource random(seed);
        auto hexagon = figure(random, kHexagon);
        DrawCommandAddBulbs bulbs(random, *hexagon);
        ASSERT_TRUE(bulbs.valid());
        const std::vector<Segment> s = segments(bulbs);
        const size_t per = s.size() / 6;
        ASSERT_TRUE(s.size() == per * 6 && per > 0) << s.size();
        float x0 = 0, y0 = 0;
        hexagon->vertex(0, x0, y0);
        for (int k = 1; k < 6; ++k) {
            float x = 0, y = 0;
            hexagon->vertex(k, x, y);
            for (size_t i = 0; i < per; ++i) {
                const Segment& a = s[i];
                const Segment& b = s[static_cast<size_t>(k) * per + i];
                EXPECT_NEAR(b.x1 - a.x1, x - x0, 1e-5);
                EXPECT_NEAR(b.y2 - a.y2, y - y0, 1e-5);
            }
        }
        EXPECT_TRUE(segments(bulbs).empty());
    }
}

TEST_F(DrawCommandTest, OutpostsRingTheCentreAndShrinkWhatFollows) {
    for (int seed = 1; seed <= 12; ++seed) {
        RandomSource random(seed);
        DrawCommandOutposts outposts(random, 0.25f, 0.125f);
        const int m = outposts.satellites();
        ASSERT_TRUE(m >= 2 && m <= 8) << m;
        EXPECT_TRUE(outposts.changesSize());
        EXPECT_NEAR(outposts.sizeOffset(), std::sqrt(0.25 * 0.25 + 0.125 * 0.125), 1e-6);
        EXPECT_NEAR(2.0f * outposts.sizeFactor() - outposts.sizeOffset(), 1.4142135 - 0.2795085, 1e-5);
        float x = 0, y = 0;
        outposts.vertex(1, x, y);
        EXPECT_NEAR(x, 0.25 * std::cos(2 * M_PI / m), 1e-6);
        const std::vector<Segment> s = segments(outposts);
        ASSERT_FALSE(s.empty());
        // Every satellite lies around its place on the ellipse of the ring.
        for (const Segment& d : s)
            EXPECT_TRUE(std::fabs(d.x1) <= 0.375f + 1e-4f && std::fabs(d.y1) <= 0.1875f + 1e-4f);
    }
    // The size after it: 1/sqrt(2) of the size, less the ring's reach.
    RandomSource random(4);
    DrawCommandOutposts ring(random, 0.25f, 0.25f);
    EXPECT_NEAR(Draw::nextSize(2.0f, ring), 2.0 / std::sqrt(2.0) - std::sqrt(2 * 0.25 * 0.25), 1e-6);
    DrawCommandOutline outline(random, 2, 2);
    EXPECT_EQ(Draw::nextSize(2.0f, outline), 2.0f);
    // Never below nothing.
    DrawCommandOutposts wide(random, 3, 3);
    EXPECT_EQ(Draw::nextSize(2.0f, wide), 0.0f);
}
