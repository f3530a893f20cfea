// The shape painting of PatternLimn: one LimnShapes painter draws into a
// true/false mask of the grid's size, and the grid takes the foreground
// where no shape fell and the background where one did. The painter is kept
// (its shapes' centres seed the daub layouts).
#include "Patterns/PatternCalculator.h"
#include "engine/Scene.h"
#include "shape/Limn.h"

void PatternLimn::paintShape(IndexGrid& grid, int32_t fg, int32_t bg) {
    const int w = grid.width(), h = grid.height();
    ShapeMask shapes = paintShapeMask(*m_pRandom, w, h, fg, [] { return scene().isIdle(); });
    if (shapes.painter) {
        releaseShapes();
        m_pShapes = shapes.painter.release();
    }
    if (!shapes.complete) return;
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column)
            grid.at(column, row) =
                shapes.mask[static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(column)]
                    ? bg
                    : fg;
}

void PatternLimn::releaseShapes() {
    delete m_pShapes;
    m_pShapes = nullptr;
}
