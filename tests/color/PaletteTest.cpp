#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "color/ColorSpace.h"
#include "color/PaletteMaker.h"

namespace {

struct Write {
    int index;
    PALETTEENTRY entry;
    int band;
    int k;  // step within the band
};

struct Built {
    std::vector<Write> writes;
    std::vector<PALETTEENTRY> entries;
};

WeightedChooser evenScheme() {
    WeightedChooser c;
    return c.build(std::vector<float>(12, 50.0f), true), c;
}

PaletteOptions options(bool paletteDevice, int useBlack = 0, int useWhite = 0) {
    PaletteOptions o;
    o.useBlack = useBlack, o.useWhite = useWhite, o.paletteDevice = paletteDevice;
    return o;
}

// Runs a maker to the end, keeping every write; checks that every entry is
// written and that the bands join up.
Built build(PaletteMaker& maker) {
    Built b;
    b.entries.resize(size_t(maker.size()));
    std::vector<bool> written(b.entries.size(), false);
    int index = -1, k = 0;
    PALETTEENTRY e;
    while (maker.next(index, e)) {
        const int band = maker.bandCount() - 1;
        k = b.writes.empty() || b.writes.back().band != band ? 0 : k + 1;
        b.writes.push_back({index, e, band, k});
        EXPECT_EQ(index, maker.bands().back().start + k);
        b.entries.at(size_t(index)) = e, written[size_t(index)] = true;
    }
    EXPECT_EQ(std::count(written.begin(), written.end(), false), 0) << "every entry written";
    const auto& bands = maker.bands();
    // Bands join up and number from 1, those whose parity matches easing in; only the last
    // may be shorter than minBand; the chain closes.
    for (size_t j = 1; j < bands.size(); ++j)
        EXPECT_TRUE(bands[j].start == bands[j - 1].start + bands[j - 1].length - 1 &&
                    bands[j].from == bands[j - 1].to &&
                    bands[j].easeIn == ((j + 1) % 2 == size_t(maker.parity())) &&
                    bands[j - 1].length >= maker.minBand())
            << "band " << j;
    EXPECT_TRUE(bands.empty() || (bands.back().to == maker.firstColor() &&
                                  bands.back().start + bands.back().length == maker.size()));
    return b;
}

double easedT(const PaletteMaker& maker, const Write& w) {
    const PaletteBand& b = maker.bands()[static_cast<size_t>(w.band)];
    return std::pow((w.k + 1.0) / b.length, b.easeIn ? maker.gamma() : 1.0 / maker.gamma());
}

// The lightness treatments follow a tent: 0 at the band ends, 0.8 between.
double tent(double t) { return (0.5 - std::fabs(t - 0.5)) * 1.6; }

float lightnessOf(const PALETTEENTRY& e) { return ColorHSL(Color(e.peRed, e.peGreen, e.peBlue)).lightness(); }

// Without lightness treatments every write lies on its band's eased ramp.
void expectRamps(const PaletteMaker& maker, const Built& built) {
    for (const Write& w : built.writes) {
        const PaletteBand& b = maker.bands()[static_cast<size_t>(w.band)];
        const int got[3] = {w.entry.peRed, w.entry.peGreen, w.entry.peBlue};
        for (int c = 0; c < 3; ++c) {
            const double want = b.from.channel(c) + (b.to.channel(c) - b.from.channel(c)) * easedT(maker, w);
            ASSERT_LE(std::fabs(got[c] - want), 1.0) << "band " << w.band << " step " << w.k;
        }
    }
}

}  // namespace

TEST(PaletteBands, TwoHundredThirtySixEntriesInBandsOfFortyRampsAtAnySize) {
    const WeightedChooser scheme = evenScheme();
    PaletteMaker maker(11609, 236, options(true), scheme);
    ASSERT_TRUE(maker.minBand() == 40 && maker.maxBand() == 40);
    const Built built = build(maker);
    ASSERT_EQ(maker.bandCount(), 6);
    for (size_t j = 0; j < 6; ++j)  // each starts on the last entry of the one before
        EXPECT_TRUE(maker.bands()[j].start == int(39 * j) && maker.bands()[j].length == (j < 5 ? 40 : 41))
            << j;
    const Color first = maker.firstColor();
    EXPECT_EQ(built.entries[235],
              (PALETTEENTRY{BYTE(first.red()), BYTE(first.green()), BYTE(first.blue()), PC_RESERVED}));
    expectRamps(maker, built);
    int index;
    PALETTEENTRY e;
    EXPECT_TRUE(maker.finished() && !maker.next(index, e));
    // Ramps are straight at gamma 1 and eased otherwise, at any size.
    bool sawOne = false, sawSteep = false;
    for (int seed = 1; seed < 40; ++seed) {
        PaletteMaker m(seed, seed < 8 ? seed - 1 : seed < 16 ? 12 + seed : 236, options(false), scheme);
        const Built made = build(m);
        expectRamps(m, made);
        EXPECT_TRUE(made.entries.empty() || made.entries[0].peFlags == 0);
        sawOne = sawOne || m.gamma() == 1;
        // A steep ease puts the middle of a band far from the straight line.
        for (const Write& w : made.writes) {
            const PaletteBand& b = m.bands()[static_cast<size_t>(w.band)];
            const int span = b.to.red() - b.from.red();
            if (m.gamma() < 3 || std::abs(span) < 120 || w.k != b.length / 2) continue;
            EXPECT_GT(std::fabs(w.entry.peRed - (b.from.red() + span * (w.k + 1.0) / b.length)), 15);
            sawSteep = true;
        }
    }
    EXPECT_TRUE(sawOne && sawSteep);
    std::vector<PALETTEENTRY> entries(40);
    fillPalette(1, options(false), WeightedChooser(), entries);  // no scheme table: sector 0
}

