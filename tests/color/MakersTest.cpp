// The colour makers, selectors and variations the styles paint with.

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <typeinfo>

#include "Patterns/PatternCalculator.h"
#include "color/ColorMaker.h"
#include "color/ColorSelector.h"
#include "color/VaryColor.h"
#include "color/VaryWidth.h"
#include "engine/RandomSource.h"
#include "platform/DC.h"
#include "support/Choosers.h"
#include "support/FakeScene.h"

namespace {

FakeScene redRamp(int n, bool trueColor = true) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < n; ++i) entries.push_back({static_cast<uint8_t>(i), 0, 0, 0});
    return FakeScene(trueColor, entries);
}

Color selected(ColorSelector& s, std::vector<float> in) {
    Color c;
    s.select(c, in);
    return c;
}

// A chooser set whose colour variation picks `member` and whose range picks
// `range`.
ChooserSet pick(int member, int range) {
    ChooserSet set;
    std::vector<float> v(7, 0), r(3, 0);
    v[size_t(member)] = 1, r[size_t(range)] = 1;
    set.chooser(Family::VaryColor).build(v, true);
    set.chooser(Family::VaryRange).build(r, true);
    set.chooser(Family::VaryWidth).build({1, 1}, true);
    return set;
}

}  // namespace

TEST(ColorMaker, PaletteWalkAndOneColour) {
    FakeScene palette = redRamp(10);
    SceneScope scope(palette);
    RandomSource random(3);
    ColorMakerIndex walk(random, 7, 4);
    Color c;
    for (int expected : {7, 1, 5, 9, 3, 7}) {
        walk.make(c, {});
        EXPECT_EQ(c.red(), expected);
    }
    // The constant maker's one entry, whatever the input.
    ColorMakerConst fixed(random);
    Color other;
    fixed.make(c, {0.3f, -1.0f}), fixed.make(other, {-1.0f, 1.0f});
    EXPECT_TRUE(c == other && c.red() < 10);
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
    const auto at = [&](std::vector<float> in) {
        Color c(5, 5, 5);
        screen.make(c, in);
        return c;
    };
    // The far edge wraps to 0; left of the screen or no screen: black.
    EXPECT_TRUE(at({1.0f, 1.0f}) == Color(0, 0, 1) && at({0.5f, -0.5f}) == Color(30, 0, 1) &&
                at({-2.0f, 0.0f}) == Color());
    Color c(5, 5, 5);
    ColorMakerScreen(random, nullptr).make(c, {0.0f, 0.0f});
    EXPECT_EQ(c, Color());
    FakeScene paletted = redRamp(16, false);
    SceneScope scope(paletted);
    EXPECT_EQ(at({0.0f, 0.0f}).colorRef(), PALETTERGB(20, 10, 1));
}

TEST(ColorSelector, IndexRgbHslAndBumpArithmetic) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    FakeScene palette = redRamp(236);
    SceneScope scope(palette);
    ColorSelectorIndex index;
    // 236 mod 236 wraps to 0; negative remainders, NaN and missing values too.
    const std::pair<std::vector<float>, int> cases[] = {
        {{0.999f}, 235}, {{1.0f}, 0}, {{1.5f}, 118}, {{-0.3f}, 0}, {{nan}, 0}, {{1e30f}, 0}, {{}, 0}};
    for (const auto& [in, entry] : cases) EXPECT_EQ(selected(index, in).red(), entry);

    ColorSelectorRGB rgb(Color(0, 0, 0), Color(255, 101, 0));  // extrapolated, masked to 8 bits
    EXPECT_TRUE(selected(rgb, {0.5f}) == Color(127, 50, 0) && selected(rgb, {2.0f}) == Color(254, 202, 0) &&
                selected(rgb, {-1.0f}) == Color(1, 155, 0));
    // Pairs are drawn until they differ: twelve at most.
    RandomSource random(4), copy = random;
    FakeScene grey(true, std::vector<PALETTEENTRY>(50, PALETTEENTRY{90, 90, 90, 0}));
    SceneScope flat(grey);
    ColorSelectorRGB same(random);
    for (int i = 0; i < 24; ++i) copy.next();
    expectSamePlace(random, copy);
    // The HSL and bump selectors shade one hue.
    FakeScene redOnly(true, {{255, 0, 0, 0}});
    SceneScope redScope(redOnly);
    RandomSource r9(9);
    ColorSelectorHSL hsl(r9);
    const Color top = selected(hsl, {1.0f});  // lightness 0.8: light redOnly, not white
    EXPECT_TRUE(hsl.hue() == 0.0f && hsl.saturation() == 1.0f && selected(hsl, {0.0f}) == Color(0, 0, 0));
    EXPECT_TRUE(top.red() >= 254 && top.green() >= 152 && top.green() <= 153 && top.blue() == top.green());

    ColorSelectorBump lit(0.0f, 1.0f, {3.0f, 0.0f, 4.0f});
    EXPECT_EQ(selected(lit, {0.0f, 0.0f, 0.0f}), Color(0, 0, 0));  // no normal: black
    std::vector<float> in = {6.0f, 0.0f, 8.0f};
    Color c;  // facing the light: normalised in place, fully lit
    lit.select(c, in);
    EXPECT_TRUE(std::abs(in[0] - 0.6f) < 1e-6f && std::abs(in[2] - 0.8f) < 1e-6f && c == top);
    EXPECT_EQ(selected(lit, {-3.0f, 0.0f, -4.0f}), Color(0, 0, 0));  // facing away
}

