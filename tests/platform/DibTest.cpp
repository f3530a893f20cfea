#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "platform/DC.h"

namespace {

// Colours that survive every depth, 5-bit channels included.
const COLORREF kColors[] = {RGB(255, 0, 0),   RGB(0, 255, 0), RGB(0, 0, 255),
                            RGB(132, 8, 255), RGB(0, 0, 0),   RGB(255, 255, 255)};

struct Dib {
    BITMAPINFO info;
    std::vector<uint8_t> bits;
};

// Encodes rows given top to bottom: indices into kColors, stored as indices
// with kColors as the table up to 8 bits, as the colours themselves above.
Dib makeDib(int bpp, bool topDown, const std::vector<std::vector<int>>& rows) {
    Dib d;
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    d.info.bmiHeader.biWidth = w, d.info.bmiHeader.biHeight = topDown ? -h : h;
    d.info.bmiHeader.biBitCount = static_cast<uint16_t>(bpp);
    for (COLORREF c : kColors)
        if (bpp <= 8)
            d.info.bmiColors.push_back({BYTE(GetBValue(c)), BYTE(GetGValue(c)), BYTE(GetRValue(c)), 0});
    const size_t stride = dibRowBytes(w, bpp);
    d.bits.assign(stride * h, 0xEE);  // padding is garbage, as in files
    for (int y = 0; y < h; ++y) {
        uint8_t* row = d.bits.data() + stride * static_cast<size_t>(topDown ? y : h - 1 - y);
        std::fill(row, row + (w * bpp + 7) / 8, 0);
        for (int x = 0; x < w; ++x) {
            const int v = rows[size_t(y)][size_t(x)];
            const int r = GetRValue(kColors[v]), g = GetGValue(kColors[v]), b = GetBValue(kColors[v]);
            // Pixels as a little-endian number of bpp bits; the narrow
            // depths fill each byte from its high bits.
            uint32_t bitsOf = static_cast<uint32_t>(v);
            if (bpp == 16) bitsOf = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
            if (bpp >= 24) bitsOf = RGB(b, g, r);
            if (bpp < 8)
                row[x * bpp / 8] |= static_cast<uint8_t>(bitsOf << (8 - bpp - x * bpp % 8));
            else
                for (int k = 0; k < bpp / 8; ++k)
                    row[x * bpp / 8 + k] = static_cast<uint8_t>(bitsOf >> (8 * k));
        }
    }
    return d;
}

}  // namespace

TEST(Dib, EveryDepthAndRowOrderDrawsTheSamePicture) {
    // Rows are padded to whole 32-bit words: one bit past a word takes another.
    for (const auto& [w, bpp, bytes] : {std::tuple{1, 1, 4}, {32, 1, 4}, {33, 1, 8}, {3, 24, 12}, {9, 4, 8}})
        EXPECT_EQ(dibRowBytes(w, bpp), size_t(bytes)) << w << " pixels of " << bpp;
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        for (bool topDown : {false, true}) {
            const int colours = bpp == 1 ? 2 : 6;
            std::vector<std::vector<int>> rows(3, std::vector<int>(5));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x)
                    rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = (x + 2 * y) % colours;
            const Dib d = makeDib(bpp, topDown, rows);
            CSurface s(7, 5, 32);
            CDC dc(&s);
            EXPECT_EQ(dc.SetDIBitsToDevice(1, 1, 5, 3, 0, 0, 0, 3, d.bits.data(), d.bits.size(), d.info), 3);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x) {
                    const bool inside = x >= 1 && x < 6 && y >= 1 && y < 4;
                    ASSERT_EQ(s.at(x, y), inside ? kColors[(x - 1 + 2 * (y - 1)) % colours] : 0)
                        << bpp << " bits, top-down " << topDown << ", at " << x << "," << y;
                }
        }
    }
}

TEST(Dib, ShortBuffersAndLyingHeadersNeverReadPastTheirBytes) {
    const std::vector<std::vector<int>> rows = {{0, 1, 2}, {3, 4, 5}};
    Dib d = makeDib(24, false, rows);
    // One padded row and all but one byte of the next, copied to the heap at
    // exactly that length so that the address sanitizer sees any read past it.
    std::vector<uint8_t> bytes(d.bits.begin(), d.bits.begin() + 12 + 8);
    CSurface s(3, 2, 32);
    CDC dc(&s);
    EXPECT_EQ(dc.SetDIBitsToDevice(0, 0, 3, 2, 0, 0, 0, 2, bytes.data(), bytes.size(), d.info), 0);
    EXPECT_TRUE(s.at(2, 1) == kColors[5] && s.at(2, 0) == 0u) << "only the complete bottom row";
    EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, bytes.data(), 0, d.info), 0);
    d.info.bmiHeader.biWidth = 0x7FFFFFFF;  // rows far longer than the buffer
    EXPECT_EQ(dc.SetDIBitsToDevice(0, 0, 3, 2, 0, 0, 0, 2, d.bits.data(), d.bits.size(), d.info) +
                  dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, d.bits.data(), d.bits.size(), d.info),
              0);
    EXPECT_TRUE(s.takeChanged() == (RECT{0, 1, 3, 2}));
    // A table shorter than the indices: the missing entries are black.
    d = makeDib(8, false, rows);
    d.info.bmiColors.resize(2);
    EXPECT_EQ(dc.SetDIBitsToDevice(0, 0, 3, 2, 0, 0, 0, 2, d.bits.data(), d.bits.size(), d.info), 2);
    EXPECT_TRUE(s.at(1, 0) == kColors[1] && s.at(2, 0) == 0u);
}

