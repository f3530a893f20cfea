// The Windows side of SaverSession.h. Its header is neutral, so this file
// includes the system headers directly.

#include "platform/SaverSession.h"

#include <cstdio>

#include "platform/win32/Api.h"
#include "platform/win32/SystemHeaders.h"

namespace platform {

void announceFullScreenSaver(bool running) {
    // Other programs (and Windows' own idle timer) see a saver running, and
    // the display stays on while it does.
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, nullptr, 0);
    SetThreadExecutionState(running ? (ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED)
                                    : ES_CONTINUOUS);
}

// The settings sheet of Windows is still to come.
bool configurationProgramAvailable() { return false; }

bool systemHandlesPasswords() { return true; }

void showNotice(const std::string& title, const std::string& text) {
    MessageBoxW(nullptr, win32::wide(text).c_str(), win32::wide(title).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

void useParentConsole() {
    // Started from a console (a render from the command prompt): print
    // there. Handles that were given (redirected, or under Wine the
    // terminal's) are kept.
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err != nullptr && err != INVALID_HANDLE_VALUE) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE* f = nullptr;
    freopen_s(&f, "CONOUT$", "w", stdout);
    freopen_s(&f, "CONOUT$", "w", stderr);
}

}  // namespace platform
