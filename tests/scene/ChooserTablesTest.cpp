#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <numeric>
#include <sstream>

#include "engine/Settings.h"
#include "scene/ChooserTables.h"
#include "scene/StyleCatalogue.h"
#include "support/GoldenImages.h"
#include "support/TempFolder.h"

namespace {

struct Tables : ::testing::Test {
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};

    ChooserSet& built(bool trueColor, bool fullScreen) {
        buildChooserTables(settings.choosers(), settings, {trueColor, fullScreen});
        return settings.choosers();
    }
    double shareOfCode(int code) {
        const ChooserSet& s = settings.choosers();
        double share = 0;
        for (size_t i = 0; i < s.codes(Family::Style).size(); ++i)
            if (s.codes(Family::Style)[i] == code) share += s.chooser(Family::Style).weight(int(i));
        return share;
    }
};

// A row's codes and normalised raw weights; a table of zeros gives all to its last member.
void expectRow(const ChooserSet& set, Family f, std::vector<int> codes, const std::vector<double>& raw) {
    SCOPED_TRACE("row " + std::to_string(static_cast<int>(f)));
    const WeightedChooser& c = set.chooser(f);
    codes.resize(std::min(codes.size(), raw.size()));
    EXPECT_EQ(set.codes(f), codes);
    ASSERT_EQ(c.size(), static_cast<int>(raw.size()));
    const double total = std::accumulate(raw.begin(), raw.end(), 0.0);
    for (size_t i = 0; i < raw.size(); ++i)
        EXPECT_NEAR(c.weight(int(i)), total > 0 ? raw[i] / total : i + 1 == raw.size(), 1e-6) << i;
    EXPECT_EQ(c.defaults(), c.cumulative());
}

struct Row {
    Family family;
    std::vector<int> codes;
    std::vector<double> trueColour, palette;
};

template <class T>
std::vector<T> numbers(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<T>(in), {}};
}

// tests/golden/chooser_defaults.txt: "row | codes | weights | palette weights".
std::vector<Row> defaultRows() {
    std::ifstream in(goldenPath("chooser_defaults.txt"));
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::string f[4];
        std::istringstream parts(line);
        for (std::string& p : f) std::getline(parts, p, '|');
        rows.push_back(
            {Family(std::stoi(f[0])), numbers<int>(f[1]), numbers<double>(f[2]), numbers<double>(f[3])});
        if (rows.back().palette.empty()) rows.back().palette = rows.back().trueColour;
    }
    return rows;
}

}  // namespace

TEST_F(Tables, StyleRowsFollowDisplayAndModeWithTheirChancesAllZeroTheLast) {
    const struct {
        bool trueColour, fullScreen;
        std::vector<int> codes;
    } modes[] = {{false, true, {1, 15, 0, 12, 2, 3, 6, 8, 9, 11, 5, 13}},
                 {true, false, {1, 15, 0, 12, 16, 17, 19, 2, 11, 5}},
                 {false, false, {1, 15, 0, 12, 2, 11, 5}},
                 {true, true, {1, 15, 0, 12, 16, 17, 19, 2, 3, 6, 8, 9, 7, 20, 18, 4, 14, 11, 5, 13}}};
    for (const auto& m : modes) EXPECT_EQ(built(m.trueColour, m.fullScreen).codes(Family::Style), m.codes);
    // Full screen, true colour: total weight 224, Design 76 (33.9 %), Bitmap 30, Scroll 18.75, ...
    EXPECT_NEAR(shareOfCode(1), 0.339, 5e-4);
    for (const auto& [code, weight] : {std::pair{1, 76.0}, {13, 30.0}, {9, 18.75}, {2, 5.0}, {12, 0.1}})
        EXPECT_NEAR(shareOfCode(code), weight / 224, 1e-5) << code;
    built(false, true);
    EXPECT_NEAR(shareOfCode(3), 75 * 0.3 / (80 + 10 * 0.41 + 5 + 75 + 10 + 10 + 30), 1e-5);
    for (auto set : {&Settings::setStyleSolid, &Settings::setStyleDots, &Settings::setStyleLines,
                     &Settings::setStyleDistort, &Settings::setStyleBitmap, &Settings::setStyleText,
                     &Settings::setStyle3D, &Settings::setStyleOverlappingShapes})
        (settings.*set)(0);
    RandomSource r(1);
    for (const auto& [fullScreen, last] : {std::pair{true, 13}, {false, 5}}) {
        ChooserSet& s = built(true, fullScreen);
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(s.codeAt(Family::Style, s.chooser(Family::Style).choose(r)), last);
    }
}