TEST(Dib, SourceRowsCountFromTheBottomAndStretchScalesAndMirrors) {
    const std::vector<std::vector<int>> rows = {{0, 0}, {1, 1}, {2, 2}};
    const Dib up = makeDib(24, false, rows), down = makeDib(24, true, rows);
    CSurface s(2, 1, 32);
    CDC dc(&s);
    for (const Dib* d : {&up, &down}) {
        dc.SetDIBitsToDevice(0, 0, 2, 1, 0, 0, 0, 3, d->bits.data(), d->bits.size(), d->info);
        EXPECT_EQ(s.at(0, 0), kColors[d == &up ? 2 : 0]);
    }
    // Only the middle row handed over, as scan 1 of the bottom-up picture.
    CSurface band(2, 3, 32);
    CDC bc(&band);
    const size_t stride = dibRowBytes(2, 24);
    EXPECT_EQ(bc.SetDIBitsToDevice(0, 0, 2, 3, 0, 0, 1, 1, up.bits.data() + stride, stride, up.info), 1);
    EXPECT_TRUE(band.at(1, 0) == 0 && band.at(1, 1) == kColors[1] && band.at(1, 2) == 0);
    dc.StretchDIBits(0, 0, 1, 1, 1, 0, 1, 1, up.bits.data(), up.bits.size(), up.info);
    EXPECT_EQ(s.at(0, 0), kColors[2]);
    // Stretched twice as large, then mirrored.
    const Dib d = makeDib(8, false, {{0, 1}, {2, 3}});
    CSurface big(4, 4, 32);
    CDC bigDc(&big);
    EXPECT_EQ(bigDc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, d.bits.data(), d.bits.size(), d.info), 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(big.at(x, y), kColors[(y / 2) * 2 + x / 2]);
    bigDc.StretchDIBits(3, 0, -4, 4, 0, 0, 2, 2, d.bits.data(), d.bits.size(), d.info);
    EXPECT_TRUE(big.at(0, 0) == kColors[1] && big.at(3, 3) == kColors[2]);
}

TEST(Dib, PaletteSurfacesTakeTheNearestEntryOfTheRealisedPalette) {
    CDisplay::instance().reset(8);
    CPalette palette;
    LOGPALETTE log;
    log.palNumEntries = 2, log.palPalEntry = {{250, 0, 0, PC_RESERVED}, {0, 0, 250, PC_RESERVED}};
    ASSERT_TRUE(palette.CreatePalette(log));
    CSurface s(3, 2, 8);
    CDC dc(&s);
    dc.SelectPalette(&palette), dc.RealizePalette();
    for (int bpp : {8, 24}) {
        const Dib d = makeDib(bpp, true, {{0, 2, 3}, {1, 4, 5}});
        dc.SetDIBitsToDevice(0, 0, 3, 2, 0, 0, 0, 2, d.bits.data(), d.bits.size(), d.info);
        // Red, blue, (132, 8, 255); green is a tie: the lower entry.
        EXPECT_TRUE(s.at(0, 0) == 10 && s.at(1, 0) == 11 && s.at(2, 0) == 11 && s.at(0, 1) == 10) << bpp;
    }
    CDisplay::instance().reset(32);
}

TEST(Dib, PackedBlocksAreCheckedAgainstTheirLength) {
    const Dib d = makeDib(4, false, {{0, 1, 2}});
    std::vector<uint8_t> block(40 + 16 * 4 + d.bits.size());
    std::memcpy(block.data(), &d.info.bmiHeader, 40);
    std::memcpy(block.data() + 40, d.info.bmiColors.data(), d.info.bmiColors.size() * 4);
    std::memcpy(block.data() + 40 + 64, d.bits.data(), d.bits.size());
    const auto packed = readPackedDib(block.data(), block.size());
    ASSERT_TRUE(packed);
    EXPECT_TRUE(packed->bits == block.data() + 104 && packed->bitsLength == d.bits.size());
    EXPECT_EQ(packed->info.bmiColors[1].rgbGreen, 255);
    EXPECT_FALSE(readPackedDib(block.data(), 100));  // the colour table is cut
}
