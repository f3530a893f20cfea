#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "color/Color.h"
#include "color/ColorScene.h"
#include "color/ColorSpace.h"
#include "engine/RandomSource.h"

namespace {

std::vector<PALETTEENTRY> smallPalette() {
    return {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}, {255, 0, 128, 0}};
}

void expectRGB(const Color& c, int r, int g, int b) {
    EXPECT_EQ(c.red(), r);
    EXPECT_EQ(c.green(), g);
    EXPECT_EQ(c.blue(), b);
}

// Truncation on the way back may cost one step per channel, never more, and
// never gain.
void expectNearlyBack(const Color& back, const Color& c) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_LE(back.channel(i), c.channel(i)) << c.toString() << " came back " << back.toString();
        EXPECT_GE(back.channel(i), c.channel(i) - 1) << c.toString() << " came back " << back.toString();
    }
}

}  // namespace

TEST(Color, FormsFollowTheDisplay) {
    ColorTable trueColor(true, smallPalette());
    ColorTable paletted(false, smallPalette());
    {
        ColorSceneScope scope(trueColor);
        EXPECT_EQ(Color(1, 2, 3).colorRef(), 0x030201u);
        EXPECT_EQ(Color(256, -1, 511).colorRef(), RGB(0, 255, 255));  // masked to 8 bits
        EXPECT_EQ(Color(COLORREF{0x00ABCDEF}).colorRef(), 0x00ABCDEFu);
        // True colour: the entry's plain RGB, the index limited to the palette.
        EXPECT_EQ(Color::fromPaletteIndex(1).colorRef(), RGB(40, 50, 60));
        EXPECT_EQ(Color::fromPaletteIndex(-5).colorRef(), RGB(10, 20, 30));
        EXPECT_EQ(Color::fromPaletteIndex(99).colorRef(), RGB(255, 0, 128));
        EXPECT_EQ(Color().colorRef(), 0u);
    }
    {
        ColorSceneScope scope(paletted);
        EXPECT_EQ(Color(1, 2, 3).colorRef(), 0x02030201u);
        EXPECT_EQ(Color(COLORREF{0x00ABCDEF}).colorRef(), 0x02ABCDEFu);
        // A palette index keeps its form rather than gain the relative flag.
        EXPECT_EQ(Color(PALETTEINDEX(2)).colorRef(), 0x01000002u);
        EXPECT_EQ(Color::fromPaletteIndex(2).colorRef(), 0x01000002u);
        EXPECT_EQ(Color::fromPaletteIndex(-1).colorRef(), 0x01000000u);
        EXPECT_EQ(Color::fromPaletteIndex(4).colorRef(), 0x01000003u);
        expectRGB(Color(7, 8, 9), 7, 8, 9);
    }
    EXPECT_EQ(&colorScene(), &colorScene());  // back to the stand-in, which stays put
    EXPECT_TRUE(colorScene().isTrueColor());
}

TEST(Color, PaletteIndexReadsThePaletteWhenAsked) {
    ColorTable paletted(false, smallPalette());
    ColorSceneScope scope(paletted);
    const Color c = Color::fromPaletteIndex(1);
    expectRGB(c, 40, 50, 60);
    EXPECT_EQ(c.channel(7), 60);  // anything but 0 and 1 is blue
    paletted.entries()[1] = {1, 2, 3, 0};
    expectRGB(c, 1, 2, 3);
    // An index made elsewhere beyond the palette reads the last entry.
    expectRGB(Color(PALETTEINDEX(200)), 255, 0, 128);
    // Adjusting a palette colour gives an RGB colour of the entry's channels.
    Color inv = c;
    inv.invert();
    EXPECT_EQ(inv.colorRef(), PALETTERGB(254, 253, 252));

    // The draw is below(palette size), then the index.
    RandomSource r(5), copy(5);
    const Color random = Color::randomPaletteColor(r);
    EXPECT_EQ(random, Color::fromPaletteIndex(copy.below(4)));
    EXPECT_EQ(r.next(), copy.next());
}

TEST(Color, TestsOfPairsAndGreys) {
    EXPECT_EQ(Color(10, 20, 31).brightness(), 20);
    EXPECT_EQ(Color(0, 1, 255).toString(), "(0,1,255)");
    EXPECT_FALSE(Color(100, 140, 100).isGreyish());  // green is 27 from 113
    EXPECT_TRUE(Color(100, 115, 100).isGreyish());
    EXPECT_TRUE(Color(0, 14, 0).isGreenish());
    EXPECT_FALSE(Color(0, 13, 0).isGreenish());
    EXPECT_FALSE(Color(0, 200, 187).isGreenish());
    EXPECT_TRUE(Color(200, 100, 169).isMagentaish());
    EXPECT_FALSE(Color(200, 100, 168).isMagentaish());  // red and blue 32 apart
    EXPECT_FALSE(Color(114, 100, 113).isMagentaish());  // blue only 13 above green
    const Color green(20, 200, 30), magenta(200, 20, 190), grey(90, 90, 90);
    EXPECT_TRUE(green.clashes(magenta));
    EXPECT_TRUE(magenta.clashes(green));
    EXPECT_FALSE(green.clashes(green));
    EXPECT_FALSE(grey.clashes(magenta));
}

