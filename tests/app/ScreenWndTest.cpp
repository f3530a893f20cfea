// The full-screen window's end rules, driven by scripted input on the
// headless window system under the simulated clock.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/ScreenWnd.h"
#include "engine/SceneSupport.h"
#include "platform/Password.h"
#include "support/EnvOverride.h"

namespace {

using platform::ScriptedInput;
using Kind = ScriptedInput::Kind;

constexpr int64_t kEndMs = 60000;

ScriptedInput move(int64_t ms, int x, int y) { return {ms, Kind::Move, 0, x, y, 0}; }
ScriptedInput event(int64_t ms, Kind kind, int button = 0) { return {ms, kind, 'A', 5, 5, button}; }

class ScreenWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        gApp.setSettings(std::make_unique<Settings>(platform::ProfileStore(folder.path()), "Somebody"));
        gApp.setMode(CSaverApp::kModeFullScreen);
        gApp.rand.seed(3);
    }
    void TearDown() override {
        wnd.reset();
        platform::setPasswordCheck({});
        gApp.setSettings(nullptr);
        gApp.setMode(CSaverApp::kModeNone);
        platform::setBackend(nullptr);
        platform::resetMessageQueue();
    }
    // Makes the full-screen window on a 200 x 150 screen.
    void create(std::vector<ScriptedInput> input) {
        wnd.reset();
        platform::resetMessageQueue();
        platform::HeadlessOptions o;
        o.width = 200;
        o.height = 150;
        o.input = std::move(input);
        o.endAtMs = kEndMs;
        auto b = std::make_unique<platform::HeadlessBackend>(o);
        backend = b.get();
        platform::setBackend(std::move(b));
        wnd = std::make_unique<CScreenWnd>();
        ASSERT_TRUE(wnd->CreateFullScreen());
        platform::setMainWindow(wnd.get());
    }
    // Runs the script to its end; the time at which the program ended,
    // kEndMs when no input ended it.
    int64_t run(std::vector<ScriptedInput> input) {
        create(std::move(input));
        EXPECT_EQ(platform::runMessageLoop(), 0);
        EXPECT_FALSE(wnd->IsWindow());
        const int64_t end = backend->nowMs();
        EXPECT_EQ(wnd->closing(), end < kEndMs) << "only input grants the end";
        return end;
    }

    TempFolder folder;
    platform::ScopedClock clock{std::make_unique<platform::SimulatedClock>()};
    // No style can be built: the window paints once and then only waits.
    StyleMakersScope noStyles{std::span<const StyleMaker>()};
    platform::HeadlessBackend* backend = nullptr;
    std::unique_ptr<CScreenWnd> wnd;
};

TEST_F(ScreenWndTest, MouseEndsOnlyBeyondTwentyPixelsFromWhereItWasFirstSeen) {
    // Jitter of up to 20 pixels each way around the first position never ends.
    EXPECT_EQ(run({move(100, 100, 100), move(200, 120, 120), move(300, 80, 80), move(400, 120, 80),
                   move(500, 80, 120), move(600, 100, 100)}),
              kEndMs);
    EXPECT_EQ(wnd->lastMouse().x, 100);
    // 21 in one direction ends, whichever direction.
    EXPECT_EQ(run({move(100, 100, 100), move(200, 121, 100)}), 200);
    EXPECT_EQ(run({move(100, 100, 100), move(200, 100, 79)}), 200);
    // Slow movement adds up, since the recorded position stays put.
    EXPECT_EQ(run({move(100, 50, 50), move(200, 60, 55), move(300, 70, 60), move(400, 71, 61)}), 400);
    // The first move only records, however far from the origin.
    EXPECT_EQ(run({move(100, 190, 140)}), kEndMs);
    EXPECT_EQ(wnd->lastMouse().y, 140);
}

