// PNG files through the Windows Imaging Component: the component encodes the
// rows (it has no compression levels; a filter is asked for), the text
// chunks are added here (PngFiles.cpp writes the file).

#include "platform/PngWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/win32/PngCodecApi.h"

namespace {

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0xFFFFFFFFu) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void putBig32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// A tEXt chunk: keyword, NUL, text. Keywords PNG does not allow (empty,
// longer than 79, with a NUL) are left out.
bool appendTextChunk(std::string& out, const std::string& keyword, const std::string& text) {
    if (keyword.empty() || keyword.size() > 79 || keyword.find('\0') != std::string::npos) return false;
    std::string body = "tEXt" + keyword + '\0' + text;
    putBig32(out, static_cast<uint32_t>(body.size() - 4));
    out += body;
    putBig32(out, crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()) ^ 0xFFFFFFFFu);
    return true;
}

platform::win32::PngRowFilter rowFilter(PngSettings::Filter f) {
    using F = platform::win32::PngRowFilter;
    switch (f) {
        case PngSettings::Filter::None:
            return F::None;
        case PngSettings::Filter::Sub:
            return F::Sub;
        case PngSettings::Filter::Up:
            return F::Up;
        case PngSettings::Filter::Average:
            return F::Average;
        case PngSettings::Filter::Paeth:
            return F::Paeth;
        case PngSettings::Filter::Adaptive:
            break;
    }
    return F::Adaptive;
}

}  // namespace

bool encodePng(std::FILE* f, const uint8_t* rgb, int width, int height, const PngSettings& settings,
               std::string& message) {
    std::string png;
    if (!platform::win32::encodePngBytes(rgb, width, height, rowFilter(settings.filter), png, message))
        return false;
    // The text goes before the closing chunk (IEND: length, type, CRC).
    constexpr size_t kEndChunk = 12;
    if (png.size() < kEndChunk || png.compare(png.size() - 8, 4, "IEND") != 0) {
        message = "the encoder's file does not end as a PNG file does";
        return false;
    }
    std::string text;
    for (const auto& [keyword, value] : settings.text) appendTextChunk(text, keyword, value);
    png.insert(png.size() - kEndChunk, text);
    if (std::fwrite(png.data(), 1, png.size(), f) != png.size()) {
        message = std::strerror(errno);
        return false;
    }
    return true;
}

CSurface readPng(const std::string& path, std::string* error) {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    std::string message;
    if (!platform::win32::decodePictureFile(path, pixels, width, height, message)) {
        setError(error, "cannot read " + path + ": " + message);
        return {};
    }
    CSurface surface(width, height, 32);
    if (!surface.valid()) return {};
    for (int y = 0; y < height; ++y)
        std::copy_n(pixels.data() + static_cast<size_t>(y) * width, width, surface.row32(y));
    return surface;
}
