#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <typeinfo>

#include "app/SaverApp.h"
#include "color/ColorAdjusters.h"
#include "color/ColorClamp.h"
#include "color/ColorScene.h"
#include "color/ColorSpace.h"
#include "engine/ChooserSet.h"
#include "support/TempFolder.h"

namespace {

// A cell type of the layout's shape: the adjusters take any such type.
struct Cell {
    int l, t, w, h;
    int left() const { return l; }
    int top() const { return t; }
    int width() const { return w; }
    int height() const { return h; }
};

// A chooser table that can only give `member` out of `size`.
ChooserSet onlyMember(Family f, int size, int member) {
    ChooserSet set;
    std::vector<float> weights(static_cast<size_t>(size), 0.0f);
    weights[static_cast<size_t>(member)] = 1.0f;
    set.chooser(f).build(weights, true);
    return set;
}

// Applies `adjuster` to every channel value 0..255 at once per channel and
// checks flagged channels against `expected` and the others for no change.
template <class Adjuster>
void expectPerChannel(int (*expected)(int), const char* what) {
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
                ASSERT_EQ(c.channel(i), a.channelFlag(i) ? expected(in) : in) << what << " channel " << i;
            }
        }
    }
    EXPECT_TRUE(seen[0] && seen[1]) << what;
}

}  // namespace

TEST(ColorAdjusters, ChannelAdjustersTouchOnlyFlaggedChannels) {
    expectPerChannel<ColorAdjusterLighten>([](int v) { return v + (255 - v) / 3; }, "lighten");
    expectPerChannel<ColorAdjusterDarken>([](int v) { return 2 * v / 3; }, "darken");
    expectPerChannel<ColorAdjusterInvert>([](int v) { return 255 - v; }, "invert");

    RandomSource r(1);
    ColorAdjusterNone none(r);
    Color c(1, 2, 3);
    none.adjust(c, 5, 5, nullptr);
    EXPECT_EQ(c, Color(1, 2, 3));

    // The named edges: lighten 0 -> 85, 255 stays; darken 255 -> 170, 1 -> 0.
    for (int seed = 1; seed < 40; ++seed) {
        RandomSource s(seed);
        ColorAdjusterLighten lighten(s);
        ColorAdjusterDarken darken(s);
        if (!lighten.channelFlag(0) || !darken.channelFlag(0)) continue;
        Color a(0, 0, 0), b(255, 0, 0), d(255, 0, 0), e(1, 0, 0);
        lighten.adjust(a, 0, 0, nullptr);
        lighten.adjust(b, 0, 0, nullptr);
        darken.adjust(d, 0, 0, nullptr);
        darken.adjust(e, 0, 0, nullptr);
        EXPECT_EQ(a.red(), 85);
        EXPECT_EQ(b.red(), 255);
        EXPECT_EQ(d.red(), 170);
        EXPECT_EQ(e.red(), 0);
        return;
    }
    FAIL() << "no seed flagged red for both";
}

TEST(ColorAdjusters, GlowsDependOnThePositionInTheCell) {
    RandomSource r(77);
    ColorAdjusterGlow glow(r);
    ColorAdjusterFade fade(r);
    ColorAdjusterGlowX glowX(r);
    ColorAdjusterGlowY glowY(r);
    for (const ColorAdjusterGlow* g : std::initializer_list<const ColorAdjusterGlow*>{&glow, &fade, &glowX, &glowY}) {
        EXPECT_LE(g->centreX(), 0);
        EXPECT_GE(g->centreX(), -1);
        EXPECT_LE(g->centreY(), 0);
        EXPECT_GE(g->centreY(), -1);
    }
    // No cell: no change, through either overload.
    for (ColorAdjuster* a : std::initializer_list<ColorAdjuster*>{&glow, &fade, &glowX, &glowY}) {
        Color c(200, 10, 30);
        a->adjust(c, 3, 4, static_cast<const Cell*>(nullptr));
        a->adjust(c, 3, 4, static_cast<const CellArea*>(nullptr));
        EXPECT_EQ(c, Color(200, 10, 30));
    }

    // A cell at (100, 50), 200 x 100: pixel x maps to 2 (x - 100) / 200 - 1.
    const Cell cell{100, 50, 200, 100};
    const auto at = [&](ColorAdjuster& a, float nx, float ny) {
        Color c(255, 0, 0);
        a.adjust(c, static_cast<int>(100 + (nx + 1) * 100), static_cast<int>(50 + (ny + 1) * 50), &cell);
        return ColorHSL(c).lightness();
    };
    const float cx = glow.centreX(), cy = glow.centreY();
    EXPECT_NEAR(at(glow, cx, cy), 0.8, 0.02);  // bright at the centre
    EXPECT_NEAR(at(fade, fade.centreX(), fade.centreY()), 0.0, 0.02);  // dark at the centre
    EXPECT_GT(at(glow, cx, cy), at(glow, 0.9f, 0.9f));
    EXPECT_LT(at(fade, fade.centreX(), fade.centreY()), at(fade, 0.9f, 0.9f));
    // The bands: constant along one axis, brightest on the centre line.
    EXPECT_NEAR(at(glowX, glowX.centreX(), -1), at(glowX, glowX.centreX(), 0.9f), 0.01);
    EXPECT_NEAR(at(glowX, glowX.centreX(), 0), 0.8, 0.02);
    EXPECT_NEAR(at(glowY, -1, glowY.centreY()), at(glowY, 0.9f, glowY.centreY()), 0.01);
    EXPECT_NEAR(at(glowY, 0, glowY.centreY()), 0.8, 0.02);
    // Every pixel of the cell stays within 0..0.8 and keeps its hue.
    for (ColorAdjuster* a : std::initializer_list<ColorAdjuster*>{&glow, &fade, &glowX, &glowY})
        for (int y = 50; y < 150; y += 7)
            for (int x = 100; x < 300; x += 9) {
                Color c(0, 200, 100);
                a->adjust(c, x, y, &cell);
                const ColorHSL hsl(c);
                ASSERT_LE(hsl.lightness(), 0.81f);
                if (hsl.lightness() > 0.1f) {
                    ASSERT_NEAR(hsl.hue(), ColorHSL(Color(0, 200, 100)).hue(), 0.02);
                }
            }
    // A degenerate cell divides by nothing.
    const CellArea empty{0, 0, 0, 0};
    Color c(9, 9, 9);
    glow.adjust(c, 0, 0, &empty);
}

