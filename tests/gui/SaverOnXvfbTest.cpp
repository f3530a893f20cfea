// The quorvane program itself on an X server (Xvfb): the full-screen saver
// covers the screen, draws, and ends on a key; the saver in a window ends on
// a click; as an xscreensaver hack it draws into the window it is given and
// ends on SIGTERM. Pixels are read back with xwd.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

#include "XvfbSession.h"
#include "platform/PngWriter.h"
#include "support/TempFolder.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

double secondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

size_t coloursIn(const CSurface& s) {
    std::set<uint32_t> colours;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) colours.insert(s.at(x, y));
    return colours.size();
}

class SaverOnXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("QV_TEST_EXE")) GTEST_SKIP() << "QV_TEST_EXE is not set";
        for (const char* tool : {"Xvfb", "xdotool", "xwd"})
            if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
        server = std::make_unique<XvfbServer>(kScreenW, kScreenH);
        ASSERT_TRUE(server->running()) << "could not start Xvfb";
    }

    std::unique_ptr<ChildProcess> start(std::vector<std::string> args, std::vector<std::string> env = {}) {
        args.insert(args.begin(), std::getenv("QV_TEST_EXE"));
        env.push_back(server->displayEnv());
        env.push_back("QUORVANE_CONFIG_DIR=" + config.path().string());
        env.push_back("SDL_VIDEODRIVER=");
        return std::make_unique<ChildProcess>(args, env);
    }

    void xdotool(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        ChildProcess p(argv, {server->displayEnv()});
        ASSERT_EQ(p.waitExit(10), 0) << p.errorOutput();
    }

    // The program's top-level window, by its title.
    unsigned long findWindow(double seconds = 20) {
        const auto t = std::chrono::steady_clock::now();
        while (secondsSince(t) < seconds) {
            ChildProcess search({"xdotool", "search", "--name", "^Quorvane$"}, {server->displayEnv()});
            search.waitExit(10);
            if (!search.lines().empty()) return std::strtoul(search.lines().front().c_str(), nullptr, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return 0;
    }

    // Waits until the window shows a picture of many colours; returns the
    // last screenshot, which is left behind as a PNG when that never happens.
    CSurface waitForDrawing(unsigned long window, double seconds = 20) {
        const auto t = std::chrono::steady_clock::now();
        CSurface shot;
        while (secondsSince(t) < seconds) {
            shot = takeScreenshot(server->display(), window);
            if (shot.valid() && coloursIn(shot) > 20) return shot;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        const std::string path = ::testing::TempDir() + "quorvane-xvfb-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
        if (shot.valid() && writePng(shot, CDisplay::instance().hardwarePalette(), path))
            std::printf("screenshot: %s\n", path.c_str());
        return shot;
    }

    std::unique_ptr<XvfbServer> server;
    TempFolder config;
};

TEST_F(SaverOnXvfb, FullScreenCoversTheScreenDrawsAndEndsOnAKey) {
    auto saver = start({"/s", "/r7"});
    const unsigned long id = findWindow();
    ASSERT_NE(id, 0u) << saver->errorOutput();
    ForeignWindow probe(server->display(), {0, 0, 1, 1}, false);
    EXPECT_EQ(probe.geometry(id), (RECT{0, 0, kScreenW, kScreenH}));
    const CSurface shot = waitForDrawing(0);
    EXPECT_GT(coloursIn(shot), 20u);

    // Mouse jitter within 20 pixels of where the mouse was first seen (the
    // pointer starts in the middle of the screen) leaves it drawing.
    xdotool({"mousemove", "330", "250"});
    xdotool({"mousemove", "310", "230"});
    xdotool({"mousemove", "325", "235"});
    EXPECT_FALSE(saver->waitExit(0.5)) << saver->errorOutput();

    const auto pressed = std::chrono::steady_clock::now();
    xdotool({"key", "a"});
    const auto status = saver->waitExit(10);
    const double latency = secondsSince(pressed);
    ASSERT_TRUE(status) << "still running 10 s after a key";
    EXPECT_EQ(*status, 0) << saver->errorOutput();
    std::printf("[ latency ] full screen, key to exit: %.1f ms\n", latency * 1000);
}

TEST_F(SaverOnXvfb, InAWindowAClickEndsIt) {
    auto saver = start({"--window", "320x200"});
    const unsigned long id = findWindow();
    ASSERT_NE(id, 0u) << saver->errorOutput();
    ForeignWindow probe(server->display(), {0, 0, 1, 1}, false);
    EXPECT_EQ(probe.geometry(id), (RECT{160, 140, 480, 340})) << "centred";
    waitForDrawing(id);
    xdotool({"mousemove", "310", "250"});
    EXPECT_FALSE(saver->waitExit(0.5)) << saver->errorOutput();
    xdotool({"click", "1"});
    const auto status = saver->waitExit(10);
    ASSERT_TRUE(status) << "still running 10 s after a click";
    EXPECT_EQ(*status, 0) << saver->errorOutput();
}

TEST_F(SaverOnXvfb, AsAHackItDrawsInTheGivenWindowAndEndsOnSigterm) {
    ForeignWindow given(server->display(), {40, 30, 40 + 400, 30 + 300}, false);
    ASSERT_NE(given.id(), 0u);
    auto saver = start({"-window-id", std::to_string(given.id())});
    const CSurface shot = waitForDrawing(given.id());
    ASSERT_TRUE(shot.valid());
    EXPECT_EQ(shot.width(), 400);
    EXPECT_GT(coloursIn(shot), 20u) << saver->errorOutput();
    // Input is xscreensaver's business: a key does not end the hack.
    xdotool({"key", "a"});
    EXPECT_FALSE(saver->waitExit(0.5));

    const auto sent = std::chrono::steady_clock::now();
    saver->signal(SIGTERM);
    const auto status = saver->waitExit(10);
    ASSERT_TRUE(status) << "still running 10 s after SIGTERM";
    EXPECT_EQ(*status, 0) << saver->errorOutput();
    std::printf("[ latency ] xscreensaver window, SIGTERM to exit: %.1f ms\n",
                secondsSince(sent) * 1000);
    // Nothing outside the given window was drawn on.
    const CSurface screen = takeScreenshot(server->display());
    ASSERT_TRUE(screen.valid());
    CSurface left(40, kScreenH, 32);
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < 40; ++x) left.row32(y)[x] = screen.at(x, y);
    EXPECT_LE(coloursIn(left), 2u);
}

}  // namespace
