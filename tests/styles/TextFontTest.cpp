#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "styles/text/TextFont.h"

TEST(TextFont, SizeFollowsTheWidestCell) {
    EXPECT_EQ(fontSizeFor(256, 1024), 9);
    EXPECT_EQ(fontSizeFor(1024, 1024), 36);
    EXPECT_EQ(fontSizeFor(100, 1024), 8);
    EXPECT_EQ(fontSizeFor(2048, 1024), 36);
    EXPECT_EQ(fontSizeFor(0, 1024), 8);
    EXPECT_EQ(fontSizeFor(INT_MAX, 1), 36);  // no overflow on the way
    EXPECT_EQ(fontSizeFor(300, 0), 36);      // no division by zero

    // 96 pixels per inch, sixty to the inch, rounded toward zero.
    EXPECT_EQ(fontHeightFor(9, 96), -14);
    EXPECT_EQ(fontHeightFor(36, 96), -57);
    EXPECT_EQ(fontHeightFor(8, 96), -12);
}

TEST(TextFont, FaceWeightAndSlantFromThreeDraws) {
    std::set<std::string> faces;
    std::set<int> weights, slants;
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource r(seed), copy(seed);
        const LOGFONT f = textFontFor(-14, r);
        for (int i = 0; i < 3; ++i) copy.next();
        EXPECT_EQ(r.next(), copy.next());
        EXPECT_EQ(f.lfHeight, -14);
        EXPECT_EQ(f.lfWidth, 0);
        faces.insert(f.lfFaceName);
        weights.insert(f.lfWeight);
        slants.insert(f.lfItalic);
    }
    EXPECT_EQ(faces, (std::set<std::string>{"Times New Roman", "Arial", "Courier New"}));
    EXPECT_EQ(weights, (std::set<int>{FW_NORMAL, FW_BOLD}));
    EXPECT_EQ(slants, (std::set<int>{0, 1}));
}
