#pragma once
// The window system on Windows: real windows of our class (WindowApi.h),
// the thread's queue feeding ours, and the surfaces shown through the DIB
// transfer (SetDIBitsToDevice), only the part that changed and at most 60
// times a second; an 8-bit surface through the display's hardware palette.
// The idle test looks at the system's queue without taking anything from it
// unless something waits. A child window ends when its parent goes.

#include <memory>
#include <string>

#include "platform/Backend.h"

namespace platform {

std::unique_ptr<WindowBackend> openWin32Backend(std::string& error);

}  // namespace platform
