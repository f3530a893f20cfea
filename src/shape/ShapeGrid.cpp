#include "shape/ShapeGrid.h"

namespace {

// No painter until the shape pattern calculator exists.
ShapeGridPainter g_painter = nullptr;

}  // namespace

void setShapeGridPainter(ShapeGridPainter painter) { g_painter = painter; }

ShapeGridPainter shapeGridPainter() { return g_painter; }

void paintShapes(RandomSource& random, ShapeGrid& grid, int background, int foreground) {
    if (g_painter) g_painter(random, grid, background, foreground);
}
