// The shape painter of the shaped layouts: a shape pattern fills the grid
// with the background and paints the foreground where its shapes fall.

#include "Patterns/PatternCalculator.h"
#include "shape/Limn.h"
#include "shape/ShapeGrid.h"

namespace {

void paintGridShapes(RandomSource& random, ShapeGrid& grid, int background, int foreground) {
    PatternLimn pattern(random);
    IndexGrid cells;
    // The shapes fall where the mask is true, which takes the pattern's
    // second value.
    pattern.fillIndexGrid(cells, grid.cols, grid.rows, background, background, foreground);
    if (cells.width() != grid.cols || cells.height() != grid.rows) return;
    for (int row = 0; row < grid.rows; ++row)
        for (int column = 0; column < grid.cols; ++column) grid.at(row, column) = cells.at(column, row);
}

}  // namespace

void installShapePainters() { setShapeGridPainter(paintGridShapes); }
