// A daub mosaic: shapes of one kind on the cells of a field of random
// shapes, then rings of shapes around seeds, each daub set tangent to the
// last and pushed outwards until it collides with nothing.

#include <algorithm>
#include <cmath>

#include "Patterns/PatternCalculator.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "shape/Canvas.h"
#include "shape/Limn.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kRingEnd = 6.282185;  // a whole turn, less a thousandth

// The shape pattern whose painter's shapes seed the rings.
class DaubField : public PatternLimn {
public:
    using PatternLimn::PatternLimn;
    const LimnShapes* painter() const { return m_pShapes; }
};

struct Seed {
    Shape2D* shape;
    int ringRadius = 0;
    bool finished = false;
};

// Floor division: centres left of or above the screen fall outside the grid.
int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-static_cast<long long>(a) + b - 1) / b); }

}  // namespace

LimnDaub::LimnDaub(RandomSource* random, Canvas* canvas, bool solid, IdleTest idle)
    : Limn(random, canvas, std::move(idle)) {
    m_bJitterRepeats = false;
    m_bSecondFlag = random->uniform() < 0.125;
    // A single kind: every other kind's weight becomes 0.
    m_iKind = m_kinds.choose(*random, nullptr, WeightedChooser::kTries);
    std::vector<float> weights(kShapeKinds, 0.0f);
    weights[static_cast<size_t>(std::clamp(m_iKind, 0, kShapeKinds - 1))] = 1.0f;
    m_kinds.build(weights, false);
    layOut(*canvas, solid);
    // `idle` has gone to the base by now: the base's test is asked.
    if (canvas->takesScreenColors() && Limn::idle()) {
        canvas->setIdleTest(m_idle);
        canvas->scatter(*random);
    }
}

LimnDaub::~LimnDaub() = default;

int LimnDaub::cellOf(int x, int y) const {
    const int side = 2 * m_iCell;
    const int col = floorDiv(x, side), row = floorDiv(y, side);
    if (col < 0 || row < 0 || col >= m_iGridCols || row >= m_iGridRows) return -1;
    return row * m_iGridCols + col;
}

void LimnDaub::enter(Shape2D* shape) {
    const int i = cellOf(shape->centreX(), shape->centreY());
    if (i >= 0) m_grid[static_cast<size_t>(i)].push_back({shape->centreX(), shape->centreY(), shape->size()});
}

bool LimnDaub::collides(const Shape2D& shape) const {
    return collidesAt(shape.centreX(), shape.centreY(), shape.size());
}

bool LimnDaub::collidesAt(int x, int y, int size) const {
    const int side = 2 * m_iCell;
    const int col = floorDiv(x, side), row = floorDiv(y, side);
    for (int r = row - 1; r <= row + 1; ++r) {
        if (r < 0 || r >= m_iGridRows) continue;
        for (int c = col - 1; c <= col + 1; ++c) {
            if (c < 0 || c >= m_iGridCols) continue;
            for (const Entered& other : m_grid[static_cast<size_t>(r * m_iGridCols + c)]) {
                // The truncated distance is below the sum exactly when the
                // squared distance is below the squared sum.
                const long long dx = static_cast<long long>(other.x) - x,
                                dy = static_cast<long long>(other.y) - y;
                const long long sum = static_cast<long long>(size) + other.size;
                if (sum > 0 && dx * dx + dy * dy < sum * sum) return true;
            }
        }
    }
    return false;
}

