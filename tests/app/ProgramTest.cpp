// The program as a whole: its answers to the command line, and the headless
// renderer, whose arguments (and the settings, here none) alone decide the bytes written.

#include <sstream>
#include <vector>

#include "platform/PngWriter.h"
#include "support/ProgramRun.h"

namespace {

using Program = ProgramRun;
using namespace std::string_literals;

// Usage errors exit 2 with one line and a pointer to the usage, a password
// change does nothing, help and version succeed.
TEST_F(Program, ExitCodes) {
    std::string err;
    EXPECT_EQ(run("--bogus", &err), 2);
    EXPECT_EQ(err, "quorvane: unknown option '--bogus'\nquorvane: see 'quorvane --help'\n");
    EXPECT_EQ(run("-window-id abc", &err), 2);
    EXPECT_NE(err.find("'abc' is not a window id"), std::string::npos) << err;
    EXPECT_TRUE(run("/a 123", &err) == 0 && err.empty());
    EXPECT_TRUE(run("--help") == 0 && run("--version") == 0);
    // An unknown style: one line naming the styles there are.
    EXPECT_EQ(run("--render x.png --style Nope", &err), 2);
    EXPECT_EQ(err.rfind("quorvane: unknown style 'Nope'; the styles there are: ", 0), 0u) << err;
    EXPECT_TRUE(err.find(" Text") != std::string::npos && err.find('\n') == err.size() - 1) << err;
    EXPECT_EQ(run("/s --style nope", &err), 2);
    EXPECT_EQ(run("--render t.png --size 120x80 --seconds 2 --style text", &err), 0) << err;
    EXPECT_EQ(run("--window", &err), 1) << "no display here";
    EXPECT_EQ(err, "quorvane: no display: set DISPLAY, or use --render\n");
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "none wrote settings";
}

// One line per style the program can draw, whatever --style says. (Which
// styles, in which order, the gallery test sees: it renders each one listed
// and writes the help page's table from the list.)
TEST_F(Program, ListStyles) {
    std::string err, out;
    ASSERT_EQ(run("--list-styles --style text", &err, &out), 0) << err;
    std::istringstream lines(out);
    int listed = 0;
    for (std::string code, name, description; lines >> code >> name && std::getline(lines, description);) {
        EXPECT_TRUE(code.find_first_not_of("0123456789") == std::string::npos) << code;
        EXPECT_GT(description.size(), 20u) << name;
        ++listed;
    }
    EXPECT_TRUE(listed == 20 && err.empty()) << out;
}

// The value of the tEXt chunk `keyword` of a PNG file; empty when there is none.
std::string pngText(const std::string& png, const std::string& keyword) {
    const std::string tag = "tEXt" + keyword + '\0';
    const size_t at = png.find(tag);
    if (at < 4) return "";
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(png[i])); };
    const uint32_t length = byte(at - 4) << 24 | byte(at - 3) << 16 | byte(at - 2) << 8 | byte(at - 1);
    return png.substr(at + tag.size(), length - keyword.size() - 1);
}

// Without --seed every run draws another picture and says its seed; given
// back, the seed makes the same bytes, and the picture records what made it.
// The depth, not the order of the arguments, changes the picture; frames
// come out the same with or without a still beside them.
TEST_F(Program, RenderSameArgumentsSameBytesAndTheSeedSaidRepeatsIt) {
    const std::string common = " --size 240x160 --seconds 30";
    std::string err1, err2, err;
    ASSERT_EQ(run("--render a.png" + common, &err1), 0) << err1;
    ASSERT_EQ(run("--render b.png" + common, &err2), 0) << err2;
    ASSERT_EQ(err1.rfind("quorvane: seed ", 0), 0u) << err1;
    EXPECT_NE(err1, err2);
    const std::string a = tmp.read("a.png"), seed = err1.substr(15, err1.size() - 16);
    EXPECT_TRUE(!a.empty() && a != tmp.read("b.png"));
    ASSERT_EQ(run("--render c.png" + common + " --seed " + seed, &err), 0) << err;
    EXPECT_EQ(err, "") << "a seed given is not said back, and no progress line off a terminal";
    EXPECT_TRUE(a == tmp.read("c.png")) << "seed " << seed;
    for (const auto& [keyword, value] : {std::pair<std::string, std::string>{"Seed", seed},
                                         {"Size", "240x160"},
                                         {"Depth", "32"},
                                         {"Seconds", "30"},
                                         {"Software", "quorvane " QV_VERSION}})
        EXPECT_EQ(pngText(a, keyword), value) << keyword;
    for (const std::string& args :
         {"--render d.png --depth 8" + common + " --seed " + seed,
          "--depth 8 --render e.png" + common + " --seed " + seed,
          "--frames seq --fps 2 --render f.png --size 240x160 --seconds 3 --seed 5"s,
          "--frames seq2 --fps 2 --size 240x160 --seconds 3 --seed 5"s})
        ASSERT_EQ(run(args), 0) << args;
    EXPECT_TRUE(tmp.read("d.png") == tmp.read("e.png") && a != tmp.read("d.png"));
    // Six frames in three seconds at two a second, the last one the still's
    // picture (compressed faster: the same pixels, not the same bytes).
    const auto pixels = [&](const std::string& name) {
        const CSurface s = readPng((tmp.path() / name).string());
        std::string all;
        for (int y = 0; y < s.height(); ++y)
            all.append(reinterpret_cast<const char*>(s.row32(y)), static_cast<size_t>(s.width()) * 4);
        return all;
    };
    EXPECT_FALSE(pixels("f.png").empty());
    EXPECT_TRUE(pixels("seq/frame-000006.png") == pixels("f.png") &&
                pixels("seq/frame-000001.png") != pixels("f.png"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "seq/frame-000007.png"));
    for (const char* frame : {"/frame-000001.png", "/frame-000004.png", "/frame-000006.png"})
        EXPECT_EQ(tmp.read(std::string("seq") + frame), tmp.read(std::string("seq2") + frame)) << frame;
}

// Folders that are not there, or are files, are named in one line; only the
// last folder of --frames is made, as --render expects its own.
TEST_F(Program, RenderFoldersAndFrameCounts) {
    std::string err;
    tmp.write("a.png", "x");
    for (const auto& [args, said] : std::vector<std::pair<std::string, std::string>>{
             {"--render missing/x.png", "there is no folder missing to write missing/x.png in"},
             {"--render a.png/x.png --seed 1", "a.png is a file, not a folder to write a.png/x.png in"},
             {"--frames deep/er --seconds 1", "cannot make the folder deep/er: there is no folder deep "
                                              "(only the last folder of the path is made)"},
             {"--frames a.png --seconds 1 --seed 1", "a.png is a file, not a folder"}}) {
        EXPECT_EQ(run(args, &err), 1) << args;
        EXPECT_EQ(err, "quorvane: " + said + "\n") << "and no seed said for a run that does not start";
    }
    EXPECT_EQ(run("--frames seq3/ --fps 1 --seconds 1 --seed 1", &err), 0) << err;
    EXPECT_TRUE(std::filesystem::exists(tmp.path() / "seq3/frame-000001.png"));
    EXPECT_EQ(run("--frames many --seconds 1e7 --fps 1000", &err), 1);
    EXPECT_NE(err.find("at most 100000"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "only read";
}

}  // namespace
