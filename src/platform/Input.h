#pragma once
// The messages a device event becomes, posted to a window in the order the
// classic window manager sends them. Both backends post input through here,
// so that a scripted key press and a real one are the same messages.

#include "platform/Messages.h"

namespace platform::input {

enum class Button { Left, Right, Middle };

// WM_SETCURSOR, then WM_MOUSEMOVE at client coordinates (x, y).
void mouseMove(CWnd* wnd, int x, int y, UINT keyFlags = 0);
// WM_SETCURSOR and the button-down message, or the button-up message.
void mouseButton(CWnd* wnd, Button button, bool down, int x, int y, UINT keyFlags = 0);
// WM_KEYDOWN or WM_KEYUP; WM_SYSKEYDOWN or WM_SYSKEYUP while Alt is held
// and for F10, as system keys are.
void key(CWnd* wnd, UINT vk, bool down, bool altHeld, bool repeat = false);
// Gaining: WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE. Losing: the same in
// the reverse order, with WA_INACTIVE.
void activation(CWnd* wnd, bool active);

// The mouse-message key flags for the held buttons and modifiers.
UINT keyFlags(bool left, bool right, bool middle, bool shift, bool control);

}  // namespace platform::input
