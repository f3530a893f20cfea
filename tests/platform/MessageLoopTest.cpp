// The message loop's rules and the SDL2 backend's input and presentation,
// with SDL's dummy video driver (no display needed). Device events are
// pushed into SDL's queue as a display would deliver them.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "platform/Backend.h"
#include "platform/MessageLoop.h"
#include "platform/SdlBackend.h"
#include "platform/Wnd.h"

namespace {

// Records every message it gets; paints and keys react as a test asks.
class RecordingWnd : public CWnd {
public:
    explicit RecordingWnd(bool autoDelete = false, bool* deleted = nullptr)
        : CWnd(autoDelete), m_deleted(deleted) {}
    ~RecordingWnd() override {
        if (m_deleted) *m_deleted = true;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({this, message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> messages(std::initializer_list<UINT> only = {}) const {
        std::vector<UINT> out;
        for (const MSG& s : seen)
            if (only.size() == 0 || std::find(only.begin(), only.end(), s.message) != only.end())
                out.push_back(s.message);
        return out;
    }

    std::vector<MSG> seen;
    int paints = 0, refuseCreate = 0;
    bool quitOnKey = false;
    std::function<void(RecordingWnd&)> onPaint;

protected:
    int OnCreate() override { return refuseCreate; }
    void OnPaint() override {
        ++paints;
        if (onPaint) onPaint(*this);
    }
    void OnKeyDown(UINT, UINT, UINT) override {
        if (quitOnKey) PostQuitMessage(3);
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
    }
    void TearDown() override {
        platform::setMainWindow(nullptr), platform::setBackend(nullptr), platform::resetMessageQueue();
        CDisplay::instance().reset(32);
    }
    static void create(CWnd& w, int width = 64, int height = 48) {
        ASSERT_TRUE(w.CreateEx(0, WS_POPUP | WS_VISIBLE, {0, 0, width, height})) << w.lastError();
    }
    static Uint32 idOf(const CWnd& w) { return static_cast<Uint32>(w.GetSafeHwnd()); }
    static void pushKey(SDL_Keycode key, Uint16 mod = KMOD_NONE, Uint32 windowId = 0) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN, e.key.windowID = windowId, e.key.state = SDL_PRESSED;
        e.key.keysym.sym = key, e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    static void pushWindowEvent(const CWnd& w, Uint8 event, int data1 = 0, int data2 = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT, e.window.windowID = idOf(w), e.window.event = event;
        e.window.data1 = data1, e.window.data2 = data2;
        SDL_PushEvent(&e);
    }
    // Takes every message now waiting and dispatches it; paints are not made.
    static void drain() {
        MSG m;
        while (PeekMessage(&m, PM_REMOVE)) DispatchMessage(&m);
    }
    // Asks for a present and waits past the next slot, when it is made.
    static void show() {
        platform::backend().present(true);
        platform::backend().pumpEvents(40);
    }
    // The colour the window's SDL surface shows at (x, y).
    static COLORREF shown(const CWnd& w, int x, int y) {
        SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(idOf(w)));
        Uint8 r, g, b;
        SDL_GetRGB(static_cast<const Uint32*>(s->pixels)[y * s->pitch / 4 + x], s->format, &r, &g, &b);
        return RGB(r, g, b);
    }
};

TEST_F(SdlLoop, InputAndPostedBeforePaintPeekLeavesQuitAfterWaitsEndOnInput) {
    RecordingWnd w;
    create(w);
    ASSERT_TRUE(w.IsInvalid());
    w.PostMessage(WM_USER + 1);
    pushKey(SDLK_a, KMOD_NONE, idOf(w));
    EXPECT_TRUE(PeekMessage(nullptr, PM_NOREMOVE));  // fetches the key
    w.PostMessage(WM_USER + 2);
    MSG m;
    std::vector<MSG> got;
    for (int i = 0; i < 4 && GetMessage(&m); ++i) got.push_back(m);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ((std::vector<UINT>{got[0].message, got[1].message, got[2].message, got[3].message}),
              (std::vector<UINT>{WM_USER + 1, WM_KEYDOWN, WM_USER + 2, WM_PAINT}));
    EXPECT_EQ(got[1].wParam, static_cast<WPARAM>('A'));
    RecordingWnd w2;
    create(w2);
    drain();
    EXPECT_FALSE(platform::messageWaiting()) << "an invalid window alone is no message";
    w2.PostMessage(WM_USER + 5, 1, 2);
    MSG m2;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PeekMessage(&m2, PM_NOREMOVE));
        EXPECT_EQ(m2.message, WM_USER + 5);
    }
    PostQuitMessage(9);
    EXPECT_TRUE(GetMessage(&m2) && m2.lParam == 2);
    EXPECT_FALSE(GetMessage(&m2));
    EXPECT_TRUE(m2.wParam == 9u && !platform::messageWaiting());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::waitForInputOrTimeout(30));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(29));
    pushKey(SDLK_a);
    EXPECT_TRUE(platform::waitForInputOrTimeout(60000));
}

TEST_F(SdlLoop, PaintsOnlyWhileInvalidAndSleepsUntilInput) {
    RecordingWnd w;
    create(w);
    // Three paints that each ask for the next, one that does not; then the
    // loop must sleep until a key arrives, which ends it.
    // The key comes once the last paint is done, however slow the machine.
    std::atomic<bool> painted{false};
    w.onPaint = [&painted](RecordingWnd& self) {
        if (self.paints < 4) self.Invalidate();
        if (self.paints == 1) self.PostMessage(WM_USER);
        if (self.paints == 4) painted = true;
    };
    w.quitOnKey = true;
    std::thread typist([&painted] {
        while (!painted) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pushKey(SDLK_q);
    });
    EXPECT_EQ(platform::runMessageLoop(), 3);
    typist.join();
    EXPECT_EQ(w.paints, 4);
    // The message posted during the first paint went before the second.
    EXPECT_EQ(w.messages({WM_PAINT, WM_USER}),
              (std::vector<UINT>{WM_PAINT, WM_USER, WM_PAINT, WM_PAINT, WM_PAINT}));
}

