#include "platform/Input.h"

#include "platform/MessageLoop.h"
#include "platform/Wnd.h"

namespace platform::input {

namespace {

void post(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (wnd) wnd->PostMessage(message, wParam, lParam);
}

}  // namespace

void mouseMove(CWnd* wnd, int x, int y, UINT flags) {
    if (!wnd) return;
    post(wnd, WM_SETCURSOR, static_cast<WPARAM>(wnd->GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    post(wnd, WM_MOUSEMOVE, flags, MAKELPARAM(x, y));
}

void mouseButton(CWnd* wnd, Button button, bool down, int x, int y, UINT flags) {
    if (!wnd) return;
    UINT message = 0;
    switch (button) {
        case Button::Left:
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case Button::Right:
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
        case Button::Middle:
            message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
    }
    if (down) post(wnd, WM_SETCURSOR, static_cast<WPARAM>(wnd->GetSafeHwnd()), MAKELPARAM(HTCLIENT, message));
    post(wnd, message, flags, MAKELPARAM(x, y));
}

void key(CWnd* wnd, UINT vk, bool down, bool altHeld, bool repeat) {
    const bool system = altHeld || vk == VK_MENU || vk == VK_F10;
    const UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    LPARAM lParam = 1;  // repeat count
    if (altHeld) lParam |= KF_ALTDOWN_BIT;
    if (repeat || !down) lParam |= KF_REPEAT_BIT;
    post(wnd, message, vk, lParam);
}

void activation(CWnd* wnd, bool active) {
    if (active) {
        post(wnd, WM_ACTIVATEAPP, 1, 0);
        post(wnd, WM_NCACTIVATE, 1, 0);
        post(wnd, WM_ACTIVATE, WA_ACTIVE, 0);
    } else {
        post(wnd, WM_NCACTIVATE, 0, 0);
        post(wnd, WM_ACTIVATE, WA_INACTIVE, 0);
        post(wnd, WM_ACTIVATEAPP, 0, 0);
    }
}

UINT keyFlags(bool left, bool right, bool middle, bool shift, bool control) {
    return (left ? MK_LBUTTON : 0) | (right ? MK_RBUTTON : 0) | (middle ? MK_MBUTTON : 0) |
           (shift ? MK_SHIFT : 0) | (control ? MK_CONTROL : 0);
}

}  // namespace platform::input
