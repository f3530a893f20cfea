#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

#include "PatternSupport.h"
#include "Patterns/Interpolator.h"
#include "Patterns/PatternCalculator.h"
#include "Patterns/qvVectorStack.h"

namespace {

// out[0] = (x + 1) / 2 held to fifths, raised a little, counting its calls.
class Ramp : public PatternCalculator {
public:
    using PatternCalculator::PatternCalculator;
    void setup(int, int, bool, int) override { m_bSetUp = true; }
    void calculate(const std::vector<float>& in, std::vector<float>& out) override {
        ++calls;
        out[0] = std::round((in[0] + 1) / 2 * 5) / 5 + 0.05f + bias;
    }
    int calls = 0;
    float bias = 0;
};

}  // namespace

TEST(IndexGrid, FillsComputesAQuarterWhenMirroredAndSaturates) {
    FakeScene palette = greyRamp(10);
    SceneScope scope(palette);
    RandomSource random(1);
    Ramp ramp(random);
    IndexGrid grid;
    ramp.fillIndexGrid(grid, 5, 3, false);
    ASSERT_EQ(grid.width(), 5);
    EXPECT_EQ(ramp.calls, 15);
    // Column i: x = i/5 * 2 - 1, value i/5 + 0.05: trunc(10 i / 5 + 0.5) = 2i.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(grid.at(i, 2), 2 * i);
    // Mirrored, odd width and height: columns 0..2 and rows 0..1 computed;
    // the middle column keeps its own computed value.
    ramp.calls = 0;
    ramp.fillIndexGrid(grid, 5, 3, true);
    EXPECT_EQ(ramp.calls, 3 * 2);
    for (int j : {0, 2}) {
        EXPECT_EQ(grid.at(2, j), 4);
        for (int i = 0; i < 2; ++i) EXPECT_TRUE(grid.at(i, j) == 2 * i && grid.at(4 - i, j) == 2 * i) << i;
    }
    // A value of 1 wraps to entry 0; a NaN or a huge value is no undefined conversion.
    ramp.bias = 0.8f;
    ramp.fillIndexGrid(grid, 5, 1, false);
    EXPECT_EQ(grid.at(1, 0), 0);
    ramp.bias = std::numeric_limits<float>::quiet_NaN();
    ramp.fillIndexGrid(grid, 2, 2, false);
    EXPECT_EQ(grid.at(1, 1), 0);
    ramp.bias = 1e30f;
    ramp.fillIndexGrid(grid, 2, 2, false);
    EXPECT_EQ(grid.at(1, 1), INT_MAX % 10);
    // Empty and negative sizes fill nothing.
    ramp.calls = 0;
    ramp.fillIndexGrid(grid, 0, 7, true);
    ramp.fillIndexGrid(grid, -3, 2, false);
    EXPECT_TRUE(ramp.calls == 0 && grid.cells().empty());
}

TEST(PatternLimn, LooksPointsUpInItsGrid) {
    FakeScene palette = greyRamp(11);
    SceneScope scope(palette);
    RandomSource random(2);
    PatternLimn limn(random);
    limn.setup(2, 1, false, 2);
    IndexGrid grid;
    limn.fillIndexGrid(grid, 4, 4, 7, 1, 6);
    // Painted to the end: the foreground where no shape lands, else the background.
    for (int32_t cell : grid.cells()) EXPECT_TRUE(cell == 1 || cell == 6) << cell;
    std::vector<float> out(1);
    limn.calculate({0.0f, 0.0f}, out);  // the first point makes a 128 x 128 grid
    ASSERT_NE(limn.grid(), nullptr);
    EXPECT_EQ(limn.grid()->width(), 128);
    limn.makeIndexGrid(3, 2);
    const_cast<IndexGrid*>(limn.grid())->at(2, 1) = 10;
    const_cast<IndexGrid*>(limn.grid())->at(0, 0) = 5;
    for (auto [x, y, expected] : {std::tuple{1.0f, 1.0f, 1.0f},
                                  {5.0f, 9.0f, 1.0f},
                                  {-1.0f, -1.0f, 0.5f},
                                  {-7.0f, -1e30f, 0.5f},
                                  {0.99f, 0.99f, 0.0f}}) {
        limn.calculate({x, y}, out);
        EXPECT_FLOAT_EQ(out[0], expected) << x << "," << y;
    }
}

TEST(Interpolator, LinearAndSplineThroughTheirKnots) {
    const std::vector<float> xs{-1, 0, 0, 1, 3}, ys{2, 4, 6, 0, 1};
    auto lin = Interpolator::create(0, xs, ys);
    // Held before the first knot and beyond the last; at a double knot the
    // first; 0.5 found from the last segment; NaN the first value.
    for (auto [x, y] : {std::pair{-5.0f, 2.0f},
                        {-1.0f, 2.0f},
                        {9.0f, 1.0f},
                        {-0.5f, 3.0f},
                        {0.0f, 4.0f},
                        {2.0f, 0.5f},
                        {0.5f, 3.0f},
                        {std::numeric_limits<float>::quiet_NaN(), 2.0f}})
        EXPECT_FLOAT_EQ(lin->value(x), y) << x;
    EXPECT_NE(dynamic_cast<InterpLinear*>(Interpolator::create(7, xs, ys).get()), nullptr);
    // The spline passes through its knots; on a straight line it is the line.
    const std::vector<float> kx{-1, -0.2f, 0.5f, 1}, ky{0.3f, 0.9f, 0.1f, 0.6f};
    auto spline = Interpolator::create(1, kx, ky);
    for (size_t i = 0; i < kx.size(); ++i) EXPECT_NEAR(spline->value(kx[i]), ky[i], 1e-5);
    spline->setPoints({-1, 0, 2, 3}, {1, 2, 4, 5});
    for (float x = -1; x <= 3; x += 0.25f) EXPECT_NEAR(spline->value(x), x + 2, 1e-5);
    // Smooth between the knots: no jump across one.
    spline->setPoints(kx, ky);
    EXPECT_NEAR(spline->value(-0.2001f), spline->value(-0.1999f), 1e-3);
    EXPECT_EQ(Interpolator::create(1, {0.5f}, {0.25f})->value(0.9f), 0.25f);
    EXPECT_EQ(Interpolator::create(1, {}, {})->value(0), 0.0f);
}

TEST(qvVectorStack, FixedCapacity) {
    qvVectorStack<int> s(2);
    EXPECT_TRUE(s.isEmpty() && s.pop() == 0);
    s.push(4), s.push(5), s.push(6);  // the third is dropped
    EXPECT_EQ(s.depth(), 2);
    s.top() = 9;
    EXPECT_TRUE(s.pop() == 9 && s.top() == 4);
    s.clear();
    EXPECT_EQ(s.top(), 0);
    s.top() = 3;  // the stand-in of an empty stack is not pushed
    EXPECT_TRUE(s.isEmpty());
}
