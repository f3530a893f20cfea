// Without a display to show the sheet on (none named, none answering, no
// platform plugin that works) the configuration program and the saver's
// configuration mode say so in one line and exit with status 1, rather
// than abort.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempFolder.h"

namespace {

#ifdef QV_CONFIG_EXE

class NoDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const char* saver = std::getenv("QV_TEST_EXE");
        if (!saver) GTEST_SKIP() << "QV_TEST_EXE is not set";
        // A display number no server holds.
        for (m_display = 87; m_display < 120; ++m_display)
            if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(m_display)) &&
                !fs::exists("/tmp/.X" + std::to_string(m_display) + "-lock"))
                break;
        // The saver starts the program found beside it.
        fs::create_directories(tmp.path() / "bin");
        fs::copy_file(saver, tmp.path() / "bin" / "quorvane");
        fs::create_symlink(QV_CONFIG_EXE, tmp.path() / "bin" / "quorvane-config");
    }
    // Runs `program` with only `env` naming displays; its exit status.
    int run(const std::string& env, const std::string& program) {
        const std::string dir = tmp.path().string();
        const std::string cmd =
            "cd '" + dir +
            "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "
            "QUORVANE_CONFIG_DIR=config " +
            env + " " + program + " >out.txt 2>err.txt";
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void expectOneLineNaming(const std::string& what) {
        const std::string err = tmp.read("err.txt");
        EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line:\n" << err;
        EXPECT_NE(err.find(what), std::string::npos) << err;
        EXPECT_EQ(tmp.read("out.txt"), "");
    }

    TempFolder tmp;
    int m_display = 87;
};

TEST_F(NoDisplay, OneLineAndExitOne) {
    const std::string unreachable = "DISPLAY=:" + std::to_string(m_display);
    EXPECT_EQ(run(unreachable, "bin/quorvane-config"), 1);
    expectOneLineNaming("no X server answers at " + unreachable);
    EXPECT_EQ(run(unreachable, "bin/quorvane /c"), 1) << "the saver's configuration mode";
    expectOneLineNaming("no X server answers at " + unreachable);
    EXPECT_EQ(run("WAYLAND_DISPLAY=nothing-here", "bin/quorvane-config"), 1);
    expectOneLineNaming("cannot show the settings");
    EXPECT_EQ(run(unreachable + " QT_QPA_PLATFORM=no-such-plugin", "bin/quorvane-config"), 1);
    expectOneLineNaming("\"no-such-plugin\" is not installed");
    EXPECT_EQ(run("", "bin/quorvane-config"), 1);
    expectOneLineNaming("no display");
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "config" / "registry.ini")) << "nothing written";
}

#endif

}  // namespace
