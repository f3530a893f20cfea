#include <cmath>

#include "Patterns/Interpolator.h"
#include "styles/area/ReworkSupport.h"
#include "styles/area/Interp.h"
#include "styles/dot/Dot.h"

namespace {

class InterpTest : public ReworkTest {};

}  // namespace

TEST_F(InterpTest, GoldenPictures) { goldenPictures<Interp>("interp", {32, 8}); }

TEST_F(InterpTest, TinyScreensAndThePreviewFinish) { tinyScreens<Interp>(); }

TEST(InterpKnots, EqualKnotsMergeIntoOneWithTheMeanValue) {
    std::vector<float> knots{0.0f, 0.5f, 0.5f, 1.0f, 1.0f, 1.0f};
    std::vector<float> values{10, 20, 40, 3, 6, 9};
    Interp::mergeKnots(knots, values);
    EXPECT_EQ(knots, (std::vector<float>{0.0f, 0.5f, 1.0f}));
    EXPECT_EQ(values, (std::vector<float>{10, 30, 6}));

    std::vector<float> one{1.0f, 1.0f};
    std::vector<float> v{4, 8};
    Interp::mergeKnots(one, v);
    EXPECT_EQ(one.size(), 1u);
    EXPECT_EQ(v[0], 6);
}

TEST(InterpKnots, NarrowCellsSnapKnotsTogetherWithoutANaN) {
    // Knots as drawn: repeated 1s at the end, and in a cell of 1 or 2
    // pixels every knot on one of its columns.
    const std::vector<float> drawn{0.0f, 0.2f, 0.45f, 0.7f, 0.95f, 1.0f, 1.0f, 1.0f};
    for (int w : {1, 2, 3, 5, 640})
        for (int kind : {0, 1}) {
            std::vector<float> knots, values;
            for (size_t i = 0; i < drawn.size(); ++i) {
                knots.push_back(Interp::snapKnot(drawn[i], w));
                values.push_back(static_cast<float>(i * 30));
            }
            EXPECT_EQ(knots.front(), 0.0f);
            EXPECT_LE(knots.back(), static_cast<float>(w - 1) / static_cast<float>(w));
            Interp::mergeKnots(knots, values);
            for (size_t i = 1; i < knots.size(); ++i) EXPECT_LT(knots[i - 1], knots[i]);
            auto f = Interpolator::create(kind, knots, values);
            for (int x = 0; x < w; ++x) {
                const float v = f->value(static_cast<float>(x) / static_cast<float>(w));
                EXPECT_TRUE(std::isfinite(v)) << "w " << w << " kind " << kind << " x " << x;
                EXPECT_GE(v, -100.0f);
                EXPECT_LE(v, 400.0f);
            }
        }
}

TEST_F(InterpTest, ConstructionRules) {
    settings().setMaxTime(21);
    for (int seed = 1; seed <= 40; ++seed) {
        auto s = style<Interp>(64, 48, seed);
        EXPECT_EQ(s->duration(), 21000u);
        EXPECT_TRUE(s->hueCount() == 1 || s->hueCount() == 3);
        if (s->dot()->area() == 1) {
            EXPECT_FALSE(s->dot()->shadowOn());
        }
        for (int c = 0; c < s->hueCount(); ++c) {
            for (const auto* knots : {&s->xKnots(c), &s->yKnots(c)}) {
                const size_t n = knots->size();
                EXPECT_TRUE(n == 2 || n == 4 || n == 8 || n == 16 || n == 32) << n;
                EXPECT_EQ(knots->front(), 0.0f);
                EXPECT_EQ(knots->back(), 1.0f);
                for (size_t i = 1; i < n; ++i) EXPECT_LE((*knots)[i - 1], (*knots)[i]);
            }
            EXPECT_GE(s->quantum(c), 1);
            EXPECT_LE(s->quantum(c), 128);
        }
    }
}

TEST_F(InterpTest, ThreeChannelsAreNeverChosenWhileThePaletteTurns) {
    animate();
    for (int seed = 1; seed <= 20; ++seed) {
        auto s = style<Interp>(64, 48, seed, 8);
        if (scene->isAnimated()) {
            EXPECT_EQ(s->hueCount(), 1) << seed;
        }
    }
}

TEST_F(InterpTest, DirectWritesGiveThePixelsOfThePlainPath) {
    settings().setSingleDot(100);
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 4; ++seed) {
            auto fast = style<Interp>(160, 90, seed, depth);
            finish(*fast);
            const uint64_t expected = hash();
            auto plain = style<Interp>(160, 90, seed, depth);
            plain->setPlainPath(true);
            finish(*plain);
            EXPECT_EQ(hash(), expected) << "depth " << depth << " seed " << seed;
        }
}

TEST_F(InterpTest, AUniformCellKeepsItsColour) {
    // Every sample is the same, so every interpolated channel is that value
    // (give or take the truncation of a rounded sum).
    wholeScreenLayout();
    settings().setSingleDot(100);
    int tried = 0;
    for (int seed = 1; seed <= 100 && tried < 4; ++seed) {
        auto s = style<Interp>(50, 30, seed);
        const bool plain = s->quantum(0) == 1 && s->quantum(1) == 1 && s->quantum(2) == 1;
        if (!drawsTheOnlyCell(*s) || s->hueCount() != 3 || !plain) continue;
        ++tried;
        fill(RGB(90, 140, 200));
        finish(*s);
        for (uint32_t v : pixels()) {
            EXPECT_NEAR(GetRValue(v), 90, 1) << seed;
            EXPECT_NEAR(GetGValue(v), 140, 1) << seed;
            EXPECT_NEAR(GetBValue(v), 200, 1) << seed;
        }
    }
    EXPECT_GT(tried, 0);
}
