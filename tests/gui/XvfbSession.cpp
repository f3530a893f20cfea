#include "XvfbSession.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

extern char** environ;

bool toolOnPath(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

bool within(double seconds, const std::function<bool()>& done) {
    const auto start = std::chrono::steady_clock::now();
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(100)))
        if (msSince(start) > seconds * 1000) return false;
    return true;
}

namespace {
// The state and parent of a process, from /proc/<pid>/stat after the command name; {0, 0} when gone.
std::pair<char, pid_t> statOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(in)), {});
    char state = 0;
    long parent = 0;
    const size_t close = line.rfind(')');
    if (close == std::string::npos || std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &parent) != 2)
        return {0, 0};
    return {state, static_cast<pid_t>(parent)};
}
}  // namespace

bool processRunning(pid_t pid) {
    const char state = statOf(pid).first;
    return state && state != 'Z' && state != 'X';
}

std::vector<pid_t> descendantsRunning(pid_t ancestor, const std::string& exe) {
    namespace fs = std::filesystem;
    std::vector<pid_t> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        if (!processRunning(pid) || !fs::equivalent(fs::read_symlink(entry.path() / "exe", ec), exe, ec))
            continue;
        pid_t p = statOf(pid).second;
        while (p > 1 && p != ancestor) p = statOf(p).second;
        if (p == ancestor) found.push_back(pid);
    }
    return found;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    std::vector<std::string> vars, args = argv;
    for (char** e = environ; *e; ++e) vars.push_back(*e);
    for (const std::string& s : env) {
        const std::string name = s.substr(0, s.find('=') + 1);
        std::erase_if(vars, [&](const std::string& v) { return v.rfind(name, 0) == 0; });
        if (s.size() > name.size()) vars.push_back(s);
    }
    std::vector<char*> envp, argp;
    for (auto& v : vars) envp.push_back(v.data());
    for (auto& a : args) argp.push_back(a.data());
    envp.push_back(nullptr), argp.push_back(nullptr);
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], 1), dup2(out[1], 2);
        setpgid(0, 0);
        execvpe(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    fcntl(m_fd = out[0], F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_status) kill(m_pid, SIGKILL), waitpid(m_pid, nullptr, 0);
    if (m_fd >= 0) close(m_fd);
}

bool ChildProcess::readSome(int timeoutMs) {
    pollfd fd{m_fd, POLLIN, 0};
    char buffer[4096];
    const ssize_t n = poll(&fd, 1, timeoutMs) > 0 ? read(m_fd, buffer, sizeof buffer) : 0;
    if (n > 0) m_text.append(buffer, size_t(n));
    return n > 0;
}

std::optional<int> ChildProcess::waitExit(double seconds) {
    const auto start = std::chrono::steady_clock::now();
    for (int status = 0; !m_status; readSome(2)) {
        if (m_pid > 0 && waitpid(m_pid, &status, WNOHANG) == m_pid)
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        else if (msSince(start) > seconds * 1000)
            return std::nullopt;
    }
    output();
    return m_status;
}

void ChildProcess::signal(int sig) {
    if (m_pid > 0 && !m_status) kill(m_pid, sig);
}

const std::string& ChildProcess::output() {
    while (readSome(0)) {
    }
    return m_text;
}

