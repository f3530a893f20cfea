// The shape painter of the shaped layouts: the cells under random shapes
// take the foreground, the others the background.

#include "layout/ShapeGrid.h"
#include "styles/figure/Limn.h"

namespace {

void paintGridShapes(RandomSource& random, ShapeGrid& grid, int background, int foreground) {
    // The shapes fall where the mask is true, which the shape pattern gives
    // its second value: the background goes first.
    ShapeMask shapes = paintShapeMask(random, grid.cols, grid.rows, background, sceneIdle);
    if (!shapes.complete || shapes.mask.size() != grid.cells.size()) return;
    for (size_t i = 0; i < grid.cells.size(); ++i)
        grid.cells[i] = shapes.mask[i] ? foreground : background;
}

}  // namespace

void installShapePainters() {
    setShapeGridPainter(paintGridShapes);
}
