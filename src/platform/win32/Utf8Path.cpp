// Paths from UTF-8 text through UTF-16, the encoding of Windows' file names.

#include "platform/Utf8Path.h"

#include "platform/win32/Utf8.h"

namespace platform {

std::filesystem::path pathFromUtf8(std::string_view text) { return win32::pathFromUtf8(text); }

std::string utf8FromPath(const std::filesystem::path& path) { return win32::utf8FromPath(path); }

}  // namespace platform
