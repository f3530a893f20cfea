// The quorvane program itself on an X server (Xvfb): full screen it covers
// the screen, draws, outlasts mouse jitter and ends on a key or a larger
// move; in a window it outlasts the mouse and ends on a key; as an
// xscreensaver hack it draws only into the window it is given, leaves input
// to xscreensaver and ends on SIGTERM. Pixels are read back with xwd.

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
    std::unique_ptr<ChildProcess> saver(std::vector<std::string> args, std::vector<std::string> env = {}) {
        args.insert(args.begin(), std::getenv("QV_TEST_EXE"));
        env.insert(env.end(), {m_server->displayEnv(), "SDL_VIDEODRIVER=",
                               "QUORVANE_CONFIG_DIR=" + config.path().string()});
        return std::make_unique<ChildProcess>(args, env);
    }
    TempFolder config;
};

// The pointer starts in the middle; moves within 20 pixels of where it was
// first seen end nothing, a key or a move of 21 pixels does.
TEST_F(SaverOnXvfb, FullScreenCoversTheScreenDrawsAndEndsOnAKeyOrALargerMove) {
    for (const bool byKey : {true, false}) {
        auto s = saver({"/s"});
        const unsigned long window = windowNamed("^Quorvane$");
        ASSERT_NE(window, 0u) << s->output();
        if (byKey) {
            ForeignWindow probe(m_server->display(), {0, 0, 1, 1}, false);
            EXPECT_EQ(probe.geometry(window), (RECT{0, 0, 640, 480}));
            EXPECT_TRUE(showsPicture(m_server->display(), 0));
            xdotool({"mousemove", "330", "250"});
            xdotool({"mousemove", "310", "230"});
        } else {
            xdotool({"mousemove", "320", "240"});
        }
        EXPECT_FALSE(s->waitExit(0.5)) << s->output();
        using Args = std::vector<std::string>;
        const Args cause = byKey ? Args{"key", "a"} : Args{"mousemove", "341", "240"};
        expectCleanExit(*s, byKey ? "full screen, key to exit" : "full screen, 21-pixel move to exit",
                        [&] { xdotool(cause); });
    }
}

// An ordinary window is for watching: the pointer may cross it and click in
// it; a key ends it.
TEST_F(SaverOnXvfb, InAWindowItOutlastsTheMouseAndEndsOnAKey) {
    auto s = saver({"--window", "320x240"});
    const unsigned long window = windowNamed("^Quorvane$");
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

// xscreensaver's settings program previews a hack by running its command
// line with the id of its preview area appended, in the upper-case hex it
// prints ("-root --window-id 0x600D80"), and XSCREENSAVER_WINDOW as the
// daemon left it: the window id given later counts.
TEST_F(SaverOnXvfb, AsAHackItDrawsOnlyInTheGivenWindowAndEndsOnSigterm) {
    ForeignWindow given(m_server->display(), {60, 40, 300, 220}, false);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lX", given.id());
    auto s = saver({"-root", "--window-id", id}, {"XSCREENSAVER_WINDOW="});
    EXPECT_TRUE(showsPicture(m_server->display(), given.id())) << s->output();
    const CSurface screen = takeScreenshot(m_server->display());
    int outside = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            const COLORREF c = screen.at(x, y);
            const bool grey = GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
            outside += !grey && (x < 60 || x >= 300 || y < 40 || y >= 220);
        }
    EXPECT_EQ(outside, 0) << "nothing is drawn outside the window";
    xdotool({"key", "a"});
    EXPECT_FALSE(s->waitExit(0.5)) << "input is xscreensaver's business";
    expectCleanExit(*s, "xscreensaver window, SIGTERM to exit", [&] { s->signal(SIGTERM); });
}

}  // namespace
