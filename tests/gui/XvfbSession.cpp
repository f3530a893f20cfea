#include "XvfbSession.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

extern char** environ;

namespace {

double secondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

bool toolOnPath(const char* tool) {
    const char* path = std::getenv("PATH");
    const std::string p = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= p.size()) {
        const size_t end = p.find(':', start);
        const std::string dir = p.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && access((dir + "/" + tool).c_str(), X_OK) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string s = *e;
        const size_t eq = s.find('=');
        if (eq != std::string::npos) vars[s.substr(0, eq)] = s.substr(eq + 1);
    }
    for (const std::string& s : env) {
        const size_t eq = s.find('=');
        if (eq == std::string::npos) continue;
        if (eq + 1 == s.size())
            vars.erase(s.substr(0, eq));
        else
            vars[s.substr(0, eq)] = s.substr(eq + 1);
    }
    std::vector<std::string> envStrings;
    for (const auto& [k, v] : vars) envStrings.push_back(k + "=" + v);
    std::vector<char*> envp, args;
    for (auto& s : envStrings) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> argvCopy = argv;
    for (auto& s : argvCopy) args.push_back(s.data());
    args.push_back(nullptr);

    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return;
    }
    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        setpgid(0, 0);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
    fcntl(m_out, F_SETFL, O_NONBLOCK);
    fcntl(m_err, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_status) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0) close(m_out);
    if (m_err >= 0) close(m_err);
}

bool ChildProcess::readSome(int timeoutMs) {
    pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0) return false;
    char buffer[4096];
    bool got = false;
    if (fds[0].revents) {
        const ssize_t n = read(m_out, buffer, sizeof buffer);
        if (n > 0) {
            got = true;
            m_partial.append(buffer, static_cast<size_t>(n));
            size_t nl;
            while ((nl = m_partial.find('\n')) != std::string::npos) {
                m_lines.push_back(m_partial.substr(0, nl));
                m_partial.erase(0, nl + 1);
            }
        }
    }
    if (fds[1].revents) {
        const ssize_t n = read(m_err, buffer, sizeof buffer);
        if (n > 0) {
            got = true;
            m_errText.append(buffer, static_cast<size_t>(n));
        }
    }
    return got;
}

std::optional<std::string> ChildProcess::waitForLine(
    const std::function<bool(const std::string&)>& match, double seconds) {
    const auto start = std::chrono::steady_clock::now();
    size_t checked = 0;
    for (;;) {
        for (; checked < m_lines.size(); ++checked)
            if (match(m_lines[checked])) return m_lines[checked];
        const double left = seconds - secondsSince(start);
        if (left <= 0) return std::nullopt;
        if (!readSome(static_cast<int>(left * 1000) + 1) && m_status) return std::nullopt;
        if (!m_status) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid)
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
    }
}

std::optional<std::string> ChildProcess::waitForLine(const std::string& prefix, double seconds) {
    return waitForLine([&](const std::string& l) { return l.rfind(prefix, 0) == 0; }, seconds);
}

std::optional<int> ChildProcess::waitExit(double seconds) {
    const auto start = std::chrono::steady_clock::now();
    while (!m_status) {
        int status = 0;
        const pid_t r = waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (r < 0 || secondsSince(start) > seconds) return std::nullopt;
        readSome(2);
    }
    while (readSome(0)) {
    }
    return m_status;
}

void ChildProcess::signal(int sig) {
    if (m_pid > 0 && !m_status) kill(m_pid, sig);
}

const std::string& ChildProcess::errorOutput() {
    while (readSome(0)) {
    }
    return m_errText;
}

XvfbServer::XvfbServer(int width, int height) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    for (int n = 97; n < 160; ++n) {
        const std::string number = std::to_string(n);
        std::string lock = "/tmp/.X";
        lock.append(number).append("-lock");
        // A lock file of another server: that number is taken.
        if (std::filesystem::exists(lock)) continue;
        std::string name = ":";
        name.append(number);
        auto server = std::make_unique<ChildProcess>(std::vector<std::string>{
            "Xvfb", name, "-displayfd", "1", "-screen", "0", screen,
            "-nolisten", "tcp", "-noreset"});
        if (!server->started()) return;
        // The server writes its display number once it accepts clients, and
        // ends at once when the number is taken after all.
        if (server->waitForLine(number, 10)) {
            m_server = std::move(server);
            m_display = n;
            return;
        }
    }
}

ForeignWindow::ForeignWindow(const std::string& display, RECT rect, bool holdButtons) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return;
    m_display = d;
    const int screen = DefaultScreen(d);
    Window w = XCreateSimpleWindow(d, RootWindow(d, screen), rect.left, rect.top,
                                   static_cast<unsigned>(rect.width()),
                                   static_cast<unsigned>(rect.height()), 0, BlackPixel(d, screen),
                                   WhitePixel(d, screen));
    XSetWindowAttributes a{};
    a.override_redirect = True;
    XChangeWindowAttributes(d, w, CWOverrideRedirect, &a);
    XSelectInput(d, w, holdButtons ? ButtonPressMask | ExposureMask : ExposureMask);
    XMapWindow(d, w);
    XSync(d, False);
    m_window = w;
}