TEST_F(ScreenWndTest, WithIgnoreMouseOnlyClicksKeysAndSwitchingAwayEnd) {
    gApp.settings()->setIgnoreMouse(true);
    EXPECT_EQ(run({move(100, 0, 0), move(200, 199, 149), move(300, 0, 149)}), kEndMs);
    EXPECT_EQ(wnd->lastMouse().x, -1) << "not even recorded";
    for (const ScriptedInput& e :
         {event(700, Kind::Button, 0), event(700, Kind::Button, 1), event(700, Kind::Button, 2),
          event(700, Kind::Key), event(700, Kind::SysKey), event(700, Kind::Deactivate)}) {
        EXPECT_EQ(run({move(100, 0, 0), move(200, 150, 100), e}), 700) << static_cast<int>(e.kind);
    }
}

TEST_F(ScreenWndTest, NoSecondCheckWhileCheckingAndARefusedPasswordDrawsOn) {
    const StyleMakersScope styles{kTestStyles};
    int checks = 0;
    Saver* drawingAtCheck = nullptr;
    platform::setPasswordCheck([&](HWND window) -> std::optional<bool> {
        ++checks;
        EXPECT_EQ(window, wnd->GetSafeHwnd());
        EXPECT_TRUE(wnd->checking());
        EXPECT_TRUE(wnd->stopRequested()) << "the style's loops end during the check";
        drawingAtCheck = gApp.saver();
        // What the password dialog's own loop would deliver meanwhile: no
        // second check, and the window may show itself inactive.
        wnd->SendMessage(WM_KEYDOWN, 'B');
        wnd->SendMessage(WM_LBUTTONDOWN);
        wnd->SendMessage(WM_ACTIVATE, WA_INACTIVE);
        wnd->SendMessage(WM_ACTIVATEAPP, 0);
        EXPECT_EQ(wnd->SendMessage(WM_NCACTIVATE, 0), 1);
        EXPECT_FALSE(wnd->requestClose());
        return checks > 1;  // the first attempt is refused
    });
    create({event(1000, Kind::Key), event(5000, Kind::Key)});
    MSG m;
    while (checks == 0) {
        ASSERT_TRUE(GetMessage(&m));
        DispatchMessage(&m);
    }
    // Refused: nothing asks to close, and the same style draws on.
    EXPECT_FALSE(wnd->closing());
    EXPECT_FALSE(wnd->stopRequested());
    EXPECT_TRUE(wnd->IsInvalid());
    do {
        ASSERT_TRUE(GetMessage(&m));
        DispatchMessage(&m);
    } while (m.message != WM_PAINT);
    EXPECT_EQ(gApp.saver(), drawingAtCheck);
    EXPECT_FALSE(gApp.saver()->isDone());
    EXPECT_EQ(wnd->SendMessage(WM_NCACTIVATE, 0), 0) << "no inactive look outside a check";
    EXPECT_EQ(platform::runMessageLoop(), 0);
    EXPECT_EQ(checks, 2);
    EXPECT_TRUE(wnd->closing());
    EXPECT_LT(backend->nowMs(), 5100);
}

TEST_F(ScreenWndTest, WindowCursorSystemCommandsAndTheKeyTrace) {
    TempFolder traceFolder;
    EnvOverride quortemp("QUORTEMP", traceFolder.path().c_str());
    gApp.setTraceOn(true);
    gApp.setTraceNewFile();
    create({});
    EXPECT_EQ(wnd->surface().width(), 200);
    EXPECT_EQ(wnd->surface().height(), 150);
    EXPECT_EQ(wnd->GetExStyle(), WS_EX_TOPMOST);
    EXPECT_EQ(wnd->GetStyle(), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);

    EXPECT_EQ(wnd->SendMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_FALSE(backend->cursorVisible());
    // Another start of the saver, a close from the system menu and Alt+F4's
    // command leave it be; the Alt key itself ends it.
    wnd->SendMessage(WM_SYSCOMMAND, SC_SCREENSAVE);
    wnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    wnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE | 3);
    EXPECT_TRUE(wnd->IsWindow());
    EXPECT_FALSE(platform::messageQueued());

    wnd->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_CLOSE);
    EXPECT_EQ(platform::runMessageLoop(), 0);
    gApp.setTraceOn(false);
    std::ifstream in(traceFolder.path() / "trace.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(": ScreenWnd line 227\r\n"), std::string::npos) << text.str();
}

}  // namespace
