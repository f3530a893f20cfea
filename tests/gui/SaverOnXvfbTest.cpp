// The quorvane program itself on an X server (Xvfb): full screen it covers
// the screen, draws, outlasts mouse jitter and ends on a key or a larger
// move; in a window it outlasts the mouse and ends on a key; as an
// xscreensaver hack it draws into the window it is given, leaves input to
// xscreensaver and ends on SIGTERM. Pixels are read back with xwd.

#include <signal.h>

#include <cstdlib>

#include "XvfbSession.h"
#include "support/TempFolder.h"

namespace {

class SaverOnXvfb : public XvfbTest {
protected:
    void SetUp() override {
        if (!std::getenv("QV_TEST_EXE")) GTEST_SKIP() << "QV_TEST_EXE is not set";
        start(640, 480);
    }
    std::unique_ptr<ChildProcess> saver(std::vector<std::string> args) {
        args.insert(args.begin(), std::getenv("QV_TEST_EXE"));
        return std::make_unique<ChildProcess>(
            args, std::vector<std::string>{m_server->displayEnv(), "SDL_VIDEODRIVER=",
                                           "QUORVANE_CONFIG_DIR=" + config.path().string()});
    }

    // The id of the program's own window, once it is mapped; 0 after 20 s.
    unsigned long ourWindow() {
        std::vector<std::string> found;
        for (const auto t = std::chrono::steady_clock::now(); found.empty() && msSince(t) < 20000;) {
            // Window ids, among any warnings.
            found = xdotool({"search", "--onlyvisible", "--name", "^Quorvane$"}, true);
            std::erase_if(found, [](const std::string& l) {
                return l.empty() || l.find_first_not_of("0123456789") != l.npos;
            });
        }
        return found.empty() ? 0 : std::stoul(found[0]);
    }
    TempFolder config;
};

TEST_F(SaverOnXvfb, FullScreenCoversTheScreenDrawsAndEndsOnAKey) {
    auto s = saver({"/s"});
    const unsigned long window = ourWindow();
    ASSERT_NE(window, 0u) << s->output();
    ForeignWindow probe(m_server->display(), {0, 0, 1, 1}, false);
    EXPECT_EQ(probe.geometry(window), (RECT{0, 0, 640, 480}));
    EXPECT_TRUE(showsPicture(m_server->display(), 0));
    // Jitter within 20 pixels of the pointer's first place (the middle).
    xdotool({"mousemove", "330", "250"});
    xdotool({"mousemove", "310", "230"});
    EXPECT_FALSE(s->waitExit(0.5)) << s->output();
    expectCleanExit(*s, "full screen, key to exit", [&] { xdotool({"key", "a"}); });
}

TEST_F(SaverOnXvfb, FullScreenEndsOnAMoveOfTwentyOnePixels) {
    auto s = saver({"/s"});
    ASSERT_NE(ourWindow(), 0u) << s->output();
    xdotool({"mousemove", "320", "240"});
    EXPECT_FALSE(s->waitExit(0.5)) << "the first place seen ends nothing: " << s->output();
    expectCleanExit(*s, "full screen, 21-pixel move to exit", [&] { xdotool({"mousemove", "341", "240"}); });
}

// An ordinary window is for watching: the pointer may cross it and click in
// it; a key ends it.
TEST_F(SaverOnXvfb, InAWindowItOutlastsTheMouseAndEndsOnAKey) {
    auto s = saver({"--window", "320x240"});
    const unsigned long window = ourWindow();
    ASSERT_NE(window, 0u) << s->output();
    EXPECT_TRUE(showsPicture(m_server->display(), window)) << s->output();
    for (const auto& [x, y] : {std::pair{"170", "130"}, {"470", "350"}, {"320", "240"}, {"200", "150"}})
        xdotool({"mousemove", x, y});
    for (const char* button : {"1", "2", "3"}) xdotool({"click", button});
    EXPECT_FALSE(s->waitExit(0.5)) << "the mouse ended the window: " << s->output();
    // There is no window manager to give it the focus when it appears.
    xdotool({"windowfocus", "--sync", std::to_string(window)});
    expectCleanExit(*s, "window, key to exit", [&] { xdotool({"key", "a"}); });
}

TEST_F(SaverOnXvfb, AsAHackItDrawsInTheGivenWindowAndEndsOnSigterm) {
    ForeignWindow given(m_server->display(), {40, 30, 440, 330}, false);
    auto s = saver({"-window-id", std::to_string(given.id())});
    EXPECT_TRUE(showsPicture(m_server->display(), given.id())) << s->output();
    xdotool({"key", "a"});
    EXPECT_FALSE(s->waitExit(0.5)) << "input is xscreensaver's business";
    expectCleanExit(*s, "xscreensaver window, SIGTERM to exit", [&] { s->signal(SIGTERM); });
}

}  // namespace
