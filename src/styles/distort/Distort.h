#pragma once
// The distortion: reworks what is on the screen. For each cell of this
// drawing's group it takes a copy of the cell's picture and repaints the
// cell row by row, within the outline, each pixel in the colour a distorter
// fetches from the copy (mirrored, swirled, zoomed, waved, smeared or
// relit). Every pixel is read from the copy taken before the cell was
// repainted, so the transformation never reads its own output. A step goes
// on until input arrives and resumes at the next pixel; each row ends with
// a tick's pause.

#include <memory>

#include "styles/Saver.h"

class Distorter;
class Dot;

class Distort : public SaverBitmap {
public:
    explicit Distort(StyleScene* scene);
    ~Distort() override;

    void step() override;

    const Distorter* distorter() const { return m_pDistorter.get(); }
    const Dot* dot() const { return m_pDot.get(); }
    int x() const { return m_iX; }
    int y() const { return m_iY; }
    // Draws with another distorter from here on (tests and benchmarks).
    void setDistorter(std::unique_ptr<Distorter> distorter);
    // The plain path (GetPixel from the copy, the dot's own drawing on the
    // screen) instead of direct reads and writes of the rows; for the tests
    // that compare the two.
    void setPlainPath(bool plain) { m_bPlainPath = plain; }

protected:
    // m_iX at the left end of row m_iY of the cell at the cursor, and the
    // column where the row ends; both held to 0..W. Nothing without a cell.
    void startRow();

private:
    // Paints the cell at the cursor from its copy until the cell is done
    // (true), input arrives or the time is up (false).
    bool paintCell();
    // Marks what the direct writes changed since the last flush.
    void flushChanged();

    std::unique_ptr<Distorter> m_pDistorter;
    int32_t m_iX = 0;
    int32_t m_iY = 0;
    std::unique_ptr<Dot> m_pDot;

    int32_t m_iRowEnd = 0;
    bool m_bPlainPath = false;
    RECT m_changed{};
};
