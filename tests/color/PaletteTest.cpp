#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "color/ColorSpace.h"
#include "color/PaletteMaker.h"

namespace {

WeightedChooser evenScheme() {
    WeightedChooser c;
    c.build(std::vector<float>(12, 50.0f), true);
    return c;
}

PaletteOptions plain(bool paletteDevice) {
    PaletteOptions o;
    o.useBlack = 0;
    o.useWhite = 0;
    o.paletteDevice = paletteDevice;
    return o;
}

struct Write {
    int index;
    PALETTEENTRY entry;
    int band;
    int k;
};

// Runs a maker to the end, keeping every write in order.
std::vector<Write> run(PaletteMaker& maker) {
    std::vector<Write> writes;
    int index = -1, k = 0, band = -1;
    PALETTEENTRY e;
    while (maker.next(index, e)) {
        if (maker.bandCount() - 1 != band) band = maker.bandCount() - 1, k = 0;
        writes.push_back({index, e, band, k++});
    }
    return writes;
}

// The palette after all writes; also checks every entry was written.
std::vector<PALETTEENTRY> finalEntries(const std::vector<Write>& writes, int n) {
    std::vector<PALETTEENTRY> entries(static_cast<size_t>(n));
    std::vector<bool> written(static_cast<size_t>(n), false);
    for (const Write& w : writes) {
        EXPECT_GE(w.index, 0);
        EXPECT_LT(w.index, n);
        entries[static_cast<size_t>(w.index)] = w.entry;
        written[static_cast<size_t>(w.index)] = true;
    }
    for (int i = 0; i < n; ++i) EXPECT_TRUE(written[static_cast<size_t>(i)]) << "entry " << i;
    return entries;
}

bool sameRGB(const PALETTEENTRY& e, const Color& c) {
    return e.peRed == c.red() && e.peGreen == c.green() && e.peBlue == c.blue();
}

// The eased position of a write in its band.
double easedT(const PaletteMaker& maker, const Write& w) {
    const PaletteBand& b = maker.bands()[static_cast<size_t>(w.band)];
    return std::pow((w.k + 1.0) / b.length, b.easeIn ? maker.gamma() : 1.0 / maker.gamma());
}

// The lightness treatments follow a tent: 0 at the band ends, 0.8 between.
double tent(double t) { return (0.5 - std::fabs(t - 0.5)) * 2 * 0.8; }

float lightnessOf(const PALETTEENTRY& e) { return ColorHSL(Color(e.peRed, e.peGreen, e.peBlue)).lightness(); }

// Without lightness treatments every write lies on its band's eased ramp.
void expectRamps(const PaletteMaker& maker, const std::vector<Write>& writes) {
    for (const Write& w : writes) {
        const PaletteBand& b = maker.bands()[static_cast<size_t>(w.band)];
        // Bands numbered from 1 ease in when their number's parity matches.
        ASSERT_EQ(b.easeIn, (w.band + 1) % 2 == maker.parity());
        const double t = easedT(maker, w);
        const int got[3] = {w.entry.peRed, w.entry.peGreen, w.entry.peBlue};
        for (int c = 0; c < 3; ++c) {
            const double want = b.from.channel(c) + (b.to.channel(c) - b.from.channel(c)) * t;
            ASSERT_LE(std::fabs(got[c] - want), 1.0)
                << "band " << w.band << " step " << w.k << " channel " << c << " gamma " << maker.gamma();
        }
    }
}

}  // namespace

TEST(PaletteBands, TwoHundredThirtySixEntriesInBandsOfForty) {
    const WeightedChooser scheme = evenScheme();
    PaletteMaker maker(11609, 236, plain(true), scheme);
    ASSERT_EQ(maker.minBand(), 40);
    ASSERT_EQ(maker.maxBand(), 40);
    const std::vector<Write> writes = run(maker);
    ASSERT_EQ(maker.bandCount(), 6);
    const int starts[] = {0, 39, 78, 117, 156, 195};
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(maker.bands()[static_cast<size_t>(j)].start, starts[j]);
        EXPECT_EQ(maker.bands()[static_cast<size_t>(j)].length, j < 5 ? 40 : 41);
    }
    EXPECT_EQ(writes.size(), 236u + 5);  // each join is written twice
    const std::vector<PALETTEENTRY> entries = finalEntries(writes, 236);
    // The chain closes: the last band ends exactly on the first colour.
    EXPECT_EQ(maker.bands().back().to, maker.firstColor());
    EXPECT_TRUE(sameRGB(entries[235], maker.firstColor()));
    EXPECT_EQ(maker.bands()[1].from, maker.bands()[0].to);
    for (const PALETTEENTRY& e : entries) EXPECT_EQ(e.peFlags, PC_RESERVED);
    expectRamps(maker, writes);
    EXPECT_TRUE(maker.finished());
    int index;
    PALETTEENTRY e;
    EXPECT_FALSE(maker.next(index, e));
}

