// The quorvane program itself on an X server (Xvfb): full screen it covers
// the screen, draws, outlasts mouse jitter and ends on a key; as an
// xscreensaver hack it draws into the window it is given, leaves input to
// xscreensaver and ends on SIGTERM. Pixels are read back with xwd.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

#include "XvfbSession.h"
#include "support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

class SaverOnXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("QV_TEST_EXE")) GTEST_SKIP() << "QV_TEST_EXE is not set";
        for (const char* tool : {"Xvfb", "xdotool", "xwd"})
            if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed";
        server = std::make_unique<XvfbServer>(640, 480);
        ASSERT_TRUE(server->running()) << "could not start Xvfb";
    }
    std::unique_ptr<ChildProcess> start(std::vector<std::string> args) {
        args.insert(args.begin(), std::getenv("QV_TEST_EXE"));
        return std::make_unique<ChildProcess>(
            args, std::vector<std::string>{server->displayEnv(), "SDL_VIDEODRIVER=",
                                           "QUORVANE_CONFIG_DIR=" + config.path().string()});
    }
    std::vector<std::string> xdotool(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        ChildProcess p(argv, {server->displayEnv()});
        p.waitExit(10);
        return p.lines();
    }
    // True once the window (0: the screen) shows a picture of many colours.
    bool drawn(unsigned long window) {
        for (const auto t = Clock::now(); msSince(t) < 20000;
             std::this_thread::sleep_for(std::chrono::milliseconds(200))) {
            const CSurface s = takeScreenshot(server->display(), window);
            std::set<uint32_t> colours;
            for (int y = 0; y < s.height(); ++y)
                for (int x = 0; x < s.width(); ++x) colours.insert(s.at(x, y));
            if (colours.size() > 20) return true;
        }
        return false;
    }

    std::unique_ptr<XvfbServer> server;
    TempFolder config;
};

TEST_F(SaverOnXvfb, FullScreenCoversTheScreenDrawsAndEndsOnAKey) {
    auto saver = start({"/s"});
    std::vector<std::string> found;
    for (const auto t = Clock::now(); found.empty() && msSince(t) < 20000;)
        found = xdotool({"search", "--name", "^Quorvane$"});
    ASSERT_FALSE(found.empty()) << saver->errorOutput();
    ForeignWindow probe(server->display(), {0, 0, 1, 1}, false);
    EXPECT_EQ(probe.geometry(std::stoul(found[0])), (RECT{0, 0, 640, 480}));
    EXPECT_TRUE(drawn(0));
    // Jitter within 20 pixels of the pointer's first place (the middle).
    xdotool({"mousemove", "330", "250"});
    xdotool({"mousemove", "310", "230"});
    EXPECT_FALSE(saver->waitExit(0.5)) << saver->errorOutput();

    const auto pressed = Clock::now();
    xdotool({"key", "a"});
    const auto status = saver->waitExit(10);
    ASSERT_TRUE(status) << "still running 10 s after a key";
    EXPECT_EQ(*status, 0) << saver->errorOutput();
    std::printf("[ latency ] full screen, key to exit: %.1f ms\n", msSince(pressed));
}

TEST_F(SaverOnXvfb, AsAHackItDrawsInTheGivenWindowAndEndsOnSigterm) {
    ForeignWindow given(server->display(), {40, 30, 440, 330}, false);
    auto saver = start({"-window-id", std::to_string(given.id())});
    EXPECT_TRUE(drawn(given.id())) << saver->errorOutput();
    xdotool({"key", "a"});
    EXPECT_FALSE(saver->waitExit(0.5)) << "input is xscreensaver's business";

    const auto sent = Clock::now();
    saver->signal(SIGTERM);
    const auto status = saver->waitExit(10);
    ASSERT_TRUE(status) << "still running 10 s after SIGTERM";
    EXPECT_EQ(*status, 0) << saver->errorOutput();
    std::printf("[ latency ] xscreensaver window, SIGTERM to exit: %.1f ms\n", msSince(sent));
}

}  // namespace
