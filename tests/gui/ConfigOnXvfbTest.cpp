// The configuration program on an X server: its preview pane runs the saver
// inside the sheet, starts it again with the edited values when a control
// changes, and takes it along when the sheet closes.

#include <cstdlib>
#include <filesystem>

#include "XvfbSession.h"
#include "support/TempFolder.h"

namespace {

#ifdef QV_CONFIG_EXE

class ConfigOnXvfb : public XvfbTest {
protected:
    void SetUp() override {
        if (!std::getenv("QV_TEST_EXE")) GTEST_SKIP() << "QV_TEST_EXE is not set";
        if (!toolOnPath("xwininfo"))
            GTEST_SKIP() << "xwininfo is not installed (scripts/deps.sh installs it)";
        start(1280, 800);
    }
    // The windows the saver made inside the preview pane (unnamed, of its size).
    std::vector<unsigned long> previewWindows() {
        ChildProcess tree({"xwininfo", "-root", "-tree"}, {m_server->displayEnv()});
        tree.waitExit(10);
        std::vector<unsigned long> ids;
        for (const std::string& line : tree.lines())
            if (line.find("(has no name): ()  320x200") != std::string::npos)
                ids.push_back(std::stoul(line.substr(line.find("0x")), nullptr, 16));
        return ids;
    }
    // Waits until the pane holds one saver window drawn by one saver other
    // than `old`; its window, or 0 when none comes.
    unsigned long waitForPreview(pid_t sheet, pid_t& saver, pid_t old = 0) {
        std::vector<unsigned long> ids;
        const bool one = within(30, [&] {
            const auto pids = descendantsRunning(sheet, std::getenv("QV_TEST_EXE"));
            ids = previewWindows();
            saver = pids.size() == 1 ? pids[0] : 0;
            return saver != 0 && saver != old && ids.size() == 1;
        });
        return one ? ids[0] : 0;
    }

    TempFolder config;
};

TEST_F(ConfigOnXvfb, PreviewRunsInsideRestartsOnChangeAndEndsWithTheSheet) {
    const std::string saverDir = std::filesystem::path(std::getenv("QV_TEST_EXE")).parent_path().string();
    ChildProcess sheet({QV_CONFIG_EXE}, {m_server->displayEnv(), "QT_QPA_PLATFORM=xcb",
                                         "SDL_VIDEODRIVER=", "PATH=" + saverDir + ":" + std::getenv("PATH"),
                                         "QUORVANE_CONFIG_DIR=" + config.path().string()});
    const unsigned long window = windowNamed("^Quorvane Screensaver$");
    ASSERT_NE(window, 0u) << sheet.output();

    pid_t firstSaver = 0, secondSaver = 0;
    const unsigned long first = waitForPreview(sheet.pid(), firstSaver);
    ASSERT_NE(first, 0u) << sheet.output();
    EXPECT_TRUE(showsPicture(m_server->display(), first));

    // The speed slider by its mnemonic, then to its end. No window manager
    // gives the sheet the focus: the pointer over it does.
    xdotool({"mousemove", "--window", std::to_string(window), "20", "20"});
    xdotool({"windowfocus", "--sync", std::to_string(window)}, true);
    xdotool({"key", "alt+s", "End"});
    const unsigned long second = waitForPreview(sheet.pid(), secondSaver, firstSaver);
    ASSERT_NE(second, 0u) << "the preview did not start again";
    EXPECT_TRUE(showsPicture(m_server->display(), second));

    expectCleanExit(sheet, "the sheet, Escape to cancel", [&] { xdotool({"key", "Escape"}); });
    EXPECT_TRUE(within(5, [&] { return previewWindows().empty(); })) << "the saver outlived the sheet";
    EXPECT_FALSE(std::filesystem::exists(config.path() / "registry.ini")) << "Cancel wrote nothing";
}

#endif

}  // namespace
