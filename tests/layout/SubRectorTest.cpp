#include <algorithm>
#include <vector>

#include "LayoutSupport.h"
#include "shape/ShapeGrid.h"
#include "layout/SubRector.h"

namespace {

// Stands in for the shape painter: marks the diagonal, drawing nothing.
void diagonal(RandomSource&, ShapeGrid& grid, int, int foreground) {
    for (int i = 0; i < std::min(grid.rows, grid.cols); ++i) grid.at(i, i) = foreground;
}

struct DiagonalShapes {  // installed for one scope
    DiagonalShapes() { setShapeGridPainter(diagonal); }
    ~DiagonalShapes() { setShapeGridPainter(nullptr); }
};

std::vector<std::pair<int, int>> rowsAndColumns(const SubRectList& list) {
    std::vector<std::pair<int, int>> rc;
    for (const SubRect& r : list) rc.emplace_back(r.row(), r.column());
    return rc;
}

}  // namespace

TEST(SubRector, EvenGridAndBars) {
    for (int seed = 1; seed <= 100; ++seed) {
        RandomSource random(seed), copy = random;
        SubRectList list;
        SubRectorEven(&random, 10, 20, 800, 600).split(list);
        int rows = 1, cols = 1;
        while (rows < 2 && cols < 2) {
            rows = 1 << copy.skewedBelow(6, 1);
            cols = copy.below(2) == 0 ? 1 << copy.skewedBelow(6, 1) : rows;
        }
        expectSamePlace(random, copy);
        ASSERT_EQ(list.size(), static_cast<size_t>(rows * cols));
        // Without shapes, descending from the last cell to the first.
        EXPECT_TRUE(list.front().top() == 20 + (rows - 1) * (600 / rows) &&
                    list.front().left() == 10 + (cols - 1) * (800 / cols) && list.back().left() == 10) << seed;
    }
    DiagonalShapes shapes;
    RandomSource random(5);
    SubRectList list;
    SubRectorEven(&random, 0, 0, 64, 64).split(list);
    const auto rc = rowsAndColumns(list);  // shapes ascending, the rest descending
    const auto n = std::count_if(rc.begin(), rc.end(), [](auto p) { return p.first == p.second; });
    EXPECT_TRUE(n >= 1 && std::all_of(rc.begin(), rc.begin() + n, [](auto p) { return p.first == p.second; }));
    EXPECT_TRUE(std::is_sorted(rc.begin(), rc.begin() + n) && std::is_sorted(rc.rbegin(), rc.rend() - n));
    // Bars are one column or one row in the drawn order.
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

TEST(SubRector, ShapesSplitTakesMarkedCellsElseTheWholeSection) {
    RandomSource random(77), copy = random;
    SubRectList list;
    SubRectorLimn(&random, 3, 4, 152, 112).split(list);
    copy.skewedBelow(7, 1), copy.skewedBelow(7, 1);
    expectSamePlace(random, copy);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list.front().left() == 3 && list.front().width() == 152 && list.front().height() == 112);

    DiagonalShapes shapes;
    SubRectList shaped;
    SubRectorLimn(&random, 0, 0, 1, 1).split(shaped);  // cells of no size at all
    ASSERT_GE(shaped.size(), 2u);
    for (const SubRect& r : shaped) EXPECT_EQ(r.row(), r.column());
    EXPECT_TRUE(shaped.front().row() == 0 && shaped.back().width() == 0);
}
