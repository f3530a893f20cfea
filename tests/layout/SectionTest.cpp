#include <gtest/gtest.h>

#include <typeinfo>

#include "LayoutSupport.h"
#include "layout/Section.h"

namespace {

struct Placed {
    int left = -9, top = -9, w = -9, h = -9;
};

Placed place(Section& s, int width, int height) {
    Placed p;
    s.place(width, height, p.left, p.top, p.w, p.h);
    return p;
}

// Inside the screen, and even unless it is the screen's whole odd size.
void expectInside(const Placed& p, int width, int height) {
    EXPECT_GE(p.left, 0);
    EXPECT_GE(p.top, 0);
    EXPECT_GE(p.w, 0);
    EXPECT_GE(p.h, 0);
    EXPECT_LE(p.left + p.w, width);
    EXPECT_LE(p.top + p.h, height);
    EXPECT_TRUE(p.w % 2 == 0 || p.w == width) << p.w;
    EXPECT_TRUE(p.h % 2 == 0 || p.h == height) << p.h;
}

const std::type_info& made(const std::unique_ptr<Section>& p) { return typeid(*p); }

}  // namespace

TEST(Section, CentredDrawsWidthThenHeightAndCentres) {
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource random(seed);
        RandomSource copy = random;
        SectionCentred section(&random);
        const Placed p = place(section, 800, 600);
        int w = 200 + copy.below(600), h = 150 + copy.below(450);
        w += w % 2;
        h += h % 2;
        expectSamePlace(random, copy);
        EXPECT_EQ(p.w, w);
        EXPECT_EQ(p.h, h);
        EXPECT_EQ(p.left, (800 - w) / 2);
        EXPECT_EQ(p.top, (600 - h) / 2);
    }
    RandomSource random(3);
    SectionFull full(&random);
    EXPECT_EQ(place(full, 152, 112).w, 152);
}

TEST(Section, RandomDrawsCornerThenSizeAndStaysOnScreen) {
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource random(seed);
        RandomSource copy = random;
        SectionRandom section(&random);
        const Placed p = place(section, 800, 600);
        const int left = copy.skewedBelow(600, 2), top = copy.skewedBelow(450, 2);
        int w = 200 + copy.skewedBelow(600 - left, -2);
        w += w % 2;
        copy.skewedBelow(450 - top, -2);
        expectSamePlace(random, copy);
        EXPECT_EQ(p.left, left);
        EXPECT_EQ(p.top, top);
        EXPECT_EQ(p.w, w);
        expectInside(p, 800, 600);
    }
}

TEST(Section, TinyScreensGiveNoNegativeOrOversizedSections) {
    const int sizes[][2] = {{0, 0}, {1, 1}, {1, 600}, {2, 3}, {3, 2}, {5, 7}, {152, 112}};
    for (const auto& size : sizes) {
        for (int seed = 1; seed <= 50; ++seed) {
            RandomSource random(seed);
            SectionCentred centred(&random);
            SectionRandom randomly(&random);
            SectionFull full(&random);
            expectInside(place(centred, size[0], size[1]), size[0], size[1]);
            expectInside(place(randomly, size[0], size[1]), size[0], size[1]);
            expectInside(place(full, size[0], size[1]), size[0], size[1]);
        }
    }
}

TEST(Section, FactoryFollowsTheSectionWeights) {
    RandomSource random(11);
    EXPECT_EQ(made(CreateSection(random, LayoutSettings({0, 1, 0}, {1, 0, 0, 0}).choosers())),
              typeid(SectionCentred));
    EXPECT_EQ(made(CreateSection(random, LayoutSettings({0, 0, 1}, {1, 0, 0, 0}).choosers())),
              typeid(SectionRandom));
    LayoutSettings none({0, 0, 0}, {1, 0, 0, 0});  // all zero: the last member
    RandomSource copy = random;
    EXPECT_EQ(made(CreateSection(random, none.choosers())), typeid(SectionRandom));
    copy.next();
    expectSamePlace(random, copy);
}
