// The part of PngWriter.h that is the same on every system: a surface as
// RGB rows, and writing them to a file. Each system's PngWriter.cpp encodes
// the rows (encodePng) and reads a file back (readPng).

#include <algorithm>

#include "platform/OutputFile.h"
#include "platform/PngWriter.h"
#include "platform/Utf8Path.h"

namespace {

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

}  // namespace

void surfaceToRgb(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
                  std::vector<uint8_t>& rgb) {
    const size_t width = static_cast<size_t>(std::max(surface.width(), 0));
    rgb.resize(width * 3 * static_cast<size_t>(std::max(surface.height(), 0)));
    std::vector<uint32_t> indexed;  // one row of an 8-bit surface, as colours
    if (surface.bitsPerPixel() == 8) indexed.resize(width);
    for (int y = 0; y < surface.height(); ++y) {
        const uint32_t* in = surface.bitsPerPixel() == 32 ? surface.row32(y) : indexed.data();
        if (surface.bitsPerPixel() == 8)
            convertToColorRefs(surface, RECT{0, y, surface.width(), y + 1}, hardware, indexed.data(),
                               surface.width());
        // Colour references are 0x00BBGGRR: red is the low byte.
        uint8_t* out = rgb.data() + static_cast<size_t>(y) * width * 3;
        for (size_t x = 0; x < width; ++x) {
            out[3 * x] = static_cast<uint8_t>(in[x]);
            out[3 * x + 1] = static_cast<uint8_t>(in[x] >> 8);
            out[3 * x + 2] = static_cast<uint8_t>(in[x] >> 16);
        }
    }
}

bool writeRgbPng(const uint8_t* rgb, int width, int height, const PngSettings& settings,
                 const std::string& path, std::string* error) {
    platform::OutputFile out(platform::pathFromUtf8(path));
    std::string message;
    const bool ok =
        out.ok() && encodePng(out.stream(), rgb, width, height, settings, message) && out.commit();
    if (!ok) {
        if (!out.error().empty())
            message = out.error();
        else
            message = "cannot write " + path + ": " + (message.empty() ? "write error" : message);
        setError(error, message);
    }
    return ok;
}

bool writePng(const CSurface& surface, const std::array<uint32_t, 256>& hardware, const std::string& path,
              std::string* error, const PngText& text) {
    if (!surface.valid()) {
        setError(error, "cannot write " + path + ": the picture is empty");
        return false;
    }
    std::vector<uint8_t> rgb;
    surfaceToRgb(surface, hardware, rgb);
    PngSettings settings = PngSettings::still();
    settings.text = text;
    return writeRgbPng(rgb.data(), surface.width(), surface.height(), settings, path, error);
}