std::vector<std::string> ChildProcess::lines() {
    std::vector<std::string> lines;
    std::istringstream in(output());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

XvfbServer::XvfbServer(int width, int height) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    for (int n = 97; n < 160; ++n) {
        const std::string number = std::to_string(n);
        // A lock file of another server: that number is taken.
        if (std::filesystem::exists("/tmp/.X" + number + "-lock")) continue;
        auto server = std::make_unique<ChildProcess>(std::vector<std::string>{
            "Xvfb", ":" + number, "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
        if (!server->started()) return;
        // The server writes its display number once it accepts clients, and
        // ends at once when the number is taken after all.
        const auto ready = [&] {
            const auto lines = server->lines();
            return std::find(lines.begin(), lines.end(), number) != lines.end();
        };
        if (within(10, [&] { return ready() || server->waitExit(0); }) && ready()) {
            m_server = std::move(server);
            m_display = n;
            return;
        }
    }
}

ForeignWindow::ForeignWindow(const std::string& display, RECT rect, bool holdButtons) {
    Display* d = XOpenDisplay(display.c_str());
    if (!(m_display = d)) return;
    const int screen = DefaultScreen(d);
    Window w = XCreateSimpleWindow(d, RootWindow(d, screen), rect.left, rect.top, unsigned(rect.width()),
                                   unsigned(rect.height()), 0, BlackPixel(d, screen), WhitePixel(d, screen));
    XSetWindowAttributes a{};
    a.override_redirect = True;
    XChangeWindowAttributes(d, w, CWOverrideRedirect, &a);
    XSelectInput(d, w, holdButtons ? ButtonPressMask | ExposureMask : ExposureMask);
    XMapWindow(d, w), XSync(d, False);
    m_window = w;
}

ForeignWindow::~ForeignWindow() {
    destroy();
    if (m_display) XCloseDisplay(static_cast<Display*>(m_display));
}

void ForeignWindow::resize(int width, int height) {
    auto* d = static_cast<Display*>(m_display);
    if (m_window) XResizeWindow(d, m_window, unsigned(width), unsigned(height)), XSync(d, False);
}

void ForeignWindow::destroy() {
    auto* d = static_cast<Display*>(m_display);
    if (m_window) XDestroyWindow(d, m_window), XSync(d, False), m_window = 0;
}

namespace {
int gXErrors = 0;
int countXError(Display*, XErrorEvent*) { return ++gXErrors, 0; }
}  // namespace

RECT ForeignWindow::geometry(unsigned long window) const {
    auto* d = static_cast<Display*>(m_display);
    if (!d) return {};
    auto* old = XSetErrorHandler(countXError);  // a window that is gone is no error of the test's
    const int before = gXErrors;
    XWindowAttributes a{};
    Window child = 0;
    int x = 0, y = 0;
    const bool ok = XGetWindowAttributes(d, window, &a) && gXErrors == before &&
                    XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    XSync(d, False);
    XSetErrorHandler(old);
    return ok && gXErrors == before ? RECT{x, y, x + a.width, y + a.height} : RECT{};
}

unsigned long ForeignWindow::firstChild() const {
    auto* d = static_cast<Display*>(m_display);
    Window root = 0, parent = 0, *children = nullptr, first = 0;
    unsigned count = 0;
    if (d && m_window && XQueryTree(d, m_window, &root, &parent, &children, &count) && count)
        first = children[0];
    if (children) XFree(children);
    return first;
}

CSurface takeScreenshot(const std::string& display, unsigned long window) {
    char path[] = "/tmp/quorvane-shot-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return {};
    close(fd);
    // convert reads every visual xwd writes (DirectColor included) and our reader reads the PNG.
    const std::string what = window ? "-id " + std::to_string(window) : "-root";
    ChildProcess shot({"sh", "-c", "xwd -silent " + what + " | convert xwd:- png24:" + path},
                      {"DISPLAY=" + display});
    std::string error;
    const CSurface s = shot.waitExit(20) == 0 ? readPng(path, &error) : CSurface();
    std::remove(path);
    if (!s.valid()) std::fprintf(stderr, "no screenshot: %s %s\n", shot.output().c_str(), error.c_str());
    return s;
}

size_t huesIn(const std::string& display, unsigned long window) {
    const CSurface shot = takeScreenshot(display, window);
    std::set<COLORREF> colours;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const COLORREF c = shot.at(x, y);
            if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c)) colours.insert(c);
        }
    return colours.size();
}

bool showsPicture(const std::string& display, unsigned long window) {
    return within(20, [&] { return huesIn(display, window) > 20; });
}
