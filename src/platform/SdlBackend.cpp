#include "platform/SdlBackend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/MessageLoop.h"
#include "platform/PresentPacing.h"
#include "platform/Signals.h"
#include "platform/Surface.h"
#include "platform/Wnd.h"
#include "platform/WorkGovernor.h"
#include "platform/X11Embed.h"
#include "platform/X11Image.h"

namespace platform {

namespace {

// How often the parent of an embedded window is checked for being there.
constexpr int64_t kParentCheckMs = 500;

int64_t steadyNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// The kernel's clock tick, without asking the hardware.
int64_t coarseNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

uint64_t gPresents = 0;

UINT vkFromSdl(const SDL_Keysym& k) {
    const SDL_Keycode c = k.sym;
    if (c >= SDLK_a && c <= SDLK_z) return static_cast<UINT>('A' + (c - SDLK_a));
    if (c >= SDLK_0 && c <= SDLK_9) return static_cast<UINT>('0' + (c - SDLK_0));
    if (c >= SDLK_F1 && c <= SDLK_F12) return VK_F1 + static_cast<UINT>(c - SDLK_F1);
    switch (c) {
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_END:
            return VK_END;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_PAUSE:
            return VK_PAUSE;
        case SDLK_CAPSLOCK:
            return VK_CAPITAL;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        case SDLK_LGUI:
        case SDLK_RGUI:
            return VK_LWIN;
        default:
            return VK_OEM_1;
    }
}

UINT mouseFlags(Uint32 buttons) {
    const SDL_Keymod mod = SDL_GetModState();
    return input::keyFlags(buttons & SDL_BUTTON_LMASK, buttons & SDL_BUTTON_RMASK, buttons & SDL_BUTTON_MMASK,
                           mod & KMOD_SHIFT, mod & KMOD_CTRL);
}

class SdlBackend;

class SdlWindow final : public NativeWindow {
public:
    SdlWindow(SdlBackend& owner, CWnd& wnd) : m_owner(&owner), m_wnd(wnd) {}
    ~SdlWindow() override;
    HWND handle() const override { return m_handle; }
    SIZE clientSize() const override {
        int w = 0, h = 0;
        SDL_GetWindowSize(m_sdl, &w, &h);
        return {w, h};
    }

    SdlBackend* m_owner;  // null once the backend has gone
    CWnd& m_wnd;
    SDL_Window* m_sdl = nullptr;
    HWND m_handle = 0;
    // Inside a foreign window: the parent and the child we made in it.
    HWND m_parent = 0;
    HWND m_child = 0;
    bool m_fillsParent = false;
    bool m_active = false;
    ShownArea m_shown;
    // On X11: the image the window is shown through, and what changed but
    // could not be shown yet because the server was still reading it.
    std::unique_ptr<x11::WindowImage> m_image;
    bool m_imageFailed = false;
    RECT m_unshown{};
};

class SdlBackend final : public WindowBackend {
public:
    bool start(std::string& error);
    ~SdlBackend() override;

    std::unique_ptr<NativeWindow> createWindow(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                               HWND parent, std::string& error) override;
    void pumpEvents(int64_t timeoutMs) override;
    void idleTest() override {
        // Once a tick of the coarse clock (1 to 10 ms, as the kernel is
        // built): reading it costs a few nanoseconds where the precise
        // clocks of the event poll and the present cost ten times as much,
        // which styles asking at every point would pay millions of times a
        // second.
        const int64_t tick = coarseNs();
        if (tick == m_lastIdleTick) return;
        m_lastIdleTick = tick;
        if (const int64_t rest = m_governor.restDueMs(steadyNs()); rest > 0) {
            present(true);
            pumpEvents(rest);
        } else {
            pumpEvents(0);
            present(false);
        }
    }
    void present(bool force) override;
    RECT virtualScreen() override;
    int monitorCount() override { return std::max(SDL_GetNumVideoDisplays(), 1); }
    bool clientRect(HWND window, RECT& rect) override;
    HWND screenSaverWindow() override;
    void setCursorVisible(bool visible) override { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

    void forget(SdlWindow* w) { std::erase(m_windows, w); }
    // SDL's X11 connection, once a window has told it; else null.
    void* sdlDisplay() const { return m_sdlDisplay; }
    x11::Connection* x11() { return m_x11.get(); }

private:
    void wait(int64_t timeoutMs);
    bool eventPending() const { return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); }
    void waitForEvent(int64_t ms);
    bool createChild(SdlWindow& w, const RECT& rect, HWND parent, std::string& error);
    void translate(const SDL_Event& e);
    void translateRaw(const SDL_SysWMmsg& msg);
    void checkParents();
    SdlWindow* find(Uint32 windowId) const;
    CWnd* target(Uint32 windowId) const;
    void presentWindow(SdlWindow& w);
    bool presentX11(SdlWindow& w, const CSurface& s, RECT area);
    void forwardSignals();

