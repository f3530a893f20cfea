#pragma once
// The message queue and loop of the one user-interface thread.
//
// Messages that windows post and the input the backend turns events into
// wait in one queue, in the order they came. GetMessage() takes them first;
// only when the queue is empty does it make a WM_PAINT for a window that is
// invalid; only when there is nothing to paint either does it wait, after
// showing what changed on the screen. PostQuitMessage() ends the loop once
// the messages posted before it have been taken.

#include <cstdint>
#include <vector>

#include "platform/Messages.h"

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;
constexpr int IDC_ARROW = 32512;

// Waits for the next message; false when it is WM_QUIT (its wParam is the exit code).
bool GetMessage(MSG* msg);
// A message if one is waiting (never a paint message), without waiting.
bool PeekMessage(MSG* msg, UINT remove);
LRESULT DispatchMessage(const MSG* msg);
void PostQuitMessage(int exitCode);

int GetSystemMetrics(int index);
// The client rectangle of any window by id, ours or another program's.
bool GetClientRect(HWND window, RECT* rect);
// A null cursor hides the cursor over our windows. Returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR LoadCursor(int id);

namespace platform {

// Runs the loop until WM_QUIT and returns its exit code.
int runMessageLoop();
// The non-removing peek of the idle test: a message (input, posted, quit) is
// waiting. Also shows what changed on the screen, at most 60 times a second.
bool messageWaiting();
// Waits until `ms` milliseconds have passed or input arrives, whichever is
// first; true when a message is waiting. What changed on the surfaces is
// shown first. Under the simulated clock the wait jumps.
bool waitForInputOrTimeout(int64_t ms);

// The main window: destroying it ends the message loop.
void setMainWindow(CWnd* wnd);
CWnd* mainWindow();
// Asks the main window to close, the orderly way to end (a termination
// signal, the headless run's end); ends the loop when there is none.
void closeMainWindow();

// For CWnd and the backends.
bool postMessage(const MSG& msg);
// A message or the quit is waiting, without asking the backend for events.
bool messageQueued();
void registerWindow(CWnd* wnd);
// Forgets the window and drops its waiting messages.
void unregisterWindow(CWnd* wnd);
bool isLiveWindow(const CWnd* wnd);
// The windows in the order they were made.
const std::vector<CWnd*>& windows();
// Empties the queue and forgets a pending quit (for tests).
void resetMessageQueue();

}  // namespace platform
