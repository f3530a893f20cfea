#pragma once
// For the tests under Xvfb: child processes read line by line, a private X
// server, a window of a client of our own on it, screenshots taken with xwd.

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PngWriter.h"  // before the X headers, whose None is a macro
#include "platform/Surface.h"

// The program is found on the PATH.
bool toolOnPath(const char* tool);

inline double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}
// Polls `done` every 100 ms until it holds (true) or `seconds` pass (false).
bool within(double seconds, const std::function<bool()>& done);
// Whether the process is there and not a zombie.
bool processRunning(pid_t pid);
// The live processes below `ancestor` (children, grandchildren...) running the program `exe`.
std::vector<pid_t> descendantsRunning(pid_t ancestor, const std::string& exe);

class ChildProcess {
public:
    // Starts `argv` with `env` added to this environment ("NAME=" removes NAME).
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {});
    ~ChildProcess();  // kills the process if it is still running
    ChildProcess(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    // The exit status (128 + signal when killed), or none after `seconds`.
    std::optional<int> waitExit(double seconds);
    void signal(int sig);
    const std::string& output();       // standard output and error together, so far
    std::vector<std::string> lines();  // the same, line by line

private:
    bool readSome(int timeoutMs);
    pid_t m_pid = -1;
    int m_fd = -1;  // standard output and error
    std::string m_text;
    std::optional<int> m_status;
};

// An Xvfb server of its own, on the first free display from :97 up.
class XvfbServer {
public:
    XvfbServer(int width, int height);
    bool running() const { return m_display >= 0; }
    std::string display() const { return ":" + std::to_string(m_display); }
    std::string displayEnv() const { return "DISPLAY=" + display(); }  // for a child's environment

private:
    std::unique_ptr<ChildProcess> m_server;
    int m_display = -1;
};

// A plain window of the test's own client, as a preview dialog or xscreensaver would own it.
class ForeignWindow {
public:
    // `holdButtons`: selects button presses, which only one client may do.
    ForeignWindow(const std::string& display, RECT rect, bool holdButtons);
    ~ForeignWindow();
    ForeignWindow(const ForeignWindow&) = delete;
    unsigned long id() const { return m_window; }
    void resize(int width, int height);
    void destroy();
    // The window's rectangle in root coordinates; empty when it is gone.
    RECT geometry(unsigned long window) const;
    unsigned long firstChild() const;  // 0 when it has none

private:
    void* m_display = nullptr;
    unsigned long m_window = 0;
};

// A screenshot of the screen (window 0) or a window, by xwd and convert; invalid when they failed.
CSurface takeScreenshot(const std::string& display, unsigned long window = 0);
// The number of colours other than greys in the window (0: the screen). When
// a hack fails, xscreensaver writes its obituary in grey text on black.
size_t huesIn(const std::string& display, unsigned long window = 0);
// True once the window (0: the screen) shows more than 20 hues, false when
// it has not within 20 seconds.
bool showsPicture(const std::string& display, unsigned long window);

// A test with an X server of its own of w x h, skipped when the tools are missing.
class XvfbTest : public ::testing::Test {
protected:
    void start(int width, int height) {
        for (const char* tool : {"Xvfb", "xdotool", "xwd", "convert"})
            if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
        m_server = std::make_unique<XvfbServer>(width, height);
        ASSERT_TRUE(m_server->running()) << "could not start Xvfb";
    }
    // Runs xdotool to its end; its standard output.
    std::vector<std::string> xdotool(std::vector<std::string> args, bool mayFail = false) {
        args.insert(args.begin(), "xdotool");
        ChildProcess p(args, {m_server->displayEnv()});
        const auto status = p.waitExit(10);
        EXPECT_TRUE(mayFail || status == 0) << p.output();
        return p.lines();
    }
    // The id of the first visible window whose name matches `pattern`; 0 when none comes within 20 s.
    unsigned long windowNamed(const std::string& pattern) {
        unsigned long id = 0;
        within(20, [&] {
            for (const std::string& l : xdotool({"search", "--onlyvisible", "--name", pattern}, true))
                if (!l.empty() && l.find_first_not_of("0123456789") == l.npos)
                    return (id = std::stoul(l)) != 0;
            return false;  // only warnings
        });
        return id;
    }
    // After `cause`, a prompt exit with status 0; prints how long it took.
    void expectCleanExit(ChildProcess& p, const char* what, const std::function<void()>& cause) {
        const auto sent = std::chrono::steady_clock::now();
        cause();
        const auto status = p.waitExit(10);
        ASSERT_TRUE(status) << what << ": still running after 10 s";
        EXPECT_EQ(*status, 0) << p.output();
        std::printf("[ latency ] %s: %.1f ms\n", what, msSince(sent));
    }

    std::unique_ptr<XvfbServer> m_server;
};
