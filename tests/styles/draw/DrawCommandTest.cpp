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

TEST_F(DrawCommandTest, AHalfEllipseDrawnAgainStartsFromEdgeZero) {
    RandomSource random(3);
    LinerDrawerInnerSemiEllipse inner(random, 1.0f, 1.0f, 0.5f, 0.0f);
    const std::vector<Segment> first = segmentsOf(inner, *saver, line);
    const int n = inner.vertexCount();
    ASSERT_EQ(static_cast<int>(first.size()), n / 2) << "the inner half: edges n / 2 .. n - 1";
    inner.rewind();
    const std::vector<Segment> again = segmentsOf(inner, *saver, line);
    ASSERT_EQ(static_cast<int>(again.size()), n) << "rewound: the whole ellipse from edge 0";
    float x = 0, y = 0;
    inner.vertex(0, x, y);
    EXPECT_TRUE(again[0].x1 == x && again[0].y1 == y);
    EXPECT_TRUE(again[n / 2].x1 == first[0].x1 && again[n / 2].y1 == first[0].y1);
}
