// Stand-in for the Windows PNG files until the Imaging Component version
// exists: pictures are written uncompressed (zlib's "stored" blocks, which
// every reader takes), so a render under Windows gives the same pixels as
// on Linux in a larger file. Reading is not offered.

#include "platform/PngWriter.h"

#include <algorithm>
#include <cstring>

#include "platform/OutputFile.h"

namespace {

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char* kind, const std::vector<uint8_t>& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), kind, kind + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

}  // namespace

void surfaceToRgb(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
                  std::vector<uint8_t>& rgb) {
    const size_t width = static_cast<size_t>(std::max(surface.width(), 0));
    rgb.resize(width * 3 * static_cast<size_t>(std::max(surface.height(), 0)));
    std::vector<uint32_t> row(width);
    for (int y = 0; y < surface.height(); ++y) {
        convertToColorRefs(surface, RECT{0, y, surface.width(), y + 1}, hardware, row.data(),
                           surface.width());
        uint8_t* out = rgb.data() + static_cast<size_t>(y) * width * 3;
        for (size_t x = 0; x < width; ++x) {
            out[3 * x] = static_cast<uint8_t>(row[x]);
            out[3 * x + 1] = static_cast<uint8_t>(row[x] >> 8);
            out[3 * x + 2] = static_cast<uint8_t>(row[x] >> 16);
        }
    }
}

bool encodePng(std::FILE* f, const uint8_t* rgb, int width, int height, const PngSettings& settings,
               std::string& message) {
    if (width <= 0 || height <= 0) {
        message = "the picture is empty";
        return false;
    }
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    chunk(png, "IHDR", header);
    for (const auto& [keyword, text] : settings.text) {
        std::vector<uint8_t> t(keyword.begin(), keyword.end());
        t.push_back(0);
        t.insert(t.end(), text.begin(), text.end());
        chunk(png, "tEXt", t);
    }
    // Rows with filter byte 0, in stored blocks of at most 65535 bytes.
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    uint32_t a = 1, b = 0;  // Adler-32 of the raw data
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb + rowBytes * static_cast<size_t>(y),
                   rgb + rowBytes * (static_cast<size_t>(y) + 1));
    }
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n >= raw.size() ? 1 : 0);
        z.insert(z.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(~n),
                           static_cast<uint8_t>(~n >> 8)});
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        if (raw.empty()) break;
    }
    put32(z, (b << 16) | a);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", {});
    if (std::fwrite(png.data(), 1, png.size(), f) != png.size()) {
        message = "write error";
        return false;
    }
    return true;
}

bool writeRgbPng(const uint8_t* rgb, int width, int height, const PngSettings& settings,
                 const std::string& path, std::string* error) {
    platform::OutputFile out(path);
    std::string message;
    const bool ok =
        out.ok() && encodePng(out.stream(), rgb, width, height, settings, message) && out.commit();
    if (!ok && error)
        *error = !out.error().empty()
                     ? out.error()
                     : "cannot write " + path + ": " + (message.empty() ? "write error" : message);
    return ok;
}

bool writePng(const CSurface& surface, const std::array<uint32_t, 256>& hardware, const std::string& path,
              std::string* error, const PngText& text) {
    if (!surface.valid()) {
        if (error) *error = "cannot write " + path + ": the picture is empty";
        return false;
    }
    std::vector<uint8_t> rgb;
    surfaceToRgb(surface, hardware, rgb);
    PngSettings settings = PngSettings::still();
    settings.text = text;
    return writeRgbPng(rgb.data(), surface.width(), surface.height(), settings, path, error);
}

CSurface readPng(const std::string& path, std::string* error) {
    if (error) *error = "cannot read " + path + ": reading PNG files is not available in this build";
    return {};
}