TEST_F(Tables, EveryDefaultTableInBothDisplayModesAndRowsFromSettings) {
    const std::vector<Row> rows = defaultRows();
    ASSERT_EQ(rows.size(), 29u) << "every row but the styles' and the unused one";
    for (const bool trueColour : {true, false}) {
        SCOPED_TRACE(trueColour ? "true colour" : "palette");
        const ChooserSet set = built(trueColour, true);  // a copy: the preview rebuilds
        EXPECT_TRUE(set.chooser(Family::Unused).empty());
        int codeLists = 1;  // the styles'
        for (const Row& r : rows) {
            expectRow(set, r.family, r.codes, trueColour ? r.trueColour : r.palette);
            codeLists += !r.codes.empty();
        }
        EXPECT_EQ(codeLists, 9);
        // Only the style list depends on the mode; the other rows do not.
        const ChooserSet& preview = built(trueColour, false);
        for (const Row& r : rows)
            EXPECT_EQ(preview.chooser(r.family).cumulative(), set.chooser(r.family).cumulative());
    }
    // Rows weighted by settings take each setting in its own place; messages
    // weigh nothing when there is no message.
    Settings& st = settings;
    st.setLayoutRect(1), st.setLayoutCircle(2), st.setLayoutTriangle(3), st.setLayoutSlant(4);
    st.setLayoutWavy(5), st.setSectionFull(6), st.setSectionCentred(7), st.setSectionRandom(8);
    st.setLayoutFullScreen(9), st.setLayoutEven(10), st.setLayoutBar(11), st.setLayoutLimn(12);
    st.setTextDateTime(13), st.setTextRandom(15), st.setTextChar(17), st.setTextMessages(19);
    st.setStyleOverlappingShapes(21);
    for (int i = 0; i < Settings::kColorCount; ++i) st.setColor(i, static_cast<float>(i + 1));
    for (int i = 0; i < Settings::kMessageCount; ++i) st.setMessage(i, "");
    const ChooserSet& fromSettings = built(false, false);
    expectRow(fromSettings, Family::Range, {}, {1, 2, 3, 3, 4, 5, 5, 5});
    expectRow(fromSettings, Family::Section, {}, {6, 7, 8});
    expectRow(fromSettings, Family::SubRector, {}, {9, 10, 11, 11, 12});
    expectRow(fromSettings, Family::Texter, {}, {13, 7, 17, 7, 0});
    expectRow(fromSettings, Family::BoolMap, {}, {100, 2, 2, 2, 2, 63});
    expectRow(fromSettings, Family::ColorScheme, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
}

TEST_F(Tables, PerturbAllLeavesFixedRowsAlone) {
    built(true, true);
    ChooserSet before = settings.choosers();
    RandomSource r(99);
    settings.perturbAll(r);
    for (int row = 1; row <= kFamilyCount; ++row) {
        const auto f = static_cast<Family>(row);
        const bool same = before.chooser(f).cumulative() == settings.choosers().chooser(f).cumulative();
        EXPECT_EQ(same, !ChooserSet::isPerturbed(f) || before.chooser(f).size() <= 1) << "row " << row;
        EXPECT_EQ(before.chooser(f).defaults(), settings.choosers().chooser(f).defaults());
    }
}
