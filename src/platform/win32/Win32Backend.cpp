// Our side of the Windows window system: never includes <windows.h>; the
// system is reached through WindowApi.h.

#include "platform/win32/Win32Backend.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <vector>

#include "platform/Input.h"
#include "platform/MessageLoop.h"
#include "platform/PresentPacing.h"
#include "platform/Signals.h"
#include "platform/Surface.h"
#include "platform/Wnd.h"
#include "platform/WorkGovernor.h"
#include "platform/win32/WindowApi.h"

namespace platform {

namespace {

// The longest wait without a look at a termination request (the console's
// Ctrl+C arrives on a thread of its own and cannot wake the queue).
constexpr int64_t kLongestWaitMs = 250;

// How often the drawing looks at the queue: as often as the Linux backend
// does with its coarse clock, and far below what a user can notice.
constexpr uint64_t kIdleLookMs = 4;

int64_t steadyNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

RECT toRect(const win32::Box& b) { return {b.left, b.top, b.right, b.bottom}; }

class Win32Backend;

class Win32Window final : public NativeWindow, public win32::WindowEvents {
public:
    Win32Window(Win32Backend& owner, CWnd& wnd) : m_owner(&owner), m_wnd(wnd) {}
    ~Win32Window() override;
    HWND handle() const override { return m_handle; }
    SIZE clientSize() const override {
        int32_t w = 0, h = 0;
        if (!m_gone) win32::clientSize(m_handle, w, h);
        return {w, h};
    }
    void onEvent(const win32::WindowEvent& e) override;

    Win32Backend* m_owner;  // null once the backend has gone
    CWnd& m_wnd;
    HWND m_handle = 0;
    bool m_gone = false;
    bool m_active = false;
    ShownArea m_shown;
};

class Win32Backend final : public WindowBackend {
public:
    ~Win32Backend() override;
    std::unique_ptr<NativeWindow> createWindow(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                               HWND parent, std::string& error) override;
    void pumpEvents(int64_t timeoutMs) override;
    void idleTest() override {
        // Once in kIdleLookMs at most: styles ask at every point they draw,
        // and each look at the queue is a call into the window system (under
        // Wine, a round trip to its server and a read of the X connection).
        const uint64_t tick = win32::tickMs() / kIdleLookMs;
        if (tick == m_lastIdleTick) return;
        m_lastIdleTick = tick;
        if (const int64_t rest = m_governor.restDueMs(steadyNs()); rest > 0) {
            present(true);
            pumpEvents(rest);
            return;
        }
        if (win32::systemMessageWaiting()) pumpEvents(0);
        present(false);
    }
    void present(bool force) override;
    RECT virtualScreen() override { return toRect(win32::virtualScreen()); }
    int monitorCount() override { return win32::monitorCount(); }
    bool clientRect(HWND window, RECT& rect) override {
        int32_t w = 0, h = 0;
        if (!win32::clientSize(window, w, h)) return false;
        rect = {0, 0, w, h};
        return true;
    }
    HWND screenSaverWindow() override { return 0; }
    void setCursorVisible(bool visible) override { win32::setCursorHidden(!visible); }

    void forget(Win32Window* w) { std::erase(m_windows, w); }
    // Shows `area` of the window's surface, or what changed when `area` is null.
    void presentWindow(Win32Window& w, const RECT* area);

private:
    bool wait(int64_t timeoutMs);

