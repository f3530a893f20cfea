// The quorvane program itself on an X server (Xvfb): full screen it covers
// the screen, draws, outlasts mouse jitter and ends on a key or a larger
// move; in a window it outlasts the mouse and ends on a key; a preview
// lives and ends with the window it is given; as an xscreensaver hack it
// draws only into the window it is given, leaves input to xscreensaver and
// ends on SIGTERM. Pixels are read back with xwd.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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
        // A seed whose first pictures show within the tests' waits: a
        // chosen one may start with a dim or sparse drawing.
        args.insert(args.end(), {"--seed", "1"});
        env.insert(env.end(), {m_server->displayEnv(),
                               "SDL_VIDEODRIVER=", "QUORVANE_CONFIG_DIR=" + config.path().string()});
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

bool fileHolds(const std::filesystem::path& file, const std::string& text) {
    std::ifstream in(file);
    const std::string all{std::istreambuf_iterator<char>(in), {}};
    return all.find(text) != std::string::npos;
}

// The image style in a window, showing pictures in order, with the settings
// file held by another process: its write of the image cursor does not wait
// for it, and a key ends the window at once. (A picture replaced by a FIFO
// after the folder was listed is the readers' test, ImageJPEGTest.cpp.)
TEST_F(SaverOnXvfb, ABusySettingsFileDoesNotHoldUpTheEnd) {
    TempFolder pictures;
    for (const char* name : {"a.bmp", "b.bmp"})
        ASSERT_EQ(ChildProcess(
                      {"convert", "-size", "4x4", "xc:#F0A020", "BMP3:" + (pictures.path() / name).string()})
                      .waitExit(20),
                  0);
    config.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                                 "ImageOrder=1\nImagePause=1\nImageNext=0\nMessage3=trace\n");
    config.write("Quorvane5.ini", "[Quorvane]\nFolders=" + pictures.path().string() + "*\n");
    const std::filesystem::path trace = config.path() / "trace.txt";
    const std::string lockFile = (config.path() / "registry.ini.lock").string();
    const int lock = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_TRUE(lock >= 0 && ::flock(lock, LOCK_EX) == 0);
    auto s =
        saver({"--window", "320x240", "--style", "Bitmap"}, {"QUORTEMP=", "TEMP=" + config.path().string()});
    // The cursor's write was tried once the first picture's path is traced;
    // a writer that waits for the lock sits with the lock file open
    // meanwhile, a second and more.
    const auto lockOpen = [&] {
        std::error_code ec;
        for (const auto& fd :
             std::filesystem::directory_iterator("/proc/" + std::to_string(s->pid()) + "/fd", ec))
            if (std::filesystem::read_symlink(fd.path(), ec) == lockFile) return true;
        return false;
    };
    int polls = 0;
    EXPECT_TRUE(within(30, [&] {
        polls = lockOpen() ? polls + 1 : 0;
        return fileHolds(trace, "sFilePathName") || polls > 10;
    }));
    const unsigned long window = windowNamed("^Quorvane$");
    ASSERT_NE(window, 0u) << s->output();
    xdotool({"windowfocus", "--sync", std::to_string(window)});
    expectCleanExit(*s, "settings file held by another process, key to exit", [&] { xdotool({"key", "a"}); });
    ::close(lock);
    EXPECT_TRUE(fileHolds(config.path() / "registry.ini", "ImageNext=0"));
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

// A preview draws inside the window it is given (whose owner holds its
// button presses, as a preview dialog may), follows its size, lets clicks
// be and ends when the window goes. A window that is not there is refused.
TEST_F(SaverOnXvfb, APreviewLivesInItsWindowFollowsItAndEndsWithIt) {
    ForeignWindow parent(m_server->display(), {100, 50, 420, 290}, true);
    auto s = saver({"/p", std::to_string(parent.id())});
    EXPECT_TRUE(showsPicture(m_server->display(), parent.id())) << s->output();
    xdotool({"mousemove", "110", "70"});
    xdotool({"click", "1"});
    EXPECT_FALSE(s->waitExit(0.5)) << s->output();
    parent.resize(200, 100);
    EXPECT_TRUE(within(10, [&] { return parent.geometry(parent.firstChild()) == RECT{100, 50, 300, 150}; }));
    expectCleanExit(*s, "preview, parent destroyed to exit", [&] { parent.destroy(); });
    for (const char* mode : {"/p", "-window-id"}) {
        auto missing = saver({mode, "134217727"});  // 0x7ffffff
        EXPECT_EQ(missing->waitExit(20), 1) << mode;
        EXPECT_NE(missing->output().find("there is no window"), std::string::npos) << missing->output();
    }
}

}  // namespace
