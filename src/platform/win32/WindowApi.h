#pragma once
// Bridge to the window services of Windows (WindowApi.cpp, the system side):
// windows of our class, the thread's message queue, showing pixels, the
// cursor, the monitors. Window styles and virtual keys are the numbers our
// Messages.h uses, which are Windows' own. See Api.h for the rules.

#include <cstdint>
#include <string>

#include "platform/win32/Api.h"

namespace platform::win32 {

// What one of our windows hears from the system, in client coordinates.
struct WindowEvent {
    enum class Kind {
        MouseMove,
        ButtonDown,  // `button`: 0 left, 1 right, 2 middle
        ButtonUp,
        KeyDown,  // `vk`, `alt`, `repeat`
        KeyUp,
        Focus,      // `active`: the window became (or stopped being) the active one
        Size,       // `x`, `y`: the new client width and height
        Close,      // the user asked to close it (Alt+F4 by the system, the close box)
        Gone,       // the system destroyed it: its parent went away
        Paint,      // `area` must be shown again (it was uncovered)
        SysCommand  // `command`
    };
    Kind kind = Kind::MouseMove;
    int32_t x = 0;
    int32_t y = 0;
    int button = 0;
    uint32_t keyFlags = 0;  // MK_* of a mouse event
    uint32_t vk = 0;
    bool alt = false;
    bool repeat = false;
    bool active = false;
    uint32_t command = 0;
    Box area;
};

class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // Called from inside the system's dispatch, on the one thread.
    virtual void onEvent(const WindowEvent& e) = 0;
};

// Makes a window of our class: a top-level one at `rect` in screen
// coordinates, or (WS_CHILD) a child of `parent` at `rect` in its client
// area. `events` hears what happens to it until destroyWindow(). Tells the
// parent's death by a Gone event. 0 on failure, with the reason in `error`.
uint64_t createWindow(uint32_t exStyle, uint32_t style, const Box& rect, uint64_t parent,
                      WindowEvents* events, std::string& error);
// Destroys a window made by createWindow; its events hear nothing more.
void destroyWindow(uint64_t window);
bool isWindow(uint64_t window);
// The client size of any window, ours or another program's.
bool clientSize(uint64_t window, int32_t& width, int32_t& height);
Box virtualScreen();
int monitorCount();

// Dispatches every message waiting for this thread's windows.
void dispatchWaiting();
// A message of the system is waiting (input, posted, paint, timer), without
// taking it: the idle test's look.
bool systemMessageWaiting();
// Waits until a message arrives or `ms` milliseconds passed (negative: no
// limit); true when one arrived. One already waiting, seen or not, ends the
// wait at once.
bool waitForSystemMessage(int64_t ms);

// Shows `width` x `height` pixels (rows of 0x00RRGGBB, `stride` pixels apart)
// at (x, y) of the window's client area.
void showPixels(uint64_t window, int32_t x, int32_t y, const uint32_t* pixels, int32_t width, int32_t height,
                int32_t stride);
// Hides the pointer over our windows (or shows the arrow again).
void setCursorHidden(bool hidden);
// A millisecond tick that is cheap to read.
uint64_t tickMs();

}  // namespace platform::win32