TEST(ColorSelector, FactoryKeepsToTheInputsAndTheDot) {
    const auto chooser = [](std::vector<float> w) { return chooserOf(Family::ColorSelector, w); };
    const auto isIndex = [](const std::unique_ptr<ColorSelector>& s) {
        return dynamic_cast<ColorSelectorIndex*>(s.get()) != nullptr;
    };
    FakeScene palette = redRamp(100);
    SceneScope scope(palette);
    RandomSource random(12);
    // The bump for three inputs; not for a scattering dot, nor for too few inputs.
    EXPECT_NE(
        dynamic_cast<ColorSelectorBump*>(CreateColorSelector(random, chooser({0, 0, 0, 1}), false, 3).get()),
        nullptr);
    EXPECT_TRUE(isIndex(CreateColorSelector(random, chooser({0, 0, 0, 1}), true, 3)));
    EXPECT_TRUE(isIndex(CreateColorSelector(random, chooser({0, 0, 0, 1}), false, 2)));
    // One input: neither the HSL (refused) nor the bump (too many inputs).
    const ChooserSet defaults = chooser({80, 60, 20, 20});
    for (int i = 0; i < 300; ++i) {
        const auto s = CreateColorSelector(random, defaults, false, 1);
        EXPECT_TRUE(isIndex(s) || dynamic_cast<ColorSelectorRGB*>(s.get()));
    }
}

TEST(VaryRange, PaletteBlendAndBrightness) {
    FakeScene palette = redRamp(236);
    SceneScope scope(palette);
    const VaryRangePalette pal;
    const Color base(100, 50, 200);
    for (auto [t, entry] :  // 1 is trunc(236) mod 236
         {std::pair{0.0f, 0},
          {1.0f, 0},
          {0.5f, 118},
          {-4.0f, 0},
          {std::numeric_limits<float>::quiet_NaN(), 0}})
        EXPECT_EQ(pal.map(t, base).red(), entry) << t;
    const VaryRangeBrightness bright;
    EXPECT_EQ(bright.map(0.0f, base), Color(0, 0, 0));
    EXPECT_EQ(bright.map(0.5f, base), base);
    EXPECT_EQ(bright.map(1.0f, Color(0, 0, 0)), Color(127, 127, 127));
    EXPECT_EQ(bright.map(0.25f, base), Color(50, 25, 100));
    // Not limited: well above 1 the bright half wraps.
    EXPECT_EQ(bright.map(2.0f, Color(200, 0, 0)).red(), (200 + int(55 * 1.5)) % 256);
    const VaryRangeFromTo blend(Color(10, 200, 0), Color(110, 0, 255));
    EXPECT_EQ(blend.map(0.5f, base), Color(60, 100, 127));
    EXPECT_EQ(blend.map(7.0f, base), Color(110, 0, 255));
    // The factory: a palette display always gets the palette, without a draw.
    FakeScene eightBit = redRamp(16, false);
    SceneScope palScope(eightBit);
    RandomSource r(4), copy(4);
    EXPECT_NE(dynamic_cast<VaryRangePalette*>(CreateVaryRange(r, pick(0, 2)).get()), nullptr);
    EXPECT_EQ(r.next(), copy.next());
}

