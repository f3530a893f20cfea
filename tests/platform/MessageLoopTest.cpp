// The message loop's rules and the SDL2 backend's input and presentation,
// with SDL's dummy video driver (no display needed). Device events are
// pushed into SDL's queue as a display would deliver them.

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/Backend.h"
#include "platform/MessageLoop.h"
#include "platform/SdlBackend.h"
#include "platform/Wnd.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records every message it gets; a few react as a test asks.
class RecordingWnd : public CWnd {
  public:
    explicit RecordingWnd(bool autoDelete = false, bool* deleted = nullptr)
        : CWnd(autoDelete), m_deleted(deleted) {}
    ~RecordingWnd() override {
        if (m_deleted) *m_deleted = true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({message, wParam, lParam});
        if (message == WM_PAINT) ++paints;
        return CWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<UINT> messages(std::initializer_list<UINT> only = {}) const {
        std::vector<UINT> out;
        for (const Seen& s : seen)
            if (only.size() == 0 || std::find(only.begin(), only.end(), s.message) != only.end())
                out.push_back(s.message);
        return out;
    }

    std::vector<Seen> seen;
    int paints = 0;
    int refuseCreate = 0;
    std::function<void(RecordingWnd&)> onPaint;
    std::function<void(RecordingWnd&, UINT)> onKey;

  protected:
    int OnCreate() override { return refuseCreate; }
    void OnPaint() override {
        if (onPaint) onPaint(*this);
    }
    void OnKeyDown(UINT vk, UINT, UINT) override {
        if (onKey) onKey(*this, vk);
    }

  private:
    bool* m_deleted;
};

class SdlLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string error;
        auto b = platform::openSdlBackend(error);
        ASSERT_TRUE(b) << error;
        platform::setBackend(std::move(b));
        platform::resetMessageQueue();
        CDisplay::instance().reset(32);
    }
    void TearDown() override {
        platform::setMainWindow(nullptr);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
        CDisplay::instance().reset(32);
    }

    static void create(CWnd& w, int width = 64, int height = 48) {
        ASSERT_TRUE(w.CreateEx(0, WS_POPUP | WS_VISIBLE, {0, 0, width, height})) << w.lastError();
    }

    static void pushKey(SDL_Keycode key, Uint16 mod = KMOD_NONE, Uint32 windowId = 0) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = windowId;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        e.key.state = SDL_PRESSED;
        SDL_PushEvent(&e);
    }

    static void pushWindowEvent(const CWnd& w, Uint8 event, int data1 = 0, int data2 = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = static_cast<Uint32>(w.GetSafeHwnd());
        e.window.event = event;
        e.window.data1 = data1;
        e.window.data2 = data2;
        SDL_PushEvent(&e);
    }

    // Takes every message now waiting and dispatches it; paints are not made.
    static void drain() {
        MSG m;
        while (PeekMessage(&m, PM_REMOVE)) DispatchMessage(&m);
    }
};

TEST_F(SdlLoop, InputAndPostedMessagesGoBeforeAPaint) {
    RecordingWnd w;
    create(w);
    w.seen.clear();
    ASSERT_TRUE(w.IsInvalid());
    w.PostMessage(WM_USER + 1);
    pushKey(SDLK_a, KMOD_NONE, static_cast<Uint32>(w.GetSafeHwnd()));
    EXPECT_TRUE(PeekMessage(nullptr, PM_NOREMOVE));  // fetches the key
    w.PostMessage(WM_USER + 2);

    MSG m;
    std::vector<MSG> order;
    for (int i = 0; i < 4 && GetMessage(&m); ++i) {
        order.push_back(m);
        DispatchMessage(&m);
    }
    // In the order they came; the paint waited for all of them.
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0].message, WM_USER + 1);
    EXPECT_EQ(order[1].message, WM_KEYDOWN);
    EXPECT_EQ(order[1].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(order[2].message, WM_USER + 2);
    EXPECT_EQ(order[3].message, WM_PAINT);
    EXPECT_FALSE(w.IsInvalid());
}

TEST_F(SdlLoop, PaintsOnlyWhileInvalidAndSleepsUntilInput) {
    RecordingWnd w;
    create(w);
    // Three paints that each ask for the next, one that does not; then the
    // loop must sleep until a key arrives, which ends it.
    w.onPaint = [](RecordingWnd& self) {
        if (self.paints < 4) self.Invalidate();
        if (self.paints == 1) self.PostMessage(WM_USER);
    };
    w.onKey = [](RecordingWnd&, UINT) { PostQuitMessage(3); };
    std::thread typist([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pushKey(SDLK_q);
    });
    const int code = platform::runMessageLoop();
    typist.join();
    EXPECT_EQ(code, 3);
    EXPECT_EQ(w.paints, 4);
    // The message posted during the first paint went before the second.
    const auto order = w.messages({WM_PAINT, WM_USER});
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[1], WM_USER);
    EXPECT_EQ(order[2], WM_PAINT);
}

