// The masked recolourings of the screen, the mixes with it, and the
// recolourings without a mask (relief, lenses, merge).

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Patterns/PatternCalculator.h"
#include "color/ColorSpace.h"
#include "engine/ChooserSet.h"
#include "engine/FactoryContext.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "layout/BoolMap.h"
#include "layout/SubRect.h"
#include "shape/Limn.h"
#include "styles/dot/DotOffset.h"

namespace {

const ChooserSet& choosersOf(const DotSetting& setting) { return setting.chooserSet(); }

float hueOf(const Color& c) { return ColorHSV(c).hue(); }

Color withLightness(Color c, float l) {
    c.setLightness(l);
    return c;
}

int channelOf(const Color& c, int k) { return c.channel(k); }

}  // namespace

// ---- DotOffset ----

DotOffset::DotOffset(RandomSource& random, const DotSetting& setting) : Dot(random, setting) {
    m_pMask = CreateBoolMap(random, choosersOf(setting), setting.screenWidth, setting.screenHeight,
                            setting.drawingCount, sceneIdle);
    const bool allows = m_pMask->allowsSecondColor();
    const bool chance = random.uniform() < 0.1;
    m_bUseSecondColor = allows && chance;
    m_secondColor = paletteEntry(random.below(m_iPaletteSize));
}

DotOffset::~DotOffset() = default;

bool DotOffset::isIrregular() const { return !m_pMask->isRegularPattern(); }

bool DotOffset::wouldDraw(int x, int y) const { return m_pMask->get(x, y) || m_bUseSecondColor; }

void DotOffset::put(CDC& dc, int x, int y, const Color& c) {
    if (m_pMask->get(x, y))
        dc.SetPixel(x, y, c.colorRef());
    else if (m_bUseSecondColor)
        dc.SetPixel(x, y, m_secondColor.colorRef());
}

void DotOffset::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) { put(dc, x, y, color); }

bool DotOffset::cellPosition(int x, int y, const SubRect* r, float& px, float& py) {
    if (!r || r->width() <= 0 || r->height() <= 0) return false;
    px = static_cast<float>(x - r->left()) / static_cast<float>(r->width()) * 2 - 1;
    py = static_cast<float>(y - r->top()) / static_cast<float>(r->height()) * 2 - 1;
    return true;
}

void DotOffsetScreen::draw(CDC& dc, int x, int y, const Color&, const SubRect* subRect) {
    m_pScreen = &dc;
    put(dc, x, y, newColor(screenPixel(dc, x, y), x, y, subRect));
}

// ---- Members that recolour the screen pixel ----

DotOffsetRGB::DotOffsetRGB(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_iR = random.below(m_iPaletteSize);
    m_iG = random.below(m_iPaletteSize);
    m_iB = random.below(m_iPaletteSize);
}

Color DotOffsetRGB::newColor(const Color& s, int, int, const SubRect*) {
    const int n = m_iPaletteSize;
    return Color((s.red() + m_iR) % n, (s.green() + m_iG) % n, (s.blue() + m_iB) % n);
}

DotOffsetNoise::DotOffsetNoise(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_iAmount = random.below(64) + 8;
}

Color DotOffsetNoise::newColor(const Color& s, int, int, const SubRect*) {
    const int a = m_iAmount;
    int c[3];
    for (int k = 0; k < 3; ++k) {
        const int noise = m_random.below(2 * a + 1) - a;
        c[k] = std::clamp(channelOf(s, k) + noise, 0, m_iPaletteSize - 1);
    }
    return Color(c[0], c[1], c[2]);
}

DotOffsetIndex::DotOffsetIndex(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_iShift = random.below(m_iPaletteSize);
}

Color DotOffsetIndex::newColor(const Color& s, int, int, const SubRect*) {
    return paletteEntry(paletteIndexOf(s) + m_iShift);
}

namespace {

// b below 128 darkens o towards black, above it lightens o towards white.
Color brightnessMap(const Color& o, int b) {
    int c[3];
    for (int k = 0; k < 3; ++k) {
        const int v = o.channel(k);
        c[k] = b < 128 ? v * b / 127 : v + (255 - v) * (b - 128) / 127;
    }
    return Color(c[0], c[1], c[2]);
}

Color gradient(const Color& lo, const Color& hi, int b) {
    int c[3];
    for (int k = 0; k < 3; ++k) c[k] = lo.channel(k) + b * (hi.channel(k) - lo.channel(k)) / 255;
    return Color(c[0], c[1], c[2]);
}

}  // namespace

