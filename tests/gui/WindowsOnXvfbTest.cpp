// The SDL2 window backend on a real X server (Xvfb): the full-screen window,
// drawing inside another program's window, input injected with xdotool,
// the orderly end on SIGTERM and when the parent window goes away. Pixels
// are read back with xwd.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "XvfbSession.h"
#include "platform/PngWriter.h"
#include "support/DemoWindow.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

std::string demoExe() { return QV_DEMO_EXE; }

double secondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

class XvfbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "xwd"})
            if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
        m_server = std::make_unique<XvfbServer>(kScreenW, kScreenH);
        ASSERT_TRUE(m_server->running()) << "could not start Xvfb";
    }

    std::unique_ptr<ChildProcess> startDemo(const std::vector<std::string>& modeArgs,
                                            std::vector<std::string> env = {}) {
        std::vector<std::string> argv = {demoExe(), "--fps", "30", "--"};
        argv.insert(argv.end(), modeArgs.begin(), modeArgs.end());
        env.push_back(m_server->displayEnv());
        env.push_back("SDL_VIDEODRIVER=");  // the program must choose the driver itself
        return std::make_unique<ChildProcess>(argv, env);
    }

    void xdotool(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        ChildProcess p(argv, {m_server->displayEnv()});
        ASSERT_EQ(p.waitExit(10), 0) << p.errorOutput();
    }

    // Waits until the area of the screenshot shows nothing but the demo's
    // two colours; returns the last screenshot.
    CSurface waitForDemoPixels(unsigned long window, RECT area, double seconds = 10) {
        const auto start = std::chrono::steady_clock::now();
        CSurface shot;
        while (secondsSince(start) < seconds) {
            shot = takeScreenshot(m_server->display(), window);
            if (shot.valid() &&
                shareOf(shot, area, {DemoWindow::kColourA, DemoWindow::kColourB}) > 0.999)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (shot.valid() && secondsSince(start) >= seconds) {
            // Left behind for a look at what the screen showed instead.
            const std::string path = ::testing::TempDir() + "quorvane-xvfb-" +
                                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
            if (writePng(shot, CDisplay::instance().hardwarePalette(), path))
                std::printf("screenshot: %s\n", path.c_str());
        }
        return shot;
    }

    static unsigned long windowIdOf(ChildProcess& demo) {
        const auto line = demo.waitForLine("window ", 20);
        return line ? std::strtoul(line->c_str() + 7, nullptr, 16) : 0;
    }

    std::unique_ptr<XvfbServer> m_server;
};

TEST_F(XvfbTest, FullScreenWindowCoversTheScreenTakesInputAndEndsOnSigterm) {
    auto demo = startDemo({"/s"});
    const unsigned long id = windowIdOf(*demo);
    ASSERT_NE(id, 0u) << demo->errorOutput();

    ForeignWindow probe(m_server->display(), {0, 0, 1, 1}, false);
    EXPECT_EQ(probe.geometry(id), (RECT{0, 0, kScreenW, kScreenH}));
    const CSurface shot = waitForDemoPixels(0, {0, 0, kScreenW, kScreenH});
    ASSERT_TRUE(shot.valid());
    EXPECT_GT(shareOf(shot, shot.bounds(), {DemoWindow::kColourA}), 0.2);
    EXPECT_GT(shareOf(shot, shot.bounds(), {DemoWindow::kColourB}), 0.2);
    EXPECT_GT(shareOf(shot, shot.bounds(), {DemoWindow::kColourA, DemoWindow::kColourB}), 0.999);

    xdotool({"mousemove", "30", "40"});
    EXPECT_TRUE(demo->waitForLine("move 30 40", 10));
    xdotool({"key", "a"});
    EXPECT_TRUE(demo->waitForLine("key 65", 10));
    xdotool({"key", "alt+x"});
    EXPECT_TRUE(demo->waitForLine("syskey 88", 10));
    xdotool({"click", "3"});
    EXPECT_TRUE(demo->waitForLine("rbutton 30 40", 10));

    const auto sent = std::chrono::steady_clock::now();
    demo->signal(SIGTERM);
    const auto status = demo->waitExit(10);
    const double latency = secondsSince(sent);
    ASSERT_TRUE(status) << "still running 10 s after SIGTERM";
    EXPECT_EQ(*status, 0) << demo->errorOutput();
    EXPECT_TRUE(demo->waitForLine("destroy", 0));
    std::printf("[ latency ] full screen, SIGTERM to exit: %.1f ms\n", latency * 1000);
}