TEST(ColorSpaces, HsvEdges) {
    const ColorHSV red(Color(255, 0, 0));
    EXPECT_FLOAT_EQ(red.hue(), 0);
    EXPECT_FLOAT_EQ(red.saturation(), 1);
    EXPECT_FLOAT_EQ(red.value(), 1);
    expectRGB(ColorHSV(0, 1, 1).toColor(), 255, 0, 0);
    expectRGB(ColorHSV(360, 1, 1).toColor(), 255, 0, 0);
    expectRGB(ColorHSV(120, 1, 1).toColor(), 0, 255, 0);
    expectRGB(ColorHSV(300, 1, 0.5f).toColor(), 127, 0, 127);
    EXPECT_NEAR(ColorHSV(Color(255, 0, 1)).hue(), 359.76, 0.01);  // wraps, not negative
    EXPECT_FLOAT_EQ(ColorHSV(Color(0, 0, 255)).hue(), 240);
    const ColorHSV black(Color(0, 0, 0));  // max 0: no division
    EXPECT_EQ(black.saturation(), 0);
    EXPECT_EQ(black.hue(), 0);
    const ColorHSV grey(Color(77, 77, 77));
    EXPECT_EQ(grey.saturation(), 0);
    EXPECT_EQ(grey.hue(), 0);
    for (float bad : {-0.5f, 360.5f, 1e30f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(ColorHSV(bad, 1, 1).toColor(), Color(0, 0, 0)) << bad;
    // Absurd saturation or value must not turn into an undefined conversion.
    (void)ColorHSV(10, 1, 1e30f).toColor();
}

TEST(ColorSpaces, HslEdges) {
    const ColorHSL grey(Color(128, 128, 128));
    EXPECT_EQ(grey.saturation(), 0);
    EXPECT_EQ(grey.hue(), 0);
    const int back = grey.toColor().red();
    EXPECT_TRUE(back == 127 || back == 128) << back;
    EXPECT_NEAR(ColorHSL(Color(0, 0, 255)).hue(), 4.0 / 6, 1e-6);
    EXPECT_NEAR(ColorHSL(Color(255, 0, 1)).hue(), 1 - 1.0 / 1530, 1e-6);  // wrapped into 0..1
    EXPECT_FLOAT_EQ(ColorHSL(Color(255, 0, 0)).saturation(), 1);
    EXPECT_FLOAT_EQ(ColorHSL(Color(255, 0, 0)).lightness(), 0.5f);
    // Both branches of the saturation formula.
    EXPECT_FLOAT_EQ(ColorHSL(Color(255, 255, 0 + 51)).saturation(), 1);
    EXPECT_NEAR(ColorHSL(Color(102, 51, 51)).saturation(), 51.0 / 153, 1e-6);
    expectRGB(ColorHSL(0.5f, 1, 0).toColor(), 0, 0, 0);
    expectRGB(ColorHSL(0.5f, 1, 1).toColor(), 255, 255, 255);
    expectRGB(ColorHSL(1.0f / 3, 1, 0.5f).toColor(), 0, 255, 0);
}

TEST(ColorSpaces, RoundTripsLoseAtMostOneStep) {
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 51) {
                const Color c(r, g, b);
                expectNearlyBack(ColorHSV(c).toColor(), c);
                expectNearlyBack(ColorHSL(c).toColor(), c);
            }
}

TEST(ColorSpaces, SetLightnessKeepsHueAndLimitsLightness) {
    Color c(255, 0, 0);
    c.setLightness(0.25f);
    expectRGB(c, 127, 0, 0);
    c.setLightness(2.0f);
    expectRGB(c, 255, 255, 255);
    c = Color(0, 0, 255);
    c.setLightness(-1.0f);
    expectRGB(c, 0, 0, 0);
    c = Color(0, 0, 255);
    c.setLightness(std::numeric_limits<float>::quiet_NaN());
    expectRGB(c, 0, 0, 0);
}

TEST(ColorSpaces, NudgeDrawsInOrderAndStaysInRange) {
    // Each step tosses a coin and draws its amount only when it comes up.
    RandomSource r(2024), copy(2024);
    ColorHSV hsv(355, 0.95f, 0.05f);
    hsv.nudge(r);
    float hue = 355, sat = 0.95f, val = 0.05f;
    if (copy.below(2)) {
        hue = static_cast<float>(hue + copy.signedUniform() * 10);
        if (hue >= 360) hue -= 360;
    }
    if (copy.below(2)) sat = std::clamp(static_cast<float>(sat + copy.signedUniform() * 0.1), 0.0f, 1.0f);
    if (copy.below(2)) val = std::clamp(static_cast<float>(val + copy.signedUniform() * 0.1), 0.0f, 1.0f);
    EXPECT_EQ(hsv.hue(), hue);
    EXPECT_EQ(hsv.saturation(), sat);
    EXPECT_EQ(hsv.value(), val);
    EXPECT_EQ(r.next(), copy.next());

    bool wrapped = false;
    ColorHSV walk(2, 1, 0);
    for (int i = 0; i < 2000; ++i) {
        const float before = walk.hue();
        walk.nudge(r);
        wrapped = wrapped || std::fabs(walk.hue() - before) > 20;
        ASSERT_GE(walk.hue(), 0);
        ASSERT_LT(walk.hue(), 360);
        ASSERT_GE(walk.saturation(), 0);
        ASSERT_LE(walk.saturation(), 1);
        ASSERT_GE(walk.value(), 0);
        ASSERT_LE(walk.value(), 1);
    }
    EXPECT_TRUE(wrapped);
}
