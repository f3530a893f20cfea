// Ending requests on Windows come from the console: Ctrl+C, Ctrl+Break and
// the closing of the console window, the log-off and the shut-down. The
// system calls the handler on a thread of its own; it records the request
// and sets an event that the message loop waits on, and the main thread ends
// the program the orderly way. A second Ctrl+C ends the process at once.

#include "platform/Signals.h"

#include <atomic>

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/Termination.h"

namespace platform {

namespace {

std::atomic<int> gRequests{0};
bool gTaken = false;
HANDLE gEvent = nullptr;
// Windows ends the process when the handler of a closing console returns
// (or after five seconds): it waits this long for the orderly end.
constexpr DWORD kCloseGraceMs = 4500;

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            if (gRequests.fetch_add(1) > 0) ExitProcess(STATUS_CONTROL_C_EXIT);
            if (gEvent) SetEvent(gEvent);
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            gRequests.fetch_add(1);
            if (gEvent) SetEvent(gEvent);
            Sleep(kCloseGraceMs);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void installTerminationHandlers() {
    if (gEvent) return;
    gEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // A console process started with Ctrl+C ignored (start /b) hears it again.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool takeTerminationRequest() {
    if (gRequests.load() == 0 || gTaken) return false;
    gTaken = true;
    if (gEvent) ResetEvent(gEvent);
    return true;
}

// There is no descriptor to wait on here; loops wait on the event instead.
int terminationFd() { return -1; }

void drainTerminationFd() {}

// Windows has no file-size signal: a write past a quota fails as an error.
void ignoreFileSizeSignal() {}

namespace win32 {

void* terminationEvent() { return gEvent; }

}  // namespace win32

}  // namespace platform
