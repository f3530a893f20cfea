#include <gtest/gtest.h>

#include <climits>

#include "styles/text/TextFont.h"

TEST(TextFont, SizeAndHeight) {
    EXPECT_EQ(fontSizeFor(256, 1024), 9);
    EXPECT_EQ(fontSizeFor(1024, 1024), 36);
    EXPECT_EQ(fontSizeFor(100, 1024), 8);
    EXPECT_EQ(fontSizeFor(INT_MAX, 1), 36);  // no overflow on the way
    EXPECT_EQ(fontSizeFor(300, 0), 36);      // no division by zero
    EXPECT_EQ(fontHeightFor(9, 96), -14);    // sixty to the inch, toward zero
}
