#include "platform/FileSearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

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
    fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!wildcardMatch(pattern, name)) continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) found.push_back(std::move(name));
    }
    // The folder's own order differs between file systems: a fixed order
    // keeps a run reproducible.
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace platform
