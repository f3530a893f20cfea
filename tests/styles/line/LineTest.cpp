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

TEST_F(LineTest, StraightFactoriesAndUnknownKindNumbers) {
    // Straight lines where asked for, also when the curved kinds are excluded.
    for (int i = 0; i < 300; ++i)
        EXPECT_FALSE(CreateStraightLine(random, setting)->isCurved() ||
                     CreateLine(random, {2, 3}, setting)->isCurved());
    const auto unknown = MakeLineKind(42, random, setting);
    EXPECT_EQ(typeid(*unknown.get()), typeid(LineStraight));
    EXPECT_STREQ(LineKindName(-1), "LineStraight");
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
