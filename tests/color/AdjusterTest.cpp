#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <typeinfo>

#include "color/ColorAdjusters.h"
#include "color/ColorClamp.h"
#include "color/ColorSpace.h"
#include "support/Choosers.h"
#include "support/FakeScene.h"

namespace {

// A chooser table that can only give `member` out of `size`.
ChooserSet onlyMember(Family f, int size, int member) {
    std::vector<float> weights(size_t(size), 0.0f);
    return weights[size_t(member)] = 1.0f, chooserOf(f, weights);
}

// Flagged channels follow `expected`, the others stay; both flag states occur.
template <class Adjuster>
void expectPerChannel(int (*expected)(int)) {
    bool seen[2] = {false, false};
    for (int seed = 1; seed <= 12; ++seed) {
        RandomSource r(seed);
        Adjuster a(r);
        for (int v = 0; v < 256; ++v) {
            Color c(v, 255 - v, (v * 7) % 256);
            const Color before = c;
            a.adjust(c, 0, 0, nullptr);
            for (int i = 0; i < 3; ++i) {
                seen[a.channelFlag(i)] = true;
                const int in = before.channel(i);
                ASSERT_EQ(c.channel(i), a.channelFlag(i) ? expected(in) : in) << typeid(a).name() << i;
            }
        }
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

}  // namespace

// The formulas over every channel value: lighten 0 gives 85 and keeps 255,
// darken 255 gives 170 and 1 gives 0.
TEST(ColorAdjusters, ChannelAndHueAdjusters) {
    expectPerChannel<ColorAdjusterLighten>([](int v) { return v + (255 - v) / 3; });
    expectPerChannel<ColorAdjusterDarken>([](int v) { return 2 * v / 3; });
    expectPerChannel<ColorAdjusterInvert>([](int v) { return 255 - v; });
    expectPerChannel<ColorAdjusterNone>([](int v) { return v; });
    FakeScene palette(true, {{0, 0, 255, 0}});
    SceneScope scope(palette);
    RandomSource r(3);
    ColorAdjusterHue hue(r);
    EXPECT_EQ(hue.hue(), 240);
    Color c(200, 100, 50), grey(90, 90, 90);
    hue.adjust(c, 0, 0, nullptr), hue.adjust(grey, 0, 0, nullptr);
    EXPECT_TRUE(c == Color(50, 50, 200) && grey == Color(90, 90, 90));  // s 0.75 and v 200/255 kept
}

TEST(ColorAdjusters, GlowsFollowThePositionInTheCell) {
    RandomSource r(77);
    ColorAdjusterGlow glow(r);
    ColorAdjusterFade fade(r);
    ColorAdjusterGlowX glowX(r);
    ColorAdjusterGlowY glowY(r);
    const CellArea cell{100, 50, 200, 100};
    // Lightness of red at the normalised point (nx, ny) of the cell.
    const auto at = [&](ColorAdjuster& a, float nx, float ny) {
        Color c(255, 0, 0);
        a.adjust(c, static_cast<int>(100 + (nx + 1) * 100), static_cast<int>(50 + (ny + 1) * 50), &cell);
        return ColorHSL(c).lightness();
    };
    for (ColorAdjusterGlow* g : std::initializer_list<ColorAdjusterGlow*>{&glow, &fade, &glowX, &glowY}) {
        EXPECT_TRUE(g->centreX() >= -1 && g->centreX() <= 0 && g->centreY() >= -1 && g->centreY() <= 0);
        Color c(200, 10, 30);
        g->adjust(c, 3, 4, nullptr);
        EXPECT_EQ(c, Color(200, 10, 30)) << "no cell, no change";
        for (float y = -1; y < 1; y += 0.25f)
            for (float x = -1; x < 1; x += 0.25f) ASSERT_LE(at(*g, x, y), 0.805f);
    }
    // Bright (or for the fade dark) at the centre.
    EXPECT_NEAR(at(glow, glow.centreX(), glow.centreY()), 0.8, 0.02);
    EXPECT_NEAR(at(fade, fade.centreX(), fade.centreY()), 0.0, 0.02);
    Color c(9, 9, 9);
    const CellArea empty{};
    glow.adjust(c, 0, 0, &empty);  // a degenerate cell divides by nothing
}

TEST(ColorClamps, SaturateOrFoldAndTheFactoriesFallBack) {
    ColorClampMinMax minMax;
    EXPECT_TRUE(minMax.clamp(-1) == 0 && minMax.clamp(256) == 255 && minMax.clamp(255) == 255);
    // Folds by the offset until in range; far out costs no time; an offset of 0 saturates.
    const std::tuple<int, int, int> cases[] = {{100, 300, 200}, {100, -250, 50}, {100, -100, 0},
                                               {100, 355, 255}, {1, INT_MIN, 0}, {1, INT_MAX, 255},
                                               {0, -3, 0},      {0, 999, 255}};
    for (const auto& [offset, in, out] : cases)
        EXPECT_EQ(ColorClampOffset(offset).clamp(in), out) << offset << " " << in;
    RandomSource r(9);
    EXPECT_EQ(typeid(*CreateColorAdjuster(r, onlyMember(Family::ColorAdjuster, 10, 9))),
              typeid(ColorAdjusterNone));  // beyond the table
    EXPECT_EQ(typeid(*CreateColorClamp(r, onlyMember(Family::ColorClamp, 3, 2), nullptr)),
              typeid(ColorClampMinMax));
}