TEST_F(SdlLoop, PeekLeavesTheMessageAndQuitEndsTheLoopAfterEarlierMessages) {
    RecordingWnd w;
    create(w);
    drain();
    EXPECT_FALSE(platform::messageWaiting()) << "an invalid window alone is no message";
    w.PostMessage(WM_USER + 5, 1, 2);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 5);
    EXPECT_TRUE(platform::messageWaiting());
    ASSERT_TRUE(PeekMessage(&m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 5);

    PostQuitMessage(9);
    EXPECT_TRUE(platform::messageWaiting());
    ASSERT_TRUE(GetMessage(&m));
    EXPECT_EQ(m.message, WM_USER + 5);
    EXPECT_EQ(m.lParam, 2);
    EXPECT_FALSE(GetMessage(&m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 9u);
    EXPECT_FALSE(platform::messageWaiting());
}

TEST_F(SdlLoop, DestructionDropsWaitingMessagesDeletesSelfDeletingWindowsAndEndsWithTheMain) {
    bool deleted = false;
    auto* w = new RecordingWnd(true, &deleted);
    create(*w);
    RecordingWnd other;
    create(other);
    w->PostMessage(WM_USER);
    other.PostMessage(WM_USER + 1);
    platform::setMainWindow(w);
    w->SendMessage(WM_CLOSE);  // the default closes by destroying
    ASSERT_TRUE(deleted);
    MSG m;
    ASSERT_TRUE(GetMessage(&m));
    EXPECT_EQ(m.pWnd, &other) << "the destroyed window's message must be gone";
    EXPECT_FALSE(GetMessage(&m)) << "destroying the main window ends the loop";
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_TRUE(other.IsInvalid()) << "the quit comes before any paint";
}

TEST_F(SdlLoop, RefusedCreationLeavesTheObjectWithItsOwner) {
    bool deleted = false;
    RecordingWnd w(true, &deleted);
    w.refuseCreate = -1;
    EXPECT_FALSE(w.CreateEx(0, WS_POPUP, {0, 0, 10, 10}));
    EXPECT_FALSE(deleted);
    EXPECT_FALSE(w.IsWindow());
    EXPECT_EQ(w.messages({WM_CREATE, WM_DESTROY, WM_NCDESTROY}),
              (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(w.PostMessage(WM_USER));
    EXPECT_FALSE(platform::messageWaiting());
}

TEST_F(SdlLoop, DeviceEventsBecomeTheClassicMessages) {
    RecordingWnd w;
    create(w);
    const auto id = static_cast<Uint32>(w.GetSafeHwnd());
    drain();
    w.seen.clear();

    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = id;
    e.motion.x = 12;
    e.motion.y = 34;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.windowID = id;
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.x = 5;
    e.button.y = 6;
    SDL_PushEvent(&e);
    pushKey(SDLK_x, KMOD_LALT, id);
    pushKey(SDLK_F10, KMOD_NONE, id);
    pushKey(SDLK_ESCAPE, KMOD_NONE, 0);  // no window named: the main or only one
    drain();

    ASSERT_EQ(w.messages(), (std::vector<UINT>{WM_SETCURSOR, WM_MOUSEMOVE, WM_SETCURSOR, WM_RBUTTONDOWN,
                                               WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_KEYDOWN}));
    EXPECT_EQ(GET_X_LPARAM(w.seen[1].lParam), 12);
    EXPECT_EQ(GET_Y_LPARAM(w.seen[1].lParam), 34);
    EXPECT_EQ(HIWORD(w.seen[2].lParam), static_cast<int>(WM_RBUTTONDOWN));
    EXPECT_EQ(GET_X_LPARAM(w.seen[3].lParam), 5);
    EXPECT_EQ(w.seen[4].wParam, static_cast<WPARAM>('X'));
    EXPECT_NE(w.seen[4].lParam & KF_ALTDOWN_BIT, 0);
    EXPECT_EQ(w.seen[5].wParam, static_cast<WPARAM>(VK_F10));
    EXPECT_EQ(w.seen[6].wParam, static_cast<WPARAM>(VK_ESCAPE));

    // Losing the focus is reported only after having had it.
    w.seen.clear();
    pushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_LOST);
    pushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_GAINED);
    pushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_GAINED);
    pushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_LOST);
    drain();
    ASSERT_EQ(w.messages(), (std::vector<UINT>{WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_NCACTIVATE,
                                               WM_ACTIVATE, WM_ACTIVATEAPP}));
    EXPECT_EQ(w.seen[4].wParam, WA_INACTIVE);
    EXPECT_EQ(w.seen[5].wParam, 0u);

    // Alt+F4 asks to close through the system command.
    w.seen.clear();
    pushKey(SDLK_F4, KMOD_LALT, id);
    drain();
    EXPECT_EQ(w.messages({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(w.IsWindow());
}

TEST_F(SdlLoop, ResizeKeepsThePictureAndAsksForAPaint) {
    RecordingWnd w;
    create(w, 4, 3);
    CDC dc = w.GetDC();
    dc.SetPixel(1, 1, RGB(9, 8, 7));
    drain();
    w.ValidateRect();
    pushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 6, 2);
    drain();
    EXPECT_EQ(w.surface().width(), 6);
    EXPECT_EQ(w.surface().height(), 2);
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(9, 8, 7)) << "a context made before still draws on the window";
    EXPECT_EQ(dc.GetPixel(5, 1), RGB(0, 0, 0));
    EXPECT_TRUE(w.IsInvalid());
    const auto& last = w.seen.back();
    EXPECT_EQ(last.message, WM_SIZE);
    EXPECT_EQ(LOWORD(last.lParam), 6);
    EXPECT_EQ(HIWORD(last.lParam), 2);
}

