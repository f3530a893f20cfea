#include <gtest/gtest.h>

#include <algorithm>
#include <typeinfo>
#include <vector>

#include "LayoutSupport.h"
#include "layout/ShapeGrid.h"
#include "layout/SubRector.h"

namespace {

// A stand-in for the shape painter: marks the cells whose row equals their
// column, drawing nothing.
void diagonal(RandomSource&, ShapeGrid& grid, int, int foreground) {
    for (int i = 0; i < grid.rows && i < grid.cols; ++i) grid.at(i, i) = foreground;
}

struct Painter {
    explicit Painter(ShapeGridPainter p) { setShapeGridPainter(p); }
    ~Painter() { setShapeGridPainter(nullptr); }
};

std::vector<std::pair<int, int>> cells(const SubRectList& list) {
    std::vector<std::pair<int, int>> rc;
    for (const SubRect& r : list) rc.emplace_back(r.row(), r.column());
    return rc;
}

}  // namespace

TEST(SubRector, EvenGridDrawsUntilMoreThanOneCellAndOrdersShapesFirst) {
    for (int seed = 1; seed <= 100; ++seed) {
        RandomSource random(seed);
        RandomSource copy = random;
        SubRectList list;
        SubRectorEven(&random, 10, 20, 800, 600).split(list);
        int rows = 1, cols = 1;
        while (rows < 2 && cols < 2) {
            rows = 1 << copy.skewedBelow(6, 1);
            cols = copy.below(2) == 0 ? 1 << copy.skewedBelow(6, 1) : rows;
        }
        expectSamePlace(random, copy);
        ASSERT_EQ(list.size(), static_cast<size_t>(rows * cols));
        // Without shapes: descending order, every cell at its grid place.
        EXPECT_EQ(cells(list).front(), std::make_pair(rows - 1, cols - 1));
        const SubRect& last = list.back();
        EXPECT_EQ(last.left(), 10);
        EXPECT_EQ(last.top(), 20);
        EXPECT_EQ(last.width(), 800 / cols);
        EXPECT_EQ(last.height(), 600 / rows);
    }
    Painter painter(diagonal);
    RandomSource random(5);
    SubRectList list;
    SubRectorEven(&random, 0, 0, 64, 64).split(list);
    int rows = 0, cols = 0;
    for (const SubRect& r : list) rows = std::max(rows, r.row() + 1), cols = std::max(cols, r.column() + 1);
    // The shapes' cells ascending, then the others descending.
    std::vector<std::pair<int, int>> expected;
    for (int i = 0; i < std::min(rows, cols); ++i) expected.emplace_back(i, i);
    for (int row = rows - 1; row >= 0; --row)
        for (int column = cols - 1; column >= 0; --column)
            if (row != column) expected.emplace_back(row, column);
    EXPECT_EQ(cells(list), expected);
}

TEST(SubRector, BarsAreOneColumnOrRowInDrawnOrder) {
    for (int seed = 1; seed <= 60; ++seed) {
        RandomSource random(seed);
        RandomSource copy = random;
        SubRectList list;
        SubRectorVerticalBar(&random, 0, 0, 1920, 1080).split(list);
        const int rows = 1 << copy.skewedBelow(7, 3), cols = 1 << copy.skewedBelow(7, 1);
        const int column = copy.below(cols);
        const bool atBack = copy.below(2) > 0;
        expectSamePlace(random, copy);
        ASSERT_EQ(list.size(), static_cast<size_t>(rows));
        EXPECT_EQ(list.front().row(), atBack ? 0 : rows - 1);
        for (const SubRect& r : list) EXPECT_EQ(r.left(), column * (1920 / cols));

        SubRectList bar;
        SubRectorHorizontalBar(&random, 0, 0, 1920, 1080).split(bar);
        const int barRows = 1 << copy.skewedBelow(7, 1), barCols = 1 << copy.skewedBelow(7, 3);
        const int row = copy.below(barRows);
        const bool barAtBack = copy.below(2) > 0;
        expectSamePlace(random, copy);
        ASSERT_EQ(bar.size(), static_cast<size_t>(barCols));
        EXPECT_EQ(bar.back().column(), barAtBack ? barCols - 1 : 0);
        for (const SubRect& r : bar) EXPECT_EQ(r.top(), row * (1080 / barRows));
    }
}

TEST(SubRector, ShapesSplitFallsBackToTheWholeSection) {
    RandomSource random(77);
    RandomSource copy = random;
    SubRectList list;
    SubRectorLimn(&random, 3, 4, 152, 112).split(list);
    copy.skewedBelow(7, 1);
    copy.skewedBelow(7, 1);
    expectSamePlace(random, copy);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.front().width(), 152);
    EXPECT_EQ(list.front().left(), 3);

    Painter painter(diagonal);
    SubRectList shaped;
    SubRectorLimn(&random, 0, 0, 1, 1).split(shaped);  // cells of no size at all
    for (const SubRect& r : shaped) EXPECT_EQ(r.row(), r.column());
    EXPECT_GE(shaped.size(), 2u);
    EXPECT_EQ(shaped.front().row(), 0);
    EXPECT_EQ(shaped.back().width(), 0);
}

TEST(SubRector, FactoryRefusesExcludedMembersForNineDraws) {
    LayoutSettings fullOnly({1, 0, 0}, {1, 0, 0, 0});
    const std::vector<int> noFull = {0};
    RandomSource random(8);
    RandomSource copy = random;
    auto made = CreateSubRector(0, 0, 10, 10, &noFull, random, fullOnly.choosers());
    EXPECT_EQ(typeid(*made), typeid(SubRectorFull));
    for (int i = 0; i < 10; ++i) copy.next();
    expectSamePlace(random, copy);

    LayoutSettings evenToo({1, 0, 0}, {1, 1, 0, 0});
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource r(seed);
        auto s = CreateSubRector(0, 0, 10, 10, &noFull, r, evenToo.choosers());
        EXPECT_EQ(typeid(*s), typeid(SubRectorEven));
    }
}
