// The SDL2 window backend on a real X server (Xvfb), through the
// demonstration window: full screen, inside another program's window,
// input injected with xdotool, the orderly end on SIGTERM and when the
// parent window goes away. Pixels are read back with xwd.

#include <signal.h>

#include <sstream>

#include "XvfbSession.h"
#include "platform/PngWriter.h"
#include "support/DemoWindow.h"

namespace {

constexpr int kScreenW = 640, kScreenH = 480;
constexpr RECT kScreen{0, 0, kScreenW, kScreenH};

class DemoOnXvfb : public XvfbTest {
protected:
    void SetUp() override { start(kScreenW, kScreenH); }
    // The demo in a mode of the program's, with the window id it printed.
    std::unique_ptr<ChildProcess> startDemo(const std::vector<std::string>& modeArgs,
                                            std::vector<std::string> env = {}) {
        std::vector<std::string> argv = {QV_DEMO_EXE, "--fps", "30", "--"};
        argv.insert(argv.end(), modeArgs.begin(), modeArgs.end());
        env.push_back(m_server->displayEnv());
        env.push_back("SDL_VIDEODRIVER=");  // the program must choose the driver itself
        auto demo = std::make_unique<ChildProcess>(argv, env);
        const auto line = demo->waitForLine("window ", 20);
        m_window = line ? std::strtoul(line->c_str() + 7, nullptr, 16) : 0;
        EXPECT_NE(m_window, 0u) << demo->output();
        return demo;
    }
    // Waits until the area shows nothing but the demo's two colours; the last screenshot.
    CSurface demoPixels(unsigned long window, RECT area) {
        CSurface shot;
        if (within(10, [&] {
                shot = takeScreenshot(m_server->display(), window);
                return shareOf(shot, area, {DemoWindow::kColourA, DemoWindow::kColourB}) > 0.999;
            }))
            return shot;
        const std::string path = ::testing::TempDir() + "quorvane-xvfb-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
        ADD_FAILURE() << "not the demo's pixels; the screen is in " << path;
        writePng(shot, CDisplay::instance().hardwarePalette(), path);
        return shot;
    }
    // Each xdotool command is followed by the line the demo prints for it.
    void inputArrives(const std::vector<std::pair<std::vector<std::string>, std::string>>& steps,
                      ChildProcess& demo) {
        for (const auto& [command, line] : steps) {
            xdotool(command);
            EXPECT_TRUE(demo.waitForLine(line, 10)) << line;
        }
    }

    unsigned long m_window = 0;
};

TEST_F(DemoOnXvfb, FullScreenWindowCoversTheScreenTakesInputAndEndsOnSigterm) {
    auto demo = startDemo({"/s"});
    ForeignWindow probe(m_server->display(), {0, 0, 1, 1}, false);
    EXPECT_EQ(probe.geometry(m_window), kScreen);
    const CSurface shot = demoPixels(0, kScreen);
    EXPECT_GT(shareOf(shot, kScreen, {DemoWindow::kColourA}), 0.2);
    EXPECT_GT(shareOf(shot, kScreen, {DemoWindow::kColourB}), 0.2);
    inputArrives({{{"mousemove", "30", "40"}, "move 30 40"},
                  {{"key", "a"}, "key 65"},
                  {{"key", "alt+x"}, "syskey 88"},
                  {{"click", "3"}, "rbutton 30 40"}},
                 *demo);
    expectCleanExit(*demo, "full screen, SIGTERM to exit", [&] { demo->signal(SIGTERM); });
    EXPECT_TRUE(demo->waitForLine("destroy", 0));
}

TEST_F(DemoOnXvfb, PreviewDrawsInsideAForeignWindowFollowsItAndEndsWithIt) {
    // The owner of the window holds its button presses, as a preview
    // dialog may: the child must still get clicks, and must not fail.
    ForeignWindow parent(m_server->display(), {100, 50, 420, 290}, true);
    auto demo = startDemo({"/p", std::to_string(parent.id())});
    EXPECT_EQ(parent.geometry(m_window), (RECT{100, 50, 420, 290}));
    const CSurface shot = demoPixels(0, {100, 50, 420, 290});
    EXPECT_EQ(shareOf(shot, {0, 0, 100, kScreenH}, {DemoWindow::kColourA, DemoWindow::kColourB}), 0.0)
        << "nothing outside the parent is drawn on";
    inputArrives({{{"mousemove", "110", "70"}, "move 10 20"},
                  {{"key", "Escape"}, "key 27"},
                  {{"click", "1"}, "lbutton 10 20"}},
                 *demo);
    parent.resize(200, 100);
    EXPECT_TRUE(demo->waitForLine("size 200 100", 10));
    EXPECT_EQ(parent.geometry(m_window), (RECT{100, 50, 300, 150}));
    expectCleanExit(*demo, "preview, parent destroyed to exit", [&] { parent.destroy(); });
}

TEST_F(DemoOnXvfb, ScreenSaverHackUsesItsWindowAndEndsOnSigterm) {
    ForeignWindow given(m_server->display(), kScreen, false);
    std::ostringstream hex;
    hex << "XSCREENSAVER_WINDOW=0x" << std::hex << given.id();
    auto demo = startDemo({"-root"}, {hex.str()});
    EXPECT_EQ(given.geometry(m_window), kScreen);
    demoPixels(given.id(), kScreen);
    inputArrives({{{"mousemove", "5", "6"}, "move 5 6"}}, *demo);
    expectCleanExit(*demo, "xscreensaver window, SIGTERM to exit", [&] { demo->signal(SIGTERM); });
}

TEST_F(DemoOnXvfb, WindowIdThatDoesNotExistIsRefusedClearly) {
    ChildProcess demo({QV_DEMO_EXE, "--", "-window-id", "0x7ffffff"},
                      {m_server->displayEnv(), "SDL_VIDEODRIVER="});
    EXPECT_EQ(demo.waitExit(20), 1);
    EXPECT_NE(demo.output().find("no window"), std::string::npos) << demo.output();
}

TEST(NoDisplay, SaysSoAndExitsWithOne) {
    ChildProcess demo({QV_DEMO_EXE, "--", "/s"}, {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="});
    EXPECT_EQ(demo.waitExit(20), 1);
    EXPECT_EQ(demo.output(), "no display: set DISPLAY, or use --render\n");
}

TEST(HeadlessRun, EndsInTheOrderlyWayOnSigintAndSighup) {
    for (int sig : {SIGINT, SIGHUP}) {
        ChildProcess demo({QV_DEMO_EXE, "--", "--render", "/nonexistent/never.png", "--seconds", "1000000"});
        ASSERT_TRUE(demo.waitForLine("window ", 20)) << demo.output();
        demo.signal(sig);
        EXPECT_EQ(demo.waitExit(20), 0) << "signal " << sig << ": " << demo.output();
        EXPECT_TRUE(demo.waitForLine("destroy", 0)) << "signal " << sig;
    }
}

}  // namespace
