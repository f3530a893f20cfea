#include "platform/X11Embed.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace platform::x11 {

namespace {

// Protocol errors of any connection: counted, the last one kept. The
// classic handler would end the program on the first BadWindow, which is
// just what happens when the window we draw in goes away.
unsigned long gErrorCount = 0;
int gLastError = 0;

extern "C" int onXError(Display*, XErrorEvent* e) {
    ++gErrorCount;
    gLastError = e->error_code;
    return 0;
}

extern "C" int onXIOError(Display*) {
    static const char text[] = "quorvane: lost the connection to the display\n";
    [[maybe_unused]] const ssize_t n = write(2, text, sizeof text - 1);
    _exit(1);
}

// Runs a request and reports the error it caused (0 for none).
template <typename F>
int trapped(Display* d, F&& request) {
    XSync(d, False);
    const unsigned long before = gErrorCount;
    request();
    XSync(d, False);
    return gErrorCount != before ? gLastError : 0;
}

Display* dpy(void* d) { return static_cast<Display*>(d); }

UINT vkFromKeysym(KeySym k) {
    if (k >= XK_a && k <= XK_z) return static_cast<UINT>('A' + (k - XK_a));
    if (k >= XK_A && k <= XK_Z) return static_cast<UINT>('A' + (k - XK_A));
    if (k >= XK_0 && k <= XK_9) return static_cast<UINT>('0' + (k - XK_0));
    if (k >= XK_F1 && k <= XK_F12) return VK_F1 + static_cast<UINT>(k - XK_F1);
    switch (k) {
        case XK_Escape:
            return VK_ESCAPE;
        case XK_Return:
        case XK_KP_Enter:
            return VK_RETURN;
        case XK_space:
            return VK_SPACE;
        case XK_Tab:
            return VK_TAB;
        case XK_BackSpace:
            return VK_BACK;
        case XK_Left:
            return VK_LEFT;
        case XK_Right:
            return VK_RIGHT;
        case XK_Up:
            return VK_UP;
        case XK_Down:
            return VK_DOWN;
        case XK_Shift_L:
        case XK_Shift_R:
            return VK_SHIFT;
        case XK_Control_L:
        case XK_Control_R:
            return VK_CONTROL;
        case XK_Alt_L:
        case XK_Alt_R:
        case XK_Meta_L:
        case XK_Meta_R:
            return VK_MENU;
        case XK_Super_L:
        case XK_Super_R:
            return VK_LWIN;
        default:
            return VK_OEM_1;
    }
}

}  // namespace

void installErrorHandlers() {
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXIOError);
}

unsigned long errorCount() { return gErrorCount; }

void sync(void* display) {
    if (display) {
        installErrorHandlers();
        XSync(dpy(display), False);
    }
}

std::unique_ptr<Connection> Connection::open() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    return std::unique_ptr<Connection>(new Connection(d));
}

Connection::~Connection() { XCloseDisplay(dpy(m_display)); }

HWND Connection::rootWindow() const { return DefaultRootWindow(dpy(m_display)); }

bool Connection::windowSize(HWND window, SIZE& size) {
    if (window == 0 || window > 0xFFFFFFFFu) return false;
    XWindowAttributes a{};
    Status ok = 0;
    const int error = trapped(
        dpy(m_display), [&] { ok = XGetWindowAttributes(dpy(m_display), static_cast<Window>(window), &a); });
    if (error || !ok) return false;
    size = {a.width, a.height};
    return true;
}

HWND Connection::createChild(HWND parent, const RECT& rect, std::string& error) {
    SIZE parentSize{};
    if (!windowSize(parent, parentSize)) {
        char text[96];
        std::snprintf(text, sizeof text, "there is no window 0x%lx to draw in",
                      static_cast<unsigned long>(parent));
        error = text;
        return 0;
    }
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    // A child of the root is a top-level window: keep the window manager
    // out of it, as xscreensaver's own windows do.
    attributes.override_redirect = isRoot(parent) ? True : False;
    Window child = 0;
    const int failed = trapped(dpy(m_display), [&] {
        child =
            XCreateWindow(dpy(m_display), static_cast<Window>(parent), rect.left, rect.top,
                          static_cast<unsigned>(std::max(rect.width(), 1)),
                          static_cast<unsigned>(std::max(rect.height(), 1)), 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWBackPixmap | CWBorderPixel | CWOverrideRedirect, &attributes);
        XMapWindow(dpy(m_display), child);
    });
    if (failed || !child) {
        error = "could not make a window inside the window given";
        return 0;
    }
    return child;
}

void Connection::destroyWindow(HWND window) {
    trapped(dpy(m_display), [&] { XDestroyWindow(dpy(m_display), static_cast<Window>(window)); });
}

void Connection::resizeWindow(HWND window, int width, int height) {
    trapped(dpy(m_display), [&] {
        XResizeWindow(dpy(m_display), static_cast<Window>(window), static_cast<unsigned>(std::max(width, 1)),
                      static_cast<unsigned>(std::max(height, 1)));
    });
}

bool selectEmbeddedInput(void* display, HWND child, HWND parent, bool* buttonsOnParent) {
    Display* d = dpy(display);
    const long childMask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                           PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                           ExposureMask | StructureNotifyMask;
    trapped(d, [&] { XSelectInput(d, static_cast<Window>(child), childMask); });
    const long parentMask = StructureNotifyMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;
    // Only one client may select button presses on a window; the program
    // that owns the parent often does.
    int error =
        trapped(d, [&] { XSelectInput(d, static_cast<Window>(parent), parentMask | ButtonPressMask); });
    bool buttons = error == 0;
    if (error == BadAccess)
        error = trapped(d, [&] { XSelectInput(d, static_cast<Window>(parent), parentMask); });
    if (buttonsOnParent) *buttonsOnParent = buttons;
    return error == 0;
}

RawEvent decode(const void* xevent) {
    const XEvent& e = *static_cast<const XEvent*>(xevent);
    RawEvent r;
    switch (e.type) {
        case DestroyNotify:
            r.kind = RawEvent::Kind::Destroyed;
            r.window = e.xdestroywindow.window;
            break;
        case ConfigureNotify:
            r.kind = RawEvent::Kind::Resized;
            r.window = e.xconfigure.window;
            r.width = e.xconfigure.width;
            r.height = e.xconfigure.height;
            break;
        case KeyPress:
        case KeyRelease: {
            XKeyEvent k = e.xkey;
            r.kind = e.type == KeyPress ? RawEvent::Kind::KeyDown : RawEvent::Kind::KeyUp;
            r.window = k.window;
            r.vk = vkFromKeysym(XLookupKeysym(&k, 0));
            r.alt = (k.state & Mod1Mask) != 0;
            break;
        }
        case ButtonPress:
            r.kind = RawEvent::Kind::ButtonDown;
            r.window = e.xbutton.window;
            r.button = static_cast<int>(e.xbutton.button) - 1;
            r.x = e.xbutton.x;
            r.y = e.xbutton.y;
            break;
        default:
            r.window = e.xany.window;
            break;
    }
    return r;
}

}  // namespace platform::x11
