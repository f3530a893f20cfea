#pragma once
// Covers each cell of its group with rectangles or ellipses grown over
// regions of similar colour: a block grows diagonally from its top-left
// corner while the colour at its far corner stays near that at its near
// corner, is painted in the mean of its corners' colours, and the strips it
// left uncovered are queued as blocks of their own: a mosaic.

#include <deque>
#include <memory>

#include "styles/area/Rework.h"

class ColorAdjuster;

class BlockPaint : public SaverRework {
public:
    // A rectangle of the cell, inclusive coordinates relative to it.
    struct Block {
        int x0, y0, x1, y1;
    };

    explicit BlockPaint(StyleScene* scene);
    ~BlockPaint() override;

    void step() override;

    bool square() const { return m_bSquare; }
    bool ellipse() const { return m_bEllipse; }
    bool fillFirst() const { return m_bFillFirst; }
    bool clear() const { return m_bClear; }
    // The blocks covered since the style began, in order (the tests read
    // them): each block's own rectangle, right and bottom exclusive.
    const std::vector<RECT>& covered() const { return m_covered; }

private:
    // Grows, paints and splits the first block of the list; false when
    // input cut the growing short (the block is dropped).
    bool cover(const SubRect& r, const CSurface& copy);

    std::deque<Block> m_blocks;
    bool m_bClear = false;
    std::unique_ptr<ColorAdjuster> m_pAdjuster;
    Color m_crFill;
    bool m_bSquare = false;
    bool m_bEllipse = false;
    bool m_bFillFirst = false;
    std::vector<RECT> m_covered;
};
