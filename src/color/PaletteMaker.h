#pragma once
// The colours of a new palette: a closed chain of smooth bands. Each band
// runs from one random colour to the next along an eased ramp (alternate
// bands ease in and out), hues taken from the twelve weighted hue sectors;
// bands may darken to black at their ends or brighten in their middle, and
// the last band leads back to the first colour.
//
// The maker hands out the entries one at a time, in building order, so that
// the scene can show them one per animation tick while it builds; it draws
// nothing but from its own random source.

#include <cstdint>
#include <vector>

#include "color/Color.h"
#include "engine/RandomSource.h"
#include "engine/WeightedChooser.h"
#include "platform/WinTypes.h"

class Settings;

struct PaletteOptions {
    int useBlack = 10;           // percent: chance of black bands
    int useWhite = 15;           // percent: chance of highlights
    int colorsFullChange = 120;  // seconds between palettes in true colour
    bool paletteDevice = false;  // an 8-bit palette display
    bool runningLong = false;    // the program has run more than 5 whole minutes

    static PaletteOptions from(const Settings& settings, bool paletteDevice, bool runningLong);
};

// One band as it was laid down.
struct PaletteBand {
    int start;    // first entry written (the last entry of the band before)
    int length;   // entries written
    Color from;   // where the ramp starts (not itself written)
    Color to;     // the colour of its last entry before any lightness change
    bool easeIn;  // t^gamma; otherwise t^(1/gamma)
};

class PaletteMaker {
public:
    // Sets up a palette of n entries with a random source seeded by `seed`;
    // `colorScheme` weights the twelve hue sectors.
    PaletteMaker(int32_t seed, int n, const PaletteOptions& options, const WeightedChooser& colorScheme);

    // The next entry: where it goes and what it holds. False when all n have
    // been made; the first such call makes the last draw, the direction of
    // rotation.
    bool next(int& index, PALETTEENTRY& entry);

    int size() const { return m_n; }
    bool blackBands() const { return m_bBlackBands; }
    bool highlights() const { return m_bHighlights; }
    bool grey() const { return m_bGrey; }
    int minBand() const { return m_iMinBand; }
    int maxBand() const { return m_iMaxBand; }
    int parity() const { return m_iParity; }
    int gamma() const { return m_iGamma; }
    const Color& firstColor() const { return m_firstColor; }
    int bandCount() const { return static_cast<int>(m_bands.size()); }
    const std::vector<PaletteBand>& bands() const { return m_bands; }
    bool finished() const { return m_bFinished; }
    // Valid once finished().
    bool rotateUp() const { return m_bRotateUp; }

private:
    float drawSaturation();
    float drawLightness();
    float drawHue();
    Color drawColor(bool hueFirst);
    void startBand();
    PALETTEENTRY entryAt(int k) const;

    RandomSource m_random;
    const WeightedChooser& m_colorScheme;
    PaletteOptions m_options;
    int m_n;
    bool m_bBlackBands = false;
    bool m_bHighlights = false;
    bool m_bGrey = false;
    int m_iMinBand = 0;
    int m_iMaxBand = 0;
    int m_iParity = 0;
    int m_iGamma = 1;
    Color m_firstColor;
    Color m_current;  // the colour the next band starts from

    int m_i = 0;  // next entry
    int m_k = 0;  // position in the current band
    bool m_bInBand = false;
    std::vector<PaletteBand> m_bands;
    bool m_bFinished = false;
    bool m_bRotateUp = false;
};

// A palette whose colours are nearly all close to black (dim band colours
// that black bands darken further) shows next to nothing on a dark screen:
// when fewer than half of the first n entries reach a brightness (largest
// channel) of kLiftedBrightness, every channel of those entries is scaled
// so that half do, held at 255. Draws nothing; true when it changed them.
constexpr int kLiftedBrightness = 64;
bool liftDarkPalette(std::vector<PALETTEENTRY>& entries, int n);

// Makes a whole palette into `entries` (its size is the palette size) and
// returns the maker for what it decided.
PaletteMaker fillPalette(int32_t seed, const PaletteOptions& options, const WeightedChooser& colorScheme,
                         std::vector<PALETTEENTRY>& entries);
