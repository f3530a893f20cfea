#include <gtest/gtest.h>

#include <fstream>

#include "styles/image/qvFolder.h"
#include "support/TempFolder.h"

using Names = std::vector<std::string>;

TEST(qvFolder, PatternsInOrderOptionsAndPathsJoinedOnce) {
    TempFolder tmp;
    for (const char* name : {"b.jpg", "A.JPG", "c.bmp"}) std::ofstream(tmp.path() / name) << "x";
    const std::string dir = tmp.path().string();
    qvFolder f(dir + "/");
    // Pattern order kept, a name found once per pattern it fits, empty pieces searched for nothing.
    EXPECT_EQ(f.Find("*.bmp  *.jpg *.JPG"), 5);
    EXPECT_EQ(f.patterns(), (Names{"*.bmp", "", "*.jpg", "*.JPG"}));
    const bool stop = false, go = true;
    EXPECT_EQ(f.Find("*", &stop), 0);
    EXPECT_EQ(f.Find("a.*", &go, true), 1);
    Names list{"kept"};
    f.AppendPaths(list);
    EXPECT_EQ(list, (Names{"kept", dir + "/c.bmp", dir + "/A.JPG", dir + "/b.jpg", dir + "/A.JPG",
                           dir + "/b.jpg", dir + "/a.jpg"}));
    EXPECT_EQ(qvFolder("/").path(), "");  // joined again as "/name"
}
