#include "color/PaletteMaker.h"

#include <algorithm>
#include <cmath>

#include "color/ColorSpace.h"
#include "engine/Settings.h"

PaletteOptions PaletteOptions::from(const Settings& s, bool paletteDevice, bool runningLong) {
    PaletteOptions o;
    o.useBlack = s.useBlack();
    o.useWhite = s.useWhite();
    o.colorsFullChange = s.colorsFullChange();
    o.paletteDevice = paletteDevice;
    o.runningLong = runningLong;
    return o;
}

PaletteMaker::PaletteMaker(int32_t seed, int n, const PaletteOptions& options,
                           const WeightedChooser& colorScheme)
    : m_random(seed), m_colorScheme(colorScheme), m_options(options), m_n(std::max(n, 0)) {
    RandomSource& r = m_random;
    // Black bands: certain at 100 percent, else rarer on a palette device,
    // where a dark palette wastes the few colours there are.
    if (options.useBlack == 100) {
        m_bBlackBands = true;
    } else {
        double p = options.useBlack / 100.0;
        if (options.paletteDevice) p *= 0.4;
        m_bBlackBands = r.uniform() < p;
    }
    if (!options.paletteDevice) m_bHighlights = r.uniform() < options.useWhite / 100.0;
    if (options.runningLong)
        m_bGrey = r.uniform() < options.useBlack * (options.colorsFullChange / 60.0 / 90.0) / 10.0;
    do {
        m_iMinBand = r.skewedBelow(m_n, 4) + 12;
        m_iMaxBand = r.skewedBelow(m_n, 3) + 12;
    } while (m_iMaxBand < m_iMinBand);
    m_firstColor = drawColor(false);
    m_iParity = r.below(2);
    m_iGamma = r.skewedBelow(9, 3) + 1;
    m_current = m_firstColor;
}

// Mostly strong colours: one minus a product of three uniforms.
float PaletteMaker::drawSaturation() {
    const double u1 = m_random.uniform();
    const double u2 = m_random.uniform();
    const double u3 = m_random.uniform();
    return static_cast<float>(1 - u3 * (u2 * u1));
}

float PaletteMaker::drawLightness() { return static_cast<float>(m_random.uniform() * 0.8); }

// A weighted sector of the twelve, then anywhere within half a sector of its
// centre, as a fraction of a turn.
float PaletteMaker::drawHue() {
    const int k = m_colorScheme.choose(m_random);
    double h = k / 12.0 + m_random.signedUniform() / 24;
    if (h < 0) h += 1;
    if (h > 1) h -= 1;
    return static_cast<float>(h);
}

Color PaletteMaker::drawColor(bool hueFirst) {
    float h = 0, s = 0, l = 0;
    if (hueFirst) {
        h = drawHue();
        s = drawSaturation();
        l = drawLightness();
    } else {
        s = drawSaturation();
        l = drawLightness();
        h = drawHue();
    }
    if (m_bGrey) s = 0;
    return ColorHSL(h, s, l).toColor();
}

void PaletteMaker::startBand() {
    // Neighbouring bands share their joining entry.
    if (m_i > 0) --m_i;
    const int left = m_n - m_i;
    int len = m_random.below(m_iMaxBand) + 1;
    len = std::min(std::max(len, m_iMinBand), left);
    // The last band takes the rest rather than leave a stub.
    if (bandCount() > 2 && m_i + len > m_n - m_iMinBand) len = left;
    PaletteBand band{m_i, len, m_current, m_firstColor, false};
    if (m_i + len != m_n) {
        band.to = drawColor(true);
        m_current = band.to;
    }
    // Alternate bands ease in and ease out.
    band.easeIn = (bandCount() + 1) % 2 == m_iParity;
    m_bands.push_back(band);
    m_k = 0;
    m_bInBand = true;
}

PALETTEENTRY PaletteMaker::entryAt(int k) const {
    const PaletteBand& band = m_bands.back();
    float t = static_cast<float>(k + 1) / static_cast<float>(band.length);
    const double exponent = band.easeIn ? m_iGamma : 1.0 / m_iGamma;
    t = static_cast<float>(std::pow(static_cast<double>(t), exponent));
    int rgb[3];
    for (int c = 0; c < 3; ++c) {
        const int s = band.from.channel(c);
        const int b = band.to.channel(c);
        rgb[c] = static_cast<int>(static_cast<float>(s) + static_cast<float>(b - s) * t);
    }
    Color colour(rgb[0], rgb[1], rgb[2]);
    if (!m_bGrey && (m_bBlackBands || m_bHighlights)) {
        // A tent: 0 at both ends of the band, 0.8 in its middle.
        const float tent = (0.5f - std::fabs(t - 0.5f)) * 2 * 0.8f;
        const ColorHSL hsl(colour);
        float l = tent;
        if (!m_bHighlights)
            l = std::min(hsl.lightness(), tent);
        else if (!m_bBlackBands)
            l = std::max(hsl.lightness(), tent);
        colour = ColorHSL(hsl.hue(), hsl.saturation(), l).toColor();
    }
    return {static_cast<BYTE>(colour.red()), static_cast<BYTE>(colour.green()),
            static_cast<BYTE>(colour.blue()), m_options.paletteDevice ? PC_RESERVED : BYTE{0}};
}

bool PaletteMaker::next(int& index, PALETTEENTRY& entry) {
    if (m_bFinished) return false;
    if (!m_bInBand) {
        if (m_i >= m_n) {
            m_bRotateUp = m_random.below(2) == 0;
            m_bFinished = true;
            return false;
        }
        startBand();
    }
    index = m_i;
    entry = entryAt(m_k);
    ++m_i;
    if (++m_k == m_bands.back().length) m_bInBand = false;
    return true;
}

bool liftDarkPalette(std::vector<PALETTEENTRY>& entries, int n) {
    n = std::clamp(n, 0, static_cast<int>(entries.size()));
    if (n == 0) return false;
    std::vector<int> brightness(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const PALETTEENTRY& e = entries[static_cast<size_t>(i)];
        brightness[static_cast<size_t>(i)] = std::max({e.peRed, e.peGreen, e.peBlue});
    }
    // The brightness half the entries reach.
    const auto half = brightness.begin() + n / 2;
    std::nth_element(brightness.begin(), half, brightness.end());
    if (*half >= kLiftedBrightness) return false;
    const double gain = kLiftedBrightness / static_cast<double>(std::max(*half, 1));
    const auto lift = [gain](BYTE c) { return static_cast<BYTE>(std::min(255.0, c * gain)); };
    for (int i = 0; i < n; ++i) {
        PALETTEENTRY& e = entries[static_cast<size_t>(i)];
        e.peRed = lift(e.peRed);
        e.peGreen = lift(e.peGreen);
        e.peBlue = lift(e.peBlue);
    }
    return true;
}

PaletteMaker fillPalette(int32_t seed, const PaletteOptions& options, const WeightedChooser& colorScheme,
                         std::vector<PALETTEENTRY>& entries) {
    PaletteMaker maker(seed, static_cast<int>(entries.size()), options, colorScheme);
    int index = 0;
    PALETTEENTRY entry;
    while (maker.next(index, entry)) entries[static_cast<size_t>(index)] = entry;
    return maker;
}
