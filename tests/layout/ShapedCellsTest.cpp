// The shaped splits with the shape painter the program installs: the cells
// taken are those a shape pattern paints.

#include <algorithm>
#include <vector>

#include "Patterns/PatternCalculator.h"
#include "shape/ShapeGrid.h"
#include "layout/SubRector.h"
#include "shape/Limn.h"
#include "support/Choosers.h"

namespace {

struct ShapePainters {  // installed for one scope, as start-up installs them
    ShapePainters() { installShapePainters(); }
    ~ShapePainters() { setShapeGridPainter(nullptr); }
};

// The cells (row, column) a shape pattern marks on a rows x cols grid, drawn
// from `random` as the splits draw it.
std::vector<std::pair<int, int>> marked(RandomSource& random, int rows, int cols) {
    PatternLimn pattern(random);
    IndexGrid grid;
    pattern.fillIndexGrid(grid, cols, rows, 0, 0, 1);
    std::vector<std::pair<int, int>> cells;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < cols; ++column)
            if (grid.at(column, row) == 1) cells.emplace_back(row, column);
    return cells;
}

}  // namespace

TEST(ShapedCells, TheShapesSplitTakesThePaintedCells) {
    ShapePainters painters;
    int partly = 0;
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource random(seed * 7919), copy = random;
        SubRectList list;
        SubRectorLimn(&random, 8, 4, 640, 480).split(list);
        const int rows = 2 * (1 << copy.skewedBelow(7, 1));
        const int cols = 2 * (1 << copy.skewedBelow(7, 1));
        const auto cells = marked(copy, rows, cols);
        expectSamePlace(random, copy);
        if (cells.empty()) {
            ASSERT_EQ(list.size(), 1u);
            EXPECT_TRUE(list.front().left() == 8 && list.front().width() == 640);
            continue;
        }
        ASSERT_EQ(list.size(), cells.size()) << seed;
        auto cell = cells.begin();
        for (const SubRect& r : list) {
            EXPECT_TRUE(r.row() == cell->first && r.column() == cell->second);
            EXPECT_TRUE(r.left() == 8 + r.column() * (640 / cols) &&
                        r.top() == 4 + r.row() * (480 / rows));
            ++cell;
        }
        partly += static_cast<int>(cells.size()) < rows * cols;
    }
    EXPECT_GT(partly, 10) << "shapes cover some cells, not all";
}

TEST(ShapedCells, TheEvenSplitPutsThePaintedCellsFirst) {
    ShapePainters painters;
    int shaped = 0;
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource random(seed * 104729), copy = random;
        SubRectList list;
        SubRectorEven(&random, 0, 0, 800, 600).split(list);
        int rows = 1, cols = 1;
        while (rows < 2 && cols < 2) {
            rows = 1 << copy.skewedBelow(6, 1);
            cols = copy.below(2) == 0 ? 1 << copy.skewedBelow(6, 1) : rows;
        }
        const auto cells = marked(copy, rows, cols);
        expectSamePlace(random, copy);
        ASSERT_EQ(list.size(), size_t(rows * cols));
        std::vector<std::pair<int, int>> front;
        auto it = list.begin();
        for (size_t i = 0; i < cells.size(); ++i, ++it) front.emplace_back(it->row(), it->column());
        EXPECT_EQ(front, cells) << seed;
        shaped += !cells.empty();
    }
    EXPECT_GT(shaped, 10);
}

TEST(ShapedCells, TinySectionsAndThePreview) {
    ShapePainters painters;
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int seed = 1; seed <= 20; ++seed) {
            RandomSource random(seed * 31);
            SubRectList even, shapes;
            SubRectorEven(&random, 0, 0, w, h).split(even);
            SubRectorLimn(&random, 0, 0, w, h).split(shapes);
            EXPECT_TRUE(even.size() >= 2 && !shapes.empty());
        }
}
