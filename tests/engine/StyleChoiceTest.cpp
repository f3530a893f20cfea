#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/Settings.h"
#include "engine/StyleCatalogue.h"
#include "support/TempFolder.h"

namespace {

constexpr int kReworking[] = {3, 4, 7, 20, 8, 14, 18, 11, 12};

// A maker for every code of the catalogue: the choice sees the whole table.
std::vector<StyleMaker> everyStyle() {
    std::vector<StyleMaker> makers;
    for (const StyleRow& row : styleCatalogue())
        if (std::none_of(makers.begin(), makers.end(), [&](const StyleMaker& m) { return m.code == row.code; }))
            makers.push_back({row.code, row.className, nullptr});
    return makers;
}

struct StyleChoice : ::testing::Test {
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};
    std::vector<StyleMaker> makers = everyStyle();
    StyleMakersScope scope{makers};

    void onlyWeight(int (Settings::*keep)() const) {
        using S = Settings;
        const std::pair<int (S::*)() const, void (S::*)(int)> all[] = {
            {&S::styleSolid, &S::setStyleSolid},   {&S::styleDots, &S::setStyleDots},
            {&S::styleLines, &S::setStyleLines},   {&S::styleDistort, &S::setStyleDistort},
            {&S::styleBitmap, &S::setStyleBitmap}, {&S::styleText, &S::setStyleText},
            {&S::style3D, &S::setStyle3D},         {&S::styleOverlappingShapes, &S::setStyleOverlappingShapes}};
        for (const auto& [get, set] : all)
            if (get != keep) (settings.*set)(0);
    }
    // The code chosen, and how many values of `random` the choice used.
    std::pair<int, int> choose(RandomSource& random, const StyleMoment& moment) {
        RandomSource probe = random;
        const int code = chooseStyleCode(settings.choosers(), random, moment);
        const int32_t after = RandomSource(random).next();
        int draws = 0;
        while (probe.next() != after) ++draws;
        return {code, draws};
    }
};

bool isReworking(int code) { return std::find(std::begin(kReworking), std::end(kReworking), code) != std::end(kReworking); }

}  // namespace

TEST_F(StyleChoice, FirstFiveDrawingsHoldBackReworkingAnd3D) {
    settings.buildTables({true, true});
    RandomSource r(7);
    int reworking = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto [code, draws] = choose(r, {1 + i % 5, false, false, false});
        // Held-back codes come only from a tenth draw, after nine refusals.
        if (isReworking(code)) {
            EXPECT_EQ(draws, 10) << code;
        }
        reworking += isReworking(code);
    }
    EXPECT_LT(reworking, 5);

    // From the sixth drawing on, one draw decides and the reworking styles are common.
    reworking = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto [code, draws] = choose(r, {6, false, false, false});
        EXPECT_EQ(draws, 1);
        reworking += isReworking(code);
    }
    EXPECT_GT(reworking, 500);
}

TEST_F(StyleChoice, OnlyHeldBackStylesStillGiveOneOnTheTenthDraw) {
    onlyWeight(&Settings::style3D);
    settings.buildTables({true, true});
    RandomSource r(3);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(choose(r, {2, false, false, false}), (std::pair<int, int>{11, 10}));
    // Scroll and Shrinker need no picture of their own: never held back.
    settings.setStyle3D(0);
    settings.setStyleDistort(75);
    settings.buildTables({true, true});
    for (int i = 0; i < 50; ++i) {
        const auto [code, draws] = choose(r, {2, false, false, false});
        EXPECT_TRUE(isReworking(code) ? draws == 10 : code == 6 || code == 9) << code << " " << draws;
    }
}

TEST_F(StyleChoice, ImageStyleHeldBackByPeriodPreviewAndEmptyList) {
    onlyWeight(&Settings::styleBitmap);
    settings.setStyleText(30);
    settings.buildTables({true, true});
    RandomSource r(11);
    EXPECT_EQ(choose(r, {9, false, false, false}), (std::pair<int, int>{13, 1}));
    for (const StyleMoment m : {StyleMoment{9, true, false, false}, StyleMoment{9, false, true, false},
                                StyleMoment{9, false, false, true}, StyleMoment{9, true, true, true}}) {
        // Even odds: nine refusals in a row are rare, so text comes first.
        int text = 0;
        for (int i = 0; i < 50; ++i) text += choose(r, m).first == 5;
        EXPECT_GT(text, 45);
    }
}

TEST_F(StyleChoice, AllWeightsZeroChooseTheLastRow) {
    onlyWeight(nullptr);
    settings.buildTables({true, true});
    RandomSource r(5);
    // Bitmap is last; without images it is refused nine times and taken on the tenth.
    EXPECT_EQ(choose(r, {9, false, false, false}), (std::pair<int, int>{13, 1}));
    EXPECT_EQ(choose(r, {9, false, false, true}), (std::pair<int, int>{13, 10}));
    settings.buildTables({true, false});
    EXPECT_EQ(choose(r, {1, false, true, true}).first, 5);
}

TEST_F(StyleChoice, RowsWithoutAClassAreLeftOut) {
    const StyleMaker two[] = {{5, "Text", nullptr}, {2, "Dots", nullptr}};
    StyleMakersScope only(two);
    settings.buildTables({true, true});
    RandomSource r(13);
    int text = 0;
    for (int i = 0; i < 1000; ++i) {
        const auto [code, draws] = choose(r, {9, false, false, false});
        ASSERT_TRUE(code == 5 || code == 2) << code;
        EXPECT_EQ(draws, 1);
        text += code == 5;
    }
    // Text 10 against Dots 5.
    EXPECT_NEAR(text / 1000.0, 2.0 / 3.0, 0.05);

    // Unknown codes fall back on Lines once it exists, else the first style there is.
    EXPECT_STREQ(styleMaker(10)->className, "Text");
    EXPECT_STREQ(styleMaker(2)->className, "Dots");
    const StyleMaker withLines[] = {{5, "Text", nullptr}, {0, "Lines", nullptr}};
    StyleMakersScope lines(withLines);
    EXPECT_STREQ(styleMaker(10)->className, "Lines");
    EXPECT_STREQ(styleMaker(-1)->className, "Lines");
    StyleMakersScope none(std::span<const StyleMaker>{});
    EXPECT_EQ(styleMaker(1), nullptr);
}
