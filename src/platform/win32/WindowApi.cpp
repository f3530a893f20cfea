// The system side of WindowApi.h: our window class, its window procedure,
// the thread's queue and the DIB transfer to the screen.

#include "platform/win32/WindowApi.h"

#include "platform/win32/SystemHeaders.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneWindow";
// The resource number of the program's icon (packaging/windows/quorvane.rc).
constexpr int kIconResource = 100;
// How often a child looks whether its parent is still there, besides being
// destroyed with it: a parent in another process may end without a word.
constexpr UINT kParentCheckMs = 500;
constexpr UINT_PTR kParentTimer = 1;

bool gCursorHidden = false;

struct WindowData {
    WindowEvents* events = nullptr;
    HWND parent = nullptr;
    bool gone = false;
};

HWND toHwnd(uint64_t id) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(id)); }
uint64_t toId(HWND h) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h)); }

WindowData* dataOf(HWND hwnd) {
    return reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void tell(WindowData* d, const WindowEvent& e) {
    if (d && d->events) d->events->onEvent(e);
}

WindowEvent mouseEvent(WindowEvent::Kind kind, WPARAM wParam, LPARAM lParam, int button = 0) {
    WindowEvent e;
    e.kind = kind;
    e.x = static_cast<int16_t>(LOWORD(lParam));
    e.y = static_cast<int16_t>(HIWORD(lParam));
    e.keyFlags = static_cast<uint32_t>(wParam);
    e.button = button;
    return e;
}

void goneOnce(WindowData* d) {
    if (!d || d->gone) return;
    d->gone = true;
    WindowEvent e;
    e.kind = WindowEvent::Kind::Gone;
    tell(d, e);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    WindowData* d = dataOf(hwnd);
    using Kind = WindowEvent::Kind;
    switch (message) {
        case WM_MOUSEMOVE:
            tell(d, mouseEvent(Kind::MouseMove, wParam, lParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            tell(d, mouseEvent(Kind::ButtonDown, wParam, lParam,
                               message == WM_LBUTTONDOWN   ? 0
                               : message == WM_RBUTTONDOWN ? 1
                                                           : 2));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            tell(d, mouseEvent(Kind::ButtonUp, wParam, lParam,
                               message == WM_LBUTTONUP   ? 0
                               : message == WM_RBUTTONUP ? 1
                                                         : 2));
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP: {
            WindowEvent e;
            e.kind = (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) ? Kind::KeyDown : Kind::KeyUp;
            e.vk = static_cast<uint32_t>(wParam);
            e.alt = (lParam & (1 << 29)) != 0;
            e.repeat = (lParam & (1 << 30)) != 0 && e.kind == Kind::KeyDown;
            tell(d, e);
            // Alt+F4 and the menu key are our window's to handle, not the
            // system's.
            return 0;
        }
        case WM_SYSCHAR:
            return 0;
        case WM_ACTIVATE: {
            WindowEvent e;
            e.kind = Kind::Focus;
            e.active = LOWORD(wParam) != WA_INACTIVE;
            tell(d, e);
            break;
        }
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                WindowEvent e;
                e.kind = Kind::Size;
                e.x = LOWORD(lParam);
                e.y = HIWORD(lParam);
                tell(d, e);
            }
            return 0;
        case WM_CLOSE: {
            WindowEvent e;
            e.kind = Kind::Close;
            tell(d, e);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            WindowEvent e;
            e.kind = Kind::Paint;
            e.area = {ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom};
            tell(d, e);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(gCursorHidden ? nullptr : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
                return TRUE;
            }
            break;
        case WM_SYSCOMMAND: {
            const UINT command = static_cast<UINT>(wParam) & 0xFFF0;
            WindowEvent e;
            e.kind = Kind::SysCommand;
            e.command = command;
            tell(d, e);
            // Closing goes through our window; another start of the saver
            // and the menu of a window without one are not taken up.
            if (command == SC_CLOSE || command == SC_SCREENSAVE || command == SC_KEYMENU) return 0;
            break;
        }
        case WM_TIMER:
            if (wParam == kParentTimer && d && d->parent && !IsWindow(d->parent)) goneOnce(d);
            return 0;
        case WM_DESTROY:
            // Destroyed by the system (with its parent), not by us.
            KillTimer(hwnd, kParentTimer);
            goneOnce(d);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            delete d;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool registerClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        // A DC of its own: every present draws into the window, and a DC
        // taken from the common pool is set up afresh each time (its font
        // realised too, which under Wine reads the X resources again).
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(kIconResource));
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

std::string lastErrorText(const char* what) {
    wchar_t* text = nullptr;
    const DWORD code = GetLastError();
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? utf8(text) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return std::string(what) + ": " + reason;
}

}  // namespace

uint64_t createWindow(uint32_t exStyle, uint32_t style, const Box& rect, uint64_t parent,
                      WindowEvents* events, std::string& error) {
    if (!registerClass()) {
        error = lastErrorText("could not register the window class");
        return 0;
    }
    const bool child = (style & WS_CHILD) != 0;
    if (child && !IsWindow(toHwnd(parent))) {
        error = "there is no window " + std::to_string(parent) + " to draw in";
        return 0;
    }
    RECT outer{rect.left, rect.top, rect.right, rect.bottom};
    // A framed window is asked for by its client size.
    if (style & WS_CAPTION) AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    auto* data = new WindowData{events, child ? toHwnd(parent) : nullptr, false};
    // The full-screen saver stays out of the task bar and the task switcher.
    const DWORD extra = child ? 0 : (exStyle & WS_EX_TOPMOST) ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
    HWND hwnd = CreateWindowExW(exStyle | extra, kClassName, L"Quorvane", style, outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top,
                                child ? toHwnd(parent) : nullptr, nullptr, GetModuleHandleW(nullptr), data);
    if (!hwnd) {
        delete data;
        error = lastErrorText("could not make a window");
        return 0;
    }
    if (child) {
        SetTimer(hwnd, kParentTimer, kParentCheckMs, nullptr);
    } else {
        if (exStyle & WS_EX_TOPMOST)
            SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
    }
    return toId(hwnd);
}

void destroyWindow(uint64_t window) {
    HWND hwnd = toHwnd(window);
    if (!IsWindow(hwnd)) return;
    if (WindowData* d = dataOf(hwnd)) d->events = nullptr;
    DestroyWindow(hwnd);
}

bool isWindow(uint64_t window) { return window != 0 && IsWindow(toHwnd(window)); }

bool clientSize(uint64_t window, int32_t& width, int32_t& height) {
    RECT r;
    if (window == 0 || !GetClientRect(toHwnd(window), &r)) return false;
    width = r.right - r.left;
    height = r.bottom - r.top;
    return true;
}

Box virtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

int monitorCount() {
    const int n = GetSystemMetrics(SM_CMONITORS);
    return n > 0 ? n : 1;
}

void dispatchWaiting() {
    MSG m;
    // Without PM_NOYIELD an empty queue gives the processor away (Wine
    // yields the thread at every such peek).
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
        if (m.message == WM_QUIT) continue;  // our loop has its own quit
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

bool systemMessageWaiting() { return HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0; }

bool waitForSystemMessage(int64_t ms) {
    const DWORD timeout = ms < 0 ? INFINITE : static_cast<DWORD>(ms > 0x7FFFFFFF ? 0x7FFFFFFF : ms);
    return MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
           WAIT_OBJECT_0;
}

void showPixels(uint64_t window, int32_t x, int32_t y, const uint32_t* pixels, int32_t width, int32_t height,
                int32_t stride) {
    HWND hwnd = toHwnd(window);
    HDC dc = GetDC(hwnd);
    if (!dc) return;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = stride;
    bmi.bmiHeader.biHeight = -height;  // rows from the top
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels, &bmi, DIB_RGB_COLORS);
    ReleaseDC(hwnd, dc);
}

void setCursorHidden(bool hidden) {
    if (hidden == gCursorHidden) return;
    gCursorHidden = hidden;
    // At once when the pointer is over one of our windows; elsewhere at the
    // next WM_SETCURSOR.
    POINT p;
    if (GetCursorPos(&p)) {
        HWND under = WindowFromPoint(p);
        wchar_t name[32] = {};
        if (under && GetClassNameW(under, name, 32) && lstrcmpW(name, kClassName) == 0 &&
            GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId())
            SetCursor(hidden ? nullptr : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    }
}

uint64_t tickMs() { return GetTickCount64(); }

}  // namespace platform::win32
