#include <algorithm>

#include "Patterns/PatternCalculator.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"

namespace {

// The grid made on the first calculate() without one.
constexpr int kDefaultGridSide = 128;

// The cell of a coordinate -1..1 on a side of n cells; outside values are
// held at the ends.
int cellOf(float v, int n) {
    const double p = std::min((v + 1.0) / 2.0 * (n - 1), static_cast<double>(n - 1));
    return std::max(0, qvmath::truncSaturated(p));
}

}  // namespace

PatternLimn::PatternLimn(RandomSource& random) : PatternCalculator(random) {}

PatternLimn::~PatternLimn() { releaseShapes(); }

void PatternLimn::setup(int, int, bool, int) { m_bSetUp = true; }

void PatternLimn::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty()) return;
    if (!m_pGrid) makeIndexGrid(kDefaultGridSide, kDefaultGridSide);
    const IndexGrid& g = *m_pGrid;
    if (g.width() == 0 || g.height() == 0 || in.size() < 2) {
        out[0] = 0.0f;
        return;
    }
    const int colors = scene().colorCount();
    const int32_t cell = g.at(cellOf(in[0], g.width()), cellOf(in[1], g.height()));
    // One colour leaves no step to divide by: every cell reads 0.
    out[0] =
        colors > 1 ? std::clamp(static_cast<float>(cell) / static_cast<float>(colors - 1), 0.0f, 1.0f) : 0.0f;
}

void PatternLimn::fillIndexGrid(IndexGrid& grid, int width, int height, bool) {
    grid.resize(width, height);
    const int colors = scene().colorCount();
    const int32_t fg = m_pRandom->below(colors);
    const int32_t bg = (fg + colors / 2) % colors;
    paintShape(grid, fg, bg);
}

void PatternLimn::fillIndexGrid(IndexGrid& grid, int width, int height, int32_t fill, int32_t fg,
                                int32_t bg) {
    grid.resize(width, height);
    grid.fill(fill);
    paintShape(grid, fg, bg);
}

void PatternLimn::makeIndexGrid(int width, int height) {
    m_pGrid = std::make_unique<IndexGrid>();
    fillIndexGrid(*m_pGrid, width, height, false);
}
