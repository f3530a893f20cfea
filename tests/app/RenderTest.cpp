// The headless renderer as a whole program: the arguments (and the
// settings, here none) alone decide the bytes written.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/TempFolder.h"

namespace {

TEST(RenderProgram, SameArgumentsSameBytesAnotherSeedAnotherPicture) {
    const char* exe = std::getenv("QV_TEST_EXE");
    if (!exe) GTEST_SKIP() << "QV_TEST_EXE is not set";
    TempFolder tmp;
    const auto run = [&](const std::string& args, std::string* err = nullptr) {
        const std::string cmd = "cd '" + tmp.path().string() + "' && QUORVANE_CONFIG_DIR=config '" +
                                exe + "' " + args + " >/dev/null 2>err.txt";
        const int status = std::system(cmd.c_str());
        if (err) *err = tmp.read("err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
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
    EXPECT_EQ(bytes("a.png"), bytes("b.png"));
    EXPECT_NE(bytes("a.png"), bytes("c.png"));
    EXPECT_EQ(bytes("d.png"), bytes("e.png"));
    EXPECT_NE(bytes("a.png"), bytes("d.png"));
    // Six frames in three seconds at two a second, the last one the still.
    EXPECT_EQ(bytes("seq/frame-000006.png"), bytes("f.png"));
    EXPECT_NE(bytes("seq/frame-000001.png"), bytes("f.png"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "seq/frame-000007.png"));

    EXPECT_EQ(run("--render missing/x.png", &err), 1);
    EXPECT_EQ(err, "quorvane: there is no folder missing to write missing/x.png in\n");
    EXPECT_EQ(run("--frames many --seconds 1e7 --fps 1000", &err), 1);
    EXPECT_NE(err.find("at most 100000"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "only read";
}

}  // namespace