DotOffsetBrightness::DotOffsetBrightness(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_own = paletteEntry(random.below(m_iPaletteSize));
}

Color DotOffsetBrightness::newColor(const Color& s, int, int, const SubRect*) {
    return brightnessMap(m_own, s.brightness());
}

DotBrightness::DotBrightness(RandomSource& random, const DotSetting& setting) : DotOffset(random, setting) {
    m_own = paletteEntry(random.below(m_iPaletteSize));
}

void DotBrightness::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    put(dc, x, y, brightnessMap(m_own, color.brightness()));
}

DotOffsetColorScale::DotOffsetColorScale(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_lo = paletteEntry(random.below(m_iPaletteSize));
    m_hi = paletteEntry(random.below(m_iPaletteSize));
}

Color DotOffsetColorScale::newColor(const Color& s, int, int, const SubRect*) {
    return gradient(m_lo, m_hi, s.brightness());
}

DotOffsetGrayScale::DotOffsetGrayScale(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_lo = paletteEntry(random.below(m_iPaletteSize));
    m_hi = Color(255, 255, 255);
}

Color DotOffsetGrayScale::newColor(const Color& s, int, int, const SubRect*) {
    return gradient(m_lo, m_hi, s.brightness());
}

DotOffsetLighten::DotOffsetLighten(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    const double u1 = random.uniform();
    const double u2 = random.uniform();
    m_fLightness = static_cast<float>(0.5 + u1 * u2 * 0.5);
}

Color DotOffsetLighten::newColor(const Color& s, int, int, const SubRect*) {
    return withLightness(s, m_fLightness);
}

DotOffsetDarken::DotOffsetDarken(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    const double u1 = random.uniform();
    const double u2 = random.uniform();
    m_fLightness = static_cast<float>(0.5 - u1 * u2 * 0.5);
}

Color DotOffsetDarken::newColor(const Color& s, int, int, const SubRect*) {
    return withLightness(s, m_fLightness);
}

