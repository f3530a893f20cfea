#include "platform/Backend.h"

#include "platform/HeadlessBackend.h"

namespace platform {

namespace {

std::unique_ptr<WindowBackend>& installed() {
    static std::unique_ptr<WindowBackend> b;
    return b;
}

}  // namespace

WindowBackend& backend() {
    static HeadlessBackend fallback;
    WindowBackend* b = installed().get();
    return b ? *b : fallback;
}

std::unique_ptr<WindowBackend> setBackend(std::unique_ptr<WindowBackend> b) {
    std::unique_ptr<WindowBackend> previous = std::move(installed());
    installed() = std::move(b);
    return previous;
}

}  // namespace platform