TEST_F(XvfbTest, PreviewDrawsInsideAForeignWindowFollowsItAndEndsWithIt) {
    // The owner of the window holds its button presses, as a preview
    // dialog may: the child must still get clicks, and must not fail.
    ForeignWindow parent(m_server->display(), {100, 50, 100 + 320, 50 + 240}, true);
    ASSERT_NE(parent.id(), 0u);
    auto demo = startDemo({"/p", std::to_string(parent.id())});
    const unsigned long child = windowIdOf(*demo);
    ASSERT_NE(child, 0u) << demo->errorOutput();
    EXPECT_EQ(parent.geometry(child), (RECT{100, 50, 420, 290}));

    const CSurface shot = waitForDemoPixels(0, {100, 50, 420, 290});
    ASSERT_TRUE(shot.valid());
    EXPECT_GT(shareOf(shot, {100, 50, 420, 290}, {DemoWindow::kColourA, DemoWindow::kColourB}), 0.999);
    // Nothing outside the parent is drawn on.
    EXPECT_EQ(shareOf(shot, {0, 0, 100, kScreenH}, {DemoWindow::kColourA, DemoWindow::kColourB}), 0.0);

    xdotool({"mousemove", "110", "70"});
    EXPECT_TRUE(demo->waitForLine("move 10 20", 10));
    xdotool({"key", "Escape"});
    EXPECT_TRUE(demo->waitForLine("key 27", 10));
    xdotool({"click", "1"});
    EXPECT_TRUE(demo->waitForLine("lbutton 10 20", 10));

    parent.resize(200, 100);
    EXPECT_TRUE(demo->waitForLine("size 200 100", 10));
    EXPECT_EQ(parent.geometry(child), (RECT{100, 50, 300, 150}));

    const auto gone = std::chrono::steady_clock::now();
    parent.destroy();
    const auto status = demo->waitExit(10);
    const double latency = secondsSince(gone);
    ASSERT_TRUE(status) << "the preview outlived its parent window by 10 s";
    EXPECT_EQ(*status, 0) << demo->errorOutput();
    std::printf("[ latency ] preview, parent destroyed to exit: %.1f ms\n", latency * 1000);
}

TEST_F(XvfbTest, ScreenSaverHackUsesItsWindowAndEndsOnSigterm) {
    ForeignWindow given(m_server->display(), {0, 0, kScreenW, kScreenH}, false);
    auto demo = startDemo({"-root"}, {"XSCREENSAVER_WINDOW=0x" + [&] {
                                          char hex[32];
                                          std::snprintf(hex, sizeof hex, "%lx", given.id());
                                          return std::string(hex);
                                      }()});
    const unsigned long child = windowIdOf(*demo);
    ASSERT_NE(child, 0u) << demo->errorOutput();
    EXPECT_EQ(given.geometry(child), (RECT{0, 0, kScreenW, kScreenH}));
    const CSurface shot = waitForDemoPixels(given.id(), {0, 0, kScreenW, kScreenH});
    ASSERT_TRUE(shot.valid());
    EXPECT_GT(shareOf(shot, shot.bounds(), {DemoWindow::kColourA, DemoWindow::kColourB}), 0.999);

    xdotool({"mousemove", "5", "6"});
    EXPECT_TRUE(demo->waitForLine("move 5 6", 10));

    const auto sent = std::chrono::steady_clock::now();
    demo->signal(SIGTERM);
    const auto status = demo->waitExit(10);
    const double latency = secondsSince(sent);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0) << demo->errorOutput();
    std::printf("[ latency ] xscreensaver window, SIGTERM to exit: %.1f ms\n", latency * 1000);
}

TEST_F(XvfbTest, WindowIdThatDoesNotExistIsRefusedClearly) {
    auto demo = startDemo({"-window-id", "0x7ffffff"});
    const auto status = demo->waitExit(20);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 1);
    EXPECT_NE(demo->errorOutput().find("no window"), std::string::npos) << demo->errorOutput();
}

TEST(NoDisplay, SaysSoAndExitsWithOne) {
    ChildProcess demo({demoExe(), "--", "/s"}, {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="});
    const auto status = demo.waitExit(20);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 1);
    EXPECT_EQ(demo.errorOutput(), "no display: set DISPLAY, or use --render\n");
}

}  // namespace

namespace {

TEST(HeadlessRun, EndsInTheOrderlyWayOnSigintAndSighup) {
    for (int sig : {SIGINT, SIGHUP}) {
        ChildProcess demo({demoExe(), "--", "--render", "/nonexistent/never.png", "--seconds", "1000000"});
        ASSERT_TRUE(demo.waitForLine("window ", 20)) << demo.errorOutput();
        demo.signal(sig);
        const auto status = demo.waitExit(20);
        ASSERT_TRUE(status) << "signal " << sig;
        EXPECT_EQ(*status, 0) << demo.errorOutput();
        EXPECT_TRUE(demo.waitForLine("destroy", 0)) << "signal " << sig;
    }
}

}  // namespace
