// The splits, with the shape painter the program installs. Which cells a
// draw gives is the golden pictures' business; here, what holds for every draw.

#include <algorithm>
#include <set>
#include <vector>

#include "LayoutSupport.h"
#include "layout/SubRector.h"
#include "shape/Limn.h"
#include "shape/ShapeGrid.h"

namespace {

struct ShapePainters {  // installed for one scope, as start-up installs them
    ShapePainters() { installShapePainters(); }
    ~ShapePainters() { setShapeGridPainter(nullptr); }
};

using Cell = std::pair<int, int>;  // row, column

// Cells of one size where their row and column put them in the section at (x, y), each once.
std::vector<Cell> gridCells(const SubRectList& list, int x, int y) {
    std::vector<Cell> cells;
    for (const SubRect& r : list) {
        EXPECT_TRUE(r.width() == list.front().width() && r.height() == list.front().height());
        EXPECT_TRUE(r.left() == x + r.column() * r.width() && r.top() == y + r.row() * r.height());
        cells.emplace_back(r.row(), r.column());
    }
    EXPECT_EQ(std::set<Cell>(cells.begin(), cells.end()).size(), cells.size());
    return cells;
}

}  // namespace

// The even grid: every cell, those under the shapes first in ascending
// order, the others after them descending.
TEST(SubRector, EvenGridPutsThePaintedCellsFirst) {
    ShapePainters painters;
    int shaped = 0;
    for (int seed = 1; seed <= 60; ++seed) {
        RandomSource random(seed * 104729);
        SubRectList list;
        SubRectorEven(&random, 10, 20, 800, 600).split(list);
        const std::vector<Cell> cells = gridCells(list, 10, 20);
        const auto [rows, cols] = *std::max_element(cells.begin(), cells.end());
        EXPECT_TRUE(cells.size() == size_t((rows + 1) * (cols + 1)) && cells.size() >= 2u) << seed;
        const auto turn = std::is_sorted_until(cells.begin(), cells.end());
        EXPECT_TRUE(std::is_sorted(turn, cells.end(), std::greater<Cell>())) << seed;
        shaped += turn != cells.begin() && turn != cells.end();
    }
    EXPECT_GT(shaped, 10);
}

TEST(SubRector, BarsAreOneColumnOrOneRowRunningEitherWay) {
    int reversed = 0;
    for (int seed = 1; seed <= 60; ++seed) {
        RandomSource r(seed);
        SubRectList column, row;
        SubRectorVerticalBar(&r, 0, 0, 1920, 1080).split(column);
        SubRectorHorizontalBar(&r, 0, 0, 1920, 1080).split(row);
        for (const SubRectList* bar : {&column, &row}) {
            const std::vector<Cell> cells = gridCells(*bar, 0, 0);
            std::vector<int> along;
            for (const Cell& c : cells) along.push_back(bar == &column ? c.first : c.second);
            const bool up = std::is_sorted(along.begin(), along.end());
            reversed += !up;
            EXPECT_TRUE(up || std::is_sorted(along.rbegin(), along.rend())) << seed;
            EXPECT_EQ(*std::max_element(along.begin(), along.end()) + 1, int(along.size())) << seed;
        }
        EXPECT_TRUE(std::all_of(column.begin(), column.end(),
                                [&](auto& c) { return c.left() == column.front().left(); }));
        EXPECT_TRUE(
            std::all_of(row.begin(), row.end(), [&](auto& c) { return c.top() == row.front().top(); }));
    }
    EXPECT_GT(reversed, 10);
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
        RandomSource random(seed * 7919);
        SubRectList list;
        SubRectorLimn(&random, 8, 4, 640, 480).split(list);
        if (list.size() == 1 && list.front().width() == 640) continue;
        const std::vector<Cell> cells = gridCells(list, 8, 4);
        EXPECT_TRUE(std::is_sorted(cells.begin(), cells.end())) << seed;
        partly +=
            static_cast<int>(cells.size()) < (640 / list.front().width()) * (480 / list.front().height());
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
