#include <gtest/gtest.h>

#include <numeric>

#include "app/Settings.h"
#include "engine/StyleCatalogue.h"
#include "support/TempFolder.h"

namespace {

struct Tables : ::testing::Test {
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};

    ChooserSet& built(bool trueColor, bool fullScreen) {
        settings.buildTables({trueColor, fullScreen});
        return settings.choosers();
    }
    // The member weights of a family, scaled so that they sum to `total`.
    std::vector<double> weights(Family f, double total) {
        const WeightedChooser& c = settings.choosers().chooser(f);
        std::vector<double> w;
        for (int i = 0; i < c.size(); ++i) w.push_back(c.weight(i) * total);
        return w;
    }
    double shareOfCode(int code) {
        const ChooserSet& s = settings.choosers();
        const auto& codes = s.codes(Family::Style);
        double share = 0;
        for (size_t i = 0; i < codes.size(); ++i)
            if (codes[i] == code) share += s.chooser(Family::Style).weight(static_cast<int>(i));
        return share;
    }
};

void expectWeights(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-3) << "member " << i;
}

}  // namespace

TEST_F(Tables, StyleChancesFullScreenTrueColour) {
    const ChooserSet& s = built(true, true);
    EXPECT_EQ(s.codes(Family::Style),
              (std::vector<int>{1, 15, 0, 12, 16, 17, 19, 2, 3, 6, 8, 9, 7, 20, 18, 4, 14, 11, 5, 13}));
    // Total weight 224: Design 76, Offset 30, Bitmap 30, Scroll 18.75, ...
    EXPECT_NEAR(shareOfCode(1), 76.0 / 224, 1e-5);
    EXPECT_NEAR(shareOfCode(1), 0.339, 5e-4);
    EXPECT_NEAR(shareOfCode(4), 0.134, 5e-4);
    EXPECT_NEAR(shareOfCode(13), 0.134, 5e-4);
    EXPECT_NEAR(shareOfCode(9), 0.084, 5e-4);
    EXPECT_NEAR(shareOfCode(11), 0.045, 5e-4);
    EXPECT_NEAR(shareOfCode(5), 0.045, 5e-4);
    EXPECT_NEAR(shareOfCode(2), 0.022, 5e-4);
    EXPECT_NEAR(shareOfCode(12), 0.1 / 224, 1e-5);
}

TEST_F(Tables, StyleRowsFollowDisplayAndMode) {
    EXPECT_EQ(built(false, true).codes(Family::Style),
              (std::vector<int>{1, 15, 0, 12, 2, 3, 6, 8, 9, 11, 5, 13}));
    EXPECT_NEAR(shareOfCode(3), 75 * 0.3 / (80 + 10 * 0.41 + 5 + 75 + 10 + 10 + 30), 1e-5);
    EXPECT_EQ(built(true, false).codes(Family::Style),
              (std::vector<int>{1, 15, 0, 12, 16, 17, 19, 2, 11, 5}));
    EXPECT_EQ(built(false, false).codes(Family::Style), (std::vector<int>{1, 15, 0, 12, 2, 11, 5}));
}

TEST_F(Tables, AllStyleWeightsZeroChooseTheLastStyle) {
    for (auto set : {&Settings::setStyleSolid, &Settings::setStyleDots, &Settings::setStyleLines,
                     &Settings::setStyleDistort, &Settings::setStyleBitmap, &Settings::setStyleText,
                     &Settings::setStyle3D, &Settings::setStyleOverlappingShapes})
        (settings.*set)(0);
    RandomSource r(1);
    ChooserSet& full = built(true, true);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(full.codeAt(Family::Style, full.chooser(Family::Style).choose(r)), 13);
    ChooserSet& preview = built(true, false);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(preview.codeAt(Family::Style, preview.chooser(Family::Style).choose(r)), 5);
}

TEST_F(Tables, DefaultTablesInBothDisplayModes) {
    built(true, true);
    EXPECT_EQ(settings.choosers().codes(Family::Dot).size(), 30u);
    EXPECT_EQ(settings.choosers().codes(Family::DotOffset).size(), 28u);
    EXPECT_EQ(settings.choosers().codes(Family::DotBlt), (std::vector<int>{19, 21, 20}));
    expectWeights(weights(Family::ColorSelector, 180), {80, 60, 20, 20});
    expectWeights(weights(Family::VaryRange, 150), {50, 50, 50});
    EXPECT_EQ(settings.choosers().chooser(Family::Distorter).size(), 24);
    EXPECT_NEAR(weights(Family::Distorter, 2005)[2], 50, 1e-3);
    EXPECT_EQ(settings.choosers().chooser(Family::LinerDrawer).size(), 15);
    EXPECT_EQ(settings.choosers().chooser(Family::Liner).size(), 15);
    EXPECT_TRUE(settings.choosers().chooser(Family::Unused).empty());
    // Texter: date 50, statistics 10, character 50, statistics 10, messages 50.
    expectWeights(weights(Family::Texter, 170), {50, 10, 50, 10, 50});
    // BoolMap: the last member is three times the overlapping-shapes weight.
    EXPECT_NEAR(weights(Family::BoolMap, 138)[5], 30, 1e-4);
    EXPECT_NEAR(weights(Family::ColorScheme, 540)[0], 60, 1e-4);
    EXPECT_NEAR(weights(Family::Range, 104)[3], 3, 1e-4);

    built(false, true);
    EXPECT_EQ(settings.choosers().codes(Family::Dot),
              (std::vector<int>{14, 12, 13, 2, 1, 41, 42}));
    EXPECT_EQ(settings.choosers().codes(Family::DotBlt), (std::vector<int>{19, 21}));
    expectWeights(weights(Family::ColorSelector, 80), {80, 0, 0, 0});
    expectWeights(weights(Family::VaryRange, 50), {50, 0, 0});
    const auto distorters = weights(Family::Distorter, 1835);
    for (int i : {2, 4, 5, 6, 9}) EXPECT_EQ(distorters[static_cast<size_t>(i)], 0) << i;
}

TEST_F(Tables, TexterMessagesNeedAMessage) {
    for (int i = 0; i < Settings::kMessageCount; ++i) settings.setMessage(i, "");
    built(true, true);
    EXPECT_NEAR(weights(Family::Texter, 120)[4], 0, 1e-4);
}

TEST_F(Tables, PerturbAllLeavesFixedRowsAlone) {
    built(true, true);
    ChooserSet before = settings.choosers();
    RandomSource r(99);
    settings.perturbAll(r);
    for (int row = 1; row <= kFamilyCount; ++row) {
        const auto f = static_cast<Family>(row);
        const bool same = before.chooser(f).cumulative() == settings.choosers().chooser(f).cumulative();
        if (!ChooserSet::isPerturbed(f) || before.chooser(f).size() <= 1)
            EXPECT_TRUE(same) << "row " << row;
        else
            EXPECT_FALSE(same) << "row " << row;
        EXPECT_EQ(before.chooser(f).defaults(), settings.choosers().chooser(f).defaults());
    }
}

TEST(StyleCatalogue, UnknownCodesDrawLines) {
    EXPECT_STREQ(styleClassName(10), "Lines");
    EXPECT_STREQ(styleClassName(-3), "Lines");
    EXPECT_STREQ(styleClassName(13), "Bitmap");
}
