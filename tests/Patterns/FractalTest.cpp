#include <gtest/gtest.h>

#include "PatternSupport.h"
#include "Patterns/PatternFractal.h"
#include "engine/RandomSource.h"

namespace {

PatternFractal::Params plain() {
    PatternFractal::Params p;
    p.maxIter = 256;
    p.bail = 4.0f;
    return p;
}

}  // namespace

TEST(PatternFractal, InteriorPointsAngleColouringAndTheLimitGuard) {
    RandomSource random(1);
    PatternFractal f(random);
    std::vector<float> out(1);
    // c = 0: the origin never escapes: the last count, an output of 1; 1.5
    // escapes after one step (2.25^2 > 4).
    f.setParams(plain());
    f.calculate({0.0f, 0.0f}, out);
    EXPECT_TRUE(f.iterate(0, 0, true) == 255 && out[0] == 1.0f && f.iterate(1.5f, 0, true) == 1);
    // Coloured by angle: z = (1.5, 0.5) steps to (2, 1.5): its angle gives
    // t = 0.6024, t2 = 0.5903, trunc(256 t2) = 151.
    PatternFractal::Params angle = plain();
    angle.useAngle = true;
    f.setParams(angle);
    EXPECT_TRUE(f.iterate(1.5f, 0.5f, true) == 151 &&
                f.iterate(1.5f, 0.5f, false) == 1);  // without the modifications
    // A final modified value whose real part is exactly 0 gives 0: the
    // origin, kept at 0 by truncation, instead of the interior count.
    angle.adjZ = 7;
    f.setParams(angle);
    EXPECT_EQ(f.iterate(0, 0, true), 0);
    // The closest approach adds trunc(limit * minNorm) (here 0 at the origin).
    PatternFractal::Params near = plain();
    near.useMinNormZ = true;
    f.setParams(near);
    EXPECT_EQ(f.iterate(0, 0, true), 255);
    // A limit of 1 or less has no count to divide by: 0, never a NaN.
    PatternFractal::Params tiny = plain();
    for (int limit : {1, 0, -3}) {
        tiny.maxIter = limit;
        f.setParams(tiny);
        f.calculate({0.0f, 0.0f}, out);
        EXPECT_EQ(out[0], 0.0f);
    }
    // Before any setup the limit is the palette's size already.
    FakeScene one = greyRamp(1);
    SceneScope scope(one);
    PatternFractal fresh(random);
    fresh.calculate({0.2f, 0.1f}, out);
    EXPECT_TRUE(fresh.maxIter() == 1 && out[0] == 0.0f);
}

// The grid fill runs eight points at a time; its cells are those of
// calculate() point by point, for set-up and given parameters alike.
TEST(PatternFractal, RowFillMatchesPointByPoint) {
    FakeScene palette = greyRamp(200);
    SceneScope scope(palette);
    std::vector<float> out(1);
    for (int seed = 1; seed <= 12; ++seed) {
        RandomSource random(seed);
        PatternFractal f(random);
        if (seed % 3 == 0) {
            PatternFractal::Params p;
            p.maxIter = 200, p.bail = 4.0f + seed, p.scaleX = 1.5f, p.scaleY = 1.2f, p.offsetX = -0.1f;
            p.c = {-0.75f, 0.11f * seed};
            f.setParams(p);
        }
        IndexGrid grid;
        f.fillIndexGrid(grid, 37, 21, seed % 2 == 0);
        for (int j = 0; j < 21; ++j)
            for (int i = 0; i < 37; ++i) {
                const int ci = seed % 2 == 0 && i > 18 ? 36 - i : i,
                          cj = seed % 2 == 0 && j > 10 ? 20 - j : j;
                f.calculate({ci / 37.0f * 2 - 1, cj / 21.0f * 2 - 1}, out);
                ASSERT_EQ(grid.at(i, j), static_cast<int>(200 * out[0]) % 200)
                    << seed << " " << i << "," << j;
            }
    }
}
