#pragma once
// The screensaver password services. This platform has no password library,
// so the check reports it missing; a system that has one (or a test that
// stands in for its dialog) installs the check here.

#include <functional>
#include <optional>

#include "platform/Messages.h"

namespace platform {

// The result of asking the user for the screensaver password over `window`:
// true when it was entered correctly or none is set, false when refused;
// none when there is no password library to ask.
std::optional<bool> verifyScreenSavePassword(HWND window);

using PasswordCheck = std::function<std::optional<bool>(HWND)>;
// Installs the check (empty: none, as on this platform); returns the previous one.
PasswordCheck setPasswordCheck(PasswordCheck check);

}  // namespace platform