void LimnDaub::layOut(Canvas& canvas, bool solid) {
    RandomSource& random = *m_pRandom;
    const int width = canvas.width(), height = canvas.height();
    COLORREF color = paletteColor(random.below(paletteSize()));
    m_iCell = 1 << (random.skewedBelow(3, 3) + 3);
    const int c = m_iCell;
    const double u1 = random.uniform();
    const double u2 = random.uniform();
    const double f = u1 * u2;
    const double q4 = random.below(4) * kTwoPi / 4;
    m_iGridCols = std::max(width, 0) / (2 * c) + 1;
    m_iGridRows = std::max(height, 0) / (2 * c) + 1;
    m_grid.assign(static_cast<size_t>(m_iGridCols) * static_cast<size_t>(m_iGridRows), {});
    const auto daubSize = [&] { return qvmath::truncSaturated(c * (1 + random.signedUniform() * f)); };
    const auto colorAt = [&](int x, int y, COLORREF ring) {
        return canvas.takesScreenColors() ? canvas.getPixel(x, y) : ring;
    };

    // The field: G x G cells, 1 under the shapes of a shape pattern. A
    // canvas narrower than two cells has no field and no seeds.
    const int g = (width / c) / 2;
    if (g < 1 || height <= 0 || !idle()) return freeGrid();
    // Cells without shapes 0, under shapes 1.
    DaubField pattern(random);
    IndexGrid field;
    pattern.fillIndexGrid(field, g, g, 0, 0, 1);
    if (!idle() || !pattern.painter() || field.width() != g || field.height() != g) return freeGrid();
    const LimnShapes& painter = *pattern.painter();
    const int stepX = width / g, stepY = height / g;

    std::vector<Seed> seeds;
    for (int i = 0; i < painter.shapeCount(); ++i) {
        if (!idle()) break;
        const Shape2D* s = painter.shapeAt(i);
        const int x = static_cast<int>(static_cast<long long>(s->centreX()) * width / g) + stepX / 2;
        const int y = static_cast<int>(static_cast<long long>(s->centreY()) * height / g) + stepY / 2;
        const int r = daubSize();
        auto shape = CreateShape2D(m_kinds, random, width, height, colorAt(x, y, color), false, x, y, r);
        seeds.push_back({shape.get()});
        m_shapes.push_back(std::move(shape));
    }

    const double common = random.signedUniform() * kTwoPi / 2;
    for (int gy = 0; gy < g; ++gy) {
        for (int gx = 0; gx < g; ++gx) {
            if (!idle()) return freeGrid();
            if (field.at(gx, gy) != 1) continue;
            const int x = stepX * gx + stepX / 2, y = stepY * gy + stepY / 2;
            random.signedUniform();  // drawn and dropped
            const int r = daubSize();
            auto shape =
                CreateShape2D(m_kinds, random, width, height, colorAt(x, y, color), false, x, y, r, common);
            enter(shape.get());
            if (canvas.isColorCanvas()) shape->draw(canvas, solid, true);
            shape->releaseVertices();
            m_shapes.push_back(std::move(shape));
        }
    }

    // Rings around the seeds, while some seed still lands on the screen.
    const int ringLimit = random.below(width / c) + 1;
    bool placedAny = true;
    for (int k = 0; placedAny && k < ringLimit && idle(); ++k) {
        placedAny = false;
        for (Seed& seed : seeds) {
            if (seed.finished) continue;
            if (!idle()) return freeGrid();
            const COLORREF ring =
                paletteColor(static_cast<int>((static_cast<long long>(k) * m_iColorStep) % paletteSize()));
            const double t0 = random.uniform() * kTwoPi;
            double a = 0;
            long long reach = width;
            int s = daubSize();
            bool placed = false;
            const int cx = seed.shape->centreX(), cy = seed.shape->centreY();
            while (a < kRingEnd && idle()) {
                long long rr = static_cast<long long>(seed.ringRadius) + s;
                int q = s;
                if (2 * (kTwoPi - a) * rr < 2.5 * c) {
                    q = qvmath::truncSaturated((kTwoPi - a) * rr);
                    if (q < (1 - f) * c) break;
                }
                // The probe: made for its draws, moved only in thought. The
                // search ends within about 1024 steps (32q in steps of at
                // least q / 32), well inside one poll of the idle test.
                const auto probe = CreateShape2D(m_kinds, random, width, height, ring, false, cx, cy, q);
                int px = cx, py = cy;
                bool givenUp = false;
                while (collidesAt(px, py, probe->size())) {
                    rr += std::max(1, q / 32);
                    px = qvmath::truncSaturated(cx + rr * std::cos(t0 + a));
                    py = qvmath::truncSaturated(cy + rr * std::sin(t0 + a));
                    if (rr - seed.ringRadius > 32LL * q) {
                        givenUp = true;
                        break;
                    }
                }
                const int x = qvmath::truncSaturated(cx + rr * std::cos(t0 + a));
                const int y = qvmath::truncSaturated(cy + rr * std::sin(t0 + a));
                auto daub = CreateShape2D(m_kinds, random, width, height, colorAt(x, y, ring), false, x, y, q,
                                          t0 + a + q4);
                if (!givenUp) {
                    enter(daub.get());
                    if (canvas.isColorCanvas()) daub->draw(canvas, solid, true);
                    daub->releaseVertices();
                    if (x >= 0 && y >= 0 && x < width && y < height) placed = true;
                    m_shapes.push_back(std::move(daub));
                }
                reach = std::min(reach, rr + q);
                const int next = daubSize();
                // The next daub set tangent to this one; a radius of 0 turns
                // no angle and would never close the ring.
                if (rr <= 0) break;
                const double sum = static_cast<double>(q) + next;
                const double cosD = 1 - (sum * sum / 2) / (static_cast<double>(rr) * rr);
                if (!(std::fabs(cosD) <= 1)) break;
                const double turn = std::acos(cosD);
                if (!(turn > 0)) break;
                a += turn;
                s = next;
            }
            seed.ringRadius = static_cast<int>(std::min<long long>(reach, 1 << 30));
            if (!placed) seed.finished = true;
            placedAny = placedAny || placed;
        }
    }
    freeGrid();
}

void LimnDaub::freeGrid() {
    m_grid.clear();
    m_iGridCols = m_iGridRows = 0;
}
