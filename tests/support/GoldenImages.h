#pragma once
// Golden pictures: "name hash" lines in tests/golden/<file>. A mismatch fails and leaves
// <name>.png beside the test program; QV_UPDATE_GOLDEN=1 rewrites the file from this run.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "platform/PngWriter.h"
#include "platform/Surface.h"

// The pixels and the hardware palette they are shown through.
inline uint64_t pictureHash(const CSurface& s) {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](uint32_t v) { h = (h ^ v) * 1099511628211ull; };
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) mix(s.at(x, y));
    for (uint32_t c : CDisplay::instance().hardwarePalette()) mix(c);
    return h;
}

// A file of tests/golden/. The build names the folder: __FILE__ may be a path
// relative to wherever the compiler ran (a compiler cache rewrites it so).
inline std::filesystem::path goldenPath(const std::string& file) {
#ifdef QV_GOLDEN_DIR
    return std::filesystem::path(QV_GOLDEN_DIR) / file;
#else
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / file;
#endif
}

// The pictures the Windows build draws differently: its C library rounds sin,
// cos, pow, exp and atan2 differently in the last bit from Linux's (sqrt
// agrees), and in these pictures a pixel or a draw depends on that bit. All
// the other pictures, and headless renders of every style but Text, agree.
inline bool drawnByOtherMaths(const std::string& name) {
#ifdef _WIN32
    static const std::set<std::string> names = {"pattern_network_seed1", "polygons_moving_32bit_seed1",
                                                "dots_8bit_seed2"};
    return names.count(name) != 0;
#else
    (void)name;
    return false;
#endif
}

class GoldenFile {
public:
    explicit GoldenFile(const std::string& file)
        : m_path(goldenPath(file)), m_update(std::getenv("QV_UPDATE_GOLDEN") != nullptr) {
        std::ifstream in(m_path);
        if (!in && !m_update)
            ADD_FAILURE() << "no golden file " << m_path << " (QV_UPDATE_GOLDEN=1 writes it)";
        std::string name, hash;
        while (in >> name >> hash) m_expected[name] = hash;
    }
    ~GoldenFile() {
        if (!m_update) return;
        std::ofstream out(m_path);
        for (const auto& [name, hash] : m_actual) out << name << ' ' << hash << '\n';
    }
    GoldenFile(const GoldenFile&) = delete;
    GoldenFile& operator=(const GoldenFile&) = delete;

    void check(const std::string& name, const CSurface& picture) {
        std::ostringstream hash;
        hash << std::hex << pictureHash(picture);
        m_actual[name] = hash.str();
        if (m_update || m_expected[name] == hash.str() || drawnByOtherMaths(name)) return;
        std::error_code ec;
        const auto png = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / (name + ".png");
        writePng(picture, CDisplay::instance().hardwarePalette(), png.string());
        ADD_FAILURE() << name << ": hash " << hash.str() << ", expected " << m_expected[name]
                      << "; the picture is in " << png.string();
    }

private:
    std::filesystem::path m_path;
    bool m_update;
    std::map<std::string, std::string> m_expected;
    std::map<std::string, std::string> m_actual;
};
