#pragma once
// Recolours the screen in place, pixel by pixel, through a dot that reads
// what is there (inverting, shifting hues, posterising, ...). It walks each
// cell of its group row by row within the outline; a spared window in the
// middle of the cell may be left as it was, so that only a frame around it
// changes. A step goes on until input arrives, pausing a tick after each row.

#include <memory>

#include "styles/Saver.h"

class Dot;
class VaryColor;

class Offset : public SaverBySubRect {
public:
    explicit Offset(StyleScene* scene);
    ~Offset() override;

    void step() override;

    const Dot* dot() const { return m_pDot.get(); }
    bool all() const { return m_bAll; }
    // The spared window, in fractions of the cell.
    float winX0() const { return m_fWinX0; }
    float winY0() const { return m_fWinY0; }
    float winX1() const { return m_fWinX1; }
    float winY1() const { return m_fWinY1; }

private:
    // Whether the current position lies in the spared window of a w x h cell.
    bool spared(int w, int h) const;
    // The position moves to the start of its row in the cell at the cursor.
    void startRow();

    int32_t m_iX = 0;
    int32_t m_iY = 0;
    std::unique_ptr<Dot> m_pDot;
    std::unique_ptr<VaryColor> m_pVaryColor;
    bool m_bAll = true;
    float m_fWinX0 = 0;
    float m_fWinY0 = 0;
    float m_fWinX1 = 0;
    float m_fWinY1 = 0;
    int32_t m_iRowEnd = 0;
};
