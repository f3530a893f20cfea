#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "scene/ChooserTables.h"
#include "scene/StyleCatalogue.h"
#include "support/TempFolder.h"

namespace {

bool isHeldBackEarly(int code) {
    const int codes[] = {3, 4, 7, 20, 8, 14, 18, 11, 12};
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

// A maker for every code: the choice sees the whole catalogue.
std::vector<StyleMaker> everyStyle() {
    std::vector<StyleMaker> makers;
    for (const StyleRow& row : styleCatalogue()) makers.push_back({row.code, row.className, nullptr});
    return makers;
}

struct StyleChoice : ::testing::Test {
    void weights(int solid, int distort, int bitmap, int text, int threeD) {
        settings.setStyleSolid(solid), settings.setStyleDistort(distort), settings.setStyleBitmap(bitmap);
        settings.setStyleText(text), settings.setStyle3D(threeD), settings.setStyleDots(0);
        settings.setStyleLines(0), settings.setStyleOverlappingShapes(0);
        buildChooserTables(settings.choosers(), settings, {true, true});
    }
    // The code chosen and how many values of `random` the choice used.
    std::pair<int, int> choose(const StyleMoment& moment) {
        RandomSource probe = random;
        const int code = chooseStyleCode(settings.choosers(), random, moment);
        const int32_t after = RandomSource(random).next();
        int draws = 0;
        while (probe.next() != after) ++draws;
        return {code, draws};
    }

    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};
    std::vector<StyleMaker> makers = everyStyle();
    StyleMakersScope scope{makers};
    RandomSource random{7};
};

}  // namespace

TEST_F(StyleChoice, FirstFiveDrawingsHoldBackReworkingAnd3D) {
    buildChooserTables(settings.choosers(), settings, {true, true});
    int early = 0, later = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto [code, draws] = choose({1 + i % 5});
        // A held-back code only ever comes from a tenth draw.
        EXPECT_TRUE(!isHeldBackEarly(code) || draws == 10) << code;
        early += isHeldBackEarly(code);
        const auto [code6, draws6] = choose({6});
        EXPECT_EQ(draws6, 1);
        later += isHeldBackEarly(code6);
    }
    EXPECT_TRUE(early < 5 && later > 500) << early << " " << later;
    // Only a held-back style has weight: still chosen, on the tenth draw.
    weights(0, 0, 0, 0, 10);
    EXPECT_EQ(choose({2}), (std::pair<int, int>{11, 10}));
    // Scroll and Shrinker are never held back.
    weights(0, 75, 0, 0, 0);
    for (int i = 0; i < 50; ++i) {
        const auto [code, draws] = choose({2});
        EXPECT_TRUE(isHeldBackEarly(code) ? draws == 10 : code == 6 || code == 9) << code << " " << draws;
    }
}

TEST_F(StyleChoice, ImageStyleHeldBackAndAllZeroWeightsChooseTheLastRow) {
    weights(0, 0, 30, 30, 0);
    for (const StyleMoment m :
         {StyleMoment{9, true}, StyleMoment{9, false, true}, StyleMoment{9, false, false, true}}) {
        int text = 0;  // nine refusals in a row at even odds are rare
        for (int i = 0; i < 50; ++i) text += choose(m).first == 5;
        EXPECT_GT(text, 45);
    }
    weights(0, 0, 0, 0, 0);
    EXPECT_EQ(choose({9}), (std::pair<int, int>{13, 1}));
    // Without images Bitmap is refused nine times and taken on the tenth.
    EXPECT_EQ(choose({9, false, false, true}), (std::pair<int, int>{13, 10}));
    buildChooserTables(settings.choosers(), settings, {true, false});
    EXPECT_EQ(choose({1, false, true, true}).first, 5) << "Text is last in the preview";
}

TEST_F(StyleChoice, RowsWithoutAClassAreLeftOutAndUnknownCodesFallBack) {
    const StyleMaker two[] = {{5, "Text", nullptr}, {2, "Dots", nullptr}};
    StyleMakersScope only(two);
    buildChooserTables(settings.choosers(), settings, {true, true});
    for (int i = 0; i < 200; ++i) {
        const auto [code, draws] = choose({9});
        ASSERT_TRUE((code == 5 || code == 2) && draws == 1) << code << " " << draws;
    }

    EXPECT_STREQ(styleMaker(2)->className, "Dots");
    EXPECT_STREQ(styleMaker(10)->className, "Text") << "no Lines yet: the first style there is";
    const StyleMaker withLines[] = {{5, "Text", nullptr}, {0, "Lines", nullptr}};
    StyleMakersScope lines(withLines);
    for (int code : {10, -1}) EXPECT_STREQ(styleMaker(code)->className, "Lines");
    StyleMakersScope none(std::span<const StyleMaker>{});
    EXPECT_EQ(styleMaker(1), nullptr);
}

