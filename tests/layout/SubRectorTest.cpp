// The splits, with the shape painter the program installs: the cells taken
// are those a shape pattern paints.

#include <algorithm>
#include <vector>

#include "LayoutSupport.h"
#include "Patterns/PatternCalculator.h"
#include "layout/SubRector.h"
#include "shape/Limn.h"
#include "shape/ShapeGrid.h"

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

// Painted cells first in ascending order, the rest after them descending.
TEST(SubRector, EvenGridPutsThePaintedCellsFirst) {
    ShapePainters painters;
    int shaped = 0;
    for (int seed = 1; seed <= 60; ++seed) {
        RandomSource random(seed * 104729), copy = random;
        SubRectList list;
        SubRectorEven(&random, 10, 20, 800, 600).split(list);
        int rows = 1, cols = 1;
        while (rows < 2 && cols < 2) {
            rows = 1 << copy.skewedBelow(6, 1);
            cols = copy.below(2) == 0 ? 1 << copy.skewedBelow(6, 1) : rows;
        }
        const auto cells = marked(copy, rows, cols);
        expectSamePlace(random, copy);
        ASSERT_EQ(list.size(), size_t(rows * cols));
        std::vector<std::pair<int, int>> rc;
        for (const SubRect& r : list) {
            rc.emplace_back(r.row(), r.column());
            EXPECT_TRUE(r.left() == 10 + r.column() * (800 / cols) && r.top() == 20 + r.row() * (600 / rows));
        }
        EXPECT_TRUE(std::equal(cells.begin(), cells.end(), rc.begin())) << seed;
        EXPECT_TRUE(std::is_sorted(rc.rbegin(), rc.rend() - long(cells.size()))) << seed;
        shaped += !cells.empty() && cells.size() < rc.size();
    }
    EXPECT_GT(shaped, 10);
}

TEST(SubRector, BarsAreOneColumnOrOneRowInTheDrawnOrder) {
    for (int seed = 1; seed <= 60; ++seed) {
        RandomSource r(seed), c = r;
        SubRectList column, row;
        SubRectorVerticalBar(&r, 0, 0, 1920, 1080).split(column);
        SubRectorHorizontalBar(&r, 0, 0, 1920, 1080).split(row);
        const int rows = 1 << c.skewedBelow(7, 3), cols = 1 << c.skewedBelow(7, 1);
        const int x = c.below(cols) * (1920 / cols);
        EXPECT_TRUE(column.front().row() == (c.below(2) > 0 ? 0 : rows - 1) && column.size() == size_t(rows));
        EXPECT_TRUE(std::all_of(column.begin(), column.end(), [x](auto& r) { return r.left() == x; }));
        const int rowsH = 1 << c.skewedBelow(7, 1), colsH = 1 << c.skewedBelow(7, 3);
        const int y = c.below(rowsH) * (1080 / rowsH);
        EXPECT_TRUE(row.front().column() == (c.below(2) > 0 ? 0 : colsH - 1) && row.size() == size_t(colsH));
        EXPECT_TRUE(std::all_of(row.begin(), row.end(), [y](auto& r) { return r.top() == y; }));
        expectSamePlace(r, c);
    }
}

// The painted cells in order, else (and without a painter) the whole section.
TEST(SubRector, ShapesSplitTakesThePaintedCellsElseTheWholeSection) {
    RandomSource plain(77);
    SubRectList whole;
    SubRectorLimn(&plain, 3, 4, 152, 112).split(whole);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_TRUE(whole.front().left() == 3 && whole.front().width() == 152 && whole.front().height() == 112);
    ShapePainters painters;
    int partly = 0;
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource random(seed * 7919), copy = random;
        SubRectList list;
        SubRectorLimn(&random, 8, 4, 640, 480).split(list);
        const int rows = 2 * (1 << copy.skewedBelow(7, 1)), cols = 2 * (1 << copy.skewedBelow(7, 1));
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
            EXPECT_TRUE(r.left() == 8 + r.column() * (640 / cols) && r.top() == 4 + r.row() * (480 / rows));
            ++cell;
        }
        partly += static_cast<int>(cells.size()) < rows * cols;
    }
    EXPECT_GT(partly, 10) << "shapes cover some cells, not all";
    // Tiny sections (cells of no size at all) and the preview's.
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int seed = 1; seed <= 20; ++seed) {
            RandomSource random(seed * 31);
            SubRectList even, shapes;
            SubRectorEven(&random, 0, 0, w, h).split(even);
            SubRectorLimn(&random, 0, 0, w, h).split(shapes);
            EXPECT_TRUE(even.size() >= 2 && !shapes.empty());
        }
}
