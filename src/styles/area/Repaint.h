#pragma once
// Repaints each cell of its group with dots placed at random, each in the
// colour its place had (or that of the same place in a zoomed window of the
// cell), passed through a colour adjuster: a pointillist copy of the cell,
// about two dots for every pixel that one dot covers.

#include <memory>

#include "styles/area/Rework.h"

class ColorAdjuster;
class Dot;

class Repaint : public SaverRework {
public:
    explicit Repaint(StyleScene* scene);
    ~Repaint() override;

    void step() override;

    // The dots for a w x h cell with dots of `area` pixels: 2 w h / area^0.66.
    static long long dotCount(int w, int h, int area);

    const Dot* dot() const { return m_pDot.get(); }
    bool clear() const { return m_bClear; }
    bool window() const { return m_bWindow; }
    // Dots painted since the style began (the tests count them).
    long long dotsPainted() const { return m_iPainted; }

private:
    // The dots of one cell; false when input or the time cut them short.
    bool paintCell(const SubRect& r);

    std::unique_ptr<Dot> m_pDot;
    bool m_bClear = false;
    bool m_bWindow = false;
    float m_fWinX = 0;
    float m_fWinY = 0;
    float m_fWinW = 1;
    float m_fWinH = 1;
    std::unique_ptr<ColorAdjuster> m_pAdjuster;
    long long m_iPainted = 0;
};
