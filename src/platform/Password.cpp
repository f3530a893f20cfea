#include "platform/Password.h"

#include <utility>

namespace platform {

namespace {

PasswordCheck& installed() {
    static PasswordCheck check;
    return check;
}

}  // namespace

std::optional<bool> verifyScreenSavePassword(HWND window) {
    // Copied first: the check may run a dialog that installs another.
    const PasswordCheck check = installed();
    if (!check) return std::nullopt;
    return check(window);
}

PasswordCheck setPasswordCheck(PasswordCheck check) { return std::exchange(installed(), std::move(check)); }

}  // namespace platform