ForeignWindow::~ForeignWindow() {
    destroy();
    if (m_display) XCloseDisplay(static_cast<Display*>(m_display));
}

void ForeignWindow::resize(int width, int height) {
    if (!m_window) return;
    XResizeWindow(static_cast<Display*>(m_display), m_window, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    XSync(static_cast<Display*>(m_display), False);
}

void ForeignWindow::destroy() {
    if (!m_window) return;
    XDestroyWindow(static_cast<Display*>(m_display), m_window);
    XSync(static_cast<Display*>(m_display), False);
    m_window = 0;
}

namespace {
int gIgnoredErrors = 0;
int ignoreXError(Display*, XErrorEvent*) {
    ++gIgnoredErrors;
    return 0;
}
}  // namespace

RECT ForeignWindow::geometry(unsigned long window) const {
    auto* d = static_cast<Display*>(m_display);
    if (!d) return {};
    auto* old = XSetErrorHandler(ignoreXError);
    XWindowAttributes a{};
    const int before = gIgnoredErrors;
    const Status ok = XGetWindowAttributes(d, window, &a);
    Window child = 0;
    int x = 0, y = 0;
    if (ok && gIgnoredErrors == before)
        XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    XSync(d, False);
    XSetErrorHandler(old);
    if (!ok || gIgnoredErrors != before) return {};
    return {x, y, x + a.width, y + a.height};
}

CSurface takeScreenshot(const std::string& display, unsigned long window) {
    char path[] = "/tmp/quorvane-xwd-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return {};
    close(fd);
    std::vector<std::string> argv = {"xwd", "-silent", "-out", path};
    if (window) {
        argv.push_back("-id");
        argv.push_back(std::to_string(window));
    } else {
        argv.push_back("-root");
    }
    ChildProcess xwd(argv, {"DISPLAY=" + display});
    const auto status = xwd.waitExit(20);
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path);
    if (!status || *status != 0) {
        std::fprintf(stderr, "xwd failed: %s\n", xwd.errorOutput().c_str());
        return {};
    }
    CSurface shot = readXwd(data);
    if (!shot.valid()) std::fprintf(stderr, "xwd wrote %zu bytes we cannot read\n", data.size());
    return shot;
}

CSurface readXwd(const std::vector<uint8_t>& data) {
    const auto card = [&](size_t at) -> uint32_t {
        if (at + 4 > data.size()) return 0;
        return (uint32_t{data[at]} << 24) | (uint32_t{data[at + 1]} << 16) |
               (uint32_t{data[at + 2]} << 8) | data[at + 3];
    };
    const auto field = [&](size_t i) { return card(i * 4); };
    const uint32_t headerSize = field(0), format = field(2), width = field(4), height = field(5),
                   byteOrder = field(7), bytesPerLine = field(12), visualClass = field(13),
                   redMask = field(14), greenMask = field(15), blueMask = field(16),
                   ncolors = field(19);
    if (field(1) != 7 || format != 2 || width == 0 || height == 0 || width > 16384 ||
        height > 16384 || redMask != 0xFF0000 || greenMask != 0xFF00 || blueMask != 0xFF)
        return {};
    // 32 bits per pixel, or packed 24 when the screen mixes visuals.
    const uint32_t bytesPerPixel = field(11) / 8;
    const size_t colours = size_t{headerSize};
    const size_t start = colours + size_t{ncolors} * 12;
    if ((bytesPerPixel != 3 && bytesPerPixel != 4) || bytesPerLine < width * bytesPerPixel ||
        start + size_t{bytesPerLine} * height > data.size())
        return {};
    // A DirectColor screen shows each channel through its colour map.
    constexpr uint32_t kDirectColor = 5;
    std::array<std::array<uint8_t, 256>, 3> ramp;
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i) ramp[c][i] = static_cast<uint8_t>(i);
    if (visualClass == kDirectColor && ncolors >= 256) {
        for (uint32_t i = 0; i < 256; ++i) {
            const size_t e = colours + size_t{i} * 12;  // pixel, red, green, blue, flags, pad
            ramp[0][i] = data[e + 4];
            ramp[1][i] = data[e + 6];
            ramp[2][i] = data[e + 8];
        }
    }
    CSurface s(static_cast<int>(width), static_cast<int>(height), 32);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = data.data() + start + size_t{y} * bytesPerLine;
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = row + x * bytesPerPixel;
            uint32_t v = 0;
            for (uint32_t b = 0; b < bytesPerPixel; ++b)
                v |= uint32_t{p[byteOrder == 0 ? b : bytesPerPixel - 1 - b]} << (8 * b);
            s.row32(static_cast<int>(y))[x] =
                RGB(ramp[0][(v >> 16) & 0xFF], ramp[1][(v >> 8) & 0xFF], ramp[2][v & 0xFF]);
        }
    }
    return s;
}

double shareOf(const CSurface& s, RECT area, std::initializer_list<COLORREF> colours) {
    area = intersectRect(area, s.bounds());
    if (area.empty()) return 0;
    size_t hits = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            for (COLORREF c : colours)
                if (s.at(x, y) == c) {
                    ++hits;
                    break;
                }
    return static_cast<double>(hits) / (static_cast<double>(area.width()) * area.height());
}
