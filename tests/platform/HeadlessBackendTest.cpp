// The headless window system: input scripted by simulated time, and runs
// that end by themselves. (Its pictures at given moments are the program's
// --render and --frames, ProgramTest.cpp.)

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/HeadlessBackend.h"
#include "platform/MessageLoop.h"
#include "support/DemoWindow.h"
#include "support/TempFolder.h"

namespace {

using platform::HeadlessBackend;
using platform::HeadlessOptions;
using platform::ScriptedInput;

// Notes when each message of interest arrived, in simulated milliseconds.
class TimedWnd : public DemoWindow {
public:
    explicit TimedWnd(const HeadlessBackend& b) : DemoWindow({}), m_backend(b) {}
    std::vector<std::pair<UINT, int64_t>> arrivals;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (isInputMessage(message) || message == WM_ACTIVATE || message == WM_CLOSE)
            arrivals.push_back({message, m_backend.nowMs()});
        return DemoWindow::WindowProc(message, wParam, lParam);
    }

private:
    const HeadlessBackend& m_backend;
};

class Headless : public ::testing::Test {
protected:
    HeadlessBackend& install(HeadlessOptions options) {
        auto b = std::make_unique<HeadlessBackend>(std::move(options));
        HeadlessBackend& ref = *b;
        platform::setBackend(std::move(b));
        platform::resetMessageQueue();
        return ref;
    }
    void TearDown() override {
        platform::setMainWindow(nullptr), platform::setBackend(nullptr), platform::resetMessageQueue();
    }

    platform::ScopedClock m_clock{std::make_unique<platform::SimulatedClock>()};
};

TEST_F(Headless, ScriptedInputParsedArrivesAtItsSimulatedTimeAndTheRunEnds) {
    HeadlessOptions o;
    o.width = 120, o.height = 80, o.endAtMs = 4500;
    std::string error;
    auto script = platform::parseInputScript(
        "# a comment, then a blank line\n\n2.5 key A\n1 move 10 20\n4 click right 7 8\n5 syskey f4\n",
        &error);
    ASSERT_TRUE(script) << error;
    o.input = *script;
    HeadlessBackend& b = install(o);
    TimedWnd w(b);
    ASSERT_TRUE(w.CreateEx(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, {0, 0, 120, 80}));
    platform::setMainWindow(&w);
    EXPECT_TRUE(platform::runMessageLoop() == 0 && !w.IsWindow());
    // Out of order in the script, in time order on arrival; the demo paints
    // at 30 frames a second, so each event comes within one frame.
    const std::vector<std::pair<UINT, int64_t>> expected = {
        {WM_MOUSEMOVE, 1000},   {WM_KEYDOWN, 2500},   {WM_KEYUP, 2500},
        {WM_RBUTTONDOWN, 4000}, {WM_RBUTTONUP, 4000}, {WM_CLOSE, 4500}};  // not the event at 5 s
    EXPECT_EQ(w.arrivals, expected);
    EXPECT_NEAR(w.frames(), 4.5 * 30, 3);
    EXPECT_NE(std::find(w.seen().begin(), w.seen().end(), "move 10 20"), w.seen().end());
    // Scripts that cannot be read say where.
    for (const char* bad : {"soon key A", "-1 key A", "1 key f13", "1 move 3", "1 key A please"})
        EXPECT_TRUE(!platform::parseInputScript(bad, &error) && !error.empty()) << bad;
    EXPECT_FALSE(platform::parseInputScript("1 key A\n2 key ?", &error));
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    const auto ok = platform::parseInputScript("0.0015 key f12\n3 KEY escape\n", &error);
    ASSERT_TRUE(ok && ok->size() == 2);
    EXPECT_TRUE((*ok)[0].atMs == 2 && (*ok)[0].vk == VK_F12 && (*ok)[1].vk == VK_ESCAPE);
}

TEST_F(Headless, WaitsJumpRunsEndChildWindowsCursorAndPicturesWithoutAWindow) {
    HeadlessOptions o;
    o.input = {{700, ScriptedInput::Kind::Deactivate}};
    HeadlessBackend& b = install(o);
    DemoWindow w({.fps = 0});
    ASSERT_TRUE(w.CreateEx(0, WS_POPUP | WS_VISIBLE, {0, 0, 10, 10}));
    platform::setMainWindow(&w);
    EXPECT_FALSE(platform::waitForInputOrTimeout(300));
    EXPECT_EQ(b.nowMs(), 300);
    EXPECT_TRUE(platform::waitForInputOrTimeout(100000));
    EXPECT_EQ(b.nowMs(), 700) << "the wait ends when the input comes";
    EXPECT_TRUE(platform::runMessageLoop() == 0 && !w.IsWindow());
    EXPECT_EQ(w.frames(), 1) << "painted once, never asked for more";
    TempFolder folder;
    HeadlessOptions o2;
    o2.snapshots = {{0, (folder.path() / "none.png").string()}};
    HeadlessBackend& b2 = install(o2);
    platform::waitForInputOrTimeout(1);
    EXPECT_TRUE(b2.written().empty() && b2.snapshotError().find("no window") != std::string::npos);
    CWnd child, orphan;
    ASSERT_TRUE(child.CreateEx(0, WS_CHILD | WS_VISIBLE, {0, 0, 9, 9}, b2.screenSaverWindow()));
    EXPECT_FALSE(orphan.CreateEx(0, WS_CHILD | WS_VISIBLE, {0, 0, 9, 9}, 0) || orphan.lastError().empty());
    SetCursor(nullptr);
    EXPECT_FALSE(b2.cursorVisible());
    SetCursor(LoadCursor(IDC_ARROW));
    EXPECT_TRUE(b2.cursorVisible());
}

}  // namespace
