#include "color/ColorClamp.h"

#include <iterator>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Trace.h"

int ColorClampMinMax::clamp(int v) {
    if (v > 255) return 255;
    if (v < 0) return 0;
    return v;
}

ColorClampOffset::ColorClampOffset(RandomSource& random) : m_iOffset(random.below(256)) {}

int ColorClampOffset::clamp(int v) {
    // An offset of 0 (or less) could never bring a value back: saturate.
    if (m_iOffset <= 0) return ColorClampMinMax().clamp(v);
    // Whole steps at once rather than one at a time: the result is the same,
    // and a value far out of range costs no more than one near it.
    int64_t w = v;
    const int64_t step = m_iOffset;
    if (w < 0) w += (-w + step - 1) / step * step;
    if (w > 255) w -= (w - 255 + step - 1) / step * step;
    return static_cast<int>(w);
}

namespace {

struct ClampKind {
    const char* name;
    std::unique_ptr<ColorClamp> (*make)(RandomSource&);
};

// Indexed by the colour-clamp chooser; any other index saturates.
constexpr ClampKind kClamps[] = {
    {"ColorClampMinMax",
     [](RandomSource&) -> std::unique_ptr<ColorClamp> { return std::make_unique<ColorClampMinMax>(); }},
    {"ColorClampOffset",
     [](RandomSource& random) -> std::unique_ptr<ColorClamp> {
         return std::make_unique<ColorClampOffset>(random);
     }},
};

}  // namespace

std::unique_ptr<ColorClamp> CreateColorClamp(RandomSource& random, const FactoryContext& context,
                                             const std::vector<int>* excluded) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::ColorClamp).choose(random, excluded);
    const ClampKind& kind =
        index >= 0 && index < static_cast<int>(std::size(kClamps)) ? kClamps[index] : kClamps[0];
    std::unique_ptr<ColorClamp> pColorClamp = kind.make(random);
    traceMade("ColorClamp", 54, "(typeid(*pColorClamp).name())", kind.name);
    return pColorClamp;
}
