#pragma once
// What the system is told, and what it offers, around the modes of a
// screensaver: Windows wants to know that a full-screen saver runs, asks for
// screensaver passwords itself, and shows notices in a box; this platform
// does none of that and writes notices to standard error.

#include <string>

namespace platform {

// The full-screen saver starts (true) or ends (false). On Windows the system
// is told a screensaver runs and the display is kept on meanwhile.
void announceFullScreenSaver(bool running);
// A configuration program for "/c" exists on this system.
bool configurationProgramAvailable();
// The system asks for the screensaver password itself (so "/a" has nothing
// to do but say so).
bool systemHandlesPasswords();
// A notice with an OK button, waiting until it is read; standard error
// where there are no such boxes.
void showNotice(const std::string& title, const std::string& text);
// Standard output and error reach the console the program was started from,
// where it was started from one (a Windows program without a console of its
// own must attach to its parent's).
void useParentConsole();

}  // namespace platform
