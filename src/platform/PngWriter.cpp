#include "platform/PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<FILE, FileCloser>;

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

// libpng reports errors by longjmp; these callbacks keep its messages.
void onPngError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text) *text = message;
    png_longjmp(png, 1);
}
void onPngWarning(png_structp, png_const_charp) {}

int pngFilter(PngSettings::Filter f) {
    switch (f) {
        case PngSettings::Filter::None:
            return PNG_FILTER_NONE;
        case PngSettings::Filter::Sub:
            return PNG_FILTER_SUB;
        case PngSettings::Filter::Up:
            return PNG_FILTER_UP;
        case PngSettings::Filter::Average:
            return PNG_FILTER_AVG;
        case PngSettings::Filter::Paeth:
            return PNG_FILTER_PAETH;
        case PngSettings::Filter::Adaptive:
            break;
    }
    return PNG_ALL_FILTERS;
}

// Everything that touches libpng's setjmp lives in functions without C++
// objects of their own, so the jump never skips a destructor.
bool encodeRows(FILE* f, int width, int height, png_bytep* rows, const PngSettings& settings, png_text* text,
                int texts, std::string& message) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, onPngError, onPngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, settings.level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, pngFilter(settings.filter));
    if (settings.matching == PngSettings::Matching::Runs) png_set_compression_strategy(png, Z_RLE);
    if (texts > 0) png_set_text(png, info, text, texts);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool decode(FILE* f, std::vector<uint32_t>& pixels, int& width, int& height, std::string& message) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, onPngError, onPngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    if (w == 0 || h == 0 || w > 16384 || h > 16384) png_error(png, "unsupported picture size");
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != w * 4) png_error(png, "unexpected row layout");
    pixels.resize(static_cast<size_t>(w) * h);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(pixels.data() + size_t{y} * w);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

}  // namespace

bool encodePng(FILE* f, const uint8_t* rgb, int width, int height, const PngSettings& settings,
               std::string& message) {
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(rgb + static_cast<size_t>(y) * static_cast<size_t>(width) * 3);
    std::vector<png_text> text(settings.text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        text[i].compression = PNG_TEXT_COMPRESSION_NONE;
        text[i].key = const_cast<char*>(settings.text[i].first.c_str());
        text[i].text = const_cast<char*>(settings.text[i].second.c_str());
        text[i].text_length = settings.text[i].second.size();
    }
    return encodeRows(f, width, height, rows.data(), settings, text.data(), static_cast<int>(text.size()),
                      message);
}

CSurface readPng(const std::string& path, std::string* error) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        setError(error, "cannot read " + path + ": " + std::strerror(errno));
        return {};
    }
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    std::string message;
    if (!decode(f.get(), pixels, width, height, message)) {
        setError(error, "cannot read " + path + ": " + (message.empty() ? "not a PNG file" : message));
        return {};
    }
    CSurface surface(width, height, 32);
    if (!surface.valid()) return {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.row32(y)[x] = pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFF;
    return surface;
}
