#pragma once
// A path of the build as the Windows programs under Wine see it: the build
// machine's path, whose root is Z: there.

#include <filesystem>
#include <string>

inline std::filesystem::path buildPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    return std::filesystem::path(path).make_preferred();
}
