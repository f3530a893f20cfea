// qv_demo_window [--fps N] [--quiet] -- <mode>: the demonstration window in
// one of quorvane's modes (/s, /p ID, -root, -window-id ID, --render FILE
// [--size WxH] [--seconds N]), for the window benchmarks. Prints "window
// <id>", a line per message of interest (unless --quiet), then "frames
// <paints>" and "exit <code>".

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "platform/SdlBackend.h"
#include "platform/Signals.h"
#include "support/DemoWindow.h"

using Action = LaunchRequest::Action;

static int fail(const std::string& text) {
    return std::fprintf(stderr, "qv_demo_window: %s\n", text.c_str()), 1;
}

int main(int argc, char** argv) {
    DemoWindow::Options options;
    options.log = stdout;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--fps") == 0 && i + 1 < argc)
            options.fps = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--quiet") == 0)
            options.log = nullptr;
        else
            return fail(std::string("unknown option ") + argv[i]);
    }
    const std::vector<std::string> args(argv + std::min(i + 1, argc), argv + argc);
    const LaunchRequest request = parseCommandLine(args);
    if (request.action == Action::UsageError) return fail(request.error);

    if (request.action == Action::Render) {
        platform::ScopedClock simulated(std::make_unique<platform::SimulatedClock>());
        platform::HeadlessOptions h;
        h.width = request.width ? request.width : 640, h.height = request.height ? request.height : 480;
        h.endAtMs = static_cast<int64_t>(request.seconds * 1000);
        h.snapshots.push_back({h.endAtMs, request.renderPath});
        platform::installTerminationHandlers();
        platform::setBackend(std::make_unique<platform::HeadlessBackend>(h));
    } else {
        std::string error;
        auto sdl = platform::openSdlBackend(error);
        if (!sdl) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
        platform::setBackend(std::move(sdl));
    }

    int code = 0;
    {
        DemoWindow wnd(options);
        bool made = false;
        if (request.action == Action::FullScreen || request.action == Action::Render) {
            const RECT r{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
            made = wnd.CreateEx(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, r);
        } else if (request.action == Action::Preview || request.action == Action::XScreenSaver) {
            const HWND parent = request.action == Action::Preview || !request.rootWindow
                                    ? request.windowId
                                    : platform::backend().screenSaverWindow();
            RECT r;
            if (!GetClientRect(parent, &r)) return fail("there is no window " + std::to_string(parent));
            made = wnd.CreateEx(0, WS_CHILD | WS_VISIBLE, r, parent);
        } else {
            return fail("that mode has no window");
        }
        if (!made) return fail(wnd.lastError());
        std::printf("window 0x%llx\n", static_cast<unsigned long long>(wnd.GetSafeHwnd()));
        std::fflush(stdout);
        platform::setMainWindow(&wnd);
        code = platform::runMessageLoop();
        std::printf("frames %d\n", wnd.frames());
    }
    platform::setBackend(nullptr);
    std::printf("exit %d\n", code);
    return code;
}
