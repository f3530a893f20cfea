// The real xscreensaver daemon on Xvfb, with a private home whose settings
// list only our hack: activated, it runs the hack, whose pictures appear on
// the screen (the daemon's own blank is black); deactivated, it kills it.
// xscreensaver runs no hacks as root, so under root (as in CI) the daemon
// runs as the unprivileged user "nobody".

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "XvfbSession.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(XscreensaverDaemon, ShowsOurPicturesWhenActivatedAndKillsTheHackOnDeactivate) {
    const char* exe = std::getenv("QV_TEST_EXE");
    if (!exe) GTEST_SKIP() << "QV_TEST_EXE is not set";
    const bool root = geteuid() == 0;
    std::vector<const char*> tools = {"Xvfb", "xwd", "xscreensaver", "xscreensaver-command"};
    if (root) tools.push_back("setpriv");
    for (const char* tool : tools)
        if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
    XvfbServer server(640, 480);
    ASSERT_TRUE(server.running()) << "could not start Xvfb";

    // The home holds the settings and a copy of the program, which the
    // unprivileged user may not reach in the build tree.
    TempFolder home;
    const fs::path hack = home.path() / "quorvane";
    fs::copy_file(exe, hack);
    home.write(".xscreensaver",
               "mode: one\nselected: 0\ntimeout: 1:00:00\ncycle: 0:00:00\nlock: False\n"
               "fade: False\nunfade: False\nsplash: False\ndpmsEnabled: False\n"
               "programs: \"Quorvane\" " + hack.string() + " -root \\n\n");
    std::vector<std::string> argv = {"xscreensaver", "-no-splash", "-verbose"};
    if (root) {
        ChildProcess chown({"chown", "-R", "nobody:nogroup", home.path().string()});
        ASSERT_EQ(chown.waitExit(10), 0) << chown.output();
        argv.insert(argv.begin(), {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    }
    ChildProcess daemon(argv, {server.displayEnv(), "HOME=" + home.path().string(), "SDL_VIDEODRIVER=",
                               "QUORVANE_CONFIG_DIR=", "XAUTHORITY=", "XDG_RUNTIME_DIR=", "XDG_CONFIG_HOME="});
    ASSERT_TRUE(daemon.started());
    // Ended with SIGTERM, the daemon ends its hack too, also when a check fails.
    struct EndGently {
        ChildProcess& p;
        ~EndGently() { p.signal(SIGTERM), p.waitExit(10); }
    } endDaemon{daemon};
    const auto command = [&](const char* what) {
        ChildProcess c({"xscreensaver-command", what}, {server.displayEnv()});
        daemon.output();  // keeps the daemon's pipe from filling
        return c.waitExit(10) == 0;
    };

    const auto start = std::chrono::steady_clock::now();
    // The command fails until the daemon has started.
    ASSERT_TRUE(within(15, [&] { return command("-activate"); }))
        << "the daemon did not take -activate:\n" << daemon.output();
    pid_t ours = 0;
    ASSERT_TRUE(within(15, [&] {
        const auto found = descendantsRunning(daemon.pid(), hack.string());
        return (ours = found.empty() ? 0 : found[0]) != 0;
    })) << "the daemon started no " << hack << ":\n" << daemon.output();
    EXPECT_TRUE(showsPicture(server.display(), 0)) << huesIn(server.display()) << " hues:\n" << daemon.output();
    std::printf("[ latency ] xscreensaver, daemon start to our picture: %.1f s\n", msSince(start) / 1000);
    // xscreensaver starts a failing hack again and again, each time anew.
    ASSERT_TRUE(processRunning(ours)) << "the hack (pid " << ours << ") died:\n" << daemon.output();

    const auto deactivated = std::chrono::steady_clock::now();
    ASSERT_TRUE(command("-deactivate")) << daemon.output();
    EXPECT_TRUE(within(10, [&] { return !processRunning(ours); }))
        << "the hack (pid " << ours << ") outlived -deactivate:\n" << daemon.output();
    std::printf("[ latency ] xscreensaver, -deactivate to the hack's end: %.1f s\n", msSince(deactivated) / 1000);
}

}  // namespace
