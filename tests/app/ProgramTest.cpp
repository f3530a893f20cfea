// The program as a whole: its answers to the command line, and the headless
// renderer, whose arguments (and the settings, here none) alone decide the bytes written.

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
                                   std::string("--frames seq --fps 2 --render f.png --size 240x160 --seconds 3 --seed 5")})
        ASSERT_EQ(run(args), 0) << args;
    EXPECT_FALSE(bytes("a.png").empty());
    EXPECT_TRUE(bytes("a.png") == bytes("b.png") && bytes("a.png") != bytes("c.png"));
    EXPECT_TRUE(bytes("d.png") == bytes("e.png") && bytes("a.png") != bytes("d.png"));
    // Six frames in three seconds at two a second, the last one the still.
    EXPECT_TRUE(bytes("seq/frame-000006.png") == bytes("f.png") && bytes("seq/frame-000001.png") != bytes("f.png"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "seq/frame-000007.png"));

    EXPECT_EQ(run("--render missing/x.png", &err), 1);
    EXPECT_EQ(err, "quorvane: there is no folder missing to write missing/x.png in\n");
    EXPECT_EQ(run("--frames many --seconds 1e7 --fps 1000", &err), 1);
    EXPECT_NE(err.find("at most 100000"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "only read";
}

}  // namespace
