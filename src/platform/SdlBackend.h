#pragma once
// The window system on a display, through SDL2: top-level windows (a
// borderless top-most one over every monitor, or an ordinary one), and
// windows inside another program's X11 window. Surfaces are shown, only the
// part that changed, through an image shared with the X server (X11Image.h;
// SDL's window framebuffer on other displays), at most 60 times a second
// (one asked for sooner is made at the next slot, while waiting for events,
// unless another comes first); an 8-bit surface is shown through the
// display's hardware palette, and a change of that palette shows the whole
// surface again without any painting.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Backend.h"

namespace platform {

// Opens the display. SDL is told which video driver to use ($SDL_VIDEODRIVER
// if set, else x11), so that it cannot fall back to drawing nowhere. Also
// installs the termination-signal handlers. Null on failure; `error` is then
// kNoDisplayMessage or, when a display was found but not usable, why not.
std::unique_ptr<WindowBackend> openSdlBackend(std::string& error);

// How many times the windows have been shown since the program started.
uint64_t sdlPresentCount();

}  // namespace platform
