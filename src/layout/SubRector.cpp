#include "layout/SubRector.h"

#include <iterator>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Trace.h"
#include "shape/ShapeGrid.h"

namespace {

// 2 to the power of a skewed draw below 7 (1..64).
int powerOfTwo(RandomSource& random, int n, int k) { return 1 << random.skewedBelow(n, k); }

}  // namespace

void SubRectorFull::split(SubRectList& list) {
    list.emplace_back(m_iLeft, m_iTop, m_iWidth, m_iHeight, 0, 0);
}

void SubRectorEven::split(SubRectList& list) {
    RandomSource& random = *m_pRandom;
    int rows = 1;
    int cols = 1;
    // A single cell is no grid.
    do {
        rows = powerOfTwo(random, 6, 1);
        cols = random.below(2) == 0 ? powerOfTwo(random, 6, 1) : rows;
    } while (rows < 2 && cols < 2);
    const int cellW = m_iWidth / cols;
    const int cellH = m_iHeight / rows;

    ShapeGrid grid(cols, rows, 0);
    paintShapes(random, grid, 0, 1);

    // Walking backwards, the cells under the shapes pile up at the front in
    // ascending order and the others at the back in descending order.
    for (int row = rows - 1; row >= 0; --row) {
        for (int column = cols - 1; column >= 0; --column) {
            if (grid.at(row, column) == 1)
                list.push_front(cell(row, column, cellW, cellH));
            else
                list.push_back(cell(row, column, cellW, cellH));
        }
    }
}

void SubRectorVerticalBar::split(SubRectList& list) {
    RandomSource& random = *m_pRandom;
    const int rows = powerOfTwo(random, 7, 3);
    const int cols = powerOfTwo(random, 7, 1);
    const int cellW = m_iWidth / cols;
    const int cellH = m_iHeight / rows;
    const int column = random.below(cols);
    const bool atBack = random.below(2) > 0;
    for (int row = 0; row < rows; ++row) {
        if (atBack)
            list.push_back(cell(row, column, cellW, cellH));
        else
            list.push_front(cell(row, column, cellW, cellH));
    }
}

void SubRectorHorizontalBar::split(SubRectList& list) {
    RandomSource& random = *m_pRandom;
    const int rows = powerOfTwo(random, 7, 1);
    const int cols = powerOfTwo(random, 7, 3);
    const int cellW = m_iWidth / cols;
    const int cellH = m_iHeight / rows;
    const int row = random.below(rows);
    const bool atBack = random.below(2) > 0;
    for (int column = 0; column < cols; ++column) {
        if (atBack)
            list.push_back(cell(row, column, cellW, cellH));
        else
            list.push_front(cell(row, column, cellW, cellH));
    }
}

void SubRectorLimn::split(SubRectList& list) {
    RandomSource& random = *m_pRandom;
    const int rows = 2 * powerOfTwo(random, 7, 1);
    const int cols = 2 * powerOfTwo(random, 7, 1);
    const int cellW = m_iWidth / cols;
    const int cellH = m_iHeight / rows;

    ShapeGrid grid(cols, rows, 0);
    paintShapes(random, grid, 0, 1);

    bool marked = false;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < cols; ++column) {
            if (grid.at(row, column) != 1) continue;
            list.push_back(cell(row, column, cellW, cellH));
            marked = true;
        }
    }
    // Never an empty layout: without shapes the whole section is the cell.
    if (!marked) list.emplace_back(m_iLeft, m_iTop, m_iWidth, m_iHeight, 0, 0);
}

namespace {

struct SubRectorKind {
    const char* name;
    std::unique_ptr<SubRector> (*make)(RandomSource*, int, int, int, int);
};

template <class T>
std::unique_ptr<SubRector> makeSubRector(RandomSource* random, int left, int top, int width, int height) {
    return std::make_unique<T>(random, left, top, width, height);
}

// Indexed by the sub-rector chooser; any other index is the full rectangle.
constexpr SubRectorKind kSubRectors[] = {
    {"SubRectorFull", makeSubRector<SubRectorFull>},
    {"SubRectorEven", makeSubRector<SubRectorEven>},
    {"SubRectorHorizontalBar", makeSubRector<SubRectorHorizontalBar>},
    {"SubRectorVerticalBar", makeSubRector<SubRectorVerticalBar>},
    {"SubRectorLimn", makeSubRector<SubRectorLimn>},
};

constexpr int kTraceLine = 63;

}  // namespace

std::unique_ptr<SubRector> CreateSubRector(int left, int top, int width, int height,
                                           const std::vector<int>* excluded, RandomSource& random,
                                           const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::SubRector).choose(random, excluded);
    const SubRectorKind& kind =
        index >= 0 && index < static_cast<int>(std::size(kSubRectors)) ? kSubRectors[index] : kSubRectors[0];
    traceMade("SubRector", kTraceLine, "(typeid(*pSubRector).name())", kind.name);
    return kind.make(&random, left, top, width, height);
}