DotOffsetInvert::DotOffsetInvert(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {}

Color DotOffsetInvert::newColor(const Color& s, int, int, const SubRect*) {
    Color c = s;
    c.invert();
    return c;
}

DotOffsetPosterize::DotOffsetPosterize(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_iStep = random.skewedBelow(254, 5) + 2;
}

Color DotOffsetPosterize::newColor(const Color& s, int, int, const SubRect*) {
    const int q = std::max(m_iStep, 1);
    return Color(s.red() / q * q, s.green() / q * q, s.blue() / q * q);
}

DotOffsetBrightnessToIndex::DotOffsetBrightnessToIndex(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {}

Color DotOffsetBrightnessToIndex::newColor(const Color& s, int, int, const SubRect*) {
    return paletteEntry(s.brightness());
}

DotOffsetDisplace::DotOffsetDisplace(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_iDx = 32 - random.below(64);
    m_iDy = 32 - random.below(64);
}

Color DotOffsetDisplace::newColor(const Color& s, int x, int y, const SubRect*) {
    return m_pScreen ? screenPixel(*m_pScreen, x + m_iDx, y + m_iDy) : s;
}

DotOffsetMetallic::DotOffsetMetallic(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_iK = random.below(256);
    m_fHue = hueOf(Color::randomPaletteColor(random));
}

Color DotOffsetMetallic::newColor(const Color& s, int, int, const SubRect*) {
    // v reaches 255 + 7 x 255: folded back and forth as a triangle wave of
    // period 512 (256..511 gives 511 - v, as a single fold would), so the
    // value always lies in 0..255.
    const int red = s.red();
    int v = (red + m_iK * red * 7 / 255) % 512;
    if (v > 255) v = 511 - v;
    return ColorHSV(m_fHue, 1.0f, static_cast<float>(v) / 255.0f).toColor();
}

DotOffsetAdjBrightness::DotOffsetAdjBrightness(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {}

Color DotOffsetAdjBrightness::newColor(const Color& s, int, int, const SubRect*) {
    return withLightness(s, static_cast<float>(0.5 + 0.2 * m_random.signedUniform()));
}

DotOffsetHue::DotOffsetHue(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_fHue = hueOf(Color::randomPaletteColor(random));
}

Color DotOffsetHue::newColor(const Color& s, int, int, const SubRect*) {
    const ColorHSV hsv(s);
    return ColorHSV(m_fHue, hsv.saturation(), hsv.value()).toColor();
}

DotOffsetSaturationLightness::DotOffsetSaturationLightness(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    double u1 = random.uniform();
    double u2 = random.uniform();
    m_fSaturation = static_cast<float>(1 - u1 * u2);
    u1 = random.uniform();
    u2 = random.uniform();
    m_fLightness = static_cast<float>(1 - u1 * u2);
    m_bSaturation = random.below(2) != 0;
    m_bLightness = random.below(2) != 0;
    m_fScale = static_cast<float>(1.0 / std::pow(2.0, random.below(7) + 1));
}

Color DotOffsetSaturationLightness::newColor(const Color& s, int, int, const SubRect*) {
    // The scale is the least a factor can be: each factor is kept in
    // scale..1, so that no channel is scaled away entirely.
    const ColorHSL hsl(s);
    float sat = hsl.saturation(), light = hsl.lightness();
    if (m_bSaturation) sat *= std::max(m_fSaturation, m_fScale);
    if (m_bLightness) light *= std::max(m_fLightness, m_fScale);
    return ColorHSL(hsl.hue(), sat, light).toColor();
}

// ---- Glows ----

DotOffsetGlow::DotOffsetGlow(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting) {
    m_fCx = static_cast<float>(-random.uniform());
    m_fCy = static_cast<float>(-random.uniform());
    m_fJitter = static_cast<float>(random.below(5) * 0.1 / 4);
}

Color DotOffsetGlow::newColor(const Color& s, int x, int y, const SubRect* subRect) {
    float px = 0, py = 0;
    if (!cellPosition(x, y, subRect, px, py)) return s;
    return withLightness(s, lightness(px, py));
}

namespace {

constexpr float kSqrt8 = 2.8284271f;

}  // namespace

float DotOffsetGlow::lightness(float px, float py) {
    const float d = std::hypot(px - m_fCx, py - m_fCy) / kSqrt8;
    const float jitter = static_cast<float>(1 + m_fJitter * m_random.signedUniform());
    return std::min(1.0f, jitter * 0.8f * ((1 - d) * 0.8f));
}

float DotOffsetGlowX::lightness(float px, float) {
    const float jitter = static_cast<float>(1 + m_fJitter * m_random.signedUniform());
    return std::min(1.0f, jitter * 0.8f * (1 - std::fabs((px - m_fCx) / 2)));
}

float DotOffsetGlowY::lightness(float, float py) {
    const float jitter = static_cast<float>(1 + m_fJitter * m_random.signedUniform());
    return std::min(1.0f, jitter * 0.8f * (1 - std::fabs((py - m_fCy) / 2)));
}

float DotOffsetFade::lightness(float px, float py) {
    const float d = std::hypot(px - m_fCx, py - m_fCy) / kSqrt8;
    const float jitter = static_cast<float>(1 + m_fJitter * m_random.signedUniform());
    return std::min(1.0f, jitter * 0.8f * (d * 0.8f));
}

// ---- The pattern ----

DotOffsetCalc::DotOffsetCalc(RandomSource& random, const DotSetting& setting)
    : DotOffsetScreen(random, setting), m_in(3, 0.0f), m_out(1, 0.0f) {
    m_pCalc = PatternCalculator::create(random, 1, false);
    m_pCalc->setup(3, 1, false, 3);
}

DotOffsetCalc::~DotOffsetCalc() = default;

Color DotOffsetCalc::newColor(const Color& s, int x, int y, const SubRect*) {
    m_in[0] = static_cast<float>(x) / static_cast<float>(std::max(m_iScreenWidth, 1));
    m_in[1] = static_cast<float>(y) / static_cast<float>(std::max(m_iScreenHeight, 1));
    m_in[2] = static_cast<float>(s.red()) / 255.0f;
    m_pCalc->calculate(m_in, m_out);
    return paletteEntry(qvmath::truncSaturated(static_cast<double>(m_iPaletteSize) * m_out[0]) %
                        m_iPaletteSize);
}

// ---- Mixes ----

void DotMix::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    Color out;
    if (mix(screenPixel(dc, x, y), color, out)) put(dc, x, y, out);
}

#define QV_MIX_CHANNELS(Name, expr)                              \
    bool Name::mix(const Color& s, const Color& c, Color& out) { \
        int v[3];                                                \
        for (int k = 0; k < 3; ++k) {                            \
            const int a = s.channel(k), b = c.channel(k);        \
            v[k] = (expr);                                       \
        }                                                        \
        out = Color(v[0], v[1], v[2]);                           \
        return true;                                             \
    }
QV_MIX_CHANNELS(DotMixAverage, (a + b) / 2)
QV_MIX_CHANNELS(DotMixAnd, a& b)
QV_MIX_CHANNELS(DotMixXor, a | b)
QV_MIX_CHANNELS(DotMixProduct, (a * b) % 256)
QV_MIX_CHANNELS(DotMixDifference, std::abs(a - b))
#undef QV_MIX_CHANNELS

bool DotIfLighter::mix(const Color& s, const Color& c, Color& out) {
    out = c;
    return c.brightness() > s.brightness();
}

bool DotIfDarker::mix(const Color& s, const Color& c, Color& out) {
    out = c;
    return c.brightness() < s.brightness();
}

DotFade::DotFade(RandomSource& random, const DotSetting& setting) : DotOffset(random, setting) {
    m_iMode = random.below(3);
    m_bInvert = random.below(2) != 0;
    m_bFold = random.below(2) != 0;
}

float DotFade::weight(float px, float py) const {
    float f;
    if (m_iMode == 0) {
        f = std::min(1.0f, px * px + py * py);
    } else {
        f = ((m_iMode == 1 ? px : py) + 1) / 2;
        if (m_bFold && f > 0.5f) f = 1 - f;
    }
    return m_bInvert ? 1 - f : f;
}

void DotFade::draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) {
    float px = 0, py = 0;
    const float f = cellPosition(x, y, subRect, px, py) ? weight(px, py) : 0.0f;
    if (!(f < 1.0f)) return;
    const Color s = screenPixel(dc, x, y);
    int v[3];
    for (int k = 0; k < 3; ++k) v[k] = qvmath::truncSaturated(s.channel(k) * f + color.channel(k) * (1 - f));
    put(dc, x, y, Color(v[0], v[1], v[2]));
}

// ---- Without a mask ----

DotOffsetRelief::DotOffsetRelief(RandomSource& random, const DotSetting& setting) : Dot(random, setting) {
    m_iBase = random.below(m_iPaletteSize);
    m_bGrey = random.uniform() < 0.75;
    m_iDx = random.below(2) + 2;
    m_iDy = random.below(2) + 2;
}

void DotOffsetRelief::draw(CDC& dc, int x, int y, const Color&, const SubRect*) {
    const int here = paletteIndexOf(screenPixel(dc, x, y));
    const int there = paletteIndexOf(screenPixel(dc, x + m_iDx, y + m_iDy));
    Color c = paletteEntry(here + m_iBase - there);
    if (m_bGrey) {
        const int b = c.brightness();
        c = Color(b, b, b);
    }
    dc.SetPixel(x, y, c.colorRef());
}

DotOffsetCircle::DotOffsetCircle(RandomSource& random, const DotSetting& setting) : Dot(random, setting) {
    m_iRadius = random.skewedBelow(32, 5) + 4;
    m_iCell = 2 * m_iRadius + random.skewedBelow(8, 4);
    m_bShaded = random.below(2) != 0;
}

void DotOffsetCircle::draw(CDC& dc, int x, int y, const Color&, const SubRect*) {
    const int k = std::max(m_iCell, 1), half = k / 2;
    // Cells counted from the screen's corner; a negative point floors too.
    const auto cellOf = [k](int v) { return (v >= 0 ? v / k : -((-v + k - 1) / k)) * k; };
    const int cx = cellOf(x) + half, cy = cellOf(y) + half;
    const double d = std::hypot(static_cast<double>(x - cx), static_cast<double>(y - cy));
    if (d >= m_iRadius) {
        dc.SetPixel(x, y, Color(0, 0, 0).colorRef());
        return;
    }
    Color c = screenPixel(dc, cx, cy);
    if (m_bShaded) {
        const double f = 1 - d / m_iRadius;
        c = Color(static_cast<int>(c.red() * f), static_cast<int>(c.green() * f),
                  static_cast<int>(c.blue() * f));
    }
    dc.SetPixel(x, y, c.colorRef());
}

void DotMerge::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    dc.SetPixel(x, y, color.colorRef());
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            if (!dx && !dy) continue;
            const Color s = screenPixel(dc, x + 2 * dx, y + 2 * dy);
            const Color c((color.red() + s.red()) / 2, (color.green() + s.green()) / 2,
                          (color.blue() + s.blue()) / 2);
            dc.SetPixel(x + dx, y + dy, c.colorRef());
        }
}