TEST_F(SdlLoop, CreationAndDestruction) {
    // A refused creation leaves the object to its owner.
    bool deleted = false;
    RecordingWnd refused(true, &deleted);
    refused.refuseCreate = -1;
    EXPECT_FALSE(refused.CreateEx(0, WS_POPUP, {0, 0, 10, 10}));
    EXPECT_FALSE(deleted || refused.IsWindow() || refused.PostMessage(WM_USER));
    EXPECT_EQ(refused.messages(), (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    // A child of a window the dummy display does not have fails with a reason.
    RecordingWnd child;
    EXPECT_FALSE(child.CreateEx(0, WS_CHILD | WS_VISIBLE, {0, 0, 5, 5}, 0x1234) || child.lastError().empty());

    auto* w = new RecordingWnd(true, &deleted);
    create(*w, 30, 20);
    RECT r;
    EXPECT_TRUE(GetClientRect(w->GetSafeHwnd(), &r) && r == (RECT{0, 0, 30, 20}));
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
    EXPECT_FALSE(GetMessage(&m)) << "destroying the main window ends the loop, before any paint";
}

TEST_F(SdlLoop, DeviceEventsBecomeTheClassicMessages) {
    RecordingWnd w;
    create(w);
    const Uint32 id = idOf(w);
    drain();
    w.seen.clear();
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION, e.motion.windowID = id, e.motion.x = 12, e.motion.y = 34;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_MOUSEBUTTONDOWN, e.button.windowID = id, e.button.button = SDL_BUTTON_RIGHT;
    SDL_PushEvent(&e);
    pushKey(SDLK_x, KMOD_LALT);  // no window named: the main or only one
    // Losing the focus is reported only after having had it.
    for (Uint8 ev : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_LOST})
        pushWindowEvent(w, ev);
    drain();
    ASSERT_EQ(w.messages(), (std::vector<UINT>{WM_SETCURSOR, WM_MOUSEMOVE, WM_SETCURSOR, WM_RBUTTONDOWN,
                                               WM_SYSKEYDOWN, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                                               WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP}));
    EXPECT_EQ(w.seen[1].lParam, MAKELPARAM(12, 34));
    EXPECT_EQ(HIWORD(w.seen[2].lParam), static_cast<int>(WM_RBUTTONDOWN));
    EXPECT_TRUE(w.seen[4].wParam == 'X' && (w.seen[4].lParam & KF_ALTDOWN_BIT));
    EXPECT_EQ(w.seen[9].wParam, WA_INACTIVE);
    // A resize keeps the picture, reports the size and asks for a paint.
    CDC dc = w.GetDC();
    dc.SetPixel(1, 1, RGB(9, 8, 7));
    w.ValidateRect();
    pushWindowEvent(w, SDL_WINDOWEVENT_SIZE_CHANGED, 6, 2);
    drain();
    EXPECT_TRUE(w.surface().width() == 6 && w.IsInvalid() && w.seen.back().lParam == MAKELPARAM(6, 2));
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(9, 8, 7)) << "a context made before still draws on the window";

    pushKey(SDLK_F4, KMOD_LALT, id);  // Alt+F4 asks to close through the system command
    drain();
    EXPECT_EQ(w.messages({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
}

TEST_F(SdlLoop, PresentingCopiesWhatChangedOrThePaletteChanged) {
    RecordingWnd w;
    create(w, 8, 8);
    CDC dc = w.GetDC();
    dc.FillRect({0, 0, 8, 8}, RGB(200, 100, 50));
    show();
    EXPECT_EQ(shown(w, 7, 7), RGB(200, 100, 50));
    // Scribble on the shown surface: an unchanged part is not copied again.
    SDL_Surface* screen = SDL_GetWindowSurface(SDL_GetWindowFromID(idOf(w)));
    static_cast<Uint32*>(screen->pixels)[0] = SDL_MapRGB(screen->format, 1, 2, 3);
    dc.FillRect({5, 5, 8, 8}, RGB(10, 20, 30));
    show();
    EXPECT_TRUE(shown(w, 0, 0) == RGB(1, 2, 3) && shown(w, 6, 6) == RGB(10, 20, 30));
    // A palette surface shows through the hardware palette; a change of the
    // palette alone, as animation makes, shows the whole picture again.
    CDisplay::instance().reset(8);
    RecordingWnd p;
    create(p, 4, 4);
    ASSERT_EQ(p.GetDC().bitsPerPixel(), 8);
    PALETTEENTRY red{255, 0, 0, PC_RESERVED}, green{0, 255, 0, PC_RESERVED};
    CDisplay::instance().setHardwareEntries(50, 1, &red);
    for (int y = 0; y < 4; ++y) std::fill_n(p.surface().row8(y), 4, uint8_t{50});
    p.surface().markAllChanged();
    show();
    EXPECT_EQ(shown(p, 3, 3), RGB(255, 0, 0));
    CDisplay::instance().setHardwareEntries(50, 1, &green);
    show();
    EXPECT_EQ(shown(p, 0, 0), RGB(0, 255, 0));
    // Back to true colour: the next context draws on a 32-bit surface.
    CDisplay::instance().setBitsPerPixel(32);
    EXPECT_EQ(p.GetDC().bitsPerPixel(), 32);
}

}  // namespace