TEST(ColorAdjusters, HueAdjusterSetsItsHueOnly) {
    ColorTable palette(true, {{0, 0, 255, 0}});  // every palette colour is blue
    ColorSceneScope scope(palette);
    RandomSource r(3);
    ColorAdjusterHue hue(r);
    EXPECT_FLOAT_EQ(hue.hue(), 240);
    Color c(200, 100, 50);
    hue.adjust(c, 0, 0, nullptr);
    const ColorHSV before(Color(200, 100, 50)), after(c);
    EXPECT_NEAR(after.hue(), 240, 1);
    EXPECT_NEAR(after.saturation(), before.saturation(), 0.01);
    EXPECT_NEAR(after.value(), before.value(), 0.01);
    Color grey(90, 90, 90);
    hue.adjust(grey, 0, 0, nullptr);
    EXPECT_EQ(grey, Color(90, 90, 90));
}

TEST(ColorClamps, SaturateOrFold) {
    ColorClampMinMax minMax;
    EXPECT_EQ(minMax.clamp(-1), 0);
    EXPECT_EQ(minMax.clamp(0), 0);
    EXPECT_EQ(minMax.clamp(255), 255);
    EXPECT_EQ(minMax.clamp(256), 255);

    ColorClampOffset hundred(100);
    EXPECT_EQ(hundred.clamp(300), 200);
    EXPECT_EQ(hundred.clamp(-250), 50);
    EXPECT_EQ(hundred.clamp(256), 156);
    EXPECT_EQ(hundred.clamp(-100), 0);  // stops as soon as it is in range
    EXPECT_EQ(hundred.clamp(355), 255);
    EXPECT_EQ(hundred.clamp(17), 17);
    EXPECT_EQ(ColorClampOffset(7).clamp(-5), 2);
    // Far out of range costs no time and lands in range.
    ColorClampOffset one(1);
    EXPECT_EQ(one.clamp(INT_MIN), 0);
    EXPECT_EQ(one.clamp(INT_MAX), 255);
    EXPECT_EQ(ColorClampOffset(255).clamp(INT_MIN), (INT_MIN % 255 + 255) % 255);
    // An offset of 0 cannot fold: it saturates.
    ColorClampOffset zero(0);
    EXPECT_EQ(zero.clamp(-3), 0);
    EXPECT_EQ(zero.clamp(999), 255);
    EXPECT_EQ(zero.clamp(128), 128);
}

