#include "platform/FileSearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Folder and file names are UTF-8 text here. The paths are made from and
// read back as UTF-8 explicitly: where the system's names are not bytes
// (Windows), a plain string would be read in another code page. On Linux
// both are the bytes as they are. A name that does not convert is empty.
std::filesystem::path pathOf(const std::string& utf8) {
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::exception&) {
        return {};
    }
}

std::string textOf(const std::filesystem::path& path) {
    try {
        const std::u8string name = path.u8string();
        return std::string(name.begin(), name.end());
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // Greedy with one back-track point: the last '*' seen takes one more
    // character whenever the rest fails. Linear in practice, never exponential.
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || foldCase(pattern[p]) == foldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern) {
    namespace fs = std::filesystem;
    std::vector<std::string> found;
    std::error_code ec;
    // One pass over the folder; the type usually comes with the entry, so
    // only links and matches on file systems without it cost a status call.
    fs::directory_iterator it(pathOf(folder), fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = textOf(it->path().filename());
        if (name.empty() || !wildcardMatch(pattern, name)) continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) found.push_back(std::move(name));
    }
    // The folder's own order differs between file systems: a fixed order
    // keeps a run reproducible.
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace platform
