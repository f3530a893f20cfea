#include "color/ColorSelector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "color/ColorSpace.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"

namespace {

// Truncates toward zero; a value no int can hold (NaN, huge) gives 0 rather
// than an undefined conversion.
int truncated(float v) {
    if (!(v > -2e9f && v < 2e9f)) return 0;
    return static_cast<int>(v);
}

float input(const std::vector<float>& in, size_t i) { return i < in.size() ? in[i] : 0.0f; }

constexpr int kRgbAttempts = 12;
constexpr int kRgbMinDistance = 65;
// The lightness of a value of 1: the top of the range stays short of white.
constexpr double kTopLightness = 0.8;

}  // namespace

ColorSelectorIndex::ColorSelectorIndex() : m_iColors(scene().colorCount()) {}

void ColorSelectorIndex::select(Color& out, std::vector<float>& in) {
    if (m_iColors <= 0) {
        out = Color::fromPaletteIndex(0);
        return;
    }
    // A negative value leaves a negative remainder, which the palette lookup
    // holds at entry 0.
    out = Color::fromPaletteIndex(truncated(static_cast<float>(m_iColors) * input(in, 0)) % m_iColors);
}

ColorSelectorRGB::ColorSelectorRGB(RandomSource& random) {
    for (int attempt = 1;; ++attempt) {
        const Color from = Color::randomPaletteColor(random);
        const Color to = Color::randomPaletteColor(random);
        setEnds(from, to);
        int distance = 0;
        for (float d : m_delta) distance += static_cast<int>(std::fabs(d));
        if (distance >= kRgbMinDistance || attempt == kRgbAttempts) break;
    }
}

ColorSelectorRGB::ColorSelectorRGB(Color from, Color to) { setEnds(from, to); }

void ColorSelectorRGB::setEnds(Color from, Color to) {
    m_from = from;
    m_to = to;
    for (int i = 0; i < 3; ++i)
        m_delta[static_cast<size_t>(i)] = static_cast<float>(m_to.channel(i) - m_from.channel(i));
}

void ColorSelectorRGB::select(Color& out, std::vector<float>& in) {
    const float t = input(in, 0);
    int c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = truncated(m_delta[static_cast<size_t>(i)] * t + static_cast<float>(m_from.channel(i)));
    out.set(c[0], c[1], c[2]);
}

ColorSelectorHSL::ColorSelectorHSL(RandomSource& random) {
    const ColorHSL hsl(Color::randomPaletteColor(random));
    m_fHue = hsl.hue();
    m_fSaturation = hsl.saturation();
}

Color ColorSelectorHSL::shade(float lightness) const {
    return ColorHSL(m_fHue, m_fSaturation, lightness).toColor();
}

void ColorSelectorHSL::select(Color& out, std::vector<float>& in) {
    out = shade(static_cast<float>(input(in, 0) * kTopLightness));
}

namespace {

// Divides the vector by its length, unless that is 0.
void normalise(std::array<float, 3>& v) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length != 0.0f)
        for (float& c : v) c /= length;
}

}  // namespace

ColorSelectorBump::ColorSelectorBump(RandomSource& random) : ColorSelectorHSL(random) {
    for (float& c : m_light) c = static_cast<float>(random.uniform());
    normalise(m_light);
}

ColorSelectorBump::ColorSelectorBump(float hue, float saturation, std::array<float, 3> light)
    : ColorSelectorHSL(hue, saturation), m_light(light) {
    normalise(m_light);
}

void ColorSelectorBump::select(Color& out, std::vector<float>& in) {
    std::array<float, 3> n = {input(in, 0), input(in, 1), input(in, 2)};
    normalise(n);
    for (size_t i = 0; i < 3 && i < in.size(); ++i) in[i] = n[i];
    float s = m_light[0] * n[0] + m_light[1] * n[1] + m_light[2] * n[2];
    // NaN (from an infinite input) counts as unlit.
    s = s > 0.0f ? std::min(s, 1.0f) : 0.0f;
    out = shade(static_cast<float>(s * kTopLightness));
}

namespace {

struct SelectorKind {
    const char* name;
    std::unique_ptr<ColorSelector> (*make)(RandomSource&);
};

template <class T>
std::unique_ptr<ColorSelector> makeSelector(RandomSource& random) {
    return std::make_unique<T>(random);
}

// Indexed by the colour-selector chooser; any other index reads the palette.
constexpr SelectorKind kSelectors[] = {
    {"ColorSelectorIndex",
     [](RandomSource&) -> std::unique_ptr<ColorSelector> { return std::make_unique<ColorSelectorIndex>(); }},
    {"ColorSelectorRGB", makeSelector<ColorSelectorRGB>},
    {"ColorSelectorHSL", makeSelector<ColorSelectorHSL>},
    {"ColorSelectorBump", makeSelector<ColorSelectorBump>},
};
constexpr int kSelectorIndex = 0;
constexpr int kSelectorHSL = 2;

}  // namespace

std::unique_ptr<ColorSelector> CreateColorSelector(RandomSource& random, const FactoryContext& context,
                                                   bool scatteredDot, int maxInputs) {
    const ChooserSet& choosers = context.choosers;
    const SelectorKind* kind = &kSelectors[kSelectorIndex];
    std::unique_ptr<ColorSelector> pColorSelector;
    if (!scatteredDot) {
        std::vector<int> excluded;
        if (maxInputs == 1) excluded.push_back(kSelectorHSL);
        const int index = choosers.chooser(Family::ColorSelector).choose(random, &excluded);
        if (index >= 0 && index < static_cast<int>(std::size(kSelectors))) kind = &kSelectors[index];
        pColorSelector = kind->make(random);
        if (pColorSelector->inputCount() > maxInputs) {
            kind = &kSelectors[kSelectorIndex];
            pColorSelector.reset();
        }
    }
    if (!pColorSelector) pColorSelector = kind->make(random);
    traceMade("ColorSelector", 161, "(typeid(*pColorSelector).name())", kind->name);
    return pColorSelector;
}
