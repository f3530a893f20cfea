#pragma once
// File names are UTF-8 text throughout the program. A std::filesystem::path
// made from a narrow string takes it in the system's narrow encoding, which
// on Windows is the ANSI code page, not UTF-8: paths are made from text, and
// text from paths, here.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace platform
