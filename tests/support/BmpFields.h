#pragma once

#include <cstdint>
#include <string>

// A bitmap file put together field by field.
struct BmpFields {
    uint32_t headerSize = 40;
    int32_t width = 4;
    int32_t height = 3;
    uint16_t planes = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t colorsUsed = 0;
    int64_t bitsOffset = -1;  // -1: right after header and table
    bool fileHeader = true;
    std::string table;  // the colour table's bytes
    std::string body;   // what follows the table

    std::string bytes() const {
        std::string header;
        const auto put = [&header](uint64_t v, int n) {
            for (int i = 0; i < n; ++i) header += static_cast<char>(v >> (8 * i));
        };
        put(headerSize, 4), put(static_cast<uint32_t>(width), 4), put(static_cast<uint32_t>(height), 4);
        put(planes, 2), put(bits, 2), put(compression, 4), put(sizeImage, 4), put(0, 8), put(colorsUsed, 4),
            put(0, 4);
        if (headerSize > 40 && headerSize <= 124) header.resize(headerSize, '\0');
        std::string file;
        if (fileHeader) {
            const uint64_t offset =
                bitsOffset >= 0 ? uint64_t(bitsOffset) : 14 + header.size() + table.size();
            file = "BM";
            const auto put32 = [&file](uint64_t v) {
                for (int i = 0; i < 4; ++i) file += static_cast<char>(v >> (8 * i));
            };
            put32(14 + header.size() + table.size() + body.size()), put32(0), put32(offset);
        }
        return file + header + table + body;
    }
};