    bool m_isX11 = false;
    std::unique_ptr<x11::Connection> m_x11;
    void* m_sdlDisplay = nullptr;
    std::vector<SdlWindow*> m_windows;
    Uint32 m_wakeEvent = 0;
    int m_stopPipe[2] = {-1, -1};
    std::thread m_forwarder;
    PresentPacer m_pacer;
    uint32_t m_lastPollMs = 0;
    int64_t m_lastIdleTick = -1;
    WorkGovernor m_governor;
    uint32_t m_lastParentCheckMs = 0;
    std::vector<uint32_t> m_scratch;
};

SdlWindow::~SdlWindow() {
    m_image.reset();
    if (!m_owner) return;
    m_owner->forget(this);
    if (m_sdl) SDL_DestroyWindow(m_sdl);
    // A window inside one that went away leaves failed requests behind.
    x11::sync(m_owner->sdlDisplay());
    if (m_child && m_owner->x11()) m_owner->x11()->destroyWindow(m_child);
}

bool SdlBackend::start(std::string& error) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!driver || !*driver) {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) {
            error = kNoDisplayMessage;
            return false;
        }
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Shared-memory images: only the changed part travels, and no GL
    // context is tried on machines without a GPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Installed first, so that SDL keeps them as the handlers it falls back
    // to and puts back when it closes its connections: a request that fails
    // because the window we drew in has gone must not end the program then.
    x11::installErrorHandlers();
    // SDL's input-method support asks for the session bus. Where the
    // environment names none (a saver started outside the desktop session,
    // a test display), libdbus would "autolaunch" one: fork, search the PATH
    // for dbus-launch and, where that is installed, start a bus daemon and
    // wait for it, on every start. A saver has no use for input methods, so
    // the bus is named unusable while SDL starts and the environment is put
    // back afterwards.
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const bool noBus = !bus || !*bus;
    if (noBus) setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (noBus) unsetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!started) {
        error = kNoDisplayMessage;
        return false;
    }
    m_isX11 = std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0;
    if (m_isX11) {
        m_x11 = x11::Connection::open();
        x11::installErrorHandlers();
    }
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    m_wakeEvent = SDL_RegisterEvents(1);
    installTerminationHandlers();
    if (pipe2(m_stopPipe, O_CLOEXEC) == 0) m_forwarder = std::thread([this] { forwardSignals(); });
    return true;
}

SdlBackend::~SdlBackend() {
    if (m_forwarder.joinable()) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t n = write(m_stopPipe[1], &byte, 1);
        m_forwarder.join();
    }
    for (int fd : m_stopPipe)
        if (fd >= 0) close(fd);
    // Windows still open belong to their CWnd; they are no longer shown.
    for (SdlWindow* w : m_windows) {
        w->m_image.reset();
        SDL_DestroyWindow(w->m_sdl);
        w->m_sdl = nullptr;
        w->m_owner = nullptr;
    }
    x11::sync(m_sdlDisplay);
    m_x11.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

