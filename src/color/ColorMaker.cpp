#include "color/ColorMaker.h"

#include <cmath>
#include <iterator>

#include "Patterns/PatternCalculator.h"
#include "engine/ChooserSet.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Trace.h"
#include "platform/DC.h"

ColorMaker::ColorMaker(RandomSource& random) : m_iColors(scene().colorCount()), m_pRandom(&random) {}

ColorMakerIndex::ColorMakerIndex(RandomSource& random) : ColorMaker(random) {
    m_iIndex = random.below(m_iColors);
    m_iStep = random.skewedBelow(static_cast<int32_t>(m_iColors / 2.0), 8) + 1;
}

ColorMakerIndex::ColorMakerIndex(RandomSource& random, int32_t index, int32_t step)
    : ColorMaker(random), m_iIndex(index), m_iStep(step) {}

void ColorMakerIndex::make(Color& out, const std::vector<float>&) {
    out = Color::fromPaletteIndex(m_iIndex);
    if (m_iColors > 0) m_iIndex = static_cast<int32_t>((int64_t{m_iIndex} + m_iStep) % m_iColors);
}

ColorMakerCalc::ColorMakerCalc(RandomSource& random)
    : ColorMaker(random), m_pCalc(PatternCalculator::create(random, 1, false)), m_out(1, 0.0f) {
    m_pCalc->setup(2, 1, false, 2);
}

ColorMakerCalc::~ColorMakerCalc() = default;

void ColorMakerCalc::make(Color& out, const std::vector<float>& in) {
    m_pCalc->calculate(in, m_out);
    out = Color::fromPaletteIndex(qvmath::truncSaturated((m_iColors - 1) * static_cast<double>(m_out[0])));
}

ColorMakerScreen::ColorMakerScreen(RandomSource& random, const CDC* screen)
    : ColorMaker(random), m_pScreen(screen) {}

namespace {

// The pixel column (row) of a normalised coordinate on a screen `size`
// pixels wide (high); +1 wraps round to 0. Values no int can hold give 0.
int screenPixel(float v, int size) {
    const double p = std::trunc((v * 0.5 + 0.5) * size);
    if (!(p > -2e9 && p < 2e9)) return 0;
    return static_cast<int>(p) % size;
}

}  // namespace

void ColorMakerScreen::make(Color& out, const std::vector<float>& in) {
    const CSurface* surface = m_pScreen ? m_pScreen->surface() : nullptr;
    if (!surface || !surface->valid() || in.size() < 2) {
        out = Color();
        return;
    }
    const int x = screenPixel(in[0], surface->width());
    const int y = screenPixel(in[1], surface->height());
    const COLORREF pixel = m_pScreen->GetPixel(x, y);
    // A point left of or above the screen has no pixel: black.
    out = pixel == CDC::CLR_INVALID ? Color() : Color(pixel);
}

ColorMakerConst::ColorMakerConst(RandomSource& random) : ColorMaker(random) {
    m_color = Color::fromPaletteIndex(random.below(m_iColors));
}

namespace {

struct MakerKind {
    const char* name;
    std::unique_ptr<ColorMaker> (*make)(RandomSource&, const CDC*);
    // A maker the program cannot make yet is left out of the choice, and an
    // index that still lands on it walks the palette.
    bool ready;
};

// Indexed by the colour-maker chooser; any other index walks the palette.
constexpr int kScreenMaker = 2;
constexpr MakerKind kMakers[] = {
    {"ColorMakerIndex",
     [](RandomSource& random, const CDC*) -> std::unique_ptr<ColorMaker> {
         return std::make_unique<ColorMakerIndex>(random);
     },
     true},
    {"ColorMakerCalc",
     [](RandomSource& random, const CDC*) -> std::unique_ptr<ColorMaker> {
         return std::make_unique<ColorMakerCalc>(random);
     },
     true},
    {"ColorMakerScreen",
     [](RandomSource& random, const CDC* screen) -> std::unique_ptr<ColorMaker> {
         return std::make_unique<ColorMakerScreen>(random, screen);
     },
     true},
};

}  // namespace

std::unique_ptr<ColorMaker> CreateColorMaker(RandomSource& random, const FactoryContext& context,
                                             const CDC* screen, bool screenHasPicture) {
    const ChooserSet& choosers = context.choosers;
    std::vector<int> notReady;
    for (int i = 0; i < static_cast<int>(std::size(kMakers)); ++i)
        if (!kMakers[i].ready) notReady.push_back(i);
    const std::vector<int> flatScreen = {kScreenMaker};
    const int index = choosers.chooser(Family::ColorMaker)
                          .leavingOut(notReady)
                          .choose(random, screenHasPicture ? nullptr : &flatScreen);
    const bool known = index >= 0 && index < static_cast<int>(std::size(kMakers)) && kMakers[index].ready;
    const MakerKind& kind = known ? kMakers[index] : kMakers[0];
    std::unique_ptr<ColorMaker> pColorMaker = kind.make(random, screen);
    traceMade("ColorMaker", 114, "(typeid(*pColorMaker).name())", kind.name);
    return pColorMaker;
}
