#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "platform/FileSearch.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::findFiles;
using platform::wildcardMatch;
using Names = std::vector<std::string>;

TEST(FileSearch, WildcardsFoldCaseAndMatchRealNamesOnly) {
    EXPECT_TRUE(wildcardMatch("*.jpg", "IMG_0001.JPG"));
    EXPECT_TRUE(wildcardMatch("*.jpg", ".jpg"));             // '*' may be empty
    EXPECT_FALSE(wildcardMatch("*.jpe", "photo.jpeg"));      // no short-name alias
    EXPECT_FALSE(wildcardMatch("IMG_????.*", "img_042.png"));  // '?' is exactly one
    EXPECT_TRUE(wildcardMatch("a*b*c", "axxbyybzzc"));         // back-tracking
    EXPECT_FALSE(wildcardMatch("a*b*c", "axxbyybzz"));
    EXPECT_FALSE(wildcardMatch("", "a"));
    // Only ASCII letters fold; other bytes must be equal.
    EXPECT_FALSE(wildcardMatch("\xc3\xa9.jpg", "\xc3\x89.jpg"));
    // Many stars against a long near-miss ends (a naive matcher would not).
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*a*a*b", std::string(4000, 'a')));
}

TEST(FileSearch, FindsOnlyRegularFilesInTheFolderItself) {
    TempFolder tmp;
    const fs::path& d = tmp.path();
    for (const char* name : {"IMG_0001.JPG", "b.jpeg", ".hidden.jpg", "c.bmp", "z.jpg"})
        std::ofstream(d / name) << "x";
    fs::create_directory(d / "dir.jpg");                       // folder named like a picture
    fs::create_directory(d / "sub");
    std::ofstream(d / "sub" / "deep.jpg") << "x";              // subfolders are not entered
    fs::create_symlink(d / "z.jpg", d / "link.jpg");           // a link to a file counts
    fs::create_symlink(d / "sub", d / "sublink.jpg");          // a link to a folder does not
    fs::create_symlink(d / "missing", d / "dead.jpg");
    fs::create_symlink(d / "loop.jpg", d / "loop.jpg");
    fs::create_symlink(d, d / "self");                         // a folder loop, not followed
    ASSERT_EQ(mkfifo((d / "pipe.jpg").c_str(), 0600), 0);      // would block a reader

    const std::string folder = d.string();
    EXPECT_EQ(findFiles(folder, "*.jpg"), (Names{".hidden.jpg", "IMG_0001.JPG", "link.jpg", "z.jpg"}));
    EXPECT_EQ(findFiles(folder + "/", "*.JPEG"), Names{"b.jpeg"});
    EXPECT_EQ(findFiles((d / "self" / "self").string(), "?.bmp"), Names{"c.bmp"});

    // Missing, not a folder, empty name, a looping link: nothing, quietly.
    for (const fs::path& bad : {d / "none", d / "c.bmp", fs::path(), d / "loop.jpg"})
        EXPECT_EQ(findFiles(bad.string(), "*"), Names{}) << bad;
}
