#pragma once
// One drawing cell of the layout: a rectangle of the screen into which a
// style maps its normalised square (-1..1 on both axes, y = -1 at the top),
// possibly mirrored so that neighbouring cells join seamlessly.

#include <cstdint>
#include <list>

class RandomSource;

class SubRect {
public:
    SubRect(int left, int top, int width, int height, int row, int column);
    virtual ~SubRect() = default;
    SubRect(const SubRect&) = default;
    SubRect& operator=(const SubRect&) = default;

    // Normalised coordinate to pixel: -1 is the left (top) edge, +1 the right
    // (bottom) edge; a mirrored cell is reversed.
    int mapX(float x) const;
    int mapY(float y) const;

    // Takes the new rectangle only when it is at least 17 x 17.
    void setRect(int left, int top, int width, int height);
    // Moves each side in by the given fraction of the size; cells of 16
    // pixels or less on a side keep their size. Sizes come out even.
    void shrink(float l, float t, float r, float b);
    // Each side moves in by up to a quarter, independently (four draws).
    void shrinkRandom(RandomSource& random);
    // Every side moves in by f / 4: the cell stays centred.
    void shrinkEven(float f);
    // Group 1 for the cells where row and column are both even or both odd.
    void computeGroup();
    // Odd columns are mirrored in x, odd rows in y.
    void computeMirror();

    int left() const { return m_iLeft; }
    int top() const { return m_iTop; }
    int width() const { return m_iWidth; }
    int height() const { return m_iHeight; }
    bool mirrorX() const { return m_bMirrorX; }
    bool mirrorY() const { return m_bMirrorY; }
    int halfWidth() const { return m_iHalfWidth; }
    int halfHeight() const { return m_iHalfHeight; }
    int row() const { return m_iRow; }
    int column() const { return m_iColumn; }
    int group() const { return m_iGroup; }

private:
    void setHalves();

    int32_t m_iLeft;
    int32_t m_iTop;
    int32_t m_iWidth;
    int32_t m_iHeight;
    bool m_bMirrorX = false;
    bool m_bMirrorY = false;
    int32_t m_iHalfWidth = 0;
    int32_t m_iHalfHeight = 0;
    int32_t m_iRow;
    int32_t m_iColumn;
    int32_t m_iGroup = 0;
};

// The cells of a layout, in the order the styles draw them.
using SubRectList = std::list<SubRect>;
