#include "platform/MessageLoop.h"

#include <algorithm>
#include <deque>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/PollTiming.h"
#include "platform/Wnd.h"

namespace platform {

namespace {

struct LoopState {
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<CWnd*> windows;
    CWnd* mainWnd = nullptr;
};

LoopState& state() {
    static LoopState s;
    return s;
}

CWnd* firstInvalidWindow() {
    for (CWnd* w : state().windows)
        if (w->IsInvalid()) return w;
    return nullptr;
}

}  // namespace

bool postMessage(const MSG& msg) {
    if (msg.pWnd && !isLiveWindow(msg.pWnd)) return false;
    state().queue.push_back(msg);
    return true;
}

bool messageQueued() { return !state().queue.empty() || state().quitPosted; }

void registerWindow(CWnd* wnd) {
    auto& w = state().windows;
    if (std::find(w.begin(), w.end(), wnd) == w.end()) w.push_back(wnd);
}

void unregisterWindow(CWnd* wnd) {
    LoopState& s = state();
    std::erase(s.windows, wnd);
    std::erase_if(s.queue, [wnd](const MSG& m) { return m.pWnd == wnd; });
    if (s.mainWnd == wnd) s.mainWnd = nullptr;
}

bool isLiveWindow(const CWnd* wnd) {
    const auto& w = state().windows;
    return std::find(w.begin(), w.end(), wnd) != w.end();
}

const std::vector<CWnd*>& windows() { return state().windows; }

void resetMessageQueue() {
    state().queue.clear();
    state().quitPosted = false;
    state().quitCode = 0;
}

void setMainWindow(CWnd* wnd) { state().mainWnd = wnd; }

CWnd* mainWindow() { return state().mainWnd; }

void closeMainWindow() {
    if (CWnd* w = state().mainWnd)
        w->PostMessage(WM_CLOSE);
    else
        PostQuitMessage(0);
}

int runMessageLoop() {
    MSG msg;
    while (GetMessage(&msg)) DispatchMessage(&msg);
    return static_cast<int>(msg.wParam);
}

bool messageWaiting() {
    {
        PollScope look;
        backend().idleTest();
    }
    return messageQueued();
}

bool waitForInputOrTimeout(int64_t ms) {
    {
        PollScope look;
        backend().pumpEvents(0);
    }
    if (messageQueued()) return true;
    if (ms <= 0) return false;
    backend().present(true);
    PollScope look;
    backend().pumpEvents(ms);
    return messageQueued();
}

}  // namespace platform

using platform::state;

bool PeekMessage(MSG* msg, UINT remove) {
    {
        platform::PollScope look;
        platform::backend().pumpEvents(0);
    }
    platform::LoopState& s = state();
    if (!s.queue.empty()) {
        if (msg) *msg = s.queue.front();
        if (remove == PM_REMOVE) s.queue.pop_front();
        return true;
    }
    if (s.quitPosted) {
        if (msg) *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, 0};
        if (remove == PM_REMOVE) s.quitPosted = false;
        return true;
    }
    return false;
}

bool GetMessage(MSG* msg) {
    for (;;) {
        MSG m;
        if (PeekMessage(&m, PM_REMOVE)) {
            if (msg) *msg = m;
            return m.message != WM_QUIT;
        }
        if (CWnd* w = platform::firstInvalidWindow()) {
            if (msg) *msg = MSG{w, WM_PAINT, 0, 0, 0};
            return true;
        }
        // Nothing to do: show what changed, then sleep until an event comes.
        platform::backend().present(true);
        platform::PollScope look;
        platform::backend().pumpEvents(-1);
    }
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg || !msg->pWnd || !platform::isLiveWindow(msg->pWnd)) return 0;
    const LRESULT result = msg->pWnd->dispatch(*msg);
    if (msg->message == WM_PAINT) platform::backend().present(false);
    return result;
}

void PostQuitMessage(int exitCode) {
    state().quitPosted = true;
    state().quitCode = exitCode;
}

int GetSystemMetrics(int index) {
    platform::WindowBackend& b = platform::backend();
    const RECT v = b.virtualScreen();
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXVIRTUALSCREEN:
            return v.width();
        case SM_CYSCREEN:
        case SM_CYVIRTUALSCREEN:
            return v.height();
        case SM_XVIRTUALSCREEN:
            return v.left;
        case SM_YVIRTUALSCREEN:
            return v.top;
        case SM_CMONITORS:
            return b.monitorCount();
        default:
            return 0;
    }
}

bool GetClientRect(HWND window, RECT* rect) {
    RECT r{};
    if (!platform::backend().clientRect(window, r)) return false;
    if (rect) *rect = r;
    return true;
}

struct CursorShape {};

namespace {
const CursorShape gArrow;
HCURSOR gCursor = &gArrow;
}  // namespace

HCURSOR LoadCursor(int id) { return id == IDC_ARROW ? &gArrow : nullptr; }

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = gCursor;
    gCursor = cursor;
    platform::backend().setCursorVisible(cursor != nullptr);
    return previous;
}
