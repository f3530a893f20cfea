#include "shape/Limn.h"

#include <algorithm>
#include <vector>

#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "shape/Canvas.h"

bool sceneIdle() { return scene().isIdle(); }

Limn::Limn(RandomSource* random, Canvas* canvas, IdleTest idle)
    : m_pRandom(random), m_pCanvas(canvas), m_idle(std::move(idle)) {
    m_iColorStep = random->skewedBelow(256, 3) + 1;
    makeKindWeights(m_kinds);
}

Limn::~Limn() = default;

void Limn::makeKindWeights(WeightedChooser& chooser) {
    chooser.build(std::vector<float>(std::begin(kShapeKindWeights), std::end(kShapeKindWeights)), true);
    chooser.perturb(*m_pRandom);
}

int Limn::paletteSize() { return std::max(scene().colorCount(), 1); }

COLORREF Limn::paletteColor(int i) {
    // The entry itself, on a palette display as on a true-colour one; an
    // index below 0 takes the first entry.
    const int n = paletteSize();
    const PALETTEENTRY e = scene().paletteEntry(std::clamp(i % n, 0, n - 1));
    return RGB(e.peRed, e.peGreen, e.peBlue);
}

Shape2D* Limn::shapeAt(int i) const {
    return i >= 0 && i < shapeCount() ? m_shapes[static_cast<size_t>(i)].get() : nullptr;
}

void Limn::draw(Canvas& canvas, bool solid) {
    const int repeats = m_pRandom->skewedBelow(10, 2) + 1;
    for (auto& shape : m_shapes) {
        if (!idle()) return;
        if (!shape->isOpenFigure()) continue;
        shape->draw(canvas, solid, true);
        shape->releaseVertices();
    }
    for (auto& shape : m_shapes) {
        if (!idle()) return;
        if (shape->isOpenFigure()) continue;
        shape->draw(canvas, solid, true);
        if (solid && repeatsFigures()) {
            const int n = canvas.randomRepeats(*m_pRandom, repeats);
            for (int i = 0; i < n && idle(); ++i) {
                shape->jitter(m_pRandom->uniform());
                shape->draw(canvas, solid, true);
            }
        }
        shape->releaseVertices();
    }
}

void Limn::fitPairs(double p) {
    for (auto& a : m_shapes) {
        if (!idle()) return;
        for (auto& b : m_shapes) {
            if (a == b) continue;
            if (m_pRandom->uniform() < p) a->fitAgainst(*b);
        }
    }
}

void Limn::scatter(Canvas& canvas) {
    long long count = (m_pRandom->skewedBelow(1000, 5) + 1) * static_cast<long long>(canvas.width()) / 1000;
    if (!scene().isTrueColor()) count /= 4;
    count = std::max(count, 1LL);
    for (long long i = 0; i < count; ++i) {
        if (!idle()) return;
        const COLORREF c = paletteColor(m_pRandom->below(scene().colorCount()));
        auto shape = CreateShape2D(m_kinds, *m_pRandom, canvas.width(), canvas.height(), c, false);
        if (m_bXorShapes) shape->setFlags(shape->filled(), shape->resizable(), true);
        m_shapes.push_back(std::move(shape));
    }
}

void Limn::drawBands(Canvas& canvas) {
    const int n = 1 << (m_pRandom->below(6) + 2);
    const int w = canvas.width(), h = canvas.height();
    // Every other band across the width, then across the height.
    for (int i = 0; i < n; i += 2) {
        const int left = static_cast<int>(static_cast<long long>(w) * i / n);
        const int right = static_cast<int>(static_cast<long long>(w) * (i + 1) / n);
        Shape2DRectangle band((left + right) / 2, h / 2, (right - left) / 2, h / 2 + 1, 0.0, RGB(0, 0, 0),
                              true);
        band.draw(canvas, true, true);
    }
    for (int i = 0; i < n; i += 2) {
        const int top = static_cast<int>(static_cast<long long>(h) * i / n);
        const int bottom = static_cast<int>(static_cast<long long>(h) * (i + 1) / n);
        Shape2DRectangle band(w / 2, (top + bottom) / 2, w / 2 + 1, (bottom - top) / 2, 0.0, RGB(0, 0, 0),
                              true);
        band.draw(canvas, true, true);
    }
}

LimnShapes::LimnShapes(RandomSource* random, Canvas* canvas, bool /*solid*/, bool allowBands, IdleTest idle)
    : Limn(random, canvas, std::move(idle)) {
    m_bJitterRepeats = random->uniform() < 0.05;
    m_bSecondFlag = random->uniform() < 0.125;
    const bool coin = random->below(2) == 1;
    m_bXorShapes = m_bJitterRepeats && coin;
    const bool bandChance = random->uniform() < 0.05;
    m_bBands = bandChance && allowBands && canvas->isMask();
    if (m_bBands) drawBands(*canvas);
    const bool scatterCoin = random->below(2) == 1;
    if (scatterCoin || !m_bBands) {
        scatter(*canvas);
        fitPairs(random->uniform());
    }
}

ShapeMask paintShapeMask(RandomSource& random, int width, int height, int fg, const IdleTest& idle) {
    ShapeMask result;
    if (width <= 0 || height <= 0 || (idle && !idle())) return result;
    result.mask.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    CanvasBoolMap canvas(result.mask.data(), result.mask.size(), width, height, &random);
    const bool mirrorCoin = random.below(2) != 0;
    canvas.setMirrored(fg != 0 && mirrorCoin);
    const bool q = random.uniform() < 0.5;
    const bool second = random.uniform() < 0.5;
    if (!q || second)
        canvas.useAltColor();
    else
        canvas.setMode(2);
    result.painter = std::make_unique<LimnShapes>(&random, &canvas, q, false, idle);
    const double u1 = random.uniform();
    const double u2 = random.uniform();
    const double u3 = random.uniform();
    result.painter->fitPairs(1 - u1 * u2 * u3);
    result.painter->draw(canvas, q);
    result.complete = !idle || idle();
    return result;
}
