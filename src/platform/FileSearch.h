#pragma once
// Wildcard file search in one folder, as the saver's image list needs it.
//
// Names are matched the way the desktop's file search matches them: '*' is
// any run of characters (dots included, possibly none), '?' exactly one
// character, and letters match regardless of case, so a camera's
// IMG_0001.JPG is found by "*.jpg". Only the real names are matched; there
// are no short 8.3 aliases, so "photo.jpeg" is found by "*.jpeg" but not by
// "*.jpe". Hidden (dot) files are found like any other.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Separates a folder from the names in it.
inline constexpr char kPathSeparator = '/';

// Whether `name` fits `pattern` by the rules above. ASCII letters fold case;
// every other byte must be equal.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// The names (without folder) of the regular files in `folder` that fit
// `pattern`, in byte order. A symbolic link counts as the file it leads to.
// Subfolders are not entered, and folders, devices, pipes, sockets and
// dangling or looping links are left out: only files that can be read as
// pictures are found. A missing, unreadable or empty-named folder finds
// nothing.
std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern);

}  // namespace platform
