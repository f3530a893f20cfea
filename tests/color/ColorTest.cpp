#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "color/ColorSpace.h"
#include "engine/RandomSource.h"
#include "support/FakeScene.h"

namespace {

const std::vector<PALETTEENTRY> kPalette = {{10, 20, 30, 0}, {40, 50, 60, 0}, {255, 0, 128, 0}};

::testing::AssertionResult isRGB(const Color& c, int r, int g, int b) {
    if (c.red() == r && c.green() == g && c.blue() == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << c.toString();
}

}  // namespace

TEST(Color, FormsFollowTheDisplayPairsAndGreys) {
    FakeScene trueColor(true, kPalette), paletted(false, kPalette);
    {
        SceneScope scope(trueColor);  // channels masked to 8 bits; indices held to the table
        EXPECT_EQ(Color(256, -1, 511).colorRef(), RGB(0, 255, 255));
        for (const auto& [index, rgb] : {std::pair{1, RGB(40, 50, 60)},
                                         {-5, RGB(10, 20, 30)},
                                         {3, RGB(255, 0, 128)},
                                         {99, RGB(255, 0, 128)}})
            EXPECT_EQ(Color::fromPaletteIndex(index).colorRef(), rgb) << index;
    }
    SceneScope scope(paletted);
    EXPECT_EQ(Color(COLORREF{0xABCDEF}).colorRef(), 0x02ABCDEFu);
    EXPECT_TRUE(Color(PALETTEINDEX(2)).colorRef() == 0x01000002u &&
                Color::fromPaletteIndex(7).colorRef() == 0x01000002u);
    // A palette index reads the palette when asked, also beyond its end.
    const Color c = Color::fromPaletteIndex(1);
    EXPECT_TRUE(isRGB(c, 40, 50, 60) && c.channel(7) == 60);
    paletted.entries()[1] = {1, 2, 3, 0};
    EXPECT_TRUE(isRGB(c, 1, 2, 3));
    EXPECT_TRUE(isRGB(Color(PALETTEINDEX(200)), 255, 0, 128) && isRGB(Color(PALETTEINDEX(3)), 255, 0, 128));
    Color inverted = c;
    inverted.invert();
    EXPECT_EQ(inverted.colorRef(), PALETTERGB(254, 253, 252));
    RandomSource r(5), copy(5);
    EXPECT_TRUE(Color::randomPaletteColor(r) == Color::fromPaletteIndex(copy.below(3)) &&
                r.next() == copy.next());
    EXPECT_EQ(Color(10, 20, 31).brightness(), 20);
    // Green 27 from 113 is no grey; red and blue 32 apart are no magenta.
    EXPECT_TRUE(!Color(100, 140, 100).isGreyish() && Color(100, 115, 100).isGreyish());
    EXPECT_TRUE(Color(0, 14, 0).isGreenish() && !Color(0, 13, 0).isGreenish());
    EXPECT_TRUE(Color(200, 100, 169).isMagentaish() && !Color(200, 100, 168).isMagentaish());
    const Color green(20, 200, 30), magenta(200, 20, 190);
    EXPECT_TRUE(green.clashes(magenta) && magenta.clashes(green) && !green.clashes(green));
}

TEST(ColorSpaces, EdgeValuesRoundTripsAndLightness) {
    const ColorHSV red(Color(255, 0, 0));
    EXPECT_TRUE(red.hue() == 0 && red.saturation() == 1 && red.value() == 1);
    EXPECT_TRUE(isRGB(ColorHSV(360, 1, 1).toColor(), 255, 0, 0));
    EXPECT_TRUE(isRGB(ColorHSV(300, 1, 0.5f).toColor(), 127, 0, 127));
    EXPECT_NEAR(ColorHSV(Color(255, 0, 1)).hue(), 359.765, 0.001);  // wraps, never negative
    // No division by a zero maximum or a zero range.
    EXPECT_TRUE(ColorHSV(Color(0, 0, 0)).saturation() == 0 && ColorHSV(Color(77, 77, 77)).hue() == 0);
    for (float bad : {-0.5f, 360.5f, 1e30f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_TRUE(isRGB(ColorHSV(bad, 1, 1).toColor(), 0, 0, 0)) << bad;
    (void)ColorHSV(10, 1, 1e30f).toColor();  // no undefined conversion

    const ColorHSL grey(Color(128, 128, 128));
    EXPECT_TRUE(grey.saturation() == 0 && grey.hue() == 0);
    EXPECT_TRUE(isRGB(grey.toColor(), 127, 127, 127) || isRGB(grey.toColor(), 128, 128, 128));
    EXPECT_NEAR(ColorHSL(Color(255, 0, 1)).hue(), 1 - 1.0 / 1530, 1e-6);
    EXPECT_FLOAT_EQ(ColorHSL(Color(255, 255, 51)).saturation(), 1);         // light branch
    EXPECT_NEAR(ColorHSL(Color(102, 51, 51)).saturation(), 1.0 / 3, 1e-6);  // dark branch
    EXPECT_TRUE(isRGB(ColorHSL(1.0f / 3, 1, 0.5f).toColor(), 0, 255, 0));
    // Truncation on the way back may cost one step per channel, never more.
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 51) {
                const Color c(r, g, b);
                for (const Color& back : {ColorHSV(c).toColor(), ColorHSL(c).toColor()})
                    for (int i = 0; i < 3; ++i)
                        ASSERT_TRUE(back.channel(i) <= c.channel(i) && back.channel(i) >= c.channel(i) - 1)
                            << c.toString() << " came back " << back.toString();
            }
    for (const auto& [l, r] :
         {std::pair{0.25f, 127}, {2.0f, 255}, {std::numeric_limits<float>::quiet_NaN(), 0}}) {
        Color c(255, 0, 0);  // limited to 0..1
        c.setLightness(l);
        EXPECT_TRUE(isRGB(c, r, r == 127 ? 0 : r, r == 127 ? 0 : r)) << l;
    }
}

TEST(ColorSpaces, NudgeStaysInRange) {
    RandomSource r(2024);
    ColorHSV walk(2, 1, 0);
    for (int i = 0; i < 2000; ++i) {
        walk.nudge(r);
        ASSERT_TRUE(walk.hue() >= 0 && walk.hue() < 360 && walk.saturation() >= 0 && walk.saturation() <= 1 &&
                    walk.value() >= 0 && walk.value() <= 1);
    }
}
