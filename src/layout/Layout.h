#pragma once
// The scene's layout: the list of cells the styles draw in, whether it is
// checkered into two groups, and how much of the screen it covers. The scene
// window keeps one and renews, shrinks or keeps it between drawings.

#include "layout/SubRect.h"

class RandomSource;
class Settings;

class Layout {
public:
    // A new section and split of a width x height screen. With `avoidFull`
    // the single full rectangle is refused unless four draws all say not to.
    // Then maybe checkered (LayoutCheckered) and mirrored (LayoutSymmetric).
    void newLayout(bool avoidFull, int screenWidth, int screenHeight, RandomSource& random,
                   const Settings& settings);
    // A new layout for a style that draws a whole figure in every cell:
    // laid out again, up to kFigureTries times in all, until every cell has
    // room for a figure (roomyFor) and, with `grid`, there are two cells at
    // least (a checkerboard of figures, not one figure over the screen).
    // Once the tries run out the last layout stands, so a screen with no
    // room costs a bounded number of draws.
    void newFigureLayout(int screenWidth, int screenHeight, bool grid, RandomSource& random,
                         const Settings& settings);
    // No cell is narrower or lower than kFigureCell pixels (a quarter of the
    // screen's shorter side on a small screen): in a grid of cells a few
    // pixels high every figure is a speck.
    bool roomyFor(int screenWidth, int screenHeight) const;
    static constexpr int kFigureCell = 40;
    static constexpr int kFigureTries = 16;

    // Between drawings: a new layout when there is none, when `freshRequested`
    // or by a chance that grows as the coverage falls; otherwise the cells
    // may shrink (LayoutShrinkRandom, LayoutShrinkEven).
    void renew(bool freshRequested, int screenWidth, int screenHeight, RandomSource& random,
               const Settings& settings);
    // One cell over the whole screen, neither checkered nor mirrored; takes
    // no draw.
    void coverWhole(int screenWidth, int screenHeight);
    // The largest width and the largest height over the cells (maybe of
    // different cells), each at least 1.
    void largestSubRect(int& w, int& h) const;
    // The smallest width and the smallest height over the cells (maybe of
    // different cells); 0 for no cells.
    void smallestSubRect(int& w, int& h) const;

    SubRectList& subRects() { return m_subRects; }
    const SubRectList& subRects() const { return m_subRects; }
    // 1 when the layout is checkered, else 0.
    int groups() const { return m_iGroups; }
    // The cells' total area over the screen's area when the layout was made.
    float coverage() const { return m_fCoverage; }

private:
    SubRectList m_subRects;
    int m_iGroups = 0;
    float m_fCoverage = 1.0f;
};