TEST(ColorFactories, AdjusterMembersAndTheirDraws) {
    const std::vector<const std::type_info*> types = {
        &typeid(ColorAdjusterNone), &typeid(ColorAdjusterLighten), &typeid(ColorAdjusterDarken),
        &typeid(ColorAdjusterInvert), &typeid(ColorAdjusterFade), &typeid(ColorAdjusterGlow),
        &typeid(ColorAdjusterGlowX), &typeid(ColorAdjusterGlowY), &typeid(ColorAdjusterHue)};
    ColorTable palette(true, {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}});
    ColorSceneScope scope(palette);
    for (int member = 0; member < 9; ++member) {
        const ChooserSet set = onlyMember(Family::ColorAdjuster, 9, member);
        RandomSource r(1000 + member), copy(1000 + member);
        const std::unique_ptr<ColorAdjuster> a = CreateColorAdjuster(r, set);
        ASSERT_TRUE(a);
        EXPECT_EQ(typeid(*a), *types[static_cast<size_t>(member)]) << member;
        // One draw for the choice, then the three channel flags in order.
        copy.uniform();
        for (int i = 0; i < 3; ++i) EXPECT_EQ(a->channelFlag(i), copy.below(2) > 0) << member;
        if (auto* g = dynamic_cast<ColorAdjusterGlow*>(a.get())) {
            EXPECT_EQ(g->centreX(), static_cast<float>(-copy.uniform()));
            EXPECT_EQ(g->centreY(), static_cast<float>(-copy.uniform()));
        }
        if (auto* h = dynamic_cast<ColorAdjusterHue*>(a.get())) {
            const float hues[] = {0, 120, 240};
            EXPECT_FLOAT_EQ(h->hue(), hues[copy.below(3)]);
        }
        EXPECT_EQ(r.next(), copy.next()) << "draws out of step for member " << member;
    }
    // The default weights reach every member; an index beyond the table
    // (a longer table) leaves colours alone.
    ChooserSet defaults;
    defaults.chooser(Family::ColorAdjuster).build({80, 40, 50, 40, 5, 60, 30, 30, 60}, true);
    std::set<std::string> made;
    RandomSource r(9);
    for (int i = 0; i < 2000; ++i) made.insert(typeid(*CreateColorAdjuster(r, defaults)).name());
    EXPECT_EQ(made.size(), 9u);
    RandomSource s(9);
    EXPECT_EQ(typeid(*CreateColorAdjuster(s, onlyMember(Family::ColorAdjuster, 10, 9))),
              typeid(ColorAdjusterNone));
}

TEST(ColorFactories, ClampMembersExclusionAndDraws) {
    RandomSource r(41), copy(41);
    auto minMax = CreateColorClamp(r, onlyMember(Family::ColorClamp, 2, 0), nullptr);
    EXPECT_EQ(typeid(*minMax), typeid(ColorClampMinMax));
    copy.uniform();
    EXPECT_EQ(r.next(), copy.next());

    // Only the excluded member has weight: nine refusals, the tenth stands.
    const std::vector<int> excludeOffset = {1};
    auto offset = CreateColorClamp(r, onlyMember(Family::ColorClamp, 2, 1), &excludeOffset);
    ASSERT_EQ(typeid(*offset), typeid(ColorClampOffset));
    for (int i = 0; i < 10; ++i) copy.uniform();
    EXPECT_EQ(static_cast<ColorClampOffset&>(*offset).offset(), copy.below(256));
    EXPECT_EQ(r.next(), copy.next());

    // With the usual 50/50 table the exclusion leaves the offset clamp to the
    // rare run of nine refusals.
    ChooserSet even;
    even.chooser(Family::ColorClamp).build({50, 50}, true);
    int offsets = 0;
    for (int i = 0; i < 500; ++i)
        offsets += typeid(*CreateColorClamp(r, even, &excludeOffset)) == typeid(ColorClampOffset);
    EXPECT_LT(offsets, 10);
    EXPECT_EQ(typeid(*CreateColorClamp(r, onlyMember(Family::ColorClamp, 3, 2), nullptr)),
              typeid(ColorClampMinMax));
}

TEST(ColorFactories, TraceLinesNameTheClassMade) {
    TempFolder folder;
    const char* old = std::getenv("QUORTEMP");
    const std::string saved = old ? old : "";
    ::setenv("QUORTEMP", folder.path().c_str(), 1);
    gApp.setTraceOn(true);
    gApp.setTraceNewFile();
    RandomSource r(5);
    CreateColorAdjuster(r, onlyMember(Family::ColorAdjuster, 9, 6));
    CreateColorClamp(r, onlyMember(Family::ColorClamp, 2, 1), nullptr);
    gApp.setTraceOn(false);
    if (old) ::setenv("QUORTEMP", saved.c_str(), 1);
    else ::unsetenv("QUORTEMP");

    std::ifstream in(folder.path() / "trace.txt");
    std::stringstream text;
    text << in.rdbuf();
    const std::string log = text.str();
    EXPECT_NE(log.find("ColorAdjuster line "), std::string::npos) << log;
    EXPECT_NE(log.find(" : (typeid(*pColorAdjuster).name()) = ColorAdjusterGlowX\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("ColorClamp line "), std::string::npos) << log;
    EXPECT_NE(log.find(" : (typeid(*pColorClamp).name()) = ColorClampOffset\r\n"), std::string::npos) << log;
}