TEST(PaletteBands, BlackBandsHighlightsAndGrey) {
    const WeightedChooser scheme = evenScheme();
    for (int seed = 1; seed <= 200; ++seed) {
        // UseBlack 100: black bands even on a palette device, without a draw;
        // highlights never there, also without a draw: the band lengths come first.
        RandomSource copy(seed);
        const int minBand = copy.skewedBelow(236, 4) + 12, maxBand = copy.skewedBelow(236, 3) + 12;
        PaletteMaker maker(seed, 236, options(true, 100, 100), scheme);
        const Built built = build(maker);
        EXPECT_TRUE(maker.blackBands() && !maker.highlights());
        EXPECT_TRUE(maxBand < minBand || (maker.minBand() == minBand && maker.maxBand() == maxBand));
        EXPECT_EQ(built.entries.back(), (PALETTEENTRY{0, 0, 0, PC_RESERVED}));  // black at the band end
        for (const Write& w : built.writes) ASSERT_LE(lightnessOf(w.entry), tent(easedT(maker, w)) + 0.01);
    }
    // Highlights in true colour: never darker than the tent; with black bands
    // as well, the tent itself.
    for (int useBlack : {0, 100}) {
        PaletteMaker lit(7, 236, options(false, useBlack, 100), scheme);
        const Built built = build(lit);
        EXPECT_TRUE(lit.highlights());
        for (const Write& w : built.writes) {
            const double l = lightnessOf(w.entry), want = tent(easedT(lit, w));
            ASSERT_GE(l, want - 0.01);
            ASSERT_TRUE(!useBlack || l <= want + 0.01);
        }
    }
    // Grey only after five minutes; 100 x (5400 / 60 / 90) / 10 makes it certain.
    PaletteOptions o = options(false, 100);
    o.colorsFullChange = 5400;
    EXPECT_FALSE(PaletteMaker(3, 236, o, scheme).grey());
    o.runningLong = true;
    PaletteMaker grey(3, 236, o, scheme);
    const Built built = build(grey);
    EXPECT_TRUE(grey.grey());
    for (const PALETTEENTRY& e : built.entries) ASSERT_TRUE(e.peRed == e.peGreen && e.peGreen == e.peBlue);
}

TEST(PaletteBands, ADarkPaletteIsLiftedUntilHalfItsEntriesShow) {
    // Half black, the rest dim but for one bright entry: scaled by 64 / 16,
    // black stays black, the bright one is held at 255, the flags stay.
    std::vector<PALETTEENTRY> e(8, PALETTEENTRY{0, 0, 0, PC_RESERVED});
    for (size_t i = 4; i < 7; ++i) e[i] = {8, 16, 4, PC_RESERVED};
    e[7] = {200, 100, 0, PC_RESERVED};
    e.push_back({1, 1, 1, 0});  // past n: left alone
    EXPECT_TRUE(liftDarkPalette(e, 8));
    EXPECT_EQ(e[0], (PALETTEENTRY{0, 0, 0, PC_RESERVED}));
    EXPECT_EQ(e[4], (PALETTEENTRY{32, 64, 16, PC_RESERVED}));
    EXPECT_EQ(e[7], (PALETTEENTRY{255, 255, 0, PC_RESERVED}));
    EXPECT_EQ(e[8], (PALETTEENTRY{1, 1, 1, 0}));
    // Once half reach 64 it is left as it is; no entries, nothing to do.
    const std::vector<PALETTEENTRY> lifted = e;
    EXPECT_FALSE(liftDarkPalette(e, 8));
    EXPECT_EQ(e, lifted);
    EXPECT_FALSE(liftDarkPalette(e, 0));
}
