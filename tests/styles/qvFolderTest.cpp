#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "styles/image/qvFolder.h"
#include "support/TempFolder.h"

using Names = std::vector<std::string>;

TEST(qvFolder, PatternsInOrderThenPathsJoinedOnce) {
    TempFolder tmp;
    for (const char* name : {"b.jpg", "A.JPG", "c.bmp", "d.jpe", "e.jpeg"})
        std::ofstream(tmp.path() / name) << "x";
    const std::string dir = tmp.path().string();

    qvFolder f(dir + "/");
    EXPECT_EQ(f.path(), dir);
    // Names follow the patterns' order; a name fitting two patterns twice.
    EXPECT_EQ(f.Find("*.bmp *.jpg"), 3);
    EXPECT_EQ(f.Find("*.JPG"), 2);
    EXPECT_EQ(f.foundNames(), (Names{"c.bmp", "A.JPG", "b.jpg", "A.JPG", "b.jpg"}));
    // Empty pieces are patterns of their own that find nothing.
    EXPECT_EQ(f.Find(" *.jpe  "), 1);
    EXPECT_EQ(f.patterns(), (Names{"", "*.jpe", "", ""}));
    EXPECT_EQ(f.Find(""), 0);
    EXPECT_TRUE(f.patterns().empty());

    const bool stop = false, go = true;
    EXPECT_EQ(f.Find("*.jpeg", &stop), 0);
    EXPECT_EQ(f.Find("a.*", &go, true), 1);
    EXPECT_EQ(f.foundNames().back(), "a.jpg");
    Names list{"kept"};
    f.AppendPaths(list);
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0], "kept");
    EXPECT_EQ(list[1], dir + "/c.bmp");
    EXPECT_EQ(list[7], dir + "/a.jpg");

    // The bare root keeps a single separator.
    qvFolder root("/");
    EXPECT_EQ(root.path(), "");
    EXPECT_EQ(root.Find("*.no-such-extension-anywhere"), 0);
    EXPECT_EQ(qvFolder(dir + "/missing").Find("*"), 0);
}
