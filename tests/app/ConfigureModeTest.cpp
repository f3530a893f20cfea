// "/c", no argument and any switch the saver does not know start the
// configuration program found beside the saver; without it, or without a
// display, the saver says in one line what to do instead.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/TempFolder.h"

namespace {

using namespace std::string_literals;

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
        const std::string cmd =
            "cd '" + dir + "' && env -u WAYLAND_DISPLAY -u DISPLAY PATH=/nonexistent QV_MARK='" + dir +
            "/mark' QUORVANE_CONFIG_DIR=config " + env + " bin/quorvane " + args + " >/dev/null 2>err.txt";
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const char* exe = std::getenv("QV_TEST_EXE");
    TempFolder tmp;
};

TEST_F(ConfigureMode, StartsTheProgramBesideTheSaver) {
    for (const auto& [env, args] : {std::pair{"DISPLAY=:77", "/c"},
                                    {"DISPLAY=:77", ""},
                                    {"DISPLAY=:77", "-C 123"},
                                    {"DISPLAY=:77", "/p:4194311"},
                                    {"DISPLAY=:77", "/x"},
                                    {"DISPLAY=:77", "c /r7"},
                                    {"WAYLAND_DISPLAY=wayland-0", "/c"}}) {
        SCOPED_TRACE(std::string(env) + " " + args);
        std::filesystem::remove(tmp.path() / "mark");
        EXPECT_EQ(run(env, args), 0) << tmp.read("err.txt");
        EXPECT_EQ(tmp.read("mark"), "ran:\n") << "started without the saver's arguments";
        EXPECT_EQ(tmp.read("err.txt"), "");
    }
}

TEST_F(ConfigureMode, NoProgramOrNoDisplaySaysWhatToDoInOneLine) {
    const auto oneLineNaming = [&](const std::string& what) {
        const std::string err = tmp.read("err.txt");
        EXPECT_TRUE(err.find('\n') == err.size() - 1 && err.rfind("quorvane: ", 0) == 0) << err;
        for (const std::string& named : {what, "--window"s, "--help"s})
            EXPECT_NE(err.find(named), std::string::npos) << err;
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
