#pragma once
// The styles that repaint each cell of their group, dot by dot along the
// rows of their outline, with the colour a neighbourhood filter gives for
// that position: Blur filters what is on the screen, Plasma replaces it with
// a cloud grown from the colours at the cell's corners. The filter reads the
// cell once before the repainting begins, so a cell is filtered from the
// picture as it was, never from its own output.

#include <memory>

#include "styles/Saver.h"

class Dot;
class Neighbourly;

class NeighbourlySaver : public SaverBySubRect {
public:
    explicit NeighbourlySaver(StyleScene* scene);
    ~NeighbourlySaver() override;

    void step() override;

    const Dot* dot() const { return m_pDot.get(); }
    Neighbourly* neighbourly() const { return m_pNeighbourly.get(); }
    int x() const { return m_iX; }
    int y() const { return m_iY; }
    // The plain path: the dot's own drawing, GetPixel reads and the filters'
    // straightforward forms; for the tests that compare it with the fast one.
    void setPlainPath(bool plain);

protected:
    // The first column of the current row of the cell at the cursor, or
    // the column where the row ends; both held to the cell.
    int rowColumn(bool end);
    int rowStart() { return rowColumn(false); }
    int rowEnd() { return rowColumn(true); }
    // Marks what the direct writes changed since the last flush.
    void flushChanged();

    int32_t m_iX = 0;
    int32_t m_iY = 0;
    int32_t m_iCount = 0;
    std::unique_ptr<Neighbourly> m_pNeighbourly;
    std::unique_ptr<Dot> m_pDot;
    bool m_bPlainPath = false;
    RECT m_changed{};
};

// A random image filter over the screen.
class Blur : public NeighbourlySaver {
public:
    explicit Blur(StyleScene* scene);
};

// A midpoint-displacement plasma in palette colours.
class Plasma : public NeighbourlySaver {
public:
    explicit Plasma(StyleScene* scene);
};
