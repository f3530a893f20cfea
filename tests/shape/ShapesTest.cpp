#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "engine/RandomSource.h"
#include "engine/WeightedChooser.h"
#include "platform/DC.h"
#include "shape/Canvas.h"
#include "shape/Limn.h"
#include "shape/Shape2D.h"

namespace {

// A chooser that always gives `kind`.
WeightedChooser only(int kind) {
    std::vector<float> w(kShapeKinds, 0.0f);
    w[size_t(kind)] = 1;
    WeightedChooser c;
    c.build(w, true);
    return c;
}

// A canvas that takes the screen's colours, as one in a thousand does.
class ScreenColorCanvas : public CanvasDC {
public:
    using CanvasDC::CanvasDC;
    bool takesScreenColors() const override { return true; }
};

}  // namespace

// The factory: every kind from its chooser; `half` keeps centres in the
// top-left quarter and radii within half.
TEST(Shape2D, FactoryMakesEveryKindWhereAsked) {
    RandomSource r(9);
    for (int kind = 0; kind < kShapeKinds; ++kind)
        EXPECT_EQ(CreateShape2D(only(kind), r, 200, 100, 0, false, 10, 20, 30, 0.5)->pattern(), kind);
    for (int i = 0; i < 300; ++i) {
        const auto s = CreateShape2D(only(0), r, 200, 100, 0, true);
        EXPECT_TRUE(s->centreX() < 100 && s->centreY() < 50 && s->radius() <= 50);
    }
}

TEST(Shape2D, ReleasedVerticesComeBackTheSame) {
    // A picture keeps tens of thousands of drawn shapes: they let go of
    // their vertices, and a later drawing must make exactly the same ones.
    RandomSource r(4);
    for (int kind = 0; kind < kShapeKinds; ++kind) {
        auto s = CreateShape2D(only(kind), r, 200, 100, 0, false, 60, 40, 25, 0.7);
        auto* poly = dynamic_cast<Shape2DPoly*>(s.get());
        if (!poly) continue;
        poly->jitter(0.3);
        const std::vector<ShapePoint> before = poly->vertices();
        s->releaseVertices();
        const std::vector<ShapePoint>& after = poly->vertices();
        ASSERT_EQ(after.size(), before.size()) << kind;
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_TRUE(after[i].x == before[i].x && after[i].y == before[i].y) << kind << " " << i;
    }
}

TEST(Shape2D, FittingPairs) {
    // Overlapping circles (radii 50 and 30) shrink until they touch: apart by
    // more than the larger radius the smaller; between the radii the larger;
    // within both, both in proportion; at one centre, to 1 each.
    for (auto [dx, ra, rb] : {std::tuple{60, 50, 10}, {40, 10, 30}, {16, 10, 6}, {0, 1, 1}}) {
        Shape2DCircle a(0, 0, 50, 0), b(dx, 0, 30, 0);
        a.fitAgainst(b);
        EXPECT_TRUE(a.radius() == ra && b.radius() == rb) << dx << ": " << a.radius() << " " << b.radius();
    }
    Shape2DRectangle fixed(0, 0, 50, 50, 0, 0, false, false);
    Shape2DCircle g(10, 0, 30, 0);
    fixed.fitAgainst(g);
    EXPECT_EQ(g.radius(), 30);
}

TEST(Shape2D, MirroredFillsReachBackFromTheFarEdge) {
    // Column W is outside, but its mirror is column 0.
    std::vector<uint8_t> cells(40 * 30, 0);
    RandomSource r(1);
    CanvasBoolMap canvas(cells.data(), cells.size(), 40, 30, &r);
    canvas.setMode(0);
    canvas.setMirrored(true);
    Shape2DRectangle(38, 15, 7, 3, 0, 0, true).draw(canvas, true, true);
    EXPECT_TRUE(cells[15 * 40 + 0] && cells[15 * 40 + 1] && cells[15 * 40 + 9] && !cells[15 * 40 + 10]);
    std::fill(cells.begin(), cells.end(), 0);
    Shape2DCircle(38, 15, 2, 0).drawLine(canvas, 30, 5, 100, 5);
    EXPECT_TRUE(cells[5 * 40 + 0] && cells[25 * 40 + 0] && cells[5 * 40 + 10]);
}