TEST(PaletteBands, RampsStraightAtGammaOneAndEasedOtherwise) {
    const WeightedChooser scheme = evenScheme();
    bool sawOne = false, sawSteep = false;
    for (int seed = 1; seed < 60; ++seed) {
        PaletteMaker maker(seed, 236, plain(false), scheme);
        const std::vector<Write> writes = run(maker);
        expectRamps(maker, writes);
        for (const PALETTEENTRY& e : finalEntries(writes, 236)) EXPECT_EQ(e.peFlags, 0);
        sawOne = sawOne || maker.gamma() == 1;
        if (maker.gamma() < 3) continue;
        // A steep ease puts the middle of a band far from the straight line.
        for (const Write& w : writes) {
            const PaletteBand& b = maker.bands()[static_cast<size_t>(w.band)];
            const int span = b.to.red() - b.from.red();
            if (std::abs(span) < 120 || w.k != b.length / 2) continue;
            EXPECT_GT(std::fabs(w.entry.peRed - (b.from.red() + span * (w.k + 1.0) / b.length)), 15);
            sawSteep = true;
        }
    }
    EXPECT_TRUE(sawOne);
    EXPECT_TRUE(sawSteep);
}

TEST(PaletteBands, BlackBandsAndHighlights) {
    const WeightedChooser scheme = evenScheme();
    int darkOnPalette = 0, rotateUp = 0;
    for (int seed = 1; seed <= 300; ++seed) {
        // UseBlack 100: black bands always, even on a palette device, and
        // without a draw: the band lengths are the first draws there.
        PaletteOptions black = plain(true);
        black.useBlack = 100;
        black.useWhite = 100;  // never highlights on a palette device, no draw
        RandomSource copy(seed);
        const int minBand = copy.skewedBelow(236, 4) + 12;
        const int maxBand = copy.skewedBelow(236, 3) + 12;
        PaletteMaker maker(seed, 236, black, scheme);
        const std::vector<Write> writes = run(maker);
        const std::vector<PALETTEENTRY> entries = finalEntries(writes, 236);
        EXPECT_TRUE(maker.blackBands());
        EXPECT_FALSE(maker.highlights());
        if (maxBand >= minBand) {
            EXPECT_EQ(maker.minBand(), minBand);
            EXPECT_EQ(maker.maxBand(), maxBand);
        }
        EXPECT_EQ(entries.back(), (PALETTEENTRY{0, 0, 0, PC_RESERVED}));  // dark at the band end
        for (const Write& w : writes) ASSERT_LE(lightnessOf(w.entry), tent(easedT(maker, w)) + 0.01);
        rotateUp += maker.rotateUp();

        PaletteOptions almost = plain(true);
        almost.useBlack = 99;  // 0.99 x 0.4 on a palette device
        darkOnPalette += PaletteMaker(seed, 236, almost, scheme).blackBands();
    }
    EXPECT_GT(darkOnPalette, 300 * 0.3);
    EXPECT_LT(darkOnPalette, 300 * 0.5);
    EXPECT_GT(rotateUp, 100);
    EXPECT_LT(rotateUp, 200);

    // Highlights in true colour: never darker than the tent; with black
    // bands as well, the tent exactly.
    for (int useBlack : {0, 100}) {
        PaletteOptions white = plain(false);
        white.useWhite = 100;
        white.useBlack = useBlack;
        PaletteMaker lit(7, 236, white, scheme);
        const std::vector<Write> writes = run(lit);
        EXPECT_TRUE(lit.highlights());
        EXPECT_EQ(lit.blackBands(), useBlack == 100);
        for (const Write& w : writes) {
            const double l = lightnessOf(w.entry), want = tent(easedT(lit, w));
            ASSERT_GE(l, want - 0.01);
            if (useBlack) {
                ASSERT_LE(l, want + 0.01);
            }
        }
    }
}

