#include "layout/BoolMap.h"

#include <cmath>
#include <iterator>
#include <new>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "shape/Canvas.h"
#include "shape/Limn.h"

BoolMap::BoolMap(RandomSource* random, int width, int height)
    : m_pRandom(random), m_iWidth(std::max(width, 0)), m_iHeight(std::max(height, 0)) {
    if (m_iWidth == 0 || m_iHeight == 0) return;
    try {
        m_cells.assign(static_cast<std::size_t>(m_iWidth) * static_cast<std::size_t>(m_iHeight), 0);
        m_bValid = true;
    } catch (const std::bad_alloc&) {
        m_cells.clear();
    }
}

namespace {

bool coin(RandomSource& random) { return random.below(2) > 0; }

}  // namespace

BoolMapAll::BoolMapAll(RandomSource* random, int width, int height) : BoolMap(random, width, height) {
    if (m_bValid) fill(true, [](int, int) { return true; });
}

BoolMapBitCheckered::BoolMapBitCheckered(RandomSource* random, int width, int height)
    : BoolMap(random, width, height) {
    if (!m_bValid) return;
    const bool b = coin(*random);
    const int a = random->skewedBelow(8, 3);
    const int c = random->skewedBelow(8, 3);
    fill(b, [a, c](int x, int y) { return ((x >> a) & 1) == ((y >> c) & 1); });
}

BoolMapVertStripe::BoolMapVertStripe(RandomSource* random, int width, int height)
    : BoolMap(random, width, height) {
    if (!m_bValid) return;
    const bool b = coin(*random);
    const int a = random->skewedBelow(8, 3);
    const int m = random->below(5) + 2;
    fill(b, [a, m](int x, int) { return (x >> a) % m == 0; });
}

BoolMapHorzStripe::BoolMapHorzStripe(RandomSource* random, int width, int height)
    : BoolMap(random, width, height) {
    if (!m_bValid) return;
    const bool b = coin(*random);
    const int a = random->skewedBelow(8, 3);
    const int m = random->below(5) + 2;
    fill(b, [a, m](int, int y) { return (y >> a) % m == 0; });
}

BoolMapCircles::BoolMapCircles(RandomSource* random, int width, int height) : BoolMap(random, width, height) {
    if (!m_bValid) return;
    const int radius = random->skewedBelow(64, 4) + 4;
    const int gap = random->below(8);
    const bool b = coin(*random);
    const int side = 2 * radius + gap;
    const int half = side / 2;
    fill(b, [=](int x, int y) {
        const int cx = (x / side) * side + half, cy = (y / side) * side + half;
        const float dx = static_cast<float>(x - cx), dy = static_cast<float>(y - cy);
        return std::sqrt(dx * dx + dy * dy) < static_cast<float>(radius);
    });
}

BoolMapBubbles::BoolMapBubbles(RandomSource* random, int width, int height, int drawingCount,
                               const std::function<bool()>& idle)
    : BoolMap(random, width, height) {
    if (!m_bValid) return;
    const bool b = coin(*random);
    fill(b, [](int, int) { return true; });
    CanvasBoolMap canvas(m_cells.data(), m_cells.size(), m_iWidth, m_iHeight, random);
    m_bSecondColor = random->uniform() < 0.85;
    canvas.setAltColor(b ? 1 : 0);  // the alternative paints not-b
    if (m_bSecondColor) {
        if (random->uniform() < 0.5)
            canvas.useAltColor();
        else
            canvas.setMode(2);  // overlapping shapes cancel
    } else {
        canvas.useAltColor();
    }
    std::unique_ptr<Limn> painter;
    if (random->uniform() < 0.9 || drawingCount < 20)
        painter = std::make_unique<LimnShapes>(random, &canvas, m_bSecondColor, true, idle);
    else
        painter = std::make_unique<LimnDaub>(random, &canvas, m_bSecondColor, idle);
    painter->draw(canvas, m_bSecondColor);
}

namespace {

struct BoolMapKind {
    const char* name;
    std::unique_ptr<BoolMap> (*make)(RandomSource*, int, int, int, const std::function<bool()>&);
};

template <class T>
std::unique_ptr<BoolMap> makeMap(RandomSource* random, int width, int height, int,
                                 const std::function<bool()>&) {
    return std::make_unique<T>(random, width, height);
}

std::unique_ptr<BoolMap> makeBubbles(RandomSource* random, int width, int height, int drawingCount,
                                     const std::function<bool()>& idle) {
    return std::make_unique<BoolMapBubbles>(random, width, height, drawingCount, idle);
}

// Indexed by the mask chooser; any other index is BoolMapAll.
constexpr BoolMapKind kBoolMaps[] = {
    {"BoolMapAll", makeMap<BoolMapAll>},
    {"BoolMapBitCheckered", makeMap<BoolMapBitCheckered>},
    {"BoolMapVertStripe", makeMap<BoolMapVertStripe>},
    {"BoolMapHorzStripe", makeMap<BoolMapHorzStripe>},
    {"BoolMapCircles", makeMap<BoolMapCircles>},
    {"BoolMapBubbles", makeBubbles},
};

constexpr int kTraceLine = 41;

}  // namespace

std::unique_ptr<BoolMap> CreateBoolMap(RandomSource& random, const FactoryContext& context, int width,
                                       int height, int drawingCount, const std::function<bool()>& idle) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::BoolMap).choose(random, nullptr, WeightedChooser::kTries);
    const BoolMapKind& kind =
        index >= 0 && index < static_cast<int>(std::size(kBoolMaps)) ? kBoolMaps[index] : kBoolMaps[0];
    traceMade("BoolMap", kTraceLine, "(typeid(*pBoolMap).name())", kind.name);
    return kind.make(&random, width, height, drawingCount, idle);
}

std::unique_ptr<BoolMap> CreateBoolMap(RandomSource& random, const FactoryContext& context) {
    // A scene without a window has no size for the mask.
    const Scene& scene = context.scene;
    const bool window = scene.isWindow();
    return CreateBoolMap(random, context, window ? scene.width() : 0, window ? scene.height() : 0,
                         window ? scene.drawingCount() : 0, sceneIdle);
}