// Turns a termination signal into an SDL event, which wakes the event wait
// of the user-interface thread at once.
void SdlBackend::forwardSignals() {
    sigset_t mask;
    sigemptyset(&mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&mask, sig);
    pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    for (;;) {
        pollfd fds[2] = {{terminationFd(), POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return;
        if (fds[0].revents) {
            drainTerminationFd();
            SDL_Event e{};
            e.type = m_wakeEvent;
            SDL_PushEvent(&e);
        }
    }
}

std::unique_ptr<NativeWindow> SdlBackend::createWindow(CWnd& wnd, DWORD exStyle, DWORD style,
                                                       const RECT& rect, HWND parent, std::string& error) {
    auto w = std::make_unique<SdlWindow>(*this, wnd);
    if (style & WS_CHILD) {
        if (!createChild(*w, rect, parent, error)) return nullptr;
    } else {
        Uint32 flags = SDL_WINDOW_SHOWN;
        if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
        if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
        if (exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
        w->m_sdl = SDL_CreateWindow("Quorvane", rect.left, rect.top, std::max(rect.width(), 1),
                                    std::max(rect.height(), 1), flags);
        if (!w->m_sdl) {
            error = std::string("could not make a window: ") + SDL_GetError();
            return nullptr;
        }
        SDL_RaiseWindow(w->m_sdl);
        if (style & WS_POPUP) SDL_SetWindowInputFocus(w->m_sdl);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        w->m_handle = SDL_GetWindowID(w->m_sdl);
        if (m_isX11 && SDL_GetWindowWMInfo(w->m_sdl, &info) && info.subsystem == SDL_SYSWM_X11) {
            w->m_handle = info.info.x11.window;
            m_sdlDisplay = info.info.x11.display;
        }
        // A window that appears under the pointer is asked for its cursor.
        wnd.PostMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    m_windows.push_back(w.get());
    return w;
}

bool SdlBackend::createChild(SdlWindow& w, const RECT& rect, HWND parent, std::string& error) {
    if (!m_x11) {
        error = "drawing inside another window needs an X11 display";
        return false;
    }
    const HWND child = m_x11->createChild(parent, rect, error);
    if (!child) return false;
    w.m_child = child;
    w.m_parent = parent;
    SIZE parentSize{};
    w.m_fillsParent = m_x11->windowSize(parent, parentSize) && rect.left == 0 && rect.top == 0 &&
                      rect.width() == parentSize.cx && rect.height() == parentSize.cy;
    w.m_sdl = SDL_CreateWindowFrom(reinterpret_cast<const void*>(static_cast<uintptr_t>(child)));
    if (!w.m_sdl) {
        error = std::string("could not use the window: ") + SDL_GetError();
        return false;
    }
    w.m_handle = child;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w.m_sdl, &info) || info.subsystem != SDL_SYSWM_X11 ||
        !x11::selectEmbeddedInput(info.info.x11.display, child, parent, nullptr)) {
        error = "the window to draw in went away";
        return false;
    }
    m_sdlDisplay = info.info.x11.display;
    return true;
}

SdlWindow* SdlBackend::find(Uint32 windowId) const {
    for (SdlWindow* w : m_windows)
        if (w->m_sdl && SDL_GetWindowID(w->m_sdl) == windowId) return w;
    return nullptr;
}

CWnd* SdlBackend::target(Uint32 windowId) const {
    if (SdlWindow* w = find(windowId)) return &w->m_wnd;
    // Keys come without a window when SDL has not seen our window take the
    // focus (a window inside another program's never does).
    if (CWnd* main = mainWindow()) return main;
    return m_windows.empty() ? nullptr : &m_windows.front()->m_wnd;
}

// SDL's timed wait counts whole milliseconds of its own and may end a little
// early; a caller that asked for a wait must not get less. Waits again for
// what is left until an event is pending or the time has passed.
void SdlBackend::waitForEvent(int64_t ms) {
    Clock& c = clock();
    const int64_t frequency = c.counterFrequency();
    if (frequency <= 0) {
        SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
        return;
    }
    const int64_t deadline = c.counter() + ms * frequency / 1000;
    for (int64_t now = c.counter(); now < deadline; now = c.counter()) {
        const int64_t left = (deadline - now + frequency / 1000 - 1) * 1000 / frequency;
        if (SDL_WaitEventTimeout(nullptr, static_cast<int>(std::max<int64_t>(1, left)))) return;
    }
}

void SdlBackend::pumpEvents(int64_t timeoutMs) {
    if (timeoutMs != 0) {
        m_governor.waitBegins(steadyNs());
        if (!eventPending()) wait(timeoutMs);
        m_governor.waitEnds(steadyNs());
    }
    m_lastPollMs = SDL_GetTicks();
    if (takeTerminationRequest()) closeMainWindow();
    SDL_Event e;
    while (SDL_PollEvent(&e)) translate(e);
    if (m_lastPollMs - m_lastParentCheckMs >= kParentCheckMs) {
        m_lastParentCheckMs = m_lastPollMs;
        checkParents();
    }
}

// Waits for an event or the time; a present that is due is made at its
// slot on the way, unless an event comes first (input goes first; the
// present then stays due).
void SdlBackend::wait(int64_t timeoutMs) {
    int64_t wait = timeoutMs < 0 ? INT_MAX : timeoutMs;
    const bool embedded =
        std::any_of(m_windows.begin(), m_windows.end(), [](const SdlWindow* w) { return w->m_parent != 0; });
    if (embedded) wait = std::min<int64_t>(wait, kParentCheckMs);
    const int64_t endNs = wait >= INT_MAX ? INT64_MAX : steadyNs() + wait * 1000000;
    while (m_pacer.due()) {
        const int64_t now = steadyNs();
        const int64_t slotNs = m_pacer.nextSlotNs();
        if (slotNs >= endNs) break;
        if (slotNs > now) waitForEvent((slotNs - now + 999999) / 1000000);
        if (eventPending()) return;
        present(false);
    }
    if (eventPending()) return;
    if (endNs == INT64_MAX) {
        SDL_WaitEvent(nullptr);
        return;
    }
    const int64_t leftNs = endNs - steadyNs();
    if (leftNs > 0) waitForEvent((leftNs + 999999) / 1000000);
}

void SdlBackend::checkParents() {
    if (!m_x11) return;
    for (SdlWindow* w : m_windows) {
        SIZE size{};
        if (w->m_parent && !m_x11->windowSize(w->m_parent, size)) w->m_wnd.PostMessage(WM_QV_PARENTGONE);
    }
}

void SdlBackend::translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_MOUSEMOTION:
            input::mouseMove(target(e.motion.windowID), e.motion.x, e.motion.y, mouseFlags(e.motion.state));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            input::Button b;
            if (e.button.button == SDL_BUTTON_LEFT)
                b = input::Button::Left;
            else if (e.button.button == SDL_BUTTON_RIGHT)
                b = input::Button::Right;
            else if (e.button.button == SDL_BUTTON_MIDDLE)
                b = input::Button::Middle;
            else
                break;
            input::mouseButton(target(e.button.windowID), b, e.type == SDL_MOUSEBUTTONDOWN, e.button.x,
                               e.button.y, mouseFlags(SDL_GetMouseState(nullptr, nullptr)));
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const UINT vk = vkFromSdl(e.key.keysym);
            const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0 || (vk == VK_MENU && e.type == SDL_KEYDOWN);
            input::key(target(e.key.windowID), vk, e.type == SDL_KEYDOWN, alt, e.key.repeat != 0);
            break;
        }
        case SDL_WINDOWEVENT: {
            SdlWindow* w = find(e.window.windowID);
            if (!w) break;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    if (!w->m_active) input::activation(&w->m_wnd, true);
                    w->m_active = true;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    if (w->m_active) input::activation(&w->m_wnd, false);
                    w->m_active = false;
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    w->m_wnd.PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(e.window.data1, e.window.data2));
                    w->m_shown.showAll();
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    w->m_shown.showAll();
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    w->m_wnd.PostMessage(WM_CLOSE);
                    break;
                default:
                    break;
            }
            break;
        }
        case SDL_SYSWMEVENT:
            if (e.syswm.msg && e.syswm.msg->subsystem == SDL_SYSWM_X11) translateRaw(*e.syswm.msg);
            break;
        default:
            if (e.type == m_wakeEvent && takeTerminationRequest()) closeMainWindow();
            break;
    }
}