// --style: only the named styles are drawn, named in any case; an unknown
// or unbuilt name changes nothing and names the styles there are.
TEST_F(StyleChoice, RestrictedToTheNamedStyles) {
    const StyleMaker three[] = {{5, "Text", nullptr}, {2, "Dots", nullptr}, {0, "Lines", nullptr}};
    StyleMakersScope only(three);
    buildChooserTables(settings.choosers(), settings, {true, true});
    std::string error;
    ASSERT_TRUE(restrictStyles({"dOtS"}, error));
    for (int i = 0; i < 200; ++i) {
        const auto [code, draws] = choose({9});
        ASSERT_TRUE(code == 2 && draws == 1) << code;
    }
    // A code that is not allowed makes an allowed style; Lines only when allowed.
    EXPECT_STREQ(styleMaker(5)->className, "Dots");
    EXPECT_STREQ(styleMaker(77)->className, "Dots");
    ASSERT_TRUE(restrictStyles({"Text", "LINES"}, error));
    EXPECT_TRUE(styleAllowed(5) && styleAllowed(0) && !styleAllowed(2));
    EXPECT_STREQ(styleMaker(77)->className, "Lines");
    EXPECT_FALSE(restrictStyles({"Text", "Nope"}, error));
    EXPECT_EQ(error, "unknown style 'Nope'; the styles there are: Text Dots Lines");
    EXPECT_FALSE(restrictStyles({"Design"}, error)) << "in the catalogue but not built";
    EXPECT_TRUE(styleAllowed(5) && !styleAllowed(2)) << "a refused list changes nothing";
    ASSERT_TRUE(restrictStyles({}, error));
    EXPECT_TRUE(styleAllowed(2) && styleAllowed(1));
}

// --style of styles that rework the screen: the first drawing is a picture
// from the whole mix but them (and a few in a row whenever the screen is flat),
// every later one a named style; a list with a
// style of its own paints no such picture.
TEST_F(StyleChoice, ReworkingStylesAloneGetAPictureFirst) {
    weights(80, 75, 30, 10, 10);
    std::string error;
    ASSERT_TRUE(restrictStyles({"Blur", "scroll"}, error));
    EXPECT_TRUE(pictureFirst());
    for (int i = 0; i < 100; ++i) {
        const int first = choose({1, false, false, true}).first;
        ASSERT_FALSE(reworksScreen(first) || first == 13) << first;
        ASSERT_STREQ(styleMaker(first, true)->className, styleClassName(first));
        const int later = choose({2, false, false, true}).first;
        ASSERT_TRUE(later == 14 || later == 9) << later;
        // A screen still flat after the picture, or flattened later by a
        // reworking drawing, gets a pattern fill (no draw), a few in a row.
        ASSERT_EQ(choose({4, false, false, true, true, 1}), (std::pair<int, int>{1, 0}));
        ASSERT_EQ(choose({40, false, false, true, true, 0}), (std::pair<int, int>{1, 0}));
        const int last = choose({5, false, false, true, true, 4}).first;
        ASSERT_TRUE(last == 14 || last == 9) << last;
    }
    ASSERT_TRUE(restrictStyles({"Blur", "Design"}, error));
    EXPECT_FALSE(pictureFirst());
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(styleAllowed(choose({1}).first));
    ASSERT_TRUE(restrictStyles({}, error));
    EXPECT_FALSE(pictureFirst()) << "the whole mix has its own pictures";
}

// The listing shows each built style once, where its first catalogue row
// puts it, and leaves out the rows no class draws yet.
TEST_F(StyleChoice, ListingHasEachBuiltStyleOnceInCatalogueOrder) {
    const StyleMaker some[] = {{13, "Bitmap", nullptr}, {3, "Distort", nullptr}, {1, "Design", nullptr}};
    StyleMakersScope only(some);
    const std::vector<StyleListing> listing = styleListing();
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_TRUE(listing[0].code == 1 && listing[1].code == 3 && listing[2].code == 13);
    EXPECT_STREQ(listing[1].className, "Distort");
    for (const StyleListing& style : listing)
        EXPECT_GT(std::string(style.description).size(), 20u) << style.code;
}
