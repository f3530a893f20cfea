// "/c", no argument and any switch the saver does not know start the
// configuration program found beside the saver; without it, or without a
// display, the saver says in one line what to do instead.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/TempFolder.h"

namespace {

class ConfigureMode : public ::testing::Test {
protected:
    void SetUp() override {
        if (!exe) GTEST_SKIP() << "QV_TEST_EXE is not set";
        namespace fs = std::filesystem;
        fs::create_directories(tmp.path() / "bin");
        fs::copy_file(exe, tmp.path() / "bin" / "quorvane");
        // A stand-in that says it ran and with what.
        tmp.write("bin/quorvane-config", "#!/bin/sh\necho \"ran:$*\" > \"$QV_MARK\"\n");
        fs::permissions(tmp.path() / "bin" / "quorvane-config", fs::perms::owner_all);
    }
    // The exit code of the copied saver run with `args` and `env`.
    int run(const std::string& env, const std::string& args) {
        const std::string dir = tmp.path().string();
        const std::string cmd = "cd '" + dir + "' && env -u WAYLAND_DISPLAY -u DISPLAY PATH=/nonexistent QV_MARK='" +
                                dir + "/mark' QUORVANE_CONFIG_DIR=config " + env + " bin/quorvane " + args +
                                " >/dev/null 2>err.txt";
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const char* exe = std::getenv("QV_TEST_EXE");
    TempFolder tmp;
};

TEST_F(ConfigureMode, StartsTheProgramBesideTheSaver) {
    for (const std::string args : {"/c", "", "-C 123", "/p:4194311", "/x", "c /r7"}) {
        SCOPED_TRACE(args);
        std::filesystem::remove(tmp.path() / "mark");
        EXPECT_EQ(run("DISPLAY=:77", args), 0) << tmp.read("err.txt");
        EXPECT_EQ(tmp.read("mark"), "ran:\n") << "started without the saver's arguments";
        EXPECT_EQ(tmp.read("err.txt"), "");
    }
    std::filesystem::remove(tmp.path() / "mark");
    EXPECT_EQ(run("WAYLAND_DISPLAY=wayland-0", "/c"), 0);
    EXPECT_EQ(tmp.read("mark"), "ran:\n");
}

TEST_F(ConfigureMode, NoProgramOrNoDisplaySaysWhatToDoInOneLine) {
    const auto oneLineNaming = [&](const std::string& what) {
        const std::string err = tmp.read("err.txt");
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_EQ(err.rfind("quorvane: ", 0), 0u) << err;
        EXPECT_NE(err.find(what), std::string::npos) << err;
        EXPECT_NE(err.find("--window"), std::string::npos) << err;
        EXPECT_NE(err.find("--help"), std::string::npos) << err;
    };
    EXPECT_EQ(run("", "/c"), 1);
    oneLineNaming("needs a display");
    EXPECT_EQ(run("DISPLAY=", ""), 1) << "an empty DISPLAY is none";
    oneLineNaming("needs a display");

    std::filesystem::remove(tmp.path() / "bin" / "quorvane-config");
    EXPECT_EQ(run("DISPLAY=:77", "/c"), 1);
    oneLineNaming("quorvane-config");
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "mark"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "only read";
}

}  // namespace
