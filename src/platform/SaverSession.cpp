#include "platform/SaverSession.h"

#include <cstdio>

namespace platform {

void announceFullScreenSaver(bool) {}

bool configurationProgramAvailable() { return true; }

bool systemHandlesPasswords() { return false; }

void showNotice(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "quorvane: %s: %s\n", title.c_str(), text.c_str());
}

void useParentConsole() {}

}  // namespace platform
