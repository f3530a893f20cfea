#pragma once
// Splits a section into the cells the styles draw in: one rectangle, an even
// grid, one row or one column of cells, or the grid cells under random
// shapes. Made, used for one split and deleted by the layout.

#include <memory>
#include <vector>

#include "engine/FactoryContext.h"
#include "layout/SubRect.h"

class ChooserSet;
class RandomSource;

class SubRector {
public:
    // The section to split; `random` (not owned) serves every draw of split().
    SubRector(RandomSource* random, int left, int top, int width, int height)
        : m_pRandom(random), m_iLeft(left), m_iTop(top), m_iWidth(width), m_iHeight(height) {}
    virtual ~SubRector() = default;
    SubRector(const SubRector&) = delete;
    SubRector& operator=(const SubRector&) = delete;

    // Adds the cells to `list`, at its front or back as the member says.
    virtual void split(SubRectList& list) = 0;

protected:
    // Cell (row, column) of a grid of cellW x cellH cells over the section.
    SubRect cell(int row, int column, int cellW, int cellH) const {
        return SubRect(m_iLeft + column * cellW, m_iTop + row * cellH, cellW, cellH, row, column);
    }

    RandomSource* m_pRandom;
    int m_iLeft;
    int m_iTop;
    int m_iWidth;
    int m_iHeight;
};

class SubRectorFull : public SubRector {
public:
    using SubRector::SubRector;
    void split(SubRectList& list) override;
};

class SubRectorEven : public SubRector {
public:
    using SubRector::SubRector;
    void split(SubRectList& list) override;
};

class SubRectorVerticalBar : public SubRector {
public:
    using SubRector::SubRector;
    void split(SubRectList& list) override;
};

class SubRectorHorizontalBar : public SubRector {
public:
    using SubRector::SubRector;
    void split(SubRectList& list) override;
};

class SubRectorLimn : public SubRector {
public:
    using SubRector::SubRector;
    void split(SubRectList& list) override;
};

// One choice of the sub-rector chooser of `choosers` with `random`, refusing
// the member indices in `excluded` (may be null) as the chooser does; the
// sub-rector keeps `random` for its split. Writes the factory's trace line.
std::unique_ptr<SubRector> CreateSubRector(int left, int top, int width, int height,
                                           const std::vector<int>* excluded, RandomSource& random,
                                           const FactoryContext& context);
