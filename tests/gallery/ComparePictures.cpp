// Compares the pictures of two folders by their pixels (the files also hold
// the version that wrote them, so their bytes differ between versions):
//
//   qv_compare_pictures FRESH COMMITTED
//
// Every PNG in either folder must be in both with the same size and pixels.
// Exits 0 when they all are; else names each picture that differs, is
// missing or is left over, and exits 1.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "platform/PngWriter.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> pngsIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == ".png") names.insert(entry.path().filename().string());
    return names;
}

bool samePixels(const CSurface& a, const CSurface& b) {
    if (!a.valid() || !b.valid() || a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row32(y), b.row32(y), sizeof(uint32_t) * static_cast<size_t>(a.width())) != 0)
            return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qv_compare_pictures FRESH COMMITTED\n");
        return 2;
    }
    const fs::path fresh = argv[1], committed = argv[2];
    const std::set<std::string> made = pngsIn(fresh), kept = pngsIn(committed);
    if (made.empty()) {
        std::fprintf(stderr, "no pictures in %s\n", fresh.c_str());
        return 1;
    }
    std::set<std::string> all = made;
    all.insert(kept.begin(), kept.end());
    int stale = 0;
    for (const std::string& name : all) {
        const char* why = nullptr;
        if (!kept.count(name))
            why = "is not in";
        else if (!made.count(name))
            why = "is no longer made, yet is in";
        else if (!samePixels(readPng((fresh / name).string()), readPng((committed / name).string())))
            why = "differs from the one in";
        if (!why) continue;
        std::fprintf(stderr, "stale picture: %s %s %s\n", name.c_str(), why, committed.c_str());
        ++stale;
    }
    if (stale) {
        std::fprintf(stderr,
                     "%d of %zu pictures are stale: run make gallery, look at them, and commit them\n", stale,
                     all.size());
        return 1;
    }
    std::printf("%zu pictures as committed\n", all.size());
    return 0;
}
