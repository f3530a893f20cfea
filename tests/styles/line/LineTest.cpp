#include "styles/StyleSupport.h"
#include "styles/line/Line.h"
#include "styles/line/LinerDrawer.h"

namespace {

// A black 32 x 32 screen, the setting of the lines drawn on it and default choosers.
class LineTest : public ::testing::Test {
protected:
    LineTest() : surface(32, 32, 32), dc(&surface) {
        dc.FillRect({0, 0, 32, 32}, RGB(0, 0, 0));
        setting.screenWidth = 32;
        setting.screenHeight = 32;
        setting.choosers = &built.set;
    }
    int painted() const {
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) n += dc.GetPixel(x, y) != RGB(0, 0, 0);
        return n;
    }

    DefaultChoosers built;
    CSurface surface;
    CDC dc;
    DotSetting setting;
    RandomSource random{11};
};

}  // namespace

TEST_F(LineTest, FactoriesAndKindNumbersMakeTheirMembers) {
    std::set<std::type_index> straight, first;
    for (int i = 0; i < 300; ++i) {
        const auto a = CreateStraightLine(random, setting);
        const auto b = CreateLine(random, {}, setting);
        EXPECT_FALSE(a->isCurved());
        straight.insert(typeid(*a.get()));
        first.insert(typeid(*b.get()));
    }
    EXPECT_EQ(straight.size(), 4u);
    EXPECT_EQ(first.size(), 6u);
    EXPECT_TRUE(first.count(typeid(LineCurved)) && first.count(typeid(LineCurvedFixed)));
    EXPECT_FALSE(first.count(typeid(LinePrushSingle)));
    // Excluding the curved kinds leaves only straight ones.
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(CreateLine(random, {2, 3}, setting)->isCurved());
    // Unknown kind numbers make a straight line.
    EXPECT_TRUE(dynamic_cast<LinePrushSingle*>(MakeLineKind(6, random, setting).get()));
    EXPECT_TRUE(dynamic_cast<LineCurvedFixed*>(MakeLineKind(3, random, setting).get()));
    const auto unknown = MakeLineKind(42, random, setting);
    EXPECT_EQ(typeid(*unknown.get()), typeid(LineStraight));
    EXPECT_STREQ(LineKindName(-1), "LineStraight");
}

TEST_F(LineTest, BrushStrokeCountsArePowersOfTwoAndEachPaints) {
    std::set<int> counts;
    for (int i = 0; i < 80; ++i) {
        dc.FillRect({0, 0, 32, 32}, RGB(0, 0, 0));
        LinePrushSingle line(random, setting);
        counts.insert(line.width());
        line.draw(dc, 2, 16, 29, 16, Color(255, 255, 255));
        EXPECT_GT(painted(), 0) << line.width() << " strokes";
        // The strokes stay within a fifth of the jitter of one another.
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                EXPECT_TRUE(dc.GetPixel(x, y) == RGB(0, 0, 0) || std::abs(y - 16) <= 4) << y;
    }
    EXPECT_EQ(counts, (std::set<int>{1, 2, 4, 8}));
}

TEST_F(LineTest, LinesDrawTheirSegmentAndToleratePointsFarOffTheScreen) {
    for (int kind = 0; kind <= 6; ++kind) {
        dc.FillRect({0, 0, 32, 32}, RGB(0, 0, 0));
        auto line = MakeLineKind(kind, random, setting);
        line->draw(dc, 4, 4, 27, 20, Color(200, 100, 50));
        EXPECT_GT(painted(), 0) << LineKindName(kind);
        line->draw(dc, -2000000000, 5, 2000000000, 7, Color(200, 100, 50));
    }
    // A row of dots of no length draws nothing.
    dc.FillRect({0, 0, 32, 32}, RGB(0, 0, 0));
    LineDot line(random, setting);
    line.draw(dc, 10, 10, 10, 10, Color(255, 255, 255));
    EXPECT_EQ(painted(), 0);
}

TEST(LineSteps, ThePositionsSeenIncludeThoseOnTheEdges) {
    // start + step k for k = 0 .. count within [lo, hi]: the first and last k.
    struct Steps : Line {
        using Line::visibleSteps;
    };
    long long first = 0, last = 0;
    for (auto [start, step, count, lo, hi, seen, f, l] :
         {std::tuple{-4LL, 2LL, 10LL, 0LL, 100LL, true, 2LL, 10LL},
          {-5, 2, 10, 0, 100, true, 3, 10},
          {10, -2, 10, 0, 4, true, 3, 5},
          {0, 3, 5, 1, 2, false, 1, 0},
          {0, 0, 5, -9, 9, false, 1, 0}}) {
        const bool any = Steps::visibleSteps(start, step, count, lo, hi, first, last);
        EXPECT_EQ(any, seen) << start << " " << step;
        EXPECT_TRUE(!seen || (first == f && last == l))
            << start << " " << step << ": " << first << ".." << last;
    }
}

TEST_F(LineTest, DrawerVerticesLieOnTheEllipseOfTheBox) {
    const float w = 0.8f, h = 0.4f, cx = 0.1f, cy = -0.2f;
    for (int kind = 0; kind <= 6; ++kind) {
        const auto drawer = MakeLinerDrawerKind(kind, random, w, h, cx, cy);
        auto* poly = dynamic_cast<LinerDrawerPoly*>(drawer.get());
        ASSERT_TRUE(poly);
        for (int i = 0; i < drawer->vertexCount(); ++i) {
            float x = 0, y = 0;
            drawer->vertex(i, x, y);
            const float ex = (x - cx) / (w / 2), ey = (y - cy) / (h / 2);
            const bool pulled = (poly->pullThirds() && i % 3 == 2) || (poly->pullOdd() && i % 2 == 1);
            EXPECT_NEAR(std::hypot(ex, ey), pulled ? poly->pull() : 1.0f, 1e-4) << kind << " " << i;
        }
        EXPECT_EQ(drawer->canSpoke(), drawer->vertexCount() % 2 == 0);
    }
}
