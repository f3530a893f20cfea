#include <gtest/gtest.h>

#include <climits>

#include "styles/text/TextFont.h"

TEST(TextFont, SizeHeightAndThreeDraws) {
    EXPECT_EQ(fontSizeFor(256, 1024), 9);
    EXPECT_EQ(fontSizeFor(1024, 1024), 36);
    EXPECT_EQ(fontSizeFor(100, 1024), 8);
    EXPECT_EQ(fontSizeFor(INT_MAX, 1), 36);  // no overflow on the way
    EXPECT_EQ(fontSizeFor(300, 0), 36);      // no division by zero
    EXPECT_EQ(fontHeightFor(9, 96), -14);    // sixty to the inch, toward zero

    const char* faces[] = {"Times New Roman", "Arial", "Courier New"};
    RandomSource r(3), copy(3);
    const LOGFONT f = textFontFor(-14, r);
    EXPECT_STREQ(f.lfFaceName, faces[copy.below(3)]);
    EXPECT_EQ(f.lfWeight, copy.below(2) ? FW_NORMAL : FW_BOLD);
    EXPECT_EQ(f.lfItalic, copy.below(2) ? 1 : 0);
}