uint32_t shown(const CWnd& w, int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(static_cast<Uint32>(w.GetSafeHwnd())));
    const auto* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * 4;
    Uint8 r, g, b;
    SDL_GetRGB(*reinterpret_cast<const Uint32*>(p), s->format, &r, &g, &b);
    return RGB(r, g, b);
}

void scribble(const CWnd& w, int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(static_cast<Uint32>(w.GetSafeHwnd())));
    auto* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 4;
    *reinterpret_cast<Uint32*>(p) = SDL_MapRGB(s->format, 1, 2, 3);
}

TEST_F(SdlLoop, PresentingCopiesOnlyWhatChanged) {
    RecordingWnd w;
    create(w, 8, 8);
    CDC dc = w.GetDC();
    dc.FillRect({0, 0, 8, 8}, RGB(200, 100, 50));
    platform::backend().present(true);
    EXPECT_EQ(shown(w, 7, 7), RGB(200, 100, 50));

    scribble(w, 0, 0);
    scribble(w, 6, 6);
    dc.FillRect({5, 5, 8, 8}, RGB(10, 20, 30));
    platform::backend().present(true);
    EXPECT_EQ(shown(w, 0, 0), RGB(1, 2, 3)) << "an unchanged part was copied again";
    EXPECT_EQ(shown(w, 6, 6), RGB(10, 20, 30));
    platform::backend().present(true);
    EXPECT_EQ(shown(w, 0, 0), RGB(1, 2, 3));
}

TEST_F(SdlLoop, PaletteSurfaceShowsThroughTheHardwarePaletteAndFollowsItsChanges) {
    CDisplay::instance().reset(8);
    RecordingWnd w;
    create(w, 4, 4);
    CDC dc = w.GetDC();
    ASSERT_EQ(dc.bitsPerPixel(), 8);
    PALETTEENTRY red{255, 0, 0, PC_RESERVED};
    CDisplay::instance().setHardwareEntries(50, 1, &red);
    dc.FillRect({0, 0, 4, 4}, PALETTEINDEX(50));
    platform::backend().present(true);
    EXPECT_EQ(shown(w, 3, 3), RGB(255, 0, 0));
    // Only the palette changes, as palette animation does: the whole
    // picture is shown again in the new colour, with no drawing at all.
    PALETTEENTRY green{0, 255, 0, PC_RESERVED};
    CDisplay::instance().setHardwareEntries(50, 1, &green);
    platform::backend().present(true);
    EXPECT_EQ(shown(w, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(shown(w, 3, 3), RGB(0, 255, 0));

    // The display going back to true colour gives the window a 32-bit
    // surface with the next context.
    CDisplay::instance().setBitsPerPixel(32);
    EXPECT_EQ(w.GetDC().bitsPerPixel(), 32);
}

TEST_F(SdlLoop, WaitReturnsEarlyForInputAndOtherwiseAfterTheTimeout) {
    RecordingWnd w;
    create(w);
    drain();
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::waitForInputOrTimeout(30));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(29));
    pushKey(SDLK_a);
    EXPECT_TRUE(platform::waitForInputOrTimeout(60000));
}

TEST_F(SdlLoop, SystemMetricsDescribeTheVirtualScreen) {
    const RECT v = platform::backend().virtualScreen();
    EXPECT_FALSE(v.empty());
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), v.left);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), v.width());
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), v.height());
    EXPECT_GE(GetSystemMetrics(SM_CMONITORS), 1);
    RecordingWnd w;
    create(w, 30, 20);
    RECT r;
    ASSERT_TRUE(GetClientRect(w.GetSafeHwnd(), &r));
    EXPECT_EQ(r, (RECT{0, 0, 30, 20}));
    EXPECT_FALSE(GetClientRect(0x7777777, &r)) << "the dummy display has no foreign windows";
    EXPECT_FALSE(w.CreateEx(0, WS_CHILD | WS_VISIBLE, {0, 0, 5, 5}, 0x1234)) << "already made";
    RecordingWnd child;
    EXPECT_FALSE(child.CreateEx(0, WS_CHILD | WS_VISIBLE, {0, 0, 5, 5}, 0x1234));
    EXPECT_FALSE(child.lastError().empty());
}

}  // namespace
