// The Windows program's modes, run as Windows runs a screensaver: full screen
// over the virtual screen until a key, a click or a real movement of the
// mouse; a preview inside a window of ours until that window goes; the
// settings and password switches answered with a notice. A system-side test
// file: it includes the Windows headers and none of our platform headers.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/SystemHeaders.h"
#include "support/BuildPath.h"

namespace {

// How long a start of the program may take under a loaded Wine: liveness
// bounds, never measurements.
constexpr DWORD kStartMs = 60000;
constexpr DWORD kEndMs = 30000;

// Takes the messages of this thread's windows (a preview's host must
// answer its child) for up to `ms`, or until `done` says so.
template <typename Done>
bool pumpUntil(DWORD ms, Done done) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 50)),
                                  QS_ALLINPUT);
    }
}

class Saver {
public:
    explicit Saver(const std::wstring& arguments) {
        std::wstring line = L"\"" + buildPath(QV_TEST_EXE).native() + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        m_started =
            CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi);
    }
    ~Saver() {
        if (!m_started) return;
        if (running()) TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, kEndMs);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    bool started() const { return m_started; }
    bool running() const { return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }
    // The exit code once it ended within `ms`; -1 while it runs.
    long exitCode(DWORD ms) const {
        if (!pumpUntil(ms, [this] { return !running(); })) return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_pi.hProcess, &code);
        return static_cast<long>(code);
    }
    // A visible top-level window of the program with this class.
    HWND topWindow(const wchar_t* className, DWORD ms = kStartMs) const {
        HWND found = nullptr;
        pumpUntil(ms, [&] {
            for (HWND h = FindWindowExW(nullptr, nullptr, className, nullptr); h && !found;
                 h = FindWindowExW(nullptr, h, className, nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid == m_pi.dwProcessId && IsWindowVisible(h)) found = h;
            }
            return found != nullptr || !running();
        });
        return found;
    }

private:
    PROCESS_INFORMATION m_pi{};
    bool m_started = false;
};

// The text of a message box: its static controls.
std::wstring boxText(HWND box) {
    std::wstring text;
    wchar_t t[2048];
    for (HWND h = FindWindowExW(box, nullptr, L"Static", nullptr); h;
         h = FindWindowExW(box, h, L"Static", nullptr))
        if (GetWindowTextW(h, t, 2048) > 0) text += t;
    return text;
}

void sendKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// Puts the pointer at (x, y) of the primary monitor.
void movePointer(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}

void click() {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

// No argument, /c, /c:<HWND> and any switch the program does not know open
// the settings sheet, modal to the window /c:<HWND> names where there is one
// (as the Screen Saver dialog starts it); Cancel ends the program without
// writing.
TEST(Modes, SettingsSwitchesOpenTheSettingsSheet) {
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"Screen Saver Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300,
                        200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    const std::wstring named = L"/c:" + std::to_wstring(reinterpret_cast<uintptr_t>(owner));
    for (const std::wstring& args :
         {std::wstring(), std::wstring(L"/c:1234"), named, std::wstring(L"-C"), std::wstring(L"/x")}) {
        SCOPED_TRACE(testing::Message() << "arguments '" << std::string(args.begin(), args.end()) << "'");
        Saver s(args);
        ASSERT_TRUE(s.started());
        const HWND sheet = s.topWindow(L"#32770");
        ASSERT_NE(sheet, nullptr) << "no settings sheet appeared";
        wchar_t title[256] = {};
        GetWindowTextW(sheet, title, 256);
        EXPECT_NE(std::wstring(title).find(L"Quorvane"), std::wstring::npos);
        if (args == named) {
            EXPECT_EQ(GetWindow(sheet, GW_OWNER), owner);
            EXPECT_FALSE(IsWindowEnabled(owner)) << "modal to it";
        }
        PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(s.exitCode(kEndMs), 0);
    }
    DestroyWindow(owner);
}

TEST(Modes, PasswordSwitchSaysWindowsAsksForIt) {
    Saver s(L"/a 1234");
    const HWND box = s.topWindow(L"#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(boxText(box).find(L"Windows itself"), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(s.exitCode(kEndMs), 0);
}

// A preview goes into a child window of a frame, as into the display
// settings' little monitor; it fills its host, shows, and ends when the host
// goes. (Wine shows no drawing of a child window another process owns, and
// a child cannot draw outside its parent: what it draws is the Linux
// build's test, tests/gui.)
TEST(Modes, PreviewFillsItsHostAndEndsWithIt) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuorvaneTestHost";
    RegisterClassW(&wc);
    const HWND frame = CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                       100, 100, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    const HWND host = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                                      75, 200, 150, frame, nullptr, wc.hInstance, nullptr);
    Saver s(L"/p " + std::to_wstring(reinterpret_cast<uintptr_t>(host)));
    HWND child = nullptr;
    ASSERT_TRUE(pumpUntil(kStartMs, [&] {
        child = FindWindowExW(host, nullptr, L"QuorvaneWindow", nullptr);
        return child != nullptr || !s.running();
    }));
    ASSERT_NE(child, nullptr) << "the preview made no window in its host";
    RECT client, hostClient;
    GetClientRect(child, &client);
    GetClientRect(host, &hostClient);
    EXPECT_TRUE(EqualRect(&client, &hostClient)) << "the preview does not fill its host";
    // Made before it is shown: wait for the showing, not a fixed time.
    EXPECT_TRUE(pumpUntil(kStartMs, [&] { return IsWindowVisible(child) || !s.running(); }) &&
                IsWindowVisible(child));
    pumpUntil(3000, [] { return false; });
    EXPECT_TRUE(s.running()) << "the preview ended by itself";
    DestroyWindow(host);
    EXPECT_EQ(s.exitCode(kEndMs), 0) << "the preview outlived its host";
    DestroyWindow(frame);
}

// Full screen over the virtual screen, on top, without a caption, until a
// key, a click or a move of 60 pixels; a jitter of two pixels is no move.
TEST(Modes, FullScreenCoversTheVirtualScreenUntilAKeyAClickOrAMove) {
    const std::pair<const char*, void (*)()> enders[] = {
        {"a key", [] { sendKey('A'); }}, {"a click", click}, {"a move of 60 pixels", [] {
                                                                  movePointer(460, 300);
                                                              }}};
    for (const auto& [what, end] : enders) {
        SCOPED_TRACE(what);
        // The pointer rests where the saver starts, away from any edge.
        movePointer(400, 300);
        Saver s(L"/s");
        ASSERT_TRUE(s.started());
        const HWND window = s.topWindow(L"QuorvaneWindow");
        ASSERT_NE(window, nullptr) << "no full-screen window appeared";
        // Let it take its first look at the pointer.
        pumpUntil(1500, [] { return false; });
        RECT r;
        GetWindowRect(window, &r);
        const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        EXPECT_TRUE(r.left == x && r.top == y && r.right == x + GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
                    r.bottom == y + GetSystemMetrics(SM_CYVIRTUALSCREEN));
        EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION);
        movePointer(402, 301);
        movePointer(400, 302);
        EXPECT_EQ(s.exitCode(2000), -1) << "a jitter of two pixels ended it";
        end();
        EXPECT_EQ(s.exitCode(kEndMs), 0) << what << " did not end it";
    }
}

}  // namespace
