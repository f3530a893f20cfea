// The full-screen window's end rules, driven by scripted input on the
// headless window system under the simulated clock.

#include <gtest/gtest.h>

#include "app/ScreenWnd.h"
#include "platform/Password.h"
#include "support/SceneSupport.h"

namespace {

using Kind = platform::ScriptedInput::Kind;
constexpr int64_t kEndMs = 60000;

platform::ScriptedInput move(int64_t ms, int x, int y) { return {ms, Kind::Move, 0, x, y, 0}; }

class ScreenWndTest : public SceneTest {
protected:
    void SetUp() override { SceneTest::SetUp(), gApp.rand.seed(3), settings().setDelayBetweenDrawings(1); }
    void TearDown() override { wnd.reset(), platform::setPasswordCheck({}), SceneTest::TearDown(); }
    void create(std::vector<platform::ScriptedInput> input, bool inWindow = false) {
        wnd.reset();
        platform::resetMessageQueue();
        auto b = std::make_unique<platform::HeadlessBackend>(
            platform::HeadlessOptions{200, 150, std::move(input), {}, kEndMs, {}});
        backend = b.get();
        platform::setBackend(std::move(b));
        wnd = std::make_unique<CScreenWnd>();
        ASSERT_TRUE(inWindow ? wnd->CreateInWindow(120, 90) : wnd->CreateFullScreen());
        platform::setMainWindow(wnd.get());
    }
    // When the program ended; kEndMs when no input ended it.
    int64_t run(std::vector<platform::ScriptedInput> input, bool inWindow = false) {
        create(std::move(input), inWindow);
        EXPECT_EQ(platform::runMessageLoop(), 0);
        EXPECT_EQ(wnd->closing(), backend->nowMs() < kEndMs) << "only input grants the end";
        return backend->nowMs();
    }

    // No style can be built: the window paints once, then only waits.
    StyleMakersScope noStyles{std::span<const StyleMaker>()};
    std::unique_ptr<CScreenWnd> wnd;
};

TEST_F(ScreenWndTest, MouseEndsOnlyTwentyOnePixelsFromWhereItWasFirstSeen) {
    EXPECT_EQ(run({move(100, 100, 100), move(200, 120, 120), move(300, 80, 80), move(400, 120, 80),
                   move(500, 100, 100)}),
              kEndMs);
    EXPECT_FALSE(backend->cursorVisible());
    for (const auto& [x, y] : {std::pair{121, 100}, {100, 79}})
        EXPECT_EQ(run({move(100, 100, 100), move(200, x, y)}), 200);
    // Slow movement adds up: the recorded position stays put.
    EXPECT_EQ(run({move(100, 50, 50), move(200, 60, 55), move(300, 70, 60), move(400, 71, 61)}), 400);
}

TEST_F(ScreenWndTest, WithIgnoreMouseOnlyClicksKeysAndSwitchingAwayEnd) {
    gApp.settings()->setIgnoreMouse(true);
    EXPECT_EQ(run({move(100, 0, 0), move(200, 199, 149)}), kEndMs);
    for (const platform::ScriptedInput e : {platform::ScriptedInput{700, Kind::Button, 0, 5, 5, 0},
                                            {700, Kind::Button, 0, 5, 5, 1},
                                            {700, Kind::Button, 0, 5, 5, 2},
                                            {700, Kind::Key, 'A'},
                                            {700, Kind::SysKey, 'A'},
                                            {700, Kind::Deactivate}})
        EXPECT_EQ(run({move(100, 0, 0), move(200, 150, 100), e}), 700) << static_cast<int>(e.kind);
}

TEST_F(ScreenWndTest, NoSecondCheckWhileCheckingAndARefusedPasswordDrawsOn) {
    const StyleMakersScope styles{kTestStyles};
    int checks = 0;
    Saver* drawing = nullptr;
    platform::setPasswordCheck([&](HWND) -> std::optional<bool> {
        ++checks;
        EXPECT_TRUE(wnd->stopRequested()) << "the style's loops end during the check";
        drawing = gApp.saver();
        // What the password dialog's own loop would deliver meanwhile.
        wnd->SendMessage(WM_KEYDOWN, 'B');
        wnd->SendMessage(WM_ACTIVATE, WA_INACTIVE);
        wnd->SendMessage(WM_ACTIVATEAPP, 0);
        EXPECT_EQ(wnd->SendMessage(WM_NCACTIVATE, 0), 1) << "the dialog may come to the front";
        return checks > 1;  // the first attempt is refused
    });
    create({{1000, Kind::Key, 'A'}, {5000, Kind::Key, 'A'}});
    MSG m;
    while (checks == 0 || m.message != WM_PAINT) {
        ASSERT_TRUE(GetMessage(&m));
        DispatchMessage(&m);
    }
    // Refused: the same style draws on, nothing asks to close.
    EXPECT_TRUE(checks == 1 && !wnd->closing() && gApp.saver() == drawing && !wnd->stopRequested());
    EXPECT_EQ(wnd->SendMessage(WM_NCACTIVATE, 0), 0);
    wnd->SendMessage(WM_SYSCOMMAND, SC_SCREENSAVE);
    wnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(wnd->IsWindow()) << "system commands are swallowed";
    EXPECT_EQ(platform::runMessageLoop(), 0);
    EXPECT_TRUE(checks == 2 && backend->nowMs() < 5100);
}

// An ordinary window is for watching: the pointer shows, and moving it,
// clicking or switching away leaves the window be; a key or the close
// button (through the system menu, as Alt+F4) ends it.
TEST_F(ScreenWndTest, InAWindowOnlyAKeyOrTheCloseButtonEnds) {
    EXPECT_EQ(run({move(100, 10, 10),
                   move(200, 110, 80),
                   {300, Kind::Button, 0, 5, 5, 0},
                   {400, Kind::Button, 0, 5, 5, 1},
                   {500, Kind::Button, 0, 5, 5, 2},
                   {600, Kind::Deactivate}},
                  true),
              kEndMs);
    EXPECT_TRUE(backend->cursorVisible());
    EXPECT_EQ(run({move(100, 10, 10), {700, Kind::Key, 'A'}}, true), 700);
    create({}, true);
    EXPECT_EQ(wnd->SendMessage(WM_NCACTIVATE, 0), 1) << "it may show itself inactive";
    wnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_EQ(platform::runMessageLoop(), 0);
    EXPECT_LT(backend->nowMs(), 1000) << "the close button ends it";
}

}  // namespace
