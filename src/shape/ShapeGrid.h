#pragma once
// The grid on which the shaped splits (even grid, shapes) mark the cells that
// random shapes cover, and the hook that paints the shapes.
//
// The shapes come from the shape pattern calculator (PatternLimn), which
// lives with the pattern calculators. Until that is built no painter is
// installed: the grid keeps its background, so the even split puts its cells
// in plain descending order and the shape split falls back to the whole
// section. Installing the painter (setShapeGridPainter) is all it takes to
// switch the shapes on; it must draw from the random source it is given.

#include <cstddef>
#include <vector>

class RandomSource;

struct ShapeGrid {
    ShapeGrid(int columns, int rowCount, int background)
        : cols(columns),
          rows(rowCount),
          cells(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rowCount), background) {}
    int& at(int row, int column) {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
                     static_cast<std::size_t>(column)];
    }
    int cols;
    int rows;
    std::vector<int> cells;  // row by row
};

// Paints `foreground` where the random shapes fall; the rest of the grid
// keeps what it holds.
using ShapeGridPainter = void (*)(RandomSource& random, ShapeGrid& grid, int background, int foreground);

// The installed painter, or none (nullptr) to leave grids unpainted.
void setShapeGridPainter(ShapeGridPainter painter);
ShapeGridPainter shapeGridPainter();

// Paints with the installed painter, if there is one.
void paintShapes(RandomSource& random, ShapeGrid& grid, int background, int foreground);
