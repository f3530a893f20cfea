// The configuration program on an X server: its preview pane runs the saver
// inside the sheet, starts it again with the edited values when a control
// changes, and takes it along when the sheet closes.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "XvfbSession.h"
#include "support/TempFolder.h"

namespace {

#ifdef QV_CONFIG_EXE

class ConfigOnXvfb : public XvfbTest {
protected:
    void SetUp() override {
        if (!std::getenv("QV_TEST_EXE")) GTEST_SKIP() << "QV_TEST_EXE is not set";
        if (!toolOnPath("xwininfo")) GTEST_SKIP() << "xwininfo is not installed (scripts/deps.sh installs it)";
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
    // The saver processes the sheet runs.
    static std::vector<pid_t> saversOf(pid_t parent) {
        std::vector<pid_t> pids;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
            const std::string name = entry.path().filename();
            if (name.find_first_not_of("0123456789") != std::string::npos) continue;
            std::ifstream in(entry.path() / "stat");
            std::string stat((std::istreambuf_iterator<char>(in)), {});
            // pid (comm) state ppid ...
            const size_t close = stat.rfind(')');
            if (close == std::string::npos || stat.find("(quorvane)") == std::string::npos) continue;
            std::istringstream rest(stat.substr(close + 2));
            std::string state;
            pid_t ppid = 0;
            rest >> state >> ppid;
            if (ppid == parent && state != "Z") pids.push_back(std::stoi(name));
        }
        return pids;
    }
    // Waits until the pane holds one saver window drawn by one saver other
    // than `old`; its window, or 0 when none comes.
    unsigned long waitForPreview(pid_t parent, pid_t& saver, pid_t old = 0) {
        for (const auto t = std::chrono::steady_clock::now(); msSince(t) < 30000;
             std::this_thread::sleep_for(std::chrono::milliseconds(200))) {
            const auto pids = saversOf(parent);
            const auto ids = previewWindows();
            if (pids.size() == 1 && pids[0] != old && ids.size() == 1) {
                saver = pids[0];
                return ids[0];
            }
        }
        return 0;
    }

    TempFolder config;
};

TEST_F(ConfigOnXvfb, PreviewRunsInsideRestartsOnChangeAndEndsWithTheSheet) {
    const std::string saverDir = std::filesystem::path(std::getenv("QV_TEST_EXE")).parent_path().string();
    ChildProcess sheet({QV_CONFIG_EXE},
                       {m_server->displayEnv(), "QT_QPA_PLATFORM=xcb", "SDL_VIDEODRIVER=",
                        "PATH=" + saverDir + ":" + std::getenv("PATH"),
                        "QUORVANE_CONFIG_DIR=" + config.path().string()});
    std::vector<std::string> found;
    for (const auto t = std::chrono::steady_clock::now(); found.empty() && msSince(t) < 20000;) {
        found = xdotool({"search", "--name", "^Quorvane Screensaver$"}, true);
        std::erase_if(found, [](const std::string& l) { return l.empty() || l.find_first_not_of("0123456789") != l.npos; });
    }
    ASSERT_FALSE(found.empty()) << sheet.output();

    pid_t firstSaver = 0, secondSaver = 0;
    const unsigned long first = waitForPreview(sheet.pid(), firstSaver);
    ASSERT_NE(first, 0u) << sheet.output();
    EXPECT_TRUE(showsPicture(m_server->display(), first));

    // The speed slider by its mnemonic, then to its end.
    // No window manager gives the sheet the focus: the pointer over it does.
    xdotool({"mousemove", "--window", found[0], "20", "20"});
    xdotool({"windowfocus", "--sync", found[0]}, true);
    xdotool({"key", "alt+s", "End"});
    const unsigned long second = waitForPreview(sheet.pid(), secondSaver, firstSaver);
    ASSERT_NE(second, 0u) << "the preview did not start again";
    EXPECT_TRUE(showsPicture(m_server->display(), second));

    expectCleanExit(sheet, "the sheet, Escape to cancel", [&] { xdotool({"key", "Escape"}); });
    for (const auto t = std::chrono::steady_clock::now(); !previewWindows().empty() && msSince(t) < 5000;)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(previewWindows().empty()) << "the saver outlived the sheet";
    EXPECT_FALSE(std::filesystem::exists(config.path() / "registry.ini")) << "Cancel wrote nothing";
}

#endif

}  // namespace
