#pragma once
// PNG files of surfaces: the headless renderer's stills and the pictures a
// failing image test leaves behind.

#include <array>
#include <cstdint>
#include <string>

#include "platform/Surface.h"

// Writes the surface as an 8-bit RGB PNG; an 8-bit surface is shown through
// `hardware`, as the display would show it. The file is written as an
// OutputFile: beside its final name, then renamed into place, and only ever
// over a regular file.
// On failure returns false and says why in `error`.
bool writePng(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
              const std::string& path, std::string* error = nullptr);

// Reads an 8-bit RGB or RGBA PNG back into a 32-bit surface (tests and
// tools); an invalid surface when the file cannot be read.
CSurface readPng(const std::string& path, std::string* error = nullptr);
