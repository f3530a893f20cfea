#pragma once
// What the tests under Xvfb need: child processes with their output read
// line by line, a private X server on a free display, a window of a
// program of our own on it, and screenshots taken with xwd.

#include <sys/types.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Surface.h"

// The program is found on the PATH.
bool toolOnPath(const char* tool);

class ChildProcess {
  public:
    // Starts `argv` with `env` added to this process's environment
    // ("NAME=value"; "NAME=" with nothing after it removes NAME).
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {});
    ~ChildProcess();  // kills the process if it is still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    // Reads output until a line satisfies `match` or `seconds` pass.
    std::optional<std::string> waitForLine(const std::function<bool(const std::string&)>& match,
                                           double seconds);
    std::optional<std::string> waitForLine(const std::string& prefix, double seconds);
    // Every line of standard output read so far.
    const std::vector<std::string>& lines() const { return m_lines; }
    // The exit status (128 + signal when killed), or none after `seconds`.
    std::optional<int> waitExit(double seconds);
    void signal(int sig);
    const std::string& errorOutput();

  private:
    bool readSome(int timeoutMs);
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_partial;
    std::vector<std::string> m_lines;
    std::string m_errText;
    std::optional<int> m_status;
};

// An Xvfb server of its own, on the first free display from :97 up.
class XvfbServer {
  public:
    XvfbServer(int width, int height);
    bool running() const { return m_display >= 0; }
    std::string display() const { return std::string(":").append(std::to_string(m_display)); }
    // "DISPLAY=:N" for a child's environment.
    std::string displayEnv() const { return "DISPLAY=" + display(); }

  private:
    std::unique_ptr<ChildProcess> m_server;
    int m_display = -1;
};

// A plain window of the test's own client, as a screensaver preview dialog
// or xscreensaver would own it.
class ForeignWindow {
  public:
    // `holdButtons`: selects button presses, which only one client may do.
    ForeignWindow(const std::string& display, RECT rect, bool holdButtons);
    ~ForeignWindow();
    unsigned long id() const { return m_window; }
    void resize(int width, int height);
    void destroy();
    // The window's rectangle in root coordinates; empty when it is gone.
    RECT geometry(unsigned long window) const;

  private:
    void* m_display = nullptr;
    unsigned long m_window = 0;
};

// A screenshot with xwd of the whole screen (window 0) or of one window, as
// a 32-bit surface; invalid when xwd failed or wrote something unexpected.
CSurface takeScreenshot(const std::string& display, unsigned long window = 0);
// Reads the ZPixmap XWD files that xwd writes on a true-colour screen.
CSurface readXwd(const std::vector<uint8_t>& data);
// The share of the pixels in `area` whose colour is one of `colours`.
double shareOf(const CSurface& s, RECT area, std::initializer_list<COLORREF> colours);
