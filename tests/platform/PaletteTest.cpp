#include <gtest/gtest.h>

#include <vector>

#include "platform/DC.h"

namespace {

// Every test leaves the display as it found it: true colour.
struct PaletteDisplay : ::testing::Test {
    void SetUp() override { CDisplay::instance().reset(8); }
    void TearDown() override { CDisplay::instance().reset(32); }
};

LOGPALETTE paletteOf(std::vector<PALETTEENTRY> entries) {
    LOGPALETTE log;
    log.palNumEntries = static_cast<uint16_t>(entries.size());
    log.palPalEntry = std::move(entries);
    return log;
}

std::vector<uint32_t> presented(const CSurface& s) {
    std::vector<uint32_t> out(static_cast<size_t>(s.width()) * s.height());
    convertToColorRefs(s, s.bounds(), CDisplay::instance().hardwarePalette(), out.data(), s.width());
    return out;
}

}  // namespace

TEST_F(PaletteDisplay, RealisationLoadsTheFreeEntriesOnceAndMapsTheRest) {
    CDisplay& d = CDisplay::instance();
    std::vector<PALETTEENTRY> entries(240);
    for (int i = 0; i < 240; ++i) entries[static_cast<size_t>(i)] = {static_cast<BYTE>(i), 7, 9, PC_RESERVED};
    entries[238] = {255, 251, 240, PC_RESERVED};  // beyond the free entries: the static cream
    entries[239] = {255, 255, 255, 0};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(paletteOf(entries)));
    CSurface s(1, 1, 8);
    CDC dc(&s);
    EXPECT_EQ(dc.SelectPalette(&palette), &CPalette::defaultPalette());
    EXPECT_FALSE(palette.isRealized());
    EXPECT_TRUE(dc.RealizePalette() == 236u && palette.isRealized());
    // Statics untouched; beyond the free entries the static white.
    EXPECT_TRUE(d.hardwarePalette()[245] == RGB(235, 7, 9) && d.hardwarePalette()[246] == RGB(255, 251, 240));
    EXPECT_TRUE(palette.hardwareIndex(0) == 10 && palette.hardwareIndex(238) == 246 &&
                palette.hardwareIndex(239) == 255);
    // Animation never changes a static colour, even for an entry shown through one.
    const PALETTEENTRY black{0, 0, 0, PC_RESERVED};
    EXPECT_TRUE(palette.AnimatePalette(238, 1, &black) && d.hardwarePalette()[246] == RGB(255, 251, 240));
    // Realising again on every paint must not disturb the hardware palette.
    const uint64_t version = d.paletteVersion();
    EXPECT_TRUE(dc.RealizePalette() == 0u && d.paletteVersion() == version);
    // Another palette realised takes the entries over; the first one then
    // maps to what the hardware shows.
    CPalette other;
    ASSERT_TRUE(other.CreatePalette(paletteOf({{0, 7, 9, 0}, {1, 2, 3, 0}})));
    dc.SelectPalette(&other);
    dc.RealizePalette();
    EXPECT_TRUE(!palette.isRealized() && d.hardwarePalette()[11] == RGB(1, 2, 3));
    EXPECT_TRUE(palette.hardwareIndex(0) == 10 && palette.hardwareIndex(1) == 10);  // (1,7,9) nearest (0,7,9)
    // A switch of depth forgets the realisation.
    d.setBitsPerPixel(32), d.setBitsPerPixel(8);
    EXPECT_TRUE(!other.isRealized() && dc.RealizePalette() == 2u);
}

