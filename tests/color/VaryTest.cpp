#include <gtest/gtest.h>

#include <climits>
#include <typeinfo>

#include "support/FakeScene.h"
#include "color/VaryColor.h"
#include "color/VaryWidth.h"
#include "engine/RandomSource.h"
#include "support/Choosers.h"

namespace {

FakeScene ramp(int n, bool trueColor = true) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < n; ++i) entries.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), 7, 0});
    return FakeScene(trueColor, entries);
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

TEST(VaryRange, PaletteBlendAndBrightness) {
    FakeScene palette = ramp(236);
    SceneScope scope(palette);
    const VaryRangePalette pal;
    const Color base(100, 50, 200);
    EXPECT_EQ(pal.map(0.0f, base).red(), 0);
    EXPECT_EQ(pal.map(1.0f, base).red(), 0);  // trunc(236) mod 236
    EXPECT_EQ(pal.map(0.5f, base).red(), 118);
    EXPECT_EQ(pal.map(-4.0f, base).red(), 0);
    EXPECT_EQ(pal.map(std::numeric_limits<float>::quiet_NaN(), base).red(), 0);
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
    FakeScene eightBit = ramp(16, false);
    SceneScope palScope(eightBit);
    RandomSource r(4), copy(4);
    EXPECT_NE(dynamic_cast<VaryRangePalette*>(CreateVaryRange(r, pick(0, 2)).get()), nullptr);
    EXPECT_EQ(r.next(), copy.next());
}

TEST(VaryColor, ParametersOfEveryMember) {
    FakeScene palette = ramp(236);
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
    EXPECT_EQ(t(4, -9.0f, 5, 0, 0), 0);     // limited to -1 first
    EXPECT_EQ(t(5, 0, 0.5f, 0, 0), 177);    // by y: 0.75
    EXPECT_EQ(t(3, 0.3f, 0.4f, 0, 0), 118); // from the centre: 0.5
    EXPECT_EQ(t(1, -1, 0, 0, 0), int(236 * (1 / 1.41421356f)));  // distance 1 over sqrt 2
    // By angle: both points equal gives 0; straight up from the figure 1/2;
    // the direction is folded onto the left half.
    EXPECT_EQ(t(2, 0.4f, 0.2f, 0.4f, 0.2f), 0);
    EXPECT_EQ(t(2, 0, 0.5f, 0, -0.5f), 118);
    EXPECT_EQ(t(2, 0.5f, 0, -0.5f, 0), t(2, -0.5f, 0, 0.5f, 0));
}

TEST(VaryColor, FactoryDrawsTheRangeFirstAndTheCalculatorIsSafe) {
    FakeScene palette = ramp(100);
    SceneScope scope(palette);
    RandomSource random(6), copy(6);
    const auto v = CreateVaryColor(random, pick(1, 1));
    EXPECT_NE(dynamic_cast<VaryColorByDistance*>(v.get()), nullptr);
    EXPECT_NE(dynamic_cast<const VaryRangeFromTo*>(&v->range()), nullptr);
    copy.next(), copy.next();  // the two choices
    copy.below(100), copy.below(100);  // the blend's two ends
    EXPECT_EQ(random.next(), copy.next());
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

TEST(VaryWidth, ByAngleAndTheFactory) {
    const VaryWidthByAngle pen;
    EXPECT_EQ(pen.width(4, 0, 0, 10, 0), 7);     // level: 1.75 w
    EXPECT_EQ(pen.width(1, 5, 10, 5, 0), 1);     // straight up: 0.5, raised to 1
    EXPECT_EQ(pen.width(4, 5, 10, 5, 0), 2);
    EXPECT_EQ(pen.width(4, 5, 0, 5, 10), 12);    // straight down: 3 w
    EXPECT_EQ(pen.width(4, 0, 10, 10, 0), 4);    // 45 degrees up: a = 1/4
    EXPECT_EQ(pen.width(4, 3, 3, 3, 3), 2);      // a point counts as up
    EXPECT_EQ(pen.width(4, INT_MIN, 0, INT_MAX, 0), 7);  // no overflow
    EXPECT_EQ(VaryWidthNone().width(9, 0, 0, 1, 1), 9);
    RandomSource random(1);
    ChooserSet set;
    set.chooser(Family::VaryWidth).build({0, 1}, true);
    EXPECT_NE(dynamic_cast<VaryWidthByAngle*>(CreateVaryWidth(random, set).get()), nullptr);
    set.chooser(Family::VaryWidth).build({1, 0}, true);
    EXPECT_NE(dynamic_cast<VaryWidthNone*>(CreateVaryWidth(random, set).get()), nullptr);
}
