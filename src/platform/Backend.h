#pragma once
// The window system behind CWnd and the message loop. One backend is in use
// at a time: the display's (SdlBackend.h; win32/Win32Backend.h on Windows) or
// headless (HeadlessBackend.h).
// A backend makes the system windows, turns the system's events into
// messages posted to the queue, waits for events, and shows the windows'
// surfaces on the screen.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Messages.h"

namespace platform {

// What a program without a display says before it exits with status 1.
inline constexpr const char* kNoDisplayMessage = "no display: set DISPLAY, or use --render";

// The system's side of one window; destroying it removes the system window.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    virtual HWND handle() const = 0;
    virtual SIZE clientSize() const = 0;
};

class WindowBackend {
public:
    virtual ~WindowBackend() = default;

    // Makes the system window of `wnd`. `rect` is in screen coordinates for
    // a top-level window, in the parent's client coordinates for a child of
    // the foreign window `parent`. Null on failure, with the reason in `error`.
    virtual std::unique_ptr<NativeWindow> createWindow(CWnd& wnd, DWORD exStyle, DWORD style,
                                                       const RECT& rect, HWND parent, std::string& error) = 0;
    // Posts the messages of the events that have arrived. When none has,
    // first waits up to `timeoutMs` for one (0: does not wait; negative: no
    // limit). The wait blocks; it never spins.
    virtual void pumpEvents(int64_t timeoutMs) = 0;
    // The idle test's look at the system: the events that have arrived
    // (without waiting) and a present when one is due. Styles ask for it
    // at every point they draw, millions of times a second, so a backend
    // may do it less often than it is called.
    virtual void idleTest() {
        pumpEvents(0);
        present(false);
    }
    // Shows on the screen what changed on the windows' surfaces since the
    // last time, at most 60 times a second. Too soon after the last time it
    // does nothing, unless `force` (before a wait): then the present is made
    // at the next slot, during the wait, or merged into one that comes first.
    virtual void present(bool force) = 0;

    // The bounding rectangle of all monitors, in screen coordinates.
    virtual RECT virtualScreen() = 0;
    virtual int monitorCount() = 0;
    // The client rectangle of any window, ours or another program's.
    virtual bool clientRect(HWND window, RECT& rect) = 0;
    // The window an xscreensaver hack draws in: $XSCREENSAVER_WINDOW, else
    // the root window. 0 when there is none.
    virtual HWND screenSaverWindow() = 0;
    virtual void setCursorVisible(bool visible) = 0;
};

// The system's window system: SDL2 on a Linux display, Win32 on Windows.
// Null when there is none to open, with the reason in `error`.
std::unique_ptr<WindowBackend> openDisplayBackend(std::string& error);

// The backend in use: a headless one unless another was installed.
WindowBackend& backend();
// Installs `b` (null: back to the default) and returns the previous one.
// Windows of the previous backend must have been destroyed.
std::unique_ptr<WindowBackend> setBackend(std::unique_ptr<WindowBackend> b);

}  // namespace platform
