#pragma once
// PNG files of surfaces: the headless renderer's stills and the pictures a
// failing image test leaves behind.

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/Surface.h"

// Keyword and text pairs stored in a PNG's tEXt chunks (keywords of 1 to 79
// Latin-1 characters).
using PngText = std::vector<std::pair<std::string, std::string>>;

// How hard a picture is compressed, and the text it carries. Stills are written small (zlib level 6,
// each row filtered the way that suits it); the frames of a sequence fast:
// zlib's quickest level and no row filter. On frames of a run (dense text
// over a gradient) that was both the quickest and the smallest of the
// quick choices: the filters cost time and, on text, make the rows harder
// to compress (see bench/png.cpp).
struct PngSettings {
    enum class Filter { Adaptive, None, Sub, Up, Average, Paeth };
    // zlib's ways of looking for repeats: any earlier string, or only runs
    // of one byte (far quicker; on filtered rows nearly as small).
    enum class Matching { Strings, Runs };
    int level = 6;
    Filter filter = Filter::Adaptive;
    Matching matching = Matching::Strings;
    PngText text{};

    static PngSettings still() { return {}; }
    static PngSettings frames() { return {1, Filter::None}; }
};

// The surface as shown (an 8-bit one through `hardware`), as rows of packed
// 8-bit red, green and blue; `rgb` is resized (its storage reused).
void surfaceToRgb(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
                  std::vector<uint8_t>& rgb);

// Encodes packed RGB rows of `width` x `height` pixels as a PNG into `f`.
// False on failure, with libpng's reason in `message`.
bool encodePng(std::FILE* f, const uint8_t* rgb, int width, int height, const PngSettings& settings,
               std::string& message);

// Writes packed RGB rows to `path` as writePng does.
bool writeRgbPng(const uint8_t* rgb, int width, int height, const PngSettings& settings,
                 const std::string& path, std::string* error = nullptr);

// Writes the surface as an 8-bit RGB PNG; an 8-bit surface is shown through
// `hardware`, as the display would show it. The file is written as an
// OutputFile: beside its final name, then renamed into place, and only ever
// over a regular file.
// On failure returns false and says why in `error`.
bool writePng(const CSurface& surface, const std::array<uint32_t, 256>& hardware, const std::string& path,
              std::string* error = nullptr, const PngText& text = {});

// Reads an 8-bit RGB or RGBA PNG back into a 32-bit surface (tests and
// tools); an invalid surface when the file cannot be read.
CSurface readPng(const std::string& path, std::string* error = nullptr);
