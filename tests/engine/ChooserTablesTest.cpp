#include <gtest/gtest.h>

#include <algorithm>
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
    double shareOfCode(int code) {
        const ChooserSet& s = settings.choosers();
        const auto& codes = s.codes(Family::Style);
        double share = 0;
        for (size_t i = 0; i < codes.size(); ++i)
            if (codes[i] == code) share += s.chooser(Family::Style).weight(static_cast<int>(i));
        return share;
    }
};

}  // namespace

TEST_F(Tables, StyleChancesFullScreenTrueColour) {
    const ChooserSet& s = built(true, true);
    EXPECT_EQ(s.codes(Family::Style),
              (std::vector<int>{1, 15, 0, 12, 16, 17, 19, 2, 3, 6, 8, 9, 7, 20, 18, 4, 14, 11, 5, 13}));
    // Total weight 224: Design 76, Offset 30, Bitmap 30, Scroll 18.75, ...
    EXPECT_NEAR(shareOfCode(1), 76.0 / 224, 1e-5);
    EXPECT_NEAR(shareOfCode(1), 0.339, 5e-4);
    EXPECT_NEAR(shareOfCode(13), 0.134, 5e-4);
    EXPECT_NEAR(shareOfCode(9), 0.084, 5e-4);
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

namespace {

// One row of the chooser table: its codes (empty when the members are
// numbered) and raw weights, for a true-colour and a palette display.
struct Row {
    Family family;
    std::vector<int> codes;
    std::vector<double> trueColour;
    std::vector<double> palette;  // empty: the same as trueColour
};

std::vector<double> operator+(std::vector<double> a, const std::vector<double>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Row> defaultRows() {
    const std::vector<double> dotsAlways = {1, 1, 10, 5, 15, 10, 300};
    const std::vector<double> dotsTrueColour = {60, 20, 15, 20, 2, 20, 2, 2,  20, 30, 5, 10,
                                                30, 5,  10, 10, 10, 5, 2, 1,  5,  30, 30};
    return {
        {Family::ColorClamp, {}, {50, 50}, {}},
        {Family::Dot,
         {14, 12, 13, 2, 1, 41, 42, 58, 4, 3, 10, 11, 6, 15, 17, 16, 34, 35, 36, 37, 39, 38, 40, 46,
          47, 48, 49, 50, 51, 52},
         dotsAlways + dotsTrueColour, dotsAlways},
        {Family::DotOffset,
         {4, 3, 18, 7, 9, 57, 5, 56, 43, 24, 8, 29, 30, 31, 32, 33, 23, 22, 25, 27, 28, 26, 44, 45,
          59, 53, 54, 55},
         {250, 20, 50, 25, 100, 200, 30, 10, 10, 50, 20, 10, 10, 30,
          10,  30, 10, 10, 100, 30,  30, 1,  40, 40, 100, 10, 300, 30},
         {}},
        {Family::DotBlt, {19, 21, 20}, {200, 5, 5}, {200, 5}},
        {Family::ColorSelector, {}, {80, 60, 20, 20}, {80, 0, 0, 0}},
        {Family::ColorAdjuster, {}, {80, 40, 50, 40, 5, 60, 30, 30, 60}, {}},
        {Family::Distorter,
         {},
         {100, 500, 50, 100, 40, 20, 10, 80, 50, 50, 25, 25, 25, 25, 50, 20, 20, 50, 100, 40, 500, 50,
          25, 50},
         {100, 500, 0, 100, 0, 0, 0, 80, 50, 0, 25, 25, 25, 25, 50, 20, 20, 50, 100, 40, 500, 50, 25,
          50}},
        {Family::PointAdj, {}, {200, 200, 50, 50, 50, 50, 50}, {}},
        {Family::Dotter, {}, {10, 30, 50, 50, 30, 50, 50, 50, 200}, {}},
        {Family::Line, {0, 1, 2, 3, 4, 5}, {100, 100, 20, 20, 100, 150}, {}},
        {Family::LineSecond, {0, 1, 4, 5}, {100, 100, 100, 150}, {}},
        {Family::VaryWidth, {}, {50, 50}, {}},
        {Family::VaryColor, {}, {100, 100, 100, 100, 100, 100, 100}, {}},
        {Family::VaryRange, {}, {50, 50, 50}, {50, 0, 0}},
        {Family::PolySolid,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 14, 15},
         {20, 20, 100, 50, 50, 100, 100, 100, 100, 50, 100, 100, 100},
         {}},
        {Family::PolyCircle, {10, 11, 12}, {100, 100, 100}, {}},
        {Family::PolyDrawer, {}, {50, 50, 50}, {}},
        {Family::ColorMaker, {}, {50, 50, 50}, {}},
        {Family::Range, {}, {80, 10, 3, 3, 5, 1, 1, 1}, {}},
        {Family::Section, {}, {70, 20, 5}, {}},
        {Family::SubRector, {}, {50, 80, 50, 50, 1}, {}},
        {Family::Liner, {}, {5, 200, 50, 20, 20, 4, 25, 4, 4, 4, 10, 4, 4, 4, 4}, {}},
        {Family::Texter, {}, {50, 10, 50, 10, 50}, {}},
        {Family::Anchor, {}, {100, 50, 15, 30}, {}},
        {Family::Neighbourly, {0, 1, 2, 3, 4, 5, 6}, {30, 30, 30, 30, 5, 5, 5}, {}},
        {Family::DrawCommand, {}, {40, 40, 40, 10, 10, 40}, {}},
        {Family::LinerDrawer, {}, {30, 20, 50, 20, 30, 30, 20, 20, 0, 0, 0, 0, 0, 0, 0}, {}},
        {Family::BoolMap, {}, {100, 2, 2, 2, 2, 30}, {}},
        {Family::ColorScheme, {}, {60, 60, 60, 40, 40, 40, 40, 40, 40, 40, 40, 40}, {}},
    };
}

void expectRow(const ChooserSet& set, Family f, const std::vector<int>& codes,
               const std::vector<double>& raw, const char* display) {
    const WeightedChooser& c = set.chooser(f);
    const int row = static_cast<int>(f);
    EXPECT_EQ(set.codes(f), codes) << "row " << row << ", " << display;
    ASSERT_EQ(c.size(), static_cast<int>(raw.size())) << "row " << row << ", " << display;
    const double total = std::accumulate(raw.begin(), raw.end(), 0.0);
    for (size_t i = 0; i < raw.size(); ++i) {
        // A table of zeros gives everything to its last member.
        const double share = total > 0 ? raw[i] / total : (i + 1 == raw.size() ? 1.0 : 0.0);
        EXPECT_NEAR(c.weight(static_cast<int>(i)), share, 1e-6)
            << "row " << row << ", member " << i << ", " << display;
    }
    EXPECT_EQ(c.defaults(), c.cumulative()) << "row " << row;
}

}  // namespace

TEST_F(Tables, EveryDefaultTableInBothDisplayModes) {
    for (const bool trueColour : {true, false}) {
        const ChooserSet set = built(trueColour, true);  // a copy: the preview rebuilds
        EXPECT_TRUE(set.chooser(Family::Unused).empty());
        int codeLists = 0;
        for (const Row& r : defaultRows()) {
            const auto& raw = trueColour || r.palette.empty() ? r.trueColour : r.palette;
            std::vector<int> codes = r.codes;
            codes.resize(std::min(codes.size(), raw.size()));
            expectRow(set, r.family, codes, raw, trueColour ? "true colour" : "palette");
            codeLists += !r.codes.empty();
        }
        EXPECT_EQ(codeLists + 1, 9) << "with the styles' list";
        // Only the style list depends on the mode; the other rows do not.
        const ChooserSet& preview = built(trueColour, false);
        for (const Row& r : defaultRows())
            EXPECT_EQ(preview.chooser(r.family).cumulative(), set.chooser(r.family).cumulative());
    }
}

// Rows weighted by settings take each setting in its own place; messages
// weigh nothing when there is no message.
TEST_F(Tables, RowsFromSettings) {
    Settings& s = settings;
    s.setLayoutRect(1), s.setLayoutCircle(2), s.setLayoutTriangle(3), s.setLayoutSlant(4);
    s.setLayoutWavy(5), s.setSectionFull(6), s.setSectionCentred(7), s.setSectionRandom(8);
    s.setLayoutFullScreen(9), s.setLayoutEven(10), s.setLayoutBar(11), s.setLayoutLimn(12);
    s.setTextDateTime(13), s.setTextRandom(15), s.setTextChar(17), s.setTextMessages(19);
    s.setStyleOverlappingShapes(21);
    for (int i = 0; i < Settings::kColorCount; ++i) s.setColor(i, static_cast<float>(i + 1));
    for (int i = 0; i < Settings::kMessageCount; ++i) s.setMessage(i, "");
    const ChooserSet& set = built(false, false);
    expectRow(set, Family::Range, {}, {1, 2, 3, 3, 4, 5, 5, 5}, "");
    expectRow(set, Family::Section, {}, {6, 7, 8}, "");
    expectRow(set, Family::SubRector, {}, {9, 10, 11, 11, 12}, "");
    expectRow(set, Family::Texter, {}, {13, 7, 17, 7, 0}, "");
    expectRow(set, Family::BoolMap, {}, {100, 2, 2, 2, 2, 63}, "");
    expectRow(set, Family::ColorScheme, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "");
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
