#include <gtest/gtest.h>

#include <limits>

#include "support/FakeScene.h"
#include "color/ColorSelector.h"
#include "engine/RandomSource.h"
#include "support/Choosers.h"

namespace {

FakeScene redRamp(int n) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < n; ++i) entries.push_back({static_cast<uint8_t>(i), 0, 0, 0});
    return FakeScene(true, entries);
}

Color selected(ColorSelector& s, std::vector<float> in) {
    Color c;
    s.select(c, in);
    return c;
}

}  // namespace

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
    RandomSource random(12), copy = random;
    EXPECT_TRUE(isIndex(CreateColorSelector(random, chooser({0, 0, 0, 1}), true, 3)));  // scattering dot
    expectSamePlace(random, copy);
    EXPECT_NE(dynamic_cast<ColorSelectorBump*>(CreateColorSelector(random, chooser({0, 0, 0, 1}), false, 3).get()),
              nullptr);
    // The bump with too few inputs makes its draws, then gives way.
    copy = random;
    EXPECT_TRUE(isIndex(CreateColorSelector(random, chooser({0, 0, 0, 1}), false, 2)));
    for (int i = 0; i < 5; ++i) copy.next();
    expectSamePlace(random, copy);
    // One input: neither the HSL (refused) nor the bump (too many inputs).
    const ChooserSet defaults = chooser({80, 60, 20, 20});
    for (int i = 0; i < 300; ++i) {
        const auto s = CreateColorSelector(random, defaults, false, 1);
        EXPECT_TRUE(isIndex(s) || dynamic_cast<ColorSelectorRGB*>(s.get()));
    }
}
