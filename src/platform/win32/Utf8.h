#pragma once
// Text at the edge of the Windows platform files: our strings are UTF-8 (file
// names and settings alike), Windows' are UTF-16. A byte that is not part of
// well-formed UTF-8 stands for the Windows-1252 character of that byte, so
// text that never was UTF-8 is still shown and found rather than dropped.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring wideFromUtf8(std::string_view text);
// Unpaired surrogates (possible in Windows file names) become U+FFFD.
std::string utf8FromWide(std::wstring_view text);
// A path built from our UTF-8 text, and back. (The standard library reads
// a narrow string in the ANSI code page instead.)
std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace platform::win32
