// A narrow path is UTF-8 text here already.

#include "platform/Utf8Path.h"

namespace platform {

std::filesystem::path pathFromUtf8(std::string_view text) { return std::filesystem::path(text); }

std::string utf8FromPath(const std::filesystem::path& path) { return path.string(); }

}  // namespace platform