    std::vector<Win32Window*> m_windows;
    PresentPacer m_pacer;
    uint64_t m_lastIdleTick = 0;
    WorkGovernor m_governor;
    std::vector<uint32_t> m_scratch;
};

Win32Window::~Win32Window() {
    if (m_owner) m_owner->forget(this);
    if (!m_gone) win32::destroyWindow(m_handle);
}

void Win32Window::onEvent(const win32::WindowEvent& e) {
    using Kind = win32::WindowEvent::Kind;
    switch (e.kind) {
        case Kind::MouseMove:
            input::mouseMove(&m_wnd, e.x, e.y, e.keyFlags);
            break;
        case Kind::ButtonDown:
        case Kind::ButtonUp: {
            static constexpr input::Button kButtons[] = {input::Button::Left, input::Button::Right,
                                                         input::Button::Middle};
            input::mouseButton(&m_wnd, kButtons[std::clamp(e.button, 0, 2)], e.kind == Kind::ButtonDown, e.x,
                               e.y, e.keyFlags);
            break;
        }
        case Kind::KeyDown:
        case Kind::KeyUp:
            input::key(&m_wnd, e.vk, e.kind == Kind::KeyDown, e.alt, e.repeat);
            break;
        case Kind::Focus:
            if (e.active != m_active) input::activation(&m_wnd, e.active);
            m_active = e.active;
            break;
        case Kind::Size:
            m_wnd.PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(e.x, e.y));
            m_shown.showAll();
            break;
        case Kind::Close:
            m_wnd.PostMessage(WM_CLOSE);
            break;
        case Kind::Gone:
            m_gone = true;
            m_wnd.PostMessage(WM_QV_PARENTGONE);
            break;
        case Kind::Paint:
            // Uncovered: shown again at once from the surface, whatever the
            // rate; the drawing itself does not need to know.
            if (m_owner) {
                const RECT area = toRect(e.area);
                m_owner->presentWindow(*this, &area);
            }
            break;
        case Kind::SysCommand:
            m_wnd.PostMessage(WM_SYSCOMMAND, e.command);
            break;
    }
}

Win32Backend::~Win32Backend() {
    // Windows still open belong to their CWnd; they are no longer shown.
    for (Win32Window* w : m_windows) w->m_owner = nullptr;
}

std::unique_ptr<NativeWindow> Win32Backend::createWindow(CWnd& wnd, DWORD exStyle, DWORD style,
                                                         const RECT& rect, HWND parent, std::string& error) {
    auto w = std::make_unique<Win32Window>(*this, wnd);
    m_windows.push_back(w.get());
    w->m_handle = win32::createWindow(exStyle, style, {rect.left, rect.top, rect.right, rect.bottom}, parent,
                                      w.get(), error);
    if (!w->m_handle) {
        w->m_gone = true;
        return nullptr;
    }
    // A window that appears under the pointer is asked for its cursor.
    if (!(style & WS_CHILD)) wnd.PostMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return w;
}

// Styles wait between steps a few milliseconds apart, and every call that
// looks at the queue goes to the window system (under Wine, a round trip to
// its server): a wait that runs out with nothing come does not look again.
void Win32Backend::pumpEvents(int64_t timeoutMs) {
    bool arrived = true;
    if (timeoutMs != 0) {
        m_governor.waitBegins(steadyNs());
        arrived = wait(timeoutMs);
        m_governor.waitEnds(steadyNs());
    }
    if (takeTerminationRequest()) closeMainWindow();
    if (arrived) win32::dispatchWaiting();
}

// Waits for a message or the time (a message already waiting ends it at
// once); a present that is due is made at its slot on the way, unless a
// message comes first. True when a message came.
bool Win32Backend::wait(int64_t timeoutMs) {
    const int64_t endNs = timeoutMs < 0 ? INT64_MAX : steadyNs() + timeoutMs * 1000000;
    for (;;) {
        const int64_t now = steadyNs();
        if (now >= endNs) return false;
        int64_t untilNs = endNs;
        if (m_pacer.due()) untilNs = std::min(untilNs, m_pacer.nextSlotNs());
        const int64_t ms = std::min<int64_t>(kLongestWaitMs, (untilNs - now + 999999) / 1000000);
        if (win32::waitForSystemMessage(std::max<int64_t>(ms, 0))) return true;
        if (m_pacer.due() && steadyNs() >= m_pacer.nextSlotNs()) present(false);
        if (takeTerminationRequest()) {
            closeMainWindow();
            return false;
        }
    }
}

void Win32Backend::present(bool force) {
    if (!m_pacer.startPresent(steadyNs(), force)) return;
    for (Win32Window* w : m_windows) presentWindow(*w, nullptr);
}

void Win32Backend::presentWindow(Win32Window& w, const RECT* asked) {
    CSurface& s = w.m_wnd.surface();
    if (w.m_gone || !w.m_handle || !s.valid()) return;
    RECT area = asked ? *asked : w.m_shown.take(s);
    const SIZE client = w.clientSize();
    area = intersectRect(intersectRect(area, s.bounds()), RECT{0, 0, client.cx, client.cy});
    if (area.empty()) return;
    // A DIB's pixels are 0x00RRGGBB.
    const size_t n = static_cast<size_t>(area.width()) * static_cast<size_t>(area.height());
    if (m_scratch.size() < n) m_scratch.resize(n);
    convertToXrgb(s, area, CDisplay::instance().hardwarePalette(), m_scratch.data(), area.width());
    win32::showPixels(w.m_handle, area.left, area.top, m_scratch.data(), area.width(), area.height(),
                      area.width());
}

}  // namespace

std::unique_ptr<WindowBackend> openWin32Backend(std::string&) { return std::make_unique<Win32Backend>(); }

std::unique_ptr<WindowBackend> openDisplayBackend(std::string& error) { return openWin32Backend(error); }

}  // namespace platform