// Events of the foreign parent (SDL knows nothing of it) and the end of the
// child we made.
void SdlBackend::translateRaw(const SDL_SysWMmsg& msg) {
    const x11::RawEvent r = x11::decode(&msg.msg.x11.event);
    for (SdlWindow* w : m_windows) {
        if (!w->m_parent || (r.window != w->m_parent && r.window != w->m_child)) continue;
        CWnd* wnd = &w->m_wnd;
        switch (r.kind) {
            case x11::RawEvent::Kind::Destroyed:
                wnd->PostMessage(WM_QV_PARENTGONE);
                break;
            case x11::RawEvent::Kind::Resized:
                if (r.window == w->m_parent && w->m_fillsParent && m_x11)
                    m_x11->resizeWindow(w->m_child, r.width, r.height);
                break;
            case x11::RawEvent::Kind::KeyDown:
            case x11::RawEvent::Kind::KeyUp:
                if (r.window == w->m_parent)
                    input::key(wnd, r.vk, r.kind == x11::RawEvent::Kind::KeyDown, r.alt);
                break;
            case x11::RawEvent::Kind::ButtonDown:
                if (r.window == w->m_parent && r.button >= 0 && r.button <= 2) {
                    static constexpr input::Button kButtons[] = {input::Button::Left, input::Button::Middle,
                                                                 input::Button::Right};
                    input::mouseButton(wnd, kButtons[r.button], true, r.x, r.y);
                }
                break;
            default:
                break;
        }
    }
}

void SdlBackend::present(bool force) {
    if (!m_pacer.startPresent(steadyNs(), force)) return;
    ++gPresents;
    for (SdlWindow* w : m_windows) presentWindow(*w);
}

