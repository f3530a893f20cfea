#pragma once
// PNG files of surfaces: the headless renderer's stills and the pictures a
// failing image test leaves behind.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/Surface.h"

// Keyword and text pairs stored in a PNG's tEXt chunks (keywords of 1 to 79
// Latin-1 characters).
using PngText = std::vector<std::pair<std::string, std::string>>;

// Writes the surface as an 8-bit RGB PNG; an 8-bit surface is shown through
// `hardware`, as the display would show it. The file is written beside its
// final name and renamed into place, so a reader never sees half a picture.
// On failure returns false and says why in `error`.
bool writePng(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
              const std::string& path, std::string* error = nullptr, const PngText& text = {});

// Reads an 8-bit RGB or RGBA PNG back into a 32-bit surface (tests and
// tools); an invalid surface when the file cannot be read.
CSurface readPng(const std::string& path, std::string* error = nullptr);