// The midpoint rule: at a tie the line steps after the point, not before.
TEST(Shape2D, LinesStepAfterATie) {
    std::vector<uint8_t> cells(8 * 4, 0);
    RandomSource r(1);
    CanvasBoolMap canvas(cells.data(), cells.size(), 8, 4, &r);
    canvas.setMode(0);
    Shape2DCircle(0, 0, 1, 0).drawLine(canvas, 0, 0, 4, 2);
    std::vector<uint8_t> want(8 * 4, 0);
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}) want[size_t(y * 8 + x)] = 1;
    EXPECT_EQ(cells, want);
}

TEST(Shape2D, XorFiguresInvertAndLeaveTheCanvasAsFound) {
    CSurface surface(60, 40, 32);
    CDC dc(&surface);
    RandomSource r(2);
    CanvasDC canvas(&dc, 60, 40, &r);
    canvas.setOpacity(255);
    Shape2DCircle xored(30, 20, 10, RGB(200, 0, 0));
    xored.setFlags(false, true, true);
    xored.draw(canvas, true, true);
    EXPECT_EQ(dc.GetPixel(30, 20), RGB(255, 255, 255));
    EXPECT_FALSE(canvas.isXor());
    Shape2DCircle(30, 20, 10, RGB(0, 0, 200)).draw(canvas, true, true);
    EXPECT_EQ(dc.GetPixel(30, 20), RGB(0, 0, 200));
    // A thick XOR stroke inverts through its pieces too.
    Shape2DArrow arrow(30, 10, 20, 1.0, 0, RGB(0, 200, 0));
    arrow.setPenWidth(6);
    arrow.setFlags(false, true, true);
    arrow.draw(canvas, true, true);
    EXPECT_EQ(dc.GetPixel(20, 10), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(20, 12), RGB(255, 255, 255));
    EXPECT_FALSE(canvas.isXor());
}

// A thick grid's lines are no wider than the spacing between them.
TEST(Shape2D, ThickGridLinesAreNoWiderThanTheirSpacing) {
    std::vector<uint8_t> cells(60 * 40, 0);
    RandomSource r(1);
    CanvasBoolMap canvas(cells.data(), cells.size(), 60, 40, &r);
    canvas.setMode(0);
    Shape2DGrid grid(30, 20, 8, 2, 2, 0, 0.0, 0, 0);  // lines 8 apart
    grid.setPenWidth(30);
    grid.draw(canvas, false, false);
    EXPECT_TRUE(cells[20 * 60 + 22] && !cells[20 * 60 + 10]);
}

TEST(Limn, StopsSoonAfterInputArrives) {
    CSurface surface(640, 360, 32);
    CDC dc(&surface);
    for (int seed = 1; seed <= 12; ++seed)
        for (bool daub : {false, true}) {
            RandomSource r(seed * 7919);
            CanvasDC canvas(&dc, 640, 360, &r);
            int polls = 0;
            const IdleTest idle = [&polls] { return ++polls < 4; };
            std::unique_ptr<Limn> limn;
            if (daub)
                limn = std::make_unique<LimnDaub>(&r, &canvas, true, idle);
            else
                limn = std::make_unique<LimnShapes>(&r, &canvas, true, true, idle);
            limn->draw(canvas, true);
            EXPECT_LE(polls, 10) << "seed " << seed << (daub ? " daub" : " shapes");
        }
}

TEST(Limn, ADaubTakingScreenColoursScattersThemWhileIdle) {
    // The daub hands its idle test to the canvas for the scatter; it once
    // called the test it had already given away, which threw.
    CSurface surface(160, 120, 32);
    CDC dc(&surface);
    for (int seed = 1; seed <= 6; ++seed) {
        RandomSource r(seed * 13);
        ScreenColorCanvas canvas(&dc, 160, 120, &r);
        int polls = 0;
        const IdleTest idle = [&polls] { return ++polls > 0; };
        std::unique_ptr<LimnDaub> daub;
        ASSERT_NO_THROW(daub = std::make_unique<LimnDaub>(&r, &canvas, true, idle)) << "seed " << seed;
        EXPECT_GT(polls, 0);
    }
}
