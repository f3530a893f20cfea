#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <vector>

#include "platform/PngQueue.h"
#include "platform/PngWriter.h"
#include "platform/Surface.h"
#include "support/SurfacePixels.h"
#include "support/TempFolder.h"

TEST(Surface, RefusesImpossibleShapesAndTheDisplayBadRequests) {
    EXPECT_FALSE(CSurface(0, 10, 32).valid() || CSurface(10, -1, 32).valid() ||
                 CSurface(10, 10, 24).valid() || CSurface(1 << 20, 1 << 20, 32).valid());
    CSurface s(3, 2, 32);
    ASSERT_TRUE(s.valid());
    for (int y = 0; y < 2; ++y) std::fill_n(s.row32(y), 3, 7u);
    EXPECT_TRUE(s.at(-1, 0) == 0u && s.at(3, 0) == 0u && s.at(0, 2) == 0u && s.at(2, 1) == 7u);
    s.markChanged({-5, 1, 2, 4}), s.markChanged({2, 1, 20, 20});  // clipped, and taken once
    EXPECT_EQ(s.takeChanged(), (RECT{0, 1, 3, 2}));
    EXPECT_TRUE(s.takeChanged().empty());
    // The palette display ignores bad requests.
    CDisplay& d = CDisplay::instance();
    d.reset(8);
    const uint64_t before = d.paletteVersion();
    PALETTEENTRY e{1, 2, 3, PC_RESERVED};
    d.setHardwareEntries(300, 1, &e);  // out of range: ignored
    d.setHardwareEntries(10, 1, &e);
    EXPECT_TRUE(d.hardwarePalette()[10] == RGB(1, 2, 3) && d.paletteVersion() > before);
    EXPECT_FALSE(d.setBitsPerPixel(16));
    d.reset(32);
}

// Pictures written at once keep every pixel. Pictures of a sequence, written
// in the background, each show the surface at the moment it was queued, in
// order, through the palette at 8 bits; a failure is reported and does not
// stop the rest.
TEST(Png, PicturesKeepEveryPixelQueuedOnesTheirMomentAndFailuresAreReported) {
    TempFolder folder;
    const std::string f = folder.path().string();
    std::array<uint32_t, 256> hardware{};
    hardware[7] = RGB(10, 20, 30);
    CSurface indexed(4, 2, 8);
    indexed.row8(1)[3] = 7;
    CSurface s(33, 17, 32);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x) s.row32(y)[x] = RGB(x * 7, y * 13, 255 - x);
    {
        PngQueue queue(PngSettings::frames());
        for (int k = 0; k < 5; ++k) {
            s.row32(k)[k] = RGB(255, k, 0);
            queue.add(s, hardware, f + "/" + std::to_string(k) + ".png");
        }
        queue.add(s, hardware, f + "/no/such/folder/x.png");
        queue.add(indexed, hardware, f + "/i.png");
        queue.finish();
        EXPECT_EQ(queue.written().size(), 6u);
        EXPECT_NE(queue.error().find("no/such/folder"), std::string::npos) << queue.error();
        queue.add(s, hardware, f + "/after.png");  // written when the queue goes
    }
    for (int k = 0; k < 5; ++k) {
        const CSurface back = readPng(f + "/" + std::to_string(k) + ".png");
        ASSERT_TRUE(back.valid());
        EXPECT_EQ(back.at(k, k), RGB(255, k, 0));
        EXPECT_EQ(back.at(k + 1, k + 1), RGB(7 * k + 7, 13 * k + 13, 254 - k))
            << "marked after picture " << k;
    }
    const CSurface back = readPng(f + "/i.png");
    EXPECT_TRUE(back.at(3, 1) == RGB(10, 20, 30) && back.at(2, 1) == 0u);
    std::string error;
    ASSERT_TRUE(writePng(s, {}, f + "/now.png", &error)) << error;
    for (const char* name : {"/now.png", "/after.png"})
        EXPECT_EQ(surfacePixels(readPng(f + name)), surfacePixels(s)) << name;
    EXPECT_FALSE(writePng(CSurface(4, 4, 32), {}, f + "/no/such/folder/a.png", &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    folder.write("bad.png", "not a picture");
    EXPECT_FALSE(writePng(CSurface(), {}, f + "/b.png", &error) || readPng(f + "/bad.png", &error).valid() ||
                 readPng(f + "/missing.png", &error).valid());
    // The same pictures come out the same, byte for byte.
    std::vector<uint8_t> rgb;
    surfaceToRgb(s, hardware, rgb);
    ASSERT_TRUE(writeRgbPng(rgb.data(), s.width(), s.height(), PngSettings::frames(), f + "/again.png"));
    EXPECT_EQ(folder.read("again.png"), folder.read("after.png"));
}

TEST(Display, WideAreasConvertEveryPixelOfTheirRows) {
    // 19 columns from column 3: two runs of eight and a tail of three.
    CSurface s(23, 2, 8);
    std::array<uint32_t, 256> hw{};
    for (int i = 0; i < 256; ++i) hw[static_cast<size_t>(i)] = 0x00010203u * static_cast<uint32_t>(i);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 23; ++x) s.row8(y)[x] = static_cast<uint8_t>(37 * x + 101 * y);
    std::vector<uint32_t> out(2 * 20, 0xDEADBEEF);
    convertToColorRefs(s, {3, 0, 22, 2}, hw, out.data(), 20);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 19; ++x)
            EXPECT_EQ(out[static_cast<size_t>(y * 20 + x)], hw[s.row8(y)[x + 3]]) << x << "," << y;
        EXPECT_EQ(out[static_cast<size_t>(y * 20 + 19)], 0xDEADBEEFu);  // beyond the area
    }
}