TEST(PaletteBands, GreyOnlyAfterFiveMinutes) {
    const WeightedChooser scheme = evenScheme();
    PaletteOptions o = plain(false);
    o.useBlack = 100;  // black bands too: a grey palette ignores them
    o.colorsFullChange = 5400;  // chance 100 x (5400 / 60 / 90) / 10: certain
    o.runningLong = false;
    EXPECT_FALSE(PaletteMaker(3, 236, o, scheme).grey());
    o.runningLong = true;
    std::vector<PALETTEENTRY> entries(236);
    const PaletteMaker maker = fillPalette(3, o, scheme, entries);
    EXPECT_TRUE(maker.grey());
    for (const PALETTEENTRY& e : entries) {
        EXPECT_EQ(e.peRed, e.peGreen);
        EXPECT_EQ(e.peGreen, e.peBlue);
    }
    EXPECT_TRUE(sameRGB(entries.back(), maker.firstColor()));
    // The default change interval makes grey rare: about 2 in 100 at UseBlack 10.
    o = PaletteOptions();
    o.runningLong = true;
    int greys = 0;
    for (int seed = 1; seed <= 1000; ++seed) greys += PaletteMaker(seed, 10, o, scheme).grey();
    EXPECT_GT(greys, 5);
    EXPECT_LT(greys, 50);
}

TEST(PaletteBands, SetupDrawsInOrder) {
    WeightedChooser scheme;
    scheme.build({0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, true);  // sector 4 only
    PaletteOptions o;
    o.useBlack = 50;
    o.useWhite = 50;
    o.runningLong = true;
    for (int seed = 100; seed < 110; ++seed) {
        RandomSource copy(seed);
        const bool black = copy.uniform() < 0.5;
        const bool white = copy.uniform() < 0.5;
        const bool grey = copy.uniform() < 50 * (120 / 60.0 / 90.0) / 10;
        int minBand, maxBand;
        do {
            minBand = copy.skewedBelow(50, 4) + 12;
            maxBand = copy.skewedBelow(50, 3) + 12;
        } while (maxBand < minBand);
        const double u1 = copy.uniform(), u2 = copy.uniform(), u3 = copy.uniform();
        const float s = static_cast<float>(1 - u3 * (u2 * u1));
        const float l = static_cast<float>(copy.uniform() * 0.8);
        copy.uniform();  // the sector
        const float h = static_cast<float>(4 / 12.0 + copy.signedUniform() / 24);
        const int parity = copy.below(2);
        const int gamma = copy.skewedBelow(9, 3) + 1;

        PaletteMaker maker(seed, 50, o, scheme);
        EXPECT_EQ(maker.blackBands(), black);
        EXPECT_EQ(maker.highlights(), white);
        EXPECT_EQ(maker.grey(), grey);
        EXPECT_EQ(maker.minBand(), minBand);
        EXPECT_EQ(maker.maxBand(), maxBand);
        EXPECT_EQ(maker.firstColor(), ColorHSL(h, grey ? 0 : s, l).toColor());
        EXPECT_EQ(maker.parity(), parity);
        EXPECT_EQ(maker.gamma(), gamma);
        // The first band then draws its length and the hue of its target first.
        const int len = copy.below(maxBand) + 1;
        int index;
        PALETTEENTRY e;
        ASSERT_TRUE(maker.next(index, e));
        EXPECT_EQ(maker.bands()[0].length, std::min(std::max(len, minBand), 50));
    }
}

TEST(PaletteBands, TinyAndOddSizes) {
    const WeightedChooser scheme = evenScheme();
    for (int n : {0, 1, 2, 3, 12, 13, 25, 256}) {
        for (int seed = 1; seed <= 20; ++seed) {
            PaletteMaker maker(seed, n, plain(false), scheme);
            const std::vector<Write> writes = run(maker);
            const std::vector<PALETTEENTRY> entries = finalEntries(writes, n);
            if (n == 0) {
                EXPECT_TRUE(writes.empty());
                continue;
            }
            EXPECT_TRUE(sameRGB(entries.back(), maker.firstColor())) << n;
            const auto& bands = maker.bands();
            EXPECT_EQ(bands.front().start, 0);
            EXPECT_EQ(bands.back().start + bands.back().length, n);
            for (size_t j = 1; j < bands.size(); ++j) {
                EXPECT_EQ(bands[j].start, bands[j - 1].start + bands[j - 1].length - 1);
                // Only the last band may be shorter than minBand, and only
                // when the palette itself is.
                if (j + 1 < bands.size()) {
                    EXPECT_GE(bands[j].length, maker.minBand());
                }
            }
            expectRamps(maker, writes);
        }
    }
    // A missing colour scheme table draws sector 0 rather than fail.
    const WeightedChooser none;
    std::vector<PALETTEENTRY> entries(40);
    fillPalette(1, plain(false), none, entries);
}
