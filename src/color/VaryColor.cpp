#include "color/VaryColor.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "Patterns/PatternCalculator.h"
#include "engine/ChooserSet.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Trace.h"

namespace {

float limited(float v) { return v >= -1.0f ? std::min(v, 1.0f) : -1.0f; }  // NaN gives -1
float unitLimited(float t) { return t >= 0.0f ? std::min(t, 1.0f) : 0.0f; }

}  // namespace

Color VaryRangePalette::map(float t, Color) const {
    const int n = std::max(1, scene().colorCount());
    return Color::fromPaletteIndex(qvmath::truncSaturated(static_cast<double>(n) * unitLimited(t)) % n);
}

VaryRangeFromTo::VaryRangeFromTo(RandomSource& random) {
    m_from = Color::randomPaletteColor(random);
    m_to = Color::randomPaletteColor(random);
}

Color VaryRangeFromTo::map(float t, Color) const {
    t = unitLimited(t);
    const auto mix = [t](int from, int to) {
        return qvmath::truncSaturated(from + (to - from) * static_cast<double>(t)) % 256;
    };
    Color c;
    c.set(mix(m_from.red(), m_to.red()), mix(m_from.green(), m_to.green()), mix(m_from.blue(), m_to.blue()));
    return c;
}

Color VaryRangeBrightness::map(float t, Color c) const {
    const auto channel = [t](int v) {
        if (t < 0.5f) return qvmath::truncSaturated(v * (2.0 * t));
        return v + qvmath::truncSaturated((255 - v) * (static_cast<double>(t) - 0.5));
    };
    Color out;
    out.set(channel(c.red()), channel(c.green()), channel(c.blue()));
    return out;
}

namespace {

struct RangeKind {
    const char* name;
    std::unique_ptr<VaryRange> (*make)(RandomSource&);
};

// Indexed by the variation-range chooser; any other index is the palette.
constexpr RangeKind kRanges[] = {
    {"VaryRangePalette",
     [](RandomSource&) -> std::unique_ptr<VaryRange> { return std::make_unique<VaryRangePalette>(); }},
    {"VaryRangeFromTo",
     [](RandomSource& r) -> std::unique_ptr<VaryRange> { return std::make_unique<VaryRangeFromTo>(r); }},
    {"VaryRangeBrightness",
     [](RandomSource&) -> std::unique_ptr<VaryRange> { return std::make_unique<VaryRangeBrightness>(); }},
};

}  // namespace

std::unique_ptr<VaryRange> CreateVaryRange(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const RangeKind* kind = &kRanges[0];
    // A palette display can show nothing but its palette: no draw.
    if (scene().isTrueColor()) {
        const int index = choosers.chooser(Family::VaryRange).choose(random);
        if (index >= 0 && index < static_cast<int>(std::size(kRanges))) kind = &kRanges[index];
    }
    std::unique_ptr<VaryRange> pRange = kind->make(random);
    traceMade("VaryRange", 76, "(typeid(*pVaryRange).name())", kind->name);
    return pRange;
}

VaryColor::VaryColor(RandomSource& random, const ChooserSet& choosers)
    : m_pVaryRange(CreateVaryRange(random, choosers)) {}

Color VaryColor::vary(Color c, float x, float y, float x2, float y2) {
    float t = 0.0f;
    if (!parameter(limited(x), limited(y), limited(x2), limited(y2), t)) return c;
    return m_pVaryRange->map(t, c);
}

bool VaryColorByDistance::parameter(float x, float y, float x2, float y2, float& t) {
    t = std::sqrt((x2 - x) * (x2 - x) + (y2 - y) * (y2 - y)) / static_cast<float>(std::numbers::sqrt2);
    return true;
}

bool VaryColorByAngle::parameter(float x, float y, float x2, float y2, float& t) {
    const float fx = -std::fabs(x), fx2 = -std::fabs(x2);
    t = fx2 == fx && y2 == y ? 0.0f
                             : (qvmath::atan2(fx2 - fx, -(y2 - y)) / std::numbers::pi_v<float> + 1.0f) / 2.0f;
    return true;
}

bool VaryColorByDistanceFromCentre::parameter(float x, float y, float, float, float& t) {
    t = std::sqrt(x * x + y * y);
    return true;
}

bool VaryColorByX::parameter(float x, float, float, float, float& t) {
    t = (x + 1.0f) / 2.0f;
    return true;
}

bool VaryColorByY::parameter(float, float y, float, float, float& t) {
    t = (y + 1.0f) / 2.0f;
    return true;
}

VaryColorByXY::VaryColorByXY(RandomSource& random, const ChooserSet& choosers)
    : VaryColor(random, choosers),
      m_pCalc(PatternCalculator::create(random, 1, false)),
      m_in(2, 0.0f),
      m_out(1, 0.0f) {
    m_pCalc->setup(2, 1, false, 2);
}

VaryColorByXY::~VaryColorByXY() = default;

bool VaryColorByXY::parameter(float x, float y, float, float, float& t) {
    m_in[0] = x;
    m_in[1] = y;
    m_pCalc->calculate(m_in, m_out);
    t = m_out[0];
    return true;
}

namespace {

template <class T>
std::unique_ptr<VaryColor> makeVary(RandomSource& random, const ChooserSet& choosers) {
    return std::make_unique<T>(random, choosers);
}

struct VaryKind {
    const char* name;
    std::unique_ptr<VaryColor> (*make)(RandomSource&, const ChooserSet&);
};

// Indexed by the colour-variation chooser; any other index varies nothing.
constexpr VaryKind kVaries[] = {
    {"VaryColorNone", makeVary<VaryColorNone>},
    {"VaryColorByDistance", makeVary<VaryColorByDistance>},
    {"VaryColorByAngle", makeVary<VaryColorByAngle>},
    {"VaryColorByDistanceFromCentre", makeVary<VaryColorByDistanceFromCentre>},
    {"VaryColorByX", makeVary<VaryColorByX>},
    {"VaryColorByY", makeVary<VaryColorByY>},
    {"VaryColorByXY", makeVary<VaryColorByXY>},
};

}  // namespace

std::unique_ptr<VaryColor> CreateVaryColor(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::VaryColor).choose(random);
    const bool known = index >= 0 && index < static_cast<int>(std::size(kVaries));
    const VaryKind& kind = known ? kVaries[index] : kVaries[0];
    std::unique_ptr<VaryColor> pVaryColor = kind.make(random, choosers);
    traceMade("VaryColor", 161, "(typeid(*pVaryColor).name())", kind.name);
    return pVaryColor;
}
