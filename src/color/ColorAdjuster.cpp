#include "color/ColorAdjuster.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "color/ColorAdjusters.h"
#include "color/ColorSpace.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Trace.h"

ColorAdjuster::ColorAdjuster(RandomSource& random) : m_pRandom(&random) {
    for (bool& flag : m_channels) flag = random.below(2) > 0;
}

void ColorAdjusterInvert::adjust(Color& c, int, int, const CellArea*) {
    for (int i = 0; i < 3; ++i) {
        const int v = c.channel(i);
        m_work[static_cast<size_t>(i)] = m_channels[static_cast<size_t>(i)] ? 255 - v : v;
    }
    c.set(m_work[0], m_work[1], m_work[2]);
}

void ColorAdjusterLighten::adjust(Color& c, int, int, const CellArea*) {
    for (int i = 0; i < 3; ++i) {
        const int v = c.channel(i);
        m_work[static_cast<size_t>(i)] = m_channels[static_cast<size_t>(i)] ? v + (255 - v) / 3 : v;
    }
    c.set(m_work[0], m_work[1], m_work[2]);
}

void ColorAdjusterDarken::adjust(Color& c, int, int, const CellArea*) {
    for (int i = 0; i < 3; ++i) {
        const int v = c.channel(i);
        m_work[static_cast<size_t>(i)] = m_channels[static_cast<size_t>(i)] ? (2 * v) / 3 : v;
    }
    c.set(m_work[0], m_work[1], m_work[2]);
}

ColorAdjusterGlow::ColorAdjusterGlow(RandomSource& random) : ColorAdjuster(random) {
    m_fCentreX = static_cast<float>(-random.uniform());
    m_fCentreY = static_cast<float>(-random.uniform());
}

// A cell is never empty in a layout; should one be, it counts as one pixel
// rather than divide by zero.
float ColorAdjusterGlow::normalisedX(int x, const CellArea& area) {
    return 2.0f * static_cast<float>(x - area.left) / static_cast<float>(std::max(area.width, 1)) - 1;
}

float ColorAdjusterGlow::normalisedY(int y, const CellArea& area) {
    return 2.0f * static_cast<float>(y - area.top) / static_cast<float>(std::max(area.height, 1)) - 1;
}

void ColorAdjusterGlow::adjust(Color& c, int x, int y, const CellArea* area) {
    if (!area) return;
    const float dx = normalisedX(x, *area) - m_fCentreX;
    const float dy = normalisedY(y, *area) - m_fCentreY;
    // sqrt(8) is the diagonal of the normalised square, so d is 0..1.
    const float d = std::sqrt(dx * dx + dy * dy) / std::sqrt(8.0f);
    c.setLightness(falloff(d) * 0.8f);
}

void ColorAdjusterGlowX::adjust(Color& c, int x, int, const CellArea* area) {
    if (!area) return;
    c.setLightness((1 - std::fabs((normalisedX(x, *area) - m_fCentreX) / 2)) * 0.8f);
}

void ColorAdjusterGlowY::adjust(Color& c, int, int y, const CellArea* area) {
    if (!area) return;
    c.setLightness((1 - std::fabs((normalisedY(y, *area) - m_fCentreY) / 2)) * 0.8f);
}

ColorAdjusterHue::ColorAdjusterHue(RandomSource& random)
    : ColorAdjuster(random), m_fHue(ColorHSV(Color::randomPaletteColor(random)).hue()) {}

void ColorAdjusterHue::adjust(Color& c, int, int, const CellArea*) {
    const ColorHSV hsv(c);
    c = ColorHSV(m_fHue, hsv.saturation(), hsv.value()).toColor();
}

namespace {

struct AdjusterKind {
    const char* name;
    std::unique_ptr<ColorAdjuster> (*make)(RandomSource&);
};

template <class T>
std::unique_ptr<ColorAdjuster> makeAdjuster(RandomSource& random) {
    return std::make_unique<T>(random);
}

// Indexed by the colour-adjuster chooser; any other index leaves colours alone.
constexpr AdjusterKind kAdjusters[] = {
    {"ColorAdjusterNone", makeAdjuster<ColorAdjusterNone>},
    {"ColorAdjusterLighten", makeAdjuster<ColorAdjusterLighten>},
    {"ColorAdjusterDarken", makeAdjuster<ColorAdjusterDarken>},
    {"ColorAdjusterInvert", makeAdjuster<ColorAdjusterInvert>},
    {"ColorAdjusterFade", makeAdjuster<ColorAdjusterFade>},
    {"ColorAdjusterGlow", makeAdjuster<ColorAdjusterGlow>},
    {"ColorAdjusterGlowX", makeAdjuster<ColorAdjusterGlowX>},
    {"ColorAdjusterGlowY", makeAdjuster<ColorAdjusterGlowY>},
    {"ColorAdjusterHue", makeAdjuster<ColorAdjusterHue>},
};

}  // namespace

std::unique_ptr<ColorAdjuster> CreateColorAdjuster(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::ColorAdjuster).choose(random);
    const AdjusterKind& kind =
        index >= 0 && index < static_cast<int>(std::size(kAdjusters)) ? kAdjusters[index] : kAdjusters[0];
    std::unique_ptr<ColorAdjuster> pColorAdjuster = kind.make(random);
    traceMade("ColorAdjuster", 115, "(typeid(*pColorAdjuster).name())", kind.name);
    return pColorAdjuster;
}
