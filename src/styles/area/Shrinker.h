#pragma once
// Copies shrunken blocks of each cell back into it: the cell is cut into a
// grid of up to 16 x 16 blocks, and each block is copied into a smaller
// rectangle centred on itself (or moved a little, or filled with its
// average colour, as the block copier decides), several times over, each
// time from what the last time left: nested shrunken copies.

#include <memory>

#include "styles/area/Rework.h"

class DotBlt;

class Shrinker : public SaverRework {
public:
    explicit Shrinker(StyleScene* scene);
    ~Shrinker() override;

    void step() override;

    // The columns (rows) of a cell `size` pixels wide (high): at most
    // `wanted`, one block per 12 pixels, at least one.
    static int gridCount(int wanted, int size);

    DotBlt* dotBlt() const { return m_pDotBlt.get(); }
    int repeats() const { return m_iRepeats; }
    int columns() const { return m_iColumns; }
    int rows() const { return m_iRows; }
    bool clear() const { return m_bClear; }

private:
    // One pass over the blocks of the cell; false when input cut it short.
    bool shrinkOnce(const SubRect& r, int columns, int rows);

    int32_t m_iRepeats = 1;
    int32_t m_iColumns = 1;
    int32_t m_iRows = 1;
    bool m_bClear = false;
    std::unique_ptr<DotBlt> m_pDotBlt;
};
