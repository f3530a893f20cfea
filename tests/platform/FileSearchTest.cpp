#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <tuple>

#include "platform/FileSearch.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::findFiles;
using platform::wildcardMatch;
using Names = std::vector<std::string>;

TEST(FileSearch, WildcardsFoldCaseAndMatchRealNamesOnly) {
    // '*' may be empty; no short-name alias; '?' is exactly one; back-tracking; only
    // ASCII letters fold; many stars against a long near-miss end (a naive matcher would not).
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"*.jpg", "IMG_0001.JPG", true},
        {"*.jpg", ".jpg", true},
        {"*.jpe", "photo.jpeg", false},
        {"IMG_????.*", "img_042.png", false},
        {"a*b*c", "axxbyybzzc", true},
        {"a*b*c", "axxbyybzz", false},
        {"", "a", false},
        {"\xc3\xa9.jpg", "\xc3\x89.jpg", false},
        {"Z*.A", "zoo.a", true},
        {"*a*a*a*a*a*a*a*a*a*a*b", std::string(4000, 'a'), false}};
    for (const auto& [pattern, name, match] : cases)
        EXPECT_EQ(wildcardMatch(pattern, name), match) << pattern;
}

TEST(FileSearch, FindsOnlyRegularFilesInTheFolderItself) {
    TempFolder tmp;
    const fs::path& d = tmp.path();
    for (const char* name : {"IMG_0001.JPG", "b.jpeg", ".hidden.jpg", "c.bmp", "z.jpg"})
        std::ofstream(d / name) << "x";
    fs::create_directory(d / "dir.jpg");  // folder named like a picture
    fs::create_directory(d / "sub");
    std::ofstream(d / "sub" / "deep.jpg") << "x";      // subfolders are not entered
    fs::create_symlink(d / "z.jpg", d / "link.jpg");   // a link to a file counts
    fs::create_symlink(d / "sub", d / "sublink.jpg");  // a link to a folder does not
    fs::create_symlink(d / "missing", d / "dead.jpg");
    fs::create_symlink(d / "loop.jpg", d / "loop.jpg");
    fs::create_symlink(d, d / "self");                     // a folder loop, not followed
    ASSERT_EQ(mkfifo((d / "pipe.jpg").c_str(), 0600), 0);  // would block a reader

    const std::string folder = d.string();
    EXPECT_EQ(findFiles(folder, "*.jpg"), (Names{".hidden.jpg", "IMG_0001.JPG", "link.jpg", "z.jpg"}));
    EXPECT_EQ(findFiles(folder + "/", "*.JPEG"), Names{"b.jpeg"});
    EXPECT_EQ(findFiles((d / "self" / "self").string(), "?.bmp"), Names{"c.bmp"});
    // Missing, not a folder, empty name, a looping link: nothing, quietly.
    for (const fs::path& bad : {d / "none", d / "c.bmp", fs::path(), d / "loop.jpg"})
        EXPECT_EQ(findFiles(bad.string(), "*"), Names{}) << bad;
}
