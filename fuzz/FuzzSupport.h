#pragma once
// What several fuzz targets share: an 8-bit display with a palette of our
// own realised, as colour animation leaves it, and a file holding the input
// for the readers that take a path.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/DC.h"
#include "support/TempFolder.h"

inline CPalette& realisedPalette() {
    static CPalette* palette = [] {
        CDisplay::instance().reset(8);
        auto* p = new CPalette;
        LOGPALETTE log;
        for (int i = 0; i < 16; ++i)
            log.palPalEntry.push_back({static_cast<BYTE>(i * 16), static_cast<BYTE>(255 - i * 16),
                                       static_cast<BYTE>(i * 40), PC_RESERVED});
        log.palNumEntries = 16;
        p->CreatePalette(log);
        return p;
    }();
    return *palette;
}

// The path of a file in a folder of this process now holding the input.
inline std::string inputFile(const uint8_t* data, size_t size, const std::string& name) {
    static TempFolder folder;
    const std::string path = (folder.path() / name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}
