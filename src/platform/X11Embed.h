#pragma once
// The X11 side of drawing inside another program's window: a connection of
// our own that makes the child window and asks about foreign windows, input
// selection on behalf of SDL's connection (SDL selects none on windows it
// did not make), X errors that must not end the program, and the raw events
// of the foreign parent.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Messages.h"

namespace platform::x11 {

// Installs the error handlers: protocol errors are recorded, not fatal; a
// lost connection ends the program with a message.
void installErrorHandlers();

// How many protocol errors the handlers have seen so far.
unsigned long errorCount();

// Waits until the server has handled every request of `display` (SDL's
// connection), so that the errors of those requests reach our handler
// rather than one that SDL puts back when it closes the display.
void sync(void* display);

class Connection {
public:
    // Null when no X display can be opened.
    static std::unique_ptr<Connection> open();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    HWND rootWindow() const;
    // The size of a window; false when there is no such window.
    bool windowSize(HWND window, SIZE& size);
    bool isRoot(HWND window) const { return window == rootWindow(); }
    // A mapped child of `parent` covering `rect` of its client area, without
    // a background (so nothing flashes before the first picture); 0 on
    // failure with the reason in `error`.
    HWND createChild(HWND parent, const RECT& rect, std::string& error);
    void destroyWindow(HWND window);
    void resizeWindow(HWND window, int width, int height);

private:
    explicit Connection(void* display) : m_display(display) {}
    void* m_display;  // Display*
};

// Selects, through `display` (SDL's connection), all the input of the
// `child` we made and, on the foreign `parent`, its destruction, size
// changes, keys and focus, and button presses unless another client holds
// them. False when the parent is gone.
bool selectEmbeddedInput(void* display, HWND child, HWND parent, bool* buttonsOnParent);

// A raw event of SDL's connection that concerns a foreign window.
struct RawEvent {
    enum class Kind { Other, Destroyed, Resized, KeyDown, KeyUp, ButtonDown, Motion };
    Kind kind = Kind::Other;
    HWND window = 0;
    int width = 0, height = 0;  // Resized
    UINT vk = 0;                // KeyDown, KeyUp
    bool alt = false;
    int button = 0;  // ButtonDown: 0 left, 1 middle, 2 right (X numbering less one)
    int x = 0, y = 0;
};
RawEvent decode(const void* xevent);

}  // namespace platform::x11
