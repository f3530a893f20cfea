// The program as a whole: its answers to the command line, and the headless
// renderer, whose arguments (and the settings, here none) alone decide the bytes written.

#include "platform/PngWriter.h"
#include "support/ProgramRun.h"

namespace {

using Program = ProgramRun;

// Usage errors exit 2 with the usage, a password change does nothing, help and version succeed.
TEST_F(Program, ExitCodes) {
    std::string err;
    EXPECT_EQ(run("--bogus", &err), 2);
    EXPECT_EQ(err.rfind("quorvane: unknown option '--bogus'\n", 0), 0u) << err;
    EXPECT_NE(err.find("usage: quorvane"), std::string::npos);
    EXPECT_EQ(run("-window-id abc", &err), 2);
    EXPECT_NE(err.find("'abc' is not a window id"), std::string::npos) << err;
    EXPECT_TRUE(run("/a 123", &err) == 0 && err.empty());
    EXPECT_TRUE(run("--help") == 0 && run("--version") == 0);
    // An unknown style: one line naming the styles there are.
    EXPECT_EQ(run("--render x.png --style Nope", &err), 2);
    EXPECT_EQ(err.rfind("quorvane: unknown style 'Nope'; the styles there are: ", 0), 0u) << err;
    EXPECT_NE(err.find(" Text"), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_EQ(run("/s --style nope", &err), 2);
    EXPECT_EQ(run("--render t.png --size 120x80 --seconds 2 --style text", &err), 0) << err;
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "none wrote settings";
}

TEST_F(Program, RenderSameArgumentsSameBytesAnotherSeedAnotherPicture) {
    const auto bytes = [&](const std::string& name) { return tmp.read(name); };
    const std::string common = " --size 240x160 --seconds 30 --seed ";
    std::string err;
    ASSERT_EQ(run("--render a.png" + common + "5", &err), 0) << err;
    EXPECT_EQ(err, "") << "no progress line when standard error is not a terminal";
    for (const std::string& args : {"--render b.png" + common + "5", "--render c.png" + common + "6",
                                   "--render d.png --depth 8" + common + "5",
                                   "--depth 8 --render e.png" + common + "5",
                                   std::string("--frames seq --fps 2 --render f.png --size 240x160 --seconds 3 --seed 5"),
                                   std::string("--frames seq2 --fps 2 --size 240x160 --seconds 3 --seed 5")})
        ASSERT_EQ(run(args), 0) << args;
    EXPECT_FALSE(bytes("a.png").empty());
    EXPECT_TRUE(bytes("a.png") == bytes("b.png") && bytes("a.png") != bytes("c.png"));
    EXPECT_TRUE(bytes("d.png") == bytes("e.png") && bytes("a.png") != bytes("d.png"));
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
    EXPECT_TRUE(pixels("seq/frame-000006.png") == pixels("f.png") && pixels("seq/frame-000001.png") != pixels("f.png"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "seq/frame-000007.png"));
    for (const char* frame : {"/frame-000001.png", "/frame-000004.png", "/frame-000006.png"})
        EXPECT_EQ(bytes(std::string("seq") + frame), bytes(std::string("seq2") + frame)) << frame;

    EXPECT_EQ(run("--render missing/x.png", &err), 1);
    EXPECT_EQ(err, "quorvane: there is no folder missing to write missing/x.png in\n");
    EXPECT_EQ(run("--frames many --seconds 1e7 --fps 1000", &err), 1);
    EXPECT_NE(err.find("at most 100000"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "only read";
}

}  // namespace
