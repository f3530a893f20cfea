#include <gtest/gtest.h>

#include <typeinfo>

#include "Patterns/PatternCalculator.h"
#include "support/FakeScene.h"
#include "color/ColorMaker.h"
#include "engine/RandomSource.h"
#include "platform/DC.h"
#include "support/Choosers.h"

namespace {

FakeScene redRamp(int n, bool trueColor = true) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < n; ++i) entries.push_back({static_cast<uint8_t>(i), 0, 0, 0});
    return FakeScene(trueColor, entries);
}

}  // namespace

TEST(ColorMaker, PaletteWalkOneColourAndTheFactory) {
    FakeScene palette = redRamp(10);
    SceneScope scope(palette);
    RandomSource random(3);
    ColorMakerIndex walk(random, 7, 4);
    Color c;
    for (int expected : {7, 1, 5, 9, 3, 7}) {
        walk.make(c, {});
        EXPECT_EQ(c.red(), expected);
    }
    // The start, then the stride; then the constant maker's one entry.
    RandomSource copy = random;
    ColorMakerIndex drawn(random);
    ColorMakerConst fixed(random);
    EXPECT_TRUE(drawn.index() == copy.below(10) && drawn.step() == copy.skewedBelow(5, 8) + 1);
    fixed.make(c, {0.3f, -1.0f});
    EXPECT_TRUE(c.red() == copy.below(10) && random.next() == copy.next());
    // The factory.
    const auto chooser = [](std::vector<float> w) { return chooserOf(Family::ColorMaker, w); };
    FakeScene wide = redRamp(50);
    SceneScope wideScope(wide);
    RandomSource r2(21), copy2 = r2;
    const auto made = CreateColorMaker(r2, chooser({1, 0, 0}), nullptr);
    ASSERT_NE(dynamic_cast<ColorMakerIndex*>(made.get()), nullptr);
    copy2.next();  // the choice, then the walk's own draws
    EXPECT_EQ(static_cast<ColorMakerIndex&>(*made).index(), ColorMakerIndex(copy2).index());
    const ChooserSet mixed = chooser({0, 1000, 1});
    int calc = 0;
    for (int i = 0; i < 100; ++i) calc += dynamic_cast<ColorMakerCalc*>(CreateColorMaker(r2, mixed, nullptr).get()) != nullptr;
    EXPECT_GT(calc, 90);
}

// The calculating maker: palette entry trunc((N - 1) x the pattern's value),
// also when its setup was cut short by pending input.
TEST(ColorMaker, CalcGivesPaletteEntriesOfItsPattern) {
    FakeScene palette = redRamp(50);
    SceneScope scope(palette);
    for (int seed = 1; seed <= 60; ++seed) {
        RandomSource random(seed), copy(seed);
        std::unique_ptr<ColorMakerCalc> maker;
        {
            PatternScope busy([] { return false; });
            maker = std::make_unique<ColorMakerCalc>(random);
        }
        std::vector<float> out(1);
        const auto calc = PatternCalculator::create(copy, 1, false);
        for (float y = -1; y <= 1; y += 0.5f)
            for (float x = -1; x <= 1; x += 0.5f) {
                Color c;
                maker->make(c, {x, y});
                EXPECT_TRUE(c.red() >= 0 && c.red() <= 49);
            }
        EXPECT_EQ(typeid(maker->calculator()), typeid(*calc));
    }
    RandomSource random(3), copy(3);
    ColorMakerCalc maker(random);
    auto calc = PatternCalculator::create(copy, 1, false);
    calc->setup(2, 1, false, 2);
    std::vector<float> out(1);
    for (float x : {-0.7f, 0.1f, 0.9f}) {
        Color c;
        maker.make(c, {x, 0.3f});
        calc->calculate({x, 0.3f}, out);
        EXPECT_EQ(c.red(), static_cast<int>(49 * out[0]));
    }
}

TEST(ColorMaker, ScreenMapsTheWholeScreenOntoTheSquare) {
    CSurface surface(4, 3, 32);
    CDC dc(&surface);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) dc.SetPixel(x, y, RGB(10 * x, 10 * y, 1));
    RandomSource random(1);
    ColorMakerScreen screen(random, &dc);
    const auto at = [&](std::vector<float> in) { Color c(5, 5, 5); screen.make(c, in); return c; };
    // The far edge wraps to 0; left of the screen or no screen: black.
    EXPECT_TRUE(at({1.0f, 1.0f}) == Color(0, 0, 1) && at({0.5f, -0.5f}) == Color(30, 0, 1) && at({-2.0f, 0.0f}) == Color());
    Color c(5, 5, 5);
    ColorMakerScreen(random, nullptr).make(c, {0.0f, 0.0f});
    EXPECT_EQ(c, Color());
    FakeScene paletted = redRamp(16, false);
    SceneScope scope(paletted);
    EXPECT_EQ(at({0.0f, 0.0f}).colorRef(), PALETTERGB(20, 10, 1));
}