TEST(VaryColor, ParametersOfEveryMember) {
    FakeScene palette = redRamp(236);
    SceneScope scope(palette);
    RandomSource random(2);
    const Color base(90, 90, 90);
    const auto t = [&](int member, float x, float y, float x2, float y2) {
        // Through the palette range: t = entry / 236.
        auto v = CreateVaryColor(random, pick(member, 0));
        return v->vary(base, x, y, x2, y2).red();
    };
    EXPECT_EQ(t(0, 0.3f, 0.3f, 0, 0), 90);  // none: the base colour
    EXPECT_EQ(t(4, -1.0f, 0, 0, 0), 0);     // by x: -1 is entry 0 ...
    EXPECT_EQ(t(4, 1.0f, 0, 0, 0), 0);      // ... and so is 1 (236 mod 236)
    EXPECT_EQ(t(4, 0.0f, 5, 0, 0), 118);
    EXPECT_EQ(t(4, -9.0f, 5, 0, 0), 0);                          // limited to -1 first
    EXPECT_EQ(t(5, 0, 0.5f, 0, 0), 177);                         // by y: 0.75
    EXPECT_EQ(t(3, 0.3f, 0.4f, 0, 0), 118);                      // from the centre: 0.5
    EXPECT_EQ(t(1, -1, 0, 0, 0), int(236 * (1 / 1.41421356f)));  // distance 1 over sqrt 2
    // By angle: both points equal gives 0; straight up from the figure 1/2;
    // the direction is folded onto the left half.
    EXPECT_EQ(t(2, 0.4f, 0.2f, 0.4f, 0.2f), 0);
    EXPECT_EQ(t(2, 0, 0.5f, 0, -0.5f), 118);
    EXPECT_EQ(t(2, 0.5f, 0, -0.5f, 0), t(2, -0.5f, 0, 0.5f, 0));
}

TEST(VaryColor, FactoryAndASafeCalculator) {
    FakeScene palette = redRamp(100);
    SceneScope scope(palette);
    RandomSource random(6);
    const auto v = CreateVaryColor(random, pick(1, 1));
    EXPECT_NE(dynamic_cast<VaryColorByDistance*>(v.get()), nullptr);
    EXPECT_NE(dynamic_cast<const VaryRangeFromTo*>(&v->range()), nullptr);
    // By pattern: a setup cut short by pending input still varies safely,
    // within the palette.
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource r(seed);
        std::unique_ptr<VaryColor> xy;
        {
            PatternScope busy([] { return false; });
            xy = CreateVaryColor(r, pick(6, 0));
        }
        ASSERT_NE(dynamic_cast<VaryColorByXY*>(xy.get()), nullptr);
        for (float x = -2; x <= 2; x += 0.5f) {
            const Color c = xy->vary(Color(1, 2, 3), x, -x, 0, 0);
            EXPECT_TRUE(c.red() >= 0 && c.red() < 100);
        }
    }
}

TEST(VaryWidth, ByAngle) {
    const VaryWidthByAngle pen;
    EXPECT_EQ(pen.width(4, 0, 0, 10, 0), 7);  // level: 1.75 w
    EXPECT_EQ(pen.width(1, 5, 10, 5, 0), 1);  // straight up: 0.5, raised to 1
    EXPECT_EQ(pen.width(4, 5, 10, 5, 0), 2);
    EXPECT_EQ(pen.width(4, 5, 0, 5, 10), 12);            // straight down: 3 w
    EXPECT_EQ(pen.width(4, 0, 10, 10, 0), 4);            // 45 degrees up: a = 1/4
    EXPECT_EQ(pen.width(4, 3, 3, 3, 3), 2);              // a point counts as up
    EXPECT_EQ(pen.width(4, INT_MIN, 0, INT_MAX, 0), 7);  // no overflow
    EXPECT_EQ(VaryWidthNone().width(9, 0, 0, 1, 1), 9);
}