TEST_F(PaletteDisplay, ColoursResolveThroughTheRealisedPaletteAnimationOnlyItsEntries) {
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(
        paletteOf({{200, 0, 0, PC_RESERVED}, {0, 0, 200, PC_RESERVED}, {0, 0, 0, PC_RESERVED}})));
    CSurface s(6, 1, 8);
    CDC dc(&s);
    // The default palette: the lower static colours, then the upper ones.
    dc.SetPixel(0, 0, PALETTEINDEX(19)), dc.SetPixel(1, 0, PALETTEINDEX(9)),
        dc.SetPixel(2, 0, PALETTEINDEX(10));
    EXPECT_TRUE(s.at(0, 0) == 255u && s.at(1, 0) == 9u && s.at(2, 0) == 246u);
    dc.SelectPalette(&palette);
    dc.RealizePalette();
    dc.SetPixel(0, 0, PALETTEINDEX(1));
    dc.SetPixel(1, 0, PALETTEINDEX(7));          // beyond the palette: entry 0
    dc.SetPixel(2, 0, PALETTERGB(250, 10, 10));  // nearest logical entry
    dc.SetPixel(3, 0, RGB(250, 10, 10));         // nearest hardware entry: static red
    dc.SetPixel(4, 0, PALETTERGB(1, 1, 1));      // black is entry 2 of the palette
    EXPECT_EQ(std::vector<uint8_t>(s.row8(0), s.row8(0) + 5), (std::vector<uint8_t>{11, 10, 10, 249, 12}));
    // New entries: palette-relative colours find them at once (the cache of
    // nearest colours must follow), the hardware once they are realised.
    const PALETTEENTRY changed[] = {{0, 0, 0, PC_RESERVED}, {250, 10, 10, PC_RESERVED}};
    palette.SetPaletteEntries(0, 2, changed);
    dc.SetPixel(5, 0, PALETTERGB(250, 10, 10));
    EXPECT_TRUE(s.at(5, 0) == 11u && dc.GetPixel(5, 0) == RGB(0, 0, 200));
    dc.RealizePalette();
    EXPECT_EQ(dc.GetPixel(5, 0), RGB(250, 10, 10));
    // Animation recolours only the pixels of the animated entries.
    CPalette animated;
    ASSERT_TRUE(animated.CreatePalette(
        paletteOf({{10, 10, 10, PC_RESERVED}, {20, 20, 20, PC_RESERVED}, {30, 30, 30, 0}})));
    CSurface as(4, 2, 8);
    CDC adc(&as);
    adc.SelectPalette(&animated);
    adc.RealizePalette();
    adc.FillRect({0, 0, 4, 2}, RGB(255, 255, 255));
    adc.SetPixel(0, 0, PALETTEINDEX(0)), adc.SetPixel(1, 1, PALETTEINDEX(1)),
        adc.SetPixel(2, 0, PALETTEINDEX(2));
    std::vector<uint32_t> expected = presented(as);
    const PALETTEENTRY next[] = {{1, 2, 3, PC_RESERVED}, {4, 5, 6, PC_RESERVED}, {7, 8, 9, PC_RESERVED}};
    ASSERT_TRUE(animated.AnimatePalette(0, 3, next));
    expected[0] = RGB(1, 2, 3);
    expected[5] = RGB(4, 5, 6);  // entry 2 is not reserved: its pixel stays
    EXPECT_EQ(presented(as), expected);
    PALETTEENTRY e[3];
    ASSERT_EQ(animated.GetPaletteEntries(0, 5, e), 3u);
    EXPECT_TRUE(e[1] == (PALETTEENTRY{4, 5, 6, PC_RESERVED}) && e[2] == (PALETTEENTRY{30, 30, 30, 0}));
    adc.SetPixel(3, 0, PALETTERGB(4, 5, 6));
    EXPECT_EQ(as.at(3, 0), 11u) << "colours resolved after the tick see the animated entries";
    EXPECT_FALSE(animated.AnimatePalette(3, 1, next));
    // A animated that is not realised animates its own entries only.
    CPalette idle;
    ASSERT_TRUE(idle.CreatePalette(paletteOf({{1, 1, 1, PC_RESERVED}})));
    const uint64_t version = CDisplay::instance().paletteVersion();
    EXPECT_TRUE(idle.AnimatePalette(0, 1, next + 2) && idle.entryColor(0) == RGB(7, 8, 9));
    EXPECT_EQ(CDisplay::instance().paletteVersion(), version);
}

TEST(Palette, TrueColourReadsIndexColoursFromTheSelectedPalette) {
    CPalette palette;
    LOGPALETTE log = paletteOf({{1, 2, 3, 0}, {5, 2, 3, 0}, {7, 8, 9, 0}});
    log.palNumEntries = 2;  // only two are declared
    ASSERT_TRUE(palette.CreatePalette(log));
    EXPECT_EQ(palette.GetEntryCount(), 2);
    CSurface s(4, 1, 32);
    CDC dc(&s);
    dc.SetPixel(0, 0, PALETTEINDEX(3));  // default palette: dark yellow
    dc.SelectPalette(&palette);
    dc.SetPixel(1, 0, PALETTEINDEX(1)), dc.SetPixel(2, 0, PALETTEINDEX(2)),
        dc.SetPixel(3, 0, PALETTERGB(9, 9, 9));
    EXPECT_EQ(std::vector<uint32_t>(s.row32(0), s.row32(0) + 4),
              (std::vector<uint32_t>{RGB(128, 128, 0), RGB(5, 2, 3), RGB(1, 2, 3), RGB(9, 9, 9)}));
    EXPECT_TRUE(dc.RealizePalette() == 0u && !(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE))
        << "no hardware palette";
    EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(3, 2, 3)), 0u);  // a tie: the lower index
    CPalette none;
    log.palVersion = 0x200;
    EXPECT_FALSE(none.CreatePalette(log));
    EXPECT_EQ(dc.SelectPalette(&none), &palette);  // an invalid palette selects the default
    EXPECT_EQ(dc.currentPalette(), &CPalette::defaultPalette());
}

TEST_F(PaletteDisplay, DeviceCapsAndCompatibleBitmapsFollowTheDisplay) {
    CSurface indexed(64, 48, 8);
    CDC pdc(&indexed);
    EXPECT_TRUE((pdc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE) && pdc.GetDeviceCaps(NUMRESERVED) == 20);
    // A memory context without a bitmap has the display's depth.
    EXPECT_EQ(pdc.CreateCompatibleDC().GetDeviceCaps(BITSPIXEL), 8);
    EXPECT_TRUE(pdc.CreateCompatibleBitmap(3, 2).bitsPerPixel() == 8 &&
                !pdc.CreateCompatibleBitmap(0, 2).valid());
}