void SdlBackend::presentWindow(SdlWindow& w) {
    CSurface& s = w.m_wnd.surface();
    if (!w.m_sdl || !s.valid()) return;
    RECT area = w.m_shown.take(s);
    if (presentX11(w, s, area)) return;
    SDL_Surface* screen = SDL_GetWindowSurface(w.m_sdl);
    if (!screen) return;
    area = intersectRect(area, RECT{0, 0, screen->w, screen->h});
    if (area.empty()) return;
    const auto& hardware = CDisplay::instance().hardwarePalette();
    auto* dst = static_cast<uint8_t*>(screen->pixels) + static_cast<size_t>(area.top) * screen->pitch +
                static_cast<size_t>(area.left) * 4;
    const Uint32 format = screen->format->format;
    const int pitch = screen->pitch / 4;
    if (format == SDL_PIXELFORMAT_XBGR8888 || format == SDL_PIXELFORMAT_ABGR8888) {
        convertToColorRefs(s, area, hardware, reinterpret_cast<uint32_t*>(dst), pitch);
    } else if (format == SDL_PIXELFORMAT_XRGB8888 || format == SDL_PIXELFORMAT_ARGB8888) {
        convertToXrgb(s, area, hardware, reinterpret_cast<uint32_t*>(dst), pitch);
    } else {
        const size_t n = static_cast<size_t>(area.width()) * static_cast<size_t>(area.height());
        if (m_scratch.size() < n) m_scratch.resize(n);
        convertToColorRefs(s, area, hardware, m_scratch.data(), area.width());
        SDL_ConvertPixels(area.width(), area.height(), SDL_PIXELFORMAT_XBGR8888, m_scratch.data(),
                          area.width() * 4, format, dst, screen->pitch);
    }
    const SDL_Rect r{area.left, area.top, area.width(), area.height()};
    SDL_UpdateWindowSurfaceRects(w.m_sdl, &r, 1);
}

// Shows a window of an X11 display through an image of our own: SDL's
// window framebuffer waits for the server to finish every picture (a round
// trip per present); this one is told by an event. False where the window
// cannot be shown so (then SDL's framebuffer serves).
bool SdlBackend::presentX11(SdlWindow& w, const CSurface& s, RECT area) {
    if (!m_isX11 || w.m_imageFailed || !w.m_handle) return false;
    const SIZE size = w.clientSize();
    if (!w.m_image || w.m_image->width() != size.cx || w.m_image->height() != size.cy) {
        w.m_image = x11::WindowImage::create(w.m_handle, size.cx, size.cy);
        w.m_imageFailed = !w.m_image;
        if (!w.m_image) return false;
        area = s.bounds();
        w.m_unshown = {};
    }
    area = unionRect(area, w.m_unshown);
    if (!w.m_image->ready()) {
        // The server still reads the last picture: shown at the next slot.
        w.m_unshown = area;
        m_pacer.makeDue();
        return true;
    }
    w.m_unshown = {};
    area = intersectRect(area, RECT{0, 0, w.m_image->width(), w.m_image->height()});
    area = intersectRect(area, s.bounds());
    if (area.empty()) return true;
    const int pitch = w.m_image->pitch();
    convertToXrgb(s, area, CDisplay::instance().hardwarePalette(),
                  w.m_image->pixels() + static_cast<size_t>(area.top) * pitch + area.left, pitch);
    w.m_image->put(area);
    return true;
}

RECT SdlBackend::virtualScreen() {
    RECT all{};
    const int n = SDL_GetNumVideoDisplays();
    for (int i = 0; i < n; ++i) {
        SDL_Rect b;
        if (SDL_GetDisplayBounds(i, &b) == 0) all = unionRect(all, RECT{b.x, b.y, b.x + b.w, b.y + b.h});
    }
    return all;
}

bool SdlBackend::clientRect(HWND window, RECT& rect) {
    for (SdlWindow* w : m_windows)
        if (w->m_handle == window) {
            const SIZE s = w->clientSize();
            rect = {0, 0, s.cx, s.cy};
            return true;
        }
    SIZE size{};
    if (!m_x11 || !m_x11->windowSize(window, size)) return false;
    rect = {0, 0, size.cx, size.cy};
    return true;
}

HWND SdlBackend::screenSaverWindow() {
    if (const char* v = std::getenv("XSCREENSAVER_WINDOW"); v && *v) {
        char* end = nullptr;
        const unsigned long long id = std::strtoull(v, &end, 0);
        if (end && *end == '\0' && id != 0) return id;
    }
    return m_x11 ? m_x11->rootWindow() : 0;
}

}  // namespace

uint64_t sdlPresentCount() { return gPresents; }

std::unique_ptr<WindowBackend> openSdlBackend(std::string& error) {
    auto b = std::make_unique<SdlBackend>();
    if (!b->start(error)) return nullptr;
    return b;
}

std::unique_ptr<WindowBackend> openDisplayBackend(std::string& error) { return openSdlBackend(error); }

}  // namespace platform
