// The real xscreensaver daemon on Xvfb, with a private home whose settings
// list only our hack: activated, it runs the hack, whose pictures appear on
// the screen (the daemon's own blank is black); deactivated, it kills it.
// xscreensaver runs no hacks as root, so under root (as in CI) the daemon
// runs as the unprivileged user "nobody".

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "XvfbSession.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// Polls `done` every 100 ms until it holds or `seconds` pass.
bool within(double seconds, const std::function<bool()>& done) {
    for (const auto start = Clock::now();; std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
        if (done()) return true;
        if (secondsSince(start) > seconds) return false;
    }
}

// Fields of /proc/<pid>/stat after the command name: the state, then the parent.
bool readStat(pid_t pid, char& state, pid_t& parent) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(in)), {});
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return false;
    long ppid = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &ppid) != 2) return false;
    parent = static_cast<pid_t>(ppid);
    return true;
}

bool running(pid_t pid) {
    char state = 0;
    pid_t parent = 0;
    return readStat(pid, state, parent) && state != 'Z' && state != 'X';
}

// A live process below `ancestor` whose program is `exe`, or 0.
pid_t descendantRunning(pid_t ancestor, const fs::path& exe) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        if (!running(pid) || !fs::equivalent(fs::read_symlink(entry.path() / "exe", ec), exe, ec))
            continue;
        char state = 0;
        for (pid_t p = pid, parent = 0; p > 1 && readStat(p, state, parent); p = parent)
            if (parent == ancestor) return pid;
    }
    return 0;
}

// The number of different colours other than greys on the screen (or in
// `window`). When a hack fails, xscreensaver writes its obituary in grey text
// on black.
size_t huesOnScreen(const std::string& display, unsigned long window = 0) {
    const CSurface shot = takeScreenshot(display, window);
    std::set<COLORREF> colours;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const COLORREF c = shot.at(x, y);
            if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c)) colours.insert(c);
        }
    return colours.size();
}

// xscreensaver's settings program previews a hack by running its command
// line from the programs list with the id of its preview area appended, in
// the upper-case hexadecimal it prints: "quorvane -root --window-id 0x600D80".
TEST(XscreensaverSettings, PreviewDrawsInTheWindowItIsGiven) {
    const char* exe = std::getenv("QV_TEST_EXE");
    if (!exe) GTEST_SKIP() << "QV_TEST_EXE is not set";
    for (const char* tool : {"Xvfb", "xwd"})
        if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
    XvfbServer server(640, 480);
    ASSERT_TRUE(server.running()) << "could not start Xvfb";
    ForeignWindow preview(server.display(), {60, 40, 300, 220}, false);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lX", preview.id());
    TempFolder config;
    // XSCREENSAVER_WINDOW as the daemon leaves it in the environment: the
    // window id given later still counts.
    ChildProcess hack({exe, "-root", "--window-id", id},
                      {server.displayEnv(), "SDL_VIDEODRIVER=", "XSCREENSAVER_WINDOW=",
                       "QUORVANE_CONFIG_DIR=" + config.path().string()});
    size_t hues = 0;
    EXPECT_TRUE(within(20, [&] { return (hues = huesOnScreen(server.display(), preview.id())) > 20; }))
        << "only " << hues << " colours other than greys in the preview:\n" << hack.output();
    const CSurface screen = takeScreenshot(server.display());
    int outside = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            const COLORREF c = screen.at(x, y);
            const bool grey = GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
            outside += !grey && (x < 60 || x >= 300 || y < 40 || y >= 220);
        }
    EXPECT_EQ(outside, 0) << "nothing is drawn outside the preview";
    hack.signal(SIGTERM);
    EXPECT_EQ(hack.waitExit(10), 0) << hack.output();
}

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
    const std::vector<std::string> env = {server.displayEnv(), "HOME=" + home.path().string(),
                                          "SDL_VIDEODRIVER=", "QUORVANE_CONFIG_DIR=", "XAUTHORITY=",
                                          "XDG_RUNTIME_DIR=", "XDG_CONFIG_HOME="};
    ChildProcess daemon(argv, env);
    ASSERT_TRUE(daemon.started());
    // Ended with SIGTERM, the daemon ends its hack too, also when a check fails.
    struct EndGently {
        ChildProcess& p;
        ~EndGently() {
            p.signal(SIGTERM);
            p.waitExit(10);
        }
    } endDaemon{daemon};
    const auto command = [&](const char* what) {
        ChildProcess c({"xscreensaver-command", what}, {server.displayEnv()});
        daemon.output();  // keeps the daemon's pipe from filling
        return c.waitExit(10) == 0;
    };

    const auto start = Clock::now();
    // The command fails until the daemon has started.
    ASSERT_TRUE(within(15, [&] { return command("-activate"); }))
        << "the daemon did not take -activate:\n" << daemon.output();
    pid_t ours = 0;
    ASSERT_TRUE(within(15, [&] { return (ours = descendantRunning(daemon.pid(), hack)) != 0; }))
        << "the daemon started no " << hack << ":\n" << daemon.output();
    size_t hues = 0;
    EXPECT_TRUE(within(20, [&] { return (hues = huesOnScreen(server.display())) > 20; }))
        << "only " << hues << " colours other than greys on the screen:\n" << daemon.output();
    std::printf("[ latency ] xscreensaver, daemon start to our picture: %.1f s\n", secondsSince(start));
    // xscreensaver starts a failing hack again and again, each time anew.
    ASSERT_TRUE(running(ours)) << "the hack (pid " << ours << ") died:\n" << daemon.output();

    const auto deactivated = Clock::now();
    ASSERT_TRUE(command("-deactivate")) << daemon.output();
    EXPECT_TRUE(within(10, [&] { return !running(ours); }))
        << "the hack (pid " << ours << ") outlived -deactivate:\n" << daemon.output();
    std::printf("[ latency ] xscreensaver, -deactivate to the hack's end: %.1f s\n",
                secondsSince(deactivated));
}

}  // namespace
