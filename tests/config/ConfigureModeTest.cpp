// "/c", no argument and any switch the saver does not know start the
// configuration program found beside the saver. Without it, or without a
// display to show the sheet on (none named, none answering, no platform
// plugin that works), the saver and the program say what to do in one line
// and exit with status 1, rather than abort, and write nothing.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "support/TempFolder.h"

namespace {

#ifdef QV_CONFIG_EXE

namespace fs = std::filesystem;

class ConfigureMode : public ::testing::Test {
protected:
    void SetUp() override {
        if (!saver) GTEST_SKIP() << "QV_TEST_EXE is not set";
        // A display number no server holds.
        for (display = 87; display < 120; ++display)
            if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(display)) &&
                !fs::exists("/tmp/.X" + std::to_string(display) + "-lock"))
                break;
        fs::create_directories(tmp.path() / "bin");
        fs::copy_file(saver, tmp.path() / "bin" / "quorvane");
    }
    // Runs `program` with only `env` naming displays and no PATH to search;
    // its exit status.
    int run(const std::string& env, const std::string& program) {
        const std::string dir = tmp.path().string();
        const std::string cmd =
            "cd '" + dir +
            "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "
            "PATH=/nonexistent QV_MARK='" +
            dir + "/mark' QUORVANE_CONFIG_DIR=config " + env + " " + program + " >out.txt 2>err.txt";
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const char* saver = std::getenv("QV_TEST_EXE");
    TempFolder tmp;
    int display = 87;
};

TEST_F(ConfigureMode, StartsTheProgramBesideTheSaverWithoutItsArguments) {
    // A stand-in that says it ran and with what.
    tmp.write("bin/quorvane-config", "#!/bin/sh\necho \"ran:$*\" > \"$QV_MARK\"\n");
    fs::permissions(tmp.path() / "bin" / "quorvane-config", fs::perms::owner_all);
    // (Which switches mean the configuration is the command line's test.)
    for (const auto& [env, args] :
         {std::pair{"DISPLAY=:77", "-C 123"}, {"DISPLAY=:77", ""}, {"WAYLAND_DISPLAY=wayland-0", "/c"}}) {
        SCOPED_TRACE(std::string(env) + " " + args);
        fs::remove(tmp.path() / "mark");
        EXPECT_EQ(run(env, std::string("bin/quorvane ") + args), 0) << tmp.read("err.txt");
        EXPECT_EQ(tmp.read("mark"), "ran:\n") << "started without the saver's arguments";
        EXPECT_EQ(tmp.read("err.txt"), "");
    }
}

TEST_F(ConfigureMode, NoDisplayOrNoProgramSaysWhatToDoInOneLine) {
    fs::create_symlink(QV_CONFIG_EXE, tmp.path() / "bin" / "quorvane-config");
    const std::string unreachable = "DISPLAY=:" + std::to_string(display);
    const std::tuple<std::string, const char*, std::string> cases[] = {
        {unreachable, "bin/quorvane-config", "no X server answers at " + unreachable},
        {unreachable, "bin/quorvane /c", "no X server answers at " + unreachable},
        {"WAYLAND_DISPLAY=nothing-here", "bin/quorvane-config", "cannot show the settings"},
        {unreachable + " QT_QPA_PLATFORM=no-such-plugin", "bin/quorvane-config",
         "\"no-such-plugin\" is not installed"},
        {"", "bin/quorvane-config", "no display"},
        {"", "bin/quorvane /c", "needs a display"},
        {"DISPLAY=", "bin/quorvane", "needs a display"},         // an empty DISPLAY is none
        {"DISPLAY=:77", "bin/quorvane /c", "quorvane-config"}};  // the program removed first
    for (const auto& [env, program, said] : cases) {
        SCOPED_TRACE(env + " " + program);
        if (said == "quorvane-config") fs::remove(tmp.path() / "bin" / "quorvane-config");
        EXPECT_EQ(run(env, program), 1);
        const std::string err = tmp.read("err.txt");
        EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line:\n" << err;
        EXPECT_NE(err.find(said), std::string::npos) << err;
        // The saver's own line says what it can do instead.
        const bool saversOwn = std::string(program).find("config") == std::string::npos &&
                               said.find("X server") == std::string::npos;
        EXPECT_TRUE(!saversOwn ||
                    (err.rfind("quorvane: ", 0) == 0 && err.find("--window") != std::string::npos &&
                     err.find("--help") != std::string::npos))
            << err;
        EXPECT_EQ(tmp.read("out.txt"), "");
    }
    EXPECT_FALSE(fs::exists(tmp.path() / "config" / "registry.ini")) << "nothing written";
}

#endif

}  // namespace
