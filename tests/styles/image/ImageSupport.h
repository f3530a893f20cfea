#pragma once
// Pictures for the image tests: written by convert, which owes nothing to our readers, or byte by byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/DC.h"
#include "styles/image/Image.h"
#include "support/BmpFields.h"
#include "support/TempFolder.h"

class Pictures : public TempFolder {
public:
    std::string at(const std::string& name) const { return (path() / name).string(); }
    // Runs a command in the folder; true when it succeeded.
    bool run(const std::string& command) const {
        const std::string line = "cd '" + path().string() + "' && " + command + " >/dev/null 2>&1";
        return std::system(line.c_str()) == 0;
    }
    bool convert(const std::string& args) const { return run("convert " + args); }
    // A file of these bytes, decoded by T (ImageBMP or ImageJPEG).
    template <class T>
    T decoded(const std::string& bytes, const ImageLimits& limits) const {
        write("decoded.file", bytes);
        return T(at("decoded.file"), limits);
    }
    // The pixels convert reads from a file: red, green, blue, top row first.
    std::string rgbOf(const std::string& name) const {
        const std::string line = "cd '" + path().string() + "' && convert '" + name + "' -depth 8 rgb:-";
        std::string out;
        if (std::FILE* p = popen(line.c_str(), "r")) {
            char buffer[65536];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
            pclose(p);
        }
        return out;
    }
    // A w x h pattern of many colours, every pixel unlike its neighbours, as a PPM file.
    void pattern(const std::string& name, int w, int h) const {
        std::string ppm = "P6 " + std::to_string(w) + " " + std::to_string(h) + " 255\n";
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ppm +=
                    {static_cast<char>(x * 11), static_cast<char>(y * 19), static_cast<char>(x * y * 7 + 3)};
        write(name, ppm);
    }
};

// What an image shows, painted on a surface of its size: RGB of each pixel, top row first.
inline std::string shownRgb(const Image& image) {
    if (!image.IsValid() || image.Width() <= 0 || image.Height() <= 0) return {};
    CSurface s(image.Width(), image.Height(), 32);
    CDC dc(&s);
    image.Paint(dc, 0, 0);
    std::string out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const uint32_t c = s.at(x, y);
            out += {static_cast<char>(GetRValue(c)), static_cast<char>(GetGValue(c)),
                    static_cast<char>(GetBValue(c))};
        }
    return out;
}

// The largest difference of one channel between two pictures of one size.
inline int largestDifference(const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.empty()) return 256;
    int most = 0;
    for (size_t i = 0; i < a.size(); ++i)
        most = std::max(most, std::abs(static_cast<uint8_t>(a[i]) - static_cast<uint8_t>(b[i])));
    return most;
}
