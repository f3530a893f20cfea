#pragma once
// The settings sheet as Windows shows it: a native property sheet laid out
// from the page description, editing the record through sheet::Model.
// Compiled by the Windows build only; the system side is
// platform/win32/SheetApi.cpp.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/Settings.h"

namespace platform::win32 {
struct SheetTab;
}

namespace sheet {

// The tabs the native sheet shows for a display of `bitsPerPixel`: one item
// for every control of the description, in its order, and the notes the
// colour and animation pages carry. `controlOf[tab][item]` is the control's
// index in its page, -1 for a note.
std::vector<platform::win32::SheetTab> windowsTabs(int bitsPerPixel,
                                                   std::vector<std::vector<int>>& controlOf);

// Shows the sheet modal to `owner` (0: the foreground window). `help` opens
// the help page. With a `previewProgram` (empty: the program running now,
// the saver showing its own sheet) the saver draws beside the pages with the
// values as they stand, from a store of its own that the user's settings
// never pass through and that goes when the sheet closes. 1 when OK or Apply
// wrote settings, 0 when nothing was written, -1 when it could not be shown
// (the reason in `error`).
int showWindowsSheet(Settings& settings, uint64_t owner, std::function<void()> help, std::string& error,
                     std::optional<std::string> previewProgram = std::nullopt);

}  // namespace sheet
